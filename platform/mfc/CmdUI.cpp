#include "mfc/CmdUI.h"

#include "mfc/CmdTarget.h"
#include "mfc/Controls.h"
#include "mfc/Menu.h"
#include "mfc/Wnd.h"

void CCmdUI::Enable(BOOL bOn)
{
    if (m_pMenu)
    {
        m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    }
    else if (m_pOther)
    {
        // A control losing the focus when disabled passes it on, as dialogs do.
        if (!bOn && CWnd::GetFocus() == m_pOther)
        {
            if (CWnd* pParent = m_pOther->GetParent())
                pParent->SetFocus();
        }
        m_pOther->EnableWindow(bOn);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck)
{
    if (m_pMenu)
    {
        if (m_pSubMenu)
            return; // a popup cannot be checked
        m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
    }
    else if (m_pOther)
    {
        m_pOther->SendMessage(BM_SETCHECK, WPARAM(nCheck));
    }
}

void CCmdUI::SetRadio(BOOL bOn)
{
    SetCheck(bOn ? 1 : 0);
    if (m_pMenu && !m_pSubMenu)
    {
        const UINT state = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION);
        if (state != UINT(-1))
        {
            CString text;
            m_pMenu->GetMenuString(m_nIndex, text, MF_BYPOSITION);
            m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | (state & 0xFF) | MFT_RADIOCHECK,
                                m_pMenu->GetMenuItemID(int(m_nIndex)), text);
        }
    }
}

void CCmdUI::SetText(LPCWSTR lpszText)
{
    if (!lpszText)
        lpszText = L"";
    if (m_pMenu)
    {
        if (m_pSubMenu)
            return;
        const UINT state = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION);
        if (state == UINT(-1))
            return;
        m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING | (state & 0xFF & ~UINT(MF_POPUP)), m_nID,
                            lpszText);
    }
    else if (m_pOther)
    {
        CString current;
        m_pOther->GetWindowText(current);
        if (current != lpszText)
            m_pOther->SetWindowText(lpszText);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    if (!pTarget || m_nID == 0 || m_nID >= 0xF000)
        return TRUE; // separators and system commands are left alone
    m_bEnableChanged = FALSE;
    const BOOL bResult = pTarget->OnCmdMsg(m_nID, int(CN_UPDATE_COMMAND_UI), this, nullptr);
    if (bDisableIfNoHndler && !m_bEnableChanged)
    {
        AFX_CMDHANDLERINFO info = {nullptr, nullptr};
        if (!pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info))
            Enable(FALSE);
    }
    return bResult;
}
