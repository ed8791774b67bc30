// Transforms, path data, colours, styles and gradient fills.
#include "SvgTestSupport.h"

#include "svgimport/SvgFill.h"
#include "svgimport/SvgPathData.h"
#include "svgimport/SvgStyle.h"
#include "svgimport/SvgTransform.h"

#include <gtest/gtest.h>

TEST(SvgTransform, ItemsMapPointsRightToLeft)
{
    struct Case
    {
        const wchar_t* text;
        CPoint in;
        CPoint out;
    };
    const Case cases[] = {
        {L"translate(10,20) scale(2)", {1, 1}, {12, 22}},
        {L"rotate(90)", {10, 0}, {0, 10}},
        {L"rotate(45, 50, 50)", {50, 50}, {50, 50}},
        {L"rotate(45 50 50)", {60, 50}, {57, 57}},
        {L"skewX(45)", {0, 10}, {10, 10}},
        {L"skewY(45)", {10, 0}, {10, 10}},
        {L"matrix(1 0 0 1 5 5)", {1, 1}, {6, 6}},
        {L"matrix(1,0,0,1,5,5)", {1, 1}, {6, 6}},
        {L"matrix(1, 0,0 ,1, 5 5)", {1, 1}, {6, 6}},
        {L"translate(10 20)", {0, 0}, {10, 20}},
        {L"translate(7)", {1, 1}, {8, 1}},
        {L"scale(-1, 1)", {3, 4}, {-3, 4}},
        {L"translate(5,5) rotate(90)", {10, 0}, {5, 15}},
        // Nothing to read: identity, and the reading still ends.
        {L"()", {3, 4}, {3, 4}},
        {L"translate()", {3, 4}, {3, 4}},
        {L"matrix(1 2)", {3, 4}, {3, 4}},
        {L"foo(3) translate(1,2)", {0, 0}, {1, 2}},
        {L"translate(1,2", {0, 0}, {1, 2}},
        {L"))) translate(1e400, nan)", {1, 1}, {1, 1}},
    };
    for (const Case& c : cases)
    {
        SvgTransform t;
        const SvgMatrix m = ParseTransformList(t, c.text);
        EXPECT_EQ(m.Map(c.in), c.out) << CString(c.text).ToUtf8();
    }
}

TEST(SvgTransform, RotationAngleOnlyForUniformRotations)
{
    SvgTransform t;
    EXPECT_NEAR(GetRotationAngle(ParseTransformList(t, L"rotate(30)"), 0), -30 * 0.0174532925, 1e-6);
    EXPECT_NEAR(GetRotationAngle(ParseTransformList(t, L"scale(2) rotate(-60)"), 0), 60 * 0.0174532925, 1e-6);
    EXPECT_EQ(GetRotationAngle(ParseTransformList(t, L"scale(-1,1)"), 0), 0);
    EXPECT_EQ(GetRotationAngle(ParseTransformList(t, L"skewX(20)"), 0), 0);
    EXPECT_EQ(GetRotationAngle(ParseTransformList(t, L"scale(0)"), 7), 7);
}

namespace
{
struct PathResult
{
    int polygons = 0;
    bool closed = false;
    std::vector<int> counts;
    int curves = 0;
    std::vector<CPoint> first;
};

PathResult ParsePath(const wchar_t* d)
{
    FOPSimpleCompositePolygon composite(16, 16);
    bool closed = false;
    ParsePathData(d, composite, closed);
    PathResult r;
    r.polygons = composite.Count();
    r.closed = closed;
    for (int i = 0; i < composite.Count(); ++i)
    {
        const FOPSimplePolygon& p = composite[i];
        r.counts.push_back(p.GetCount());
        for (int k = 0; k < p.GetCount(); ++k)
        {
            if (p.IsControlPoint(k))
                ++r.curves;
            if (i == 0)
                r.first.push_back(p[k]);
        }
    }
    r.curves /= 2;
    return r;
}
} // namespace

