// Projects on disk: the copy services, making projects, Build and Run of the real player.
#include "ProjectTestSupport.h"

#include "editor/ProjectServices.h"
#include "model/ParamObj.h"
#include "model/WorkSpaceObj.h"

#include "PlayerProcess.h"

#include <QProcessEnvironment>

#include <fstream>
#include <iterator>
#include <string>

using namespace projtest;
using namespace playertest;

namespace
{
CNewProjectValues Values(const CString& location, const CString& name)
{
    CNewProjectValues v;
    v.strLocation = location;
    v.strName = name;
    v.nWidth = 640;
    v.nHeight = 480;
    v.crBack = RGB(1, 2, 3);
    v.strAuthor = L"Ann";
    return v;
}

} // namespace

TEST_F(CProjectTest, ChunkedCopyGoesThroughATemporaryNameAndKeepsAnExistingTarget)
{
    const std::string big(100000, 'x');
    WriteFile(m_root / "a.bin", big);
    EXPECT_TRUE(CProjectFiles::CopyFileChunked(Root("a.bin"), Root("b.bin"), 10240));
    EXPECT_EQ(ReadFile(m_root / "b.bin"), big);
    // An existing target stays as it is; a missing source leaves nothing behind.
    WriteFile(m_root / "c.bin", "old");
    EXPECT_FALSE(CProjectFiles::CopyFileChunked(Root("a.bin"), Root("c.bin"), 10240));
    EXPECT_EQ(ReadFile(m_root / "c.bin"), "old");
    EXPECT_FALSE(CProjectFiles::CopyFileChunked(Root("missing"), Root("d.bin"), 10240));
    for (const auto& e : fs::directory_iterator(m_root))
        EXPECT_EQ(e.path().string().find(".~"), std::string::npos) << e.path();
}

TEST_F(CProjectTest, FolderCopySkipsByProductsAndRefusesItselfAndItsInside)
{
    WriteFile(m_root / "p/XdgFiles/Main.xdg", "screen");
    WriteFile(m_root / "p/x.OBJ", "skip");
    WriteFile(m_root / "p/x.pdb", "skip");
    WriteFile(m_root / "p/notes.txt", "keep");
    EXPECT_TRUE(CProjectFiles::CopyFolder(Root("p"), Root("q")));
    EXPECT_EQ(ReadFile(m_root / "q/XdgFiles/Main.xdg"), "screen");
    EXPECT_TRUE(fs::exists(m_root / "q/notes.txt"));
    EXPECT_FALSE(fs::exists(m_root / "q/x.OBJ"));
    EXPECT_FALSE(fs::exists(m_root / "q/x.pdb"));
    EXPECT_FALSE(CProjectFiles::CopyFolder(Root("p"), Root("P")));
    EXPECT_FALSE(CProjectFiles::CopyFolder(Root("p"), Root("p/out")));
    EXPECT_FALSE(fs::exists(m_root / "p/out"));
}

TEST_F(CProjectTest, LowerCasedPathsReachFoldersOfAnyCaseAlsoWhenFoldersAreMadeUnderThem)
{
    fs::create_directories(m_root / "Plants/User");
    CString lower = Root("Plants/User/Line1/XdgFiles/");
    lower.MakeLower();
    ASSERT_TRUE(CProjectFiles::CreateDirectoryTree(lower));
    EXPECT_TRUE(fs::is_directory(m_root / "Plants/User/line1/xdgfiles"));
    EXPECT_FALSE(fs::exists(m_root / "plants"));
    EXPECT_TRUE(CProjectFiles::IsDirectory(lower));
}

TEST_F(CProjectTest, NamesThatAreNoProjectNamesAreRefused)
{
    struct Case
    {
        const wchar_t* name;
        BOOL valid;
    };
    const Case cases[] = {{L"Line_1", TRUE}, {L"abc", TRUE},      {L"", FALSE},   {L"a b", FALSE},
                          {L"a.b", FALSE},   {L"a-b", FALSE},     {L"..", FALSE}, {L"a/b", FALSE},
                          {L"a\\b", FALSE},  {L"Pl\u00e4n", TRUE}};
    for (const Case& c : cases)
        EXPECT_EQ(CProjectFiles::IsValidProjectName(c.name), c.valid) << CString(c.name).ToUtf8();
}

