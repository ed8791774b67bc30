// CIOPCSyncIO: the logging wrapper of a group's IOPCSyncIO and IOPCSyncIO2. Each call goes to the
// newer interface first and, when that is missing or fails, to the older one.
#pragma once

#include "com/ComPtr.h"
#include "opcsdk/OpcDa.h"

class CIOPCSyncIO
{
public:
    // Queries the object for both; logs when it has neither.
    explicit CIOPCSyncIO(IUnknown* unknown);
    CIOPCSyncIO(const CIOPCSyncIO&) = delete;
    CIOPCSyncIO& operator=(const CIOPCSyncIO&) = delete;
    virtual ~CIOPCSyncIO();

    HRESULT Read(OPCDATASOURCE dwSource, DWORD dwCount, OPCHANDLE* phServer, OPCITEMSTATE** ppItemValues,
                 HRESULT** ppErrors);
    HRESULT Write(DWORD dwCount, OPCHANDLE* phServer, VARIANT* pItemValues, HRESULT** ppErrors);

protected:
    CComPtr<IOPCSyncIO> m_pSyncIO;
    CComPtr<IOPCSyncIO2> m_pSyncIO2;
};
