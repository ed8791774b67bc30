// The style of an imported element (pen, brush, markers) and the colour syntax of fills, strokes
// and gradient stops.
#pragma once

#include "mfc/CString.h"
#include "win32/WinTypes.h"

#include <utility>
#include <vector>

class CFOPSVGFillManager;

struct SvgStyle
{
    int nBrushType = 1;
    COLORREF crFill = 0xFFFFFF;
    COLORREF crPattern = 0xFFFFFF;
    float fFillOpacity = 1.0f;
    int nNullPen = 0;
    COLORREF crLine = 0;
    float fStrokeOpacity = 1.0f;
    int nLineWidth = 1;
    // Windows pen style numbering (0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot); -1 not set.
    int nPenStyle = -1;
    int nLineCap = 0;
    int nLineJoin = 0;
    std::vector<int> aDashes;
    int nMarkerStart = 0;
    int nMarkerEnd = 0;
};

// Settings of the import that the editor fixes at start-up.
struct SvgImportSettings
{
    // Multiplies every given stroke width.
    double dStrokeScale = 0.2;
    int nTextImport = 1;
    double dTextScale = 1.0;
    int nTextureBrush = 68;
    int nPatternBrush = 34;
};

// Colours: hexadecimal "#rgb"/"#rrggbb", a keyword (case-sensitive), or rgb(r, g, b) with numbers
// or percentages, each clamped to 0..255. FALSE (colour unchanged) when the text is none of them.
BOOL ParseColour(const CString& text, COLORREF& colour);
BOOL ParseHexColour(const CString& text, COLORREF& colour);
BOOL LookUpColourName(const CString& text, COLORREF& colour);
BOOL ParseRgbFunction(const CString& text, COLORREF& colour);
int SvgColourNameCount();

// A fill value: "none" and "transparent" fill nothing, url(#id) a gradient, texture or pattern,
// anything else a solid colour.
void ParseFill(const CString& text, SvgStyle& style, CFOPSVGFillManager* pFills,
               const SvgImportSettings& settings);
// A stroke value: "none" and "transparent" draw no outline, anything else a colour.
void ParseStroke(const CString& text, SvgStyle& style);
// A stroke width; the scaled width rounds to a whole number, a non-zero one below 1 becomes 1.
void ParseStrokeWidth(double width, SvgStyle& style, const SvgImportSettings& settings);
// The declarations "name: value" of a style text, separated by ";": names trimmed and lower-cased,
// values trimmed; a declaration without ":" is left out.
std::vector<std::pair<CString, CString>> SplitStyleText(const CString& text);
// A "style" attribute: declarations "name: value" separated by ";".
void ParseStyleText(SvgStyle& style, const CString& text, CFOPSVGFillManager* pFills,
                    const SvgImportSettings& settings);
// A dash list ("5,3" or "5 3 1 3"): the list and the pen style it gives.
void ParseDashArray(SvgStyle& style, const CString& text);

// Number reading shared by the import: a decimal number at the start of the text (0 for none),
// always finite.
double SvgReadNumber(const CString& text);
// A coordinate rounded and kept within a range that integer geometry can add up safely.
int SvgCoord(double value);
// Numbers of a list separated by commas and/or white space (at most nMax numbers).
std::vector<double> SvgReadNumberList(const CString& text, size_t nMax = 1000000);
