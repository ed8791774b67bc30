// The player's window: shaped by the project's window settings, showing the main screen with its
// symbols running, one player at a time, and the splash window at close.
#include "PlayerTestSupport.h"

#include "figkit/FOPCanvasCore.h"
#include "mfc/AnimateCtrl.h"
#include "mfc/CommandIcons.h"
#include "mfc/Controls.h"
#include "mfc/Gdi.h"
#include "mfc/Menu.h"
#include "mfc/Messages.h"
#include "player/ExtDataModel.h"
#include "player/MainFrm.h"
#include "player/QYRViewDoc.h"
#include "player/QYRViewView.h"
#include "player/RunCanvas.h"
#include "player/SplashWnd.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProcess>
#include <QWidget>

#include <map>
#include <set>

using namespace player_test;

namespace
{
// Counts the application timer ticks the frame forwards.
class CTickCountingApp : public CQYRViewApp
{
public:
    std::vector<UINT> ticks;
    void OnTimer(UINT id) override { ticks.push_back(id); }
};

template <class Player> CMainFrame* FrameOf(Player& player)
{
    return dynamic_cast<CMainFrame*>(player.app.m_pMainWnd);
}

CString TitleOf(CWnd* wnd)
{
    CString title;
    wnd->GetWindowText(title);
    return title;
}
} // namespace

TEST(PlayerWindow, FrameTakesSizeAndStyleFromTheProject)
{
    struct Case
    {
        const char* name;
        std::function<void(CWorkSpaceObj&)> fill;
        bool fullScreen;
        DWORD styleOn;
        DWORD styleOff;
        Qt::WindowFlags flagsOn;
        Qt::WindowFlags flagsOff;
    };
    const Case cases[] = {
        {"sized with caption and border",
         [](CWorkSpaceObj& ws)
         {
             ws.m_nWindowWidth = 400;
             ws.m_nWindowHeight = 300;
         },
         false, WS_CAPTION | WS_BORDER | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0,
         Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint,
         Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint},
        {"no caption, no border, topmost",
         [](CWorkSpaceObj& ws)
         {
             ws.m_nWindowWidth = 500;
             ws.m_nWindowHeight = 200;
             ws.m_bShowTitleBar = 0;
             ws.m_bShow3DBorder = 0;
             ws.m_bAlwaysOnTop = 1;
         },
         false, 0, WS_CAPTION | WS_BORDER, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint,
         Qt::WindowTitleHint},
        {"caption without buttons",
         [](CWorkSpaceObj& ws)
         {
             ws.m_bShowMinBox = 0;
             ws.m_bShowMaxBox = 0;
             ws.m_bShowCloseBox = 0;
             ws.m_bShowHelpBox = 1;
         },
         false, WS_CAPTION, WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_SYSMENU,
         Qt::WindowTitleHint | Qt::WindowContextHelpButtonHint,
         Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint},
        {"full screen",
         [](CWorkSpaceObj& ws)
         {
             ws.m_nWindowWidth = 300;
             ws.m_nWindowHeight = 200;
             ws.m_bFullScreen = 1;
         },
         true,
         0,
         WS_CAPTION | WS_BORDER | WS_THICKFRAME,
         Qt::FramelessWindowHint,
         {}},
    };
    AfxEnsureApplication();
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_GT(screenWidth, 0);
    const int edge = GetSystemMetrics(SM_CXEDGE);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        InstallRoot root;
        CWorkSpaceObj expected;
        InitDemoWorkSpace(expected);
        expected.m_strProjectName = L"Plant Window";
        c.fill(expected);
        root.AddUserProject("plant1",
                            [&](CWorkSpaceObj& ws)
                            {
                                ws.m_strProjectName = expected.m_strProjectName;
                                c.fill(ws);
                            });
        MessageLog messages;
        PlayerApp player(root, {"Plant1"});
        ASSERT_TRUE(player.Start());
        EXPECT_TRUE(messages.texts.empty());
        CMainFrame* frame = FrameOf(player);
        ASSERT_NE(frame, nullptr);
        PumpUntil([&] { return frame->IsWindowVisible(); });
        EXPECT_EQ(TitleOf(frame), CString(L"Plant Window"));

        // The size set is the client area's (with its edges); the window manager's caption and
        // border lie outside it, and the frame's outer corner is placed so that it is centred.
        const QWidget* widget = frame->GetWidget();
        if (c.fullScreen)
            EXPECT_EQ(widget->geometry(), QRect(0, 0, screenWidth, screenHeight));
        else
        {
            const int width = expected.m_nWindowWidth + 2 * edge;
            const int height = expected.m_nWindowHeight + 2 * edge;
            EXPECT_EQ(widget->size(), QSize(width, height));
            EXPECT_EQ(widget->frameGeometry().topLeft(),
                      QPoint((screenWidth - width) / 2, (screenHeight - height) / 2));
        }
        const DWORD style = frame->GetStyle();
        EXPECT_EQ(style & c.styleOn, c.styleOn);
        EXPECT_EQ(style & c.styleOff, 0u);
        EXPECT_EQ((frame->GetExStyle() & WS_EX_TOPMOST) != 0, expected.m_bAlwaysOnTop != 0);
        const Qt::WindowFlags flags = frame->GetWidget()->windowFlags();
        EXPECT_EQ(flags & c.flagsOn, c.flagsOn);
        EXPECT_EQ(flags & c.flagsOff, Qt::WindowFlags());

        // The View menu keeps only "Full Screen".
        CMenu* menu = frame->GetMenu();
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->GetMenuItemCount(), 3u);
        CMenu* view = menu->GetSubMenu(1);
        ASSERT_NE(view, nullptr);
        ASSERT_EQ(view->GetMenuItemCount(), 1u);
        EXPECT_EQ(view->GetMenuItemID(0), UINT(CMainFrame::ID_VIEW_FULL_SCREEN));
    }
}