TEST_F(CProjectTest, EmptyProjectHasItsThreeFilesAndAnExistingOneIsRefused)
{
    CWorkSpaceObj ws;
    CString error;
    ASSERT_TRUE(CProjectCreator::CreateEmpty(ws, Values(Root("User"), L"Plant1"), error)) << error.ToUtf8();
    const fs::path folder = m_root / "User/plant1";
    EXPECT_TRUE(fs::exists(folder / "plant1.dcp"));
    EXPECT_TRUE(fs::exists(folder / "XdgFiles/Main.xdg"));
    EXPECT_EQ(ReadFile(folder / "ScriptFiles/system.uscp"), Utf16(CProjectCreator::SeedScript()));
    CWorkSpaceObj back;
    ASSERT_TRUE(back.OpenDocument(CString::FromUtf8((folder / "plant1.dcp").string())));
    EXPECT_EQ(back.m_strMainScreen, CString(L"Main.xdg"));
    EXPECT_EQ(back.m_nCanvasWidth, 640);
    EXPECT_EQ(back.m_crBack, RGB(1, 2, 3));
    EXPECT_EQ(back.m_strAuthor, CString(L"Ann"));

    // Over an existing project nothing is written.
    const auto before = fs::last_write_time(folder / "plant1.dcp");
    EXPECT_FALSE(CProjectCreator::CreateEmpty(ws, Values(Root("User"), L"PLANT1"), error));
    EXPECT_NE(error.Find(L"exist project"), -1);
    EXPECT_EQ(fs::last_write_time(folder / "plant1.dcp"), before);
    EXPECT_FALSE(CProjectCreator::CreateEmpty(ws, Values(Root("User"), L"a.b"), error));
    EXPECT_FALSE(fs::exists(m_root / "User/a.b"));
}

TEST_F(CProjectTest, ProjectFromATemplateKeepsTheTemplatesVariablesAndTakesTheWizardsValues)
{
    CWorkSpaceObj tmpl;
    tmpl.m_nWindowWidth = 321;
    tmpl.m_strMainScreen = L"Start.xdg";
    tmpl.AddParam(new CParamObj(L"#Level", FO_VALUE::MakeDouble(3.7), PARAM_KIND_GLOBAL));
    fs::create_directories(m_root / "Template/Tank/XdgFiles");
    WriteFile(m_root / "Template/Tank/XdgFiles/Start.xdg", "screen");
    ASSERT_TRUE(tmpl.SaveDocument(Root("Template/Tank/Tank.dcp")));

    CWorkSpaceObj ws;
    CNewProjectValues v = Values(Root("User"), L"Line2");
    v.nTemplateKind = 200;
    v.strTemplate = L"Tank";
    CString error;
    ASSERT_TRUE(CProjectCreator::CreateFromTemplate(ws, v, Root("Template"), error)) << error.ToUtf8();
    const fs::path folder = m_root / "User/line2";
    EXPECT_FALSE(fs::exists(folder / "Tank.dcp"));
    CWorkSpaceObj back;
    ASSERT_TRUE(back.OpenDocument(CString::FromUtf8((folder / "line2.dcp").string())));
    ASSERT_NE(back.FindParamByName(L"#level"), nullptr);
    EXPECT_DOUBLE_EQ(back.FindParamByName(L"#level")->m_value.m_dValue, 3.7);
    EXPECT_EQ(back.m_nWindowWidth, 321);
    EXPECT_EQ(back.m_strMainScreen, CString(L"Start.xdg"));
    EXPECT_EQ(back.m_nCanvasWidth, 640);
    EXPECT_EQ(back.m_strAuthor, CString(L"Ann"));
    EXPECT_EQ(ReadFile(folder / "XdgFiles/Start.xdg"), "screen");

    // A template folder that cannot be read leaves no project folder behind.
    v.strName = L"Line3";
    v.strTemplate = L"Missing";
    EXPECT_FALSE(CProjectCreator::CreateFromTemplate(ws, v, Root("Template"), error));
    EXPECT_FALSE(fs::exists(m_root / "User/line3"));
}

