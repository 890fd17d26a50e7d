#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/log.h"
#include "model/dialog_ops.h"
#include "support/log_capture.h"

namespace zev {
namespace {

// A dialogue that frees what it owns at the end of each test.
struct OwnedDialog {
    std::unique_ptr<dialog> d = std::make_unique<dialog>();
    ~OwnedDialog() { Clear(*d); }
    dialog& operator*() { return *d; }
    dialog* operator->() { return d.get(); }
};

std::string Name(int i)
{
    return "n" + std::to_string(i);
}

TEST(Lookups, CompareNamesExactlyAndReturnTheFirstMatch)
{
    OwnedDialog d;
    AddNode(*d, "a");
    AddNode(*d, "A");
    AddNode(*d, "a"); // duplicates are the editors' business; lookups take the first
    EXPECT_EQ(FindNodeIndex(*d, "a"), 0);
    EXPECT_EQ(FindNodeIndex(*d, "A"), 1);
    EXPECT_EQ(FindNodeIndex(*d, "b"), -1);
    EXPECT_EQ(FindNodeIndex(*d, ""), -1);
    EXPECT_EQ(FindNodeIndexIn("A", *d), 1);

    AddFloatNode(*d, "Float");
    AddTimedEvent(*d, "timer");
    AddVariable(*d, "Var");
    AddCustomProc(*d, "proc");
    EXPECT_EQ(FindFloatNodeIndex(*d, "float"), -1);
    EXPECT_EQ(FindFloatNodeIndex(*d, "Float"), 0);
    EXPECT_EQ(FindTimedEventIndex(*d, "timer"), 0);
    EXPECT_EQ(FindVariableIndexIn("var", *d), -1);
    EXPECT_EQ(FindVariableIndexIn("Var", *d), 0);
    EXPECT_EQ(FindCustomProcIndex(*d, "proc"), 0);
}

TEST(Lookups, SkillCheckIsFoundInTheLowestNumberedNode)
{
    OwnedDialog d;
    dlgnode* first = AddNode(*d, "first");
    dlgnode* second = AddNode(*d, "second");
    AddSkillCheck(*second)->name = "sc";
    AddSkillCheck(*first)->name = "other";
    AddSkillCheck(*first)->name = "sc";
    int node = 99;
    EXPECT_EQ(FindSkillCheck(*d, "sc", node), 1);
    EXPECT_EQ(node, 0);
    EXPECT_EQ(FindSkillCheck(*d, "SC", node), -1);
    EXPECT_EQ(node, -1);

    RemoveSkillCheck(*d, "sc"); // removes the first one only, and frees it
    EXPECT_EQ(first->skill_check_count, 1);
    EXPECT_EQ(FindSkillCheck(*d, "sc", node), 0);
    EXPECT_EQ(node, 1);
    RemoveSkillCheck(*d, "missing");
    EXPECT_EQ(second->skill_check_count, 1);
}

TEST(Capacity, EveryTableTakesItsLastEntryAndRefusesTheNext)
{
    OwnedDialog d;
    for (int i = 0; i < kMaxNodes; ++i)
        ASSERT_NE(AddNode(*d, Name(i)), nullptr) << i;
    EXPECT_EQ(d->node_count, 513);
    EXPECT_EQ(AddNode(*d, "one too many"), nullptr);
    EXPECT_EQ(d->node_count, 513);
    EXPECT_EQ(FindNodeIndex(*d, "n512"), 512);

    dlgnode& n = *d->nodes[0];
    for (int i = 0; i < kMaxOptions; ++i)
        ASSERT_NE(AddOption(n), nullptr);
    EXPECT_EQ(AddOption(n), nullptr);
    for (int i = 0; i < kMaxSkillChecks; ++i)
        ASSERT_NE(AddSkillCheck(n), nullptr);
    EXPECT_EQ(AddSkillCheck(n), nullptr);
    option& o = *n.options[0];
    for (int i = 0; i < kMaxConditions; ++i)
        ASSERT_NE(AddCondition(o), nullptr);
    EXPECT_EQ(AddCondition(o), nullptr);
    EXPECT_EQ(o.condition_count, 65);

    for (int i = 0; i < kMaxFloatNodes; ++i)
        ASSERT_NE(AddFloatNode(*d, Name(i)), nullptr);
    EXPECT_EQ(AddFloatNode(*d, "x"), nullptr);
    floatnode& f = *d->float_nodes[0];
    for (int i = 0; i < kMaxFloatMessages; ++i)
        ASSERT_TRUE(AddFloatMessage(f, "m"));
    EXPECT_FALSE(AddFloatMessage(f, "m"));

    for (int i = 0; i < kMaxTimedEvents; ++i)
        ASSERT_NE(AddTimedEvent(*d, Name(i)), nullptr);
    EXPECT_EQ(AddTimedEvent(*d, "x"), nullptr);
    time_event_data& e = *d->timed_events[0];
    for (int i = 0; i < kMaxTimedEventLines; ++i)
        ASSERT_NE(AddTimedEventLine(e, "line"), nullptr);
    EXPECT_EQ(AddTimedEventLine(e, "line"), nullptr);

    for (int i = 0; i < kMaxStartConditions; ++i)
        ASSERT_NE(AddStartCondition(*d, "t", false), nullptr);
    EXPECT_EQ(AddStartCondition(*d, "t", true), nullptr);
    EXPECT_EQ(d->default_condition, 0); // a refused add does not move the default
    for (int i = 0; i < kMaxStartConditionLines; ++i)
        ASSERT_NE(AddStartConditionLine(*d, 0, "s", "v", 1, "1", 0, 0), nullptr);
    EXPECT_EQ(AddStartConditionLine(*d, 0, "s", "v", 1, "1", 0, 0), nullptr);

    for (int i = 0; i < kMaxCustomProcs; ++i)
        ASSERT_NE(AddCustomProc(*d, Name(i)), nullptr);
    EXPECT_EQ(AddCustomProc(*d, "x"), nullptr);
    for (int i = 0; i < kMaxVariables; ++i)
        ASSERT_NE(AddVariable(*d, Name(i)), nullptr);
    EXPECT_EQ(AddVariable(*d, "x"), nullptr);
    EXPECT_EQ(d->variable_count, 1001);
}

TEST(Capacity, ACorruptCountIsTreatedAsFull)
{
    OwnedDialog d;
    d->node_count = -5;
    EXPECT_EQ(AddNode(*d, "x"), nullptr);
    d->node_count = 0;
}

TEST(Removal, ShiftsLaterEntriesDownAndHandsBackTheRecord)
{
    OwnedDialog d;
    dlgnode* a = AddNode(*d, "a");
    AddNode(*d, "b");
    AddNode(*d, "c");
    dlgnode* removed = RemoveNodeAt(*d, 0);
    EXPECT_EQ(removed, a);
    ASSERT_EQ(d->node_count, 2);
    EXPECT_EQ(d->nodes[0]->name, "b");
    EXPECT_EQ(d->nodes[1]->name, "c");
    FreeNode(removed);

    dlgnode* last = d->nodes[1];
    EXPECT_EQ(RemoveNodeAt(*d, 1), last); // the last entry: only the count changes for the rest
    EXPECT_EQ(d->node_count, 1);
    EXPECT_EQ(d->nodes[0]->name, "b");
    FreeNode(last);

    EXPECT_EQ(RemoveNodeAt(*d, 1), nullptr);
    EXPECT_EQ(RemoveNodeAt(*d, -1), nullptr);
    EXPECT_EQ(d->node_count, 1);
}

TEST(Removal, NestedTablesAndFloatMessages)
{
    OwnedDialog d;
    dlgnode* n = AddNode(*d, "n");
    for (int i = 0; i < 3; ++i)
        AddOption(*n)->text = Name(i);
    for (int i = 0; i < 3; ++i)
        AddCondition(*n->options[2])->value = std::to_string(i);
    FreeOption(RemoveOptionAt(*d, 0, 1));
    ASSERT_EQ(n->option_count, 2);
    EXPECT_EQ(n->options[1]->text, "n2");
    delete RemoveConditionAt(*d, 0, 1, 0);
    ASSERT_EQ(n->options[1]->condition_count, 2);
    EXPECT_EQ(n->options[1]->conditions[0]->value, "1");
    EXPECT_EQ(RemoveConditionAt(*d, 0, 5, 0), nullptr);
    EXPECT_EQ(RemoveOptionAt(*d, 3, 0), nullptr);

    floatnode* f = AddFloatNode(*d, "f");
    for (const char* m : { "one", "two", "three" })
        AddFloatMessage(*f, m);
    EXPECT_TRUE(RemoveFloatMessageAt(*d, 0, 0));
    ASSERT_EQ(f->message_count, 2);
    EXPECT_EQ(f->messages[0], "two");
    EXPECT_EQ(f->messages[1], "three");
    EXPECT_TRUE(f->messages[2].empty());
    EXPECT_FALSE(RemoveFloatMessageAt(*d, 0, 2));
    EXPECT_FALSE(RemoveFloatMessageAt(*d, 1, 0));

    time_event_data* e = AddTimedEvent(*d, "t");
    AddTimedEventLine(*e, "a");
    AddTimedEventLine(*e, "b");
    EXPECT_TRUE(RemoveTimedEventLineAt(*e, 0));
    EXPECT_EQ(e->code[0]->line, "b");
    EXPECT_FALSE(RemoveTimedEventLineAt(*e, 1));
}

TEST(StartConditions, DefaultFollowsItsEntryThroughRemovals)
{
    OwnedDialog d;
    AddStartCondition(*d, "s0", false);
    AddStartCondition(*d, "s1", false);
    AddStartCondition(*d, "s2", true);
    AddStartCondition(*d, "s3", false);
    EXPECT_EQ(d->default_condition, 2);

    FreeStartCondition(RemoveStartConditionAt(*d, 3)); // a later one: unchanged
    EXPECT_EQ(d->default_condition, 2);
    FreeStartCondition(RemoveStartConditionAt(*d, 0)); // an earlier one: follows
    EXPECT_EQ(d->default_condition, 1);
    EXPECT_EQ(d->start_conditions[d->default_condition]->target_node, "s2");
    FreeStartCondition(RemoveStartConditionAt(*d, 1)); // the default itself: none
    EXPECT_EQ(d->default_condition, -1);
    EXPECT_EQ(RemoveStartConditionAt(*d, 5), nullptr);
    EXPECT_EQ(d->default_condition, -1);
}

TEST(StartConditions, LinesAreAddedSetAndRemovedByIndex)
{
    OwnedDialog d;
    AddStartCondition(*d, "start", false);
    cond_data* line = AddStartConditionLine(*d, 0, "ssl1", "var", 5, "3", 2, LINK_AND);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->eval, 5);
    EXPECT_EQ(line->link, LINK_AND);
    EXPECT_TRUE(SetStartConditionLine(*d, 0, 0, "ssl2", "", 1, "x", 4, LINK_OR));
    EXPECT_EQ(line->ssl, "ssl2");
    EXPECT_EQ(line->var_param, "");
    EXPECT_EQ(line->ini_index, 4);
    EXPECT_FALSE(SetStartConditionLine(*d, 0, 1, "s", "", 1, "", 0, 0));
    EXPECT_FALSE(SetStartConditionLine(*d, 1, 0, "s", "", 1, "", 0, 0));
    EXPECT_EQ(AddStartConditionLine(*d, -1, "s", "", 1, "", 0, 0), nullptr);
    delete RemoveStartConditionLineAt(*d, 0, 0);
    EXPECT_EQ(d->start_conditions[0]->line_count, 0);
}

TEST(Release, LogsAndFreesEverythingTheDialogueOwns)
{
    OwnedDialog d;
    Logger log;
    test::LogCapture capture(log);
    for (int i = 0; i < 3; ++i) {
        dlgnode* n = AddNode(*d, Name(i));
        AddSkillCheck(*n)->name = "sc";
        AddCondition(*AddOption(*n));
    }
    delete d->nodes[1]->options[0]->conditions[0]; // a careless editor freed it but kept the count
    d->nodes[1]->options[0]->conditions[0] = nullptr;
    AddOption(*d->nodes[2]);
    delete d->nodes[2]->options[1];
    d->nodes[2]->options[1] = nullptr;
    AddStartConditionLine(*d, 0, "", "", 0, "", 0, 0);
    AddStartCondition(*d, "n0", true);
    AddStartConditionLine(*d, 0, "s", "", 1, "", 0, 0);
    AddFloatNode(*d, "f");
    AddTimedEventLine(*AddTimedEvent(*d, "t"), "x");
    AddCustomProc(*d, "p");
    AddVariable(*d, "v")->value.SetString("text");

    Release(*d, log);
    EXPECT_EQ(capture.Messages(),
        (std::vector<std::string> {
            "Deallocating dialog node pointers",
            "Not deallocating null condition pointer 0",
            "NODE:2:OPT:1: Already null pointer, not going to do anything!",
            "disposed 3 nodes.",
        }));
    for (auto& [msg, category] : capture.lines)
        EXPECT_EQ(category, "MainApp");
    // Nothing freed stays reachable (the sanitizer build checks that nothing leaked).
    EXPECT_EQ(d->node_count, 0);
    EXPECT_EQ(d->float_node_count, 0);
    EXPECT_EQ(d->timed_event_count, 0);
    EXPECT_EQ(d->start_condition_count, 0);
    EXPECT_EQ(d->custom_proc_count, 0);
    EXPECT_EQ(d->variable_count, 0);
}

TEST(Release, WithNoNodesLogsTwoLinesAndFreesNothing)
{
    OwnedDialog d;
    Logger log;
    test::LogCapture capture(log);
    AddFloatNode(*d, "kept");
    Release(*d, log);
    EXPECT_EQ(capture.Messages(),
        (std::vector<std::string> {
            "Deallocating dialog node pointers",
            "No nodes to deallocate, exiting procedure for safety.",
        }));
    ASSERT_EQ(d->float_node_count, 1);
    EXPECT_EQ(d->float_nodes[0]->name, "kept");
}

TEST(Clear, EmptiesEveryField)
{
    OwnedDialog d;
    d->npc_name = "Npc";
    d->file_name = "x.zev";
    d->default_event = 3;
    AddStartCondition(*d, "a", true);
    AddStartCondition(*d, "b", true);
    AddNode(*d, "n");
    Clear(*d);
    EXPECT_TRUE(d->npc_name.empty());
    EXPECT_TRUE(d->file_name.empty());
    EXPECT_EQ(d->default_event, 0);
    EXPECT_EQ(d->default_condition, 0);
    EXPECT_EQ(d->node_count, 0);
    EXPECT_EQ(d->start_condition_count, 0);
    EXPECT_NE(AddNode(*d, "again"), nullptr);
}

TEST(PluginCopies, SharedCopySharesRecordsAndSnapshotsTexts)
{
    OwnedDialog d;
    d->npc_name = "Npc";
    AddNode(*d, "a");
    AddFloatNode(*d, "f");
    dialog* copy = CopyDialogShared(*d);
    EXPECT_EQ(copy->nodes[0], d->nodes[0]);
    EXPECT_EQ(copy->float_nodes[0], d->float_nodes[0]);
    EXPECT_EQ(copy->node_count, 1);
    d->npc_name = "Renamed";
    EXPECT_EQ(copy->npc_name, "Npc");
    FreeDialogShared(copy); // must not free the shared records
    EXPECT_EQ(d->nodes[0]->name, "a");
}

TEST(PluginCopies, OldFormatCopiesNodesButSharesTheirOptions)
{
    OwnedDialog d;
    d->detailed_desc = "details";
    for (const char* n : { "one", "two", "three" })
        AddOption(*AddNode(*d, n))->text = "opt";
    dialog_oldformat* copy = CopyDialogOldFormat(*d);
    ASSERT_EQ(copy->node_count, 3);
    EXPECT_EQ(copy->detailed_desc, "details");
    EXPECT_NE(copy->nodes[0], d->nodes[0]);
    EXPECT_EQ(copy->nodes[0]->options[0], d->nodes[0]->options[0]);
    d->nodes[1]->name = "renamed";
    EXPECT_EQ(copy->nodes[1]->name, "two");
    FreeDialogOldFormat(copy);
    EXPECT_EQ(d->nodes[0]->options[0]->text, "opt");
}

} // namespace
} // namespace zev
