#include "opcsdk/servers/DaGroup.h"

#include "opcsdk/OpcStream.h"
#include "opcsdk/servers/DaServer.h"
#include "opcsdk/servers/ItemAttributesEnum.h"
#include "opcsdk/servers/StandInUtil.h"

#include <algorithm>

static constexpr DWORD kMinRate = 10;

UINT StreamFormat(int stream)
{
    static const UINT formats[STREAM_COUNT] = {
        RegisterClipboardFormatW(OPCSTMFORMATDATA_NAME),
        RegisterClipboardFormatW(OPCSTMFORMATDATATIME_NAME),
        RegisterClipboardFormatW(OPCSTMFORMATWRITECOMPLETE_NAME),
    };
    return formats[stream];
}

// ---- CDaReport --------------------------------------------------------------------------------

void CDaReport::Add(OPCHANDLE client, const VARIANT& value, WORD quality, const FILETIME& time, HRESULT error)
{
    clients.push_back(client);
    values.push_back(value); // takes over the value
    qualities.push_back(quality);
    times.push_back(time);
    errors.push_back(error);
}

void CDaReport::Clear()
{
    for (VARIANT& v : values)
        VariantClear(&v);
    clients.clear();
    values.clear();
    qualities.clear();
    times.clear();
    errors.clear();
}

HRESULT CDaReport::MasterQuality() const
{
    for (WORD q : qualities)
    {
        if ((q & OPC_QUALITY_MASK) != OPC_QUALITY_GOOD)
            return S_FALSE;
    }
    return S_OK;
}

HRESULT CDaReport::MasterError() const
{
    for (HRESULT e : errors)
    {
        if (e != S_OK)
            return S_FALSE;
    }
    return S_OK;
}

// ---- CDaGroupCore -----------------------------------------------------------------------------

CDaGroupCore::CDaGroupCore(CStandInClass& cls, std::shared_ptr<CAddressSpace> space,
                           std::weak_ptr<CDaServerCore> server, BOOL da1)
    : m_class(cls), m_space(std::move(space)), m_server(std::move(server)), m_thread(cls.Thread()), m_da1(da1)
{
}

CDaGroupCore::~CDaGroupCore()
{
    m_thread->RemoveTarget(this);
}

void CDaGroupCore::Shutdown()
{
    {
        std::lock_guard lock(m_mutex);
        m_removed = true;
    }
    m_thread->RemoveTarget(this);
}

void CDaGroupCore::Wake()
{
    m_thread->Reschedule(this, StandIn::TickMs());
}

CDaItem* CDaGroupCore::FindLocked(OPCHANDLE hServer)
{
    if (hServer == 0 || hServer > m_items.size())
        return nullptr;
    return m_items[hServer - 1].get();
}

bool CDaGroupCore::RefreshCacheLocked(CDaItem& item, ULONGLONG now)
{
    VARIANT value;
    VariantInit(&value);
    WORD quality;
    FILETIME time;
    m_space->Sample(item.tag, now, &value, &quality, &time);
    bool changed = !item.cached || item.quality != quality || !StandIn::VariantEquals(item.cache, value);
    VariantClear(&item.cache);
    item.cache = value; // takes it over
    item.quality = quality;
    item.time = time;
    item.cacheTick = now;
    item.cached = true;
    if (changed)
    {
        item.dirtyCallback = true;
        item.dirtyStream = true;
    }
    return changed;
}

void CDaGroupCore::ValueForClient(const CDaItem& item, VARIANT* value, HRESULT* error) const
{
    VariantInit(value);
    *error = S_OK;
    if (!item.cached)
        return;
    HRESULT hr = StandIn::ConvertValue(value, item.cache, item.requested);
    if (FAILED(hr))
    {
        VariantInit(value);
        *error = hr;
    }
}

HRESULT CDaGroupCore::ReadOneLocked(CDaItem& item, OPCDATASOURCE source, ULONGLONG now, VARIANT* value,
                                    WORD* quality, FILETIME* time)
{
    VariantInit(value);
    *time = FILETIME{};
    *quality = OPC_QUALITY_BAD;
    HRESULT fault = m_class.ItemFault(m_space->GetTag(item.tag).id);
    if (FAILED(fault))
        return fault;
    if (source == OPC_DS_DEVICE)
        RefreshCacheLocked(item, now);
    HRESULT error;
    ValueForClient(item, value, &error);
    *quality = item.quality;
    *time = item.time;
    // Out of service while the group or the item is off (cache reads only).
    if (source == OPC_DS_CACHE && (!m_active || !item.active))
        *quality = OPC_QUALITY_OUT_OF_SERVICE;
    if (FAILED(error))
        *quality = OPC_QUALITY_BAD;
    return error;
}

