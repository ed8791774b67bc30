#include "opcsdk/servers/DaServer.h"

#include "opcsdk/servers/StandInUtil.h"

#include <algorithm>

static ULONGLONG FileTimeValue(const FILETIME& t)
{
    return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

static FILETIME FileTimeOf(ULONGLONG v)
{
    return FILETIME{DWORD(v & 0xFFFFFFFFu), DWORD(v >> 32)};
}

// Rates below this are raised to it.
static constexpr DWORD kMinRate = 10;

// ---- CDaServerCore ----------------------------------------------------------------------------

CDaServerCore::CDaServerCore(CStandInClass& cls, BOOL da1)
    : m_class(cls), m_da1(da1), m_space(cls.GetAddressSpace()), m_thread(cls.Thread()),
      m_created(StandIn::TickMs()), m_startTime(StandIn::Now())
{
}

CDaServerCore::~CDaServerCore() = default;

int CDaServerCore::SendShutdown(LPCWSTR reason)
{
    if (!m_shutdown)
        return 0;
    std::wstring text(reason);
    size_t called = 0;
    m_thread->Call(
        [&]
        {
            called = m_shutdown->Fire<IOPCShutdown>([&](IOPCShutdown* sink)
                                                    { sink->ShutdownRequest(text.c_str()); });
        });
    return int(called);
}

std::wstring CDaServerCore::UniqueName()
{
    for (;;)
    {
        std::wstring name;
        {
            std::lock_guard lock(m_mutex);
            name = L"Group" + std::to_wstring(++m_nameCounter);
        }
        if (!NameInUse(name, nullptr))
            return name;
    }
}

BOOL CDaServerCore::NameInUse(const std::wstring& name, const CDaGroupCore* except)
{
    std::vector<std::shared_ptr<CDaGroupCore>> cores;
    {
        std::lock_guard lock(m_mutex);
        for (const Entry& e : m_groups)
            cores.push_back(e.group->Core());
    }
    for (const auto& core : cores)
    {
        if (core.get() == except)
            continue;
        std::lock_guard lock(core->m_mutex);
        if (core->m_name == name)
            return TRUE;
    }
    return FALSE;
}

HRESULT CDaServerCore::NewGroup(LPCWSTR name, BOOL active, DWORD rate, OPCHANDLE hClientGroup, LONG timeBias,
                                FLOAT deadband, DWORD lcid, CComPtr<COpcDaGroup>& group, DWORD* revisedRate)
{
    std::wstring groupName = name && *name ? std::wstring(name) : UniqueName();
    if (NameInUse(groupName, nullptr))
        return OPC_E_DUPLICATENAME;
    auto core = std::make_shared<CDaGroupCore>(m_class, m_space, weak_from_this(), m_da1);
    DWORD revised = std::max(rate, kMinRate);
    {
        std::lock_guard lock(core->m_mutex);
        core->m_name = groupName;
        core->m_active = active;
        core->m_rate = revised;
        core->m_hClientGroup = hClientGroup;
        core->m_timeBias = timeBias;
        core->m_deadband = deadband;
        core->m_lcid = lcid;
    }
    group = QyrNewObject<COpcDaGroup>(core, shared_from_this());
    HRESULT hr = EnterGroup(group, groupName);
    if (FAILED(hr))
    {
        group.Release();
        return hr;
    }
    m_thread->AddTarget(core, active ? StandIn::TickMs() + revised : 0);
    *revisedRate = revised;
    return revised != rate ? OPC_S_UNSUPPORTEDRATE : S_OK;
}

HRESULT CDaServerCore::EnterGroup(const CComPtr<COpcDaGroup>& group, const std::wstring&)
{
    std::lock_guard lock(m_mutex);
    OPCHANDLE h = m_nextGroupHandle++;
    {
        std::lock_guard groupLock(group->Core()->m_mutex);
        group->Core()->m_hServerGroup = h;
    }
    m_groups.push_back(Entry{h, group});
    m_suspended = FALSE;
    return S_OK;
}

void CDaServerCore::Clear()
{
    std::vector<Entry> groups;
    {
        std::lock_guard lock(m_mutex);
        groups.swap(m_groups);
    }
    // Released here, outside the lock; groups the client still holds go on.
}

// ---- COpcDaServer ------------------------------------------------------------------------------

HRESULT CreateOpcDaServer(REFCLSID clsid, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    CStandInClass& cls = CStandInClass::Get(clsid);
    if (!cls.GetAddressSpace())
        return CLASS_E_CLASSNOTAVAILABLE;
    auto core = std::make_shared<CDaServerCore>(cls, clsid == CLSID_QuendrelOpcTestDa10);
    CComPtr<COpcDaServer> server = QyrNewObject<COpcDaServer>(core);
    cls.AddServer(core);
    return server->QueryInterface(riid, ppv);
}

COpcDaServer::COpcDaServer(std::shared_ptr<CDaServerCore> core) : m_core(std::move(core))
{
    if (!m_core->m_da1)
    {
        m_core->m_shutdown = m_core->m_points.Add(QyrNewObject<CStandInConnectionPoint>(
            m_core->m_class, static_cast<IConnectionPointContainer*>(this), IID_IOPCShutdown));
    }
    ++m_core->m_class.m_liveServers;
}

COpcDaServer::~COpcDaServer()
{
    m_core->m_points.Detach();
    m_core->Clear();
    --m_core->m_class.m_liveServers;
}

HRESULT STDMETHODCALLTYPE COpcDaServer::QueryInterface(REFIID riid, void** ppv)
{
    // The DA 1.0 test server has no DA 2.0 interfaces; a test may switch browsing off.
    if ((m_core->m_da1 && (riid == IID_IOPCCommon || riid == IID_IConnectionPointContainer)) ||
        (riid == IID_IOPCBrowseServerAddressSpace && !m_core->m_class.CanBrowse()))
    {
        if (ppv)
            *ppv = nullptr;
        return ppv ? E_NOINTERFACE : E_POINTER;
    }
    return CComObjectImpl::QueryInterface(riid, ppv);
}

HRESULT STDMETHODCALLTYPE COpcDaServer::AddGroup(LPCWSTR szName, BOOL bActive, DWORD dwRequestedUpdateRate,
                                                 OPCHANDLE hClientGroup, LONG* pTimeBias,
                                                 FLOAT* pPercentDeadband, DWORD dwLCID,
                                                 OPCHANDLE* phServerGroup, DWORD* pRevisedUpdateRate,
                                                 REFIID riid, LPUNKNOWN* ppUnk)
{
    if (ppUnk)
        *ppUnk = nullptr;
    HRESULT hr = Enter("IOPCServer::AddGroup");
    if (FAILED(hr))
        return hr;
    if (!ppUnk || !phServerGroup || !pRevisedUpdateRate)
        return E_INVALIDARG;
    FLOAT deadband = pPercentDeadband ? *pPercentDeadband : 0.0f;
    if (deadband < 0.0f || deadband > 100.0f)
        return E_INVALIDARG;
    CComPtr<COpcDaGroup> group;
    DWORD revised = 0;
    hr = m_core->NewGroup(szName, bActive, dwRequestedUpdateRate, hClientGroup, pTimeBias ? *pTimeBias : 0,
                          deadband, dwLCID, group, &revised);
    if (FAILED(hr))
        return hr;
    HRESULT qi = group->QueryInterface(riid, reinterpret_cast<void**>(ppUnk));
    if (FAILED(qi))
    {
        RemoveGroup(group->Core()->m_hServerGroup, TRUE);
        return E_NOINTERFACE;
    }
    {
        std::lock_guard lock(group->Core()->m_mutex);
        *phServerGroup = group->Core()->m_hServerGroup;
    }
    *pRevisedUpdateRate = revised;
    return hr;
}

HRESULT STDMETHODCALLTYPE COpcDaServer::GetErrorString(HRESULT dwError, LCID, LPWSTR* ppString)
{
    if (ppString)
        *ppString = nullptr;
    HRESULT hr = Enter("IOPCServer::GetErrorString");
    if (FAILED(hr))
        return hr;
    if (!ppString)
        return E_INVALIDARG;
    std::wstring text = StandIn::ErrorText(dwError);
    if (text.empty())
        return E_INVALIDARG;
    *ppString = StandIn::TaskString(text);
    return *ppString ? S_OK : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE COpcDaServer::GetGroupByName(LPCWSTR szName, REFIID riid, LPUNKNOWN* ppUnk)
{
    if (ppUnk)
        *ppUnk = nullptr;
    HRESULT hr = Enter("IOPCServer::GetGroupByName");
    if (FAILED(hr))
        return hr;
    if (!szName || !ppUnk)
        return E_INVALIDARG;
    std::vector<CComPtr<COpcDaGroup>> groups;
    {
        std::lock_guard lock(m_core->m_mutex);
        for (const auto& e : m_core->m_groups)
            groups.push_back(e.group);
    }
    for (const auto& g : groups)
    {
        bool match;
        {
            std::lock_guard lock(g->Core()->m_mutex);
            match = g->Core()->m_name == szName;
        }
        if (match)
            return g->QueryInterface(riid, reinterpret_cast<void**>(ppUnk));
    }
    return E_INVALIDARG;
}

HRESULT STDMETHODCALLTYPE COpcDaServer::GetStatus(OPCSERVERSTATUS** ppServerStatus)
{
    if (ppServerStatus)
        *ppServerStatus = nullptr;
    HRESULT hr = Enter("IOPCServer::GetStatus");
    if (FAILED(hr))
        return hr;
    if (!ppServerStatus)
        return E_INVALIDARG;
    auto* status = StandIn::TaskArray<OPCSERVERSTATUS>(1);
    if (!status)
        return E_OUTOFMEMORY;
    status->ftStartTime = m_core->m_startTime;
    status->ftCurrentTime = StandIn::Now();
    status->ftLastUpdateTime = FileTimeOf(m_core->m_lastUpdate.load());
    status->dwServerState = m_core->m_class.State(m_core->m_created);
    {
        std::lock_guard lock(m_core->m_mutex);
        status->dwGroupCount = DWORD(m_core->m_groups.size());
        if (m_core->m_suspended && status->dwServerState == OPC_STATUS_RUNNING)
            status->dwServerState = OPC_STATUS_SUSPENDED;
    }
    status->dwBandWidth = 0xFFFFFFFFu;
    status->wMajorVersion = m_core->m_da1 ? 1 : 3;
    status->wMinorVersion = 0;
    status->wBuildNumber = 1;
    status->szVendorInfo = StandIn::TaskString(m_core->m_da1 ? L"Quendrel OPC DA 1.0 test server (stand-in)"
                                                             : L"Quendrel OPC DA server (stand-in)");
    *ppServerStatus = status;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE COpcDaServer::RemoveGroup(OPCHANDLE hServerGroup, BOOL bForce)
{
    HRESULT hr = Enter("IOPCServer::RemoveGroup");
    if (FAILED(hr))
        return hr;
    CComPtr<COpcDaGroup> group;
    {
        std::lock_guard lock(m_core->m_mutex);
        auto it = std::find_if(m_core->m_groups.begin(), m_core->m_groups.end(),
                               [&](const CDaServerCore::Entry& e) { return e.hServer == hServerGroup; });
        if (it == m_core->m_groups.end())
            return E_INVALIDARG;
        group = std::move(it->group);
        m_core->m_groups.erase(it);
        if (m_core->m_groups.empty())
            m_core->m_suspended = TRUE;
    }
    // Our reference and the table's: anything beyond is the client's.
    bool inUse = group->RefCount() > 1;
    group->Core()->Shutdown();
    return inUse && !bForce ? OPC_S_INUSE : S_OK;
}

HRESULT STDMETHODCALLTYPE COpcDaServer::CreateGroupEnumerator(OPCENUMSCOPE dwScope, REFIID riid,
                                                              LPUNKNOWN* ppUnk)
{
    if (ppUnk)
        *ppUnk = nullptr;
    HRESULT hr = Enter("IOPCServer::CreateGroupEnumerator");
    if (FAILED(hr))
        return hr;
    if (!ppUnk || dwScope < OPC_ENUM_PRIVATE_CONNECTIONS || dwScope > OPC_ENUM_ALL)
        return E_INVALIDARG;
    bool wantPrivate = dwScope != OPC_ENUM_PUBLIC_CONNECTIONS && dwScope != OPC_ENUM_PUBLIC;
    std::vector<CComPtr<COpcDaGroup>> groups;
    if (wantPrivate)
    {
        std::lock_guard lock(m_core->m_mutex);
        for (const auto& e : m_core->m_groups)
            groups.push_back(e.group);
    }
    if (riid == IID_IEnumString)
    {
        std::vector<std::wstring> names;
        for (const auto& g : groups)
        {
            std::lock_guard lock(g->Core()->m_mutex);
            names.push_back(g->Core()->m_name);
        }
        IEnumString* e = nullptr;
        hr = QyrCreateEnumString(std::move(names), &e);
        *ppUnk = e;
    }
    else if (riid == IID_IEnumUnknown)
    {
        std::vector<CComPtr<IUnknown>> objects;
        for (const auto& g : groups)
            objects.emplace_back(g->GetUnknown());
        IEnumUnknown* e = nullptr;
        hr = QyrCreateEnumUnknown(std::move(objects), &e);
        *ppUnk = e;
    }
    else
        return E_NOINTERFACE;
    if (FAILED(hr))
        return hr;
    return groups.empty() ? S_FALSE : S_OK;
}

HRESULT STDMETHODCALLTYPE COpcDaServer::SetLocaleID(LCID dwLcid)
{
    HRESULT hr = Enter("IOPCCommon::SetLocaleID");
    if (FAILED(hr))
        return hr;
    if (dwLcid != 0 && dwLcid != LOCALE_SYSTEM_DEFAULT && dwLcid != LOCALE_USER_DEFAULT && dwLcid != 0x0409)
        return E_INVALIDARG;
    std::lock_guard lock(m_core->m_mutex);
    m_core->m_lcid = dwLcid;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE COpcDaServer::GetLocaleID(LCID* pdwLcid)
{
    HRESULT hr = Enter("IOPCCommon::GetLocaleID");
    if (FAILED(hr))
        return hr;
    if (!pdwLcid)
        return E_INVALIDARG;
    std::lock_guard lock(m_core->m_mutex);
    *pdwLcid = m_core->m_lcid;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE COpcDaServer::QueryAvailableLocaleIDs(DWORD* pdwCount, LCID** pdwLcid)
{
    HRESULT hr = Enter("IOPCCommon::QueryAvailableLocaleIDs");
    if (FAILED(hr))
        return hr;
    if (!pdwCount || !pdwLcid)
        return E_INVALIDARG;
    *pdwLcid = StandIn::TaskArray<LCID>(2);
    if (!*pdwLcid)
        return E_OUTOFMEMORY;
    (*pdwLcid)[0] = LOCALE_SYSTEM_DEFAULT;
    (*pdwLcid)[1] = 0x0409;
    *pdwCount = 2;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE COpcDaServer::GetErrorString(HRESULT dwError, LPWSTR* ppString)
{
    if (ppString)
        *ppString = nullptr;
    HRESULT hr = Enter("IOPCCommon::GetErrorString");
    if (FAILED(hr))
        return hr;
    if (!ppString)
        return E_INVALIDARG;
    std::wstring text = StandIn::ErrorText(dwError);
    if (text.empty())
        return E_INVALIDARG;
    *ppString = StandIn::TaskString(text);
    return *ppString ? S_OK : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE COpcDaServer::SetClientName(LPCWSTR szName)
{
    HRESULT hr = Enter("IOPCCommon::SetClientName");
    if (FAILED(hr))
        return hr;
    std::lock_guard lock(m_core->m_mutex);
    m_core->m_clientName = szName ? szName : L"";
    return S_OK;
}

HRESULT STDMETHODCALLTYPE COpcDaServer::QueryOrganization(OPCNAMESPACETYPE* pNameSpaceType)
{
    HRESULT hr = Enter("IOPCBrowseServerAddressSpace::QueryOrganization");
    if (FAILED(hr))
        return hr;
    if (!pNameSpaceType)
        return E_INVALIDARG;
    *pNameSpaceType = m_core->m_space->Organization();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE COpcDaServer::ChangeBrowsePosition(OPCBROWSEDIRECTION dwBrowseDirection,
                                                             LPCWSTR szString)
{
    HRESULT hr = Enter("IOPCBrowseServerAddressSpace::ChangeBrowsePosition");
    if (FAILED(hr))
        return hr;
    const CAddressSpace& space = *m_core->m_space;
    if (space.Organization() == OPC_NS_FLAT)
        return E_FAIL;
    std::lock_guard lock(m_core->m_mutex);
    switch (dwBrowseDirection)
    {
    case OPC_BROWSE_UP:
    {
        int parent = space.GetBranch(m_core->m_browse).parent;
        if (parent < 0)
            return E_FAIL;
        m_core->m_browse = parent;
        return S_OK;
    }
    case OPC_BROWSE_DOWN:
    {
        if (!szString || !*szString)
            return E_INVALIDARG;
        for (int child : space.GetBranch(m_core->m_browse).branches)
        {
            if (space.GetBranch(child).name == szString)
            {
                m_core->m_browse = child;
                return S_OK;
            }
        }
        return E_INVALIDARG;
    }
    case OPC_BROWSE_TO:
    {
        int branch = space.FindBranch(szString ? szString : L"");
        if (branch < 0)
            return E_INVALIDARG;
        m_core->m_browse = branch;
        return S_OK;
    }
    }
    return E_INVALIDARG;
}

HRESULT STDMETHODCALLTYPE COpcDaServer::BrowseOPCItemIDs(OPCBROWSETYPE dwBrowseFilterType,
                                                         LPCWSTR szFilterCriteria, VARTYPE vtDataTypeFilter,
                                                         DWORD dwAccessRightsFilter,
                                                         LPENUMSTRING* ppIEnumString)
{
    if (ppIEnumString)
        *ppIEnumString = nullptr;
    HRESULT hr = Enter("IOPCBrowseServerAddressSpace::BrowseOPCItemIDs");
    if (FAILED(hr))
        return hr;
    if (!ppIEnumString)
        return E_INVALIDARG;
    const CAddressSpace& space = *m_core->m_space;
    int position;
    {
        std::lock_guard lock(m_core->m_mutex);
        position = m_core->m_browse;
    }
    std::vector<std::wstring> names;
    switch (dwBrowseFilterType)
    {
    case OPC_BRANCH:
        for (int child : space.GetBranch(position).branches)
        {
            if (CAddressSpace::MatchFilter(space.GetBranch(child).name, szFilterCriteria))
                names.push_back(space.GetBranch(child).name);
        }
        break;
    case OPC_LEAF:
        for (int tag : space.GetBranch(position).leaves)
        {
            const CAddressSpace::Tag& t = space.GetTag(tag);
            if (CAddressSpace::MatchFilter(t.leaf, szFilterCriteria) &&
                space.PassesFilters(tag, vtDataTypeFilter, dwAccessRightsFilter))
                names.push_back(t.leaf);
        }
        break;
    case OPC_FLAT:
    {
        std::vector<int> stack{position};
        while (!stack.empty())
        {
            const CAddressSpace::Branch& b = space.GetBranch(stack.back());
            stack.pop_back();
            for (int tag : b.leaves)
            {
                const CAddressSpace::Tag& t = space.GetTag(tag);
                if (CAddressSpace::MatchFilter(t.id, szFilterCriteria) &&
                    space.PassesFilters(tag, vtDataTypeFilter, dwAccessRightsFilter))
                    names.push_back(t.id);
            }
            for (auto it = b.branches.rbegin(); it != b.branches.rend(); ++it)
                stack.push_back(*it);
        }
        break;
    }
    default:
        return E_INVALIDARG;
    }
    bool empty = names.empty();
    hr = QyrCreateEnumString(std::move(names), ppIEnumString);
    if (FAILED(hr))
        return hr;
    return empty ? S_FALSE : S_OK;
}

HRESULT STDMETHODCALLTYPE COpcDaServer::GetItemID(LPWSTR szItemDataID, LPWSTR* szItemID)
{
    if (szItemID)
        *szItemID = nullptr;
    HRESULT hr = Enter("IOPCBrowseServerAddressSpace::GetItemID");
    if (FAILED(hr))
        return hr;
    if (!szItemDataID || !szItemID)
        return E_INVALIDARG;
    const CAddressSpace& space = *m_core->m_space;
    std::wstring id = szItemDataID;
    if (space.Organization() == OPC_NS_HIERARCHIAL)
    {
        std::wstring path;
        {
            std::lock_guard lock(m_core->m_mutex);
            path = space.GetBranch(m_core->m_browse).path;
        }
        if (!path.empty() && !id.empty())
            id = path + space.Separator() + id;
        else if (id.empty())
            id = path;
    }
    if (space.Find(id) < 0 && space.FindBranch(id) < 0)
        return E_INVALIDARG;
    *szItemID = StandIn::TaskString(id);
    return *szItemID ? S_OK : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE COpcDaServer::BrowseAccessPaths(LPCWSTR, LPENUMSTRING* ppIEnumString)
{
    if (ppIEnumString)
        *ppIEnumString = nullptr;
    HRESULT hr = Enter("IOPCBrowseServerAddressSpace::BrowseAccessPaths");
    return FAILED(hr) ? hr : E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE COpcDaServer::GetClassID(CLSID* pClassID)
{
    if (!pClassID)
        return E_POINTER;
    *pClassID = m_core->m_class.GetClsid();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE COpcDaServer::IsDirty()
{
    HRESULT hr = Enter("IPersistFile::IsDirty");
    return FAILED(hr) ? hr : S_FALSE;
}

// The stand-in keeps no configuration: loading and saving succeed and change nothing.
HRESULT STDMETHODCALLTYPE COpcDaServer::Load(LPCOLESTR pszFileName, DWORD)
{
    HRESULT hr = Enter("IPersistFile::Load");
    if (FAILED(hr))
        return hr;
    return pszFileName ? S_OK : E_INVALIDARG;
}

HRESULT STDMETHODCALLTYPE COpcDaServer::Save(LPCOLESTR, BOOL)
{
    return Enter("IPersistFile::Save");
}

HRESULT STDMETHODCALLTYPE COpcDaServer::SaveCompleted(LPCOLESTR)
{
    return Enter("IPersistFile::SaveCompleted");
}

HRESULT STDMETHODCALLTYPE COpcDaServer::GetCurFile(LPOLESTR* ppszFileName)
{
    if (ppszFileName)
        *ppszFileName = nullptr;
    HRESULT hr = Enter("IPersistFile::GetCurFile");
    if (FAILED(hr))
        return hr;
    if (!ppszFileName)
        return E_POINTER;
    *ppszFileName = StandIn::TaskString(L"");
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE COpcDaServer::EnumConnectionPoints(IEnumConnectionPoints** ppEnum)
{
    if (ppEnum)
        *ppEnum = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE COpcDaServer::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP)
{
    if (ppCP)
        *ppCP = nullptr;
    HRESULT hr = Enter("IConnectionPointContainer::FindConnectionPoint");
    if (FAILED(hr))
        return hr;
    return m_core->m_points.Find(riid, ppCP);
}

void StandInNoteUpdate(const std::weak_ptr<CDaServerCore>& server)
{
    if (auto core = server.lock())
        core->m_lastUpdate = FileTimeValue(StandIn::Now());
}
