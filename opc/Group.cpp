#include "opc/Group.h"

#include "opc/AdviseSink.h"
#include "opc/IDataObjectWrapper.h"
#include "opc/IEnumOPCItemAttributesWrapper.h"
#include "opc/IOPCAsyncIOWrapper.h"
#include "opc/IOPCItemMgtWrapper.h"
#include "opc/IOPCSyncIOWrapper.h"
#include "opc/InfoServer.h"
#include "opc/Item.h"
#include "opc/OPCConnectionPoint.h"
#include "opc/OPCDialogs.h"

#include "logvane/Logvane.h"
#include "mfc/Archive.h"

#include <algorithm>
#include <memory>

IMPLEMENT_DYNCREATE(CGroup, CObject)

namespace
{
void FreeResults(OPCITEMRESULT* results, DWORD count)
{
    if (results)
    {
        for (DWORD i = 0; i < count; ++i)
            CoTaskMemFree(results[i].pBlob);
    }
    CoTaskMemFree(results);
}

void FreeAttributes(OPCITEMATTRIBUTES* records, ULONG count)
{
    if (!records)
        return;
    for (ULONG i = 0; i < count; ++i)
    {
        CoTaskMemFree(records[i].szAccessPath);
        CoTaskMemFree(records[i].szItemID);
        CoTaskMemFree(records[i].pBlob);
        VariantClear(&records[i].vEUInfo);
    }
    CoTaskMemFree(records);
}
} // namespace

CGroup::CGroup()
{
    m_hClient = GetHandleTable().Add(this);
}

CGroup::~CGroup()
{
    GetHandleTable().Remove(m_hClient);
    // Items normally go before their group; any left behind must not point at it.
    for (INT_PTR i = 0; i < m_items.GetSize(); ++i)
    {
        if (m_items[i] && m_items[i]->GetGroup() == this)
            m_items[i]->SetGroup(nullptr);
    }
    m_items.RemoveAll();
}

CGroup::CHandleTable& CGroup::GetHandleTable()
{
    static CHandleTable table;
    return table;
}

CGroup* CGroup::FromClientHandle(OPCHANDLE handle)
{
    return GetHandleTable().Find(handle);
}

BOOL CGroup::IsDA20() const
{
    return m_pInfoServer && m_pInfoServer->GetOPCVersion() >= 2.0f;
}

void CGroup::DisplayError(HRESULT hr) const
{
    if (m_pInfoServer)
        m_pInfoServer->DisplayError(hr);
    else
        XVKLOG_ERROR(L"OPC group '%s': error 0x%08X", m_strName.GetString(), unsigned(hr));
}

void CGroup::ClearLastErrors()
{
    m_hrLastError = S_OK;
    if (m_pInfoServer)
        m_pInfoServer->ClearLastError();
}

void CGroup::FailWith(HRESULT hr)
{
    m_hrLastError = hr;
    DisplayError(hr);
}

DWORD CGroup::GetAsyncConnection() const
{
    if (m_pInfoServer && m_pInfoServer->GetDataChangeType() > 0)
        return m_dwDataTimeConnection;
    return m_dwDataConnection;
}

void CGroup::DeleteAllItems()
{
    for (INT_PTR i = 0; i < m_items.GetSize(); ++i)
        delete m_items[i];
    m_items.RemoveAll();
}

unsigned CGroup::GetItems(CItemArray** out)
{
    if (out)
        *out = &m_items;
    return unsigned(m_items.GetSize());
}

BOOL CGroup::AddItem()
{
    COPCDialogs::DoAddItemDialog(this);
    return TRUE;
}

