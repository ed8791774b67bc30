// The editor's start-up: file types, the command line and "main.dat", the project tree, the recent
// list, the single instance, and the project's failure paths.
#include "EditorAppSupport.h"

#include "editor/FOFileTypeAccess.h"
#include "foundation/Reg.h"
#include "mfc/TreeCtrl.h"
#include "opc/OPCDialogs.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>

using namespace edapp_test;

namespace
{
CString StoredRecent()
{
    RegStoreReload();
    CReg reg;
    CString value;
    if (reg.Open(HKEY_CURRENT_USER, L"Software\\Quendrel\\QYRDraw", KEY_READ))
        reg.LoadString(L"RecentProjects", value);
    return value;
}

void StoreRecent(const CString& value)
{
    CReg reg;
    ASSERT_TRUE(reg.Create(HKEY_CURRENT_USER, L"Software\\Quendrel\\QYRDraw", KEY_WRITE));
    ASSERT_TRUE(reg.SaveString(L"RecentProjects", value));
}

std::vector<CString> Children(CTreeCtrl& tree, HTREEITEM parent)
{
    std::vector<CString> names;
    for (HTREEITEM i = tree.GetChildItem(parent); i; i = tree.GetNextSiblingItem(i))
        names.push_back(tree.GetItemText(i));
    return names;
}

std::vector<CString> RecentList(const CQYRDrawApp& app)
{
    std::vector<CString> list;
    for (INT_PTR i = 0; i < app.GetRecentList().GetSize(); ++i)
        list.push_back(app.GetRecentList()[i]);
    return list;
}
} // namespace

TEST(EditorStart, WritesItsFileTypesAndOpensTheProjectOfMainDatWithItsScreensInTheTree)
{
    InstallRoot root;
    root.AddProject("Plant1", {"b.XDG", "A.xdg", "c.xdg", "notes.txt"});
    // "main.dat" names the project in capitals after an empty line; the last non-empty line counts.
    WriteBytes(root.MainDat(), Utf16("/nowhere/old.dcp\r\n\r\n" + root.ProjectFile("Plant1") + "\r\n"));
    StoreRecent(L"/x/a.dcp;/x/b.dcp;/x/a.dcp;");
    const CString expected = ToCString(root.ProjectFile("Plant1")).MakeLower();
    {
        MessageLog log;
        DrawApp draw(root, {});
        ASSERT_TRUE(draw.Start());
        CQYRDrawApp& app = draw.app;
        EXPECT_TRUE(log.texts.empty());
        ASSERT_NE(draw.Frame(), nullptr);
        EXPECT_TRUE(draw.Frame()->IsWindowVisible());

        // File types in the desktop's data folder: one type with the three globs, opened by us.
        const QString package = ReadBytes(root.data + "/mime/packages/XVKDraw.Document.xml");
        EXPECT_TRUE(package.contains("<mime-type type=\"application/x-XVKDraw.Document\">"))
            << package.toStdString();
        for (const char* glob : {"*.xdg", "*.dcp", "*.uscp"})
            EXPECT_EQ(package.count(QString("<glob pattern=\"%1\"/>").arg(glob)), 1) << glob;
        const QString desktop = ReadBytes(root.data + "/applications/QYRDraw.desktop");
        EXPECT_TRUE(desktop.contains("Exec=\"" + root.Bin() + "/QYRDraw\" %f\n")) << desktop.toStdString();
        EXPECT_TRUE(desktop.contains("MimeType=application/x-XVKDraw.Document;\n"));

        // The project is open, kept lower-cased; "main.dat" was written again, one line, no end.
        EXPECT_TRUE(app.IsProjectLoaded());
        EXPECT_EQ(app.GetProjectFilePath(), expected);
        EXPECT_EQ(ReadBytes(root.MainDat()), Utf16(ToQ(expected)));
        EXPECT_EQ(RecentList(app), (std::vector<CString>{expected, L"/x/a.dcp", L"/x/b.dcp"}));

        // The tree lists every "*.xdg" whatever its case, by name.
        CTableBar& bar = draw.Frame()->GetWorkspaceBar();
        ASSERT_NE(bar.GetScreensItem(), nullptr);
        EXPECT_EQ(bar.GetTree().GetItemText(bar.GetScreensItem()), CString(L"Screens"));
        EXPECT_EQ(Children(bar.GetTree(), bar.GetScreensItem()), (std::vector<CString>{L"A", L"b", L"c"}));
        // The screen folder is a full path, whatever the current folder.
        EXPECT_EQ(GetEditorScreenFolder(), app.GetProjectFolder() + L"XdgFiles/");
        EXPECT_EQ(GetEditorScreenFolder().Left(1), CString(L"/"));

        // The OPC server chooser is there for Key Values and "Connect a parameter".
        COPCDialogs::ConnectDialogFn chooser = COPCDialogs::SetConnectDialog({});
        EXPECT_TRUE(bool(chooser));
        COPCDialogs::SetConnectDialog(chooser);
    }
    // At exit the list is stored, head first, each entry followed by ';'.
    EXPECT_EQ(StoredRecent(), expected + L";/x/a.dcp;/x/b.dcp;");
}

