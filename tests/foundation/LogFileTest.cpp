#include "foundation/LogFile.h"

#include "support/TestDir.h"

#include "win32/Files.h"
#include "win32/Sync.h"
#include "win32/System.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace fs = std::filesystem;

namespace
{

const char kTruncated[] = "#### The log has been truncated due to size limits ####\r\n";

size_t Count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + what.size()))
        ++n;
    return n;
}

std::vector<fs::path> FilesIn(const fs::path& dir)
{
    std::vector<fs::path> out;
    for (const auto& entry : fs::directory_iterator(dir))
        out.push_back(entry.path().filename());
    return out;
}

} // namespace

TEST(LogFileTest, MaskDecidesWhetherBannersAndMessagesAreWritten)
{
    struct Case
    {
        const char* what;
        UINT mask;
        bool banners;
        bool error;
        bool notice;
    };
    // "Settings/Logging" 1 gives all levels, 2 gives errors and warnings (mask 3).
    const Case cases[] = {
        {"all levels", LOGLEVEL::LALL, true, true, true},
        {"errors and warnings", LOGLEVEL::LERROR | LOGLEVEL::LWARNING, false, true, false},
        {"messages only", LOGLEVEL::LMSG, true, false, false},
    };
    CTestDir dir;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        const fs::path path = dir / (std::string(c.what) + ".log");
        {
            CLogFile log(path.wstring().c_str());
            log.SetLevelMask(c.mask);
            log.SetLogging(true);
            log.Write(LOGLEVEL::LERROR, L"disk %s is full", L"C");
            log.Write(LOGLEVEL::LNOTICE, L"noted");
        } // the destructor writes the stop banner
        const std::string text = CTestDir::ReadAll(path);
        EXPECT_EQ(text.find("Log Started: ") != std::string::npos, c.banners) << text;
        EXPECT_EQ(text.find("Path: " + path.string() + "\r\n*******\r\n") != std::string::npos, c.banners)
            << text;
        EXPECT_EQ(text.find("Log Stopped: ") != std::string::npos, c.banners) << text;
        EXPECT_EQ(text.find("ERROR: disk C is full\r\n") != std::string::npos, c.error) << text;
        EXPECT_EQ(text.find("NOTICE: noted\r\n") != std::string::npos, c.notice) << text;
    }
    // Nothing written, no file.
    const fs::path silent = dir / "silent.log";
    {
        CLogFile log(silent.wstring().c_str());
        log.SetLevelMask(LOGLEVEL::LERROR);
        log.SetLogging(true);
    }
    EXPECT_FALSE(fs::exists(silent));
}