void CDaGroupCore::ReadItemLocked(CDaItem& item, OPCDATASOURCE source, ULONGLONG now, CDaReport* report)
{
    VARIANT value;
    WORD quality;
    FILETIME time;
    HRESULT error = ReadOneLocked(item, source, now, &value, &quality, &time);
    report->Add(item.hClient, value, quality, time, error);
}

ULONGLONG CDaGroupCore::Scan(ULONGLONG now)
{
    CDaReport callback;
    CDaReport stream;
    std::wstring name;
    bool sendCallback = false;
    bool sendStream = false;
    ULONGLONG next;
    {
        std::lock_guard lock(m_mutex);
        if (m_removed || !m_active)
        {
            m_due = 0;
            return 0;
        }
        // Keep to the rate's grid, without catching up on missed scans. A scan woken early (new items,
        // a change of state) leaves the planned one where it was, so it is at most one period away.
        if (m_due > now)
            next = std::min(m_due, now + m_rate);
        else
        {
            next = (m_due ? m_due : now) + m_rate;
            if (next <= now)
                next = now + m_rate;
        }
        m_due = next;
        if (m_class.IsDown())
            return next;
        name = m_name;
        bool wantCallback = !m_da1 && m_enabled && m_callback && m_callback->IsConnected();
        bool wantStream = (m_streams[STREAM_DATA] && m_streams[STREAM_DATA]->IsConnected()) ||
                          (m_streams[STREAM_DATATIME] && m_streams[STREAM_DATATIME]->IsConnected());
        for (auto& slot : m_items)
        {
            CDaItem* item = slot.get();
            if (!item || !item->active)
                continue;
            RefreshCacheLocked(*item, now);
            if (wantCallback && item->dirtyCallback)
            {
                VARIANT value;
                HRESULT error;
                ValueForClient(*item, &value, &error);
                callback.Add(item->hClient, value, FAILED(error) ? WORD(OPC_QUALITY_BAD) : item->quality,
                             item->time, error);
                item->dirtyCallback = false;
            }
            if (wantStream && item->dirtyStream)
            {
                VARIANT value;
                HRESULT error;
                ValueForClient(*item, &value, &error);
                stream.Add(item->hClient, value, FAILED(error) ? WORD(OPC_QUALITY_BAD) : item->quality,
                           item->time, error);
                item->dirtyStream = false;
            }
        }
        sendCallback =
            wantCallback && (callback.Count() != 0 || (m_keepAlive && now >= m_lastCallback + m_keepAlive));
        sendStream = wantStream && stream.Count() != 0;
        if (sendCallback)
            m_lastCallback = now;
    }
    if (sendCallback)
        FireDataChange(0, callback);
    if (sendStream)
    {
        FireStream(STREAM_DATA, 0, stream);
        FireStream(STREAM_DATATIME, 0, stream);
    }
    // Counted once its reports are out, so a test that sees the count sees their values.
    m_class.NoteScan(name);
    return next;
}

void CDaGroupCore::FireDataChange(DWORD transId, CDaReport& report)
{
    if (!m_callback || m_class.IsDown())
        return;
    OPCHANDLE hGroup;
    {
        std::lock_guard lock(m_mutex);
        if (m_removed)
            return;
        hGroup = m_hClientGroup;
    }
    m_callback->Fire<IOPCDataCallback>(
        [&](IOPCDataCallback* sink)
        {
            sink->OnDataChange(transId, hGroup, report.MasterQuality(), report.MasterError(), report.Count(),
                               report.clients.data(), report.values.data(), report.qualities.data(),
                               report.times.data(), report.errors.data());
        });
    StandInNoteUpdate(m_server);
}

void CDaGroupCore::FireReadComplete(DWORD transId, CDaReport& report)
{
    if (!m_callback || m_class.IsDown())
        return;
    OPCHANDLE hGroup;
    {
        std::lock_guard lock(m_mutex);
        if (m_removed)
            return;
        hGroup = m_hClientGroup;
    }
    m_callback->Fire<IOPCDataCallback>(
        [&](IOPCDataCallback* sink)
        {
            sink->OnReadComplete(transId, hGroup, report.MasterQuality(), report.MasterError(),
                                 report.Count(), report.clients.data(), report.values.data(),
                                 report.qualities.data(), report.times.data(), report.errors.data());
        });
    StandInNoteUpdate(m_server);
}

