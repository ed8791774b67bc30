// The library's place in the resource chain (its property page lives there) and the registration
// of its controls, from load to unload.
#include "activex/InstrumentControl.h"
#include "mfc/ResourceModule.h"

namespace
{
AFX_EXTENSION_MODULE g_activexModule = {};

struct CActiveXEntry
{
    CActiveXEntry()
    {
        if (AfxInitExtensionModule(g_activexModule, AfxGetModuleByName("QyrActiveX")))
            new CDynLinkLibrary(g_activexModule, TRUE);
        AfxRegisterInstrumentControls();
    }
    ~CActiveXEntry() { AfxTermExtensionModule(g_activexModule); }
};
// After the resource registrar (priority 1000).
__attribute__((init_priority(2000))) CActiveXEntry g_entry;
} // namespace
