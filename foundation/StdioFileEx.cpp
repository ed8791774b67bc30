#include "foundation/StdioFileEx.h"

#include "win32/System.h"
#include "win32/Utf.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <vector>

namespace
{

const unsigned char kUtf16Mark[] = {0xFF, 0xFE};
const unsigned char kUtf8Mark[] = {0xEF, 0xBB, 0xBF};

UINT ResolveCodePage(int codePage)
{
    return codePage == -1 || codePage == CP_ACP ? GetACP() : UINT(codePage);
}

} // namespace

CStdioFileEx::CStdioFileEx() = default;

CStdioFileEx::CStdioFileEx(LPCWSTR fileName, UINT openFlags)
{
    CFileException e(CFileException::none, -1, nullptr);
    e.m_bAutoDelete = FALSE;
    if (!Open(fileName, openFlags, &e))
        AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CStdioFileEx::~CStdioFileEx() = default;

BOOL CStdioFileEx::Open(LPCWSTR fileName, UINT openFlags, CFileException* error)
{
    m_bIsUnicodeText = (openFlags & modeWriteUnicode) != 0;
    m_nFlags = ((openFlags & ~modeWriteUnicode) & ~UINT(typeText)) | typeBinary;
    m_pending.clear();
    if (!CStdioFile::Open(fileName, m_nFlags, error))
        return FALSE;
    if (!(m_nFlags & modeCreate) && (m_nFlags & 3) != modeWrite)
    {
        unsigned char head[2] = {};
        const size_t n = std::fread(head, 1, 2, m_pStream);
        m_bIsUnicodeText = n == 2 && std::memcmp(head, kUtf16Mark, 2) == 0;
        std::clearerr(m_pStream);
        std::fseek(m_pStream, 0, SEEK_SET);
    }
    m_bAtStart = true;
    return TRUE;
}

ULONGLONG CStdioFileEx::Seek(LONGLONG offset, UINT from)
{
    const ULONGLONG position = CStdioFile::Seek(offset, from);
    m_pending.clear();
    m_bAtStart = true;
    return position;
}

UINT CStdioFileEx::EffectiveCodePage() const
{
    return ResolveCodePage(m_nFileCodePage);
}

void CStdioFileEx::SkipMark()
{
    const bool atStart = m_bAtStart;
    m_bAtStart = false;
    if (!atStart || std::ftell(m_pStream) != 0)
        return;
    const unsigned char* mark = nullptr;
    size_t size = 0;
    if (m_bIsUnicodeText)
    {
        mark = kUtf16Mark;
        size = sizeof(kUtf16Mark);
    }
    else if (EffectiveCodePage() == CP_UTF8)
    {
        mark = kUtf8Mark;
        size = sizeof(kUtf8Mark);
    }
    else
        return;
    unsigned char head[3] = {};
    const size_t n = std::fread(head, 1, size, m_pStream);
    if (n == size && std::memcmp(head, mark, size) == 0)
        return;
    std::clearerr(m_pStream);
    std::fseek(m_pStream, 0, SEEK_SET);
}

bool CStdioFileEx::ReadRawLine(std::wstring& line, bool& hadLineFeed)
{
    hadLineFeed = false;
    line.clear();
    bool any = false;
    if (m_bIsUnicodeText)
    {
        m_wideLine.clear();
        for (;;)
        {
            const int lo = std::fgetc(m_pStream);
            if (lo == EOF)
                break;
            const int hi = std::fgetc(m_pStream);
            if (hi == EOF)
                break; // half a character at the end is dropped
            any = true;
            const char16_t unit = char16_t(lo | (hi << 8));
            if (unit == u'\n')
            {
                hadLineFeed = true;
                break;
            }
            m_wideLine.push_back(unit);
        }
        line = Utf16ToWide(m_wideLine);
    }
    else
    {
        m_byteLine.clear();
        for (;;)
        {
            const int c = std::fgetc(m_pStream);
            if (c == EOF)
                break;
            any = true;
            if (c == '\n')
            {
                hadLineFeed = true;
                break;
            }
            m_byteLine.push_back(char(c));
        }
        line = MultiByteToWide(m_byteLine, m_nFileCodePage);
    }
    if (std::ferror(m_pStream))
        CheckStreamError();
    if (!line.empty() && line.back() == L'\r')
        line.pop_back();
    return any;
}

BOOL CStdioFileEx::ReadString(CString& line)
{
    ThrowIfNoStream();
    if (!m_pending.empty())
    {
        std::wstring rest;
        rest.swap(m_pending);
        if (!rest.empty() && rest.back() == L'\n')
            rest.pop_back();
        line = CString(std::move(rest));
        return TRUE;
    }
    SkipMark();
    std::wstring text;
    bool lineFeed = false;
    if (!ReadRawLine(text, lineFeed))
    {
        line.Empty();
        return FALSE;
    }
    line = CString(std::move(text));
    return TRUE;
}

LPWSTR CStdioFileEx::ReadString(LPWSTR buffer, UINT maxChars)
{
    ThrowIfNoStream();
    if (!buffer || maxChars == 0)
        AfxThrowInvalidArgException();
    std::wstring text;
    if (!m_pending.empty())
        text.swap(m_pending);
    else
    {
        SkipMark();
        bool lineFeed = false;
        if (!ReadRawLine(text, lineFeed))
        {
            buffer[0] = L'\0';
            return nullptr;
        }
        if (lineFeed)
            text += L'\n';
    }
    const size_t take = std::min<size_t>(text.size(), size_t(maxChars) - 1);
    std::wmemcpy(buffer, text.data(), take);
    buffer[take] = L'\0';
    m_pending = text.substr(take);
    return buffer;
}

void CStdioFileEx::WriteString(LPCWSTR text)
{
    ThrowIfNoStream();
    if (!text)
        AfxThrowInvalidArgException();
    if (m_bWriteBOM && GetPosition() == 0)
    {
        if (m_bIsUnicodeText)
            Write(kUtf16Mark, sizeof(kUtf16Mark));
        else if (EffectiveCodePage() == CP_UTF8)
            Write(kUtf8Mark, sizeof(kUtf8Mark));
    }
    if (m_bIsUnicodeText)
    {
        const std::u16string units = WideToUtf16(text);
        std::vector<unsigned char> bytes;
        bytes.reserve(units.size() * 2);
        for (char16_t u : units)
        {
            bytes.push_back((unsigned char)(u & 0xFF));
            bytes.push_back((unsigned char)(u >> 8));
        }
        if (!bytes.empty())
            Write(bytes.data(), UINT(bytes.size()));
        return;
    }
    const std::string bytes = WideToMultiByte(std::wstring(text), m_nFileCodePage, m_cFillerChar);
    if (!bytes.empty())
        Write(bytes.data(), UINT(bytes.size()));
}

BOOL CStdioFileEx::IsFileUnicode(LPCWSTR fileName)
{
    CFile file;
    if (!file.Open(fileName, CFile::modeRead | CFile::typeBinary))
        return FALSE;
    unsigned char head[2] = {};
    UINT n = 0;
    try
    {
        n = file.Read(head, 2);
    }
    catch (CException* e)
    {
        e->Delete();
        return FALSE;
    }
    return n == 2 && std::memcmp(head, kUtf16Mark, 2) == 0;
}

UINT CStdioFileEx::GetCurrentLocaleCodePage()
{
    wchar_t buf[16] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, buf, 16) <= 0)
        return GetACP();
    buf[15] = L'\0';
    return UINT(std::wcstoul(buf, nullptr, 10));
}

