// Drawing and loading figures of the screen model beside Qt's own QGraphicsScene, on the same
// shapes and the same 1920 x 1080 image, and the cost of a value refresh.
//
// The side-by-side benchmarks (BM_DrawSideBySide, BM_LoadSideBySide) run both in every iteration
// and report "model_ms", "scene_ms" and "ratio" (model time / scene time), timed as CPU time of the
// running thread so that other work on the machine does not tilt the ratio; run with
// --benchmark_repetitions=5 to get their median. The single-sided ones time each side alone.
#include "figkit/FOPCanvasCore.h"
#include "mfc/Dc.h"
#include "mfc/Wnd.h"
#include "model/ParamObj.h"
#include "model/XVKDataModel.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QBrush>
#include <QDataStream>
#include <QFile>
#include <QGraphicsEllipseItem>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QTemporaryDir>
#include <QWidget>

#include <ctime>
#include <memory>
#include <vector>

namespace
{
const int kImageWidth = 1920;
const int kImageHeight = 1080;
const int kShapes = 10000;
const int kShapeWidth = 40;
const int kShapeHeight = 30;

const COLORREF kFills[] = {RGB(255, 0, 0),   RGB(0, 160, 0),   RGB(0, 0, 255),   RGB(255, 255, 0),
                           RGB(0, 200, 200), RGB(200, 0, 200), RGB(255, 128, 0), RGB(128, 128, 128)};
const COLORREF kLines[] = {RGB(0, 0, 0), RGB(0, 0, 128), RGB(128, 0, 0), RGB(0, 96, 0)};

// One shape of the common set: even ones rectangles, odd ones ellipses, on a grid that covers the
// image (neighbours overlap).
struct ShapeSpec
{
    bool ellipse;
    CRect rc;
    COLORREF fill;
    COLORREF line;
};

ShapeSpec Spec(int i, int nCount)
{
    const int columns = 100;
    const int rows = (nCount + columns - 1) / columns;
    const int stepX = (kImageWidth - kShapeWidth) / (columns - 1);
    const int stepY = (kImageHeight - kShapeHeight) / std::max(1, rows - 1);
    const int x = (i % columns) * stepX;
    const int y = (i / columns) * stepY;
    return {(i & 1) != 0, CRect(x, y, x + kShapeWidth, y + kShapeHeight), kFills[i % 8], kLines[i % 4]};
}

QColor ToQColor(COLORREF cr)
{
    return QColor(GetRValue(cr), GetGValue(cr), GetBValue(cr));
}

void EnsureApp()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    AfxEnsureApplication();
}

void FillModel(CXVKDataModel& model, int nCount)
{
    model.SetCanvasSize(CSize(kImageWidth, kImageHeight));
    for (int i = 0; i < nCount; ++i)
    {
        const ShapeSpec s = Spec(i, nCount);
        CRect rc = s.rc;
        CFODrawShape* shape = model.DoCreateShapeByType(s.ellipse ? 602 : 601, rc, CString());
        shape->SetBrushType(1);
        shape->SetBkColor(s.fill);
        shape->SetLineColor(s.line);
        model.InsertShape(shape);
        shape->Release();
    }
}

QAbstractGraphicsShapeItem* MakeItem(bool ellipse, const QRectF& rc, const QPen& pen, const QBrush& brush)
{
    QAbstractGraphicsShapeItem* item =
        ellipse ? static_cast<QAbstractGraphicsShapeItem*>(new QGraphicsEllipseItem(rc))
                : static_cast<QAbstractGraphicsShapeItem*>(new QGraphicsRectItem(rc));
    item->setPen(pen);
    item->setBrush(brush);
    return item;
}

// The same shapes as items: a rectangle from the shape's left-top corner, as wide and high as its
// outline (the outline's last column and row included, as the model draws it).
void FillScene(QGraphicsScene& scene, int nCount)
{
    scene.setSceneRect(0, 0, kImageWidth, kImageHeight);
    scene.setBackgroundBrush(Qt::white);
    for (int i = 0; i < nCount; ++i)
    {
        const ShapeSpec s = Spec(i, nCount);
        const QRectF rc(s.rc.left, s.rc.top, s.rc.Width(), s.rc.Height());
        scene.addItem(MakeItem(s.ellipse, rc, QPen(ToQColor(s.line), 1), QBrush(ToQColor(s.fill))));
    }
}

