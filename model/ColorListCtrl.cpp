#include "model/ColorListCtrl.h"

#include "mfc/Collections.h"
#include "mfc/Dc.h"
#include "mfc/SysColor.h"

IMPLEMENT_DYNAMIC(CColorListCtrl, CListCtrl)

namespace
{
// Indices 0 to 5 follow the desktop's colours.
const int kSystem[6] = {COLOR_WINDOW,        COLOR_WINDOWTEXT,      COLOR_ACTIVECAPTION,
                        COLOR_HIGHLIGHTTEXT, COLOR_INACTIVECAPTION, COLOR_INACTIVECAPTIONTEXT};
const COLORREF kFixed[19] = {RGB(0, 0, 0),       RGB(0, 0, 255),     RGB(0, 255, 0),     RGB(0, 255, 255),
                             RGB(255, 0, 0),     RGB(255, 0, 255),   RGB(255, 255, 0),   RGB(255, 255, 255),
                             RGB(0, 0, 128),     RGB(0, 128, 0),     RGB(0, 128, 128),   RGB(128, 0, 0),
                             RGB(128, 0, 128),   RGB(128, 128, 0),   RGB(128, 128, 128), RGB(192, 192, 192),
                             RGB(166, 202, 240), RGB(255, 251, 240), RGB(160, 160, 164)};

void FrameDotted(CDC* pDC, const CRect& rc, COLORREF cr)
{
    CPen pen(PS_DOT, 1, cr);
    CPen* oldPen = pDC->SelectObject(&pen);
    CGdiObject* oldBrush = pDC->SelectStockObject(HOLLOW_BRUSH);
    pDC->Rectangle(&rc);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}
} // namespace

CColorListCtrl::CColorListCtrl(int nColumns) : m_nColumnCount(nColumns) {}

CColorListCtrl::~CColorListCtrl()
{
    if (GetSafeHwnd())
        DeleteAllRows();
}

COLORREF CColorListCtrl::ColorFromIndex(int nIndex)
{
    if (nIndex >= 0 && nIndex < 6)
        return GetSysColor(kSystem[nIndex]);
    if (nIndex >= 6 && nIndex <= 24)
        return kFixed[nIndex - 6];
    return RGB(0, 128, 0);
}

int CColorListCtrl::DrawMode(BOOL bDisabled, BOOL bGrayed, BOOL bListFocus, BOOL bRowFocus, BOOL bHighlighted)
{
    if (bDisabled)
        return bListFocus ? (bRowFocus ? 1 : bHighlighted ? 2 : 3) : 4;
    if (bGrayed)
        return !bHighlighted ? 3 : bListFocus ? 2 : 4;
    if (bListFocus)
        return bRowFocus ? 1 : bHighlighted ? 2 : 3;
    return bHighlighted ? 4 : 3;
}

int CColorListCtrl::SetColumns(const CStringArray* pNames, const CByteArray* pWidths)
{
    if (!pNames || !pWidths)
        return 1;
    if (pNames->GetSize() != m_nColumnCount)
        return 2;
    if (pWidths->GetSize() != m_nColumnCount)
        return 3;
    int total = 0;
    for (INT_PTR i = 0; i < pWidths->GetSize(); ++i)
        total += pWidths->GetAt(i);
    if (total != 100)
        return 4;
    CRect client;
    GetClientRect(&client);
    for (int i = 0; i < m_nColumnCount; ++i)
        InsertColumn(i, pNames->GetAt(i).GetString(), LVCFMT_LEFT,
                     (pWidths->GetAt(i) * (client.Width() - 20)) / 100);
    return 0;
}

int CColorListCtrl::InsertRow(const CStringArray* pTexts, int nIndex)
{
    if (!pTexts || pTexts->GetSize() != m_nColumnCount)
        return -1;
    const int count = GetItemCount();
    const int at = unsigned(nIndex) > unsigned(count) ? count : nIndex;
    const int row = InsertItem(at, pTexts->GetAt(0).GetString());
    if (row < 0)
        return -1;
    for (int c = 1; c < m_nColumnCount; ++c)
        SetItemText(row, c, pTexts->GetAt(c).GetString());
    SetItemData(row, DWORD_PTR(new CMyLParam(m_nColumnCount)));
    return row;
}

CMyLParam* CColorListCtrl::GetRowParam(int nRow) const
{
    return reinterpret_cast<CMyLParam*>(GetItemData(nRow));
}

bool CColorListCtrl::SetCellColor(bool bBack, int nColorIndex, int nRow, int nColumn)
{
    CMyLParam* param = GetRowParam(nRow);
    if (!param || nColumn < 0 || nColumn >= param->m_nColumns)
        return false;
    (bBack ? param->m_aBack : param->m_aText)[size_t(nColumn)] = nColorIndex;
    RedrawItems(nRow, nRow);
    return true;
}

bool CColorListCtrl::SetCellBackColor(int nColorIndex, int nRow, int nColumn)
{
    return SetCellColor(true, nColorIndex, nRow, nColumn);
}

bool CColorListCtrl::SetCellTextColor(int nColorIndex, int nRow, int nColumn)
{
    return SetCellColor(false, nColorIndex, nRow, nColumn);
}

BOOL CColorListCtrl::DeleteRow(int nRow)
{
    delete GetRowParam(nRow);
    SetItemData(nRow, 0);
    return DeleteItem(nRow);
}

void CColorListCtrl::DeleteAllRows()
{
    while (GetItemCount() > 0)
        DeleteRow(0);
}

