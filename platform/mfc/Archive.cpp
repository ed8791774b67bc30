#include "mfc/Archive.h"

#include "win32/Utf.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void*) : m_pFile(pFile), m_nMode(nMode)
{
    if (!pFile)
        AfxThrowInvalidArgException();
    m_strFileName = pFile->GetFilePath();
    m_buf.resize(size_t(std::max(nBufSize, 128)));
    if (IsLoading())
        m_loadArray.push_back({nullptr, nullptr});
}

CArchive::~CArchive()
{
    if (!m_pFile)
        return;
    if (m_nMode & bNoFlushOnDelete)
    {
        Abort();
        return;
    }
    // Destruction may come from unwinding after a failed write: report nothing more from here.
    try
    {
        Close();
    }
    catch (CException* e)
    {
        e->Delete();
        Abort();
    }
}

void CArchive::CheckLoading() const
{
    if (!m_pFile)
        AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
    if (!IsLoading())
        AfxThrowArchiveException(CArchiveException::writeOnly, m_strFileName);
}

void CArchive::CheckStoring() const
{
    if (!m_pFile)
        AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
    if (IsLoading())
        AfxThrowArchiveException(CArchiveException::readOnly, m_strFileName);
}

// Raw bytes

UINT CArchive::Read(void* lpBuf, UINT nMax)
{
    CheckLoading();
    if (nMax == 0)
        return 0;
    if (!lpBuf)
        AfxThrowInvalidArgException();
    BYTE* out = static_cast<BYTE*>(lpBuf);
    UINT done = 0;
    while (done < nMax)
    {
        if (m_nBufCur < m_nBufMax)
        {
            const size_t n = std::min(size_t(nMax - done), m_nBufMax - m_nBufCur);
            std::memcpy(out + done, m_buf.data() + m_nBufCur, n);
            m_nBufCur += n;
            done += UINT(n);
            continue;
        }
        const UINT left = nMax - done;
        if (left >= m_buf.size())
        {
            const UINT n = m_pFile->Read(out + done, left);
            done += n;
            break;
        }
        m_nBufCur = 0;
        m_nBufMax = m_pFile->Read(m_buf.data(), UINT(m_buf.size()));
        if (m_nBufMax == 0)
            break;
    }
    return done;
}

void CArchive::ReadExact(void* lpBuf, UINT nCount)
{
    if (Read(lpBuf, nCount) != nCount)
        AfxThrowArchiveException(CArchiveException::endOfFile, m_strFileName);
}

void CArchive::Write(const void* lpBuf, UINT nCount)
{
    CheckStoring();
    if (nCount == 0)
        return;
    if (!lpBuf)
        AfxThrowInvalidArgException();
    if (m_nBufCur + nCount > m_buf.size())
        WriteBuffer();
    if (nCount >= m_buf.size())
    {
        m_pFile->Write(lpBuf, nCount);
        return;
    }
    std::memcpy(m_buf.data() + m_nBufCur, lpBuf, nCount);
    m_nBufCur += nCount;
}

void CArchive::WriteBuffer()
{
    if (m_nBufCur == 0)
        return;
    const UINT n = UINT(m_nBufCur);
    m_nBufCur = 0;
    m_pFile->Write(m_buf.data(), n);
}

void CArchive::Flush()
{
    if (!m_pFile)
        return;
    if (IsStoring())
        WriteBuffer();
    else
    {
        const size_t unread = m_nBufMax - m_nBufCur;
        m_nBufCur = m_nBufMax = 0;
        if (unread)
            m_pFile->Seek(-LONGLONG(unread), CFile::current);
    }
}

void CArchive::Close()
{
    Flush();
    m_pFile = nullptr;
}

void CArchive::Abort()
{
    m_nBufCur = m_nBufMax = 0;
    m_pFile = nullptr;
}

ULONGLONG CArchive::GetRemainingLength() const
{
    if (!m_pFile || !IsLoading())
        return 0;
    const ULONGLONG buffered = m_nBufMax - m_nBufCur;
    try
    {
        const ULONGLONG length = m_pFile->GetLength();
        const ULONGLONG position = m_pFile->GetPosition();
        return buffered + (length > position ? length - position : 0);
    }
    catch (CException* e)
    {
        e->Delete();
        return ULLONG_MAX;
    }
}

