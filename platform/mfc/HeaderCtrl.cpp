#include "mfc/HeaderCtrl.h"

#include "mfc/Dc.h"
#include "mfc/ListCtrl.h"

IMPLEMENT_DYNAMIC(CHeaderCtrl, CObject)

CHeaderCtrl::~CHeaderCtrl()
{
    // A list that outlives its subclassing header goes back to its own.
    if (m_pList && m_pList->m_pHeader == this)
        m_pList->m_pHeader = m_pList->m_pOwnHeader;
}

BOOL CHeaderCtrl::SubclassHeader(CListCtrl* pList)
{
    if (!pList || m_pList)
        return FALSE;
    m_pList = pList;
    pList->m_pHeader = this;
    Invalidate();
    return TRUE;
}

int CHeaderCtrl::GetItemCount() const
{
    return m_pList && m_pList->GetSafeHwnd() ? m_pList->GetColumnCount() : 0;
}

BOOL CHeaderCtrl::GetItemRect(int nIndex, LPRECT lpRect) const
{
    if (!lpRect || nIndex < 0 || nIndex >= GetItemCount())
        return FALSE;
    int x = 0;
    for (int i = 0; i < nIndex; ++i)
        x += m_pList->GetColumnWidth(i);
    const int height = m_pList->GetHeaderHeight();
    *lpRect = {x, 0, x + m_pList->GetColumnWidth(nIndex), height};
    return TRUE;
}

void CHeaderCtrl::GetClientRect(LPRECT lpRect) const
{
    if (!lpRect)
        return;
    *lpRect = {0, 0, 0, 0};
    if (!m_pList || !m_pList->GetSafeHwnd())
        return;
    CRect rc;
    m_pList->GetClientRect(&rc);
    *lpRect = {0, 0, rc.Width(), m_pList->GetHeaderHeight()};
}

void CHeaderCtrl::Invalidate()
{
    if (m_pList && m_pList->GetSafeHwnd())
        m_pList->Invalidate();
}

void CHeaderCtrl::OnPaint(CDC* pDC)
{
    if (!pDC || !m_pList)
        return;
    const int n = GetItemCount();
    for (int i = 0; i < n; ++i)
    {
        CRect cell;
        GetItemRect(i, &cell);
        pDC->FillSolidRect(&cell, RGB(240, 240, 240));
        pDC->Draw3dRect(&cell, RGB(255, 255, 255), RGB(160, 160, 160));
        wchar_t heading[256] = {};
        LVCOLUMNW col = {};
        col.pszText = heading;
        col.cchTextMax = 256;
        m_pList->GetColumn(i, &col);
        UINT align = DT_LEFT;
        if ((col.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT)
            align = DT_RIGHT;
        else if ((col.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER)
            align = DT_CENTER;
        CRect text = cell;
        text.DeflateRect(4, 0);
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(0);
        pDC->DrawText(heading, &text, align | DT_VCENTER | DT_SINGLELINE);
    }
}
