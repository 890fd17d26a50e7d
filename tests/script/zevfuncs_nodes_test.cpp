#include "zevfuncs_fixture.h"

namespace zev::test {
namespace {

using Nodes = ZevFuncsFixture;

TEST_F(Nodes, AddNodeFillsANewNodeAndRefusesADuplicateName)
{
    EXPECT_EQ(Run("AddNode('n1', 'Hello', 'first', 'Hello, miss')"), L("Added node \"n1\""));
    ASSERT_EQ(app.dlg().node_count, 1);
    const dlgnode& n = *app.dlg().nodes[0];
    EXPECT_EQ(n.npc_text, "Hello");
    EXPECT_EQ(n.npc_female_text, "Hello, miss");
    EXPECT_EQ(n.notes, "first");
    EXPECT_EQ(n.option_count, 0);
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(broadcasts, 1);

    EXPECT_EQ(Run("AddNode('n1', 'x', 'y')"), L("Error! Node n1 already exists!"));
    EXPECT_EQ(Run("AddNodeNoRefresh('n1', 'x', 'y')"), L("Error! Node n1 already exists!"));
    EXPECT_EQ(app.dlg().node_count, 1);
    EXPECT_EQ(app.dlg().nodes[0]->npc_text, "Hello");

    Run("AddNodeNoRefresh('n2', 'x', 'y')");
    EXPECT_EQ(app.dlg().node_count, 2);
    EXPECT_EQ(refreshes, 1); // no refresh, no notification
    EXPECT_EQ(broadcasts, 1);
}

TEST_F(Nodes, AddNodeAtAFullTableChangesNothingAndSaysSo)
{
    for (int i = 0; i < kMaxNodes; ++i)
        AddNode(app.dlg(), "n" + std::to_string(i));
    auto lines = Run("AddNode('extra', 'x', 'y')");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("full"), std::string::npos);
    EXPECT_EQ(app.dlg().node_count, kMaxNodes);
    EXPECT_EQ(broadcasts, 0);
}

TEST_F(Nodes, IndexAddressingIsCheckedAndResultsDefault)
{
    MakeNodes({ "a", "b", "c" }, 3);
    EXPECT_EQ(Run("Print(GetNodeName(GetNodeCount - 1)); Print('[' + GetNodeName(GetNodeCount) + ']');"
                  "Print('[' + GetNodeName(-1) + ']')"),
        L("c", "[]", "[]"));
    EXPECT_EQ(Run("Print(GetNodeData(0, 9)); Print(GetNodeData(1, FIELD_NODE_NPCTEXT));"
                  "Print('[' + GetNodeData(-1, 6) + ']'); Print('[' + GetNodeData(0, 11) + ']');"
                  "Print(GetNodeData(2, FIELD_NODE_NAME))"),
        L("3", "Text of b", "[]", "[]", "c"));

    Run("SetNodeData(1, FIELD_NODE_NOTES, 'noted'); SetNodeData(1, FIELD_NODE_NPCFEMALETEXT, 'fem');"
        "SetNodeData(-1, 6, 'lost'); SetNodeData(7, 6, 'lost'); SetNodeData(0, 11, 'ignored')");
    EXPECT_EQ(app.dlg().nodes[1]->notes, "noted");
    EXPECT_EQ(app.dlg().nodes[1]->npc_female_text, "fem");
    EXPECT_EQ(app.dlg().nodes[0]->npc_text, "Text of a");
}

TEST_F(Nodes, RenamesRemapLinksAndKeepNamesUnique)
{
    MakeNodes({ "a", "b" }, 1);
    app.dlg().nodes[0]->options[0]->link_target = "b";
    auto lines = Run("SetNodeName('b', 'bee')");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "Renamed b to bee");
    EXPECT_EQ(NodeName(1), "bee");
    EXPECT_EQ(app.dlg().nodes[0]->options[0]->link_target, "bee");
    EXPECT_EQ(broadcasts, 1);

    EXPECT_EQ(Run("SetNodeName('a', 'bee')"), L("Error! Node bee already exists!"));
    EXPECT_EQ(Run("SetNodeData(0, FIELD_NODE_NAME, 'bee')"), L("Error! Node bee already exists!"));
    EXPECT_EQ(NodeName(0), "a");
    EXPECT_TRUE(Run("SetNodeName('missing', 'x')").empty());
}

