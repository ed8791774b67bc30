// The symbol shapes: their parts from the resources, animation only at run time, click toggles,
// stored steps, and symbols whose parts are missing.
#include "SymbolTestSupport.h"

#include "figkit/FORectShape.h"
#include "mfc/Archive.h"
#include "mfc/Dc.h"
#include "mfc/File.h"
#include "symbols/MotorShape.h"
#include "symbols/MyNewSwitchShape.h"
#include "symbols/MyNewTankShape.h"
#include "symbols/MySwitchShape.h"
#include "symbols/SymbolFactory.h"
#include "symbols/SymbolParts.h"
#include "symbols/SymbolPartsBuilder.h"
#include "symbols/TankShape.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>

using namespace symbols_test;

namespace
{
// A shape of the model, made by the factory at a point (its stored size).
template <class T> T* AddSymbol(CFODataModel& model, UINT nType, CPoint at)
{
    CRect rc(at, at);
    CFODrawShape* shape = CSymbolShapeFactory::CreateShape(nType, rc, CString());
    model.InsertShape(shape);
    shape->Release();
    return dynamic_cast<T*>(shape);
}

void Draw(Screen& screen, QImage* out = nullptr)
{
    const CSize size = screen.model.GetCanvasSize();
    QImage image(size.cx, size.cy, QImage::Format_ARGB32);
    {
        CImageDC dc(image);
        screen.canvas.OnDraw(&dc);
    }
    if (out)
        *out = image;
}

CRect Rc(const CFODrawShape* shape)
{
    return shape->GetSnapRect();
}

CFORectShape* Part(CFOCompositeShape& comp, const CRect& rc, LPCWSTR name, LPCWSTR key1 = L"")
{
    auto* part = new CFORectShape;
    CRect r = rc;
    part->Create(r);
    part->SetObjectName(name);
    part->SetKeyId1(key1);
    comp.AddShape(part);
    return part;
}

std::vector<BYTE> FileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    return std::vector<BYTE>(data.begin(), data.end());
}
} // namespace

class SymbolShapes : public ::testing::Test
{
protected:
    void SetUp() override { AfxEnsureApplication(); }
};

TEST_F(SymbolShapes, CommittedResourcesAreWhatTheGeneratorMakes)
{
    for (const auto& res : SymbolPartsBuilder::Resources())
    {
        SCOPED_TRACE(res.pszFile);
        const std::vector<BYTE> made = SymbolPartsBuilder::Store(res.nId);
        ASSERT_FALSE(made.empty());
        EXPECT_EQ(FileBytes(QStringLiteral(QYR_SYMBOLS_RES "/") + res.pszFile), made)
            << "run SymbolResGen symbols/res after changing the parts";
    }
    EXPECT_EQ(SymbolPartsBuilder::Store(134), SymbolPartsBuilder::Store(113));
    EXPECT_TRUE(SymbolPartsBuilder::Store(999).empty());
}

