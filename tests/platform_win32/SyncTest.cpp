#include "win32/Files.h"
#include "win32/Sync.h"
#include "win32/System.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace
{

std::string UniqueName(const char* tag)
{
    return std::string("QyrTest_") + tag + "_" + std::to_string(GetCurrentProcessId()) + "_" +
           std::to_string(GetTickCount64());
}

std::wstring Wide(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

// Runs the helper program beside this test and reads its output lines as they come.
class CHelper
{
public:
    CHelper(const std::string& name, int waitMs, int holdMs)
    {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring dir(self);
        dir = dir.substr(0, dir.find_last_of(L'/'));
        const std::string cmd = std::string(dir.begin(), dir.end()) + "/qyr_mutex_helper " + name + " " +
                                std::to_string(waitMs) + " " + std::to_string(holdMs);
        m_pipe = popen(cmd.c_str(), "r");
    }
    ~CHelper() { Close(); }
    std::string Line()
    {
        char buf[128] = {};
        if (!m_pipe || !fgets(buf, sizeof(buf), m_pipe))
            return {};
        std::string s(buf);
        while (!s.empty() && s.back() == '\n')
            s.pop_back();
        return s;
    }
    int Close()
    {
        int rc = -1;
        if (m_pipe)
            rc = pclose(m_pipe);
        m_pipe = nullptr;
        return rc;
    }

private:
    FILE* m_pipe = nullptr;
};

} // namespace

TEST(SyncTest, NamedMutexExcludesAnotherProcessAndTimesOut)
{
    const std::string name = UniqueName("proc");
    HANDLE h = CreateMutexW(nullptr, TRUE, Wide(name).c_str());
    ASSERT_NE(nullptr, h);
    EXPECT_EQ(DWORD(ERROR_SUCCESS), GetLastError());

    {
        const auto start = std::chrono::steady_clock::now();
        CHelper helper(name, 300, 0);
        EXPECT_EQ("exists=1", helper.Line());
        EXPECT_EQ("timeout", helper.Line());
        EXPECT_EQ(0, helper.Close());
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
    }

    ASSERT_TRUE(ReleaseMutex(h));
    {
        // The other process takes it and holds it; we wait until it lets go.
        CHelper helper(name, 5000, 400);
        EXPECT_EQ("exists=1", helper.Line());
        EXPECT_EQ("acquired", helper.Line());
        EXPECT_EQ(DWORD(WAIT_TIMEOUT), WaitForSingleObject(h, 50));
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(DWORD(WAIT_OBJECT_0), WaitForSingleObject(h, 10000));
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
        EXPECT_EQ("released", helper.Line());
        EXPECT_EQ(0, helper.Close());
        EXPECT_TRUE(ReleaseMutex(h));
    }
    EXPECT_TRUE(CloseHandle(h));

    // Once nobody holds the name, it is gone.
    EXPECT_EQ(nullptr, OpenMutexW(MUTEX_ALL_ACCESS, FALSE, Wide(name).c_str()));
    EXPECT_EQ(DWORD(ERROR_FILE_NOT_FOUND), GetLastError());
    CHelper helper(name, 0, 0);
    EXPECT_EQ("exists=0", helper.Line());
    EXPECT_EQ("acquired", helper.Line());
}

TEST(SyncTest, MutexIsRecursivePerThreadAndExcludesOtherThreads)
{
    const std::wstring name = Wide(UniqueName("threads"));
    HANDLE h = CreateMutexW(nullptr, FALSE, name.c_str());
    ASSERT_NE(nullptr, h);
    HANDLE again = CreateMutexW(nullptr, FALSE, name.c_str());
    EXPECT_EQ(DWORD(ERROR_ALREADY_EXISTS), GetLastError());
    HANDLE opened = OpenMutexW(MUTEX_ALL_ACCESS, FALSE, name.c_str());
    ASSERT_NE(nullptr, opened);

    EXPECT_EQ(DWORD(WAIT_OBJECT_0), WaitForSingleObject(h, 0));
    EXPECT_EQ(DWORD(WAIT_OBJECT_0), WaitForSingleObject(again, 0)); // the same mutex, same owner

    std::thread other(
        [&]
        {
            EXPECT_EQ(DWORD(WAIT_TIMEOUT), WaitForSingleObject(opened, 30));
            EXPECT_FALSE(ReleaseMutex(opened));
            EXPECT_EQ(DWORD(ERROR_NOT_OWNER), GetLastError());
        });
    other.join();

    EXPECT_TRUE(ReleaseMutex(h));
    std::thread stillHeld([&] { EXPECT_EQ(DWORD(WAIT_TIMEOUT), WaitForSingleObject(opened, 10)); });
    stillHeld.join();
    EXPECT_TRUE(ReleaseMutex(h));
    EXPECT_FALSE(ReleaseMutex(h));

    // Threads counting under the mutex never overlap.
    int inside = 0, maxInside = 0, total = 0;
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t)
        workers.emplace_back(
            [&]
            {
                for (int i = 0; i < 50; ++i)
                {
                    ASSERT_EQ(DWORD(WAIT_OBJECT_0), WaitForSingleObject(opened, INFINITE));
                    maxInside = std::max(maxInside, ++inside);
                    ++total;
                    --inside;
                    ReleaseMutex(opened);
                }
            });
    for (auto& w : workers)
        w.join();
    EXPECT_EQ(1, maxInside);
    EXPECT_EQ(200, total);

    EXPECT_TRUE(CloseHandle(h));
    EXPECT_TRUE(CloseHandle(again));
    EXPECT_TRUE(CloseHandle(opened));
    EXPECT_FALSE(CloseHandle(opened));
    EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), GetLastError());
    EXPECT_EQ(DWORD(WAIT_FAILED), WaitForSingleObject(opened, 0));
    EXPECT_FALSE(CloseHandle(INVALID_HANDLE_VALUE));
}

TEST(SyncTest, InterlockedOperations)
{
    volatile LONG counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back(
            [&]
            {
                for (int i = 0; i < 10000; ++i)
                {
                    InterlockedIncrement(&counter);
                    InterlockedExchangeAdd(&counter, 2);
                    InterlockedDecrement(&counter);
                }
            });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(80000, counter);
    EXPECT_EQ(80000, InterlockedExchange(&counter, 5));
    EXPECT_EQ(5, InterlockedCompareExchange(&counter, 9, 4));
    EXPECT_EQ(5, counter);
    EXPECT_EQ(5, InterlockedCompareExchange(&counter, 9, 5));
    EXPECT_EQ(9, counter);
    EXPECT_NE(0u, GetCurrentThreadId());
    DWORD otherId = 0;
    std::thread([&] { otherId = GetCurrentThreadId(); }).join();
    EXPECT_NE(GetCurrentThreadId(), otherId);
}