int CStdioFileEx::MultiByteToWide(LPCSTR text, int bytes, LPWSTR out, int outChars, int codePage)
{
    if (!text || bytes <= 0)
        return 0;
    const UINT cp = ResolveCodePage(codePage);
    const DWORD flags = cp == CP_UTF8 ? 0 : MB_PRECOMPOSED;
    return MultiByteToWideChar(cp, flags, text, bytes, out, out ? outChars : 0);
}

int CStdioFileEx::WideToMultiByte(LPCWSTR text, int chars, LPSTR out, int outBytes, int codePage, char filler)
{
    if (!text || chars <= 0)
        return 0;
    const UINT cp = ResolveCodePage(codePage);
    const char fillerText[2] = {filler, '\0'};
    if (cp == CP_UTF8)
        return WideCharToMultiByte(cp, 0, text, chars, out, out ? outBytes : 0, nullptr, nullptr);
    return WideCharToMultiByte(cp, WC_COMPOSITECHECK | WC_SEPCHARS, text, chars, out, out ? outBytes : 0,
                               fillerText, nullptr);
}

std::wstring CStdioFileEx::MultiByteToWide(const std::string& text, int codePage)
{
    const int bytes = int(text.size());
    const int needed = MultiByteToWide(text.data(), bytes, nullptr, 0, codePage);
    if (needed <= 0)
        return std::wstring();
    std::wstring out(size_t(needed), L'\0');
    const int got = MultiByteToWide(text.data(), bytes, out.data(), needed, codePage);
    out.resize(size_t(got > 0 ? got : 0));
    return out;
}

std::string CStdioFileEx::WideToMultiByte(const std::wstring& text, int codePage, char filler)
{
    const int chars = int(text.size());
    const int needed = WideToMultiByte(text.data(), chars, nullptr, 0, codePage, filler);
    if (needed <= 0)
        return std::string();
    std::string out(size_t(needed), '\0');
    const int got = WideToMultiByte(text.data(), chars, out.data(), needed, codePage, filler);
    out.resize(size_t(got > 0 ? got : 0));
    return out;
}
