// One model in several views: every view hears a shape's change, repaints only what changed, and the
// paint region limits what is drawn. Ownership of shapes by the two kinds of shape set.
#include "FigkitTestSupport.h"

#include "figkit/FODataModel.h"
#include "figkit/FOPCanvasCore.h"
#include "figkit/FORectShape.h"
#include "mfc/Dc.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <functional>
#include <map>
#include <vector>

using namespace figkit_test;

namespace
{
// A rectangle that counts how often each canvas draws it.
class CCountingShape : public CFORectShape
{
public:
    int draws = 0;
    void OnDraw(CDC* pDC) override
    {
        ++draws;
        CFORectShape::OnDraw(pDC);
    }
};

// A canvas that records what it is told to redraw and what it paints.
class CViewCanvas : public CFOPDrawWnd
{
public:
    std::vector<CRect> invalidated;
    std::vector<CRect> paintClips;
    void InvalidateCanvasRect(const CRect& rc) override
    {
        invalidated.push_back(rc);
        CFOPDrawWnd::InvalidateCanvasRect(rc);
    }
    void OnDraw(CDC* pDC) override
    {
        CRect clip;
        pDC->GetClipBox(&clip);
        paintClips.push_back(clip);
        CFOPDrawWnd::OnDraw(pDC);
    }
    QImage Grab() { return GetClientWidget()->grab().toImage(); }
};

// Shows the canvas and waits for its first full paint.
void ShowAndSettle(CViewCanvas& canvas)
{
    canvas.ShowWindow(SW_SHOW);
    ASSERT_TRUE(PumpUntil([&] { return !canvas.paintClips.empty(); }));
    PumpUntil([] { return false; }, 50);
    canvas.invalidated.clear();
    canvas.paintClips.clear();
}

COLORREF PixelAt(const QImage& image, int x, int y)
{
    const QRgb rgb = image.pixel(x, y);
    return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

CCountingShape* AddRect(CFODataModel& model, const CRect& rc)
{
    auto* shape = new CCountingShape;
    CRect pos = rc;
    shape->Create(pos);
    shape->SetBkColor(RGB(255, 255, 255));
    shape->SetBrushType(1);
    model.InsertShape(shape);
    return shape;
}
} // namespace

class FigkitViews : public ::testing::Test
{
protected:
    void SetUp() override { EnsureApp(); }
};

TEST_F(FigkitViews, AChangedShapeRedrawsInEveryViewOfTheModel)
{
    CFODataModel model;
    model.SetBkColor(RGB(255, 255, 255));
    model.SetPageBkColor(RGB(255, 255, 255));
    CViewCanvas first, second;
    ASSERT_TRUE(first.CreateCanvas(nullptr, CRect(0, 0, 240, 160)));
    ASSERT_TRUE(second.CreateCanvas(nullptr, CRect(300, 0, 540, 160)));
    first.SetCurrentModel(&model);
    second.SetCurrentModel(&model);
    CCountingShape* shape = AddRect(model, CRect(20, 20, 80, 70));
    AddRect(model, CRect(150, 20, 220, 70));
    ShowAndSettle(first);
    ShowAndSettle(second);
    EXPECT_EQ(PixelAt(first.Grab(), 50, 45), RGB(255, 255, 255));

    shape->SetBkColor(RGB(255, 0, 0));

    // Both views were told, and only about the shape (its bounds and the handle margin).
    CRect expected = shape->GetMaxRect();
    expected.InflateRect(FO_HANDLE_MARGIN, FO_HANDLE_MARGIN);
    for (CViewCanvas* canvas : {&first, &second})
    {
        ASSERT_EQ(canvas->invalidated.size(), 1u);
        EXPECT_EQ(canvas->invalidated[0], expected);
    }
    // Both repaint on their own, and both show the new look.
    EXPECT_TRUE(PumpUntil([&] { return !first.paintClips.empty() && !second.paintClips.empty(); }));
    for (CViewCanvas* canvas : {&first, &second})
    {
        const QImage image = canvas->Grab();
        EXPECT_EQ(PixelAt(image, 50, 45), RGB(255, 0, 0));
        EXPECT_EQ(PixelAt(image, 185, 45), RGB(255, 255, 255));
    }

    // A value equal to the one the shape has tells no one.
    first.invalidated.clear();
    shape->SetBkColor(RGB(255, 0, 0));
    EXPECT_TRUE(first.invalidated.empty());

    // A moved shape redraws where it was and where it is.
    shape->OffsetShape(CSize(0, 60));
    ASSERT_EQ(first.invalidated.size(), 1u);
    EXPECT_TRUE(first.invalidated[0].PtInRect(CPoint(50, 30)));
    EXPECT_TRUE(first.invalidated[0].PtInRect(CPoint(50, 100)));
}

TEST_F(FigkitViews, APartialRepaintDrawsOnlyTheShapesItsRegionTouches)
{
    CFODataModel model;
    CViewCanvas canvas;
    ASSERT_TRUE(canvas.CreateCanvas(nullptr, CRect(0, 0, 300, 200)));
    canvas.SetCurrentModel(&model);
    CCountingShape* left = AddRect(model, CRect(10, 10, 60, 60));
    CCountingShape* middle = AddRect(model, CRect(120, 10, 170, 60));
    CCountingShape* bottom = AddRect(model, CRect(10, 120, 60, 170));
    ShowAndSettle(canvas);
    EXPECT_GE(left->draws, 1);
    EXPECT_GE(bottom->draws, 1);
    for (CCountingShape* s : {left, middle, bottom})
        s->draws = 0;

    middle->SetCurrentValue(42.0);
    ASSERT_TRUE(PumpUntil([&] { return !canvas.paintClips.empty(); }));
    PumpUntil([] { return false; }, 30);

    EXPECT_GE(middle->draws, 1);
    EXPECT_EQ(left->draws, 0);
    EXPECT_EQ(bottom->draws, 0);
    // The paint region reached the DC: its clip box is the shape's dirty rectangle, not the window.
    CRect dirty = middle->GetMaxRect();
    dirty.InflateRect(FO_HANDLE_MARGIN, FO_HANDLE_MARGIN);
    for (const CRect& clip : canvas.paintClips)
    {
        CRect inside;
        inside.IntersectRect(&clip, &dirty);
        EXPECT_EQ(inside, clip);
    }
}

// Two changes far apart make a region of two pieces; a shape in the gap between them lies inside
// the region's bounds but outside both pieces, and is not drawn.
TEST_F(FigkitViews, AShapeBetweenThePiecesOfARepaintRegionIsNotDrawn)
{
    CFODataModel model;
    CViewCanvas canvas;
    ASSERT_TRUE(canvas.CreateCanvas(nullptr, CRect(0, 0, 300, 200)));
    canvas.SetCurrentModel(&model);
    CCountingShape* topLeft = AddRect(model, CRect(10, 10, 40, 40));
    CCountingShape* between = AddRect(model, CRect(120, 80, 160, 120));
    CCountingShape* bottomRight = AddRect(model, CRect(250, 150, 280, 180));
    ShowAndSettle(canvas);
    for (CCountingShape* s : {topLeft, between, bottomRight})
        s->draws = 0;
    canvas.paintClips.clear();

    topLeft->SetCurrentValue(1.0);
    bottomRight->SetCurrentValue(2.0);
    ASSERT_TRUE(PumpUntil([&] { return !canvas.paintClips.empty(); }));
    PumpUntil([] { return false; }, 30);

    EXPECT_GE(topLeft->draws, 1);
    EXPECT_GE(bottomRight->draws, 1);
    EXPECT_EQ(between->draws, 0);
}

// Many scattered changes at once repaint whole tiles of a running screen, piece by piece: the
// picture is the one a full repaint gives, and shapes far from every change are not drawn.
TEST_F(FigkitViews, ManyScatteredChangesRepaintAsAFullPaintWould)
{
    CFODataModel model;
    model.SetDesignMode(FALSE);
    CViewCanvas canvas;
    ASSERT_TRUE(canvas.CreateCanvas(nullptr, CRect(0, 0, 320, 240)));
    canvas.SetCurrentModel(&model);
    std::vector<CCountingShape*> shapes;
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 12; ++x)
            shapes.push_back(AddRect(model, CRect(4 + x * 26, 4 + y * 26, 26 + x * 26, 26 + y * 26)));
    for (CCountingShape* s : shapes)
        s->SetBrushType(1);
    ShowAndSettle(canvas);
    for (CCountingShape* s : shapes)
        s->draws = 0;
    // Every other shape of the top six rows changes: more pieces than a paint clips to one by one.
    for (size_t i = 0; i < 72; i += 2)
        shapes[i]->SetBkColor(RGB(200, int(i) * 3, 40));
    ASSERT_TRUE(PumpUntil([&] { return !canvas.paintClips.empty(); }));
    PumpUntil([] { return false; }, 30);
    EXPECT_GE(shapes[0]->draws, 1);
    EXPECT_EQ(shapes.back()->draws, 0) << "the bottom row is far from every change";

