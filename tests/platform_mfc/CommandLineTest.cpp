#include "mfc/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
// Keeps every ParseParam call, then lets the base class do its work.
class CRecordingInfo : public CCommandLineInfo
{
public:
    void ParseParam(LPCWSTR pszParam, BOOL bFlag, BOOL bLast) override
    {
        calls += std::wstring(bFlag ? L"flag:" : L"arg:") + pszParam + (bLast ? L"!" : L"") + L" ";
        CCommandLineInfo::ParseParam(pszParam, bFlag, bLast);
    }
    std::wstring calls;
};

struct Case
{
    std::vector<CString> args;
    std::wstring calls;
    CCommandLineInfo::ShellCommand command;
    LPCWSTR file;
    BOOL splash;
    BOOL embedded;
    BOOL automated;
};
} // namespace

TEST(CommandLineTest, SwitchesFilesAndShellCommands)
{
    using C = CCommandLineInfo;
    const Case cases[] = {
        {{}, L"", C::FileNew, L"", TRUE, FALSE, FALSE},
        {{L"/silent"}, L"flag:silent! ", C::FileNew, L"", TRUE, FALSE, FALSE},
        {{L"-silent"}, L"flag:silent! ", C::FileNew, L"", TRUE, FALSE, FALSE},
        {{L"silent"}, L"arg:silent! ", C::FileOpen, L"silent", TRUE, FALSE, FALSE},
        {{L"/p", L"main.dcp"}, L"flag:p arg:main.dcp! ", C::FilePrint, L"main.dcp", TRUE, FALSE, FALSE},
        {{L"/Embedding"}, L"flag:Embedding! ", C::FileNew, L"", FALSE, TRUE, FALSE},
        {{L"-AUTOMATION"}, L"flag:AUTOMATION! ", C::FileNew, L"", FALSE, FALSE, TRUE},
        {{L"/nologo", L"a.dcp"}, L"flag:nologo arg:a.dcp! ", C::FileOpen, L"a.dcp", FALSE, FALSE, FALSE},
        {{L"/dde"}, L"flag:dde! ", C::FileDDE, L"", TRUE, FALSE, FALSE},
        {{L"/Register"}, L"flag:Register! ", C::AppRegister, L"", TRUE, FALSE, FALSE},
        {{L"-regserver"}, L"flag:regserver! ", C::AppRegister, L"", TRUE, FALSE, FALSE},
        {{L"/Unregister"}, L"flag:Unregister! ", C::AppUnregister, L"", TRUE, FALSE, FALSE},
        {{L"/UNREGSERVER"}, L"flag:UNREGSERVER! ", C::AppUnregister, L"", TRUE, FALSE, FALSE},
        // Full paths begin with '/' here and stay file names.
        {{L"/home/ann/Plant1/Main.dcp"},
         L"arg:/home/ann/Plant1/Main.dcp! ",
         C::FileOpen,
         L"/home/ann/Plant1/Main.dcp",
         TRUE,
         FALSE,
         FALSE},
        {{L"\"/home/ann/My Plant/Main.dcp\"", L"/silent"},
         L"arg:/home/ann/My Plant/Main.dcp flag:silent! ",
         C::FileOpen,
         L"/home/ann/My Plant/Main.dcp",
         TRUE,
         FALSE,
         FALSE},
        {{L"\"-silent\""}, L"flag:silent! ", C::FileNew, L"", TRUE, FALSE, FALSE},
        {{L"\\plant\\main.dcp"},
         L"arg:\\plant\\main.dcp! ",
         C::FileOpen,
         L"\\plant\\main.dcp",
         TRUE,
         FALSE,
         FALSE},
        {{L"a.dcp", L"b.dcp"}, L"arg:a.dcp arg:b.dcp! ", C::FileOpen, L"a.dcp", TRUE, FALSE, FALSE},
        {{L"/unknown", L"x.dcp"}, L"flag:unknown arg:x.dcp! ", C::FileOpen, L"x.dcp", TRUE, FALSE, FALSE},
    };
    for (const Case& c : cases)
    {
        CRecordingInfo info;
        AfxParseCommandLine(info, c.args);
        const std::wstring where = c.args.empty() ? L"(none)" : c.args[0].str();
        EXPECT_EQ(info.calls, c.calls) << CString(where).ToUtf8();
        EXPECT_EQ(info.m_nShellCommand, c.command) << CString(where).ToUtf8();
        EXPECT_EQ(info.m_strFileName, c.file) << CString(where).ToUtf8();
        EXPECT_EQ(info.m_bShowSplash, c.splash) << CString(where).ToUtf8();
        EXPECT_EQ(info.m_bRunEmbedded, c.embedded) << CString(where).ToUtf8();
        EXPECT_EQ(info.m_bRunAutomated, c.automated) << CString(where).ToUtf8();
    }
}

TEST(CommandLineTest, PrintToTakesPrinterDriverAndPort)
{
    CCommandLineInfo info;
    AfxParseCommandLine(info, {L"/pt", L"main.dcp", L"Office", L"driver", L"port", L"extra"});
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FilePrintTo);
    EXPECT_EQ(info.m_strFileName, L"main.dcp");
    EXPECT_EQ(info.m_strPrinterName, L"Office");
    EXPECT_EQ(info.m_strDriverName, L"driver");
    EXPECT_EQ(info.m_strPortName, L"port");

    // Without /pt, later arguments are not printer names.
    CCommandLineInfo plain;
    AfxParseCommandLine(plain, {L"main.dcp", L"Office"});
    EXPECT_TRUE(plain.m_strPrinterName.IsEmpty());
}

TEST(CommandLineTest, MainArgumentsSkipTheProgramAndReadUtf8)
{
    char prog[] = "QYRView";
    char flag[] = "/p";
    char file[] = "W\xc3\xa4rme.dcp";
    char* argv[] = {prog, flag, file, nullptr};
    CRecordingInfo info;
    AfxParseCommandLine(info, 3, argv);
    EXPECT_EQ(info.calls, L"flag:p arg:Wärme.dcp! ");
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FilePrint);

    wchar_t wprog[] = L"QYRView";
    wchar_t wfile[] = L"a.dcp";
    wchar_t* wargv[] = {wprog, wfile, nullptr};
    CCommandLineInfo wide;
    AfxParseCommandLine(wide, 2, wargv);
    EXPECT_EQ(wide.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(wide.m_strFileName, L"a.dcp");

    CCommandLineInfo none;
    AfxParseCommandLine(none, 1, argv);
    EXPECT_EQ(none.m_nShellCommand, CCommandLineInfo::FileNew);
}
