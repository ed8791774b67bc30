// The library's drawn shapes: value math, timers, records, mouse on a real canvas, and a gallery.
#include "ModelTestSupport.h"

#include "figkit/FOArchiveHelper.h"
#include "figkit/FOPCanvasCore.h"
#include "mfc/Dc.h"
#include "model/AnimatedLinkShape.h"
#include "model/ExtMeterShape.h"
#include "model/FOHighEllipseShape.h"
#include "model/GaugeShapes.h"
#include "model/GaugeTankShape.h"
#include "model/MyDeferentShape.h"
#include "model/MyNewPipeShape.h"
#include "model/MyPieProgressShape.h"
#include "model/SliderShapes.h"
#include "model/XVKDataModel.h"
#include "support/PumpUntil.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

#include <cmath>
#include <functional>
#include <limits>

using namespace model_test;

namespace
{
class CClickCanvas : public CFOPDrawWnd
{
public:
    std::vector<CFODrawShape*> clicks;
    void DoButtonClickEvent(CFODrawShape* pShape) override { clicks.push_back(pShape); }
};

template <class T> T* Place(CXVKDataModel& model, UINT type, CRect rc)
{
    CFODrawShape* s = model.DoCreateShapeByType(type, rc, CString());
    model.InsertShape(s);
    s->Release();
    return dynamic_cast<T*>(s);
}

CMyNewPipeShape* PlacePipe(CXVKDataModel& model, std::initializer_list<CPoint> pts)
{
    CRect none;
    auto* pipe = Place<CMyNewPipeShape>(model, 697, none);
    std::vector<CPoint> v(pts);
    pipe->Create(v.data(), int(v.size()));
    pipe->UpdateComp();
    return pipe;
}

void Paint(CXVKDataModel& model, int w = 400, int h = 400)
{
    QImage image(w, h, QImage::Format_RGB32);
    CImageDC dc(image);
    model.OnDraw(&dc, CRect(0, 0, w, h));
}

void Mouse(QWidget* w, QEvent::Type type, CPoint pt)
{
    const QPointF p(pt.x, pt.y);
    QMouseEvent e(type, p, w->mapToGlobal(p), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
} // namespace

class DrawnShapes : public ::testing::Test
{
protected:
    void SetUp() override { AfxEnsureApplication(); }
};

TEST_F(DrawnShapes, SliderValueCountsFromTheMinimum)
{
    // Groove from left + 8 over width - 16 = 100 units.
    struct Case
    {
        double lo, hi;
        int x;
        int value;
    } cases[] = {
        {50, 150, 8, 50},   {50, 150, 58, 100}, {50, 150, 108, 150}, {50, 150, 200, 150}, {50, 150, -30, 50},
        {-100, 0, 58, -50}, {-100, 0, 8, -100}, {0, 100, 33, 25},    {7, 7, 58, 7},
    };
    for (const Case& c : cases)
    {
        CMyHorzSliderShape h;
        CRect rc(0, 0, 116, 40);
        h.Create(rc);
        h.SetMinValue(c.lo);
        h.SetMaxValue(c.hi);
        EXPECT_EQ(h.ValueFromPoint(CPoint(c.x, 20)), c.value) << c.lo << ".." << c.hi << " x " << c.x;
        CMyVertSliderShape v;
        CRect rv(0, 0, 40, 116);
        v.Create(rv);
        v.SetMinValue(c.lo);
        v.SetMaxValue(c.hi);
        EXPECT_EQ(v.ValueFromPoint(CPoint(20, c.x)), c.value) << "vertical " << c.x;
    }
    // Negative values go out and come back as themselves, never as huge unsigned numbers.
    CMyHorzSliderShape s;
    s.SetCurValue(-42);
    EXPECT_EQ(s.GetCurrentText(), CString(L"-42"));
    EXPECT_EQ(s.GetCurValue(), -42);
    CString edit;
    s.GetCurrentEditText(edit);
    EXPECT_EQ(edit, CString(L"-42"));
    s.SetCurrentEditText(L"-7.9");
    EXPECT_EQ(s.GetCurValue(), -7);
    s.SetCurrentText(CString());
    EXPECT_EQ(s.GetCurValue(), 0);
    // The thumb stands at value - min of the groove; equal bounds put it at the groove's start.
    CRect rc(0, 0, 116, 40);
    s.Create(rc);
    s.SetMinValue(50);
    s.SetMaxValue(150);
    s.SetCurValue(100);
    EXPECT_EQ(s.ThumbCentre(rc), 58);
    s.SetMaxValue(50);
    EXPECT_EQ(s.ThumbCentre(rc), 8);
}

TEST_F(DrawnShapes, HighLightEllipseValueAndFillCountFromTheMinimum)
{
    // Box 0..100 both ways; snapping off unless a step is given.
    struct Case
    {
        int direction;
        double lo, hi;
        CPoint pt;
        double step;
        double value;
    } cases[] = {
        {CFOHighEllipseShape::FROM_BOTTOM, 50, 100, {50, -10}, 0, 100}, // above the top: max
        {CFOHighEllipseShape::FROM_BOTTOM, 50, 100, {50, 50}, 0, 75},
        {CFOHighEllipseShape::FROM_BOTTOM, 50, 100, {50, 130}, 0, 50}, // below the bottom: min
        {CFOHighEllipseShape::FROM_TOP, 0, 100, {50, 25}, 0, 25},
        {CFOHighEllipseShape::FROM_RIGHT, 0, 100, {25, 50}, 0, 75},
        {CFOHighEllipseShape::FROM_LEFT, -100, 100, {75, 50}, 0, 50},
        {CFOHighEllipseShape::FROM_LEFT, 0, 100, {38, 50}, 5, 35}, // 37.8 snaps down to 35
        {CFOHighEllipseShape::FROM_LEFT, 0, 100, {100, 50}, 5, 100},
    };
    for (const Case& c : cases)
    {
        CFOHighEllipseShape e;
        CRect rc(0, 0, 100, 100);
        e.Create(rc);
        e.SetMinValue(c.lo);
        e.SetMaxValue(c.hi);
        e.PutPropIntValue(CFOHighEllipseShape::PROP_DIRECTION, c.direction);
        if (c.step > 0)
        {
            e.PutPropBoolValue(CFOHighEllipseShape::PROP_SNAP, TRUE);
            e.PutPropDoubleValue(CFOHighEllipseShape::PROP_SNAP_STEP, c.step);
        }
        EXPECT_NEAR(e.ValueFromPoint(c.pt), c.value, 0.75) << c.direction << " " << c.lo << " " << c.pt.y;
    }
    // Fill half angle: (v - min) / (max - min) of 180 degrees; equal bounds full above, else none.
    struct Fill
    {
        double lo, hi, v;
        int half;
    } fills[] = {{50, 100, 50, -1},   {50, 100, 75, 9000}, {50, 100, 100, 18000},
                 {0, 100, 50, 9000},  {0, 100, 0, -1},     {0, 100, 150, 18000},
                 {30, 30, 31, 18000}, {30, 30, 30, -1},    {30, 30, 10, -1}};
    for (const Fill& f : fills)
    {
        CFOHighEllipseShape e;
        e.SetMinValue(f.lo);
        e.SetMaxValue(f.hi);
        e.SetCurrentValue(f.v);
        EXPECT_EQ(e.GetFillHalfAngle(), f.half) << f.lo << ".." << f.hi << " v " << f.v;
    }
    int s = 0, e = 0;
    CFOHighEllipseShape::FillAngles(9000, CFOHighEllipseShape::FROM_BOTTOM, s, e);
    EXPECT_EQ(s, 18000);
    EXPECT_EQ(e, 0); // the bottom half, from 180 round to 360
    CFOHighEllipseShape::FillAngles(4500, CFOHighEllipseShape::FROM_LEFT, s, e);
    EXPECT_EQ(s, 13500);
    EXPECT_EQ(e, 22500);
}

TEST_F(DrawnShapes, PiePercentAndMeterNeedle)
{
    struct Pie
    {
        int a, b, pos;
        int percent;
    } pies[] = {{100, 0, 50, 50}, {0, 100, 5, 5}, {0, 100, 150, 100}, {20, 20, 20, 0}, {-50, 50, 0, 50}};
    for (const Pie& p : pies)
    {
        CMyPieProgressShape pie;
        pie.SetRange(p.a, p.b);
        EXPECT_EQ(pie.SetPos(p.pos), p.pos);
        EXPECT_EQ(pie.GetPercent(), p.percent) << p.a << " " << p.b << " " << p.pos;
    }
    CMyPieProgressShape pie;
    int lo = 0, hi = 0;
    pie.SetRange(100, 0);
    pie.GetRange(lo, hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 100);
    // The animation restarts only at exactly 100: a range ending below stops at its end.
    pie.SetRange(0, 90);
    pie.SetPos(85);
    pie.DoAnimate();
    pie.DoAnimate();
    EXPECT_EQ(pie.GetPos(), 90);
    pie.SetRange(0, 100);
    pie.SetPos(100);
    pie.DoAnimate();
    EXPECT_EQ(pie.GetPos(), 0);

    struct Needle
    {
        double lo, hi, v;
        double angle;
    } needles[] = {{-5, 5, 0, 90}, {-5, 5, 5, 60}, {-5, 5, 50, 60}, {-5, 5, -50, 120},
                   {3, 3, 4, 60},  {3, 3, 3, 120}, {3, 3, 1, 120},  {0, 10, std::nan(""), 120}};
    for (const Needle& n : needles)
    {
        CExtMeterShape m;
        m.SetRange(n.lo, n.hi);
        m.SetMeterValue(n.v);
        EXPECT_NEAR(m.GetNeedleAngle(), n.angle, 1e-9) << n.lo << ".." << n.hi << " v " << n.v;
    }
    // The sweep turns one step past each end.
    CExtMeterShape m;
    int steps = 0;
    while (m.GetAnimationStep() > 0 && steps < 100)
    {
        m.AnimateStep();
        ++steps;
    }
    EXPECT_NEAR(m.GetAnimationPosition(), 5.2, 1e-9);
    EXPECT_NEAR(steps, 25, 1);
    while (m.GetAnimationStep() < 0 && steps < 200)
    {
        m.AnimateStep();
        ++steps;
    }
    // At the minimum it turns to one step inside.
    EXPECT_NEAR(m.GetAnimationPosition(), -4.8, 1e-9);
}

TEST_F(DrawnShapes, BandsStripesPipesAndLinksDrawWithSafeValues)
{
    CMyDeferentShape d;
    auto bands = d.LayoutBands(0, 100);
    ASSERT_EQ(bands.size(), 5u);
    EXPECT_EQ(bands.back().nFrom, 80);
    EXPECT_EQ(bands.back().nTo, 100);
    d.SetPhase(5);
    bands = d.LayoutBands(0, 100);
    ASSERT_EQ(bands.size(), 6u);
    EXPECT_EQ(bands[0].nTo, 5);
    EXPECT_EQ(bands.back().nFrom, 85);
    for (int width : {0, -5, std::numeric_limits<int>::min()})
    {
        d.SetBandWidth(width);
        d.SetPhase(0);
        EXPECT_EQ(d.LayoutBands(0, 50).size(), 50u);
        d.Step();
        EXPECT_EQ(d.GetBandWidth(), width);
    }
    DWORD pattern[4];
    CMyNewPipeShape::FlowPattern(11, 4, pattern);
    EXPECT_EQ(std::vector<DWORD>(pattern, pattern + 4), (std::vector<DWORD>{0, 4, 40, 4}));
    CMyNewPipeShape::FlowPattern(3, 0, pattern);
    EXPECT_EQ(std::vector<DWORD>(pattern, pattern + 4), (std::vector<DWORD>{3, 2, 7, 0}));
    const CPoint line[] = {{0, 0}, {100, 0}};
    EXPECT_EQ(CMyNewPipeShape::InnerPoints(line, 2, FALSE, 3).front(), CPoint(3, 0));
    EXPECT_EQ(CMyNewPipeShape::InnerPoints(line, 2, TRUE, 3).front(), CPoint(0, 0));
    const CPoint same[] = {{5, 5}, {5, 5}};
    EXPECT_EQ(CMyNewPipeShape::InnerPoints(same, 2, FALSE, 3).back(), CPoint(5, 5));

    CXVKDataModel model;
    auto* pipe = PlacePipe(model, {{10, 10}, {200, 10}});
    pipe->SetPipeLineWidth(-3);
    auto* one = PlacePipe(model, {{10, 50}});
    auto* link = Place<CAnimatedLinkShape>(model, 622, CRect(0, 0, 0, 0));
    link->AllocMemory(1);
    CExtMeterShape* flat = Place<CExtMeterShape>(model, 607, CRect(0, 0, 200, 0));
    Paint(model);
    EXPECT_EQ(pipe->GetPipeLineWidth(), -3);
    EXPECT_EQ(one->GetPointCount(), 1);
    EXPECT_EQ(link->CalcDotPoint(), CPoint(0, 0));
    EXPECT_NE(flat, nullptr);
    // Frames run 0 .. 11 and round.
    CMyNewPipeShape p;
    std::vector<int> frames;
    for (int i = 0; i < 13; ++i)
    {
        p.DoAnimate();
        frames.push_back(p.GetFlowFrame());
    }
    EXPECT_EQ(frames, (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 1, 2, 3}));
}

TEST_F(DrawnShapes, GaugesShowTheirPhasesAndClampTheirValues)
{
    CFOPGaugeMultiPhaseBarShape bar;
    EXPECT_EQ(bar.GetIndicator()->GetValue(), 85.0);
    EXPECT_EQ(bar.GetIndicator()->PhaseColorAt(85.0, 0), COLORREF(0x0000FF));
    EXPECT_EQ(bar.GetIndicator()->GetPhaseCount(), 3);
    CFOPGaugeMultiPhaseEllipseShape ellipse;
    EXPECT_EQ(ellipse.GetIndicator()->PhaseColorAt(50.0, 0), COLORREF(0x00FFFF));
    EXPECT_NE(ellipse.GetNumber(), nullptr);
    EXPECT_EQ(bar.GetNumber(), nullptr);
    // The knob's scale runs clockwise from lower left round to lower right, the gap at the bottom;
    // a pointer maps back to the value under it.
    CFOPGaugeKnobShape knob;
    CRect rc(0, 0, 200, 200);
    knob.Create(rc);
    auto* round = dynamic_cast<CFOPMeterEllipticalScale*>(knob.GetMeterScale());
    ASSERT_NE(round, nullptr);
    const CPoint c = round->GetCentre();
    EXPECT_GT(round->ValueToRadiusPoint(0, 1.0).y, c.y);
    EXPECT_LT(round->ValueToRadiusPoint(0, 1.0).x, c.x);
    EXPECT_LT(round->ValueToRadiusPoint(50, 1.0).y, c.y);
    EXPECT_GT(round->ValueToRadiusPoint(100, 1.0).x, c.x);
    for (double v : {0.0, 24.0, 50.0, 76.0, 100.0})
        EXPECT_NEAR(round->PointToValue(round->ValueToRadiusPoint(v, 0.8)), v, 1.0) << v;
    EXPECT_EQ(round->PointToValue(CPoint(c.x - 3, c.y + 90)), 0.0);
    EXPECT_EQ(round->PointToValue(CPoint(c.x + 3, c.y + 90)), 100.0);
    EXPECT_EQ(knob.GetIndicator()->Quantize(37.2), 38.0);
    // Tick and quantize units that would never advance draw no ticks and round nothing.
    for (double unit : {0.0, -2.0, std::nan(""), std::numeric_limits<double>::infinity()})
    {
        round->SetTickUnit(unit);
        knob.GetIndicator()->SetQuantizeUnit(unit);
        EXPECT_EQ(knob.GetIndicator()->Quantize(37.2), 37.2);
        QImage image(220, 220, QImage::Format_RGB32);
        CImageDC dc(image);
        knob.OnDraw(&dc);
    }

    // Out of range and equal bounds stand at the ends.
    CFOPMeterScale scale;
    scale.SetMinimum(0);
    scale.SetMaximum(100);
    EXPECT_EQ(scale.ValueToFraction(150), 1.0);
    EXPECT_EQ(scale.ValueToFraction(-1), 0.0);
    scale.SetMaximum(0);
    EXPECT_EQ(scale.ValueToFraction(1), 1.0);
    EXPECT_EQ(scale.ValueToFraction(0), 0.0);
    EXPECT_EQ(scale.ValueToFraction(std::nan("")), 0.0);

    CFOPGaugeTankShape tank;
    tank.SetMaxValue(80);
    tank.SetCurrentValue(95);
    EXPECT_EQ(tank.GetCurrentValue(), 80.0);
    tank.PutPropIntValue(CFOPGaugeTankShape::PROP_STYLE_1911, 2);
    EXPECT_EQ(tank.GetMeterScale()->GetStyle(3), 2);
    tank.PutPropIntValue(CFOPGaugeTankShape::PROP_STYLE_1911, 4); // 0 to 3 only
    EXPECT_EQ(tank.GetMeterScale()->GetStyle(3), 2);
    tank.PutPropIntValue(CFOPGaugeTankShape::PROP_STYLE_1913, 6);
    EXPECT_EQ(tank.GetMeterScale()->GetStyle(4), 6);
    tank.PutPropIntValue(CFOPGaugeTankShape::PROP_STYLE_1908, -1);
    EXPECT_EQ(tank.GetMeterScale()->GetStyle(2), 2);
}

TEST_F(DrawnShapes, TimersRunOnlyWhenPaintedOutsideDesignModeAndBigEnough)
{
    struct Case
    {
        UINT type;
        int period;
    } cases[] = {{605, 400}, {607, 100}, {616, 500}, {621, 500}, {622, 50}, {626, 400}, {697, 100}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.type);
        CXVKDataModel model;
        CFOPDrawWnd canvas;
        ASSERT_TRUE(canvas.CreateCanvas(nullptr, CRect(0, 0, 400, 400)));
        canvas.SetCurrentModel(&model);
        CFODrawShape* big = c.type == 697 ? PlacePipe(model, {{20, 20}, {150, 150}})
                                          : Place<CFODrawShape>(model, c.type, CRect(20, 20, 150, 150));
        CFODrawShape* small = c.type == 697 ? PlacePipe(model, {{300, 300}, {318, 318}})
                                            : Place<CFODrawShape>(model, c.type, CRect(300, 300, 318, 318));
        if (c.type == 622)
        {
            const CPoint pts[] = {{20, 20}, {150, 150}};
            static_cast<CAnimatedLinkShape*>(big)->Create(pts, 2, nullptr, nullptr);
        }
        // Design mode: painting starts nothing.
        Paint(model);
        EXPECT_EQ(canvas.GetShapeTimerCount(), 0);
        canvas.SetDesignMode(FALSE);
        Paint(model);
        EXPECT_EQ(canvas.GetShapeTimerCount(), 1);
        // 1924 off: nothing; back on: runs.
        big->PutPropBoolValue(XVK_PROP_ANIMATION, FALSE);
        canvas.SetDesignMode(TRUE);
        Paint(model);
        EXPECT_EQ(canvas.GetShapeTimerCount(), 0);
        canvas.SetDesignMode(FALSE);
        Paint(model);
        EXPECT_EQ(canvas.GetShapeTimerCount(), 0);
        big->PutPropBoolValue(XVK_PROP_ANIMATION, TRUE);
        Paint(model);
        ASSERT_EQ(canvas.GetShapeTimerCount(), 1);
        EXPECT_TRUE(PumpUntil([&] { return canvas.GetShapeTimerCount() == 1 && small; }, 10));
        // Off its canvas: stopped.
        big->SetParentWnd(nullptr);
        EXPECT_EQ(canvas.GetShapeTimerCount(), 0);
        big->SetParentWnd(&canvas);
        Paint(model);
        EXPECT_EQ(canvas.GetShapeTimerCount(), 1);
        // Destroyed: stopped.
        model.RemoveShape(big);
        EXPECT_EQ(canvas.GetShapeTimerCount(), 0);
    }
}

