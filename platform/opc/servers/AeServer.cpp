// The stand-in alarms and events server "Quendrel.OpcEventServer.1": the server object, its event
// subscriptions, and the event source that raises events and keeps the conditions.
#include "com/ComUtil.h"
#include "opcsdk/OpcAe.h"
#include "opcsdk/servers/StandInClass.h"
#include "opcsdk/servers/StandInUtil.h"

#include <algorithm>
#include <atomic>

namespace
{
// ---- Categories, attributes, conditions -----------------------------------------------------

struct Category
{
    DWORD id;
    DWORD type;
    const wchar_t* name;
    const wchar_t* condition; // null for simple and tracking events
};
const Category kCategories[] = {
    {1, OPC_SIMPLE_EVENT, L"System", nullptr},
    {2, OPC_TRACKING_EVENT, L"Operator action", nullptr},
    {3, OPC_CONDITION_EVENT, L"Level", L"LevelAlarm"},
    {4, OPC_CONDITION_EVENT, L"Deviation", L"DeviationAlarm"},
};

// Every category offers the same attributes, by id.
struct Attribute
{
    DWORD id;
    const wchar_t* name;
    VARTYPE vt;
};
const Attribute kAttributes[] = {
    {0, L"Current value", VT_R8},
    {1, L"High limit", VT_R8},
    {2, L"Low limit", VT_R8},
    {3, L"Area", VT_BSTR},
};
constexpr DWORD kAttributeCount = 4;

const wchar_t* const kSources[] = {L"Plant.Area1.Tank1", L"Plant.Area1.Tank2", L"Plant.Area2.Pump1"};

const Category* FindCategory(DWORD id)
{
    for (const Category& c : kCategories)
    {
        if (c.id == id)
            return &c;
    }
    return nullptr;
}

std::atomic<DWORD> g_eventInterval{2000};
// Each stop of the server starts a new generation: objects of an older one are lost for good.
std::atomic<unsigned> g_generation{0};
std::atomic<bool> g_stopped{false};

bool IsLost(unsigned generation)
{
    return generation != g_generation.load() || g_stopped.load();
}

struct EventRecord
{
    std::wstring source, message, condition, subcondition, actor;
    WORD changeMask = 0;
    WORD newState = 0;
    FILETIME time{};
    FILETIME activeTime{};
    DWORD type = OPC_SIMPLE_EVENT;
    DWORD category = 1;
    DWORD severity = 1;
    WORD quality = OPC_QUALITY_GOOD;
    BOOL ackRequired = FALSE;
    DWORD cookie = 0;
    _variant_t attributes[kAttributeCount];
};

EventRecord MakeEvent(LPCWSTR source, LPCWSTR message, DWORD category, DWORD severity, DWORD cookie)
{
    EventRecord e;
    const Category* c = FindCategory(category);
    e.source = source ? source : L"";
    e.message = message ? message : L"";
    e.category = category;
    e.type = c ? c->type : OPC_SIMPLE_EVENT;
    e.severity = std::clamp<DWORD>(severity, 1, 1000);
    e.time = StandIn::Now();
    e.cookie = cookie;
    if (c && c->condition)
    {
        e.condition = c->condition;
        e.subcondition = category == 3 ? L"HI" : L"DEV";
        e.changeMask = OPC_CHANGE_ACTIVE_STATE | OPC_CHANGE_SEVERITY | OPC_CHANGE_MESSAGE;
        e.newState = OPC_CONDITION_ENABLED | OPC_CONDITION_ACTIVE;
        e.ackRequired = TRUE;
        e.activeTime = e.time;
    }
    e.actor = category == 2 ? L"Operator" : L"";
    e.attributes[0] = double(severity) / 10.0;
    e.attributes[1] = 90.0;
    e.attributes[2] = 10.0;
    std::wstring area = e.source.substr(0, e.source.rfind(L'.'));
    e.attributes[3] = area.c_str();
    return e;
}

class CAeSubscriptionCore;

// Raises the automatic events and keeps the conditions, for all servers of the class.
class CAeSource : public CScanTarget, public std::enable_shared_from_this<CAeSource>
{
public:
    explicit CAeSource(std::shared_ptr<CUpdateThread> thread) : m_thread(std::move(thread)) {}
    ~CAeSource() override { m_thread->RemoveTarget(this); }

    ULONGLONG Scan(ULONGLONG now) override;
    void Raise(EventRecord event);
    void Add(const std::shared_ptr<CAeSubscriptionCore>& subscription);
    std::vector<EventRecord> Conditions();
    DWORD NextCookie() { return ++m_cookie; }