TEST_F(SymbolShapes, FactoryBuildsEverySymbolWithItsParts)
{
    struct Case
    {
        UINT type;
        const CRuntimeClass* cls;
        std::vector<const wchar_t*> byName, byKey, hidden;
        int ports;
    };
    const Case cases[] = {
        {608, RUNTIME_CLASS(CMotorShape), {L"BAND", L"MOTOR"}, {}, {}, 0},
        {609,
         RUNTIME_CLASS(CMyNewSwitchShape),
         {},
         {L"CLICK_AREA", L"SHOW_BAR", L"S_ON", L"S_OFF"},
         {L"S_OFF"},
         0},
        {610, RUNTIME_CLASS(CMyNewTankShape), {L"KEDU", L"MARK"}, {}, {}, 5},
        {611, RUNTIME_CLASS(CMySwitchShape1), {}, {L"Key_On", L"Key_Off"}, {L"Key_Off"}, 0},
        {612, RUNTIME_CLASS(CMySwitchShape2), {}, {L"S_ON", L"S_OFF"}, {L"S_OFF"}, 0},
        {613, RUNTIME_CLASS(CMySwitchShape3), {}, {L"S_ON", L"S_OFF"}, {L"S_OFF"}, 0},
        {614, RUNTIME_CLASS(CTankShape), {L"RR"}, {}, {}, 5},
    };
    CFODataModel model;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.type);
        auto* shape = AddSymbol<CFOCompositeShape>(model, c.type, CPoint(30, 40));
        ASSERT_NE(shape, nullptr);
        EXPECT_TRUE(shape->IsKindOf(c.cls));
        EXPECT_EQ(shape->GetType(), c.type);
        EXPECT_EQ(Rc(shape).TopLeft(), CPoint(30, 40));
        EXPECT_GT(Rc(shape).Width(), 40);
        EXPECT_EQ(shape->GetPortCount(), c.ports);
        for (const wchar_t* name : c.byName)
            EXPECT_NE(shape->FindShapeWithName(name), nullptr) << CString(name).ToUtf8();
        for (const wchar_t* key : c.byKey)
        {
            CFODrawShape* part = shape->FindShapeWithKey1(key);
            ASSERT_NE(part, nullptr) << CString(key).ToUtf8();
            const bool hidden = std::find(c.hidden.begin(), c.hidden.end(), key) != c.hidden.end();
            EXPECT_EQ(part->IsVisible() != FALSE, !hidden) << CString(key).ToUtf8();
        }
    }
    EXPECT_EQ(static_cast<CMyNewSwitchShape*>(model.GetShapes()->GetObject(1))->GetShowBar()->GetBkColor(),
              RGB(255, 0, 0));

    // A rectangle given fits the symbol into it; other types are not the symbols'.
    CRect rc(0, 0, 144, 42);
    CFODrawShape* fitted = CSymbolShapeFactory::CreateShape(608, rc, L"Motor1");
    ASSERT_NE(fitted, nullptr);
    EXPECT_EQ(Rc(fitted), CRect(0, 0, 144, 42));
    EXPECT_EQ(fitted->GetObjectName(), CString(L"Motor1"));
    fitted->Release();
    EXPECT_EQ(CSymbolShapeFactory::CreateShape(607, rc, CString()), nullptr);
    EXPECT_EQ(CSymbolShapeFactory::CreateShape(615, rc, CString()), nullptr);
}

TEST_F(SymbolShapes, AnimateOnlyOutOfDesignModeOnRealTimers)
{
    Screen screen;
    auto* motor = AddSymbol<CMotorShape>(screen.model, 608, CPoint(10, 10));
    auto* level = AddSymbol<CMyNewTankShape>(screen.model, 610, CPoint(320, 10));
    auto* stirred = AddSymbol<CTankShape>(screen.model, 614, CPoint(450, 10));
    ASSERT_TRUE(motor && level && stirred);

    Draw(screen);
    EXPECT_EQ(motor->GetTimerId(), -1);
    EXPECT_EQ(screen.canvas.GetShapeTimerCount(), 0);

    screen.canvas.SetDesignMode(FALSE);
    Draw(screen);
    EXPECT_GT(motor->GetTimerId(), 0);
    EXPECT_GT(level->GetTimerId(), 0);
    EXPECT_GT(stirred->GetTimerId(), 0);
    EXPECT_EQ(screen.canvas.GetShapeTimerCount(), 3);
    EXPECT_EQ(stirred->GetSavedCenter(), SymbolParts::CenterOf(stirred->GetStirrer()));

    // The window's timers move the parts.
    const CRect band = Rc(motor->GetBand());
    const CRect mark = Rc(level->GetMark());
    EXPECT_TRUE(PumpUntil([&] { return motor->GetStep() >= 12 && level->GetStep() >= 8; }));
    EXPECT_EQ(SymbolParts::CenterOf(motor->GetMotor()),
              CPoint(band.right - motor->GetStep(), (band.top + band.bottom) / 2 + 6));
    EXPECT_EQ(Rc(level->GetMark()),
              CRect(mark.left, mark.bottom - level->GetStep(), mark.right, mark.bottom));
    const int angle = stirred->GetStep();
    EXPECT_EQ(angle % 10, 0);
    EXPECT_GE(angle, -180);
    EXPECT_LE(angle, 190);

    // Back in design mode the timers stop at once and the parts stand still.
    screen.canvas.SetDesignMode(TRUE);
    EXPECT_EQ(motor->GetTimerId(), -1);
    EXPECT_EQ(level->GetTimerId(), -1);
    EXPECT_EQ(stirred->GetTimerId(), -1);
    EXPECT_EQ(stirred->GetSavedCenter(), CPoint(-1, -1));
    EXPECT_EQ(screen.canvas.GetShapeTimerCount(), 0);
    const CPoint still = SymbolParts::CenterOf(motor->GetMotor());
    PumpUntil([] { return false; }, 120);
    Draw(screen);
    EXPECT_EQ(SymbolParts::CenterOf(motor->GetMotor()), still);
    EXPECT_EQ(motor->GetTimerId(), -1);
}

