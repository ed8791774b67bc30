// The data grid on a 1920 x 1080 window: a full repaint of 50 rows of the sample's six columns, and
// a page scroll (with its repaint) in a grid of 100,000 rows. Run under QT_QPA_PLATFORM=offscreen.
#include "symbols/FOExtGridCtrl.h"

#include "mfc/View.h"
#include "mfc/Wnd.h"

#include <benchmark/benchmark.h>

#include <QWidget>

namespace
{
struct GridWindow
{
    CWnd host;
    CCrGridCtrl grid;
    explicit GridWindow(int nRows)
    {
        AfxEnsureApplication();
        host.CreateEx(0, nullptr, L"bench", WS_POPUP | WS_VISIBLE, 0, 0, 1920, 1080, nullptr, nullptr);
        grid.SetRowCount(nRows, 0);
        grid.Create(0, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1920, 1080), &host, 100);
        AfxPumpMessages();
    }
};

void BM_GridFullRepaint(benchmark::State& state)
{
    GridWindow w(50);
    QWidget* client = w.grid.GetClientWidget();
    for (auto _ : state)
        client->repaint();
}
BENCHMARK(BM_GridFullRepaint)->Unit(benchmark::kMillisecond);

void BM_GridPageScroll(benchmark::State& state)
{
    GridWindow w(100000);
    for (auto _ : state)
    {
        if (w.grid.m_nVOffset + 2 * w.grid.m_nPageHeight > w.grid.m_nVExtent)
        {
            state.PauseTiming();
            w.grid.SendMessage(WM_VSCROLL, SB_TOP, 0);
            state.ResumeTiming();
        }
        w.grid.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    }
}
BENCHMARK(BM_GridPageScroll)->Unit(benchmark::kMillisecond);
} // namespace
