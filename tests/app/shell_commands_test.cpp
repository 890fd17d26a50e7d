#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "app/app.h"
#include "app/dialogue_files.h"
#include "app/scripted_dialogs.h"
#include "app/shell_commands.h"
#include "model/dialog_ops.h"
#include "support/fakes.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace zev {
namespace {

constexpr std::string_view kSmallDialogue
    = "NPCName \"Npc\" Location \"\" Description \"\" Unknown_Desc \"\" Known_Desc \"\" Detailed_Desc \"\"\r\n"
      "Node \"a\" notes \"\" { NPCText \"hi\" options { playertext \"go\" linkto \"b\" notes \"\" } }\r\n"
      "Node \"b\" notes \"\" { NPCText \"bye\" options { } }\r\n";

struct FakeErrorLog : ParseErrorLogView {
    std::vector<std::string> shown;
    void Show(const std::string& text) override { shown.push_back(text); }
};

struct ShellFixture : ::testing::Test {
    test::TempDir dir;
    ScriptedDialogs dialogs;
    App app { dialogs, dir.path() };
    test::LogCapture capture { app.log() };
    test::ConsoleCapture capturedConsole;
    std::vector<std::string>& console = capturedConsole.lines;
    std::vector<std::string> events;
    test::RecordingRun run { events };
    test::RecordingPlugins plugins { events };
    test::RecordingScripts scripts;
    ShellFixture()
    {
        app.console().SetFrontEndHolder(&capturedConsole);
        app.SetRunControl(&run);
        app.SetPluginBus(&plugins);
        app.SetScriptLines(&scripts);
    }
};

TEST_F(ShellFixture, SaveQueryAsksOnlyWithUnsavedChanges)
{
    EXPECT_EQ(SaveQuery(app), QueryResult::Proceed);
    EXPECT_TRUE(dialogs.History().empty());
    app.DialogueChanged();
    dialogs.PushButton(MsgResult::No);
    EXPECT_EQ(SaveQuery(app), QueryResult::Proceed);
    EXPECT_EQ(dialogs.History()[0].text, "Save changes to dialogue 'untitled'\r\nbefore proceeding?");
    EXPECT_EQ(dialogs.History()[0].buttons, MsgButtons::YesNoCancel);
    dialogs.PushButton(MsgResult::Cancel);
    EXPECT_EQ(SaveQuery(app), QueryResult::Cancel);
    // Yes with a cancelled save box must not throw the changes away.
    dialogs.PushButton(MsgResult::Yes);
    dialogs.PushCancel();
    EXPECT_EQ(SaveQuery(app), QueryResult::Cancel);
    EXPECT_EQ(dialogs.Last()->kind, ScriptedDialogs::Kind::SaveFile);
}

TEST_F(ShellFixture, SaveAsKeepsTheModifiedFlagAndSaveClearsIt)
{
    AddNode(app.dlg(), "n");
    app.DialogueChanged();
    std::string path = dir.File("out.zev");
    dialogs.PushText(path);
    EXPECT_TRUE(SaveCommand(app)); // untitled: Save as
    EXPECT_EQ(app.currentFileName(), path);
    EXPECT_EQ(app.title(), "ZEV Dialogue Tool - [" + path + "]");
    EXPECT_TRUE(app.modified());
    EXPECT_EQ(app.dlg().file_name, path);
    EXPECT_NE(test::ReadFileBytes(path).find("Node \"n\""), std::string::npos);

    // So closing asks once more; Cancel keeps the program running.
    dialogs.PushButton(MsgResult::Cancel);
    EXPECT_FALSE(CloseQuery(app));
    EXPECT_EQ(dialogs.Last()->text, "Save changes to dialogue '" + path + "'\r\nbefore closing ZEV Dialogue Tool?");
    EXPECT_EQ(app.dlg().node_count, 1);

    EXPECT_TRUE(SaveCommand(app));
    EXPECT_FALSE(app.modified());
    EXPECT_FALSE(app.saveEnabled());
    EXPECT_TRUE(CloseQuery(app));
    EXPECT_EQ(capture.Messages().back(), "Plugin lib deinit returned true.");
}

TEST_F(ShellFixture, CloseIsRefusedWhileStartingUpAndByThePlugins)
{
    app.SetStartingUp(true);
    EXPECT_FALSE(CloseQuery(app));
    EXPECT_EQ(dialogs.Last()->text, "Cannot close program while starting up!\r\n\r\n\"Patience, young padawan...\"");
    EXPECT_EQ(dialogs.Last()->icon, MsgIcon::Error);
    app.SetStartingUp(false);
    plugins.canClose = false;
    EXPECT_FALSE(CloseQuery(app));
    EXPECT_EQ(capture.Messages().back(), "DeInit returned false, not going to continue.");
}

TEST_F(ShellFixture, NewCancelledStillEmptiedTheTranscripts)
{
    AddNode(app.dlg(), "kept");
    app.DialogueChanged();
    dialogs.PushButton(MsgResult::Cancel);
    EXPECT_FALSE(NewDialogueCommand(app));
    EXPECT_EQ(events, (std::vector<std::string> { "save transcripts", "clear transcripts" }));
    EXPECT_EQ(app.dlg().node_count, 1);

    dialogs.PushButton(MsgResult::No);
    EXPECT_TRUE(NewDialogueCommand(app));
    EXPECT_EQ(app.dlg().node_count, 0);
    EXPECT_FALSE(app.modified());
    EXPECT_EQ(app.title(), "ZEV Dialogue Tool - [untitled]");
    EXPECT_EQ(events.back(), "plugins");
}

TEST_F(ShellFixture, LoadCommandReadsResolvesAndShowsTheFile)
{
    std::string path = dir.Write("small.zev", kSmallDialogue);
    dialogs.PushText(path);
    FakeErrorLog errorLog;
    EXPECT_TRUE(LoadDialogueCommand(app, errorLog));
    EXPECT_TRUE(errorLog.shown.empty());
    EXPECT_EQ(app.dlg().node_count, 2);
    EXPECT_EQ(app.dlg().nodes[0]->options[0]->link_index, 1);
    EXPECT_EQ(app.dlg().file_name, path);
    EXPECT_EQ(app.currentFileName(), path);
    EXPECT_EQ(app.title(), "ZEV Dialogue Tool - [" + path + "]");
    EXPECT_EQ(app.statusText(), "Dialogue " + path + ", 2 nodes");
    EXPECT_FALSE(app.modified());
    auto messages = capture.Messages();
    EXPECT_EQ(messages, (std::vector<std::string> { "Successful load of " + path, "Node count = 2" }));
    ASSERT_EQ(dialogs.History().size(), 1u);
    EXPECT_EQ(dialogs.History()[0].file.filters[0].description, "ZEV Dialogue File format (*.zev)");
}

TEST_F(ShellFixture, LoadCommandWithErrorsShowsTheLogAndKeepsTheTitle)
{
    std::string path = dir.Write("bad.zev", "NPCName \"x\"\r\nLocation 5\r\n");
    dialogs.PushText(path);
    FakeErrorLog errorLog;
    EXPECT_FALSE(LoadDialogueCommand(app, errorLog));
    ASSERT_EQ(errorLog.shown.size(), 1u);
    EXPECT_EQ(errorLog.shown[0],
        "There were errors while parsing the dialogue script. \r\n"
        "Error on line 2 column 11:\r\nstring constant expected\r\nLocation 5\r\n");
    EXPECT_EQ(app.title(), "ZEV Dialogue Tool - [untitled]");
    EXPECT_EQ(capture.Messages(), (std::vector<std::string> { "Linecount: 2" }));
}

TEST_F(ShellFixture, ADamagedFileWithThousandsOfErrorsGivesAReadableLog)
{
    std::string junk;
    for (int i = 0; i < 20000; ++i)
        junk += "int=1 ";
    std::string path = dir.Write("damaged.zev",
        "NPCName \"x\"\r\nLocation \"l\"\r\nDescription \"d\"\r\n"
        "Unknown_Desc \"u\"\r\nKnown_Desc \"k\"\r\nDetailed_Desc \"dd\"\r\n"
        "Node \"a\" notes \"\" { NPCText \"x\" options { "
            + junk + "} }\r\n");
    DialogueReadReport report = ReadDialogueFile(app, path);
    ASSERT_GT(report.errors.size(), 10000u);
    std::size_t entries = 0;
    for (std::size_t at = report.errorText.find("Error on line "); at != std::string::npos;
         at = report.errorText.find("Error on line ", at + 1))
        ++entries;
    EXPECT_EQ(entries, 200u);
    EXPECT_LT(report.errorText.size(), 200u * 700u);
    EXPECT_NE(report.errorText.find(" [...]\r\n"), std::string::npos);
    std::string rest = "... and " + std::to_string(report.errors.size() - 200) + " more errors.\r\n";
    EXPECT_EQ(report.errorText.substr(report.errorText.size() - rest.size()), rest);
    auto messages = capture.Messages();
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "Linecount: 7"), 200);
}

