#include "instruments/ExtOcx.h"

#include "mfc/Archive.h"

#include <cstring>

IMPLEMENT_DYNCREATE(CExtOcx, CObject)

CExtOcx::CExtOcx(const CExtOcx& src) : CObject()
{
    *this = src;
}

CExtOcx& CExtOcx::operator=(const CExtOcx& src)
{
    if (this != &src)
        SetData(src.GetData(), src.GetLength());
    return *this;
}

BOOL CExtOcx::operator==(const CExtOcx& other) const
{
    return m_nLength == other.m_nLength &&
           (m_nLength == 0 || std::memcmp(m_pData.get(), other.m_pData.get(), m_nLength) == 0);
}

void CExtOcx::SetData(const BYTE* pData, DWORD nLength)
{
    std::unique_ptr<BYTE[]> bytes;
    if (nLength && pData)
    {
        bytes = std::make_unique<BYTE[]>(nLength);
        std::memcpy(bytes.get(), pData, nLength);
    }
    m_pData = std::move(bytes);
    m_nLength = m_pData ? nLength : 0;
}

void CExtOcx::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        const DWORD length = m_pData ? m_nLength : 0;
        ar << length;
        if (length)
            ar.Write(m_pData.get(), length);
        return;
    }
    DWORD length = 0;
    ar >> length;
    ar.EnsureRemaining(length);
    std::unique_ptr<BYTE[]> bytes;
    if (length)
    {
        bytes = std::make_unique<BYTE[]>(length);
        if (ar.Read(bytes.get(), length) != length)
            AfxThrowArchiveException(CArchiveException::endOfFile);
    }
    m_pData = std::move(bytes);
    m_nLength = length;
}
