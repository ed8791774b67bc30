// The grid's mouse, column resizing and scrolling.
#include "symbols/FOExtGrid.h"

#include "mfc/ResourceModule.h"
#include "mfc/View.h"
#include "mfc/Wnd.h"

#include <algorithm>
#include <cmath>

namespace
{
// Message that asks a parent for the size its child may use; a window that answers 0 leaves the
// child to measure itself.
const UINT kRecalcParent = 0x368;
} // namespace

void CFOExtGrid::ReleaseCaptureOf()
{
    if (m_pWnd && CWnd::GetCapture() == m_pWnd)
        ReleaseCapture();
}

void CFOExtGrid::SetTrackLine(int x)
{
    HideTrackLine();
    if (!m_pWnd || !m_pWnd->GetSafeHwnd())
        return;
    CRect client;
    m_pWnd->GetClientRect(&client);
    m_rcTrack = CRect(x - 1, 0, x, client.bottom);
    RedrawRect(m_rcTrack);
}

void CFOExtGrid::HideTrackLine()
{
    if (m_rcTrack.IsRectEmpty())
        return;
    const CRect old = m_rcTrack;
    m_rcTrack.SetRectEmpty();
    RedrawRect(old);
}

BOOL CFOExtGrid::OnLButtonDown(UINT nFlags, CPoint point)
{
    const CPoint p(point.x + 1, point.y + 1);
    if (m_bResizeArmed)
    {
        m_bResizing = 1;
        if (m_pWnd)
            m_pWnd->SetCapture();
        SetTrackLine(p.x);
        return 1;
    }
    const int rows = m_nFixedRows + GetRowCount();
    if (p.x > m_nTotalWidth - m_nHOffset || p.y > RowContentTop(rows) - m_nVOffset)
        return 0;
    const int fixedW = GetFixedWidth();
    const int fixedH = GetFixedHeight();
    if (p.x < fixedW && p.y < fixedH)
    {
        m_bCornerPressed = 1;
        RedrawRect(CRect(0, 0, fixedW + 1, fixedH + 1));
        OnCornerClick();
    }
    else if (p.y < fixedH)
    {
        const int row = PixelToRow(p.y);
        const int col = ColumnAt(p.x + m_nHOffset, row);
        m_nPressedHeaderCol = col;
        m_nPressedHeaderRow = row;
        RedrawCell(col, row);
        OnHeaderClick(col - m_nFixedCols, row);
    }
    else if (p.x < fixedW)
    {
        const int row = PixelToRow(p.y + m_nVOffset);
        const int col = ColumnAt(p.x, row);
        m_nPressedRowHeaderCol = col;
        m_nPressedRowHeaderRow = row;
        RedrawCell(col, row);
        OnRowHeaderClick(col, row - m_nFixedRows);
    }
    else
    {
        const int row = PixelToRow(p.y + m_nVOffset);
        const int col = ColumnAt(p.x + m_nHOffset, row);
        if (nFlags & MK_SHIFT)
            ExtendSelection(col, row);
        else if (SetCurrentCell(col, row))
        {
            const CRect cell = CellRect(col, row);
            const int x = point.x - cell.left;
            const int y = point.y - cell.top;
            if (CFOXCellCtrl* ctrl = GetCurrentCtrl(); ctrl && x >= 0 && y >= 0)
                ctrl->OnClick(nFlags, x, y);
        }
    }
    if (m_pWnd)
        m_pWnd->SetCapture();
    return 1;
}

