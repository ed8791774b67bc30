// CIOPCItemMgt: the logging wrapper of a group's IOPCItemMgt.
#pragma once

#include "com/ComPtr.h"
#include "opcsdk/OpcDa.h"

class CIOPCItemMgt
{
public:
    explicit CIOPCItemMgt(IOPCItemMgt* itf);
    // Queries the object for IOPCItemMgt; logs when it has none.
    explicit CIOPCItemMgt(IUnknown* unknown);
    CIOPCItemMgt(const CIOPCItemMgt& other);
    CIOPCItemMgt& operator=(const CIOPCItemMgt& other);
    virtual ~CIOPCItemMgt();

    HRESULT AddItems(DWORD dwCount, OPCITEMDEF* pItemArray, OPCITEMRESULT** ppAddResults, HRESULT** ppErrors);
    HRESULT ValidateItems(DWORD dwCount, OPCITEMDEF* pItemArray, BOOL bBlobUpdate,
                          OPCITEMRESULT** ppValidationResults, HRESULT** ppErrors);
    HRESULT RemoveItems(DWORD dwCount, OPCHANDLE* phServer, HRESULT** ppErrors);
    HRESULT SetActiveState(DWORD dwCount, OPCHANDLE* phServer, BOOL bActive, HRESULT** ppErrors);
    HRESULT SetClientHandles(DWORD dwCount, OPCHANDLE* phServer, OPCHANDLE* phClient, HRESULT** ppErrors);
    HRESULT SetDatatypes(DWORD dwCount, OPCHANDLE* phServer, VARTYPE* pRequestedDatatypes,
                         HRESULT** ppErrors);
    HRESULT CreateEnumerator(REFIID riid, LPUNKNOWN* ppUnk);

protected:
    CComPtr<IOPCItemMgt> m_pItemMgt;
};
