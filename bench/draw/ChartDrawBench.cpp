// Drawing the library's charts: push and CPU-usage charts of 200 x 120 (window shapes left out) on
// a grid over a 1920 x 1080 image, each line holding a full queue of samples. The argument is the
// number of charts: 5,000 (charts alone, some 58 layers deep) and 625 (their share of 5,000 mixed
// shapes of the sixteen drawn kinds).
#include "mfc/Dc.h"
#include "mfc/Wnd.h"
#include "model/FOCpuUsageShape.h"
#include "model/MyPushChartShape.h"
#include "model/XVKDataModel.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <algorithm>

namespace
{
const int kWidth = 1920;
const int kHeight = 1080;

void FillCharts(CXVKDataModel& model, int nCharts)
{
    const int columns = 100;
    const int rows = std::max(2, (nCharts + columns - 1) / columns);
    for (int i = 0; i < nCharts; ++i)
    {
        const int x = (i % columns) * (kWidth - 200) / (columns - 1);
        const int y = (i / columns) * (kHeight - 120) / (rows - 1);
        CRect rc(x, y, x + 200, y + 120);
        CMyPushChartShape* chart = (i % 4 == 3) ? new CFOCpuUsageShape : new CMyPushChartShape;
        chart->Create(rc);
        chart->PutPropBoolValue(1924, FALSE);
        if (chart->GetLineCount() == 0)
        {
            chart->AddLine(0, RGB(0, 255, 0), 1);
            chart->AddLine(1, RGB(255, 255, 0), 2);
            chart->ShowAsBar(1, i % 2);
        }
        chart->SetInterval(8);
        for (int k = 0; k < 40; ++k)
        {
            chart->Push((k * 37 + i) % 100, 0);
            chart->Push((k * 11 + i) % 100, 1);
        }
        model.InsertShape(chart);
    }
}
} // namespace

static void BM_DrawChartShapes(benchmark::State& state)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    AfxEnsureApplication();
    CXVKDataModel model;
    model.SetCanvasSize(CSize(kWidth, kHeight));
    model.SetDesignMode(FALSE);
    FillCharts(model, int(state.range(0)));
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state)
    {
        CImageDC dc(image);
        model.OnDraw(&dc, CRect(0, 0, kWidth, kHeight));
    }
    state.counters["shapes"] = double(state.range(0));
}
BENCHMARK(BM_DrawChartShapes)->Arg(5000)->Arg(625)->Unit(benchmark::kMillisecond);
