// Small helpers of the stand-in servers.
#pragma once

#include "opcsdk/OpcTypes.h"

#include <cstring>
#include <string>

namespace StandIn
{
// A copy of s in task memory (null when out of memory).
LPWSTR TaskString(const std::wstring& s);
LPWSTR TaskString(LPCWSTR s);
// Task memory of n elements of T, zeroed; null for n == 0 or when out of memory.
template <class T> T* TaskArray(size_t n)
{
    if (n == 0 || n > size_t(-1) / sizeof(T))
        return nullptr;
    void* p = CoTaskMemAlloc(n * sizeof(T));
    if (p)
        std::memset(p, 0, n * sizeof(T));
    return static_cast<T*>(p);
}

FILETIME Now();
// Milliseconds of a steady clock.
ULONGLONG TickMs();

// Same type and same value (strings by content, arrays element by element).
bool VariantEquals(const VARIANT& a, const VARIANT& b);
// Converts src to vt into dst (VT_EMPTY: a copy). Maps conversion failures to OPC codes:
// OPC_E_BADTYPE when the types do not convert, OPC_E_RANGE when the value does not fit.
HRESULT ConvertValue(VARIANT* dst, const VARIANT& src, VARTYPE vt);
// The types a server can give an item: the scalars of automation and one-dimensional arrays of
// numbers.
bool IsSupportedType(VARTYPE vt);

// Wildcards * and ? ("" and null match everything).
bool MatchWildcard(const std::wstring& name, LPCWSTR pattern);

// Text of an OPC or COM result code; empty for codes it does not know.
std::wstring ErrorText(HRESULT hr);
} // namespace StandIn
