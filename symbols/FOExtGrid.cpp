#include "symbols/FOExtGrid.h"

#include "mfc/Exceptions.h"
#include "mfc/Wnd.h"

#include <algorithm>

CFOExtGrid::~CFOExtGrid()
{
    RemoveAllColumns();
}

ColInfo& CFOExtGrid::Column(int nCol)
{
    if (nCol < 0 || nCol >= m_columns.GetSize())
        AfxThrowInvalidArgException();
    return m_columns[nCol];
}

const ColInfo& CFOExtGrid::GetColumn(int nCol) const
{
    if (nCol < 0 || nCol >= m_columns.GetSize())
        AfxThrowInvalidArgException();
    return m_columns[nCol];
}

int CFOExtGrid::GetColumnWidth(int nCol, int) const
{
    if (nCol < 0)
        return 0;
    return GetColumn(nCol).nWidth;
}

void CFOExtGrid::SetColumnWidth(int nCol, int, int nWidth)
{
    if (nCol < 0)
        return;
    Column(nCol).nWidth = nWidth;
    if (m_pWnd && m_pWnd->GetSafeHwnd())
        m_pWnd->Invalidate(FALSE);
}

CFOXCellCtrl* CFOExtGrid::CreateCellCtrl(int nCol, int, DWORD dwStyle, UINT nID)
{
    ColInfo& col = Column(nCol);
    if (col.pEditor)
        return col.pEditor;
    if (nID != 0)
        col.nCtrlId = int(nID);
    CFOXCellCtrl* ctrl = nullptr;
    switch (col.nEditorKind)
    {
    case 1:
        ctrl = new CFOXEditCtrl;
        break;
    case 2:
        ctrl = new CFOXButtonCtrl;
        break;
    case 3:
        ctrl = new CFOXComboBoxCtrl;
        break;
    default:
        return nullptr;
    }
    ctrl->Create(dwStyle, m_pWnd, UINT(col.nCtrlId));
    ctrl->Enable(FALSE);
    ctrl->m_pFocusFrame = &m_colors.focus;
    ctrl->SetFont(&m_font, TRUE);
    return ctrl;
}

void CFOExtGrid::SetCellCtrl(int nCol, int, CFOXCellCtrl* pCtrl)
{
    Column(nCol).pEditor = pCtrl;
}

CFOXCellCtrl* CFOExtGrid::GetCellCtrl(int nCol, int) const
{
    return GetColumn(nCol).pEditor;
}

DWORD CFOExtGrid::GetEditorStyle(int nCol, int) const
{
    return GetColumn(nCol).dwEditorStyle;
}

BOOL CFOExtGrid::NotifyCellChange(int nCol, int nRow)
{
    if (m_pWnd && m_pWnd->GetSafeHwnd())
        if (CWnd* parent = m_pWnd->GetParent())
            parent->SendMessage(FOXGN_CELLCHANGE, WPARAM(nCol), LPARAM(nRow));
    OnCellChange(nCol, nRow);
    return 1;
}

BOOL CFOExtGrid::HasCellImage(int nCol, int) const
{
    return GetColumn(nCol).nImageKind != 0;
}

int CFOExtGrid::GetCellImageType(int nCol, int) const
{
    return GetColumn(nCol).nImageKind;
}

BOOL CFOExtGrid::GetCellImageSize(int nCol, int, CSize& size) const
{
    const ColInfo& col = GetColumn(nCol);
    size = CSize(col.nImageWidth, col.nImageHeight);
    return 1;
}

FOXCellFormat CFOExtGrid::GetCellFormat(int nCol, int) const
{
    const ColInfo& col = GetColumn(nCol);
    FOXCellFormat f;
    f.nDrawText = col.dwCellFormat;
    f.nFrameType = UINT(col.nFrameType);
    f.nFrameState = UINT(col.nFrameState);
    f.nImageKind = UINT(col.nImageKind);
    return f;
}

FOXCellValue CFOExtGrid::GetCellText(int, int) const
{
    return FOXCellValue();
}

FOXCellValue CFOExtGrid::GetColumnTitle(int nCol, int) const
{
    const ColInfo& col = GetColumn(nCol);
    FOXCellValue v;
    v.strText = col.strTitle;
    v.dwData = col.dwHeaderFormat;
    return v;
}

BOOL CFOExtGrid::DestroyCellCtrl(int nCol)
{
    ColInfo& col = Column(nCol);
    if (col.pEditor)
    {
        col.pEditor->Destroy();
        if (col.nEditorKind >= 1 && col.nEditorKind <= 3)
            delete col.pEditor;
        col.pEditor = nullptr;
    }
    return 1;
}

