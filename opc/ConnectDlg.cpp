#include "opc/ConnectDlg.h"

#include "opc/InfoServer.h"

#include "foundation/PlexcoreRes.h"
#include "mfc/ModalHook.h"
#include "mfc/WaitCursor.h"
#include "opcsdk/OpcDa.h"

namespace
{
const UINT IDC_SERVER = 12547;
const UINT IDC_COMPUTER = 12548;
const UINT IDC_SERVER_LIST = 12546;
const UINT IDC_FIND = 12503;
const UINT IDS_SELECT_SERVER = 12533;
const ULONG kBatch = 100;
} // namespace

BOOL OPCFindServers(LPCWSTR computer, REFGUID category, std::vector<COPCServerEntry>& servers)
{
    servers.clear();
    CComPtr<IOPCServerList> list;
    if (FAILED(CInfoServer::CreateServerList(computer, &list)))
        return FALSE;
    OPCListServers(list, category, servers);
    return TRUE;
}

BOOL OPCListServers(IOPCServerList* list, REFGUID category, std::vector<COPCServerEntry>& servers)
{
    servers.clear();
    CATID catid = category;
    CComPtr<IEnumGUID> classes;
    if (!list || FAILED(list->EnumClassesOfCategories(1, &catid, 1, &catid, &classes)) || !classes)
        return FALSE;
    GUID ids[kBatch];
    HRESULT hr;
    do
    {
        // The last batch is short and answered S_FALSE; its classes count too.
        ULONG fetched = 0;
        hr = classes->Next(kBatch, ids, &fetched);
        if (FAILED(hr))
            break;
        for (ULONG i = 0; i < fetched && i < kBatch; ++i)
        {
            LPOLESTR progId = nullptr;
            LPOLESTR userType = nullptr;
            if (SUCCEEDED(list->GetClassDetails(ids[i], &progId, &userType)) && progId && *progId)
                servers.push_back({CString(progId), CString(userType ? userType : L""), ids[i]});
            CoTaskMemFree(progId);
            CoTaskMemFree(userType);
        }
    } while (hr == S_OK);
    return TRUE;
}

CString OPCServerLine(const COPCServerEntry& server)
{
    CString line;
    line.Format(L"%s  (%s)", server.strProgID.GetString(), server.strUserType.GetString());
    return line;
}

BEGIN_MESSAGE_MAP(CConnectDlg, CDialog)
ON_BN_CLICKED(IDC_FIND, &CConnectDlg::OnFindServers)
ON_LBN_SELCHANGE(IDC_SERVER_LIST, &CConnectDlg::OnSelchangeServerList)
ON_LBN_DBLCLK(IDC_SERVER_LIST, &CConnectDlg::OnDblclkServerList)
END_MESSAGE_MAP()

CConnectDlg::CConnectDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

CConnectDlg::CConnectDlg(UINT nIDTemplate, REFGUID category, CWnd* pParent)
    : CDialog(nIDTemplate, pParent), m_catidListed(category)
{
}

void CConnectDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SERVER_LIST, m_listServers);
    DDX_Text(pDX, IDC_SERVER, m_strServer);
    DDX_Text(pDX, IDC_COMPUTER, m_strComputer);
    DDX_LBString(pDX, IDC_SERVER_LIST, m_strSelected);
}

void CConnectDlg::EmptyList()
{
    if (m_listServers.m_hWnd)
        m_listServers.ResetContent();
    m_lineClsids.clear();
}

BOOL CConnectDlg::FindOPCServers(LPCWSTR computer)
{
    CWaitCursor wait;
    EmptyList();
    m_catid = m_catidListed;
    std::vector<COPCServerEntry> servers;
    if (!OPCFindServers(computer, m_catid, servers))
        return FALSE;
    for (const COPCServerEntry& server : servers)
    {
        const int line = m_listServers.AddString(OPCServerLine(server));
        if (line < 0)
            continue;
        m_listServers.SetItemData(line, DWORD_PTR(m_lineClsids.size()));
        m_lineClsids.push_back(server.clsid);
    }
    if (m_listServers.GetCount() > 0)
        m_listServers.SetCurSel(0);
    return TRUE;
}

BOOL CConnectDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    FindOPCServers(nullptr);
    return TRUE;
}

void CConnectDlg::OnFindServers()
{
    UpdateData(TRUE);
    EmptyList();
    FindOPCServers(m_strComputer);
}

void CConnectDlg::OnSelchangeServerList()
{
    UpdateData(TRUE);
    m_strServer = m_strSelected;
    const int line = m_listServers.GetCurSel();
    const size_t index = line >= 0 ? size_t(m_listServers.GetItemData(line)) : m_lineClsids.size();
    if (index < m_lineClsids.size())
        m_clsidSelected = m_lineClsids[index];
    UpdateData(FALSE);
}

void CConnectDlg::OnDblclkServerList()
{
    // The line clicked is the pick even when it was selected already (no change was reported).
    OnSelchangeServerList();
    OnOK();
}

void CConnectDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    if (m_strServer.IsEmpty())
    {
        CString text;
        Plexcore_LoadString(IDS_SELECT_SERVER, text);
        AfxMessageBox(text);
        return;
    }
    EndDialog(IDOK);
}

BOOL CConnectDlg::DestroyWindow()
{
    EmptyList();
    return CDialog::DestroyWindow();
}
