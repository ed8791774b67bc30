// The state of one stand-in server class shared by all its objects: its faults, call counts and
// settings, its address space and its thread.
#pragma once

#include "opcsdk/servers/OpcStandIn.h"
#include "opcsdk/servers/UpdateThread.h"
#include "win32/System.h"

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CAddressSpace;

class CShutdownSource
{
public:
    virtual ~CShutdownSource() = default;
    // Calls the advised IOPCShutdown sinks; the number called.
    virtual int SendShutdown(LPCWSTR reason) = 0;
};

class CStandInClass
{
public:
    // The state of a class (made on first use, kept for the process).
    static CStandInClass& Get(REFCLSID clsid);
    // Every class made so far.
    static std::vector<CStandInClass*> All();

    REFCLSID GetClsid() const { return m_clsid; }

    // Counts the call and gives its result: the disconnect code while the class is down, an
    // injected call failure, else S_OK.
    HRESULT Enter(const char* call);
    // The result of creating an object now (waits a little when unreachable).
    HRESULT CreationResult();
    // The server state for an object created at createdMs (TickMs).
    OPCSERVERSTATE State(ULONGLONG createdMs);
    // S_OK or the injected failure of the item.
    HRESULT ItemFault(const std::wstring& itemId);
    // S_OK, or the injected failure of an AddItems call of count items.
    HRESULT ItemLimit(DWORD count);
    // While down no callback is made.
    BOOL IsDown();
    DWORD AsyncDelay();
    // Whether the servers answer for IOPCBrowseServerAddressSpace (a test switch; on after Reset).
    BOOL CanBrowse() const { return m_canBrowse.load(); }
    void SetBrowsing(BOOL browse) { m_canBrowse = browse != FALSE; }

    void Inject(const OpcStandIn::FAULT& fault);
    void ClearFault(OpcStandIn::FaultKind kind);
    void Reset();
    void SetAsyncDelay(DWORD ms);
    int CallCount(const char* call);
    // A group scan that sampled its items and sent its reports.
    void NoteScan(const std::wstring& group);
    int ScanCount(const std::wstring* group);

    // The class's thread, started when needed; holders keep it running.
    std::shared_ptr<CUpdateThread> Thread();

    // The address space of a data access class (null for others).
    std::shared_ptr<CAddressSpace> GetAddressSpace()
    {
        std::lock_guard lock(m_mutex);
        return m_space;
    }
    void SetAddressSpace(std::shared_ptr<CAddressSpace> space)
    {
        std::lock_guard lock(m_mutex);
        m_space = std::move(space);
    }

    // Live server objects, for RequestShutdown and LiveServerCount.
    void AddServer(const std::shared_ptr<CShutdownSource>& server);
    std::vector<std::shared_ptr<CShutdownSource>> LiveServers();
    std::atomic<int> m_liveServers{0};
    std::atomic<bool> m_canBrowse{true};

private:
    explicit CStandInClass(REFCLSID clsid) : m_clsid(clsid) {}

    struct Fault
    {
        OpcStandIn::FaultKind kind;
        HRESULT hr;
        std::string call;
        int count;
        std::wstring itemId;
        DWORD ms;
        OPCSERVERSTATE state;
    };
    const Fault* FindLocked(OpcStandIn::FaultKind kind) const;

    CLSID m_clsid;
    std::mutex m_mutex;
    std::vector<Fault> m_faults;
    std::map<std::string, int> m_calls;
    std::map<std::wstring, int> m_scans; // by group name
    DWORD m_asyncDelay = 0;
    std::weak_ptr<CUpdateThread> m_thread;
    std::shared_ptr<CAddressSpace> m_space;
    std::vector<std::weak_ptr<CShutdownSource>> m_servers;
};

// Creators of the objects (the factories check CreationResult first).
HRESULT CreateOpcDaServer(REFCLSID clsid, REFIID riid, void** ppv);
HRESULT CreateOpcEventServer(REFIID riid, void** ppv);
HRESULT CreateOpcServerList(REFIID riid, void** ppv);
// The address spaces of the two data access servers.
std::shared_ptr<CAddressSpace> CreateHierarchicalSpace();
std::shared_ptr<CAddressSpace> CreateFlatSpace();
// Resets the event server's settings.
void ResetEventServerSettings();

// A connection point of a stand-in object: Advise and Unadvise count as calls of the class, so
// they can be made to fail ("IConnectionPoint::Advise", "IConnectionPoint::Unadvise").
class CStandInConnectionPoint : public CConnectionPoint
{
public:
    CStandInConnectionPoint(CStandInClass& cls, IConnectionPointContainer* container, REFIID iid,
                            size_t maxConnections = 0)
        : CConnectionPoint(container, iid, maxConnections), m_class(cls)
    {
    }
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* pUnkSink, DWORD* pdwCookie) override
    {
        HRESULT hr = m_class.Enter("IConnectionPoint::Advise");
        if (FAILED(hr))
        {
            if (pdwCookie)
                *pdwCookie = 0;
            return hr;
        }
        return CConnectionPoint::Advise(pUnkSink, pdwCookie);
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD dwCookie) override
    {
        HRESULT hr = m_class.Enter("IConnectionPoint::Unadvise");
        if (FAILED(hr))
            return hr;
        return CConnectionPoint::Unadvise(dwCookie);
    }

private:
    CStandInClass& m_class;
};