TEST(PlayerWindow, OwnIconSettingGivesTheFrameIcon128)
{
    AfxEnsureApplication();
    for (const int own : {1, 0})
    {
        SCOPED_TRACE(own);
        InstallRoot root;
        root.AddUserProject("plant1", [&](CWorkSpaceObj& ws) { ws.m_bWindowFlag = own; });
        MessageLog messages;
        PlayerApp player(root, {"Plant1"});
        ASSERT_TRUE(player.Start());
        CMainFrame* frame = FrameOf(player);
        ASSERT_NE(frame, nullptr);
        const QIcon icon = frame->GetWidget()->windowIcon();
        if (own)
        {
            EXPECT_NE(frame->GetIcon(TRUE), nullptr);
            EXPECT_EQ(frame->GetIcon(FALSE), frame->GetIcon(TRUE));
            EXPECT_TRUE(frame->GetWidget()->testAttribute(Qt::WA_SetWindowIcon));
            ASSERT_FALSE(icon.isNull());
            EXPECT_TRUE(icon.availableSizes().contains(QSize(32, 32)));
        }
        else
        {
            EXPECT_EQ(frame->GetIcon(TRUE), nullptr);
            EXPECT_EQ(frame->GetIcon(FALSE), nullptr);
            EXPECT_FALSE(frame->GetWidget()->testAttribute(Qt::WA_SetWindowIcon));
            EXPECT_EQ(icon.cacheKey(), QApplication::windowIcon().cacheKey());
        }
    }
}

