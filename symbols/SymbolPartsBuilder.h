// The child shapes of the symbols' composite resources, drawn with the diagram library's own
// shapes. The resource generator (tools/SymbolResGen) stores them as the files under res/ that the
// resource script embeds; a test checks that the committed files are what the builder makes.
#pragma once

#include "figkit/FOCompositeShape.h"

#include <vector>

namespace SymbolPartsBuilder
{
struct Resource
{
    UINT nId;
    // File under symbols/res/.
    const char* pszFile;
};

// The composite resources: one file each (the new switch's editor and runtime ids share one).
const std::vector<Resource>& Resources();
// Fills comp (empty, at the origin) with the parts of resource nId; FALSE for an unknown id.
BOOL Build(UINT nId, CFOCompositeShape& comp);
// The stored form of resource nId, as LoadFromResource reads it; empty for an unknown id.
std::vector<BYTE> Store(UINT nId);
} // namespace SymbolPartsBuilder
