// Drawing a screen of 5,000 of the library's own drawn shapes (about 60 x 60, mixed kinds) into a
// 1920 x 1080 image, in run mode with the shapes' animation off so that no timer runs. Target:
// under 80 ms per frame for the mixed screen (argument 0); the others draw one kind alone.
#include "mfc/Dc.h"
#include "mfc/Wnd.h"
#include "model/MyNewPipeShape.h"
#include "model/ShapeAnimation.h"
#include "model/XVKDataModel.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <string>

namespace
{
const int kWidth = 1920;
const int kHeight = 1080;
const int kShapes = 5000;
const int kSize = 60;
// The mixed kinds: ellipse, meter, tank, knob, phase ellipse, bar, pie, link, sliders, stripes,
// pipe, high-light ellipse.
const UINT kTypes[] = {605, 607, 616, 617, 618, 619, 621, 622, 624, 625, 626, 697, 699};

// nOnly 0: every kind in turn; n: only kTypes[n - 1] (to see what each kind costs).
void FillDrawnModel(CXVKDataModel& model, int nOnly)
{
    model.SetCanvasSize(CSize(kWidth, kHeight));
    const int columns = 100;
    const int rows = kShapes / columns;
    for (int i = 0; i < kShapes; ++i)
    {
        const int x = (i % columns) * (kWidth - kSize) / (columns - 1);
        const int y = (i / columns) * (kHeight - kSize) / (rows - 1);
        const UINT type = nOnly > 0 ? kTypes[nOnly - 1] : kTypes[i % std::size(kTypes)];
        CRect rc(x, y, x + kSize, y + kSize);
        CFODrawShape* s = model.DoCreateShapeByType(type, rc, CString());
        if (type == 697 || type == 622)
        {
            const CPoint pts[] = {
                {x, y + kSize / 2}, {x + kSize / 2, y + kSize / 2}, {x + kSize / 2, y + kSize}};
            static_cast<CFOLineShape*>(s)->Create(pts, 3);
        }
        s->PutPropBoolValue(XVK_PROP_ANIMATION, FALSE);
        s->SetCurrentValue(double(i % 100));
        model.InsertShape(s);
        s->Release();
    }
    model.SetDesignMode(FALSE);
}

void BM_DrawDrawnShapes5k(benchmark::State& state)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    AfxEnsureApplication();
    CXVKDataModel model;
    FillDrawnModel(model, int(state.range(0)));
    state.SetLabel(state.range(0) == 0 ? "mixed" : std::to_string(kTypes[state.range(0) - 1]));
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state)
    {
        CImageDC dc(image);
        model.OnDraw(&dc, CRect(0, 0, kWidth, kHeight));
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_DrawDrawnShapes5k)->DenseRange(0, int(std::size(kTypes)))->Unit(benchmark::kMillisecond);
} // namespace
