// Reads and writes of the stand-in group: synchronous, DA 2.0 asynchronous (IOPCDataCallback)
// and DA 1.0 asynchronous (streams).
#include "opcsdk/servers/DaGroup.h"

#include "com/ComUtil.h"
#include "opcsdk/servers/StandInUtil.h"

#include <memory>

namespace
{
bool ValidSource(OPCDATASOURCE source)
{
    return source == OPC_DS_CACHE || source == OPC_DS_DEVICE;
}

// Values a request carries to the server's thread.
typedef std::vector<_variant_t> ValueList;
} // namespace

HRESULT COpcDaGroup::CheckHandles(DWORD dwCount, const OPCHANDLE* phServer, HRESULT** ppErrors,
                                  std::vector<OPCHANDLE>* valid, std::vector<DWORD>* validIndex)
{
    *ppErrors = nullptr;
    if (dwCount == 0 || !phServer)
        return E_INVALIDARG;
    auto* errors = StandIn::TaskArray<HRESULT>(dwCount);
    if (!errors)
        return E_OUTOFMEMORY;
    bool anyFailed = false;
    {
        std::lock_guard lock(m_core->m_mutex);
        for (DWORD i = 0; i < dwCount; ++i)
        {
            CDaItem* item = m_core->FindLocked(phServer[i]);
            HRESULT e =
                item ? m_core->m_class.ItemFault(m_core->m_space->GetTag(item->tag).id) : OPC_E_INVALIDHANDLE;
            errors[i] = e;
            if (e == S_OK)
            {
                valid->push_back(phServer[i]);
                if (validIndex)
                    validIndex->push_back(i);
            }
            else
                anyFailed = true;
        }
    }
    *ppErrors = errors;
    return anyFailed ? S_FALSE : S_OK;
}

void COpcDaGroup::PostLocked(std::map<DWORD, CDaGroupCore::Pending> CDaGroupCore::*pending, DWORD key,
                             DWORD transId, std::function<void()> run)
{
    std::shared_ptr<CDaGroupCore> core = m_core;
    DWORD job = core->m_thread->Post(
        [core, pending, key, run = std::move(run)]
        {
            {
                std::lock_guard lock(core->m_mutex);
                if ((core.get()->*pending).erase(key) == 0)
                    return; // cancelled
            }
            run();
        },
        core->m_class.AsyncDelay());
    (core.get()->*pending)[key] = CDaGroupCore::Pending{job, transId};
}

