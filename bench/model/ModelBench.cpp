// Screen model figures: saving and loading a screen of 10,000 shapes, and pushing one variable's
// value into a screen of 10,000 shapes.
#include "figkit/FOPCanvasCore.h"
#include "model/ParamObj.h"
#include "model/XVKDataModel.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

namespace
{
const int kShapes = 10000;

// 10,000 shapes of the common kinds, each bound to one of 500 variables.
void FillScreen(CXVKDataModel& model)
{
    const UINT types[] = {601, 602, 620, 696, 256, 605, 626};
    for (int i = 0; i < kShapes; ++i)
    {
        const int x = (i % 100) * 10;
        const int y = (i / 100) * 10;
        CRect rc(x, y, x + 40, y + 30);
        CFODrawShape* shape = model.DoCreateShapeByType(types[i % 7], rc, CString());
        CString key;
        key.Format(L"#var%d", i % 500);
        shape->SetKeyId3(key);
        shape->SetKeyId1(L"shape");
        model.InsertShape(shape);
        shape->Release();
    }
}

CString ScreenPath(const QTemporaryDir& dir)
{
    return CString::FromUtf8((dir.path() + "/bench.xdg").toStdString());
}
} // namespace

static void BM_SaveScreen10k(benchmark::State& state)
{
    QTemporaryDir dir;
    CXVKDataModel model;
    FillScreen(model);
    const CString path = ScreenPath(dir);
    for (auto _ : state)
        benchmark::DoNotOptimize(model.SaveDocument(path));
}
BENCHMARK(BM_SaveScreen10k)->Unit(benchmark::kMillisecond);

static void BM_LoadScreen10k(benchmark::State& state)
{
    QTemporaryDir dir;
    const CString path = ScreenPath(dir);
    {
        CXVKDataModel model;
        FillScreen(model);
        model.SaveDocument(path);
    }
    for (auto _ : state)
    {
        CXVKDataModel model;
        if (!model.OpenDocument(path) || model.GetShapeCount() != kShapes + 1)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(model.GetShapeCount());
        state.PauseTiming();
        model.RemoveAllShapes();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadScreen10k)->Unit(benchmark::kMillisecond);

static void BM_UpdateParamData10k(benchmark::State& state)
{
    CXVKDataModel model;
    FillScreen(model);
    CFOTypedShapeObList changed;
    double v = 0;
    for (auto _ : state)
    {
        FO_VALUE value = FO_VALUE::MakeDouble(v += 1.0);
        changed.RemoveAll();
        model.UpdateParamData(L"#var123", value, &changed, PARAM_KIND_GLOBAL);
        benchmark::DoNotOptimize(changed.Count());
    }
    state.counters["changed"] = double(changed.Count());
}
BENCHMARK(BM_UpdateParamData10k)->Unit(benchmark::kMicrosecond);

// The first push after the screen changed, which rebuilds the key lookup.
static void BM_UpdateParamData10kAfterChange(benchmark::State& state)
{
    CXVKDataModel model;
    FillScreen(model);
    CFODrawShape* first = model.GetShapes()->GetObject(0);
    CFOTypedShapeObList changed;
    double v = 0;
    int toggle = 0;
    for (auto _ : state)
    {
        first->SetKeyId3((toggle++ & 1) ? L"#var0" : L"#VAR0");
        FO_VALUE value = FO_VALUE::MakeDouble(v += 1.0);
        changed.RemoveAll();
        model.UpdateParamData(L"#var123", value, &changed, PARAM_KIND_GLOBAL);
        benchmark::DoNotOptimize(changed.Count());
    }
}
BENCHMARK(BM_UpdateParamData10kAfterChange)->Unit(benchmark::kMicrosecond);