TEST_F(CProjectTest, EveryListedTemplateIsMadeWhateverItsProjectFileIsCalled)
{
    // "Boiler" holds "Steam.dcp"; "Pair" holds two projects; the listed path names the file.
    for (auto [folder, file, level] : {std::tuple{"Boiler", "Steam.dcp", 1.5},
                                       std::tuple{"Pair", "A.dcp", 2.5}, std::tuple{"Pair", "B.dcp", 3.5}})
    {
        fs::create_directories(m_root / "Template" / folder);
        CWorkSpaceObj tmpl;
        tmpl.AddParam(new CParamObj(L"#Level", FO_VALUE::MakeDouble(level), PARAM_KIND_GLOBAL));
        ASSERT_TRUE(
            tmpl.SaveDocument(Root("Template/") + CString::FromUtf8(folder) + L"/" + CString::FromUtf8(file)))
            << folder;
    }
    WriteFile(m_root / "Template/Pair/XdgFiles/Start.xdg", "screen");
    struct Case
    {
        const wchar_t* path; // under Template/
        const wchar_t* name;
        double level;
    } cases[] = {
        {L"Boiler/Steam.dcp", L"Heat", 1.5},
        {L"Pair/B.dcp", L"Second", 3.5},
        // The project may carry the name of the folder's other project.
        {L"Pair/A.dcp", L"B", 2.5},
    };
    for (const Case& c : cases)
    {
        CNewProjectValues v = Values(Root("User"), c.name);
        v.nTemplateKind = 200;
        v.strTemplatePath = Root("Template/") + c.path;
        v.strTemplate = CProjectFiles::GetFileNamePart(c.path).Left(
            CProjectFiles::GetFileNamePart(c.path).GetLength() - 4);
        CWorkSpaceObj ws;
        CString error;
        ASSERT_TRUE(CProjectCreator::CreateFromTemplate(ws, v, Root("Template"), error)) << error.ToUtf8();
        const fs::path folder = m_root / "User" / CString(c.name).MakeLower().ToUtf8();
        // One project file, the project's own.
        std::vector<std::string> dcps;
        for (const auto& e : fs::directory_iterator(folder))
            if (e.path().extension() == ".dcp")
                dcps.push_back(e.path().filename().string());
        EXPECT_EQ(dcps, std::vector<std::string>{CString(c.name).MakeLower().ToUtf8() + ".dcp"});
        CWorkSpaceObj back;
        ASSERT_TRUE(back.OpenDocument(CString::FromUtf8((folder / dcps[0]).string())));
        ASSERT_NE(back.FindParamByName(L"#level"), nullptr);
        EXPECT_DOUBLE_EQ(back.FindParamByName(L"#level")->m_value.m_dValue, c.level)
            << CString(c.name).ToUtf8();
        EXPECT_EQ(back.m_crBack, RGB(1, 2, 3));
    }
    EXPECT_EQ(ReadFile(m_root / "User/second/XdgFiles/Start.xdg"), "screen");
    // The templates themselves are left as they were.
    EXPECT_TRUE(fs::exists(m_root / "Template/Pair/A.dcp"));
    EXPECT_TRUE(fs::exists(m_root / "Template/Pair/B.dcp"));
}

TEST_F(CProjectTest, ATemplateWithoutAReadableProjectFileGivesOneMessageAndMakesNothing)
{
    fs::create_directories(m_root / "Template/Empty");
    WriteFile(m_root / "Template/Broken/Broken.dcp", "this is no project");
    WriteFile(m_root / "Template/Short/Short.dcp", "");
    struct Case
    {
        const wchar_t* path;
        const wchar_t* message;
    } cases[] = {
        {L"Empty/Empty.dcp", L"has no project file"},
        {L"Broken/Broken.dcp", L"cannot be read"},
        {L"Short/Short.dcp", L"cannot be read"},
        {L"Gone/Gone.dcp", L"Failed to copy the template files?"},
    };
    for (const Case& c : cases)
    {
        CNewProjectValues v = Values(Root("User"), L"Fresh");
        v.nTemplateKind = 200;
        v.strTemplate = L"T";
        v.strTemplatePath = Root("Template/") + c.path;
        std::vector<CString> shown;
        CModalHookScope hook(
            [&](const AfxModalRequest& r)
            {
                shown.push_back(r.strText);
                return IDOK;
            });
        CString error;
        EXPECT_FALSE(CProjectCreator::CheckTemplate(v, Root("Template"), error));
        EXPECT_NE(error.Find(c.message), -1) << error.ToUtf8();
        CWorkSpaceObj ws;
        EXPECT_FALSE(CProjectCreator::CreateFromTemplate(ws, v, Root("Template"), error));
        EXPECT_NE(error.Find(c.message), -1) << error.ToUtf8();
        // Nothing was shown: the caller tells the one message.
        EXPECT_TRUE(shown.empty()) << (shown.empty() ? "" : shown[0].ToUtf8());
        EXPECT_FALSE(fs::exists(m_root / "User/fresh"));
    }
}

TEST_F(CProjectTest, MainDatHoldsOneUtf16LineWithoutLineEnd)
{
    ASSERT_TRUE(CProjectCreator::WriteLastProject(Root("bin/main.dat"), L"/plants/line1/line1.dcp"));
    EXPECT_EQ(ReadFile(m_root / "bin/main.dat"), Utf16(L"/plants/line1/line1.dcp"));
    EXPECT_FALSE(CProjectCreator::WriteLastProject(Root("nofolder/main.dat"), L"x"));
}

