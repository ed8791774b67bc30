// CQYRViewView: binding the shown screen's shapes to OPC items, and the screen switch.
#include "player/QYRViewView.h"

#include "figkit/FODrawShape.h"
#include "figkit/FOTimeChartShape.h"
#include "figkit/FOValueProperties.h"
#include "model/ChartPointList.h"
#include "model/MyPushChartShape.h"
#include "model/MyRealTimeChartShape.h"
#include "model/WorkSpaceObj.h"
#include "opc/Group.h"
#include "opc/IOPCItemMgtWrapper.h"
#include "opc/InfoMultiServerExplorerDoc.h"
#include "opc/InfoServer.h"
#include "opc/Item.h"
#include "opc/ItemSet.h"
#include "player/ExtDataModel.h"
#include "player/PlexrunApp.h"
#include "player/QYRViewDoc.h"
#include "player/RunCanvas.h"

#include <cfloat>
#include <memory>
#include <vector>

namespace
{
// Numbers the groups of all screens of the process.
int g_nGroupCounter = 0;

CObject* ItemDataOf(const CFODrawShape* pShape)
{
    return static_cast<CObject*>(pShape->GetItemData());
}

CItem* ItemOf(const CFODrawShape* pShape)
{
    return dynamic_cast<CItem*>(ItemDataOf(pShape));
}

CItemSet* ItemSetOf(const CFODrawShape* pShape)
{
    return dynamic_cast<CItemSet*>(ItemDataOf(pShape));
}

// The shape's item set, made on first need.
CItemSet* EnsureItemSet(CFODrawShape* pShape)
{
    if (CItemSet* set = ItemSetOf(pShape))
        return set;
    auto* set = new CItemSet;
    set->SetUserData(pShape);
    pShape->SetItemData(static_cast<CObject*>(set));
    return set;
}

// Takes a created item away from its shape or item set and deletes it.
void DropItem(CItem* pItem)
{
    CObject* owner = pItem->GetUserData();
    if (auto* set = dynamic_cast<CItemSet*>(owner))
        set->RemoveItem(pItem);
    else if (auto* shape = dynamic_cast<CFODrawShape*>(owner); shape && ItemDataOf(shape) == pItem)
        shape->SetItemData(nullptr);
    delete pItem;
}

void AddBlinkingProperty(CFODrawShape* pShape)
{
    const CFOValueProperties prop(RUN_PROP_BLINKING, FO_VALUE::MakeBool(FALSE), L"BlinkingEnabled");
    pShape->AddNewProperty(&prop);
}
} // namespace

int CQYRViewView::GetGroupCounter()
{
    return g_nGroupCounter;
}

CInfoMultiServerExplorerDoc* CQYRViewView::GetServerDocument() const
{
    CQYRViewDoc* doc = GetDocument();
    return doc ? doc->GetServerDocument(FALSE) : m_pOwnServerDoc;
}

void CQYRViewView::TakeServerDocumentUse()
{
    if (GetDocument() || m_pOwnServerDoc)
        return;
    m_pOwnServerDoc = GetExplorerMultiActiveDocument(FALSE);
    if (m_pOwnServerDoc)
        m_pOwnServerDoc->AddRef();
    else
        m_pOwnServerDoc = GetExplorerMultiActiveDocument(TRUE); // a new one starts with our use
}

CString CQYRViewView::ServerNameFromKey(const CString& strKey)
{
    CString name = strKey;
    name.Trim(L'\'');
    if (name.IsEmpty())
        return name;
    const int blank = name.Find(L' ');
    if (blank > 0)
        name = name.Left(blank);
    return name;
}

BOOL CQYRViewView::IsOwnServer(const CString& strKey)
{
    return strKey == L"this" || strKey.Find(L"Quendrel.OpcDaServer.") == 0;
}

BOOL CQYRViewView::IsTagBound(const CFODrawShape* pShape)
{
    const CString& key2 = pShape->GetKeyId2();
    if (key2.IsEmpty() || pShape->GetKeyId3().IsEmpty())
        return FALSE;
    if (key2 != L"this" && key2.Find(L'.') < 1)
        return FALSE;
    return !IsOwnServer(key2);
}

