#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/debug_window_model.h"
#include "base/log.h"
#include "support/temp_dir.h"

namespace zev {
namespace {

struct LogFixture : ::testing::Test {
    test::TempDir dir;
    std::string path = dir.File("debug.log");
    Logger log { path };
    LogFixture()
    {
        log.SetClock([] { return std::string("08.12.2026 17:00:00"); });
    }
};

TEST_F(LogFixture, ResetEmptiesTheFileAndEachLineIsOnDiskAtOnce)
{
    dir.Write("debug.log", "lines of the previous run\r\n");
    ASSERT_TRUE(log.ResetLog());
    EXPECT_EQ(test::ReadFileBytes(path), "");
    log.Log("Starting up ZEV Dialogue tool...");
    EXPECT_EQ(test::ReadFileBytes(path), "08.12.2026 17:00:00: Starting up ZEV Dialogue tool...\r\n");
    log.Log("second", kPluginCategory); // the category is not written
    EXPECT_EQ(test::ReadFileBytes(path),
        "08.12.2026 17:00:00: Starting up ZEV Dialogue tool...\r\n08.12.2026 17:00:00: second\r\n");
}

TEST_F(LogFixture, ResetCreatesAMissingFile)
{
    ASSERT_TRUE(log.ResetLog());
    EXPECT_TRUE(test::ReadFileBytes(path).empty());
    log.Log("x");
    EXPECT_FALSE(test::ReadFileBytes(path).empty());
}

TEST_F(LogFixture, WithoutDebugWindowTheFileIsStillWritten)
{
    log.ResetLog();
    log.Log("no window");
    EXPECT_NE(test::ReadFileBytes(path).find("no window"), std::string::npos);
}

TEST_F(LogFixture, OnlyMainAppLinesReachTheIntercept)
{
    std::vector<std::string> intercepted;
    log.SetIntercept([&](std::string_view m) { intercepted.emplace_back(m); });
    log.Log("from the program");
    log.Log("from a plug-in", kPluginCategory);
    log.Log("other", "Mainapp"); // exact category only
    EXPECT_EQ(intercepted, std::vector<std::string> { "from the program" });
}

TEST_F(LogFixture, TheDebugWindowShowsMessagesWithoutDateAndFollowsTheLast)
{
    DebugWindowModel window;
    log.SetDebugWindow(&window);
    log.Log("hidden window does not grow");
    EXPECT_TRUE(window.Lines().empty());
    window.SetVisible(true);
    log.Log("one");
    log.Log("two", kPluginCategory);
    EXPECT_EQ(window.Lines(), (std::vector<std::string> { "one", "two" }));
    EXPECT_EQ(window.ScrollTarget(), 1);
    EXPECT_NE(test::ReadFileBytes(path).find("hidden window does not grow"), std::string::npos);
}

TEST_F(LogFixture, AFileThatCannotBeWrittenIsReportedOnceAndLoggingGoesOn)
{
    std::string blocker = dir.Write("not-a-folder", "x");
    Logger bad(blocker + "/debug.log");
    std::vector<std::string> reports;
    bad.SetErrorHandler([&](const std::string& what) { reports.push_back(what); });
    DebugWindowModel window;
    window.SetVisible(true);
    bad.SetDebugWindow(&window);
    EXPECT_FALSE(bad.ResetLog());
    bad.Log("still shown");
    bad.Log("and again");
    EXPECT_TRUE(bad.WriteFailed());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("debug.log"), std::string::npos);
    EXPECT_EQ(window.Lines().size(), 2u);
}

TEST(LogClock, DefaultTextHasDateAndTime)
{
    std::string t = Logger::LocalDateTimeText();
    EXPECT_GE(t.size(), 10u);
    EXPECT_NE(t.find(':'), std::string::npos);
}

} // namespace
} // namespace zev
