#include "app/shell_commands.h"
#include "runner_fixture.h"

namespace zev {
namespace {

using test::MakeNode;
using test::MakeOption;

struct Session : test::RunnerFixture {
    // A -> B -> C -> A, each node with one option onwards and one to "done".
    void Chain()
    {
        dlgnode* a = MakeNode(d(), "A", "I am A");
        a->notes = "notes of A";
        MakeOption(*a, "to B", "B");
        MakeOption(*a, "leave", "done");
        dlgnode* b = MakeNode(d(), "B", "I am B");
        MakeOption(*b, "to C", "C");
        MakeOption(*b, "back to A", "A");
        dlgnode* c = MakeNode(d(), "C", "I am C");
        MakeOption(*c, "to A", "A");
    }
};

TEST_F(Session, StartRefusesWhatCannotRunAndChangesNothing)
{
    runner.StartTestRun();
    EXPECT_EQ(dialogs.Last()->text, "No nodes defined in dialogue!");
    EXPECT_EQ(dialogs.Last()->icon, MsgIcon::Error);

    Chain();
    runner.SetStartNodeText("");
    runner.StartTestRun();
    EXPECT_EQ(dialogs.Last()->text,
        "Not going to run dialogue from a node with\r\nno name.\r\n\r\n(This is for preventing crashes)");

    Start("a"); // names compare exactly
    EXPECT_EQ(dialogs.Last()->text, "Error occured: Node 'a' not found.");
    EXPECT_EQ(dialogs.Last()->icon, MsgIcon::Warning);
    EXPECT_FALSE(runner.running());
    EXPECT_TRUE(runner.panel().runButton.enabled);
    EXPECT_FALSE(runner.panel().stopButton.enabled);
    EXPECT_FALSE(runner.panel().editButton.visible);
    EXPECT_TRUE(Logged("Starting dialogue test from node a"));
}

TEST_F(Session, StartShowsTheNodeAndItsControls)
{
    Chain();
    app.RefreshEditorLists(); // the start-node box follows the editor lists
    EXPECT_EQ(runner.panel().startNodeItems, (std::vector<std::string> { "A", "B", "C" }));
    EXPECT_EQ(runner.panel().startNodeText, "A");
    Start("A");
    const RunPanel& p = runner.panel();
    EXPECT_TRUE(runner.running());
    EXPECT_EQ(runner.currentNodeIndex(), 0);
    EXPECT_FALSE(p.runButton.enabled);
    EXPECT_TRUE(p.stopButton.enabled);
    EXPECT_FALSE(p.backButton.enabled);
    EXPECT_FALSE(p.forwardButton.enabled);
    EXPECT_TRUE(p.editButton.visible);
    EXPECT_TRUE(p.currentNodeCaptionVisible);
    EXPECT_TRUE(p.nodeLabelVisible);
    EXPECT_EQ(p.nodeLabel, "A");
    EXPECT_EQ(p.npcLine, "I am A");
    EXPECT_EQ(p.nodeNotes, "notes of A");
    ASSERT_EQ(p.options.size(), 2u);
    EXPECT_EQ(p.options[1].index, 1);
    EXPECT_EQ(p.options[1].text, "leave");
    EXPECT_EQ(p.options[1].target, "done");
    EXPECT_EQ(p.hiddenOptions, "");
    EXPECT_TRUE(Logged("AddNodeToHistory('A') Playeroption: -1"));
}

TEST_F(Session, HistoryBackForwardAndCompletingTheLastEntry)
{
    Chain();
    Start("A");
    Choose(0); // B
    EXPECT_TRUE(Logged("SetNodeHistory('0','A') Playeroption: 0"));
    EXPECT_TRUE(Logged("AddNodeToHistory('B') Playeroption: 0 TEXT=to B"));
    Choose(0); // C
    EXPECT_EQ(HistoryNodes(), (std::vector<int32_t> { 0, 1, 2 }));
    EXPECT_TRUE(runner.panel().backButton.enabled);
    EXPECT_FALSE(runner.panel().forwardButton.enabled);

    runner.GoBack();
    EXPECT_EQ(runner.panel().npcLine, "I am B");
    EXPECT_TRUE(runner.panel().forwardButton.enabled);
    runner.GoBack();
    EXPECT_EQ(runner.panel().nodeLabel, "A");
    EXPECT_FALSE(runner.panel().backButton.enabled);
    runner.GoBack(); // nothing further back
    EXPECT_EQ(runner.historyPosition(), 0);
    runner.GoForward();
    EXPECT_EQ(runner.panel().npcLine, "I am B");
    EXPECT_TRUE(runner.panel().backButton.enabled);

    // Choosing in B completes C's entry (the last) and appends; nothing is cut.
    Choose(1); // "back to A"
    ASSERT_EQ(runner.history().size(), 4u);
    EXPECT_EQ(HistoryNodes(), (std::vector<int32_t> { 0, 1, 2, 0 }));
    const HistoryEntry& c = runner.history()[2];
    EXPECT_EQ(c.option_index, 1);
    EXPECT_EQ(c.from_node_index, 1);
    EXPECT_EQ(runner.historyPosition(), 3);
    EXPECT_FALSE(runner.panel().forwardButton.enabled);
    EXPECT_TRUE(runner.panel().backButton.enabled);

    runner.StopTestRun();
    EXPECT_EQ(LastTranscript(),
        (std::vector<std::string> { "NPC: (A) I am A", "Player: to B", "NPC: (B) I am B", "Player: to C",
            "NPC: (C) I am C", "Player: back to A", "NPC: (A) I am A" }));
    EXPECT_TRUE(runner.history().empty());
}

TEST_F(Session, AllHiddenOptionsKeepTheRunAtTheNode)
{
    dlgnode* a = MakeNode(d(), "A", "x");
    for (int i = 0; i < 3; ++i)
        MakeOption(*a, "smart", "done")->intelligence = 10;
    Start("A");
    EXPECT_TRUE(runner.running());
    EXPECT_TRUE(runner.panel().options.empty());
    EXPECT_EQ(runner.panel().hiddenOptions, "There are 3 hidden player options.");
    EXPECT_TRUE(dialogs.History().empty());
    runner.ChooseOption(0); // no row to click
    EXPECT_TRUE(runner.running());
}

TEST_F(Session, ANodeWithoutOptionsEndsTheRunWithItsTranscript)
{
    dlgnode* a = MakeNode(d(), "A", "hello");
    MakeOption(*a, "go", "B");
    MakeNode(d(), "B", "the end")->notes = "B's notes";
    Start("A");
    Choose(0);
    EXPECT_EQ(dialogs.Last()->text, "Dialogue is assumed to end here since there are no player options available.");
    EXPECT_EQ(dialogs.Last()->icon, MsgIcon::Information);
    EXPECT_FALSE(runner.running());
    EXPECT_EQ(runner.panel().nodeLabel, "");
    EXPECT_EQ(runner.panel().nodeNotes, ""); // the ended run shows nothing of B
    EXPECT_TRUE(runner.panel().runButton.enabled);
    EXPECT_EQ(LastTranscript(), (std::vector<std::string> { "NPC: (A) hello", "Player: go", "NPC: (B) the end" }));
    // ShowLastDialogue defaults to on: the newest transcript is shown.
    EXPECT_TRUE(runner.transcriptWindow().visible());
    EXPECT_EQ(runner.transcriptWindow().shownIndex(), 0);
}

TEST_F(Session, DoneAndCombatWithRuntimeEditingOff)
{
    dlgnode* a = MakeNode(d(), "A", "a");
    MakeOption(*a, "bye", "done");
    MakeOption(*a, "fight", "combat");
    Start("A");
    Choose(0);
    EXPECT_EQ(dialogs.Last()->text, "Dialogue ends here.\r\n\r\n(Runtime dialogue editing = OFF)");
    EXPECT_FALSE(runner.running());
    EXPECT_TRUE(query.shown.empty());
    // The answer that ended the dialogue is the transcript's last line.
    EXPECT_EQ(LastTranscript(), (std::vector<std::string> { "NPC: (A) a", "Player: bye" }));

    Start("A");
    Choose(1);
    EXPECT_FALSE(runner.running());
    EXPECT_EQ(runner.transcripts().count(), 2);
    EXPECT_EQ(LastTranscript(), (std::vector<std::string> { "NPC: (A) a", "Player: fight" }));

    // A run stopped by the user has no answer at its last node.
    Start("A");
    runner.StopTestRun();
    EXPECT_EQ(LastTranscript(), (std::vector<std::string> { "NPC: (A) a" }));
}

TEST_F(Session, FixedEndWithRuntimeEditingOnAsksAndExitStaysAtTheNode)
{
    app.settings().runtimeDlgEditing = true;
    dlgnode* a = MakeNode(d(), "A", "a");
    MakeOption(*a, "bye", "done", "my notes");
    MakeOption(*a, "fight", "combat");
    Start("A");
    Choose(0);
    ASSERT_EQ(query.shown.size(), 1u);
    EXPECT_EQ(query.shown[0].first, "done");
    EXPECT_EQ(query.shown[0].second, TerminationQueryModel::kFixedEndNotes);
    EXPECT_TRUE(runner.running());
    EXPECT_EQ(runner.currentNodeIndex(), 0);
    EXPECT_EQ(runner.panel().npcLine, "a");
    EXPECT_TRUE(editor.calls.empty());
    EXPECT_TRUE(dialogs.History().empty());
    EXPECT_EQ(runner.transcripts().count(), 0);

    // "Edit node" on a fixed end edits the node the option was chosen in; the run goes on there.
    query.answer = TerminationChoice::EditNode;
    Choose(1);
    EXPECT_EQ(query.shown[1].first, "combat");
    EXPECT_EQ(editor.calls, (std::vector<std::string> { "edit 0" }));
    EXPECT_TRUE(runner.running());
    EXPECT_EQ(runner.currentNodeIndex(), 0);
    EXPECT_EQ(d().nodes[0]->options[1]->link_target, "combat");
}

TEST_F(Session, OpenLinkEndsTheRunWithoutTranscriptWhicheverButton)
{
    app.settings().runtimeDlgEditing = true;
    dlgnode* a = MakeNode(d(), "A", "a");
    MakeOption(*a, "lost", "Missing");
    MakeOption(*a, "null", "");
    Start("A");
    Choose(0);
    EXPECT_EQ(query.shown[0].first, "Missing");
    EXPECT_FALSE(runner.running());
    EXPECT_EQ(runner.transcripts().count(), 0);
    EXPECT_TRUE(runner.panel().runButton.enabled);
    EXPECT_FALSE(runner.panel().editButton.visible);
    EXPECT_TRUE(runner.history().empty());

    Start("A");
    Choose(1);
    EXPECT_EQ(query.shown[1].first, "<empty>");
    EXPECT_EQ(query.shown[1].second, "The player option node link was null.");
    EXPECT_FALSE(runner.running());
}

TEST_F(Session, EditNodeOnAnOpenLinkCreatesTheNodeAndRelinksTheOption)
{
    app.settings().runtimeDlgEditing = true;
    dlgnode* a = MakeNode(d(), "A", "a");
    MakeOption(*a, "lost", "Missing");
    Start("A");
    query.answer = TerminationChoice::EditNode;
    editor.acceptName = "Found";
    Choose(0);
    EXPECT_EQ(editor.calls, (std::vector<std::string> { "add Missing" }));
    EXPECT_TRUE(Logged("Updated node A playeroption 0 reference to Found."));
    EXPECT_EQ(d().nodes[0]->options[0]->link_target, "Found");
    EXPECT_EQ(d().nodes[0]->options[0]->link_index, 1); // links resolved again
    EXPECT_FALSE(runner.running()); // an open link always ends the run
    EXPECT_EQ(runner.transcripts().count(), 0);
    EXPECT_EQ(runner.panel().startNodeItems.size(), 2u);

    // A cancelled dialog accepts no name: nothing is relinked and no stale name is followed.
    editor.answerOk = false;
    MakeOption(*d().nodes[0], "lost again", "Other");
    Start("A");
    Choose(1);
    EXPECT_EQ(d().nodes[0]->options[1]->link_target, "Other");
    EXPECT_EQ(d().node_count, 2);
}

TEST_F(Session, FixedEndEditThatStillNamesNoNodeWarnsAndStays)
{
    app.settings().runtimeDlgEditing = true;
    struct RenamingEditor : test::FakeNodeEditor {
        using FakeNodeEditor::FakeNodeEditor;
        bool EditNodeAt(int) override
        {
            last = "nowhere";
            return true;
        }
    } renaming { app };
    app.SetWindows(&renaming);
    dlgnode* a = MakeNode(d(), "A", "a");
    MakeOption(*a, "bye", "done");
    MakeOption(*a, "stay", "A");
    Start("A");
    query.answer = TerminationChoice::EditNode;
    Choose(0);
    EXPECT_TRUE(Logged("Error: NodeIndex is still -1, can't continue."));
    EXPECT_EQ(dialogs.Last()->text, "The node reference is still null, remaining in current node.");
    EXPECT_TRUE(runner.running());
    EXPECT_EQ(runner.currentNodeIndex(), 0);
}

TEST_F(Session, DescribeOptionByLinkKind)
{
    dlgnode* a = MakeNode(d(), "A", "a");
    MakeOption(*a, "n", "A", "to self");
    MakeOption(*a, "s", "check")->to_skill_check = 1;
    MakeOption(*a, "p", "proc")->to_custom_proc = 1;
    MakeOption(*a, "u", "Nowhere");
    MakeOption(*a, "d", "done");
    option* combat = MakeOption(*a, "c", "combat", "guards!");
    condition* c = AddCondition(*combat);
    c->check_type = CHECK_STAT;
    c->subject = 1;
    c->eval = 3;
    c->value = "0";
    c->script_expr = "get_critter_stat(dude_obj, STAT_st) > 0";
    runner.DescribeOption(0); // not running: nothing
    EXPECT_EQ(runner.panel().optionNotes, "");
    Start("A");
    std::vector<std::string> notes;
    for (int row = 0; row < 6; ++row) {
        runner.DescribeOption(row);
        notes.push_back(runner.panel().optionNotes);
    }
    EXPECT_EQ(notes[0], "Leads to node A\r\nto self");
    EXPECT_EQ(notes[1], "Linked to a skill check [see Dialogue Editor->Skill Checks->check]\r\n");
    EXPECT_EQ(notes[2], "Linked to a custom procedure proc.\r\n");
    EXPECT_EQ(notes[3], "Unresolved node Nowhere\r\n");
    EXPECT_EQ(notes[4], "This option will end the dialogue.\r\n");
    EXPECT_EQ(notes[5],
        "This option will initiate combat.\r\nguards!\r\nConditions: \r\nget_critter_stat(dude_obj, STAT_st) > 0\r\n");

    // Choosing an option shows another node: the notes of an option of this one go.
    runner.DescribeOption(0);
    ASSERT_FALSE(runner.panel().optionNotes.empty());
    Choose(0); // "n" leads back to A, a new entry of the history
    EXPECT_EQ(runner.panel().optionNotes, "");
    EXPECT_EQ(runner.history().size(), 2u);
}

TEST_F(Session, NamesAndGenderTexts)
{
    dlgnode* a = MakeNode(d(), "A", "Hi <PC>, ${dude_name}! <pc>", "Hello miss <PC>");
    a->notes = "<PC> stays in notes";
    MakeOption(*a, "I am <PC> aka ${dude_name}", "B");
    MakeNode(d(), "B", "only male text for ${dude_name}");
    MakeOption(*d().nodes[1], "ok", "A");
    Start("A");
    EXPECT_EQ(runner.panel().npcLine, "Hi Vic, Vic! <pc>");
    EXPECT_EQ(runner.panel().options[0].text, "I am Vic aka Vic");
    EXPECT_EQ(runner.panel().nodeNotes, "<PC> stays in notes");

    app.player().gender = GENDER_FEMALE;
    session.ShowCurrentNode();
    EXPECT_EQ(runner.panel().npcLine, "Hello miss Vic");
    Choose(0);
    EXPECT_EQ(runner.panel().npcLine, "only male text for Vic");
    runner.StopTestRun();
    EXPECT_EQ(LastTranscript(),
        (std::vector<std::string> {
            "NPC: (A) Hello miss Vic", "Player: I am Vic aka Vic", "NPC: (B) only male text for Vic" }));
}

TEST_F(Session, ACurrentNodeThatIsGoneEndsTheRunCleanly)
{
    Chain();
    Start("A");
    Choose(0);
    Choose(0); // at C, index 2
    FreeNode(RemoveNodeAt(d(), 2));
    FreeNode(RemoveNodeAt(d(), 1));
    session.ShowCurrentNode(); // e.g. after the dialogue editor closed
    EXPECT_EQ(dialogs.Last()->text, RunSession::NodeGoneText(2));
    EXPECT_EQ(dialogs.Last()->icon, MsgIcon::Information);
    EXPECT_FALSE(runner.running());
    // The transcript keeps what still exists: A and its answer; B and C are gone.
    EXPECT_EQ(LastTranscript(), (std::vector<std::string> { "NPC: (A) I am A", "Player: to B" }));

    // A plug-in may set any index; the clicks find it gone too.
    Start("A");
    session.SetCurrentNodeIndex(40);
    runner.ChooseOption(0);
    EXPECT_FALSE(runner.running());
    Start("A");
    session.SetCurrentNodeIndex(-7);
    runner.EditThisNode();
    EXPECT_FALSE(runner.running());
    Start("A");
    session.SetCurrentNodeIndex(-1); // a script's redraw after that
    session.ShowCurrentNode();
    EXPECT_FALSE(runner.running());
    EXPECT_EQ(runner.transcripts().count(), 4);
}

TEST_F(Session, EditThisNodeNeedsARunAndRedrawsAfter)
{
    runner.EditThisNode();
    EXPECT_EQ(dialogs.Last()->text, "Dialogue is not running,\r\nuse 'Edit dialogue' instead.");
    Chain();
    Start("B");
    struct Retexting : test::FakeNodeEditor {
        using FakeNodeEditor::FakeNodeEditor;
        bool EditNodeAt(int i) override
        {
            app.dlg().nodes[i]->npc_text = "edited";
            app.dlg().nodes[i]->options[0]->link_target = "A";
            return true;
        }
    } retexting { app };
    app.SetWindows(&retexting);
    struct CountingPlugins : PluginBus {
        int broadcasts = 0;
        void BroadcastPluginUpdate() override { ++broadcasts; }
    } plugins;
    int& broadcasts = plugins.broadcasts;
    app.SetPluginBus(&plugins);
    runner.EditThisNode();
    EXPECT_EQ(runner.panel().npcLine, "edited");
    EXPECT_EQ(runner.panel().options[0].target, "A");
    EXPECT_EQ(d().nodes[1]->options[0]->link_index, 0);
    EXPECT_EQ(broadcasts, 2); // the redraw, then the edit itself
}

TEST_F(Session, TheShellStopsSavesAndClearsThroughTheRunControl)
{
    Chain();
    app.run().Stop(); // idle: nothing to stop, no transcript
    EXPECT_EQ(runner.transcripts().count(), 0);
    Start("A");
    app.run().Stop();
    EXPECT_FALSE(runner.running());
    EXPECT_EQ(runner.transcripts().count(), 1);
    app.run().SaveAllTranscripts();
    EXPECT_TRUE(FileExists(runner.transcripts().list()[0].file_name));
    app.run().ClearTranscripts();
    EXPECT_EQ(runner.transcripts().count(), 0);
    EXPECT_FALSE(runner.transcriptWindow().visible());

    // New during a run: the older transcripts are saved and dropped, then the run stops, so its
    // transcript is the first of the new list.
    runner.transcripts().SetClock([] { return std::time_t(86400); });
    Start("A");
    runner.StopTestRun();
    Start("B");
    std::string older = runner.transcripts().list()[0].file_name;
    std::filesystem::remove(older);
    ASSERT_TRUE(NewDialogueCommand(app));
    EXPECT_TRUE(FileExists(older));
    ASSERT_EQ(runner.transcripts().count(), 1);
    EXPECT_EQ(runner.transcripts().list()[0].lines, (std::vector<std::string> { "NPC: (B) I am B" }));
    EXPECT_FALSE(runner.running());
    EXPECT_TRUE(runner.panel().startNodeItems.empty());
}

} // namespace
} // namespace zev
