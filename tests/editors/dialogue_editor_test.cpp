#include "editors_fixture.h"

#include "editors/name_mask.h"
#include "model/node_resolution.h"

namespace zev {
namespace {

using test::EditorsFixture;

struct Editor : EditorsFixture { };

TEST(NameMaskTest, StarsQuestionMarksAndSetsWithoutRegardToCase)
{
    std::string error;
    auto a = NameMask::Parse("a*", error);
    ASSERT_TRUE(a);
    EXPECT_TRUE(a->Matches("Alpha"));
    EXPECT_TRUE(a->Matches("apple"));
    EXPECT_TRUE(a->Matches("a"));
    EXPECT_FALSE(a->Matches("Banana"));
    auto set = NameMask::Parse("n[0-9]?", error);
    ASSERT_TRUE(set);
    EXPECT_TRUE(set->Matches("N1x"));
    EXPECT_FALSE(set->Matches("Nx1"));
    EXPECT_FALSE(set->Matches("N1"));
    auto negated = NameMask::Parse("[!a]*", error);
    ASSERT_TRUE(negated);
    EXPECT_FALSE(negated->Matches("Apple"));
    EXPECT_TRUE(negated->Matches("Banana"));
    auto middle = NameMask::Parse("*a*a", error);
    ASSERT_TRUE(middle);
    EXPECT_TRUE(middle->Matches("banana"));
    EXPECT_FALSE(middle->Matches("banan"));

    EXPECT_FALSE(NameMask::Parse("[ab", error));
    EXPECT_EQ(error, "The search mask \"[ab\" has a \"[\" without its \"]\".");
}

TEST_F(Editor, OpeningResolvesRefreshesAndAfterwardsRedrawsARunningTestAndTellsThePlugins)
{
    dlgnode* a = Node("A", "a");
    Option(*a, "to b", "B");
    Node("B", "b");
    std::vector<std::string> events;
    test::RecordingPlugins plugins { events };
    app.SetPluginBus(&plugins);
    bool shown = false;
    editorView.script = [&](DialogueEditorModel& m) {
        shown = true;
        EXPECT_EQ(m.nodeRows().size(), 2u);
        EXPECT_EQ(d().nodes[0]->options[0]->link_index, 1);
        m.Exit();
    };
    editors.OpenDialogueEditor();
    EXPECT_TRUE(shown);
    auto log = capture.Messages();
    EXPECT_EQ(std::vector<std::string>(log.end() - 3, log.end()),
        (std::vector<std::string> { "Attempting to resolve nodes...", "Attempting to refresh node list.", "Done!" }));
    EXPECT_EQ(events, std::vector<std::string> { "plugins" });
    EXPECT_EQ(app.statusText(), "Dialogue untitled, 2 nodes");
}

TEST_F(Editor, AddingANodeAndCancellingLeavesTheDialogueAsItWas)
{
    Node("A", "a");
    // Inside the dialog an option is added to the new node; Cancel drops the node with it.
    optionView.script = [](OptionDialogModel& o) {
        o.SetText("bye");
        o.SetTerminates(true);
        return true;
    };
    nodeView.script = [](NodeDialogModel& n) {
        EXPECT_EQ(n.caption(), "Add node");
        n.AddOption();
        EXPECT_EQ(n.rows().size(), 1u);
        return false;
    };
    editor().Add();
    EXPECT_EQ(d().node_count, 1);
    EXPECT_EQ(NodeNames(), std::vector<std::string> { "A" });

    // OK after the name checks: stored, marked modified, listed.
    nodeView.script = [](NodeDialogModel& n) {
        n.SetName("");
        EXPECT_FALSE(n.Accept());
        n.SetName("A");
        EXPECT_FALSE(n.Accept());
        n.SetName("a"); // names compare case-sensitively
        n.SetNpcText("lower case");
        n.SetFemaleText("ignored: the box is not checked");
        return n.Accept();
    };
    editor().Add();
    ASSERT_EQ(NodeNames(), (std::vector<std::string> { "A", "a" }));
    EXPECT_EQ(d().nodes[1]->npc_text, "lower case");
    EXPECT_TRUE(d().nodes[1]->npc_female_text.empty());
    EXPECT_TRUE(app.modified());
    EXPECT_EQ(RowNames(), NodeNames());
    EXPECT_EQ(editor().currentRow(), 1);
    auto boxes = dialogs.History();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Please specify a name for this node!\r\nEmpty node names will cause trouble.");
    EXPECT_EQ(boxes[1].text, "The specified node 'A' already exists.\r\nPlease pick a unique node name.");
    EXPECT_TRUE(Logged("CurrentNodeName: a Previous: "));
    EXPECT_EQ(nodeDialog().lastAcceptedName(), "a");
    // The dialog's fields are cleared after each use.
    EXPECT_EQ(nodeDialog().name(), "");
    EXPECT_EQ(nodeDialog().npcText(), "");
}

TEST_F(Editor, RenamingInTheNodeDialogRemapsLinksAndWithAutoRemapTheNotes)
{
    dlgnode* a = Node("A", "a");
    a->notes = "A and Alpha";
    option* self = Option(*a, "again", "A");
    self->notes = "back to A";
    dlgnode* b = Node("B", "b");
    Option(*b, "to a", "A");
    Option(*b, "to b2", "A2");
    ResolveLinks(d());
    editor().Refresh();

    auto rename = [&](const std::string& to) {
        nodeView.script = [to](NodeDialogModel& n) {
            n.SetName(to);
            return n.Accept();
        };
        editor().EditRow(RowOf(d().nodes[0]->name.view()));
    };
    rename("A"); // its own name: accepted, nothing remapped
    EXPECT_EQ(d().nodes[0]->notes, "A and Alpha");
    EXPECT_FALSE(Logged("Node names differ... Remapping player options."));

    rename("Boss"); // AutoRemapNodes off: links only
    EXPECT_EQ(self->link_target, "Boss");
    EXPECT_EQ(b->options[0]->link_target, "Boss");
    EXPECT_EQ(b->options[1]->link_target, "A2");
    EXPECT_EQ(a->notes, "A and Alpha");
    EXPECT_EQ(self->notes, "back to A");
    EXPECT_EQ(b->options[0]->link_index, 0);

    app.settings().autoRemapNodes = true;
    rename("Chief");
    EXPECT_EQ(b->options[0]->link_target, "Chief");
    EXPECT_EQ(self->notes, "back to A"); // the notes named A, not Boss
    rename("A");
    rename("Guard");
    EXPECT_EQ(a->notes, "Guard and Guardlpha"); // a substring, as the remap works
    EXPECT_EQ(self->notes, "back to Guard");
    EXPECT_TRUE(Logged("Node names differ... Remapping player options."));
}

TEST_F(Editor, InPlaceRenameChecksTheNameRemapsAndReportsOnTheConsole)
{
    dlgnode* a = Node("A", "a");
    a->notes = "see A";
    Node("B", "b");
    Option(*d().nodes[1], "to a", "A");
    editor().Refresh();
    EXPECT_FALSE(editor().RenameInPlace(0, "B"));
    EXPECT_EQ(dialogs.Last()->text, "The specified node 'B' already exists.\r\nPlease pick a unique node name.");
    EXPECT_FALSE(editor().RenameInPlace(0, ""));
    EXPECT_EQ(NodeNames(), (std::vector<std::string> { "A", "B" }));
    EXPECT_FALSE(app.modified());

    EXPECT_TRUE(editor().RenameInPlace(0, "Start"));
    EXPECT_EQ(NodeNames(), (std::vector<std::string> { "Start", "B" }));
    EXPECT_EQ(d().nodes[1]->options[0]->link_target, "Start");
    EXPECT_EQ(a->notes, "see Start"); // the in-place path always rewrites notes
    EXPECT_TRUE(Logged("On edited: A string = Start"));
    EXPECT_TRUE(Logged("Renamed A to Start"));
    EXPECT_EQ(console.lines.front(), "Remapping player options...");
    EXPECT_TRUE(app.modified()) << "a rename is a change of the file";
}

TEST_F(Editor, FiltersListStartNodesNodesWithoutTextOrOptionsAndNamesByMask)
{
    dlgnode* self = Node("Loop", "x");
    Option(*self, "again", "Loop");
    dlgnode* start = Node("Start", "s");
    Option(*start, "check", "Win")->to_skill_check = 1;
    skillcheck* check = AddSkillCheck(*start);
    check->name = "Win";
    check->on_success = "Reward"; // a skill check's target is no option link
    Node("Reward", "");
    Node("alpha", "a");
    Node("apple", "a");
    Node("Banana", "b");

    editor().SetFilter(NodeFilter::StartNodes);
    EXPECT_EQ(RowNames(), (std::vector<std::string> { "Start", "Reward", "alpha", "apple", "Banana" }));
    editor().SetFilter(NodeFilter::NonStartNodes);
    EXPECT_EQ(RowNames(), std::vector<std::string> { "Loop" });
    editor().SetFilter(NodeFilter::NoNpcText);
    EXPECT_EQ(RowNames(), std::vector<std::string> { "Reward" });
    editor().SetFilter(NodeFilter::NoPlayerOptions);
    EXPECT_EQ(RowNames(), (std::vector<std::string> { "Reward", "alpha", "apple", "Banana" }));

    EXPECT_FALSE(editor().searchVisible());
    editor().SetFilter(NodeFilter::ByName);
    EXPECT_TRUE(editor().searchVisible());
    editor().SetSearchText("a*");
    editor().Search();
    EXPECT_EQ(RowNames(), (std::vector<std::string> { "alpha", "apple" }));
    editor().SetSearchText("[a-c");
    editor().Search();
    EXPECT_TRUE(RowNames().empty());
    EXPECT_EQ(dialogs.Last()->text, "The search mask \"[a-c\" has a \"[\" without its \"]\".");
    EXPECT_EQ(editor().maskError(), dialogs.Last()->text);
}

TEST_F(Editor, HiddenNodesLeaveOnlyThisListUntilUnhideAll)
{
    Node("A");
    Node("B");
    Node("C");
    editor().Refresh();
    EXPECT_FALSE(editor().button(DialogueEditorModel::Button::HideSelected).enabled);
    EXPECT_FALSE(editor().button(DialogueEditorModel::Button::UnhideAll).enabled);
    editor().Select({ 0, 2 });
    editor().HideSelected();
    EXPECT_EQ(RowNames(), std::vector<std::string> { "B" });
    EXPECT_TRUE(Logged("adding nodeitem A to hide_list"));
    EXPECT_TRUE(editor().button(DialogueEditorModel::Button::UnhideAll).enabled);
    EXPECT_FALSE(app.modified()) << "hiding is a view setting";
    // "Nodes by name" with an empty field lists every node, hidden ones too.
    editor().SetFilter(NodeFilter::ByName);
    EXPECT_EQ(RowNames().size(), 3u);
    editor().SetFilter(NodeFilter::All);
    editor().UnhideAll();
    EXPECT_EQ(RowNames().size(), 3u);
    EXPECT_FALSE(editor().button(DialogueEditorModel::Button::UnhideAll).enabled);
}

TEST_F(Editor, DeleteRemovesTheFirstSelectedNodeAndLeavesItsLinks)
{
    Node("A");
    Node("B");
    Option(*Node("C"), "to b", "B");
    editor().Refresh();
    editor().Select({ 1, 2 });
    editor().Delete();
    EXPECT_EQ(NodeNames(), (std::vector<std::string> { "A", "C" }));
    EXPECT_EQ(d().nodes[1]->options[0]->link_target, "B");
    EXPECT_TRUE(app.modified());
}

TEST_F(Editor, ClonesCopyTextsOptionsAndConditionsUnderAFreeName)
{
    dlgnode* start = Node("Start", "hello");
    start->npc_female_text = "hello miss";
    start->notes = "first";
    start->custom_code = "display_msg(1);";
    AddSkillCheck(*start)->name = "Lie";
    option* o = Option(*start, "go", "Start");
    o->reaction = 1;
    o->intelligence = 4;
    condition* c = AddCondition(*o);
    c->script_expr = "x > 1";
    c->link_next = 1;
    editor().Refresh();
    editor().Select({ 0 });
    editor().Clone();
    editor().Select({ 0 });
    editor().Clone();
    ASSERT_EQ(NodeNames(), (std::vector<std::string> { "Start", "Copy_of_Start", "Copy_of_Start_2" }));
    const dlgnode& clone = *d().nodes[1];
    EXPECT_EQ(clone.npc_text, "hello");
    EXPECT_EQ(clone.npc_female_text, "hello miss");
    EXPECT_EQ(clone.notes, "first");
    EXPECT_TRUE(clone.custom_code.empty());
    EXPECT_EQ(clone.skill_check_count, 0);
    ASSERT_EQ(clone.option_count, 1);
    EXPECT_NE(clone.options[0], o);
    EXPECT_EQ(clone.options[0]->reaction, 1);
    EXPECT_EQ(clone.options[0]->intelligence, 4);
    ASSERT_EQ(clone.options[0]->condition_count, 1);
    EXPECT_NE(clone.options[0]->conditions[0], c);
    EXPECT_EQ(clone.options[0]->conditions[0]->script_expr, "x > 1");
    EXPECT_EQ(editor().currentRow(), 2) << "the new clone is selected";

    ASSERT_TRUE(app.config().WriteString(kSectionGlobalConfig, kKeyClonedNodeFormatString, "%s_v2"));
    editor().Select({ 0 });
    editor().Clone();
    EXPECT_EQ(NodeNames().back(), "Start_v2");
}

TEST_F(Editor, AddAndCloneRefuseAFullNodeTable)
{
    for (int i = 0; i < kMaxNodes; ++i)
        Node("N" + std::to_string(i));
    editor().Refresh();
    nodeView.script = [](NodeDialogModel&) {
        ADD_FAILURE() << "no dialog for a full table";
        return false;
    };
    editor().Add();
    EXPECT_EQ(d().node_count, kMaxNodes);
    EXPECT_EQ(
        dialogs.Last()->text, "The dialogue holds 513 nodes, as many as a dialogue can hold.\r\nNo node was added.");
    editor().Select({ 0 });
    editor().Clone();
    EXPECT_EQ(d().node_count, kMaxNodes);
    EXPECT_EQ(dialogs.History().size(), 2u);
}

TEST_F(Editor, MovesSwapNeighboursAndDoNothingAtTheEnds)
{
    Node("A");
    Option(*Node("B"), "to a", "A");
    Node("C");
    ResolveLinks(d());
    editor().Refresh();
    editor().Select({ 0 });
    editor().MoveUp();
    EXPECT_EQ(NodeNames(), (std::vector<std::string> { "A", "B", "C" }));
    editor().Select({ 2 });
    editor().MoveDown();
    EXPECT_EQ(NodeNames(), (std::vector<std::string> { "A", "B", "C" }));
    EXPECT_FALSE(app.modified());

    editor().Select({ 0 });
    editor().MoveDown();
    EXPECT_EQ(NodeNames(), (std::vector<std::string> { "B", "A", "C" }));
    EXPECT_EQ(editor().currentRow(), 1);
    EXPECT_EQ(d().nodes[0]->options[0]->link_index, 1) << "links follow the moved node";
    EXPECT_TRUE(app.modified());

    // Under a filter the neighbouring row is another node further away: they swap, the list is
    // rebuilt and the moved node stays selected.
    editor().SetFilter(NodeFilter::StartNodes); // B and C: nobody links to them
    ASSERT_EQ(RowNames(), (std::vector<std::string> { "B", "C" }));
    editor().Select({ 0 });
    editor().MoveDown();
    EXPECT_EQ(NodeNames(), (std::vector<std::string> { "C", "A", "B" }));
    ASSERT_EQ(RowNames(), (std::vector<std::string> { "C", "B" }));
    EXPECT_EQ(editor().currentRow(), 1);
}

TEST_F(Editor, RearrangeSortsByNameAsText)
{
    for (const char* n : { "b", "A", "10", "9" })
        Node(n);
    editor().Refresh();
    editor().Rearrange();
    EXPECT_EQ(NodeNames(), (std::vector<std::string> { "10", "9", "A", "b" }));
    EXPECT_EQ(RowNames(), NodeNames());
    EXPECT_EQ(console.lines.back(), "Node sorting complete.");
}

struct CountingFloatView : FloatNodeEditorView {
    int shown = 0;
    bool exec(FloatNodeEditorModel&) override
    {
        ++shown;
        return false;
    }
};

TEST_F(Editor, TheOtherEditorsButtonsFollowTheirWindowsAndTheSelection)
{
    using B = DialogueEditorModel::Button;
    for (auto b : { B::StartConditions, B::FloatAdd, B::TimedEvents, B::SkillAdd, B::SkillDelete })
        EXPECT_FALSE(editor().button(b).enabled) << "no window, no button";
    EXPECT_TRUE(editor().button(B::Add).enabled);
    EXPECT_EQ(editor().button(B::Add).hint, "With this button you can add a node");

    CountingFloatView floats;
    editors.SetDialogViews({ .floatNodes = &floats });
    EXPECT_TRUE(editor().button(B::FloatAdd).enabled);
    EXPECT_FALSE(editor().button(B::FloatEdit).enabled);
    EXPECT_FALSE(editor().button(B::StartConditions).enabled);
    AddFloatNode(d(), "Hawking");
    app.RefreshEditorLists();
    editor().SelectFloatRow(0);
    EXPECT_TRUE(editor().button(B::FloatEdit).enabled);
    editor().FloatEdit();
    EXPECT_EQ(floats.shown, 1);
    editor().FloatDelete();
    EXPECT_EQ(d().float_node_count, 0);
    EXPECT_EQ(editor().floatRow(), -1);
    EXPECT_FALSE(editor().button(B::FloatEdit).enabled);
}

TEST_F(Editor, ScriptVariablesOnOkMarkTheDialogueModifiedAndRefreshCompletion)
{
    int refreshes = 0;
    const auto id = app.completionRefreshing.Connect([&] { ++refreshes; });
    bool answer = false;
    editor().SetScriptVariableManager([&] { return answer; });
    EXPECT_TRUE(editor().button(DialogueEditorModel::Button::ScriptVariables).enabled);
    editor().ScriptVariables();
    EXPECT_FALSE(app.modified());
    EXPECT_EQ(refreshes, 0);
    answer = true;
    editor().ScriptVariables();
    EXPECT_TRUE(app.modified());
    EXPECT_EQ(refreshes, 1);
    app.completionRefreshing.Disconnect(id);
}

} // namespace
} // namespace zev
