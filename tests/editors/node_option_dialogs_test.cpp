#include "editors_fixture.h"

#include "model/codes.h"

namespace zev {
namespace {

using test::EditorsFixture;

struct Dialogs : EditorsFixture {
    dlgnode* a = nullptr;
    dlgnode* b = nullptr;
    Dialogs()
    {
        a = Node("A", "a");
        b = Node("B", std::string(160, 'x'));
        app.settings().defaultIntForSmartPlayer = 4;
        app.settings().defaultIntForDumbPlayer = -3;
    }
    // The node dialog on node A, running body, closed with OK.
    void EditA(const std::function<void(NodeDialogModel&)>& body)
    {
        nodeView.script = [body](NodeDialogModel& n) {
            body(n);
            return n.Accept();
        };
        editor().EditNodeAt(0);
    }
};

TEST_F(Dialogs, AnAddedOptionWithConditionsIsDroppedOnCancel)
{
    Option(*a, "kept", "B");
    optionView.script = [](OptionDialogModel& o) {
        EXPECT_EQ(o.caption(), "Add player option");
        EXPECT_TRUE(o.linkToNewNode());
        EXPECT_EQ(o.conditionSummary(), "No conditions set for this option.");
        EXPECT_EQ(o.intelligence(), 4); // the smart-player default
        option* pending = o.editedOption();
        EXPECT_NE(pending, nullptr);
        AddCondition(*pending)->script_expr = "a";
        AddCondition(*pending)->script_expr = "b";
        return false;
    };
    EditA([](NodeDialogModel& n) { n.AddOption(); });
    EXPECT_EQ(a->option_count, 1);
    EXPECT_EQ(a->options[0]->text, "kept");
    EXPECT_EQ(a->options[0]->condition_count, 0);
}

TEST_F(Dialogs, OptionChangesStayWhenTheNodeDialogIsCancelled)
{
    Option(*a, "first", "B");
    Option(*a, "second", "done");
    optionView.script = [](OptionDialogModel& o) {
        o.SetText("added");
        o.SetLinkToNewNode(false);
        o.SetLinkKind(LinkKind::Node);
        o.ChooseNode("B");
        return true;
    };
    nodeView.script = [](NodeDialogModel& n) {
        n.AddOption();
        n.SelectRow(0);
        n.MoveDown();
        EXPECT_EQ(n.selectedRow(), 1);
        n.MoveDown();
        n.MoveDown(); // the last row: nothing
        EXPECT_EQ(n.rows().back().text, "first");
        n.SelectRow(0);
        n.DeleteOption();
        return false;
    };
    editor().EditNodeAt(0);
    ASSERT_EQ(a->option_count, 2);
    EXPECT_EQ(a->options[0]->text, "added");
    EXPECT_EQ(a->options[0]->link_target, "B");
    EXPECT_EQ(a->options[1]->text, "first");
    // Written at once, so marked at once: a cancelled node dialog and a quit must not lose them.
    EXPECT_TRUE(app.modified());
    EXPECT_TRUE(Logged("Adding player option to NODE: 0"));
}

TEST_F(Dialogs, LinkKindsProceduresSkillChecksAndTheSpecialEnds)
{
    AddCustomProc(d(), "GiveItem");
    AddSkillCheck(*b)->name = "Lie";
    option* proc = Option(*a, "p", "GiveItem");
    proc->to_custom_proc = 1;
    optionView.script = [](OptionDialogModel& o) {
        EXPECT_EQ(o.linkKind(), LinkKind::Procedure);
        EXPECT_EQ(o.procedureText(), "GiveItem");
        EXPECT_FALSE(o.linkToNewNode());
        EXPECT_EQ(o.nodeItems(), std::vector<std::string> { "B" }) << "never the edited node";
        EXPECT_EQ(o.skillCheckItems(), std::vector<std::string> { "Lie" });
        o.SetTerminates(true);
        EXPECT_FALSE(o.linkControlsVisible());
        EXPECT_FALSE(o.createNodeEnabled());
        return true;
    };
    EditA([](NodeDialogModel& n) { n.DoubleClick(0); });
    EXPECT_EQ(proc->link_target, "done");
    EXPECT_EQ(proc->to_custom_proc, 0);
    EXPECT_EQ(proc->to_skill_check, 0);

    optionView.script = [](OptionDialogModel& o) {
        EXPECT_TRUE(o.terminates());
        o.SetLinkKind(LinkKind::SkillCheck);
        o.ChooseSkillCheck("Lie");
        o.SetCombat(true);
        EXPECT_FALSE(o.terminates());
        o.SetCombat(false);
        return true;
    };
    EditA([](NodeDialogModel& n) { n.DoubleClick(0); });
    EXPECT_EQ(proc->link_target, "Lie");
    EXPECT_EQ(proc->to_skill_check, 1);

    optionView.script = [](OptionDialogModel& o) {
        o.SetNotes("will vanish");
        o.SetCombat(true);
        EXPECT_EQ(o.notes(), "") << "combat empties the notes";
        return true;
    };
    EditA([](NodeDialogModel& n) { n.DoubleClick(0); });
    EXPECT_EQ(proc->link_target, "combat");
    EXPECT_EQ(proc->to_skill_check, 0);
}

TEST_F(Dialogs, TheDumbDefaultDoesNotLeakIntoTheNextOption)
{
    Option(*a, "dumb", "B")->intelligence = -3;
    Option(*a, "bright", "B")->intelligence = 6;
    std::vector<std::pair<bool, int>> seen;
    optionView.script = [&](OptionDialogModel& o) {
        seen.emplace_back(o.dumb(), o.intelligence());
        return false;
    };
    EditA([](NodeDialogModel& n) {
        n.DoubleClick(0);
        n.DoubleClick(1);
    });
    EXPECT_EQ(seen, (std::vector<std::pair<bool, int>> { { true, -3 }, { false, 6 } }));

    optionView.script = [](OptionDialogModel& o) {
        o.SetDumb(true);
        EXPECT_EQ(o.intelligence(), -3);
        o.SetDumb(false);
        EXPECT_EQ(o.intelligence(), 4);
        o.SetIntelligence(99);
        EXPECT_EQ(o.intelligence(), 10);
        return true;
    };
    EditA([](NodeDialogModel& n) { n.DoubleClick(1); });
    EXPECT_EQ(a->options[1]->intelligence, 10);
}

TEST_F(Dialogs, ThePreviewShowsAHundredAndSixtyCharacters)
{
    EXPECT_EQ(NpcTextPreview(std::string(160, 'x')), std::string(160, 'x'));
    EXPECT_EQ(NpcTextPreview(std::string(161, 'x')), std::string(160, 'x') + "...");
    optionView.script = [](OptionDialogModel& o) {
        o.ChooseNode("B");
        EXPECT_TRUE(o.previewShown());
        EXPECT_EQ(o.preview().size(), 160u);
        o.ChooseNode("Nowhere");
        EXPECT_FALSE(o.previewShown());
        return false;
    };
    EditA([](NodeDialogModel& n) { n.AddOption(); });
}

TEST_F(Dialogs, CreateNodeRefusesTakenNamesAndLinksToTheNewNode)
{
    optionView.script = [&](OptionDialogModel& o) {
        o.SetNewNodeName("");
        o.CreateNode();
        EXPECT_EQ(dialogs.Last()->text, "Enter a name for the new node.");
        o.SetNewNodeName("A"); // the edited node's own name
        o.CreateNode();
        EXPECT_EQ(dialogs.Last()->text, "This node already exists at\r\nindex [0]");
        dialogs.PushText("fresh text");
        o.SetNewNodeName("Fresh");
        o.CreateNode();
        EXPECT_FALSE(o.linkToNewNode());
        EXPECT_EQ(o.linkKind(), LinkKind::Node);
        EXPECT_EQ(o.nodeText(), "Fresh");
        EXPECT_EQ(o.preview(), "fresh text");
        o.SetText("to fresh");
        return false; // the option is dropped; the new node stays
    };
    EditA([](NodeDialogModel& n) { n.AddOption(); });
    EXPECT_EQ(NodeNames(), (std::vector<std::string> { "A", "B", "Fresh" }));
    EXPECT_EQ(d().nodes[2]->npc_text, "fresh text");
    EXPECT_EQ(a->option_count, 0);
    EXPECT_TRUE(Logged("Attempting to create node at slot 2 - NodeIND (edited node) == 0"));
}

TEST_F(Dialogs, AnOptionToAMissingNodeOpensWithItsNameAsANewNode)
{
    option* lost = Option(*a, "lost", "Cellar");
    lost->notes = "two\\nlines";
    AddCondition(*lost)->script_expr = "a > 1";
    lost->conditions[0]->link_next = 2;
    AddCondition(*lost)->script_expr = "b";
    optionView.script = [](OptionDialogModel& o) {
        EXPECT_TRUE(o.linkToNewNode());
        EXPECT_EQ(o.newNodeName(), "Cellar");
        EXPECT_EQ(o.notes(), "two\r\nlines");
        EXPECT_EQ(o.conditionSummary(), "a > 1 OR\r\nb");
        return false;
    };
    EditA([](NodeDialogModel& n) { n.DoubleClick(0); });
}

TEST_F(Dialogs, AFullOptionTableRefusesAnotherOption)
{
    for (int i = 0; i < kMaxOptions; ++i)
        Option(*a, "o", "B");
    optionView.script = [](OptionDialogModel&) {
        ADD_FAILURE() << "no dialog for a full node";
        return true;
    };
    EditA([](NodeDialogModel& n) { n.AddOption(); });
    EXPECT_EQ(a->option_count, kMaxOptions);
    EXPECT_EQ(dialogs.Last()->text,
        "This node already holds 513 player options, as many as a node can hold.\r\nNo option was added.");
}

TEST_F(Dialogs, EditPlayerOptionOfTheScriptFunction)
{
    Option(*b, "only", "A");
    std::vector<std::string> events;
    test::RecordingPlugins plugins { events };
    app.SetPluginBus(&plugins);
    editors.EditPlayerOption("Nowhere", 0);
    EXPECT_EQ(
        dialogs.Last()->text, "Error!\r\n\r\nRequested node Nowhere for player\r\noption editing does not exist.");
    EXPECT_EQ(dialogs.Last()->icon, MsgIcon::Error);
    optionView.script = [](OptionDialogModel& o) {
        o.SetText("changed");
        return true;
    };
    editors.EditPlayerOption("B", 0);
    EXPECT_EQ(optionView.captions, std::vector<std::string> { "Edit playeroption" });
    EXPECT_EQ(b->options[0]->text, "changed");
    EXPECT_EQ(events, std::vector<std::string> { "plugins" }) << "the unknown node told nobody";
}

TEST_F(Dialogs, TheFemaleTextIsKeptOnlyWithItsBox)
{
    a->npc_female_text = "hello miss";
    EditA([](NodeDialogModel& n) {
        EXPECT_TRUE(n.femaleChecked());
        EXPECT_EQ(n.femaleText(), "hello miss");
        n.SetFemaleChecked(false);
        EXPECT_FALSE(n.femaleTextEnabled());
    });
    EXPECT_TRUE(a->npc_female_text.empty());
}

} // namespace
} // namespace zev

