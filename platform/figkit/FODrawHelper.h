// Drawing and text helpers shared by the library's shapes.
#pragma once

#include "mfc/CString.h"
#include "mfc/Collections.h"
#include "mfc/Geometry.h"

class CDC;
class QPainterPath;

// Brush types of shapes: 0 no fill, 1 solid background colour, 2 to 7 a hatch in the pattern colour
// over the background colour (horizontal, vertical, falling, rising, cross, diagonal cross), 8 and
// above a gradient from the background colour to the pattern colour (by (type - 8) % 4: top to
// bottom, left to right, corner to corner, centre outward).
enum
{
    FO_BRUSH_NONE = 0,
    FO_BRUSH_SOLID = 1,
    FO_BRUSH_HATCH_FIRST = 2,
    FO_BRUSH_HATCH_LAST = 7,
    FO_BRUSH_GRADIENT_FIRST = 8,
    // Two-colour brushes with their own look, from the pattern colour to the background colour:
    // a cross pattern, twenty gradients (42 to 49 linear, 50 to 61 radial) and a texture.
    FO_BRUSH_PATTERN = 34,
    FO_BRUSH_GRADIENT2_FIRST = 42,
    FO_BRUSH_GRADIENT2_LAST = 61,
    FO_BRUSH_TEXTURE = 68,
};

// Pen styles of shapes: 0 no line, 1 solid, 2 dash, 3 dot, 4 dash-dot, 5 dash-dot-dot.
enum
{
    FO_PEN_NONE = 0,
    FO_PEN_SOLID = 1,
    FO_PEN_DASH = 2,
    FO_PEN_DOT = 3,
    FO_PEN_DASHDOT = 4,
    FO_PEN_DASHDOTDOT = 5,
};

class CFODrawHelper
{
public:
    // Nearest integer, halves away from zero; out-of-range values are clamped to int.
    static int RoundValue(double value);

    // Fills a polygon with a shape brush type; no outline.
    static void FillPoly(CDC* pDC, const POINT* points, int count, COLORREF crBk, COLORREF crPattern,
                         int nBrushType);
    // Fills a rectangle likewise.
    static void FillRectangle(CDC* pDC, const RECT& rc, COLORREF crBk, COLORREF crPattern, int nBrushType);
    // Fills any outline likewise.
    static void FillPath(CDC* pDC, const QPainterPath& path, COLORREF crBk, COLORREF crPattern,
                         int nBrushType);
    // Fills an ellipse likewise.
    static void FillEllipse(CDC* pDC, const RECT& rc, COLORREF crBk, COLORREF crPattern, int nBrushType);
    // The GDI pen style and width for a shape pen style (FO_PEN_NONE gives PS_NULL).
    static int PenStyleToGdi(int nPenStyle);
    // A push button's face in the system's button colours: raised, or sunken while pushed.
    static void DrawButtonFace(CDC* pDC, const RECT& rc, BOOL bPushed);

    // Angles in hundredths of a degree, counter-clockwise from 3 o'clock (y down on the screen).
    // An angle brought into 0 to 35999.
    static int NormAngle360(int nAngle);
    // Where the ray from the centre of rc at nAngle meets the ellipse inscribed in rc.
    static CPoint CalcTouchPoint(const CRect& rc, int nAngle);
    // The angle of an offset from a centre (0 for no offset).
    static int GetAngle(CPoint ptOffset);
    // An image format by its file extension (lower case, no dot): 1 bmp, 2 jpg/jpeg, 3 gif, 4 png,
    // 5 ico, 6 tif/tiff, 7 wmf/emf; 0 for anything else.
    static int FindType(const CString& strExt);
    // a * b / c in 64 bits, rounded; 0 when c is 0.
    static int MulDivLargeValue(int a, int b, int c);
};

// Appends to `array` the pieces of `text` between separators, in order, and returns their count;
// an empty text gives none.
int FOStringToStringArray(const CString& text, const CString& separator, CStringArray& array);
// Joins the elements with the separator between them (none after the last) into `text`.
CString& FOStringArrayToString(const CStringArray& array, const CString& separator, CString& text);