BOOL CGroup::ReloadItems()
{
    CIOPCItemMgt itemMgt(GetSafeInterface());
    CComPtr<IUnknown> unknown;
    HRESULT hr = itemMgt.CreateEnumerator(IID_IEnumOPCItemAttributes, &unknown);
    if (FAILED(hr))
    {
        DisplayError(hr);
        return FALSE;
    }
    CComQIPtr<IEnumOPCItemAttributes> enumerator(unknown.p);
    if (!enumerator)
    {
        DisplayError(E_NOINTERFACE);
        return FALSE;
    }
    CIEnumOPCItemAttributes original(enumerator);
    CComPtr<IEnumOPCItemAttributes> cloned;
    hr = original.Clone(&cloned);
    if (FAILED(hr))
    {
        DisplayError(hr);
        return FALSE;
    }
    CIEnumOPCItemAttributes items(cloned);
    ULONG batch = m_pInfoServer ? m_pInfoServer->GetReloadEnumAttributesNextElements() : 1;
    if (batch == 0)
        batch = 1;
    hr = items.Reset();
    if (FAILED(hr))
    {
        DisplayError(hr);
        return FALSE;
    }

    for (;;)
    {
        OPCITEMATTRIBUTES* records = nullptr;
        ULONG fetched = 0;
        hr = items.Next(batch, &records, &fetched);
        if (hr != S_OK && hr != S_FALSE)
        {
            FreeAttributes(records, std::min(fetched, batch));
            break;
        }
        if (!records || fetched > batch)
            fetched = records ? std::min(fetched, batch) : 0;
        std::vector<OPCHANDLE> handles(fetched, 0);
        for (ULONG i = 0; i < fetched; ++i)
        {
            auto item = std::make_unique<CItem>();
            OPCHANDLE serverHandle = records[i].hServer;
            OPCHANDLE clientHandle = item->GetClientHandle();
            HRESULT* errors = nullptr;
            HRESULT call = itemMgt.SetClientHandles(1, &serverHandle, &clientHandle, &errors);
            if (FAILED(call))
                FailWith(call);
            else if (errors && FAILED(errors[0]))
                FailWith(errors[0]);
            else
            {
                item->SetName(records[i].szItemID ? records[i].szItemID : L"");
                item->SetHandle(serverHandle);
                item->SetDataType(records[i].vtRequestedDataType);
                item->SetGroup(this);
                m_items.Add(item.get());
                item.release();
                handles[i] = serverHandle;
                ClearLastErrors();
            }
            CoTaskMemFree(errors);
        }
        FreeAttributes(records, fetched);
        if (fetched > 0)
            ReadItemsSync(OPC_DS_CACHE, fetched, handles.data());
        // S_FALSE ends the list; S_OK with nothing fetched would never end it.
        if (hr == S_FALSE || fetched == 0)
            break;
    }

    hr = items.Reset();
    if (FAILED(hr))
        DisplayError(hr);
    hr = items.Skip(ULONG(m_items.GetSize()));
    if (FAILED(hr))
        FailWith(hr);
    return TRUE;
}

OPCITEMDEF CGroup::MakeDefinition(const CItem* item, LPWSTR itemId)
{
    OPCITEMDEF definition = {};
    definition.szAccessPath = const_cast<LPWSTR>(L"");
    definition.szItemID = itemId;
    definition.bActive = TRUE;
    definition.hClient = item->GetClientHandle();
    definition.vtRequestedDataType = item->GetDataType();
    return definition;
}

void CGroup::TakeAddResult(CItem* item, const OPCITEMRESULT& result, HRESULT itemError)
{
    item->SetHandle(result.hServer);
    if (item->GetDataType() == VT_EMPTY)
    {
        if (SUCCEEDED(itemError))
            item->SetDataType(result.vtCanonicalDataType);
    }
    else if (itemError == OPC_E_BADTYPE)
        item->SetDataType(result.vtCanonicalDataType);
    item->SetGroup(this);
}

BOOL CGroup::ReCreateItemOnServer(CItem** ppItem)
{
    if (!ppItem || !*ppItem)
        return FALSE;
    CItem* item = *ppItem;
    _bstr_t itemId(item->GetName().GetString());
    OPCITEMDEF definition = MakeDefinition(item, itemId);

    if (m_pInfoServer && m_pInfoServer->UseValidateItems() && !ValidateItems(1, &definition))
        return FALSE;
    CIOPCItemMgt itemMgt(GetSafeInterface());
    OPCITEMRESULT* results = nullptr;
    HRESULT* errors = nullptr;
    HRESULT hr = itemMgt.AddItems(1, &definition, &results, &errors);
    if (FAILED(hr))
    {
        DisplayError(hr);
        return FALSE;
    }
    if (results)
        TakeAddResult(item, results[0], errors ? errors[0] : S_OK);
    else
        item->SetGroup(this);
    FreeResults(results, 1);
    CoTaskMemFree(errors);
    return TRUE;
}