TEST_F(SymbolShapes, StepsFollowTheirPartsTickByTick)
{
    Screen screen;
    screen.canvas.SetDesignMode(FALSE);

    // A motor on a 40-pixel band.
    auto* motor = new CMotorShape;
    CFODrawShape* band = Part(*motor, CRect(100, 100, 140, 120), L"BAND");
    CFODrawShape* body = Part(*motor, CRect(120, 100, 130, 110), L"MOTOR");
    screen.model.InsertShape(motor);
    // A level tank whose scale is 40 high.
    auto* level = new CMyNewTankShape;
    Part(*level, CRect(200, 100, 220, 140), L"KEDU");
    CFODrawShape* mark = Part(*level, CRect(202, 136, 218, 140), L"MARK");
    screen.model.InsertShape(level);
    Draw(screen);
    ASSERT_GT(motor->GetTimerId(), 0);
    ASSERT_GT(level->GetTimerId(), 0);

    std::vector<int> xs;
    std::vector<int> heights;
    for (int i = 0; i < 10; ++i)
    {
        ASSERT_TRUE(CFOPDrawWnd::DispatchShapeTimer(motor->GetTimerId()));
        ASSERT_TRUE(CFOPDrawWnd::DispatchShapeTimer(level->GetTimerId()));
        EXPECT_EQ(SymbolParts::CenterOf(body).y, 116);
        xs.push_back(140 - SymbolParts::CenterOf(body).x);
        EXPECT_EQ(Rc(mark).bottom, 140);
        heights.push_back(Rc(mark).Height());
    }
    EXPECT_EQ(xs, (std::vector<int>{8, 12, 16, 20, 24, 28, 32, 36, 4, 8}));
    EXPECT_EQ(heights, (std::vector<int>{8, 12, 16, 20, 24, 28, 32, 36, 4, 8}));
    EXPECT_EQ(Rc(band), CRect(100, 100, 140, 120));

    // Steps asked for without a timer start from where the parts stand.
    auto* idle = new CMyNewTankShape;
    Part(*idle, CRect(300, 100, 320, 140), L"KEDU");
    CFODrawShape* idleMark = Part(*idle, CRect(302, 136, 318, 140), L"MARK");
    auto* stirred = new CTankShape;
    CFODrawShape* stirrer = Part(*stirred, CRect(400, 100, 440, 110), L"RR");
    screen.model.InsertShape(idle);
    screen.model.InsertShape(stirred);
    EXPECT_TRUE(idle->DoAnimate());
    EXPECT_EQ(Rc(idleMark), CRect(302, 132, 318, 140));
    const CPoint centre = SymbolParts::CenterOf(stirrer);
    EXPECT_TRUE(stirred->DoAnimate());
    EXPECT_LE(std::abs(SymbolParts::CenterOf(stirrer).x - centre.x), 1);
    EXPECT_LE(std::abs(SymbolParts::CenterOf(stirrer).y - centre.y), 1);
}

