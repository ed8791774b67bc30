#include "com/ClassRegistry.h"

#include "com/ComBase.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <cwctype>
#include <mutex>
#include <thread>
#include <unistd.h>

// How long a call to an unknown computer waits before it gives up.
static constexpr int kUnreachableWaitMs = 100;

HRESULT STDMETHODCALLTYPE CClassFactory::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject)
{
    if (!ppvObject)
        return E_POINTER;
    *ppvObject = nullptr;
    if (pUnkOuter)
        return CLASS_E_NOAGGREGATION;
    return m_creator(riid, ppvObject);
}

HRESULT STDMETHODCALLTYPE CClassFactory::LockServer(BOOL fLock)
{
    if (fLock)
        ++m_locks;
    else
        --m_locks;
    return S_OK;
}

struct CClassRegistry::Impl
{
    struct Object
    {
        DWORD cookie;
        CLSID clsid;
        CComPtr<IUnknown> factory;
    };
    mutable std::mutex mutex;
    std::vector<CLASSREGINFO> classes;
    std::vector<Object> objects;
    DWORD nextCookie = 1;
};

CClassRegistry& CClassRegistry::Instance()
{
    static CClassRegistry registry;
    return registry;
}

// Kept for the process, like the objects it makes, which other threads may still use at exit.
CClassRegistry::Impl& CClassRegistry::Data() const
{
    static auto* data = new Impl;
    return *data;
}

static bool SameNoCase(const std::wstring& a, LPCWSTR b)
{
    size_t n = std::wcslen(b);
    if (a.size() != n)
        return false;
    for (size_t i = 0; i < n; ++i)
    {
        if (std::towlower(a[i]) != std::towlower(b[i]))
            return false;
    }
    return true;
}

void CClassRegistry::AddClass(const CLASSREGINFO& info)
{
    Impl& d = Data();
    std::lock_guard lock(d.mutex);
    for (CLASSREGINFO& c : d.classes)
    {
        if (c.clsid == info.clsid)
        {
            c = info;
            return;
        }
    }
    d.classes.push_back(info);
}

void CClassRegistry::RemoveClass(REFCLSID clsid)
{
    Impl& d = Data();
    std::vector<Impl::Object> dropped;
    {
        std::lock_guard lock(d.mutex);
        std::erase_if(d.classes, [&](const CLASSREGINFO& c) { return c.clsid == clsid; });
        for (auto it = d.objects.begin(); it != d.objects.end();)
        {
            if (it->clsid == clsid)
            {
                dropped.push_back(std::move(*it));
                it = d.objects.erase(it);
            }
            else
                ++it;
        }
    }
    // The factories are released outside the lock.
}

BOOL CClassRegistry::FindClass(REFCLSID clsid, CLASSREGINFO* info) const
{
    Impl& d = Data();
    std::lock_guard lock(d.mutex);
    for (const CLASSREGINFO& c : d.classes)
    {
        if (c.clsid == clsid)
        {
            if (info)
                *info = c;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CClassRegistry::FindProgID(LPCWSTR progId, CLSID* clsid) const
{
    if (!progId || !*progId)
        return FALSE;
    Impl& d = Data();
    std::lock_guard lock(d.mutex);
    for (const CLASSREGINFO& c : d.classes)
    {
        if (SameNoCase(c.progId, progId))
        {
            if (clsid)
                *clsid = c.clsid;
            return TRUE;
        }
    }
    return FALSE;
}

std::vector<CLSID> CClassRegistry::ClassesOfCategories(ULONG cImplemented, const CATID* implemented) const
{
    Impl& d = Data();
    std::lock_guard lock(d.mutex);
    std::vector<CLSID> found;
    for (const CLASSREGINFO& c : d.classes)
    {
        bool match = cImplemented == ULONG(-1);
        for (ULONG i = 0; !match && implemented && i < cImplemented; ++i)
            match = std::find(c.categories.begin(), c.categories.end(), implemented[i]) != c.categories.end();
        if (match)
            found.push_back(c.clsid);
    }
    return found;
}

HRESULT CClassRegistry::RegisterClassObject(REFCLSID clsid, IUnknown* factory, DWORD* cookie)
{
    if (!factory || !cookie)
        return E_INVALIDARG;
    Impl& d = Data();
    std::lock_guard lock(d.mutex);
    *cookie = d.nextCookie++;
    d.objects.push_back(Impl::Object{*cookie, clsid, CComPtr<IUnknown>(factory)});
    return S_OK;
}

HRESULT CClassRegistry::RevokeClassObject(DWORD cookie)
{
    Impl& d = Data();
    CComPtr<IUnknown> factory;
    std::lock_guard lock(d.mutex);
    for (auto it = d.objects.begin(); it != d.objects.end(); ++it)
    {
        if (it->cookie == cookie)
        {
            factory = std::move(it->factory);
            d.objects.erase(it);
            return S_OK;
        }
    }
    return E_INVALIDARG;
}

HRESULT CClassRegistry::GetClassObject(REFCLSID clsid, REFIID riid, void** ppv) const
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    CComPtr<IUnknown> factory;
    {
        Impl& d = Data();
        std::lock_guard lock(d.mutex);
        // The latest registration wins.
        for (auto it = d.objects.rbegin(); it != d.objects.rend(); ++it)
        {
            if (it->clsid == clsid)
            {
                factory = it->factory;
                break;
            }
        }
    }
    if (!factory)
        return REGDB_E_CLASSNOTREG;
    return factory->QueryInterface(riid, ppv);
}

BOOL QyrIsLocalComputer(LPCWSTR name)
{
    if (!name || !*name)
        return TRUE;
    std::wstring n(name);
    // "\\host" is the same computer as "host".
    while (!n.empty() && (n[0] == L'\\' || n[0] == L'/'))
        n.erase(0, 1);
    if (n.empty() || SameNoCase(n, L"localhost") || n == L"127.0.0.1" || n == L"::1")
        return TRUE;
    char host[256] = {};
    if (gethostname(host, sizeof(host) - 1) != 0)
        return FALSE;
    std::wstring h;
    for (const char* p = host; *p; ++p)
        h.push_back(wchar_t(static_cast<unsigned char>(*p)));
    if (SameNoCase(h, n.c_str()))
        return TRUE;
    // The short name of a fully qualified host name, and the other way round.
    std::wstring hs = h.substr(0, h.find(L'.'));
    std::wstring ns = n.substr(0, n.find(L'.'));
    return SameNoCase(hs, ns.c_str()) && (hs.size() == h.size() || ns.size() == n.size());
}

static HRESULT Unreachable()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(kUnreachableWaitMs));
    return RPC_S_SERVER_UNAVAILABLE;
}

