// PolylineTo, the focus rectangle, turned text, the memory DC, pens with zero-length dashes and the
// system colours.
#include "mfc/Dc.h"
#include "mfc/SysColor.h"
#include "mfc/Wnd.h"

#include <gtest/gtest.h>

#include <QImage>

namespace
{
COLORREF Pixel(const QImage& image, int x, int y)
{
    return AfxRefFromColor(image.pixelColor(x, y));
}

QImage White(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The bounding box of the pixels that are not white.
QRect Ink(const QImage& image)
{
    QRect r;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                r = r.united(QRect(x, y, 1, 1));
    return r;
}
} // namespace

class DcExtras : public ::testing::Test
{
protected:
    void SetUp() override { AfxEnsureApplication(); }
};

TEST_F(DcExtras, PolylineToStartsAtTheCurrentPositionAndEndsAtTheLastPoint)
{
    QImage image = White(40, 40);
    CImageDC dc(image);
    dc.MoveTo(5, 5);
    const POINT pts[] = {{30, 5}, {30, 30}};
    EXPECT_TRUE(dc.PolylineTo(pts, 2));
    EXPECT_EQ(dc.GetCurrentPosition(), CPoint(30, 30));
    EXPECT_EQ(Pixel(image, 5, 5), COLORREF(0));
    EXPECT_EQ(Pixel(image, 20, 5), COLORREF(0));
    EXPECT_EQ(Pixel(image, 30, 20), COLORREF(0));
    EXPECT_EQ(Pixel(image, 20, 20), COLORREF(0xFFFFFF));
    EXPECT_FALSE(dc.PolylineTo(pts, 0));
}

TEST_F(DcExtras, FocusRectDrawnTwiceLeavesThePictureAsItWas)
{
    QImage image = White(40, 40);
    image.setPixelColor(10, 10, QColor(200, 30, 30));
    const QImage before = image.copy();
    {
        CImageDC dc(image);
        const CRect rc(10, 10, 30, 20);
        dc.DrawFocusRect(&rc);
    }
    EXPECT_NE(image, before);
    EXPECT_EQ(Ink(image), QRect(10, 10, 20, 10));
    {
        CImageDC dc(image);
        const CRect rc(10, 10, 30, 20);
        dc.DrawFocusRect(&rc);
    }
    EXPECT_EQ(image, before);
}

TEST_F(DcExtras, TextTurnsWithTheFontsEscapement)
{
    auto extent = [](int nEscapement)
    {
        QImage image = White(200, 200);
        CImageDC dc(image);
        CFont font;
        font.CreateFont(20, 0, nEscapement, nEscapement, 400, FALSE, FALSE, FALSE, ANSI_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L"Sans Serif");
        CFont* old = dc.SelectObject(&font);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextAlign(TA_LEFT | TA_BASELINE);
        dc.TextOut(100, 100, L"WWWWWW");
        dc.SelectObject(old);
        return Ink(image);
    };
    const QRect flat = extent(0);
    const QRect up = extent(900);
    ASSERT_FALSE(flat.isEmpty());
    ASSERT_FALSE(up.isEmpty());
    EXPECT_GT(flat.width(), flat.height());
    EXPECT_GT(up.height(), up.width());
    // Counter-clockwise: the text runs up from the reference point.
    EXPECT_LE(up.bottom(), 101);
}

TEST_F(DcExtras, MemoryDcDrawsIntoItsBitmapAndBlitsOut)
{
    CDC screen;
    CDC mem;
    ASSERT_TRUE(mem.CreateCompatibleDC(&screen));
    EXPECT_TRUE(mem.IsMemoryDC());
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 20, 10));
    CBitmap* old = mem.SelectObject(&bitmap);
    ASSERT_NE(old, nullptr);
    mem.FillSolidRect(0, 0, 20, 10, RGB(0, 0, 255));
    mem.FillSolidRect(5, 2, 3, 3, RGB(255, 0, 0));
    QImage target = White(40, 40);
    {
        CImageDC dc(target);
        EXPECT_TRUE(dc.BitBlt(10, 10, 20, 10, &mem, 0, 0, SRCCOPY));
    }
    EXPECT_EQ(Pixel(target, 10, 10), RGB(0, 0, 255));
    EXPECT_EQ(Pixel(target, 16, 13), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(target, 5, 5), RGB(255, 255, 255));
    EXPECT_EQ(mem.SelectObject(old), &bitmap);
    EXPECT_TRUE(mem.DeleteDC());
    EXPECT_FALSE(mem.DeleteDC());
    // The bitmap keeps what was drawn after the DC let go of it.
    EXPECT_EQ(AfxRefFromColor(bitmap.GetImage()->pixelColor(6, 3)), RGB(255, 0, 0));
    CBitmap empty;
    CDC other;
    EXPECT_EQ(other.SelectObject(&empty), nullptr);
}

TEST_F(DcExtras, UserStylePensWithZeroLengthDashes)
{
    struct Case
    {
        std::vector<DWORD> pattern;
        bool gaps;
    } cases[] = {
        {{0, 8, 32, 0}, true}, // dash 0, gap, long dash, no gap
        {{0, 0, 0, 0}, false}, // nothing but zeros draws solid
        {{16, 8, 24, 0}, true},
    };
    for (const Case& c : cases)
    {
        QImage image = White(200, 20);
        {
            CImageDC dc(image);
            LOGBRUSH lb = {BS_SOLID, 0, 0};
            CPen pen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT, 4, &lb, 4, c.pattern.data());
            CPen* old = dc.SelectObject(&pen);
            dc.MoveTo(0, 10);
            dc.LineTo(200, 10);
            dc.SelectObject(old);
        }
        int white = 0;
        for (int x = 0; x < 200; ++x)
            white += Pixel(image, x, 10) == 0xFFFFFF;
        EXPECT_EQ(white > 0, c.gaps) << c.pattern[0] << " " << c.pattern[1];
        EXPECT_LT(white, 120);
    }
}

TEST_F(DcExtras, SystemColoursAreTheClassicScheme)
{
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), 0xFFFFFFu);
    EXPECT_EQ(GetSysColor(COLOR_BTNTEXT), 0u);
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), 0xFFFFFFu);
    EXPECT_NE(GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(GetSysColor(-1), 0u);
    EXPECT_EQ(GetSysColor(1000), 0u);
}
