#include "mfc/Geometry.h"

#include <gtest/gtest.h>

namespace
{
void ExpectRect(const RECT& r, int l, int t, int rr, int b, const char* what)
{
    EXPECT_EQ(r.left, l) << what;
    EXPECT_EQ(r.top, t) << what;
    EXPECT_EQ(r.right, rr) << what;
    EXPECT_EQ(r.bottom, b) << what;
}
} // namespace

TEST(Geometry, RectangleSemantics)
{
    struct Case
    {
        const char* what;
        CRect result;
        RECT expected;
    };
    const CRect r(10, 20, 110, 70);
    auto op = [&](auto fn)
    {
        CRect c(r);
        fn(c);
        return c;
    };
    const Case cases[] = {
        {"offset", op([](CRect& c) { c.OffsetRect(5, -5); }), {15, 15, 115, 65}},
        {"offset size", op([](CRect& c) { c += CSize(1, 2); }), {11, 22, 111, 72}},
        {"inflate", op([](CRect& c) { c.InflateRect(2, 3); }), {8, 17, 112, 73}},
        {"inflate sides", op([](CRect& c) { c.InflateRect(1, 2, 3, 4); }), {9, 18, 113, 74}},
        {"deflate", op([](CRect& c) { c.DeflateRect(CSize(10, 5)); }), {20, 25, 100, 65}},
        {"deflate rect", op([](CRect& c) { c -= CRect(1, 2, 3, 4); }), {11, 22, 107, 66}},
        {"move", op([](CRect& c) { c.MoveToXY(0, 0); }), {0, 0, 100, 50}},
        {"intersect", op([](CRect& c) { c &= CRect(50, 0, 200, 30); }), {50, 20, 110, 30}},
        {"disjoint", op([](CRect& c) { c &= CRect(200, 200, 300, 300); }), {0, 0, 0, 0}},
        {"touching", op([](CRect& c) { c &= CRect(110, 20, 120, 70); }), {0, 0, 0, 0}},
        {"union", op([](CRect& c) { c |= CRect(0, 0, 20, 30); }), {0, 0, 110, 70}},
        {"union empty", op([](CRect& c) { c |= CRect(500, 500, 500, 600); }), {10, 20, 110, 70}},
        {"normalize",
         op(
             [](CRect& c)
             {
                 c.SetRect(5, 8, 1, 2);
                 c.NormalizeRect();
             }),
         {1, 2, 5, 8}},
        {"plus point", r + CPoint(1, 1), {11, 21, 111, 71}},
        {"minus size", r - CSize(10, 20), {0, 0, 100, 50}},
        {"and", r & CRect(0, 0, 50, 50), {10, 20, 50, 50}},
        {"or", r | CRect(0, 0, 5, 5), {0, 0, 110, 70}},
        {"point size", CRect(CPoint(1, 2), CSize(3, 4)), {1, 2, 4, 6}},
        {"points", CRect(CPoint(1, 2), CPoint(3, 4)), {1, 2, 3, 4}},
    };
    for (const Case& c : cases)
        ExpectRect(c.result, c.expected.left, c.expected.top, c.expected.right, c.expected.bottom, c.what);

    EXPECT_EQ(r.Width(), 100);
    EXPECT_EQ(r.Height(), 50);
    EXPECT_EQ(r.Size(), CSize(100, 50));
    EXPECT_EQ(r.CenterPoint(), CPoint(60, 45));
    EXPECT_EQ(r.TopLeft(), CPoint(10, 20));
    EXPECT_EQ(r.BottomRight(), CPoint(110, 70));
    CRect m(r);
    m.TopLeft() = CPoint(0, 0);
    m.BottomRight().Offset(1, 1);
    ExpectRect(m, 0, 0, 111, 71, "corners in place");

    // Right and bottom edges are outside.
    EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
    EXPECT_TRUE(r.PtInRect(CPoint(109, 69)));
    EXPECT_FALSE(r.PtInRect(CPoint(110, 50)));
    EXPECT_FALSE(r.PtInRect(CPoint(50, 70)));
    EXPECT_FALSE(r.PtInRect(CPoint(9, 50)));

    EXPECT_FALSE(r.IsRectEmpty());
    EXPECT_TRUE(CRect(5, 5, 5, 10).IsRectEmpty());
    EXPECT_TRUE(CRect(5, 5, 4, 10).IsRectEmpty());
    EXPECT_FALSE(CRect(5, 5, 5, 10).IsRectNull());
    EXPECT_TRUE(CRect().IsRectNull());
    EXPECT_TRUE(r == CRect(10, 20, 110, 70));
    EXPECT_TRUE(r != CRect(10, 20, 110, 71));
    EXPECT_TRUE(r.EqualRect(CRect(10, 20, 110, 70)));

    CRect dst(1, 1, 2, 2);
    EXPECT_FALSE(dst.IntersectRect(r, CRect(0, 0, 0, 0)));
    EXPECT_TRUE(dst.IsRectNull());
    EXPECT_TRUE(dst.UnionRect(CRect(), r));
    EXPECT_TRUE(dst == r);
    EXPECT_FALSE(::UnionRect(&dst, CRect(), CRect(3, 3, 3, 3)));
    EXPECT_TRUE(dst.IsRectNull());
}

TEST(Geometry, PointsAndSizes)
{
    CPoint p(3, 4);
    p += CSize(1, 1);
    p -= CPoint(2, 2);
    EXPECT_EQ(p, CPoint(2, 3));
    const CSize d = CPoint(10, 10) - CPoint(4, 7);
    EXPECT_EQ(d, CSize(6, 3));
    EXPECT_EQ(CPoint(1, 1) + CSize(2, 3), CPoint(3, 4));
    EXPECT_EQ(-CPoint(1, -2), CPoint(-1, 2));
    EXPECT_EQ(CSize(2, 2) + CPoint(1, 1), CPoint(3, 3));
    EXPECT_EQ(CSize(5, 5) - CSize(1, 2), CSize(4, 3));
    // Packed mouse coordinates are signed 16-bit halves.
    const CPoint packed(LPARAM(MAKELONG(-5, 7)));
    EXPECT_EQ(packed, CPoint(-5, 7));
    ExpectRect(CPoint(1, 1) + CRect(0, 0, 2, 2), 1, 1, 3, 3, "point plus rect");
}
