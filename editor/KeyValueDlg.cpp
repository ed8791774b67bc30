#include "editor/KeyValueDlg.h"

#include "behaviour/BehaviourCommon.h"
#include "opc/AddItemDlg.h"
#include "opc/IOPCBrowseWrapper.h"
#include "opc/InfoServer.h"
#include "opc/InfoServerExplorerDoc.h"
#include "opc/TagBrowseDlg.h"

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
    CInfoServer* server = doc ? doc->GetInfoServer() : nullptr;
    if (!server)
        return;
    // Key 1 names the computer, key 2 the server. A connection to another server is dropped first:
    // browsing it would offer that server's tags.
    if (server->IsConnected() &&
        (server->GetOPCServerComputer() != m_strKey1 || server->GetOPCServerNameOnly() != m_strKey2))
        server->Disconnect();
    server->SetServer(m_strKey1, m_strKey2);
    if (!server->IsConnected() && !server->Connect())
        return;
    CComPtr<IUnknown> itf = server->GetInterface();
    if (!itf)
        return;
    CIOPCBrowseServerAddressSpace browse(itf.p);
    int organisation = 0;
    browse.QueryOrganization(&organisation);
    if (organisation == 1)
    {
        CTagBrowseDlg dlg(m_strKey2, m_strKey1, this);
        if (dlg.DoModal() == IDOK)
        {
            m_strKey3 = dlg.m_strItemName;
            UpdateData(FALSE);
        }
    }
    else if (organisation == 2)
    {
        CAddItemDlg dlg(nullptr, this);
        dlg.SetServer(m_strKey1, m_strKey2);
        if (dlg.DoModal() == IDOK)
        {
            m_strKey3 = dlg.m_strTag;
            UpdateData(FALSE);
        }
    }
    else
    {
        CString text;
        text.Format(L"Cannot access server!\n%s", m_strKey2.GetString());
        AfxMessageBox(text);
    }
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
