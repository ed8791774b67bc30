// The DC's figures against the Qt paths they stand for, and its saved levels against the painter.
#include "mfc/Dc.h"
#include "mfc/Wnd.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace
{
QColor Colour(COLORREF cr)
{
    return QColor(GetRValue(cr), GetGValue(cr), GetBValue(cr));
}

// The one-pixel pen the DC makes of a solid pen of width 0 or 1.
QPen ThinPen(COLORREF cr)
{
    QPen pen(Colour(cr));
    pen.setWidth(0);
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

COLORREF Pixel(const QImage& image, int x, int y)
{
    return AfxRefFromColor(image.pixelColor(x, y));
}

// Where two pictures differ first, as text, or empty when they are the same.
std::string FirstDifference(const QImage& a, const QImage& b)
{
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return "at " + std::to_string(x) + "," + std::to_string(y);
    return {};
}

struct Figure
{
    RECT box;
    int penStyle; // PS_NULL for none
    int penWidth;
    int brush; // -1 none, 0 solid, 1 horizontal hatch, 2 vertical hatch
    CPoint origin;
    bool clip;
};

const COLORREF kPen = RGB(20, 40, 200);
const COLORREF kFill = RGB(230, 120, 10);
const QRect kClip(30, 25, 50, 40);

// The figure drawn as the DC draws it in general: the box or ellipse as a path, filled, then
// stroked (a box with a pen is filled one pixel larger than its outline; without one, one smaller).
void DrawReference(QImage& image, bool ellipse, const Figure& f)
{
    QPainter p(&image);
    p.translate(f.origin.x, f.origin.y);
    if (f.clip)
        p.setClipRect(kClip.translated(-f.origin.x, -f.origin.y));
    const long l = std::min(f.box.left, f.box.right), t = std::min(f.box.top, f.box.bottom);
    const long r = std::max(f.box.left, f.box.right), b = std::max(f.box.top, f.box.bottom);
    const QRectF box(l, t, std::max(0L, r - l - 1), std::max(0L, b - t - 1));
    const bool hasPen = f.penStyle != PS_NULL;
    const auto fill = [&](const QPainterPath& path)
    {
        if (f.brush == 0)
            p.fillPath(path, Colour(kFill));
        else if (f.brush > 0)
            p.fillPath(path, QBrush(Colour(kFill), Qt::BrushStyle(Qt::HorPattern + f.brush - 1)));
    };
    QPainterPath path;
    if (ellipse)
        path.addEllipse(box);
    else
        path.addRect(hasPen ? box.adjusted(0, 0, 1, 1) : box);
    if (f.brush > 0)
        p.fillPath(path, Colour(RGB(255, 255, 255)));
    fill(path);
    if (!hasPen)
        return;
    QPen pen = ThinPen(kPen);
    if (f.penWidth > 1)
    {
        pen.setCosmetic(false);
        pen.setWidth(f.penWidth);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    if (f.penStyle == PS_DASH)
        pen.setStyle(f.penWidth > 1 ? Qt::SolidLine : Qt::DashLine);
    if (ellipse)
        p.strokePath(path, pen);
    else
    {
        p.setPen(pen);
        p.drawRect(box);
    }
}

void DrawWithDc(CDC& dc, bool ellipse, const Figure& f)
{
    const int saved = dc.SaveDC();
    dc.SetViewportOrg(f.origin);
    if (f.clip)
        dc.IntersectClipRect(kClip.left() - f.origin.x, kClip.top() - f.origin.y,
                             kClip.right() + 1 - f.origin.x, kClip.bottom() + 1 - f.origin.y);
    CPen pen(f.penStyle, f.penWidth, kPen);
    CBrush solid(kFill);
    CBrush hatch(std::max(0, f.brush - 1), kFill);
    dc.SelectObject(&pen);
    if (f.brush < 0)
        dc.SelectStockObject(NULL_BRUSH);
    else
        dc.SelectObject(f.brush == 0 ? &solid : &hatch);
    dc.SetBkColor(RGB(255, 255, 255));
    if (ellipse)
        dc.Ellipse(&f.box);
    else
        dc.Rectangle(&f.box);
    dc.RestoreDC(saved);
}
} // namespace

class DcTest : public ::testing::Test
{
protected:
    void SetUp() override { AfxEnsureApplication(); }
};

// Boxes and ellipses come out pixel for pixel as their paths would, on both image formats the DC
// draws fastest into; an ellipse drawn again (from the DC's kept picture of it) too.
TEST_F(DcTest, FiguresHaveThePixelsOfTheirPaths)
{
    const Figure figures[] = {
        {{10, 10, 50, 40}, PS_SOLID, 1, 0, CPoint(), false},
        {{10, 10, 50, 40}, PS_SOLID, 0, -1, CPoint(), false},
        {{10, 10, 50, 40}, PS_NULL, 1, 0, CPoint(), false},
        {{10, 10, 50, 40}, PS_DASH, 1, 0, CPoint(), false},
        {{10, 10, 50, 40}, PS_SOLID, 3, 0, CPoint(), false},
        {{10, 10, 50, 40}, PS_SOLID, 1, 2, CPoint(), false},
        {{7, 9, 8, 10}, PS_SOLID, 1, 0, CPoint(), false},
        {{7, 9, 9, 11}, PS_SOLID, 1, 0, CPoint(), false},
        {{7, 9, 10, 12}, PS_SOLID, 1, 0, CPoint(), false},
        {{7, 9, 80, 10}, PS_SOLID, 1, 0, CPoint(), false},
        {{50, 40, 10, 10}, PS_SOLID, 1, 0, CPoint(), false},
        {{10, 10, 50, 40}, PS_SOLID, 1, 0, CPoint(13, 7), false},
        {{10, 10, 90, 70}, PS_SOLID, 1, 0, CPoint(), true},
        {{-20, -5, 60, 33}, PS_SOLID, 1, 0, CPoint(21, 9), true},
        {{3, 2, 97, 78}, PS_NULL, 1, 0, CPoint(), true},
        {{12, 11, 13, 60}, PS_SOLID, 1, -1, CPoint(), false},
    };
    for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied})
    {
        for (bool ellipse : {false, true})
        {
            for (size_t i = 0; i < std::size(figures); ++i)
            {
                const Figure& f = figures[i];
                QImage expected(100, 80, format);
                expected.fill(Qt::gray);
                DrawReference(expected, ellipse, f);
                QImage image(100, 80, format);
                CImageDC dc(image);
                for (int round = 0; round < 3; ++round)
                {
                    image.fill(Qt::gray);
                    DrawWithDc(dc, ellipse, f);
                    EXPECT_EQ(FirstDifference(image, expected), "")
                        << (ellipse ? "ellipse " : "box ") << i << " round " << round << " format " << format;
                }
            }
        }
    }
}