void CArchive::EnsureRemaining(ULONGLONG nBytes) const
{
    if (nBytes > GetRemainingLength())
        AfxThrowArchiveException(CArchiveException::endOfFile, m_strFileName);
}

// Numbers

CArchive& CArchive::WriteLE(uint64_t v, int size)
{
    BYTE b[8];
    for (int i = 0; i < size; ++i)
        b[i] = BYTE(v >> (8 * i));
    Write(b, UINT(size));
    return *this;
}

uint64_t CArchive::ReadLESlow(int size)
{
    BYTE b[8];
    ReadExact(b, UINT(size));
    uint64_t v = 0;
    for (int i = size - 1; i >= 0; --i)
        v = (v << 8) | b[i];
    return v;
}

CArchive& CArchive::operator<<(float f)
{
    uint32_t u;
    std::memcpy(&u, &f, 4);
    return WriteLE(u, 4);
}

CArchive& CArchive::operator<<(double d)
{
    uint64_t u;
    std::memcpy(&u, &d, 8);
    return WriteLE(u, 8);
}

CArchive& CArchive::operator>>(BYTE& by)
{
    by = BYTE(ReadLE(1));
    return *this;
}

CArchive& CArchive::operator>>(char& ch)
{
    ch = char(ReadLE(1));
    return *this;
}

CArchive& CArchive::operator>>(signed char& ch)
{
    ch = static_cast<signed char>(ReadLE(1));
    return *this;
}

CArchive& CArchive::operator>>(WORD& w)
{
    w = WORD(ReadLE(2));
    return *this;
}

CArchive& CArchive::operator>>(short& n)
{
    n = short(ReadLE(2));
    return *this;
}

CArchive& CArchive::operator>>(wchar_t& ch)
{
    ch = wchar_t(ReadLE(2));
    return *this;
}

CArchive& CArchive::operator>>(int& n)
{
    n = int(uint32_t(ReadLE(4)));
    return *this;
}

CArchive& CArchive::operator>>(unsigned int& n)
{
    n = unsigned(ReadLE(4));
    return *this;
}

CArchive& CArchive::operator>>(long& n)
{
    n = long(ReadLE(8));
    return *this;
}

CArchive& CArchive::operator>>(unsigned long& n)
{
    n = static_cast<unsigned long>(ReadLE(8));
    return *this;
}

CArchive& CArchive::operator>>(long long& n)
{
    n = static_cast<long long>(ReadLE(8));
    return *this;
}

CArchive& CArchive::operator>>(unsigned long long& n)
{
    n = ReadLE(8);
    return *this;
}

CArchive& CArchive::operator>>(float& f)
{
    const uint32_t u = uint32_t(ReadLE(4));
    std::memcpy(&f, &u, 4);
    return *this;
}

CArchive& CArchive::operator>>(double& d)
{
    const uint64_t u = ReadLE(8);
    std::memcpy(&d, &u, 8);
    return *this;
}

CArchive& CArchive::operator>>(bool& b)
{
    b = ReadLE(1) != 0;
    return *this;
}

// Counts

void CArchive::WriteCount(DWORD_PTR dwCount)
{
    if (dwCount < 0xFFFF)
        *this << WORD(dwCount);
    else
    {
        *this << WORD(0xFFFF);
        if (dwCount < 0xFFFFFFFFu)
            *this << DWORD(dwCount);
        else
            *this << DWORD(0xFFFFFFFFu) << ULONGLONG(dwCount);
    }
}

DWORD_PTR CArchive::ReadCount(UINT nMinElementSize)
{
    WORD w;
    *this >> w;
    DWORD_PTR n = w;
    if (w == 0xFFFF)
    {
        DWORD d;
        *this >> d;
        n = d;
        if (d == 0xFFFFFFFFu)
        {
            ULONGLONG q;
            *this >> q;
            n = DWORD_PTR(q);
        }
    }
    // What is buffered is left for sure; only a larger count needs the file asked.
    if (nMinElementSize && n > BufferedBytes() / nMinElementSize &&
        n > GetRemainingLength() / nMinElementSize)
        AfxThrowArchiveException(CArchiveException::endOfFile, m_strFileName);
    return n;
}