TEST(EditorStart, TheRawCommandLineTextNamesTheFile)
{
    InstallRoot root;
    root.AddProject("Line", {"Main.xdg"});
    {
        DrawApp maker(root, {});
        ASSERT_TRUE(maker.Start());
        ASSERT_TRUE(WriteScreen(maker.app, root.ProjectFolder("Line") + "/XdgFiles/Main.xdg", 3));
    }

    struct Case
    {
        std::string arg;
        int screens;
        int scripts;
        bool project;
    } cases[] = {
        // Quoted and in capitals: the quotes go, the text is lower-cased, the screen opens.
        {"\"" + (root.ProjectFolder("Line") + "/XdgFiles/MAIN.XDG").toStdString() + "\"", 1, 0, false},
        {(root.ProjectFolder("Line") + "/ScriptFiles/System.USCP").toStdString(), 0, 1, false},
        {root.ProjectFile("Line").toUpper().replace(".DCP", ".dcp").toStdString(), 0, 0, true},
        // A flag is still the raw text: taken as a path it opens nothing.
        {"/n", 0, 0, false},
    };
    for (const Case& c : cases)
    {
        MessageLog log;
        DrawApp draw(root, {c.arg});
        ASSERT_TRUE(draw.Start()) << c.arg;
        EXPECT_EQ(int(DrawApp::Docs(draw.app.m_pScreenTemplate).size()), c.screens) << c.arg;
        EXPECT_EQ(int(DrawApp::Docs(draw.app.m_pScriptTemplate).size()), c.scripts) << c.arg;
        EXPECT_EQ(bool(draw.app.IsProjectLoaded()), c.project) << c.arg;
        EXPECT_TRUE(log.texts.empty()) << c.arg;
    }
}

TEST(EditorStart, ASecondEditorIsRefusedRaisesTheFirstAndWritesNothing)
{
    InstallRoot root;
    StoreRecent(L"/x/one.dcp;/x/two.dcp;");
    DrawApp first(root, {});
    ASSERT_TRUE(first.Start());
    first.Frame()->ShowWindow(SW_MINIMIZE);
    AfxPumpMessages();
    ASSERT_TRUE(first.Frame()->IsIconic());

    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    second.setProcessEnvironment(env);
    second.start(QStringLiteral(QYR_BIN_DIR "/QYRDraw"), {});
    ASSERT_TRUE(second.waitForStarted(10000));
    // The first instance answers the knock while the second waits for it to be taken.
    EXPECT_TRUE(PumpUntil([&] { return second.state() == QProcess::NotRunning; }, 30000));
    EXPECT_TRUE(PumpUntil([&] { return !first.Frame()->IsIconic(); }));
    const QByteArray err = second.readAllStandardError();
    EXPECT_TRUE(err.contains("QYRDraw already running!")) << err.toStdString();
    EXPECT_FALSE(err.contains("Sanitizer")) << err.toStdString();
    // The refused editor did not store its empty list over ours.
    EXPECT_EQ(StoredRecent(), CString(L"/x/one.dcp;/x/two.dcp;"));
}

TEST(EditorStart, StoredRecentListsLoadEachPathOnce)
{
    const struct
    {
        const wchar_t* stored;
        std::vector<CString> loaded;
    } cases[] = {
        {L"a;b;a;", {L"a", L"b"}}, {L"a;b;c", {L"a", L"b", L"c"}}, {L";;;", {}}, {L"", {}},
        {L"only", {L"only"}},
    };
    for (const auto& c : cases)
    {
        InstallRoot root;
        StoreRecent(c.stored);
        DrawApp draw(root, {});
        ASSERT_TRUE(draw.Start());
        EXPECT_EQ(RecentList(draw.app), c.loaded) << CString(c.stored).ToUtf8();
    }
}

