// Helpers of the SVG import tests.
#pragma once

#include "figkit/FODrawShape.h"
#include "mfc/CString.h"
#include "mfc/Wnd.h"
#include "support/Printers.h"

#include <ostream>
#include <vector>

inline std::vector<CPoint> PointsOf(const CFODrawShape* shape)
{
    std::vector<CPoint> out;
    for (int i = 0; i < shape->GetPointCount(); ++i)
        out.push_back(shape->OwnToCanvas(shape->GetPoint(i)));
    return out;
}
