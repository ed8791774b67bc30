#include "editor/ExtListCtrl.h"

#include "mfc/Dc.h"
#include "mfc/ImageList.h"
#include "mfc/SysColor.h"

#include <QPainter>
#include <QPixmap>

#include <algorithm>

IMPLEMENT_DYNAMIC(CExtHeaderCtrl, CHeaderCtrl)
IMPLEMENT_DYNAMIC(CExtListCtrl, CListCtrl)

namespace
{
COLORREF Mix(COLORREF a, COLORREF b, int num, int den)
{
    if (den <= 0)
        return a;
    auto mix = [&](int x, int y) { return x + (y - x) * num / den; };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
               mix(GetBValue(a), GetBValue(b)));
}

UINT AlignOfCode(wchar_t code)
{
    return code == L'1' ? DT_CENTER : code == L'2' ? DT_RIGHT : DT_LEFT;
}
} // namespace

// --- CExtHeaderCtrl --------------------------------------------------------------------------------

int CExtHeaderCtrl::OnLayout(int nDefaultHeight)
{
    return int(float(nDefaultHeight) * m_fHeightFactor);
}

COLORREF CExtHeaderCtrl::GradientAt(int y, int nHeight)
{
    // Two parts split at the middle: a pale yellow to a light orange, then an orange to a lighter one.
    const int half = nHeight / 2;
    if (y < half)
        return Mix(RGB(255, 250, 216), RGB(255, 232, 167), y, std::max(1, half - 1));
    return Mix(RGB(255, 215, 105), RGB(255, 228, 152), y - half, std::max(1, nHeight - half - 1));
}

void CExtHeaderCtrl::OnPaint(CDC* pDC)
{
    if (!pDC || !GetListCtrl())
        return;
    CRect client;
    GetClientRect(&client);
    auto paintGradient = [&](const CRect& rc)
    {
        for (int y = rc.top; y < rc.bottom; ++y)
            pDC->FillSolidRect(rc.left, y, rc.Width(), 1, GradientAt(y - rc.top, rc.Height()));
    };
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(m_crText);
    const int n = GetItemCount();
    int right = 0;
    for (int i = 0; i < n; ++i)
    {
        CRect cell;
        GetItemRect(i, &cell);
        right = cell.right;
        cell.left += 1;
        paintGradient(cell);
        const wchar_t code = i < m_strAlign.GetLength() ? m_strAlign[i] : L'0';
        CRect text = cell;
        if (code != L'1')
            text.DeflateRect(3, 0);
        const CString caption = i < m_strCaptions.GetSize() ? m_strCaptions[i] : CString();
        pDC->DrawText(caption, &text, AlignOfCode(code) | DT_VCENTER | DT_SINGLELINE);
    }
    if (right < client.right)
        paintGradient(CRect(right, client.top, client.right, client.bottom));
}

// --- CExtListCtrl ----------------------------------------------------------------------------------

CExtListCtrl::~CExtListCtrl() = default;

void CExtListCtrl::TakeOver()
{
    ModifyStyle(0, LVS_OWNERDRAWFIXED);
    if (m_header.GetListCtrl() == nullptr)
        m_header.SubclassHeader(this);
}

BOOL CExtListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!CListCtrl::Create(dwStyle | LVS_OWNERDRAWFIXED, rect, pParentWnd, nID))
        return FALSE;
    TakeOver();
    return TRUE;
}

BOOL CExtListCtrl::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    if (!CListCtrl::SubclassDlgItem(nID, pParent))
        return FALSE;
    TakeOver();
    return TRUE;
}

void CExtListCtrl::Record(std::vector<CColColour>& list, int nCol, COLORREF cr)
{
    auto it = std::find_if(list.begin(), list.end(), [&](const CColColour& c) { return c.nCol == nCol; });
    if (it != list.end())
        it->cr = cr;
    else
        list.push_back({nCol, cr});
}

void CExtListCtrl::Record(std::vector<CCellColour>& list, int nCol, int nRow, COLORREF cr)
{
    auto it = std::find_if(list.begin(), list.end(),
                           [&](const CCellColour& c) { return c.nCol == nCol && c.nRow == nRow; });
    if (it != list.end())
        it->cr = cr;
    else
        list.push_back({nCol, nRow, cr});
}

void CExtListCtrl::SetHeaderBkColor(int nRed, int nGreen, int nBlue, int nStep)
{
    m_header.m_nBkRed = nRed;
    m_header.m_nBkGreen = nGreen;
    m_header.m_nBkBlue = nBlue;
    m_header.m_nGradientStep = nStep;
}

void CExtListCtrl::SetHeaderHeight(float fFactor)
{
    m_header.m_fHeightFactor = fFactor;
}

void CExtListCtrl::SetColBkColor(int nCol, COLORREF cr)
{
    Record(m_colBk, nCol, cr);
}

