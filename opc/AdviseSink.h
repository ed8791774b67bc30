// CIAdviseSink: the OPC DA 1.0 sink (IAdviseSink) that reads the three DA 1.0 data streams a
// server sends through its groups' IDataObject: values, values with time stamps, write completions.
//
// Every count, offset and length of a stream is checked against the block's size before it is
// used; items are found through the item handle table and unknown handles are ignored.
#pragma once

#include "com/DataObject.h"
#include "opcsdk/OpcTypes.h"

#include <atomic>

class CIAdviseSink : public IAdviseSink
{
public:
    CIAdviseSink();
    ~CIAdviseSink() override;
    CIAdviseSink(const CIAdviseSink&) = delete;
    CIAdviseSink& operator=(const CIAdviseSink&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    // Deletes the sink when the count drops to 0.
    ULONG STDMETHODCALLTYPE Release() override;

    void STDMETHODCALLTYPE OnDataChange(FORMATETC* pFormatetc, STGMEDIUM* pStgmed) override;
    void STDMETHODCALLTYPE OnViewChange(DWORD dwAspect, LONG lindex) override;
    void STDMETHODCALLTYPE OnRename(IMoniker* pmk) override;
    void STDMETHODCALLTYPE OnSave() override;
    void STDMETHODCALLTYPE OnClose() override;

    UINT GetDataFormat() const { return m_cfData; }
    UINT GetDataTimeFormat() const { return m_cfDataTime; }
    UINT GetWriteCompleteFormat() const { return m_cfWriteComplete; }

private:
    void OnData(const BYTE* block, size_t size, BOOL withTime);
    void OnWriteComplete(const BYTE* block, size_t size);

    std::atomic<ULONG> m_cRef{0};
    UINT m_cfData;
    UINT m_cfDataTime;
    UINT m_cfWriteComplete;
};