BOOL CColorListCtrl::GetRowRect(int nRow, CRect& rc, BOOL bTextArea) const
{
    if (!GetItemRect(nRow, &rc, LVIR_BOUNDS))
        return FALSE;
    if (bTextArea)
        rc.DeflateRect(1, 1);
    return TRUE;
}

BOOL CColorListCtrl::GetCellRect(int nRow, int nColumn, CRect& rc, BOOL bTextArea) const
{
    if (!GetItemRect(nRow, &rc, LVIR_BOUNDS) || nColumn < 0 || nColumn >= GetColumnCount())
        return FALSE;
    int left = rc.left;
    for (int c = 0; c < nColumn; ++c)
        left += GetColumnWidth(c);
    rc.left = left;
    rc.right = left + GetColumnWidth(nColumn);
    if (bTextArea)
        rc.DeflateRect(1, 1);
    return TRUE;
}

void CColorListCtrl::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    m_bPainted = 1;
    CMyLParam* param = reinterpret_cast<CMyLParam*>(lpDIS->itemData);
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    if (!param || !pDC)
        return;
    const int row = int(lpDIS->itemID);
    const UINT state = GetItemState(row, LVIS_DROPHILITED | LVIS_SELECTED | LVIS_FOCUSED);
    const BOOL listFocus = CWnd::GetFocus() == this;
    const BOOL highlighted = (state & LVIS_DROPHILITED) ||
                             ((state & LVIS_SELECTED) && (listFocus || (GetStyle() & LVS_SHOWSELALWAYS)));
    const int mode = DrawMode(lpDIS->itemState & ODS_DISABLED, lpDIS->itemState & ODS_GRAYED, listFocus,
                              (state & LVIS_FOCUSED) != 0, highlighted);
    const CRect rowRect(lpDIS->rcItem);
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF text = ColorFromIndex(1);
    switch (mode)
    {
    case 1:
    case 2:
        pDC->FillSolidRect(&rowRect, ColorFromIndex(2));
        text = ColorFromIndex(3);
        if (mode == 1 && !m_bDottedFocus)
            pDC->DrawFocusRect(&rowRect);
        else if (mode == 1)
            FrameDotted(pDC, rowRect, ColorFromIndex(1));
        break;
    case 4:
        pDC->FillSolidRect(&rowRect, ColorFromIndex(4));
        text = ColorFromIndex(param->m_nColumns >= 6 ? param->m_aText[5] : 1);
        FrameDotted(pDC, rowRect, ColorFromIndex(4));
        break;
    default:
        break;
    }
    int left = rowRect.left;
    for (int c = 0; c < GetColumnCount(); ++c)
    {
        const int width = GetColumnWidth(c);
        CRect cell(left, rowRect.top, left + width, rowRect.bottom);
        left += width;
        COLORREF cellText = text;
        if (mode == 3)
        {
            const bool known = c < param->m_nColumns;
            pDC->FillSolidRect(&cell, ColorFromIndex(known ? param->m_aBack[size_t(c)] : 0));
            cellText = ColorFromIndex(known ? param->m_aText[size_t(c)] : 1);
        }
        cell.DeflateRect(1, 1);
        pDC->SetTextColor(cellText);
        pDC->DrawText(GetItemText(row, c), &cell, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    }
    pDC->SetBkMode(oldMode);
}

void CColorListCtrl::OnDrawAfterItems(CDC* pDC)
{
    if (!m_bColumnLines || !(GetStyle() & LVS_REPORT))
        return;
    CRect client;
    GetClientRect(&client);
    CPen pen(PS_DOT, 1, ColorFromIndex(5));
    CPen* oldPen = pDC->SelectObject(&pen);
    CGdiObject* oldBrush = pDC->SelectStockObject(HOLLOW_BRUSH);
    const int top = GetHeaderHeight();
    int x = 0;
    for (int c = 0; c < GetColumnCount(); ++c)
    {
        x += GetColumnWidth(c);
        if (x >= client.right)
            break;
        pDC->MoveTo(x - 1, top);
        pDC->LineTo(x - 1, client.bottom);
    }
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}

void CColorListCtrl::OnDestroy()
{
    DeleteAllRows();
    CListCtrl::OnDestroy();
}

void CColorListCtrl::OnSize(UINT nType, int cx, int cy)
{
    CListCtrl::OnSize(nType, cx, cy);
    if (m_bPainted)
    {
        Invalidate(TRUE);
        UpdateWindow();
    }
}

void CColorListCtrl::RedrawFocusAndSelection()
{
    if (!(GetStyle() & LVS_REPORT))
        return;
    for (int i = 0; i < GetItemCount(); ++i)
    {
        const UINT state = GetItemState(i, LVIS_FOCUSED | LVIS_SELECTED);
        if ((state & LVIS_FOCUSED) || ((GetStyle() & LVS_SHOWSELALWAYS) && (state & LVIS_SELECTED)))
            RedrawItems(i, i);
    }
}

void CColorListCtrl::OnSetFocus(CWnd* pOldWnd)
{
    CListCtrl::OnSetFocus(pOldWnd);
    RedrawFocusAndSelection();
}

void CColorListCtrl::OnKillFocus(CWnd* pNewWnd)
{
    CListCtrl::OnKillFocus(pNewWnd);
    if (pNewWnd && pNewWnd->GetParent() == this)
        return;
    RedrawFocusAndSelection();
}