BOOL CQYRViewView::HasTagList(const CFODrawShape* pShape)
{
    CString text;
    return pShape->GetPropStringValue(text, RUN_PROP_TAG_LIST) && !text.IsEmpty();
}

int CQYRViewView::CountBoundShapes()
{
    CExtDataModel* model = GetCurrentModel();
    if (!model)
        return 0;
    int count = 0;
    for (CFODrawShape* shape : *model->GetShapes())
        if ((IsTagBound(shape) || HasTagList(shape)) && !ServerNameFromKey(shape->GetKeyId2()).IsEmpty())
            ++count;
    return count;
}

CInfoServer* CQYRViewView::ConnectTagServers(const CString& strComputer, const CString& strServerKey,
                                             BOOL bConnect)
{
    CInfoMultiServerExplorerDoc* doc = GetServerDocument();
    const CString name = ServerNameFromKey(strServerKey);
    if (!doc || name.IsEmpty())
        return nullptr;
    if (CInfoServer* server = doc->GetInfoServer(name))
    {
        if (server->GetStatus(FALSE))
            return server;
        CGroupArray* groups = nullptr;
        server->GetGroups(&groups);
        if (groups->GetSize() > 0)
        {
            // Other views' groups live on it: connect it again in place, as the refresh would.
            if (!bConnect || !server->Connect())
                return nullptr;
            server->RecreateOnServer();
            return server;
        }
        doc->DeleteInfoServer(name);
    }
    CInfoServer* server = doc->NewInfoServer(name);
    if (!server)
        return nullptr;
    if (IsOwnServer(name))
        server->SetOPCVersion(3.0f);
    if (bConnect && !server->IsConnected())
    {
        server->SetOPCServer(name);
        server->SetOPCServerComputer(strComputer);
        CLSID clsid = GUID_NULL;
        const CString progId = IsOwnServer(name) ? CString(L"Quendrel.OpcDaServer.1") : name;
        if (FAILED(CLSIDFromProgID(progId.GetString(), &clsid)))
            return nullptr;
        server->SetOPCServerCLSID(clsid);
        if (!server->Connect())
            return nullptr;
    }
    return server;
}