TEST(SvgPathData, CommandsBuildSubpathsAndCurves)
{
    struct Case
    {
        const wchar_t* d;
        int polygons;
        bool closed;
        std::vector<int> counts;
        int curves;
    };
    const Case cases[] = {
        {L"M 0 0 L 10 0 L 10 10 L 0 10 z", 1, true, {4}, 0},
        {L"M0,0 10,0 10,10 M 20 20 L 30 30", 2, false, {3, 2}, 0},
        {L"M0 0h10v10H0Z", 1, true, {4}, 0},
        {L"M0 0 C 0 10 10 10 10 0 S 20 -10 20 0", 1, false, {7}, 2},
        {L"M0 0 Q 5 10 10 0 T 20 0", 1, false, {7}, 2},
        // A half circle is two Bezier segments, three quarters three.
        {L"M 0 50 A 50 50 0 0 1 100 50", 1, false, {7}, 2},
        {L"M 50 0 A 50 50 0 1 1 0 50", 1, false, {10}, 3},
        // A zero radius draws a line.
        {L"M 0 0 A 0 10 0 0 1 10 10", 1, false, {2}, 0},
        // A lone move at the end is dropped; numbers after Z, stray letters and signs end too.
        {L"M 0 0 L 5 5 M 9 9", 1, false, {2}, 0},
        {L"M0 0 L 5 5 Z 7 7 8 8", 1, true, {2}, 0},
        // A missing number reads as 0 (the "x" and the stray "-" give 0), but a command letter with no
        // number at all draws nothing: no stray segment to (0, 0).
        {L"M0 0 L 10 x 20 q", 1, false, {2}, 0},
        {L"M 0 0 L 10 10 L", 1, false, {2}, 0},
        {L"M 0 0 L 10 10 C", 1, false, {2}, 0},
        {L"M 0 0 L 10 10 L Z", 1, true, {2}, 0},
        {L"M0 0 L 1 1 - - + . k 3 4", 1, false, {3}, 0},
        {L"", 0, false, {}, 0},
        {L"   \t ", 0, false, {}, 0},
    };
    for (const Case& c : cases)
    {
        const PathResult r = ParsePath(c.d);
        EXPECT_EQ(r.polygons, c.polygons) << CString(c.d).ToUtf8();
        EXPECT_EQ(r.closed, c.closed) << CString(c.d).ToUtf8();
        if (r.polygons == c.polygons)
            EXPECT_EQ(r.counts, c.counts) << CString(c.d).ToUtf8();
        EXPECT_EQ(r.curves, c.curves) << CString(c.d).ToUtf8();
    }
}

TEST(SvgPathData, NumbersAndReflections)
{
    // Arc flags are single characters and need no separator.
    for (const wchar_t* d :
         {L"M 0 50 a50 50 0 01 100 0", L"M 0 50 a50,50,0,0,1,100,0", L"M0 50a50 50 0 0 1 100 0"})
    {
        const PathResult arc = ParsePath(d);
        EXPECT_EQ(arc.curves, 2) << CString(d).ToUtf8();
        ASSERT_FALSE(arc.first.empty());
        EXPECT_EQ(arc.first.back(), CPoint(100, 50)) << CString(d).ToUtf8();
        // Sweep set: the half circle bulges upward, toward y = 0.
        EXPECT_LT(arc.first[1].y, 50) << CString(d).ToUtf8();
    }
    // Exponents, leading points and a cut toward zero.
    EXPECT_EQ(ParsePath(L"M1e1 .5L-10.9 10.9").first, (std::vector<CPoint>{{10, 0}, {-10, 10}}));
    EXPECT_EQ(ParsePath(L"m10 10 l5 5 5 5").first, (std::vector<CPoint>{{10, 10}, {15, 15}, {20, 20}}));
    // A smooth cubic after a line starts its curve at the current point.
    EXPECT_EQ(ParsePath(L"M0 0 L 10 0 S 20 10 30 0").first,
              (std::vector<CPoint>{{0, 0}, {10, 0}, {10, 0}, {20, 10}, {30, 0}}));
    // After a cubic it reflects the last control point.
    EXPECT_EQ(ParsePath(L"M0 0 C 0 10 10 10 10 0 S 20 -10 20 0").first[4], CPoint(10, -10));
    // T after Q reflects the quadratic control point: q' = (15, -10).
    const std::vector<CPoint> q = ParsePath(L"M0 0 Q 5 10 10 0 T 20 0").first;
    EXPECT_EQ(q[4], CPoint(13, -6));
    EXPECT_EQ(q[5], CPoint(16, -6));
}

TEST(SvgColour, FormsAndFailures)
{
    struct Case
    {
        const wchar_t* text;
        BOOL ok;
        COLORREF colour;
    };
    const Case cases[] = {
        {L"#fff", TRUE, RGB(255, 255, 255)},
        {L"#ffffff", TRUE, RGB(255, 255, 255)},
        {L"#ff000080", TRUE, RGB(255, 0, 0)},
        {L"#12ab9C", TRUE, RGB(0x12, 0xab, 0x9c)},
        {L"red", TRUE, RGB(255, 0, 0)},
        {L"lightgoldenrodyellow", TRUE, RGB(250, 250, 210)},
        {L"rgb(100%,0%,0%)", TRUE, RGB(255, 0, 0)},
        {L"rgb(300,0,0)", TRUE, RGB(255, 0, 0)},
        {L"rgb(-5, 128 ,10)", TRUE, RGB(0, 128, 10)},
        {L"Red", FALSE, 0x123456},
        {L"#zzz", FALSE, 0},
        {L"rgb(1,2)", FALSE, 0x123456},
        {L"", FALSE, 0x123456},
    };
    for (const Case& c : cases)
    {
        COLORREF colour = 0x123456;
        EXPECT_EQ(ParseColour(c.text, colour), c.ok) << CString(c.text).ToUtf8();
        EXPECT_EQ(colour, c.ok ? c.colour : (c.colour == 0 ? colour : 0x123456u)) << CString(c.text).ToUtf8();
    }
    EXPECT_EQ(SvgColourNameCount(), 148);
}

