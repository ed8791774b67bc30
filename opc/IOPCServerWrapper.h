// CIOPCServer: the logging wrapper of a server's IOPCServer.
#pragma once

#include "com/ComPtr.h"
#include "opcsdk/OpcDa.h"

class CIOPCServer
{
public:
    // Queries the object for IOPCServer; logs when it has none.
    explicit CIOPCServer(IUnknown* unknown);
    CIOPCServer(const CIOPCServer&) = delete;
    CIOPCServer& operator=(const CIOPCServer&) = delete;
    virtual ~CIOPCServer();

    HRESULT AddGroup(LPCWSTR szName, BOOL bActive, DWORD dwRequestedUpdateRate, OPCHANDLE hClientGroup,
                     LONG* pTimeBias, FLOAT* pPercentDeadband, DWORD dwLCID, OPCHANDLE* phServerGroup,
                     DWORD* pRevisedUpdateRate, REFIID riid, LPUNKNOWN* ppUnk);
    HRESULT GetErrorString(HRESULT dwError, LCID dwLocale, LPWSTR* ppString);
    HRESULT GetGroupByName(LPCWSTR szName, REFIID riid, LPUNKNOWN* ppUnk);
    HRESULT GetStatus(OPCSERVERSTATUS** ppServerStatus);
    HRESULT RemoveGroup(OPCHANDLE hServerGroup, BOOL bForce);
    HRESULT CreateGroupEnumerator(OPCENUMSCOPE dwScope, REFIID riid, LPUNKNOWN* ppUnk);

protected:
    CComPtr<IOPCServer> m_pServer;
};
