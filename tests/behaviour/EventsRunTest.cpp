// Events made in the editor run in the player on a click. The editor's half runs in the behaviour
// tests' program (the editor and the player cannot share one program), which saves its screen
// where this test says; the player then opens it in the demo project and the shapes are clicked.
#include "EditorHalf.h"
#include "RunningDemo.h"

#include "symbols/LinkOpener.h"

using namespace player_test;

TEST(EventsRun, EventsMadeInTheEditorRunInThePlayerOnAClick)
{
    QTemporaryDir made;
    const QString screen = made.path() + "/Events.xdg";
    ASSERT_TRUE(RunEditorHalf(QStringLiteral("CEventsTest.ProcedureHideAndUrlEventsSavedWithTheScreen"),
                              "QYR_EVENTS_SCREEN", screen));

    RunningDemo demo([&](const InstallRoot& root)
                     { QFile::copy(screen, root.root + "/Demo/demo/XdgFiles/Events.xdg"); });
    ASSERT_NE(demo.view, nullptr);
    std::vector<CString> opened;
    const LinkOpenerFn previous = SetLinkOpener(
        [&opened](const CString& address)
        {
            opened.push_back(address);
            return TRUE;
        });
    // The main screen's timer counts up; the procedure, from the project's script, puts it back.
    ASSERT_TRUE(PumpUntil([&] { return demo.Global(L"#Counter") > 0; }, 6000));
    ASSERT_TRUE(demo.view->SwitchScreen(L"Events.xdg"));
    CExtDataModel* model = demo.Model();
    CFODrawShape* reset = model->FindCompWithName(L"Reset");
    CFODrawShape* hider = model->FindCompWithName(L"Hider");
    CFODrawShape* link = model->FindCompWithName(L"Link");
    CFODrawShape* target = model->FindCompWithName(L"Target");
    ASSERT_TRUE(reset && hider && link && target);

    demo.Click(reset);
    EXPECT_EQ(0.0, demo.Global(L"#Counter"));
    EXPECT_TRUE(target->IsVisible());
    demo.Click(hider);
    EXPECT_FALSE(target->IsVisible());
    demo.Click(link);
    EXPECT_EQ(opened, std::vector<CString>{L"https://plant.example/help"});
    SetLinkOpener(previous);
}
