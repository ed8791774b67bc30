#include "WndTestSupport.h"

#include "mfc/CommandLine.h"
#include "mfc/Document.h"
#include "mfc/FrameWnd.h"
#include "mfc/RecentFileList.h"
#include "mfc/WinApp.h"
#include "win32/Files.h"
#include "win32/Registry.h"

#include <QFile>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <vector>

using namespace wndtest;

namespace
{
class CAppTest : public CWndTestBase
{
protected:
    void SetUp() override
    {
        CWndTestBase::SetUp();
        RegStoreSetInMemory(true);
        RegStoreReset();
    }
    void TearDown() override
    {
        RegStoreSetInMemory(false);
        CWndTestBase::TearDown();
    }
};

// Records the idle counts; posts a message once while idle, and once the loop rests, lets a
// message come in from outside; quits on the second round.
class CIdleApp : public CWinApp
{
public:
    std::vector<LONG> counts;
    std::vector<UINT> thread;
    int m_nRound = 0;

    BOOL OnIdle(LONG lCount) override
    {
        counts.push_back(lCount);
        if (m_nRound == 0 && lCount == 1)
        {
            m_nRound = 1;
            ::PostMessage(nullptr, WM_USER + 1, 0, 0);
            return TRUE;
        }
        if (m_nRound == 1 && lCount == 3)
        {
            m_nRound = 2;
            QTimer::singleShot(20, [] { ::PostMessage(nullptr, WM_USER + 2, 0, 0); });
            return FALSE;
        }
        if (m_nRound == 2 && lCount == 1)
            AfxPostQuitMessage(7);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (!pMsg->hwnd)
            thread.push_back(pMsg->message);
        return CWinApp::PreTranslateMessage(pMsg);
    }
};

class CUpdatingWnd : public CWnd
{
public:
    int m_nUpdates = 0;
    LRESULT OnIdleUpdate(WPARAM, LPARAM)
    {
        ++m_nUpdates;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CUpdatingWnd, CWnd)
ON_MESSAGE(WM_IDLEUPDATECMDUI, &CUpdatingWnd::OnIdleUpdate)
END_MESSAGE_MAP()
} // namespace

TEST_F(CAppTest, RunCallsOnIdleWithRisingCountsAndStartsAgainAfterMessages)
{
    CIdleApp app;
    EXPECT_EQ(AfxGetApp(), &app);
    EXPECT_EQ(AfxGetThread(), &app);
    ASSERT_TRUE(AfxWinInit(0, nullptr));
    EXPECT_EQ(app.Run(), 7);
    EXPECT_EQ(app.counts, (std::vector<LONG>{0, 1, 0, 1, 2, 3, 0, 1}));
    EXPECT_EQ(app.thread, (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
    AfxWinTerm();
}

TEST_F(CAppTest, BaseIdleUpdatesTheMainWindowAndItsDescendantsOnce)
{
    CWinApp app;
    ASSERT_TRUE(AfxWinInit(0, nullptr));
    CUpdatingWnd main;
    CUpdatingWnd child;
    ASSERT_TRUE(main.CreateEx(0, nullptr, L"main", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr));
    ASSERT_TRUE(child.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &main, 1));
    app.m_pMainWnd = &main;
    EXPECT_TRUE(app.OnIdle(0));
    EXPECT_FALSE(app.OnIdle(1));
    EXPECT_FALSE(app.OnIdle(2));
    EXPECT_EQ(main.m_nUpdates, 1);
    EXPECT_EQ(child.m_nUpdates, 1);
    EXPECT_EQ(AfxGetMainWnd(), &main);

    // Destroying the main window clears it and ends the loop.
    main.DestroyWindow();
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(app.Run(), 0);
    AfxWinTerm();
}

TEST_F(CAppTest, StartUpFillsNamesHelpPathAndCommandLine)
{
    CWinApp app;
    char arg0[] = "prog";
    char arg1[] = "/silent";
    char arg2[] = "Plant 1.dcp";
    char* argv[] = {arg0, arg1, arg2, nullptr};
    ASSERT_TRUE(AfxWinInit(3, argv));
    wchar_t path[4096];
    const DWORD n = GetModuleFileNameW(nullptr, path, 4096);
    ASSERT_GT(n, 0u);
    EXPECT_EQ(CString(app.m_pszHelpFilePath).ToUtf8(), (CString(path) + L".CHM").ToUtf8());
    EXPECT_EQ(CString(app.m_pszExeName), L"test_platform_mfc");
    EXPECT_EQ(CString(app.m_pszAppName), L"test_platform_mfc");
    EXPECT_EQ(CString(app.m_lpCmdLine), L"/silent Plant 1.dcp");
    CCommandLineInfo info;
    app.ParseCommandLine(info);
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(info.m_strFileName, L"Plant 1.dcp");
    // Nothing to open documents with yet: opening fails, nothing to do succeeds.
    EXPECT_FALSE(app.ProcessShellCommand(info));
    info.m_nShellCommand = CCommandLineInfo::FileNothing;
    EXPECT_TRUE(app.ProcessShellCommand(info));
    AfxWinTerm();
}

TEST_F(CAppTest, ProfileSettingsLiveUnderTheRegistryKey)
{
    CWinApp app(L"Probe");
    ASSERT_TRUE(AfxWinInit(0, nullptr));
    app.SetRegistryKey(L"QyrTest");
    EXPECT_EQ(CString(app.m_pszRegistryKey), L"QyrTest");
    EXPECT_EQ(CString(app.m_pszProfileName), L"Probe");

    EXPECT_EQ(app.GetProfileInt(L"Settings", L"Count", -3), UINT(-3));
    EXPECT_TRUE(app.WriteProfileInt(L"Settings", L"Count", 12));
    EXPECT_EQ(app.GetProfileInt(L"Settings", L"Count", 0), 12u);
    EXPECT_EQ(app.GetProfileString(L"Settings", L"Name", L"none"), L"none");
    EXPECT_TRUE(app.WriteProfileString(L"Settings", L"Name", L"Grüße"));
    EXPECT_EQ(app.GetProfileString(L"Settings", L"Name"), L"Grüße");
    // A value of the other type reads as missing.
    EXPECT_EQ(app.GetProfileInt(L"Settings", L"Name", 5), 5u);

    // Where it is: HKEY_CURRENT_USER\Software\<key>\<application>\<section>.
    HKEY hKey = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\QyrTest\\Probe\\Settings", 0, KEY_READ, &hKey),
              ERROR_SUCCESS);
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof(value);
    EXPECT_EQ(RegQueryValueExW(hKey, L"Count", nullptr, &type, reinterpret_cast<LPBYTE>(&value), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD(REG_DWORD));
    EXPECT_EQ(value, 12u);
    RegCloseKey(hKey);

    // A null value removes the entry, a null entry the section.
    EXPECT_TRUE(app.WriteProfileString(L"Settings", L"Name", nullptr));
    EXPECT_EQ(app.GetProfileString(L"Settings", L"Name", L"gone"), L"gone");
    EXPECT_TRUE(app.WriteProfileString(L"Settings", nullptr, nullptr));
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\QyrTest\\Probe\\Settings", 0, KEY_READ, &hKey),
              ERROR_SUCCESS);
    EXPECT_EQ(app.GetProfileInt(L"Settings", L"Count", 99), 99u);

    // Unregistering takes the application's settings away.
    EXPECT_TRUE(app.WriteProfileInt(L"Other", L"X", 1));
    EXPECT_TRUE(app.Unregister());
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\QyrTest\\Probe", 0, KEY_READ, &hKey),
              ERROR_SUCCESS);
    AfxWinTerm();
}

