// A stand-in data access server object: the COM object the client creates (COpcDaServer) and its
// state (CDaServerCore), shared with its groups.
#pragma once

#include "opcsdk/servers/DaGroup.h"

#include <atomic>

class COpcDaGroup;

class CDaServerCore : public CShutdownSource, public std::enable_shared_from_this<CDaServerCore>
{
public:
    CDaServerCore(CStandInClass& cls, BOOL da1);
    ~CDaServerCore() override;

    int SendShutdown(LPCWSTR reason) override;

    // Creates a group and enters it in the table (name "" makes one up).
    HRESULT NewGroup(LPCWSTR name, BOOL active, DWORD rate, OPCHANDLE hClientGroup, LONG timeBias,
                     FLOAT deadband, DWORD lcid, CComPtr<COpcDaGroup>& group, DWORD* revisedRate);
    // Puts a made group (a clone) into the table under a new server handle.
    HRESULT EnterGroup(const CComPtr<COpcDaGroup>& group, const std::wstring& name);
    BOOL NameInUse(const std::wstring& name, const CDaGroupCore* except);
    std::wstring UniqueName();
    void Clear();

    CStandInClass& m_class;
    const BOOL m_da1;
    const std::shared_ptr<CAddressSpace> m_space;
    const std::shared_ptr<CUpdateThread> m_thread;
    const ULONGLONG m_created;
    const FILETIME m_startTime;
    std::atomic<ULONGLONG> m_lastUpdate{0}; // FILETIME of the last callback, as one number

    std::mutex m_mutex;
    struct Entry
    {
        OPCHANDLE hServer;
        CComPtr<COpcDaGroup> group;
    };
    std::vector<Entry> m_groups;
    // Set when the client removed its last group, until it adds one: a client disconnecting
    // waits to see the server suspended.
    BOOL m_suspended = FALSE;
    OPCHANDLE m_nextGroupHandle = 1;
    DWORD m_nameCounter = 0;
    int m_browse = 0; // branch of the browse position
    LCID m_lcid = LOCALE_SYSTEM_DEFAULT;
    std::wstring m_clientName;

    CConnectionPointList m_points;
    CConnectionPoint* m_shutdown = nullptr;
};

class COpcDaServer : public CComObjectImpl<IOPCServer, IOPCCommon, IOPCBrowseServerAddressSpace, IPersistFile,
                                           IConnectionPointContainer>
{
public:
    explicit COpcDaServer(std::shared_ptr<CDaServerCore> core);
    ~COpcDaServer() override;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;

    // IOPCServer
    HRESULT STDMETHODCALLTYPE AddGroup(LPCWSTR szName, BOOL bActive, DWORD dwRequestedUpdateRate,
                                       OPCHANDLE hClientGroup, LONG* pTimeBias, FLOAT* pPercentDeadband,
                                       DWORD dwLCID, OPCHANDLE* phServerGroup, DWORD* pRevisedUpdateRate,
                                       REFIID riid, LPUNKNOWN* ppUnk) override;
    HRESULT STDMETHODCALLTYPE GetErrorString(HRESULT dwError, LCID dwLocale, LPWSTR* ppString) override;
    HRESULT STDMETHODCALLTYPE GetGroupByName(LPCWSTR szName, REFIID riid, LPUNKNOWN* ppUnk) override;
    HRESULT STDMETHODCALLTYPE GetStatus(OPCSERVERSTATUS** ppServerStatus) override;
    HRESULT STDMETHODCALLTYPE RemoveGroup(OPCHANDLE hServerGroup, BOOL bForce) override;
    HRESULT STDMETHODCALLTYPE CreateGroupEnumerator(OPCENUMSCOPE dwScope, REFIID riid,
                                                    LPUNKNOWN* ppUnk) override;

    // IOPCCommon
    HRESULT STDMETHODCALLTYPE SetLocaleID(LCID dwLcid) override;
    HRESULT STDMETHODCALLTYPE GetLocaleID(LCID* pdwLcid) override;
    HRESULT STDMETHODCALLTYPE QueryAvailableLocaleIDs(DWORD* pdwCount, LCID** pdwLcid) override;
    HRESULT STDMETHODCALLTYPE GetErrorString(HRESULT dwError, LPWSTR* ppString) override;
    HRESULT STDMETHODCALLTYPE SetClientName(LPCWSTR szName) override;

    // IOPCBrowseServerAddressSpace
    HRESULT STDMETHODCALLTYPE QueryOrganization(OPCNAMESPACETYPE* pNameSpaceType) override;
    HRESULT STDMETHODCALLTYPE ChangeBrowsePosition(OPCBROWSEDIRECTION dwBrowseDirection,
                                                   LPCWSTR szString) override;
    HRESULT STDMETHODCALLTYPE BrowseOPCItemIDs(OPCBROWSETYPE dwBrowseFilterType, LPCWSTR szFilterCriteria,
                                               VARTYPE vtDataTypeFilter, DWORD dwAccessRightsFilter,
                                               LPENUMSTRING* ppIEnumString) override;
    HRESULT STDMETHODCALLTYPE GetItemID(LPWSTR szItemDataID, LPWSTR* szItemID) override;
    HRESULT STDMETHODCALLTYPE BrowseAccessPaths(LPCWSTR szItemID, LPENUMSTRING* ppIEnumString) override;

    // IPersistFile
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* pClassID) override;
    HRESULT STDMETHODCALLTYPE IsDirty() override;
    HRESULT STDMETHODCALLTYPE Load(LPCOLESTR pszFileName, DWORD dwMode) override;
    HRESULT STDMETHODCALLTYPE Save(LPCOLESTR pszFileName, BOOL fRemember) override;
    HRESULT STDMETHODCALLTYPE SaveCompleted(LPCOLESTR pszFileName) override;
    HRESULT STDMETHODCALLTYPE GetCurFile(LPOLESTR* ppszFileName) override;

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** ppEnum) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override;

private:
    HRESULT Enter(const char* call) { return m_core->m_class.Enter(call); }

    std::shared_ptr<CDaServerCore> m_core;
};
