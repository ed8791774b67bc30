#include "mfc/CString.h"

#include "win32/Utf.h"

#include <QChar>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <vector>

CString::CString(LPCSTR s) : m_str(s ? Utf8ToWide(s) : std::wstring()) {}
CString::CString(LPCSTR s, int len)
    : m_str(s && len > 0 ? Utf8ToWide(std::string_view(s, size_t(len))) : std::wstring())
{
}

CString& CString::operator=(LPCSTR s)
{
    m_str = s ? Utf8ToWide(s) : std::wstring();
    return *this;
}

std::string CString::ToUtf8() const
{
    return WideToUtf8(m_str);
}
CString CString::FromUtf8(std::string_view s)
{
    return CString(Utf8ToWide(s));
}

LPWSTR CString::GetBuffer(int minLength)
{
    if (minLength > 0 && size_t(minLength) > m_str.size())
        m_str.resize(size_t(minLength), L'\0');
    return m_str.data();
}

LPWSTR CString::GetBufferSetLength(int length)
{
    m_str.resize(size_t(length < 0 ? 0 : length), L'\0');
    return m_str.data();
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0)
        m_str.resize(std::wcslen(m_str.c_str()));
    else if (size_t(newLength) <= m_str.size())
        m_str.resize(size_t(newLength));
}

