#include <gtest/gtest.h>

#include <string>

#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace zev {
namespace {

using test::Result;
using test::RunTool;

TEST(CliScript, RunScriptPrintsOutputAndAnswersBoxesInOrder)
{
    test::TempDir dir;
    std::string script = dir.Write("t.dws",
        "var i: Integer;\nfor i := 1 to 2 do WriteLn('line ', i);\n"
        "if QuestionDlg('Go on?') then PrintLn('yes') else PrintLn('no');\n"
        "WriteLn(InputBox('c', 'Name?', 'def'));\n");
    Result r = RunTool({ "run-script", "--answer", "yes", "--answer", "typed", script });
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "line 1\nline 2\nyes\ntyped\n");
    EXPECT_EQ(r.err, "[confirmation] Go on? -> yes\n[input] Name? -> typed\n");

    Result defaults = RunTool({ "run-script", script });
    EXPECT_EQ(defaults.out, "line 1\nline 2\nno\ndef\n");
}

TEST(CliScript, TheListPickerOfSelectFloatNodeIsAnsweredByNameOrNumber)
{
    test::TempDir dir;
    std::string script = dir.Write("pick.dws",
        "AddFloatNode('Hawking', ''); AddFloatNode('Angry', ''); AddTimedEvent('wares', 30, 90);\n"
        "WriteLn('[' + SelectFloatNode + ']');\nWriteLn('[' + SelectFloatNode + ']');\n"
        "WriteLn('[' + SelectFloatNode + ']');\nWriteLn('[' + SelectFloatNode + ']');\n"
        "WriteLn('[' + SelectTimedEvent + ']');\n");
    Result r = RunTool({ "run-script", "--answer", "Angry", "--answer", "1", "--answer", "Nobody", "--answer", "cancel",
        "--answer", "wares", script });
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("[Angry]\n[Hawking]\n[]\n[]\n[flush_add_timer_event_sec(self_obj, random(30, 90),wares);]\n"),
        std::string::npos)
        << r.out;
    EXPECT_NE(r.err.find("[list] Choose a float node to call: -> Angry\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("[list] Choose a float node to call: -> cancel\n"), std::string::npos) << r.err;
}

TEST(CliScript, ErrorsGoToStderrWithPositionsAndExitOne)
{
    test::TempDir dir;
    std::string script = dir.Write("bad.dws", "begin\n  x := 1;\n  y := ;\nend.\n");
    Result r = RunTool({ "run-script", script });
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("[line: 2, column: 3, file: " + script + "]"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("Error executing command. 2 messages returned."), std::string::npos) << r.out;
    EXPECT_EQ(RunTool({ "run-script", dir.File("missing.dws") }).code, 2);

    Result line = RunTool({ "exec", "WriteLn(1 div 0);" });
    EXPECT_EQ(line.code, 1);
    EXPECT_NE(line.err.find("Runtime Error: "), std::string::npos) << line.err;
    EXPECT_EQ(RunTool({ "exec", "PrintLn('ok');" }).out, "ok\n");
}

TEST(CliScript, TheDialogueIsLoadedAndSavedAroundTheRun)
{
    test::TempDir dir;
    std::string out = dir.File("saved.zev");
    std::string sample = std::string(ZEV_SOURCE_DIR) + "/data/dialogue/sample.zev";
    Result r = RunTool({ "exec", "--dialogue", sample, "--save", out, "PrintLn('x');" });
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(test::ReadFileBytes(out), test::ReadFileBytes(sample));
}

} // namespace
} // namespace zev

namespace zev {
namespace {

using test::Result;
using test::RunTool;

// The command-line tool starts the program's workbench: the same plug-ins, helper scripts and
// definitions as the desktop program.
TEST(CliWorkbench, ExecSeesWhatTheProgramStartedWith)
{
    Result plugins = RunTool({ "exec", "ListPlugins;" }, ZEV_DIST_DIR);
    EXPECT_EQ(plugins.code, 0) << plugins.err;
    EXPECT_EQ(plugins.out.rfind("Valid plugins:\n1: ", 0), 0u) << plugins.out;
    EXPECT_NE(plugins.out.find("Utility_relabelplug.so (Rename dialogue nodes to NodeXXX)"), std::string::npos);
    EXPECT_EQ(plugins.err, "");

    // The same listing as the plugins command.
    Result listed = RunTool({ "plugins" }, ZEV_DIST_DIR);
    EXPECT_EQ(listed.out, plugins.out);
}

TEST(CliWorkbench, LoadDialogueOfAMissingFileFailsOnStderr)
{
    test::TempDir dir;
    Result r = RunTool({ "exec", "LoadDialogue('" + dir.File("missing.zev") + "');" });
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "zevdlg-cli: exec: Cannot read the dialogue file " + dir.File("missing.zev") + "\n");
}

TEST(CliWorkbench, SaveDialogueKeepsTheLoadedFileTheCurrentOne)
{
    test::TempDir dir;
    std::string sample = std::string(ZEV_SOURCE_DIR) + "/data/dialogue/sample.zev";
    Result r = RunTool({ "exec", "--dialogue", sample,
        "SaveDialogue('" + dir.File("copy.zev") + "'); Print(GetNodeName(0)); ShowDialogGlobals;" });
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("Dialogue globals for \"" + sample + "\""), std::string::npos) << r.out;
    EXPECT_EQ(test::ReadFileBytes(dir.File("copy.zev")), test::ReadFileBytes(sample));
}

TEST(CliWorkbench, TimeoutStopsAScriptThatNeverEnds)
{
    Result r = RunTool({ "exec", "--timeout", "1", "while true do ;" });
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Script time-out"), std::string::npos) << r.err;
    EXPECT_EQ(RunTool({ "exec", "--timeout", "0", "x" }).code, 2);
    EXPECT_EQ(RunTool({ "run-script", "--timeout", "soon", "x.dws" }).code, 2);
}

} // namespace
} // namespace zev
