// The editor program's resources in the chain, from program start to exit, linked into the
// program and the tests of its application.
#include "mfc/ResourceModule.h"

namespace
{
AFX_EXTENSION_MODULE g_drawModule = {};

struct CDrawEntry
{
    CDrawEntry()
    {
        if (AfxInitExtensionModule(g_drawModule, AfxGetModuleByName("QYRDraw")))
            new CDynLinkLibrary(g_drawModule);
    }
    ~CDrawEntry() { AfxTermExtensionModule(g_drawModule); }
};
// After the resource registrar (priority 1000).
__attribute__((init_priority(2000))) CDrawEntry g_entry;
} // namespace
