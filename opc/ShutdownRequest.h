// CShutdownRequest: the IOPCShutdown sink a client advises on a server, which calls it before it
// shuts down. The request is only acknowledged: the client learns of the loss through failing calls.
#pragma once

#include "com/ComObject.h"
#include "opcsdk/OpcDa.h"

class CShutdownRequest : public CComObjectImpl<IOPCShutdown>
{
public:
    CShutdownRequest();
    ~CShutdownRequest() override;

    // Advises this sink on the server's IOPCShutdown connection point and keeps the cookie.
    BOOL Advise(IUnknown* server);
    DWORD GetCookie() const { return m_dwCookie; }

    HRESULT STDMETHODCALLTYPE ShutdownRequest(LPCWSTR szReason) override;

protected:
    DWORD m_dwCookie = 0;
};
