// The symbols' place in the resource chain, from program start to exit. Linked into every program
// with the symbols, together with their resource script.
#include "mfc/ResourceModule.h"
#include "symbols/SymbolFactory.h"

namespace
{
AFX_EXTENSION_MODULE g_symbolsModule = {};

struct CSymbolsEntry
{
    CSymbolsEntry()
    {
        // The shape classes must be in the program for screens to load them by class name.
        volatile auto keep = &CSymbolShapeFactory::CreateShape;
        (void)keep;
        if (AfxInitExtensionModule(g_symbolsModule, AfxGetModuleByName("Symbols")))
            new CDynLinkLibrary(g_symbolsModule);
    }
    ~CSymbolsEntry() { AfxTermExtensionModule(g_symbolsModule); }
};
// After the resource registrar (priority 1000).
__attribute__((init_priority(2000))) CSymbolsEntry g_entry;
} // namespace
