// CIDataObject: the logging wrapper of a DA 1.0 group's IDataObject, through which the client
// subscribes to the group's data streams.
#pragma once

#include "com/ComPtr.h"
#include "com/DataObject.h"

class CIDataObject
{
public:
    // Queries the object for IDataObject (nothing is logged when it has none).
    explicit CIDataObject(IUnknown* unknown);
    CIDataObject(const CIDataObject&) = delete;
    CIDataObject& operator=(const CIDataObject&) = delete;
    virtual ~CIDataObject();

    HRESULT DAdvise(FORMATETC* pformatetc, DWORD advf, IAdviseSink* pAdvSink, DWORD* pdwConnection);
    HRESULT DUnadvise(DWORD dwConnection);

protected:
    CComPtr<IDataObject> m_pDataObject;
    // Kept for a newer data interface; never filled.
    CComPtr<IDataObject> m_pDataObject2;
};
