#include "opcsdk/servers/StandInClass.h"

#include "opcsdk/servers/AddressSpace.h"
#include "opcsdk/servers/StandInUtil.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace
{
struct ClassTable
{
    std::mutex mutex;
    std::vector<CStandInClass*> classes;
};

ClassTable& Classes()
{
    // Kept for the process: server threads may still look here while statics are destroyed.
    static auto* table = new ClassTable;
    return *table;
}
} // namespace

CStandInClass& CStandInClass::Get(REFCLSID clsid)
{
    ClassTable& t = Classes();
    std::lock_guard lock(t.mutex);
    for (CStandInClass* c : t.classes)
    {
        if (c->m_clsid == clsid)
            return *c;
    }
    t.classes.push_back(new CStandInClass(clsid));
    return *t.classes.back();
}

std::vector<CStandInClass*> CStandInClass::All()
{
    ClassTable& t = Classes();
    std::lock_guard lock(t.mutex);
    return t.classes;
}

const CStandInClass::Fault* CStandInClass::FindLocked(OpcStandIn::FaultKind kind) const
{
    for (const Fault& f : m_faults)
    {
        if (f.kind == kind)
            return &f;
    }
    return nullptr;
}

HRESULT CStandInClass::Enter(const char* call)
{
    std::lock_guard lock(m_mutex);
    ++m_calls[call];
    if (const Fault* f = FindLocked(OpcStandIn::FAULT_DISCONNECT))
        return f->hr;
    if (FindLocked(OpcStandIn::FAULT_UNREACHABLE))
        return RPC_S_SERVER_UNAVAILABLE;
    for (auto it = m_faults.begin(); it != m_faults.end(); ++it)
    {
        if (it->kind != OpcStandIn::FAULT_CALL || it->call != call)
            continue;
        HRESULT hr = it->hr;
        if (it->count > 0 && --it->count == 0)
            m_faults.erase(it);
        return hr;
    }
    return S_OK;
}