int CFOExtGrid::GetColumnCtrlId(int nCol) const
{
    return GetColumn(nCol).nCtrlId;
}

int CFOExtGrid::InsertColumn(int nPos, int nWidth, FOXColumnDesc desc)
{
    ColInfo col;
    col.strTitle = desc.strTitle;
    col.dwCellFormat = desc.dwCellFormat;
    col.dwHeaderFormat = desc.dwHeaderFormat;
    col.nFrameType = desc.nFrameType;
    col.nFrameState = desc.nFrameState;
    col.nCtrlId = desc.nCtrlId;
    col.nImageKind = 0;
    col.nEditorKind = 1;
    col.dwEditorStyle = WS_CHILD;
    col.nWidth = nWidth;
    const int size = int(m_columns.GetSize());
    if (nPos < 0 || nPos >= size)
        nPos = size;
    if (col.nCtrlId == 0)
        col.nCtrlId = nPos + 1900;
    m_columns.InsertAt(nPos, col);
    return nPos;
}

int CFOExtGrid::AddColumn(int nWidth, const FOXColumnDesc& desc)
{
    return InsertColumn(int(m_columns.GetSize()), nWidth, desc);
}

BOOL CFOExtGrid::SetColumnEditor(int nCol, BYTE nKind, DWORD dwStyle, int nId)
{
    ColInfo& col = Column(nCol);
    if (col.pEditor)
        return 0;
    col.nEditorKind = nKind;
    col.dwEditorStyle = dwStyle;
    if (nId != 0)
        col.nCtrlId = nId;
    else if (col.nCtrlId == 0)
        col.nCtrlId = nCol + 1900;
    return 1;
}

BOOL CFOExtGrid::SetColumnImage(int nCol, int nWidth, int nHeight, int nKind)
{
    ColInfo& col = Column(nCol);
    col.nImageKind = nKind;
    col.nImageWidth = nWidth;
    col.nImageHeight = nHeight;
    return 1;
}

void CFOExtGrid::SetRowCount(int nCount, BOOL bNotify)
{
    if (nCount == m_nRowCount)
        return;
    m_nRowCount = nCount;
    if (bNotify && m_pWnd && m_pWnd->GetSafeHwnd())
        if (CWnd* parent = m_pWnd->GetParent(); parent && parent->GetSafeHwnd())
            parent->PostMessage(FOXGN_ROWCOUNT, reinterpret_cast<WPARAM>(m_pWnd), LPARAM(nCount));
}

void CFOExtGrid::RemoveAllColumns()
{
    for (int c = 0; c < int(m_columns.GetSize()); ++c)
        DestroyCellCtrl(c);
    m_columns.RemoveAll();
}

// --- current cell, selection and editing -----------------------------------------------------------

BOOL CFOExtGrid::IsDataCell(int nCol, int nRow) const
{
    return nCol >= m_nFixedCols && nCol < m_nFixedCols + GetColumnCount(0) && nRow >= m_nFixedRows &&
           nRow < m_nFixedRows + GetRowCount();
}

CFOXCellCtrl* CFOExtGrid::GetCurrentCtrl() const
{
    const int dc = m_nCurCol - m_nFixedCols;
    if (dc < 0 || dc >= GetColumnCount(0))
        return nullptr;
    return GetCellCtrl(dc, m_nCurRow - m_nFixedRows);
}

void CFOExtGrid::HideCurrentCtrl()
{
    if (CFOXCellCtrl* ctrl = GetCurrentCtrl())
        ctrl->Hide();
}

BOOL CFOExtGrid::EndCellEdit(BOOL bForce)
{
    CFOXCellCtrl* ctrl = GetCurrentCtrl();
    if (!ctrl)
        return 1;
    if (!ctrl->IsModified())
    {
        ctrl->Hide();
        return 1;
    }
    if (ctrl->CanCommit() && NotifyCellChange(m_nCurCol - m_nFixedCols, m_nCurRow - m_nFixedRows))
    {
        ctrl->SetModify(FALSE);
        ctrl->Hide();
        RedrawCell(m_nCurCol, m_nCurRow);
        return 1;
    }
    if (bForce)
    {
        ctrl->SetModify(FALSE);
        ctrl->Hide();
        RedrawCell(m_nCurCol, m_nCurRow);
    }
    return 0;
}

