// CSubscription: the event subscription of one alarms-and-events connection and its sink. The
// server calls OnEvent on its own thread; each event is copied into a CEventData and posted to
// the current alarm document's window as WM_ALARM_EVENT, under the alarm document's lock.
#pragma once

#include "com/ComObject.h"
#include "opcsdk/OpcAe.h"

#include <mutex>

class CSubscription : public CComObjectImpl<IOPCEventSink>
{
public:
    CSubscription();
    ~CSubscription() override;

    // Creates the subscription on the server, advises this sink on it and selects the returned
    // attributes of the condition categories. FALSE when the subscription or the advise fails.
    BOOL Initialize(IOPCEventServer* pServer, DWORD dwBufferTime, DWORD dwMaxSize);
    // Leaves the subscription: releases it and unadvises the sink; failures are ignored.
    void Shutdown();
    // Asks the server to send its active conditions again; a failure is ignored.
    void Refresh();

    HRESULT STDMETHODCALLTYPE OnEvent(OPCHANDLE hClientSubscription, BOOL bRefresh, BOOL bLastRefresh,
                                      DWORD dwCount, ONEVENTSTRUCT* pEvents) override;

    DWORD GetRevisedBufferTime() const { return m_dwRevisedBufferTime; }
    DWORD GetRevisedMaxSize() const { return m_dwRevisedMaxSize; }
    DWORD GetCookie() const { return m_dwCookie; }

protected:
    std::mutex m_cs;
    IOPCEventSubscriptionMgt* m_pSubscriptionMgt = nullptr;
    DWORD m_dwRevisedMaxSize = 0;
    DWORD m_dwRevisedBufferTime = 0;
    DWORD m_dwCookie = 0;

private:
    BOOL FindSinkPoint(IConnectionPoint** ppPoint);
};
