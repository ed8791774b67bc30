#include "opc/ShutdownRequest.h"

CShutdownRequest::CShutdownRequest() = default;

CShutdownRequest::~CShutdownRequest() = default;

BOOL CShutdownRequest::Advise(IUnknown* server)
{
    if (!server)
        return FALSE;
    CComPtr<IConnectionPointContainer> container;
    if (FAILED(server->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container))))
        return FALSE;
    CComPtr<IConnectionPoint> point;
    if (FAILED(container->FindConnectionPoint(IID_IOPCShutdown, &point)) || !point)
        return FALSE;
    DWORD cookie = 0;
    if (FAILED(point->Advise(GetUnknown(), &cookie)))
        return FALSE;
    m_dwCookie = cookie;
    return TRUE;
}

HRESULT STDMETHODCALLTYPE CShutdownRequest::ShutdownRequest(LPCWSTR)
{
    return S_OK;
}
