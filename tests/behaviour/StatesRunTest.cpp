// States, value ranges and a hide condition given in the editor's behaviour dialogs, and bindings
// given in its Key Values dialog, take effect in the player as bound values cross the range bounds.
// The editor's half is the behaviour tests' end to end test, which saves its screen where this test
// says; the player opens it in the demo project against the stand-in server, and the pixels at the
// child shapes are checked.
#include "EditorHalf.h"
#include "RunningDemo.h"

#include "figkit/FOCompositeShape.h"
#include "model/ParamObj.h"
#include "model/WorkSpaceObj.h"

#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

using namespace player_test;

namespace
{
// Writes the variable as a script would and lets the screen show it.
void SetGlobal(RunningDemo& demo, const wchar_t* name, double value)
{
    CParamObj* param = demo.WorkSpace()->FindParamByName(name);
    ASSERT_NE(param, nullptr);
    param->GetValue() = param->GetValue().m_nValueType == FO_VALUE_INT ? FO_VALUE::MakeInt(int(value))
                                                                       : FO_VALUE::MakeDouble(value);
    CFOTypedShapeObList changed;
    demo.Model()->UpdateParamData(param->GetName(), param->GetValue(), &changed, PARAM_KIND_GLOBAL);
    if (!changed.IsEmpty())
        demo.view->GetCanvas()->UpdateShapes(&changed);
    AfxPumpMessages();
}

QRgb PixelAt(RunningDemo& demo, CPoint point)
{
    auto* canvas = demo.view->GetCanvas();
    const QImage image = canvas->GetWidget()->grab().toImage();
    const CPoint at = canvas->CanvasToClient(point);
    return image.pixel(at.x, at.y) & 0xFFFFFF;
}

// Near the top of the shape: the player shows a bound rectangle as a level filled from below.
QRgb PixelAt(RunningDemo& demo, CFODrawShape* shape)
{
    const CRect rc = shape->GetSnapRect();
    return PixelAt(demo, CPoint(rc.CenterPoint().x, rc.top + 3));
}
} // namespace

TEST(StatesRun, StatesRangesAndHideConditionsMadeInTheEditorTakeEffectInThePlayer)
{
    QTemporaryDir made;
    const QString screen = made.path() + "/States.xdg";
    ASSERT_TRUE(
        RunEditorHalf(QStringLiteral("CEndToEndTest."
                                     "BehaviourMadeInTheDesignViewIsSavedAndReadBackWithTheSameTextsAndRows"),
                      "QYR_STATES_SCREEN", screen));

    RunningDemo demo([&](const InstallRoot& root)
                     { QFile::copy(screen, root.root + "/Demo/demo/XdgFiles/States.xdg"); });
    ASSERT_NE(demo.view, nullptr);
    ASSERT_TRUE(demo.view->SwitchScreen(L"States.xdg"));
    CExtDataModel* model = demo.Model();
    auto* comp = dynamic_cast<CFOCompositeShape*>(model->FindShapeWithKey1(L"Comp"));
    CFODrawShape* valued = model->FindShapeWithKey1(L"V");
    CFODrawShape* hidden = model->FindShapeWithKey1(L"H");
    ASSERT_TRUE(comp && valued && hidden);
    CFODrawShape* a = comp->FindShapeWithKey1(L"A");
    CFODrawShape* b = comp->FindShapeWithKey1(L"B");
    ASSERT_TRUE(a && b);

    const QRgb white = 0xFFFFFF, red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF, yellow = 0xFFFF00;
    // The page where no shape stands, as a hidden shape leaves it.
    const QRgb page = PixelAt(demo, CPoint(300, 120));
    struct Step
    {
        const wchar_t* variable;
        double value;
        CFODrawShape* shape;
        QRgb colour;
        const char* why;
    };
    const Step steps[] = {
        {L"#Checked", 0, a, red, "0 chooses the first state: A red"},
        {L"#Checked", 0, b, page, "and B hidden"},
        {L"#Checked", 1, a, green, "1 chooses the second: A green"},
        {L"#Checked", 1, b, yellow, "and B shown again"},
        {L"#Checked", 2, a, white, "a value in no range: A as designed"},
        {L"#Checked", 0, a, red, "back in the first range"},
        {L"#Setpoint", 9, valued, white, "below the range 10,90"},
        {L"#Setpoint", 10, valued, blue, "on its lower bound"},
        {L"#Setpoint", 90, valued, blue, "on its upper bound"},
        {L"#Setpoint", 91, valued, white, "above it"},
        {L"#Setpoint", 91, hidden, page, "H hidden while the value is not 5"},
        {L"#Setpoint", 5, hidden, yellow, "and shown at 5"},
    };
    for (const Step& s : steps)
    {
        SetGlobal(demo, s.variable, s.value);
        EXPECT_EQ(PixelAt(demo, s.shape), s.colour) << s.why;
    }
    const QImage shot = demo.view->GetCanvas()->GetWidget()->grab().toImage();
    shot.save(QStringLiteral(QYR_SHOT_DIR "/states-run.png"));
}