HRESULT CGroup::ReCreateItemBatch(INT_PTR first, INT_PTR count, std::vector<CItem*>* refused)
{
    std::vector<_bstr_t> ids;
    std::vector<OPCITEMDEF> definitions;
    ids.reserve(size_t(count));
    definitions.reserve(size_t(count));
    for (INT_PTR i = first; i < first + count; ++i)
    {
        ids.emplace_back(m_items[i]->GetName().GetString());
        definitions.push_back(MakeDefinition(m_items[i], ids.back()));
    }
    // A batch that does not validate goes one by one, so that the same item stops the re-creation.
    if (m_pInfoServer && m_pInfoServer->UseValidateItems() &&
        !ValidateItems(DWORD(count), definitions.data()))
    {
        for (INT_PTR i = first; i < first + count; ++i)
            refused->push_back(m_items[i]);
        return S_OK;
    }
    CIOPCItemMgt itemMgt(GetSafeInterface());
    OPCITEMRESULT* results = nullptr;
    HRESULT* errors = nullptr;
    HRESULT hr = itemMgt.AddItems(DWORD(count), definitions.data(), &results, &errors);
    if (FAILED(hr))
    {
        FreeResults(results, DWORD(count));
        CoTaskMemFree(errors);
        return hr;
    }
    for (INT_PTR i = 0; i < count; ++i)
    {
        CItem* item = m_items[first + i];
        HRESULT itemError = errors ? errors[i] : S_OK;
        if (!results || FAILED(itemError))
            refused->push_back(item);
        else
            TakeAddResult(item, results[i], itemError);
    }
    FreeResults(results, DWORD(count));
    CoTaskMemFree(errors);
    return S_OK;
}

BOOL CGroup::ReCreateItemsOnServer()
{
    const INT_PTR total = m_items.GetSize();
    INT_PTR batch = total;
    std::vector<CItem*> refused;
    for (INT_PTR first = 0; first < total;)
    {
        const INT_PTR count = std::min(batch, total - first);
        if (count > 1)
        {
            HRESULT hr = ReCreateItemBatch(first, count, &refused);
            if (FAILED(hr))
            {
                // A server gone away takes no smaller call either; any other refusal of the whole
                // call may be the server's limit on items per call.
                if (hr == RPC_E_DISCONNECTED || hr == RPC_S_SERVER_UNAVAILABLE)
                {
                    DisplayError(hr);
                    return FALSE;
                }
                batch = count / 2;
                continue;
            }
        }
        else
            refused.push_back(m_items[first]);
        for (CItem* item : refused)
        {
            if (!ReCreateItemOnServer(&item))
                return FALSE;
        }
        refused.clear();
        first += count;
    }
    return TRUE;
}

BOOL CGroup::RemoveItem(CItem** ppItem)
{
    if (!ppItem || !*ppItem)
        return FALSE;
    CItem* item = *ppItem;
    CIOPCItemMgt itemMgt(GetSafeInterface());
    OPCHANDLE handle = item->GetHandle();
    HRESULT* errors = nullptr;
    HRESULT hr = itemMgt.RemoveItems(1, &handle, &errors);
    CoTaskMemFree(errors);
    if (FAILED(hr))
    {
        DisplayError(hr);
        return FALSE;
    }
    for (INT_PTR i = m_items.GetSize() - 1; i >= 0; --i)
    {
        if (m_items[i] == item)
            m_items.RemoveAt(i);
    }
    m_items.FreeExtra();
    delete item;
    *ppItem = nullptr;
    ClearLastErrors();
    return TRUE;
}