TEST_F(DrawnShapes, AnimationIsOnUnlessTheScreenFileStoredItOff)
{
    // A shape saved without property 1924 animates after loading; one saved with it keeps its value.
    for (UINT type : {605u, 607u, 616u, 621u, 622u, 626u, 697u})
    {
        SCOPED_TRACE(type);
        CXVKDataModel model;
        CFODrawShape* shapes[3] = {};
        for (int i = 0; i < 3; ++i)
        {
            const CRect rc(20 + 120 * i, 20, 130 + 120 * i, 150);
            shapes[i] = type == 697 ? PlacePipe(model, {rc.TopLeft(), rc.BottomRight()})
                                    : Place<CFODrawShape>(model, type, rc);
            if (type == 622)
            {
                const CPoint pts[] = {rc.TopLeft(), rc.BottomRight()};
                static_cast<CAnimatedLinkShape*>(shapes[i])->Create(pts, 2, nullptr, nullptr);
            }
            shapes[i]->SetObjectName(i == 0 ? L"s0" : i == 1 ? L"s1" : L"s2");
        }
        shapes[1]->PutPropBoolValue(XVK_PROP_ANIMATION, FALSE);
        shapes[2]->PutPropBoolValue(XVK_PROP_ANIMATION, TRUE);
        const std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { model.Serialize(ar); });

        CXVKDataModel back;
        LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
        // The demo shape every loaded screen gets animates at a place of its own; only ours count.
        std::vector<CFODrawShape*> demo;
        for (CFODrawShape* shape : *back.GetShapes())
            if (shape->GetObjectName().Left(1) != L"s")
                demo.push_back(shape);
        for (CFODrawShape* shape : demo)
            back.RemoveShape(shape);
        CFOPDrawWnd canvas;
        ASSERT_TRUE(canvas.CreateCanvas(nullptr, CRect(0, 0, 400, 400)));
        canvas.SetCurrentModel(&back);
        canvas.SetDesignMode(FALSE);
        Paint(back);
        EXPECT_EQ(canvas.GetShapeTimerCount(), 2);
        const std::pair<const wchar_t*, BOOL> stored[] = {{L"s1", FALSE}, {L"s2", TRUE}};
        for (const auto& [name, value] : stored)
        {
            CFODrawShape* shape = back.FindCompWithName(name);
            ASSERT_NE(shape, nullptr);
            BOOL on = !value;
            EXPECT_TRUE(shape->GetPropBoolValue(on, XVK_PROP_ANIMATION));
            EXPECT_EQ(on, value);
        }
        ASSERT_NE(back.FindCompWithName(L"s0"), nullptr);
        EXPECT_EQ(back.FindCompWithName(L"s0")->FindProperty(XVK_PROP_ANIMATION), nullptr);
    }
}

