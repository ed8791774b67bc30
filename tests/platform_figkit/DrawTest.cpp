#include "FigkitTestSupport.h"

#include "figkit/FODataModel.h"
#include "figkit/FOEllipseShape2.h"
#include "figkit/FOHighShape.h"
#include "figkit/FORectShape.h"
#include "mfc/Dc.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QRegion>

using namespace figkit_test;

namespace
{
QImage WhiteImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

COLORREF Pixel(const QImage& image, int x, int y)
{
    return AfxRefFromColor(image.pixelColor(x, y));
}
} // namespace

class FigkitDraw : public ::testing::Test
{
protected:
    void SetUp() override { EnsureApp(); }
};

TEST_F(FigkitDraw, DcFollowsGdiPixelRules)
{
    QImage image = WhiteImage(40, 40);
    {
        CImageDC dc(image);
        CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
        CBrush brush(RGB(0, 0, 255));
        dc.SelectObject(&pen);
        dc.SelectObject(&brush);
        dc.Rectangle(10, 10, 20, 20); // covers 10..19
        EXPECT_EQ(dc.GetPixel(10, 10), RGB(255, 0, 0));
        EXPECT_EQ(dc.GetPixel(19, 19), RGB(255, 0, 0));
        EXPECT_EQ(dc.GetPixel(15, 15), RGB(0, 0, 255));
        EXPECT_EQ(dc.GetPixel(20, 20), RGB(255, 255, 255));
        // Logical coordinates shift with the viewport origin; state comes back with RestoreDC.
        const int saved = dc.SaveDC();
        dc.SetViewportOrg(20, 20);
        dc.FillSolidRect(0, 0, 5, 5, RGB(0, 255, 0));
        dc.SelectStockObject(NULL_BRUSH);
        dc.RestoreDC(saved);
        EXPECT_EQ(dc.GetViewportOrg(), CPoint(0, 0));
        EXPECT_EQ(dc.GetCurrentBrush(), &brush);
        EXPECT_EQ(dc.GetPixel(22, 22), RGB(0, 255, 0));
        // A clip keeps drawing inside it until restored.
        const int clip = dc.SaveDC();
        dc.IntersectClipRect(30, 30, 35, 35);
        dc.FillSolidRect(25, 25, 15, 15, RGB(0, 0, 0));
        dc.RestoreDC(clip);
        EXPECT_EQ(dc.GetPixel(29, 29), RGB(255, 255, 255));
        EXPECT_EQ(dc.GetPixel(32, 32), RGB(0, 0, 0));
        CSize ext = dc.GetTextExtent(L"Hello");
        EXPECT_GT(ext.cx, 0);
        TEXTMETRIC tm;
        EXPECT_TRUE(dc.GetTextMetrics(&tm));
        EXPECT_GT(tm.tmHeight, 0);
    }
}

TEST_F(FigkitDraw, BaseRectangleAndEllipseDrawTheirFillAndOutline)
{
    QImage image = WhiteImage(200, 100);
    CFORectShape rect;
    CRect rr(10, 10, 90, 60);
    rect.Create(rr);
    rect.SetBkColor(RGB(0, 128, 0));
    rect.SetLineColor(RGB(0, 0, 0));
    CFOEllipseShape2 ellipse;
    CRect re(110, 10, 190, 90);
    ellipse.Create(re);
    ellipse.SetBkColor(RGB(255, 255, 0));
    ellipse.SetLineColor(RGB(0, 0, 255));
    {
        CImageDC dc(image);
        rect.OnDraw(&dc);
        ellipse.OnDraw(&dc);
    }
    EXPECT_EQ(Pixel(image, 50, 35), RGB(0, 128, 0)); // inside the rectangle
    EXPECT_EQ(Pixel(image, 10, 35), RGB(0, 0, 0));   // its left edge
    EXPECT_EQ(Pixel(image, 90, 35), RGB(0, 0, 0));   // its right edge (points are inclusive)
    EXPECT_EQ(Pixel(image, 95, 35), RGB(255, 255, 255));
    EXPECT_EQ(Pixel(image, 150, 50), RGB(255, 255, 0));   // centre of the ellipse
    EXPECT_EQ(Pixel(image, 112, 12), RGB(255, 255, 255)); // corner outside it
    EXPECT_EQ(Pixel(image, 110, 50), RGB(0, 0, 255));     // its leftmost point

    // Brush type 0 leaves the inside alone; a hidden shape draws nothing.
    QImage second = WhiteImage(200, 100);
    rect.SetBrushType(0);
    ellipse.SetVisible(FALSE);
    {
        CImageDC dc(second);
        rect.OnDraw(&dc);
        ellipse.OnDraw(&dc);
    }
    EXPECT_EQ(Pixel(second, 50, 35), RGB(255, 255, 255));
    EXPECT_EQ(Pixel(second, 150, 50), RGB(255, 255, 255));
}