TEST_F(CAppTest, RecentFilesKeepTheNewestOnceAndLiveInTheProfile)
{
    {
        CWinApp app(L"Probe");
        ASSERT_TRUE(AfxWinInit(0, nullptr));
        app.SetRegistryKey(L"QyrTest");
        app.LoadStdProfileSettings(3);
        ASSERT_NE(app.m_pRecentFileList, nullptr);
        CRecentFileList& list = *app.m_pRecentFileList;
        ASSERT_EQ(list.GetSize(), 3);
        const auto names = [&list]
        {
            std::vector<CString> v;
            for (int i = 0; i < list.GetSize(); ++i)
                v.push_back(list[i]);
            return v;
        };
        // Newest first, a path once whatever its case, the oldest falling off a full list.
        app.AddToRecentFileList(L"/p/a.xdg");
        app.AddToRecentFileList(L"/p/b.xdg");
        app.AddToRecentFileList(L"");
        EXPECT_EQ(names(), (std::vector<CString>{L"/p/b.xdg", L"/p/a.xdg", L""}));
        app.AddToRecentFileList(L"/P/A.xdg");
        EXPECT_EQ(names(), (std::vector<CString>{L"/P/A.xdg", L"/p/b.xdg", L""}));
        app.AddToRecentFileList(L"/p/c.xdg");
        app.AddToRecentFileList(L"/p/d.xdg");
        EXPECT_EQ(names(), (std::vector<CString>{L"/p/d.xdg", L"/p/c.xdg", L"/P/A.xdg"}));
        list.Remove(1);
        list.Remove(7);
        EXPECT_EQ(names(), (std::vector<CString>{L"/p/d.xdg", L"/P/A.xdg", L""}));
        // A document given a path joins the list.
        CDocument doc;
        doc.SetPathName(L"/p/e.xdg");
        EXPECT_EQ(list[0], L"/p/e.xdg");
        doc.SetPathName(L"/p/f.xdg", FALSE);
        EXPECT_EQ(list[0], L"/p/e.xdg");
        EXPECT_EQ(app.ExitInstance(), 0);
        AfxWinTerm();
    }
    CWinApp app(L"Probe");
    ASSERT_TRUE(AfxWinInit(0, nullptr));
    app.SetRegistryKey(L"QyrTest");
    EXPECT_EQ(app.GetProfileString(L"Recent File List", L"File2"), L"/p/d.xdg");
    // A gap in the stored entries closes up.
    EXPECT_TRUE(app.WriteProfileString(L"Recent File List", L"File2", nullptr));
    app.LoadStdProfileSettings(4);
    EXPECT_EQ((*app.m_pRecentFileList)[0], L"/p/e.xdg");
    EXPECT_EQ((*app.m_pRecentFileList)[1], L"/P/A.xdg");
    EXPECT_TRUE((*app.m_pRecentFileList)[2].IsEmpty());
    // No list without entries.
    app.LoadStdProfileSettings(0);
    EXPECT_EQ(app.m_pRecentFileList, nullptr);
    AfxWinTerm();
}

