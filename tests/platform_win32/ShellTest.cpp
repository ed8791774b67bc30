// Starting programs without a shell, and folder walks in name order.
#include "win32/Shell.h"
#include "win32/System.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace fs = std::filesystem;

namespace
{
struct TempFolder
{
    fs::path path;
    TempFolder()
    {
        std::string tmpl = (fs::temp_directory_path() / "qyrshell-XXXXXX").string();
        if (mkdtemp(tmpl.data()))
            path = tmpl;
    }
    ~TempFolder()
    {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};
} // namespace

TEST(Shell, TheOneArgumentReachesTheProgramWholeWithoutAShell)
{
    TempFolder dir;
    ASSERT_FALSE(dir.path.empty());
    // Blanks, quotes and shell characters stay part of the one argument: touch makes one file.
    const fs::path target = dir.path / "a b 'c' \"d\" $(x) ;e";
    DWORD pid = 0;
    ASSERT_TRUE(Win32StartProgram(L"/usr/bin/touch", target.wstring(), &pid));
    EXPECT_NE(pid, 0u);
    for (int i = 0; i < 100 && !fs::exists(target); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(fs::exists(target));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);

    EXPECT_FALSE(Win32StartProgram((dir.path / "missing").wstring(), L""));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
    std::ofstream(dir.path / "plain.txt") << "x";
    EXPECT_FALSE(Win32StartProgram((dir.path / "plain.txt").wstring(), L""));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));

    SHELLEXECUTEINFOW sei;
    sei.fMask = SEE_MASK_INVOKEIDLIST;
    sei.lpFile = L"/no/such/program";
    EXPECT_FALSE(ShellExecuteExW(&sei));
    EXPECT_LE(reinterpret_cast<intptr_t>(sei.hInstApp), 32);
}

TEST(Shell, FolderWalksComeSortedByName)
{
    TempFolder dir;
    for (const char* name : {"b.xdg", "a.xdg", "C.xdg", "sub"})
        if (std::string(name) == "sub")
            fs::create_directory(dir.path / name);
        else
            std::ofstream(dir.path / name) << "12345";
    std::vector<Win32FolderEntry> entries;
    ASSERT_TRUE(Win32ListFolder(dir.path.wstring(), entries));
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].name, L"C.xdg");
    EXPECT_EQ(entries[1].name, L"a.xdg");
    EXPECT_EQ(entries[2].name, L"b.xdg");
    EXPECT_EQ(entries[3].name, L"sub");
    EXPECT_TRUE(entries[3].bDirectory);
    EXPECT_EQ(entries[0].nSize, 5u);
    EXPECT_FALSE(Win32ListFolder((dir.path / "none").wstring(), entries));
    EXPECT_TRUE(entries.empty());
}

TEST(Shell, RegisteredCommandLinesSplitAtBlanksWithQuotesGrouping)
{
    struct Case
    {
        std::wstring line;
        std::vector<std::wstring> words;
    } cases[] = {
        {L"\"/opt/web browser/browse\" -nohome ", {L"/opt/web browser/browse", L"-nohome"}},
        {L"/usr/bin/browse  --new-tab\t-x", {L"/usr/bin/browse", L"--new-tab", L"-x"}},
        {L"a\"b c\"d \"\"", {L"ab cd", L""}},
        {L"   ", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.words, Win32SplitCommandLine(c.line));
}

TEST(Shell, OpenHandsAddressesToTheDesktopOpenerAsOneArgument)
{
    std::vector<std::pair<std::wstring, std::vector<std::wstring>>> starts;
    BOOL answer = TRUE;
    Win32SetStartHook(
        [&](const std::wstring& program, const std::vector<std::wstring>& args)
        {
            starts.emplace_back(program, args);
            return answer;
        });
    const std::wstring address = L"https://example.com/a b?q=\"x\";ls";
    EXPECT_EQ(33, reinterpret_cast<intptr_t>(
                      ShellExecuteW(nullptr, L"open", address.c_str(), L"ignored", nullptr, 1)));
    ASSERT_EQ(1u, starts.size());
    EXPECT_EQ(L"xdg-open", fs::path(starts[0].first).filename().wstring());
    EXPECT_EQ(std::vector<std::wstring>{address}, starts[0].second);

    // A program file is started with its parameters as one argument.
    starts.clear();
    EXPECT_EQ(33, reinterpret_cast<intptr_t>(
                      ShellExecuteW(nullptr, nullptr, L"/usr/bin/touch", L"x y", nullptr, 1)));
    ASSERT_EQ(1u, starts.size());
    EXPECT_EQ(L"/usr/bin/touch", starts[0].first);
    EXPECT_EQ(std::vector<std::wstring>{L"x y"}, starts[0].second);

    // Failures: the opener refusing, another verb, no file.
    answer = FALSE;
    EXPECT_EQ(SE_ERR_NOASSOC, reinterpret_cast<intptr_t>(
                                  ShellExecuteW(nullptr, L"open", L"mailto:a@b", nullptr, nullptr, 1)));
    EXPECT_EQ(SE_ERR_NOASSOC, reinterpret_cast<intptr_t>(
                                  ShellExecuteW(nullptr, L"print", L"/tmp/x.txt", nullptr, nullptr, 1)));
    EXPECT_EQ(SE_ERR_FNF,
              reinterpret_cast<intptr_t>(ShellExecuteW(nullptr, L"open", L"", nullptr, nullptr, 1)));
    Win32SetStartHook(nullptr);
}