TEST(PlayerWindow, DemoMainScreenShowsItsSymbolsRunning)
{
    InstallRoot root;
    MessageLog messages;
    PlayerApp player(root, {});
    ASSERT_TRUE(player.Start());
    EXPECT_TRUE(messages.texts.empty());
    CMainFrame* frame = FrameOf(player);
    ASSERT_NE(frame, nullptr);
    auto* view = dynamic_cast<CQYRViewView*>(frame->GetActiveView());
    ASSERT_NE(view, nullptr);
    CQYRViewDoc* doc = view->GetDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->m_pMainView, view);
    EXPECT_EQ(doc->GetTitle(), CString(L"Main.xdg"));
    EXPECT_EQ(player.app.m_strCurrentScreen, CString(L"Main.xdg"));
    EXPECT_FALSE(doc->IsModified());

    CExtDataModel* model = doc->GetModel();
    ASSERT_NE(model, nullptr);
    EXPECT_FALSE(model->IsDesignMode());
    std::set<UINT> types;
    for (CFODrawShape* shape : *model->GetShapes())
        types.insert(shape->GetType());
    for (UINT type = 608; type <= 610; ++type)
        EXPECT_EQ(types.count(type), 1u) << type;

    // Drawn in run mode, the animated symbols run their timers.
    CFOPDrawWnd* canvas = view->GetCanvas();
    ASSERT_NE(canvas, nullptr);
    EXPECT_TRUE(PumpUntil([&] { return canvas->GetShapeTimerCount() > 0; }));

    const QImage image = frame->GetWidget()->grab().toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(image.save(QStringLiteral(QYR_PLAYER_PNG)));
    // Something is drawn on the canvas: more than a handful of colours.
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            colours.insert(image.pixel(x, y));
    EXPECT_GT(colours.size(), 10u);

    // Closing shows the splash window.
    frame->SendMessage(WM_CLOSE);
    EXPECT_TRUE(CSplashWnd::GetSplash().IsCreated());
    EXPECT_TRUE(CSplashWnd::GetSplash().IsWindowVisible());
    EXPECT_TRUE(PumpUntil([&] { return player.app.m_pMainWnd == nullptr; }));
    CSplashWnd::GetSplash().DestroyWindow();
}

TEST(PlayerWindow, SplashShowsItsPictureAndPlaysItsClosingAnimation)
{
    CSplashWnd& splash = CSplashWnd::GetSplash();
    ASSERT_TRUE(splash.Show(0));
    // The picture is the template's first control (it has no id of its own).
    auto* picture = dynamic_cast<CStatic*>(splash.GetDlgItem(-1));
    ASSERT_NE(picture, nullptr);
    const QImage* bitmap = AfxGetBitmapImage(picture->GetBitmap());
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->size(), QSize(600, 325));
    auto* animation = dynamic_cast<CAnimateCtrl*>(splash.GetDlgItem(CSplashWnd::IDC_ANIMATE));
    ASSERT_NE(animation, nullptr);
    EXPECT_TRUE(animation->IsPlaying());
    // The animation moves: its pictures differ over a few frames.
    const QImage first = animation->GetWidget()->grab().toImage();
    EXPECT_TRUE(PumpUntil([&] { return animation->GetWidget()->grab().toImage() != first; }, 2000));
    const QImage shot = splash.GetWidget()->grab().toImage();
    EXPECT_TRUE(shot.save(QStringLiteral(QYR_SPLASH_PNG)));
    splash.DestroyWindow();
    EXPECT_FALSE(splash.IsCreated());

    // With a time-out the window hides itself.
    ASSERT_TRUE(splash.Show(50));
    EXPECT_TRUE(splash.IsWindowVisible());
    EXPECT_TRUE(PumpUntil([&] { return !splash.IsWindowVisible(); }, 3000));
    splash.DestroyWindow();
}

TEST(PlayerWindow, SecondPlayerIsRefusedAndRaisesTheFirst)
{
    InstallRoot root;
    MessageLog messages;
    PlayerApp player(root, {});
    ASSERT_TRUE(player.Start());
    CMainFrame* frame = FrameOf(player);
    ASSERT_NE(frame, nullptr);
    frame->ShowWindow(SW_MINIMIZE);
    ASSERT_TRUE(PumpUntil([&] { return frame->IsIconic() != FALSE; }));

    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("HOME", root.dir.path());
    env.insert("XDG_CONFIG_HOME", root.dir.path() + "/config");
    second.setProcessEnvironment(env);
    second.start(QStringLiteral(QYR_BIN_DIR "/QYRView"), {});
    ASSERT_TRUE(second.waitForStarted(10000));
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    const QByteArray err = second.readAllStandardError();
    EXPECT_TRUE(err.contains("QYRView: QYRView already running!")) << err.toStdString();
    EXPECT_TRUE(PumpUntil([&] { return !frame->IsIconic(); }));
}

