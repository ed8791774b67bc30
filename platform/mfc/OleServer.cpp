#include "mfc/OleServer.h"

#include "com/EmptyDispatch.h"
#include "mfc/DocTemplate.h"
#include "win32/Files.h"

#include <algorithm>
#include <mutex>

namespace
{
struct FactoryList
{
    std::mutex mutex;
    std::vector<COleObjectFactory*> factories;
};

FactoryList& Factories()
{
    static auto* list = new FactoryList;
    return *list;
}

std::vector<COleObjectFactory*> AllFactories()
{
    FactoryList& l = Factories();
    std::lock_guard lock(l.mutex);
    return l.factories;
}

CString ModulePath()
{
    wchar_t path[4096] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, 4096);
    return CString(path, int(n));
}
} // namespace

COleObjectFactory::COleObjectFactory(REFCLSID clsid, BOOL bMultiInstance, LPCWSTR lpszProgID)
    : m_clsid(clsid), m_bMultiInstance(bMultiInstance), m_strProgID(lpszProgID ? lpszProgID : L"")
{
    FactoryList& l = Factories();
    std::lock_guard lock(l.mutex);
    l.factories.push_back(this);
}

COleObjectFactory::~COleObjectFactory()
{
    Revoke();
    FactoryList& l = Factories();
    std::lock_guard lock(l.mutex);
    std::erase(l.factories, this);
}

BOOL COleObjectFactory::Register()
{
    if (m_dwRegister)
        return TRUE;
    if (IsEqualGUID(m_clsid, GUID_NULL))
        return FALSE;
    CLASSREGINFO info;
    info.clsid = m_clsid;
    info.progId = m_strProgID.str();
    info.userType = m_strUserType.str();
    CClassRegistry::Instance().AddClass(info);
    CComPtr<CClassFactory> factory = QyrNewObject<CClassFactory>(
        [](REFIID riid, void** ppv)
        {
            // What an automation client gets: a dispatch object without members.
            CComPtr<CEmptyDispatch> object = QyrNewObject<CEmptyDispatch>();
            return object->QueryInterface(riid, ppv);
        });
    DWORD cookie = 0;
    if (FAILED(CoRegisterClassObject(m_clsid, factory, CLSCTX_LOCAL_SERVER,
                                     m_bMultiInstance ? REGCLS_SINGLEUSE : REGCLS_MULTIPLEUSE, &cookie)))
        return FALSE;
    m_dwRegister = cookie;
    return TRUE;
}

void COleObjectFactory::Revoke()
{
    if (!m_dwRegister)
        return;
    CoRevokeClassObject(m_dwRegister);
    m_dwRegister = 0;
}

BOOL COleObjectFactory::RegisterAll()
{
    BOOL ok = TRUE;
    for (COleObjectFactory* f : AllFactories())
        ok = f->Register() && ok;
    return ok;
}

void COleObjectFactory::RevokeAll()
{
    for (COleObjectFactory* f : AllFactories())
        f->Revoke();
}

BOOL COleObjectFactory::UpdateRegistryAll(BOOL bRegister)
{
    BOOL ok = TRUE;
    for (COleObjectFactory* f : AllFactories())
        ok = f->UpdateRegistry(bRegister) && ok;
    return ok;
}

BOOL COleObjectFactory::UpdateRegistry(BOOL bRegister)
{
    if (m_strProgID.IsEmpty())
        return TRUE;
    if (!bRegister)
        return SUCCEEDED(QyrUnregisterServerClass(m_clsid, m_strProgID));
    return SUCCEEDED(QyrRegisterServerClass(m_clsid, m_strProgID, m_strUserType, ModulePath(), nullptr));
}

COleTemplateServer::COleTemplateServer() : COleObjectFactory(GUID_NULL, FALSE, nullptr) {}

void COleTemplateServer::ConnectTemplate(REFCLSID clsid, CDocTemplate* pDocTemplate, BOOL bMultiInstance)
{
    m_clsid = clsid;
    m_pDocTemplate = pDocTemplate;
    m_bMultiInstance = bMultiInstance;
    if (pDocTemplate)
    {
        pDocTemplate->GetDocString(m_strProgID, CDocTemplate::regFileTypeId);
        pDocTemplate->GetDocString(m_strUserType, CDocTemplate::regFileTypeName);
    }
}

void COleTemplateServer::UpdateRegistry(OLE_APPTYPE, LPCWSTR*, LPCWSTR*, BOOL bRegister)
{
    UpdateRegistry(bRegister);
}

BOOL COleTemplateServer::UpdateRegistry(BOOL bRegister)
{
    return COleObjectFactory::UpdateRegistry(bRegister);
}

BOOL COleTemplateServer::Unregister()
{
    return UpdateRegistry(FALSE);
}

BOOL AfxOleRegisterTypeLib(HINSTANCE, REFGUID tlid, LPCWSTR pszFileName, LPCWSTR pszHelpDir)
{
    const CString path = pszFileName && *pszFileName ? CString(pszFileName) : ModulePath();
    CString helpDir = pszHelpDir ? CString(pszHelpDir) : path;
    if (!pszHelpDir)
    {
        const int slash = helpDir.ReverseFind(L'/');
        helpDir = slash >= 0 ? helpDir.Left(slash) : CString();
    }
    return SUCCEEDED(QyrRegisterTypeLib(tlid, path, helpDir));
}

BOOL AfxOleUnregisterTypeLib(REFGUID tlid, WORD wVerMajor, WORD wVerMinor, LCID lcid)
{
    return SUCCEEDED(UnRegisterTypeLib(tlid, wVerMajor, wVerMinor, lcid, SYS_WIN32));
}
