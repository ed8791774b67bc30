// The keys a dialog takes for its buttons, for windows that are not dialogs themselves.
#include "mfc/ButtonCtl.h"
#include "mfc/Wnd.h"

namespace
{
bool IsPushButton(CWnd* pWnd)
{
    return dynamic_cast<CButton*>(pWnd) && (pWnd->GetStyle() & 0x0F) <= BS_DEFPUSHBUTTON;
}

// The default push button among the children, or IDOK when there is none.
int DefaultButtonId(CWnd* pParent)
{
    for (CWnd* p = pParent->GetWindow(GW_CHILD); p; p = p->GetWindow(GW_HWNDNEXT))
        if (dynamic_cast<CButton*>(p) && (p->GetStyle() & 0x0F) == BS_DEFPUSHBUTTON)
            return p->GetDlgCtrlID();
    return IDOK;
}
} // namespace

BOOL CWnd::IsDialogMessage(LPMSG lpMsg)
{
    if (!lpMsg || !m_hWnd || lpMsg->message != WM_KEYDOWN)
        return FALSE;
    CWnd* pTarget = CWnd::FromHandle(lpMsg->hwnd);
    if (!pTarget || (pTarget != this && !IsChild(pTarget)))
        return FALSE;
    int nId = 0;
    if (lpMsg->wParam == VK_ESCAPE)
        nId = IDCANCEL;
    else if (lpMsg->wParam == VK_RETURN)
        nId = pTarget != this && IsPushButton(pTarget) ? pTarget->GetDlgCtrlID() : DefaultButtonId(this);
    else
        return FALSE;
    CWnd* pButton = GetDlgItem(nId);
    if (pButton && !pButton->IsWindowEnabled())
        return TRUE;
    SendMessage(WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), LPARAM(pButton ? pButton->GetSafeHwnd() : nullptr));
    return TRUE;
}