TEST(SvgStyle, StyleTextFillsAndStrokes)
{
    SvgImportSettings settings;
    SvgStyle s;
    ParseStyleText(s, L"fill:none;stroke:#000000;stroke-width:2", nullptr, settings);
    EXPECT_EQ(s.nBrushType, 0);
    EXPECT_EQ(s.nNullPen, 0);
    EXPECT_EQ(s.crLine, 0u);
    EXPECT_EQ(s.nLineWidth, 1);
    ParseStyleText(s, L" FILL : Blue ; stroke-width: 10; stroke: none;; junk", nullptr, settings);
    EXPECT_EQ(s.nBrushType, 1);
    EXPECT_EQ(s.crFill, RGB(0, 0, 255));
    EXPECT_EQ(s.nLineWidth, 2);
    EXPECT_EQ(s.nNullPen, 1);
    // "transparent" draws nothing.
    SvgStyle t;
    ParseStyleText(t, L"fill:transparent;stroke:transparent", nullptr, settings);
    EXPECT_EQ(t.nBrushType, 0);
    EXPECT_EQ(t.nNullPen, 1);
    // A keyword in the style text is read like a presentation attribute's.
    SvgStyle k;
    ParseStyleText(k, L"stroke:teal", nullptr, settings);
    EXPECT_EQ(k.crLine, RGB(0, 128, 128));
}

TEST(SvgStyle, DashListsGivePenStyles)
{
    const struct
    {
        const wchar_t* text;
        int style;
        size_t count;
    } cases[] = {{L"5,5", 2, 2},         {L"5 3", 1, 2},   {L"4 2 1 2", 3, 4},
                 {L"1,2,3,4,5,6", 4, 6}, {L"1 2 3", 0, 3}, {L"", -1, 0}};
    for (const auto& c : cases)
    {
        SvgStyle s;
        ParseDashArray(s, c.text);
        EXPECT_EQ(s.nPenStyle, c.style) << CString(c.text).ToUtf8();
        EXPECT_EQ(s.aDashes.size(), c.count) << CString(c.text).ToUtf8();
    }
}

TEST(SvgFill, GradientsTexturesAndPatterns)
{
    CFOPSVGFillManager fills;
    auto linear = std::make_unique<CFOPSVGFillLinear>();
    linear->m_strId = L"g1";
    linear->m_fGeometry[2] = 1;
    linear->m_aStops = {{0, RGB(255, 0, 0), 1}, {1, RGB(0, 0, 255), 1}, {1, RGB(0, 255, 0), 1}};
    fills.Add(std::move(linear));
    auto rotated = std::make_unique<CFOPSVGFillLinear>();
    rotated->m_strId = L"r";
    rotated->m_fGeometry[2] = 1;
    rotated->m_nAngle = 90;
    rotated->m_aStops = {{0, RGB(1, 2, 3), 1}};
    fills.Add(std::move(rotated));
    auto radial = std::make_unique<CFOPSVGFillRadial>();
    radial->m_strId = L"rad";
    radial->m_fGeometry[0] = radial->m_fGeometry[1] = radial->m_fGeometry[2] = 0.5f;
    fills.Add(std::move(radial));

    SvgImportSettings settings;
    struct Case
    {
        const wchar_t* text;
        int brush;
        COLORREF fill;
        COLORREF pattern;
    };
    const Case cases[] = {
        {L"url(#G1)", 44, RGB(0, 0, 255), RGB(255, 0, 0)},
        {L"url(#r)", 43, 0, RGB(1, 2, 3)},
        {L"url(#rad)", 56, 0, 0},
        {L"url(#x)", 1, 0xFFFFFF, 0xFFFFFF},
        {L"url(#x", 1, 0xFFFFFF, 0xFFFFFF},
        {L"url(#CDTexture1)", 68, 0xFF00FF, 0xAFAFAF},
        {L"url(#CDPattern_rgb_255_0_255__rgb_175_175_175_)", 34, RGB(255, 0, 255), RGB(175, 175, 175)},
    };
    for (const Case& c : cases)
    {
        SvgStyle s;
        ParseFill(c.text, s, &fills, settings);
        EXPECT_EQ(s.nBrushType, c.brush) << CString(c.text).ToUtf8();
        EXPECT_EQ(s.crFill, c.fill) << CString(c.text).ToUtf8();
        EXPECT_EQ(s.crPattern, c.pattern) << CString(c.text).ToUtf8();
    }
}
