#include "logvane/Logvane.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

class LogvaneTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("logvane-" + std::to_string(getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        Logvane_ClearCaptured();
    }
    void TearDown() override
    {
        XVKLOG_TERM();
        fs::remove_all(m_dir);
    }
    fs::path WriteConfig(const std::string& text)
    {
        const fs::path p = m_dir / "Logvane.xml";
        std::ofstream(p) << text;
        return p;
    }
    static std::string ReadAll(const fs::path& p)
    {
        std::ifstream in(p);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    fs::path m_dir;
};

} // namespace

TEST_F(LogvaneTest, CapturesFormattedWideTextWithoutConfiguration)
{
    XVKLOG_INFO(L"* Enter %s::OnClose() - waiting ...", L"CXVKFrameWnd");
    XVKLOG_ERROR(L"IOPCItemMgt::AddItems() failed!\r\n");
    XVKLOG_INFO(L"plain");
    const auto lines = Logvane_GetCapturedLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], L"* Enter CXVKFrameWnd::OnClose() - waiting ...");
    EXPECT_EQ(lines[1], L"IOPCItemMgt::AddItems() failed!");
    EXPECT_EQ(lines[2], L"plain");
    Logvane_ClearCaptured();
    EXPECT_TRUE(Logvane_GetCapturedLines().empty());
}

TEST_F(LogvaneTest, LevelsChooseWhatReachesTheFile)
{
    struct Case
    {
        const char* level;
        bool info;
        bool error;
    };
    const Case cases[] = {{"info", true, true}, {"error", false, true}, {"off", false, false}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.level);
        fs::remove(m_dir / "out.log");
        const fs::path config = WriteConfig(std::string("<logvane><output file=\"out.log\" level=\"") +
                                            c.level + "\"/></logvane>");
        EXPECT_TRUE(XVKLOG_INIT(config.wstring().c_str()));
        XVKLOG_INFO(L"info %d", 1);
        XVKLOG_ERROR(L"error %s", L"Wärme");
        XVKLOG_TERM();
        const std::string text = ReadAll(m_dir / "out.log");
        EXPECT_EQ(text.find("INFO  info 1\n") != std::string::npos, c.info) << text;
        EXPECT_EQ(text.find("ERROR error Wärme\n") != std::string::npos, c.error) << text;
    }
    // Captured whatever the level.
    EXPECT_EQ(Logvane_GetCapturedLines().size(), 6u);
}

TEST_F(LogvaneTest, BadOrMissingConfigurationWritesNowhere)
{
    const std::string bad[] = {"<logvane><output file=\"out.log\"", "<other/>",
                               "<logvane><output file=\"out.log\" level=\"loud\"/></logvane>"};
    for (const std::string& text : bad)
    {
        SCOPED_TRACE(text);
        const fs::path config = WriteConfig(text);
        EXPECT_FALSE(XVKLOG_INIT(config.wstring().c_str()));
        EXPECT_EQ(Logvane_GetLevel(), LOGVANE_LEVEL_OFF);
        XVKLOG_ERROR(L"x");
        EXPECT_FALSE(fs::exists(m_dir / "out.log"));
    }
    EXPECT_FALSE(XVKLOG_INIT((m_dir / "missing.xml").wstring().c_str()));
    EXPECT_FALSE(XVKLOG_INIT(nullptr));
    XVKLOG_INFO(L"still captured");
    EXPECT_EQ(Logvane_GetCapturedLines().back(), L"still captured");
}

TEST_F(LogvaneTest, UnwritableFileFailsInitButKeepsCapturing)
{
    const fs::path config =
        WriteConfig("<logvane><output file=\"no/such/dir/out.log\" level=\"info\"/></logvane>");
    EXPECT_FALSE(XVKLOG_INIT(config.wstring().c_str()));
    XVKLOG_INFO(L"kept");
    EXPECT_EQ(Logvane_GetCapturedLines().back(), L"kept");
}

TEST_F(LogvaneTest, RingKeepsTheNewestLines)
{
    for (int i = 0; i < LOGVANE_CAPTURE_LINES + 10; ++i)
        XVKLOG_INFO(L"line %d", i);
    const auto lines = Logvane_GetCapturedLines();
    ASSERT_EQ(lines.size(), size_t(LOGVANE_CAPTURE_LINES));
    EXPECT_EQ(lines.front(), L"line 10");
    EXPECT_EQ(lines.back(), L"line " + std::to_wstring(LOGVANE_CAPTURE_LINES + 9));
}

TEST_F(LogvaneTest, ThreadsWriteWholeLines)
{
    const fs::path config = WriteConfig("<logvane><output file=\"out.log\" level=\"info\"/></logvane>");
    ASSERT_TRUE(XVKLOG_INIT(config.wstring().c_str()));
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back(
            [t]
            {
                for (int i = 0; i < 200; ++i)
                    XVKLOG_INFO(L"thread %d message %d", t, i);
            });
    for (auto& th : threads)
        th.join();
    XVKLOG_TERM();
    std::ifstream in(m_dir / "out.log");
    std::string line;
    int count = 0;
    while (std::getline(in, line))
    {
        EXPECT_NE(line.find(" INFO  thread "), std::string::npos) << line;
        ++count;
    }
    EXPECT_EQ(count, 800);
    EXPECT_EQ(Logvane_GetCapturedLines().size(), 800u);
}