// Strings

CArchive& CArchive::operator<<(const CString& s)
{
    const std::u16string u = WideToUtf16(s.str());
    const size_t n = u.size();
    *this << BYTE(0xFF) << WORD(0xFFFE);
    if (n < 0xFF)
        *this << BYTE(n);
    else
    {
        *this << BYTE(0xFF);
        if (n < 0xFFFE)
            *this << WORD(n);
        else
        {
            *this << WORD(0xFFFF);
            if (n < 0xFFFFFFFFu)
                *this << DWORD(n);
            else
                *this << DWORD(0xFFFFFFFFu) << ULONGLONG(n);
        }
    }
    // The text in slices, so a long string needs no second copy.
    BYTE chunk[4096];
    size_t i = 0;
    while (i < n)
    {
        const size_t m = std::min(n - i, sizeof(chunk) / 2);
        for (size_t k = 0; k < m; ++k)
        {
            chunk[2 * k] = BYTE(u[i + k] & 0xFF);
            chunk[2 * k + 1] = BYTE(u[i + k] >> 8);
        }
        Write(chunk, UINT(2 * m));
        i += m;
    }
    return *this;
}

CString CArchive::ReadStringBody(ULONGLONG nLength, bool bUnicode)
{
    const ULONGLONG unit = bUnicode ? 2 : 1;
    if (nLength > BufferedBytes() / unit && nLength > GetRemainingLength() / unit)
        AfxThrowArchiveException(CArchiveException::endOfFile, m_strFileName);
    // Read in slices: the data, not the length, decides how much memory is used.
    std::string bytes;
    ULONGLONG left = nLength * unit;
    BYTE chunk[4096];
    while (left)
    {
        const UINT m = UINT(std::min<ULONGLONG>(left, sizeof(chunk)));
        ReadExact(chunk, m);
        bytes.append(reinterpret_cast<const char*>(chunk), m);
        left -= m;
    }
    if (!bUnicode)
        return CString::FromUtf8(bytes);
    std::u16string u(bytes.size() / 2, u'\0');
    for (size_t k = 0; k < u.size(); ++k)
        u[k] = char16_t(BYTE(bytes[2 * k]) | (BYTE(bytes[2 * k + 1]) << 8));
    return CString(Utf16ToWide(u));
}

CArchive& CArchive::operator>>(CString& s)
{
    // The common case, a marked string of fewer than 255 units lying whole in the buffer
    // (FF FE FF, length byte, text), is taken straight into the string without copies between.
    if (m_nBufCur + 4 <= m_nBufMax)
    {
        const BYTE* p = m_buf.data() + m_nBufCur;
        const size_t n = p[3];
        if (p[0] == 0xFF && p[1] == 0xFE && p[2] == 0xFF && n < 0xFF && m_nBufCur + 4 + 2 * n <= m_nBufMax)
        {
            const BYTE* text = p + 4;
            std::wstring& w = s.str();
            w.resize(n);
            bool surrogates = false;
            for (size_t k = 0; k < n; ++k)
            {
                const char16_t c = char16_t(text[2 * k] | (text[2 * k + 1] << 8));
                surrogates |= c >= 0xD800 && c <= 0xDFFF;
                w[k] = wchar_t(c);
            }
            if (surrogates)
            {
                std::u16string u(n, u'\0');
                for (size_t k = 0; k < n; ++k)
                    u[k] = char16_t(text[2 * k] | (text[2 * k + 1] << 8));
                w = Utf16ToWide(u);
            }
            m_nBufCur += 4 + 2 * n;
            return *this;
        }
    }
    bool unicode = false;
    ULONGLONG len;
    BYTE b;
    *this >> b;
    if (b < 0xFF)
        len = b;
    else
    {
        WORD w;
        *this >> w;
        if (w == 0xFFFE)
        {
            unicode = true;
            *this >> b;
            if (b < 0xFF)
            {
                s = ReadStringBody(b, true);
                return *this;
            }
            *this >> w;
        }
        if (w < 0xFFFF)
            len = w;
        else
        {
            DWORD d;
            *this >> d;
            len = d;
            if (d == 0xFFFFFFFFu)
                *this >> len;
        }
    }
    s = ReadStringBody(len, unicode);
    return *this;
}