HRESULT CStandInClass::CreationResult()
{
    HRESULT hr = S_OK;
    bool wait = false;
    {
        std::lock_guard lock(m_mutex);
        if (FindLocked(OpcStandIn::FAULT_UNREACHABLE))
        {
            hr = RPC_S_SERVER_UNAVAILABLE;
            wait = true;
        }
        else if (FindLocked(OpcStandIn::FAULT_DISCONNECT))
            hr = RPC_S_SERVER_UNAVAILABLE;
        else if (const Fault* f = FindLocked(OpcStandIn::FAULT_CREATE))
            hr = f->hr;
    }
    if (wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return hr;
}

OPCSERVERSTATE CStandInClass::State(ULONGLONG createdMs)
{
    std::lock_guard lock(m_mutex);
    if (const Fault* f = FindLocked(OpcStandIn::FAULT_NEVER_RUNNING))
        return f->state;
    if (const Fault* f = FindLocked(OpcStandIn::FAULT_SLOW_START))
    {
        if (StandIn::TickMs() < createdMs + f->ms)
            return f->state;
    }
    return OPC_STATUS_RUNNING;
}

HRESULT CStandInClass::ItemFault(const std::wstring& itemId)
{
    std::lock_guard lock(m_mutex);
    for (const Fault& f : m_faults)
    {
        if (f.kind == OpcStandIn::FAULT_ITEM && f.itemId == itemId)
            return f.hr;
    }
    return S_OK;
}

HRESULT CStandInClass::ItemLimit(DWORD count)
{
    std::lock_guard lock(m_mutex);
    const Fault* f = FindLocked(OpcStandIn::FAULT_ITEM_LIMIT);
    return f && f->count >= 0 && count > DWORD(f->count) ? f->hr : S_OK;
}

BOOL CStandInClass::IsDown()
{
    std::lock_guard lock(m_mutex);
    return FindLocked(OpcStandIn::FAULT_DISCONNECT) || FindLocked(OpcStandIn::FAULT_UNREACHABLE);
}

DWORD CStandInClass::AsyncDelay()
{
    std::lock_guard lock(m_mutex);
    return m_asyncDelay;
}

void CStandInClass::Inject(const OpcStandIn::FAULT& fault)
{
    Fault f{
        fault.kind, fault.hr,   fault.call ? fault.call : "", fault.count, fault.itemId ? fault.itemId : L"",
        fault.ms,   fault.state};
    std::lock_guard lock(m_mutex);
    std::erase_if(m_faults, [&](const Fault& o)
                  { return o.kind == f.kind && o.call == f.call && o.itemId == f.itemId; });
    if (f.kind == OpcStandIn::FAULT_CALL && f.count == 0)
        return;
    m_faults.push_back(f);
}

void CStandInClass::ClearFault(OpcStandIn::FaultKind kind)
{
    std::lock_guard lock(m_mutex);
    std::erase_if(m_faults, [&](const Fault& o) { return o.kind == kind; });
}

void CStandInClass::Reset()
{
    std::lock_guard lock(m_mutex);
    m_faults.clear();
    m_calls.clear();
    m_scans.clear();
    m_asyncDelay = 0;
    m_canBrowse = true;
}

void CStandInClass::SetAsyncDelay(DWORD ms)
{
    std::lock_guard lock(m_mutex);
    m_asyncDelay = ms;
}

int CStandInClass::CallCount(const char* call)
{
    std::lock_guard lock(m_mutex);
    auto it = m_calls.find(call ? call : "");
    return it == m_calls.end() ? 0 : it->second;
}

void CStandInClass::NoteScan(const std::wstring& group)
{
    std::lock_guard lock(m_mutex);
    ++m_scans[group];
}

int CStandInClass::ScanCount(const std::wstring* group)
{
    std::lock_guard lock(m_mutex);
    if (group)
    {
        auto it = m_scans.find(*group);
        return it == m_scans.end() ? 0 : it->second;
    }
    int total = 0;
    for (const auto& [name, count] : m_scans)
        total += count;
    return total;
}

std::shared_ptr<CUpdateThread> CStandInClass::Thread()
{
    std::lock_guard lock(m_mutex);
    std::shared_ptr<CUpdateThread> thread = m_thread.lock();
    if (!thread)
    {
        thread = std::make_shared<CUpdateThread>();
        m_thread = thread;
    }
    return thread;
}

void CStandInClass::AddServer(const std::shared_ptr<CShutdownSource>& server)
{
    std::lock_guard lock(m_mutex);
    std::erase_if(m_servers, [](const std::weak_ptr<CShutdownSource>& w) { return w.expired(); });
    m_servers.push_back(server);
}

std::vector<std::shared_ptr<CShutdownSource>> CStandInClass::LiveServers()
{
    std::vector<std::shared_ptr<CShutdownSource>> live;
    std::lock_guard lock(m_mutex);
    for (const auto& w : m_servers)
    {
        if (auto s = w.lock())
            live.push_back(std::move(s));
    }
    return live;
}

// ---- Registration and the test interface ----------------------------------------------------

namespace
{
struct Registration
{
    std::mutex mutex;
    std::vector<DWORD> cookies;
};

Registration& Registered()
{
    static auto* r = new Registration;
    return *r;
}

void AddClass(REFCLSID clsid, LPCWSTR progId, LPCWSTR userType, std::vector<CATID> categories,
              CClassFactory::Creator create, std::vector<DWORD>* cookies)
{
    CClassRegistry::Instance().AddClass(CLASSREGINFO{clsid, progId, userType, std::move(categories)});
    CComPtr<CClassFactory> factory = QyrNewObject<CClassFactory>(std::move(create));
    DWORD cookie = 0;
    if (SUCCEEDED(
            CoRegisterClassObject(clsid, factory->GetUnknown(), CLSCTX_ALL, REGCLS_MULTIPLEUSE, &cookie)))
        cookies->push_back(cookie);
}

HRESULT CreateChecked(REFCLSID clsid, const std::function<HRESULT(REFIID, void**)>& create, REFIID riid,
                      void** ppv)
{
    HRESULT hr = CStandInClass::Get(clsid).CreationResult();
    if (FAILED(hr))
        return hr;
    return create(riid, ppv);
}
} // namespace

void OpcStandInServers_Register()
{
    Registration& r = Registered();
    std::lock_guard lock(r.mutex);
    if (!r.cookies.empty())
        return;
    CStandInClass& da = CStandInClass::Get(CLSID_QuendrelOpcDaServer);
    if (!da.GetAddressSpace())
        da.SetAddressSpace(CreateHierarchicalSpace());
    CStandInClass& da10 = CStandInClass::Get(CLSID_QuendrelOpcTestDa10);
    if (!da10.GetAddressSpace())
        da10.SetAddressSpace(CreateFlatSpace());

    AddClass(CLSID_OpcServerList, L"OPC.ServerList.1", L"OPC Server List", {}, &CreateOpcServerList,
             &r.cookies);
    AddClass(
        CLSID_QuendrelOpcDaServer, QUENDREL_OPCDASERVER_PROGID, L"Quendrel OPC DA Server",
        {CATID_OPCDAServer10, CATID_OPCDAServer20, CATID_OPCDAServer30},
        [](REFIID riid, void** ppv)
        {
            return CreateChecked(
                CLSID_QuendrelOpcDaServer,
                [](REFIID iid, void** out) { return CreateOpcDaServer(CLSID_QuendrelOpcDaServer, iid, out); },
                riid, ppv);
        },
        &r.cookies);
    AddClass(
        CLSID_QuendrelOpcTestDa10, QUENDREL_OPCTESTDA10_PROGID, L"Quendrel OPC DA 1.0 Test Server",
        {CATID_OPCDAServer10},
        [](REFIID riid, void** ppv)
        {
            return CreateChecked(
                CLSID_QuendrelOpcTestDa10,
                [](REFIID iid, void** out) { return CreateOpcDaServer(CLSID_QuendrelOpcTestDa10, iid, out); },
                riid, ppv);
        },
        &r.cookies);
    AddClass(
        CLSID_QuendrelOpcEventServer, QUENDREL_OPCEVENTSERVER_PROGID, L"Quendrel OPC Event Server",
        {CATID_OPCAEServer10},
        [](REFIID riid, void** ppv)
        { return CreateChecked(CLSID_QuendrelOpcEventServer, &CreateOpcEventServer, riid, ppv); },
        &r.cookies);
}

void OpcStandInServers_Unregister()
{
    Registration& r = Registered();
    std::lock_guard lock(r.mutex);
    for (DWORD cookie : r.cookies)
        CoRevokeClassObject(cookie);
    r.cookies.clear();
    for (const CLSID* c : {&CLSID_OpcServerList, &CLSID_QuendrelOpcDaServer, &CLSID_QuendrelOpcTestDa10,
                           &CLSID_QuendrelOpcEventServer})
        CClassRegistry::Instance().RemoveClass(*c);
}

// Registered when the library is loaded.
static const bool s_registered = []
{
    OpcStandInServers_Register();
    return true;
}();

namespace OpcStandIn
{
void Inject(REFCLSID server, const FAULT& fault)
{
    CStandInClass::Get(server).Inject(fault);
}

void ClearFault(REFCLSID server, FaultKind kind)
{
    CStandInClass::Get(server).ClearFault(kind);
}

void Reset()
{
    for (CStandInClass* c : CStandInClass::All())
        c->Reset();
    ResetEventServerSettings();
    ListDa10AsDa20(FALSE);
}

void ListDa10AsDa20(BOOL list)
{
    CLASSREGINFO info;
    if (!CClassRegistry::Instance().FindClass(CLSID_QuendrelOpcTestDa10, &info))
        return;
    info.categories = {CATID_OPCDAServer10};
    if (list)
        info.categories.push_back(CATID_OPCDAServer20);
    CClassRegistry::Instance().AddClass(info);
}

void SetBrowsing(REFCLSID server, BOOL browse)
{
    CStandInClass::Get(server).SetBrowsing(browse);
}

int RequestShutdown(REFCLSID server, LPCWSTR reason)
{
    CStandInClass& c = CStandInClass::Get(server);
    int called = 0;
    for (const auto& s : c.LiveServers())
        called += s->SendShutdown(reason ? reason : L"");
    return called;
}

int LiveServerCount(REFCLSID server)
{
    return CStandInClass::Get(server).m_liveServers.load();
}

int CallCount(REFCLSID server, const char* call)
{
    return CStandInClass::Get(server).CallCount(call);
}

int ScanCount(REFCLSID server, LPCWSTR group)
{
    if (!group)
        return CStandInClass::Get(server).ScanCount(nullptr);
    std::wstring name(group);
    return CStandInClass::Get(server).ScanCount(&name);
}

void SetAsyncDelay(REFCLSID server, DWORD ms)
{
    CStandInClass::Get(server).SetAsyncDelay(ms);
}

BOOL SetTagValue(REFCLSID server, LPCWSTR itemId, const VARIANT& value)
{
    std::shared_ptr<CAddressSpace> space = CStandInClass::Get(server).GetAddressSpace();
    if (!space || !itemId)
        return FALSE;
    int tag = space->Find(itemId);
    return tag >= 0 && SUCCEEDED(space->Write(tag, value, TRUE));
}
} // namespace OpcStandIn
