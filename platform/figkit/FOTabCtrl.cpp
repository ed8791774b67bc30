#include "figkit/FOTabCtrl.h"

#include "mfc/ControlsPrivate.h"
#include "mfc/WndPrivate.h"

#include <QPixmap>
#include <QTabBar>
#include <QTabWidget>

using ControlPriv::FromQt;
using ControlPriv::ToQt;

IMPLEMENT_DYNAMIC(CFOTabCtrl, CWnd)

QWidget* CFOTabCtrl::CreateWidget(const CREATESTRUCT&, QWidget* pParentWidget)
{
    auto* tabs = new CWndHost<QTabWidget>(pParentWidget);
    tabs->setObjectName(QStringLiteral("QyrTabCtrl"));
    tabs->setDocumentMode(true);
    tabs->setTabPosition(QTabWidget::South);
    return tabs;
}

QTabWidget* CFOTabCtrl::Tabs() const
{
    return qobject_cast<QTabWidget*>(GetWidget());
}

BOOL CFOTabCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!pParentWnd || !pParentWnd->m_hWnd)
        return FALSE;
    return CWnd::CreateEx(0, L"QyrTabCtrl", nullptr, dwStyle | WS_CHILD, rect.left, rect.top,
                          rect.right - rect.left, rect.bottom - rect.top, pParentWnd->m_hWnd,
                          reinterpret_cast<HMENU>(UINT_PTR(nID)));
}

int CFOTabCtrl::AddTab(CWnd* pWnd, LPCWSTR lpszLabel, int nImage)
{
    QTabWidget* tabs = Tabs();
    QWidget* page = pWnd ? pWnd->GetWidget() : nullptr;
    if (!tabs || !page)
        return -1;
    const QPixmap* image = nImage >= 0 ? CImageList::GetImage(m_images.GetSafeHandle(), nImage) : nullptr;
    const int index = image ? tabs->addTab(page, QIcon(*image), ToQt(lpszLabel ? lpszLabel : L""))
                            : tabs->addTab(page, ToQt(lpszLabel ? lpszLabel : L""));
    page->setProperty("qyr.tabImage", nImage);
    return index;
}

int CFOTabCtrl::GetTabCount() const
{
    QTabWidget* tabs = Tabs();
    return tabs ? tabs->count() : 0;
}

CWnd* CFOTabCtrl::GetTabWnd(int nTab) const
{
    QTabWidget* tabs = Tabs();
    QWidget* page = tabs ? tabs->widget(nTab) : nullptr;
    return page ? CWnd::FromHandlePermanent(AfxHandleFromWidget(page)) : nullptr;
}

CString CFOTabCtrl::GetTabLabel(int nTab) const
{
    QTabWidget* tabs = Tabs();
    return tabs && nTab >= 0 && nTab < tabs->count() ? FromQt(tabs->tabText(nTab)) : CString();
}

int CFOTabCtrl::GetActiveTab() const
{
    QTabWidget* tabs = Tabs();
    return tabs ? tabs->currentIndex() : -1;
}

BOOL CFOTabCtrl::SetActiveTab(int nTab)
{
    QTabWidget* tabs = Tabs();
    if (!tabs || nTab < 0 || nTab >= tabs->count())
        return FALSE;
    tabs->setCurrentIndex(nTab);
    return TRUE;
}

BOOL CFOTabCtrl::LoadTabImages(UINT nBitmapID, int cx, COLORREF crMask)
{
    m_images.DeleteImageList();
    if (!m_images.Create(nBitmapID, cx, 0, crMask))
        return FALSE;
    QTabWidget* tabs = Tabs();
    for (int i = 0; tabs && i < tabs->count(); ++i)
    {
        const int image = tabs->widget(i)->property("qyr.tabImage").toInt();
        if (const QPixmap* p = CImageList::GetImage(m_images.GetSafeHandle(), image))
            tabs->setTabIcon(i, QIcon(*p));
    }
    return TRUE;
}

void CFOTabCtrl::SetTabHeight(int nHeight)
{
    m_nTabHeight = nHeight;
    ApplyLook();
}

void CFOTabCtrl::SetFlatBorderColor(COLORREF cr)
{
    m_crBorder = cr;
    ApplyLook();
}

void CFOTabCtrl::SetTabColors(COLORREF crActive, COLORREF crInactive)
{
    m_crActive = crActive;
    m_crInactive = crInactive;
    ApplyLook();
}

void CFOTabCtrl::ApplyLook()
{
    QTabWidget* tabs = Tabs();
    if (!tabs)
        return;
    auto hex = [](COLORREF cr)
    {
        return QStringLiteral("#%1%2%3")
            .arg(GetRValue(cr), 2, 16, QLatin1Char('0'))
            .arg(GetGValue(cr), 2, 16, QLatin1Char('0'))
            .arg(GetBValue(cr), 2, 16, QLatin1Char('0'));
    };
    QString sheet = QStringLiteral("QTabBar::tab { background: %1; border: 1px solid %2; padding: 2px 8px; }"
                                   "QTabBar::tab:selected { background: %3; }")
                        .arg(hex(m_crInactive), hex(m_crBorder), hex(m_crActive));
    if (m_nTabHeight > 0)
        sheet += QStringLiteral("QTabBar::tab { height: %1px; }").arg(std::max(8, m_nTabHeight - 6));
    tabs->tabBar()->setStyleSheet(sheet);
}