// ---- Synchronous --------------------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE COpcDaGroup::Read(OPCDATASOURCE dwSource, DWORD dwCount, OPCHANDLE* phServer,
                                            OPCITEMSTATE** ppItemValues, HRESULT** ppErrors)
{
    if (ppItemValues)
        *ppItemValues = nullptr;
    if (ppErrors)
        *ppErrors = nullptr;
    HRESULT hr = Enter("IOPCSyncIO::Read");
    if (FAILED(hr))
        return hr;
    if (!ppItemValues || !ppErrors || dwCount == 0 || !phServer || !ValidSource(dwSource))
        return E_INVALIDARG;
    auto* states = StandIn::TaskArray<OPCITEMSTATE>(dwCount);
    auto* errors = StandIn::TaskArray<HRESULT>(dwCount);
    if (!states || !errors)
    {
        CoTaskMemFree(states);
        CoTaskMemFree(errors);
        return E_OUTOFMEMORY;
    }
    bool anyFailed = false;
    {
        std::lock_guard lock(m_core->m_mutex);
        ULONGLONG now = StandIn::TickMs();
        for (DWORD i = 0; i < dwCount; ++i)
        {
            OPCITEMSTATE& state = states[i];
            VariantInit(&state.vDataValue);
            CDaItem* item = m_core->FindLocked(phServer[i]);
            if (!item)
            {
                errors[i] = OPC_E_INVALIDHANDLE;
                anyFailed = true;
                continue;
            }
            state.hClient = item->hClient;
            errors[i] = m_core->ReadOneLocked(*item, dwSource, now, &state.vDataValue, &state.wQuality,
                                              &state.ftTimeStamp);
            anyFailed = anyFailed || errors[i] != S_OK;
        }
    }
    *ppItemValues = states;
    *ppErrors = errors;
    return anyFailed ? S_FALSE : S_OK;
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::Write(DWORD dwCount, OPCHANDLE* phServer, VARIANT* pItemValues,
                                             HRESULT** ppErrors)
{
    if (ppErrors)
        *ppErrors = nullptr;
    HRESULT hr = Enter("IOPCSyncIO::Write");
    if (FAILED(hr))
        return hr;
    if (!ppErrors || !pItemValues)
        return E_INVALIDARG;
    std::vector<OPCHANDLE> valid;
    std::vector<DWORD> index;
    hr = CheckHandles(dwCount, phServer, ppErrors, &valid, &index);
    if (FAILED(hr))
        return hr;
    bool anyFailed = hr != S_OK;
    std::vector<int> tags;
    {
        std::lock_guard lock(m_core->m_mutex);
        for (OPCHANDLE h : valid)
        {
            CDaItem* item = m_core->FindLocked(h);
            tags.push_back(item ? item->tag : -1);
        }
    }
    for (size_t k = 0; k < valid.size(); ++k)
    {
        HRESULT e =
            tags[k] < 0 ? OPC_E_INVALIDHANDLE : m_core->m_space->Write(tags[k], pItemValues[index[k]], FALSE);
        (*ppErrors)[index[k]] = e;
        anyFailed = anyFailed || e != S_OK;
    }
    return anyFailed ? S_FALSE : S_OK;
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::ReadMaxAge(DWORD dwCount, OPCHANDLE* phServer, DWORD* pdwMaxAge,
                                                  VARIANT** ppvValues, WORD** ppwQualities,
                                                  FILETIME** ppftTimeStamps, HRESULT** ppErrors)
{
    for (void** out : {reinterpret_cast<void**>(ppvValues), reinterpret_cast<void**>(ppwQualities),
                       reinterpret_cast<void**>(ppftTimeStamps), reinterpret_cast<void**>(ppErrors)})
    {
        if (out)
            *out = nullptr;
    }
    HRESULT hr = Enter("IOPCSyncIO2::ReadMaxAge");
    if (FAILED(hr))
        return hr;
    if (!ppvValues || !ppwQualities || !ppftTimeStamps || !ppErrors || dwCount == 0 || !phServer ||
        !pdwMaxAge)
        return E_INVALIDARG;
    auto* values = StandIn::TaskArray<VARIANT>(dwCount);
    auto* qualities = StandIn::TaskArray<WORD>(dwCount);
    auto* times = StandIn::TaskArray<FILETIME>(dwCount);
    auto* errors = StandIn::TaskArray<HRESULT>(dwCount);
    if (!values || !qualities || !times || !errors)
    {
        CoTaskMemFree(values);
        CoTaskMemFree(qualities);
        CoTaskMemFree(times);
        CoTaskMemFree(errors);
        return E_OUTOFMEMORY;
    }
    bool anyFailed = false;
    {
        std::lock_guard lock(m_core->m_mutex);
        ULONGLONG now = StandIn::TickMs();
        for (DWORD i = 0; i < dwCount; ++i)
        {
            VariantInit(&values[i]);
            CDaItem* item = m_core->FindLocked(phServer[i]);
            if (!item)
            {
                errors[i] = OPC_E_INVALIDHANDLE;
                anyFailed = true;
                continue;
            }
            // Fresh enough cache, else the device.
            bool fromCache = item->cached && pdwMaxAge[i] != 0 && now - item->cacheTick <= pdwMaxAge[i] &&
                             m_core->m_active && item->active;
            errors[i] = m_core->ReadOneLocked(*item, fromCache ? OPC_DS_CACHE : OPC_DS_DEVICE, now,
                                              &values[i], &qualities[i], &times[i]);
            anyFailed = anyFailed || errors[i] != S_OK;
        }
    }
    *ppvValues = values;
    *ppwQualities = qualities;
    *ppftTimeStamps = times;
    *ppErrors = errors;
    return anyFailed ? S_FALSE : S_OK;
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::WriteVQT(DWORD dwCount, OPCHANDLE* phServer, OPCITEMVQT* pItemVQT,
                                                HRESULT** ppErrors)
{
    if (ppErrors)
        *ppErrors = nullptr;
    HRESULT hr = Enter("IOPCSyncIO2::WriteVQT");
    if (FAILED(hr))
        return hr;
    if (!ppErrors || !pItemVQT)
        return E_INVALIDARG;
    std::vector<OPCHANDLE> valid;
    std::vector<DWORD> index;
    hr = CheckHandles(dwCount, phServer, ppErrors, &valid, &index);
    if (FAILED(hr))
        return hr;
    bool anyFailed = hr != S_OK;
    for (size_t k = 0; k < valid.size(); ++k)
    {
        const OPCITEMVQT& vqt = pItemVQT[index[k]];
        HRESULT e;
        if (vqt.bQualitySpecified || vqt.bTimeStampSpecified)
            e = OPC_E_NOTSUPPORTED; // values only
        else
        {
            int tag;
            {
                std::lock_guard lock(m_core->m_mutex);
                CDaItem* item = m_core->FindLocked(valid[k]);
                tag = item ? item->tag : -1;
            }
            e = tag < 0 ? OPC_E_INVALIDHANDLE : m_core->m_space->Write(tag, vqt.vDataValue, FALSE);
        }
        (*ppErrors)[index[k]] = e;
        anyFailed = anyFailed || e != S_OK;
    }
    return anyFailed ? S_FALSE : S_OK;
}

// ---- DA 2.0 asynchronous ----------------------------------------------------------------------

namespace
{
// Reads the handles on the server's thread.
void ReadForReport(CDaGroupCore& core, const std::vector<OPCHANDLE>& handles, OPCDATASOURCE source,
                   CDaReport* report)
{
    std::lock_guard lock(core.m_mutex);
    ULONGLONG now = StandIn::TickMs();
    for (OPCHANDLE h : handles)
    {
        CDaItem* item = core.FindLocked(h);
        if (item)
            core.ReadItemLocked(*item, source, now, report);
    }
}

// Writes on the server's thread: the client handles and errors of the written items.
void WriteForReport(CDaGroupCore& core, const std::vector<OPCHANDLE>& handles, const ValueList& values,
                    std::vector<OPCHANDLE>* clients, std::vector<HRESULT>* errors)
{
    for (size_t k = 0; k < handles.size(); ++k)
    {
        int tag = -1;
        OPCHANDLE client = 0;
        {
            std::lock_guard lock(core.m_mutex);
            if (CDaItem* item = core.FindLocked(handles[k]))
            {
                tag = item->tag;
                client = item->hClient;
            }
        }
        if (tag < 0)
            continue;
        clients->push_back(client);
        errors->push_back(core.m_space->Write(tag, values[k], FALSE));
    }
}
} // namespace

HRESULT STDMETHODCALLTYPE COpcDaGroup::Read(DWORD dwCount, OPCHANDLE* phServer, DWORD dwTransactionID,
                                            DWORD* pdwCancelID, HRESULT** ppErrors)
{
    if (ppErrors)
        *ppErrors = nullptr;
    HRESULT hr = Enter("IOPCAsyncIO2::Read");
    if (FAILED(hr))
        return hr;
    if (!pdwCancelID || !ppErrors)
        return E_INVALIDARG;
    if (!m_core->m_callback || !m_core->m_callback->IsConnected())
        return CONNECT_E_NOCONNECTION;
    std::vector<OPCHANDLE> valid;
    hr = CheckHandles(dwCount, phServer, ppErrors, &valid, nullptr);
    if (FAILED(hr))
        return hr;
    std::lock_guard lock(m_core->m_mutex);
    DWORD cancelId = m_core->m_nextCancelId++;
    *pdwCancelID = cancelId;
    if (valid.empty())
        return hr;
    std::weak_ptr<CDaGroupCore> weak = m_core;
    PostLocked(&CDaGroupCore::m_pending2, cancelId, dwTransactionID,
               [weak, valid, dwTransactionID]
               {
                   if (auto core = weak.lock())
                   {
                       CDaReport report;
                       ReadForReport(*core, valid, OPC_DS_DEVICE, &report);
                       core->FireReadComplete(dwTransactionID, report);
                   }
               });
    return hr;
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::Write(DWORD dwCount, OPCHANDLE* phServer, VARIANT* pItemValues,
                                             DWORD dwTransactionID, DWORD* pdwCancelID, HRESULT** ppErrors)
{
    if (ppErrors)
        *ppErrors = nullptr;
    HRESULT hr = Enter("IOPCAsyncIO2::Write");
    if (FAILED(hr))
        return hr;
    if (!pdwCancelID || !ppErrors || !pItemValues)
        return E_INVALIDARG;
    if (!m_core->m_callback || !m_core->m_callback->IsConnected())
        return CONNECT_E_NOCONNECTION;
    std::vector<OPCHANDLE> valid;
    std::vector<DWORD> index;
    hr = CheckHandles(dwCount, phServer, ppErrors, &valid, &index);
    if (FAILED(hr))
        return hr;
    ValueList values;
    for (DWORD i : index)
        values.emplace_back(pItemValues[i]);
    std::lock_guard lock(m_core->m_mutex);
    DWORD cancelId = m_core->m_nextCancelId++;
    *pdwCancelID = cancelId;
    if (valid.empty())
        return hr;
    std::weak_ptr<CDaGroupCore> weak = m_core;
    PostLocked(&CDaGroupCore::m_pending2, cancelId, dwTransactionID,
               [weak, valid, values, dwTransactionID]
               {
                   if (auto core = weak.lock())
                   {
                       std::vector<OPCHANDLE> clients;
                       std::vector<HRESULT> errors;
                       WriteForReport(*core, valid, values, &clients, &errors);
                       core->FireWriteComplete(dwTransactionID, clients, errors);
                   }
               });
    return hr;
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::Refresh2(OPCDATASOURCE dwSource, DWORD dwTransactionID,
                                                DWORD* pdwCancelID)
{
    HRESULT hr = Enter("IOPCAsyncIO2::Refresh2");
    if (FAILED(hr))
        return hr;
    if (!pdwCancelID || !ValidSource(dwSource))
        return E_INVALIDARG;
    if (!m_core->m_callback || !m_core->m_callback->IsConnected())
        return CONNECT_E_NOCONNECTION;
    std::lock_guard lock(m_core->m_mutex);
    std::vector<OPCHANDLE> active;
    for (const auto& item : m_core->m_items)
    {
        if (item && item->active)
            active.push_back(item->hServer);
    }
    if (!m_core->m_active || active.empty())
        return E_FAIL;
    DWORD cancelId = m_core->m_nextCancelId++;
    *pdwCancelID = cancelId;
    std::weak_ptr<CDaGroupCore> weak = m_core;
    PostLocked(&CDaGroupCore::m_pending2, cancelId, dwTransactionID,
               [weak, active, dwSource, dwTransactionID]
               {
                   if (auto core = weak.lock())
                   {
                       CDaReport report;
                       ReadForReport(*core, active, dwSource, &report);
                       core->FireDataChange(dwTransactionID, report);
                   }
               });
    return S_OK;
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::Cancel2(DWORD dwCancelID)
{
    HRESULT hr = Enter("IOPCAsyncIO2::Cancel2");
    if (FAILED(hr))
        return hr;
    DWORD transId;
    {
        std::lock_guard lock(m_core->m_mutex);
        auto it = m_core->m_pending2.find(dwCancelID);
        if (it == m_core->m_pending2.end() || !m_core->m_thread->Cancel(it->second.job))
            return E_FAIL;
        transId = it->second.transId;
        m_core->m_pending2.erase(it);
    }
    std::weak_ptr<CDaGroupCore> weak = m_core;
    m_core->m_thread->Post(
        [weak, transId]
        {
            if (auto core = weak.lock())
                core->FireCancelComplete(transId);
        });
    return S_OK;
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::SetEnable(BOOL bEnable)
{
    HRESULT hr = Enter("IOPCAsyncIO2::SetEnable");
    if (FAILED(hr))
        return hr;
    if (!m_core->m_callback || !m_core->m_callback->IsConnected())
        return CONNECT_E_NOCONNECTION;
    std::lock_guard lock(m_core->m_mutex);
    m_core->m_enabled = bEnable ? TRUE : FALSE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::GetEnable(BOOL* pbEnable)
{
    HRESULT hr = Enter("IOPCAsyncIO2::GetEnable");
    if (FAILED(hr))
        return hr;
    if (!pbEnable)
        return E_INVALIDARG;
    if (!m_core->m_callback || !m_core->m_callback->IsConnected())
        return CONNECT_E_NOCONNECTION;
    std::lock_guard lock(m_core->m_mutex);
    *pbEnable = m_core->m_enabled;
    return S_OK;
}

// ---- DA 1.0 asynchronous ----------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE COpcDaGroup::Read(DWORD dwConnection, OPCDATASOURCE dwSource, DWORD dwCount,
                                            OPCHANDLE* phServer, DWORD* pTransactionID, HRESULT** ppErrors)
{
    if (ppErrors)
        *ppErrors = nullptr;
    HRESULT hr = Enter("IOPCAsyncIO::Read");
    if (FAILED(hr))
        return hr;
    if (!pTransactionID || !ppErrors || !ValidSource(dwSource))
        return E_INVALIDARG;
    int stream = StreamOfConnection(dwConnection);
    if ((stream != STREAM_DATA && stream != STREAM_DATATIME) || !m_core->m_streams[stream]->IsConnected())
        return CONNECT_E_NOCONNECTION;
    std::vector<OPCHANDLE> valid;
    hr = CheckHandles(dwCount, phServer, ppErrors, &valid, nullptr);
    if (FAILED(hr))
        return hr;
    std::lock_guard lock(m_core->m_mutex);
    DWORD transId = m_core->m_nextTransId++;
    *pTransactionID = transId;
    if (valid.empty())
        return hr;
    std::weak_ptr<CDaGroupCore> weak = m_core;
    PostLocked(&CDaGroupCore::m_pending1, transId, transId,
               [weak, valid, dwSource, stream, transId]
               {
                   if (auto core = weak.lock())
                   {
                       CDaReport report;
                       ReadForReport(*core, valid, dwSource, &report);
                       core->FireStream(stream, transId, report);
                   }
               });
    return hr;
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::Write(DWORD dwConnection, DWORD dwCount, OPCHANDLE* phServer,
                                             VARIANT* pItemValues, DWORD* pTransactionID, HRESULT** ppErrors)
{
    if (ppErrors)
        *ppErrors = nullptr;
    HRESULT hr = Enter("IOPCAsyncIO::Write");
    if (FAILED(hr))
        return hr;
    if (!pTransactionID || !ppErrors || !pItemValues)
        return E_INVALIDARG;
    if (StreamOfConnection(dwConnection) != STREAM_WRITECOMPLETE ||
        !m_core->m_streams[STREAM_WRITECOMPLETE]->IsConnected())
        return CONNECT_E_NOCONNECTION;
    std::vector<OPCHANDLE> valid;
    std::vector<DWORD> index;
    hr = CheckHandles(dwCount, phServer, ppErrors, &valid, &index);
    if (FAILED(hr))
        return hr;
    ValueList values;
    for (DWORD i : index)
        values.emplace_back(pItemValues[i]);
    std::lock_guard lock(m_core->m_mutex);
    DWORD transId = m_core->m_nextTransId++;
    *pTransactionID = transId;
    if (valid.empty())
        return hr;
    std::weak_ptr<CDaGroupCore> weak = m_core;
    PostLocked(&CDaGroupCore::m_pending1, transId, transId,
               [weak, valid, values, transId]
               {
                   if (auto core = weak.lock())
                   {
                       std::vector<OPCHANDLE> clients;
                       std::vector<HRESULT> errors;
                       WriteForReport(*core, valid, values, &clients, &errors);
                       core->FireStreamWriteComplete(transId, clients, errors);
                   }
               });
    return hr;
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::Refresh(DWORD dwConnection, OPCDATASOURCE dwSource,
                                               DWORD* pTransactionID)
{
    HRESULT hr = Enter("IOPCAsyncIO::Refresh");
    if (FAILED(hr))
        return hr;
    if (!pTransactionID || !ValidSource(dwSource))
        return E_INVALIDARG;
    int stream = StreamOfConnection(dwConnection);
    if ((stream != STREAM_DATA && stream != STREAM_DATATIME) || !m_core->m_streams[stream]->IsConnected())
        return CONNECT_E_NOCONNECTION;
    std::lock_guard lock(m_core->m_mutex);
    std::vector<OPCHANDLE> active;
    for (const auto& item : m_core->m_items)
    {
        if (item && item->active)
            active.push_back(item->hServer);
    }
    if (!m_core->m_active || active.empty())
        return E_FAIL;
    DWORD transId = m_core->m_nextTransId++;
    *pTransactionID = transId;
    std::weak_ptr<CDaGroupCore> weak = m_core;
    PostLocked(&CDaGroupCore::m_pending1, transId, transId,
               [weak, active, dwSource, stream, transId]
               {
                   if (auto core = weak.lock())
                   {
                       CDaReport report;
                       ReadForReport(*core, active, dwSource, &report);
                       core->FireStream(stream, transId, report);
                   }
               });
    return S_OK;
}

HRESULT STDMETHODCALLTYPE COpcDaGroup::Cancel(DWORD dwTransactionID)
{
    HRESULT hr = Enter("IOPCAsyncIO::Cancel");
    if (FAILED(hr))
        return hr;
    std::lock_guard lock(m_core->m_mutex);
    auto it = m_core->m_pending1.find(dwTransactionID);
    if (it == m_core->m_pending1.end() || !m_core->m_thread->Cancel(it->second.job))
        return E_FAIL;
    m_core->m_pending1.erase(it);
    return S_OK;
}
