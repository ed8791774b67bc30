// Popup screens of the player: command 32794 shows the demo folder's "hmicheck.xdg" in a modal,
// centred window over the main view, which goes on with its values and procedures meanwhile and
// afterwards.
#include "RunningDemo.h"
#include "support/ModalHook.h"

#include "mfc/ModalHook.h"
#include "model/ScriptObject.h"
#include "player/MyHMIChildDlg.h"
#include "player/XDVView.h"

#include <QCoreApplication>
#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

#include <cfloat>

using namespace player_test;

namespace
{
// Makes the offscreen display 1920 x 1080, when this process has not made its application yet.
void UseFullHdScreen()
{
    if (QCoreApplication::instance())
        return;
    static QTemporaryDir dir;
    const QString path = dir.path() + "/screens.json";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(R"({"screens": [{"name": "Display", "x": 0, "y": 0, "width": 1920, "height": 1080,
                                "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + path).toUtf8());
}

CFODrawShape* ShapeOfType(CExtDataModel* model, UINT type)
{
    for (CFODrawShape* shape : *model->GetShapes())
        if (shape->GetType() == type)
            return shape;
    return nullptr;
}

// Closes every popup at once after look has seen it open; records the message boxes on the way.
struct PopupWatch
{
    std::function<void(CMyHMIChildDlg&, XDVView&)> look;
    bool shown = false;
    std::vector<CString> messages;
    CModalHookScope scope{[this](const AfxModalRequest& r)
                          {
                              if (r.kind == AfxModalKind::MessageBox)
                                  messages.push_back(r.strText);
                              auto* dlg = dynamic_cast<CMyHMIChildDlg*>(r.pDialog);
                              if (dlg && dlg->GetView())
                              {
                                  shown = true;
                                  if (look)
                                      look(*dlg, *dlg->GetView());
                              }
                              return IDCANCEL;
                          }};
};
} // namespace

TEST(PlayerPopup, TheCheckCommandShowsHmicheckCentredWhileTheMainScreenGoesOn)
{
    UseFullHdScreen();
    RunningDemo demo;
    ASSERT_NE(demo.view, nullptr);
    ASSERT_NE(demo.LiveRamp(), nullptr);
    CScriptObject* engine = demo.player.app.m_pScriptObject;
    ASSERT_NE(engine, nullptr);

    CString caption, screen, appScreen;
    CRect rect;
    QSize size;
    int shapes = -1, steps = 0, groups = 0;
    bool tankLive = false, mainRuns = false;
    PopupWatch popup;
    popup.look = [&](CMyHMIChildDlg& dlg, XDVView& view)
    {
        dlg.GetWindowText(caption);
        dlg.GetWindowRect(&rect);
        size = dlg.GetWidget()->size();
        screen = view.GetCurrentScreen();
        shapes = view.GetCurrentModel()->GetShapes()->Count();
        // Its timer counts the steps of a procedure that does not run: the main view made the engine.
        PumpUntil([&] { return view.GetTimerStep() >= 2; });
        steps = view.GetTimerStep();
        CFODrawShape* tank = ShapeOfType(view.GetCurrentModel(), 610);
        tankLive = tank && PumpUntil([&] { return tank->GetCurrentValue() != DBL_MIN; });
        mainRuns = demo.MainScreenRuns();
        appScreen = demo.player.app.m_strCurrentScreen;
        groups = ServerGroupCount();
        PumpUntil([] { return false; }, 600);
        dlg.GetWidget()->grab().toImage().save(QStringLiteral(QYR_POPUP_PNG));
    };
    demo.player.app.m_pMainWnd->SendMessage(WM_COMMAND, RUN_CMD_TEST_POPUP);

    ASSERT_TRUE(popup.shown);
    EXPECT_EQ(caption, CString(L"Test"));
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const CPoint corner((width - 800) / 2, (height - 600) / 2);
    // As for every window here, the size set is the window's own and the window manager's border
    // lies outside it; the outer corner is where it was placed.
    EXPECT_EQ(rect.TopLeft(), corner);
    EXPECT_EQ(size, QSize(800, 600));
    if (width == 1920 && height == 1080)
        EXPECT_EQ(corner, CPoint(560, 240));
    EXPECT_EQ(screen, CString(L"hmicheck.xdg"));
    EXPECT_GT(shapes, 0);
    EXPECT_GE(steps, 2);
    EXPECT_EQ(demo.Global(L"#Checked"), 0.0) << "the popup's procedures do not run";
    EXPECT_TRUE(tankLive) << "the popup binds its own shapes";
    EXPECT_TRUE(mainRuns) << "the main screen goes on under the popup";
    EXPECT_EQ(appScreen, CString(L"Main.xdg"));
    EXPECT_EQ(groups, 2);
    EXPECT_TRUE(popup.messages.empty());

    // Closed: the same engine, the same screen, only the main screen's group, and it goes on.
    EXPECT_EQ(demo.player.app.m_pScriptObject, engine);
    EXPECT_EQ(demo.player.app.m_strCurrentScreen, CString(L"Main.xdg"));
    EXPECT_EQ(demo.view->GetCurrentScreen(), CString(L"Main.xdg"));
    EXPECT_EQ(ServerGroupCount(), 1);
    EXPECT_TRUE(demo.MainScreenRuns());
    EXPECT_TRUE(demo.view->SwitchScreen(L"Trends.xdg"));
}

TEST(PlayerPopup, AMissingScreenLeavesThePopupEmptyAndNoPathShowsTheMainScreen)
{
    struct Case
    {
        const char* name;
        bool removeCheckScreen;
        bool viaCommand;
        const wchar_t* screen;
        bool empty;
    };
    const Case cases[] = {
        {"missing hmicheck.xdg", true, true, L"hmicheck.xdg", true},
        {"no screen path", false, false, L"Main.xdg", false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        RunningDemo demo(
            [&c](const InstallRoot& root)
            {
                if (c.removeCheckScreen)
                    QFile::remove(root.root + "/Demo/hmicheck.xdg");
            });
        ASSERT_NE(demo.view, nullptr);
        const int mainShapes = demo.Model()->GetShapes()->Count();
        CString screen;
        int shapes = -1;
        PopupWatch popup;
        popup.look = [&](CMyHMIChildDlg&, XDVView& view)
        {
            screen = view.GetCurrentScreen();
            shapes = view.GetCurrentModel()->GetShapes()->Count();
            PumpUntil([] { return false; }, 300);
        };
        if (c.viaCommand)
            demo.view->SendMessage(WM_COMMAND, RUN_CMD_TEST_POPUP);
        else
            demo.view->ShowPopupScreen(CString(), L"Main", CSize(400, 300));
        ASSERT_TRUE(popup.shown);
        EXPECT_EQ(screen, CString(c.screen));
        EXPECT_EQ(shapes, c.empty ? 0 : mainShapes);
        EXPECT_TRUE(popup.messages.empty());
        EXPECT_EQ(demo.player.app.m_strCurrentScreen, CString(L"Main.xdg"));
        EXPECT_TRUE(demo.MainScreenRuns());
    }
}
