// BSTR: a wide string with a length prefix, allocated by the Sys* calls. The prefix holds the
// length in bytes (of the 32-bit wchar_t); the text is always followed by a zero wchar_t.
#pragma once

#include "com/ComBase.h"

typedef OLECHAR* BSTR;
typedef BSTR* LPBSTR;

// A null psz gives null.
BSTR SysAllocString(const OLECHAR* psz);
// pch null gives a zero-filled string of ui characters. Null when the size is beyond reason.
BSTR SysAllocStringLen(const OLECHAR* pch, UINT ui);
// A string of len bytes (rounded up to whole wchar_t); psz may be null.
BSTR SysAllocStringByteLen(LPCSTR psz, UINT len);
void SysFreeString(BSTR bstrString);
UINT SysStringLen(BSTR pbstr);
UINT SysStringByteLen(BSTR bstr);
// Replace *pbstr with a copy of psz (which may point into *pbstr); FALSE when out of memory.
INT SysReAllocString(BSTR* pbstr, const OLECHAR* psz);
INT SysReAllocStringLen(BSTR* pbstr, const OLECHAR* psz, UINT len);
