// The viewer's speed against the stand-in server, in a running viewer (offscreen): opening a second
// screen with 1,000 bound shapes from the file pane, as a child beside the first (goal: under
// 300 ms). Each run closes the child again, untimed.
#include "mfc/Document.h"
#include "multiview/FileView.h"
#include "multiview/MainFrm.h"
#include "multiview/QYRMViewApp.h"
#include "opc/InfoServer.h"

#include "BenchScreens.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <string>
#include <vector>

namespace
{
using namespace bench_screens;

// The viewer started in this process on a project of its own: a small main screen and "Big".
struct Viewer
{
    QTemporaryDir dir;
    CQYRMViewApp app;
    CMainFrame* frame = nullptr;
    std::vector<std::string> args;

    Viewer()
    {
        StartBenchProject(dir, app, "QYRMView", args,
                          [](const QString& screens)
                          {
                              WriteScreen(screens + "Main.xdg", 10,
                                          [](int) { return CString(L"Memory.R8"); });
                              WriteScreen(screens + "Big.xdg", 1000, BulkTag);
                          });
        CInfoServer::SetStatusWaitStep(20);
        if (app.InitInstance())
            frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
    }
    ~Viewer()
    {
        if (app.m_pMainWnd && app.m_pMainWnd->GetSafeHwnd())
            app.m_pMainWnd->DestroyWindow();
        AfxPumpMessages();
        app.ExitInstance();
        AfxWinTerm();
    }
};

Viewer& TheViewer()
{
    // Left to the process's end, after the framework's own globals.
    static Viewer* viewer = new Viewer;
    return *viewer;
}

void BM_OpenSecondScreen1000BoundShapes(benchmark::State& state)
{
    Viewer& v = TheViewer();
    if (!v.frame)
    {
        state.SkipWithError("the viewer did not start");
        return;
    }
    CFileView& pane = v.frame->GetFileView();
    for (auto _ : state)
    {
        if (pane.SendMessage(0x603, reinterpret_cast<WPARAM>(L"Big"), 0) != 0 || !pane.GetLastOpened())
        {
            state.SkipWithError("the screen did not open");
            return;
        }
        state.PauseTiming();
        std::vector<CWnd*> children;
        v.frame->GetMDIChildren(children);
        state.counters["children"] = double(children.size());
        pane.GetLastOpened()->OnCloseDocument();
        AfxPumpMessages();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenSecondScreen1000BoundShapes)->Unit(benchmark::kMillisecond);
} // namespace
