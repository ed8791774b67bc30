#include "com/ComBase.h"

#include <cstdlib>

LPVOID CoTaskMemAlloc(size_t cb)
{
    return std::malloc(cb ? cb : 1);
}

LPVOID CoTaskMemRealloc(LPVOID pv, size_t cb)
{
    if (!pv)
        return CoTaskMemAlloc(cb);
    if (cb == 0)
    {
        std::free(pv);
        return nullptr;
    }
    return std::realloc(pv, cb);
}

void CoTaskMemFree(LPVOID pv)
{
    std::free(pv);
}

HRESULT CoInitialize(LPVOID)
{
    return S_OK;
}
HRESULT CoInitializeEx(LPVOID, DWORD)
{
    return S_OK;
}
void CoUninitialize() {}
HRESULT OleInitialize(LPVOID)
{
    return S_OK;
}
void OleUninitialize() {}
