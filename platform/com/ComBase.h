// Basic COM types, task memory and the library start-up calls (which need nothing here).
#pragma once

#include "win32/WinTypes.h"

typedef wchar_t OLECHAR;
typedef OLECHAR* LPOLESTR;
typedef const OLECHAR* LPCOLESTR;
typedef LONG DISPID;
typedef DISPID MEMBERID;

#ifndef NOERROR
#define NOERROR S_OK
#endif
#define OLESTR(str) L##str

// malloc-backed; a zero size still gives a unique block. CoTaskMemFree also frees what the win32
// layer hands out for COM callers (shell item id lists).
LPVOID CoTaskMemAlloc(size_t cb);
LPVOID CoTaskMemRealloc(LPVOID pv, size_t cb);
void CoTaskMemFree(LPVOID pv);

#define COINIT_MULTITHREADED 0x0
#define COINIT_APARTMENTTHREADED 0x2
#define COINIT_DISABLE_OLE1DDE 0x4
#define COINIT_SPEED_OVER_MEMORY 0x8
// All objects live in this process and need no apartment: these always succeed.
HRESULT CoInitialize(LPVOID pvReserved);
HRESULT CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit);
void CoUninitialize();
HRESULT OleInitialize(LPVOID pvReserved);
void OleUninitialize();
