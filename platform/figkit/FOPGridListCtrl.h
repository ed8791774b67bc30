// The library's grid list: a report list whose cells are edited in place by its own edit box. The
// six accessors marked below are the editor program's, which defines and exports them; the list's
// runtime class and sort come with them (its table of virtuals holds one of them), so only the
// editor makes these lists.
#pragma once

#include "mfc/EditCtl.h"
#include "mfc/ListCtrl.h"

class CMenu;

#if defined(__GNUC__)
#define FOP_EDITOR_EXPORT __attribute__((visibility("default")))
#else
#define FOP_EDITOR_EXPORT
#endif

// The in-place edit box of a grid list; with fit-to-client it takes the whole cell.
class CFOPGridEditBox : public CEdit
{
    DECLARE_DYNAMIC(CFOPGridEditBox)
public:
    CFOPGridEditBox() = default;
    FOP_EDITOR_EXPORT void SetFitToClient(int bFit);
    FOP_EDITOR_EXPORT int GetFitToClient() const;

protected:
    int m_bFitToClient = 0;
};

class CFOPGridListCtrl : public CListCtrl
{
    DECLARE_DYNAMIC(CFOPGridListCtrl)
public:
    CFOPGridListCtrl() = default;

    // Stores the direction, then sorts by the column; the sort's result.
    FOP_EDITOR_EXPORT int SortColumn(int nColumn, int bAscending);
    // Stores the menu shown on a right click (not owned); the one before, or null.
    FOP_EDITOR_EXPORT CMenu* AttachContextMenu(CMenu* pMenu);
    FOP_EDITOR_EXPORT CMenu* GetContextMenu();
    FOP_EDITOR_EXPORT virtual CFOPGridEditBox* GetGridEditCtrl();

    // The library's sort: the rows ordered by the column's texts (numbers by value), in the stored
    // direction. FALSE for a column that does not exist.
    virtual BOOL DoSortColumn(int nColumn);
    BOOL IsAscending() const { return m_bAscending; }

protected:
    int m_bAscending = 1;
    CMenu* m_pContextMenu = nullptr;
    CFOPGridEditBox m_editBox;
};
