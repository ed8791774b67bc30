// The state editor on a composite with 1,000 states, offscreen (goal: each step under 30 ms):
// - open: from DoModal to the dialog shown with its list filled;
// - one Up of a selected row, the state string rebuilt;
// - OK: from the button to DoModal's return with the string rebuilt.
#include "behaviour/StateSetDlgs.h"
#include "mfc/ModalHook.h"
#include "mfc/WinApp.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace
{
using Clock = std::chrono::steady_clock;

CString ThousandStates()
{
    CString text;
    for (int i = 0; i < 1000; ++i)
    {
        CString record;
        record.Format(L"%sSTATE_%d$C_C,A,%06X#H_H,B,C#L_W,D,%d", i ? L"@" : L"", i, i * 4099 % 0xFFFFFF,
                      i % 100);
        text += record;
    }
    return text;
}

struct App
{
    App()
    {
        AfxEnsureApplication();
        AfxWinInit(0, nullptr);
    }
    CWinApp app;
};

App& TheApp()
{
    static App app;
    return app;
}

// Runs the editor once; `inside` works the shown dialog and returns the button to press.
template <class Inside> void RunOnce(const CString& text, Inside inside)
{
    CStateSetDlg dlg;
    dlg.m_strState = text;
    AfxModalHookFn old =
        AfxSetModalHook([&](const AfxModalRequest& r) -> int
                        { return r.pDialog ? inside(static_cast<CStateSetDlg&>(*r.pDialog)) : IDYES; });
    dlg.DoModal();
    AfxSetModalHook(old);
}

void BM_StateEditorOpen(benchmark::State& state)
{
    TheApp();
    const CString text = ThousandStates();
    for (auto _ : state)
    {
        Clock::time_point shown;
        const Clock::time_point start = Clock::now();
        RunOnce(text,
                [&](CStateSetDlg&)
                {
                    shown = Clock::now();
                    return IDCANCEL;
                });
        state.SetIterationTime(std::chrono::duration<double>(shown - start).count());
    }
}
BENCHMARK(BM_StateEditorOpen)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_StateEditorUp(benchmark::State& state)
{
    TheApp();
    const CString text = ThousandStates();
    for (auto _ : state)
    {
        double seconds = 0;
        RunOnce(text,
                [&](CStateSetDlg& dlg)
                {
                    dlg.SelectRow(500);
                    const Clock::time_point start = Clock::now();
                    dlg.MoveUp();
                    seconds = std::chrono::duration<double>(Clock::now() - start).count();
                    if (dlg.m_List.GetItemText(499, 0) != L"STATE_500")
                        state.SkipWithError("the row did not move");
                    return IDCANCEL;
                });
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_StateEditorUp)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_StateEditorOk(benchmark::State& state)
{
    TheApp();
    const CString text = ThousandStates();
    for (auto _ : state)
    {
        Clock::time_point pressed;
        CStateSetDlg dlg;
        dlg.m_strState = text;
        AfxModalHookFn old = AfxSetModalHook(
            [&](const AfxModalRequest&) -> int
            {
                pressed = Clock::now();
                return IDOK;
            });
        const INT_PTR result = dlg.DoModal();
        const Clock::time_point done = Clock::now();
        AfxSetModalHook(old);
        if (result != IDOK || dlg.m_strState != text)
            state.SkipWithError("OK did not give the text back");
        state.SetIterationTime(std::chrono::duration<double>(done - pressed).count());
    }
}
BENCHMARK(BM_StateEditorOk)->UseManualTime()->Unit(benchmark::kMillisecond);
} // namespace
