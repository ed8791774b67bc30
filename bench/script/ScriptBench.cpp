// Script host speed: 100,000 "app" calls from one script loop, and 100,000 procedure runs from C++.
#include "com/ComUtil.h"
#include "foundation/SafeArrayHelper.h"
#include "foundation/VEzudiZuroDoz.h"
#include "model/ParamObj.h"
#include "model/ScriptObject.h"
#include "model/WorkSpaceObj.h"
#include "model/XVKMethodHost.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace
{
class CBenchApp : public VEzudiZuroDoz
{
public:
    CBenchApp() : VEzudiZuroDoz(128, 128) {}
};

// One program's worth of script host, made once.
struct ScriptWorld
{
    ScriptWorld()
    {
        static int argc = 1;
        static char name[] = "bench_script";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            qtApp = new QCoreApplication(argc, argv);
        app.SetWorkSpace(CWorkSpaceObj::Make());
        app.GetWorkSpace()->AddParam(new CParamObj(L"#x", FO_VALUE::MakeDouble(1.5), 101));
        host = new CXVKMethodHost;
        script.SetTimeout(-1);
        script.AddObject(L"app", host->GetIDispatch(FALSE));
        script.AddScript(
            L"function loop(s, n) { var t = 0; for (var i = 0; i < n; ++i) t += app.GetGVarValue('#x');"
            L" return t; }\n"
            L"function empty(s, n) {}\n");
    }

    QCoreApplication* qtApp = nullptr;
    CBenchApp app;
    CXVKMethodHost* host = nullptr;
    CScriptObject script;
};

ScriptWorld& World()
{
    static ScriptWorld* world = new ScriptWorld;
    return *world;
}

// As the runtime programs call procedures: a string and an integer, built for each call.
BOOL RunWith(CScriptObject& script, LPCWSTR proc, LPCWSTR s, int n, VARIANT* result)
{
    CSafeArrayHelper args;
    args.Create(VT_VARIANT, 1, 0, 2);
    _variant_t a(s);
    _variant_t b(n);
    args.PutElement(0, &a);
    args.PutElement(1, &b);
    SAFEARRAY* psa = args.GetArray();
    return script.RunProcedure(proc, &psa, result);
}

void AppCallsFromOneScriptLoop(benchmark::State& state)
{
    ScriptWorld& w = World();
    for (auto _ : state)
    {
        VARIANT r;
        VariantInit(&r);
        if (!RunWith(w.script, L"loop", L"", 100000, &r))
            state.SkipWithError("the loop failed");
        benchmark::DoNotOptimize(r.dblVal);
        VariantClear(&r);
    }
    state.counters["calls"] = 100000;
}
BENCHMARK(AppCallsFromOneScriptLoop)->Unit(benchmark::kMillisecond)->Iterations(5);

void EmptyProcedureRunsFromCpp(benchmark::State& state)
{
    ScriptWorld& w = World();
    for (auto _ : state)
    {
        for (int i = 0; i < 100000; ++i)
        {
            VARIANT r;
            VariantInit(&r);
            if (!RunWith(w.script, L"empty", L"Button1", i, &r))
            {
                state.SkipWithError("the run failed");
                break;
            }
        }
    }
    state.counters["runs"] = 100000;
}
BENCHMARK(EmptyProcedureRunsFromCpp)->Unit(benchmark::kMillisecond)->Iterations(5);
} // namespace