HRESULT CoRegisterClassObject(REFCLSID rclsid, IUnknown* pUnk, DWORD, DWORD, LPDWORD lpdwRegister)
{
    return CClassRegistry::Instance().RegisterClassObject(rclsid, pUnk, lpdwRegister);
}

HRESULT CoRevokeClassObject(DWORD dwRegister)
{
    return CClassRegistry::Instance().RevokeClassObject(dwRegister);
}

HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, COSERVERINFO* pServerInfo, REFIID riid,
                         LPVOID* ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if ((dwClsContext & CLSCTX_ALL) == 0)
        return E_INVALIDARG;
    if (pServerInfo && !QyrIsLocalComputer(pServerInfo->pwszName))
        return Unreachable();
    return CClassRegistry::Instance().GetClassObject(rclsid, riid, ppv);
}

HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID* ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (pUnkOuter)
        return CLASS_E_NOAGGREGATION;
    CComPtr<IClassFactory> factory;
    HRESULT hr = CoGetClassObject(rclsid, dwClsContext, nullptr, IID_IClassFactory,
                                  reinterpret_cast<void**>(&factory));
    if (FAILED(hr))
        return hr;
    return factory->CreateInstance(nullptr, riid, ppv);
}

#ifndef CO_S_NOTALLINTERFACES
#define CO_S_NOTALLINTERFACES ((HRESULT)0x00080012L)
#endif

HRESULT CoCreateInstanceEx(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsCtx, COSERVERINFO* pServerInfo,
                           DWORD dwCount, MULTI_QI* pResults)
{
    if (dwCount == 0 || !pResults)
        return E_INVALIDARG;
    for (DWORD i = 0; i < dwCount; ++i)
    {
        pResults[i].pItf = nullptr;
        pResults[i].hr = E_NOINTERFACE;
        if (!pResults[i].pIID)
            return E_INVALIDARG;
    }
    HRESULT hr = S_OK;
    if (pUnkOuter)
        hr = CLASS_E_NOAGGREGATION;
    else if (pServerInfo && !QyrIsLocalComputer(pServerInfo->pwszName))
        hr = Unreachable();
    IUnknown* object = nullptr;
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(rclsid, nullptr, dwClsCtx, IID_IUnknown, reinterpret_cast<void**>(&object));
    if (FAILED(hr))
    {
        for (DWORD i = 0; i < dwCount; ++i)
            pResults[i].hr = hr;
        return hr;
    }
    DWORD got = 0;
    for (DWORD i = 0; i < dwCount; ++i)
    {
        pResults[i].hr =
            object->QueryInterface(*pResults[i].pIID, reinterpret_cast<void**>(&pResults[i].pItf));
        if (SUCCEEDED(pResults[i].hr))
            ++got;
        else
            pResults[i].pItf = nullptr;
    }
    object->Release();
    if (got == 0)
        return E_NOINTERFACE;
    return got == dwCount ? S_OK : CO_S_NOTALLINTERFACES;
}

HRESULT CLSIDFromProgID(LPCOLESTR lpszProgID, LPCLSID lpclsid)
{
    if (!lpszProgID || !lpclsid)
        return E_INVALIDARG;
    if (CClassRegistry::Instance().FindProgID(lpszProgID, lpclsid))
        return S_OK;
    *lpclsid = GUID_NULL;
    return CO_E_CLASSSTRING;
}

HRESULT ProgIDFromCLSID(REFCLSID clsid, LPOLESTR* lplpszProgID)
{
    if (!lplpszProgID)
        return E_INVALIDARG;
    *lplpszProgID = nullptr;
    CLASSREGINFO info;
    if (!CClassRegistry::Instance().FindClass(clsid, &info) || info.progId.empty())
        return REGDB_E_CLASSNOTREG;
    size_t bytes = (info.progId.size() + 1) * sizeof(OLECHAR);
    auto* p = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (!p)
        return E_OUTOFMEMORY;
    std::memcpy(p, info.progId.c_str(), bytes);
    *lplpszProgID = p;
    return S_OK;
}
