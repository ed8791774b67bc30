// The automation identity of a program: a class factory connected to a document template and
// registered as running (so CoCreateInstance of its class id works in this process), the
// registration of the class, its ProgID and its type library in the registry store, and their
// removal. The object the factory makes is an empty dispatch object: the program serves nothing
// across processes.
//
//   m_server.ConnectTemplate(clsid, pTemplate, FALSE);
//   COleTemplateServer::RegisterAll();                  // the class factory as running
//   m_server.UpdateRegistry(OAT_DISPATCH_OBJECT);      // class and ProgID entries
//   AfxOleRegisterTypeLib(AfxGetInstanceHandle(), libid);
#pragma once

#include "com/AutomationRegistry.h"
#include "com/ClassRegistry.h"
#include "mfc/CString.h"

#include <vector>

class CDocTemplate;

enum OLE_APPTYPE
{
    OAT_UNKNOWN = -1,
    OAT_INPLACE_SERVER = 0,
    OAT_SERVER = 1,
    OAT_CONTAINER = 2,
    OAT_DISPATCH_OBJECT = 3,
    OAT_DOC_OBJECT_SERVER = 4,
    OAT_DOC_OBJECT_CONTAINER = 5
};

class COleObjectFactory
{
public:
    COleObjectFactory(REFCLSID clsid, BOOL bMultiInstance, LPCWSTR lpszProgID);
    virtual ~COleObjectFactory();
    COleObjectFactory(const COleObjectFactory&) = delete;
    COleObjectFactory& operator=(const COleObjectFactory&) = delete;

    REFCLSID GetClassID() const { return m_clsid; }
    const CString& GetProgID() const { return m_strProgID; }
    // Whether the class object is registered as running.
    BOOL IsRegistered() const { return m_dwRegister != 0; }
    BOOL Register();
    void Revoke();

    // Every factory of the process (made and not yet destroyed).
    static BOOL RegisterAll();
    static void RevokeAll();
    // Writes (or removes) the registry entries of every factory.
    static BOOL UpdateRegistryAll(BOOL bRegister = TRUE);

    virtual BOOL UpdateRegistry(BOOL bRegister = TRUE);

protected:
    CLSID m_clsid;
    BOOL m_bMultiInstance;
    CString m_strProgID;
    CString m_strUserType;
    DWORD m_dwRegister = 0;
};

class COleTemplateServer : public COleObjectFactory
{
public:
    COleTemplateServer();

    // Takes the ProgID (file type id) and user type (file type name) from the template's strings.
    void ConnectTemplate(REFCLSID clsid, CDocTemplate* pDocTemplate, BOOL bMultiInstance);
    // Writes the class and ProgID entries; only dispatch objects are offered here, so every kind
    // registers as one. bRegister FALSE removes them.
    void UpdateRegistry(OLE_APPTYPE nAppType = OAT_INPLACE_SERVER, LPCWSTR* rglpszRegister = nullptr,
                        LPCWSTR* rglpszOverwrite = nullptr, BOOL bRegister = TRUE);
    BOOL UpdateRegistry(BOOL bRegister) override;
    BOOL Unregister();

    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

protected:
    CDocTemplate* m_pDocTemplate = nullptr;
};

// Registers the type library that the program described for libid (QyrAddTypeLib), as carried by
// the program's own file (or pszFileName).
BOOL AfxOleRegisterTypeLib(HINSTANCE hInstance, REFGUID tlid, LPCWSTR pszFileName = nullptr,
                           LPCWSTR pszHelpDir = nullptr);
BOOL AfxOleUnregisterTypeLib(REFGUID tlid, WORD wVerMajor = 0, WORD wVerMinor = 0, LCID lcid = 0);