void CFOExtGrid::RedrawSelectionDiff(int oFC, int oFR, int oLC, int oLR)
{
    // The bounding box of the old and the new selection.
    const int fc = std::min(oFC, m_nSelFirstCol);
    const int fr = std::min(oFR, m_nSelFirstRow);
    const int lc = std::max(oLC, m_nSelLastCol);
    const int lr = std::max(oLR, m_nSelLastRow);
    if (lc < fc || lr < fr)
        return;
    CRect a = CellRect(fc, fr);
    const CRect b = CellRect(lc, lr);
    a.right = b.right;
    a.bottom = b.bottom;
    a.InflateRect(1, 1);
    RedrawRect(a);
}

namespace
{
// The offset that shows the span [lo, hi) of the content between the fixed part and the window's
// edge; the near edge wins when both cannot show.
int FitOffset(int offset, int lo, int hi, int fixed, int edge)
{
    if (lo - offset < fixed)
        return lo - fixed;
    if (hi - offset > edge)
    {
        offset = hi - edge;
        if (lo - offset < fixed)
            offset = lo - fixed;
    }
    return offset;
}
} // namespace

BOOL CFOExtGrid::ScrollIntoView(int nCol, int nRow)
{
    if (!m_pWnd || !m_pWnd->GetSafeHwnd())
        return FALSE;
    CRect client;
    m_pWnd->GetClientRect(&client);
    int h = m_nHOffset;
    int v = m_nVOffset;
    if (nCol >= m_nFixedCols)
    {
        int left = 0;
        for (int c = 0; c < nCol; ++c)
            left += AbsColumnWidth(c);
        h = FitOffset(h, left, left + AbsColumnWidth(nCol), GetFixedWidth(), client.right);
    }
    if (nRow >= m_nFixedRows)
    {
        const int top = RowContentTop(nRow);
        v = FitOffset(v, top, top + m_nRowHeight, GetFixedHeight(), client.bottom);
    }
    h = std::max(0, h);
    v = std::max(0, v);
    if (h == m_nHOffset && v == m_nVOffset)
        return FALSE;
    ScrollTo(h, v);
    return TRUE;
}

BOOL CFOExtGrid::SetCurrentCell(int nCol, int nRow)
{
    if (!IsDataCell(nCol, nRow))
        return 0;
    const int oldCol = m_nCurCol;
    const int oldRow = m_nCurRow;
    if (EndCellEdit(0))
    {
        m_nCurCol = m_nSelEndCol = nCol;
        m_nCurRow = m_nSelEndRow = nRow;
        if (nRow != oldRow)
            OnCurrentRowChanged(nRow - m_nFixedRows);
        if (m_pWnd && m_pWnd->GetSafeHwnd())
            m_pWnd->SetFocus();
    }
    OnCurrentCellChanged(m_nCurCol - m_nFixedCols, m_nCurRow - m_nFixedRows);

    const DWORD style = GetGridStyle();
    const bool rowChanged = m_nCurRow != oldRow;
    if (rowChanged)
        for (int c = 0; c < m_nFixedCols; ++c)
        {
            RedrawCell(c, oldRow);
            RedrawCell(c, m_nCurRow);
        }
    if (!(style & FOXGS_ROWSELECT) || !rowChanged)
    {
        const int oFC = m_nSelFirstCol, oFR = m_nSelFirstRow, oLC = m_nSelLastCol, oLR = m_nSelLastRow;
        m_nSelFirstCol = m_nSelLastCol = m_nCurCol;
        m_nSelFirstRow = m_nSelLastRow = m_nCurRow;
        if (style & FOXGS_RANGESELECT)
            RedrawSelectionDiff(oFC, oFR, oLC, oLR);
        RedrawCell(oldCol, oldRow);
        RedrawCell(m_nCurCol, m_nCurRow);
        if (m_nFixedRows > 0 && m_nCurCol != oldCol)
            RedrawCell(m_nCurCol, m_nFixedRows - 1);
    }
    else
    {
        RedrawRow(oldRow);
        RedrawRow(m_nCurRow);
    }
    ScrollIntoView(m_nCurCol, m_nCurRow);
    if (m_pWnd && m_pWnd->GetSafeHwnd())
        if (CWnd* parent = m_pWnd->GetParent())
            parent->SendMessage(FOXGN_CURRENTCELL, reinterpret_cast<WPARAM>(m_pWnd->m_hWnd), 0);
    ShowCellCtrl(m_nCurCol, m_nCurRow);
    return 1;
}

