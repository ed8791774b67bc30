// The shape clipboard: shapes travel as an archive of their records under the registered format
// "Figkit Shapes" (a signature, a version, then the shapes as in a screen file). Anything that is
// not such a block, or a damaged one, reads as no shapes.
#pragma once

#include "figkit/FOShapeSet.h"
#include "win32/WinTypes.h"

#include <vector>

class CWnd;

UINT FOGetShapeClipboardFormat();
// The archive bytes of the shapes, and back: FALSE (and no shapes) for anything not made so.
std::vector<BYTE> FOWriteShapesBlock(const FOPContainer& shapes);
BOOL FOReadShapesBlock(const BYTE* pData, size_t nSize, CFODrawShapeSet& shapes);

BOOL FOCopyShapesToClipboard(const FOPContainer& shapes, CWnd* pOwner);
BOOL FOReadShapesFromClipboard(CFODrawShapeSet& shapes, CWnd* pOwner);
BOOL FOCanPasteShapes();
