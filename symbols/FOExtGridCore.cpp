#include "symbols/FOExtGridCore.h"

#include "mfc/SysColor.h"
#include "mfc/Wnd.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cstring>

CFOExtGridCore::CFOExtGridCore()
{
    // The scheme and the selection come first, so that a font that cannot be made leaves a grid
    // that still draws in its colours.
    m_colors.crNormalBack = GetSysColor(COLOR_WINDOW);
    m_colors.crNormalText = GetSysColor(COLOR_WINDOWTEXT);
    m_colors.crCurrentBack = GetSysColor(COLOR_WINDOW);
    m_colors.crCurrentText = GetSysColor(COLOR_WINDOWTEXT);
    m_colors.crSelectedBack = GetSysColor(COLOR_HIGHLIGHT);
    m_colors.crSelectedText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    m_colors.crLineLeft = m_colors.crLineTop = m_colors.crLineRight = m_colors.crLineBottom =
        GetSysColor(COLOR_BTNFACE);
    m_colors.nLineJoin = 0;
    m_colors.focus.crBack = GetSysColor(COLOR_WINDOW);
    m_colors.focus.crFrame = RGB(0, 100, 200);
    m_colors.focus.nSolid = 1;
    m_nSelEndCol = m_nCurCol;
    m_nSelEndRow = m_nCurRow;
    m_nSelFirstCol = m_nSelLastCol = m_nCurCol;
    m_nSelFirstRow = m_nSelLastRow = m_nCurRow;

    LOGFONTW lf;
    std::memset(&lf, 0, sizeof(lf));
    wcscpy(lf.lfFaceName, L"MS Sans Serif");
    if (GetSystemMetrics(SM_DBCSENABLED))
    {
        CGdiObject* stock = CDC::GetStockObject(DEFAULT_GUI_FONT);
        if (!stock)
            stock = CDC::GetStockObject(SYSTEM_FONT);
        if (auto* font = dynamic_cast<CFont*>(stock))
            font->GetLogFont(&lf);
    }
    if (!MakeFonts(lf))
    {
        // The default font instead of one that cannot be made.
        LOGFONTW def;
        std::memset(&def, 0, sizeof(def));
        if (auto* font = dynamic_cast<CFont*>(CDC::GetStockObject(DEFAULT_GUI_FONT)))
            font->GetLogFont(&def);
        MakeFonts(def);
    }
}

BOOL CFOExtGridCore::MakeFonts(LOGFONTW lf)
{
    lf.lfHeight = 12;
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = 0;
    lf.lfUnderline = 0;
    lf.lfCharSet = 204;
    lf.lfOutPrecision = 4;
    lf.lfClipPrecision = 0;
    lf.lfQuality = 2;
    lf.lfPitchAndFamily = 0x22;
    delete m_pBoldFont;
    m_pBoldFont = new CFont;
    if (!m_pBoldFont->CreateFontIndirect(&lf))
    {
        delete m_pBoldFont;
        m_pBoldFont = nullptr;
        return FALSE;
    }
    lf.lfWeight = FW_NORMAL;
    m_font.DeleteObject();
    return m_font.CreateFontIndirect(&lf);
}

CFOExtGridCore::~CFOExtGridCore()
{
    delete m_pDefaultCtrl;
    if (m_hResizeCursor)
        DestroyCursor(m_hResizeCursor);
    delete m_pBoldFont;
    m_font.DeleteObject();
}

DWORD CFOExtGridCore::GetGridStyle() const
{
    return m_pWnd && m_pWnd->GetSafeHwnd() ? m_pWnd->GetStyle() : 0;
}

CFOXCellCtrl* CFOExtGridCore::CreateCellCtrl(int nCol, int nRow, DWORD dwStyle, UINT)
{
    (void)nRow;
    auto* ctrl = new CFOXCellCtrl;
    ctrl->Create(dwStyle, m_pWnd, UINT(nCol + 1900));
    ctrl->Enable(FALSE);
    ctrl->SetFont(&m_font, TRUE);
    return ctrl;
}

void CFOExtGridCore::LoadCellCtrl(int nCol, int nRow, CFOXCellCtrl* pCtrl)
{
    if (!pCtrl)
        return;
    const FOXCellValue v = GetCellText(nCol, nRow);
    pCtrl->SetValue(v.strText, v.dwData);
}

