#include "opcsdk/servers/StandInUtil.h"

#include "com/SafeArray.h"

#include <chrono>
#include <cstring>

namespace StandIn
{
LPWSTR TaskString(const std::wstring& s)
{
    size_t bytes = (s.size() + 1) * sizeof(wchar_t);
    auto* p = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (p)
        std::memcpy(p, s.c_str(), bytes);
    return p;
}

LPWSTR TaskString(LPCWSTR s)
{
    return TaskString(std::wstring(s ? s : L""));
}

FILETIME Now()
{
    // 100 ns intervals between 1601-01-01 and 1970-01-01.
    constexpr ULONGLONG kEpochDelta = 116444736000000000ULL;
    auto since = std::chrono::system_clock::now().time_since_epoch();
    ULONGLONG t =
        ULONGLONG(std::chrono::duration_cast<std::chrono::nanoseconds>(since).count() / 100) + kEpochDelta;
    return FILETIME{DWORD(t & 0xFFFFFFFFu), DWORD(t >> 32)};
}

ULONGLONG TickMs()
{
    return ULONGLONG(std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::steady_clock::now().time_since_epoch())
                         .count());
}

static bool SameArray(SAFEARRAY* a, SAFEARRAY* b)
{
    if (a == b)
        return true;
    if (!a || !b || SafeArrayGetDim(a) != 1 || SafeArrayGetDim(b) != 1)
        return false;
    UINT size = SafeArrayGetElemsize(a);
    if (size != SafeArrayGetElemsize(b))
        return false;
    LONG alo = 0, ahi = -1, blo = 0, bhi = -1;
    SafeArrayGetLBound(a, 1, &alo);
    SafeArrayGetUBound(a, 1, &ahi);
    SafeArrayGetLBound(b, 1, &blo);
    SafeArrayGetUBound(b, 1, &bhi);
    if (alo != blo || ahi != bhi)
        return false;
    void* da = nullptr;
    void* db = nullptr;
    if (FAILED(SafeArrayAccessData(a, &da)))
        return false;
    bool same = false;
    if (SUCCEEDED(SafeArrayAccessData(b, &db)))
    {
        size_t n = ahi >= alo ? size_t(ahi - alo + 1) : 0;
        same = n == 0 || std::memcmp(da, db, n * size) == 0;
        SafeArrayUnaccessData(b);
    }
    SafeArrayUnaccessData(a);
    return same;
}

bool VariantEquals(const VARIANT& a, const VARIANT& b)
{
    if (a.vt != b.vt)
        return false;
    switch (a.vt)
    {
    case VT_EMPTY:
    case VT_NULL:
        return true;
    case VT_BSTR:
    {
        UINT n = SysStringLen(a.bstrVal);
        return n == SysStringLen(b.bstrVal) && (n == 0 || std::wmemcmp(a.bstrVal, b.bstrVal, n) == 0);
    }
    case VT_I1:
    case VT_UI1:
        return a.bVal == b.bVal;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL:
        return a.uiVal == b.uiVal;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_ERROR:
        return a.ulVal == b.ulVal;
    case VT_R4:
        return std::memcmp(&a.fltVal, &b.fltVal, sizeof(float)) == 0;
    default:
        break;
    }
    if (a.vt & VT_ARRAY)
        return SameArray(a.parray, b.parray);
    return a.ullVal == b.ullVal; // the 8-byte types
}

bool IsSupportedType(VARTYPE vt)
{
    switch (vt & ~VT_ARRAY)
    {
    case VT_I1:
    case VT_UI1:
    case VT_I2:
    case VT_UI2:
    case VT_I4:
    case VT_UI4:
    case VT_I8:
    case VT_UI8:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
    case VT_BOOL:
        return true;
    case VT_BSTR:
        return !(vt & VT_ARRAY);
    default:
        return false;
    }
}

HRESULT ConvertValue(VARIANT* dst, const VARIANT& src, VARTYPE vt)
{
    if (vt == VT_EMPTY || vt == src.vt)
        return VariantCopy(dst, &src);
    if ((vt & VT_ARRAY) || (src.vt & VT_ARRAY))
    {
        // Arrays convert only to the same type.
        return OPC_E_BADTYPE;
    }
    if (!IsSupportedType(vt))
        return OPC_E_BADTYPE;
    HRESULT hr = VariantChangeType(dst, &src, 0, vt);
    if (hr == DISP_E_OVERFLOW)
        return OPC_E_RANGE;
    if (FAILED(hr))
        return OPC_E_BADTYPE;
    return S_OK;
}

bool MatchWildcard(const std::wstring& name, LPCWSTR pattern)
{
    if (!pattern || !*pattern)
        return true;
    // Iterative match with one backtrack point.
    const wchar_t* s = name.c_str();
    const wchar_t* p = pattern;
    const wchar_t* star = nullptr;
    const wchar_t* mark = nullptr;
    while (*s)
    {
        if (*p == L'?' || *p == *s)
        {
            ++s;
            ++p;
        }
        else if (*p == L'*')
        {
            star = p++;
            mark = s;
        }
        else if (star)
        {
            p = star + 1;
            s = ++mark;
        }
        else
            return false;
    }
    while (*p == L'*')
        ++p;
    return *p == 0;
}

std::wstring ErrorText(HRESULT hr)
{
    switch (hr)
    {
    case S_OK:
        return L"The operation succeeded.";
    case E_FAIL:
        return L"Unspecified error";
    case E_INVALIDARG:
        return L"The parameter is incorrect.";
    case E_OUTOFMEMORY:
        return L"Not enough memory.";
    case E_NOINTERFACE:
        return L"No such interface supported";
    case E_NOTIMPL:
        return L"Not implemented";
    case RPC_E_DISCONNECTED:
        return L"The object invoked has disconnected from its clients.";
    case RPC_S_SERVER_UNAVAILABLE:
        return L"The RPC server is unavailable.";
    case CONNECT_E_NOCONNECTION:
        return L"The connection does not exist.";
    case OPC_E_INVALIDHANDLE:
        return L"The value of the handle is invalid.";
    case OPC_E_BADTYPE:
        return L"The server cannot convert the data between the requested data type and the canonical data "
               L"type.";
    case OPC_E_PUBLIC:
        return L"The requested operation cannot be done on a public group.";
    case OPC_E_BADRIGHTS:
        return L"The item's access rights do not allow the operation.";
    case OPC_E_UNKNOWNITEMID:
        return L"The item is no longer available in the server address space.";
    case OPC_E_INVALIDITEMID:
        return L"The item definition does not conform to the server's syntax.";
    case OPC_E_INVALIDFILTER:
        return L"The filter string was not valid.";
    case OPC_E_UNKNOWNPATH:
        return L"The item's access path is not known to the server.";
    case OPC_E_RANGE:
        return L"The value was out of range.";
    case OPC_E_DUPLICATENAME:
        return L"Duplicate name not allowed.";
    case OPC_S_UNSUPPORTEDRATE:
        return L"The server does not support the requested data rate but will use the closest available "
               L"rate.";
    case OPC_S_CLAMP:
        return L"A value passed to write was accepted but the output was clamped.";
    case OPC_S_INUSE:
        return L"The operation cannot be performed because the object is being referenced.";
    case OPC_E_INVALIDCONFIGFILE:
        return L"The server's configuration file is an invalid format.";
    case OPC_E_NOTFOUND:
        return L"The requested object was not found.";
    case OPC_E_INVALID_PID:
        return L"The specified property ID is not valid for the item.";
    default:
        return std::wstring();
    }
}
} // namespace StandIn
