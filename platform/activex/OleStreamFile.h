// Memory streams and the file object that wraps one, as control state travels between a container
// and its controls. The stream grows as it is written; reading past the end gives fewer bytes.
#pragma once

#include "activex/OleInterfaces.h"
#include "com/ComObject.h"

#include <vector>

// A stream over bytes in memory.
class CMemoryStream : public CComObjectImpl<IStream>
{
public:
    CMemoryStream() = default;
    explicit CMemoryStream(std::vector<BYTE> bytes) : m_bytes(std::move(bytes)) {}

    HRESULT STDMETHODCALLTYPE Read(void* pv, ULONG cb, ULONG* pcbRead) override;
    HRESULT STDMETHODCALLTYPE Write(const void* pv, ULONG cb, ULONG* pcbWritten) override;
    HRESULT STDMETHODCALLTYPE Seek(LONGLONG dlibMove, DWORD dwOrigin, ULONGLONG* plibNewPosition) override;
    HRESULT STDMETHODCALLTYPE SetSize(ULONGLONG libNewSize) override;
    HRESULT STDMETHODCALLTYPE GetSize(ULONGLONG* pcbSize) override;

    const std::vector<BYTE>& Bytes() const { return m_bytes; }

private:
    std::vector<BYTE> m_bytes;
    size_t m_pos = 0;
};

// A file over a stream. Without a stream every operation fails quietly (0 bytes, FALSE).
class COleStreamFile
{
public:
    COleStreamFile() = default;
    explicit COleStreamFile(LPSTREAM lpStream) : m_stream(lpStream) {}
    COleStreamFile(const COleStreamFile&) = delete;
    COleStreamFile& operator=(const COleStreamFile&) = delete;

    // Replaces any stream by a new, empty memory stream.
    BOOL CreateMemoryStream();
    LPSTREAM GetStream() const { return m_stream; }
    void Attach(LPSTREAM lpStream) { m_stream = lpStream; }
    void Close() { m_stream.Release(); }

    UINT Read(void* lpBuf, UINT nCount);
    BOOL Write(const void* lpBuf, UINT nCount);
    ULONGLONG SeekToBegin();
    ULONGLONG GetLength() const;

private:
    CComPtr<IStream> m_stream;
};
