// CIOPCAsyncIO: the logging wrapper of a group's IOPCAsyncIO (DA 1.0) and IOPCAsyncIO2 (DA 2.0).
// The caller picks the interface by the server's OPC version; a call never falls back to the other.
#pragma once

#include "com/ComPtr.h"
#include "opcsdk/OpcDa.h"

class CIOPCAsyncIO
{
public:
    // Queries the object for both; logs when it has neither.
    explicit CIOPCAsyncIO(IUnknown* unknown);
    CIOPCAsyncIO(const CIOPCAsyncIO&) = delete;
    CIOPCAsyncIO& operator=(const CIOPCAsyncIO&) = delete;
    virtual ~CIOPCAsyncIO();

    // IOPCAsyncIO.
    HRESULT Read(DWORD dwConnection, OPCDATASOURCE dwSource, DWORD dwCount, OPCHANDLE* phServer,
                 DWORD* pTransactionID, HRESULT** ppErrors);
    HRESULT Write(DWORD dwConnection, DWORD dwCount, OPCHANDLE* phServer, VARIANT* pItemValues,
                  DWORD* pTransactionID, HRESULT** ppErrors);
    HRESULT Refresh(DWORD dwConnection, OPCDATASOURCE dwSource, DWORD* pTransactionID);
    HRESULT Cancel(DWORD dwTransactionID);

    // IOPCAsyncIO2.
    HRESULT Read(DWORD dwCount, OPCHANDLE* phServer, DWORD dwTransactionID, DWORD* pdwCancelID,
                 HRESULT** ppErrors);
    HRESULT Write(DWORD dwCount, OPCHANDLE* phServer, VARIANT* pItemValues, DWORD dwTransactionID,
                  DWORD* pdwCancelID, HRESULT** ppErrors);
    HRESULT Refresh2(OPCDATASOURCE dwSource, DWORD dwTransactionID, DWORD* pdwCancelID);
    HRESULT Cancel2(DWORD dwCancelID);
    HRESULT SetEnable(BOOL bEnable);
    HRESULT GetEnable(BOOL* pbEnable);

protected:
    CComPtr<IOPCAsyncIO> m_pAsyncIO;
    CComPtr<IOPCAsyncIO2> m_pAsyncIO2;
};