void CFOExtGrid::OnMouseMove(UINT nFlags, CPoint point)
{
    const CPoint p(point.x + 1, point.y + 1);
    if (m_bResizing)
    {
        if (!(nFlags & MK_LBUTTON) || !m_bResizeArmed)
        {
            EndColumnResize(p.x);
            ReleaseCaptureOf();
            HideTrackLine();
        }
        else
            SetTrackLine(p.x);
        return;
    }
    const int fixedW = GetFixedWidth();
    const int fixedH = GetFixedHeight();
    if (m_bCornerPressed)
    {
        if (p.x > fixedW + 3 || p.y > fixedH + 3 || p.x < -3 || p.y < -3)
        {
            m_bCornerPressed = 0;
            RedrawRect(CRect(0, 0, fixedW + 1, fixedH + 1));
            ReleaseCaptureOf();
        }
        return;
    }
    if (m_nPressedHeaderCol >= 0)
    {
        const int row = PixelToRow(p.y);
        const int col = ColumnAt(p.x + m_nHOffset, row);
        if (p.y < 0 || p.y >= fixedH || col != m_nPressedHeaderCol || row != m_nPressedHeaderRow)
        {
            const int c = m_nPressedHeaderCol, r = m_nPressedHeaderRow;
            m_nPressedHeaderCol = m_nPressedHeaderRow = -1;
            RedrawCell(c, r);
            ReleaseCaptureOf();
        }
        return;
    }
    if (m_nPressedRowHeaderCol >= 0)
    {
        const int row = PixelToRow(p.y + m_nVOffset);
        const int col = ColumnAt(p.x, row);
        if (p.x < 0 || p.x >= fixedW || col != m_nPressedRowHeaderCol || row != m_nPressedRowHeaderRow)
        {
            const int c = m_nPressedRowHeaderCol, r = m_nPressedRowHeaderRow;
            m_nPressedRowHeaderCol = m_nPressedRowHeaderRow = -1;
            RedrawCell(c, r);
            RedrawCell(c, m_nCurRow);
            ReleaseCaptureOf();
        }
        return;
    }
    if ((nFlags & MK_LBUTTON) && m_pWnd && CWnd::GetCapture() == m_pWnd)
    {
        const int row = PixelToRow(std::max(0, p.y + m_nVOffset));
        const int col = ColumnAt(std::max(0, p.x + m_nHOffset), row);
        if (col != m_nSelEndCol || row != m_nSelEndRow)
            ExtendSelection(col, row);
    }
}

BOOL CFOExtGrid::OnLButtonUp(UINT, CPoint point)
{
    const CPoint p(point.x + 1, point.y + 1);
    if (m_bResizing)
    {
        EndColumnResize(p.x);
        ReleaseCaptureOf();
        HideTrackLine();
    }
    if (m_bCornerPressed)
    {
        m_bCornerPressed = 0;
        RedrawRect(CRect(0, 0, GetFixedWidth() + 1, GetFixedHeight() + 1));
    }
    if (m_nPressedHeaderCol >= 0)
    {
        const int c = m_nPressedHeaderCol, r = m_nPressedHeaderRow;
        m_nPressedHeaderCol = m_nPressedHeaderRow = -1;
        RedrawCell(c, r);
        ReleaseCaptureOf();
        OnHeaderClickUp(c - m_nFixedCols, r);
    }
    if (m_nPressedRowHeaderCol >= 0)
    {
        const int c = m_nPressedRowHeaderCol, r = m_nPressedRowHeaderRow;
        m_nPressedRowHeaderCol = m_nPressedRowHeaderRow = -1;
        RedrawCell(c, r);
        ReleaseCaptureOf();
        OnRowHeaderClickUp(c, r - m_nFixedRows);
    }
    ReleaseCaptureOf();
    return 1;
}

