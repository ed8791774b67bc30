#include "behaviour/KeyValueDlg.h"

#include "behaviour/BehaviourCommon.h"
#include "mfc/ModalHook.h"
#include "opc/AddItemDlg.h"
#include "opc/IOPCBrowseWrapper.h"
#include "opc/InfoServer.h"
#include "opc/TagBrowseDlg.h"

BEGIN_MESSAGE_MAP(CQYRKeyValueDlg, CDialog)
ON_BN_CLICKED(IDC_KEY_BROWSE_SERVER, &CQYRKeyValueDlg::OnBrowseServer)
ON_BN_CLICKED(IDC_KEY_BROWSE_ITEM, &CQYRKeyValueDlg::OnBrowseItem)
ON_BN_CLICKED(IDC_KEY_BROWSE_COMPUTER, &CQYRKeyValueDlg::OnBrowseComputer)
END_MESSAGE_MAP()

BOOL BrowseServerItem(CInfoServer* pServer, CString& strKey1, CString& strKey2, CString& strKey3,
                      CWnd* pParent, BOOL bChooseWhenNone, int nUnanswered)
{
    if (!pServer)
        return FALSE;
    if (strKey2.IsEmpty())
    {
        if (!bChooseWhenNone || !pServer->ChooseServer())
            return FALSE;
        strKey1 = pServer->GetOPCServerComputer();
        strKey2 = pServer->GetOPCServerNameOnly();
        if (strKey2.IsEmpty())
            return FALSE;
    }
    // Browsing a server connected before would offer that server's tags.
    if (pServer->IsConnected() &&
        (pServer->GetOPCServerComputer() != strKey1 || pServer->GetOPCServerNameOnly() != strKey2))
        pServer->Disconnect();
    pServer->SetServer(strKey1, strKey2);
    if (!pServer->IsConnected() && !pServer->Connect())
        return FALSE;
    int organisation = nUnanswered;
    {
        CComPtr<IUnknown> unknown = pServer->GetInterface();
        if (!unknown)
            return FALSE;
        CIOPCBrowseServerAddressSpace browse(unknown.p);
        browse.QueryOrganization(&organisation);
    }
    if (organisation == 1)
    {
        CTagBrowseDlg dlg(strKey2, strKey1, pParent);
        if (dlg.DoModal() != IDOK)
            return FALSE;
        strKey3 = dlg.m_strItemName;
        return TRUE;
    }
    if (organisation == 2)
    {
        CAddItemDlg dlg(nullptr, pParent);
        dlg.SetServer(strKey1, strKey2);
        if (dlg.DoModal() != IDOK)
            return FALSE;
        strKey3 = dlg.m_strTag;
        return TRUE;
    }
    CString text;
    text.Format(L"Cannot access server!\n%s", strKey2.GetString());
    AfxMessageBox(text, MB_OK | MB_ICONINFORMATION);
    return FALSE;
}

CQYRKeyValueDlg::CQYRKeyValueDlg(CInfoServer* pServer, CWnd* pParent)
    : CDialog(IDD_QYR_KEY_VALUE, pParent), m_pServer(pServer)
{
}

void CQYRKeyValueDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_KEY_NAME, m_strObjectName);
    DDX_Text(pDX, IDC_KEY_COMPUTER, m_strKey1);
    DDX_Text(pDX, IDC_KEY_SERVER, m_strKey2);
    DDX_Text(pDX, IDC_KEY_ITEM, m_strKey3);
}

BOOL CQYRKeyValueDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_strFirstName = m_strObjectName;
    m_strFirstKey1 = m_strKey1;
    m_strFirstKey2 = m_strKey2;
    m_strFirstKey3 = m_strKey3;
    m_bModified = FALSE;
    behaviour::SetGuiFont(this, {IDC_KEY_NAME, IDC_KEY_COMPUTER, IDC_KEY_SERVER, IDC_KEY_ITEM});
    if (CWnd* property = GetDlgItem(IDC_KEY_PROPERTY))
        property->ShowWindow(SW_HIDE);
    EnableItemBrowse();
    return TRUE;
}

void CQYRKeyValueDlg::EnableItemBrowse()
{
    if (CWnd* item = GetDlgItem(IDC_KEY_BROWSE_ITEM))
        item->EnableWindow(!m_strKey2.IsEmpty());
}

void CQYRKeyValueDlg::OnBrowseServer()
{
    if (!m_pServer || !m_pServer->ChooseServer())
        return;
    UpdateData(TRUE);
    m_strKey1 = m_pServer->GetOPCServerComputer();
    m_strKey2 = m_pServer->GetOPCServerNameOnly();
    UpdateData(FALSE);
    EnableItemBrowse();
}

// The chooser browses a computer's servers: its "&Find" lists those of the computer typed there.
void CQYRKeyValueDlg::OnBrowseComputer()
{
    OnBrowseServer();
}

void CQYRKeyValueDlg::OnBrowseItem()
{
    if (!UpdateData(TRUE))
        return;
    if (m_strKey2.IsEmpty())
    {
        EnableItemBrowse();
        return;
    }
    // A server that does not tell its organisation counts as hierarchical.
    if (BrowseServerItem(m_pServer, m_strKey1, m_strKey2, m_strKey3, this, FALSE, 1))
        UpdateData(FALSE);
}

void CQYRKeyValueDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    m_bModified = m_strObjectName != m_strFirstName || m_strKey1 != m_strFirstKey1 ||
                  m_strKey2 != m_strFirstKey2 || m_strKey3 != m_strFirstKey3;
    EndDialog(IDOK);
}
