// Real-world constructs converted into shapes: type, points, pen and brush.
#include "SvgTestSupport.h"

#include "figkit/FODataModel.h"
#include "figkit/FOEllipseShape.h"
#include "figkit/FOGroupShape.h"
#include "figkit/FOLineShape.h"
#include "figkit/FOPathShape.h"
#include "figkit/FOPolygonShape.h"
#include "figkit/FORectShape.h"
#include "figkit/FOStaticShape.h"
#include "svgimport/SvgConvert.h"
#include "support/ModalHook.h"

#include <gtest/gtest.h>

namespace
{
const wchar_t* kHead =
    L"<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\">";

// Converts the drawing; the top-level shapes stay in the converter's result list.
struct Converted
{
    explicit Converted(const CString& body)
    {
        AfxEnsureApplication();
        CXDXml doc;
        EXPECT_TRUE(doc.LoadXml(CString(kHead) + body + L"</svg>")) << doc.GetErrorReason().ToUtf8();
        convert.ConvertDocument(doc);
    }
    CFODrawShape* At(int i) { return convert.GetResultList().GetObject(i); }
    int Count() { return convert.GetResultList().Count(); }
    CFODataModel model;
    CFOPSvgConvert convert{&model, L"/nonexistent/drawing.svg"};
};

struct Expect
{
    const wchar_t* svg;
    UINT type;
    std::vector<CPoint> points;
    int lineWidth;
    COLORREF line;
    int brush;
    COLORREF fill;
    BOOL nullPen;
    int penStyle;
};
} // namespace