FOXCellValue CFOExtGridCore::GetCellText(int nCol, int nRow) const
{
    FOXCellValue v;
    v.strText.Format(L"%u - %u", unsigned(nCol), unsigned(nRow));
    return v;
}

// --- geometry -------------------------------------------------------------------------------------

CSize CFOExtGridCore::GetFontMetrics(CFont* pFont) const
{
    QImage image(1, 1, QImage::Format_RGB32);
    CImageDC dc(image);
    CFont* old = pFont ? dc.SelectObject(pFont) : nullptr;
    TEXTMETRICW tm = {};
    dc.GetTextMetrics(&tm);
    if (old)
        dc.SelectObject(old);
    return CSize(tm.tmAveCharWidth, tm.tmHeight);
}

void CFOExtGridCore::RecalcMetrics()
{
    const int h = GetFontMetrics(&m_font).cy;
    m_nRowHeight = m_nLinesPerRow * h + 8;
    const DWORD style = GetGridStyle();
    if (!(style & FOXGS_KEEPHEADERHEIGHT))
        m_nHeaderHeight = m_pBoldFont ? GetFontMetrics(m_pBoldFont).cy + 8 : m_nRowHeight + 8;
    if (m_nDraggedFixedWidth >= 0)
        m_nFixedColWidth = m_nDraggedFixedWidth;
    else if (m_nFixedCols > 0 && !(style & FOXGS_RESIZEDATACOLUMNS))
        m_nFixedColWidth = m_nRowHeight / 2;
    const int cols = m_nFixedCols + GetColumnCount(0);
    int total = 0;
    for (int c = 0; c < cols; ++c)
        total += AbsColumnWidth(c);
    m_nTotalWidth = total;
}

int CFOExtGridCore::AbsColumnWidth(int nCol) const
{
    if (nCol < 0)
        return 0;
    if (nCol < m_nFixedCols)
        return m_nFixedColWidth;
    return GetColumnWidth(nCol - m_nFixedCols, 0);
}

int CFOExtGridCore::ColumnLeft(int nCol) const
{
    int x = 0;
    for (int c = 0; c < nCol; ++c)
        x += AbsColumnWidth(c);
    return x - (nCol >= m_nFixedCols ? m_nHOffset : 0) - 1;
}

int CFOExtGridCore::RowContentTop(int nRow) const
{
    if (nRow <= m_nFixedRows)
        return nRow * m_nHeaderHeight;
    return m_nFixedRows * m_nHeaderHeight + (nRow - m_nFixedRows) * m_nRowHeight;
}

int CFOExtGridCore::RowTop(int nRow) const
{
    return RowContentTop(nRow) - (nRow >= m_nFixedRows ? m_nVOffset : 0) - 1;
}

CRect CFOExtGridCore::CellRect(int nCol, int nRow) const
{
    const int left = ColumnLeft(nCol);
    const int top = RowTop(nRow);
    const int h = nRow < m_nFixedRows ? m_nHeaderHeight : m_nRowHeight;
    return CRect(left, top, left + AbsColumnWidth(nCol) + 1, top + h + 1);
}

void CFOExtGridCore::GetSelection(int& nFirstCol, int& nLastCol, int& nFirstRow, int& nLastRow) const
{
    nFirstCol = m_nSelFirstCol - m_nFixedCols;
    nLastCol = m_nSelLastCol - m_nFixedCols;
    nFirstRow = m_nSelFirstRow - m_nFixedRows;
    nLastRow = m_nSelLastRow - m_nFixedRows;
}

int CFOExtGridCore::ColumnAt(int x, int nRow) const
{
    (void)nRow;
    const int cols = m_nFixedCols + GetColumnCount(0);
    int right = 0;
    for (int c = 0; c < cols; ++c)
    {
        right += AbsColumnWidth(c);
        if (x < right)
            return c;
    }
    return std::max(0, cols - 1);
}

int CFOExtGridCore::PixelToRow(int y) const
{
    const int fixedH = m_nFixedRows * m_nHeaderHeight;
    if (y < fixedH)
        return m_nHeaderHeight > 0 ? y / m_nHeaderHeight : 0;
    return m_nFixedRows + (m_nRowHeight > 0 ? (y - fixedH) / m_nRowHeight : 0);
}