// Under a painter that does not put whole pixels down 1:1 the figures still follow their paths.
TEST_F(DcTest, FiguresUnderScalingAndOpacityFollowTheirPaths)
{
    const Figure f = {{10, 10, 50, 40}, PS_SOLID, 1, 0, CPoint(), false};
    for (bool ellipse : {false, true})
    {
        for (int mode = 0; mode < 2; ++mode)
        {
            QImage expected(100, 80, QImage::Format_RGB32);
            expected.fill(Qt::gray);
            {
                QPainter p(&expected);
                if (mode == 0)
                    p.scale(1.5, 1.5);
                else
                    p.setOpacity(0.5);
                QPainterPath path;
                const QRectF box(10, 10, 39, 29);
                if (ellipse)
                {
                    path.addEllipse(box);
                    p.fillPath(path, Colour(kFill));
                    p.strokePath(path, ThinPen(kPen));
                }
                else
                {
                    path.addRect(box.adjusted(0, 0, 1, 1));
                    p.fillPath(path, Colour(kFill));
                    p.setPen(ThinPen(kPen));
                    p.drawRect(box);
                }
            }
            QImage image(100, 80, QImage::Format_RGB32);
            image.fill(Qt::gray);
            {
                CImageDC dc(image);
                if (mode == 0)
                {
                    dc.SetMapMode(MM_ANISOTROPIC);
                    dc.SetWindowExt(2, 2);
                    dc.SetViewportExt(3, 3);
                }
                else
                {
                    dc.GetPainter()->setOpacity(0.5);
                }
                // Drawn twice opaque (the second time an ellipse could come from a kept picture);
                // half transparent once, as drawing it again would blend it twice.
                for (int round = 0; round < (mode == 0 ? 2 : 1); ++round)
                    DrawWithDc(dc, ellipse, f);
            }
            EXPECT_EQ(FirstDifference(image, expected), "")
                << (ellipse ? "ellipse" : "box") << " mode " << mode;
        }
    }
}