BOOL CGroup::RemoveItems(CItemArray* items)
{
    if (!items || items->GetSize() == 0)
        return FALSE;
    std::vector<OPCHANDLE> handles;
    handles.reserve(size_t(items->GetSize()));
    for (INT_PTR i = 0; i < items->GetSize(); ++i)
        handles.push_back(items->GetAt(i) ? items->GetAt(i)->GetHandle() : 0);
    CIOPCItemMgt itemMgt(GetSafeInterface());
    HRESULT* errors = nullptr;
    HRESULT hr = itemMgt.RemoveItems(DWORD(handles.size()), handles.data(), &errors);
    CoTaskMemFree(errors);
    if (FAILED(hr))
    {
        DisplayError(hr);
        return FALSE;
    }
    if (items == &m_items)
        DeleteAllItems();
    else
    {
        // Each listed item of this group leaves the group and the list and is deleted.
        for (INT_PTR i = items->GetSize() - 1; i >= 0; --i)
        {
            CItem* item = items->GetAt(i);
            INT_PTR slot = -1;
            for (INT_PTR j = 0; j < m_items.GetSize(); ++j)
            {
                if (m_items[j] == item)
                {
                    slot = j;
                    break;
                }
            }
            if (slot < 0)
                continue;
            m_items.RemoveAt(slot);
            items->RemoveAt(i);
            delete item;
        }
    }
    m_items.FreeExtra();
    ClearLastErrors();
    return TRUE;
}

BOOL CGroup::Advise()
{
    if (IsDA20())
    {
        COPCConnectionPoint* sink = m_pInfoServer->GetDataAccessConnectionPoint();
        if (!sink || !sink->Advise(this))
            return FALSE;
        if (!m_bDataChangeEnabled)
            return SetDataChangeEnabled(FALSE, TRUE);
        return TRUE;
    }

    CIAdviseSink* sink = m_pInfoServer ? m_pInfoServer->GetAdviseSink() : nullptr;
    if (!sink)
        return FALSE;
    CComQIPtr<IOPCGroupStateMgt> stateMgt(GetSafeInterface().p);
    CIDataObject dataObject(stateMgt.p);

    FORMATETC format = {};
    format.cfFormat = CLIPFORMAT(RegisterClipboardFormat(OPCSTMFORMATWRITECOMPLETE_NAME));
    format.ptd = nullptr;
    format.dwAspect = DVASPECT_CONTENT;
    format.lindex = -1;
    format.tymed = TYMED_HGLOBAL;
    DWORD connection = 0;
    HRESULT hr = dataObject.DAdvise(&format, ADVF_PRIMEFIRST, sink, &connection);
    if (FAILED(hr))
    {
        FailWith(hr);
        if (connection)
            dataObject.DUnadvise(connection);
        return FALSE;
    }
    ClearLastErrors();
    m_dwWriteCompleteConnection = connection;

    BOOL withTime = m_pInfoServer->GetDataChangeType() > 0;
    format.cfFormat =
        CLIPFORMAT(RegisterClipboardFormat(withTime ? OPCSTMFORMATDATATIME_NAME : OPCSTMFORMATDATA_NAME));
    connection = 0;
    hr = dataObject.DAdvise(&format, ADVF_PRIMEFIRST, sink, &connection);
    if (FAILED(hr))
    {
        FailWith(hr);
        if (connection)
            dataObject.DUnadvise(connection);
        return FALSE;
    }
    ClearLastErrors();
    if (withTime)
        m_dwDataTimeConnection = connection;
    else
        m_dwDataConnection = connection;
    return TRUE;
}

BOOL CGroup::UnAdvise()
{
    if (IsDA20())
    {
        COPCConnectionPoint* sink = m_pInfoServer->GetDataAccessConnectionPoint();
        if (!sink)
            return FALSE;
        return sink->Unadvise(this);
    }
    CComQIPtr<IOPCGroupStateMgt> stateMgt(GetSafeInterface().p);
    CIDataObject dataObject(stateMgt.p);
    for (DWORD* connection : {&m_dwWriteCompleteConnection, &m_dwDataTimeConnection, &m_dwDataConnection})
    {
        if (*connection != 0 && SUCCEEDED(dataObject.DUnadvise(*connection)))
            *connection = 0;
    }
    return TRUE;
}

BOOL CGroup::ReadItemsSync(OPCDATASOURCE source)
{
    if (m_items.GetSize() == 0)
        return FALSE;
    std::vector<OPCHANDLE> handles;
    handles.reserve(size_t(m_items.GetSize()));
    for (INT_PTR i = 0; i < m_items.GetSize(); ++i)
        handles.push_back(m_items[i]->GetHandle());
    return ReadItemsSync(source, DWORD(handles.size()), handles.data());
}

