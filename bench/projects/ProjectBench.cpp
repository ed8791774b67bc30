// Projects: a Build of a 500-screen (50 MB) project up to the start of the built player, and the
// parameter manager opening on 10,000 variables and filtering them again.
#include "editor/ParamManager.h"
#include "editor/ProjectServices.h"
#include "mfc/ModalHook.h"
#include "mfc/WinApp.h"
#include "model/ParamObj.h"
#include "model/WorkSpaceObj.h"

#include <QByteArray>
#include <QtGlobal>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace
{
// A project of 500 screens of 100 KB and a program folder whose player is a real program that
// ends at once (the start is measured, not the player's own start-up).
struct BuildFixture
{
    fs::path root;
    BuildFixture()
    {
        std::string tmpl = (fs::temp_directory_path() / "qyrbench-XXXXXX").string();
        root = mkdtemp(tmpl.data());
        fs::create_directories(root / "User/big/XdgFiles");
        fs::create_directories(root / "bin");
        const std::string screen(100 * 1024, 's');
        for (int i = 0; i < 500; ++i)
            std::ofstream(root / ("User/big/XdgFiles/Screen" + std::to_string(i) + ".xdg"), std::ios::binary)
                << screen;
        std::ofstream(root / "User/big/big.dcp") << "project";
        fs::copy_file("/bin/true", root / "bin/QYRView");
        const std::string lib(2 * 1024 * 1024, 'l');
        for (const char* name : {"libPlexcore.so", "libFigkit.so", "libQyrMfc.so"})
            std::ofstream(root / "bin" / name, std::ios::binary) << lib;
    }
    ~BuildFixture()
    {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

void BM_Build500ScreensUpToPlayerStart(benchmark::State& state)
{
    BuildFixture fx;
    CBuildRequest req;
    req.strProjectFolder = CString::FromUtf8((fx.root / "User/big/").string());
    req.strProjectTitle = L"big";
    req.strProgramFolder = CString::FromUtf8((fx.root / "bin/").string());
    req.strProgramName = L"plant";
    int n = 0;
    for (auto _ : state)
    {
        // A fresh output folder each time: the whole copy is measured.
        req.strOutputFolder = CString::FromUtf8((fx.root / ("Out" + std::to_string(n++))).string());
        CString player, project, error;
        if (!CProjectBuilder::Build(req, player, project, error) ||
            !CProjectBuilder::StartPlayer(player, project, error))
            state.SkipWithError(error.ToUtf8().c_str());
        state.PauseTiming();
        std::error_code ec;
        fs::remove_all(fx.root / ("Out" + std::to_string(n - 1)), ec);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Build500ScreensUpToPlayerStart)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ParamManager10000OpensAndRefilters(benchmark::State& state)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    AfxEnsureApplication();
    static CWinApp app;
    AfxWinInit(0, nullptr);
    CWorkSpaceObj ws;
    ws.CreateParamSTags();
    for (int i = 0; i < 10000; ++i)
    {
        const CString name = (i % 2 ? L"#g" : L"@r") + CString(std::to_wstring(i));
        ws.AddParam(new CParamObj(name, FO_VALUE::MakeDouble(i * 0.5), CParamObj::KindFromName(name)));
    }
    int rows = 0;
    for (auto _ : state)
    {
        CParamManager dlg(&ws);
        AfxModalHookFn old = AfxSetModalHook(
            [&](const AfxModalRequest& r)
            {
                auto& m = static_cast<CParamManager&>(*r.pDialog);
                m.SetFilter(2);
                m.FillList();
                rows = m.m_List.GetItemCount();
                return IDCANCEL;
            });
        dlg.DoModal();
        AfxSetModalHook(std::move(old));
    }
    state.counters["rows"] = rows;
}
BENCHMARK(BM_ParamManager10000OpensAndRefilters)->Unit(benchmark::kMillisecond);
} // namespace
