// The shapes' state machinery: a refresh tick of 5,000 bound shapes, each with a state text and
// three value ranges, of which 500 get a new value that moves them into another range (target
// under 5 ms); and making a state current on a composite of 50 children (target under 50 us).
#include "figkit/FOCompositeShape.h"
#include "figkit/FODataModel.h"
#include "figkit/FORectShape.h"
#include "figkit/FOShapeState.h"
#include "mfc/Dc.h"
#include "mfc/Wnd.h"
#include "model/ParamObj.h"
#include "model/XVKDataModel.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <vector>

namespace
{
const int kShapes = 5000;
const int kChanged = 500;
const int kWidth = 1920;
const int kHeight = 1080;

struct TickScreen
{
    CXVKDataModel model;
    std::vector<CString> names;

    TickScreen()
    {
        model.SetCanvasSize(CSize(kWidth, kHeight));
        names.resize(kShapes);
        for (int i = 0; i < kShapes; ++i)
        {
            const int x = (i % 100) * 19;
            const int y = (i / 100) * 21;
            CRect rc(x, y, x + 16, y + 18);
            CFODrawShape* shape = model.DoCreateShapeByType(601, rc, CString());
            shape->SetKeyId1(L"S");
            names[size_t(i)].Format(L"#v%d", i);
            shape->SetKeyId3(names[size_t(i)]);
            shape->SetStateString(L"Low$L_C,,0000FF#L_W,,2@High$L_C,,FF0000#L_W,,3");
            shape->SetValueChangeScript(
                L"0,32$C_C,,00FF00#L_S,Low@33,65$C_C,,FFFF00@66,100$C_C,,FF0000#F_T,,2#L_S,High");
            model.InsertShape(shape);
            shape->Release();
        }
        model.SetDesignMode(FALSE);
    }

    // Every tenth shape gets a value in the next range.
    void Push(int tick, CFOTypedShapeObList& changed)
    {
        changed.RemoveAll();
        const double value = double((tick % 3) * 33 + 10);
        for (int k = 0; k < kChanged; ++k)
        {
            FO_VALUE v = FO_VALUE::MakeDouble(value);
            model.UpdateParamData(names[size_t(k * (kShapes / kChanged))], v, &changed, PARAM_KIND_GLOBAL);
        }
    }
};

void EnsureApp()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    AfxEnsureApplication();
}
} // namespace

// Values handed to the shapes and their states, ranges and looks worked out.
static void BM_StateTick500of5k(benchmark::State& state)
{
    TickScreen screen;
    CFOTypedShapeObList changed;
    int tick = 0;
    for (auto _ : state)
        screen.Push(++tick, changed);
    state.counters["changed"] = double(changed.Count());
}
BENCHMARK(BM_StateTick500of5k)->Unit(benchmark::kMillisecond);

// The same, and each changed shape painted once.
static void BM_StateTick500of5kPainted(benchmark::State& state)
{
    EnsureApp();
    TickScreen screen;
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    CFOTypedShapeObList changed;
    int tick = 0;
    for (auto _ : state)
    {
        screen.Push(++tick, changed);
        CImageDC dc(image);
        for (CFODrawShape* shape : changed)
            shape->OnDraw(&dc);
    }
    state.counters["changed"] = double(changed.Count());
}
BENCHMARK(BM_StateTick500of5kPainted)->Unit(benchmark::kMillisecond);

// Two states that each act on every one of 50 children, made current in turn.
static void BM_MakeStateCurrent50Children(benchmark::State& state)
{
    CFODataModel model;
    auto* comp = new CFOCompositeShape;
    CString first = L"One$";
    CString second = L"Two$";
    for (int i = 0; i < 50; ++i)
    {
        auto* child = new CFORectShape;
        CRect rc(i * 10, 0, i * 10 + 8, 8);
        child->Create(rc);
        CString key;
        key.Format(L"C%d", i);
        child->SetKeyId1(key);
        comp->AddShape(child);
        first += (i ? L"#C_C," : L"C_C,") + key + L",FF0000";
        second += (i ? L"#L_W," : L"L_W,") + key + L",3";
    }
    comp->SetStateString(first + L"@" + second);
    model.InsertShape(comp);
    model.SetDesignMode(FALSE);
    bool one = false;
    for (auto _ : state)
    {
        one = !one;
        comp->SetStateType(one ? L"One" : L"Two");
    }
}
BENCHMARK(BM_MakeStateCurrent50Children)->Unit(benchmark::kMicrosecond);