TEST_F(ShellFixture, ScriptLinesOfAFileRunOnlyWhenAllowed)
{
    std::string path = dir.Write("exec.zev", std::string(kSmallDialogue) + "exec_script_code { \"Print('x');\" };\r\n");
    std::vector<std::string>& ran = scripts.lines;
    dialogs.PushButton(MsgResult::No);
    EXPECT_TRUE(LoadDialogueScript(app, path));
    EXPECT_TRUE(ran.empty());
    EXPECT_NE(dialogs.Last()->text.find("Print('x');"), std::string::npos);
    dialogs.PushButton(MsgResult::Yes);
    EXPECT_TRUE(LoadDialogueScript(app, path));
    EXPECT_EQ(ran, std::vector<std::string> { "Print('x');" });
    EXPECT_EQ(console, (std::vector<std::string> { path + " loaded.", path + " loaded." }));
}

TEST_F(ShellFixture, ScriptLoadWarnsAboutAnEmptyDialogueAndFlushEmptiesIt)
{
    std::string path = dir.Write("empty.zev",
        "NPCName \"E\" Location \"\" Description \"\" Unknown_Desc \"\" "
        "Known_Desc \"\" Detailed_Desc \"\"");
    EXPECT_TRUE(LoadDialogueScript(app, path));
    EXPECT_EQ(dialogs.Last()->text, "Warning! No nodes found in dialogue.");
    EXPECT_EQ(app.dlg().npc_name, "E");
    // A file that cannot be read at all is reported, not passed over in silence.
    dialogs.ClearHistory();
    EXPECT_FALSE(LoadDialogueScript(app, dir.File("missing.zev")));
    ASSERT_EQ(dialogs.History().size(), 1u);
    EXPECT_EQ(dialogs.Last()->icon, MsgIcon::Error);
    EXPECT_NE(dialogs.Last()->text.find(dir.File("missing.zev")), std::string::npos) << dialogs.Last()->text;
    EXPECT_EQ(app.dlg().npc_name, "E") << "nothing was read";

    FlushDialogue(app);
    EXPECT_TRUE(app.dlg().npc_name.empty());
    EXPECT_EQ(app.currentFileName(), "untitled");
    EXPECT_EQ(console.back(), "Finished.");
}