void CDaGroupCore::FireWriteComplete(DWORD transId, const std::vector<OPCHANDLE>& clients,
                                     const std::vector<HRESULT>& errors)
{
    if (!m_callback || m_class.IsDown())
        return;
    OPCHANDLE hGroup;
    {
        std::lock_guard lock(m_mutex);
        if (m_removed)
            return;
        hGroup = m_hClientGroup;
    }
    HRESULT master =
        std::all_of(errors.begin(), errors.end(), [](HRESULT e) { return e == S_OK; }) ? S_OK : S_FALSE;
    std::vector<OPCHANDLE> c(clients);
    std::vector<HRESULT> e(errors);
    m_callback->Fire<IOPCDataCallback>(
        [&](IOPCDataCallback* sink)
        { sink->OnWriteComplete(transId, hGroup, master, DWORD(c.size()), c.data(), e.data()); });
}

void CDaGroupCore::FireCancelComplete(DWORD transId)
{
    if (!m_callback || m_class.IsDown())
        return;
    OPCHANDLE hGroup;
    {
        std::lock_guard lock(m_mutex);
        if (m_removed)
            return;
        hGroup = m_hClientGroup;
    }
    m_callback->Fire<IOPCDataCallback>([&](IOPCDataCallback* sink)
                                       { sink->OnCancelComplete(transId, hGroup); });
}