TEST(SvgConvert, SingleElementsAndTransforms)
{
    const Expect cases[] = {
        // Shapes, with the 0.2 stroke factor on a given width only.
        {L"<rect x='10' y='20' width='30' height='40' rx='5' fill='#ff0000' stroke='blue' "
         L"stroke-width='10'/>",
         FO_COMP_RECTANGLE,
         {{10, 20}, {40, 20}, {40, 60}, {10, 60}},
         2,
         RGB(0, 0, 255),
         1,
         RGB(255, 0, 0),
         FALSE,
         1},
        {L"<circle cx='50' cy='50' r='10' fill='none'/>",
         FO_COMP_ELLIPSE_SHAPE,
         {{40, 40}, {60, 40}, {60, 60}, {40, 60}},
         1,
         0,
         0,
         0xFFFFFF,
         FALSE,
         1},
        {L"<ellipse cx='50' cy='50' rx='20' ry='10' style='fill:rgb(0,128,0);stroke:none'/>",
         FO_COMP_ELLIPSE_SHAPE,
         {{30, 40}, {70, 40}, {70, 60}, {30, 60}},
         0,
         0,
         1,
         RGB(0, 128, 0),
         TRUE,
         1},
        {L"<line x1='0' y1='0' x2='10' y2='5' stroke-dasharray='4 2'/>",
         FO_COMP_LINE,
         {{0, 0}, {10, 5}},
         1,
         0,
         1,
         0xFFFFFF,
         FALSE,
         2},
        {L"<polyline points='10 20 30 40,50,60'/>",
         FO_COMP_LINE,
         {{10, 20}, {30, 40}, {50, 60}},
         1,
         0,
         1,
         0xFFFFFF,
         FALSE,
         1},
        {L"<polygon points='0,0 10,0 10,10' fill='transparent' stroke='transparent'/>",
         FO_COMP_POLYGON,
         {{0, 0}, {10, 0}, {10, 10}},
         0,
         0,
         0,
         0xFFFFFF,
         TRUE,
         1},
        // Transforms of a single shape.
        {L"<rect width='10' height='10' transform='translate(5 7)'/>",
         FO_COMP_RECTANGLE,
         {{5, 7}, {15, 7}, {15, 17}, {5, 17}},
         1,
         0,
         1,
         0xFFFFFF,
         FALSE,
         1},
        {L"<rect width='10' height='10' transform='scale(2,3)'/>",
         FO_COMP_RECTANGLE,
         {{0, 0}, {20, 0}, {20, 30}, {0, 30}},
         1,
         0,
         1,
         0xFFFFFF,
         FALSE,
         1},
        {L"<rect x='40' y='40' width='20' height='20' transform='rotate(90 50 50)'/>",
         FO_COMP_RECTANGLE,
         {{60, 40}, {60, 60}, {40, 60}, {40, 40}},
         1,
         0,
         1,
         0xFFFFFF,
         FALSE,
         1},
        {L"<rect width='10' height='10' transform='skewX(45)'/>",
         FO_COMP_RECTANGLE,
         {{0, 0}, {10, 0}, {20, 10}, {10, 10}},
         1,
         0,
         1,
         0xFFFFFF,
         FALSE,
         1},
        {L"<rect width='10' height='10' transform='skewY(45)'/>",
         FO_COMP_RECTANGLE,
         {{0, 0}, {10, 10}, {10, 20}, {0, 10}},
         1,
         0,
         1,
         0xFFFFFF,
         FALSE,
         1},
        {L"<rect width='10' height='10' transform='matrix(1, 0 0,1 ,100 200)'/>",
         FO_COMP_RECTANGLE,
         {{100, 200}, {110, 200}, {110, 210}, {100, 210}},
         1,
         0,
         1,
         0xFFFFFF,
         FALSE,
         1},
        // A one-child group collapses into its child and keeps its transform.
        {L"<g transform='translate(100,0)'><rect width='10' height='10'/></g>",
         FO_COMP_RECTANGLE,
         {{100, 0}, {110, 0}, {110, 10}, {100, 10}},
         1,
         0,
         1,
         0xFFFFFF,
         FALSE,
         1},
        // Half and three-quarter arcs: 2 and 3 Beziers.
        {L"<path d='M 0 50 A 50 50 0 0 1 100 50'/>",
         FO_COMP_PATH,
         {{0, 50}, {0, 22}, {22, 0}, {49, 0}, {77, 0}, {100, 22}, {100, 50}},
         1,
         0,
         1,
         0xFFFFFF,
         FALSE,
         1},
    };
    for (const Expect& c : cases)
    {
        Converted conv(c.svg);
        ASSERT_EQ(conv.Count(), 1) << CString(c.svg).ToUtf8();
        CFODrawShape* s = conv.At(0);
        const std::string what = CString(c.svg).ToUtf8();
        EXPECT_EQ(s->GetType(), c.type) << what;
        EXPECT_EQ(PointsOf(s), c.points) << what;
        EXPECT_EQ(s->GetLineWidth(), c.lineWidth) << what;
        EXPECT_EQ(s->GetLineColor(), c.line) << what;
        EXPECT_EQ(s->GetBrushType(), c.brush) << what;
        EXPECT_EQ(s->GetBkColor(), c.fill) << what;
        EXPECT_EQ(s->IsNullPen(), c.nullPen) << what;
        EXPECT_EQ(s->GetPenStyle(), c.penStyle) << what;
        EXPECT_FALSE(s->GetObjectName().IsEmpty()) << what;
    }
}

