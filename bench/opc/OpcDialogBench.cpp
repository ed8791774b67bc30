// The OPC dialogs' speed against the hierarchical stand-in server (offscreen):
// - selecting the "Bulk" branch in the tag browser lists its 10,000 leaves (goal: under 300 ms);
// - the tag picker opening lists every leaf of the address space, sorted (goal: under 500 ms).
#include "opc/AddItemDlg.h"
#include "opc/InfoServer.h"
#include "opc/InfoServerExplorerDoc.h"
#include "opc/TagBrowseDlg.h"

#include "mfc/Wnd.h"
#include "opcsdk/Opc.h"

#include <QByteArray>

#include <benchmark/benchmark.h>

namespace
{
void EnsureGui()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    AfxEnsureApplication();
    OpcStandInServers_Register();
}

HTREEITEM FindChild(CTreeCtrl& tree, HTREEITEM parent, LPCWSTR text)
{
    for (HTREEITEM h = tree.GetChildItem(parent); h; h = tree.GetNextSiblingItem(h))
    {
        if (tree.GetItemText(h) == text)
            return h;
    }
    return nullptr;
}

void BM_BrowseBulkBranch(benchmark::State& state)
{
    EnsureGui();
    CTagBrowseDlg dlg(QUENDREL_OPCDASERVER_PROGID, L"");
    if (!dlg.Create(CTagBrowseDlg::IDD))
    {
        state.SkipWithError("the browse dialog did not open");
        return;
    }
    HTREEITEM root = dlg.m_tree.GetRootItem();
    HTREEITEM bulk = FindChild(dlg.m_tree, root, L"Bulk");
    for (auto _ : state)
    {
        state.PauseTiming();
        dlg.m_tree.SelectItem(root);
        state.ResumeTiming();
        dlg.m_tree.SelectItem(bulk);
    }
    if (dlg.m_listTags.GetCount() != 10000)
        state.SkipWithError("the Bulk branch did not list its 10,000 leaves");
    dlg.DestroyWindow();
}
BENCHMARK(BM_BrowseBulkBranch)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_PickerOpens(benchmark::State& state)
{
    EnsureGui();
    CInfoServerExplorerDoc* doc = GetExplorerActiveDocument(TRUE);
    CInfoServer* server = doc->GetInfoServer();
    if (!server->SetServer(L"", QUENDREL_OPCDASERVER_PROGID) || !server->Connect())
    {
        state.SkipWithError("no server");
        return;
    }
    int listed = 0;
    for (auto _ : state)
    {
        CAddItemDlg dlg(nullptr);
        dlg.Create(CAddItemDlg::IDD);
        listed = dlg.m_listTags.m_hWnd ? dlg.m_listTags.GetCount() : 0;
        state.PauseTiming();
        dlg.DestroyWindow();
        state.ResumeTiming();
    }
    if (listed != 10033)
        state.SkipWithError("the picker did not list every leaf");
    server->Disconnect();
    RemoveExplorerActiveDocument(doc);
}
BENCHMARK(BM_PickerOpens)->Unit(benchmark::kMillisecond)->Iterations(5);
} // namespace
