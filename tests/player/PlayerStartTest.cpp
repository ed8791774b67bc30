// The player starts on a project, shows its frame and closes cleanly.
#include "mfc/Menu.h"
#include "mfc/Messages.h"
#include "mfc/WinApp.h"
#include "mfc/Wnd.h"
#include "player/MainFrm.h"
#include "player/QYRViewApp.h"
#include "PlayerTestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>

TEST(PlayerStart, ShowsItsFrameAndClosesThroughTheLoop)
{
    player_test::InstallRoot root;
    player_test::PlayerApp player(root, {});
    CQYRViewApp& app = player.app;
    ASSERT_TRUE(player.Start());

    auto* frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->IsWindowVisible());
    CMenu* menu = frame->GetMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->GetMenuItemCount(), 3);
    EXPECT_NE(app.GetWorkSpace(), nullptr);
    EXPECT_FALSE(app.GetCommandLineInfo().GetOption(L"silent"));

    // Closing the frame ends the loop, as File/Exit would.
    QTimer::singleShot(50, [frame] { frame->PostMessage(WM_COMMAND, ID_APP_EXIT, 0); });
    EXPECT_EQ(app.Run(), 0);
    player.started = false; // Run has ended the application
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

TEST(PlayerStart, ProgramRunsOffscreenAndStopsCleanlyOnTerminate)
{
    QTemporaryDir home;
    QProcess player;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_CONFIG_HOME", home.path() + "/config");
    env.insert("HOME", home.path());
    // A runtime folder of its own, so that a player running elsewhere does not count.
    QDir().mkpath(home.path() + "/run");
    QFile::setPermissions(home.path() + "/run", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    env.insert("XDG_RUNTIME_DIR", home.path() + "/run");
    player.setProcessEnvironment(env);
    // The demo project that the build writes beside the programs.
    player.start(QStringLiteral(QYR_BIN_DIR "/QYRView"),
                 {QStringLiteral(QYR_BIN_DIR "/../Demo/demo/demo.dcp")});
    ASSERT_TRUE(player.waitForStarted(10000));
    // Start-up has reached the options store once the registry file appears; by then the
    // player listens for the stop request. It must still run: the frame is up and the loop waits.
    const QString store = home.path() + "/config/Quendrel/registry.dat";
    for (int i = 0; i < 300 && !QFile::exists(store) && player.state() == QProcess::Running; ++i)
        player.waitForFinished(100);
    EXPECT_TRUE(QFile::exists(store));
    EXPECT_FALSE(player.waitForFinished(500));
    ASSERT_EQ(player.state(), QProcess::Running);
    ::kill(pid_t(player.processId()), SIGTERM);
    ASSERT_TRUE(player.waitForFinished(20000));
    EXPECT_EQ(player.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(player.exitCode(), 0);
    const QByteArray err = player.readAllStandardError();
    EXPECT_FALSE(err.contains("AddressSanitizer")) << err.toStdString();
    EXPECT_FALSE(err.contains("runtime error")) << err.toStdString();
    EXPECT_FALSE(err.contains("LeakSanitizer")) << err.toStdString();
}