TEST_F(Nodes, DoNodeSortOrdersWithoutRegardToCase)
{
    MakeNodes({ "beta", "Alpha", "gamma" });
    EXPECT_EQ(Run("DoNodeSort").back(), "Node sorting complete.");
    EXPECT_EQ(NodeName(0), "Alpha");
    EXPECT_EQ(NodeName(1), "beta");
    EXPECT_EQ(NodeName(2), "gamma");
    EXPECT_EQ(broadcasts, 1);
}

TEST_F(Nodes, ListAndShowNodes)
{
    EXPECT_EQ(Run("ListNodes"), L("No nodes in dialogue."));
    MakeNodes({ "a" }, 2);
    app.dlg().nodes[0]->notes = "n";
    EXPECT_EQ(Run("ListNodes"), L("Dialogue has 1 nodes:", "", "a: 2 player options."));
    EXPECT_EQ(Run("ShowNode('a')"),
        L("Node info for a:\r\nNPC Default:Text of a", "Notes for the node:\r\nn", "Player options (2):\r\n",
            "1: Option 0 -> done", "2: Option 1 -> done"));
    EXPECT_EQ(Run("ShowNode('A')"), L("Node \"A\" not found!"));
}

TEST_F(Nodes, DeleteNodeRemovesTheNamedNodeOnly)
{
    MakeNodes({ "a", "b", "c" });
    Run("DeleteNode('b'); DeleteNode('zz')");
    EXPECT_EQ(app.dlg().node_count, 2);
    EXPECT_EQ(NodeName(1), "c");
    EXPECT_EQ(broadcasts, 1);
}

TEST_F(Nodes, DialogGlobalsAreSetShownAndUnknownFieldsReported)
{
    EXPECT_EQ(Run("SetDialogGlobals(FIELD_NPC_LOCATION, 'Hub')"),
        L("SetDialogGlobals: Changed npc location to Hub", "Requesting plugins to refresh data."));
    EXPECT_EQ(app.dlg().location, "Hub");
    EXPECT_EQ(Run("SetDialogGlobals(7, 'x')"), L("Unknown field: 7", "Requesting plugins to refresh data."));
    EXPECT_EQ(broadcasts, 2);
    Run("SetDialogGlobals(5, 'Detailed')");
    EXPECT_EQ(app.dlg().detailed_desc, "Detailed");
    auto lines = Run("ShowDialogGlobals");
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[2], "Location:               Hub");
    EXPECT_EQ(lines[6], "description_p_proc:     Detailed");
    EXPECT_EQ(lines[7], "\r\nNumber of nodes:      0");
}

TEST_F(Nodes, SkillChecksAndCustomCode)
{
    MakeNodes({ "a" });
    Run("AddSkillCheck('a', 'lockpick', 9, -10, 'win', 'lose'); AddSkillCheck('nope', 'x', 1, 1, '', '');"
        "SetNodeCustomCode('a', 'display_msg(1);')");
    const dlgnode& n = *app.dlg().nodes[0];
    ASSERT_EQ(n.skill_check_count, 1);
    EXPECT_EQ(n.skill_checks[0]->name, "lockpick");
    EXPECT_EQ(n.skill_checks[0]->skill, 9);
    EXPECT_EQ(n.skill_checks[0]->difficulty_modifier, -10);
    EXPECT_EQ(n.skill_checks[0]->on_failure, "lose");
    EXPECT_EQ(n.custom_code, "display_msg(1);");
    for (int i = 1; i < kMaxSkillChecks; ++i)
        AddSkillCheck(*app.dlg().nodes[0]);
    EXPECT_EQ(Run("AddSkillCheck('a', 'one too many', 1, 1, '', '')").size(), 1u);
    EXPECT_EQ(n.skill_check_count, kMaxSkillChecks);
}

TEST_F(Nodes, WindowFunctionsWithoutTheirWindowSaySo)
{
    MakeNodes({ "a" });
    EXPECT_EQ(Run("EditNode('a')"), L("Launching editnode on a", "EditNode: this feature is not available here."));
    Run("EditNode('b')");
    ASSERT_NE(dialogs.Last(), nullptr);
    EXPECT_EQ(dialogs.Last()->text, "Node b not found!");
    EXPECT_EQ(dialogs.Last()->icon, MsgIcon::Warning);
    Run("Dialoguechangenotify");
    EXPECT_TRUE(app.modified());
}

} // namespace
} // namespace zev::test