BOOL CFOExtGridCore::ColumnBorderAt(int x, int& nCol, int& nRow) const
{
    (void)nRow;
    const int cols = m_nFixedCols + GetColumnCount(0);
    const int px = x + m_nHOffset;
    int left = 0;
    for (int c = 0; c < cols; ++c)
    {
        const int right = left + AbsColumnWidth(c);
        if (px >= left && px <= right + 2)
        {
            int hit = -1;
            if (px >= right - 2)
                hit = c;
            else if (px <= left + 2 && c > 0)
                hit = c - 1;
            if (hit < 0)
                return FALSE;
            if (hit >= m_nFixedCols && !(GetGridStyle() & FOXGS_RESIZEDATACOLUMNS))
                return FALSE;
            nCol = hit;
            return TRUE;
        }
        left = right;
    }
    return FALSE;
}

// --- repainting through the window ------------------------------------------------------------------

void CFOExtGridCore::RedrawRect(const CRect& rc)
{
    if (m_pWnd && m_pWnd->GetSafeHwnd() && !rc.IsRectEmpty())
        m_pWnd->InvalidateRect(&rc, FALSE);
}

void CFOExtGridCore::RedrawCell(int nCol, int nRow)
{
    CRect rc = CellRect(nCol, nRow);
    // The focus frame and the joined lines reach one pixel round the cell.
    rc.InflateRect(1, 1);
    RedrawRect(rc);
}

void CFOExtGridCore::RedrawRow(int nRow)
{
    if (!m_pWnd || !m_pWnd->GetSafeHwnd())
        return;
    CRect client;
    m_pWnd->GetClientRect(&client);
    const CRect cell = CellRect(m_nFixedCols, nRow);
    RedrawRect(CRect(client.left, cell.top - 1, client.right, cell.bottom + 1));
}

void CFOExtGridCore::DrawOneCell(CDC* pDC, int nCol, int nRow)
{
    (void)pDC;
    RedrawCell(nCol, nRow);
}

void CFOExtGridCore::DrawOneRow(CDC* pDC, int nRow)
{
    (void)pDC;
    RedrawRow(nRow);
}

// --- painting ---------------------------------------------------------------------------------------

void CFOExtGridCore::OnDraw(CDC* pDC)
{
    CRect rc;
    pDC->GetClipBox(&rc);
    DrawArea(pDC, rc);
}

void CFOExtGridCore::DrawArea(CDC* pDC, const CRect& rcArea)
{
    CFont* oldFont = pDC->SelectObject(&m_font);
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF oldText = pDC->SetTextColor(GetSysColor(COLOR_WINDOWTEXT));

    const int fixedW = GetFixedWidth();
    const int fixedH = GetFixedHeight();
    const int cols = m_nFixedCols + GetColumnCount(0);
    const int rows = m_nFixedRows + GetRowCount();
    const int lastCol = cols - 1;
    const int lastRow = rows - 1;

    // Rows that meet the area below the fixed rows.
    const int yFrom = std::max(rcArea.top, fixedH);
    int firstRow = std::max(m_nFixedRows, PixelToRow(yFrom + m_nVOffset) - 1);
    int endRow = std::min(rows, PixelToRow(rcArea.bottom + m_nVOffset + 1) + 1);

    // The data part, clipped away from the fixed areas.
    const CRect rcData(std::max(rcArea.left, fixedW), yFrom, rcArea.right, rcArea.bottom);
    if (!rcData.IsRectEmpty() && cols > m_nFixedCols)
    {
        pDC->SaveDC();
        pDC->IntersectClipRect(&rcData);
        for (int r = firstRow; r < endRow; ++r)
            DrawRow(pDC, r, RowTop(r), rcData);
        pDC->RestoreDC(-1);
    }
    // Row headers.
    if (rcArea.left < fixedW && yFrom < rcArea.bottom)
    {
        pDC->SaveDC();
        pDC->IntersectClipRect(rcArea.left, yFrom, std::min(rcArea.right, fixedW), rcArea.bottom);
        for (int r = firstRow; r < endRow; ++r)
            for (int c = 0; c < m_nFixedCols; ++c)
                DrawRowHeaderCell(pDC, c, r, ColumnLeft(c), RowTop(r));
        pDC->RestoreDC(-1);
    }
    // Headers, in the bold font.
    if (rcArea.top < fixedH)
    {
        CFont* prev = m_pBoldFont ? pDC->SelectObject(m_pBoldFont) : nullptr;
        pDC->SaveDC();
        pDC->IntersectClipRect(std::max(rcArea.left, fixedW), rcArea.top, rcArea.right,
                               std::min(rcArea.bottom, fixedH));
        for (int r = 0; r < m_nFixedRows; ++r)
            for (int c = m_nFixedCols; c < cols; ++c)
            {
                const int left = ColumnLeft(c);
                if (left > rcArea.right)
                    break;
                if (left + AbsColumnWidth(c) + 1 < rcArea.left)
                    continue;
                DrawHeaderCell(pDC, c, r, left, RowTop(r));
            }
        pDC->RestoreDC(-1);
        if (prev)
            pDC->SelectObject(prev);
        if (rcArea.left < fixedW + 1)
            DrawFixedFrame(pDC, CRect(1, 1, fixedW + 1, fixedH + 1));
    }
    // What lies right of the last column and below the last row.
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const int right = lastCol >= 0 ? ColumnLeft(lastCol) + AbsColumnWidth(lastCol) + 1 : 0;
    if (right < rcArea.right)
        pDC->FillSolidRect(std::max(right, rcArea.left), rcArea.top,
                           rcArea.right - std::max(right, rcArea.left), rcArea.Height(), window);
    const int bottom =
        lastRow >= 0 ? RowTop(lastRow) + (lastRow < m_nFixedRows ? m_nHeaderHeight : m_nRowHeight) + 1 : 0;
    if (bottom < rcArea.bottom)
        pDC->FillSolidRect(rcArea.left, std::max(bottom, rcArea.top), rcArea.Width(),
                           rcArea.bottom - std::max(bottom, rcArea.top), window);

    pDC->SetTextColor(oldText);
    pDC->SetBkMode(oldMode);
    pDC->SelectObject(oldFont);
}