TEST_F(DrawnShapes, TimersTickAtTheirPeriods)
{
    CXVKDataModel model;
    CFOPDrawWnd canvas;
    ASSERT_TRUE(canvas.CreateCanvas(nullptr, CRect(0, 0, 400, 400)));
    canvas.SetCurrentModel(&model);
    canvas.SetDesignMode(FALSE);
    auto* blink = Place<CExtEllipseShape>(model, 605, CRect(10, 10, 100, 100));
    auto* stripes = Place<CMyDeferentShape>(model, 626, CRect(10, 120, 200, 180));
    Paint(model);
    const COLORREF first = blink->GetBkColor();
    EXPECT_TRUE(PumpUntil([&] { return blink->GetBkColor() != first && stripes->GetPhase() == 5; }));
    EXPECT_EQ(blink->GetBkColor(), CExtEllipseShape::BLINK_OFF);
}

TEST_F(DrawnShapes, RecordsRoundTripWithTheirStoredFields)
{
    CXVKDataModel model;
    auto* e = Place<CFOHighEllipseShape>(model, 699, CRect(0, 0, 80, 80));
    e->SetCurrentValue(42.5);
    e->SetMinValue(10);
    auto* d = Place<CMyDeferentShape>(model, 626, CRect(0, 100, 200, 150));
    d->SetBandWidth(33);
    d->SetOrientation(1);
    auto* s = Place<CMyHorzSliderShape>(model, 624, CRect(0, 200, 160, 240));
    s->SetCurValue(-17);
    auto* tank = Place<CFOPGaugeTankShape>(model, 616, CRect(200, 0, 280, 160));
    tank->SetCurrentValue(35.0);
    tank->PutPropIntValue(CFOPGaugeTankShape::PROP_STYLE_1909, 3);
    auto* knob = Place<CFOPGaugeKnobShape>(model, 617, CRect(300, 0, 540, 240));
    knob->SetCurrentValue(64.0);
    auto* pipe = PlacePipe(model, {{0, 300}, {100, 300}, {100, 400}});
    pipe->SetPipeLineWidth(9);
    pipe->SetTimerSpeed(250);
    Place<CExtMeterShape>(model, 607, CRect(0, 400, 160, 560));
    Place<CMyPieProgressShape>(model, 621, CRect(200, 400, 360, 560));
    Place<CExtEllipseShape>(model, 605, CRect(400, 400, 560, 560));
    Place<CFOPGaugeMultiPhaseEllipseShape>(model, 618, CRect(600, 0, 840, 240));
    Place<CFOPGaugeMultiPhaseBarShape>(model, 619, CRect(600, 300, 670, 580));
    Place<CMyVertSliderShape>(model, 625, CRect(700, 300, 740, 460));

    const std::vector<BYTE> first = StoreBytes([&](CArchive& ar) { model.Serialize(ar); });
    CXVKDataModel back;
    LoadBytes(first, [&](CArchive& ar) { back.Serialize(ar); });
    const std::vector<BYTE> second = StoreBytes([&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(first, second);

    auto find = [&](UINT type) -> CFODrawShape*
    {
        for (CFODrawShape* shape : *back.GetShapes())
            if (shape->GetType() == type)
                return shape;
        return nullptr;
    };
    auto* e2 = dynamic_cast<CFOHighEllipseShape*>(find(699));
    ASSERT_NE(e2, nullptr);
    EXPECT_EQ(e2->GetCurrentValue(), 42.5);
    auto* d2 = dynamic_cast<CMyDeferentShape*>(find(626));
    ASSERT_NE(d2, nullptr);
    EXPECT_EQ(d2->GetBandWidth(), 33);
    EXPECT_EQ(d2->GetOrientation(), 1);
    EXPECT_EQ(d2->GetPhase(), 0);
    EXPECT_EQ(dynamic_cast<CMyHorzSliderShape*>(find(624))->GetCurValue(), -17);
    auto* t2 = dynamic_cast<CFOPGaugeTankShape*>(find(616));
    ASSERT_NE(t2, nullptr);
    EXPECT_EQ(t2->GetCurrentValue(), 35.0);
    EXPECT_EQ(t2->GetMeterScale()->GetStyle(1), 3);
    auto* k2 = dynamic_cast<CFOPGaugeKnobShape*>(find(617));
    ASSERT_NE(k2, nullptr);
    EXPECT_EQ(k2->GetIndicator()->GetValue(), 64.0);
    auto* p2 = dynamic_cast<CMyNewPipeShape*>(find(697));
    ASSERT_NE(p2, nullptr);
    EXPECT_EQ(p2->GetPipeLineWidth(), 9);
    EXPECT_EQ(p2->GetTimerSpeed(), 100); // not stored
    EXPECT_EQ(p2->GetFlowFrame(), -1);
    ASSERT_NE(dynamic_cast<CExtMeterShape*>(find(607)), nullptr);
    EXPECT_EQ(dynamic_cast<CExtMeterShape*>(find(607))->GetUnits(), CString(L"Volts"));

    // Every cut of the record fails cleanly.
    for (size_t cut = 0; cut < first.size(); cut += std::max<size_t>(1, first.size() / 97))
    {
        std::vector<BYTE> part(first.begin(), first.begin() + long(cut));
        CXVKDataModel broken;
        EXPECT_NE(ArchiveCause([&] { LoadBytes(part, [&](CArchive& ar) { broken.Serialize(ar); }); }), -1)
            << cut;
    }
}

TEST_F(DrawnShapes, GaugeRecordsOfTheFirstVersionStillLoad)
{
    // A first-version record: the shape's base part and the version, no parts.
    CFOPGaugeKnobShape old;
    CRect rc(0, 0, 100, 100);
    old.Create(rc);
    old.SetBkColor(RGB(1, 2, 3));
    const std::vector<BYTE> bytes = StoreBytes(
        [&](CArchive& ar)
        {
            old.CFODrawPortsShape::Serialize(ar);
            FOSerializeVersion(ar, 1);
        });
    CFOPGaugeKnobShape knob;
    LoadBytes(bytes, [&](CArchive& ar) { knob.Serialize(ar); });
    EXPECT_EQ(knob.GetBkColor(), RGB(1, 2, 3));
    auto* scale = dynamic_cast<CFOPMeterEllipticalScale*>(knob.GetMeterScale());
    ASSERT_NE(scale, nullptr);
    EXPECT_EQ(scale->GetSweepAngle(), 320.0);
    EXPECT_NE(dynamic_cast<CFOPIndicatorKnob*>(knob.GetIndicator()), nullptr);
    // A later version than this program knows is refused.
    const std::vector<BYTE> future = StoreBytes(
        [&](CArchive& ar)
        {
            old.CFODrawPortsShape::Serialize(ar);
            FOSerializeVersion(ar, 3);
        });
    EXPECT_EQ(ArchiveCause([&] { LoadBytes(future, [&](CArchive& ar) { knob.Serialize(ar); }); }),
              CArchiveException::badSchema);
}

TEST_F(DrawnShapes, MouseOnARealCanvasSetsValuesAndRaisesClicks)
{
    CXVKDataModel model;
    CClickCanvas canvas;
    ASSERT_TRUE(canvas.CreateCanvas(nullptr, CRect(0, 0, 400, 300)));
    canvas.SetCurrentModel(&model);
    canvas.ShowWindow(SW_SHOW);
    auto* slider = Place<CMyHorzSliderShape>(model, 624, CRect(10, 10, 126, 50));
    slider->SetMinValue(50);
    slider->SetMaxValue(150);
    slider->SetCurValue(50);
    auto* vslider = Place<CMyVertSliderShape>(model, 625, CRect(300, 10, 340, 126));
    auto* ellipse = Place<CFOHighEllipseShape>(model, 699, CRect(150, 100, 250, 200));
    ellipse->SetMinValue(50);
    ellipse->SetMaxValue(100);
    ellipse->PutPropIntValue(CFOHighEllipseShape::PROP_DIRECTION, CFOHighEllipseShape::FROM_BOTTOM);
    canvas.SetDesignMode(FALSE);
    Paint(model);
    QWidget* w = canvas.GetClientWidget();
    ASSERT_NE(w, nullptr);

    // Drag the thumb (at the groove's start) to the middle.
    const CPoint thumb = slider->GetThumbRect().CenterPoint();
    Mouse(w, QEvent::MouseButtonPress, thumb);
    EXPECT_TRUE(slider->IsDragging());
    Mouse(w, QEvent::MouseMove, CPoint(68, 30));
    EXPECT_EQ(slider->GetCurValue(), 100);
    Mouse(w, QEvent::MouseButtonRelease, CPoint(118, 30));
    EXPECT_EQ(slider->GetCurValue(), 150);
    ASSERT_EQ(canvas.clicks.size(), 1u);
    EXPECT_EQ(canvas.clicks[0], slider);

    // A press off the thumb drags nothing, but the release still sets the value and clicks.
    Mouse(w, QEvent::MouseButtonPress, CPoint(320, 110));
    EXPECT_FALSE(vslider->IsDragging());
    Mouse(w, QEvent::MouseButtonRelease, CPoint(320, 68));
    EXPECT_EQ(vslider->GetCurValue(), 50);
    EXPECT_EQ(canvas.clicks.size(), 2u);

    // The ellipse: dragged to the middle gives the middle of 50..100, to the top its maximum.
    Mouse(w, QEvent::MouseButtonPress, CPoint(200, 190));
    EXPECT_TRUE(ellipse->IsPressed());
    Mouse(w, QEvent::MouseMove, CPoint(200, 150));
    EXPECT_DOUBLE_EQ(ellipse->GetCurrentValue(), 75.0);
    Mouse(w, QEvent::MouseButtonRelease, CPoint(200, 99));
    EXPECT_DOUBLE_EQ(ellipse->GetCurrentValue(), 100.0);
    ASSERT_EQ(canvas.clicks.size(), 3u);
    EXPECT_EQ(canvas.clicks[2], ellipse);
    // A cancelled drag keeps the last value.
    Mouse(w, QEvent::MouseButtonPress, CPoint(200, 190));
    Mouse(w, QEvent::MouseMove, CPoint(200, 175));
    ellipse->OnCancelMode();
    EXPECT_FALSE(ellipse->IsPressed());
    EXPECT_DOUBLE_EQ(ellipse->GetCurrentValue(), 62.5);
    Mouse(w, QEvent::MouseButtonRelease, CPoint(200, 175));
}

// Every shape on one screen, grabbed from a real canvas window at the minimum and mid-range (shapes
// without a value: two animation steps apart). The pictures stay in drawn-gallery/ of the test's
// working folder.
TEST_F(DrawnShapes, GalleryAtMinimumAndMidRange)
{
    CXVKDataModel model;
    CFOPDrawWnd canvas;
    ASSERT_TRUE(canvas.CreateCanvas(nullptr, CRect(0, 0, 900, 620)));
    canvas.SetCurrentModel(&model);
    canvas.ShowWindow(SW_SHOW);
    auto* blink = Place<CExtEllipseShape>(model, 605, CRect(10, 10, 130, 110));
    auto* meter = Place<CExtMeterShape>(model, 607, CRect(150, 10, 310, 170));
    auto* tank = Place<CFOPGaugeTankShape>(model, 616, CRect(340, 40, 420, 200));
    auto* knob = Place<CFOPGaugeKnobShape>(model, 617, CRect(450, 10, 630, 190));
    auto* phases = Place<CFOPGaugeMultiPhaseEllipseShape>(model, 618, CRect(650, 10, 830, 190));
    auto* bar = Place<CFOPGaugeMultiPhaseBarShape>(model, 619, CRect(840, 10, 895, 230));
    auto* pie = Place<CMyPieProgressShape>(model, 621, CRect(10, 250, 130, 370));
    auto* link = Place<CAnimatedLinkShape>(model, 622, CRect(0, 0, 0, 0));
    const CPoint linkPts[] = {{150, 250}, {300, 250}, {300, 360}};
    link->Create(linkPts, 3, nullptr, nullptr);
    auto* hslider = Place<CMyHorzSliderShape>(model, 624, CRect(340, 250, 500, 290));
    auto* vslider = Place<CMyVertSliderShape>(model, 625, CRect(520, 230, 560, 390));
    auto* stripes = Place<CMyDeferentShape>(model, 626, CRect(580, 250, 820, 310));
    stripes->SetPatternColor(RGB(0, 0, 160));
    auto* pipe = PlacePipe(model, {{30, 450}, {300, 450}, {300, 580}, {600, 580}});
    pipe->SetPipeLineWidth(8);
    pipe->SetLineWidth(2);
    auto* ellipse = Place<CFOHighEllipseShape>(model, 699, CRect(650, 400, 850, 560));
    ellipse->SetObjectCaption(L"Level");
    ellipse->PutPropIntValue(CFOHighEllipseShape::PROP_DIRECTION, CFOHighEllipseShape::FROM_BOTTOM);
    // Run mode, with the shapes' own timers held still so that the two pictures are steady.
    for (CFODrawShape* s : *model.GetShapes())
        s->PutPropBoolValue(XVK_PROP_ANIMATION, FALSE);
    canvas.SetDesignMode(FALSE);

    auto setAll = [&](double f)
    {
        meter->SetMeterValue(-5.0 + 10.0 * f);
        tank->SetCurrentValue(100.0 * f);
        knob->SetCurrentValue(100.0 * f);
        phases->SetCurrentValue(100.0 * f);
        bar->SetCurrentValue(100.0 * f);
        pie->SetPos(int(100 * f));
        hslider->SetCurValue(int(100 * f));
        vslider->SetCurValue(int(100 * f));
        ellipse->SetCurrentValue(100.0 * f);
    };
    const QString dir = QDir::current().absoluteFilePath("drawn-gallery");
    QDir().mkpath(dir);
    QWidget* w = canvas.GetClientWidget();
    ASSERT_NE(w, nullptr);
    auto grab = [&](const char* name)
    {
        QImage img = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_TRUE(img.save(dir + "/" + name));
        return img;
    };
    auto rgb = [](const QImage& img, int x, int y)
    {
        const QRgb p = img.pixel(x, y);
        return RGB(qRed(p), qGreen(p), qBlue(p));
    };

    setAll(0.0);
    const QImage minimum = grab("gallery-minimum.png");
    setAll(0.5);
    for (int i = 0; i < 2; ++i)
    {
        blink->DoAnimate();
        link->DoAnimate();
        stripes->DoAnimate();
        pipe->DoAnimate();
    }
    canvas.Invalidate(FALSE);
    const QImage mid = grab("gallery-mid.png");

    // The screen itself, a seed for the screen-file fuzzer.
    EXPECT_TRUE(model.SaveDocument(CString::FromUtf8((dir + "/drawn.xdg").toStdString())));

    // The high-light ellipse: empty at the minimum, its lower half filled at mid-range.
    EXPECT_NE(rgb(minimum, 750, 540), COLORREF(0x800000));
    EXPECT_EQ(rgb(mid, 750, 540), COLORREF(0x800000));
    EXPECT_NE(rgb(mid, 750, 420), COLORREF(0x800000));
    // The blinking ellipse took its second colour and back (two steps).
    EXPECT_EQ(rgb(mid, 70, 60), CExtEllipseShape::BLINK_ON);
    // The bar gauge: the red band's bar only at mid-range is in the yellow phase (50).
    EXPECT_NE(minimum, mid);
}

TEST_F(DrawnShapes, StraightPipesFlowAndAStraightLinksDotMoves)
{
    CXVKDataModel model;
    CFOPDrawWnd canvas;
    ASSERT_TRUE(canvas.CreateCanvas(nullptr, CRect(0, 0, 400, 300)));
    canvas.SetCurrentModel(&model);
    canvas.ShowWindow(SW_SHOW);
    auto* horizontal = PlacePipe(model, {{20, 40}, {360, 40}});
    horizontal->SetPipeLineWidth(8);
    auto* vertical = PlacePipe(model, {{380, 20}, {380, 280}});
    auto* link = Place<CAnimatedLinkShape>(model, 622, CRect(0, 0, 0, 0));
    const CPoint linkPts[] = {{20, 200}, {300, 200}};
    link->Create(linkPts, 2, nullptr, nullptr);
    link->SetLineWidth(1);
    // Too short along the line still runs nothing.
    auto* stub = PlacePipe(model, {{20, 260}, {38, 260}});
    for (CFODrawShape* s : {static_cast<CFODrawShape*>(horizontal), static_cast<CFODrawShape*>(vertical),
                            static_cast<CFODrawShape*>(link), static_cast<CFODrawShape*>(stub)})
        s->PutPropBoolValue(XVK_PROP_ANIMATION, TRUE);
    canvas.SetDesignMode(FALSE);
    QWidget* w = canvas.GetClientWidget();
    ASSERT_NE(w, nullptr);
    const QImage first = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(canvas.GetShapeTimerCount(), 3);
    EXPECT_TRUE(XVKPositionCorrect(horizontal));
    EXPECT_TRUE(XVKPositionCorrect(link));
    EXPECT_FALSE(XVKPositionCorrect(stub));

    // The timers run the flow and the dot: the pipe's band and the link's line change.
    const CPoint dot0 = link->CalcDotPoint();
    QImage later;
    const auto band = [](const QImage& img, int y) { return img.copy(0, y - 10, 400, 21); };
    EXPECT_TRUE(PumpUntil(
        [&]
        {
            later = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
            return band(later, 40) != band(first, 40) && band(later, 200) != band(first, 200);
        }));
    EXPECT_NE(link->CalcDotPoint(), dot0);
    QDir().mkpath(QDir::current().absoluteFilePath("drawn-gallery"));
    EXPECT_TRUE(later.save(QDir::current().absoluteFilePath("drawn-gallery/straight-pipes.png")));
}
