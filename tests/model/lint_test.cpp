#include <gtest/gtest.h>

#include <memory>

#include "model/dialog_ops.h"
#include "model/lint.h"

namespace zev {
namespace {

struct LintFixture : ::testing::Test {
    std::unique_ptr<dialog> d = std::make_unique<dialog>();
    ~LintFixture() override { Clear(*d); }
    option* Link(dlgnode* n, std::string_view target)
    {
        option* o = AddOption(*n);
        o->link_target = target;
        return o;
    }
};

TEST_F(LintFixture, ACleanDialogueHasNoFindings)
{
    dlgnode* start = AddNode(*d, "Start");
    dlgnode* end = AddNode(*d, "End");
    dlgnode* win = AddNode(*d, "Win");
    Link(start, "End");
    Link(start, "done");
    option* check = Link(start, "Haggle");
    check->to_skill_check = 1;
    skillcheck* sc = AddSkillCheck(*start);
    sc->name = "Haggle";
    sc->skill = 16;
    sc->on_success = "Win";
    sc->on_failure = "combat";
    Link(end, "combat");
    Link(win, "Start");
    AddCustomProc(*d, "helper")->code = "x;\r\n";
    option* proc = Link(end, "helper");
    proc->to_custom_proc = 1;
    EXPECT_EQ(LintDialogue(*d), std::vector<std::string> {});
}

TEST_F(LintFixture, ReportsBrokenLinksNamesAndUnreachableNodes)
{
    dlgnode* start = AddNode(*d, "Start");
    AddNode(*d, "Start");
    AddNode(*d, "bad name");
    AddNode(*d, "Orphan");
    Link(start, "Nowhere");
    Link(start, "");
    Link(start, "Missing")->to_skill_check = 1;
    Link(start, "noproc")->to_custom_proc = 1;
    skillcheck* sc = AddSkillCheck(*start);
    sc->name = "Node"; // a keyword cannot be written bare
    sc->skill = 19;
    sc->on_success = "Start";
    sc->on_failure = "Gone";
    AddStartCondition(*d, "Lost", true);
    AddTimedEvent(*d, "tick");
    AddCustomProc(*d, "p");
    EXPECT_EQ(LintDialogue(*d),
        (std::vector<std::string> {
            "node \"Start\" is defined more than once",
            "node name \"bad name\" is not an identifier of the game script",
            "node \"Start\": skill check name \"Node\" is not an identifier",
            "node \"Start\": skill check \"Node\" uses skill 19, which does not exist",
            "node \"Start\": skill check \"Node\" leads to missing node \"Gone\"",
            "node \"Start\", option 1 links to missing node \"Nowhere\"",
            "node \"Start\", option 2 has no link",
            "node \"Start\", option 3 links to missing skill check \"Missing\"",
            "node \"Start\", option 4 links to missing custom procedure \"noproc\"",
            "start condition 1 leads to missing node \"Lost\"",
            "start condition 1 has no condition lines",
            "timed event \"tick\" has no code lines",
            "custom procedure \"p\" has an empty body",
            "node \"bad name\" is never reached",
            "node \"Orphan\" is never reached",
        }));
}

TEST(LintIdentifiers, FollowTheFileFormatsRule)
{
    EXPECT_TRUE(IsIdentifier("Node_1"));
    EXPECT_TRUE(IsIdentifier("_x"));
    EXPECT_TRUE(IsIdentifier("\xC4rger"));
    EXPECT_FALSE(IsIdentifier("1st"));
    EXPECT_FALSE(IsIdentifier(""));
    EXPECT_FALSE(IsIdentifier("a-b"));
    EXPECT_FALSE(IsIdentifier("options"));
    EXPECT_TRUE(IsIdentifier("Options"));
}

} // namespace
} // namespace zev
