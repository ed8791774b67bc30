#include "foundation/PlexcoreRes.h"

#include "figkit/FrameWnds.h"
#include "mfc/Gdi.h"
#include "mfc/Menu.h"
#include "mfc/ResourceModule.h"

#include <functional>
#include <vector>

namespace
{
// Stands where a COM module object would: keeps the functions to run when the library unloads.
struct CPlexcoreModule
{
    std::vector<std::function<void()>> termFuncs;
    void Term()
    {
        for (auto it = termFuncs.rbegin(); it != termFuncs.rend(); ++it)
            (*it)();
        termFuncs.clear();
    }
};

AFX_EXTENSION_MODULE g_plexcoreDLL = {};
CPlexcoreModule* g_pModule = nullptr;
BOOL g_attached = FALSE;

class CPlexcoreLibrary : public CDynLinkLibrary
{
public:
    explicit CPlexcoreLibrary(AFX_EXTENSION_MODULE& state) : CDynLinkLibrary(state) {}
};

// The library entry: runs when the shared library is loaded and unloaded.
struct CPlexcoreEntry
{
    CPlexcoreEntry()
    {
        if (!AfxInitExtensionModule(g_plexcoreDLL, AfxGetModuleByName("Plexcore")))
            return;
        new CPlexcoreLibrary(g_plexcoreDLL);
        _InitFigkitDLL();
        if (!g_pModule)
            g_pModule = new CPlexcoreModule;
        g_attached = TRUE;
    }
    ~CPlexcoreEntry()
    {
        if (g_pModule)
        {
            g_pModule->Term();
            delete g_pModule;
            g_pModule = nullptr;
        }
        AfxTermExtensionModule(g_plexcoreDLL);
        g_attached = FALSE;
    }
};
// Runs after the library's resource registrar (priority 1000) and before its other statics.
__attribute__((init_priority(2000))) CPlexcoreEntry g_entry;
} // namespace

BOOL Plexcore_IsAttached()
{
    return g_attached;
}

CPlexcoreRes::CPlexcoreRes()
{
    Switch2ExtResource();
}
CPlexcoreRes::~CPlexcoreRes()
{
    RestoreOldResource();
}

void CPlexcoreRes::Switch2ExtResource()
{
    m_hOldResource = AfxGetResourceHandle();
    m_hInstance = GetInstanceHandle();
    AfxSetResourceHandle(m_hInstance);
}

void CPlexcoreRes::RestoreOldResource()
{
    AfxSetResourceHandle(m_hOldResource);
}

HINSTANCE CPlexcoreRes::GetInstanceHandle()
{
    return g_plexcoreDLL.hModule;
}

BOOL CPlexcoreRes::LoadMenu(UINT id, CMenu& menu)
{
    CPlexcoreRes scope;
    HINSTANCE inst = AfxFindResourceHandle(MAKEINTRESOURCE(id), RT_MENU);
    HMENU h = ::LoadMenuW(inst, MAKEINTRESOURCE(id));
    return menu.Attach(h);
}

BOOL CPlexcoreRes::LoadString(UINT id, CString& out)
{
    CPlexcoreRes scope;
    return out.LoadString(id);
}

BOOL CPlexcoreRes::LoadBitmap(UINT id, CBitmap& bitmap)
{
    CPlexcoreRes scope;
    HINSTANCE inst = AfxFindResourceHandle(MAKEINTRESOURCE(id), RT_BITMAP);
    HBITMAP h = ::LoadBitmapW(inst, MAKEINTRESOURCE(id));
    return bitmap.Attach(h);
}

BOOL Plexcore_LoadString(UINT id, CString& out)
{
    return CPlexcoreRes::LoadString(id, out);
}

BOOL Plexcore_LoadString(UINT id, CString& out, LPCWSTR insert1, LPCWSTR insert2)
{
    CPlexcoreRes scope;
    out.Empty();
    if (insert2 && *insert2)
    {
        AfxFormatString2(out, id, insert1 ? insert1 : L"", insert2);
        return !out.IsEmpty();
    }
    if (!insert1 || !*insert1)
        return out.LoadString(id);
    AfxFormatString1(out, id, insert1);
    return !out.IsEmpty();
}

BOOL Plexcore_LoadResourceString(UINT id, CString& out, LPCWSTR insert1, LPCWSTR insert2)
{
    return Plexcore_LoadString(id, out, insert1, insert2);
}
