#include "zevfuncs_fixture.h"

namespace zev::test {
namespace {

using Options = ZevFuncsFixture;

TEST_F(Options, AddPlayerOptionAppendsANeutralOptionAndResolvesItsLink)
{
    MakeNodes({ "a", "b" });
    EXPECT_TRUE(Run("AddPlayerOption('a', 'Hi', 'b', 'note')").empty());
    const option& o = *app.dlg().nodes[0]->options[0];
    EXPECT_EQ(o.text, "Hi");
    EXPECT_EQ(o.link_target, "b");
    EXPECT_EQ(o.link_index, 1);
    EXPECT_EQ(o.notes, "note");
    EXPECT_EQ(o.reaction, REACTION_NEUTRAL);
    EXPECT_EQ(o.gender, GENDER_ANY);
    EXPECT_EQ(o.intelligence, 4);
    EXPECT_EQ(broadcasts, 1);
    EXPECT_EQ(refreshes, 0);
    EXPECT_EQ(Run("AddPlayerOption('zz', 'Hi', 'b', '')"), L("Error: requested node \"zz\" does not exist!"));
}

TEST_F(Options, FieldsByNameAndIndexWithDefaultsOutsideTheTable)
{
    MakeNodes({ "a" }, 2);
    Run("SetPlayerOptionStringData('a', 1, FIELD_PLAYEROPTION_OPTIONTEXT, 'new text');"
        "SetPlayerOptionStringData('a', 1, FIELD_PLAYEROPTION_NOTES, 'n');"
        "SetPlayerOptionIntegerData('a', 1, FIELD_PLAYEROPTION_REACTION, REACTION_BAD);"
        "SetPlayerOptionIntegerData('a', 1, FIELD_PLAYEROPTION_INTCHECK, 7);"
        "SetPlayerOptionIntegerData('a', 2, FIELD_PLAYEROPTION_INTCHECK, 9);"
        "SetPlayerOptionStringData('a', 0, FIELD_PLAYEROPTION_REACTION, 'ignored')");
    const option& o = *app.dlg().nodes[0]->options[1];
    EXPECT_EQ(o.text, "new text");
    EXPECT_EQ(o.notes, "n");
    EXPECT_EQ(o.reaction, REACTION_BAD);
    EXPECT_EQ(o.intelligence, 7);
    EXPECT_EQ(broadcasts, 0);
    EXPECT_EQ(
        Run("Print(GetPlayerOptionStringData('a', 1, 10)); Print(IntToStr(GetPlayerOptionIntegerData('a', 1, 11)));"
            "Print('[' + GetPlayerOptionStringData('a', 5, 10) + ']');"
            "Print('[' + GetPlayerOptionStringData('A', 0, 10) + ']');"
            "Print(IntToStr(GetPlayerOptionIntegerData('a', -1, 14)));"
            "Print(IntToStr(GetPlayerOptionIntegerData('a', 0, 13)))"),
        L("new text", "2", "[]", "[]", "0", "0"));
}

TEST_F(Options, MoveNodelinkToNotesKeepsTheOldLinkOnANewLine)
{
    MakeNodes({ "a", "b" }, 2);
    option& o = *app.dlg().nodes[0]->options[0];
    o.link_target = "oldskill";
    o.to_skill_check = 1;
    o.notes = "keep";
    Run("MoveNodelinkToNotes(0, 0, 'b')");
    EXPECT_EQ(o.notes, "keep\\noldskill");
    EXPECT_EQ(o.link_target, "b");
    EXPECT_EQ(o.link_index, 1);
    EXPECT_EQ(o.to_skill_check, 0);
    EXPECT_EQ(broadcasts, 1);
    // Empty notes take the link alone; bad indices change nothing.
    Run("MoveNodelinkToNotes(0, 1, 'a'); MoveNodelinkToNotes(0, 2, 'x'); MoveNodelinkToNotes(5, 0, 'x')");
    EXPECT_EQ(app.dlg().nodes[0]->options[1]->notes, "done");
    EXPECT_EQ(o.link_target, "b");
    EXPECT_EQ(broadcasts, 2);

    Run("SetPlayerOptionLink(1, 0, 'a'); SetPlayerOptionLink(1, 9, 'a')");
    EXPECT_EQ(app.dlg().nodes[1]->options[0]->link_target, "a");
    EXPECT_EQ(app.dlg().nodes[1]->options[0]->link_index, 0);
    EXPECT_EQ(broadcasts, 3);
}

TEST_F(Options, SkillCheckLinksAndDeletion)
{
    MakeNodes({ "a" }, 3);
    option& o = *app.dlg().nodes[0]->options[1];
    o.to_custom_proc = 1;
    Run("SetOptionToSkillCheck('a', 1, 'lockpick')");
    EXPECT_EQ(o.to_custom_proc, 0);
    EXPECT_EQ(o.to_skill_check, 1);
    EXPECT_EQ(o.link_target, "lockpick");
    Run("DeletePlayerOption('a', 0); DeletePlayerOption('a', 5); DeletePlayerOption('b', 0)");
    ASSERT_EQ(app.dlg().nodes[0]->option_count, 2);
    EXPECT_EQ(app.dlg().nodes[0]->options[0]->link_target, "lockpick");
    EXPECT_EQ(broadcasts, 1);
    EXPECT_EQ(Run("EditPlayerOption('a', 0)"), L("EditPlayerOption: this feature is not available here."));
}

} // namespace
} // namespace zev::test
