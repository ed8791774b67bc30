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

#include "BenchPlayer.h"

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
using namespace bench_screens;

// The player started in this process on a project of its own.
struct Player : BenchPlayer
{
    Player()
        : BenchPlayer(
              [](const QString& screens)
              {
                  WriteScreen(screens + "Main.xdg", 5000,
                              [](int i) { return i % 10 == 0 ? BulkTag(i) : CString(L"Memory.R8"); });
                  WriteScreen(screens + "A.xdg", 1000, BulkTag);
                  WriteScreen(screens + "B.xdg", 1000, [](int i) { return BulkTag(i + 1000); });
              })
    {
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
