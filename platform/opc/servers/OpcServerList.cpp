// The server-list service over the class registry.
#include "opcsdk/OpcDa.h"
#include "opcsdk/servers/StandInClass.h"
#include "opcsdk/servers/StandInUtil.h"

namespace
{
class COpcServerList : public CComObjectImpl<IOPCServerList>
{
public:
    HRESULT STDMETHODCALLTYPE EnumClassesOfCategories(ULONG cImplemented, CATID rgcatidImpl[], ULONG, CATID[],
                                                      IEnumGUID** ppenumClsid) override
    {
        if (!ppenumClsid)
            return E_INVALIDARG;
        *ppenumClsid = nullptr;
        if (cImplemented != ULONG(-1) && cImplemented != 0 && !rgcatidImpl)
            return E_INVALIDARG;
        // Our classes require no categories, so the required list filters nothing.
        return QyrCreateEnumGUID(CClassRegistry::Instance().ClassesOfCategories(cImplemented, rgcatidImpl),
                                 ppenumClsid);
    }
    HRESULT STDMETHODCALLTYPE GetClassDetails(REFCLSID clsid, LPOLESTR* ppszProgID,
                                              LPOLESTR* ppszUserType) override
    {
        if (!ppszProgID || !ppszUserType)
            return E_INVALIDARG;
        *ppszProgID = nullptr;
        *ppszUserType = nullptr;
        CLASSREGINFO info;
        if (!CClassRegistry::Instance().FindClass(clsid, &info))
            return REGDB_E_CLASSNOTREG;
        *ppszProgID = StandIn::TaskString(info.progId);
        *ppszUserType = StandIn::TaskString(info.userType);
        if (!*ppszProgID || !*ppszUserType)
        {
            CoTaskMemFree(*ppszProgID);
            CoTaskMemFree(*ppszUserType);
            *ppszProgID = *ppszUserType = nullptr;
            return E_OUTOFMEMORY;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CLSIDFromProgID(LPCOLESTR szProgId, LPCLSID clsid) override
    {
        return ::CLSIDFromProgID(szProgId, clsid);
    }
};
} // namespace

HRESULT CreateOpcServerList(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    return QyrNewObject<COpcServerList>()->QueryInterface(riid, ppv);
}
