#include "editor/KeyValueDlg.h"

#include "behaviour/BehaviourCommon.h"
#include "behaviour/KeyValueDlg.h"
#include "opc/InfoServer.h"
#include "opc/InfoServerExplorerDoc.h"

#include "mfc/ModalHook.h"

BEGIN_MESSAGE_MAP(CKeyValueDlg, CDialog)
ON_BN_CLICKED(IDC_PARAM_BROWSE, &CKeyValueDlg::OnBrowse)
END_MESSAGE_MAP()

CKeyValueDlg::CKeyValueDlg(CWnd* pParent) : CDialog(IDD_KEY_VALUE, pParent) {}

void CKeyValueDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PARAM_KEY1, m_strKey1);
    DDX_Text(pDX, IDC_PARAM_KEY2, m_strKey2);
    DDX_Text(pDX, IDC_PARAM_KEY3, m_strKey3);
    DDX_Text(pDX, IDC_PARAM_NAME, m_strName);
    DDX_Text(pDX, IDC_PARAM_TOOLTIP, m_strToolTip);
}

BOOL CKeyValueDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    behaviour::SetGuiFont(this, {IDC_PARAM_NAME, IDC_PARAM_KEY1, IDC_PARAM_KEY2, IDC_PARAM_KEY3,
                                 IDC_PARAM_TOOLTIP, IDC_PARAM_LABEL});
    return TRUE;
}

void CKeyValueDlg::OnBrowse()
{
    if (!UpdateData(TRUE))
        return;
    CInfoServerExplorerDoc* doc = GetExplorerActiveDocument(FALSE);
    // Keys that name no server: the user chooses one, and keys 1 and 2 take it even when the browse
    // is then cancelled.
    BrowseServerItem(doc ? doc->GetInfoServer() : nullptr, m_strKey1, m_strKey2, m_strKey3, this, TRUE, 0);
    UpdateData(FALSE);
}

void CKeyValueDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    if (m_strKey1 != m_strOldKey1 || m_strKey2 != m_strOldKey2 || m_strKey3 != m_strOldKey3 ||
        m_strName != m_strOldName || m_strToolTip != m_strOldToolTip)
        m_bModified = TRUE;
    EndDialog(IDOK);
}