BOOL CGroup::ReadItemsSync(OPCDATASOURCE source, DWORD count, OPCHANDLE* serverHandles)
{
    CIOPCSyncIO syncIO(GetSafeInterface());
    OPCITEMSTATE* states = nullptr;
    HRESULT* errors = nullptr;
    HRESULT hr = syncIO.Read(source, count, serverHandles, &states, &errors);
    if (FAILED(hr))
    {
        FailWith(hr);
        return FALSE;
    }
    if (states)
    {
        CItem::CHandleTable::CReadLock table(CItem::GetHandleTable());
        for (DWORD i = 0; i < count; ++i)
        {
            OPCITEMSTATE& state = states[i];
            CItem* item = state.hClient ? table.Find(state.hClient) : nullptr;
            if (errors && FAILED(errors[i]))
            {
                DisplayError(errors[i]);
                if (item)
                    item->SetQuality(OPC_QUALITY_BAD);
            }
            else if (item)
                item->StoreReport(state.vDataValue, state.wQuality, &state.ftTimeStamp);
            VariantClear(&state.vDataValue);
        }
    }
    ClearLastErrors();
    CoTaskMemFree(states);
    CoTaskMemFree(errors);
    return TRUE;
}

BOOL CGroup::ReadItemsAsync(OPCDATASOURCE source, DWORD count, OPCHANDLE* serverHandles)
{
    CIOPCAsyncIO asyncIO(GetSafeInterface());
    HRESULT* errors = nullptr;
    HRESULT hr;
    BeginRequest();
    if (!IsDA20())
    {
        DWORD transaction = 0;
        hr = asyncIO.Read(GetAsyncConnection(), source, count, serverHandles, &transaction, &errors);
        EndRequest(SUCCEEDED(hr), transaction, FALSE, 0);
    }
    else
    {
        DWORD cancel = 0;
        hr = asyncIO.Read(count, serverHandles, OPC_TRANSACTION_READ, &cancel, &errors);
        EndRequest(SUCCEEDED(hr), OPC_TRANSACTION_READ, TRUE, cancel);
    }
    if (FAILED(hr))
    {
        CoTaskMemFree(errors);
        FailWith(hr);
        return FALSE;
    }
    for (DWORD i = 0; errors && i < count; ++i)
    {
        if (FAILED(errors[i]))
            DisplayError(errors[i]);
    }
    ClearLastErrors();
    CoTaskMemFree(errors);
    return TRUE;
}

BOOL CGroup::Refresh(OPCDATASOURCE source)
{
    CIOPCAsyncIO asyncIO(GetSafeInterface());
    HRESULT hr;
    BeginRequest();
    if (IsDA20())
    {
        DWORD cancel = 0;
        hr = asyncIO.Refresh2(source, OPC_TRANSACTION_REFRESH, &cancel);
        EndRequest(SUCCEEDED(hr), OPC_TRANSACTION_REFRESH, TRUE, cancel);
    }
    else
    {
        DWORD transaction = 0;
        hr = asyncIO.Refresh(GetAsyncConnection(), source, &transaction);
        EndRequest(SUCCEEDED(hr), transaction, FALSE, 0);
    }
    if (FAILED(hr))
    {
        FailWith(hr);
        return FALSE;
    }
    ClearLastErrors();
    return TRUE;
}

BOOL CGroup::Cancel()
{
    DWORD transaction = GetCurrentTransactionID();
    if (transaction == 0)
        return FALSE;
    CIOPCAsyncIO asyncIO(GetSafeInterface());
    HRESULT hr;
    if (!IsDA20())
        hr = asyncIO.Cancel(transaction);
    else
    {
        DWORD cancel = GetCurrentCancelID();
        if (cancel == 0)
            return FALSE;
        hr = asyncIO.Cancel2(cancel);
    }
    if (FAILED(hr))
    {
        FailWith(hr);
        return FALSE;
    }
    CloseTransaction(transaction);
    ClearLastErrors();
    return TRUE;
}

