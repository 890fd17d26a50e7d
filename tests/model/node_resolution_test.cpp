#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/log.h"
#include "model/dialog_ops.h"
#include "model/node_resolution.h"
#include "support/log_capture.h"

namespace zev {
namespace {

struct ResolutionFixture : ::testing::Test {
    std::unique_ptr<dialog> d = std::make_unique<dialog>();
    std::vector<std::string> console;
    ConsoleFn out = [this](std::string_view s) { console.emplace_back(s); };
    ~ResolutionFixture() override { Clear(*d); }

    option* Link(dlgnode* from, std::string_view target, std::string_view notes = {})
    {
        option* o = AddOption(*from);
        o->link_target = target;
        o->notes = notes;
        o->text = "to " + std::string(target);
        return o;
    }
};

TEST_F(ResolutionFixture, LinksResolveToTheFirstNodeOfTheExactName)
{
    dlgnode* a = AddNode(*d, "a");
    AddNode(*d, "A");
    AddNode(*d, "a");
    option* toA = Link(a, "a");
    option* toUpper = Link(a, "A");
    option* done = Link(a, "done");
    option* empty = Link(a, "");
    ResolveLinks(*d);
    EXPECT_EQ(toA->link_index, 0);
    EXPECT_EQ(toUpper->link_index, 1);
    EXPECT_EQ(done->link_index, -1);
    EXPECT_EQ(empty->link_index, -1);
}

TEST_F(ResolutionFixture, RenameRewritesLinksAndNotesButNotSkillChecks)
{
    dlgnode* guard = AddNode(*d, "Guard");
    dlgnode* other = AddNode(*d, "Guard2");
    other->notes = "talks to Guard and Guard2";
    option* toGuard = Link(other, "Guard", "see Guard2");
    option* toGuard2 = Link(other, "Guard2", "Guard");
    skillcheck* sc = AddSkillCheck(*other);
    sc->on_success = "Guard";
    AddStartCondition(*d, "Guard", true);
    guard->name = "Boss";
    RemapPlayerOptions(*d, "Guard", "Boss", out);
    EXPECT_EQ(other->notes, "talks to Boss and Boss2");
    EXPECT_EQ(toGuard->link_target, "Boss");
    EXPECT_EQ(toGuard->notes, "see Boss2");
    EXPECT_EQ(toGuard2->link_target, "Guard2"); // a different node
    EXPECT_EQ(toGuard2->notes, "Guard"); // only options linking to the old name
    EXPECT_EQ(sc->on_success, "Guard");
    EXPECT_EQ(d->start_conditions[0]->target_node, "Guard");
    EXPECT_EQ(console,
        (std::vector<std::string> {
            "Remapping player options...", "Node:Guard2:PlayerOpt:0:to Guard", "Guard => Boss" }));
}

TEST_F(ResolutionFixture, NodeDialogRenameTouchesNotesOnlyWithAutoRemap)
{
    Logger log;
    test::LogCapture capture(log);
    dlgnode* n = AddNode(*d, "n");
    n->notes = "old here";
    option* o = Link(n, "old", "old note");
    RemapForNodeDialog(*d, "old", "new", false, log);
    EXPECT_EQ(o->link_target, "new");
    EXPECT_EQ(o->notes, "old note");
    EXPECT_EQ(n->notes, "old here");
    EXPECT_EQ(capture.Messages(),
        (std::vector<std::string> { "Node names differ... Remapping player options.", "Remapped option 0 of node n" }));

    o->link_target = "old";
    RemapForNodeDialog(*d, "old", "new", true, log);
    EXPECT_EQ(o->notes, "new note");
    EXPECT_EQ(n->notes, "new here");
}

TEST_F(ResolutionFixture, SortingIgnoresCaseKeepsContentAndResolvesAgain)
{
    dlgnode* b = AddNode(*d, "b");
    dlgnode* upperA = AddNode(*d, "A");
    dlgnode* c = AddNode(*d, "c");
    option* toC = Link(b, "c");
    ResolveLinks(*d);
    EXPECT_EQ(toC->link_index, 2);
    SortNodes(*d, out);
    EXPECT_EQ(d->nodes[0], upperA);
    EXPECT_EQ(d->nodes[1], b);
    EXPECT_EQ(d->nodes[2], c);
    EXPECT_EQ(toC->link_index, 2);
    EXPECT_EQ(console.back(), "Node sorting complete.");
}

TEST_F(ResolutionFixture, SortingKeepsEveryNodeWhenNamesRepeat)
{
    dlgnode* second = AddNode(*d, "z");
    dlgnode* dup1 = AddNode(*d, "a");
    dlgnode* dup2 = AddNode(*d, "a");
    SortNodes(*d, out);
    ASSERT_EQ(d->node_count, 3);
    EXPECT_EQ(d->nodes[0], dup1);
    EXPECT_EQ(d->nodes[1], dup2);
    EXPECT_EQ(d->nodes[2], second);
}

} // namespace
} // namespace zev
