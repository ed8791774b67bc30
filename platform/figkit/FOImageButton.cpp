#include "figkit/FOImageButton.h"

#include "mfc/ResourceModule.h"
#include "figkit/FODrawHelper.h"
#include "mfc/SysColor.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

IMPLEMENT_DYNAMIC(CFOImageButton, CButton)

CFOImageButton::~CFOImageButton() = default;

BOOL CFOImageButton::Create(LPCWSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!CButton::Create(lpszCaption, dwStyle, rect, pParentWnd, nID))
        return FALSE;
    PreSubclassWindow();
    return TRUE;
}

void CFOImageButton::PreSubclassWindow()
{
    // The button's own look is replaced by DrawButton.
    AfxSetControlOwnerPaint(this);
    ApplyCursor();
}

void CFOImageButton::SetImage(UINT nBitmapId)
{
    m_bitmap.DeleteObject();
    m_bitmap.LoadBitmap(nBitmapId);
    if (m_hWnd)
        Invalidate();
}

void CFOImageButton::SetHandCursor(UINT nCursorId)
{
    m_hCursor = LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(nCursorId));
    if (!m_hCursor)
        m_hCursor = LoadCursor(nullptr, IDC_HAND);
    ApplyCursor();
}

void CFOImageButton::ApplyCursor()
{
    // The control's widget shows the cursor itself: cursors here are the system's shapes, and the
    // hand is the one a button's own cursor stands for.
    if (QWidget* w = m_hWnd ? GetWidget() : nullptr; w && m_hCursor)
        w->setCursor(Qt::PointingHandCursor);
}

void CFOImageButton::SetCaptionFont(int nPointSize, int nWeight)
{
    LOGFONT lf{};
    if (CFont* pBase = GetFont() ? GetFont() : static_cast<CFont*>(CDC::GetStockObject(DEFAULT_GUI_FONT)))
        pBase->GetLogFont(&lf);
    lf.lfWeight = nWeight;
    lf.lfHeight = nPointSize * 10;
    m_font.DeleteObject();
    m_font.CreatePointFontIndirect(&lf);
    if (m_hWnd)
        Invalidate();
}

void CFOImageButton::SetCaptionColor(COLORREF cr)
{
    m_crCaption = cr;
    if (m_hWnd)
        Invalidate();
}

LRESULT CFOImageButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT)
    {
        CPaintDC dc(this);
        CRect rc;
        GetClientRect(&rc);
        const UINT state = GetState();
        DrawButton(&dc, rc, (state & 0x0004) != 0, CWnd::GetFocus() == this, IsWindowEnabled());
        return 0;
    }
    if (message == WM_SETCURSOR)
    {
        ::SetCursor(m_hCursor ? m_hCursor : LoadCursor(nullptr, IDC_HAND));
        return TRUE;
    }
    return CButton::WindowProc(message, wParam, lParam);
}

void CFOImageButton::DrawButton(CDC* pDC, const CRect& rc, BOOL bPushed, BOOL bFocused, BOOL bEnabled)
{
    CFODrawHelper::DrawButtonFace(pDC, rc, bPushed);
    const int shift = bPushed ? 1 : 0;
    CRect text = rc;
    text.DeflateRect(4, 2);
    if (const QImage* image = m_bitmap.GetImage(); image && !image->isNull())
    {
        const int x = rc.left + 4 + shift;
        const int y = rc.top + (rc.Height() - image->height()) / 2 + shift;
        if (QPainter* p = pDC->GetPainter())
        {
            if (bEnabled)
                p->drawImage(x, y, *image);
            else
                p->drawImage(x, y, image->convertToFormat(QImage::Format_Grayscale8));
        }
        text.left = x + image->width() + 4;
    }
    CString caption;
    GetWindowText(caption);
    caption.Remove(L'&');
    CFont* pOld =
        pDC->SelectObject(m_font.GetSafeHandle() ? &m_font : (GetFont() ? GetFont() : pDC->GetCurrentFont()));
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(!bEnabled                    ? GetSysColor(COLOR_GRAYTEXT)
                      : m_crCaption != CLR_INVALID ? m_crCaption
                                                   : GetSysColor(COLOR_BTNTEXT));
    text.OffsetRect(shift, shift);
    pDC->DrawText(caption, &text,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (HasImage() ? DT_LEFT : DT_CENTER));
    pDC->SelectObject(pOld);
    if (bFocused)
    {
        CRect focus = rc;
        focus.DeflateRect(3, 3);
        pDC->DrawFocusRect(&focus);
    }
}
