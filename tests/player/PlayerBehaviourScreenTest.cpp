// The demo's behaviour screen in the running player: the valve's states follow its tag, the level
// shape's three ranges colour it as the ramp climbs (the highest also switching it to "High"), and
// the lamp hides below 50.
#include "RunningDemo.h"

#include "figkit/FOCompositeShape.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

using namespace player_test;

TEST(PlayerBehaviourScreen, StatesRangesAndTheHideConditionFollowTheLiveValues)
{
    RunningDemo demo;
    ASSERT_NE(demo.view, nullptr);
    ASSERT_TRUE(demo.view->SwitchScreen(L"Behaviour.xdg"));
    CExtDataModel* model = demo.Model();
    auto* valve = dynamic_cast<CFOCompositeShape*>(model->FindShapeWithKey1(L"Valve"));
    CFODrawShape* level = model->FindShapeWithKey1(L"Level");
    CFODrawShape* lamp = model->FindShapeWithKey1(L"Lamp");
    ASSERT_TRUE(valve && level && lamp);
    CFODrawShape* light = valve->FindShapeWithKey1(L"Light");
    CFODrawShape* flow = valve->FindShapeWithKey1(L"Flow");
    ASSERT_TRUE(light && flow);
    const auto shoot = [&](const char* name)
    {
        AfxPumpMessages();
        demo.view->GetCanvas()->GetWidget()->grab().toImage().save(QStringLiteral(QYR_SHOT_DIR "/") + name);
    };

    // Low on the ramp: green, state as designed, lamp hidden.
    ASSERT_TRUE(
        PumpUntil([&] { return level->GetCurrentValue() >= 5 && level->GetCurrentValue() <= 30; }, 15000));
    EXPECT_EQ(level->GetBkColor(), RGB(0, 192, 0));
    EXPECT_EQ(level->GetStateType(), CString(L"Normal"));
    EXPECT_FALSE(lamp->IsVisible());
    shoot("behaviour-low.png");

    // High: the third range colours it and switches it to "High" (red line, 5 wide); the lamp shows.
    ASSERT_TRUE(
        PumpUntil([&] { return level->GetCurrentValue() >= 70 && level->GetCurrentValue() <= 95; }, 15000));
    EXPECT_EQ(level->GetBkColor(), RGB(255, 96, 96));
    EXPECT_EQ(level->GetStateType(), CString(L"High"));
    EXPECT_EQ(level->GetLineColor(), RGB(255, 0, 0));
    EXPECT_EQ(level->GetLineWidth(), 5);
    EXPECT_TRUE(lamp->IsVisible());

    // The valve's state follows its tag; a click on the switch turns it over.
    const bool open = valve->GetStateType() == L"Open";
    EXPECT_EQ(light->GetBkColor(), open ? RGB(0, 192, 0) : RGB(192, 0, 0));
    EXPECT_EQ(flow->IsVisible(), open ? TRUE : FALSE);
    CFODrawShape* toggle = nullptr;
    for (CFODrawShape* shape : *model->GetShapes())
        if (shape->GetType() == 609)
            toggle = shape;
    ASSERT_NE(toggle, nullptr);
    demo.Click(toggle);
    ASSERT_TRUE(PumpUntil([&] { return (valve->GetStateType() == L"Open") != open; }, 5000));
    EXPECT_EQ(light->GetBkColor(), open ? RGB(192, 0, 0) : RGB(0, 192, 0));
    EXPECT_EQ(flow->IsVisible(), open ? FALSE : TRUE);
    shoot("behaviour-high.png");
}