TEST_F(SymbolShapes, AnimationPropertyOffKeepsTheTimerOff)
{
    Screen screen;
    screen.canvas.SetDesignMode(FALSE);
    auto* motor = AddSymbol<CMotorShape>(screen.model, 608, CPoint(10, 10));
    auto* tank = AddSymbol<CTankShape>(screen.model, 614, CPoint(300, 10));
    motor->PutPropBoolValue(SYMBOL_PROP_ANIMATION, FALSE);
    tank->DoAddCustProp();
    BOOL on = FALSE;
    EXPECT_TRUE(tank->GetPropBoolValue(on, SYMBOL_PROP_ANIMATION));
    EXPECT_TRUE(on);
    Draw(screen);
    EXPECT_EQ(motor->GetTimerId(), -1);
    EXPECT_GT(tank->GetTimerId(), 0);

    // Taken off its window, a symbol stops its timer.
    screen.model.RemoveShape(tank);
    EXPECT_EQ(screen.canvas.GetShapeTimerCount(), 0);
}

TEST_F(SymbolShapes, SwitchesToggleOnClicksAtRunTime)
{
    Screen screen;
    auto* s1 = AddSymbol<CMySwitchShape1>(screen.model, 611, CPoint(10, 10));
    auto* s2 = AddSymbol<CMySwitchShape2>(screen.model, 612, CPoint(100, 10));
    auto* s3 = AddSymbol<CMySwitchShape3>(screen.model, 613, CPoint(200, 10));
    auto* bar = AddSymbol<CMyNewSwitchShape>(screen.model, 609, CPoint(300, 10));
    ASSERT_TRUE(s1 && s2 && s3 && bar);
    const CPoint centre1 = Rc(s1).CenterPoint();

    // In design mode a click is the editor's, not the switch's.
    Click(screen.canvas, centre1);
    EXPECT_TRUE(s1->GetOnPart()->IsVisible());

    screen.canvas.SetDesignMode(FALSE);
    for (CFOCompositeShape* sw : std::initializer_list<CFOCompositeShape*>{s1, s2, s3})
    {
        SCOPED_TRACE(sw->GetType());
        CFODrawShape* on = sw->FindShapeWithKey1(sw == s1 ? L"Key_On" : L"S_ON");
        CFODrawShape* off = sw->FindShapeWithKey1(sw == s1 ? L"Key_Off" : L"S_OFF");
        Click(screen.canvas, CPoint(Rc(sw).left + 3, Rc(sw).top + 3));
        EXPECT_FALSE(on->IsVisible());
        EXPECT_TRUE(off->IsVisible());
        Click(screen.canvas, Rc(sw).CenterPoint());
        EXPECT_TRUE(on->IsVisible());
        EXPECT_FALSE(off->IsVisible());
    }

    // The bar switch only toggles in its click area.
    Click(screen.canvas, CPoint(Rc(bar).left + 3, Rc(bar).bottom - 3));
    EXPECT_TRUE(bar->GetOnPart()->IsVisible());
    EXPECT_EQ(bar->GetShowBar()->GetBkColor(), RGB(255, 0, 0));
    const CPoint area = Rc(bar->GetClickArea()).CenterPoint();
    Click(screen.canvas, area);
    EXPECT_FALSE(bar->GetOnPart()->IsVisible());
    EXPECT_TRUE(bar->GetOffPart()->IsVisible());
    EXPECT_EQ(bar->GetShowBar()->GetBkColor(), RGB(0, 255, 0));
    Click(screen.canvas, area);
    EXPECT_TRUE(bar->GetOnPart()->IsVisible());
    EXPECT_FALSE(bar->GetOffPart()->IsVisible());
    EXPECT_EQ(bar->GetShowBar()->GetBkColor(), RGB(255, 0, 0));
}

