// Closing QYRMView through File > Exit in this process, with a bound screen showing: from the command,
// its question answered Yes at once, to the main window gone (goal: under 0.5 s). The player's own closes are
// in OperatorBench.cpp.
#include "mfc/Messages.h"
#include "mfc/ModalHook.h"
#include "mfc/WinApp.h"
#include "multiview/MainFrm.h"
#include "multiview/QYRMViewApp.h"
#include "opc/InfoServer.h"

#include "BenchScreens.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <string>
#include <vector>

namespace
{
using namespace bench_screens;

void BM_CloseQYRMViewByFileExit(benchmark::State& state)
{
    QTemporaryDir dir;
    CQYRMViewApp app;
    std::vector<std::string> args;
    StartBenchProject(dir, app, "QYRMView", args,
                      [](const QString& screens)
                      { WriteScreen(screens + "Main.xdg", 10, [](int) { return CString(L"Memory.R8"); }); });
    CInfoServer::SetStatusWaitStep(20);
    if (!app.InitInstance() || !dynamic_cast<CMainFrame*>(app.m_pMainWnd))
    {
        state.SkipWithError("the viewer did not start");
        return;
    }
    // Its screen shown and its values arriving.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 2000)
        AfxPumpMessages();
    // "Quit application?" answered Yes at once.
    AfxSetModalHook([](const AfxModalRequest&) { return IDYES; });
    for (auto _ : state)
    {
        app.m_pMainWnd->SendMessage(WM_COMMAND, ID_APP_EXIT, 0);
        QElapsedTimer clock;
        clock.start();
        while (app.m_pMainWnd && clock.elapsed() < 10000)
            AfxPumpMessages();
        if (app.m_pMainWnd)
        {
            state.SkipWithError("the main window did not close within 10 s");
            break;
        }
    }
    if (app.m_pMainWnd && app.m_pMainWnd->GetSafeHwnd())
        app.m_pMainWnd->DestroyWindow();
    AfxPumpMessages();
    app.ExitInstance();
    AfxWinTerm();
}
// It ends the viewer of this process: once.
BENCHMARK(BM_CloseQYRMViewByFileExit)->Unit(benchmark::kMillisecond)->Iterations(1);
} // namespace
