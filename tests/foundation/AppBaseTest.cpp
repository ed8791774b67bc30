// The application base: start-up order and services, the idle timer, the command line, frames.
#include "foundation/CommandLineInfoEx.h"
#include "foundation/LanguageSelect.h"
#include "foundation/LogFile.h"
#include "foundation/OptionsMgr.h"
#include "foundation/PlexcoreRes.h"
#include "foundation/QyrExports.h"
#include "foundation/VEzudiZuroDoz.h"
#include "foundation/XVKFrames.h"
#include "logvane/Logvane.h"
#include "mfc/Controls.h"
#include "mfc/Messages.h"
#include "mfc/ModalHook.h"
#include "mfc/WinApp.h"
#include "mfc/Wnd.h"
#include "win32/Registry.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cfloat>
#include <dlfcn.h>
#include <fstream>
#include <sstream>

namespace
{
// Windows need the Qt application object, as in the programs.
struct QtEnvironment : ::testing::Environment
{
    void SetUp() override { AfxEnsureApplication(); }
};
const auto* g_qtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

class CTestApp : public VEzudiZuroDoz
{
public:
    CTestApp() : VEzudiZuroDoz(128, 128) {}
};

std::string ReadAll(const QString& path)
{
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool LogHas(const std::wstring& text)
{
    for (const auto& line : Logvane_GetCapturedLines())
        if (line.find(text) != std::wstring::npos)
            return true;
    return false;
}

// Each test starts from an empty registry and its own documents folder.
class AppBase : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_home.isValid());
        qputenv("XDG_CONFIG_HOME", (m_home.path() + "/config").toUtf8());
        qputenv("XDG_DOCUMENTS_DIR", (m_home.path() + "/Documents").toUtf8());
        QDir().mkpath(m_home.path() + "/Documents/Corvane");
        RegStoreReload();
        Logvane_ClearCaptured();
    }
    void SetLoggingOption(DWORD value)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Brindlecote\\Corvane\\Settings", 0, nullptr,
                                  0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, L"Logging", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
        RegCloseKey(key);
    }
    QString LogPath() const { return m_home.path() + "/Documents/Corvane/Corvane.log"; }
    QTemporaryDir m_home;
};
} // namespace

