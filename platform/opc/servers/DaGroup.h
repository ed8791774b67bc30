// A group of the stand-in data access servers: the COM object the client holds (COpcDaGroup) and
// its state (CDaGroupCore), which the server's thread scans and reports from.
#pragma once

#include "opcsdk/servers/AddressSpace.h"
#include "opcsdk/servers/StandInClass.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CDaServerCore;

struct CDaItem
{
    OPCHANDLE hServer = 0;
    OPCHANDLE hClient = 0;
    int tag = -1;
    BOOL active = TRUE;
    VARTYPE requested = VT_EMPTY;
    std::wstring accessPath;
    // The cache, of the canonical type.
    VARIANT cache{};
    WORD quality = OPC_QUALITY_BAD | OPC_QUALITY_WAITING_FOR_INITIAL_DATA;
    FILETIME time{};
    ULONGLONG cacheTick = 0;
    bool cached = false;
    // Changed since last reported to the data callback / the DA 1.0 streams.
    bool dirtyCallback = false;
    bool dirtyStream = false;

    CDaItem() { VariantInit(&cache); }
    ~CDaItem() { VariantClear(&cache); }
    CDaItem(const CDaItem&) = delete;
    CDaItem& operator=(const CDaItem&) = delete;
};

// The stream formats, in the order of CDaGroupCore::m_streams.
enum
{
    STREAM_DATA,
    STREAM_DATATIME,
    STREAM_WRITECOMPLETE,
    STREAM_COUNT
};
UINT StreamFormat(int stream);
// Records the time of a callback as the server's last update.
void StandInNoteUpdate(const std::weak_ptr<CDaServerCore>& server);

// Values for one report, owned until cleared.
struct CDaReport
{
    std::vector<OPCHANDLE> clients;
    std::vector<VARIANT> values;
    std::vector<WORD> qualities;
    std::vector<FILETIME> times;
    std::vector<HRESULT> errors;

    CDaReport() = default;
    CDaReport(const CDaReport&) = delete;
    CDaReport& operator=(const CDaReport&) = delete;
    CDaReport(CDaReport&&) = default;
    ~CDaReport() { Clear(); }
    void Add(OPCHANDLE client, const VARIANT& value, WORD quality, const FILETIME& time, HRESULT error);
    void Clear();
    DWORD Count() const { return DWORD(clients.size()); }
    HRESULT MasterQuality() const;
    HRESULT MasterError() const;
};

class CDaGroupCore : public CScanTarget, public std::enable_shared_from_this<CDaGroupCore>
{
public:
    CDaGroupCore(CStandInClass& cls, std::shared_ptr<CAddressSpace> space,
                 std::weak_ptr<CDaServerCore> server, BOOL da1);
    ~CDaGroupCore() override;

    ULONGLONG Scan(ULONGLONG now) override;

    // Marks the group removed: no more scans or callbacks.
    void Shutdown();
    // Scans soon (after a change of state or items).
    void Wake();

    // Reads one item (source cache or device); caller holds m_mutex. The value is the caller's.
    HRESULT ReadOneLocked(CDaItem& item, OPCDATASOURCE source, ULONGLONG now, VARIANT* value, WORD* quality,
                          FILETIME* time);
    // Reads one item into the report; caller holds m_mutex.
    void ReadItemLocked(CDaItem& item, OPCDATASOURCE source, ULONGLONG now, CDaReport* report);
    // Fills an item's cache from the device; caller holds m_mutex. TRUE when it changed.
    bool RefreshCacheLocked(CDaItem& item, ULONGLONG now);
    CDaItem* FindLocked(OPCHANDLE hServer);
    void ValueForClient(const CDaItem& item, VARIANT* value, HRESULT* error) const;

    // Callbacks, called outside m_mutex.
    void FireDataChange(DWORD transId, CDaReport& report);
    void FireReadComplete(DWORD transId, CDaReport& report);
    void FireWriteComplete(DWORD transId, const std::vector<OPCHANDLE>& clients,
                           const std::vector<HRESULT>& errors);
    void FireCancelComplete(DWORD transId);
    void FireStream(int stream, DWORD transId, CDaReport& report);
    void FireStreamWriteComplete(DWORD transId, const std::vector<OPCHANDLE>& clients,
                                 const std::vector<HRESULT>& errors);

    CStandInClass& m_class;
    const std::shared_ptr<CAddressSpace> m_space;
    const std::weak_ptr<CDaServerCore> m_server;
    const std::shared_ptr<CUpdateThread> m_thread;
    const BOOL m_da1;

