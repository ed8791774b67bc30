#include "opcsdk/servers/ItemAttributesEnum.h"

#include "opcsdk/servers/StandInUtil.h"

HRESULT STDMETHODCALLTYPE CItemAttributesEnum::Next(ULONG celt, OPCITEMATTRIBUTES** ppItemArray,
                                                    ULONG* pceltFetched)
{
    if (ppItemArray)
        *ppItemArray = nullptr;
    if (pceltFetched)
        *pceltFetched = 0;
    if (!ppItemArray || !pceltFetched)
        return E_INVALIDARG;
    std::lock_guard lock(m_mutex);
    size_t n = std::min<size_t>(celt, m_list->size() - m_pos);
    if (n == 0)
        return celt == 0 ? S_OK : S_FALSE;
    auto* records = StandIn::TaskArray<OPCITEMATTRIBUTES>(n);
    if (!records)
        return E_OUTOFMEMORY;
    for (size_t i = 0; i < n; ++i)
    {
        const Entry& e = (*m_list)[m_pos + i];
        OPCITEMATTRIBUTES& r = records[i];
        r.szAccessPath = StandIn::TaskString(e.accessPath);
        r.szItemID = StandIn::TaskString(e.itemId);
        r.bActive = e.active;
        r.hClient = e.hClient;
        r.hServer = e.hServer;
        r.dwAccessRights = e.rights;
        r.vtRequestedDataType = e.requested;
        r.vtCanonicalDataType = e.canonical;
        r.dwEUType = OPC_NOENUM;
        VariantInit(&r.vEUInfo);
    }
    m_pos += n;
    *ppItemArray = records;
    *pceltFetched = ULONG(n);
    return n == celt ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE CItemAttributesEnum::Skip(ULONG celt)
{
    std::lock_guard lock(m_mutex);
    size_t left = m_list->size() - m_pos;
    if (celt > left)
    {
        m_pos = m_list->size();
        return S_FALSE;
    }
    m_pos += celt;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CItemAttributesEnum::Reset()
{
    std::lock_guard lock(m_mutex);
    m_pos = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CItemAttributesEnum::Clone(IEnumOPCItemAttributes** ppEnumItemAttributes)
{
    if (!ppEnumItemAttributes)
        return E_INVALIDARG;
    size_t pos;
    {
        std::lock_guard lock(m_mutex);
        pos = m_pos;
    }
    *ppEnumItemAttributes = QyrNewObject<CItemAttributesEnum>(m_list, pos).Detach();
    return S_OK;
}