TEST(AppBaseConfig, LogConfigurationPathFromHelpPath)
{
    struct
    {
        const wchar_t* help;
        const wchar_t* config;
    } cases[] = {
        {L"/opt/q/bin/QYRView.CHM", L"/opt/q/bin/QYRView.xml"},
        {L"/opt/q/bin/QYRView.chm", L"/opt/q/bin/Logvane.xml"}, // the search is case-sensitive
        {L"/opt/a.CHM/QYRView.CHM", L"/opt/a.CHM/QYRView.xml"}, // the last one is replaced
        {L"/opt/q/bin/QYRView", L"/opt/q/bin/Logvane.xml"},
        {L"", L"Logvane.xml"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ROzazeRir::MakeLogConfigPath(c.help), CString(c.config)) << CString(c.help).ToUtf8();
}

TEST_F(AppBase, StartUpCreatesServicesInOrderAndExitEndsThem)
{
    SetLoggingOption(1);
    {
        CTestApp app;
        EXPECT_EQ(AfxGetXVKApp(), &app);
        char arg0[] = "test_foundation";
        char* argv[] = {arg0, nullptr};
        ASSERT_TRUE(AfxWinInit(1, argv));
        ASSERT_NE(app.GetLanguageSelect(), nullptr); // made by the constructor
        EXPECT_EQ(app.GetMergeOptionsMgr(), nullptr);
        ASSERT_TRUE(app.InitInstance());

        // Options were registered with their defaults and written to a fresh profile.
        ASSERT_NE(app.GetMergeOptionsMgr(), nullptr);
        EXPECT_EQ(app.GetMergeOptionsMgr()->GetIntValue(L"Locale/LanguageId"), 1033);
        EXPECT_EQ(app.GetMergeOptionsMgr()->GetIntValue(L"Settings/Logging"), 1);
        EXPECT_EQ(GetOptionsMgr(), app.GetMergeOptionsMgr());
        EXPECT_EQ(GetLog(), app.GetMergeLog());

        // The help file lies beside the program.
        const CString help = ROzazeRir::GetXVKHelpFilePath();
        EXPECT_TRUE(help.Right(13) == L"/Plexcore.chm") << help.ToUtf8();

        // Logging 1 wrote the start banner with all levels into the documents folder.
        const std::string log = ReadAll(LogPath());
        EXPECT_NE(log.find("Log Started:"), std::string::npos) << log;

        EXPECT_EQ(app.GetLangId(), 1033);
        ASSERT_NE(app.GetWorkSpace(), nullptr);

        EXPECT_EQ(app.ExitInstance(), 0);
    }
    EXPECT_EQ(AfxGetXVKApp(), nullptr);
}

TEST_F(AppBase, LoggingOptionSetsTheMask)
{
    struct
    {
        DWORD option;
        bool file;
        bool banner;
    } cases[] = {{0, false, false}, {1, true, true}, {2, true, false}, {5, true, true}};
    for (const auto& c : cases)
    {
        QFile::remove(LogPath());
        SetLoggingOption(c.option);
        CTestApp app;
        ASSERT_TRUE(app.InitInstance());
        const bool exists = QFile::exists(LogPath());
        EXPECT_EQ(exists && !ReadAll(LogPath()).empty(), c.banner) << c.option;
        if (!c.file)
        {
            EXPECT_FALSE(exists) << c.option;
        }
        app.ExitInstance();
    }
}

TEST_F(AppBase, StartUpParsesTheCommandLineAndItsIgnoreSwitchesSetTheirOptions)
{
    struct
    {
        std::vector<const char*> args;
        bool paths;
        int ignoreSpace;
        bool ignoreCase;
    } cases[] = {
        {{}, false, 0, false},
        {{"-ignorews", "/ignorecase"}, false, 1, true},
        {{"/IgnoreCase", "Plant1"}, true, 0, true},
        {{"-Embedding"}, false, 0, false},
    };
    for (const auto& c : cases)
    {
        RegStoreReload();
        CTestApp app;
        std::vector<std::string> storage = {"test_foundation"};
        storage.insert(storage.end(), c.args.begin(), c.args.end());
        std::vector<char*> argv;
        for (std::string& a : storage)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        ASSERT_TRUE(AfxWinInit(int(storage.size()), argv.data()));
        ASSERT_TRUE(app.InitInstance());
        EXPECT_EQ(bool(app.HasCommandLinePaths()), c.paths) << c.args.size();
        EXPECT_EQ(app.GetMergeOptionsMgr()->GetIntValue(L"Settings/IgnoreSpace"), c.ignoreSpace);
        EXPECT_EQ(bool(app.GetMergeOptionsMgr()->GetBoolValue(L"Settings/IgnoreCase")), c.ignoreCase);
        app.ExitInstance();
    }
}

TEST_F(AppBase, IdleTimerIsOneShotAndWaitsForBaseWork)
{
    CTestApp app;
    ASSERT_TRUE(app.InitInstance());

    struct CCountingFrame : CFrameWnd
    {
        int ticks = 0;
        LPARAM lastCount = -1;
        void OnTimer(UINT_PTR id) override
        {
            if (id == 9754)
                ++ticks;
        }
    };
    struct CChild : CWnd
    {
        int ticks = 0;
        LPARAM lastCount = -1;
        LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override
        {
            if (msg == WM_TIMER && wp == 9754)
            {
                ++ticks;
                lastCount = lp;
            }
            return CWnd::WindowProc(msg, wp, lp);
        }
    };
    auto* frame = new CFrameWnd; // frames delete themselves when destroyed
    ASSERT_TRUE(frame->Create(nullptr, L"idle"));
    CWnd middle;
    ASSERT_TRUE(middle.Create(nullptr, L"", WS_CHILD, CRect(0, 0, 10, 10), frame, 1));
    CChild grandChild;
    ASSERT_TRUE(grandChild.Create(nullptr, L"", WS_CHILD, CRect(0, 0, 5, 5), &middle, 2));
    app.m_pMainWnd = frame;

    EXPECT_FALSE(app.OnIdle(1)); // not armed: nothing sent
    EXPECT_EQ(grandChild.ticks, 0);
    app.SetNeedIdleTimer();
    EXPECT_TRUE(app.OnIdle(0)); // the base still wants idle time: keep the timer armed
    EXPECT_EQ(grandChild.ticks, 0);
    EXPECT_FALSE(app.OnIdle(7));
    EXPECT_EQ(grandChild.ticks, 1); // deep: reaches grandchildren
    EXPECT_EQ(grandChild.lastCount, 7);
    EXPECT_FALSE(app.OnIdle(8));
    EXPECT_EQ(grandChild.ticks, 1); // one shot

    app.m_pMainWnd = nullptr;
    grandChild.DestroyWindow();
    middle.DestroyWindow();
    frame->DestroyWindow();
    app.ExitInstance();
}

TEST(CommandLineInfoEx, SilentOnlyAsASwitch)
{
    struct
    {
        std::vector<const wchar_t*> args;
        bool silent;
    } cases[] = {
        {{L"/silent"}, true},  {{L"-silent"}, true}, {{L"silent"}, false}, {{L"Demo.dcp", L"/silent"}, true},
        {{L"/Silent"}, false}, // case kept
        {{}, false},
    };
    for (const auto& c : cases)
    {
        CCommandLineInfoEx info;
        for (size_t i = 0; i < c.args.size(); ++i)
        {
            const wchar_t* a = c.args[i];
            const bool flag = a[0] == L'/' || a[0] == L'-';
            info.ParseParam(flag ? a + 1 : a, flag, i + 1 == c.args.size());
        }
        EXPECT_EQ(info.GetOption(L"silent") != FALSE, c.silent);
    }
    CCommandLineInfoEx info;
    info.ParseParam(L"Plant1.dcp", FALSE, TRUE);
    EXPECT_EQ(info.m_strFileName, L"Plant1.dcp"); // file arguments keep their meaning
    CString value;
    info.ParseParam(L"x", TRUE, TRUE);
    EXPECT_TRUE(info.GetOption(L"x", value));
    EXPECT_EQ(value, L"TRUE");
}

TEST(Frames, CloseTextsAreLoggedAroundTheBaseClose)
{
    Logvane_ClearCaptured();
    auto* frame = new CXVKFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, L"player"));
    frame->SendMessage(WM_CLOSE, 0, 0);
    EXPECT_TRUE(LogHas(L"* Enter CXVKFrameWnd::OnClose() - waiting ..."));
    EXPECT_TRUE(LogHas(L"* Leave CXVKFrameWnd::OnClose() - done."));
}

