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
END_MESSAGE_MAP()

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
    if (CWnd* item = GetDlgItem(IDC_KEY_BROWSE_ITEM))
        item->EnableWindow(!m_strKey2.IsEmpty());
    return TRUE;
}

void CQYRKeyValueDlg::OnBrowseServer()
{
    if (!m_pServer || !m_pServer->ChooseServer())
        return;
    UpdateData(TRUE);
    m_strKey1 = m_pServer->GetOPCServerComputer();
    m_strKey2 = m_pServer->GetOPCServerNameOnly();
    UpdateData(FALSE);
    if (CWnd* item = GetDlgItem(IDC_KEY_BROWSE_ITEM))
        item->EnableWindow(!m_strKey2.IsEmpty());
}

void CQYRKeyValueDlg::OnBrowseItem()
{
    if (!UpdateData(TRUE))
        return;
    CWnd* itemButton = GetDlgItem(IDC_KEY_BROWSE_ITEM);
    if (m_strKey2.IsEmpty())
    {
        if (itemButton)
            itemButton->EnableWindow(FALSE);
        return;
    }
    if (!m_pServer)
        return;
    m_pServer->SetServer(m_strKey1, m_strKey2);
    // A server that cannot be reached leaves the item as it is, without a word.
    if (!m_pServer->IsConnected() && !m_pServer->Connect())
        return;
    int organisation = 1;
    {
        CComPtr<IUnknown> unknown = m_pServer->GetInterface();
        if (!unknown)
            return;
        CIOPCBrowseServerAddressSpace browse(unknown.p);
        browse.QueryOrganization(&organisation);
    }
    CString chosen;
    if (organisation == 1)
    {
        CTagBrowseDlg dlg(m_strKey2, m_strKey1, this);
        if (dlg.DoModal() != IDOK)
            return;
        chosen = dlg.m_strItemName;
    }
    else if (organisation == 2)
    {
        CAddItemDlg dlg(nullptr, this);
        dlg.SetServer(m_strKey1, m_strKey2);
        if (dlg.DoModal() != IDOK)
            return;
        chosen = dlg.m_strTag;
    }
    else
    {
        CString text;
        text.Format(L"Cannot access server!\n%s", m_strKey2.GetString());
        AfxMessageBox(text, MB_OK | MB_ICONINFORMATION);
        return;
    }
    m_strKey3 = chosen;
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