TEST_F(SymbolShapes, MissingPartsMakeStepsAndTogglesDoNothing)
{
    Screen screen;
    screen.canvas.SetDesignMode(FALSE);
    // Damaged part lists: each symbol lacks one named part.
    auto* motor = new CMotorShape;
    Part(*motor, CRect(10, 10, 60, 30), L"BAND");
    auto* level = new CMyNewTankShape;
    CFODrawShape* mark = Part(*level, CRect(100, 100, 110, 104), L"MARK");
    auto* stirred = new CTankShape;
    Part(*stirred, CRect(200, 100, 230, 110), L"R");
    auto* s1 = new CMySwitchShape1;
    CFODrawShape* keyOn = Part(*s1, CRect(300, 10, 330, 40), L"", L"Key_On");
    auto* bar = new CMyNewSwitchShape;
    Part(*bar, CRect(400, 10, 460, 50), L"", L"CLICK_AREA");
    Part(*bar, CRect(400, 60, 460, 70), L"", L"SHOW_BAR");
    CFODrawShape* sOn = Part(*bar, CRect(410, 20, 450, 40), L"", L"S_ON");
    for (CFODrawShape* s : std::initializer_list<CFODrawShape*>{motor, level, stirred, s1, bar})
        screen.model.InsertShape(s);
    // And a stored, empty one from a damaged resource.
    auto* empty = new CMotorShape;
    CRect rc(10, 200, 10, 200);
    empty->CreateFromRes(rc, L"empty", 4711);
    EXPECT_EQ(empty->GetCompCount(), 0);
    screen.model.InsertShape(empty);

    Draw(screen);
    const CRect markBefore = Rc(mark);
    for (const auto& animated :
         std::initializer_list<std::pair<CFODrawShape*, int>>{{motor, motor->GetTimerId()},
                                                              {level, level->GetTimerId()},
                                                              {stirred, stirred->GetTimerId()},
                                                              {empty, empty->GetTimerId()}})
    {
        ASSERT_GT(animated.second, 0);
        EXPECT_TRUE(CFOPDrawWnd::DispatchShapeTimer(animated.second));
        EXPECT_FALSE(animated.first->DoAnimate());
    }
    EXPECT_EQ(Rc(mark), markBefore);
    EXPECT_EQ(motor->GetStep(), 4);
    EXPECT_EQ(stirred->GetStep(), 0);

    Click(screen.canvas, CPoint(315, 25));
    EXPECT_TRUE(keyOn->IsVisible());
    Click(screen.canvas, CPoint(430, 30));
    EXPECT_TRUE(sOn->IsVisible());
    EXPECT_EQ(bar->GetShowBar()->GetBkColor(), RGB(255, 255, 255));
}

