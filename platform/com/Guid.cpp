#include "com/Guid.h"

#include <cwchar>
#include <random>
#include <string>

namespace
{

int HexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

bool ReadHex(const wchar_t*& p, int digits, uint32_t& out)
{
    out = 0;
    for (int i = 0; i < digits; ++i)
    {
        const int d = HexDigit(p[i]);
        if (d < 0)
            return false;
        out = (out << 4) | uint32_t(d);
    }
    p += digits;
    return true;
}

bool Parse(LPCOLESTR s, GUID& g)
{
    if (!s || std::wcslen(s) != 38 || s[0] != L'{' || s[37] != L'}')
        return false;
    const wchar_t* p = s + 1;
    uint32_t v = 0;
    if (!ReadHex(p, 8, v) || *p++ != L'-')
        return false;
    g.Data1 = v;
    if (!ReadHex(p, 4, v) || *p++ != L'-')
        return false;
    g.Data2 = uint16_t(v);
    if (!ReadHex(p, 4, v) || *p++ != L'-')
        return false;
    g.Data3 = uint16_t(v);
    for (int i = 0; i < 8; ++i)
    {
        if (i == 2 && *p++ != L'-')
            return false;
        if (!ReadHex(p, 2, v))
            return false;
        g.Data4[i] = uint8_t(v);
    }
    return *p == L'}';
}

std::wstring Format(REFGUID g)
{
    wchar_t buf[40];
    swprintf(buf, 40, L"{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", unsigned(g.Data1),
             unsigned(g.Data2), unsigned(g.Data3), g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4],
             g.Data4[5], g.Data4[6], g.Data4[7]);
    return buf;
}

HRESULT ToTaskMem(REFGUID g, LPOLESTR* out)
{
    if (!out)
        return E_INVALIDARG;
    const std::wstring s = Format(g);
    *out = static_cast<LPOLESTR>(CoTaskMemAlloc((s.size() + 1) * sizeof(OLECHAR)));
    if (!*out)
        return E_OUTOFMEMORY;
    std::wmemcpy(*out, s.c_str(), s.size() + 1);
    return S_OK;
}

} // namespace

int StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, int cchMax)
{
    const std::wstring s = Format(rguid);
    if (!lpsz || cchMax < int(s.size() + 1))
        return 0;
    std::wmemcpy(lpsz, s.c_str(), s.size() + 1);
    return int(s.size() + 1);
}

HRESULT StringFromCLSID(REFCLSID rclsid, LPOLESTR* lplpsz)
{
    return ToTaskMem(rclsid, lplpsz);
}
HRESULT StringFromIID(REFIID rclsid, LPOLESTR* lplpsz)
{
    return ToTaskMem(rclsid, lplpsz);
}

HRESULT CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid)
{
    if (!pclsid)
        return E_INVALIDARG;
    GUID g{};
    if (!Parse(lpsz, g))
        return CO_E_CLASSSTRING;
    *pclsid = g;
    return NOERROR;
}

HRESULT IIDFromString(LPCOLESTR lpsz, LPIID lpiid)
{
    if (!lpiid)
        return E_INVALIDARG;
    GUID g{};
    if (!Parse(lpsz, g))
        return E_INVALIDARG;
    *lpiid = g;
    return S_OK;
}

HRESULT CoCreateGuid(GUID* pguid)
{
    if (!pguid)
        return E_INVALIDARG;
    static thread_local std::mt19937_64 engine{std::random_device{}()};
    const uint64_t a = engine(), b = engine();
    pguid->Data1 = uint32_t(a >> 32);
    pguid->Data2 = uint16_t(a >> 16);
    pguid->Data3 = uint16_t((a & 0x0FFF) | 0x4000);
    for (int i = 0; i < 8; ++i)
        pguid->Data4[i] = uint8_t(b >> (8 * i));
    pguid->Data4[0] = uint8_t((pguid->Data4[0] & 0x3F) | 0x80);
    return S_OK;
}
