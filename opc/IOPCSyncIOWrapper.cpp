#include "opc/IOPCSyncIOWrapper.h"

#include "logvane/Logvane.h"

CIOPCSyncIO::CIOPCSyncIO(IUnknown* unknown)
{
    if (unknown)
    {
        unknown->QueryInterface(IID_IOPCSyncIO2, reinterpret_cast<void**>(&m_pSyncIO2));
        unknown->QueryInterface(IID_IOPCSyncIO, reinterpret_cast<void**>(&m_pSyncIO));
    }
    if (!m_pSyncIO && !m_pSyncIO2)
        XVKLOG_ERROR(L"CIOPCSyncIO() failed!");
}

CIOPCSyncIO::~CIOPCSyncIO() = default;

HRESULT CIOPCSyncIO::Read(OPCDATASOURCE dwSource, DWORD dwCount, OPCHANDLE* phServer,
                          OPCITEMSTATE** ppItemValues, HRESULT** ppErrors)
{
    HRESULT hr = E_FAIL;
    if (m_pSyncIO2)
        hr = m_pSyncIO2->Read(dwSource, dwCount, phServer, ppItemValues, ppErrors);
    if (FAILED(hr) && m_pSyncIO)
        hr = m_pSyncIO->Read(dwSource, dwCount, phServer, ppItemValues, ppErrors);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IOPCSyncIO::Read() failed!");
    return hr;
}

HRESULT CIOPCSyncIO::Write(DWORD dwCount, OPCHANDLE* phServer, VARIANT* pItemValues, HRESULT** ppErrors)
{
    HRESULT hr = E_FAIL;
    if (m_pSyncIO2)
        hr = m_pSyncIO2->Write(dwCount, phServer, pItemValues, ppErrors);
    if (FAILED(hr) && m_pSyncIO)
        hr = m_pSyncIO->Write(dwCount, phServer, pItemValues, ppErrors);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IOPCSyncIO::Write() failed!");
    return hr;
}
