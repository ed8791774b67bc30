#include "opc/IDataObjectWrapper.h"

#include "logvane/Logvane.h"

CIDataObject::CIDataObject(IUnknown* unknown)
{
    if (unknown)
        unknown->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&m_pDataObject));
}

CIDataObject::~CIDataObject() = default;

HRESULT CIDataObject::DAdvise(FORMATETC* pformatetc, DWORD advf, IAdviseSink* pAdvSink, DWORD* pdwConnection)
{
    HRESULT hr = E_FAIL;
    if (m_pDataObject2)
        hr = m_pDataObject2->DAdvise(pformatetc, advf, pAdvSink, pdwConnection);
    if (FAILED(hr) && m_pDataObject)
        hr = m_pDataObject->DAdvise(pformatetc, advf, pAdvSink, pdwConnection);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IDataObject::DAdvise() failed!");
    return hr;
}

HRESULT CIDataObject::DUnadvise(DWORD dwConnection)
{
    HRESULT hr = E_FAIL;
    if (m_pDataObject2)
        hr = m_pDataObject2->DUnadvise(dwConnection);
    if (FAILED(hr) && m_pDataObject)
        hr = m_pDataObject->DUnadvise(dwConnection);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IDataObject::DUnadvise() failed!");
    return hr;
}