    std::mutex m_mutex;
    std::wstring m_name;
    BOOL m_active = TRUE;
    DWORD m_rate = 1000;
    LONG m_timeBias = 0;
    FLOAT m_deadband = 0.0f;
    DWORD m_lcid = 0;
    OPCHANDLE m_hClientGroup = 0;
    OPCHANDLE m_hServerGroup = 0;
    DWORD m_keepAlive = 0;
    BOOL m_enabled = TRUE; // data change callbacks (IOPCAsyncIO2::SetEnable)
    bool m_removed = false;
    ULONGLONG m_lastCallback = 0;
    ULONGLONG m_due = 0;                           // when this scan was planned
    std::vector<std::unique_ptr<CDaItem>> m_items; // by server handle - 1
    size_t m_itemCount = 0;
    OPCHANDLE m_nextHandle = 1;

    // Pending asynchronous requests: cancel id (DA 2.0) or transaction id (DA 1.0) -> job.
    struct Pending
    {
        DWORD job;
        DWORD transId;
    };
    std::map<DWORD, Pending> m_pending2;
    std::map<DWORD, Pending> m_pending1;
    DWORD m_nextCancelId = 1;
    DWORD m_nextTransId = 1;

    // Set up at construction, used from any thread (the points lock themselves).
    CConnectionPointList m_points;
    CConnectionPoint* m_callback = nullptr;         // IOPCDataCallback, one connection
    CConnectionPoint* m_streams[STREAM_COUNT] = {}; // IAdviseSink per DA 1.0 format
};

