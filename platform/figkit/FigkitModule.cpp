// The diagram library's place in the resource chain (its dialogs), while the library is loaded.
#include "mfc/ResourceModule.h"

namespace
{
AFX_EXTENSION_MODULE g_figkitModule = {};

struct CFigkitEntry
{
    CFigkitEntry()
    {
        if (AfxInitExtensionModule(g_figkitModule, AfxGetModuleByName("Figkit")))
            new CDynLinkLibrary(g_figkitModule);
    }
    ~CFigkitEntry() { AfxTermExtensionModule(g_figkitModule); }
};
// After the resource registrar (priority 1000).
__attribute__((init_priority(2000))) CFigkitEntry g_entry;
} // namespace