int CString::Compare(LPCWSTR s) const
{
    const int r = m_str.compare(s ? s : L"");
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

namespace
{
// Unicode case mapping that does not depend on the C locale, which is "C" unless a program sets it.
wchar_t ToLower(wchar_t c)
{
    return wchar_t(QChar::toLower(char32_t(c)));
}
wchar_t ToUpper(wchar_t c)
{
    return wchar_t(QChar::toUpper(char32_t(c)));
}
} // namespace

int CString::CompareNoCase(LPCWSTR s) const
{
    if (!s)
        s = L"";
    size_t i = 0;
    for (; i < m_str.size() && s[i]; ++i)
    {
        const wchar_t a = ToLower(m_str[i]);
        const wchar_t b = ToLower(s[i]);
        if (a != b)
            return a < b ? -1 : 1;
    }
    if (i < m_str.size())
        return 1;
    return s[i] ? -1 : 0;
}

CString CString::Left(int count) const
{
    if (count <= 0)
        return CString();
    return CString(m_str.substr(0, size_t(count)));
}

CString CString::Right(int count) const
{
    if (count <= 0)
        return CString();
    if (size_t(count) >= m_str.size())
        return *this;
    return CString(m_str.substr(m_str.size() - size_t(count)));
}

CString CString::Mid(int first) const
{
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const
{
    if (first < 0)
        first = 0;
    if (count < 0 || size_t(first) >= m_str.size())
        return CString();
    return CString(m_str.substr(size_t(first), size_t(count)));
}

CString CString::SpanIncluding(LPCWSTR chars) const
{
    const size_t n = m_str.find_first_not_of(chars ? chars : L"");
    return n == std::wstring::npos ? *this : CString(m_str.substr(0, n));
}

CString CString::SpanExcluding(LPCWSTR chars) const
{
    const size_t n = m_str.find_first_of(chars ? chars : L"");
    return n == std::wstring::npos ? *this : CString(m_str.substr(0, n));
}

CString CString::Tokenize(LPCWSTR tokens, int& start) const
{
    if (start < 0 || size_t(start) >= m_str.size())
    {
        start = -1;
        return CString();
    }
    const std::wstring_view delims(tokens ? tokens : L"");
    size_t b = m_str.find_first_not_of(delims, size_t(start));
    if (b == std::wstring::npos)
    {
        start = -1;
        return CString();
    }
    size_t e = m_str.find_first_of(delims, b);
    if (e == std::wstring::npos)
        e = m_str.size();
    start = int(e + 1);
    return CString(m_str.substr(b, e - b));
}

int CString::Find(wchar_t ch, int start) const
{
    if (start < 0 || size_t(start) >= m_str.size())
        return -1;
    const size_t n = m_str.find(ch, size_t(start));
    return n == std::wstring::npos ? -1 : int(n);
}

int CString::Find(LPCWSTR sub, int start) const
{
    if (!sub || start < 0 || size_t(start) > m_str.size())
        return -1;
    const size_t n = m_str.find(sub, size_t(start));
    return n == std::wstring::npos ? -1 : int(n);
}

int CString::ReverseFind(wchar_t ch) const
{
    const size_t n = m_str.rfind(ch);
    return n == std::wstring::npos ? -1 : int(n);
}

int CString::FindOneOf(LPCWSTR chars) const
{
    const size_t n = m_str.find_first_of(chars ? chars : L"");
    return n == std::wstring::npos ? -1 : int(n);
}

int CString::Replace(wchar_t oldCh, wchar_t newCh)
{
    int count = 0;
    for (wchar_t& c : m_str)
        if (c == oldCh)
        {
            c = newCh;
            ++count;
        }
    return count;
}

int CString::Replace(LPCWSTR oldStr, LPCWSTR newStr)
{
    if (!oldStr || !*oldStr)
        return 0;
    const std::wstring from(oldStr);
    const std::wstring to(newStr ? newStr : L"");
    int count = 0;
    size_t pos = 0;
    while ((pos = m_str.find(from, pos)) != std::wstring::npos)
    {
        m_str.replace(pos, from.size(), to);
        pos += to.size();
        ++count;
    }
    return count;
}

int CString::Remove(wchar_t ch)
{
    const size_t before = m_str.size();
    m_str.erase(std::remove(m_str.begin(), m_str.end(), ch), m_str.end());
    return int(before - m_str.size());
}

int CString::Insert(int index, wchar_t ch)
{
    index = std::clamp(index, 0, GetLength());
    m_str.insert(size_t(index), 1, ch);
    return GetLength();
}

int CString::Insert(int index, LPCWSTR s)
{
    index = std::clamp(index, 0, GetLength());
    if (s)
        m_str.insert(size_t(index), s);
    return GetLength();
}

int CString::Delete(int index, int count)
{
    if (index < 0)
        index = 0;
    if (count > 0 && size_t(index) < m_str.size())
        m_str.erase(size_t(index), size_t(count));
    return GetLength();
}

CString& CString::MakeUpper()
{
    for (wchar_t& c : m_str)
        c = ToUpper(c);
    return *this;
}

CString& CString::MakeLower()
{
    for (wchar_t& c : m_str)
        c = ToLower(c);
    return *this;
}

CString& CString::MakeReverse()
{
    std::reverse(m_str.begin(), m_str.end());
    return *this;
}

CString& CString::Trim()
{
    return TrimRight().TrimLeft();
}
CString& CString::Trim(wchar_t ch)
{
    return TrimRight(ch).TrimLeft(ch);
}
CString& CString::Trim(LPCWSTR chars)
{
    return TrimRight(chars).TrimLeft(chars);
}

CString& CString::TrimLeft()
{
    size_t i = 0;
    while (i < m_str.size() && std::iswspace(wint_t(m_str[i])))
        ++i;
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimLeft(wchar_t ch)
{
    size_t i = 0;
    while (i < m_str.size() && m_str[i] == ch)
        ++i;
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimLeft(LPCWSTR chars)
{
    const size_t n = m_str.find_first_not_of(chars ? chars : L"");
    m_str.erase(0, n == std::wstring::npos ? m_str.size() : n);
    return *this;
}

CString& CString::TrimRight()
{
    size_t n = m_str.size();
    while (n > 0 && std::iswspace(wint_t(m_str[n - 1])))
        --n;
    m_str.resize(n);
    return *this;
}

CString& CString::TrimRight(wchar_t ch)
{
    size_t n = m_str.size();
    while (n > 0 && m_str[n - 1] == ch)
        --n;
    m_str.resize(n);
    return *this;
}

CString& CString::TrimRight(LPCWSTR chars)
{
    const size_t n = m_str.find_last_not_of(chars ? chars : L"");
    m_str.resize(n == std::wstring::npos ? 0 : n + 1);
    return *this;
}

std::wstring AfxTranslateFormat(LPCWSTR format)
{
    std::wstring out;
    if (!format)
        return out;
    const std::wstring_view f(format);
    out.reserve(f.size() + 8);
    size_t i = 0;
    while (i < f.size())
    {
        if (f[i] != L'%')
        {
            out += f[i++];
            continue;
        }
        out += f[i++];
        if (i < f.size() && f[i] == L'%')
        {
            out += f[i++];
            continue;
        }
        // flags, width, precision
        while (i < f.size() && std::wcschr(L"-+ #0123456789.*", f[i]))
            out += f[i++];
        // size prefixes
        enum
        {
            none,
            narrow,
            wide
        } width = none;
        if (f.compare(i, 3, L"I64") == 0)
        {
            out += L"ll";
            i += 3;
        }
        else if (f.compare(i, 3, L"I32") == 0)
            i += 3;
        else if (i < f.size() && f[i] == L'I')
        {
            out += L"z";
            ++i;
        }
        else if (i < f.size() && f[i] == L'h' && i + 1 < f.size() && std::wcschr(L"sScC", f[i + 1]))
        {
            width = narrow;
            ++i;
        }
        else if (i < f.size() && f[i] == L'l' && i + 1 < f.size() && std::wcschr(L"sScC", f[i + 1]))
        {
            width = wide;
            ++i;
        }
        else if (i < f.size() && f[i] == L'w')
        {
            width = wide;
            ++i;
        }
        std::wstring sizes;
        if (width == none)
            while (i < f.size() && std::wcschr(L"hlLqjzt", f[i]))
                sizes += f[i++];
        if (i >= f.size())
            break;
        const wchar_t conv = f[i++];
        // long is 32 bits in the system's code, so "%ld" comes with a LONG or DWORD argument.
        if (sizes == L"l" && std::wcschr(L"diouxX", conv))
            sizes.clear();
        out += sizes;
        switch (conv)
        {
        case L's':
            out += width == narrow ? L"s" : L"ls";
            break;
        case L'S':
            out += width == wide ? L"ls" : L"s";
            break;
        case L'c':
            out += width == narrow ? L"c" : L"lc";
            break;
        case L'C':
            out += width == wide ? L"lc" : L"c";
            break;
        default:
            out += conv;
        }
    }
    return out;
}

std::wstring AfxFormatV(LPCWSTR format, va_list args)
{
    const std::wstring fmt = AfxTranslateFormat(format);
    std::vector<wchar_t> buf(256);
    for (;;)
    {
        va_list copy;
        va_copy(copy, args);
        const int n = std::vswprintf(buf.data(), buf.size(), fmt.c_str(), copy);
        va_end(copy);
        if (n >= 0 && size_t(n) < buf.size())
            return std::wstring(buf.data(), size_t(n));
        // vswprintf does not report the size it needs; grow, within reason.
        if (buf.size() >= (size_t(1) << 24))
            return std::wstring();
        buf.resize(buf.size() * 4);
    }
}

void CString::Format(LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    m_str = AfxFormatV(format, args);
    va_end(args);
}

void CString::FormatV(LPCWSTR format, va_list args)
{
    m_str = AfxFormatV(format, args);
}

void CString::AppendFormat(LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    m_str += AfxFormatV(format, args);
    va_end(args);
}

void CString::AppendFormatV(LPCWSTR format, va_list args)
{
    m_str += AfxFormatV(format, args);
}
