#include "svgimport/SvgFill.h"

#include "figkit/FODrawHelper.h"

#include <cmath>

void CFOPSVGFillManager::Add(std::unique_ptr<CFOPSVGFillBase> fill)
{
    if (fill)
        m_fills.push_back(std::move(fill));
}

CFOPSVGFillBase* CFOPSVGFillManager::FindFill(const CString& id) const
{
    for (const auto& f : m_fills)
        if (f->m_strId.CompareNoCase(id) == 0)
            return f.get();
    return nullptr;
}

int SvgGradientBrushType(const CFOPSVGFillBase& f)
{
    const float* g = f.m_fGeometry;
    const int a = f.m_nAngle;
    if (f.m_nKind == 1)
    {
        struct Row
        {
            float x1, y1, x2, y2;
            int angle, brush;
        };
        static const Row rows[] = {{0, 0, 1, 0, 0, 44},  {1, 0, 0, 0, 0, 45},    {0, 0, 1, 0, 90, 43},
                                   {1, 0, 0, 0, 90, 42}, {0.5f, 0, 0, 0, 0, 49}, {0.5f, 0, 0, 0, 90, 46}};
        for (const Row& r : rows)
            if (g[0] == r.x1 && g[1] == r.y1 && g[2] == r.x2 && g[3] == r.y2 && a == r.angle)
                return r.brush;
        return 42;
    }
    const float cx = g[0], cy = g[1], r = g[2];
    if (cx == 0 && cy == 0 && r == 1)
    {
        if (a == 0 || a == 45)
            return 58;
        if (a == 90)
            return 51;
        if (a == 270)
            return 53;
        if (a == 180)
            return 52;
    }
    if (cx == 0 && cy == 1 && r == 1 && a == 0)
        return 59;
    if (cx == 1 && cy == 1 && r == 1 && a == 0)
        return 60;
    if (cx == 0.5f && cy == 0.5f && r == 1 && a == 0)
        return 54;
    if (cx == 0.5f && cy == 0.5f && r == 0.5f && (a == 0 || a == 90 || a == 180 || a == 270))
        return 56;
    return 61;
}

namespace
{
int ReadAngle(const CString& transform)
{
    if (transform.IsEmpty())
        return 0;
    const int open = transform.Find(L'(');
    if (open < 0)
        return 0;
    const double v = SvgReadNumber(transform.Mid(open + 1));
    return int(std::clamp(std::trunc(v), -1.0e6, 1.0e6));
}

// A stop's colour: "stop-color", else the "stop-color" of its style text, by the full colour reader.
COLORREF ReadStopColour(const CXDNamedNode& attrs)
{
    COLORREF c = 0xFFFFFF;
    CString value = attrs.GetNodeText(L"stop-color", CString());
    const CString style = attrs.GetNodeText(L"style", CString());
    for (const auto& [name, text] : SplitStyleText(style))
        if (name == L"stop-color")
        {
            value = text;
            value.MakeLower();
        }
    ParseColour(value, c);
    return c;
}
} // namespace