TEST_F(CAppTest, ProfileSettingsWithoutRegistryKeyGoToTheProfileFile)
{
    CWinApp app(L"Probe");
    ASSERT_TRUE(AfxWinInit(0, nullptr));
    ASSERT_NE(app.m_pszProfileName, nullptr);
    const CString file = app.m_pszProfileName;
    EXPECT_TRUE(file.Right(4) == L".INI");
    QFile::remove(QString::fromStdWString(file.str()));
    EXPECT_TRUE(app.WriteProfileInt(L"Window", L"Width", 640));
    EXPECT_TRUE(app.WriteProfileString(L"Window", L"Title", L"Main"));
    EXPECT_EQ(app.GetProfileInt(L"Window", L"Width", 0), 640u);
    EXPECT_EQ(app.GetProfileString(L"Window", L"Title"), L"Main");
    EXPECT_TRUE(QFile::exists(QString::fromStdWString(file.str())));
    QFile::remove(QString::fromStdWString(file.str()));
    AfxWinTerm();
}

TEST_F(CAppTest, AppExitClosesTheMainWindowAndHelpGoesThroughTheHook)
{
    CWinApp app;
    ASSERT_TRUE(AfxWinInit(0, nullptr));
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, L"Main"));
    app.m_pMainWnd = frame;

    std::vector<AfxModalRequest> help;
    CHookScope hook(
        [&](const AfxModalRequest& r)
        {
            if (r.kind == AfxModalKind::Help)
                help.push_back(r);
            return IDOK;
        });
    app.OnHelpFinder();
    app.WinHelp(0x20080, HELP_CONTEXT);
    ASSERT_EQ(help.size(), 2u);
    EXPECT_EQ(help[0].strText, CString(app.m_pszHelpFilePath));
    EXPECT_EQ(help[0].nType, UINT(HH_HELP_FINDER));
    EXPECT_EQ(help[1].nType, UINT(HH_HELP_CONTEXT));
    EXPECT_EQ(help[1].dwData, 0x20080u);
    EXPECT_EQ(help[1].pParent, frame);

    // ID_APP_EXIT is the application's: it closes the main frame, which ends the loop.
    frame->SendMessage(WM_COMMAND, ID_APP_EXIT);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(app.Run(), 0);
    AfxWinTerm();
}

TEST(RecentFileList, APathKeptLowerCasedIsListedAsItIsSpelledOnDisk)
{
    const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "RecentCase/Plant1";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "Plant1.dcp") << "x";
    CString lower = CString::FromUtf8((dir / "Plant1.dcp").string());
    lower.MakeLower();
    CRecentFileList list(0, L"Recent File List", L"File%d", 4);
    list.Add(lower);
    EXPECT_EQ(list[0], CString::FromUtf8((dir / "Plant1.dcp").string()));
    // The same file in another case stays one entry.
    list.Add(CString::FromUtf8((dir / "Plant1.dcp").string()));
    EXPECT_TRUE(list[1].IsEmpty());
    std::filesystem::remove_all(dir.parent_path());
}
