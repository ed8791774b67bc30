#include "opc/IOPCAsyncIOWrapper.h"

#include "logvane/Logvane.h"

CIOPCAsyncIO::CIOPCAsyncIO(IUnknown* unknown)
{
    if (unknown)
    {
        unknown->QueryInterface(IID_IOPCAsyncIO2, reinterpret_cast<void**>(&m_pAsyncIO2));
        unknown->QueryInterface(IID_IOPCAsyncIO, reinterpret_cast<void**>(&m_pAsyncIO));
    }
    if (!m_pAsyncIO && !m_pAsyncIO2)
        XVKLOG_ERROR(L"CIOPCAsyncIO() failed!");
}

CIOPCAsyncIO::~CIOPCAsyncIO() = default;

HRESULT CIOPCAsyncIO::Read(DWORD dwConnection, OPCDATASOURCE dwSource, DWORD dwCount, OPCHANDLE* phServer,
                           DWORD* pTransactionID, HRESULT** ppErrors)
{
    HRESULT hr = E_FAIL;
    if (m_pAsyncIO)
        hr = m_pAsyncIO->Read(dwConnection, dwSource, dwCount, phServer, pTransactionID, ppErrors);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IOPCAsyncIO::Read() failed!");
    return hr;
}

HRESULT CIOPCAsyncIO::Write(DWORD dwConnection, DWORD dwCount, OPCHANDLE* phServer, VARIANT* pItemValues,
                            DWORD* pTransactionID, HRESULT** ppErrors)
{
    HRESULT hr = E_FAIL;
    if (m_pAsyncIO)
        hr = m_pAsyncIO->Write(dwConnection, dwCount, phServer, pItemValues, pTransactionID, ppErrors);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IOPCAsyncIO::Write() failed!");
    return hr;
}

HRESULT CIOPCAsyncIO::Refresh(DWORD dwConnection, OPCDATASOURCE dwSource, DWORD* pTransactionID)
{
    HRESULT hr = E_FAIL;
    if (m_pAsyncIO)
        hr = m_pAsyncIO->Refresh(dwConnection, dwSource, pTransactionID);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IOPCAsyncIO::Refresh() failed!");
    return hr;
}

HRESULT CIOPCAsyncIO::Cancel(DWORD dwTransactionID)
{
    HRESULT hr = E_FAIL;
    if (m_pAsyncIO)
        hr = m_pAsyncIO->Cancel(dwTransactionID);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IOPCAsyncIO::Cancel() failed!");
    return hr;
}

HRESULT CIOPCAsyncIO::Read(DWORD dwCount, OPCHANDLE* phServer, DWORD dwTransactionID, DWORD* pdwCancelID,
                           HRESULT** ppErrors)
{
    HRESULT hr = E_FAIL;
    if (m_pAsyncIO2)
        hr = m_pAsyncIO2->Read(dwCount, phServer, dwTransactionID, pdwCancelID, ppErrors);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IOPCAsyncIO2::Read() failed!");
    return hr;
}

HRESULT CIOPCAsyncIO::Write(DWORD dwCount, OPCHANDLE* phServer, VARIANT* pItemValues, DWORD dwTransactionID,
                            DWORD* pdwCancelID, HRESULT** ppErrors)
{
    HRESULT hr = E_FAIL;
    if (m_pAsyncIO2)
        hr = m_pAsyncIO2->Write(dwCount, phServer, pItemValues, dwTransactionID, pdwCancelID, ppErrors);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IOPCAsyncIO2::Write() failed!");
    return hr;
}

HRESULT CIOPCAsyncIO::Refresh2(OPCDATASOURCE dwSource, DWORD dwTransactionID, DWORD* pdwCancelID)
{
    HRESULT hr = E_FAIL;
    if (m_pAsyncIO2)
        hr = m_pAsyncIO2->Refresh2(dwSource, dwTransactionID, pdwCancelID);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IOPCAsyncIO2::Refresh2() failed!");
    return hr;
}

HRESULT CIOPCAsyncIO::Cancel2(DWORD dwCancelID)
{
    HRESULT hr = E_FAIL;
    if (m_pAsyncIO2)
        hr = m_pAsyncIO2->Cancel2(dwCancelID);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IOPCAsyncIO2::Cancel2() failed!");
    return hr;
}

HRESULT CIOPCAsyncIO::SetEnable(BOOL bEnable)
{
    HRESULT hr = E_FAIL;
    if (m_pAsyncIO2)
        hr = m_pAsyncIO2->SetEnable(bEnable);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IOPCAsyncIO2::SetEnable() failed!");
    return hr;
}

HRESULT CIOPCAsyncIO::GetEnable(BOOL* pbEnable)
{
    HRESULT hr = E_FAIL;
    if (m_pAsyncIO2)
        hr = m_pAsyncIO2->GetEnable(pbEnable);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IOPCAsyncIO2::GetEnable() failed!");
    return hr;
}