    const std::shared_ptr<CUpdateThread> m_thread;

private:
    std::mutex m_mutex;
    std::vector<std::weak_ptr<CAeSubscriptionCore>> m_subscriptions;
    std::vector<EventRecord> m_conditions; // active ones, by source and condition
    std::atomic<DWORD> m_cookie{0};
    unsigned m_step = 0;
};

struct SourceSlot
{
    std::mutex mutex;
    std::weak_ptr<CAeSource> source;
};

SourceSlot& Slot()
{
    static auto* slot = new SourceSlot;
    return *slot;
}

// While the server is stopped its source (and with it the plant's active conditions) is kept, so
// that the server finds them again when it comes back. Reset lets go of it.
std::shared_ptr<CAeSource>& KeptSource()
{
    static auto* kept = new std::shared_ptr<CAeSource>;
    return *kept;
}

std::shared_ptr<CAeSource> Source(bool create)
{
    SourceSlot& slot = Slot();
    std::lock_guard lock(slot.mutex);
    std::shared_ptr<CAeSource> source = slot.source.lock();
    if (!source && create)
    {
        source = std::make_shared<CAeSource>(CStandInClass::Get(CLSID_QuendrelOpcEventServer).Thread());
        source->m_thread->AddTarget(source, StandIn::TickMs() + 100);
        slot.source = source;
    }
    return source;
}

// ---- Subscription -----------------------------------------------------------------------------

class CAeSubscriptionCore
{
public:
    explicit CAeSubscriptionCore(CStandInClass& cls) : m_class(cls), m_generation(g_generation.load()) {}

    HRESULT Enter(const char* call)
    {
        HRESULT hr = m_class.Enter(call);
        return SUCCEEDED(hr) && IsLost(m_generation) ? RPC_E_DISCONNECTED : hr;
    }

    // The event for this subscription, or FALSE when its filter or state keeps it out.
    bool Passes(const EventRecord& e)
    {
        std::lock_guard lock(m_mutex);
        if (!m_active || !(m_eventType & e.type) || e.severity < m_low || e.severity > m_high)
            return false;
        if (!m_categories.empty() &&
            std::find(m_categories.begin(), m_categories.end(), e.category) == m_categories.end())
            return false;
        if (!m_sources.empty() &&
            std::none_of(m_sources.begin(), m_sources.end(),
                         [&](const std::wstring& s) { return StandIn::MatchWildcard(e.source, s.c_str()); }))
            return false;
        return true;
    }
    void Deliver(const std::vector<EventRecord>& events, BOOL refresh, BOOL lastRefresh);

    CStandInClass& m_class;
    const unsigned m_generation;
    std::mutex m_mutex;
    BOOL m_active = TRUE;
    DWORD m_bufferTime = 0;
    DWORD m_maxSize = 0;
    OPCHANDLE m_hClient = 0;
    DWORD m_eventType = OPC_ALL_EVENTS;
    std::vector<DWORD> m_categories;
    DWORD m_low = 1;
    DWORD m_high = 1000;
    std::vector<std::wstring> m_sources;
    std::map<DWORD, std::vector<DWORD>> m_returned; // category -> attribute ids
    bool m_refreshing = false;