    const QImage shown = canvas.GetWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QImage full(shown.size(), QImage::Format_RGB32);
    {
        CImageDC dc(full);
        model.OnDraw(&dc, CRect(0, 0, full.width(), full.height()));
    }
    EXPECT_EQ(shown, full);
}

TEST_F(FigkitViews, ViewsThatLeaveOrGoAreNoLongerTold)
{
    CFODataModel model;
    CViewCanvas staying;
    CCountingShape* shape = AddRect(model, CRect(0, 0, 10, 10));
    staying.SetCurrentModel(&model);
    {
        CViewCanvas leaving;
        leaving.SetCurrentModel(&model);
        EXPECT_EQ(model.GetObserverCount(), 2);
    }
    EXPECT_EQ(model.GetObserverCount(), 1);
    shape->SetLineColor(RGB(1, 2, 3));
    EXPECT_EQ(staying.invalidated.size(), 1u);
    staying.SetCurrentModel(nullptr);
    shape->SetLineColor(RGB(3, 2, 1));
    EXPECT_EQ(staying.invalidated.size(), 1u);
}

TEST_F(FigkitViews, OwningSetsHoldReferencesAndListsDoNot)
{
    CFOShapePtr<CFODrawShape> shape(new CFORectShape);
    EXPECT_EQ(shape->GetRefCount(), 1);
    {
        CFODrawShapeSet owning;
        owning.AddTail(shape);
        CFOTypedShapeObList listing;
        listing.AddTail(shape);
        EXPECT_EQ(shape->GetRefCount(), 2);

        CFODrawShapeSet copy = owning;
        EXPECT_EQ(shape->GetRefCount(), 3);
        CFODrawShapeSet moved = std::move(copy);
        EXPECT_EQ(shape->GetRefCount(), 3);
        EXPECT_TRUE(copy.IsEmpty());

        CFOShapePtr<CFODrawShape> taken = moved.TakeAt(0);
        EXPECT_TRUE(moved.IsEmpty());
        EXPECT_EQ(shape->GetRefCount(), 3);
        taken.Reset();
        EXPECT_EQ(shape->GetRefCount(), 2);

        CFOShapePtr<CFODrawShape> other(new CFORectShape);
        EXPECT_TRUE(owning.SetAt(0, other));
        EXPECT_EQ(shape->GetRefCount(), 1);
        EXPECT_EQ(other->GetRefCount(), 2);
        EXPECT_FALSE(owning.SetAt(5, shape));
    }
    EXPECT_EQ(shape->GetRefCount(), 1);

    // A shape the model drops while a view still holds it stays alive for that view.
    CFODataModel model;
    model.InsertShape(shape);
    EXPECT_EQ(shape->GetRefCount(), 2);
    model.RemoveAllShapes();
    EXPECT_EQ(shape->GetRefCount(), 1);
    EXPECT_EQ(shape->GetModel(), nullptr);
}

TEST_F(FigkitViews, HandlesOfModelsAndCanvasesGoWithThem)
{
    auto* model = new CFODataModel;
    auto* canvas = new CFOPDrawWnd;
    const DWORD modelHandle = model->GetModelHandle();
    const DWORD canvasHandle = canvas->GetCanvasHandle();
    EXPECT_NE(modelHandle, 0u);
    EXPECT_EQ(CFODataModel::FromModelHandle(modelHandle), model);
    EXPECT_EQ(CFOPDrawWnd::FromCanvasHandle(canvasHandle), canvas);
    delete model;
    delete canvas;
    EXPECT_EQ(CFODataModel::FromModelHandle(modelHandle), nullptr);
    EXPECT_EQ(CFOPDrawWnd::FromCanvasHandle(canvasHandle), nullptr);
    // A new model in the freed slot does not answer to the old handle.
    CFODataModel next;
    EXPECT_NE(next.GetModelHandle(), modelHandle);
    EXPECT_EQ(CFODataModel::FromModelHandle(modelHandle), nullptr);
    EXPECT_EQ(CFODataModel::FromModelHandle(0), nullptr);
    EXPECT_EQ(CFODataModel::FromModelHandle(0xFFFFFFFF), nullptr);
}
