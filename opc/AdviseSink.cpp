#include "opc/AdviseSink.h"

#include "opc/Group.h"
#include "opc/Item.h"

#include "logvane/Logvane.h"
#include "opcsdk/OpcStream.h"

CIAdviseSink::CIAdviseSink()
    : m_cfData(RegisterClipboardFormat(OPCSTMFORMATDATA_NAME)),
      m_cfDataTime(RegisterClipboardFormat(OPCSTMFORMATDATATIME_NAME)),
      m_cfWriteComplete(RegisterClipboardFormat(OPCSTMFORMATWRITECOMPLETE_NAME))
{
}

CIAdviseSink::~CIAdviseSink() = default;

HRESULT STDMETHODCALLTYPE CIAdviseSink::QueryInterface(REFIID riid, void** ppvObject)
{
    if (!ppvObject)
        return E_INVALIDARG;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IAdviseSink))
    {
        *ppvObject = static_cast<IAdviseSink*>(this);
        AddRef();
        return S_OK;
    }
    *ppvObject = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CIAdviseSink::AddRef()
{
    return m_cRef.fetch_add(1) + 1;
}

ULONG STDMETHODCALLTYPE CIAdviseSink::Release()
{
    ULONG count = m_cRef.load();
    while (count > 0 && !m_cRef.compare_exchange_weak(count, count - 1))
    {
    }
    if (count == 0)
        return 0;
    if (count == 1)
    {
        delete this;
        return 0;
    }
    return count - 1;
}

void STDMETHODCALLTYPE CIAdviseSink::OnDataChange(FORMATETC* pFormatetc, STGMEDIUM* pStgmed)
{
    if (!pFormatetc || !pStgmed || pFormatetc->tymed != TYMED_HGLOBAL || pStgmed->tymed != TYMED_HGLOBAL)
    {
        XVKLOG_ERROR(L"Bad tymed (not HGLOBAL)!");
        return;
    }
    if (!pStgmed->hGlobal)
    {
        XVKLOG_ERROR(L"Bad hGlobal");
        return;
    }
    UINT format = pFormatetc->cfFormat;
    if (format != m_cfData && format != m_cfDataTime && format != m_cfWriteComplete)
        return;
    const BYTE* block = static_cast<const BYTE*>(GlobalLock(pStgmed->hGlobal));
    if (!block)
        return;
    size_t size = GlobalSize(pStgmed->hGlobal);
    if (format == m_cfWriteComplete)
        OnWriteComplete(block, size);
    else
        OnData(block, size, format == m_cfDataTime);
    GlobalUnlock(pStgmed->hGlobal);
}

void CIAdviseSink::OnData(const BYTE* block, size_t size, BOOL withTime)
{
    OPCGROUPHEADER header = {};
    std::vector<OPCSTMITEM> items;
    if (!OpcStreamReadData(block, size, withTime, &header, &items))
    {
        XVKLOG_ERROR(L"Bad OPC data stream (%u bytes)!", unsigned(size));
        return;
    }
    OPCHANDLE group = 0;
    BOOL found = FALSE;
    {
        CItem::CHandleTable::CReadLock table(CItem::GetHandleTable());
        for (const OPCSTMITEM& entry : items)
        {
            CItem* item = entry.hClient ? table.Find(entry.hClient) : nullptr;
            if (!item)
                continue;
            if (!found)
            {
                group = item->GetGroupClientHandle();
                found = TRUE;
            }
            item->StoreReport(entry.vValue, entry.wQuality, withTime ? &entry.ftTimeStamp : nullptr);
        }
    }
    OpcStreamClear(&items);
    if (header.dwTransactionID != 0)
        CGroup::CloseTransactionOf(group, header.dwTransactionID);
}

void CIAdviseSink::OnWriteComplete(const BYTE* block, size_t size)
{
    OPCGROUPHEADERWRITE header = {};
    std::vector<OPCITEMHEADERWRITE> items;
    if (!OpcStreamReadWriteComplete(block, size, &header, &items))
    {
        XVKLOG_ERROR(L"Bad OPC write complete stream (%u bytes)!", unsigned(size));
        return;
    }
    // Every completion closes the transaction, whether the write succeeded or not.
    OPCHANDLE group = 0;
    if (!items.empty())
    {
        CItem::CHandleTable::CReadLock table(CItem::GetHandleTable());
        if (CItem* item = table.Find(items.front().hClient))
            group = item->GetGroupClientHandle();
    }
    CGroup::CloseTransactionOf(group, header.dwTransactionID);
}

void STDMETHODCALLTYPE CIAdviseSink::OnViewChange(DWORD, LONG) {}

void STDMETHODCALLTYPE CIAdviseSink::OnRename(IMoniker*) {}

void STDMETHODCALLTYPE CIAdviseSink::OnSave() {}

void STDMETHODCALLTYPE CIAdviseSink::OnClose() {}