TEST(EditorStart, BadMainDatStartsWithoutAProject)
{
    InstallRoot root;
    root.AddProject("Good", {"Main.xdg"});
    WriteBytes(root.ProjectFolder("Broken") + "/broken.dcp", QByteArray("\x01\x02garbage", 9));
    const QByteArray cases[] = {
        QByteArray(),
        QByteArray("\xFF\xFE", 2),
        QByteArray("\xFF\xFE\x41", 3), // odd length
        QByteArray("\x00\xD8\xFF\xFE\x00\x00\x41\x00", 8),
        Utf16(QString(20000, QChar('x'))),
        Utf16("missing"),                                    // a bare name of a project that is not there
        Utf16("a:b\\c.dcx"),                                 // fits no shape of a project name
        Utf16(root.ProjectFolder("Broken") + "/broken.dcp"), // a project file that cannot be read
    };
    for (const QByteArray& bytes : cases)
    {
        WriteBytes(root.MainDat(), bytes);
        MessageLog log;
        DrawApp draw(root, {});
        ASSERT_TRUE(draw.Start());
        EXPECT_FALSE(draw.app.IsProjectLoaded()) << bytes.toHex().left(40).toStdString();
        EXPECT_TRUE(draw.app.GetProjectFilePath().IsEmpty());
        EXPECT_TRUE(draw.Frame()->IsWindowVisible());
    }
}

TEST(EditorProject, AFailedOpenLeavesNoProjectSoNothingOverwritesTheOldOne)
{
    InstallRoot root;
    root.AddProject("Good", {"Main.xdg"});
    WriteBytes(root.ProjectFolder("Bad") + "/bad.dcp", QByteArray(64, '\x7f'));
    MessageLog log;
    DrawApp draw(root, {root.ProjectFile("Good").toStdString()});
    ASSERT_TRUE(draw.Start());
    ASSERT_TRUE(draw.app.IsProjectLoaded());
    const QByteArray goodBytes = ReadBytes(root.ProjectFile("Good"));

    EXPECT_FALSE(draw.app.OpenProject(ToCString(root.ProjectFolder("Bad") + "/bad.dcp"), FALSE));
    EXPECT_TRUE(log.Saw(L"Error with opening this project!"));
    EXPECT_FALSE(draw.app.IsProjectLoaded());
    EXPECT_TRUE(draw.app.GetProjectFilePath().IsEmpty());
    EXPECT_EQ(draw.Frame()->GetWorkspaceBar().GetScreensItem(), nullptr);
    // Closing asks nothing about a project without one and keeps the old file whole.
    draw.app.GetWorkSpace()->SetModified(TRUE);
    log.texts.clear();
    draw.Frame()->SendMessage(WM_CLOSE, 0, 0);
    AfxPumpMessages();
    EXPECT_FALSE(log.Saw(L"This project file had been changed"));
    EXPECT_EQ(ReadBytes(root.ProjectFile("Good")), goodBytes);
    // A missing file only leaves the recent list, without a word.
    log.texts.clear();
    EXPECT_FALSE(draw.app.OpenProject(L"/no/such/project.dcp", FALSE));
    EXPECT_TRUE(log.texts.empty());
}