TEST(PlayerWindow, ProgramReportsAMissingProjectFileAndEnds)
{
    InstallRoot root;
    QProcess player;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("HOME", root.dir.path());
    env.insert("XDG_CONFIG_HOME", root.dir.path() + "/config");
    player.setProcessEnvironment(env);
    const QString missing = root.root + "/User/Gone/Gone.dcp";
    player.start(QStringLiteral(QYR_BIN_DIR "/QYRView"), {missing});
    ASSERT_TRUE(player.waitForStarted(10000));
    ASSERT_TRUE(player.waitForFinished(20000));
    EXPECT_EQ(player.exitStatus(), QProcess::NormalExit);
    const QByteArray err = player.readAllStandardError();
    const QByteArray expected = "QYRView: Project file missing (" + missing.toLower().toUtf8() + ")!";
    EXPECT_TRUE(err.contains(expected)) << err.toStdString();
}

TEST(PlayerWindow, FrameTimerReachesTheApplicationAndFullScreenCommandFillsTheScreen)
{
    InstallRoot root;
    MessageLog messages;
    PlayerAppT<CTickCountingApp> player(root, {});
    ASSERT_TRUE(player.Start());
    CMainFrame* frame = FrameOf(player);
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(PumpUntil([&] { return player.app.ticks.size() >= 2; }, 3000));
    for (UINT id : player.app.ticks)
        EXPECT_EQ(id, UINT(CMainFrame::ID_FRAME_TIMER));

    EXPECT_NE(frame->GetStyle() & WS_CAPTION, 0u);
    frame->SendMessage(WM_COMMAND, CMainFrame::ID_VIEW_FULL_SCREEN);
    EXPECT_EQ(frame->GetStyle() & (WS_CAPTION | WS_BORDER), 0u);
    EXPECT_TRUE(frame->GetWidget()->windowFlags().testFlag(Qt::FramelessWindowHint));
    const QRect screen(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(frame->GetWidget()->geometry(), screen);
}

TEST(PlayerWindow, MenusShowTheDesktopsIconsOfTheirStandardCommands)
{
    AfxEnsureApplication();
    InstallRoot root;
    root.AddUserProject("plant1", [](CWorkSpaceObj&) {});
    MessageLog messages;
    PlayerApp player(root, {"Plant1"});
    ASSERT_TRUE(player.Start());
    CMainFrame* frame = FrameOf(player);
    ASSERT_NE(frame, nullptr);
    auto* main = qobject_cast<QMainWindow*>(frame->GetWidget());
    ASSERT_TRUE(main && main->menuBar());

    // Each menu as it opens, side by side in one picture for a person to look at.
    std::map<UINT, QIcon> icons;
    std::vector<QImage> shots;
    for (QAction* top : main->menuBar()->actions())
    {
        QMenu* menu = top->menu();
        if (!menu)
            continue;
        menu->popup(QPoint(0, 0));
        AfxPumpMessages();
        for (QAction* item : menu->actions())
            if (!item->isSeparator())
                icons[item->data().toUInt()] = item->icon();
        shots.push_back(menu->grab().toImage());
        menu->hide();
    }
    int width = 0, height = 0;
    for (const QImage& shot : shots)
    {
        width += shot.width() + 8;
        height = std::max(height, shot.height());
    }
    QImage sheet(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    int x = 0;
    for (const QImage& shot : shots)
    {
        painter.drawImage(x, 0, shot);
        x += shot.width() + 8;
    }
    painter.end();
    EXPECT_TRUE(sheet.save(QStringLiteral(QYR_SHOT_DIR "/player-menus.png")));

    // The theme the programs fall back to has an icon for each of them.
    if (AfxInstalledIconTheme().IsEmpty())
        GTEST_SKIP() << "no icon theme installed (scripts/setup-deps.sh installs one)";
    const std::pair<UINT, const char*> standard[] = {
        {ID_APP_EXIT, "application-exit"},
        {ID_HELP_FINDER, "help-contents"},
        {ID_APP_ABOUT, "help-about"},
        {CMainFrame::ID_VIEW_FULL_SCREEN, "view-fullscreen"},
    };
    for (const auto& [id, name] : standard)
    {
        SCOPED_TRACE(name);
        ASSERT_EQ(icons.count(id), 1u);
        ASSERT_FALSE(icons[id].isNull());
        EXPECT_EQ(icons[id].pixmap(16, 16).toImage(),
                  QIcon::fromTheme(QLatin1String(name)).pixmap(16, 16).toImage());
    }
}
