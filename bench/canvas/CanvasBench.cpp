// The editing canvas: a full redraw of a 5,000-shape screen with rulers, grid and page border, and
// dragging 500 selected shapes, each mouse move with its tracking and the repaint it causes. The
// canvas is a 1600 x 1000 window at 100%, every shape in view.
#include "figkit/FODataModel.h"
#include "figkit/FOPCanvasCore.h"
#include "mfc/Wnd.h"
#include "model/XVKDataModel.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace
{
const int kWidth = 1600;
const int kHeight = 1000;

// 5,000 rectangles and ellipses of the toolbox, 100 across and 50 down.
void Fill(CXVKDataModel& model)
{
    model.SetCanvasSize(CSize(kWidth - 40, kHeight - 40));
    for (int i = 0; i < 5000; ++i)
    {
        const int x = (i % 100) * 15 + 2;
        const int y = (i / 100) * 19 + 2;
        CRect rc(x, y, x + 12, y + 14);
        CFOShapePtr<CFODrawShape> shape =
            CFOShapePtr<CFODrawShape>::Adopt(model.DoCreateShapeByType(i % 2 ? 602 : 601, rc, L""));
        shape->SetBkColor(RGB(200, (i * 7) % 255, 100));
        model.InsertShape(shape);
    }
}

struct Screen
{
    CXVKDataModel model;
    CFOPDrawWnd canvas;
    Screen()
    {
        AfxEnsureApplication();
        Fill(model);
        canvas.CreateCanvas(nullptr, CRect(0, 0, kWidth, kHeight));
        canvas.SetCurrentModel(&model);
        canvas.ShowRulers(TRUE);
        canvas.ShowGrid(TRUE);
        canvas.SetGridLineType(FO_GRID_LINES);
        canvas.ShowWindow(SW_SHOW);
        AfxPumpMessages();
    }
    ~Screen() { canvas.SetCurrentModel(nullptr); }
    QWidget* Widget() { return canvas.GetClientWidget(); }
};

void Mouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButtons buttons)
{
    const QPointF local(p);
    QMouseEvent e(type, local, w->mapToGlobal(local),
                  type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void BM_FullRedraw5000(benchmark::State& state)
{
    Screen screen;
    for (auto _ : state)
    {
        screen.canvas.InvalidateCanvas();
        screen.Widget()->repaint();
    }
}
BENCHMARK(BM_FullRedraw5000)->Unit(benchmark::kMillisecond);

void BM_Drag500Selected(benchmark::State& state)
{
    Screen screen;
    CFOTypedShapeObList five;
    for (int i = 0; i < 500; ++i)
        five.AddTail(screen.model.GetShapes()->GetObject(i * 10));
    screen.canvas.SelectShapes(five);
    CFODrawShape* grip = five.GetHead();
    const CPoint start = screen.canvas.CanvasToClient(grip->GetDrawRect().CenterPoint());
    QWidget* w = screen.Widget();
    Mouse(w, QEvent::MouseButtonPress, QPoint(start.x, start.y), Qt::LeftButton);
    int step = 0;
    for (auto _ : state)
    {
        ++step;
        const QPoint p(start.x + 5 + step % 40, start.y + 3 + step % 25);
        Mouse(w, QEvent::MouseMove, p, Qt::LeftButton);
        w->repaint();
    }
    Mouse(w, QEvent::MouseButtonRelease, QPoint(start.x + 1, start.y + 1), Qt::NoButton);
}
BENCHMARK(BM_Drag500Selected)->Unit(benchmark::kMillisecond);
} // namespace