BOOL CGroup::CommandItemsSync(DWORD count, OPCHANDLE* serverHandles, VARIANT* values)
{
    CIOPCSyncIO syncIO(GetSafeInterface());
    HRESULT* errors = nullptr;
    HRESULT hr = syncIO.Write(count, serverHandles, values, &errors);
    if (FAILED(hr))
    {
        CoTaskMemFree(errors);
        DisplayError(hr);
        return FALSE;
    }
    BOOL result = TRUE;
    for (DWORD i = 0; errors && i < count; ++i)
    {
        if (FAILED(errors[i]))
        {
            DisplayError(errors[i]);
            result = FALSE;
        }
    }
    ClearLastErrors();
    CoTaskMemFree(errors);
    return result;
}

BOOL CGroup::CommandItemsAsync(DWORD count, OPCHANDLE* serverHandles, VARIANT* values)
{
    CIOPCAsyncIO asyncIO(GetSafeInterface());
    HRESULT* errors = nullptr;
    HRESULT hr;
    BeginRequest();
    if (!IsDA20())
    {
        DWORD transaction = 0;
        hr = asyncIO.Write(m_dwWriteCompleteConnection, count, serverHandles, values, &transaction, &errors);
        EndRequest(SUCCEEDED(hr), transaction, FALSE, 0);
    }
    else
    {
        DWORD cancel = 0;
        hr = asyncIO.Write(count, serverHandles, values, OPC_TRANSACTION_WRITE, &cancel, &errors);
        EndRequest(SUCCEEDED(hr), OPC_TRANSACTION_WRITE, TRUE, cancel);
    }
    if (FAILED(hr))
    {
        CoTaskMemFree(errors);
        FailWith(hr);
        return FALSE;
    }
    BOOL result = TRUE;
    for (DWORD i = 0; errors && i < count; ++i)
    {
        if (FAILED(errors[i]))
        {
            DisplayError(errors[i]);
            result = FALSE;
        }
    }
    ClearLastErrors();
    CoTaskMemFree(errors);
    return result;
}

BOOL CGroup::GetDataChangeEnabled(BOOL* enabled, BOOL fromServer)
{
    BOOL value = TRUE;
    BOOL result = TRUE;
    if (!IsDA20())
        value = TRUE;
    else if (!fromServer)
        value = m_bDataChangeEnabled;
    else
    {
        CIOPCAsyncIO asyncIO(GetSafeInterface());
        BOOL serverValue = FALSE;
        HRESULT hr = asyncIO.GetEnable(&serverValue);
        if (FAILED(hr))
        {
            FailWith(hr);
            value = FALSE;
            result = FALSE;
        }
        else
        {
            ClearLastErrors();
            value = serverValue ? TRUE : FALSE;
        }
    }
    if (enabled)
        *enabled = value;
    m_bDataChangeEnabled = value;
    return result;
}

BOOL CGroup::SetDataChangeEnabled(BOOL enable, BOOL toServer)
{
    BOOL result = TRUE;
    if (!IsDA20())
        enable = TRUE;
    else if (toServer)
    {
        CIOPCAsyncIO asyncIO(GetSafeInterface());
        HRESULT hr = asyncIO.SetEnable(enable);
        if (FAILED(hr))
        {
            FailWith(hr);
            enable = FALSE;
            result = FALSE;
        }
        else
        {
            CloseTransaction(0);
            ClearLastErrors();
        }
    }
    m_bDataChangeEnabled = enable;
    return result;
}

BOOL CGroup::ValidateItems(DWORD count, OPCITEMDEF* definitions)
{
    CIOPCItemMgt itemMgt(GetSafeInterface());
    OPCITEMRESULT* results = nullptr;
    HRESULT* errors = nullptr;
    HRESULT hr = itemMgt.ValidateItems(count, definitions, FALSE, &results, &errors);
    if (FAILED(hr))
        return FALSE;
    BOOL result = TRUE;
    for (DWORD i = 0; errors && i < count; ++i)
    {
        if (FAILED(errors[i]))
            result = FALSE;
    }
    FreeResults(results, count);
    CoTaskMemFree(errors);
    return result;
}

