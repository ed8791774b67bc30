// Wide string with the MFC CString interface, kept in a std::wstring.
#pragma once

#include "win32/WinTypes.h"

#include <cstdarg>
#include <string>
#include <string_view>

class CString
{
public:
    CString() = default;
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString(LPCWSTR s) : m_str(s ? s : L"") {}
    CString(LPCWSTR s, int len) : m_str(s ? std::wstring(s, size_t(len < 0 ? 0 : len)) : std::wstring()) {}
    CString(wchar_t ch, int repeat = 1) : m_str(size_t(repeat < 0 ? 0 : repeat), ch) {}
    CString(const std::wstring& s) : m_str(s) {}
    CString(std::wstring&& s) : m_str(std::move(s)) {}
    // Narrow text is taken as UTF-8, the system's ANSI code page here.
    CString(LPCSTR s);
    CString(LPCSTR s, int len);

    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(LPCWSTR s)
    {
        m_str = s ? s : L"";
        return *this;
    }
    CString& operator=(wchar_t ch)
    {
        m_str.assign(1, ch);
        return *this;
    }
    CString& operator=(LPCSTR s);

    int GetLength() const { return int(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    wchar_t GetAt(int i) const { return m_str.at(size_t(i)); }
    void SetAt(int i, wchar_t ch) { m_str.at(size_t(i)) = ch; }
    wchar_t operator[](int i) const { return m_str.at(size_t(i)); }
    operator LPCWSTR() const { return m_str.c_str(); }
    LPCWSTR GetString() const { return m_str.c_str(); }
    const std::wstring& str() const { return m_str; }
    std::wstring& str() { return m_str; }
    // UTF-8 form, for Qt and the C library.
    std::string ToUtf8() const;
    static CString FromUtf8(std::string_view s);

    // Direct buffer access: GetBuffer makes room, ReleaseBuffer fixes the length.
    LPWSTR GetBuffer(int minLength = 0);
    LPWSTR GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);
    void Preallocate(int length) { m_str.reserve(size_t(length < 0 ? 0 : length)); }
    void Truncate(int length)
    {
        if (length >= 0 && size_t(length) < m_str.size())
            m_str.resize(size_t(length));
    }

    CString& operator+=(const CString& s)
    {
        m_str += s.m_str;
        return *this;
    }
    CString& operator+=(LPCWSTR s)
    {
        if (s)
            m_str += s;
        return *this;
    }
    CString& operator+=(wchar_t ch)
    {
        m_str += ch;
        return *this;
    }
    void Append(LPCWSTR s) { *this += s; }
    void Append(LPCWSTR s, int len)
    {
        if (s && len > 0)
            m_str.append(s, size_t(len));
    }
    void AppendChar(wchar_t ch) { m_str += ch; }

    int Compare(LPCWSTR s) const;
    int CompareNoCase(LPCWSTR s) const;
    int Collate(LPCWSTR s) const { return Compare(s); }
    int CollateNoCase(LPCWSTR s) const { return CompareNoCase(s); }

    CString Left(int count) const;
    CString Right(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString SpanIncluding(LPCWSTR chars) const;
    CString SpanExcluding(LPCWSTR chars) const;
    CString Tokenize(LPCWSTR tokens, int& start) const;

    int Find(wchar_t ch, int start = 0) const;
    int Find(LPCWSTR sub, int start = 0) const;
    int ReverseFind(wchar_t ch) const;
    int FindOneOf(LPCWSTR chars) const;

    int Replace(wchar_t oldCh, wchar_t newCh);
    int Replace(LPCWSTR oldStr, LPCWSTR newStr);
    int Remove(wchar_t ch);
    int Insert(int index, wchar_t ch);
    int Insert(int index, LPCWSTR s);
    int Delete(int index, int count = 1);

    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();
    CString& Trim();
    CString& Trim(wchar_t ch);
    CString& Trim(LPCWSTR chars);
    CString& TrimLeft();
    CString& TrimLeft(wchar_t ch);
    CString& TrimLeft(LPCWSTR chars);
    CString& TrimRight();
    CString& TrimRight(wchar_t ch);
    CString& TrimRight(LPCWSTR chars);

    // printf-style formatting with MFC's wide conventions: %s is a wide string, %S a narrow one.
    void Format(LPCWSTR format, ...);
    void FormatV(LPCWSTR format, va_list args);
    void AppendFormat(LPCWSTR format, ...);
    void AppendFormatV(LPCWSTR format, va_list args);

    // From the module resource chain of platform/mfc.
    BOOL LoadString(UINT id);

    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_str + b.m_str); }
    friend CString operator+(const CString& a, LPCWSTR b) { return CString(a.m_str + (b ? b : L"")); }
    friend CString operator+(LPCWSTR a, const CString& b) { return CString((a ? a : L"") + b.m_str); }
    friend CString operator+(const CString& a, wchar_t b) { return CString(a.m_str + b); }
    friend CString operator+(wchar_t a, const CString& b) { return CString(a + b.m_str); }
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, LPCWSTR b) { return a.m_str == (b ? b : L""); }
    friend bool operator==(LPCWSTR a, const CString& b) { return b == a; }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, LPCWSTR b) { return !(a == b); }
    friend bool operator!=(LPCWSTR a, const CString& b) { return !(b == a); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_str < b.m_str; }
    friend bool operator>(const CString& a, const CString& b) { return a.m_str > b.m_str; }
    friend bool operator<=(const CString& a, const CString& b) { return a.m_str <= b.m_str; }
    friend bool operator>=(const CString& a, const CString& b) { return a.m_str >= b.m_str; }

private:
    std::wstring m_str;
};

typedef CString CStringW;

// Translates an MFC wide format string into one glibc's vswprintf understands.
std::wstring AfxTranslateFormat(LPCWSTR format);
// Formats with MFC's wide conventions into a std::wstring.
std::wstring AfxFormatV(LPCWSTR format, va_list args);

template <> struct std::hash<CString>
{
    size_t operator()(const CString& s) const noexcept { return std::hash<std::wstring>()(s.str()); }
};
