// The "d" attribute of a path: subpaths of straight and cubic Bezier segments. Quadratic curves and
// elliptical arcs become cubic Beziers; coordinates are cut toward zero to whole numbers.
#pragma once

#include "figkit/FOGeometry.h"
#include "mfc/CString.h"

// Texts longer than this, and points beyond this count, are not read further.
constexpr int kSvgMaxPathText = 8 * 1024 * 1024;
constexpr int kSvgMaxPathPoints = 2000000;

void ParsePathData(const CString& text, FOPSimpleCompositePolygon& polygon, bool& bClosed);
// One number from pos (an optional sign, digits, a fraction, an exponent); 0 and no move when there
// is none. One space after it is skipped.
double ReadPathNumber(const std::wstring& text, size_t& pos);
// Appends the arc from (x0, y0) to (x, y) as cubic Beziers; a zero radius draws a line. The current
// point becomes the end point.
void ArcToBeziers(FOPSimplePolygon& polygon, double& x0, double& y0, double rotation, double x, double y,
                  double rx, double ry, bool bLargeArc, bool bSweep);