QImage NewImage()
{
    QImage image(kImageWidth, kImageHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

void DrawModel(CXVKDataModel& model, QImage& image)
{
    CImageDC dc(image);
    model.OnDraw(&dc, CRect(0, 0, kImageWidth, kImageHeight));
}

void DrawScene(QGraphicsScene& scene, QImage& image)
{
    QPainter painter(&image);
    scene.render(&painter, QRectF(0, 0, kImageWidth, kImageHeight), QRectF(0, 0, kImageWidth, kImageHeight));
}

// Share of pixels that differ between the two pictures, in percent.
double PercentDiffering(const QImage& a, const QImage& b)
{
    qint64 differ = 0;
    for (int y = 0; y < a.height(); ++y)
    {
        const auto* ra = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* rb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            differ += (ra[x] & 0xFFFFFF) != (rb[x] & 0xFFFFFF);
    }
    return 100.0 * double(differ) / (double(a.width()) * a.height());
}

// CPU time of this thread, in milliseconds.
double ThreadMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// A screen file of the common shapes and the scene's items written to a data stream, both on disk.
struct SavedShapes
{
    QTemporaryDir dir;
    CString screenPath;
    QString streamPath;

    SavedShapes()
    {
        screenPath = CString::FromUtf8((dir.path() + "/shapes.xdg").toStdString());
        streamPath = dir.path() + "/shapes.dat";
        CXVKDataModel model;
        FillModel(model, kShapes);
        model.SaveDocument(screenPath);
        QFile file(streamPath);
        file.open(QIODevice::WriteOnly);
        QDataStream out(&file);
        out << quint32(kShapes);
        for (int i = 0; i < kShapes; ++i)
        {
            const ShapeSpec s = Spec(i, kShapes);
            out << quint8(s.ellipse ? 1 : 0) << QRectF(s.rc.left, s.rc.top, s.rc.Width(), s.rc.Height())
                << QPen(ToQColor(s.line), 1) << QBrush(ToQColor(s.fill));
        }
    }
};

bool LoadModel(CXVKDataModel& model, const SavedShapes& saved)
{
    // The loaded screen also carries its demo shape.
    return model.OpenDocument(saved.screenPath) && model.GetShapeCount() == kShapes + 1;
}

// The items are read and made; with a scene they are added to it.
bool LoadItems(QGraphicsScene* pScene, std::vector<std::unique_ptr<QGraphicsItem>>* pLoose,
               const SavedShapes& saved)
{
    QFile file(saved.streamPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QDataStream in(&file);
    quint32 count = 0;
    in >> count;
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i)
    {
        quint8 kind = 0;
        QRectF rc;
        QPen pen;
        QBrush brush;
        in >> kind >> rc >> pen >> brush;
        QAbstractGraphicsShapeItem* item = MakeItem(kind != 0, rc, pen, brush);
        if (pScene)
            pScene->addItem(item);
        else
            pLoose->emplace_back(item);
    }
    const qsizetype made = pScene ? pScene->items().size() : qsizetype(pLoose->size());
    return in.status() == QDataStream::Ok && made == qsizetype(count);
}

bool LoadScene(QGraphicsScene& scene, const SavedShapes& saved)
{
    return LoadItems(&scene, nullptr, saved);
}
} // namespace

// Drawing

static void BM_DrawModel10k(benchmark::State& state)
{
    EnsureApp();
    CXVKDataModel model;
    FillModel(model, kShapes);
    QImage image = NewImage();
    for (auto _ : state)
        DrawModel(model, image);

    QGraphicsScene scene;
    FillScene(scene, kShapes);
    QImage other = NewImage();
    DrawScene(scene, other);
    state.counters["pixels_differ_pct"] = PercentDiffering(image, other);
}
BENCHMARK(BM_DrawModel10k)->Unit(benchmark::kMillisecond);

static void BM_DrawScene10k(benchmark::State& state)
{
    EnsureApp();
    QGraphicsScene scene;
    FillScene(scene, kShapes);
    QImage image = NewImage();
    for (auto _ : state)
        DrawScene(scene, image);
}
BENCHMARK(BM_DrawScene10k)->Unit(benchmark::kMillisecond);

static void BM_DrawSideBySide(benchmark::State& state)
{
    EnsureApp();
    CXVKDataModel model;
    FillModel(model, kShapes);
    QGraphicsScene scene;
    FillScene(scene, kShapes);
    QImage image = NewImage();
    // The scene builds its item index on the first render; neither side is timed cold.
    DrawScene(scene, image);
    DrawModel(model, image);
    double modelMs = 0, sceneMs = 0;
    for (auto _ : state)
    {
        const double t0 = ThreadMs();
        DrawModel(model, image);
        const double t1 = ThreadMs();
        DrawScene(scene, image);
        const double t2 = ThreadMs();
        modelMs += t1 - t0;
        sceneMs += t2 - t1;
    }
    const double n = double(state.iterations());
    state.counters["model_ms"] = modelMs / n;
    state.counters["scene_ms"] = sceneMs / n;
    state.counters["ratio"] = sceneMs > 0 ? modelMs / sceneMs : 0;
}
BENCHMARK(BM_DrawSideBySide)->Unit(benchmark::kMillisecond);

// Loading

namespace
{
// Times load() over and over; clear() empties what it filled, untimed.
template <class Load, class Clear> void TimeLoads(benchmark::State& state, Load&& load, Clear&& clear)
{
    for (auto _ : state)
    {
        if (!load())
            state.SkipWithError("load failed");
        state.PauseTiming();
        clear();
        state.ResumeTiming();
    }
}
} // namespace

static void BM_LoadModel10k(benchmark::State& state)
{
    EnsureApp();
    SavedShapes saved;
    CXVKDataModel model;
    TimeLoads(
        state, [&] { return LoadModel(model, saved); }, [&] { model.RemoveAllShapes(); });
}
BENCHMARK(BM_LoadModel10k)->Unit(benchmark::kMillisecond);

static void BM_LoadScene10k(benchmark::State& state)
{
    EnsureApp();
    SavedShapes saved;
    QGraphicsScene scene;
    TimeLoads(
        state, [&] { return LoadScene(scene, saved); }, [&] { scene.clear(); });
}
BENCHMARK(BM_LoadScene10k)->Unit(benchmark::kMillisecond);

// The items alone, made but not added to a scene.
static void BM_LoadItems10k(benchmark::State& state)
{
    EnsureApp();
    SavedShapes saved;
    std::vector<std::unique_ptr<QGraphicsItem>> items;
    TimeLoads(
        state, [&] { return LoadItems(nullptr, &items, saved); }, [&] { items.clear(); });
}
BENCHMARK(BM_LoadItems10k)->Unit(benchmark::kMillisecond);

static void BM_LoadSideBySide(benchmark::State& state)
{
    EnsureApp();
    SavedShapes saved;
    CXVKDataModel model;
    QGraphicsScene scene;
    double modelMs = 0, sceneMs = 0;
    for (auto _ : state)
    {
        const double t0 = ThreadMs();
        const bool modelOk = LoadModel(model, saved);
        const double t1 = ThreadMs();
        const bool sceneOk = LoadScene(scene, saved);
        const double t2 = ThreadMs();
        if (!modelOk || !sceneOk)
            state.SkipWithError("load failed");
        modelMs += t1 - t0;
        sceneMs += t2 - t1;
        state.PauseTiming();
        model.RemoveAllShapes();
        scene.clear();
        state.ResumeTiming();
    }
    const double n = double(state.iterations());
    state.counters["model_ms"] = modelMs / n;
    state.counters["scene_ms"] = sceneMs / n;
    state.counters["ratio"] = sceneMs > 0 ? modelMs / sceneMs : 0;
}
BENCHMARK(BM_LoadSideBySide)->Unit(benchmark::kMillisecond);

// Refresh: 500 of 5,000 bound shapes get a new value; what they touch is drawn again.

namespace
{
const int kRefreshShapes = 5000;
const int kRefreshChanged = 500;

// Each shape is bound to its own variable "#v<i>". Arg 0 changes every tenth shape (spread over
// the screen); arg 1 changes 500 neighbours (one band of the screen).
int ChangedShape(int k, bool clustered)
{
    return clustered ? k : k * (kRefreshShapes / kRefreshChanged);
}

struct RefreshScreen
{
    CXVKDataModel model;
    std::vector<CString> names;

    RefreshScreen()
    {
        FillModel(model, kRefreshShapes);
        // A running screen, as the player shows it.
        model.SetDesignMode(FALSE);
        names.resize(kRefreshShapes);
        for (int i = 0; i < kRefreshShapes; ++i)
        {
            names[size_t(i)].Format(L"#v%d", i);
            model.GetShapes()->GetObject(i)->SetKeyId3(names[size_t(i)]);
        }
    }

    // Pushes one new value into each changed variable; the changed shapes land in pChanged.
    void Push(bool clustered, double value, CFOTypedShapeObList& changed)
    {
        changed.RemoveAll();
        for (int k = 0; k < kRefreshChanged; ++k)
        {
            FO_VALUE v = FO_VALUE::MakeDouble(value + k);
            model.UpdateParamData(names[size_t(ChangedShape(k, clustered))], v, &changed, PARAM_KIND_GLOBAL);
        }
    }
};

CRect UnionOfShapes(const CFOTypedShapeObList& shapes)
{
    CRect all;
    for (CFODrawShape* shape : shapes)
    {
        const CRect rc = shape->GetMaxRect();
        all.UnionRect(&all, &rc);
    }
    return all;
}
} // namespace

// The changed shapes' rectangles joined into one clip rectangle, drawn through the model.
static void BM_Refresh500of5kClipRect(benchmark::State& state)
{
    EnsureApp();
    RefreshScreen screen;
    const bool clustered = state.range(0) != 0;
    QImage image = NewImage();
    DrawModel(screen.model, image);
    CFOTypedShapeObList changed;
    double value = 1;
    for (auto _ : state)
    {
        screen.Push(clustered, value += kRefreshChanged, changed);
        const CRect clip = UnionOfShapes(changed);
        CImageDC dc(image);
        dc.IntersectClipRect(&clip);
        screen.model.OnDraw(&dc, clip);
    }
    state.counters["changed"] = double(changed.Count());
    const CRect clip = UnionOfShapes(changed);
    state.counters["clip_pct"] = 100.0 * clip.Width() * clip.Height() / (double(kImageWidth) * kImageHeight);
}
BENCHMARK(BM_Refresh500of5kClipRect)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The same through a shown canvas: the canvas invalidates the changed shapes, and the paint that the
// window then gets covers what was invalidated.
static void BM_Refresh500of5kCanvas(benchmark::State& state)
{
    EnsureApp();
    RefreshScreen screen;
    const bool clustered = state.range(0) != 0;
    CFOPDrawWnd canvas;
    if (!canvas.CreateCanvas(nullptr, CRect(0, 0, kImageWidth, kImageHeight)))
    {
        state.SkipWithError("no canvas");
        return;
    }
    canvas.SetCurrentModel(&screen.model);
    canvas.ShowWindow(SW_SHOW);
    AfxPumpMessages();
    CFOTypedShapeObList changed;
    double value = 1;
    for (auto _ : state)
    {
        screen.Push(clustered, value += kRefreshChanged, changed);
        canvas.UpdateShapes(&changed);
        AfxPumpMessages();
    }
    state.counters["changed"] = double(changed.Count());
    canvas.SetCurrentModel(nullptr);
    canvas.DestroyWindow();
}
BENCHMARK(BM_Refresh500of5kCanvas)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
