#include "foundation/MabString.h"

#include "mfc/ModalHook.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <cwchar>

CString CMabString::GetField(wchar_t delim, int index) const
{
    if (index < 0)
        return CString();
    const std::wstring& s = str();
    size_t start = 0;
    for (int i = 0; i < index; ++i)
    {
        const size_t at = s.find(delim, start);
        if (at == std::wstring::npos)
            return CString();
        start = at + 1;
    }
    const size_t end = s.find(delim, start);
    return CString(s.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
}

int CMabString::GetFieldCount(wchar_t delim) const
{
    return Count(delim);
}

int CMabString::Count(wchar_t ch) const
{
    int n = 0;
    for (wchar_t c : str())
        n += c == ch ? 1 : 0;
    return n;
}

int CMabString::Count(LPCWSTR sub) const
{
    if (!sub || !*sub)
        return 0;
    const std::wstring needle(sub);
    int n = 0;
    for (size_t at = str().find(needle); at != std::wstring::npos;
         at = str().find(needle, at + needle.size()))
        ++n;
    return n;
}

namespace
{
bool WidthTooSmall(int width)
{
    if (width >= 4)
        return false;
    AfxMessageBox(L"Minimum String Length is 4 for error handling!");
    return true;
}

CString PadLeft(const std::string& s, int width)
{
    std::string out = s.size() < size_t(width) ? std::string(size_t(width) - s.size(), ' ') + s : s;
    return CString::FromUtf8(out);
}
} // namespace

CMabString& CMabString::SetDouble(double value, int width, wchar_t expChar)
{
    if (WidthTooSmall(width))
    {
        Empty();
        return *this;
    }
    if (!std::isfinite(value))
    {
        *this = PadLeft("ERR", width);
        return *this;
    }
    char buf[64];
    // Most digits first, then fewer; fixed notation before the exponent form.
    for (int prec = std::min(width, 17); prec >= 0; --prec)
    {
        std::snprintf(buf, sizeof buf, "%.*f", prec, value);
        if (int(std::strlen(buf)) <= width)
        {
            *this = PadLeft(buf, width);
            return *this;
        }
    }
    for (int prec = std::min(width, 17); prec >= 0; --prec)
    {
        std::snprintf(buf, sizeof buf, "%.*e", prec, value);
        if (int(std::strlen(buf)) <= width)
        {
            std::string s(buf);
            for (char& c : s)
                if (c == 'e')
                    c = char(expChar);
            *this = PadLeft(s, width);
            return *this;
        }
    }
    *this = PadLeft("Error", width);
    return *this;
}

CMabString& CMabString::SetLong(long value, int width)
{
    if (WidthTooSmall(width))
    {
        Empty();
        return *this;
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%ld", value);
    *this = PadLeft(int(std::strlen(buf)) <= width ? std::string(buf) : std::string("Error"), width);
    return *this;
}

double CMabString::GetDouble() const
{
    const wchar_t* p = GetString();
    while (*p == L' ' || *p == L'\t')
        ++p;
    if (*p == L'$')
        ++p;
    const double v = std::wcstod(p, nullptr);
    return std::isfinite(v) ? v : 0.0;
}

long CMabString::GetLong() const
{
    const wchar_t* p = GetString();
    while (*p == L' ' || *p == L'\t')
        ++p;
    if (*p == L'$')
        ++p;
    return std::wcstol(p, nullptr, 10);
}
