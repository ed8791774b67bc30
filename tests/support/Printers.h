// Strings, points and rectangles in failure messages as their values.
#pragma once

#include "mfc/CString.h"
#include "mfc/Geometry.h"

#include <ostream>

inline void PrintTo(const CString& s, std::ostream* os)
{
    *os << '"' << s.ToUtf8() << '"';
}

inline void PrintTo(const CRect& r, std::ostream* os)
{
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

inline void PrintTo(const CPoint& p, std::ostream* os)
{
    *os << "(" << p.x << ", " << p.y << ")";
}