void CFOExtGridCore::DrawRow(CDC* pDC, int nRow, int nTop, const CRect& rcArea)
{
    const int cols = m_nFixedCols + GetColumnCount(nRow);
    int left = ColumnLeft(m_nFixedCols);
    for (int c = m_nFixedCols; c < cols; ++c)
    {
        const int w = AbsColumnWidth(c);
        if (left > rcArea.right)
            break;
        if (left + w + 1 >= rcArea.left)
            DrawCell(pDC, c, nRow, left, nTop);
        left += w;
    }
    if (nRow == m_nCurRow && (GetGridStyle() & FOXGS_ROWSELECT) && cols > m_nFixedCols)
    {
        const int l = std::max(ColumnLeft(m_nFixedCols), GetFixedWidth() - 1);
        CRect rc(l + 1, nTop + 1, std::min(left, rcArea.right), nTop + m_nRowHeight);
        if (!rc.IsRectEmpty())
            DrawFocusFrame(pDC, rc);
    }
}

void CFOExtGridCore::DrawCell(CDC* pDC, int nCol, int nRow, int nLeft, int nTop)
{
    const DWORD style = GetGridStyle();
    const int dc = nCol - m_nFixedCols;
    const int dr = nRow - m_nFixedRows;
    const bool current = nCol == m_nCurCol && nRow == m_nCurRow;
    const bool selected = ((style & FOXGS_ROWSELECT) && nRow == m_nCurRow) ||
                          ((style & FOXGS_RANGESELECT) && nCol >= m_nSelFirstCol && nCol <= m_nSelLastCol &&
                           nRow >= m_nSelFirstRow && nRow <= m_nSelLastRow);
    const FOXGridColors* colors = GetColors(dc, dr);
    COLORREF back = colors->crNormalBack;
    COLORREF text = colors->crNormalText;
    if (current)
    {
        back = colors->crCurrentBack;
        text = colors->crCurrentText;
    }
    else if (selected)
    {
        back = colors->crSelectedBack;
        text = colors->crSelectedText;
    }

    CRect rc(nLeft, nTop, nLeft + AbsColumnWidth(nCol) + 1, nTop + m_nRowHeight + 1);
    if (!(style & FOXGS_NOGRIDLINES))
        DrawRaisedFrame(pDC, rc, colors->crLineLeft, colors->crLineTop, colors->crLineRight,
                        colors->crLineBottom, colors->nLineJoin);
    else
    {
        const COLORREF b = (selected || (current && (style & FOXGS_ROWSELECT))) ? colors->crSelectedBack
                                                                                : colors->crNormalBack;
        DrawRaisedFrame(pDC, rc, b, colors->crNormalBack, b, colors->crNormalBack, 1);
    }
    rc.DeflateRect(1, 1);
    if (rc.IsRectEmpty())
        return;

    const FOXCellFormat fmt = GetCellFormat(dc, dr);
    FOXCellValue value;
    // An open editor shows what is being typed; a closed one may still hold another row's value.
    CFOXCellCtrl* ctrl = current ? GetCellCtrl(dc, dr) : nullptr;
    value = ctrl && ctrl->IsEnabled() ? ctrl->GetValue() : GetCellText(dc, dr);

    pDC->FillSolidRect(&rc, back);
    CRect rcText = rc;
    if (HasCellImage(dc, dr))
    {
        CSize size;
        GetCellImageSize(dc, dr, size);
        size.cx = std::min<int>(size.cx, rc.Width());
        size.cy = std::min<int>(size.cy, rc.Height());
        const CRect rcImage(rc.left + 1, rc.top + (rc.Height() - size.cy) / 2, rc.left + 1 + size.cx,
                            rc.top + (rc.Height() - size.cy) / 2 + size.cy);
        DrawCellImage(pDC, dc, dr, rcImage, 0);
        rcText.left = std::min<int>(rcImage.right + 2, rc.right);
    }
    if (current)
        DrawFocusFrame(pDC, rc);
    rcText.DeflateRect(1, 1);
    pDC->SetTextColor(text);
    CFont* font = current ? colors->pCurrentFont : colors->pOtherFont;
    CFont* oldFont = font ? pDC->SelectObject(font) : nullptr;
    if (fmt.nFrameType)
        DrawFrameControlCell(pDC, rcText, fmt, value);
    else if (!value.strText.IsEmpty())
        pDC->DrawText(value.strText, &rcText, fmt.nDrawText);
    if (oldFont)
        pDC->SelectObject(oldFont);
}

