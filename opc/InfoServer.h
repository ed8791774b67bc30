// CInfoServer: the client side of one connection to an OPC Data Access server: the server's name,
// computer and class id, its IOPCServer, its groups, the callback objects through which the server
// reports data and shut-down, error texts, and the stored configuration with groups and items.
// UI thread only; the callback objects are called on the servers' threads.
#pragma once

#include "opc/Group.h"

#include "com/ClassRegistry.h"
#include "com/ComPtr.h"
#include "mfc/Collections.h"
#include "mfc/CString.h"
#include "opcsdk/OpcDa.h"

class CIAdviseSink;
class COPCConnectionPoint;
class COPCShutDownRequest;

typedef CArray<CGroup*, CGroup*> CGroupArray;

// The class context of every creation: in-process server and handler, local and remote server.
#define OPC_CLSCTX_SERVER 23

class CInfoServer : public CObject
{
    DECLARE_DYNCREATE(CInfoServer)
public:
    CInfoServer();
    CInfoServer(int useDataCallback, int useAdviseSink, int useShutdownSink);
    // Runs Term and releases the server interface; owners call Disconnect first, which removes the
    // groups from the server. Client groups still left are deleted with their items.
    ~CInfoServer() override;

    int Init();
    void Term();

    BOOL IsConnected() const { return m_bConnected; }
    void SetConnected(BOOL connected) { m_bConnected = connected; }
    // Empty or "Local" means this computer.
    const CString& GetOPCServerComputer() const { return m_strComputer; }
    void SetOPCServerComputer(LPCWSTR computer) { m_strComputer = computer; }
    const CString& GetOPCServer() const { return m_strServer; }
    void SetOPCServer(LPCWSTR server) { m_strServer = server; }
    const CString& GetOPCServerNameOnly() const { return m_strServer; }
    // Computer, a backslash and server.
    CString GetOPCServerName() const;
    const CLSID& GetOPCServerCLSID() const { return m_clsid; }
    void SetOPCServerCLSID(REFCLSID clsid) { m_clsid = clsid; }
    // Does what Term does.
    void ResetOPCServerCLSID();

    // A new counted reference to the server's IOPCServer, null when not connected.
    CComPtr<IUnknown> GetInterface() const;
    unsigned GetGroups(CGroupArray** out);
    // The callback objects, null when the server has none.
    CIAdviseSink* GetAdviseSink() const { return m_pAdviseSink; }
    COPCConnectionPoint* GetDataAccessConnectionPoint() const;

    float GetOPCVersion() const { return m_fOPCVersion; }
    void SetOPCVersion(float version) { m_fOPCVersion = version; }
    DWORD GetDataChangeType() const { return m_dwDataChangeType; }
    void SetDataChangeType(DWORD type) { m_dwDataChangeType = type; }
    DWORD GetReloadEnumNextElements() const { return m_dwReloadEnumNextElements; }
    void SetReloadEnumNextElements(DWORD n) { m_dwReloadEnumNextElements = n; }
    DWORD GetReloadEnumMethod() const { return m_dwReloadEnumMethod; }
    void SetReloadEnumMethod(DWORD method) { m_dwReloadEnumMethod = method; }
    DWORD GetBrowserEnumNextElements() const { return m_dwBrowserEnumNextElements; }
    void SetBrowserEnumNextElements(DWORD n) { m_dwBrowserEnumNextElements = n; }
    DWORD GetReloadEnumAttributesNextElements() const { return m_dwReloadEnumAttributesNextElements; }
    void SetReloadEnumAttributesNextElements(DWORD n) { m_dwReloadEnumAttributesNextElements = n; }
    BOOL UseValidateItems() const { return m_bUseValidateItems; }
    void SetUseValidateItems(BOOL use) { m_bUseValidateItems = use; }
    HRESULT GetLastError() const { return m_hrLastError; }
    void ClearLastError() { m_hrLastError = S_OK; }

    int SetServer(LPCWSTR computer, LPCWSTR server);
    // Lets the user pick a server in the server chooser; does not connect.
    int ChooseServer();
    int Connect();
    int Disconnect();
    // Polls the server status once per wait step (a second) until the state is reached.
    int WaitUntilStatusChanged(OPCSERVERSTATE state, int seconds, int askToWait);
    // Whether the server reports itself running and holding no group of ours.
    BOOL IsRunningWithoutGroups();
    // The length of one wait step in milliseconds (1000); tests shorten it.
    static void SetStatusWaitStep(DWORD milliseconds);
    static DWORD GetStatusWaitStep();
    // A liveness test (FALSE when the status cannot be read); shows the status with showDialog.
    int GetStatus(int showDialog);