void CExtListCtrl::SetCellBkColor(int nCol, int nRow, COLORREF cr)
{
    Record(m_cellBk, nCol, nRow, cr);
}

void CExtListCtrl::SetColTextColor(int nCol, COLORREF cr)
{
    Record(m_colText, nCol, cr);
}

void CExtListCtrl::SetCellTextColor(int nCol, int nRow, COLORREF cr)
{
    Record(m_cellText, nCol, nRow, cr);
}

BOOL CExtListCtrl::SetTextColor(COLORREF cr)
{
    m_crText = cr;
    return TRUE;
}

void CExtListCtrl::SetFontSize(int nHeight, int nWidth)
{
    m_nFontHeight = nHeight;
    m_nFontWidth = nWidth;
}

BOOL CExtListCtrl::GetColBkColor(int nCol, COLORREF& cr) const
{
    for (const CColColour& c : m_colBk)
        if (c.nCol == nCol)
        {
            cr = c.cr;
            return TRUE;
        }
    return FALSE;
}

BOOL CExtListCtrl::GetCellBkColor(int nCol, int nRow, COLORREF& cr) const
{
    for (const CCellColour& c : m_cellBk)
        if (c.nCol == nCol && c.nRow == nRow)
        {
            cr = c.cr;
            return TRUE;
        }
    return FALSE;
}

int CExtListCtrl::InsertColumn(int nCol, LPCWSTR lpszHeading, int nFormat, int nWidth, int)
{
    m_header.m_strCaptions.Add(lpszHeading ? lpszHeading : L"");
    const int justify = nFormat & LVCFMT_JUSTIFYMASK;
    m_header.m_strAlign += justify == LVCFMT_LEFT ? L'0' : justify == LVCFMT_RIGHT ? L'2' : L'1';
    return CListCtrl::InsertColumn(nCol, lpszHeading, nFormat, nWidth);
}

void CExtListCtrl::SetRowHeight(int nHeight)
{
    m_nRowHeight = nHeight;
    // The list measures its rows again when it paints.
    if (m_hWnd)
        Invalidate();
}

void CExtListCtrl::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    if (lpMeasureItemStruct && m_nRowHeight >= 1)
        lpMeasureItemStruct->itemHeight = UINT(m_nRowHeight);
}

int CExtListCtrl::DrawRowImage(CDC* pDC, int nRow, const CRect& rcCell)
{
    CImageList* images = GetImageList(LVSIL_SMALL);
    const int image = images ? GetItemImage(nRow) : -1;
    const QPixmap* pm = image >= 0 ? CImageList::GetImage(images->GetSafeHandle(), image) : nullptr;
    QPainter* painter = pDC->GetPainter();
    if (!pm || !painter)
        return 0;
    painter->drawPixmap(rcCell.left, rcCell.top + (rcCell.Height() - pm->height()) / 2, *pm);
    return pm->width() + 2;
}

void CExtListCtrl::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (!lpDrawItemStruct)
        return;
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    if (!pDC)
        return;
    const int row = int(lpDrawItemStruct->itemID);
    const BOOL selected = (GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
    const int columns = GetColumnCount();
    TEXTMETRIC tm = {};
    pDC->GetTextMetrics(&tm);
    for (int col = 0; col < columns; ++col)
    {
        CRect cell;
        if (!GetSubItemRect(row, col, LVIR_LABEL, cell))
            continue;
        if (col == 0)
            cell.left -= 2;
        if (selected)
        {
            pDC->FillSolidRect(&cell, GetSysColor(COLOR_HIGHLIGHT));
            pDC->SetTextColor(RGB(255, 255, 255));
        }
        else
        {
            pDC->FillSolidRect(&cell, GetBkColor());
            COLORREF cr = 0;
            if (GetColBkColor(col, cr))
                pDC->FillSolidRect(&cell, cr);
            if (GetCellBkColor(col, row, cr))
                pDC->FillSolidRect(&cell, cr);
            pDC->SetTextColor(RGB(0, 0, 0));
        }
        const CString text = GetItemText(row, col).Left(512);
        const wchar_t code = col < m_header.m_strAlign.GetLength() ? m_header.m_strAlign[col] : L'0';
        CRect box = cell;
        box.DeflateRect(2, 0);
        // The row's icon of the small image list leads the first column.
        if (col == 0)
            box.left += DrawRowImage(pDC, row, box);
        const int textHeight = tm.tmHeight > 0 ? int(tm.tmHeight) : box.Height();
        box.top += std::max(0, (box.Height() - textHeight) / 2);
        pDC->SetBkMode(TRANSPARENT);
        pDC->DrawText(text, &box, AlignOfCode(code) | DT_SINGLELINE | DT_NOPREFIX);
    }
}