BOOL CGroup::CheckForOpenTransactions() const
{
    std::lock_guard lock(m_lock);
    if (m_dwTransactionID != 0)
        return FALSE;
    if (IsDA20() && m_dwCancelID != 0)
        return FALSE;
    return TRUE;
}

void CGroup::SetItemQualities(WORD quality)
{
    for (INT_PTR i = 0; i < m_items.GetSize(); ++i)
        m_items[i]->SetQuality(quality);
}

void CGroup::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << m_strName << DWORD(m_bActive);
        ar.WriteCount(DWORD_PTR(m_items.GetSize()));
        // The placeholders stay 4 bytes: the items' client handles.
        for (INT_PTR i = 0; i < m_items.GetSize(); ++i)
            ar << DWORD(m_items[i]->GetClientHandle());
        for (INT_PTR i = 0; i < m_items.GetSize(); ++i)
            m_items[i]->Serialize(ar);
        ar << DWORD(m_dwUpdateRate) << DWORD(m_lTimeBias) << m_fDeadBand << DWORD(m_dwLCID)
           << DWORD(m_bDataChangeEnabled);
        return;
    }

    DeleteAllItems();
    try
    {
        DWORD active = 0;
        ar >> m_strName >> active;
        m_bActive = BOOL(active);
        DWORD_PTR count = ar.ReadCount(sizeof(DWORD));
        for (DWORD_PTR i = 0; i < count; ++i)
        {
            DWORD placeholder = 0;
            ar >> placeholder;
        }
        for (DWORD_PTR i = 0; i < count; ++i)
        {
            XVKLOG_ERROR(L"we should use ptr array instead!");
            auto item = std::make_unique<CItem>();
            m_items.Add(item.get());
            item.release()->Serialize(ar);
        }
        DWORD rate = 0, bias = 0, lcid = 0, dataChange = 0;
        ar >> rate >> bias >> m_fDeadBand >> lcid >> dataChange;
        m_dwUpdateRate = rate;
        m_lTimeBias = LONG(bias);
        m_dwLCID = lcid;
        m_bDataChangeEnabled = BOOL(dataChange);
    }
    catch (...)
    {
        DeleteAllItems();
        throw;
    }
}

DWORD CGroup::GetCurrentTransactionID() const
{
    std::lock_guard lock(m_lock);
    return m_dwTransactionID;
}

void CGroup::SetCurrentTransactionID(DWORD id)
{
    std::lock_guard lock(m_lock);
    m_dwTransactionID = id;
}

DWORD CGroup::GetCurrentCancelID() const
{
    std::lock_guard lock(m_lock);
    return m_dwCancelID;
}

void CGroup::SetCurrentCancelID(DWORD id)
{
    std::lock_guard lock(m_lock);
    m_dwCancelID = id;
}

void CGroup::CloseTransaction(DWORD reportedId)
{
    std::lock_guard lock(m_lock);
    // Only the transaction the report names is closed: a late report of an earlier one leaves the
    // open one alone.
    if (reportedId != 0 && reportedId == m_dwTransactionID)
    {
        m_dwTransactionID = 0;
        m_dwCancelID = 0;
    }
    if (m_bRequestPending)
        m_closedDuringRequest.push_back(reportedId);
}

void CGroup::CloseTransactionOf(OPCHANDLE groupClientHandle, DWORD reportedId)
{
    if (groupClientHandle == 0)
        return;
    CHandleTable::CReadLock table(GetHandleTable());
    if (CGroup* group = table.Find(groupClientHandle))
        group->CloseTransaction(reportedId);
}

void CGroup::BeginRequest()
{
    std::lock_guard lock(m_lock);
    m_bRequestPending = TRUE;
    m_closedDuringRequest.clear();
}

void CGroup::EndRequest(BOOL succeeded, DWORD id, BOOL setCancel, DWORD cancelId)
{
    std::lock_guard lock(m_lock);
    m_bRequestPending = FALSE;
    bool completed = std::find(m_closedDuringRequest.begin(), m_closedDuringRequest.end(), id) !=
                     m_closedDuringRequest.end();
    m_closedDuringRequest.clear();
    if (!succeeded || completed)
        return;
    m_dwTransactionID = id;
    if (setCancel)
        m_dwCancelID = cancelId;
}
