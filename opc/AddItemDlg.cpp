#include "opc/AddItemDlg.h"

#include "opc/Group.h"
#include "opc/IOPCItemMgtWrapper.h"
#include "opc/InfoServer.h"
#include "opc/InfoServerExplorerDoc.h"
#include "opc/OPCBrowse.h"
#include "opc/OPCDataTypes.h"

#include "com/ComUtil.h"
#include "mfc/WaitCursor.h"

#include <memory>

namespace
{
const UINT IDC_TAG = 12500;
const UINT IDC_ACCESS = 12533;
const UINT IDC_REQUESTED_TYPE = 12530;
const UINT IDC_FILTER_TYPE = 12529;
const UINT IDC_TAGS = 12502;
const UINT IDC_FILTER = 12503;
const UINT IDC_STATUS = 12544;
const UINT IDC_ADD = 12538;
const UINT IDC_FIND_NOW = 12539;
// Climbing to the root of a server that never says it is there stops after this many steps.
const int kMaxClimb = 1000;

CInfoServer* ExplorerServer()
{
    CInfoServerExplorerDoc* doc = GetExplorerActiveDocument(FALSE);
    return doc ? doc->GetInfoServer() : nullptr;
}
} // namespace

BOOL OPCAddItemsToGroup(CGroup* group, const std::vector<CString>& tags, VARTYPE requested, int* added)
{
    if (added)
        *added = 0;
    CItemArray* array = nullptr;
    if (!group || tags.empty() || (group->GetItems(&array), !array))
        return FALSE;
    CComQIPtr<IOPCItemMgt> itf(group->GetSafeInterface().p);
    if (!itf)
        return FALSE;
    std::vector<std::unique_ptr<CItem>> items;
    std::vector<OPCITEMDEF> definitions;
    items.reserve(tags.size());
    definitions.reserve(tags.size());
    for (const CString& tag : tags)
    {
        items.push_back(std::make_unique<CItem>());
        OPCITEMDEF def = {};
        def.szAccessPath = const_cast<LPWSTR>(L"");
        def.szItemID = const_cast<LPWSTR>(tag.GetString());
        def.bActive = TRUE;
        def.hClient = items.back()->GetClientHandle();
        def.vtRequestedDataType = requested;
        definitions.push_back(def);
    }
    const DWORD count = DWORD(definitions.size());
    CInfoServer* server = group->GetInfoServer();
    if (server && server->UseValidateItems() && !group->ValidateItems(count, definitions.data()))
        return FALSE;
    OPCITEMRESULT* results = nullptr;
    HRESULT* errors = nullptr;
    HRESULT hr = CIOPCItemMgt(itf.p).AddItems(count, definitions.data(), &results, &errors);
    if (FAILED(hr))
    {
        group->DisplayError(hr);
        return FALSE;
    }
    int taken = 0;
    // From the last to the first, so the group holds them in the reverse order.
    for (DWORD k = count; k-- > 0;)
    {
        const HRESULT itemError = errors ? errors[k] : E_FAIL;
        if (!results || FAILED(itemError))
        {
            group->DisplayError(itemError);
            items[k].reset();
            continue;
        }
        CItem* item = items[k].release();
        item->SetName(tags[k]);
        item->SetHandle(results[k].hServer);
        item->SetDataType(requested == VT_EMPTY ? results[k].vtCanonicalDataType : requested);
        item->SetGroup(group);
        array->Add(item);
        ++taken;
    }
    if (results)
    {
        for (DWORD k = 0; k < count; ++k)
            CoTaskMemFree(results[k].pBlob);
    }
    CoTaskMemFree(results);
    CoTaskMemFree(errors);
    if (added)
        *added = taken;
    return TRUE;
}

BEGIN_MESSAGE_MAP(CAddItemDlg, CDialog)
ON_BN_CLICKED(IDC_ADD, &CAddItemDlg::OnAdd)
ON_BN_CLICKED(IDC_FIND_NOW, &CAddItemDlg::OnFindNow)
ON_LBN_SELCHANGE(IDC_TAGS, &CAddItemDlg::OnSelchangeTags)
ON_LBN_DBLCLK(IDC_TAGS, &CAddItemDlg::OnDblclkTags)
ON_CBN_SELCHANGE(IDC_FILTER_TYPE, &CAddItemDlg::OnSelchangeFilterType)
END_MESSAGE_MAP()

CAddItemDlg::CAddItemDlg(CGroup* group, CWnd* pParent) : CDialog(IDD, pParent), m_pGroup(group) {}

BOOL CAddItemDlg::SetServer(LPCWSTR computer, LPCWSTR server)
{
    CInfoServer* info = ExplorerServer();
    if (!info)
        return FALSE;
    info->SetServer(computer, server);
    return TRUE;
}

void CAddItemDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TAG, m_editTag);
    DDX_Control(pDX, IDC_ACCESS, m_comboAccess);
    DDX_Control(pDX, IDCANCEL, m_buttonCancel);
    DDX_Control(pDX, IDC_REQUESTED_TYPE, m_comboRequestedType);
    DDX_Control(pDX, IDC_FILTER_TYPE, m_comboFilterType);
    DDX_Control(pDX, IDC_TAGS, m_listTags);
    DDX_Text(pDX, IDC_TAG, m_strTag);
    DDX_Text(pDX, IDC_FILTER, m_strFilter);
    DDX_Text(pDX, IDC_STATUS, m_strStatus);
}

BOOL CAddItemDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    OPCFillDataTypeCombo(m_comboRequestedType, L"Native  (VT_EMPTY)");
    OPCFillDataTypeCombo(m_comboFilterType);
    m_comboAccess.ResetContent();
    for (LPCWSTR access : {L"No filtering", L"Read", L"ReadWrite"})
        m_comboAccess.AddString(access);
    m_comboRequestedType.SetCurSel(0);
    m_comboFilterType.SetCurSel(0);
    m_comboAccess.SetCurSel(0);
    m_vtFilterType = VT_EMPTY;
    m_vtRequestedType = VT_EMPTY;
    if (!LoadList())
    {
        EndDialog(IDABORT);
        return FALSE;
    }
    return TRUE;
}

BOOL CAddItemDlg::LoadList()
{
    CInfoServer* server = ExplorerServer();
    if (!server)
        return FALSE;
    if (!server->IsConnected() && !server->Connect())
        return FALSE;
    CComPtr<IUnknown> itf = server->GetInterface();
    if (!itf)
        return FALSE;
    CWaitCursor wait;
    m_strStatus = L"Loading...";
    SetDlgItemText(IDC_STATUS, m_strStatus);
    m_listTags.ResetContent();
    COPCLeafFilter filter;
    filter.strFilter = m_strFilter;
    filter.vtType = m_vtFilterType;
    const int access = m_comboAccess.GetCurSel();
    filter.dwAccess = access == 1 ? OPC_READABLE : access == 2 ? OPC_WRITEABLE : 0;
    // The picker keeps the browse interface only while it loads.
    CIOPCBrowseServerAddressSpace browse(itf.p);
    OPCBrowseToRoot(browse, kMaxClimb);
    std::vector<CString> leaves;
    OPCCollectLeaves(browse, *server, CString(), filter, 0, 0, leaves);
    for (const CString& leaf : leaves)
        m_listTags.AddString(leaf);
    m_strStatus.Format(L"%d Tag(s) Retrieved.", m_listTags.GetCount());
    SetDlgItemText(IDC_STATUS, m_strStatus);
    return TRUE;
}

BOOL CAddItemDlg::AddItems()
{
    m_vtRequestedType = OPCDataTypeFromPosition(m_comboRequestedType.GetCurSel());
    const int caret = m_listTags.GetCurSel();
    if (!m_pGroup)
    {
        if (caret >= 0)
            m_listTags.GetText(caret, m_strTag);
        else
            GetDlgItemText(IDC_TAG, m_strTag);
        return TRUE;
    }
    if (!GetExplorerActiveDocument(FALSE))
        return FALSE;
    std::vector<CString> tags;
    const int selected = m_listTags.GetSelCount();
    if (selected > 0)
    {
        std::vector<int> lines(size_t(selected), 0);
        const int got = m_listTags.GetSelItems(selected, lines.data());
        tags.resize(size_t(std::max(got, 0)));
        for (size_t i = 0; i < tags.size(); ++i)
            m_listTags.GetText(lines[i], tags[i]);
    }
    else
    {
        GetDlgItemText(IDC_TAG, m_strTag);
        if (!m_strTag.IsEmpty())
            tags.push_back(m_strTag);
    }
    int added = 0;
    if (!OPCAddItemsToGroup(m_pGroup, tags, m_vtRequestedType, &added))
        return FALSE;
    if (added > 0)
    {
        m_strTag.Empty();
        SetDlgItemText(IDC_TAG, m_strTag);
    }
    return TRUE;
}

void CAddItemDlg::OnAdd()
{
    CWaitCursor wait;
    if (!AddItems())
        return;
    m_buttonCancel.SetWindowText(L"Close");
    m_listTags.SetSel(-1, FALSE);
}

void CAddItemDlg::OnOK()
{
    OnAdd();
    EndDialog(IDOK);
}

void CAddItemDlg::OnFindNow()
{
    UpdateData(TRUE);
    LoadList();
}

void CAddItemDlg::OnSelchangeTags()
{
    const int caret = m_listTags.GetCurSel();
    if (caret < 0)
        return;
    m_listTags.GetText(caret, m_strTag);
    SetDlgItemText(IDC_TAG, m_strTag);
}

void CAddItemDlg::OnDblclkTags()
{
    OnOK();
}

void CAddItemDlg::OnSelchangeFilterType()
{
    m_vtFilterType = OPCDataTypeFromPosition(m_comboFilterType.GetCurSel());
    LoadList();
}