TEST_F(SymbolShapes, StoredSymbolsReloadWithStepAndStateAndRestartTheirTimers)
{
    QTemporaryDir dir;
    const CString path(dir.filePath("screen.xdg").toStdWString().c_str());
    {
        Screen screen;
        screen.canvas.SetDesignMode(FALSE);
        for (UINT type = 608; type <= 614; ++type)
            AddSymbol<CFODrawShape>(screen.model, type, CPoint(10 + int(type - 608) * 80, 10));
        Draw(screen);
        auto* motor = static_cast<CMotorShape*>(screen.model.GetShapes()->GetObject(0));
        for (int i = 0; i < 3; ++i)
            CFOPDrawWnd::DispatchShapeTimer(motor->GetTimerId());
        EXPECT_EQ(motor->GetStep(), 16);
        auto* s2 = static_cast<CMySwitchShape2*>(screen.model.GetShapes()->GetObject(4));
        Click(screen.canvas, Rc(s2).CenterPoint());
        screen.canvas.SetDesignMode(TRUE);
        ASSERT_TRUE(screen.model.SaveDocument(path));
    }
    Screen screen;
    ASSERT_TRUE(screen.canvas.LoadXdgFromFile(path));
    ASSERT_EQ(screen.model.GetShapeCount(), 7);
    for (UINT type = 608; type <= 614; ++type)
        EXPECT_EQ(screen.model.GetShapes()->GetObject(int(type - 608))->GetType(), type);
    auto* motor = dynamic_cast<CMotorShape*>(screen.model.GetShapes()->GetObject(0));
    ASSERT_NE(motor, nullptr);
    EXPECT_EQ(motor->GetStep(), 16);
    EXPECT_EQ(motor->GetTimerId(), -1);
    auto* s2 = dynamic_cast<CMySwitchShape2*>(screen.model.GetShapes()->GetObject(4));
    ASSERT_NE(s2, nullptr);
    EXPECT_FALSE(s2->GetOnPart()->IsVisible());
    EXPECT_TRUE(s2->GetOffPart()->IsVisible());

    screen.canvas.SetDesignMode(FALSE);
    Draw(screen);
    ASSERT_GT(motor->GetTimerId(), 0);
    EXPECT_EQ(screen.canvas.GetShapeTimerCount(), 3);
    CFOPDrawWnd::DispatchShapeTimer(motor->GetTimerId());
    EXPECT_EQ(motor->GetStep(), 20);

    // Cut short anywhere, the screen fails to load and leaves an empty model.
    QFile whole(QString::fromStdWString(path.GetString()));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    whole.close();
    const CString cutPath(dir.filePath("cut.xdg").toStdWString().c_str());
    for (qsizetype len = 1; len < bytes.size(); len += 37)
    {
        QFile cut(QString::fromStdWString(cutPath.GetString()));
        ASSERT_TRUE(cut.open(QIODevice::WriteOnly | QIODevice::Truncate));
        cut.write(bytes.left(len));
        cut.close();
        CFODataModel damaged;
        EXPECT_FALSE(damaged.OpenDocument(cutPath)) << len;
        EXPECT_EQ(damaged.GetShapeCount(), 0);
    }

    // A copy starts as a new shape.
    std::unique_ptr<CFODrawShape> copy(motor->Copy());
    auto* motorCopy = dynamic_cast<CMotorShape*>(copy.get());
    ASSERT_NE(motorCopy, nullptr);
    EXPECT_EQ(motorCopy->GetStep(), 4);
    EXPECT_EQ(motorCopy->GetTimerId(), -1);
    EXPECT_NE(motorCopy->GetMotor(), motor->GetMotor());
    std::unique_ptr<CFODrawShape> tankCopy(screen.model.GetShapes()->GetObject(6)->Copy());
    EXPECT_EQ(static_cast<CTankShape*>(tankCopy.get())->GetStep(), 0);
    EXPECT_EQ(static_cast<CTankShape*>(tankCopy.get())->GetSavedCenter(), CPoint(-1, -1));
}

TEST_F(SymbolShapes, RendersTheSevenSymbols)
{
    Screen screen(CSize(720, 300));
    const std::pair<UINT, CPoint> placed[] = {
        {608, CPoint(20, 20)},  {614, CPoint(340, 20)},  {610, CPoint(490, 10)},  {609, CPoint(620, 20)},
        {611, CPoint(40, 180)}, {612, CPoint(160, 190)}, {613, CPoint(260, 180)},
    };
    for (const auto& [type, at] : placed)
        AddSymbol<CFODrawShape>(screen.model, type, at);
    // One switch of each kind shown off.
    auto* s3 = static_cast<CMySwitchShape3*>(screen.model.GetShapes()->GetObject(6));
    SymbolParts::ShowState(s3->GetOnPart(), s3->GetOffPart(), FALSE);
    QImage image;
    Draw(screen, &image);
    ASSERT_TRUE(image.save(QStringLiteral(QYR_SYMBOLS_PNG)));

    // The new switch's red bar and the motor's green body are where they belong.
    auto* bar = static_cast<CMyNewSwitchShape*>(screen.model.GetShapes()->GetObject(3));
    const CPoint barCentre = Rc(bar->GetShowBar()).CenterPoint();
    EXPECT_EQ(QColor(image.pixel(barCentre.x, barCentre.y)), QColor(255, 0, 0));
    auto* motor = static_cast<CMotorShape*>(screen.model.GetShapes()->GetObject(0));
    const CRect body = Rc(motor->GetMotor());
    const QColor green(image.pixel(body.left + 4, body.top + 4));
    EXPECT_GT(green.green(), green.red() + 60);
}