    CConnectionPointList m_points;
    CConnectionPoint* m_sink = nullptr;
};

void CAeSubscriptionCore::Deliver(const std::vector<EventRecord>& events, BOOL refresh, BOOL lastRefresh)
{
    if (m_class.IsDown() || IsLost(m_generation) || !m_sink)
        return;
    OPCHANDLE hClient;
    std::vector<ONEVENTSTRUCT> records(events.size());
    std::vector<std::vector<VARIANT>> attributes(events.size());
    {
        std::lock_guard lock(m_mutex);
        hClient = m_hClient;
        for (size_t i = 0; i < events.size(); ++i)
        {
            const EventRecord& e = events[i];
            auto it = m_returned.find(e.category);
            if (it != m_returned.end())
            {
                for (DWORD id : it->second)
                {
                    VARIANT v;
                    VariantInit(&v);
                    VariantCopy(&v, &e.attributes[id]);
                    attributes[i].push_back(v);
                }
            }
            ONEVENTSTRUCT& r = records[i];
            r.wChangeMask = e.changeMask;
            r.wNewState = e.newState;
            r.szSource = const_cast<LPWSTR>(e.source.c_str());
            r.ftTime = e.time;
            r.szMessage = const_cast<LPWSTR>(e.message.c_str());
            r.dwEventType = e.type;
            r.dwEventCategory = e.category;
            r.dwSeverity = e.severity;
            r.szConditionName = const_cast<LPWSTR>(e.condition.c_str());
            r.szSubconditionName = const_cast<LPWSTR>(e.subcondition.c_str());
            r.wQuality = e.quality;
            r.bAckRequired = e.ackRequired;
            r.ftActiveTime = e.activeTime;
            r.dwCookie = e.cookie;
            r.dwNumEventAttrs = DWORD(attributes[i].size());
            r.pEventAttributes = attributes[i].empty() ? nullptr : attributes[i].data();
            r.szActorID = const_cast<LPWSTR>(e.actor.c_str());
        }
    }
    m_sink->Fire<IOPCEventSink>(
        [&](IOPCEventSink* sink)
        {
            sink->OnEvent(hClient, refresh, lastRefresh, DWORD(records.size()),
                          records.empty() ? nullptr : records.data());
        });
    for (auto& list : attributes)
    {
        for (VARIANT& v : list)
            VariantClear(&v);
    }
}

// ---- Event source -------------------------------------------------------------------------------

ULONGLONG CAeSource::Scan(ULONGLONG now)
{
    DWORD interval = g_eventInterval.load();
    if (interval == 0)
        return now + 100;
    unsigned step = m_step++;
    const wchar_t* source = kSources[step % 3];
    if (step % 4 == 3)
        Raise(MakeEvent(L"System", L"Heartbeat", 1, 100, 0));
    else
    {
        DWORD category = step % 2 ? 4 : 3;
        std::wstring message = std::wstring(source) + (category == 3 ? L" level high" : L" deviation");
        Raise(MakeEvent(source, message.c_str(), category, 500 + 100 * (step % 3), NextCookie()));
    }
    return now + interval;
}

void CAeSource::Raise(EventRecord event)
{
    std::vector<std::shared_ptr<CAeSubscriptionCore>> subscriptions;
    {
        std::lock_guard lock(m_mutex);
        if (event.type == OPC_CONDITION_EVENT)
        {
            std::erase_if(m_conditions, [&](const EventRecord& c)
                          { return c.source == event.source && c.condition == event.condition; });
            m_conditions.push_back(event);
        }
        for (auto it = m_subscriptions.begin(); it != m_subscriptions.end();)
        {
            if (auto s = it->lock())
            {
                subscriptions.push_back(std::move(s));
                ++it;
            }
            else
                it = m_subscriptions.erase(it);
        }
    }
    for (const auto& s : subscriptions)
    {
        if (s->Passes(event))
            s->Deliver({event}, FALSE, FALSE);
    }
}

void CAeSource::Add(const std::shared_ptr<CAeSubscriptionCore>& subscription)
{
    std::lock_guard lock(m_mutex);
    m_subscriptions.push_back(subscription);
}

std::vector<EventRecord> CAeSource::Conditions()
{
    std::lock_guard lock(m_mutex);
    return m_conditions;
}

class COpcEventSubscription : public CComObjectImpl<IOPCEventSubscriptionMgt, IConnectionPointContainer>
{
public:
    COpcEventSubscription(std::shared_ptr<CAeSubscriptionCore> core, std::shared_ptr<CAeSource> source)
        : m_core(std::move(core)), m_source(std::move(source))
    {
        m_core->m_sink = m_core->m_points.Add(QyrNewObject<CStandInConnectionPoint>(
            m_core->m_class, static_cast<IConnectionPointContainer*>(this), IID_IOPCEventSink, 1));
    }
    ~COpcEventSubscription() override
    {
        {
            std::lock_guard lock(m_core->m_mutex);
            m_core->m_active = FALSE;
        }
        m_core->m_points.Detach();
    }

