// The editor's canvas through its visual proxy, and its Instruments page (offscreen):
// - one repaint of 200 extra handles: each handle's icon drawn by the proxy and its tooltip text
//   asked of it (goal: under 2 ms);
// - opening the Instruments page from its file into the toolbox and painting it (goal: under 100 ms).
#include "editor/MyToolBoxWnd.h"
#include "editor/ToolBoxDefaults.h"
#include "figkit/FOToolBoxPage.h"
#include "figkit/FODataModel.h"
#include "figkit/FOPCanvasCore.h"
#include "figkit/FOPVisualProxy.h"
#include "mfc/Dc.h"
#include "mfc/Wnd.h"
#include "symbols/NewVisualProxy.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QTemporaryDir>
#include <QWidget>

namespace
{
void BM_Draw200ExtraHandles(benchmark::State& state)
{
    AfxEnsureApplication();
    FOInit(RUNTIME_CLASS(CNewVisualProxy), 1);
    CFODataModel model;
    model.SetCanvasSize(CSize(400, 4000));
    CFOPDrawWnd canvas;
    canvas.CreateCanvas(nullptr, CRect(0, 0, 400, 4000));
    canvas.SetCurrentModel(&model);
    CFODrawShape* shape = canvas.DoDropToolBoxItem(FO_COMP_RECTANGLE, CPoint(100, 100));
    if (!shape)
    {
        state.SkipWithError("no shape");
        return;
    }
    for (int i = 0; i < 200; ++i)
        if (i % 2)
            canvas.AddSelectHandleItem(31057, 1101);
        else
            canvas.AddSelectHandleItem(FO_ADDI_KEY_VALUE, FO_ADDI_DRAW_KEY_VALUE);
    QImage image(400, 4000, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    CImageDC dc(image);
    for (auto _ : state)
    {
        canvas.DrawSelectHandleItems(&dc);
        int tips = 0;
        for (const CFOPSelectHandleItem& item : canvas.GetSelectHandleItems())
        {
            CString tip;
            CFOPVisualProxy::GetInstance()->DoGenAddiToolTips(tip, item.GetId());
            tips += tip.GetLength();
        }
        benchmark::DoNotOptimize(tips);
    }
    canvas.SetCurrentModel(nullptr);
    CFOPVisualProxy::SetInstance(nullptr);
}
BENCHMARK(BM_Draw200ExtraHandles)->Unit(benchmark::kMicrosecond);

void BM_OpenInstrumentsPage(benchmark::State& state)
{
    AfxEnsureApplication();
    QTemporaryDir dir;
    const CString folder = CString::FromUtf8(dir.path().toStdString()) + L"/";
    WriteDefaultToolBoxPages(folder);
    CMyToolBoxWnd box;
    box.SetToolBoxFolder(folder);
    box.Create(nullptr, CRect(0, 0, 240, 600), 0);
    box.ShowWindow(SW_SHOW);
    for (auto _ : state)
    {
        if (!box.LoadPageFile(L"Instruments.trs") || box.GetCurrentPage()->GetItemCount() != 63)
        {
            state.SkipWithError("the Instruments page did not load its 63 items");
            break;
        }
        box.GetClientWidget()->repaint();
        state.PauseTiming();
        while (box.GetPageCount() > 0)
            box.RemovePage(0);
        state.ResumeTiming();
    }
    box.DestroyWindow();
}
BENCHMARK(BM_OpenInstrumentsPage)->Unit(benchmark::kMillisecond);
} // namespace