TEST(Frames, QuitAnsweredNoLeavesEverythingOpen)
{
    Logvane_ClearCaptured();
    std::vector<std::wstring> asked;
    int answer = IDNO;
    AfxSetModalHook(
        [&](const AfxModalRequest& r)
        {
            asked.push_back(r.strText.str());
            return answer;
        });
    auto* frame = new CXVKMDIFrameWndEx;
    ASSERT_TRUE(frame->Create(nullptr, L"viewer"));
    const HWND hwnd = frame->GetSafeHwnd();
    frame->SendMessage(WM_CLOSE, 0, 0);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], L"Quit application?");
    EXPECT_TRUE(::IsWindow(hwnd));
    EXPECT_TRUE(Logvane_GetCapturedLines().empty());

    answer = IDYES;
    frame->SendMessage(WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_TRUE(LogHas(L"* Enter CXVKMDIFrameWndEx::OnClose() - waiting ..."));
    EXPECT_TRUE(LogHas(L"* Leave CXVKMDIFrameWndEx::OnClose() - done."));
    AfxSetModalHook(nullptr);
}

TEST(Frames, FctMessageWithoutChildrenReturnsZero)
{
    auto* frame = new CXVKMDIFrameWndEx;
    ASSERT_TRUE(frame->Create(nullptr, L"viewer"));
    EXPECT_EQ(frame->OnFctMessage(WM_USER + 1, 0, 0, FALSE), 0);
    frame->DestroyWindow();
}

TEST(Frames, ContextHelpAnswersWithTheFixedTextAndOpensTheFinder)
{
    std::vector<AfxModalKind> kinds;
    std::vector<std::wstring> texts;
    AfxSetModalHook(
        [&](const AfxModalRequest& r)
        {
            kinds.push_back(r.kind);
            texts.push_back(r.strText.str());
            return IDOK;
        });
    CTestApp app;
    char arg0[] = "test_foundation";
    char* argv[] = {arg0, nullptr};
    ASSERT_TRUE(AfxWinInit(1, argv));
    auto* frame = new CXVKFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, L"player"));
    app.m_pMainWnd = frame;
    frame->HtmlHelp(5, 0x000F);
    ASSERT_GE(kinds.size(), 1u);
    EXPECT_EQ(kinds[0], AfxModalKind::MessageBox);
    EXPECT_EQ(texts[0],
              L"Sorry. Context Help is not available in this version!\nRefer to QuickStart Guide instead.");
    // The help finder command follows and opens the help file.
    ASSERT_EQ(kinds.size(), 2u);
    EXPECT_EQ(kinds[1], AfxModalKind::Help);
    AfxSetModalHook(nullptr);
    app.m_pMainWnd = nullptr;
    frame->DestroyWindow();
}