    HRESULT STDMETHODCALLTYPE SetFilter(DWORD dwEventType, DWORD dwNumCategories, DWORD* pdwEventCategories,
                                        DWORD dwLowSeverity, DWORD dwHighSeverity, DWORD dwNumAreas, LPWSTR*,
                                        DWORD dwNumSources, LPWSTR* pszSourceList) override
    {
        HRESULT hr = Enter("IOPCEventSubscriptionMgt::SetFilter");
        if (FAILED(hr))
            return hr;
        if (!(dwEventType & OPC_ALL_EVENTS) || dwLowSeverity > dwHighSeverity || dwHighSeverity > 1000 ||
            (dwNumCategories && !pdwEventCategories) || (dwNumSources && !pszSourceList) || dwNumAreas)
            return E_INVALIDARG;
        for (DWORD i = 0; i < dwNumCategories; ++i)
        {
            if (!FindCategory(pdwEventCategories[i]))
                return E_INVALIDARG;
        }
        std::lock_guard lock(m_core->m_mutex);
        m_core->m_eventType = dwEventType & OPC_ALL_EVENTS;
        m_core->m_categories.assign(pdwEventCategories, pdwEventCategories + dwNumCategories);
        m_core->m_low = std::max<DWORD>(dwLowSeverity, 1);
        m_core->m_high = dwHighSeverity;
        m_core->m_sources.clear();
        for (DWORD i = 0; i < dwNumSources; ++i)
            m_core->m_sources.push_back(pszSourceList[i] ? pszSourceList[i] : L"");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetFilter(DWORD* pdwEventType, DWORD* pdwNumCategories,
                                        DWORD** ppdwEventCategories, DWORD* pdwLowSeverity,
                                        DWORD* pdwHighSeverity, DWORD* pdwNumAreas, LPWSTR** ppszAreaList,
                                        DWORD* pdwNumSources, LPWSTR** ppszSourceList) override
    {
        HRESULT hr = Enter("IOPCEventSubscriptionMgt::GetFilter");
        if (FAILED(hr))
            return hr;
        if (!pdwEventType || !pdwNumCategories || !ppdwEventCategories || !pdwLowSeverity ||
            !pdwHighSeverity || !pdwNumAreas || !ppszAreaList || !pdwNumSources || !ppszSourceList)
            return E_INVALIDARG;
        std::lock_guard lock(m_core->m_mutex);
        *pdwEventType = m_core->m_eventType;
        *pdwNumCategories = DWORD(m_core->m_categories.size());
        *ppdwEventCategories = StandIn::TaskArray<DWORD>(m_core->m_categories.size());
        std::copy(m_core->m_categories.begin(), m_core->m_categories.end(),
                  *ppdwEventCategories ? *ppdwEventCategories : nullptr);
        *pdwLowSeverity = m_core->m_low;
        *pdwHighSeverity = m_core->m_high;
        *pdwNumAreas = 0;
        *ppszAreaList = nullptr;
        *pdwNumSources = DWORD(m_core->m_sources.size());
        *ppszSourceList = StandIn::TaskArray<LPWSTR>(m_core->m_sources.size());
        for (size_t i = 0; *ppszSourceList && i < m_core->m_sources.size(); ++i)
            (*ppszSourceList)[i] = StandIn::TaskString(m_core->m_sources[i]);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SelectReturnedAttributes(DWORD dwEventCategory, DWORD dwCount,
                                                       DWORD* dwAttributeIDs) override
    {
        HRESULT hr = Enter("IOPCEventSubscriptionMgt::SelectReturnedAttributes");
        if (FAILED(hr))
            return hr;
        if (!FindCategory(dwEventCategory) || (dwCount && !dwAttributeIDs))
            return E_INVALIDARG;
        for (DWORD i = 0; i < dwCount; ++i)
        {
            if (dwAttributeIDs[i] >= kAttributeCount)
                return E_INVALIDARG;
        }
        std::lock_guard lock(m_core->m_mutex);
        m_core->m_returned[dwEventCategory].assign(dwAttributeIDs, dwAttributeIDs + dwCount);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetReturnedAttributes(DWORD dwEventCategory, DWORD* pdwCount,
                                                    DWORD** ppdwAttributeIDs) override
    {
        HRESULT hr = Enter("IOPCEventSubscriptionMgt::GetReturnedAttributes");
        if (FAILED(hr))
            return hr;
        if (!pdwCount || !ppdwAttributeIDs || !FindCategory(dwEventCategory))
            return E_INVALIDARG;
        std::lock_guard lock(m_core->m_mutex);
        const std::vector<DWORD>& ids = m_core->m_returned[dwEventCategory];
        *pdwCount = DWORD(ids.size());
        *ppdwAttributeIDs = StandIn::TaskArray<DWORD>(ids.size());
        if (*ppdwAttributeIDs)
            std::copy(ids.begin(), ids.end(), *ppdwAttributeIDs);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Refresh(DWORD dwConnection) override
    {
        HRESULT hr = Enter("IOPCEventSubscriptionMgt::Refresh");
        if (FAILED(hr))
            return hr;
        if (dwConnection == 0 || !m_core->m_sink->IsConnected())
            return E_INVALIDARG;
        {
            std::lock_guard lock(m_core->m_mutex);
            if (m_core->m_refreshing)
                return OPC_E_BUSY;
            m_core->m_refreshing = true;
        }
        std::shared_ptr<CAeSubscriptionCore> core = m_core;
        std::shared_ptr<CAeSource> source = m_source;
        source->m_thread->Post(
            [core, source]
            {
                std::vector<EventRecord> conditions;
                for (EventRecord& c : source->Conditions())
                {
                    if (core->Passes(c))
                        conditions.push_back(std::move(c));
                }
                {
                    std::lock_guard lock(core->m_mutex);
                    if (!core->m_refreshing)
                        return; // cancelled
                    core->m_refreshing = false;
                }
                core->Deliver(conditions, TRUE, TRUE);
            });
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CancelRefresh(DWORD dwConnection) override
    {
        HRESULT hr = Enter("IOPCEventSubscriptionMgt::CancelRefresh");
        if (FAILED(hr))
            return hr;
        if (dwConnection == 0)
            return E_INVALIDARG;
        std::lock_guard lock(m_core->m_mutex);
        if (!m_core->m_refreshing)
            return E_FAIL;
        m_core->m_refreshing = false;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetState(BOOL* pbActive, DWORD* pdwBufferTime, DWORD* pdwMaxSize,
                                       OPCHANDLE* phClientSubscription) override
    {
        HRESULT hr = Enter("IOPCEventSubscriptionMgt::GetState");
        if (FAILED(hr))
            return hr;
        std::lock_guard lock(m_core->m_mutex);
        if (pbActive)
            *pbActive = m_core->m_active;
        if (pdwBufferTime)
            *pdwBufferTime = m_core->m_bufferTime;
        if (pdwMaxSize)
            *pdwMaxSize = m_core->m_maxSize;
        if (phClientSubscription)
            *phClientSubscription = m_core->m_hClient;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetState(BOOL* pbActive, DWORD* pdwBufferTime, DWORD* pdwMaxSize,
                                       OPCHANDLE hClientSubscription, DWORD* pdwRevisedBufferTime,
                                       DWORD* pdwRevisedMaxSize) override
    {
        HRESULT hr = Enter("IOPCEventSubscriptionMgt::SetState");
        if (FAILED(hr))
            return hr;
        std::lock_guard lock(m_core->m_mutex);
        if (pbActive)
            m_core->m_active = *pbActive ? TRUE : FALSE;
        if (pdwBufferTime)
            m_core->m_bufferTime = *pdwBufferTime;
        if (pdwMaxSize)
            m_core->m_maxSize = *pdwMaxSize;
        m_core->m_hClient = hClientSubscription;
        if (pdwRevisedBufferTime)
            *pdwRevisedBufferTime = m_core->m_bufferTime;
        if (pdwRevisedMaxSize)
            *pdwRevisedMaxSize = m_core->m_maxSize;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** ppEnum) override
    {
        if (ppEnum)
            *ppEnum = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override
    {
        if (ppCP)
            *ppCP = nullptr;
        HRESULT hr = Enter("IConnectionPointContainer::FindConnectionPoint");
        if (FAILED(hr))
            return hr;
        return m_core->m_points.Find(riid, ppCP);
    }

private:
    HRESULT Enter(const char* call) { return m_core->Enter(call); }

    std::shared_ptr<CAeSubscriptionCore> m_core;
    std::shared_ptr<CAeSource> m_source;
};

// ---- Server -------------------------------------------------------------------------------------

class CAeServerCore : public CShutdownSource
{
public:
    CAeServerCore(CStandInClass& cls, std::shared_ptr<CAeSource> source)
        : m_class(cls), m_source(std::move(source)), m_created(StandIn::TickMs()),
          m_startTime(StandIn::Now()), m_generation(g_generation.load())
    {
    }
    HRESULT Enter(const char* call)
    {
        HRESULT hr = m_class.Enter(call);
        return SUCCEEDED(hr) && IsLost(m_generation) ? RPC_E_DISCONNECTED : hr;
    }
    int SendShutdown(LPCWSTR reason) override
    {
        if (!m_shutdown || IsLost(m_generation))
            return 0;
        std::wstring text(reason);
        size_t called = 0;
        m_source->m_thread->Call(
            [&]
            {
                called = m_shutdown->Fire<IOPCShutdown>([&](IOPCShutdown* sink)
                                                        { sink->ShutdownRequest(text.c_str()); });
            });
        return int(called);
    }

    CStandInClass& m_class;
    const std::shared_ptr<CAeSource> m_source;
    const ULONGLONG m_created;
    const FILETIME m_startTime;
    const unsigned m_generation;
    std::mutex m_mutex;
    LCID m_lcid = LOCALE_SYSTEM_DEFAULT;
    std::wstring m_clientName;
    CConnectionPointList m_points;
    CConnectionPoint* m_shutdown = nullptr;
};

// Copies names into task memory for the Query methods.
HRESULT TaskStrings(const std::vector<std::wstring>& names, DWORD* pdwCount, LPWSTR** out)
{
    *pdwCount = DWORD(names.size());
    *out = StandIn::TaskArray<LPWSTR>(names.size());
    if (!names.empty() && !*out)
        return E_OUTOFMEMORY;
    for (size_t i = 0; i < names.size(); ++i)
        (*out)[i] = StandIn::TaskString(names[i]);
    return S_OK;
}

class COpcEventServer : public CComObjectImpl<IOPCEventServer, IOPCCommon, IConnectionPointContainer>
{
public:
    explicit COpcEventServer(std::shared_ptr<CAeServerCore> core) : m_core(std::move(core))
    {
        m_core->m_shutdown = m_core->m_points.Add(QyrNewObject<CStandInConnectionPoint>(
            m_core->m_class, static_cast<IConnectionPointContainer*>(this), IID_IOPCShutdown));
        ++m_core->m_class.m_liveServers;
    }
    ~COpcEventServer() override
    {
        m_core->m_points.Detach();
        --m_core->m_class.m_liveServers;
    }

    HRESULT STDMETHODCALLTYPE GetStatus(OPCEVENTSERVERSTATUS** ppEventServerStatus) override
    {
        if (ppEventServerStatus)
            *ppEventServerStatus = nullptr;
        HRESULT hr = Enter("IOPCEventServer::GetStatus");
        if (FAILED(hr))
            return hr;
        if (!ppEventServerStatus)
            return E_INVALIDARG;
        auto* status = StandIn::TaskArray<OPCEVENTSERVERSTATUS>(1);
        if (!status)
            return E_OUTOFMEMORY;
        status->ftStartTime = m_core->m_startTime;
        status->ftCurrentTime = StandIn::Now();
        status->ftLastUpdateTime = status->ftCurrentTime;
        status->dwServerState = OPCEVENTSERVERSTATE(m_core->m_class.State(m_core->m_created));
        status->wMajorVersion = 1;
        status->wMinorVersion = 10;
        status->wBuildNumber = 1;
        status->szVendorInfo = StandIn::TaskString(L"Quendrel OPC event server (stand-in)");
        *ppEventServerStatus = status;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateEventSubscription(BOOL bActive, DWORD dwBufferTime, DWORD dwMaxSize,
                                                      OPCHANDLE hClientSubscription, REFIID riid,
                                                      LPUNKNOWN* ppUnk, DWORD* pdwRevisedBufferTime,
                                                      DWORD* pdwRevisedMaxSize) override
    {
        if (ppUnk)
            *ppUnk = nullptr;
        HRESULT hr = Enter("IOPCEventServer::CreateEventSubscription");
        if (FAILED(hr))
            return hr;
        if (!ppUnk || !pdwRevisedBufferTime || !pdwRevisedMaxSize)
            return E_INVALIDARG;
        auto core = std::make_shared<CAeSubscriptionCore>(m_core->m_class);
        core->m_active = bActive ? TRUE : FALSE;
        core->m_bufferTime = dwBufferTime;
        core->m_maxSize = dwMaxSize;
        core->m_hClient = hClientSubscription;
        CComPtr<COpcEventSubscription> subscription =
            QyrNewObject<COpcEventSubscription>(core, m_core->m_source);
        hr = subscription->QueryInterface(riid, reinterpret_cast<void**>(ppUnk));
        if (FAILED(hr))
            return E_NOINTERFACE;
        m_core->m_source->Add(core);
        *pdwRevisedBufferTime = dwBufferTime;
        *pdwRevisedMaxSize = dwMaxSize;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryAvailableFilters(DWORD* pdwFilterMask) override
    {
        HRESULT hr = Enter("IOPCEventServer::QueryAvailableFilters");
        if (FAILED(hr))
            return hr;
        if (!pdwFilterMask)
            return E_INVALIDARG;
        *pdwFilterMask =
            OPC_FILTER_BY_EVENT | OPC_FILTER_BY_CATEGORY | OPC_FILTER_BY_SEVERITY | OPC_FILTER_BY_SOURCE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryEventCategories(DWORD dwEventType, DWORD* pdwCount,
                                                   DWORD** ppdwEventCategories,
                                                   LPWSTR** ppszEventCategoryDescs) override
    {
        HRESULT hr = Enter("IOPCEventServer::QueryEventCategories");
        if (FAILED(hr))
            return hr;
        if (!pdwCount || !ppdwEventCategories || !ppszEventCategoryDescs || !(dwEventType & OPC_ALL_EVENTS))
            return E_INVALIDARG;
        std::vector<DWORD> ids;
        std::vector<std::wstring> names;
        for (const Category& c : kCategories)
        {
            if (c.type & dwEventType)
            {
                ids.push_back(c.id);
                names.push_back(c.name);
            }
        }
        *ppdwEventCategories = StandIn::TaskArray<DWORD>(ids.size());
        if (*ppdwEventCategories)
            std::copy(ids.begin(), ids.end(), *ppdwEventCategories);
        return TaskStrings(names, pdwCount, ppszEventCategoryDescs);
    }
    HRESULT STDMETHODCALLTYPE QueryConditionNames(DWORD dwEventCategory, DWORD* pdwCount,
                                                  LPWSTR** ppszConditionNames) override
    {
        HRESULT hr = Enter("IOPCEventServer::QueryConditionNames");
        if (FAILED(hr))
            return hr;
        const Category* c = FindCategory(dwEventCategory);
        if (!pdwCount || !ppszConditionNames || !c)
            return E_INVALIDARG;
        std::vector<std::wstring> names;
        if (c->condition)
            names.push_back(c->condition);
        return TaskStrings(names, pdwCount, ppszConditionNames);
    }
    HRESULT STDMETHODCALLTYPE QuerySubConditionNames(LPWSTR szConditionName, DWORD* pdwCount,
                                                     LPWSTR** ppszSubConditionNames) override
    {
        HRESULT hr = Enter("IOPCEventServer::QuerySubConditionNames");
        if (FAILED(hr))
            return hr;
        if (!szConditionName || !pdwCount || !ppszSubConditionNames)
            return E_INVALIDARG;
        std::wstring name = szConditionName;
        if (name == L"LevelAlarm")
            return TaskStrings({L"HIHI", L"HI", L"LO", L"LOLO"}, pdwCount, ppszSubConditionNames);
        if (name == L"DeviationAlarm")
            return TaskStrings({L"DEV"}, pdwCount, ppszSubConditionNames);
        return E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE QuerySourceConditions(LPWSTR szSource, DWORD* pdwCount,
                                                    LPWSTR** ppszConditionNames) override
    {
        HRESULT hr = Enter("IOPCEventServer::QuerySourceConditions");
        if (FAILED(hr))
            return hr;
        if (!szSource || !pdwCount || !ppszConditionNames)
            return E_INVALIDARG;
        if (std::none_of(std::begin(kSources), std::end(kSources),
                         [&](const wchar_t* s) { return std::wstring(s) == szSource; }))
            return E_INVALIDARG;
        return TaskStrings({L"LevelAlarm", L"DeviationAlarm"}, pdwCount, ppszConditionNames);
    }
    HRESULT STDMETHODCALLTYPE QueryEventAttributes(DWORD dwEventCategory, DWORD* pdwCount,
                                                   DWORD** ppdwAttrIDs, LPWSTR** ppszAttrDescs,
                                                   VARTYPE** ppvtAttrTypes) override
    {
        HRESULT hr = Enter("IOPCEventServer::QueryEventAttributes");
        if (FAILED(hr))
            return hr;
        if (!pdwCount || !ppdwAttrIDs || !ppszAttrDescs || !ppvtAttrTypes || !FindCategory(dwEventCategory))
            return E_INVALIDARG;
        std::vector<std::wstring> names;
        *ppdwAttrIDs = StandIn::TaskArray<DWORD>(kAttributeCount);
        *ppvtAttrTypes = StandIn::TaskArray<VARTYPE>(kAttributeCount);
        for (DWORD i = 0; i < kAttributeCount; ++i)
        {
            names.push_back(kAttributes[i].name);
            if (*ppdwAttrIDs)
                (*ppdwAttrIDs)[i] = kAttributes[i].id;
            if (*ppvtAttrTypes)
                (*ppvtAttrTypes)[i] = kAttributes[i].vt;
        }
        return TaskStrings(names, pdwCount, ppszAttrDescs);
    }
    HRESULT STDMETHODCALLTYPE TranslateToItemIDs(LPWSTR, DWORD, LPWSTR, LPWSTR, DWORD, DWORD*, LPWSTR**,
                                                 LPWSTR**, CLSID**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetConditionState(LPWSTR, LPWSTR, DWORD, DWORD*, OPCCONDITIONSTATE**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnableConditionByArea(DWORD, LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnableConditionBySource(DWORD, LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DisableConditionByArea(DWORD, LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DisableConditionBySource(DWORD, LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AckCondition(DWORD, LPWSTR, LPWSTR, LPWSTR*, LPWSTR*, FILETIME*, DWORD*,
                                           HRESULT** ppErrors) override
    {
        if (ppErrors)
            *ppErrors = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CreateAreaBrowser(REFIID, LPUNKNOWN* ppUnk) override
    {
        if (ppUnk)
            *ppUnk = nullptr;
        return E_NOTIMPL;
    }

    // IOPCCommon
    HRESULT STDMETHODCALLTYPE SetLocaleID(LCID dwLcid) override
    {
        HRESULT hr = Enter("IOPCCommon::SetLocaleID");
        if (FAILED(hr))
            return hr;
        std::lock_guard lock(m_core->m_mutex);
        m_core->m_lcid = dwLcid;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetLocaleID(LCID* pdwLcid) override
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
    HRESULT STDMETHODCALLTYPE QueryAvailableLocaleIDs(DWORD* pdwCount, LCID** pdwLcid) override
    {
        HRESULT hr = Enter("IOPCCommon::QueryAvailableLocaleIDs");
        if (FAILED(hr))
            return hr;
        if (!pdwCount || !pdwLcid)
            return E_INVALIDARG;
        *pdwLcid = StandIn::TaskArray<LCID>(1);
        if (!*pdwLcid)
            return E_OUTOFMEMORY;
        (*pdwLcid)[0] = LOCALE_SYSTEM_DEFAULT;
        *pdwCount = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetErrorString(HRESULT dwError, LPWSTR* ppString) override
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
    HRESULT STDMETHODCALLTYPE SetClientName(LPCWSTR szName) override
    {
        HRESULT hr = Enter("IOPCCommon::SetClientName");
        if (FAILED(hr))
            return hr;
        std::lock_guard lock(m_core->m_mutex);
        m_core->m_clientName = szName ? szName : L"";
        return S_OK;
    }

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** ppEnum) override
    {
        if (ppEnum)
            *ppEnum = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override
    {
        if (ppCP)
            *ppCP = nullptr;
        HRESULT hr = Enter("IConnectionPointContainer::FindConnectionPoint");
        if (FAILED(hr))
            return hr;
        return m_core->m_points.Find(riid, ppCP);
    }

private:
    HRESULT Enter(const char* call) { return m_core->Enter(call); }

    std::shared_ptr<CAeServerCore> m_core;
};
} // namespace

HRESULT CreateOpcEventServer(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (g_stopped.load())
        return RPC_S_SERVER_UNAVAILABLE;
    CStandInClass& cls = CStandInClass::Get(CLSID_QuendrelOpcEventServer);
    auto core = std::make_shared<CAeServerCore>(cls, Source(true));
    CComPtr<COpcEventServer> server = QyrNewObject<COpcEventServer>(core);
    cls.AddServer(core);
    return server->QueryInterface(riid, ppv);
}

void ResetEventServerSettings()
{
    g_eventInterval = 2000;
    g_stopped = false;
    std::shared_ptr<CAeSource> kept;
    {
        SourceSlot& slot = Slot();
        std::lock_guard lock(slot.mutex);
        kept.swap(KeptSource());
    }
}

namespace OpcStandIn
{
void SetEventInterval(DWORD ms)
{
    g_eventInterval = ms;
}

void StopEventServer()
{
    {
        SourceSlot& slot = Slot();
        std::lock_guard lock(slot.mutex);
        KeptSource() = slot.source.lock();
    }
    ++g_generation;
    g_stopped = true;
}

void StartEventServer()
{
    g_stopped = false;
}

void RestartEventServer()
{
    StopEventServer();
    StartEventServer();
}

void FireEvent(LPCWSTR source, LPCWSTR message, DWORD category, DWORD severity)
{
    std::shared_ptr<CAeSource> s = Source(false);
    if (!s)
        return;
    EventRecord event = MakeEvent(source, message, category, severity, s->NextCookie());
    s->m_thread->Call([&] { s->Raise(event); });
}
} // namespace OpcStandIn
