// Resource access of the shared library: a scope that makes the library's resources current,
// and the string loaders the programs call.
#pragma once

#include "mfc/CString.h"
#include "mfc/Object.h"

class CMenu;
class CBitmap;

class CPlexcoreRes : public CObject
{
public:
    CPlexcoreRes();
    ~CPlexcoreRes() override;

    static HINSTANCE GetInstanceHandle();
    static BOOL LoadMenu(UINT id, CMenu& menu);
    static BOOL LoadString(UINT id, CString& out);
    static BOOL LoadBitmap(UINT id, CBitmap& bitmap);

protected:
    void Switch2ExtResource();
    void RestoreOldResource();

    HINSTANCE m_hOldResource = nullptr;
    HINSTANCE m_hInstance = nullptr;
};

BOOL Plexcore_LoadString(UINT id, CString& out);
BOOL Plexcore_LoadString(UINT id, CString& out, LPCWSTR insert1, LPCWSTR insert2);
BOOL Plexcore_LoadResourceString(UINT id, CString& out, LPCWSTR insert1, LPCWSTR insert2);

// Whether the library entry ran and the library is part of the resource chain.
BOOL Plexcore_IsAttached();
