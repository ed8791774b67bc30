#include "opc/OPCShutDownRequest.h"

#include "opc/InfoServer.h"
#include "opc/Item.h"

COPCShutDownRequest::COPCShutDownRequest() = default;

COPCShutDownRequest::~COPCShutDownRequest() = default;

BOOL COPCShutDownRequest::Advise(CInfoServer* server)
{
    if (!server || server->GetOPCVersion() < 2.0f)
        return FALSE;
    CComPtr<IUnknown> unknown = server->GetInterface();
    CComPtr<IConnectionPointContainer> container;
    HRESULT hr =
        unknown ? unknown->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container))
                : E_NOINTERFACE;
    if (FAILED(hr))
    {
        server->DisplayError(hr);
        return FALSE;
    }
    CComPtr<IConnectionPoint> point;
    if (FAILED(container->FindConnectionPoint(IID_IOPCShutdown, &point)) || !point)
        return FALSE;
    DWORD cookie = 0;
    if (FAILED(point->Advise(GetUnknown(), &cookie)))
        return FALSE;
    m_dwCookie = cookie;
    return TRUE;
}

BOOL COPCShutDownRequest::Unadvise(CInfoServer* server)
{
    if (!server || !server->IsConnected())
    {
        m_dwCookie = 0;
        return FALSE;
    }
    CComPtr<IUnknown> unknown = server->GetInterface();
    CComPtr<IConnectionPointContainer> container;
    HRESULT hr =
        unknown ? unknown->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container))
                : E_NOINTERFACE;
    if (FAILED(hr))
    {
        server->DisplayError(hr);
        return FALSE;
    }
    if (m_dwCookie == 0)
        return FALSE;
    CComPtr<IConnectionPoint> point;
    if (FAILED(container->FindConnectionPoint(IID_IOPCShutdown, &point)) || !point)
        return FALSE;
    if (FAILED(point->Unadvise(m_dwCookie)))
        return FALSE;
    m_dwCookie = 0;
    return TRUE;
}
