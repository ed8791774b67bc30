// Every toolbox item, bound through the editor's Key Values dialog on a screen the editor saved,
// shows its tag's value in the player; so do labels bound to the flat DA 1.0 server and to a global
// variable. The editor's half runs in the behaviour tests' program
// (ToolboxBindingsForPlayerTest.cpp), which saves the screen where this test says.
#include "EditorHalf.h"
#include "RunningDemo.h"

#include "figkit/FOPSimpleLabelShape.h"
#include "figkit/FOTimeChartShape.h"
#include "mfc/Dc.h"
#include "model/ExtMeterShape.h"
#include "model/MyPushChartShape.h"
#include "model/SliderShapes.h"
#include "symbols/MyNewSwitchShape.h"
#include "symbols/MySwitchShape.h"

#include <QImage>

#include <map>
#include <string>

using namespace player_test;

namespace
{
// The model drawn as the canvas draws it.
QImage Picture(CFODataModel* model)
{
    QImage image(1200, 900, QImage::Format_RGB32);
    image.fill(Qt::white);
    CImageDC dc(image);
    model->OnDraw(&dc, CRect(0, 0, 1200, 900));
    return image;
}

// The picture cut to a shape's rectangle.
QImage Look(CFODataModel* model, CFODrawShape* shape)
{
    const CRect r = shape->GetMaxRect();
    return Picture(model).copy(r.left, r.top, r.Width(), r.Height());
}

// The "on" part of the switches shows.
BOOL SwitchShowsOn(CFODrawShape* shape)
{
    CFODrawShape* on = nullptr;
    if (auto* s = dynamic_cast<CMyNewSwitchShape*>(shape))
        on = s->GetOnPart();
    else if (auto* s1 = dynamic_cast<CMySwitchShape1*>(shape))
        on = s1->GetOnPart();
    else if (auto* s2 = dynamic_cast<CMySwitchShape2*>(shape))
        on = s2->GetOnPart();
    else if (auto* s3 = dynamic_cast<CMySwitchShape3*>(shape))
        on = s3->GetOnPart();
    return on && on->IsVisible();
}

// A plain rectangle or ellipse from the toolbox has no fill: it shows a value only through value
// ranges of its own. The tank's stirrer turns by an angle drawn once per run of the program, which
// may leave it standing or turn it half round onto the same picture; its own tests check the turn.
// A global variable changes only when a script or an operator changes it.
bool LookFollowsValue(CFODrawShape* shape)
{
    const UINT type = shape->GetType();
    return type != 601 && type != 602 && type != 614 && shape->GetKeyId3().Left(1) != L"#";
}

// Dark pixels in a picture: the text a label draws.
int DarkPixels(const QImage& image)
{
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 100)
                ++dark;
    return dark;
}
} // namespace

TEST(ToolboxRun, EveryToolboxItemBoundInTheEditorShowsItsValueInThePlayer)
{
    QTemporaryDir made;
    const QString screen = made.path() + "/Toolbox.xdg";
    ASSERT_TRUE(
        RunEditorHalf(QStringLiteral("CEventsTest.ToolboxItemsBoundThroughKeyValuesSavedWithTheScreen"),
                      "QYR_TOOLBOX_SCREEN", screen));

    RunningDemo demo([&](const InstallRoot& root)
                     { QFile::copy(screen, root.root + "/Demo/demo/XdgFiles/Toolbox.xdg"); });
    ASSERT_NE(demo.view, nullptr);
    ASSERT_TRUE(demo.view->SwitchScreen(L"Toolbox.xdg"));
    CExtDataModel* model = demo.Model();
    std::map<std::string, CFODrawShape*> shapes;
    for (CFODrawShape* shape : *model->GetShapes())
        // Instruments show their values in their hosted controls, which their own tests check.
        if (shape->GetObjectName().Left(1) == L"T" && !shape->GetKeyId3().IsEmpty() &&
            (shape->GetType() < 633 || shape->GetType() > 695))
            shapes[shape->GetObjectName().ToUtf8()] = shape;
    ASSERT_GT(shapes.size(), 20u);
    // Every shape has had its first value.
    ASSERT_TRUE(PumpUntil(
        [&]
        {
            for (const auto& [name, shape] : shapes)
                if (shape->GetCurrentValue() == DBL_MIN)
                    return false;
            return true;
        },
        8000));

    // The look of every shape changes with its value: the ramp climbs, the boolean turns.
    std::map<std::string, QImage> first;
    for (const auto& [name, shape] : shapes)
        first[name] = Look(model, shape);
    std::map<std::string, bool> changed;
    PumpUntil(
        [&]
        {
            bool all = true;
            for (const auto& [name, shape] : shapes)
            {
                if (!LookFollowsValue(shape))
                    continue;
                changed[name] = changed[name] || Look(model, shape) != first[name];
                all = all && changed[name];
            }
            return all;
        },
        6000);

    for (const auto& [name, shape] : shapes)
    {
        const UINT type = shape->GetType();
        SCOPED_TRACE(testing::Message() << name << " bound to " << shape->GetKeyId2().ToUtf8() << " "
                                        << shape->GetKeyId3().ToUtf8());
        if (LookFollowsValue(shape))
            EXPECT_TRUE(changed[name]) << "its look does not follow its value";
        const double value = shape->GetCurrentValue();
        switch (type)
        {
        case 607:
            EXPECT_EQ(static_cast<CExtMeterShape*>(shape)->GetMeterValue(), value);
            EXPECT_EQ(static_cast<CExtMeterShape*>(shape)->GetMeterMin(), shape->GetMinValue());
            break;
        case FO_COMP_SIMPLELABEL:
        {
            CString text;
            text.Format(L"%.6g", value);
            EXPECT_EQ(static_cast<CFOPSimpleLabelShape*>(shape)->GetDisplayText(), text);
            EXPECT_GT(DarkPixels(Look(model, shape)), 20) << "the label draws its text";
            break;
        }
        case 609:
        case 611:
        case 612:
        case 613:
            EXPECT_EQ(SwitchShowsOn(shape), value != 0.0);
            break;
        case 615:
        {
            auto* chart = static_cast<CMyPushChartShape*>(shape);
            ASSERT_EQ(chart->GetLineCount(), 1);
            EXPECT_FALSE(chart->GetLineAt(0)->samples.empty());
            break;
        }
        case FO_COMP_TIMECHART:
        {
            auto* chart = static_cast<CFOTimeChartShape*>(shape);
            ASSERT_EQ(chart->GetLineCount(), 1);
            // One sample a second.
            EXPECT_TRUE(PumpUntil([&] { return chart->GetSampleCount(0) >= 2; }, 4000));
            for (int i = 0; i < chart->GetSampleCount(0); ++i)
                EXPECT_GT(chart->GetSample(0, i), 1e-300) << "no sample before the first value";
            break;
        }
        case 624:
        case 625:
            EXPECT_EQ(static_cast<CMyHorzSliderShape*>(shape)->GetCurValue(), int(value));
            break;
        default:
            break;
        }
    }
    // A few seconds on, the picture of it all.
    PumpUntil([] { return false; }, 3000);
    EXPECT_TRUE(Picture(model).save(QStringLiteral("toolbox-in-player.png")));
}
