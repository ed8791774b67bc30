#include "figkit/FORenameDlg.h"

CFORenameDlg::CFORenameDlg(CWnd* pParent) : CDialog(L"FORENAMEDLG", pParent) {}

BOOL CFORenameDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (CWnd* edit = GetDlgItem(nNameEditId))
        edit->SetFocus();
    return FALSE;
}

void CFORenameDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, nNameEditId, m_strName);
}
