// Class factories, the process-wide class registry (class id, ProgID, user type, component
// categories) and object creation: CoCreateInstance, CoCreateInstanceEx with a computer name,
// CLSIDFromProgID, ProgIDFromCLSID.
//
// Classes live in this process; a computer name that is empty or names this machine
// (GetComputerNameW, "localhost", "127.0.0.1", case ignored) creates locally. Any other computer is
// unreachable: the call fails with RPC_S_SERVER_UNAVAILABLE after a short wait.
#pragma once

#include "com/ComObject.h"
#include "com/Enumerators.h"

#include <functional>
#include <string>
#include <vector>

#ifndef RPC_S_SERVER_UNAVAILABLE
#define RPC_S_SERVER_UNAVAILABLE ((HRESULT)0x800706BAL)
#endif
#ifndef RPC_E_DISCONNECTED
#define RPC_E_DISCONNECTED ((HRESULT)0x80010108L)
#endif
#ifndef REGDB_E_CLASSNOTREG
#define REGDB_E_CLASSNOTREG ((HRESULT)0x80040154L)
#endif
#ifndef CLASS_E_NOAGGREGATION
#define CLASS_E_NOAGGREGATION ((HRESULT)0x80040110L)
#endif
#ifndef CLASS_E_CLASSNOTAVAILABLE
#define CLASS_E_CLASSNOTAVAILABLE ((HRESULT)0x80040111L)
#endif
#ifndef CO_E_CLASSSTRING
#define CO_E_CLASSSTRING ((HRESULT)0x800401F3L)
#endif
#ifndef REGDB_E_READREGDB
#define REGDB_E_READREGDB ((HRESULT)0x80040150L)
#endif

typedef GUID CATID;
typedef const GUID& REFCATID;
typedef CLSID* LPCLSID;

// Class contexts.
#define CLSCTX_INPROC_SERVER 0x1
#define CLSCTX_INPROC_HANDLER 0x2
#define CLSCTX_LOCAL_SERVER 0x4
#define CLSCTX_REMOTE_SERVER 0x10
#define CLSCTX_INPROC (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER)
#define CLSCTX_SERVER (CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER)
#define CLSCTX_ALL (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER)

// CoRegisterClassObject flags.
#define REGCLS_SINGLEUSE 0
#define REGCLS_MULTIPLEUSE 1

struct COAUTHINFO; // authentication data is not used
struct COSERVERINFO
{
    DWORD dwReserved1;
    LPWSTR pwszName;
    COAUTHINFO* pAuthInfo;
    DWORD dwReserved2;
};
struct MULTI_QI
{
    const IID* pIID;
    IUnknown* pItf;
    HRESULT hr;
};

inline const IID IID_IClassFactory = {
    0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

class IClassFactory : public IUnknown
{
public:
    static const IID& Iid() { return IID_IClassFactory; }
    virtual HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) = 0;
    virtual HRESULT STDMETHODCALLTYPE LockServer(BOOL fLock) = 0;
};
typedef IClassFactory* LPCLASSFACTORY;

// A factory that makes each object with a function; aggregation is refused.
class CClassFactory : public CComObjectImpl<IClassFactory>
{
public:
    typedef std::function<HRESULT(REFIID riid, void** ppv)> Creator;
    explicit CClassFactory(Creator creator) : m_creator(std::move(creator)) {}

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL fLock) override;
    LONG GetLockCount() const { return m_locks.load(); }

private:
    Creator m_creator;
    std::atomic<LONG> m_locks{0};
};

// What the registry knows of a class: the published part (ProgID, user type, categories) and,
// once the class object is registered, its factory.
struct CLASSREGINFO
{
    CLSID clsid;
    std::wstring progId;
    std::wstring userType;
    std::vector<CATID> categories;
};

// Process-wide and thread-safe.
class CClassRegistry
{
public:
    static CClassRegistry& Instance();

    // Adds or replaces the published description of a class.
    void AddClass(const CLASSREGINFO& info);
    // Takes the description and the class object away.
    void RemoveClass(REFCLSID clsid);
    BOOL FindClass(REFCLSID clsid, CLASSREGINFO* info) const;
    // ProgIDs compare without regard to case.
    BOOL FindProgID(LPCWSTR progId, CLSID* clsid) const;
    // Classes that implement at least one of the implemented categories (all classes when
    // cImplemented is (ULONG)-1), in registration order.
    std::vector<CLSID> ClassesOfCategories(ULONG cImplemented, const CATID* implemented) const;

    HRESULT RegisterClassObject(REFCLSID clsid, IUnknown* factory, DWORD* cookie);
    HRESULT RevokeClassObject(DWORD cookie);
    HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** ppv) const;

private:
    CClassRegistry() = default;
    struct Impl;
    Impl& Data() const;
};

// True when the name is empty or names this computer.
BOOL QyrIsLocalComputer(LPCWSTR name);

HRESULT CoRegisterClassObject(REFCLSID rclsid, IUnknown* pUnk, DWORD dwClsContext, DWORD flags,
                              LPDWORD lpdwRegister);
HRESULT CoRevokeClassObject(DWORD dwRegister);
HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, COSERVERINFO* pServerInfo, REFIID riid,
                         LPVOID* ppv);
HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID* ppv);
HRESULT CoCreateInstanceEx(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsCtx, COSERVERINFO* pServerInfo,
                           DWORD dwCount, MULTI_QI* pResults);
HRESULT CLSIDFromProgID(LPCOLESTR lpszProgID, LPCLSID lpclsid);
// The ProgID in task memory (CoTaskMemFree it).
HRESULT ProgIDFromCLSID(REFCLSID clsid, LPOLESTR* lplpszProgID);
