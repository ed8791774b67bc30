// The property manager on a selection of 500 shapes: opening it (the first shape's values in its
// controls) and OK with one changed value (one property action on all 500, the shapes redrawn).
// Goal: each under 100 ms.
#include "figkit/FODataModel.h"
#include "figkit/FOPCanvasCore.h"
#include "figkit/FOPropEditDlgs.h"
#include "mfc/ModalHook.h"
#include "mfc/Wnd.h"
#include "model/XVKDataModel.h"

#include <benchmark/benchmark.h>

namespace
{
struct Selection
{
    CXVKDataModel model;
    CFOPDrawWnd canvas;
    Selection()
    {
        AfxEnsureApplication();
        model.SetCanvasSize(CSize(1560, 960));
        for (int i = 0; i < 500; ++i)
        {
            CRect rc((i % 50) * 30 + 2, (i / 50) * 30 + 2, (i % 50) * 30 + 26, (i / 50) * 30 + 26);
            CFOShapePtr<CFODrawShape> shape =
                CFOShapePtr<CFODrawShape>::Adopt(model.DoCreateShapeByType(601, rc, L""));
            model.InsertShape(shape);
        }
        canvas.CreateCanvas(nullptr, CRect(0, 0, 1600, 1000));
        canvas.SetCurrentModel(&model);
        canvas.ShowWindow(SW_SHOW);
        canvas.SelectShapes(*model.GetShapes());
        AfxPumpMessages();
    }
    ~Selection() { canvas.SetCurrentModel(nullptr); }
};

void BM_PropManagerOpen500(benchmark::State& state)
{
    Selection sel;
    const AfxModalHookFn old = AfxSetModalHook([](const AfxModalRequest&) { return int(IDCANCEL); });
    for (auto _ : state)
    {
        CFOPropManagerDlg dlg;
        sel.canvas.RunPropEditDlg(dlg, sel.canvas.GetSelectShapes());
    }
    AfxSetModalHook(old);
}
BENCHMARK(BM_PropManagerOpen500)->Unit(benchmark::kMillisecond);

void BM_PropManagerOK500(benchmark::State& state)
{
    Selection sel;
    int n = 0;
    const AfxModalHookFn old = AfxSetModalHook(
        [&n](const AfxModalRequest& r)
        {
            CString tip;
            tip.Format(L"Tip %d", ++n);
            r.pDialog->SetDlgItemText(FO_PROP_TOOLTIP, tip);
            return int(IDOK);
        });
    for (auto _ : state)
    {
        CFOPropManagerDlg dlg;
        if (!sel.canvas.RunPropEditDlg(dlg, sel.canvas.GetSelectShapes()))
            state.SkipWithError("nothing changed");
        AfxPumpMessages();
    }
    AfxSetModalHook(old);
}
BENCHMARK(BM_PropManagerOK500)->Unit(benchmark::kMillisecond);
} // namespace