TEST(LogFileTest, BannerLayoutPrefixesAndLineEnds)
{
    CTestDir dir;
    const fs::path path = dir / "Corvane.log";
    CLogFile log;
    EXPECT_EQ(log.Write(L"not enabled, no path"),
              UINT(LOGLEVEL::LSILENTVERIFY)); // the initial mask has every bit
    log.SetPath(path.wstring().c_str());
    log.SetLogging(true);
    log.Write(LOGLEVEL::LWARNING, L"w");
    log.Write(LOGLEVEL::LFLOW, L"f");
    log.Write(LOGLEVEL::LCOMPARE, L"c");
    log.Write(LOGLEVEL::LERROR | LOGLEVEL::LWARNING, L"both bits: no prefix");
    log.Write(L"ends in CR LF\r\n");
    log.Write(L"ends in many\n\r\n\n");
    log.Write(L"two\nlines");
    log.SetLogging(false);
    log.Write(LOGLEVEL::LERROR, L"after stop");

    const std::string text = CTestDir::ReadAll(path);
    EXPECT_EQ(text.rfind("\r\n*******\r\nLog Started:  ", 0), 0u) << text;
    EXPECT_NE(text.find("WARNING: w\r\nFLOW: f\r\nCOMPARE: c\r\nboth bits: no prefix\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("\r\nends in CR LF\r\nends in many\r\ntwo\r\nlines\r\n"), std::string::npos) << text;
    EXPECT_EQ(Count(text, "\r\r"), 0u);
    EXPECT_EQ(text.find("after stop"), std::string::npos);
    // The stop banner closes the file.
    const std::string tail = "\r\n*******\r\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    EXPECT_NE(text.find("\r\n*******\r\nLog Stopped:  "), std::string::npos);
}

TEST(LogFileTest, WriteReturnsTheSilentVerifyBitAndAppendsTheSystemErrorText)
{
    CTestDir dir;
    const fs::path path = dir / "a.log";
    CLogFile log(path.wstring().c_str());
    log.SetLogging(true);
    EXPECT_EQ(log.Write(L"x"), UINT(LOGLEVEL::LSILENTVERIFY));
    log.SetLevelMask(LOGLEVEL::LERROR | LOGLEVEL::LWARNING);
    EXPECT_EQ(log.Write(L"x"), 0u);

    wchar_t expected[512] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_FILE_NOT_FOUND,
                   0, expected, 512, nullptr);
    CString expectedText(expected);
    expectedText.TrimRight(L"\r\n");
    SetLastError(ERROR_FILE_NOT_FOUND);
    log.Write(LOGLEVEL::LERROR | LOGLEVEL::LOSERROR, L"open failed: ");
    const std::string text = CTestDir::ReadAll(path);
    EXPECT_NE(text.find("ERROR: open failed: " + expectedText.ToUtf8() + "\r\n"), std::string::npos) << text;
}

TEST(LogFileTest, DeleteFlagAndMissingFolder)
{
    CTestDir dir;
    const fs::path path = dir / "old.log";
    CTestDir::WriteAll(path, "old content\r\n");
    {
        CLogFile keep(path.wstring().c_str(), false);
        keep.SetLogging(true);
    }
    EXPECT_EQ(CTestDir::ReadAll(path).rfind("old content\r\n", 0), 0u);
    {
        CLogFile fresh(path.wstring().c_str(), true);
        EXPECT_FALSE(fs::exists(path));
    }
    // A folder that does not exist drops the message and nothing else happens.
    CLogFile lost((dir / "no/such/folder/x.log").wstring().c_str());
    lost.SetLogging(true);
    lost.Write(LOGLEVEL::LERROR, L"dropped");
    EXPECT_FALSE(fs::exists(dir / "no"));
}

TEST(LogFileTest, TruncationKeepsTheNewestThreeQuartersBesideTheLog)
{
    CTestDir dir;
    const fs::path logDir = dir / "logs";
    fs::create_directories(logDir);
    const fs::path path = logDir / "Corvane.log";
    const fs::path cwd = fs::current_path();
    const auto cwdBefore = FilesIn(cwd);

    CLogFile log(path.wstring().c_str());
    log.SetLogging(true);
    std::string shadow = CTestDir::ReadAll(path);
    const std::wstring filler(1000, L'x');
    int i = 0;
    // Fill up to just below the limit, then cross it with one more line of 1009 bytes.
    while (shadow.size() + 1009 < CLogFile::DefaultMaxSize)
    {
        log.Write(L"%06d %s", i, filler.c_str());
        char head[16];
        std::snprintf(head, sizeof(head), "%06d ", i++);
        shadow += head + std::string(1000, 'x') + "\r\n";
    }
    EXPECT_EQ(CTestDir::ReadAll(path), shadow);
    log.Write(L"%06d %s", i, filler.c_str());
    char head[16];
    std::snprintf(head, sizeof(head), "%06d ", i);
    shadow += head + std::string(1000, 'x') + "\r\n";
    ASSERT_GE(shadow.size(), CLogFile::DefaultMaxSize);

    const std::string text = CTestDir::ReadAll(path);
    EXPECT_EQ(text, kTruncated + shadow.substr(shadow.size() / 4));
    // No temporary file is left, here or in the current folder.
    EXPECT_EQ(FilesIn(logDir), std::vector<fs::path>{"Corvane.log"});
    EXPECT_EQ(FilesIn(cwd), cwdBefore);

    // Writing goes on after the cut.
    log.Write(L"after the cut");
    EXPECT_EQ(CTestDir::ReadAll(path), text + "after the cut\r\n");
}

TEST(LogFileTest, TruncationThatCannotMakeItsCopyLeavesTheLogWhole)
{
    CTestDir dir;
    // A folder of 247 characters or more gets no temporary file name.
    fs::path deep = dir.Path();
    while (deep.string().size() < 260)
        deep /= std::string(40, 'd');
    fs::create_directories(deep);
    const fs::path path = deep / "big.log";
    CTestDir::WriteAll(path, std::string(CLogFile::DefaultMaxSize, 'a'));
    CLogFile log(path.wstring().c_str());
    log.SetLevelMask(LOGLEVEL::LERROR);
    log.SetLogging(true);
    log.Write(LOGLEVEL::LERROR, L"one more");
    const std::string text = CTestDir::ReadAll(path);
    std::string want(CLogFile::DefaultMaxSize, 'a');
    want += "ERROR: one more\r\n";
    EXPECT_EQ(text, want);
    EXPECT_EQ(FilesIn(deep).size(), 1u);
}

TEST(LogFileTest, MessageIsDroppedWhileAnotherHolderKeepsTheMutex)
{
    CTestDir dir;
    const fs::path path = dir / "held.log";
    CLogFile log(path.wstring().c_str());
    EXPECT_EQ(CLogFile::DefaultWaitTimeout, 10000u);
    log.SetWaitTimeout(300);
    log.SetLogging(true);

    std::atomic<bool> held{false}, release{false};
    std::thread holder(
        [&]
        {
            HANDLE m = CreateMutexW(nullptr, FALSE, L"CORVANE_LOG_MUTEX");
            ASSERT_NE(m, nullptr);
            ASSERT_EQ(WaitForSingleObject(m, 5000), DWORD(WAIT_OBJECT_0));
            held = true;
            while (!release)
                Sleep(5);
            ReleaseMutex(m);
            CloseHandle(m);
        });
    while (!held)
        Sleep(5);
    const ULONGLONG start = GetTickCount64();
    log.Write(L"dropped message");
    EXPECT_GE(GetTickCount64() - start, 250u);
    release = true;
    holder.join();
    log.Write(L"kept message");
    const std::string text = CTestDir::ReadAll(path);
    EXPECT_EQ(text.find("dropped message"), std::string::npos);
    EXPECT_NE(text.find("kept message\r\n"), std::string::npos);
}

TEST(LogFileTest, ThreadsWriteWholeLines)
{
    CTestDir dir;
    const fs::path path = dir / "threads.log";
    CLogFile log(path.wstring().c_str());
    log.SetLevelMask(LOGLEVEL::LERROR);
    log.SetLogging(true);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back(
            [&log, t]
            {
                for (int i = 0; i < 100; ++i)
                    log.Write(LOGLEVEL::LERROR, L"thread %d line %d", t, i);
            });
    for (auto& th : threads)
        th.join();
    const std::string text = CTestDir::ReadAll(path);
    EXPECT_EQ(Count(text, "\r\n"), 400u);
    EXPECT_EQ(Count(text, "ERROR: thread "), 400u);
}
