#include "mfc/CaptionBar.h"

#include "mfc/ControlsPrivate.h"
#include "mfc/FrameWnd.h"
#include "mfc/Gdi.h"
#include "mfc/WndPrivate.h"

#include <QBitmap>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPixmap>
#include <QToolBar>
#include <QToolButton>

IMPLEMENT_DYNCREATE(CMFCCaptionBar, CControlBar)

CMFCCaptionBar::~CMFCCaptionBar() = default;

QWidget* CMFCCaptionBar::CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    CWnd* pParent = CWnd::FromHandle(cs.hwndParent);
    auto* main = pParent ? qobject_cast<QMainWindow*>(pParent->GetWidget()) : nullptr;
    auto* bar = new CWndHost<QToolBar>(main ? static_cast<QWidget*>(main) : pParentWidget);
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->toggleViewAction()->setVisible(false);
    bar->setObjectName(QStringLiteral("QyrCaptionBar"));

    auto* content = new QWidget(bar);
    auto* layout = new QHBoxLayout(content);
    layout->setContentsMargins(6, 2, 2, 2);
    layout->setSpacing(6);
    m_pImage = new QLabel(content);
    m_pImage->hide();
    m_pText = new QLabel(content);
    m_pText->setTextFormat(Qt::PlainText);
    m_pButton = new QToolButton(content);
    m_pButton->setObjectName(QStringLiteral("button"));
    m_pButton->hide();
    layout->addWidget(m_pImage);
    layout->addWidget(m_pText, 1);
    layout->addWidget(m_pButton);
    if (cs.lpCreateParams) // message-bar mode: a close box that hides the bar
    {
        m_pClose = new QToolButton(content);
        m_pClose->setObjectName(QStringLiteral("close"));
        m_pClose->setText(QStringLiteral("\u00D7"));
        m_pClose->setAutoRaise(true);
        layout->addWidget(m_pClose);
        const HWND hWnd = cs.hwndParent;
        QObject::connect(m_pClose, &QToolButton::clicked, bar,
                         [this, hWnd]
                         {
                             AfxQtEntry entry;
                             ShowWindow(SW_HIDE);
                             if (auto* pFrame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(hWnd)))
                                 pFrame->RecalcLayout(FALSE);
                         });
    }
    QObject::connect(m_pButton, &QToolButton::clicked, bar,
                     [this, hWnd = cs.hwndParent]
                     {
                         AfxQtEntry entry;
                         if (m_uiBtnID)
                             ::PostMessageW(hWnd, WM_COMMAND, m_uiBtnID, 0);
                     });
    bar->addWidget(content);
    if (main)
    {
        // Below whatever bars the frame has at the top.
        main->addToolBarBreak(Qt::TopToolBarArea);
        main->addToolBar(Qt::TopToolBarArea, bar);
    }
    return bar;
}

BOOL CMFCCaptionBar::Create(DWORD dwStyle, CWnd* pParentWnd, UINT uID, int nHeight, BOOL bIsMessageBarMode)
{
    if (!pParentWnd || !pParentWnd->m_hWnd)
        return FALSE;
    m_bIsMessageBarMode = bIsMessageBarMode;
    m_nHeight = nHeight;
    CRect rect;
    pParentWnd->GetClientRect(&rect);
    // The mode reaches CreateWidget through the create parameter.
    if (!CWnd::CreateEx(0, L"QyrCaptionBar", nullptr, (dwStyle | WS_CHILD) & ~WS_VISIBLE, 0, 0, rect.Width(),
                        nHeight > 0 ? nHeight : 24, pParentWnd->m_hWnd,
                        reinterpret_cast<HMENU>(UINT_PTR(uID)), bIsMessageBarMode ? this : nullptr))
        return FALSE;
    if (QWidget* w = GetWidget(); w && nHeight > 0)
        w->setFixedHeight(nHeight);
    UpdateWidgets();
    if (dwStyle & WS_VISIBLE)
        ShowWindow(SW_SHOW);
    return TRUE;
}

void CMFCCaptionBar::UpdateWidgets()
{
    if (!m_pText)
        return;
    m_pText->setText(ControlPriv::ToQt(m_strText));
    Qt::Alignment align = Qt::AlignLeft;
    if (m_eTextAlignment == ALIGN_RIGHT)
        align = Qt::AlignRight;
    else if (m_eTextAlignment == ALIGN_CENTER)
        align = Qt::AlignHCenter;
    m_pText->setAlignment(align | Qt::AlignVCenter);
    m_pImage->setVisible(m_bHasBitmap);
    QString tip = ControlPriv::ToQt(m_strImageToolTip);
    if (!m_strImageDescription.IsEmpty())
        tip += QStringLiteral("\n") + ControlPriv::ToQt(m_strImageDescription);
    m_pImage->setToolTip(tip);
    m_pButton->setVisible(m_uiBtnID != 0);
    m_pButton->setText(ControlPriv::ToQt(m_strBtnText));
}

void CMFCCaptionBar::SetText(const CString& strText, BarElementAlignment eAlignment)
{
    m_strText = strText;
    if (eAlignment != ALIGN_INVALID)
        m_eTextAlignment = eAlignment;
    UpdateWidgets();
}

void CMFCCaptionBar::RemoveText()
{
    m_strText.Empty();
    UpdateWidgets();
}

BOOL CMFCCaptionBar::SetBitmap(UINT nBitmapID, COLORREF clrTransparent, BOOL bStretch,
                               BarElementAlignment eAlignment)
{
    CBitmap bitmap;
    if (!bitmap.LoadBitmap(nBitmapID))
        return FALSE;
    return SetBitmap(static_cast<HBITMAP>(bitmap.m_hObject), clrTransparent, bStretch, eAlignment);
}

BOOL CMFCCaptionBar::SetBitmap(HBITMAP hBitmap, COLORREF clrTransparent, BOOL, BarElementAlignment)
{
    QImage* image = AfxGetBitmapImage(hBitmap);
    if (!image || image->isNull() || !m_pImage)
        return FALSE;
    QPixmap pixmap = QPixmap::fromImage(*image);
    if (clrTransparent != COLORREF(-1))
    {
        const QColor key(GetRValue(clrTransparent), GetGValue(clrTransparent), GetBValue(clrTransparent));
        pixmap.setMask(pixmap.createMaskFromColor(key, Qt::MaskInColor));
    }
    m_pImage->setPixmap(pixmap);
    m_bHasBitmap = TRUE;
    UpdateWidgets();
    return TRUE;
}

void CMFCCaptionBar::RemoveBitmap()
{
    if (m_pImage)
        m_pImage->clear();
    m_bHasBitmap = FALSE;
    UpdateWidgets();
}

void CMFCCaptionBar::SetImageToolTip(const CString& strToolTip, const CString& strDescription)
{
    m_strImageToolTip = strToolTip;
    m_strImageDescription = strDescription;
    UpdateWidgets();
}

void CMFCCaptionBar::SetButton(LPCWSTR lpszLabel, UINT uiCmdUI, BarElementAlignment, BOOL)
{
    m_strBtnText = lpszLabel ? lpszLabel : L"";
    m_uiBtnID = uiCmdUI;
    UpdateWidgets();
}

void CMFCCaptionBar::RemoveButton()
{
    m_strBtnText.Empty();
    m_uiBtnID = 0;
    UpdateWidgets();
}

void CMFCCaptionBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}
