#include "opc/TagBrowseDlg.h"

#include "opc/InfoServer.h"
#include "opc/OPCBrowse.h"

#include "foundation/PlexcoreRes.h"
#include "logvane/Logvane.h"
#include "mfc/ModalHook.h"
#include "mfc/WaitCursor.h"

namespace
{
const UINT IDC_TAGS = 11010;
const UINT IDC_ITEM_NAME = 11011;
const UINT IDC_TREE = 11012;
const UINT IDC_ACCESS_PATH = 11013;
const UINT IDC_FILTER = 11014;
const UINT IDC_FLAT = 11015;
const UINT IDS_REG_ERROR = 15230;
const ULONG kBatch = 100;
// Branches deeper than this are out of reach: the way back to the root is this many steps.
const int kMaxLevels = 10;
// How far up a node's parents are followed.
const int kMaxTreeDepth = 64;

bool IsLocal(const CString& computer)
{
    return computer.IsEmpty() || computer == L"Local";
}
} // namespace

BEGIN_MESSAGE_MAP(CTagBrowseDlg, CDialog)
ON_NOTIFY(TVN_ITEMEXPANDING, IDC_TREE, &CTagBrowseDlg::OnItemExpanding)
ON_NOTIFY(TVN_SELCHANGED, IDC_TREE, &CTagBrowseDlg::OnSelchangedTree)
ON_LBN_SELCHANGE(IDC_TAGS, &CTagBrowseDlg::OnSelchangeTags)
ON_LBN_SELCHANGE(IDC_FLAT, &CTagBrowseDlg::OnSelchangeFlat)
END_MESSAGE_MAP()

CTagBrowseDlg::CTagBrowseDlg(LPCWSTR progId, LPCWSTR computer, CWnd* pParent)
    : CDialog(IDD, pParent), m_strServer(progId), m_strComputer(computer)
{
}

CTagBrowseDlg::~CTagBrowseDlg()
{
    m_pBrowse.Release();
    m_pServer.Release();
}

void CTagBrowseDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_ITEM_NAME, m_strItemName);
    DDX_Text(pDX, IDC_ACCESS_PATH, m_strAccessPath);
    DDX_Control(pDX, IDC_FLAT, m_listFlat);
    DDX_Control(pDX, IDC_TAGS, m_listTags);
    DDX_Control(pDX, IDC_TREE, m_tree);
    DDX_Text(pDX, IDC_FILTER, m_strFilter);
}

BOOL CTagBrowseDlg::Connect()
{
    CLSID clsid = GUID_NULL;
    if (FAILED(CInfoServer::FindOPCServerCLSID(m_strServer, &clsid, m_strComputer, CATID_OPCDAServer20)))
        return FALSE;
    CComPtr<IUnknown> object;
    HRESULT hr;
    if (IsLocal(m_strComputer))
        hr = CInfoServer::SafeCoCreateInstance(clsid, nullptr, OPC_CLSCTX_SERVER, IID_IOPCServer,
                                               reinterpret_cast<void**>(&object));
    else
    {
        std::wstring name = m_strComputer.str();
        COSERVERINFO info = {0, name.data(), nullptr, 0};
        MULTI_QI qi = {&IID_IOPCServer, nullptr, S_OK};
        hr = CInfoServer::SafeCoCreateInstanceEx(clsid, nullptr, OPC_CLSCTX_SERVER, &info, 1, &qi);
        if (SUCCEEDED(hr) && FAILED(qi.hr))
        {
            XVKLOG_ERROR(L"Failed to connect to server: %lx", long(qi.hr));
            return FALSE;
        }
        object.Attach(qi.pItf);
    }
    if (FAILED(hr) || !object)
    {
        XVKLOG_ERROR(L"CoCreateInstanceEx failed: %lx", long(hr));
        return FALSE;
    }
    if (FAILED(object->QueryInterface(IID_IOPCServer, reinterpret_cast<void**>(&m_pServer))))
    {
        CString text;
        Plexcore_LoadString(IDS_REG_ERROR, text);
        AfxMessageBox(text);
        return FALSE;
    }
    return TRUE;
}

BOOL CTagBrowseDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(m_strServer);
    if (!Connect())
        return TRUE;
    if (FAILED(m_pServer->QueryInterface(IID_IOPCBrowseServerAddressSpace,
                                         reinterpret_cast<void**>(&m_pBrowse))))
    {
        ShowFlat();
        m_listFlat.ResetContent();
        m_listFlat.AddString(L"Browsing not supported");
        return TRUE;
    }
    OPCNAMESPACETYPE organization = OPC_NS_HIERARCHIAL;
    if (FAILED(CIOPCBrowseServerAddressSpace(m_pBrowse.p).QueryOrganization(&organization)))
    {
        m_pBrowse.Release();
        return TRUE;
    }
    m_nNamespace = int(organization);
    if (organization != OPC_NS_HIERARCHIAL)
    {
        ShowFlat();
        FillFlatList();
        return TRUE;
    }
    CWaitCursor wait;
    TVINSERTSTRUCT ins = {};
    ins.hParent = TVI_ROOT;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM;
    ins.item.pszText = const_cast<LPWSTR>(L"Root");
    ins.item.lParam = 1;
    HTREEITEM root = m_tree.InsertItem(&ins);
    CIOPCBrowseServerAddressSpace browse(m_pBrowse.p);
    std::vector<CString> branches;
    OPCBrowseNames(browse, OPC_BRANCH, m_strFilter, VT_EMPTY, 0, kBatch, branches);
    for (const CString& name : branches)
        InsertBranch(name, root, TVI_LAST);
    m_tree.SelectItem(root);
    m_tree.Expand(root, TVE_EXPAND);
    return TRUE;
}

