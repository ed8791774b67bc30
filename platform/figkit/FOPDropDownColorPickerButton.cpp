#include "figkit/FOPDropDownColorPickerButton.h"

#include "figkit/FODrawHelper.h"
#include "mfc/ColorDialog.h"
#include "mfc/SysColor.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QPushButton>
#include <QToolButton>

namespace
{
const COLORREF kPalette[] = {
    RGB(0, 0, 0),       RGB(128, 0, 0),     RGB(0, 128, 0),     RGB(128, 128, 0),   RGB(0, 0, 128),
    RGB(128, 0, 128),   RGB(0, 128, 128),   RGB(192, 192, 192), RGB(128, 128, 128), RGB(255, 0, 0),
    RGB(0, 255, 0),     RGB(255, 255, 0),   RGB(0, 0, 255),     RGB(255, 0, 255),   RGB(0, 255, 255),
    RGB(255, 255, 255), RGB(255, 128, 0),   RGB(255, 128, 128), RGB(128, 255, 128), RGB(255, 255, 128),
    RGB(128, 128, 255), RGB(255, 128, 255), RGB(128, 255, 255), RGB(64, 64, 64),    RGB(153, 51, 0),
    RGB(51, 51, 0),     RGB(0, 51, 0),      RGB(0, 51, 102),    RGB(0, 0, 128),     RGB(51, 51, 153),
    RGB(51, 51, 51),    RGB(255, 204, 153), RGB(204, 255, 204), RGB(204, 255, 255), RGB(153, 204, 255),
    RGB(204, 153, 255), RGB(255, 153, 204), RGB(255, 204, 0),   RGB(0, 204, 255),   RGB(150, 150, 150),
};
constexpr int kColumns = 8;

FOPDropDownColorPickerButton* PickerOf(HWND hWnd)
{
    return dynamic_cast<FOPDropDownColorPickerButton*>(CWnd::FromHandlePermanent(hWnd));
}
} // namespace

IMPLEMENT_DYNAMIC(FOPDropDownColorPickerButton, CButton)

FOPDropDownColorPickerButton::~FOPDropDownColorPickerButton()
{
    if (m_palette)
        delete m_palette.data();
}

BOOL FOPDropDownColorPickerButton::Create(LPCWSTR lpszCaption, DWORD dwStyle, const RECT& rect,
                                          CWnd* pParentWnd, UINT nID)
{
    if (!CButton::Create(lpszCaption, dwStyle, rect, pParentWnd, nID))
        return FALSE;
    PreSubclassWindow();
    return TRUE;
}

QWidget* FOPDropDownColorPickerButton::GetPalette() const
{
    return m_palette.data();
}

const COLORREF* FOPDropDownColorPickerButton::GetPaletteColors(int* pnCount)
{
    if (pnCount)
        *pnCount = int(std::size(kPalette));
    return kPalette;
}

void FOPDropDownColorPickerButton::PreSubclassWindow()
{
    AfxSetControlOwnerPaint(this);
    if (auto* button = qobject_cast<QAbstractButton*>(GetWidget()))
    {
        const HWND h = m_hWnd;
        QObject::connect(button, &QAbstractButton::clicked, button,
                         [h]
                         {
                             if (FOPDropDownColorPickerButton* p = PickerOf(h))
                                 p->ShowPalette();
                         });
    }
}

void FOPDropDownColorPickerButton::SetColor(COLORREF cr)
{
    m_crColor = cr & 0x00FFFFFF;
    if (m_hWnd)
        Invalidate();
}