void CArchive::WriteString(LPCWSTR lpsz)
{
    if (!lpsz)
        AfxThrowInvalidArgException();
    for (char16_t c : WideToUtf16(lpsz))
        *this << WORD(c);
}

LPWSTR CArchive::ReadString(LPWSTR lpsz, UINT nMax)
{
    CheckLoading();
    if (!lpsz || nMax == 0)
        AfxThrowInvalidArgException();
    std::u16string line;
    bool any = false;
    BYTE b[2];
    while (line.size() + 1 < nMax && Read(b, 2) == 2)
    {
        any = true;
        const char16_t c = char16_t(b[0] | (b[1] << 8));
        if (c == u'\n')
            break;
        line += c;
    }
    if (!any)
    {
        lpsz[0] = L'\0';
        return nullptr;
    }
    if (!line.empty() && line.back() == u'\r')
        line.pop_back();
    std::wstring w = Utf16ToWide(line);
    // A surrogate pair counts two units but makes one character, so the text still fits.
    std::wmemcpy(lpsz, w.data(), w.size());
    lpsz[w.size()] = L'\0';
    return lpsz;
}

BOOL CArchive::ReadString(CString& rString)
{
    CheckLoading();
    rString.Empty();
    std::u16string line;
    bool any = false;
    BYTE b[2];
    while (Read(b, 2) == 2)
    {
        any = true;
        const char16_t c = char16_t(b[0] | (b[1] << 8));
        if (c == u'\n')
            break;
        line += c;
    }
    if (!any)
        return FALSE;
    if (!line.empty() && line.back() == u'\r')
        line.pop_back();
    rString = CString(Utf16ToWide(line));
    return TRUE;
}

// Objects

DWORD CArchive::NextMapIndex()
{
    if (m_nMapCount >= nMaxMapCount)
        AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
    return m_nMapCount++;
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef)
{
    CheckStoring();
    if (!pClassRef || pClassRef->m_wSchema == 0xFFFFu)
        AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
    auto it = m_storeMap.find(pClassRef);
    if (it != m_storeMap.end())
    {
        if (it->second < wBigObjectTag)
            *this << WORD(wClassTag | it->second);
        else
            *this << wBigObjectTag << DWORD(dwBigClassTag | it->second);
        return;
    }
    *this << wNewClassTag;
    pClassRef->Store(*this);
    m_storeMap[pClassRef] = NextMapIndex();
}

void CArchive::WriteObject(const CObject* pOb)
{
    CheckStoring();
    if (!pOb)
    {
        *this << wNullTag;
        return;
    }
    auto it = m_storeMap.find(pOb);
    if (it != m_storeMap.end())
    {
        if (it->second < wBigObjectTag)
            *this << WORD(it->second);
        else
            *this << wBigObjectTag << DWORD(it->second);
        return;
    }
    WriteClass(pOb->GetRuntimeClass());
    m_storeMap[pOb] = NextMapIndex();
    const_cast<CObject*>(pOb)->Serialize(*this);
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema, DWORD* pObTag)
{
    CheckLoading();
    WORD wTag;
    *this >> wTag;
    DWORD obTag;
    if (wTag == wBigObjectTag)
        *this >> obTag;
    else
        obTag = (DWORD(wTag & wClassTag) << 16) | DWORD(wTag & ~wClassTag);
    if (!(obTag & dwBigClassTag))
    {
        if (!pObTag)
            AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
        *pObTag = obTag;
        return nullptr;
    }

    CRuntimeClass* pClassRef;
    UINT nSchema;
    if (wTag == wNewClassTag)
    {
        pClassRef = CRuntimeClass::Load(*this, &nSchema);
        // Only serialisable classes may be made from a file.
        if (!pClassRef || pClassRef->m_wSchema == 0xFFFFu)
            AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
        if ((pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA) != nSchema)
        {
            if (!(pClassRef->m_wSchema & VERSIONABLE_SCHEMA))
                AfxThrowArchiveException(CArchiveException::badSchema, m_strFileName);
            m_schemaMap[pClassRef] = nSchema;
        }
        NextMapIndex();
        m_loadArray.push_back({pClassRef, nullptr});
    }
    else
    {
        const DWORD nClassIndex = obTag & ~dwBigClassTag;
        if (nClassIndex == 0 || nClassIndex >= m_loadArray.size() || !m_loadArray[nClassIndex].pClass)
            AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
        pClassRef = const_cast<CRuntimeClass*>(m_loadArray[nClassIndex].pClass);
        nSchema = pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA;
        if (!m_schemaMap.empty())
            if (auto s = m_schemaMap.find(pClassRef); s != m_schemaMap.end())
                nSchema = s->second;
    }

    if (pClassRefRequested && !pClassRef->IsDerivedFrom(pClassRefRequested))
        AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
    if (pSchema)
        *pSchema = nSchema;
    else
        m_nObjectSchema = nSchema;
    if (pObTag)
        *pObTag = obTag;
    return pClassRef;
}

