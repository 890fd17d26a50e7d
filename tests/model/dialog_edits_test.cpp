#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/log.h"
#include "model/dialog_edits.h"
#include "model/dialog_ops.h"
#include "support/log_capture.h"

namespace zev {
namespace {

struct Edits : ::testing::Test {
    std::unique_ptr<dialog> owned = std::make_unique<dialog>();
    dialog& d = *owned;
    std::vector<std::string> console;
    ConsoleFn out = [this](std::string_view s) { console.emplace_back(s); };
    ~Edits() override { Clear(d); }

    option* Link(dlgnode* from, std::string_view target, std::string_view notes = {})
    {
        option* o = AddOption(*from);
        o->link_target = target;
        o->notes = notes;
        o->text = "to " + std::string(target);
        return o;
    }
};

TEST_F(Edits, NodeNamesMustBeNonEmptyAndUniqueComparedExactly)
{
    AddNode(d, "Guard");
    AddNode(d, "Boss");
    AddNode(d, "Guard"); // a file may repeat a name; every holder counts

    EXPECT_EQ(CheckNodeName(d, "", -1).status, EditStatus::EmptyName);
    EditResult taken = CheckNodeName(d, "Boss");
    EXPECT_EQ(taken.status, EditStatus::NameTaken);
    EXPECT_EQ(taken.index, 1);
    EXPECT_EQ(taken.name, "Boss");
    EXPECT_TRUE(CheckNodeName(d, "Boss", 1).ok()); // keeping its own name
    EXPECT_TRUE(CheckNodeName(d, "boss").ok());
    EXPECT_TRUE(CheckNodeName(d, "Boss ").ok());
    EXPECT_EQ(CheckNodeName(d, "Guard", 0).index, 2);
    EXPECT_EQ(CheckNodeName(d, "Guard", 2).index, 0);
}

TEST_F(Edits, RenameInPlaceCarriesLinksAndNotesAndResolvesAgain)
{
    dlgnode* guard = AddNode(d, "Guard");
    dlgnode* other = AddNode(d, "other");
    other->notes = "ask the Guard";
    option* toGuard = Link(other, "Guard", "Guard knows");
    option* early = Link(other, "Boss"); // named the new name before it existed
    ResolveLinks(d);
    ASSERT_EQ(early->link_index, -1);

    EditResult r = RenameNode(d, 0, "Boss", RemapMode::InPlace, out);
    EXPECT_EQ(r.status, EditStatus::Done);
    EXPECT_EQ(guard->name, "Boss");
    EXPECT_EQ(toGuard->link_target, "Boss");
    EXPECT_EQ(toGuard->notes, "Boss knows");
    EXPECT_EQ(other->notes, "ask the Boss");
    EXPECT_EQ(toGuard->link_index, 0);
    EXPECT_EQ(early->link_index, 0);
    EXPECT_EQ(console,
        (std::vector<std::string> {
            "Remapping player options...", "Node:other:PlayerOpt:0:to Guard", "Guard => Boss" }));
}

TEST_F(Edits, RefusedAndSameNameRenamesChangeNothing)
{
    dlgnode* a = AddNode(d, "a");
    AddNode(d, "b");
    option* toA = Link(a, "a", "a");

    EditResult taken = RenameNode(d, 0, "b", RemapMode::InPlace, out);
    EXPECT_EQ(taken.status, EditStatus::NameTaken);
    EXPECT_EQ(taken.index, 1);
    EXPECT_EQ(RenameNode(d, 0, "", RemapMode::InPlace, out).status, EditStatus::EmptyName);
    EXPECT_EQ(RenameNode(d, 2, "c", RemapMode::InPlace, out).status, EditStatus::NoSuchRecord);
    EXPECT_EQ(RenameNode(d, -1, "c", RemapMode::InPlace, out).status, EditStatus::NoSuchRecord);
    EditResult same = RenameNode(d, 0, "a", RemapMode::InPlace, out);
    EXPECT_EQ(same.status, EditStatus::Unchanged);
    EXPECT_TRUE(same.ok());

    EXPECT_EQ(a->name, "a");
    EXPECT_EQ(toA->link_target, "a");
    EXPECT_EQ(toA->notes, "a");
    EXPECT_TRUE(console.empty());
}

TEST_F(Edits, RenamingANamelessNodeLeavesEmptyLinksEmpty)
{
    dlgnode* nameless = AddNode(d, "");
    dlgnode* n = AddNode(d, "n");
    option* unset = Link(n, "");
    EXPECT_EQ(RenameNode(d, 0, "named", RemapMode::InPlace, out).status, EditStatus::Done);
    EXPECT_EQ(nameless->name, "named");
    EXPECT_TRUE(unset->link_target.empty());
    EXPECT_EQ(unset->link_index, -1);
}

TEST_F(Edits, TheNodeDialogRenameLogsAndTouchesNotesOnlyWhenAsked)
{
    Logger log;
    test::LogCapture capture(log);
    dlgnode* n = AddNode(d, "old");
    n->notes = "old notes";
    option* o = Link(n, "old", "old link");

    EXPECT_EQ(RenameNode(d, 0, "new", NodeDialogRemap(false), out, &log).status, EditStatus::Done);
    EXPECT_EQ(o->link_target, "new");
    EXPECT_EQ(o->notes, "old link");
    EXPECT_EQ(n->notes, "old notes");
    EXPECT_EQ(capture.Messages(),
        (std::vector<std::string> {
            "Node names differ... Remapping player options.", "Remapped option 0 of node new" }));
    EXPECT_TRUE(console.empty());

    n->notes = "new notes";
    o->notes = "new link";
    EXPECT_EQ(RenameNode(d, 0, "newer", NodeDialogRemap(true), out).status, EditStatus::Done); // no log: quiet
    EXPECT_EQ(o->link_target, "newer");
    EXPECT_EQ(o->notes, "newer link");
    EXPECT_EQ(n->notes, "newer notes");
}

TEST_F(Edits, ANewNameMayBeReadFromATextTheRenameRewrites)
{
    AddNode(d, "a");
    dlgnode* b = AddNode(d, "b");
    option* o = Link(b, "a", "za");
    // The remap replaces these notes while the name is still wanted.
    EXPECT_EQ(RenameNode(d, 0, o->notes.view(), RemapMode::InPlace, out).status, EditStatus::Done);
    EXPECT_EQ(d.nodes[0]->name, "za");
    EXPECT_EQ(o->link_target, "za");
    EXPECT_EQ(o->notes, "zza");
    EXPECT_EQ(RenameNode(d, 1, o->link_target.view(), RemapMode::InPlace, out).status, EditStatus::NameTaken);
}

TEST_F(Edits, AddingANodeAppliesTheNameRulesBeforeTheCapacity)
{
    Added<dlgnode> first = TryAddNode(d, "a");
    ASSERT_TRUE(first);
    EXPECT_EQ(first.record, d.nodes[0]);
    EXPECT_EQ(first.record->name, "a");
    EXPECT_EQ(TryAddNode(d, "a").result.status, EditStatus::NameTaken);
    EXPECT_EQ(RefusalText(TryAddNode(d, "a").result), "Error! Node a already exists!");
    EXPECT_EQ(TryAddNode(d, "").result.status, EditStatus::EmptyName);
    EXPECT_EQ(d.node_count, 1);

    for (int i = 1; i < kMaxNodes; ++i)
        ASSERT_TRUE(TryAddNode(d, "n" + std::to_string(i)));
    Added<dlgnode> full = TryAddNode(d, "extra");
    EXPECT_FALSE(full);
    EXPECT_EQ(full.result.status, EditStatus::TableFull);
    EXPECT_EQ(RefusalText(full.result), "Error! The node table is full (513 nodes); \"extra\" was not added.");
    EXPECT_EQ(TryAddNode(d, "a").result.status, EditStatus::NameTaken); // the name is the first complaint
    EXPECT_EQ(d.node_count, kMaxNodes);
}

TEST_F(Edits, EveryTableRefusesWhenFullWithItsOwnText)
{
    dlgnode* n = AddNode(d, "n");
    while (TryAddOption(*n)) { }
    while (TryAddSkillCheck(*n)) { }
    Added<option> option = TryAddOption(*n);
    Added<skillcheck> check = TryAddSkillCheck(*n);
    EXPECT_EQ(n->option_count, kMaxOptions);
    EXPECT_EQ(n->skill_check_count, kMaxSkillChecks);
    EXPECT_EQ(option.result.table, EditTable::Options);
    EXPECT_EQ(RefusalText(option.result), "Error: node \"n\" already holds 513 player options; nothing was added.");
    EXPECT_EQ(RefusalText(check.result), "Error! Node n already holds 21 skill checks; nothing was added.");

    Added<floatnode> f = TryAddFloatNode(d, "f");
    ASSERT_TRUE(f);
    while (TryAddFloatMessage(*f.record, "m").ok()) { }
    EXPECT_EQ(f.record->message_count, kMaxFloatMessages);
    EXPECT_EQ(RefusalText(TryAddFloatMessage(*f.record, "m")),
        "Error! Float node \"f\" already holds 257 messages; nothing was added.");
    for (int i = 1; i < kMaxFloatNodes; ++i)
        ASSERT_TRUE(TryAddFloatNode(d, "f" + std::to_string(i)));
    EXPECT_EQ(RefusalText(TryAddFloatNode(d, "g").result),
        "Error! The float node table is full (513 float nodes); \"g\" was not added.");

    Added<time_event_data> e = TryAddTimedEvent(d, "t");
    ASSERT_TRUE(e);
    while (TryAddTimedEventLine(*e.record, "x;")) { }
    EXPECT_EQ(e.record->code_line_count, kMaxTimedEventLines);
    EXPECT_EQ(RefusalText(TryAddTimedEventLine(*e.record, "x;").result),
        "Error! Timed event \"t\" already holds 65 code lines; nothing was added.");
    while (TryAddTimedEvent(d, "t")) { }
    EXPECT_EQ(d.timed_event_count, kMaxTimedEvents);
    EXPECT_EQ(RefusalText(TryAddTimedEvent(d, "u").result),
        "Error! The timed event table is full (129 events); \"u\" was not added.");
}

TEST_F(Edits, FloatNodeNamesAreUniqueAmongFloatNodes)
{
    AddNode(d, "shared");
    ASSERT_TRUE(TryAddFloatNode(d, "shared"));
    ASSERT_TRUE(TryAddFloatNode(d, "Hawk"));
    Added<floatnode> again = TryAddFloatNode(d, "Hawk");
    EXPECT_FALSE(again);
    EXPECT_EQ(again.result.index, 1);
    EXPECT_EQ(RefusalText(again.result), "The specified float node already exists at index 1");
    EXPECT_EQ(d.float_node_count, 2);
}

TEST_F(Edits, SuccessHasNoRefusalText)
{
    EXPECT_EQ(RefusalText(TryAddNode(d, "a").result), "");
    EXPECT_EQ(RefusalText(RenameNode(d, 0, "a", RemapMode::InPlace, out)), "");
    EXPECT_NE(RefusalText(RenameNode(d, 0, "", RemapMode::InPlace, out)), "");
}

} // namespace
} // namespace zev
