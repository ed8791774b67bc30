// The player started in this process on a bench project, for the player's benchmarks.
#pragma once

#include "BenchScreens.h"

#include "player/MainFrm.h"
#include "player/QYRViewApp.h"
#include "player/QYRViewView.h"

namespace bench_screens
{
struct BenchPlayer
{
    QTemporaryDir dir;
    CQYRViewApp app;
    CQYRViewView* view = nullptr;
    std::vector<std::string> args;

    // fill writes the project's screens into the folder it is given.
    explicit BenchPlayer(const std::function<void(const QString&)>& fill)
    {
        StartBenchProject(dir, app, "QYRView", args, fill);
        if (!app.InitInstance())
            return;
        auto* frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
        view = frame ? dynamic_cast<CQYRViewView*>(frame->GetActiveView()) : nullptr;
    }
    ~BenchPlayer()
    {
        if (app.m_pMainWnd && app.m_pMainWnd->GetSafeHwnd())
            app.m_pMainWnd->DestroyWindow();
        AfxPumpMessages();
        app.ExitInstance();
        AfxWinTerm();
    }
};
} // namespace bench_screens