TEST(SvgConvert, GroupsInheritStyleAndNestTransforms)
{
    Converted conv(L"<g style='fill:#00ff00;stroke:#ff0000;stroke-width:10' transform='translate(10,0)'>"
                   L"  <rect width='10' height='10'/>"
                   L"  <g transform='translate(10,0)'><rect width='10' height='10'/><circle r='5' "
                   L"style='fill:blue'/></g>"
                   L"</g><g/>");
    ASSERT_EQ(conv.Count(), 1);
    auto* outer = dynamic_cast<CFOGroupShape*>(conv.At(0));
    ASSERT_NE(outer, nullptr);
    ASSERT_EQ(outer->GetCompCount(), 2);
    CFODrawShape* first = outer->GetCompList().GetObject(0);
    EXPECT_EQ(PointsOf(first).front(), CPoint(10, 0));
    EXPECT_EQ(first->GetBkColor(), RGB(0, 255, 0));
    EXPECT_EQ(first->GetLineColor(), RGB(255, 0, 0));
    // The width of the group's style is scaled once, not again on each child.
    EXPECT_EQ(first->GetLineWidth(), 2);
    auto* inner = dynamic_cast<CFOGroupShape*>(outer->GetCompList().GetObject(1));
    ASSERT_NE(inner, nullptr);
    CFODrawShape* nested = inner->GetCompList().GetObject(0);
    EXPECT_EQ(PointsOf(nested).front(), CPoint(20, 0));
    EXPECT_EQ(nested->GetLineWidth(), 2);
    // A child with its own style starts from the inherited one.
    CFODrawShape* circle = inner->GetCompList().GetObject(1);
    EXPECT_EQ(circle->GetBkColor(), RGB(0, 0, 255));
    EXPECT_EQ(circle->GetLineColor(), RGB(255, 0, 0));
    EXPECT_EQ(PointsOf(circle).front(), CPoint(15, -5));
}

TEST(SvgConvert, NestedSvgAndLinksBecomeTopLevelWithDefaultStyle)
{
    Converted conv(L"<g fill='red'><rect width='1' height='1'/><svg><rect width='2' height='2'/></svg>"
                   L"<a><rect width='3' height='3'/></a></g>");
    ASSERT_EQ(conv.Count(), 3);
    // Document order: the nested ones are finished before their group.
    EXPECT_EQ(conv.At(0)->GetBkColor(), 0xFFFFFFu);
    EXPECT_EQ(conv.At(2)->GetType(), FO_COMP_RECTANGLE);
    EXPECT_EQ(conv.At(2)->GetBkColor(), RGB(255, 0, 0));
}

TEST(SvgConvert, GradientReferencesGiveBrushesAndColours)
{
    Converted conv(
        L"<defs><linearGradient id='Lin'><stop offset='0' stop-color='#ff0000'/>"
        L"<stop offset='1' style='stop-color:navy'/></linearGradient>"
        L"<radialGradient id='rad'><stop stop-color='rgb(0,255,0)'/></radialGradient></defs>"
        L"<rect width='5' height='5' fill='url(#lin)'/><rect width='5' height='5' style='fill:url(#RAD)'/>"
        L"<rect width='5' height='5' fill='url(#missing)'/><rect width='5' height='5' fill='url(#'/>");
    ASSERT_EQ(conv.Count(), 4);
    EXPECT_EQ(conv.At(0)->GetBrushType(), 44);
    EXPECT_EQ(conv.At(0)->GetPatternColor(), RGB(255, 0, 0));
    EXPECT_EQ(conv.At(0)->GetBkColor(), RGB(0, 0, 128));
    EXPECT_EQ(conv.At(1)->GetBrushType(), 56);
    EXPECT_EQ(conv.At(1)->GetPatternColor(), RGB(0, 255, 0));
    EXPECT_EQ(conv.At(1)->GetBkColor(), 0u);
    for (int i : {2, 3})
    {
        EXPECT_EQ(conv.At(i)->GetBrushType(), 1);
        EXPECT_EQ(conv.At(i)->GetBkColor(), 0xFFFFFFu);
    }
}

