// Menus. An HMENU is a handle to a menu kept by this layer (items with ids, texts, states and
// submenus); the Win32 menu functions work on it, and a frame shows its menu as its QMenuBar and
// each popup as a QMenu made afresh whenever it opens, after the owner window had WM_INITMENUPOPUP
// (where frames update the items through their command handlers). A chosen item is posted to the
// owner as WM_COMMAND with its id.
#pragma once

#include "mfc/CString.h"
#include "mfc/Object.h"

class CWnd;
class QMenu;
class QMenuBar;

#define MF_INSERT 0x00000000L
#define MF_CHANGE 0x00000080L
#define MF_APPEND 0x00000100L
#define MF_DELETE 0x00000200L
#define MF_REMOVE 0x00001000L
#define MF_BYCOMMAND 0x00000000L
#define MF_BYPOSITION 0x00000400L
#define MF_SEPARATOR 0x00000800L
#define MF_ENABLED 0x00000000L
#define MF_GRAYED 0x00000001L
#define MF_DISABLED 0x00000002L
#define MF_UNCHECKED 0x00000000L
#define MF_CHECKED 0x00000008L
#define MF_USECHECKBITMAPS 0x00000200L
#define MF_STRING 0x00000000L
#define MF_BITMAP 0x00000004L
#define MF_OWNERDRAW 0x00000100L
#define MF_POPUP 0x00000010L
#define MF_MENUBARBREAK 0x00000020L
#define MF_MENUBREAK 0x00000040L
#define MF_UNHILITE 0x00000000L
#define MF_HILITE 0x00000080L
#define MF_DEFAULT 0x00001000L
#define MF_HELP 0x00004000L
#define MF_RIGHTJUSTIFY 0x00004000L
#define MFT_RADIOCHECK 0x00000200L
#define MFT_SEPARATOR MF_SEPARATOR
#define MFS_GRAYED 0x00000003L
#define MFS_CHECKED MF_CHECKED

// Item details by mask. An owner-drawn item's data is what was given as its text when it was made.
#define MIIM_STATE 0x00000001
#define MIIM_ID 0x00000002
#define MIIM_SUBMENU 0x00000004
#define MIIM_DATA 0x00000020
struct MENUITEMINFOW
{
    UINT cbSize;
    UINT fMask;
    UINT fType;
    UINT fState;
    UINT wID;
    HMENU hSubMenu;
    void* hbmpChecked;
    void* hbmpUnchecked;
    ULONG_PTR dwItemData;
    LPWSTR dwTypeData;
    UINT cch;
    void* hbmpItem;
};

#define TPM_LEFTBUTTON 0x0000L
#define TPM_RIGHTBUTTON 0x0002L
#define TPM_LEFTALIGN 0x0000L
#define TPM_CENTERALIGN 0x0004L
#define TPM_RIGHTALIGN 0x0008L
#define TPM_TOPALIGN 0x0000L
#define TPM_VCENTERALIGN 0x0010L
#define TPM_BOTTOMALIGN 0x0020L
#define TPM_NONOTIFY 0x0080L
#define TPM_RETURNCMD 0x0100L

class CMenu : public CObject
{
    DECLARE_DYNCREATE(CMenu)
public:
    CMenu() = default;
    // Destroys the menu it holds; Detach first to keep it.
    ~CMenu() override;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu = nullptr;

    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { return m_hMenu; }
    // An object for a handle, kept by this layer until the menu is destroyed (it never destroys it).
    static CMenu* FromHandle(HMENU hMenu);

    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    // From the menu templates of the resource chain.
    BOOL LoadMenu(UINT nIDResource);
    BOOL LoadMenu(LPCWSTR lpszResourceName);
    BOOL Attach(HMENU hMenu);
    HMENU Detach();
    BOOL DestroyMenu();

    UINT GetMenuItemCount() const;
    // 0xFFFFFFFF for a popup or a position past the end; 0 for a separator.
    UINT GetMenuItemID(int nPos) const;
    CMenu* GetSubMenu(int nPos) const;
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
    int GetMenuString(UINT nIDItem, LPWSTR lpString, int nMaxCount, UINT nFlags) const;
    UINT GetMenuState(UINT nID, UINT nFlags) const;
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCWSTR lpszNewItem = nullptr);
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCWSTR lpszNewItem = nullptr);
    BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCWSTR lpszNewItem = nullptr);
    BOOL RemoveMenu(UINT nPosition, UINT nFlags);
    BOOL DeleteMenu(UINT nPosition, UINT nFlags);
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);
    BOOL CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags);
    // Shows the popup (through the modal hook) at a screen point; the choice goes to pWnd as
    // WM_COMMAND, or is returned with TPM_RETURNCMD.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);
};

HMENU CreateMenu();
HMENU CreatePopupMenu();
BOOL DestroyMenu(HMENU hMenu);
BOOL IsMenu(HMENU hMenu);
HMENU LoadMenuW(HINSTANCE hInstance, LPCWSTR lpMenuName);
inline HMENU LoadMenu(HINSTANCE hInstance, LPCWSTR lpMenuName)
{
    return LoadMenuW(hInstance, lpMenuName);
}
int GetMenuItemCount(HMENU hMenu);
UINT GetMenuItemID(HMENU hMenu, int nPos);
HMENU GetSubMenu(HMENU hMenu, int nPos);
int GetMenuStringW(HMENU hMenu, UINT uIDItem, LPWSTR lpString, int cchMax, UINT flags);
UINT GetMenuState(HMENU hMenu, UINT uId, UINT uFlags);
BOOL GetMenuItemInfoW(HMENU hMenu, UINT item, BOOL fByPosition, MENUITEMINFOW* lpmii);
// Sets the state, id and item data the mask names.
BOOL SetMenuItemInfoW(HMENU hMenu, UINT item, BOOL fByPosition, const MENUITEMINFOW* lpmii);
BOOL AppendMenuW(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem);
BOOL InsertMenuW(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem);
BOOL ModifyMenuW(HMENU hMnu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem);
BOOL RemoveMenu(HMENU hMenu, UINT uPosition, UINT uFlags);
BOOL DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags);
// The previous state (MF_ENABLED / MF_GRAYED / MF_DISABLED), 0xFFFFFFFF when the item is missing.
UINT EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable);
UINT CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck);
BOOL CheckMenuRadioItem(HMENU hmenu, UINT first, UINT last, UINT check, UINT flags);
BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int nReserved, HWND hWnd, const RECT* prcRect);
HMENU GetMenu(HWND hWnd);
BOOL SetMenu(HWND hWnd, HMENU hMenu);
BOOL DrawMenuBar(HWND hWnd);

// The Qt side: fills a menu bar or a popup from a menu; chosen items go to hWndOwner.
void AfxFillMenuBar(QMenuBar* pBar, HMENU hMenu, HWND hWndOwner);
void AfxFillPopupMenu(QMenu* pMenu, HMENU hMenu, HWND hWndOwner);
// Increases whenever a menu's items change (frames rebuild their menu bar when it moved).
unsigned AfxMenuVersion(HMENU hMenu);
