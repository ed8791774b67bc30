#include "symbols/NewMethodHost.h"

#include "com/ClassRegistry.h"
#include "com/ComPtr.h"

#include <mutex>

IMPLEMENT_DYNCREATE(CNewMethodHost, CXVKMethodHost)

BEGIN_MESSAGE_MAP(CNewMethodHost, CXVKMethodHost)
END_MESSAGE_MAP()

BEGIN_DISPATCH_MAP(CNewMethodHost, CXVKMethodHost)
END_DISPATCH_MAP()

namespace
{
std::mutex g_lock;
DWORD g_dwCookie = 0;
} // namespace

CNewMethodHost::CNewMethodHost()
{
    EnableAutomation();
    AfxOleLockApp();
}

CNewMethodHost::~CNewMethodHost()
{
    AfxOleUnlockApp();
}

BOOL CNewMethodHost::IsDispatchIID(REFIID riid) const
{
    return IsEqualIID(riid, IID_INewMethodHost) || CXVKMethodHost::IsDispatchIID(riid);
}

BOOL CNewMethodHost::RegisterClassFactory(CRuntimeClass* pClass)
{
    if (!pClass)
        pClass = RUNTIME_CLASS(CNewMethodHost);
    if (!pClass->IsDerivedFrom(RUNTIME_CLASS(CNewMethodHost)))
        return FALSE;
    CComPtr<CClassFactory> factory = QyrNewObject<CClassFactory>(
        [pClass](REFIID riid, void** ppv) -> HRESULT
        {
            auto* host = dynamic_cast<CNewMethodHost*>(pClass->CreateObject());
            if (!host)
                return E_OUTOFMEMORY;
            // The creator's reference goes once the caller holds its own.
            const HRESULT hr = host->ExternalQueryInterface(riid, ppv);
            host->ExternalRelease();
            return hr;
        });
    CLASSREGINFO info;
    info.clsid = CLSID_NewMethodHost;
    info.progId = L"Quendrel.MethodHost";
    info.userType = L"Quendrel Method Host";
    std::lock_guard<std::mutex> guard(g_lock);
    if (g_dwCookie)
        CoRevokeClassObject(g_dwCookie);
    g_dwCookie = 0;
    CClassRegistry::Instance().AddClass(info);
    return SUCCEEDED(CoRegisterClassObject(CLSID_NewMethodHost, factory->GetUnknown(), CLSCTX_INPROC_SERVER,
                                           REGCLS_MULTIPLEUSE, &g_dwCookie));
}

void CNewMethodHost::RevokeClassFactory()
{
    std::lock_guard<std::mutex> guard(g_lock);
    if (g_dwCookie)
        CoRevokeClassObject(g_dwCookie);
    g_dwCookie = 0;
    CClassRegistry::Instance().RemoveClass(CLSID_NewMethodHost);
}