namespace zev {
namespace {

TEST_F(Dialogs, ANameTypedForANewNodeWithoutCreateNodeStillGetsItsLink)
{
    optionView.script = [](OptionDialogModel& o) {
        o.SetText("to the cellar");
        o.SetNewNodeName("Cellar");
        return true;
    };
    EditA([](NodeDialogModel& n) { n.AddOption(); });
    ASSERT_EQ(a->option_count, 1);
    EXPECT_EQ(a->options[0]->link_target, "Cellar");
    EXPECT_EQ(NodeNames(), (std::vector<std::string> { "A", "B", "Cellar" }));

    // A name that names a node already: linked, nothing made.
    optionView.script = [](OptionDialogModel& o) {
        o.SetNewNodeName("B");
        return true;
    };
    EditA([](NodeDialogModel& n) { n.AddOption(); });
    EXPECT_EQ(a->options[1]->link_target, "B");
    EXPECT_EQ(d().node_count, 3);
}

TEST_F(Dialogs, CustomCodeIsStoredOnOkOnlyAndMarksTheDialogueModified)
{
    a->custom_code = "old";
    std::optional<std::string> answer;
    std::string shown;
    nodeDialog().SetCustomCodeEditor([&](const std::string& code) {
        shown = code;
        return answer;
    });
    bool modified = true;
    EditA([&](NodeDialogModel& n) {
        n.CustomCode(); // cancelled
        modified = app.modified();
    });
    EXPECT_EQ(shown, "old");
    EXPECT_EQ(a->custom_code, "old");
    EXPECT_FALSE(modified);
    app.SetModified(false);

    answer = "display_msg(1);\r\ngive_xp(5);";
    EditA([&](NodeDialogModel& n) {
        EXPECT_TRUE(n.customCodeEnabled());
        n.CustomCode();
        modified = app.modified();
    });
    EXPECT_EQ(a->custom_code, "display_msg(1);\r\ngive_xp(5);");
    EXPECT_TRUE(modified);
}

TEST_F(Dialogs, CustomProceduresListTheNewProcedureAndKeepThePicks)
{
    Node("C", "c");
    int openedOn = -2;
    editors.optionDialog().SetCustomProcedureEditor([&](int node) {
        openedOn = node;
        AddCustomProc(d(), "Barter");
    });
    optionView.script = [](OptionDialogModel& o) {
        o.SetLinkToNewNode(false);
        o.SetLinkKind(LinkKind::Node);
        o.ChooseNode("C");
        o.CustomProcedures();
        EXPECT_EQ(o.procedureItems(), std::vector<std::string> { "Barter" });
        EXPECT_EQ(o.nodeText(), "C"); // not reset to the first node by the refresh
        o.SetLinkKind(LinkKind::Procedure);
        o.ChooseProcedure("Barter");
        return true;
    };
    EditA([](NodeDialogModel& n) { n.AddOption(); });
    EXPECT_EQ(openedOn, 0);
    ASSERT_EQ(a->option_count, 1);
    EXPECT_EQ(a->options[0]->link_target, "Barter");
}

} // namespace
} // namespace zev