// Saved levels give back pens, fonts, transforms and clips however deep they nest, also when a
// clip was changed and restored in between, or the painter was moved directly.
TEST_F(DcTest, SavedLevelsGiveTheirStateBack)
{
    QImage image(60, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    CImageDC dc(image);
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    CPen blue(PS_SOLID, 1, RGB(0, 0, 255));
    dc.SelectObject(&red);
    const int outer = dc.SaveDC();
    dc.SelectObject(&blue);
    dc.IntersectClipRect(0, 0, 30, 60);
    const int inner = dc.SaveDC();
    dc.IntersectClipRect(0, 0, 60, 30);
    dc.SetViewportOrg(5, 5);
    dc.FillSolidRect(0, 0, 60, 60, RGB(0, 255, 0)); // the two clips meet in [5..29] x [5..29]
    EXPECT_EQ(Pixel(image, 20, 20), RGB(0, 255, 0));
    EXPECT_EQ(Pixel(image, 40, 20), RGB(255, 255, 255));
    EXPECT_EQ(Pixel(image, 20, 40), RGB(255, 255, 255));

    ASSERT_TRUE(dc.RestoreDC(inner)); // the first clip only, no offset, the blue pen
    EXPECT_EQ(dc.GetViewportOrg(), CPoint(0, 0));
    dc.MoveTo(0, 40);
    dc.LineTo(60, 40);
    EXPECT_EQ(Pixel(image, 10, 40), RGB(0, 0, 255));
    EXPECT_EQ(Pixel(image, 40, 40), RGB(255, 255, 255));

    // A clip set and given back between levels leaves the next level's clip alone.
    const int again = dc.SaveDC();
    dc.IntersectClipRect(0, 0, 10, 10);
    dc.RestoreDC(again);
    dc.IntersectClipRect(0, 45, 60, 60);
    const int same = dc.SaveDC();
    dc.GetPainter()->translate(7, 7); // moved behind the DC's back
    dc.RestoreDC(same);
    dc.FillSolidRect(0, 0, 60, 60, RGB(0, 0, 0));
    EXPECT_EQ(Pixel(image, 3, 47), RGB(0, 0, 0)); // the painter was moved back
    EXPECT_EQ(Pixel(image, 10, 40), RGB(0, 0, 255));
    EXPECT_EQ(Pixel(image, 40, 50), RGB(255, 255, 255));

    ASSERT_TRUE(dc.RestoreDC(outer)); // no clip, the red pen
    EXPECT_FALSE(dc.RestoreDC(outer));
    dc.MoveTo(0, 57);
    dc.LineTo(60, 57);
    EXPECT_EQ(Pixel(image, 50, 57), RGB(255, 0, 0));
    EXPECT_EQ(dc.GetCurrentPen(), &red);

    // Fonts: the size selected before the level is the one measured after it.
    CFont big, small;
    big.CreateFont(-30, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Sans Serif");
    small.CreateFont(-8, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Sans Serif");
    dc.SelectObject(&big);
    const CSize bigSize = dc.GetTextExtent(L"Wide text");
    const int level = dc.SaveDC();
    dc.SelectObject(&small);
    EXPECT_LT(dc.GetTextExtent(L"Wide text").cx, bigSize.cx);
    dc.RestoreDC(level);
    EXPECT_EQ(dc.GetTextExtent(L"Wide text"), bigSize);
}
