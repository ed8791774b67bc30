// The player's speed against the stand-in server, in a running player (offscreen):
// - one value refresh tick of a screen with 5,000 bound shapes, a tenth of them with a new value
//   (goal: under 10 ms);
// - a screen switch that binds 1,000 items (goal: under 200 ms).
#include "figkit/FODrawShape.h"
#include "mfc/ModalHook.h"
#include "mfc/WinApp.h"
#include "model/WorkSpaceObj.h"
#include "opc/InfoServer.h"
#include "player/DemoProject.h"
#include "player/ExtDataModel.h"
#include "player/MainFrm.h"
#include "player/QYRViewApp.h"
#include "player/QYRViewView.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cfloat>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

namespace
{
CString ToCString(const QString& s)
{
    return CString(s.toStdWString().c_str());
}

// A screen of count labels, each bound to tag(i) on the stand-in server.
void WriteScreen(const QString& path, int count, const std::function<CString(int)>& tag)
{
    CExtDataModel model;
    for (int i = 0; i < count; ++i)
    {
        CRect rc(10 + (i % 50) * 12, 10 + (i / 50) * 6, 20 + (i % 50) * 12, 15 + (i / 50) * 6);
        CFODrawShape* shape = model.DoCreateShapeByType(FO_COMP_SIMPLELABEL, rc, CString());
        shape->SetKeyId2(L"'Quendrel.OpcDaServer.1'");
        shape->SetKeyId3(tag(i));
        model.InsertShape(shape);
        shape->Release();
    }
    model.SaveDocument(ToCString(path));
}

CString BulkTag(int i)
{
    CString name;
    name.Format(L"Bulk.Tag%05d", i % 10000);
    return name;
}

// The player started in this process on a project of its own.
struct Player
{
    QTemporaryDir dir;
    CQYRViewApp app;
    CQYRViewView* view = nullptr;
    std::vector<std::string> args;

    Player()
    {
        const QString root = dir.path() + "/Plexrun";
        const QString project = root + "/User/bench";
        QDir().mkpath(root + "/bin");
        QDir().mkpath(project + "/XdgFiles");
        QDir().mkpath(dir.path() + "/run");
        qputenv("XDG_RUNTIME_DIR", (dir.path() + "/run").toUtf8());
        qputenv("XDG_CONFIG_HOME", (dir.path() + "/config").toUtf8());
        WriteScreen(project + "/XdgFiles/Main.xdg", 5000,
                    [](int i) { return i % 10 == 0 ? BulkTag(i) : CString(L"Memory.R8"); });
        WriteScreen(project + "/XdgFiles/A.xdg", 1000, BulkTag);
        WriteScreen(project + "/XdgFiles/B.xdg", 1000, [](int i) { return BulkTag(i + 1000); });
        CWorkSpaceObj ws;
        InitDemoWorkSpace(ws);
        ws.SaveDocument(ToCString(project + "/bench.dcp"));

        args = {"QYRView", (project + "/bench.dcp").toStdString()};
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        AfxWinInit(int(args.size()), argv.data());
        std::free(const_cast<LPWSTR>(app.m_pszHelpFilePath));
        app.m_pszHelpFilePath = wcsdup(ToCString(root + "/bin/QYRView.CHM"));
        AfxSetModalHook([](const AfxModalRequest&) { return IDOK; });
        if (!app.InitInstance())
            return;
        auto* frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
        view = frame ? dynamic_cast<CQYRViewView*>(frame->GetActiveView()) : nullptr;
    }
    ~Player()
    {
        if (app.m_pMainWnd && app.m_pMainWnd->GetSafeHwnd())
            app.m_pMainWnd->DestroyWindow();
        AfxPumpMessages();
        app.ExitInstance();
        AfxWinTerm();
    }
};

Player& ThePlayer()
{
    // Both are left to the process's end, after the framework's own globals.
    static QApplication* qt = nullptr;
    if (!qt)
    {
        static int argc = 1;
        static char name[] = "bench_player";
        static char* argv[] = {name, nullptr};
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qt = new QApplication(argc, argv);
    }
    CInfoServer::SetStatusWaitStep(20);
    static Player* player = new Player;
    return *player;
}

void BM_RefreshTick5000Shapes(benchmark::State& state)
{
    Player& p = ThePlayer();
    if (!p.view || !p.view->LoadScreen(L"Main.xdg"))
    {
        state.SkipWithError("the player did not start");
        return;
    }
    std::vector<CFODrawShape*> shapes;
    for (CFODrawShape* shape : *p.view->GetCurrentModel()->GetShapes())
        shapes.push_back(shape);
    p.view->RefreshValues();
    int changed = 0;
    for (auto _ : state)
    {
        state.PauseTiming();
        // A tenth of the shapes shows an old value, so this tick gives them the new one.
        for (size_t i = 0; i < shapes.size(); i += 10)
            shapes[i]->SetCurrentValue(-1.0);
        AfxPumpMessages();
        state.ResumeTiming();
        p.view->RefreshValues();
        state.PauseTiming();
        changed = 0;
        for (size_t i = 0; i < shapes.size(); i += 10)
            changed += shapes[i]->GetCurrentValue() != -1.0;
        state.ResumeTiming();
    }
    state.counters["shapes"] = double(shapes.size());
    state.counters["changed"] = changed;
}
BENCHMARK(BM_RefreshTick5000Shapes)->Unit(benchmark::kMillisecond);

void BM_ScreenSwitchBinding1000Items(benchmark::State& state)
{
    Player& p = ThePlayer();
    if (!p.view)
    {
        state.SkipWithError("the player did not start");
        return;
    }
    // The benchmark runs this more than once: go on from the screen shown.
    bool toA = p.app.m_strCurrentScreen != L"A.xdg";
    int bound = 0;
    for (auto _ : state)
    {
        if (!p.view->SwitchScreen(toA ? L"A.xdg" : L"B.xdg"))
        {
            state.SkipWithError("the screen did not switch");
            return;
        }
        state.PauseTiming();
        bound = 0;
        for (CFODrawShape* shape : *p.view->GetCurrentModel()->GetShapes())
            bound += shape->GetItemData() != nullptr;
        toA = !toA;
        AfxPumpMessages();
        state.ResumeTiming();
    }
    state.counters["items"] = bound;
}
BENCHMARK(BM_ScreenSwitchBinding1000Items)->Unit(benchmark::kMillisecond);
} // namespace