QWidget* FOPDropDownColorPickerButton::ShowPalette()
{
    QWidget* button = GetWidget();
    if (!button)
        return nullptr;
    if (m_palette)
        delete m_palette.data();
    auto* palette = new QWidget(button, Qt::Popup);
    palette->setObjectName(QStringLiteral("FOPColorPalette"));
    palette->setAttribute(Qt::WA_DeleteOnClose);
    auto* grid = new QGridLayout(palette);
    grid->setContentsMargins(3, 3, 3, 3);
    grid->setSpacing(2);
    const HWND h = m_hWnd;
    for (int i = 0; i < int(std::size(kPalette)); ++i)
    {
        const COLORREF cr = kPalette[i];
        auto* cell = new QToolButton(palette);
        cell->setObjectName(QStringLiteral("colour%1").arg(i));
        cell->setFixedSize(18, 18);
        cell->setAutoRaise(true);
        cell->setStyleSheet(QStringLiteral("QToolButton { background: #%1%2%3; border: 1px solid %4; }")
                                .arg(GetRValue(cr), 2, 16, QLatin1Char('0'))
                                .arg(GetGValue(cr), 2, 16, QLatin1Char('0'))
                                .arg(GetBValue(cr), 2, 16, QLatin1Char('0'))
                                .arg(cr == m_crColor ? QStringLiteral("black") : QStringLiteral("gray")));
        QObject::connect(cell, &QToolButton::clicked, palette,
                         [h, cr]
                         {
                             if (FOPDropDownColorPickerButton* p = PickerOf(h))
                                 p->PickColor(cr);
                         });
        grid->addWidget(cell, i / kColumns, i % kColumns);
    }
    auto* more = new QPushButton(QStringLiteral("More Colors..."), palette);
    more->setObjectName(QStringLiteral("moreColors"));
    QObject::connect(more, &QPushButton::clicked, palette,
                     [h]
                     {
                         if (FOPDropDownColorPickerButton* p = PickerOf(h))
                             p->ChooseMoreColors();
                     });
    grid->addWidget(more, (int(std::size(kPalette)) + kColumns - 1) / kColumns, 0, 1, kColumns);
    palette->adjustSize();
    palette->move(button->mapToGlobal(QPoint(0, button->height())));
    palette->show();
    m_palette = palette;
    return palette;
}

void FOPDropDownColorPickerButton::PickColor(COLORREF cr)
{
    if (m_palette)
        m_palette->close();
    SetColor(cr);
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), CPN_SELENDOK), LPARAM(m_hWnd));
}

BOOL FOPDropDownColorPickerButton::ChooseMoreColors()
{
    if (m_palette)
        m_palette->close();
    CColorDialog dlg(m_crColor, CC_FULLOPEN, GetParent());
    if (dlg.DoModal() != IDOK)
        return FALSE;
    PickColor(dlg.GetColor());
    return TRUE;
}

LRESULT FOPDropDownColorPickerButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT)
    {
        CPaintDC dc(this);
        CRect rc;
        GetClientRect(&rc);
        DrawButton(&dc, rc, (GetState() & 0x0004) != 0, CWnd::GetFocus() == this, IsWindowEnabled());
        return 0;
    }
    return CButton::WindowProc(message, wParam, lParam);
}

void FOPDropDownColorPickerButton::DrawButton(CDC* pDC, const CRect& rc, BOOL bPushed, BOOL bFocused,
                                              BOOL bEnabled)
{
    CFODrawHelper::DrawButtonFace(pDC, rc, bPushed);
    // The colour swatch fills the face but for the drop arrow at the right.
    const int arrow = std::max(8, rc.Height() / 2);
    CRect swatch(rc.left + 4, rc.top + 4, rc.right - arrow - 6, rc.bottom - 4);
    if (swatch.Width() > 0 && swatch.Height() > 0)
    {
        pDC->FillSolidRect(&swatch, bEnabled ? m_crColor : GetSysColor(COLOR_BTNFACE));
        pDC->Draw3dRect(&swatch, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNSHADOW));
    }
    const int cx = rc.right - 4 - arrow / 2;
    const int cy = rc.top + rc.Height() / 2;
    const POINT tri[3] = {{cx - 4, cy - 2}, {cx + 4, cy - 2}, {cx, cy + 2}};
    CBrush brush(bEnabled ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_GRAYTEXT));
    CPen pen(PS_SOLID, 1, bEnabled ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_GRAYTEXT));
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    CPen* pOldPen = pDC->SelectObject(&pen);
    pDC->Polygon(tri, 3);
    pDC->SelectObject(pOldBrush);
    pDC->SelectObject(pOldPen);
    if (bFocused)
    {
        CRect focus = rc;
        focus.DeflateRect(2, 2);
        pDC->DrawFocusRect(&focus);
    }
}
