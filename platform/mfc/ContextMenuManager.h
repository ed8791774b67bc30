// CContextMenuManager: the application's named popup menus. A program registers each menu under a
// name with the resource id of the menu whose first popup is shown; windows then show it by id at
// a screen point, and the chosen command goes to the window as WM_COMMAND (the modal hook answers
// in tests, as for every popup).
#pragma once

#include "mfc/CString.h"
#include "win32/WinTypes.h"

#include <map>
#include <vector>

class CWnd;

class CContextMenuManager
{
public:
    CContextMenuManager() = default;
    ~CContextMenuManager();
    CContextMenuManager(const CContextMenuManager&) = delete;
    CContextMenuManager& operator=(const CContextMenuManager&) = delete;

    // FALSE when the menu is not in the resource chain or has no popup, or the name is taken.
    BOOL AddMenu(LPCWSTR lpszName, UINT uiMenuResId);
    BOOL AddMenu(UINT uiMenuNameResId, UINT uiMenuResId);
    // The popup registered for the resource id (null when none); the manager keeps it.
    HMENU GetMenuById(UINT nMenuResId) const;
    HMENU GetMenuByName(LPCWSTR lpszName, UINT* puiOrigResID = nullptr) const;
    void GetMenuNames(std::vector<CString>& names) const;

    // Shows the menu at the screen point; the choice is sent to pWndOwner as WM_COMMAND, or returned
    // with bRightAlign ignored and bReturnCmd TRUE. FALSE (0) when nothing was chosen.
    UINT TrackPopupMenu(HMENU hmenuPopup, int x, int y, CWnd* pWndOwner, BOOL bRightAlign = FALSE);
    BOOL ShowPopupMenu(UINT uiMenuResId, int x, int y, CWnd* pWndOwner, BOOL bOwnMessage = FALSE,
                       BOOL bRightAlign = FALSE);

private:
    struct CEntry
    {
        UINT nResId;
        HMENU hMenu;  // the loaded menu, destroyed with the manager
        HMENU hPopup; // its first popup
    };
    std::map<CString, CEntry> m_menus;
};