TEST(Library, ResourcesAndLoadString)
{
    EXPECT_TRUE(Plexcore_IsAttached());
    EXPECT_NE(CPlexcoreRes::GetInstanceHandle(), nullptr);
    const HINSTANCE before = AfxGetResourceHandle();
    {
        CPlexcoreRes scope;
        EXPECT_EQ(AfxGetResourceHandle(), CPlexcoreRes::GetInstanceHandle());
    }
    EXPECT_EQ(AfxGetResourceHandle(), before);

    CString s;
    EXPECT_TRUE(Plexcore_LoadString(15139, s, L"", L"two")); // empty first insertion, still formatted
    EXPECT_EQ(s, L"[] [two]");
    EXPECT_TRUE(Plexcore_LoadString(15139, s, L"one", nullptr));
    EXPECT_EQ(s, L"[one] [%2]");
    EXPECT_TRUE(Plexcore_LoadString(15139, s, nullptr, nullptr));
    EXPECT_EQ(s, L"[%1] [%2]");
    EXPECT_FALSE(Plexcore_LoadString(1, s, L"a", L"b")); // no such string
}

TEST(Library, ExportsReturnTheirFixedResults)
{
    void* lib = dlopen("libPlexcore.so", RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(lib, nullptr);
    for (const char* name :
         {"QYR_GetAiTagValue", "QYR_GetDiTagValue", "QYR_GetTagValueByInfo", "QYR_GetTagValueByPos"})
    {
        auto f = reinterpret_cast<double (*)()>(dlsym(lib, name));
        ASSERT_NE(f, nullptr) << name;
        EXPECT_EQ(f(), DBL_MAX) << name;
    }
    for (const char* name : {"QYR_ConnectServer", "QYR_IsActiveMode", "QYR_GetAlarmCount", "QYR_PutRunMacro"})
    {
        auto f = reinterpret_cast<long (*)()>(dlsym(lib, name));
        ASSERT_NE(f, nullptr) << name;
        EXPECT_EQ(f(), 0) << name;
    }
    for (const char* name : {"QYR_GetLastError", "QYR_WaitForData", "QYR_SetAPIInit", "QYR_DRVDiOutPut"})
    {
        auto f = reinterpret_cast<long (*)()>(dlsym(lib, name));
        ASSERT_NE(f, nullptr) << name;
        EXPECT_EQ(f(), -1) << name;
    }
    for (const char* name : {"QYR_GetRunMacro", "QYR_LogOff", "QYR_PutMessage"})
        EXPECT_NE(dlsym(lib, name), nullptr) << name;
    char tag[] = "FIC101.PV";
    EXPECT_EQ(QYR_GetTagValueByName(tag), DBL_MAX);
    EXPECT_EQ(QYR_GetTagPosByName(1, 2, tag), -1);
    EXPECT_EQ(QYR_GetGlobalStnPointerByName(L"x"), nullptr);
    dlclose(lib);
}

TEST_F(AppBase, LanguageDialogListsEnglishAndKeepsItOnOk)
{
    struct CResourceApp : CTestApp
    {
        int updates = 0;
        void UpdateResources() override { ++updates; }
    } app;
    char arg0[] = "test_foundation";
    char* argv[] = {arg0, nullptr};
    ASSERT_TRUE(AfxWinInit(1, argv));
    ASSERT_TRUE(app.InitInstance());

    std::vector<CString> items;
    CString caption;
    AfxSetModalHook(
        [&](const AfxModalRequest& r)
        {
            if (r.kind != AfxModalKind::Dialog)
                return IDCANCEL;
            caption = r.strCaption;
            CListBox* list =
                static_cast<CListBox*>(r.pDialog->GetDlgItem(CLanguageSelect::IDC_LANGUAGE_LIST));
            for (int i = 0; list && i < list->GetCount(); ++i)
            {
                CString text;
                list->GetText(i, text);
                items.push_back(text);
            }
            return IDOK;
        });
    app.OnViewLanguage();
    AfxSetModalHook(nullptr);

    EXPECT_EQ(caption, L"Language");
    // English, and the German catalogue that the build installs.
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].Left(7), L"English");
    EXPECT_EQ(items[1].Left(6), L"German");
    EXPECT_EQ(app.updates, 1);
    EXPECT_EQ(app.GetLangId(), 1033);

    app.ExitInstance();
}
