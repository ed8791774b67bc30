#include "opc/IOPCServerWrapper.h"

#include "logvane/Logvane.h"

CIOPCServer::CIOPCServer(IUnknown* unknown)
{
    if (!unknown || FAILED(unknown->QueryInterface(IID_IOPCServer, reinterpret_cast<void**>(&m_pServer))))
        XVKLOG_ERROR(L"CIOPCServer() failed!");
}

CIOPCServer::~CIOPCServer() = default;

HRESULT CIOPCServer::AddGroup(LPCWSTR szName, BOOL bActive, DWORD dwRequestedUpdateRate,
                              OPCHANDLE hClientGroup, LONG* pTimeBias, FLOAT* pPercentDeadband, DWORD dwLCID,
                              OPCHANDLE* phServerGroup, DWORD* pRevisedUpdateRate, REFIID riid,
                              LPUNKNOWN* ppUnk)
{
    if (!m_pServer)
        return E_FAIL;
    HRESULT hr =
        m_pServer->AddGroup(szName, bActive, dwRequestedUpdateRate, hClientGroup, pTimeBias, pPercentDeadband,
                            dwLCID, phServerGroup, pRevisedUpdateRate, riid, ppUnk);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IOPCServer::AddGroup() failed!");
    return hr;
}

HRESULT CIOPCServer::GetErrorString(HRESULT dwError, LCID dwLocale, LPWSTR* ppString)
{
    if (!m_pServer)
        return E_FAIL;
    HRESULT hr = m_pServer->GetErrorString(dwError, dwLocale, ppString);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IOPCServer::GetErrorString() failed!");
    return hr;
}

HRESULT CIOPCServer::GetGroupByName(LPCWSTR szName, REFIID riid, LPUNKNOWN* ppUnk)
{
    if (!m_pServer)
        return E_FAIL;
    HRESULT hr = m_pServer->GetGroupByName(szName, riid, ppUnk);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IOPCServer::GetGroupByName() failed!");
    return hr;
}

HRESULT CIOPCServer::GetStatus(OPCSERVERSTATUS** ppServerStatus)
{
    if (!m_pServer)
        return E_FAIL;
    HRESULT hr = m_pServer->GetStatus(ppServerStatus);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IOPCServer::GetStatus() failed!");
    return hr;
}

HRESULT CIOPCServer::RemoveGroup(OPCHANDLE hServerGroup, BOOL bForce)
{
    if (!m_pServer)
        return E_FAIL;
    HRESULT hr = m_pServer->RemoveGroup(hServerGroup, bForce);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IOPCServer::RemoveGroup() failed!");
    return hr;
}

HRESULT CIOPCServer::CreateGroupEnumerator(OPCENUMSCOPE dwScope, REFIID riid, LPUNKNOWN* ppUnk)
{
    if (!m_pServer)
        return E_FAIL;
    HRESULT hr = m_pServer->CreateGroupEnumerator(dwScope, riid, ppUnk);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IOPCServer::CreateGroupEnumerator() failed!");
    return hr;
}