void CFOExtGrid::OnLButtonDblClk(UINT, CPoint point)
{
    const CPoint p(point.x + 1, point.y + 1);
    const int rows = m_nFixedRows + GetRowCount();
    if (p.x > m_nTotalWidth - m_nHOffset || p.y > RowContentTop(rows) - m_nVOffset)
        return;
    const int fixedW = GetFixedWidth();
    const int fixedH = GetFixedHeight();
    if (p.y < fixedH && p.x >= fixedW)
    {
        const int row = PixelToRow(p.y);
        const int col = ColumnAt(p.x + m_nHOffset, row);
        m_nPressedHeaderCol = col;
        m_nPressedHeaderRow = row;
        RedrawCell(col, row);
        OnHeaderDblClick(col - m_nFixedCols, row);
        if (m_pWnd)
            m_pWnd->SetCapture();
    }
    else if (p.x < fixedW && p.y >= fixedH)
    {
        const int row = PixelToRow(p.y + m_nVOffset);
        const int col = ColumnAt(p.x, row);
        m_nPressedRowHeaderCol = col;
        m_nPressedRowHeaderRow = row;
        RedrawCell(col, row);
        OnRowHeaderDblClick(col, row - m_nFixedRows);
        if (m_pWnd)
            m_pWnd->SetCapture();
    }
    else if (p.x >= fixedW && p.y >= fixedH)
    {
        const int row = PixelToRow(p.y + m_nVOffset);
        SetCurrentCell(ColumnAt(p.x + m_nHOffset, row), row);
    }
}

BOOL CFOExtGrid::OnSetCursor(UINT nHitTest)
{
    m_bResizeArmed = 0;
    if (nHitTest != HTCLIENT || !m_pWnd || !m_pWnd->GetSafeHwnd())
        return FALSE;
    CPoint pt;
    GetCursorPos(&pt);
    m_pWnd->ScreenToClient(&pt);
    pt.x += 1;
    pt.y += 1;
    if (pt.x < GetFixedWidth() - 2 || pt.y > GetFixedHeight() || pt.x + m_nHOffset > m_nTotalWidth + 4)
        return FALSE;
    if (!m_bResizing)
    {
        int col = 0;
        int row = PixelToRow(std::max(0, pt.y));
        if (!ColumnBorderAt(pt.x, col, row))
            return FALSE;
        m_nResizeCol = col;
        m_nResizeRow = row;
    }
    m_bResizeArmed = 1;
    if (!m_hResizeCursor)
    {
        m_hResizeCursor = LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(29166));
        if (!m_hResizeCursor)
            m_hResizeCursor = LoadCursor(nullptr, IDC_SIZEWE);
    }
    SetCursor(m_hResizeCursor);
    return TRUE;
}

void CFOExtGrid::EndColumnResize(int x)
{
    m_bResizing = 0;
    const int col = m_nResizeCol;
    const int width = std::max(0, x - (ColumnLeft(col) + 1));
    if (col < m_nFixedCols)
    {
        // All fixed columns share the width; it outlives the metrics recomputed below.
        m_nFixedColWidth = width;
        m_nDraggedFixedWidth = width;
    }
    else
    {
        const int old = AbsColumnWidth(col);
        SetColumnWidth(col - m_nFixedCols, 0, width);
        if (m_pWnd && m_pWnd->GetSafeHwnd() && old != width)
        {
            CRect client;
            m_pWnd->GetClientRect(&client);
            const CRect rc(ColumnLeft(col) + old + 1, 0, client.right, client.bottom);
            m_pWnd->ScrollWindow(width - old, 0, &rc, &client);
        }
    }
    CFOXCellCtrl* ctrl = GetCurrentCtrl();
    const BOOL wasEnabled = ctrl ? ctrl->IsEnabled() : FALSE;
    if (ctrl)
        ctrl->Hide();
    UpdateScrollSizes();
    if (m_pWnd && m_pWnd->GetSafeHwnd())
    {
        if (CWnd* parent = m_pWnd->GetParent())
            parent->SendMessage(FOXGN_COLUMNRESIZED, reinterpret_cast<WPARAM>(m_pWnd), 0);
        m_pWnd->SetFocus();
        if (col < m_nFixedCols)
            m_pWnd->Invalidate(FALSE);
    }
    if (wasEnabled)
        ShowCellCtrl(m_nCurCol, m_nCurRow);
}