namespace
{
// A project folder and a program folder with stand-in runtime files.
CBuildRequest MakeBuild(CProjectTest& t, const fs::path& root)
{
    (void)t;
    const auto write = [](const fs::path& p, const std::string& s)
    {
        fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << s;
    };
    write(root / "User/line1/line1.dcp", "project");
    write(root / "User/line1/XdgFiles/Main.xdg", "screen");
    write(root / "User/line1/junk.ilk", "skip");
    write(root / "bin/QYRView", "player");
    write(root / "bin/libPlexcore.so", "plexcore");
    write(root / "bin/libFigkit.so", "figkit");
    write(root / "bin/main.dat", "editor's own");
    CBuildRequest req;
    req.strProjectFolder = CString::FromUtf8((root / "user/line1/").string());
    req.strProjectTitle = L"line1";
    req.strProgramFolder = CString::FromUtf8((root / "bin/").string());
    req.strOutputFolder = CString::FromUtf8((root / "Out").string());
    req.strProgramName = L"myplay.exe";
    return req;
}
} // namespace

TEST_F(CProjectTest, BuildLaysOutTheCopyAndTheRuntimeAndWritesMainDatEveryTime)
{
    const CBuildRequest req = MakeBuild(*this, m_root);
    CString player, project, error;
    ASSERT_TRUE(CProjectBuilder::Build(req, player, project, error)) << error.ToUtf8();
    const fs::path out = m_root / "Out";
    EXPECT_EQ(player, CString::FromUtf8((out / "Bin/myplay").string()));
    EXPECT_EQ(project, CString::FromUtf8((out / "User/line1/line1.dcp").string()));
    EXPECT_EQ(ReadFile(out / "Bin/myplay"), "player");
    EXPECT_EQ(ReadFile(out / "Bin/libPlexcore.so"), "plexcore");
    EXPECT_EQ(ReadFile(out / "Bin/libFigkit.so"), "figkit");
    EXPECT_FALSE(fs::exists(out / "Bin/QYRMView"));
    EXPECT_EQ(ReadFile(out / "Bin/main.dat"), Utf16(L"line1"));
    EXPECT_EQ(ReadFile(out / "User/line1/XdgFiles/Main.xdg"), "screen");
    EXPECT_FALSE(fs::exists(out / "User/line1/junk.ilk"));

    // Again: the copy is refreshed, the runtime files stay, "main.dat" is written anew.
    WriteFile(m_root / "User/line1/XdgFiles/Main.xdg", "screen 2");
    WriteFile(m_root / "bin/QYRView", "player 2");
    WriteFile(m_root / "bin/QYRMView", "viewer");
    WriteFile(out / "Bin/main.dat", "stale");
    ASSERT_TRUE(CProjectBuilder::Build(req, player, project, error)) << error.ToUtf8();
    EXPECT_EQ(ReadFile(out / "User/line1/XdgFiles/Main.xdg"), "screen 2");
    EXPECT_EQ(ReadFile(out / "Bin/myplay"), "player");
    EXPECT_EQ(ReadFile(out / "Bin/QYRMView"), "viewer");
    EXPECT_EQ(ReadFile(out / "Bin/main.dat"), Utf16(L"line1"));
}

TEST_F(CProjectTest, BuildRefusesAnOutputInsideTheProjectAndAMissingRuntime)
{
    CBuildRequest req = MakeBuild(*this, m_root);
    CString player, project, error;
    req.strOutputFolder = CString::FromUtf8((m_root / "User/LINE1/out").string());
    EXPECT_FALSE(CProjectBuilder::Build(req, player, project, error));
    EXPECT_NE(error.Find(L"inside the project folder"), -1);
    EXPECT_FALSE(fs::exists(m_root / "User/line1/out"));
    EXPECT_TRUE(player.IsEmpty());

    req = MakeBuild(*this, m_root);
    fs::remove(m_root / "bin/QYRView");
    error.Empty();
    EXPECT_FALSE(CProjectBuilder::Build(req, player, project, error));
    EXPECT_NE(error.Find(L"missing"), -1);
    EXPECT_FALSE(fs::exists(m_root / "Out"));
    EXPECT_TRUE(player.IsEmpty());
}