TEST_F(FigkitDraw, TurnedAndLevelledShapes)
{
    QImage image = WhiteImage(100, 100);
    CFORectShape rect;
    CRect rr(40, 10, 60, 90); // tall and thin
    rect.Create(rr);
    rect.SetBkColor(RGB(255, 0, 0));
    rect.SetPenStyle(0);
    rect.RotateShape(90, 50, 50); // now wide and flat
    {
        CImageDC dc(image);
        rect.OnDraw(&dc);
    }
    EXPECT_EQ(Pixel(image, 15, 50), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(image, 50, 15), RGB(255, 255, 255));

    QImage level = WhiteImage(100, 100);
    CFOHighShape high;
    CRect rh(0, 0, 99, 99);
    high.Create(rh);
    high.SetPatternColor(RGB(0, 0, 255));
    high.SetBkColor(RGB(255, 255, 255));
    high.SetCurrentValue(25); // a quarter of 0..100
    {
        CImageDC dc(level);
        high.OnDraw(&dc);
    }
    EXPECT_EQ(Pixel(level, 50, 90), RGB(0, 0, 255));
    EXPECT_EQ(Pixel(level, 50, 60), RGB(255, 255, 255));
    high.SetStateType(L"left->right");
    QImage side = WhiteImage(100, 100);
    {
        CImageDC dc(side);
        high.OnDraw(&dc);
    }
    EXPECT_EQ(Pixel(side, 10, 50), RGB(0, 0, 255));
    EXPECT_EQ(Pixel(side, 60, 50), RGB(255, 255, 255));
}

// A repaint clipped to a region draws, inside the region, exactly what a full drawing draws, and
// nothing outside it; the DC keeps the region for whatever is drawn after the model.
TEST_F(FigkitDraw, ARegionClipDrawsAsTheWholePictureDoes)
{
    const int w = 240, h = 160;
    CFODataModel model;
    model.SetCanvasSize(CSize(w, h));
    model.SetDesignMode(FALSE);
    for (int i = 0; i < 60; ++i)
    {
        const int x = (i * 37) % (w - 40), y = (i * 23) % (h - 30);
        CRect rc(x, y, x + 40, y + 30);
        CFODrawShape* shape =
            model.DoCreateShapeByType(i % 2 ? FO_COMP_ELLIPSE : FO_COMP_RECTANGLE, rc, CString());
        ASSERT_NE(shape, nullptr);
        shape->SetBkColor(RGB((i * 40) % 256, (i * 90) % 256, (i * 150) % 256));
        shape->SetLineColor(RGB(0, 0, (i * 60) % 256));
        if (i % 7 == 0)
            shape->SetObjectCaption(L"Tag");
        if (i % 5 == 0)
            shape->RotateShape(30, x + 20, y + 15);
        model.InsertShape(shape);
        shape->Release();
    }
    QImage whole = WhiteImage(w, h);
    {
        CImageDC dc(whole);
        model.OnDraw(&dc, CRect(0, 0, w, h));
    }

    // A few pieces cutting through shapes (drawn piece by piece), and many pieces (drawn at once).
    QRegion few;
    for (const QRect& r :
         {QRect(5, 5, 50, 150), QRect(70, 20, 33, 40), QRect(120, 0, 61, 160), QRect(200, 90, 40, 70)})
        few += r;
    QRegion many;
    for (int k = 0; k < 90; ++k)
        many += QRect((k * 29) % (w - 6), (k * 17) % (h - 5), 6, 5);
    const QColor kUntouched(255, 0, 255);
    const COLORREF kAfter = RGB(1, 2, 3);
    for (const QRegion& region : {few, many})
    {
        SCOPED_TRACE(region.rectCount());
        QImage part(w, h, QImage::Format_RGB32);
        part.fill(kUntouched);
        QImage after = part;
        {
            QPainter painter(&part);
            painter.setClipRegion(region);
            CDC dc(&painter);
            CRect box;
            dc.GetClipBox(&box);
            model.OnDraw(&dc, box);
        }
        {
            QPainter painter(&after);
            painter.setClipRegion(region);
            CDC dc(&painter);
            CRect box;
            dc.GetClipBox(&box);
            model.OnDraw(&dc, box);
            dc.FillSolidRect(0, 0, w, h, kAfter);
        }
        int differ = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
            {
                const bool in = region.contains(QPoint(x, y));
                differ += part.pixel(x, y) != (in ? whole.pixel(x, y) : kUntouched.rgb());
                differ += after.pixel(x, y) != (in ? QColor(1, 2, 3).rgb() : kUntouched.rgb());
            }
        EXPECT_EQ(differ, 0);
    }
}