void CFOExtGrid::ShowCellCtrl(int nCol, int nRow)
{
    if (nRow < m_nFixedRows || nCol < m_nFixedCols || nCol >= m_nFixedCols + GetColumnCount(0))
        return;
    const int dc = nCol - m_nFixedCols;
    const int dr = nRow - m_nFixedRows;
    CFOXCellCtrl* ctrl = GetCellCtrl(dc, dr);
    if (!ctrl && GetColumn(dc).nEditorKind != 0 && m_pWnd && m_pWnd->GetSafeHwnd())
    {
        // A column's editor is made the first time its column holds the current cell.
        ctrl = CreateCellCtrl(dc, dr, GetEditorStyle(dc, dr), 0);
        if (ctrl)
            SetCellCtrl(dc, dr, ctrl);
    }
    if (!ctrl)
        return;
    // The column's one editor takes the text of the cell it is placed on, unless it holds an edit
    // that was not let go.
    if (!ctrl->IsModified())
        LoadCellCtrl(dc, dr, ctrl);
    int left = ColumnLeft(nCol);
    int width = AbsColumnWidth(nCol);
    const ColInfo& col = GetColumn(dc);
    if (col.nImageKind)
    {
        left += col.nImageWidth;
        width -= col.nImageWidth;
    }
    ctrl->Show(left, RowTop(nRow), width, m_nRowHeight);
}

BOOL CFOExtGrid::ExtendSelection(int nCol, int nRow)
{
    const DWORD style = GetGridStyle();
    if (!(style & FOXGS_RANGESELECT))
        return SetCurrentCell(nCol, nRow);
    if (!IsDataCell(nCol, nRow))
        return 0;
    const int oldEndCol = m_nSelEndCol;
    if (EndCellEdit(0))
    {
        m_nSelEndCol = nCol;
        m_nSelEndRow = nRow;
        if (m_pWnd && m_pWnd->GetSafeHwnd())
            m_pWnd->SetFocus();
    }
    const int oFC = m_nSelFirstCol, oFR = m_nSelFirstRow, oLC = m_nSelLastCol, oLR = m_nSelLastRow;
    m_nSelFirstCol = std::min(m_nCurCol, m_nSelEndCol);
    m_nSelLastCol = std::max(m_nCurCol, m_nSelEndCol);
    m_nSelFirstRow = std::min(m_nCurRow, m_nSelEndRow);
    m_nSelLastRow = std::max(m_nCurRow, m_nSelEndRow);
    if (oLC < oFC || oLR < oFR)
    {
        m_nSelFirstCol = m_nSelLastCol = m_nSelEndCol;
        m_nSelFirstRow = m_nSelLastRow = m_nSelEndRow;
    }
    RedrawSelectionDiff(oFC, oFR, oLC, oLR);
    if (m_nFixedRows > 0)
        RedrawCell(oldEndCol, m_nFixedRows - 1);
    ScrollIntoView(m_nSelEndCol, m_nSelEndRow);
    RedrawSelectionDiff(m_nSelFirstCol, m_nSelFirstRow, m_nSelLastCol, m_nSelLastRow);
    if (m_nFixedRows > 0)
        RedrawCell(m_nSelEndCol, m_nFixedRows - 1);
    if (m_pWnd && m_pWnd->GetSafeHwnd())
        if (CWnd* parent = m_pWnd->GetParent())
            parent->SendMessage(FOXGN_SELECTION, reinterpret_cast<WPARAM>(m_pWnd->m_hWnd), 0);
    return 1;
}

BOOL CFOExtGrid::SetSelection(int nFirstCol, int nFirstRow, int nLastCol, int nLastRow)
{
    if (!(GetGridStyle() & FOXGS_RANGESELECT))
        return 0;
    EndCellEdit(0);
    if (m_pWnd && m_pWnd->GetSafeHwnd())
        m_pWnd->SetFocus();
    const int oFC = m_nSelFirstCol, oFR = m_nSelFirstRow, oLC = m_nSelLastCol, oLR = m_nSelLastRow;
    if (nLastCol < 0 || nLastRow < 0)
    {
        nFirstCol = nLastCol = m_nCurCol;
        nFirstRow = nLastRow = m_nCurRow;
    }
    m_nSelFirstCol = std::min(nFirstCol, nLastCol);
    m_nSelLastCol = std::max(nFirstCol, nLastCol);
    m_nSelFirstRow = std::min(nFirstRow, nLastRow);
    m_nSelLastRow = std::max(nFirstRow, nLastRow);
    m_nSelEndCol = nFirstCol;
    m_nSelEndRow = nFirstRow;
    const int oldCol = m_nCurCol;
    const int oldRow = m_nCurRow;
    m_nCurCol = std::clamp(m_nCurCol, m_nSelFirstCol, m_nSelLastCol);
    m_nCurRow = std::clamp(m_nCurRow, m_nSelFirstRow, m_nSelLastRow);
    RedrawSelectionDiff(oFC, oFR, oLC, oLR);
    RedrawCell(oldCol, oldRow);
    // The rectangle stays as given (spanning it again from the current cell would shrink it):
    // what remains of the update is the selection end's.
    ScrollIntoView(m_nSelEndCol, m_nSelEndRow);
    if (m_nFixedRows > 0)
        RedrawCell(m_nSelEndCol, m_nFixedRows - 1);
    if (m_pWnd && m_pWnd->GetSafeHwnd())
        if (CWnd* parent = m_pWnd->GetParent())
            parent->SendMessage(FOXGN_SELECTION, reinterpret_cast<WPARAM>(m_pWnd->m_hWnd), 0);
    return 1;
}