void ReadGradient(CXDXmlNode& element, const CString& name, CFOPSVGFillManager& fills)
{
    const bool linear = name.CompareNoCase(L"linearGradient") == 0;
    std::unique_ptr<CFOPSVGFillBase> fill;
    if (linear)
        fill = std::make_unique<CFOPSVGFillLinear>();
    else
        fill = std::make_unique<CFOPSVGFillRadial>();
    CXDNamedNode attrs = element.GetNamedNode();
    fill->m_strId = attrs.GetNodeText(L"id", CString());
    auto num = [&attrs](const wchar_t* attr, float def)
    {
        const double v = attrs.GetNodeDouble(attr, def);
        return float(std::clamp(v, -1.0e7, 1.0e7));
    };
    if (linear)
    {
        fill->m_fGeometry[0] = num(L"x1", 0);
        fill->m_fGeometry[1] = num(L"y1", 0);
        fill->m_fGeometry[2] = num(L"x2", 1);
        fill->m_fGeometry[3] = num(L"y2", 0);
        fill->m_strUnits = attrs.GetNodeText(L"gradientUnits", L"objectBoundingBox");
    }
    else
    {
        fill->m_fGeometry[0] = num(L"cx", 0.5f);
        fill->m_fGeometry[1] = num(L"cy", 0.5f);
        fill->m_fGeometry[2] = num(L"r", 0.5f);
        fill->m_fGeometry[3] = num(L"fx", 0);
        fill->m_fGeometry[4] = num(L"fy", 0);
        fill->m_strUnits = attrs.GetNodeText(L"gradientUnits", L"objectBoundingBox");
    }
    fill->m_nAngle = ReadAngle(attrs.GetNodeText(L"gradientTransform", CString()));
    CXDXmlNode stops = element.GetNodeList(L"stop");
    const int n = stops.GetNodeListSize();
    for (int i = 0; i < n; ++i)
    {
        CXDXmlNode stop = stops.GetItemNode(i);
        CXDNamedNode sa = stop.GetNamedNode();
        stcSVGStopElement s;
        s.fOffset = float(std::clamp(sa.GetNodeDouble(L"offset", 1.0), -1.0e6, 1.0e6));
        s.crColour = ReadStopColour(sa);
        fill->m_aStops.push_back(s);
    }
    fills.Add(std::move(fill));
}

BOOL ResolveFillUrl(const CString& text, SvgStyle& style, CFOPSVGFillManager* pFills,
                    const SvgImportSettings& settings)
{
    if (text.Find(L"url") < 0 || !pFills)
        return FALSE;
    const int open = text.Find(L'(');
    const int close = open >= 0 ? text.Find(L')', open) : -1;
    if (open < 0 || close < 0)
        return TRUE; // a malformed url is ignored
    CString id = text.Mid(open + 1, close - open - 1);
    id.Trim();
    id.Trim(L"'\"");
    if (!id.IsEmpty() && id[0] == L'#')
        id = id.Mid(1);
    if (const CFOPSVGFillBase* fill = pFills->FindFill(id))
    {
        style.crPattern = fill->m_aStops.empty() ? 0 : fill->m_aStops[0].crColour;
        style.crFill = fill->m_aStops.size() < 2 ? 0 : fill->m_aStops[1].crColour;
        style.nBrushType = SvgGradientBrushType(*fill);
        return TRUE;
    }
    if (text.Find(L"url(#CDTexture") >= 0)
    {
        style.nBrushType = settings.nTextureBrush;
        style.crFill = 0xFF00FF;
        style.crPattern = 0xAFAFAF;
        return TRUE;
    }
    if (text.Find(L"url(#CDPattern") >= 0)
    {
        // The colours are spelt into the id: ..._rgb_R_G_B__rgb_R_G_B_)
        const int at = text.Find(L"rgb_");
        if (at < 0)
            return TRUE;
        CString spec = text.Mid(at);
        spec.Replace(L"rgb_", L"");
        spec.Replace(L"__", L"#");
        spec.Replace(L"_", L"#");
        spec.Replace(L")", L"");
        std::vector<int> v;
        int start = 0;
        while (start <= spec.GetLength() && v.size() < 6)
        {
            int hash = spec.Find(L'#', start);
            if (hash < 0)
                hash = spec.GetLength();
            const CString part = spec.Mid(start, hash - start);
            if (!part.IsEmpty())
                v.push_back(CFODrawHelper::RoundValue(SvgReadNumber(part)) & 0xFF);
            start = hash + 1;
        }
        if (v.size() == 6)
        {
            style.crFill = RGB(v[0], v[1], v[2]);
            style.crPattern = RGB(v[3], v[4], v[5]);
            style.nBrushType = settings.nPatternBrush;
        }
        return TRUE;
    }
    return TRUE;
}