    int GetErrorString(HRESULT code, CString& text);
    int GetSystemErrorString(HRESULT code, CString& text);
    // Logs the code's text and keeps the code as the last error.
    int DisplayError(HRESULT code);

    int ReloadServer();
    int PrintStatistic();

    // The server record with its groups and items; no class information or version of its own.
    void Serialize(CArchive& ar) override;

    // The class id of the server whose ProgID is serverText (a chooser line gives its ProgID),
    // looked up in the server list of the computer under the category.
    static HRESULT FindOPCServerCLSID(LPCWSTR serverText, GUID* out, LPCWSTR computer, REFGUID category);
    // The server-list service of the computer (empty or "Local": this one), created guarded.
    static HRESULT CreateServerList(LPCWSTR computer, IOPCServerList** out);
    // The COM creation calls with framework exceptions turned into E_FAIL.
    static HRESULT SafeCoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid,
                                        void** out);
    static HRESULT SafeCoCreateInstanceEx(REFCLSID clsid, IUnknown* outer, DWORD context,
                                          COSERVERINFO* serverInfo, DWORD count, MULTI_QI* results);

    // ---- Groups --------------------------------------------------------------------------------
    CGroup* SafeAddGroup(LPCWSTR name, DWORD lcid, DWORD updateRate, BOOL active, BOOL dataChangeEnabled,
                         LONG& timeBias, FLOAT& deadBand);
    // Adds a group with the values of the group dialog.
    int AddGroup(CGroup** out);
    // Clones a group under a name from the group dialog, over the DA 3.0 interface if possible.
    int SafeCloneGroup(CGroup* source, CGroup** out);
    int EditGroup(CGroup** group);
    // Removes the group on the server (when connected) and deletes it with its items; TRUE only when
    // the server removed it.
    int RemoveGroup(CGroup** group, int force);
    int Unadvise(CGroup** group);
    int SafeReCreateGroupOnServer(CGroup** group);
    // Creates the client's groups and items on the server (after loading and connecting).
    int RecreateOnServer();
    // Rebuilds the client's groups from what the server holds.
    int ReloadFromServer();

protected:
    CGroup* AddGroup(LPCWSTR name, DWORD lcid, DWORD updateRate, BOOL active, BOOL dataChangeEnabled,
                     LONG& timeBias, FLOAT& deadBand);
    int CloneGroup(CGroup* source, CGroup** out);
    int CloneGroup2(CGroup* source, CGroup** out);
    int ReCreateGroupOnServer(CGroup** group);
    int ReCreateGroupOnServer2(CGroup** group);

private:
    int CloneGroupWith(CGroup* source, CGroup** out, BOOL newer, BOOL* cancelled);
    int ReCreateGroupWith(CGroup** group, BOOL newer);
    void RemoveGroupOnServerQuietly(OPCHANDLE serverHandle);
    void DeleteClientGroup(CGroup* group);
    BOOL ForgetClientGroups();
    void BuildReloadedGroup(IUnknown* object, LPCWSTR enumeratedName);

    BOOL m_bConnected = FALSE;
    CString m_strComputer;
    CString m_strServer;
    CLSID m_clsid = GUID_NULL;
    BOOL m_bUseDataCallback = FALSE;
    BOOL m_bUseAdviseSink = FALSE;
    BOOL m_bUseShutdownSink = FALSE;
    CComPtr<IOPCServer> m_pServer;
    CGroupArray m_groups;
    CIAdviseSink* m_pAdviseSink = nullptr;
    CComPtr<COPCConnectionPoint> m_pDataCallback;
    CComPtr<COPCShutDownRequest> m_pShutdown;
    float m_fOPCVersion = 2.0f;
    DWORD m_dwDataChangeType = 1;
    DWORD m_dwReloadEnumNextElements = 1;
    DWORD m_dwReloadEnumMethod = 0;
    DWORD m_dwBrowserEnumNextElements = 100;
    DWORD m_dwReloadEnumAttributesNextElements = 1;
    BOOL m_bUseValidateItems = FALSE;
    HRESULT m_hrLastError = S_OK;
};
