// The symbol shapes by type id (608 to 614), for the programs' data models: their factories call
// CreateShape for these ids and pass the others on to CXVKDataModel.
#pragma once

#include "figkit/FODrawShape.h"

class CSymbolShapeFactory
{
public:
    static BOOL IsSymbolType(UINT nType) { return nType >= 608 && nType <= 614; }
    // A new symbol with one reference for the caller, created from its resource at rcCreate's
    // top-left corner (its stored size when rcCreate is smaller than 10 x 10, else fitted into it)
    // and named strName; null for any other type.
    static CFODrawShape* CreateShape(UINT nType, CRect& rcCreate, const CString& strName);
};
