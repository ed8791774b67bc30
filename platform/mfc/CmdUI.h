// The user-interface update of one command: a menu item, a control or a bar pane asks its command
// target whether the command is enabled, checked or has a new text.
#pragma once

#include "win32/WinTypes.h"

class CCmdTarget;
class CMenu;
class CWnd;

class CCmdUI
{
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    UINT m_nID = 0;
    UINT m_nIndex = 0;
    // The menu being updated (m_nIndex is the item's position), or null.
    CMenu* m_pMenu = nullptr;
    CMenu* m_pSubMenu = nullptr;
    CMenu* m_pParentMenu = nullptr;
    // The control or bar being updated, or null.
    CWnd* m_pOther = nullptr;
    UINT m_nIndexMax = 0;
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;

    virtual void Enable(BOOL bOn = TRUE);
    // 0 unchecked, 1 checked, 2 indeterminate.
    virtual void SetCheck(int nCheck = 1);
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCWSTR lpszText);
    // Lets the next command target see the update too.
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks pTarget for the update; when nobody handles it and bDisableIfNoHndler is set, the
    // command is disabled unless some target has a command handler for it.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
};
