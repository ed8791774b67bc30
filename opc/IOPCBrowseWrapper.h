// CIOPCBrowseServerAddressSpace: the logging wrapper of a server's IOPCBrowseServerAddressSpace.
#pragma once

#include "com/ComPtr.h"
#include "opcsdk/OpcDa.h"

class CIOPCBrowseServerAddressSpace
{
public:
    explicit CIOPCBrowseServerAddressSpace(IOPCBrowseServerAddressSpace* itf);
    // Queries the object for the browse interface; logs when it has none.
    explicit CIOPCBrowseServerAddressSpace(IUnknown* unknown);
    CIOPCBrowseServerAddressSpace(const CIOPCBrowseServerAddressSpace& other);
    CIOPCBrowseServerAddressSpace& operator=(const CIOPCBrowseServerAddressSpace& other);
    virtual ~CIOPCBrowseServerAddressSpace();

    HRESULT QueryOrganization(OPCNAMESPACETYPE* pNameSpaceType);
    // The organisation as a number: 1 hierarchical, 2 flat.
    HRESULT QueryOrganization(int* pNameSpaceType);
    HRESULT ChangeBrowsePosition(OPCBROWSEDIRECTION dwBrowseDirection, LPCWSTR szString);
    HRESULT BrowseOPCItemIDs(OPCBROWSETYPE dwBrowseFilterType, LPCWSTR szFilterCriteria,
                             VARTYPE vtDataTypeFilter, DWORD dwAccessRightsFilter,
                             LPENUMSTRING* ppIEnumString);
    HRESULT BrowseAccessPaths(LPCWSTR szItemID, LPENUMSTRING* ppIEnumString);
    // The fully qualified ID of a name at the browse position; the caller frees it.
    HRESULT GetItemID(LPWSTR szItemDataID, LPWSTR* szItemID);

protected:
    CComPtr<IOPCBrowseServerAddressSpace> m_pBrowse;
};