void CArchive::SerializeClass(const CRuntimeClass* pClassRef)
{
    if (IsStoring())
        WriteClass(pClassRef);
    else
        ReadClass(pClassRef, &m_nObjectSchema);
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested)
{
    CheckLoading();
    UINT nSchema = 0;
    DWORD obTag = 0;
    const CRuntimeClass* pClassRef = ReadClass(pClassRefRequested, &nSchema, &obTag);
    if (!pClassRef)
    {
        // A reference to an object read before; index 0 is the null object.
        if (obTag >= m_loadArray.size() || m_loadArray[obTag].pClass)
            AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
        CObject* pOb = m_loadArray[obTag].pObject;
        if (pOb && pClassRefRequested && !pOb->IsKindOf(pClassRefRequested))
            AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
        return pOb;
    }

    if (m_nLoadDepth >= nMaxLoadDepth)
        AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
    CObject* pOb = pClassRef->CreateObject();
    if (!pOb)
        AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
    const size_t slot = m_loadArray.size();
    try
    {
        NextMapIndex();
        m_loadArray.push_back({nullptr, pOb});
    }
    catch (...)
    {
        delete pOb;
        throw;
    }
    const UINT nSchemaSave = m_nObjectSchema;
    m_nObjectSchema = nSchema;
    ++m_nLoadDepth;
    try
    {
        pOb->Serialize(*this);
    }
    catch (...)
    {
        --m_nLoadDepth;
        m_nObjectSchema = nSchemaSave;
        m_loadArray[slot].pObject = nullptr;
        delete pOb;
        throw;
    }
    --m_nLoadDepth;
    m_nObjectSchema = nSchemaSave;
    return pOb;
}

void CArchive::MapObject(const CObject* pOb)
{
    if (IsStoring())
    {
        CheckStoring();
        if (pOb && m_storeMap.find(pOb) == m_storeMap.end())
            m_storeMap[pOb] = NextMapIndex();
    }
    else
    {
        CheckLoading();
        NextMapIndex();
        m_loadArray.push_back({nullptr, const_cast<CObject*>(pOb)});
    }
}

UINT CArchive::GetObjectSchema()
{
    const UINT n = m_nObjectSchema;
    m_nObjectSchema = UINT(-1);
    return n;
}

CArchive& operator<<(CArchive& ar, const CObject* pOb)
{
    ar.WriteObject(pOb);
    return ar;
}

CArchive& operator>>(CArchive& ar, CObject*& pOb)
{
    pOb = ar.ReadObject(nullptr);
    return ar;
}

CArchive& operator>>(CArchive& ar, const CObject*& pOb)
{
    pOb = ar.ReadObject(nullptr);
    return ar;
}

CObject* AfxReadObject(CArchive& ar, const CRuntimeClass* pClassRefRequested)
{
    return ar.ReadObject(pClassRefRequested);
}