class COpcDaGroup : public CComObjectImpl<IOPCGroupStateMgt2, IOPCItemMgt, IOPCSyncIO2, IOPCAsyncIO2,
                                          IOPCAsyncIO, IDataObject, IConnectionPointContainer>
{
public:
    COpcDaGroup(std::shared_ptr<CDaGroupCore> core, std::shared_ptr<CDaServerCore> server);
    ~COpcDaGroup() override;

    const std::shared_ptr<CDaGroupCore>& Core() const { return m_core; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;

    // IOPCGroupStateMgt(2)
    HRESULT STDMETHODCALLTYPE GetState(DWORD* pUpdateRate, BOOL* pActive, LPWSTR* ppName, LONG* pTimeBias,
                                       FLOAT* pPercentDeadband, DWORD* pLCID, OPCHANDLE* phClientGroup,
                                       OPCHANDLE* phServerGroup) override;
    HRESULT STDMETHODCALLTYPE SetState(DWORD* pRequestedUpdateRate, DWORD* pRevisedUpdateRate, BOOL* pActive,
                                       LONG* pTimeBias, FLOAT* pPercentDeadband, DWORD* pLCID,
                                       OPCHANDLE* phClientGroup) override;
    HRESULT STDMETHODCALLTYPE SetName(LPCWSTR szName) override;
    HRESULT STDMETHODCALLTYPE CloneGroup(LPCWSTR szName, REFIID riid, LPUNKNOWN* ppUnk) override;
    HRESULT STDMETHODCALLTYPE SetKeepAlive(DWORD dwKeepAliveTime, DWORD* pdwRevisedKeepAliveTime) override;
    HRESULT STDMETHODCALLTYPE GetKeepAlive(DWORD* pdwKeepAliveTime) override;

    // IOPCItemMgt
    HRESULT STDMETHODCALLTYPE AddItems(DWORD dwCount, OPCITEMDEF* pItemArray, OPCITEMRESULT** ppAddResults,
                                       HRESULT** ppErrors) override;
    HRESULT STDMETHODCALLTYPE ValidateItems(DWORD dwCount, OPCITEMDEF* pItemArray, BOOL bBlobUpdate,
                                            OPCITEMRESULT** ppValidationResults, HRESULT** ppErrors) override;
    HRESULT STDMETHODCALLTYPE RemoveItems(DWORD dwCount, OPCHANDLE* phServer, HRESULT** ppErrors) override;
    HRESULT STDMETHODCALLTYPE SetActiveState(DWORD dwCount, OPCHANDLE* phServer, BOOL bActive,
                                             HRESULT** ppErrors) override;
    HRESULT STDMETHODCALLTYPE SetClientHandles(DWORD dwCount, OPCHANDLE* phServer, OPCHANDLE* phClient,
                                               HRESULT** ppErrors) override;
    HRESULT STDMETHODCALLTYPE SetDatatypes(DWORD dwCount, OPCHANDLE* phServer, VARTYPE* pRequestedDatatypes,
                                           HRESULT** ppErrors) override;
    HRESULT STDMETHODCALLTYPE CreateEnumerator(REFIID riid, LPUNKNOWN* ppUnk) override;

    // IOPCSyncIO(2)
    HRESULT STDMETHODCALLTYPE Read(OPCDATASOURCE dwSource, DWORD dwCount, OPCHANDLE* phServer,
                                   OPCITEMSTATE** ppItemValues, HRESULT** ppErrors) override;
    HRESULT STDMETHODCALLTYPE Write(DWORD dwCount, OPCHANDLE* phServer, VARIANT* pItemValues,
                                    HRESULT** ppErrors) override;
    HRESULT STDMETHODCALLTYPE ReadMaxAge(DWORD dwCount, OPCHANDLE* phServer, DWORD* pdwMaxAge,
                                         VARIANT** ppvValues, WORD** ppwQualities, FILETIME** ppftTimeStamps,
                                         HRESULT** ppErrors) override;
    HRESULT STDMETHODCALLTYPE WriteVQT(DWORD dwCount, OPCHANDLE* phServer, OPCITEMVQT* pItemVQT,
                                       HRESULT** ppErrors) override;

    // IOPCAsyncIO2
    HRESULT STDMETHODCALLTYPE Read(DWORD dwCount, OPCHANDLE* phServer, DWORD dwTransactionID,
                                   DWORD* pdwCancelID, HRESULT** ppErrors) override;
    HRESULT STDMETHODCALLTYPE Write(DWORD dwCount, OPCHANDLE* phServer, VARIANT* pItemValues,
                                    DWORD dwTransactionID, DWORD* pdwCancelID, HRESULT** ppErrors) override;
    HRESULT STDMETHODCALLTYPE Refresh2(OPCDATASOURCE dwSource, DWORD dwTransactionID,
                                       DWORD* pdwCancelID) override;
    HRESULT STDMETHODCALLTYPE Cancel2(DWORD dwCancelID) override;
    HRESULT STDMETHODCALLTYPE SetEnable(BOOL bEnable) override;
    HRESULT STDMETHODCALLTYPE GetEnable(BOOL* pbEnable) override;

    // IOPCAsyncIO
    HRESULT STDMETHODCALLTYPE Read(DWORD dwConnection, OPCDATASOURCE dwSource, DWORD dwCount,
                                   OPCHANDLE* phServer, DWORD* pTransactionID, HRESULT** ppErrors) override;
    HRESULT STDMETHODCALLTYPE Write(DWORD dwConnection, DWORD dwCount, OPCHANDLE* phServer,
                                    VARIANT* pItemValues, DWORD* pTransactionID, HRESULT** ppErrors) override;
    HRESULT STDMETHODCALLTYPE Refresh(DWORD dwConnection, OPCDATASOURCE dwSource,
                                      DWORD* pTransactionID) override;
    HRESULT STDMETHODCALLTYPE Cancel(DWORD dwTransactionID) override;

    // IDataObject
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* pformatetcIn, STGMEDIUM* pmedium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* pformatetc, STGMEDIUM* pmedium) override;
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* pformatetc) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* pformatectIn,
                                                    FORMATETC* pformatetcOut) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* pformatetc, STGMEDIUM* pmedium, BOOL fRelease) override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD dwDirection, IEnumFORMATETC** ppenumFormatEtc) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC* pformatetc, DWORD advf, IAdviseSink* pAdvSink,
                                      DWORD* pdwConnection) override;
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD dwConnection) override;
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** ppenumAdvise) override;

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** ppEnum) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override;

private:
    HRESULT Enter(const char* call) { return m_core->m_class.Enter(call); }
    HRESULT CheckItems(DWORD dwCount, OPCITEMDEF* pItemArray, OPCITEMRESULT** ppResults, HRESULT** ppErrors,
                       BOOL add);
    // A stream's connection number: the stream in the high word, the point's cookie in the low one.
    static int StreamOfConnection(DWORD connection);
    // Checks the handles: the errors (task memory) and the valid ones.
    HRESULT CheckHandles(DWORD dwCount, const OPCHANDLE* phServer, HRESULT** ppErrors,
                         std::vector<OPCHANDLE>* valid, std::vector<DWORD>* validIndex);
    // Queues work for the server's thread under a key of the pending map; run() finds the key gone
    // when the request was cancelled.
    void PostLocked(std::map<DWORD, CDaGroupCore::Pending> CDaGroupCore::*pending, DWORD key, DWORD transId,
                    std::function<void()> run);

    std::shared_ptr<CDaGroupCore> m_core;
    std::shared_ptr<CDaServerCore> m_server;
};