void CDaGroupCore::FireStream(int stream, DWORD transId, CDaReport& report)
{
    CConnectionPoint* point = m_streams[stream];
    if (!point || !point->IsConnected() || m_class.IsDown())
        return;
    OPCHANDLE hGroup;
    {
        std::lock_guard lock(m_mutex);
        if (m_removed)
            return;
        hGroup = m_hClientGroup;
    }
    HGLOBAL block = OpcStreamWriteData(stream == STREAM_DATATIME, hGroup, transId, report.MasterError(),
                                       report.Count(), report.clients.data(), report.values.data(),
                                       report.qualities.data(), report.times.data());
    if (!block)
        return;
    FORMATETC format{CLIPFORMAT(StreamFormat(stream)), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = block;
    point->Fire<IAdviseSink>([&](IAdviseSink* sink) { sink->OnDataChange(&format, &medium); });
    GlobalFree(block);
    StandInNoteUpdate(m_server);
}

void CDaGroupCore::FireStreamWriteComplete(DWORD transId, const std::vector<OPCHANDLE>& clients,
                                           const std::vector<HRESULT>& errors)
{
    CConnectionPoint* point = m_streams[STREAM_WRITECOMPLETE];
    if (!point || !point->IsConnected() || m_class.IsDown())
        return;
    OPCHANDLE hGroup;
    {
        std::lock_guard lock(m_mutex);
        if (m_removed)
            return;
        hGroup = m_hClientGroup;
    }
    HRESULT status =
        std::all_of(errors.begin(), errors.end(), [](HRESULT e) { return e == S_OK; }) ? S_OK : S_FALSE;
    HGLOBAL block =
        OpcStreamWriteComplete(hGroup, transId, status, DWORD(clients.size()), clients.data(), errors.data());
    if (!block)
        return;
    FORMATETC format{CLIPFORMAT(StreamFormat(STREAM_WRITECOMPLETE)), nullptr, DVASPECT_CONTENT, -1,
                     TYMED_HGLOBAL};
    STGMEDIUM medium{};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = block;
    point->Fire<IAdviseSink>([&](IAdviseSink* sink) { sink->OnDataChange(&format, &medium); });
    GlobalFree(block);
}

// ---- COpcDaGroup: life and state ----------------------------------------------------------------

COpcDaGroup::COpcDaGroup(std::shared_ptr<CDaGroupCore> core, std::shared_ptr<CDaServerCore> server)
    : m_core(std::move(core)), m_server(std::move(server))
{
    auto* container = static_cast<IConnectionPointContainer*>(this);
    if (!m_core->m_da1)
        m_core->m_callback = m_core->m_points.Add(
            QyrNewObject<CStandInConnectionPoint>(m_core->m_class, container, IID_IOPCDataCallback, 1));
    // The DA 1.0 streams are advised through IDataObject, one sink per format.
    for (int s = 0; s < STREAM_COUNT; ++s)
        m_core->m_streams[s] =
            m_core->m_points.Add(QyrNewObject<CConnectionPoint>(nullptr, IID_IAdviseSink, 1));
}

COpcDaGroup::~COpcDaGroup()
{
    m_core->Shutdown();
    m_core->m_points.Detach();
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::QueryInterface(REFIID riid, void** ppv)
{
    // The DA 1.0 test server has no DA 2.0 or 3.0 group interfaces.
    if (m_core->m_da1 && (riid == IID_IOPCGroupStateMgt2 || riid == IID_IOPCSyncIO2 ||
                          riid == IID_IOPCAsyncIO2 || riid == IID_IConnectionPointContainer))
    {
        if (ppv)
            *ppv = nullptr;
        return ppv ? E_NOINTERFACE : E_POINTER;
    }
    return CComObjectImpl::QueryInterface(riid, ppv);
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::GetState(DWORD* pUpdateRate, BOOL* pActive, LPWSTR* ppName,
                                                LONG* pTimeBias, FLOAT* pPercentDeadband, DWORD* pLCID,
                                                OPCHANDLE* phClientGroup, OPCHANDLE* phServerGroup)
{
    if (ppName)
        *ppName = nullptr;
    HRESULT hr = Enter("IOPCGroupStateMgt::GetState");
    if (FAILED(hr))
        return hr;
    std::lock_guard lock(m_core->m_mutex);
    if (pUpdateRate)
        *pUpdateRate = m_core->m_rate;
    if (pActive)
        *pActive = m_core->m_active;
    if (ppName)
    {
        *ppName = StandIn::TaskString(m_core->m_name);
        if (!*ppName)
            return E_OUTOFMEMORY;
    }
    if (pTimeBias)
        *pTimeBias = m_core->m_timeBias;
    if (pPercentDeadband)
        *pPercentDeadband = m_core->m_deadband;
    if (pLCID)
        *pLCID = m_core->m_lcid;
    if (phClientGroup)
        *phClientGroup = m_core->m_hClientGroup;
    if (phServerGroup)
        *phServerGroup = m_core->m_hServerGroup;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::SetState(DWORD* pRequestedUpdateRate, DWORD* pRevisedUpdateRate,
                                                BOOL* pActive, LONG* pTimeBias, FLOAT* pPercentDeadband,
                                                DWORD* pLCID, OPCHANDLE* phClientGroup)
{
    HRESULT hr = Enter("IOPCGroupStateMgt::SetState");
    if (FAILED(hr))
        return hr;
    if (pPercentDeadband && (*pPercentDeadband < 0.0f || *pPercentDeadband > 100.0f))
        return E_INVALIDARG;
    bool wake = false;
    {
        std::lock_guard lock(m_core->m_mutex);
        if (pRequestedUpdateRate)
        {
            DWORD revised = std::max(*pRequestedUpdateRate, kMinRate);
            if (revised != *pRequestedUpdateRate)
                hr = OPC_S_UNSUPPORTEDRATE;
            wake = m_core->m_rate != revised;
            m_core->m_rate = revised;
        }
        if (pRevisedUpdateRate)
            *pRevisedUpdateRate = m_core->m_rate;
        if (pActive)
        {
            if (*pActive && !m_core->m_active)
            {
                // An activated group reports every active item.
                for (auto& item : m_core->m_items)
                {
                    if (item)
                        item->dirtyCallback = item->dirtyStream = true;
                }
                wake = true;
            }
            m_core->m_active = *pActive ? TRUE : FALSE;
        }
        if (pTimeBias)
            m_core->m_timeBias = *pTimeBias;
        if (pPercentDeadband)
            m_core->m_deadband = *pPercentDeadband;
        if (pLCID)
            m_core->m_lcid = *pLCID;
        if (phClientGroup)
            m_core->m_hClientGroup = *phClientGroup;
    }
    if (wake)
        m_core->Wake();
    return hr;
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::SetName(LPCWSTR szName)
{
    HRESULT hr = Enter("IOPCGroupStateMgt::SetName");
    if (FAILED(hr))
        return hr;
    if (!szName || !*szName)
        return E_INVALIDARG;
    if (m_server->NameInUse(szName, m_core.get()))
        return OPC_E_DUPLICATENAME;
    std::lock_guard lock(m_core->m_mutex);
    m_core->m_name = szName;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::CloneGroup(LPCWSTR szName, REFIID riid, LPUNKNOWN* ppUnk)
{
    if (ppUnk)
        *ppUnk = nullptr;
    HRESULT hr = Enter("IOPCGroupStateMgt::CloneGroup");
    if (FAILED(hr))
        return hr;
    if (!ppUnk)
        return E_INVALIDARG;
    std::wstring name = szName && *szName ? std::wstring(szName) : m_server->UniqueName();
    if (m_server->NameInUse(name, nullptr))
        return OPC_E_DUPLICATENAME;
    auto clone =
        std::make_shared<CDaGroupCore>(m_core->m_class, m_core->m_space, m_core->m_server, m_core->m_da1);
    {
        std::scoped_lock lock(m_core->m_mutex, clone->m_mutex);
        clone->m_name = name;
        clone->m_active = FALSE; // a clone starts inactive
        clone->m_rate = m_core->m_rate;
        clone->m_timeBias = m_core->m_timeBias;
        clone->m_deadband = m_core->m_deadband;
        clone->m_lcid = m_core->m_lcid;
        clone->m_hClientGroup = m_core->m_hClientGroup;
        clone->m_keepAlive = m_core->m_keepAlive;
        clone->m_nextHandle = m_core->m_nextHandle;
        clone->m_items.resize(m_core->m_items.size());
        for (size_t i = 0; i < m_core->m_items.size(); ++i)
        {
            const CDaItem* from = m_core->m_items[i].get();
            if (!from)
                continue;
            auto item = std::make_unique<CDaItem>();
            item->hServer = from->hServer;
            item->hClient = from->hClient;
            item->tag = from->tag;
            item->active = from->active;
            item->requested = from->requested;
            item->accessPath = from->accessPath;
            clone->m_items[i] = std::move(item);
            ++clone->m_itemCount;
        }
    }
    CComPtr<COpcDaGroup> group = QyrNewObject<COpcDaGroup>(clone, m_server);
    hr = group->QueryInterface(riid, reinterpret_cast<void**>(ppUnk));
    if (FAILED(hr))
        return E_NOINTERFACE;
    m_server->EnterGroup(group, name);
    m_core->m_thread->AddTarget(clone, 0);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::SetKeepAlive(DWORD dwKeepAliveTime, DWORD* pdwRevisedKeepAliveTime)
{
    HRESULT hr = Enter("IOPCGroupStateMgt2::SetKeepAlive");
    if (FAILED(hr))
        return hr;
    if (!pdwRevisedKeepAliveTime)
        return E_INVALIDARG;
    DWORD revised = dwKeepAliveTime == 0 ? 0 : std::max(dwKeepAliveTime, kMinRate);
    {
        std::lock_guard lock(m_core->m_mutex);
        m_core->m_keepAlive = revised;
    }
    *pdwRevisedKeepAliveTime = revised;
    return revised == dwKeepAliveTime ? S_OK : OPC_S_UNSUPPORTEDRATE;
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::GetKeepAlive(DWORD* pdwKeepAliveTime)
{
    HRESULT hr = Enter("IOPCGroupStateMgt2::GetKeepAlive");
    if (FAILED(hr))
        return hr;
    if (!pdwKeepAliveTime)
        return E_INVALIDARG;
    std::lock_guard lock(m_core->m_mutex);
    *pdwKeepAliveTime = m_core->m_keepAlive;
    return S_OK;
}

// ---- COpcDaGroup: items -------------------------------------------------------------------------

HRESULT COpcDaGroup::CheckItems(DWORD dwCount, OPCITEMDEF* pItemArray, OPCITEMRESULT** ppResults,
                                HRESULT** ppErrors, BOOL add)
{
    if (!ppResults || !ppErrors)
        return E_INVALIDARG;
    *ppResults = nullptr;
    *ppErrors = nullptr;
    if (dwCount == 0 || !pItemArray)
        return E_INVALIDARG;
    auto* results = StandIn::TaskArray<OPCITEMRESULT>(dwCount);
    auto* errors = StandIn::TaskArray<HRESULT>(dwCount);
    if (!results || !errors)
    {
        CoTaskMemFree(results);
        CoTaskMemFree(errors);
        return E_OUTOFMEMORY;
    }
    const CAddressSpace& space = *m_core->m_space;
    ULONGLONG now = StandIn::TickMs();
    bool anyFailed = false;
    bool added = false;
    {
        std::lock_guard lock(m_core->m_mutex);
        for (DWORD i = 0; i < dwCount; ++i)
        {
            const OPCITEMDEF& def = pItemArray[i];
            HRESULT e = S_OK;
            int tag = -1;
            if (!def.szItemID || !*def.szItemID)
                e = OPC_E_INVALIDITEMID;
            else if ((tag = space.Find(def.szItemID)) < 0)
                e = OPC_E_UNKNOWNITEMID;
            else if (def.szAccessPath && *def.szAccessPath)
                e = OPC_E_UNKNOWNPATH;
            if (SUCCEEDED(e))
                e = m_core->m_class.ItemFault(def.szItemID);
            VARTYPE canonical = tag >= 0 ? space.GetTag(tag).vt : VARTYPE(VT_EMPTY);
            if (SUCCEEDED(e) && def.vtRequestedDataType != VT_EMPTY && def.vtRequestedDataType != canonical)
            {
                // Refuse types the value cannot be given in.
                VARIANT sample, converted;
                VariantInit(&sample);
                VariantInit(&converted);
                WORD q;
                FILETIME t;
                space.Sample(tag, now, &sample, &q, &t);
                if (!StandIn::IsSupportedType(def.vtRequestedDataType) ||
                    StandIn::ConvertValue(&converted, sample, def.vtRequestedDataType) == OPC_E_BADTYPE)
                    e = OPC_E_BADTYPE;
                VariantClear(&sample);
                VariantClear(&converted);
            }
            errors[i] = e;
            if (FAILED(e))
            {
                anyFailed = true;
                continue;
            }
            results[i].vtCanonicalDataType = canonical;
            results[i].dwAccessRights = space.GetTag(tag).rights;
            if (!add)
                continue;
            if (m_core->m_items.size() >= 0xFFFFFFF0u)
            {
                errors[i] = E_OUTOFMEMORY;
                anyFailed = true;
                continue;
            }
            auto item = std::make_unique<CDaItem>();
            item->hServer = OPCHANDLE(m_core->m_items.size() + 1);
            item->hClient = def.hClient;
            item->tag = tag;
            item->active = def.bActive ? TRUE : FALSE;
            item->requested = def.vtRequestedDataType;
            item->accessPath = def.szAccessPath ? def.szAccessPath : L"";
            m_core->RefreshCacheLocked(*item, now);
            results[i].hServer = item->hServer;
            m_core->m_items.push_back(std::move(item));
            ++m_core->m_itemCount;
            added = true;
        }
    }
    if (added)
        m_core->Wake();
    *ppResults = results;
    *ppErrors = errors;
    return anyFailed ? S_FALSE : S_OK;
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::AddItems(DWORD dwCount, OPCITEMDEF* pItemArray,
                                                OPCITEMRESULT** ppAddResults, HRESULT** ppErrors)
{
    if (ppAddResults)
        *ppAddResults = nullptr;
    if (ppErrors)
        *ppErrors = nullptr;
    HRESULT hr = Enter("IOPCItemMgt::AddItems");
    if (SUCCEEDED(hr))
        hr = m_core->m_class.ItemLimit(dwCount);
    if (FAILED(hr))
        return hr;
    return CheckItems(dwCount, pItemArray, ppAddResults, ppErrors, TRUE);
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::ValidateItems(DWORD dwCount, OPCITEMDEF* pItemArray, BOOL,
                                                     OPCITEMRESULT** ppValidationResults, HRESULT** ppErrors)
{
    if (ppValidationResults)
        *ppValidationResults = nullptr;
    if (ppErrors)
        *ppErrors = nullptr;
    HRESULT hr = Enter("IOPCItemMgt::ValidateItems");
    if (FAILED(hr))
        return hr;
    return CheckItems(dwCount, pItemArray, ppValidationResults, ppErrors, FALSE);
}

namespace
{
// Runs fn(item, i) for each handle; fn returns the item's error. The error array is the caller's.
template <class Fn>
HRESULT ForEachHandle(CDaGroupCore& core, DWORD dwCount, const OPCHANDLE* phServer, HRESULT** ppErrors, Fn fn)
{
    if (!ppErrors)
        return E_INVALIDARG;
    *ppErrors = nullptr;
    if (dwCount == 0 || !phServer)
        return E_INVALIDARG;
    auto* errors = StandIn::TaskArray<HRESULT>(dwCount);
    if (!errors)
        return E_OUTOFMEMORY;
    bool anyFailed = false;
    {
        std::lock_guard lock(core.m_mutex);
        for (DWORD i = 0; i < dwCount; ++i)
        {
            CDaItem* item = core.FindLocked(phServer[i]);
            errors[i] = item ? fn(*item, i) : OPC_E_INVALIDHANDLE;
            anyFailed = anyFailed || errors[i] != S_OK;
        }
    }
    *ppErrors = errors;
    return anyFailed ? S_FALSE : S_OK;
}
} // namespace

HRESULT STDMETHODCALLTYPE COpcDaGroup::RemoveItems(DWORD dwCount, OPCHANDLE* phServer, HRESULT** ppErrors)
{
    if (ppErrors)
        *ppErrors = nullptr;
    HRESULT hr = Enter("IOPCItemMgt::RemoveItems");
    if (FAILED(hr))
        return hr;
    std::vector<std::unique_ptr<CDaItem>> removed;
    hr = ForEachHandle(*m_core, dwCount, phServer, ppErrors,
                       [&](CDaItem& item, DWORD)
                       {
                           removed.push_back(std::move(m_core->m_items[item.hServer - 1]));
                           --m_core->m_itemCount;
                           return S_OK;
                       });
    return hr;
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::SetActiveState(DWORD dwCount, OPCHANDLE* phServer, BOOL bActive,
                                                      HRESULT** ppErrors)
{
    if (ppErrors)
        *ppErrors = nullptr;
    HRESULT hr = Enter("IOPCItemMgt::SetActiveState");
    if (FAILED(hr))
        return hr;
    hr = ForEachHandle(*m_core, dwCount, phServer, ppErrors,
                       [&](CDaItem& item, DWORD)
                       {
                           if (bActive && !item.active)
                               item.dirtyCallback = item.dirtyStream = true; // reported on activation
                           item.active = bActive ? TRUE : FALSE;
                           return S_OK;
                       });
    if (SUCCEEDED(hr) && bActive)
        m_core->Wake();
    return hr;
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::SetClientHandles(DWORD dwCount, OPCHANDLE* phServer,
                                                        OPCHANDLE* phClient, HRESULT** ppErrors)
{
    if (ppErrors)
        *ppErrors = nullptr;
    HRESULT hr = Enter("IOPCItemMgt::SetClientHandles");
    if (FAILED(hr))
        return hr;
    if (!phClient)
        return E_INVALIDARG;
    return ForEachHandle(*m_core, dwCount, phServer, ppErrors,
                         [&](CDaItem& item, DWORD i)
                         {
                             item.hClient = phClient[i];
                             return S_OK;
                         });
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::SetDatatypes(DWORD dwCount, OPCHANDLE* phServer,
                                                    VARTYPE* pRequestedDatatypes, HRESULT** ppErrors)
{
    if (ppErrors)
        *ppErrors = nullptr;
    HRESULT hr = Enter("IOPCItemMgt::SetDatatypes");
    if (FAILED(hr))
        return hr;
    if (!pRequestedDatatypes)
        return E_INVALIDARG;
    return ForEachHandle(*m_core, dwCount, phServer, ppErrors,
                         [&](CDaItem& item, DWORD i)
                         {
                             VARTYPE vt = pRequestedDatatypes[i];
                             if (vt != VT_EMPTY && vt != m_core->m_space->GetTag(item.tag).vt)
                             {
                                 VARIANT converted;
                                 VariantInit(&converted);
                                 HRESULT e = StandIn::IsSupportedType(vt)
                                                 ? StandIn::ConvertValue(&converted, item.cache, vt)
                                                 : OPC_E_BADTYPE;
                                 VariantClear(&converted);
                                 if (e == OPC_E_BADTYPE)
                                     return OPC_E_BADTYPE;
                             }
                             item.requested = vt;
                             return S_OK;
                         });
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::CreateEnumerator(REFIID riid, LPUNKNOWN* ppUnk)
{
    if (ppUnk)
        *ppUnk = nullptr;
    HRESULT hr = Enter("IOPCItemMgt::CreateEnumerator");
    if (FAILED(hr))
        return hr;
    if (!ppUnk)
        return E_INVALIDARG;
    if (riid != IID_IEnumOPCItemAttributes)
        return E_NOINTERFACE;
    auto list = std::make_shared<std::vector<CItemAttributesEnum::Entry>>();
    {
        std::lock_guard lock(m_core->m_mutex);
        for (const auto& item : m_core->m_items)
        {
            if (!item)
                continue;
            const CAddressSpace::Tag& tag = m_core->m_space->GetTag(item->tag);
            list->push_back(CItemAttributesEnum::Entry{item->accessPath, tag.id, item->active, item->hClient,
                                                       item->hServer, tag.rights, item->requested, tag.vt});
        }
    }
    bool empty = list->empty();
    CComPtr<CItemAttributesEnum> e = QyrNewObject<CItemAttributesEnum>(std::move(list), 0);
    *ppUnk = static_cast<IEnumOPCItemAttributes*>(e.Detach());
    return empty ? S_FALSE : S_OK;
}

// ---- COpcDaGroup: DA 1.0 data object and the connection points -----------------------------------

HRESULT STDMETHODCALLTYPE COpcDaGroup::GetData(FORMATETC*, STGMEDIUM*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::GetDataHere(FORMATETC*, STGMEDIUM*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::QueryGetData(FORMATETC*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* pformatetcOut)
{
    if (pformatetcOut)
        pformatetcOut->ptd = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::SetData(FORMATETC*, STGMEDIUM*, BOOL)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::EnumFormatEtc(DWORD, IEnumFORMATETC** ppenumFormatEtc)
{
    if (ppenumFormatEtc)
        *ppenumFormatEtc = nullptr;
    return E_NOTIMPL;
}

int COpcDaGroup::StreamOfConnection(DWORD connection)
{
    int stream = int(connection >> 16) - 1;
    return stream >= 0 && stream < STREAM_COUNT ? stream : -1;
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::DAdvise(FORMATETC* pformatetc, DWORD advf, IAdviseSink* pAdvSink,
                                               DWORD* pdwConnection)
{
    if (pdwConnection)
        *pdwConnection = 0;
    HRESULT hr = Enter("IDataObject::DAdvise");
    if (FAILED(hr))
        return hr;
    if (!pformatetc || !pAdvSink || !pdwConnection)
        return E_INVALIDARG;
    int stream = -1;
    for (int s = 0; s < STREAM_COUNT; ++s)
    {
        if (pformatetc->cfFormat == StreamFormat(s))
            stream = s;
    }
    if (stream < 0)
        return DV_E_FORMATETC;
    if (!(pformatetc->tymed & TYMED_HGLOBAL))
        return DV_E_TYMED;
    DWORD cookie = 0;
    hr = m_core->m_streams[stream]->Advise(pAdvSink, &cookie);
    if (FAILED(hr))
        return hr;
    if (cookie > 0xFFFF)
    {
        m_core->m_streams[stream]->Unadvise(cookie);
        return E_OUTOFMEMORY;
    }
    *pdwConnection = (DWORD(stream + 1) << 16) | cookie;
    if ((advf & ADVF_PRIMEFIRST) && stream != STREAM_WRITECOMPLETE)
    {
        // The current values of the active items, at once.
        std::shared_ptr<CDaGroupCore> core = m_core;
        core->m_thread->Post(
            [core, stream]
            {
                CDaReport report;
                {
                    std::lock_guard lock(core->m_mutex);
                    if (!core->m_active)
                        return;
                    ULONGLONG now = StandIn::TickMs();
                    for (auto& item : core->m_items)
                    {
                        if (item && item->active)
                            core->ReadItemLocked(*item, OPC_DS_CACHE, now, &report);
                    }
                }
                if (report.Count())
                    core->FireStream(stream, 0, report);
            });
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::DUnadvise(DWORD dwConnection)
{
    HRESULT hr = Enter("IDataObject::DUnadvise");
    if (FAILED(hr))
        return hr;
    int stream = StreamOfConnection(dwConnection);
    if (stream < 0)
        return OLE_E_NOCONNECTION;
    hr = m_core->m_streams[stream]->Unadvise(dwConnection & 0xFFFF);
    return FAILED(hr) ? OLE_E_NOCONNECTION : S_OK;
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::EnumDAdvise(IEnumSTATDATA** ppenumAdvise)
{
    if (ppenumAdvise)
        *ppenumAdvise = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::EnumConnectionPoints(IEnumConnectionPoints** ppEnum)
{
    if (ppEnum)
        *ppEnum = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP)
{
    if (ppCP)
        *ppCP = nullptr;
    HRESULT hr = Enter("IConnectionPointContainer::FindConnectionPoint");
    if (FAILED(hr))
        return hr;
    if (riid != IID_IOPCDataCallback || !m_core->m_callback)
        return CONNECT_E_NOCONNECTION;
    return m_core->m_points.Find(riid, ppCP);
}
