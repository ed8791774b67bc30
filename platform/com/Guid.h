// GUIDs (IID, CLSID) and their "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}" text form.
#pragma once

#include "com/ComBase.h"

#include <cstring>
#include <functional>

struct GUID
{
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
typedef GUID IID;
typedef GUID CLSID;
typedef GUID* LPGUID;
typedef IID* LPIID;
typedef CLSID* LPCLSID;
typedef const GUID& REFGUID;
typedef const IID& REFIID;
typedef const CLSID& REFCLSID;

#define DEFINE_GUID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8)                                         \
    inline constexpr GUID name = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}}

inline constexpr GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
#define IID_NULL GUID_NULL
#define CLSID_NULL GUID_NULL

inline bool IsEqualGUID(REFGUID a, REFGUID b)
{
    return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3 &&
           std::memcmp(a.Data4, b.Data4, sizeof(a.Data4)) == 0;
}
#define IsEqualIID(a, b) IsEqualGUID(a, b)
#define IsEqualCLSID(a, b) IsEqualGUID(a, b)
inline bool operator==(REFGUID a, REFGUID b)
{
    return IsEqualGUID(a, b);
}
inline bool operator!=(REFGUID a, REFGUID b)
{
    return !IsEqualGUID(a, b);
}
// An order for std::map keys.
inline bool operator<(REFGUID a, REFGUID b)
{
    if (a.Data1 != b.Data1)
        return a.Data1 < b.Data1;
    if (a.Data2 != b.Data2)
        return a.Data2 < b.Data2;
    if (a.Data3 != b.Data3)
        return a.Data3 < b.Data3;
    return std::memcmp(a.Data4, b.Data4, sizeof(a.Data4)) < 0;
}

template <> struct std::hash<GUID>
{
    size_t operator()(const GUID& g) const noexcept
    {
        uint64_t tail = 0;
        std::memcpy(&tail, g.Data4, sizeof(tail));
        return std::hash<uint64_t>()((uint64_t(g.Data1) << 32 | uint64_t(g.Data2) << 16 | g.Data3) ^ tail);
    }
};

// Writes the braced upper-case form (39 characters with the terminator) and returns that count,
// or 0 when cchMax is too small.
int StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, int cchMax);
// The same form in a CoTaskMemAlloc block.
HRESULT StringFromCLSID(REFCLSID rclsid, LPOLESTR* lplpsz);
HRESULT StringFromIID(REFIID rclsid, LPOLESTR* lplpsz);
// Reads the braced form (either case); anything else gives CO_E_CLASSSTRING (E_INVALIDARG for IIDs).
HRESULT CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid);
HRESULT IIDFromString(LPCOLESTR lpsz, LPIID lpiid);
// A random (version 4) GUID.
HRESULT CoCreateGuid(GUID* pguid);