void CFOExtGrid::UpdateScrollSizes()
{
    RecalcMetrics();
    SetScrollSizes(std::max(0, m_nExtraWidth + m_nTotalWidth - 1),
                   std::max(0, GetRowCount() * m_nRowHeight + GetFixedHeight() + m_nExtraHeight - 1));
    int v = m_nVOffset;
    int h = m_nHOffset;
    if (v + m_nPageHeight > m_nVExtent)
        v = std::max(0, m_nVExtent - m_nPageHeight + 1);
    if (h + m_nPageWidth > m_nHExtent)
        h = std::max(0, m_nHExtent - m_nPageWidth + 1);
    if (v != m_nVOffset || h != m_nHOffset)
        ScrollTo(h, v);
}

void CFOExtGrid::SetScrollSizes(int nWidth, int nHeight)
{
    m_nHExtent = nWidth;
    m_nVExtent = nHeight;
    m_fHScale = nWidth >= 32767 ? float(nWidth / 32767 + 1) : 1.0f;
    m_fVScale = nHeight >= 32767 ? float(nHeight / 32767 + 1) : 1.0f;
    if (m_pWnd && m_pWnd->GetSafeHwnd())
        UpdateScrollBars();
}

void CFOExtGrid::UpdateScrollBars()
{
    if (m_nScrollGuard || !m_pWnd || !m_pWnd->GetSafeHwnd())
        return;
    ++m_nScrollGuard;
    CRect rc;
    CWnd* parent = m_pWnd->GetParent();
    const bool fromParent =
        parent && parent->SendMessage(kRecalcParent, 0, reinterpret_cast<LPARAM>(&rc)) != 0;
    if (!fromParent)
    {
        // The whole window: the client area with the room of the bars shown now.
        CRect win;
        m_pWnd->GetWindowRect(&win);
        rc = CRect(0, 0, win.Width(), win.Height());
    }
    if (rc.Width() <= 0 || rc.Height() <= 0)
    {
        m_pWnd->EnableScrollBarCtrl(SB_BOTH, FALSE);
        --m_nScrollGuard;
        return;
    }
    const int barW = GetSystemMetrics(SM_CXVSCROLL);
    const int barH = GetSystemMetrics(SM_CYHSCROLL);
    int cx = rc.Width();
    int cy = rc.Height();
    bool needV = m_nVExtent + 1 > cy;
    bool needH = m_nHExtent + 1 > (needV ? cx - barW : cx);
    if (needH && !needV)
        needV = m_nVExtent + 1 > cy - barH;
    if (needV)
        cx -= barW;
    if (needH)
        cy -= barH;
    cx = std::max(cx, 1);
    cy = std::max(cy, 1);
    const int h = needH ? std::clamp(m_nHOffset, 0, std::max(0, m_nHExtent - cx + 1)) : 0;
    const int v = needV ? std::clamp(m_nVOffset, 0, std::max(0, m_nVExtent - cy + 1)) : 0;
    m_nPageWidth = cx;
    m_nHLineStep = cx / 10;
    m_nPageHeight = cy;
    m_nVLineStep = m_nRowHeight;
    m_pWnd->EnableScrollBarCtrl(SB_HORZ, needH);
    m_pWnd->EnableScrollBarCtrl(SB_VERT, needV);
    auto apply = [&](int nBar, int extent, int page, float scale)
    {
        SCROLLINFO si = {sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
        si.nMin = 0;
        si.nMax = int(float(extent) / scale);
        si.nPage = UINT(std::max(1, int(std::lround(float(page) / scale))));
        if (!m_pWnd->SetScrollInfo(nBar, &si, TRUE))
            m_pWnd->SetScrollPos(nBar, 0, TRUE);
    };
    if (needH)
        apply(SB_HORZ, m_nHExtent, cx, m_fHScale);
    if (needV)
        apply(SB_VERT, m_nVExtent, cy, m_fVScale);
    ScrollTo(h, v);
    --m_nScrollGuard;
}

BOOL CFOExtGrid::HasBar(int nBar) const
{
    if (!m_pWnd || !m_pWnd->GetSafeHwnd())
        return FALSE;
    if (CWnd* bar = m_pWnd->GetScrollBarCtrl(nBar))
        return bar->IsWindowEnabled();
    return (m_pWnd->GetStyle() & (nBar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL)) != 0;
}

BOOL CFOExtGrid::ScrollBy(int dx, int dy, BOOL bScroll)
{
    if (!HasBar(SB_HORZ))
        dx = 0;
    if (!HasBar(SB_VERT))
        dy = 0;
    const int h = std::clamp(m_nHOffset + dx, 0, std::max(0, m_nHExtent));
    const int v = std::clamp(m_nVOffset + dy, 0, std::max(0, m_nVExtent));
    if (h == m_nHOffset && v == m_nVOffset)
        return 0;
    if (!bScroll)
        return 1;
    ScrollTo(h, v);
    return 1;
}

BOOL CFOExtGrid::OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll)
{
    int h = m_nHOffset;
    int v = m_nVOffset;
    const UINT hc = nScrollCode & 0xFF;
    const UINT vc = (nScrollCode >> 8) & 0xFF;
    switch (hc)
    {
    case SB_LINELEFT:
        h -= m_nHLineStep;
        break;
    case SB_LINERIGHT:
        h += m_nHLineStep;
        break;
    case SB_PAGELEFT:
        h -= m_nPageWidth;
        break;
    case SB_PAGERIGHT:
        h += m_nPageWidth;
        break;
    case SB_THUMBTRACK:
        h = int(float(nPos) * m_fHScale);
        break;
    case SB_LEFT:
        h = 0;
        break;
    case SB_RIGHT:
        h = m_nHExtent - m_nPageWidth + 1;
        break;
    default:
        break;
    }
    const int page = m_nPageHeight - GetFixedHeight();
    switch (vc)
    {
    case SB_LINEUP:
        v -= m_nVLineStep;
        break;
    case SB_LINEDOWN:
        v += m_nVLineStep;
        break;
    case SB_PAGEUP:
        v -= page;
        break;
    case SB_PAGEDOWN:
        v += page;
        break;
    case SB_THUMBTRACK:
        v = int(float(nPos) * m_fVScale);
        break;
    case SB_TOP:
        v = 0;
        break;
    case SB_BOTTOM:
        v = m_nVExtent - m_nPageHeight + 1;
        break;
    default:
        break;
    }
    h = std::clamp(h, 0, std::max(0, m_nHExtent - m_nPageWidth + 1));
    v = std::clamp(v, 0, std::max(0, m_nVExtent - m_nPageHeight + 1));
    const BOOL moved = ScrollBy(h - m_nHOffset, v - m_nVOffset, bDoScroll);
    if (moved && bDoScroll && m_pWnd && m_pWnd->GetSafeHwnd())
    {
        m_pWnd->UpdateWindow();
        if (CFOXCellCtrl* ctrl = GetCurrentCtrl())
        {
            ctrl->Hide();
            m_pWnd->SetFocus();
        }
        if (GetRowCount() > 0)
            RedrawFocus();
    }
    return moved;
}