void CFOExtGridCore::DrawFocusFrame(CDC* pDC, const CRect& rc)
{
    const FOXFocusFrame& f = m_colors.focus;
    if (f.nSolid)
    {
        pDC->Draw3dRect(&rc, f.crFrame, f.crFrame);
        return;
    }
    pDC->Draw3dRect(&rc, f.crBack, f.crBack);
    const COLORREF oldBk = pDC->SetBkColor(f.crBack);
    const COLORREF oldText = pDC->SetTextColor(f.crFrame);
    pDC->DrawFocusRect(&rc);
    pDC->SetBkColor(oldBk);
    pDC->SetTextColor(oldText);
}

void CFOExtGridCore::DrawRaisedFrame(CDC* pDC, const CRect& rc, COLORREF crLeft, COLORREF crTop,
                                     COLORREF crRight, COLORREF crBottom, int nJoin)
{
    // One-pixel lines as the pens would draw them; the right and bottom ones a pixel in.
    const int right = rc.right - 1;
    const int bottom = rc.bottom - 1;
    const int extra = nJoin == 0 ? 1 : 0;
    pDC->FillSolidRect(rc.left, rc.top, 1, bottom - rc.top + extra, crLeft);
    pDC->FillSolidRect(right, rc.top, 1, bottom - rc.top + extra, crRight);
    pDC->FillSolidRect(rc.left - nJoin, rc.top, right + 2 * nJoin - (rc.left - nJoin), 1, crTop);
    pDC->FillSolidRect(rc.left - nJoin, bottom, right + 2 * nJoin - (rc.left - nJoin), 1, crBottom);
}

