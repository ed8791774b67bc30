#include "win32/Utf.h"

#include <cstdint>

std::wstring Utf8ToWide(std::string_view s)
{
    std::wstring out;
    out.reserve(s.size());
    size_t i = 0;
    const size_t n = s.size();
    while (i < n)
    {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        uint32_t cp = 0;
        size_t len = 0;
        if (c < 0x80)
        {
            out += wchar_t(c);
            ++i;
            continue;
        }
        else if ((c & 0xE0) == 0xC0)
            cp = c & 0x1F, len = 2;
        else if ((c & 0xF0) == 0xE0)
            cp = c & 0x0F, len = 3;
        else if ((c & 0xF8) == 0xF0)
            cp = c & 0x07, len = 4;
        else
        {
            out += wchar_t(0xFFFD);
            ++i;
            continue;
        }
        if (i + len > n)
        {
            out += wchar_t(0xFFFD);
            break;
        }
        bool ok = true;
        for (size_t k = 1; k < len; ++k)
        {
            const unsigned char cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80)
            {
                ok = false;
                break;
            }
            cp = (cp << 6) | (cc & 0x3F);
        }
        const bool overlong =
            (len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000);
        if (!ok || overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        {
            out += wchar_t(0xFFFD);
            ++i;
            continue;
        }
        out += wchar_t(cp);
        i += len;
    }
    return out;
}

std::string WideToUtf8(std::wstring_view s)
{
    std::string out;
    out.reserve(s.size());
    for (wchar_t wc : s)
    {
        uint32_t cp = uint32_t(wc);
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            cp = 0xFFFD;
        if (cp < 0x80)
            out += char(cp);
        else if (cp < 0x800)
        {
            out += char(0xC0 | (cp >> 6));
            out += char(0x80 | (cp & 0x3F));
        }
        else if (cp < 0x10000)
        {
            out += char(0xE0 | (cp >> 12));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        }
        else
        {
            out += char(0xF0 | (cp >> 18));
            out += char(0x80 | ((cp >> 12) & 0x3F));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

std::u16string WideToUtf16(std::wstring_view s)
{
    std::u16string out;
    out.reserve(s.size());
    for (wchar_t wc : s)
    {
        uint32_t cp = uint32_t(wc);
        if (cp > 0x10FFFF)
            cp = 0xFFFD;
        if (cp >= 0x10000)
        {
            cp -= 0x10000;
            out += char16_t(0xD800 + (cp >> 10));
            out += char16_t(0xDC00 + (cp & 0x3FF));
        }
        else
            out += char16_t(cp);
    }
    return out;
}

std::wstring Utf16ToWide(std::u16string_view s)
{
    std::wstring out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i)
    {
        const uint32_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF)
        {
            out += wchar_t(0x10000 + ((c - 0xD800) << 10) + (uint32_t(s[i + 1]) - 0xDC00));
            ++i;
        }
        else if (c >= 0xD800 && c <= 0xDFFF)
            out += wchar_t(0xFFFD);
        else
            out += wchar_t(c);
    }
    return out;
}