TEST_F(CProjectTest, RunStartsTheRealPlayerOnTheProjectWhichOpensIt)
{
    CWorkSpaceObj ws;
    CString error;
    ASSERT_TRUE(CProjectCreator::CreateEmpty(ws, Values(Root("User"), L"RunMe"), error)) << error.ToUtf8();
    // Spelled on disk with capitals, as a user may rename it.
    fs::rename(m_root / "User/runme", m_root / "User/RunMe");
    fs::rename(m_root / "User/RunMe/runme.dcp", m_root / "User/RunMe/RunMe.dcp");
    const fs::path dcp = m_root / "User/RunMe/RunMe.dcp";
    COpenWatch watch(dcp);
    ASSERT_TRUE(watch.Valid());
    CPlayerEnv env(m_root / "home");
    CPlayerStop stop;
    DWORD& pid = stop.pid;
    // The path as the editor keeps it: lower-cased.
    CString path = CString::FromUtf8(dcp.string());
    path.MakeLower();
    // Without a main screen nothing is started.
    CWorkSpaceObj noMain;
    noMain.m_strMainScreen.Empty();
    EXPECT_FALSE(CProjectBuilder::Run(noMain, path, CString::FromUtf8(QYR_BIN_DIR), error, &pid));
    EXPECT_NE(error.Find(L"main screen"), -1);
    EXPECT_EQ(pid, 0u);
    ASSERT_TRUE(CProjectBuilder::Run(ws, path, CString::FromUtf8(QYR_BIN_DIR), error, &pid))
        << error.ToUtf8();
    // The player's command line names the project as it is spelled on disk.
    {
        std::ifstream cmdline("/proc/" + std::to_string(pid) + "/cmdline", std::ios::binary);
        const std::string args((std::istreambuf_iterator<char>(cmdline)), std::istreambuf_iterator<char>());
        EXPECT_NE(args.find(std::string(1, '\0') + dcp.string()), std::string::npos) << args;
    }
    EXPECT_TRUE(watch.WaitOpened(30000));

    EXPECT_FALSE(CProjectBuilder::StartPlayer(Root("bin/NoSuchPlayer"), path, error));
    EXPECT_NE(error.Find(L"Failed to run the command"), -1);
}

TEST_F(CProjectTest, TheBuiltPlayerStartedWithoutArgumentOpensTheCopy)
{
    CWorkSpaceObj ws;
    CString error;
    ASSERT_TRUE(CProjectCreator::CreateEmpty(ws, Values(Root("User"), L"Built"), error)) << error.ToUtf8();
    CBuildRequest req;
    req.strProjectFolder = Root("User/built/");
    req.strProjectTitle = L"built";
    req.strProgramFolder = CString::FromUtf8(QYR_BIN_DIR);
    req.strOutputFolder = Root("Out");
    req.strProgramName = L"plant.exe";
    CString player, project;
    ASSERT_TRUE(CProjectBuilder::Build(req, player, project, error)) << error.ToUtf8();
    ASSERT_TRUE(fs::exists(m_root / "Out/Bin/plant"));
    COpenWatch watch(m_root / "Out/User/built/built.dcp");
    ASSERT_TRUE(watch.Valid());
    CPlayerEnv env(m_root / "home");
    CPlayerStop stop;
    ASSERT_TRUE(CProjectBuilder::StartPlayer(player, CString(), error, &stop.pid)) << error.ToUtf8();
    EXPECT_TRUE(watch.WaitOpened(30000));
}

TEST_F(CProjectTest, TheBuildTreeHoldsTheSampleNewProjectAndATemplate)
{
    // Written beside the programs by the demo generator.
    const fs::path root = fs::path(QYR_BIN_DIR).parent_path();
    CWorkSpaceObj sample;
    ASSERT_TRUE(sample.OpenDocument(CString::FromUtf8((root / "Demo/newproject/newproject.dcp").string())));
    EXPECT_EQ(sample.m_strMainScreen, CString(L"Main.xdg"));
    EXPECT_TRUE(fs::exists(root / "Demo/newproject/XdgFiles/Main.xdg"));
    EXPECT_EQ(ReadFile(root / "Demo/newproject/ScriptFiles/system.uscp"),
              Utf16(CProjectCreator::SeedScript()));

    // A project made from the template keeps its variables.
    CWorkSpaceObj ws;
    CNewProjectValues v = Values(Root("User"), L"Farm");
    v.nTemplateKind = 200;
    v.strTemplate = L"TankFarm";
    CString error;
    ASSERT_TRUE(
        CProjectCreator::CreateFromTemplate(ws, v, CString::FromUtf8((root / "Template").string()), error))
        << error.ToUtf8();
    ASSERT_NE(ws.FindParamByName(L"#tanklevel"), nullptr);
    EXPECT_TRUE(fs::exists(m_root / "User/farm/XdgFiles/Main.xdg"));
}
