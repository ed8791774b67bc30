#include "FigkitTestSupport.h"
#include "support/ModalHook.h"

#include "figkit/FODataModel.h"
#include "figkit/FOPCanvasCore.h"
#include "figkit/FOPGaugeCircularShape.h"
#include "figkit/FOPValueDriverShapes.h"
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
    std::vector<std::pair<CFODrawShape*, double>> drags;
    void DoEventDragSlider(CFODrawShape* pShape, double dValue) override
    {
        drags.emplace_back(pShape, dValue);
    }
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

TEST_F(FigkitCanvas, DragsOutsideDesignModeReportTheDraggedValue)
{
    CFODataModel model;
    CRecordingCanvas canvas;
    ASSERT_TRUE(canvas.CreateCanvas(nullptr, CRect(0, 0, 400, 300)));
    canvas.SetCurrentModel(&model);
    // A straight path from (100, 200) to (300, 200) over 0 to 10, moving the shape named "M".
    auto* path = new CFOPMovePathShape;
    const CPoint pts[] = {{100, 200}, {300, 200}};
    path->Create(pts, 2);
    path->SetMaxValue(10.0);
    path->SetLinkPathShape(L"M");
    model.InsertShape(path);
    CRect rc(90, 190, 110, 210);
    CFODrawShape* moved = model.DoCreateShapeByType(FO_COMP_RECTANGLE, rc, CString());
    moved->SetKeyId1(L"M");
    model.InsertShape(moved);
    moved->Release();
    EXPECT_EQ(path->GetMoveShape(), moved) << "the link names the moved shape";

    // Design mode: the canvas edits, nothing is reported.
    canvas.OnLButtonDown(MK_LBUTTON, CPoint(200, 200));
    canvas.OnLButtonUp(0, CPoint(200, 200));
    EXPECT_TRUE(canvas.drags.empty());
    canvas.SetDesignMode(FALSE);

    // Pressing the moved shape drags the path's value: the point nearest the mouse on the path.
    const CPoint at = moved->GetSnapRect().CenterPoint();
    canvas.OnLButtonDown(MK_LBUTTON, at);
    canvas.OnMouseMove(MK_LBUTTON, CPoint(150, 230));
    canvas.OnMouseMove(MK_LBUTTON, CPoint(150, 230));
    canvas.OnMouseMove(MK_LBUTTON, CPoint(400, 180));
    canvas.OnLButtonUp(0, CPoint(400, 180));
    using Drag = std::pair<CFODrawShape*, double>;
    EXPECT_EQ(canvas.drags, (std::vector<Drag>{{path, 0.0}, {path, 2.5}, {path, 10.0}}))
        << "one report per new value";
    EXPECT_TRUE(canvas.clicks.empty()) << "a drag is no click";

    // A dial reports the value its pointer sets; a plain shape reports nothing.
    canvas.drags.clear();
    CRect rg(10, 10, 90, 90);
    CFODrawShape* gauge = model.DoCreateShapeByType(FO_COMP_GAUGE_CIRCULAR, rg, CString());
    model.InsertShape(gauge);
    gauge->Release();
    canvas.OnLButtonDown(MK_LBUTTON, CPoint(20, 50));
    canvas.OnMouseMove(MK_LBUTTON, CPoint(80, 50));
    canvas.OnLButtonUp(0, CPoint(80, 50));
    ASSERT_FALSE(canvas.drags.empty());
    EXPECT_EQ(canvas.drags.back(), Drag(gauge, gauge->GetCurrentValue()));
    canvas.drags.clear();
    CRect rp(150, 20, 250, 80);
    CFODrawShape* plain = model.DoCreateShapeByType(FO_COMP_RECTANGLE, rp, CString());
    model.InsertShape(plain);
    plain->Release();
    canvas.OnLButtonDown(MK_LBUTTON, CPoint(200, 50));
    canvas.OnMouseMove(MK_LBUTTON, CPoint(220, 60));
    canvas.OnLButtonUp(0, CPoint(220, 60));
    EXPECT_TRUE(canvas.drags.empty());
}

TEST_F(FigkitCanvas, AMenuButtonRaisesTheEventOfTheChosenEntry)
{
    CFODataModel model;
    struct CEventCanvas : CRecordingCanvas
    {
        std::vector<std::pair<int, CString>> events;
        void DoEventAtAllGeometryUp(CFODrawShape*, int nKind, const CString& strEvent) override
        {
            events.emplace_back(nKind, strEvent);
        }
    } canvas;
    ASSERT_TRUE(canvas.CreateCanvas(nullptr, CRect(0, 0, 300, 200)));
    canvas.SetCurrentModel(&model);
    canvas.SetDesignMode(FALSE);
    CRect rc(10, 10, 110, 34);
    CFODrawShape* button = model.DoCreateShapeByType(FO_COMP_MENUBUTTON, rc, CString());
    model.InsertShape(button);
    button->Release();
    // Damaged entries still list: no body, a type that is no number.
    button->SetStateString(L"A$5#Two.xdg@B@C$x#Text@D$13#Lamp");
    struct Case
    {
        int answer;
        std::vector<std::pair<int, CString>> events;
    } cases[] = {{0, {}}, {1, {{5, L"Two.xdg"}}}, {2, {}}, {3, {}}, {4, {{13, L"Lamp"}}}, {9, {}}};
    for (const Case& c : cases)
    {
        canvas.events.clear();
        int menus = 0;
        CModalHookScope hook(
            [&](const AfxModalRequest& r)
            {
                menus += r.kind == AfxModalKind::PopupMenu;
                return c.answer;
            });
        canvas.OnLButtonDown(MK_LBUTTON, CPoint(50, 20));
        canvas.OnLButtonUp(0, CPoint(50, 20));
        EXPECT_EQ(menus, 1) << c.answer;
        EXPECT_EQ(canvas.events, c.events) << c.answer;
        EXPECT_TRUE(canvas.clicks.empty());
    }
}
