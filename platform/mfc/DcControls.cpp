// Control faces, inversion and bitmap placing of the DC.
#include "mfc/Dc.h"
#include "mfc/SysColor.h"

#include <QImage>
#include <QPainter>

#include <algorithm>

namespace
{
// The raised (or, pushed, sunken) two-pixel edge of a button, filled with the face colour.
void ButtonFace(CDC* pDC, CRect rc, bool bPushed, bool bFlat)
{
    if (rc.IsRectEmpty())
        return;
    if (bFlat)
        pDC->Draw3dRect(&rc, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNSHADOW));
    else if (bPushed)
    {
        pDC->Draw3dRect(&rc, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
        rc.DeflateRect(1, 1);
        pDC->Draw3dRect(&rc, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_3DLIGHT));
    }
    else
    {
        pDC->Draw3dRect(&rc, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
        rc.DeflateRect(1, 1);
        pDC->Draw3dRect(&rc, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
    }
    rc.DeflateRect(1, 1);
    if (!rc.IsRectEmpty())
        pDC->FillSolidRect(&rc, GetSysColor(COLOR_BTNFACE));
}

// A filled triangle pointing up, down, left or right, centred in the rectangle.
void Arrow(CDC* pDC, const CRect& rc, int nDir, COLORREF cr)
{
    const int size = std::max(2, std::min(rc.Width(), rc.Height()) / 4);
    const int cx = rc.left + rc.Width() / 2;
    const int cy = rc.top + rc.Height() / 2;
    for (int i = 0; i < size; ++i)
    {
        switch (nDir)
        {
        case DFCS_SCROLLUP:
            pDC->FillSolidRect(cx - i, cy - size / 2 + i, 2 * i + 1, 1, cr);
            break;
        case DFCS_SCROLLLEFT:
            pDC->FillSolidRect(cx - size / 2 + i, cy - i, 1, 2 * i + 1, cr);
            break;
        case DFCS_SCROLLRIGHT:
            pDC->FillSolidRect(cx + size / 2 - i, cy - i, 1, 2 * i + 1, cr);
            break;
        default:
            pDC->FillSolidRect(cx - i, cy + size / 2 - i, 2 * i + 1, 1, cr);
            break;
        }
    }
}

// The 13 x 13 sunken box of a check box with its mark (grey for the indeterminate state).
void CheckBox(CDC* pDC, const CRect& rcCell, UINT nState)
{
    const int s = std::min({13, rcCell.Width(), rcCell.Height()});
    CRect rc(rcCell.left, rcCell.top + (rcCell.Height() - s) / 2, 0, 0);
    rc.right = rc.left + s;
    rc.bottom = rc.top + s;
    pDC->Draw3dRect(&rc, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    CRect in = rc;
    in.DeflateRect(1, 1);
    pDC->Draw3dRect(&in, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
    in.DeflateRect(1, 1);
    const bool bGrey = (nState & DFCS_BUTTON3STATE) && (nState & DFCS_CHECKED);
    pDC->FillSolidRect(&in, (nState & (DFCS_INACTIVE | DFCS_PUSHED)) || bGrey ? GetSysColor(COLOR_BTNFACE)
                                                                              : GetSysColor(COLOR_WINDOW));
    if (!(nState & DFCS_CHECKED) || in.Width() < 7)
        return;
    const COLORREF mark = bGrey ? GetSysColor(COLOR_BTNSHADOW) : GetSysColor(COLOR_WINDOWTEXT);
    // The tick: down three, then up four, three pixels thick.
    const int x = in.left + (in.Width() - 7) / 2;
    const int y = in.top + (in.Height() - 7) / 2 + 2;
    for (int i = 0; i < 7; ++i)
    {
        const int dy = i < 3 ? i : 4 - i;
        pDC->FillSolidRect(x + i, y + dy, 1, 3, mark);
    }
}
} // namespace

void CDC::InvertRect(LPCRECT lpRect)
{
    if (!Ready() || !lpRect || lpRect->right <= lpRect->left || lpRect->bottom <= lpRect->top)
        return;
    m_pPainter->save();
    m_pPainter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    m_pPainter->fillRect(
        QRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top),
        QColor(255, 255, 255));
    m_pPainter->restore();
}

BOOL CDC::DrawFrameControl(LPRECT lpRect, UINT nType, UINT nState)
{
    if (!Ready() || !lpRect)
        return FALSE;
    CRect rc(*lpRect);
    if (rc.IsRectEmpty())
        return FALSE;
    const bool bPushed = (nState & DFCS_PUSHED) != 0;
    const bool bFlat = (nState & DFCS_FLAT) != 0;
    const COLORREF glyph = GetSysColor((nState & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
    switch (nType)
    {
    case DFC_BUTTON:
        if (nState & DFCS_BUTTONPUSH)
        {
            ButtonFace(this, rc, bPushed || (nState & DFCS_CHECKED), bFlat);
            return TRUE;
        }
        CheckBox(this, rc, nState);
        return TRUE;
    case DFC_SCROLL:
    {
        ButtonFace(this, rc, bPushed, bFlat);
        CRect in = rc;
        if (bPushed)
            in.OffsetRect(1, 1);
        const UINT kind = nState & 0xFF;
        Arrow(this, in, kind == DFCS_SCROLLCOMBOBOX ? int(DFCS_SCROLLDOWN) : int(kind & 0x3), glyph);
        return TRUE;
    }
    case DFC_CAPTION:
    {
        ButtonFace(this, rc, bPushed, bFlat);
        CRect in = rc;
        in.DeflateRect(std::max(2, rc.Width() / 4), std::max(2, rc.Height() / 4));
        if ((nState & 0xFF) == DFCS_CAPTIONCLOSE)
            for (int i = 0; i < std::min(in.Width(), in.Height()); ++i)
            {
                FillSolidRect(in.left + i, in.top + i, 1, 1, glyph);
                FillSolidRect(in.right - 1 - i, in.top + i, 1, 1, glyph);
            }
        else
            Draw3dRect(&in, glyph, glyph);
        return TRUE;
    }
    case DFC_MENU:
        Arrow(this, rc, DFCS_SCROLLRIGHT, glyph);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CDC::DrawState(CPoint pt, CSize size, HGDIOBJ hImage, UINT nFlags)
{
    const UINT kind = nFlags & 0xF;
    if (!Ready() || !hImage || (kind != DST_BITMAP && kind != DST_ICON))
        return FALSE;
    const QImage* image = AfxGetBitmapImage(hImage);
    if (!image || image->isNull())
        return FALSE;
    const int cx = size.cx > 0 ? size.cx : image->width();
    const int cy = size.cy > 0 ? size.cy : image->height();
    if (cx == image->width() && cy == image->height())
        m_pPainter->drawImage(QPoint(pt.x, pt.y), *image);
    else
        m_pPainter->drawImage(QRect(pt.x, pt.y, cx, cy), *image);
    return TRUE;
}

BOOL CDC::DrawIconEx(int x, int y, HICON hIcon, int cx, int cy, UINT nFlags)
{
    const bool bOwn = (nFlags & DI_DEFAULTSIZE) || cx <= 0 || cy <= 0;
    return DrawState(CPoint(x, y), bOwn ? CSize(0, 0) : CSize(cx, cy), reinterpret_cast<HGDIOBJ>(hIcon),
                     DST_ICON);
}
