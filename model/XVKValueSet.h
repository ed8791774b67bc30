// What a chart takes its samples from at run time: the item data of a chart shape, recognised by
// its run-time class. The OPC client's item set is one.
#pragma once

#include "mfc/Object.h"

#include <functional>

class CXVKValueSet : public CObject
{
    DECLARE_DYNAMIC(CXVKValueSet)
public:
    // The count of values; with a count above 0, values and names are new arrays of that many
    // entries that the caller frees with delete[]. 0 leaves both untouched.
    virtual int FetchValues(double*& values, const wchar_t**& names) = 0;
};

class CFODrawShape;

// One run-time feed of a chart: with a value set as the shape's item data, its values (when it
// has any) go to feed; otherwise a bound tag (key 3) sends the shape's current value as one value.
// FALSE only when there is neither.
bool XVKFeedChart(const CFODrawShape* pShape, const std::function<void(int nCount, double* values)>& feed);
