#include "FigkitTestSupport.h"

#include "figkit/FODataModel.h"
#include "figkit/FOPCanvasCore.h"
#include "figkit/FORectShape.h"

#include <gtest/gtest.h>

#include <set>

using namespace figkit_test;

namespace
{
// A shape that counts its timer calls.
class CTickShape : public CFORectShape
{
public:
    int ticks = 0;
    int lastId = -1;
    void OnTimer(int nTimerId) override
    {
        ++ticks;
        lastId = nTimerId;
    }
};

// A canvas that records what it redraws and which events it gets.
class CRecordingCanvas : public CFOPDrawWnd
{
public:
    std::multiset<CFODrawShape*> invalidated;
    std::vector<CFODrawShape*> clicks;
    void InvalidateShape(CFODrawShape* pShape) override
    {
        invalidated.insert(pShape);
        CFOPDrawWnd::InvalidateShape(pShape);
    }
    void DoButtonClickEvent(CFODrawShape* pShape) override { clicks.push_back(pShape); }
};

} // namespace

class FigkitCanvas : public ::testing::Test
{
protected:
    void SetUp() override { EnsureApp(); }
};

TEST_F(FigkitCanvas, ShapeTimersRunOnTheCanvasUntilStopped)
{
    CFODataModel model;
    CRecordingCanvas canvas;
    ASSERT_TRUE(canvas.CreateCanvas(nullptr, CRect(0, 0, 200, 200)));
    canvas.SetCurrentModel(&model);
    auto* shape = new CTickShape;
    model.InsertShape(shape);
    EXPECT_EQ(shape->GetParentWnd(), &canvas);

    const int id = shape->RegisterTimerEvent(shape, 10);
    EXPECT_GE(id, 1);
    EXPECT_TRUE(PumpUntil([&] { return shape->ticks >= 2; }));
    EXPECT_EQ(shape->lastId, id);
    EXPECT_EQ(canvas.GetShapeTimerCount(), 1);
    shape->UnregisterTimerEvent(id);
    const int seen = shape->ticks;
    PumpUntil([] { return false; }, 60);
    EXPECT_EQ(shape->ticks, seen);
    EXPECT_FALSE(CFOPDrawWnd::DispatchShapeTimer(id));

    // A second timer gets a new id; it goes when its shape goes.
    const int id2 = shape->RegisterTimerEvent(shape, 1000);
    EXPECT_GT(id2, id);
    model.RemoveShape(shape); // the model's reference was the last one
    EXPECT_FALSE(CFOPDrawWnd::IsShapeTimerRunning(id2));
    EXPECT_EQ(canvas.GetShapeTimerCount(), 0);

    // Without a canvas there is no timer.
    CTickShape alone;
    EXPECT_EQ(alone.RegisterTimerEvent(&alone, 10), -1);
}

TEST_F(FigkitCanvas, RedrawsExactlyTheListedShapes)
{
    CFODataModel model;
    CRecordingCanvas canvas;
    ASSERT_TRUE(canvas.CreateCanvas(nullptr, CRect(0, 0, 200, 200)));
    canvas.SetCurrentModel(&model);
    std::vector<CFODrawShape*> shapes;
    for (int i = 0; i < 4; ++i)
    {
        CRect rc(i * 40, 0, i * 40 + 30, 30);
        CFODrawShape* s = model.DoCreateShapeByType(FO_COMP_RECTANGLE, rc, CString());
        model.InsertShape(s);
        s->Release();
        shapes.push_back(s);
    }
    canvas.invalidated.clear();
    CFOTypedShapeObList list;
    list.AddTail(shapes[1]);
    list.AddTail(shapes[3]);
    canvas.UpdateShapes(&list, 0, 0);
    EXPECT_EQ(canvas.invalidated, (std::multiset<CFODrawShape*>{shapes[1], shapes[3]}));
}

TEST_F(FigkitCanvas, ClicksReachShapesAndTheProgramOnlyAtRunTime)
{
    CFODataModel model;
    CRecordingCanvas canvas;
    ASSERT_TRUE(canvas.CreateCanvas(nullptr, CRect(0, 0, 200, 200)));
    canvas.SetCurrentModel(&model);
    CRect rc(10, 10, 60, 60);
    CFODrawShape* s = model.DoCreateShapeByType(FO_COMP_RECTANGLE, rc, CString());
    model.InsertShape(s);
    s->Release();

    canvas.OnLButtonDown(0, CPoint(30, 30));
    canvas.OnLButtonUp(0, CPoint(30, 30));
    EXPECT_TRUE(canvas.clicks.empty()); // design mode

    canvas.SetDesignMode(FALSE);
    canvas.OnLButtonDown(0, CPoint(30, 30));
    canvas.OnLButtonUp(0, CPoint(30, 30));
    ASSERT_EQ(canvas.clicks.size(), 1u);
    EXPECT_EQ(canvas.clicks[0], s);
    canvas.OnLButtonDown(0, CPoint(30, 30));
    canvas.OnLButtonUp(0, CPoint(150, 150)); // released elsewhere
    EXPECT_EQ(canvas.clicks.size(), 1u);

    // A pressed shape that leaves the model is not used afterwards.
    canvas.OnLButtonDown(0, CPoint(30, 30));
    model.RemoveAllShapes();
    canvas.OnLButtonUp(0, CPoint(30, 30));
    EXPECT_EQ(canvas.clicks.size(), 1u);
}

TEST_F(FigkitCanvas, CanvasAndModelMayGoInEitherOrder)
{
    auto* model = new CFODataModel;
    auto* canvas = new CFOPDrawWnd;
    canvas->SetCurrentModel(model);
    delete model;
    EXPECT_EQ(canvas->GetCurrentModel(), nullptr);
    delete canvas;

    CFODataModel model2;
    {
        CFOPDrawWnd canvas2;
        canvas2.SetCurrentModel(&model2);
        EXPECT_TRUE(model2.HasObserver(&canvas2));
    }
    EXPECT_EQ(model2.GetObserverCount(), 0);
}
