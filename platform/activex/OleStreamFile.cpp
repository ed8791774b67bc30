#include "activex/OleStreamFile.h"

#include <algorithm>
#include <cstring>

HRESULT CMemoryStream::Read(void* pv, ULONG cb, ULONG* pcbRead)
{
    if (!pv && cb)
        return E_POINTER;
    const size_t left = m_pos < m_bytes.size() ? m_bytes.size() - m_pos : 0;
    const size_t n = std::min<size_t>(cb, left);
    if (n)
        std::memcpy(pv, m_bytes.data() + m_pos, n);
    m_pos += n;
    if (pcbRead)
        *pcbRead = ULONG(n);
    return n == cb ? S_OK : S_FALSE;
}

HRESULT CMemoryStream::Write(const void* pv, ULONG cb, ULONG* pcbWritten)
{
    if (!pv && cb)
        return E_POINTER;
    if (m_pos + cb > m_bytes.size())
        m_bytes.resize(m_pos + cb);
    if (cb)
        std::memcpy(m_bytes.data() + m_pos, pv, cb);
    m_pos += cb;
    if (pcbWritten)
        *pcbWritten = cb;
    return S_OK;
}

HRESULT CMemoryStream::Seek(LONGLONG dlibMove, DWORD dwOrigin, ULONGLONG* plibNewPosition)
{
    LONGLONG base = 0;
    if (dwOrigin == STREAM_SEEK_CUR)
        base = LONGLONG(m_pos);
    else if (dwOrigin == STREAM_SEEK_END)
        base = LONGLONG(m_bytes.size());
    else if (dwOrigin != STREAM_SEEK_SET)
        return STG_E_INVALIDFUNCTION;
    const LONGLONG to = base + dlibMove;
    if (to < 0)
        return STG_E_INVALIDFUNCTION;
    m_pos = size_t(to);
    if (plibNewPosition)
        *plibNewPosition = ULONGLONG(to);
    return S_OK;
}

HRESULT CMemoryStream::SetSize(ULONGLONG libNewSize)
{
    m_bytes.resize(size_t(libNewSize));
    return S_OK;
}

HRESULT CMemoryStream::GetSize(ULONGLONG* pcbSize)
{
    if (!pcbSize)
        return E_POINTER;
    *pcbSize = m_bytes.size();
    return S_OK;
}

BOOL COleStreamFile::CreateMemoryStream()
{
    m_stream = QyrNewObject<CMemoryStream>();
    return m_stream != nullptr;
}

UINT COleStreamFile::Read(void* lpBuf, UINT nCount)
{
    ULONG got = 0;
    if (m_stream)
        m_stream->Read(lpBuf, nCount, &got);
    return got;
}

BOOL COleStreamFile::Write(const void* lpBuf, UINT nCount)
{
    ULONG put = 0;
    return m_stream && SUCCEEDED(m_stream->Write(lpBuf, nCount, &put)) && put == nCount;
}

ULONGLONG COleStreamFile::SeekToBegin()
{
    ULONGLONG pos = 0;
    if (m_stream)
        m_stream->Seek(0, STREAM_SEEK_SET, &pos);
    return pos;
}

ULONGLONG COleStreamFile::GetLength() const
{
    ULONGLONG size = 0;
    if (m_stream)
        m_stream->GetSize(&size);
    return size;
}
