#include "com/ConnectionPoint.h"

#include <algorithm>

// Connection points this thread is calling sinks of, so Unadvise from a sink does not wait on itself.
static thread_local std::vector<const CConnectionPoint*> t_firing;

CConnectionPoint::CConnectionPoint(IConnectionPointContainer* container, REFIID iid, size_t maxConnections)
    : m_container(container), m_iid(iid), m_maxConnections(maxConnections)
{
}

CConnectionPoint::~CConnectionPoint()
{
    for (Connection& c : m_connections)
    {
        if (c.sink)
            c.sink->Release();
    }
}

HRESULT STDMETHODCALLTYPE CConnectionPoint::GetConnectionInterface(IID* pIID)
{
    if (!pIID)
        return E_POINTER;
    *pIID = m_iid;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** ppCPC)
{
    if (!ppCPC)
        return E_POINTER;
    std::lock_guard lock(m_mutex);
    *ppCPC = m_container;
    if (!m_container)
        return E_UNEXPECTED;
    m_container->AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CConnectionPoint::Advise(IUnknown* pUnkSink, DWORD* pdwCookie)
{
    if (!pdwCookie)
        return E_POINTER;
    *pdwCookie = 0;
    if (!pUnkSink)
        return E_POINTER;
    IUnknown* sink = nullptr;
    if (FAILED(pUnkSink->QueryInterface(m_iid, reinterpret_cast<void**>(&sink))) || !sink)
        return CONNECT_E_CANNOTCONNECT;
    std::lock_guard lock(m_mutex);
    size_t live = std::count_if(m_connections.begin(), m_connections.end(),
                                [](const Connection& c) { return !c.removed; });
    if (m_maxConnections && live >= m_maxConnections)
    {
        sink->Release();
        return CONNECT_E_ADVISELIMIT;
    }
    Connection c;
    c.cookie = m_nextCookie++;
    if (m_nextCookie == 0)
        m_nextCookie = 1;
    c.sink = sink;
    m_connections.push_back(c);
    *pdwCookie = c.cookie;
    return S_OK;
}

bool CConnectionPoint::FiringOnThisThread() const
{
    return std::find(t_firing.begin(), t_firing.end(), this) != t_firing.end();
}

HRESULT STDMETHODCALLTYPE CConnectionPoint::Unadvise(DWORD dwCookie)
{
    IUnknown* sink = nullptr;
    {
        std::unique_lock lock(m_mutex);
        auto it = std::find_if(m_connections.begin(), m_connections.end(),
                               [&](const Connection& c) { return c.cookie == dwCookie && !c.removed; });
        if (dwCookie == 0 || it == m_connections.end())
            return CONNECT_E_NOCONNECTION;
        it->removed = true;
        if (it->busy && !FiringOnThisThread())
        {
            it->waiter = true;
            m_idle.wait(lock, [&] { return it->busy == 0; });
        }
        if (it->busy == 0)
        {
            sink = it->sink;
            m_connections.erase(it);
        }
        // Otherwise this thread is inside a call to the sink: EndFire drops the connection.
    }
    if (sink)
        sink->Release();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CConnectionPoint::EnumConnections(IEnumConnections** ppEnum)
{
    if (ppEnum)
        *ppEnum = nullptr;
    return E_NOTIMPL;
}

void CConnectionPoint::DetachContainer()
{
    std::lock_guard lock(m_mutex);
    m_container = nullptr;
}

size_t CConnectionPoint::GetConnectionCount() const
{
    std::lock_guard lock(m_mutex);
    return std::count_if(m_connections.begin(), m_connections.end(),
                         [](const Connection& c) { return !c.removed; });
}

void CConnectionPoint::UnadviseAll()
{
    std::vector<DWORD> cookies;
    {
        std::lock_guard lock(m_mutex);
        for (const Connection& c : m_connections)
        {
            if (!c.removed)
                cookies.push_back(c.cookie);
        }
    }
    for (DWORD cookie : cookies)
        Unadvise(cookie);
}

std::vector<CConnectionPoint::Connection> CConnectionPoint::BeginFire()
{
    std::vector<Connection> calls;
    std::lock_guard lock(m_mutex);
    for (Connection& c : m_connections)
    {
        if (c.removed)
            continue;
        ++c.busy;
        c.sink->AddRef();
        calls.push_back(c);
    }
    t_firing.push_back(this);
    return calls;
}

void CConnectionPoint::EndFire(std::vector<Connection>& calls)
{
    std::vector<IUnknown*> release;
    {
        std::lock_guard lock(m_mutex);
        t_firing.erase(std::find(t_firing.begin(), t_firing.end(), this));
        for (const Connection& call : calls)
        {
            release.push_back(call.sink);
            auto it = std::find_if(m_connections.begin(), m_connections.end(),
                                   [&](const Connection& c) { return c.cookie == call.cookie; });
            if (it == m_connections.end())
                continue;
            if (--it->busy == 0 && it->removed && !it->waiter)
            {
                // Unadvised during the call: by the sink itself, or a waiter is woken below.
                release.push_back(it->sink);
                m_connections.erase(it);
            }
        }
        m_idle.notify_all();
    }
    for (IUnknown* sink : release)
        sink->Release();
}

CConnectionPoint* CConnectionPointList::Add(IConnectionPointContainer* container, REFIID iid,
                                            size_t maxConnections)
{
    m_points.push_back(QyrNewObject<CConnectionPoint>(container, iid, maxConnections));
    return m_points.back();
}

CConnectionPoint* CConnectionPointList::Add(CConnectionPoint* point)
{
    m_points.emplace_back(point);
    return m_points.back();
}

CConnectionPoint* CConnectionPointList::Get(REFIID iid) const
{
    for (const auto& point : m_points)
    {
        IID id;
        point->GetConnectionInterface(&id);
        if (id == iid)
            return point;
    }
    return nullptr;
}

HRESULT CConnectionPointList::Find(REFIID iid, IConnectionPoint** ppCP) const
{
    if (!ppCP)
        return E_POINTER;
    *ppCP = nullptr;
    CConnectionPoint* point = Get(iid);
    if (!point)
        return CONNECT_E_NOCONNECTION;
    point->AddRef();
    *ppCP = point;
    return S_OK;
}

CConnectionPointList::~CConnectionPointList()
{
    Detach();
}

void CConnectionPointList::Detach()
{
    for (auto& point : m_points)
        point->DetachContainer();
}
