// Connection points: IConnectionPointContainer and IConnectionPoint, and the objects a source uses
// to keep its sinks and call them.
//
// A source fires from any thread: the sinks are called outside every lock, each with a reference
// held for the call. Unadvise, called on another thread, waits until calls in progress to that sink
// have returned, so after it no call reaches the sink. (A sink that unadvises itself during a call
// does not wait.) Do not hold a lock that the sink takes while calling Unadvise.
#pragma once

#include "com/ComObject.h"

#include <condition_variable>
#include <list>
#include <mutex>
#include <vector>

#ifndef CONNECT_E_NOCONNECTION
#define CONNECT_E_NOCONNECTION ((HRESULT)0x80040200L)
#endif
#ifndef CONNECT_E_ADVISELIMIT
#define CONNECT_E_ADVISELIMIT ((HRESULT)0x80040201L)
#endif
#ifndef CONNECT_E_CANNOTCONNECT
#define CONNECT_E_CANNOTCONNECT ((HRESULT)0x80040202L)
#endif

inline const IID IID_IConnectionPointContainer = {
    0xB196B284, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline const IID IID_IConnectionPoint = {
    0xB196B286, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};

class IConnectionPoint;
class IEnumConnections;      // not offered: EnumConnections returns E_NOTIMPL
class IEnumConnectionPoints; // not offered: EnumConnectionPoints returns E_NOTIMPL

class IConnectionPointContainer : public IUnknown
{
public:
    static const IID& Iid() { return IID_IConnectionPointContainer; }
    virtual HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** ppEnum) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) = 0;
};
typedef IConnectionPointContainer* LPCONNECTIONPOINTCONTAINER;

class IConnectionPoint : public IUnknown
{
public:
    static const IID& Iid() { return IID_IConnectionPoint; }
    virtual HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* pIID) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** ppCPC) = 0;
    virtual HRESULT STDMETHODCALLTYPE Advise(IUnknown* pUnkSink, DWORD* pdwCookie) = 0;
    virtual HRESULT STDMETHODCALLTYPE Unadvise(DWORD dwCookie) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** ppEnum) = 0;
};
typedef IConnectionPoint* LPCONNECTIONPOINT;

// One connection point of a container. The container is not counted: it detaches itself on
// destruction, after which GetConnectionPointContainer fails.
class CConnectionPoint : public CComObjectImpl<IConnectionPoint>
{
public:
    // maxConnections 0: no limit.
    CConnectionPoint(IConnectionPointContainer* container, REFIID iid, size_t maxConnections = 0);
    ~CConnectionPoint() override;

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* pIID) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** ppCPC) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* pUnkSink, DWORD* pdwCookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD dwCookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** ppEnum) override;

    void DetachContainer();
    size_t GetConnectionCount() const;
    BOOL IsConnected() const { return GetConnectionCount() != 0; }
    // Drops every connection (waiting for calls in progress as Unadvise does).
    void UnadviseAll();

    // Calls fn(Sink*) for each sink, outside the lock. The sinks were asked for the connection
    // interface at Advise, so Sink is that interface. Returns the number of sinks called.
    template <class Sink, class Fn> size_t Fire(Fn&& fn)
    {
        std::vector<Connection> calls = BeginFire();
        for (const Connection& c : calls)
            fn(static_cast<Sink*>(c.sink));
        EndFire(calls);
        return calls.size();
    }

private:
    struct Connection
    {
        DWORD cookie = 0;
        IUnknown* sink = nullptr; // counted; the connection interface
        int busy = 0;
        bool removed = false;
        bool waiter = false; // an Unadvise waits to drop it
    };
    std::vector<Connection> BeginFire();
    void EndFire(std::vector<Connection>& calls);
    bool FiringOnThisThread() const;

    mutable std::mutex m_mutex;
    std::condition_variable m_idle;
    IConnectionPointContainer* m_container;
    IID m_iid;
    size_t m_maxConnections;
    DWORD m_nextCookie = 1;
    std::list<Connection> m_connections;
};

// The connection points of one container object, which forwards FindConnectionPoint here and
// calls Detach in its destructor. The points themselves live as long as the list (and whoever
// holds them), so a source may go on firing after its container is gone.
class CConnectionPointList
{
public:
    CConnectionPointList() = default;
    CConnectionPointList(const CConnectionPointList&) = delete;
    CConnectionPointList& operator=(const CConnectionPointList&) = delete;
    ~CConnectionPointList();

    CConnectionPoint* Add(IConnectionPointContainer* container, REFIID iid, size_t maxConnections = 0);
    // Adds a connection point made by the caller (a subclass, say).
    CConnectionPoint* Add(CConnectionPoint* point);
    CConnectionPoint* Get(REFIID iid) const;
    HRESULT Find(REFIID iid, IConnectionPoint** ppCP) const;
    // The container is going: the points no longer name it.
    void Detach();

private:
    std::vector<CComPtr<CConnectionPoint>> m_points;
};