TEST(SvgConvert, TextAndEachTspanBecomeTheirOwnShapes)
{
    Converted conv(L"<text x='10, 5' y='40' font-size='20' font-weight='bold' font-style='italic' "
                   L"stroke='red' stroke-width='5'>Hello<tspan x='10' y='70'>first</tspan>"
                   L"<tspan x='' y='100' font-size='3'>second</tspan></text><text y='10'>  </text>");
    ASSERT_EQ(conv.Count(), 3);
    auto* own = dynamic_cast<CFOStaticShape*>(conv.At(0));
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->GetObjectCaption(), CString(L"Hello"));
    EXPECT_EQ(own->GetPointSize(), 20);
    EXPECT_EQ(own->GetWeight(), 700);
    EXPECT_TRUE(own->GetItalic());
    EXPECT_EQ(own->GetFontColor(), RGB(255, 0, 0));
    EXPECT_EQ(own->GetLineWidth(), 1);
    EXPECT_EQ(own->GetBrushType(), 0);
    EXPECT_EQ(own->GetSnapRect().left, 10 - 20 / 4);
    EXPECT_EQ(conv.At(1)->GetObjectCaption(), CString(L"first"));
    EXPECT_EQ(conv.At(2)->GetObjectCaption(), CString(L"second"));
    // A size of 0 to 9 reads as 9.
    EXPECT_EQ(conv.At(2)->GetPointSize(), 9);
    EXPECT_EQ(conv.At(2)->GetSnapRect().left, 0 - 9 / 4);
}

TEST(SvgConvert, TextSizeFollowsTheDocumentUnit)
{
    AfxEnsureApplication();
    for (const auto& [height, points] :
         {std::pair{L"100mm", 9}, std::pair{L"100px", 12}, std::pair{L"50%", 12}})
    {
        CXDXml doc;
        ASSERT_TRUE(
            doc.LoadXml(CString(L"<svg height='") + height + L"'><text font-size='12'>t</text></svg>"));
        CFODataModel model;
        CFOPSvgConvert convert(&model, L"/x.svg");
        convert.ConvertDocument(doc);
        ASSERT_EQ(convert.GetResultList().Count(), 1);
        EXPECT_EQ(convert.GetResultList().GetObject(0)->GetPointSize(), points) << CString(height).ToUtf8();
    }
}

TEST(SvgConvert, MarkersGiveStandardArrows)
{
    Converted conv(
        L"<line x2='50' marker-end='url(#m)'/><polyline points='0 0 5 5 9 0' style='marker-start:url(#m)'/>"
        L"<line x2='5' marker-end='none'/>");
    ASSERT_EQ(conv.Count(), 3);
    auto* end = dynamic_cast<CFOLineShape*>(conv.At(0));
    auto* start = dynamic_cast<CFOLineShape*>(conv.At(1));
    auto* none = dynamic_cast<CFOLineShape*>(conv.At(2));
    ASSERT_TRUE(end && start && none);
    EXPECT_EQ(end->GetEndArrow(), CFOLineShape::FO_ARROW_STANDARD);
    EXPECT_EQ(end->GetStartArrow(), CFOLineShape::FO_ARROW_NONE);
    EXPECT_EQ(start->GetStartArrow(), CFOLineShape::FO_ARROW_STANDARD);
    EXPECT_EQ(none->GetEndArrow(), CFOLineShape::FO_ARROW_NONE);
}

TEST(SvgConvert, HostileNumbersAndDepthStayBounded)
{
    CString deep;
    for (int i = 0; i < 240; ++i)
        deep += L"<g>";
    deep += L"<rect width='1e308' height='-1e308' x='nan' y='inf'/><rect width='1' height='1'/>";
    for (int i = 0; i < 240; ++i)
        deep += L"</g>";
    Converted conv(deep + L"<circle r='-0.4'/><path d=''/><polygon points=''/><image xlink:href='data:x'/>"
                          L"<image xlink:href='' width='5' height='5'/>");
    ASSERT_EQ(conv.Count(), 3);
    const CRect big = conv.At(0)->GetSnapRect();
    EXPECT_LE(big.Width(), 20000000);
    // -0.4 reads as -1: a radius that is not 0.
    EXPECT_EQ(conv.At(1)->GetSnapRect().Width(), 2);
    EXPECT_EQ(conv.At(2)->GetType(), FO_COMP_IMAGE);
}