BOOL CFOExtGrid::OnMouseWheel(UINT, short zDelta, CPoint, BOOL bFocus)
{
    HideCurrentCtrl();
    if (bFocus && m_pWnd && m_pWnd->GetSafeHwnd())
        m_pWnd->SetFocus();
    const bool vert = HasBar(SB_VERT) && m_nVExtent + 1 > m_nPageHeight;
    const bool horz = HasBar(SB_HORZ) && m_nHExtent + 1 > m_nPageWidth;
    if (!vert && !horz)
        return 0;
    const int step = vert ? m_nVLineStep : m_nHLineStep;
    const int page = vert ? m_nPageHeight : m_nPageWidth;
    const int extent = vert ? m_nVExtent : m_nHExtent;
    const int offset = vert ? m_nVOffset : m_nHOffset;
    UINT lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    // A setting of one page at a time, or a product that does not fit, moves by a page.
    const int n = lines == WHEEL_PAGESCROLL ? 0 : MulDiv(-zDelta, int(lines), WHEEL_DELTA);
    const bool failed =
        lines == WHEEL_PAGESCROLL || (n == -1 && std::abs(zDelta) * int(lines) > WHEEL_DELTA * 2);
    int amount = 0;
    if (failed)
        amount = zDelta > 0 ? -page : page;
    else
    {
        amount = n * step;
        amount = std::clamp(amount, -page, page);
    }
    amount = std::min(amount, extent - offset - page + 1);
    amount = std::max(amount, -offset);
    const BOOL moved = vert ? ScrollBy(0, amount, TRUE) : ScrollBy(amount, 0, TRUE);
    if (moved && GetRowCount() > 0)
        RedrawFocus();
    return moved;
}