TEST_F(ShellFixture, AFileThatCannotBeWrittenIsReportedAndChangesNothing)
{
    std::string blocker = dir.Write("file", "x");
    EXPECT_FALSE(WriteDialogue(app, blocker + "/x.zev"));
    EXPECT_EQ(dialogs.Last()->icon, MsgIcon::Error);
    EXPECT_EQ(app.currentFileName(), "untitled");
}

} // namespace
} // namespace zev

namespace zev {
namespace {

TEST_F(ShellFixture, ImportingThroughAPluginFilterStartsFromAnEmptyDialogue)
{
    std::string path = dir.Write("small.zev", kSmallDialogue);
    dialogs.PushText(path);
    FakeErrorLog errorLog;
    ASSERT_TRUE(LoadDialogueCommand(app, errorLog));
    ASSERT_EQ(app.dlg().node_count, 2);
    ASSERT_TRUE(AddFloatNode(app.dlg(), "float"));
    events.clear();

    // The second filter of the box is the first import plug-in's: filter index 2.
    dialogs.PushFile(dir.File("other.imp"), 1);
    EXPECT_FALSE(LoadDialogueCommand(app, errorLog));
    EXPECT_EQ(events.back(), "import 2 " + dir.File("other.imp"));
    EXPECT_EQ(app.dlg().node_count, 0);
    EXPECT_EQ(app.dlg().float_node_count, 0);
    EXPECT_TRUE(app.dlg().npc_name.empty());
    // Whatever the plug-in fills in is not the file that was loaded before.
    EXPECT_EQ(app.currentFileName(), "untitled");
    EXPECT_EQ(app.title(), "ZEV Dialogue Tool - [untitled]");
    auto messages = capture.Messages();
    EXPECT_NE(std::find(messages.begin(), messages.end(), "FilterIndex := 2"), messages.end());
}

TEST_F(ShellFixture, TheStatusBarFollowsTheTitle)
{
    std::string path = dir.Write("small.zev", kSmallDialogue);
    dialogs.PushText(path);
    FakeErrorLog errorLog;
    ASSERT_TRUE(LoadDialogueCommand(app, errorLog));
    app.DialogueChanged();

    // New answered with Cancel keeps the dialogue, and the status bar still names it.
    dialogs.PushButton(MsgResult::Cancel);
    EXPECT_FALSE(NewDialogueCommand(app));
    EXPECT_EQ(app.statusText(), "Dialogue " + path + ", 2 nodes");

    // Save as names the new file in both.
    std::string copy = dir.File("copy.zev");
    dialogs.PushText(copy);
    ASSERT_TRUE(SaveAsCommand(app));
    EXPECT_EQ(app.title(), "ZEV Dialogue Tool - [" + copy + "]");
    EXPECT_EQ(app.statusText(), "Dialogue " + copy + ", 2 nodes");

    dialogs.PushButton(MsgResult::No);
    EXPECT_TRUE(NewDialogueCommand(app));
    EXPECT_EQ(app.statusText(), "Dialogue untitled, 0 nodes");
}

TEST_F(ShellFixture, QuittingStopsARunningTestBeforeItsTranscriptsAreSaved)
{
    EXPECT_TRUE(CloseQuery(app));
    EXPECT_EQ(events, (std::vector<std::string> { "stop test", "save transcripts" }));
}

} // namespace
} // namespace zev
