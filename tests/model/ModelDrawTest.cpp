#include "ModelTestSupport.h"

#include "figkit/FOPCanvasCore.h"
#include "mfc/Dc.h"
#include "model/AnchorShape.h"
#include "model/XFOCorsssLineShape.h"
#include "model/XVKDataModel.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

using namespace model_test;

namespace
{
COLORREF Pixel(const QImage& image, int x, int y)
{
    return AfxRefFromColor(image.pixelColor(x, y));
}
} // namespace

TEST(ModelDraw, ScreenWithAnchorAndCrossLineDrawsIntoAnImage)
{
    AfxEnsureApplication();
    CXVKDataModel model;
    model.SetPageBkColor(RGB(255, 255, 255));
    CRect ra(20, 20, 140, 180);
    CFODrawShape* anchor = model.DoCreateShapeByType(620, ra, CString());
    anchor->SetBkColor(RGB(0, 200, 0));
    anchor->SetBrushType(1);
    model.InsertShape(anchor);
    anchor->Release();
    CRect rc(180, 40, 380, 120);
    CFODrawShape* cross = model.DoCreateShapeByType(696, rc, CString());
    model.InsertShape(cross);
    cross->Release();
    CRect rr(180, 140, 250, 180);
    CFODrawShape* rect = model.DoCreateShapeByType(601, rr, CString());
    rect->SetBrushType(1);
    rect->SetBkColor(RGB(255, 255, 0));
    model.InsertShape(rect);
    rect->Release();

    QImage image(400, 200, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        CFOPDrawWnd canvas;
        canvas.SetCurrentModel(&model);
        CImageDC dc(image);
        canvas.OnDraw(&dc);
    }
    const QString out = QDir::homePath() + "/model_draw.png";
    image.save(out);

    // Anchor (L 20, T 20, R 140, B 180; cx 80, cy 100, H 160): the barrel runs from y 60 to 180,
    // the plunger line at y 120; red below it, the background colour above it, a black stem.
    EXPECT_EQ(Pixel(image, 40, 150), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(image, 40, 90), RGB(0, 200, 0));
    EXPECT_EQ(Pixel(image, 80, 100), RGB(0, 0, 0));      // inside the stem above the plunger
    EXPECT_EQ(Pixel(image, 80, 40), RGB(0, 0, 0));       // the stem above the barrel
    EXPECT_EQ(Pixel(image, 30, 40), RGB(255, 255, 255)); // beside the stem: the page
    // Cross-line: its fill inside the arrow, the page in the notch at the back.
    EXPECT_EQ(Pixel(image, 300, 80), RGB(0xBB, 0xE0, 0xE3));
    EXPECT_EQ(Pixel(image, 200, 80), RGB(255, 255, 255));
    EXPECT_EQ(Pixel(image, 390, 80), RGB(255, 255, 255));
    // The toolbox rectangle: outline and the fill it was given.
    EXPECT_EQ(Pixel(image, 215, 160), RGB(255, 255, 0));
    EXPECT_EQ(Pixel(image, 180, 160), RGB(0, 0, 0));
    // Outside the page width nothing is drawn over the canvas colour... the page covers 1000 x 1000
    // here, so the whole image is page.
    EXPECT_EQ(Pixel(image, 399, 199), RGB(255, 255, 255));
}