void CFOExtGrid::RedrawFocus()
{
    if (!m_pWnd || !m_pWnd->GetSafeHwnd())
        return;
    if (GetGridStyle() & FOXGS_ROWSELECT)
        RedrawRow(m_nCurRow);
    else
        RedrawCell(m_nCurCol, m_nCurRow);
}

void CFOExtGrid::SpanWithShift(int nClicked, int nSelFirst, int nSelLast, int& nFirst, int& nLast) const
{
    // With Shift and a selection of more than one cell, the span reaches from the selection.
    const bool many = m_nSelFirstCol != m_nSelLastCol || m_nSelFirstRow != m_nSelLastRow;
    if ((GetKeyState(VK_SHIFT) & 0x8000) && many)
    {
        nFirst = std::min(nClicked, nSelFirst);
        nLast = std::max(nClicked, nSelLast);
    }
}

void CFOExtGrid::OnCornerClick()
{
    if (!EndCellEdit(1))
        return;
    if (GetGridStyle() & FOXGS_RANGESELECT)
        SetSelection(m_nFixedCols, m_nFixedRows, m_nFixedCols + GetColumnCount(0) - 1,
                     m_nFixedRows + GetRowCount() - 1);
}

void CFOExtGrid::OnHeaderClick(int nCol, int)
{
    if (!EndCellEdit(1) || m_nFixedRows >= 2)
        return;
    const int col = nCol + m_nFixedCols;
    if (!(GetGridStyle() & FOXGS_RANGESELECT))
    {
        SetCurrentCell(col, m_nCurRow);
        return;
    }
    int first = col;
    int last = col;
    SpanWithShift(col, m_nSelFirstCol, m_nSelLastCol, first, last);
    if (nCol >= 0 && nCol < GetColumnCount(0))
        if (CFOXCellCtrl* ctrl = GetCellCtrl(nCol, m_nCurRow - m_nFixedRows))
        {
            const FOXCellValue v = GetCellText(nCol, m_nCurRow - m_nFixedRows);
            ctrl->SetValue(v.strText, v.dwData);
        }
    SetSelection(first, m_nFixedRows, last, m_nFixedRows + GetRowCount() - 1);
}

void CFOExtGrid::OnRowHeaderClick(int, int nRow)
{
    if (!EndCellEdit(1))
        return;
    const int row = nRow + m_nFixedRows;
    if (!(GetGridStyle() & FOXGS_RANGESELECT))
    {
        SetCurrentCell(m_nCurCol, row);
        return;
    }
    int first = row;
    int last = row;
    SpanWithShift(row, m_nSelFirstRow, m_nSelLastRow, first, last);
    if (m_nCurRow < first || m_nCurRow > last)
        if (CFOXCellCtrl* ctrl = GetCurrentCtrl())
        {
            const FOXCellValue v = GetCellText(m_nCurCol - m_nFixedCols, m_nCurRow - m_nFixedRows);
            ctrl->SetValue(v.strText, v.dwData);
        }
    const int oldRow = m_nCurRow;
    SetSelection(m_nFixedCols, first, m_nFixedCols + GetColumnCount(0) - 1, last);
    for (int c = 0; c < m_nFixedCols; ++c)
    {
        RedrawCell(c, row);
        RedrawCell(c, oldRow);
        RedrawCell(c, m_nCurRow);
    }
}