void CFOExtGrid::ScrollTo(int x, int y)
{
    const int dx = m_nHOffset - x;
    const int dy = m_nVOffset - y;
    m_nHOffset = x;
    m_nVOffset = y;
    if (!m_pWnd || !m_pWnd->GetSafeHwnd())
        return;
    m_pWnd->SetScrollPos(SB_HORZ, int(float(x) / m_fHScale), TRUE);
    m_pWnd->SetScrollPos(SB_VERT, int(float(y) / m_fVScale), TRUE);
    if (dx == 0 && dy == 0)
        return;
    CRect client;
    m_pWnd->GetClientRect(&client);
    if (m_nFixedRows == 0 && m_nFixedCols == 0)
    {
        m_pWnd->ScrollWindow(dx, dy);
        return;
    }
    if (dx != 0)
    {
        const CRect rc(GetFixedWidth(), client.top, client.right, client.bottom);
        m_pWnd->ScrollWindow(dx, 0, &rc, &rc);
    }
    if (dy != 0)
    {
        const CRect rc(client.left, GetFixedHeight(), client.right, client.bottom);
        m_pWnd->ScrollWindow(0, dy, &rc, &rc);
    }
}

BOOL CFOExtGrid::OnNavigateKey(UINT nKey)
{
    const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    const int firstRow = m_nFixedRows;
    const int lastRow = m_nFixedRows + GetRowCount() - 1;
    const int firstCol = m_nFixedCols;
    const int lastCol = m_nFixedCols + GetColumnCount(0) - 1;
    switch (nKey)
    {
    case VK_TAB:
        SetCurrentCell(m_nCurCol + (shift ? -1 : 1), m_nCurRow);
        return 1;
    case VK_RETURN:
        if (m_nCurRow >= lastRow)
            SetCurrentCell(m_nCurCol, m_nCurRow);
        else
            SetCurrentCell(m_nCurCol, m_nCurRow + 1);
        return 1;
    case VK_SHIFT:
    case VK_CONTROL:
        return 1;
    case VK_PRIOR:
    case VK_NEXT:
    {
        const int n = std::max(0, (m_nRowHeight > 0 ? m_nPageHeight / m_nRowHeight : 0) - m_nFixedRows);
        int row = m_nCurRow;
        if (nKey == VK_PRIOR)
            row = ctrl ? firstRow : std::max(firstRow, m_nCurRow - n);
        else
            row = ctrl ? lastRow : std::min(lastRow, m_nCurRow + n);
        SetCurrentCell(m_nCurCol, row);
        return 1;
    }
    case VK_END:
        SetCurrentCell(lastCol, m_nCurRow);
        return 1;
    case VK_HOME:
        SetCurrentCell(firstCol, m_nCurRow);
        return 1;
    case VK_LEFT:
        if (shift)
            ExtendSelection(m_nSelEndCol - 1, m_nSelEndRow);
        else
            SetCurrentCell(m_nCurCol - 1, m_nCurRow);
        return 1;
    case VK_RIGHT:
        if (shift)
            ExtendSelection(m_nSelEndCol + 1, m_nSelEndRow);
        else
            SetCurrentCell(m_nCurCol + 1, m_nCurRow);
        return 1;
    case VK_UP:
        if (shift)
            ExtendSelection(m_nSelEndCol, m_nSelEndRow - 1);
        else
            SetCurrentCell(m_nCurCol, m_nCurRow - 1);
        return 1;
    case VK_DOWN:
        if (shift)
            ExtendSelection(m_nSelEndCol, m_nSelEndRow + 1);
        else
            SetCurrentCell(m_nCurCol, m_nCurRow + 1);
        return 1;
    default:
        SetCurrentCell(m_nCurCol, m_nCurRow);
        return 0;
    }
}
