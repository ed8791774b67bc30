#include "foundation/MyFileDialog.h"

IMPLEMENT_DYNAMIC(CMyFileDialog, CFileDialog)

CMyFileDialog::CMyFileDialog(BOOL bOpenFileDialog, LPCWSTR lpszDefExt, LPCWSTR lpszFileName, DWORD dwFlags,
                             LPCWSTR lpszFilter, CWnd* pParentWnd)
    : CFileDialog(bOpenFileDialog, lpszDefExt, lpszFileName, dwFlags, lpszFilter, pParentWnd, 0, TRUE)
{
    // The shown dialog is as much taller as the template's controls are moved.
    m_nExtraHeight = kExtraHeight;
}

BOOL CMyFileDialog::OnInitDialog()
{
    if (m_hWnd)
    {
        CRect rc;
        GetWindowRect(&rc);
        MoveWindow(rc.left, rc.top, rc.Width(), rc.Height() + kExtraHeight);
        if (CWnd* list = GetDlgItem(1120))
        {
            list->GetWindowRect(&rc);
            ScreenToClient(&rc);
            list->MoveWindow(rc.left, rc.top, rc.Width(), rc.Height() + kExtraHeight);
        }
        for (int id : {1090, 1089, 1152, 1136, IDOK, IDCANCEL})
        {
            CWnd* control = GetDlgItem(id);
            if (!control)
                continue;
            control->GetWindowRect(&rc);
            ScreenToClient(&rc);
            control->MoveWindow(rc.left, rc.top + kExtraHeight, rc.Width(), rc.Height());
        }
    }
    return CFileDialog::OnInitDialog();
}