void CQYRViewView::CreateShapeItems(CGroup* pGroup, const CString& strServerName)
{
    CExtDataModel* model = GetCurrentModel();
    if (!model || !pGroup)
        return;
    std::vector<CItem*> created;
    std::vector<_bstr_t> ids;
    created.reserve(size_t(model->GetShapes()->Count() + CountAllChartPoints()));
    auto makeItem = [&created](const CString& strTag, CObject* pOwner)
    {
        auto* item = new CItem;
        item->SetParamType(100);
        item->SetName(strTag);
        item->SetUserData(pOwner);
        created.push_back(item);
        return item;
    };

    for (CFODrawShape* shape : *model->GetShapes())
    {
        if (IsTagBound(shape))
        {
            const CString& key3 = shape->GetKeyId3();
            if (key3[0] == L'#' || key3[0] == L'$')
                continue;
            const CString name = ServerNameFromKey(shape->GetKeyId2());
            if (name.IsEmpty() || name != strServerName)
                continue;
            if (!HasTagList(shape))
                shape->SetItemData(static_cast<CObject*>(makeItem(key3, shape)));
            else
            {
                CItemSet* set = EnsureItemSet(shape);
                set->AddAssocItem(makeItem(key3, set));
            }
        }
        else if (HasTagList(shape) && IsChartType(shape->GetType()))
        {
            CStringArray points;
            CountChartPoints(shape, points);
            for (INT_PTR i = 0; i < points.GetSize(); ++i)
            {
                XVK_CHART_LINE line;
                if (!XVKParseChartLine(points[i], line) || line.strTag.IsEmpty())
                    continue;
                if (line.strTag[0] == L'#' || line.strTag[0] == L'$')
                    continue;
                CItemSet* set = EnsureItemSet(shape);
                set->AddAssocItem(makeItem(line.strTag, set));
            }
        }
    }
    if (created.empty())
        return;

    std::vector<OPCITEMDEF> defs(created.size());
    ids.reserve(created.size());
    for (size_t i = 0; i < created.size(); ++i)
    {
        ids.emplace_back(created[i]->GetName().GetString());
        OPCITEMDEF& def = defs[i];
        def = OPCITEMDEF();
        def.szAccessPath = const_cast<LPWSTR>(L"");
        def.szItemID = ids.back();
        def.bActive = TRUE;
        def.hClient = created[i]->GetClientHandle();
        def.vtRequestedDataType = VT_EMPTY;
    }
    auto dropAll = [&created]()
    {
        for (CItem* item : created)
            DropItem(item);
        created.clear();
    };
    CInfoServer* server = pGroup->GetInfoServer();
    if (server && server->UseValidateItems() && !pGroup->ValidateItems(DWORD(defs.size()), defs.data()))
    {
        dropAll();
        return;
    }
    CIOPCItemMgt itemMgt(pGroup->GetSafeInterface());
    OPCITEMRESULT* results = nullptr;
    HRESULT* errors = nullptr;
    const HRESULT hr = itemMgt.AddItems(DWORD(defs.size()), defs.data(), &results, &errors);
    if (FAILED(hr) || !results)
    {
        if (server)
            server->DisplayError(FAILED(hr) ? hr : E_FAIL);
        CoTaskMemFree(results);
        CoTaskMemFree(errors);
        dropAll();
        return;
    }
    CItemArray* groupItems = nullptr;
    pGroup->GetItems(&groupItems);
    std::vector<CItem*> accepted;
    for (size_t n = created.size(); n-- > 0;)
    {
        CItem* item = created[n];
        const HRESULT itemError = errors ? errors[n] : E_FAIL;
        if (FAILED(itemError))
        {
            if (server)
                server->DisplayError(itemError);
            DropItem(item);
        }
        else
        {
            item->SetHandle(results[n].hServer);
            item->SetDataType(results[n].vtCanonicalDataType);
            OPCHANDLE handle = results[n].hServer;
            VARTYPE requested = VT_EMPTY;
            HRESULT* typeErrors = nullptr;
            itemMgt.SetDatatypes(1, &handle, &requested, &typeErrors);
            CoTaskMemFree(typeErrors);
            item->SetGroup(pGroup);
            accepted.push_back(item);
        }
        CoTaskMemFree(results[n].pBlob);
    }
    // Appended in model order.
    for (auto it = accepted.rbegin(); it != accepted.rend(); ++it)
        groupItems->Add(*it);
    CoTaskMemFree(results);
    CoTaskMemFree(errors);
}

void CQYRViewView::RemoveGroupItems(CGroup* pGroup)
{
    CItemArray* items = nullptr;
    pGroup->GetItems(&items);
    for (INT_PTR i = 0; i < items->GetSize(); ++i)
    {
        CItem* item = items->GetAt(i);
        CObject* owner = item->GetUserData();
        if (auto* set = dynamic_cast<CItemSet*>(owner))
            set->RemoveItem(item);
        else if (auto* shape = dynamic_cast<CFODrawShape*>(owner); shape && ItemDataOf(shape) == item)
            shape->SetItemData(nullptr);
        item->SetUserData(nullptr);
    }
    pGroup->RemoveItems(items);
}

