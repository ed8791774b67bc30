#include "opc/IOPCBrowseWrapper.h"

#include "logvane/Logvane.h"

CIOPCBrowseServerAddressSpace::CIOPCBrowseServerAddressSpace(IOPCBrowseServerAddressSpace* itf)
    : m_pBrowse(itf)
{
}

CIOPCBrowseServerAddressSpace::CIOPCBrowseServerAddressSpace(IUnknown* unknown)
{
    if (!unknown || FAILED(unknown->QueryInterface(IID_IOPCBrowseServerAddressSpace,
                                                   reinterpret_cast<void**>(&m_pBrowse))))
        XVKLOG_ERROR(L"CIOPCBrowseServerAddressSpace()");
}

CIOPCBrowseServerAddressSpace::CIOPCBrowseServerAddressSpace(const CIOPCBrowseServerAddressSpace& other)
    : m_pBrowse(other.m_pBrowse)
{
}

CIOPCBrowseServerAddressSpace&
CIOPCBrowseServerAddressSpace::operator=(const CIOPCBrowseServerAddressSpace& other)
{
    m_pBrowse = other.m_pBrowse;
    return *this;
}

CIOPCBrowseServerAddressSpace::~CIOPCBrowseServerAddressSpace() = default;

HRESULT CIOPCBrowseServerAddressSpace::QueryOrganization(OPCNAMESPACETYPE* pNameSpaceType)
{
    if (!m_pBrowse)
        return E_FAIL;
    HRESULT hr = m_pBrowse->QueryOrganization(pNameSpaceType);
    if (FAILED(hr))
        XVKLOG_ERROR(L"Browse::QueryOrganization");
    return hr;
}

HRESULT CIOPCBrowseServerAddressSpace::QueryOrganization(int* pNameSpaceType)
{
    OPCNAMESPACETYPE type = OPC_NS_HIERARCHIAL;
    HRESULT hr = QueryOrganization(&type);
    if (pNameSpaceType && SUCCEEDED(hr))
        *pNameSpaceType = int(type);
    return hr;
}

HRESULT CIOPCBrowseServerAddressSpace::ChangeBrowsePosition(OPCBROWSEDIRECTION dwBrowseDirection,
                                                            LPCWSTR szString)
{
    if (!m_pBrowse)
        return E_FAIL;
    HRESULT hr = m_pBrowse->ChangeBrowsePosition(dwBrowseDirection, szString);
    if (FAILED(hr))
        XVKLOG_ERROR(L"Browse::ChangeBrowsePosition");
    return hr;
}

HRESULT CIOPCBrowseServerAddressSpace::BrowseOPCItemIDs(OPCBROWSETYPE dwBrowseFilterType,
                                                        LPCWSTR szFilterCriteria, VARTYPE vtDataTypeFilter,
                                                        DWORD dwAccessRightsFilter,
                                                        LPENUMSTRING* ppIEnumString)
{
    if (!m_pBrowse)
        return E_FAIL;
    HRESULT hr = m_pBrowse->BrowseOPCItemIDs(dwBrowseFilterType, szFilterCriteria, vtDataTypeFilter,
                                             dwAccessRightsFilter, ppIEnumString);
    if (FAILED(hr))
        XVKLOG_ERROR(L"Browse::BrowseOPCItemIDs");
    return hr;
}

HRESULT CIOPCBrowseServerAddressSpace::BrowseAccessPaths(LPCWSTR szItemID, LPENUMSTRING* ppIEnumString)
{
    if (!m_pBrowse)
        return E_FAIL;
    HRESULT hr = m_pBrowse->BrowseAccessPaths(szItemID, ppIEnumString);
    if (FAILED(hr))
        XVKLOG_ERROR(L"Browse::BrowseAccessPaths");
    return hr;
}

HRESULT CIOPCBrowseServerAddressSpace::GetItemID(LPWSTR szItemDataID, LPWSTR* szItemID)
{
    if (!m_pBrowse)
        return E_FAIL;
    HRESULT hr = m_pBrowse->GetItemID(szItemDataID, szItemID);
    if (FAILED(hr))
        XVKLOG_ERROR(L"Browse::GetItemID");
    return hr;
}
