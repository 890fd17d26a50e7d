#include <algorithm>

#include "zevfuncs_fixture.h"

namespace zev::test {
namespace {

using Edits = ZevFuncsFixture;

// SetNodeData(FIELD_NODE_NAME) used to set the name without remapping: the options that linked to
// the old name then linked nowhere. It renames like SetNodeName now.
TEST_F(Edits, RenamingThroughSetNodeDataCarriesTheLinksAlong)
{
    MakeNodes({ "a", "b" }, 1);
    option& toB = *app.dlg().nodes[0]->options[0];
    toB.link_target = "b";
    app.dlg().nodes[0]->notes = "goes to b";
    auto lines = Run("SetNodeData(1, FIELD_NODE_NAME, 'b2')");
    EXPECT_EQ(NodeName(1), "b2");
    EXPECT_EQ(toB.link_target, "b2");
    EXPECT_EQ(toB.link_index, 1);
    EXPECT_EQ(app.dlg().nodes[0]->notes, "goes to b2");
    EXPECT_EQ(lines, L("Remapping player options...", "Node:a:PlayerOpt:0:Option 0", "b => b2"));
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(broadcasts, 1);
}

TEST_F(Edits, EmptyAndTakenNamesAreRefusedByEveryRenameAndAdd)
{
    MakeNodes({ "a", "b" }, 1);
    app.dlg().nodes[1]->options[0]->link_target = "a";
    const std::string empty = "Error! A node needs a name; empty node names are not allowed.";
    EXPECT_EQ(Run("SetNodeName('a', '')"), L(empty));
    EXPECT_EQ(Run("SetNodeData(0, FIELD_NODE_NAME, '')"), L(empty));
    EXPECT_EQ(Run("AddNode('', 'x', 'y')"), L(empty));
    EXPECT_EQ(Run("AddNodeNoRefresh('', 'x', 'y')"), L(empty));
    EXPECT_EQ(Run("SetNodeData(0, FIELD_NODE_NAME, 'b')"), L("Error! Node b already exists!"));
    EXPECT_EQ(NodeName(0), "a");
    EXPECT_EQ(app.dlg().nodes[1]->options[0]->link_target, "a");
    EXPECT_EQ(app.dlg().node_count, 2);
    EXPECT_EQ(refreshes, 0);
    EXPECT_EQ(broadcasts, 0);
    // Names compare exactly: another case is another name.
    Run("SetNodeName('a', 'B')");
    EXPECT_EQ(NodeName(0), "B");
}

TEST_F(Edits, ARenameToTheSameNameIsReportedButTouchesNothing)
{
    MakeNodes({ "a" }, 1);
    app.dlg().nodes[0]->options[0]->link_target = "a";
    EXPECT_EQ(Run("SetNodeName('a', 'a')"), L("Renamed a to a"));
    EXPECT_TRUE(Run("SetNodeData(0, FIELD_NODE_NAME, 'a')").empty());
    EXPECT_EQ(NodeName(0), "a");
    EXPECT_EQ(broadcasts, 1); // SetNodeData notifies whatever the field
}

TEST_F(Edits, FullTablesAreReportedWithTheTextsScriptsAlwaysSaw)
{
    MakeNodes({ "a" });
    dlgnode& a = *app.dlg().nodes[0];
    while (AddOption(a)) { }
    while (AddSkillCheck(a)) { }
    EXPECT_EQ(Run("AddPlayerOption('a', 'x', 'a', '')"),
        L("Error: node \"a\" already holds 513 player options; nothing was added."));
    EXPECT_EQ(Run("AddSkillCheck('a', 'x', 1, 1, '', '')"),
        L("Error! Node a already holds 21 skill checks; nothing was added."));

    Run("AddFloatNode('f', ''); AddTimedEvent('t', 1, 2)");
    for (int i = 0; i < kMaxFloatMessages; ++i)
        AddFloatMessage(*app.dlg().float_nodes[0], "m");
    for (int i = 0; i < kMaxTimedEventLines; ++i)
        AddTimedEventLine(*app.dlg().timed_events[0], "x;");
    EXPECT_EQ(Run("AddMSGToFloatNode('f', 'one more')"),
        L("Error! Float node \"f\" already holds 257 messages; nothing was added."));
    EXPECT_EQ(Run("AddCodeToEvent('t', 'y;')"),
        L("Error! Timed event \"t\" already holds 65 code lines; nothing was added."));

    while (AddFloatNode(app.dlg(), "g")) { }
    while (AddTimedEvent(app.dlg(), "u")) { }
    EXPECT_EQ(
        Run("AddFloatNode('h', '')"), L("Error! The float node table is full (513 float nodes); \"h\" was not added."));
    EXPECT_EQ(
        Run("AddTimedEvent('v', 1, 2)"), L("Error! The timed event table is full (129 events); \"v\" was not added."));
    EXPECT_EQ(a.option_count, kMaxOptions);
    EXPECT_EQ(broadcasts, 0);
}

TEST_F(Edits, NodeSortReportsOnce)
{
    MakeNodes({ "b", "a" });
    auto lines = Run("DoNodeSort");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Node sorting complete."), 1);
}

// Every function of the table, called with arguments that name nothing, on an empty dialogue:
// each runs to its end without a script error.
struct EveryFunction : ZevFuncsFixture {
    struct Windows : CoreWindows {
        bool Launch(const LaunchRequest&) override { return false; }
    } windows;
    void Attach() override { app.SetWindows(&windows); }

    std::string CallOf(const script::HostFunction& f)
    {
        std::string args;
        for (const script::HostParam& p : f.params) {
            args += args.empty() ? "(" : ", ";
            if (p.type == script::HostType::String)
                args += "'" + dir.File("none") + "'";
            else
                args += p.type == script::HostType::Integer ? "-1" : "False";
        }
        return f.name + (args.empty() ? "" : args + ")");
    }
};

TEST_F(EveryFunction, RunsOnAnEmptyDialogueWithArgumentsThatNameNothing)
{
    const script::HostUnit* unit = host.engine().FindUnit("ZEVFuncs");
    ASSERT_NE(unit, nullptr);
    for (const script::HostFunction& f : unit->functions()) {
        std::string call = CallOf(f);
        SCOPED_TRACE(call);
        Run(call);
    }
    EXPECT_EQ(unit->functions().size(), 73u);
}

} // namespace
} // namespace zev::test
