#include "svgimport/SvgStyle.h"

#include "figkit/FODrawHelper.h"
#include "svgimport/SvgFill.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <cwctype>

namespace
{
// Coordinates beyond this are clamped: far beyond any screen, yet sums of a few stay in int.
constexpr double kMaxCoord = 1.0e7;

int Channel(double v)
{
    if (!std::isfinite(v))
        return 0;
    return int(std::clamp(std::floor(v + 0.5), 0.0, 255.0));
}
} // namespace

double SvgReadNumber(const CString& text)
{
    const wchar_t* p = text.GetString();
    while (*p && std::iswspace(wint_t(*p)))
        ++p;
    const double v = std::wcstod(p, nullptr);
    return std::isfinite(v) ? v : 0.0;
}

int SvgCoord(double value)
{
    if (!std::isfinite(value))
        return 0;
    return CFODrawHelper::RoundValue(std::clamp(value, -kMaxCoord, kMaxCoord));
}

std::vector<double> SvgReadNumberList(const CString& text, size_t nMax)
{
    std::vector<double> out;
    const wchar_t* p = text.GetString();
    while (*p && out.size() < nMax)
    {
        while (*p && (std::iswspace(wint_t(*p)) || *p == L','))
            ++p;
        if (!*p)
            break;
        wchar_t* end = nullptr;
        const double v = std::wcstod(p, &end);
        if (end == p)
        {
            ++p; // not a number: passed over
            continue;
        }
        out.push_back(std::isfinite(v) ? v : 0.0);
        p = end;
    }
    return out;
}

BOOL ParseHexColour(const CString& textIn, COLORREF& colour)
{
    CString text = textIn;
    text.Trim();
    if (text.IsEmpty() || text[0] != L'#')
        return FALSE;
    text.MakeLower();
    text = text.Left(7);
    const CString digits = text.Mid(1);
    int v[6] = {};
    for (int i = 0; i < digits.GetLength(); ++i)
    {
        const wchar_t c = digits[i];
        if (c >= L'0' && c <= L'9')
            v[i] = c - L'0';
        else if (c >= L'a' && c <= L'f')
            v[i] = c - L'a' + 10;
        else
        {
            colour = 0;
            return FALSE;
        }
    }
    if (digits.GetLength() == 3)
        colour = RGB(v[0] * 17, v[1] * 17, v[2] * 17);
    else if (digits.GetLength() == 6)
        colour = RGB(v[0] * 16 + v[1], v[2] * 16 + v[3], v[4] * 16 + v[5]);
    else
    {
        colour = 0;
        return FALSE;
    }
    return TRUE;
}

BOOL ParseRgbFunction(const CString& textIn, COLORREF& colour)
{
    CString text = textIn;
    text.Trim();
    text.MakeLower();
    if (text.Left(4) != L"rgb(")
        return FALSE;
    const int close = text.Find(L')');
    const CString inner = text.Mid(4, close < 0 ? text.GetLength() - 4 : close - 4);
    int values[3] = {};
    int part = 0;
    int start = 0;
    for (; part < 3; ++part)
    {
        int comma = inner.Find(L',', start);
        CString piece = comma < 0 ? inner.Mid(start) : inner.Mid(start, comma - start);
        piece.Trim();
        if (piece.IsEmpty() && comma < 0 && part < 2)
            return FALSE;
        const bool percent = piece.Find(L'%') >= 0;
        double v = SvgReadNumber(piece);
        if (percent)
            v = v * 255.0 / 100.0;
        values[part] = Channel(v);
        if (comma < 0)
        {
            ++part;
            break;
        }
        start = comma + 1;
    }
    if (part < 3)
        return FALSE;
    colour = RGB(values[0], values[1], values[2]);
    return TRUE;
}

BOOL ParseColour(const CString& textIn, COLORREF& colour)
{
    CString text = textIn;
    text.Trim();
    if (text.IsEmpty())
        return FALSE;
    COLORREF c = colour;
    if (ParseHexColour(text, c) || LookUpColourName(text, c) || ParseRgbFunction(text, c))
    {
        colour = c;
        return TRUE;
    }
    return FALSE;
}

