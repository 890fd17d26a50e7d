#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "app/scripted_dialogs.h"
#include "script/script_host.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace zev {
namespace {

struct FakeControl : ConsoleSink {
    std::vector<std::string> lines;
    std::string Name() const override { return "ConsoleMemo"; }
    void AppendLine(std::string_view text) override { lines.emplace_back(text); }
    void Clear() override { lines.clear(); }
};

struct HostFixture : ::testing::Test {
    test::TempDir dir;
    ScriptedDialogs dialogs;
    App app { dialogs, dir.path() };
    test::LogCapture capture { app.log() };
    ScriptHost host { app };
    FakeControl control;
};

TEST_F(HostFixture, AConsoleLineWithErrorsShowsOneBoxWithTheSourceLine)
{
    EXPECT_FALSE(host.ExecuteScriptConsole("x := ;"));
    ASSERT_EQ(dialogs.History().size(), 1u);
    const std::string& text = dialogs.History()[0].text;
    EXPECT_EQ(text.rfind("[ExecuteScriptConsole]\r\nScript data has errors:\r\n", 0), 0u) << text;
    EXPECT_NE(text.find("[line: 1, column: "), std::string::npos);
    const std::string tail = "\r\nSource line was:\r\nx := ;";
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    EXPECT_EQ(dialogs.History()[0].icon, MsgIcon::Error);
}

TEST_F(HostFixture, WithOutputControlErrorsGoToTheConsoleInstead)
{
    host.SetOutputControl(&control);
    EXPECT_FALSE(host.ExecuteScriptConsole("x := ;"));
    EXPECT_TRUE(dialogs.History().empty());
    ASSERT_EQ(control.lines.size(), 1u);
    EXPECT_EQ(control.lines[0].rfind("Error executing command: \r\n", 0), 0u) << control.lines[0];

    std::string path = dir.Write("three.dws", "var a: Integer;\nbegin\n  a := ;\n  b := 1;\n  a := 'x' + ;\nend.\n");
    EXPECT_FALSE(host.LoadScript(path));
    EXPECT_EQ(control.lines.back(),
        "Error executing command. " + std::to_string(host.LastMessages().size()) + " messages returned.");
    EXPECT_EQ(host.LastMessages().size(), 3u);
    host.UnsetOutputControl();
    EXPECT_EQ(capture.Messages().back(), "Releasing output control.");
}

TEST_F(HostFixture, FileScriptsRunOrReportMissingFilesAndErrors)
{
    EXPECT_FALSE(host.LoadScript(dir.File("nope.dws")));
    EXPECT_EQ(dialogs.Last()->text, "Error executing script " + dir.File("nope.dws") + ":\r\n\r\nFile does not exist!");
    EXPECT_NE(capture.Messages().back().find(" not found! at dir: "), std::string::npos);

    std::string ok = dir.Write("ok.dws", "ShowMessage('hello');");
    EXPECT_TRUE(host.LoadScript(ok));
    EXPECT_EQ(dialogs.Last()->text, "hello");
    EXPECT_EQ(capture.Messages().back(), "ExecuteScript: " + ok);

    std::string bad = dir.Write("bad.dws", "begin\n  x := 1;\nend.");
    EXPECT_FALSE(host.LoadScript(bad));
    EXPECT_EQ(dialogs.Last()->text.rfind("[ExecuteScript]\r\nScript data has errors:\r\n", 0), 0u);
    EXPECT_NE(dialogs.Last()->text.find("file: " + bad), std::string::npos);
}

TEST_F(HostFixture, ConsoleTextSplitsAtBackslashNAndDropsWithoutControl)
{
    host.WriteConsoleLine("dropped");
    host.SetOutputControl(&control);
    host.WriteConsoleLine("one\\ntwo");
    ASSERT_EQ(control.lines.size(), 1u);
    EXPECT_EQ(control.lines[0], "one\r\ntwo");
    EXPECT_EQ(capture.Messages().front(), "Getting output control, name == ConsoleMemo");
    host.Cls();
    EXPECT_TRUE(control.lines.empty());
}

TEST_F(HostFixture, HelperScriptsShareASubmenuPerCategoryIgnoringCaseAndAccelerators)
{
    std::string real = dir.Write("real.dws", "");
    host.SetOutputControl(&control);
    EXPECT_TRUE(host.AddHelperScript(real, "First", "Tools"));
    EXPECT_TRUE(host.AddHelperScript(dir.File("ghost.dws"), "Second", "&tools"));
    EXPECT_TRUE(host.AddHelperScript(real, "Third", "Export"));
    const auto& menu = host.helpers().menu();
    ASSERT_EQ(menu.size(), 2u);
    EXPECT_EQ(menu[0].caption, "Tools");
    ASSERT_EQ(menu[0].entries.size(), 2u);
    EXPECT_EQ(menu[0].entries[1].caption, "Second");
    EXPECT_EQ(menu[0].entries[1].tag, 1);
    EXPECT_TRUE(host.helpers().menuVisible());
    EXPECT_EQ(control.lines,
        std::vector<std::string> {
            "Warning: Supplied helper script \"" + dir.File("ghost.dws") + "\" does not exist." });
    for (int i = 3; i < kMaxHelperScripts; ++i)
        ASSERT_TRUE(host.AddHelperScript(real, "x", "Tools"));
    EXPECT_FALSE(host.AddHelperScript(real, "one too many", "Tools"));
    EXPECT_EQ(host.helpers().table().size(), static_cast<std::size_t>(kMaxHelperScripts));

    host.ScriptClick(1); // the missing file: the missing-file box
    EXPECT_NE(dialogs.Last()->text.find("File does not exist!"), std::string::npos);
}

TEST_F(HostFixture, RunsNestThroughHostFunctionsEachWithItsOwnMessages)
{
    script::HostUnit unit("Nest");
    unit.AddFunction("RunLine", { { "line", script::HostType::String, std::nullopt } }, script::HostType::Boolean,
        [this](
            script::HostCall& call) { call.SetBoolean("result", host.ExecuteScriptConsole(call.GetString("LINE"))); });
    host.engine().RegisterUnit(std::move(unit));
    host.SetOutputControl(&control);
    EXPECT_TRUE(host.ExecuteScriptConsole("if not RunLine('y := ;') then ShowMessage('inner failed');"));
    EXPECT_EQ(dialogs.Last()->text, "inner failed");
    ASSERT_EQ(control.lines.size(), 1u);
    EXPECT_EQ(control.lines[0].rfind("Error executing command: ", 0), 0u);
}

TEST(HelpRows, RowsOfThreeWithTheirWidths)
{
    auto rows = FormatHelpRows({ "AddNode", "Print", "Cls", "Help" });
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(
        rows[0], "AddNode" + std::string(22, ' ') + "Print" + std::string(24, ' ') + "Cls" + std::string(18, ' '));
    EXPECT_EQ(rows[1], "Help" + std::string(25, ' ') + std::string(29, ' ') + std::string(21, ' '));
    std::string longName(30, 'L');
    EXPECT_EQ(FormatHelpRows({ longName, "B", "C" })[0].substr(0, 31), longName + "B");
}

} // namespace
} // namespace zev