void CQYRViewView::DisconnectTagServers(BOOL bForce)
{
    CInfoMultiServerExplorerDoc* doc = GetServerDocument();
    if (!doc)
        return;
    const int busy = m_nBusy;
    m_nBusy = 1;
    // This view's groups: those made for its model's shapes.
    CExtDataModel* model = GetCurrentModel();
    if (model)
    {
        for (const auto& [serverName, groupName] : model->m_runGroups)
        {
            CInfoServer* server = doc->GetInfoServer(serverName);
            CGroupArray* groups = nullptr;
            if (server)
                server->GetGroups(&groups);
            for (INT_PTR i = 0; groups && i < groups->GetSize(); ++i)
            {
                CGroup* group = groups->GetAt(i);
                if (group->GetName() != groupName)
                    continue;
                group->UnAdvise();
                RemoveGroupItems(group);
                if (!server->RemoveGroup(&group, FALSE) && group)
                {
                    // A server that cannot be reached still lets its client group go.
                    groups->RemoveAt(i);
                    delete group;
                }
                break;
            }
        }
        model->m_runGroups.clear();
    }
    // A server that no view uses any more goes when forced or when its status fails. Each server is
    // judged on its own status: one failing server does not take the healthy ones after it down.
    CStringArray names;
    doc->GetInfoServerNames(names);
    for (INT_PTR i = 0; i < names.GetSize(); ++i)
    {
        CInfoServer* server = doc->GetInfoServer(names[i]);
        if (!server)
            continue;
        CGroupArray* groups = nullptr;
        server->GetGroups(&groups);
        if (groups->GetSize() > 0)
            continue;
        if (bForce || !server->GetStatus(FALSE))
        {
            if (server->IsConnected())
                server->Disconnect();
            doc->DeleteInfoServer(names[i]);
        }
    }
    // Item sets that no longer hold items go with their shapes' binding.
    if (model)
        for (CFODrawShape* shape : *model->GetShapes())
            if (CItemSet* set = ItemSetOf(shape); set && set->GetAssocItemCount() == 0)
            {
                shape->SetItemData(nullptr);
                delete set;
            }
    m_nBusy = busy;
}

void CQYRViewView::InitChartFromTags(CFODrawShape* pShape)
{
    auto* push = dynamic_cast<CMyPushChartShape*>(pShape);
    auto* timeChart = dynamic_cast<CFOTimeChartShape*>(pShape);
    if (!push && !timeChart)
        return;
    CString list;
    if (IsTagBound(pShape))
    {
        // A time chart draws on black: its own line colour unless the line's colour is given.
        COLORREF cr = timeChart ? pShape->GetLineColor() : 0;
        pShape->GetPropColorValue(cr, 1702);
        list.Format(L"%s$%02X%02X%02X,%d,%d,%s,%s", L"Chart", unsigned(GetRValue(cr)),
                    unsigned(GetGValue(cr)), unsigned(GetBValue(cr)), int(pShape->GetMinValue()),
                    int(pShape->GetMaxValue()), L"Chart", pShape->GetKeyId3().GetString());
    }
    CString tags;
    pShape->GetPropStringValue(tags, RUN_PROP_TAG_LIST);
    if (!tags.IsEmpty())
        list = list.IsEmpty() ? tags : list + L"@" + tags;
    const CString sorted = CItemSet::SortPropStringValue(list);
    CArray<XVK_CHART_ENTRY> entries;
    XVKGetChartPointList(entries, sorted);
    if (push && !push->InitChart(sorted.GetString()))
    {
        push->InitChart(L"");
        return;
    }
    if (timeChart)
    {
        // A line per tag, in the colour the list gives it, so the samples find their lines by name.
        timeChart->ClearSamples();
        for (INT_PTR i = 0; i < entries.GetSize(); ++i)
        {
            XVK_CHART_LINE line;
            if (XVKParseChartLine(entries[i].strDef, line) && !line.strTag.IsEmpty())
                timeChart->AddLine(line.strTag, line.crColor);
        }
    }
    if (ItemOf(pShape))
        return;
    CWorkSpaceObj* ws = GetWorkSpace();
    for (INT_PTR i = 0; i < entries.GetSize(); ++i)
    {
        XVK_CHART_LINE line;
        if (!XVKParseChartLine(entries[i].strDef, line) || line.strTag.IsEmpty() || !ws)
            continue;
        CString tag = line.strTag;
        tag.MakeLower();
        const int kind = tag[0] == L'#' ? PARAM_KIND_GLOBAL : tag[0] == L'$' ? PARAM_KIND_SYSTEM : 0;
        if (kind == 0)
            continue;
        if (CParamObj* param = ws->GetParamObj(kind, tag))
            EnsureItemSet(pShape)->AddAssocParam(param);
    }
}