TEST(EditorProject, YesToTheCloseQuestionWithAFailingSaveSaysSoAndStaysOpen)
{
    InstallRoot root;
    root.AddProject("Plant", {"Main.xdg"});
    MessageLog log;
    log.answer = [](const AfxModalRequest&) { return int(IDYES); };
    DrawApp draw(root, {root.ProjectFile("Plant").toStdString()});
    ASSERT_TRUE(draw.Start());
    ASSERT_TRUE(draw.app.IsProjectLoaded());
    draw.app.GetWorkSpace()->SetModified(TRUE);
    // The project file's place is taken by a folder: the save must fail.
    ASSERT_TRUE(QFile::remove(root.ProjectFile("Plant")));
    ASSERT_TRUE(QDir().mkpath(root.ProjectFile("Plant") + "/in-the-way"));

    draw.Frame()->SendMessage(WM_CLOSE, 0, 0);
    AfxPumpMessages();
    EXPECT_TRUE(log.Saw(L"This project file had been changed, do you want to save it before exist?"));
    EXPECT_TRUE(log.Saw(L"could not be saved"));
    ASSERT_NE(draw.Frame(), nullptr);
    EXPECT_TRUE(draw.Frame()->IsWindowVisible());

    // With the way clear, Yes saves and the editor closes.
    QDir(root.ProjectFile("Plant")).removeRecursively();
    log.texts.clear();
    draw.Frame()->SendMessage(WM_CLOSE, 0, 0);
    AfxPumpMessages();
    EXPECT_FALSE(log.Saw(L"could not be saved"));
    // Written as the editor keeps the name: lower-cased.
    EXPECT_TRUE(QFile::exists(root.ProjectFolder("Plant") + "/plant.dcp"));
    EXPECT_EQ(draw.app.m_pMainWnd, nullptr);
}

TEST(EditorProject, ProjectNamesAndPathsTakeTheirShapes)
{
    InstallRoot root;
    DrawApp draw(root, {});
    ASSERT_TRUE(draw.Start());
    CQYRDrawApp& app = draw.app;
    const CString user = ToCString(root.root + "/User/").MakeLower();
    const struct
    {
        const wchar_t* text;
        BOOL ok;
        CString folder;
        const wchar_t* file;
    } cases[] = {
        {L"Plant1", TRUE, user + L"plant1/", L"plant1.dcp"},
        {L"Plant1.dcp", TRUE, user + L"plant1/", L"plant1.dcp"},
        {L"/Data/Line\\Two.dcp", TRUE, L"/data/line/", L"two.dcp"},
        {L"/Data/Line/Two.DCP", FALSE, L"", L""}, // ".dcp" is searched as written
    };
    for (const auto& c : cases)
    {
        MessageLog log;
        app.ClearProjectPath();
        EXPECT_EQ(app.ParseProjectArgument(c.text), c.ok) << CString(c.text).ToUtf8();
        EXPECT_EQ(app.GetProjectFolder(), c.folder) << CString(c.text).ToUtf8();
        EXPECT_EQ(app.GetProjectFileName(), CString(c.file));
        EXPECT_EQ(log.Saw(L"Invalid argument = "), !c.ok);
    }
    EXPECT_FALSE(CFOProjectApp::IsProjectFileName(L".dcp"));
    app.SetProjectPath(L"/Data/Line/Two.dcp");
    EXPECT_FALSE(app.IsDifferentProject(L"/DATA/line/TWO.dcp"));
    EXPECT_TRUE(app.IsDifferentProject(L"/data/line/three.dcp"));
    EXPECT_TRUE(app.IsDifferentProject(L"/data/other/two.dcp"));
}

TEST(EditorFileTypes, DesktopEntriesFollowTheDataFolderAndKeepEachGlobOnce)
{
    InstallRoot root;
    CFOFileTypeAccess access;
    access.m_strExtension = L"xdg";
    access.m_strDocClassName = L"XVKDraw.Document";
    access.m_strOpenCommand = L"\"/opt/q/bin/QYRDraw\" \"%1\"";
    EXPECT_TRUE(access.RegisterAll());
    EXPECT_TRUE(access.RegisterAll());
    CFOFileTypeAccess::AssociateExtensions(L"XVKDraw.Document", {L"xdg", L"dcp"}, access.m_strOpenCommand);
    const QString package = ReadBytes(root.data + "/mime/packages/XVKDraw.Document.xml");
    EXPECT_EQ(package.count("<glob pattern=\"*.xdg\"/>"), 1);
    EXPECT_EQ(package.count("<glob pattern=\"*.dcp\"/>"), 1);
    EXPECT_TRUE(
        ReadBytes(root.data + "/applications/QYRDraw.desktop").contains("Exec=\"/opt/q/bin/QYRDraw\" %f\n"));

    // A data folder that cannot be written is no failure.
    WriteBytes(root.dir.path() + "/file", "x");
    qputenv("XDG_DATA_HOME", (root.dir.path() + "/file").toUtf8());
    EXPECT_TRUE(access.RegisterAll());
    CFOFileTypeAccess::AssociateExtensions(L"XVKDraw.Document", {L"uscp"}, access.m_strOpenCommand);
}
