// The player's choice of project: the command-line argument, else the last line of "main.dat",
// else the demo project, which is then recorded.
#include "PlayerTestSupport.h"

#include "foundation/StdioFileEx.h"

#include <gtest/gtest.h>

using namespace player_test;

namespace
{
void WriteMainDat(const QString& path, const QString& text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xFF\xFE", 2);
    const std::u16string units = text.toStdU16String();
    file.write(reinterpret_cast<const char*>(units.data()), qint64(units.size() * 2));
}

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray Utf16WithMark(const QString& text)
{
    const std::u16string units = text.toStdU16String();
    return QByteArray("\xFF\xFE", 2) +
           QByteArray(reinterpret_cast<const char*>(units.data()), qsizetype(units.size() * 2));
}
} // namespace

TEST(ProjectChoice, ArgumentMainDatAndDemoFallback)
{
    struct Case
    {
        const char* name;
        const char* argument; // null: none
        const char* mainDat;  // null: no "main.dat"; lines separated by \r\n
        const char* folder;   // below the install root ("User/...") or, with a leading '/', absolute
        const char* file;
        const char* message; // null: none
        bool mainDatWritten; // "main.dat" now holds the demo project
    };
    const Case cases[] = {
        {"bare name", "Plant1", nullptr, "User/plant1/", "plant1.dcp", nullptr, false},
        {"name with .dcp", "Plant1.dcp", nullptr, "User/plant1/", "plant1.dcp", nullptr, false},
        {"dotted name", "My.Plant.dcp", nullptr, "User/my/", "my.plant.dcp", nullptr, false},
        {"full path", "/P/Plant1.dcp", nullptr, "/p/", "plant1.dcp", nullptr, false},
        {"typed backslashes", "\\P\\Sub\\Plant1.dcp", nullptr, "/p/sub/", "plant1.dcp", nullptr, false},
        {".DCP is a bare name", "Plant1.DCP", nullptr, "User/plant1.dcp/", "plant1.dcp.dcp", nullptr, false},
        {"folder without project", "/P/", nullptr, "Demo/demo/", "demo.dcp", "Invalid argument = /P/", true},
        {"relative path", "../Plant1.dcp", nullptr, "Demo/demo/", "demo.dcp",
         "Invalid argument = ../Plant1.dcp", true},
        {"main.dat last non-empty line", nullptr, "a\r\n\r\nb\r\n", "User/b/", "b.dcp", nullptr, false},
        {"main.dat last line of blanks names nothing", nullptr, "a\r\n  \r\n", "Demo/demo/", "demo.dcp",
         nullptr, true},
        {"main.dat last line of a tab", nullptr, "a\r\n\t", "Demo/demo/", "demo.dcp", nullptr, true},
        {"main.dat blank lines only", nullptr, "\r\n\r\n", "Demo/demo/", "demo.dcp", nullptr, true},
        {"main.dat empty", nullptr, "", "Demo/demo/", "demo.dcp", nullptr, true},
        {"main.dat blanks before the project", nullptr, "  \r\n\r\nb", "User/b/", "b.dcp", nullptr, false},
        {"main.dat full path", nullptr, "C:\\x\r\n/Proj/One.dcp", "/proj/", "one.dcp", nullptr, false},
        {"no argument, no main.dat", nullptr, nullptr, "Demo/demo/", "demo.dcp", nullptr, true},
        {"command-line project over main.dat", "Plant2", "b", "User/plant2/", "plant2.dcp", nullptr, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        InstallRoot root;
        if (c.mainDat)
            WriteMainDat(root.MainDat(), QString::fromUtf8(c.mainDat));
        const QByteArray before = ReadBytes(root.MainDat());
        MessageLog messages;
        PlayerApp player(root, {});
        CQYRViewApp& app = player.app;
        if (c.argument)
            app.m_strProjectFile = CString::FromUtf8(c.argument);
        if (!app.ReadLastProject())
            app.OpenDefaultProject();

        QString folder = QString::fromUtf8(c.folder);
        if (!folder.startsWith('/'))
            folder = root.root + "/" + folder;
        EXPECT_EQ(app.m_strProjectFolder, ToCString(folder.toLower()));
        EXPECT_EQ(app.m_strProjectFile, CString::FromUtf8(c.file));
        if (c.message)
        {
            ASSERT_EQ(messages.texts.size(), 1u);
            EXPECT_EQ(messages.texts[0], CString::FromUtf8(c.message));
        }
        else
            EXPECT_TRUE(messages.texts.empty());
        if (c.mainDatWritten)
            EXPECT_EQ(ReadBytes(root.MainDat()), Utf16WithMark(folder.toLower() + QString::fromUtf8(c.file)));
        else
            EXPECT_EQ(ReadBytes(root.MainDat()), before);
    }
}

TEST(ProjectChoice, FoldersFollowTheProgramAndTheProject)
{
    InstallRoot root;
    PlayerApp player(root, {});
    CQYRViewApp& app = player.app;
    EXPECT_EQ(app.GetProgramFolder(), ToCString(root.root + "/bin/"));
    EXPECT_EQ(app.GetUserFolder(), ToCString(root.root + "/User/"));
    EXPECT_EQ(app.GetDemoFolder(), ToCString(root.root + "/Demo/"));
    // Before a project is chosen the folders are relative.
    EXPECT_EQ(app.GetScreensFolder(), CString(L"XdgFiles/"));
    EXPECT_EQ(app.GetScreenFilePath(CString()), CString());

    app.OpenDefaultProject();
    const CString demo = ToCString((root.root + "/Demo/demo/").toLower());
    EXPECT_EQ(app.GetProjectFilePath(), demo + L"demo.dcp");
    EXPECT_EQ(app.GetScreensFolder(), demo + L"XdgFiles/");
    EXPECT_EQ(app.GetScriptsFolder(), demo + L"ScriptFiles/");
    EXPECT_EQ(app.GetScreenFilePath(L"Main.xdg"), demo + L"XdgFiles/Main.xdg");

    // Screens: an existing ".xdg" of the screens folder that is not the current one.
    EXPECT_TRUE(app.IsScreenFileValid(L"Main.xdg"));
    EXPECT_TRUE(app.IsScreenFileValid(L"main.xdg")); // the file layer matches the case
    EXPECT_FALSE(app.IsScreenFileValid(L"Other.xdg"));
    EXPECT_FALSE(app.IsScreenFileValid(L"xdg"));
    app.m_strCurrentScreen = L"Main.xdg";
    EXPECT_FALSE(app.IsScreenFileValid(L"Main.xdg"));

    // Scripts: the text as UTF-16 with its mark; bad names and missing files give nothing.
    const CString script = app.ReadScriptFile(L"system.uscp");
    ASSERT_FALSE(script.IsEmpty());
    EXPECT_EQ(script[0], wchar_t(0xFEFF));
    EXPECT_GE(script.Find(L"function OnStart("), 0);
    EXPECT_EQ(app.ReadScriptFile(L"system.txt"), CString());
    EXPECT_EQ(app.ReadScriptFile(L"uscp"), CString());
    EXPECT_EQ(app.ReadScriptFile(L"missing.uscp"), CString());
    EXPECT_EQ(app.ReadScriptFile(CString()), CString());

    EXPECT_EQ(CPlexrunApp::GetFileName(L"/p/XdgFiles/Main.xdg"), CString(L"Main.xdg"));
    EXPECT_EQ(CPlexrunApp::GetFileName(L"C:\\P\\Main.xdg"), CString(L"Main.xdg"));
    EXPECT_EQ(CPlexrunApp::GetFileExtension(L"/p.q/name"), CString());
    EXPECT_EQ(CPlexrunApp::GetFileExtension(L"/p/name."), CString());
    EXPECT_EQ(CPlexrunApp::GetFileExtension(L"/p/a.b.uscp"), CString(L"uscp"));
}

TEST(ProjectChoice, MissingOrUnreadableProjectFileEndsStartUp)
{
    InstallRoot root;
    {
        MessageLog messages;
        PlayerApp player(root, {"/nowhere/Plant1.dcp"});
        EXPECT_FALSE(player.Start());
        ASSERT_EQ(messages.texts.size(), 1u);
        EXPECT_EQ(messages.texts[0], CString(L"Project file missing (/nowhere/plant1.dcp)!"));
        EXPECT_EQ(player.app.m_pMainWnd, nullptr);
    }
    {
        QDir().mkpath(root.root + "/User/broken");
        QFile broken(root.root + "/User/broken/broken.dcp");
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write("not a project");
        broken.close();
        MessageLog messages;
        PlayerApp player(root, {"Broken"});
        EXPECT_FALSE(player.Start());
        ASSERT_FALSE(messages.texts.empty());
        const CString expected = L"Cannot open project file (" +
                                 ToCString((root.root + "/User/broken/broken.dcp").toLower()) + L")!";
        EXPECT_EQ(messages.texts.back(), expected);
        EXPECT_EQ(player.app.m_pMainWnd, nullptr);
    }
}
