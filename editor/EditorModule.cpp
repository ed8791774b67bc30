// The editor's place in the resource chain, from program start to exit. Linked into every program
// with the editor library, together with its resource script.
#include "mfc/ResourceModule.h"

namespace
{
AFX_EXTENSION_MODULE g_editorModule = {};

struct CEditorEntry
{
    CEditorEntry()
    {
        if (AfxInitExtensionModule(g_editorModule, AfxGetModuleByName("Editor")))
            new CDynLinkLibrary(g_editorModule);
    }
    ~CEditorEntry() { AfxTermExtensionModule(g_editorModule); }
};
// After the resource registrar (priority 1000).
__attribute__((init_priority(2000))) CEditorEntry g_entry;
} // namespace
