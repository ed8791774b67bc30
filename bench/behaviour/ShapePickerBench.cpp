// The shape pickers on a 5,000-shape screen (offscreen): the shapes list (by name) and the
// move-target dialog (by key 1), each opened, filled, preselected and closed (goal: under 100 ms).
#include "behaviour/ShapeChooserDlgs.h"
#include "editor/MyExtDataModel.h"
#include "figkit/FODrawShape.h"
#include "mfc/ComboBoxCtl.h"
#include "mfc/ListBoxCtl.h"
#include "mfc/ModalHook.h"
#include "mfc/WinApp.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace
{
constexpr int kShapes = 5000;

// A screen of kShapes rectangles, each named and keyed, every tenth a move path.
std::unique_ptr<CMyExtDataModel> MakeScreen()
{
    AfxEnsureApplication();
    auto model = std::make_unique<CMyExtDataModel>();
    for (int i = 0; i < kShapes; ++i)
    {
        CRect rc(10 + i % 100 * 12, 10 + i / 100 * 12, 20 + i % 100 * 12, 20 + i / 100 * 12);
        CFODrawShape* shape = model->DoCreateShapeByType(i % 10 == 9 ? 285 : 601, rc, L"");
        if (!shape)
            continue;
        CString name;
        name.Format(L"Shape%d", i);
        shape->SetObjectName(name);
        shape->SetKeyId1(L"Key" + name);
        model->InsertShape(shape);
    }
    return model;
}

CMyExtDataModel& Screen()
{
    static std::unique_ptr<CMyExtDataModel> model = MakeScreen();
    return *model;
}

// Opens the dialog with the value preselected and closes it at once; "rows" tells how many entries
// it listed.
template <class Dlg>
void Open(benchmark::State& state, CString Dlg::*value, const wchar_t* preselect, int nList,
          UINT nCountMessage)
{
    CMyExtDataModel& model = Screen();
    LRESULT rows = 0;
    AfxModalHookFn old = AfxSetModalHook(
        [&](const AfxModalRequest& r)
        {
            if (r.pDialog)
                rows = r.pDialog->GetDlgItem(nList)->SendMessage(nCountMessage);
            return IDCANCEL;
        });
    for (auto _ : state)
    {
        Dlg dlg;
        dlg.m_pModel = &model;
        dlg.*value = preselect;
        benchmark::DoNotOptimize(dlg.DoModal());
    }
    AfxSetModalHook(std::move(old));
    state.counters["rows"] = double(rows);
}

void ShapesList(benchmark::State& state)
{
    Open<CMBEventEditDlg7>(state, &CMBEventEditDlg7::m_strValue, L"Shape2500", IDC_CHOOSER_LIST, LB_GETCOUNT);
}

void MoveTarget(benchmark::State& state)
{
    Open<CMBCustomMoveDlg>(state, &CMBCustomMoveDlg::m_strKey, L"KeyShape2500", IDC_SHAPE_COMBO, CB_GETCOUNT);
}
} // namespace

BENCHMARK(ShapesList)->Unit(benchmark::kMillisecond);
BENCHMARK(MoveTarget)->Unit(benchmark::kMillisecond);