HTREEITEM CTagBrowseDlg::InsertBranch(LPCWSTR name, HTREEITEM parent, HTREEITEM after)
{
    TVINSERTSTRUCT ins = {};
    ins.hParent = parent;
    ins.hInsertAfter = after;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM;
    ins.item.pszText = const_cast<LPWSTR>(name);
    ins.item.lParam = 0;
    HTREEITEM node = m_tree.InsertItem(&ins);
    if (node)
        m_tree.InsertItem(L"Dummy", node);
    return node;
}

void CTagBrowseDlg::ShowFlat()
{
    m_tree.ShowWindow(SW_HIDE);
    m_listTags.ShowWindow(SW_HIDE);
    m_listFlat.ShowWindow(SW_SHOW);
}

BOOL CTagBrowseDlg::Reach(HTREEITEM node)
{
    if (!m_pBrowse || !node)
        return FALSE;
    std::vector<CString> names;
    for (HTREEITEM n = node; n && names.size() < size_t(kMaxTreeDepth); n = m_tree.GetParentItem(n))
        names.insert(names.begin(), m_tree.GetItemText(n));
    CIOPCBrowseServerAddressSpace browse(m_pBrowse.p);
    return SUCCEEDED(OPCBrowseDownTo(browse, names));
}

void CTagBrowseDlg::ReturnToRoot()
{
    if (!m_pBrowse)
        return;
    CIOPCBrowseServerAddressSpace browse(m_pBrowse.p);
    OPCBrowseToRoot(browse, kMaxLevels);
}

void CTagBrowseDlg::OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    auto* nm = reinterpret_cast<NMTREEVIEW*>(pNMHDR);
    HTREEITEM node = nm->itemNew.hItem;
    if (!node || m_tree.GetItemData(node) != 0)
        return;
    CWaitCursor wait;
    m_tree.SetItemData(node, 1);
    while (HTREEITEM child = m_tree.GetChildItem(node))
        m_tree.DeleteItem(child);
    if (Reach(node))
    {
        CIOPCBrowseServerAddressSpace browse(m_pBrowse.p);
        std::vector<CString> branches;
        OPCBrowseNames(browse, OPC_BRANCH, m_strFilter, VT_EMPTY, 0, kBatch, branches);
        for (const CString& name : branches)
            InsertBranch(name, node, TVI_SORT);
    }
    ReturnToRoot();
}

void CTagBrowseDlg::ListLeaves(CListBox& list)
{
    list.ResetContent();
    if (!m_pBrowse)
        return;
    CIOPCBrowseServerAddressSpace browse(m_pBrowse.p);
    std::vector<CString> leaves;
    OPCBrowseNames(browse, OPC_LEAF, m_strFilter, VT_EMPTY, 0, kBatch, leaves);
    for (const CString& leaf : leaves)
        list.AddString(leaf);
}

void CTagBrowseDlg::OnSelchangedTree(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    CWaitCursor wait;
    HTREEITEM node = m_tree.GetSelectedItem();
    if (Reach(node))
        ListLeaves(m_listTags);
    else
        m_listTags.ResetContent();
    ReturnToRoot();
}

void CTagBrowseDlg::FillFlatList()
{
    CWaitCursor wait;
    ListLeaves(m_listFlat);
    if (m_listFlat.GetCount() > 0)
        m_listFlat.SetCurSel(0);
}

void CTagBrowseDlg::TakeItemName(CListBox& list)
{
    m_strItemName.Empty();
    const int line = list.GetCurSel();
    if (line >= 0 && m_pBrowse)
    {
        list.GetText(line, m_strItemName);
        LPWSTR full = nullptr;
        CIOPCBrowseServerAddressSpace browse(m_pBrowse.p);
        std::wstring name = m_strItemName.str();
        if (SUCCEEDED(browse.GetItemID(name.data(), &full)) && full)
            m_strItemName = full;
        CoTaskMemFree(full);
    }
    SetDlgItemText(IDC_ITEM_NAME, m_strItemName);
}

void CTagBrowseDlg::OnSelchangeTags()
{
    CWaitCursor wait;
    // A step the server refuses leaves the name as the list shows it.
    Reach(m_tree.GetSelectedItem());
    TakeItemName(m_listTags);
    ReturnToRoot();
}

void CTagBrowseDlg::OnSelchangeFlat()
{
    TakeItemName(m_listFlat);
}
