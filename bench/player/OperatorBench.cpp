// What an operator waits for, in the player (offscreen):
// - scrolling a 4,000 x 3,000 screen of 5,000 shapes by one page, drawn (goal: under 16 ms);
// - closing QYRView and QYRMView on SIGTERM with the demo project running, from the signal to the
//   end of the process (goal: under 0.5 s);
// - closing the player in this process through File > Exit (goal: under 0.5 s);
// - the CPU the player takes over 60 s while it shows a station screen of about 20 bound and
//   animated shapes (goal: under 1% of a core).
#include "figkit/FODrawHelper.h"
#include "figkit/FODrawShape.h"
#include "mfc/Messages.h"
#include "mfc/WinApp.h"
#include "model/WorkSpaceObj.h"
#include "opc/InfoServer.h"
#include "player/ExtDataModel.h"
#include "player/MainFrm.h"
#include "player/QYRViewApp.h"
#include "player/QYRViewView.h"

#include "BenchPlayer.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QWidget>

#include <csignal>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
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

// A station screen as an operator's first project has it: a caption, a dial, a tank, a running
// motor, a push chart of three tags, a switch, and captions with their bound values; 21 shapes in all.
void WriteStationScreen(const QString& path)
{
    CExtDataModel model;
    model.SetCanvasSize(CSize(640, 400));
    const CString server = L"'Quendrel.OpcDaServer.1'";
    auto add = [&](UINT type, CRect rc, const CString& tag) -> CFODrawShape*
    {
        CFODrawShape* shape = model.DoCreateShapeByType(type, rc, CString());
        if (!shape)
            return nullptr;
        if (!tag.IsEmpty())
        {
            shape->SetKeyId2(server);
            shape->SetKeyId3(tag);
        }
        model.InsertShape(shape);
        shape->Release();
        return shape;
    };
    auto label = [&](CRect rc, const CString& caption, const CString& tag)
    {
        if (CFODrawShape* shape = add(FO_COMP_SIMPLELABEL, rc, tag))
        {
            shape->SetObjectCaption(caption);
            shape->SetBrushType(FO_BRUSH_SOLID);
            shape->SetBkColor(RGB(235, 235, 235));
        }
    };
    label(CRect(20, 8, 620, 36), L"Station 1", CString());
    add(FO_COMP_GAUGE_CIRCULAR, CRect(20, 44, 170, 194), L"Simulation.Sine");
    add(610, CRect(190, 44, 270, 194), L"Plant.Area1.Tank1.Level");
    add(608, CRect(290, 64, 390, 164), L"Plant.Area2.Pump1.Running");
    add(609, CRect(410, 84, 470, 144), L"Plant.Area1.Tank1.Valve");
    if (CFODrawShape* chart = add(615, CRect(20, 210, 380, 390), CString()))
        chart->PutPropStringValue(15009, L"Sine$FF0000,0,100,Chart,Simulation.Sine@"
                                         L"Ramp$0000FF,0,100,Chart,Simulation.Ramp@"
                                         L"Level$008000,0,100,Chart,Plant.Area1.Tank2.Level");
    const wchar_t* const rows[][2] = {{L"Ramp", L"Simulation.Ramp"},
                                      {L"Counter", L"Simulation.Counter"},
                                      {L"Text", L"Simulation.Text"},
                                      {L"Pump speed", L"Plant.Area2.Pump1.Speed"},
                                      {L"Tank 1", L"Plant.Area1.Tank1.Level"},
                                      {L"Tank 2", L"Plant.Area1.Tank2.Level"},
                                      {L"Temperature", L"Plant.Area1.Tank1.Temperature"},
                                      {L"Setpoint", L"Memory.R8"}};
    for (int i = 0; i < 8; ++i)
    {
        const int y = 210 + 22 * i;
        label(CRect(400, y, 500, y + 20), rows[i][0], CString());
        label(CRect(505, y, 620, y + 20), CString(), rows[i][1]);
    }
    model.SaveDocument(ToCString(path));
}

// User and system CPU time of a process so far, in seconds.
double CpuSeconds(qint64 pid)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // The fields after the name, which is in parentheses and may hold blanks.
    const size_t close = text.rfind(')');
    if (close == std::string::npos)
        return -1.0;
    std::istringstream rest(text.substr(close + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && rest >> field; ++i)
        if (i == 14)
            utime = std::stoull(field);
        else if (i == 15)
            stime = std::stoull(field);
    return double(utime + stime) / double(sysconf(_SC_CLK_TCK));
}

// The real QYRView on a project whose main screen is the station screen: once it has settled, the
// CPU it takes over 60 s, in percent of one core.
void BM_IdleCpuOfAStationScreen(benchmark::State& state)
{
    const QString bin = QStringLiteral(QYR_BIN_DIR);
    QTemporaryDir home;
    const QString project = home.path() + "/User/station";
    QDir().mkpath(project + "/XdgFiles");
    WriteStationScreen(project + "/XdgFiles/Main.xdg");
    CWorkSpaceObj ws;
    InitDemoWorkSpace(ws);
    ws.m_strProjectName = L"Station";
    ws.SaveDocument(ToCString(project + "/station.dcp"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_CONFIG_HOME", home.path() + "/config");
    env.insert("XDG_RUNTIME_DIR", home.path());
    const int seconds = int(state.range(0));
    for (auto _ : state)
    {
        QProcess process;
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(bin + "/QYRView", {project + "/station.dcp"});
        if (!process.waitForStarted(10000))
        {
            state.SkipWithError("the program did not start");
            return;
        }
        QThread::msleep(5000);
        const double before = CpuSeconds(process.processId());
        QElapsedTimer clock;
        clock.start();
        QThread::msleep(1000UL * seconds);
        const double after = CpuSeconds(process.processId());
        const double wall = double(clock.nsecsElapsed()) / 1e9;
        const bool running = process.state() == QProcess::Running;
        ::kill(pid_t(process.processId()), SIGTERM);
        if (!process.waitForFinished(10000))
        {
            process.kill();
            process.waitForFinished();
        }
        if (!running || before < 0.0 || after < before)
        {
            state.SkipWithError("the program ended while it was measured");
            return;
        }
        state.SetIterationTime(wall);
        state.counters["cpu_percent"] = 100.0 * (after - before) / wall;
        state.counters["cpu_seconds"] = after - before;
    }
}
BENCHMARK(BM_IdleCpuOfAStationScreen)->Arg(60)->Unit(benchmark::kSecond)->UseManualTime()->Iterations(1);

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
