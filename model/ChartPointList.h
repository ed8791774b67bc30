// The point-list text of the charts (custom property 15009): entries split at "@", each
// "name$colour,minimum,maximum,unused,tag" with the colour as six hex digits RRGGBB. An entry's
// position in the text is its line id; an entry without "$" has an empty name.
#pragma once

#include "mfc/CString.h"
#include "mfc/Collections.h"
#include "win32/WinTypes.h"

// One entry of the text: its name (before the first "$") and its definition (after it).
struct XVK_CHART_ENTRY
{
    CString strName;
    CString strDef;
};

// One line a definition describes.
struct XVK_CHART_LINE
{
    COLORREF crColor = 0;
    double dMin = 0.0;
    double dMax = 0.0;
    // Field 4, blanks trimmed: the tag a value arrives by.
    CString strTag;
};

// Empties the list, then appends the entries of the text in order (none for an empty text).
void XVKGetChartPointList(CArray<XVK_CHART_ENTRY>& list, const CString& text);
// Reads a definition; FALSE (line untouched) when it has fewer than five fields. Colour digits
// that are no hex leave their byte and the ones after it 0; numbers read as atof does.
BOOL XVKParseChartLine(const CString& strDef, XVK_CHART_LINE& line);
