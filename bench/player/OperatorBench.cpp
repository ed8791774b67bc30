// What an operator waits for, in the player (offscreen):
// - scrolling a 4,000 x 3,000 screen of 5,000 shapes by one page, drawn (goal: under 16 ms);
// - closing QYRView and QYRMView on SIGTERM with the demo project running, from the signal to the
//   end of the process (goal: under 0.5 s);
// - closing the player in this process through File > Exit (goal: under 0.5 s).
#include "figkit/FODrawHelper.h"
#include "figkit/FODrawShape.h"
#include "mfc/Messages.h"
#include "mfc/WinApp.h"
#include "opc/InfoServer.h"
#include "player/ExtDataModel.h"
#include "player/MainFrm.h"
#include "player/QYRViewApp.h"
#include "player/QYRViewView.h"

#include "BenchPlayer.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QWidget>

#include <csignal>
#include <string>
#include <vector>

namespace
{
using namespace bench_screens;

// A screen of count labels spread over width x height.
void WriteLargeScreen(const QString& path, int count, int width, int height)
{
    CExtDataModel model;
    model.SetCanvasSize(CSize(width, height));
    const int columns = 100;
    const int rows = (count + columns - 1) / columns;
    for (int i = 0; i < count; ++i)
    {
        const int x = (i % columns) * (width / columns);
        const int y = (i / columns) * (height / rows);
        CRect rc(x + 2, y + 2, x + width / columns - 2, y + height / rows - 2);
        CFODrawShape* shape = model.DoCreateShapeByType(FO_COMP_SIMPLELABEL, rc, CString());
        CString caption;
        caption.Format(L"%d", i);
        shape->SetObjectCaption(caption);
        shape->SetBrushType(FO_BRUSH_SOLID);
        shape->SetBkColor(RGB(200 + i % 50, 220, 255));
        model.InsertShape(shape);
        shape->Release();
    }
    model.SaveDocument(ToCString(path));
}

struct Player : BenchPlayer
{
    Player()
        : BenchPlayer(
              [](const QString& screens)
              {
                  WriteScreen(screens + "Main.xdg", 10, [](int) { return CString(L"Memory.R8"); });
                  WriteLargeScreen(screens + "Large.xdg", 5000, 4000, 3000);
              })
    {
        if (app.m_pMainWnd)
            app.m_pMainWnd->MoveWindow(0, 0, 1280, 1024);
    }
};

QApplication& Qt()
{
    static QApplication* qt = nullptr;
    if (!qt)
    {
        static int argc = 1;
        static char name[] = "bench_player_operator";
        static char* argv[] = {name, nullptr};
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qt = new QApplication(argc, argv);
    }
    return *qt;
}

Player& ThePlayer()
{
    Qt();
    CInfoServer::SetStatusWaitStep(20);
    // Left to the process's end, after the framework's own globals.
    static Player* player = new Player;
    return *player;
}

void BM_ScrollLargeScreenOnePage(benchmark::State& state)
{
    Player& p = ThePlayer();
    if (!p.view)
    {
        state.SkipWithError("the player did not start");
        return;
    }
    // The benchmark runs this more than once: the screen may show already.
    if (p.view->GetCurrentScreen() != L"Large.xdg" && !p.view->SwitchScreen(L"Large.xdg"))
    {
        state.SkipWithError("the large screen did not show");
        return;
    }
    QWidget* widget = p.view->GetWidget();
    widget->window()->show();
    AfxPumpMessages();
    for (auto _ : state)
    {
        // Down a page at a time, and back to the top at the bottom.
        if (!p.view->OnScroll(MAKEWORD(0xFF, SB_PAGEDOWN), 0))
        {
            state.PauseTiming();
            p.view->ScrollToDevicePosition(CPoint(0, 0));
            widget->repaint();
            state.ResumeTiming();
            continue;
        }
        widget->repaint();
    }
    state.counters["shapes"] = double(p.view->GetCurrentModel()->GetShapes()->GetCount());
}
BENCHMARK(BM_ScrollLargeScreenOnePage)->Unit(benchmark::kMillisecond);

// The program started on the demo project, given time to show it, then sent SIGTERM: the time from
// the signal to the end of the process.
void CloseOnSigterm(benchmark::State& state, const char* program)
{
    const QString bin = QStringLiteral(QYR_BIN_DIR);
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_CONFIG_HOME", home.path() + "/config");
    env.insert("XDG_RUNTIME_DIR", home.path());
    env.insert("ASAN_OPTIONS", "detect_leaks=0");
    for (auto _ : state)
    {
        state.PauseTiming();
        QProcess process;
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(bin + "/" + program, {bin + "/../Demo/demo/demo.dcp"});
        if (!process.waitForStarted(10000))
        {
            state.SkipWithError("the program did not start");
            return;
        }
        // Up and running against the stand-in server, its timers ticking.
        QThread::msleep(4000);
        if (process.state() != QProcess::Running)
        {
            state.SkipWithError("the program ended by itself");
            return;
        }
        QElapsedTimer clock;
        state.ResumeTiming();
        clock.start();
        ::kill(pid_t(process.processId()), SIGTERM);
        const bool ended = process.waitForFinished(10000);
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        if (!ended)
        {
            process.kill();
            process.waitForFinished();
            state.SkipWithError("the program did not end within 10 s of SIGTERM");
            return;
        }
    }
}

void BM_CloseQYRViewOnSigterm(benchmark::State& state)
{
    CloseOnSigterm(state, "QYRView");
}
BENCHMARK(BM_CloseQYRViewOnSigterm)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

void BM_CloseQYRMViewOnSigterm(benchmark::State& state)
{
    CloseOnSigterm(state, "QYRMView");
}
BENCHMARK(BM_CloseQYRMViewOnSigterm)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

// File > Exit in this process: from the command to the main window gone.
void BM_ClosePlayerByFileExit(benchmark::State& state)
{
    Player& p = ThePlayer();
    if (!p.view || !p.view->SwitchScreen(L"Main.xdg"))
    {
        state.SkipWithError("the player did not start");
        return;
    }
    for (auto _ : state)
    {
        p.app.m_pMainWnd->SendMessage(WM_COMMAND, ID_APP_EXIT, 0);
        QElapsedTimer clock;
        clock.start();
        while (p.app.m_pMainWnd && clock.elapsed() < 10000)
            AfxPumpMessages();
        if (p.app.m_pMainWnd)
        {
            state.SkipWithError("the main window did not close within 10 s");
            return;
        }
    }
}
// Last: it ends the player of this process.
BENCHMARK(BM_ClosePlayerByFileExit)->Unit(benchmark::kMillisecond)->Iterations(1);
} // namespace