BOOL CQYRViewView::PrepareShapes()
{
    if (m_bShapesPrepared)
        return TRUE;
    CExtDataModel* model = GetCurrentModel();
    if (!model)
        return FALSE;
    CWorkSpaceObj* ws = GetWorkSpace();
    for (CFODrawShape* shape : *model->GetShapes())
    {
        if (shape->GetType() == 256 || shape->GetType() == 615)
            InitChartFromTags(shape);
        const CString& key3 = shape->GetKeyId3();
        BOOL variable = FALSE;
        if (!ItemOf(shape) && !key3.IsEmpty() && ws)
        {
            CString name = key3;
            name.Trim();
            name.MakeLower();
            if (name.IsEmpty())
                variable = FALSE;
            else if (name[0] == L'#')
                variable = ws->GetParamObj(PARAM_KIND_GLOBAL, name) != nullptr;
            else if (name[0] == L'$')
                variable = ws->GetParamObj(PARAM_KIND_SYSTEM, name) != nullptr;
        }
        if (ItemOf(shape) || variable)
        {
            shape->SetCurrentValue(DBL_MIN);
            AddBlinkingProperty(shape);
        }
        else if (IsTagBound(shape))
            AddBlinkingProperty(shape);
    }
    if (model->GetShapes()->IsEmpty())
        return FALSE;
    m_bShapesPrepared = TRUE;
    return TRUE;
}

void CQYRViewView::DoInitFormCreate()
{
    m_bShapesPrepared = FALSE;
    m_nBusy = 1;
    CPlexrunView::DoInitFormCreate();
    DisconnectTagServers(FALSE);
    CExtDataModel* model = GetCurrentModel();
    if (!model)
        return;

    CMap<CString, const CString&, CInfoServer*, CInfoServer*> servers(10);
    std::vector<CString> order;
    for (CFODrawShape* shape : *model->GetShapes())
    {
        if (!IsTagBound(shape))
            continue;
        shape->SaveBlinkColors();
        if (CInfoServer* server = ConnectTagServers(shape->GetKeyId1(), shape->GetKeyId2(), TRUE))
        {
            const CString name = ServerNameFromKey(shape->GetKeyId2());
            CInfoServer* known = nullptr;
            if (!servers.Lookup(name, known))
                order.push_back(name);
            servers[name] = server;
        }
    }
    for (const CString& name : order)
    {
        CInfoServer* server = nullptr;
        servers.Lookup(name, server);
        ++g_nGroupCounter;
        CString groupName;
        groupName.Format(L"QYRViewGroup%05d", g_nGroupCounter);
        LONG bias = 0;
        FLOAT deadBand = 0.0f;
        if (CGroup* group = server->SafeAddGroup(groupName, 2048, 200, TRUE, FALSE, bias, deadBand))
        {
            model->m_runGroups.emplace_back(name, groupName);
            CreateShapeItems(group, name);
        }
    }
    if (PrepareShapes())
        m_nBusy = 0;
}

BOOL CQYRViewView::LoadXdgFromFile(LPCWSTR lpszPathName, BOOL bAddToRecent)
{
    DisconnectTagServers(FALSE);
    const BOOL loaded = CPlexrunView::LoadXdgFromFile(lpszPathName, bAddToRecent);
    if (CQYRViewDoc* doc = GetDocument())
        doc->SetTitleFromPath(loaded ? CString(lpszPathName) : CString());
    return loaded;
}

BOOL CQYRViewView::RunXdgFromFile(const CString& strName, BOOL)
{
    CPlexrunApp* app = AfxGetPlexrunApp();
    if (strName.IsEmpty() || !app || !m_pCanvas)
        return FALSE;
    return ShowScreen(CPlexrunApp::FileExists(strName) ? strName : app->GetScreenFilePath(strName), strName);
}