void CFOExtGridCore::DrawHeaderCell(CDC* pDC, int nCol, int nRow, int nLeft, int nTop)
{
    const DWORD style = GetGridStyle();
    const bool flat = (style & FOXGS_FLATHEADERS) != 0;
    CRect rc(nLeft, nTop, nLeft + AbsColumnWidth(nCol) + 1, nTop + m_nHeaderHeight + 1);
    const COLORREF edge = GetSysColor(flat ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW);
    pDC->Draw3dRect(&rc, edge, edge);
    const bool pressed = nCol == m_nPressedHeaderCol && nRow == m_nPressedHeaderRow;
    CRect rcText;
    if (rc.Width() >= 4 && rc.Height() >= 4 && !pressed)
    {
        rc.left += 1;
        rc.top += 1;
        if (flat)
        {
            pDC->Draw3dRect(&rc, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
            rc.DeflateRect(1, 1);
            pDC->FillSolidRect(&rc, GetSysColor(COLOR_BTNFACE));
            rcText = CRect(rc.left + 2, rc.top, rc.right - 2, rc.bottom - 1);
        }
        else
        {
            pDC->DrawFrameControl(&rc, DFC_BUTTON, DFCS_BUTTONPUSH);
            rcText = CRect(rc.left + 3, rc.top + 1, rc.right - 3, rc.bottom - 2);
        }
    }
    else
    {
        rc.DeflateRect(1, 1);
        pDC->FillSolidRect(&rc, GetSysColor(COLOR_BTNFACE));
        rcText = rc;
        rcText.OffsetRect(4, 2);
    }
    const FOXCellValue title = GetColumnTitle(nCol - m_nFixedCols, nRow);
    if (!title.strText.IsEmpty())
        pDC->DrawText(title.strText, &rcText, UINT(title.dwData));
}

void CFOExtGridCore::DrawRowHeaderCell(CDC* pDC, int nCol, int nRow, int nLeft, int nTop)
{
    const DWORD style = GetGridStyle();
    const bool flat = (style & FOXGS_FLATHEADERS) != 0;
    CRect rc(nLeft, nTop, nLeft + m_nFixedColWidth + 1, nTop + m_nRowHeight + 1);
    const COLORREF edge = GetSysColor(flat ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW);
    pDC->Draw3dRect(&rc, edge, edge);
    const bool pressed = nCol == m_nPressedRowHeaderCol && nRow == m_nPressedRowHeaderRow;
    CRect face(rc.left + 1, rc.top + 1, rc.right, rc.bottom);
    if (rc.Width() < 3 || rc.Height() < 3 || pressed)
        pDC->FillSolidRect(&face, GetSysColor(COLOR_BTNFACE));
    else if (!flat)
        pDC->DrawFrameControl(&face, DFC_BUTTON, DFCS_BUTTONPUSH);
    else
    {
        pDC->Draw3dRect(&face, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
        face.DeflateRect(1, 1);
        pDC->FillSolidRect(&face, GetSysColor(COLOR_BTNFACE));
    }
    const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    if (nCol == m_nFixedCols - 1 && (nRow == m_nCurRow || (!shift && nRow == m_nPressedRowHeaderRow)))
    {
        // A small triangle pointing right, 4 x 9, centred.
        const int x = nLeft + (m_nFixedColWidth - 4) / 2;
        const int y = nTop + (m_nRowHeight - 9) / 2;
        const COLORREF cr = GetSysColor(COLOR_WINDOWFRAME);
        for (int i = 0; i <= 4; ++i)
            pDC->FillSolidRect(x + i, y + i, 1, 9 - 2 * i, cr);
    }
}

void CFOExtGridCore::DrawFixedFrame(CDC* pDC, CRect rc)
{
    const bool flat = (GetGridStyle() & FOXGS_FLATHEADERS) != 0;
    rc.left -= 2;
    rc.top -= 2;
    rc.right -= 1;
    rc.bottom -= 1;
    const COLORREF edge = GetSysColor(flat ? COLOR_BTNSHADOW : COLOR_WINDOWFRAME);
    pDC->Draw3dRect(&rc, edge, edge);
    rc.left += 1;
    rc.top += 1;
    if (rc.Width() < 3 || rc.Height() < 3 || m_bCornerPressed)
        pDC->FillSolidRect(&rc, GetSysColor(COLOR_BTNFACE));
    else if (!flat)
        pDC->DrawFrameControl(&rc, DFC_BUTTON, DFCS_BUTTONPUSH);
    else
    {
        pDC->Draw3dRect(&rc, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
        rc.DeflateRect(1, 1);
        pDC->FillSolidRect(&rc, GetSysColor(COLOR_BTNFACE));
    }
}

void CFOExtGridCore::DrawFrameControlCell(CDC* pDC, CRect rc, const FOXCellFormat& fmt,
                                          const FOXCellValue& value)
{
    CString text = value.strText;
    CRect glyph;
    CRect rcText = rc;
    UINT state = fmt.nFrameState;
    const int h = rc.Height();
    switch (fmt.nFrameType)
    {
    case DFC_CAPTION:
        glyph = CRect(rc.right - h, rc.top, rc.right, rc.bottom);
        rcText.right = glyph.left;
        break;
    case DFC_MENU:
        text = L" " + text;
        glyph = CRect(rc.left, rc.top, rc.left + 13, rc.bottom);
        rcText.left = glyph.right + 2;
        break;
    case DFC_SCROLL:
        if (state & 0x10)
        {
            const int w = GetSystemMetrics(SM_CXVSCROLL);
            CRect up(rc.right - w, rc.top, rc.right, rc.top + h / 2);
            CRect down(rc.right - w, rc.top + h / 2, rc.right, rc.bottom);
            pDC->DrawFrameControl(&up, DFC_SCROLL, DFCS_SCROLLUP);
            pDC->DrawFrameControl(&down, DFC_SCROLL, DFCS_SCROLLDOWN);
            rcText.right = up.left;
            glyph.SetRectEmpty();
        }
        else if (state & 0x8)
        {
            const int s = h / 2 + 1;
            glyph = CRect(rc.right - s, rc.top, rc.right, rc.bottom);
            rcText.right = glyph.left;
        }
        else
        {
            glyph = CRect(rc.right - h, rc.top, rc.right, rc.bottom);
            rcText.right = glyph.left;
        }
        break;
    case DFC_BUTTON:
        if (state & DFCS_BUTTONPUSH)
        {
            glyph = rc;
            glyph.DeflateRect(1, 1);
            rcText = glyph;
        }
        else
        {
            const bool three = (state & DFCS_BUTTON3STATE) != 0;
            state &= ~(DFCS_CHECKED);
            if (value.dwData == 1)
            {
                state |= DFCS_CHECKED;
                state &= ~DFCS_BUTTON3STATE;
            }
            else if (value.dwData == 2 && three)
                state |= DFCS_CHECKED;
            const int top = rc.top + (h - 13) / 2;
            if (text.IsEmpty())
            {
                const int left = rc.left + (rc.Width() - 13) / 2;
                glyph = CRect(left, top, left + 13, top + 13);
            }
            else
            {
                text = L" " + text;
                glyph = CRect(rc.left, top, rc.left + 13, top + 13);
                rcText.left = rc.left + 15;
            }
        }
        break;
    default:
        break;
    }
    if (!glyph.IsRectEmpty())
        pDC->DrawFrameControl(&glyph, fmt.nFrameType, state);
    if (!text.IsEmpty())
        pDC->DrawText(text, &rcText, fmt.nDrawText);
}

void CFOExtGridCore::DrawCellImage(CDC* pDC, int nCol, int nRow, const CRect& rcImage, UINT nState)
{
    switch (GetCellImageType(nCol, nRow))
    {
    case 1:
        if (HGDIOBJ bmp = GetCellImage(nCol, nRow, nState))
            pDC->DrawState(rcImage.TopLeft(), rcImage.Size(), bmp, DST_BITMAP);
        break;
    case 2:
        if (HGDIOBJ icon = GetCellImage(nCol, nRow, nState))
            pDC->DrawIconEx(rcImage.left, rcImage.top, reinterpret_cast<HICON>(icon), 0, 0,
                            DI_NORMAL | DI_DEFAULTSIZE);
        break;
    case 4:
    {
        FOXImageListDraw p;
        DWORD major = 0;
        DWORD minor = 0;
        GetComctlVersion(major, minor);
        p.cbSize = major < 6 ? 56 : 68;
        p.pDC = pDC;
        p.x = rcImage.left;
        p.y = rcImage.top;
        p.cx = rcImage.Width();
        p.cy = rcImage.Height();
        p.rgbBk = FOX_CLR_NONE;
        p.rgbFg = FOX_CLR_NONE;
        p.fState = 1;
        GetCellImageList(nCol, nRow, &p, nState);
        if (p.himl && pDC->GetPainter())
            if (const QPixmap* image = CImageList::GetImage(p.himl, p.i))
                pDC->GetPainter()->drawPixmap(QRect(p.x, p.y, p.cx, p.cy), *image);
        break;
    }
    default:
        break;
    }
}

HRESULT CFOExtGridCore::GetComctlVersion(DWORD& dwMajor, DWORD& dwMinor)
{
    // The controls here are of the newest kind.
    dwMajor = 6;
    dwMinor = 0;
    return S_OK;
}