void ParseFill(const CString& textIn, SvgStyle& style, CFOPSVGFillManager* pFills,
               const SvgImportSettings& settings)
{
    CString text = textIn;
    text.Trim();
    if (text.IsEmpty())
        return;
    if (text == L"none" || text == L"transparent")
    {
        style.nBrushType = 0;
        return;
    }
    if (text.Find(L"url") >= 0)
    {
        if (pFills)
            ResolveFillUrl(text, style, pFills, settings);
        return;
    }
    COLORREF c = style.crFill;
    if (ParseColour(text, c))
    {
        style.nBrushType = 1;
        style.crFill = c;
    }
}

void ParseStroke(const CString& textIn, SvgStyle& style)
{
    CString text = textIn;
    text.Trim();
    if (text.IsEmpty())
        return;
    if (text.CompareNoCase(L"none") == 0 || text == L"transparent")
    {
        style.nNullPen = 1;
        return;
    }
    style.nNullPen = 0;
    ParseColour(text, style.crLine);
}

void ParseStrokeWidth(double width, SvgStyle& style, const SvgImportSettings& settings)
{
    double w = std::isfinite(width) ? width * settings.dStrokeScale : 0.0;
    w = std::clamp(w, -1000.0, 1000.0);
    if (w != 0.0 && w > -1.0 && w < 1.0)
        style.nLineWidth = 1;
    else
        style.nLineWidth = std::max(0, CFODrawHelper::RoundValue(w));
}

void ParseDashArray(SvgStyle& style, const CString& text)
{
    CString t = text;
    t.Trim();
    if (t.IsEmpty())
        return;
    style.nPenStyle = 0;
    style.aDashes.clear();
    if (t == L"none")
        return;
    for (double v : SvgReadNumberList(t, 64))
        style.aDashes.push_back(SvgCoord(v));
    switch (style.aDashes.size())
    {
    case 2:
        style.nPenStyle = style.aDashes[0] != style.aDashes[1] ? 1 : 2;
        break;
    case 4:
        style.nPenStyle = 3;
        break;
    case 6:
        style.nPenStyle = 4;
        break;
    default:
        style.nPenStyle = 0;
    }
}

std::vector<std::pair<CString, CString>> SplitStyleText(const CString& text)
{
    std::vector<std::pair<CString, CString>> out;
    int start = 0;
    const int len = text.GetLength();
    while (start < len)
    {
        int semi = text.Find(L';', start);
        if (semi < 0)
            semi = len;
        const CString decl = text.Mid(start, semi - start);
        start = semi + 1;
        const int colon = decl.Find(L':');
        if (colon < 0)
            continue;
        CString name = decl.Left(colon);
        CString value = decl.Mid(colon + 1);
        name.Trim();
        name.MakeLower();
        value.Trim();
        out.emplace_back(name, value);
    }
    return out;
}

void ParseStyleText(SvgStyle& style, const CString& text, CFOPSVGFillManager* pFills,
                    const SvgImportSettings& settings)
{
    for (const auto& [name, value] : SplitStyleText(text))
    {
        CString lower = value;
        lower.MakeLower();
        if (name == L"fill")
            ParseFill(lower.Find(L"url") >= 0 ? value : lower, style, pFills, settings);
        else if (name == L"opacity" || name == L"fill-opacity")
            style.fFillOpacity = float(std::clamp(SvgReadNumber(value), 0.0, 1.0));
        else if (name == L"stroke")
            ParseStroke(lower, style);
        else if (name == L"stroke-opacity")
            style.fStrokeOpacity = float(std::clamp(SvgReadNumber(value), 0.0, 1.0));
        else if (name == L"stroke-width")
            ParseStrokeWidth(SvgReadNumber(value), style, settings);
        else if (name == L"stroke-linecap")
            style.nLineCap = SvgCoord(SvgReadNumber(value));
        else if (name == L"stroke-linejoin")
            style.nLineJoin = SvgCoord(SvgReadNumber(value));
        else if (name == L"stroke-dasharray")
            ParseDashArray(style, value);
        else if (name == L"marker-start")
            style.nMarkerStart = !value.IsEmpty() && value != L"none" ? 1 : 0;
        else if (name == L"marker-end")
            style.nMarkerEnd = !value.IsEmpty() && value != L"none" ? 1 : 0;
    }
}
