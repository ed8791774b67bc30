// The accessors of the library's grid list and its edit box that the editor defines and exports.
#include "figkit/FOPGridListCtrl.h"

#include <QString>

#include <algorithm>
#include <vector>

// The list's runtime class and its table of virtuals go with the accessors.
IMPLEMENT_DYNAMIC(CFOPGridListCtrl, CListCtrl)

void CFOPGridEditBox::SetFitToClient(int bFit)
{
    m_bFitToClient = bFit;
}

int CFOPGridEditBox::GetFitToClient() const
{
    return m_bFitToClient;
}

int CFOPGridListCtrl::SortColumn(int nColumn, int bAscending)
{
    m_bAscending = bAscending;
    return DoSortColumn(nColumn);
}

CMenu* CFOPGridListCtrl::AttachContextMenu(CMenu* pMenu)
{
    CMenu* old = m_pContextMenu;
    m_pContextMenu = pMenu;
    return old;
}

CMenu* CFOPGridListCtrl::GetContextMenu()
{
    return m_pContextMenu;
}

CFOPGridEditBox* CFOPGridListCtrl::GetGridEditCtrl()
{
    return &m_editBox;
}

BOOL CFOPGridListCtrl::DoSortColumn(int nColumn)
{
    const int columns = GetColumnCount();
    if (nColumn < 0 || nColumn >= columns || !GetSafeHwnd())
        return FALSE;
    struct Row
    {
        std::vector<CString> texts;
        DWORD_PTR data;
    };
    const int count = GetItemCount();
    std::vector<Row> rows(size_t(std::max(count, 0)));
    for (int i = 0; i < count; ++i)
    {
        for (int c = 0; c < columns; ++c)
            rows[size_t(i)].texts.push_back(GetItemText(i, c));
        rows[size_t(i)].data = GetItemData(i);
    }
    const bool up = m_bAscending != 0;
    // Numbers by value, other texts without regard to case.
    auto compare = [](const CString& a, const CString& b)
    {
        const QString qa = QString::fromWCharArray(a);
        const QString qb = QString::fromWCharArray(b);
        bool na = false;
        bool nb = false;
        const double da = qa.toDouble(&na);
        const double db = qb.toDouble(&nb);
        if (na && nb)
            return da < db ? -1 : da > db ? 1 : 0;
        return qa.compare(qb, Qt::CaseInsensitive);
    };
    std::stable_sort(rows.begin(), rows.end(),
                     [&](const Row& a, const Row& b)
                     {
                         const int r = compare(a.texts[size_t(nColumn)], b.texts[size_t(nColumn)]);
                         return up ? r < 0 : r > 0;
                     });
    for (int i = 0; i < count; ++i)
    {
        for (int c = 0; c < columns; ++c)
            SetItemText(i, c, rows[size_t(i)].texts[size_t(c)]);
        SetItemData(i, rows[size_t(i)].data);
    }
    return TRUE;
}
