#include "opc/Subscription.h"

#include "opc/AlarmDoc.h"
#include "opc/EventData.h"

#include "mfc/Wnd.h"

namespace
{
// The condition categories whose attributes the alarm display asks for, and the attributes.
const DWORD kCategories[] = {3, 4};
DWORD kAttributeIds[] = {0, 1, 2, 3};
} // namespace

CSubscription::CSubscription() = default;

CSubscription::~CSubscription()
{
    if (m_pSubscriptionMgt)
        m_pSubscriptionMgt->Release();
}

BOOL CSubscription::FindSinkPoint(IConnectionPoint** ppPoint)
{
    *ppPoint = nullptr;
    if (!m_pSubscriptionMgt)
        return FALSE;
    CComPtr<IConnectionPointContainer> container;
    if (FAILED(m_pSubscriptionMgt->QueryInterface(IID_IConnectionPointContainer,
                                                  reinterpret_cast<void**>(&container))) ||
        !container)
        return FALSE;
    return SUCCEEDED(container->FindConnectionPoint(IID_IOPCEventSink, ppPoint)) && *ppPoint;
}

BOOL CSubscription::Initialize(IOPCEventServer* pServer, DWORD dwBufferTime, DWORD dwMaxSize)
{
    if (!pServer)
        return FALSE;
    std::lock_guard lock(m_cs);
    IUnknown* unknown = nullptr;
    if (FAILED(pServer->CreateEventSubscription(TRUE, dwBufferTime, dwMaxSize, 0,
                                                IID_IOPCEventSubscriptionMgt, &unknown,
                                                &m_dwRevisedBufferTime, &m_dwRevisedMaxSize)) ||
        !unknown)
        return FALSE;
    m_pSubscriptionMgt = static_cast<IOPCEventSubscriptionMgt*>(unknown);

    CComPtr<IConnectionPoint> point;
    DWORD cookie = 0;
    if (!FindSinkPoint(&point) || FAILED(point->Advise(static_cast<IOPCEventSink*>(this), &cookie)))
        return FALSE;
    m_dwCookie = cookie;

    for (DWORD category : kCategories)
    {
        if (FAILED(m_pSubscriptionMgt->SelectReturnedAttributes(category, DWORD(std::size(kAttributeIds)),
                                                                kAttributeIds)))
            return TRUE;
        DWORD count = 0;
        DWORD* ids = nullptr;
        const HRESULT hr = m_pSubscriptionMgt->GetReturnedAttributes(category, &count, &ids);
        CoTaskMemFree(ids);
        if (FAILED(hr))
            return FALSE;
    }
    return TRUE;
}

void CSubscription::Shutdown()
{
    std::lock_guard lock(m_cs);
    CComPtr<IConnectionPoint> point;
    FindSinkPoint(&point);
    if (m_pSubscriptionMgt)
    {
        m_pSubscriptionMgt->Release();
        m_pSubscriptionMgt = nullptr;
    }
    if (point && m_dwCookie)
        point->Unadvise(m_dwCookie);
    m_dwCookie = 0;
}

void CSubscription::Refresh()
{
    std::lock_guard lock(m_cs);
    if (m_pSubscriptionMgt)
        m_pSubscriptionMgt->Refresh(m_dwCookie);
}

HRESULT STDMETHODCALLTYPE CSubscription::OnEvent(OPCHANDLE, BOOL bRefresh, BOOL bLastRefresh, DWORD dwCount,
                                                 ONEVENTSTRUCT* pEvents)
{
    if (bLastRefresh && dwCount == 0)
        return S_OK;
    CLockEventDocument lock(&CAlarmDoc::m_mutexDoc);
    lock.Lock(INFINITE);
    CAlarmDoc* pDoc = CAlarmDoc::GetCurrentLocked();
    const HWND hWnd = pDoc ? pDoc->GetViewHwndLocked() : nullptr;
    if (!hWnd)
        return S_FALSE;
    if (!pEvents)
        return S_OK;
    for (DWORD i = 0; i < dwCount; ++i)
    {
        auto* pData = new CEventData(pEvents[i]);
        pData->m_bRefresh = bRefresh;
        if (!::PostMessage(hWnd, WM_ALARM_EVENT, reinterpret_cast<WPARAM>(pData), 0))
        {
            // The window is gone: this event and the rest of the call are dropped.
            delete pData;
            break;
        }
    }
    return S_OK;
}
