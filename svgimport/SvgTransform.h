// The coordinate algebra of the import: an affine matrix, the "transform" attribute's reader, and
// applying a transform to a converted shape or to every shape of a group. One SVG user unit is one
// logical unit; only "transform" attributes change coordinates.
#pragma once

#include "mfc/CString.h"
#include "mfc/Geometry.h"

class CFODrawShape;
class CFOCompositeShape;

struct SvgMatrix
{
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

    void Identity() { *this = SvgMatrix(); }
    void Set(double a_, double b_, double c_, double d_, double e_, double f_);
    // The mapped point, rounded (and kept within the import's coordinate range).
    CPoint Map(const POINT& pt) const;
    void Map(double& x, double& y) const;
    // Each applies its operation before the matrix.
    void Translate(double tx, double ty);
    void Scale(double sx, double sy);
    void Skew(double kx, double ky);
    void Rotate(double angle);
    // This matrix, then n.
    void Multiply(const SvgMatrix& n);
};

struct SvgTransform
{
    float tx = 0, ty = 0, sx = 1, sy = 1, angle = 0, cx = 0, cy = 0, skewX = 0, skewY = 0;
    float m[6] = {};
    SvgMatrix matrix;
};

// The items of the text, applied right to left: translate, scale, rotate (about an optional
// centre), skewX, skewY, matrix. Numbers are separated by commas and/or white space; a missing
// one reads as 0 (a missing scale y as the scale x). Unknown items are passed over.
SvgMatrix ParseTransformList(SvgTransform& transform, const CString& text);
// The rotation of a matrix (radians) when it is a rotation with a uniform scale, else the default.
double GetRotationAngle(const SvgMatrix& m, double def);
// Maps a non-group shape's points; a text shape also turns by the matrix's rotation.
void ApplyShapeTransform(CFODrawShape* pShape, const SvgMatrix& m);
// Applies the text to every shape inside the group (nested groups too).
void ApplyGroupTransform(CFOCompositeShape* pGroup, const CString& text);
