#include "opc/IOPCItemMgtWrapper.h"

#include "logvane/Logvane.h"

CIOPCItemMgt::CIOPCItemMgt(IOPCItemMgt* itf) : m_pItemMgt(itf) {}

CIOPCItemMgt::CIOPCItemMgt(IUnknown* unknown)
{
    if (!unknown || FAILED(unknown->QueryInterface(IID_IOPCItemMgt, reinterpret_cast<void**>(&m_pItemMgt))))
        XVKLOG_ERROR(L"CIOPCItemMgt() failed!");
}

CIOPCItemMgt::CIOPCItemMgt(const CIOPCItemMgt& other) : m_pItemMgt(other.m_pItemMgt) {}

CIOPCItemMgt& CIOPCItemMgt::operator=(const CIOPCItemMgt& other)
{
    m_pItemMgt = other.m_pItemMgt;
    return *this;
}

CIOPCItemMgt::~CIOPCItemMgt() = default;

HRESULT CIOPCItemMgt::AddItems(DWORD dwCount, OPCITEMDEF* pItemArray, OPCITEMRESULT** ppAddResults,
                               HRESULT** ppErrors)
{
    if (!m_pItemMgt)
        return E_FAIL;
    HRESULT hr = m_pItemMgt->AddItems(dwCount, pItemArray, ppAddResults, ppErrors);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IOPCItemMgt::AddItems() failed!");
    return hr;
}

HRESULT CIOPCItemMgt::ValidateItems(DWORD dwCount, OPCITEMDEF* pItemArray, BOOL bBlobUpdate,
                                    OPCITEMRESULT** ppValidationResults, HRESULT** ppErrors)
{
    if (!m_pItemMgt)
        return E_FAIL;
    HRESULT hr = m_pItemMgt->ValidateItems(dwCount, pItemArray, bBlobUpdate, ppValidationResults, ppErrors);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IOPCItemMgt::ValidateItems() failed!");
    return hr;
}

HRESULT CIOPCItemMgt::RemoveItems(DWORD dwCount, OPCHANDLE* phServer, HRESULT** ppErrors)
{
    if (!m_pItemMgt)
        return E_FAIL;
    HRESULT hr = m_pItemMgt->RemoveItems(dwCount, phServer, ppErrors);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IOPCItemMgt::RemoveItems() failed!");
    return hr;
}

HRESULT CIOPCItemMgt::SetActiveState(DWORD dwCount, OPCHANDLE* phServer, BOOL bActive, HRESULT** ppErrors)
{
    if (!m_pItemMgt)
        return E_FAIL;
    HRESULT hr = m_pItemMgt->SetActiveState(dwCount, phServer, bActive, ppErrors);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IOPCItemMgt::SetActiveState() failed!");
    return hr;
}

HRESULT CIOPCItemMgt::SetClientHandles(DWORD dwCount, OPCHANDLE* phServer, OPCHANDLE* phClient,
                                       HRESULT** ppErrors)
{
    if (!m_pItemMgt)
        return E_FAIL;
    HRESULT hr = m_pItemMgt->SetClientHandles(dwCount, phServer, phClient, ppErrors);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IOPCItemMgt::SetClientHandles() failed!");
    return hr;
}

HRESULT CIOPCItemMgt::SetDatatypes(DWORD dwCount, OPCHANDLE* phServer, VARTYPE* pRequestedDatatypes,
                                   HRESULT** ppErrors)
{
    if (!m_pItemMgt)
        return E_FAIL;
    HRESULT hr = m_pItemMgt->SetDatatypes(dwCount, phServer, pRequestedDatatypes, ppErrors);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IOPCItemMgt::SetDatatypes() failed!");
    return hr;
}

HRESULT CIOPCItemMgt::CreateEnumerator(REFIID riid, LPUNKNOWN* ppUnk)
{
    if (!m_pItemMgt)
        return E_FAIL;
    HRESULT hr = m_pItemMgt->CreateEnumerator(riid, ppUnk);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IOPCItemMgt::CreateGroupEnumerator() failed!");
    return hr;
}
