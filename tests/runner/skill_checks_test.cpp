#include "runner/skill_checks.h"

#include "runner_fixture.h"

namespace zev {
namespace {

using test::MakeCheck;
using test::MakeNode;
using test::MakeOption;

TEST(SkillRollArithmetic, TheFormulaOnTheDocumentedCases)
{
    SkillRoll plain = EvaluateSkillRoll(40, 0, 7, 39);
    EXPECT_EQ(plain.target, 40);
    EXPECT_EQ(plain.threat, 0);
    EXPECT_EQ(plain.total, 39);
    EXPECT_TRUE(plain.succeeded);
    EXPECT_EQ(plain.Difference(), 1);

    SkillRoll easier = EvaluateSkillRoll(40, 5, 9, 44);
    EXPECT_EQ(easier.target, 45);
    EXPECT_EQ(easier.threat, -45);
    EXPECT_TRUE(easier.succeeded);

    SkillRoll hard1 = EvaluateSkillRoll(40, -10, 1, 5);
    EXPECT_EQ(hard1.target, 30);
    EXPECT_EQ(hard1.threat, 10);
    EXPECT_EQ(hard1.total, 25);
    EXPECT_TRUE(hard1.succeeded);
    EXPECT_EQ(hard1.Difference(), 5);

    // A total equal to the target is a success: the tie goes to the player, and one more fails.
    SkillRoll tie = EvaluateSkillRoll(40, -10, 1, 10);
    EXPECT_EQ(tie.total, 30);
    EXPECT_EQ(tie.target, 30);
    EXPECT_TRUE(tie.succeeded);
    EXPECT_EQ(tie.Difference(), 0);
    EXPECT_FALSE(EvaluateSkillRoll(40, -10, 1, 11).succeeded);

    SkillRoll hard2 = EvaluateSkillRoll(40, -10, 2, 5);
    EXPECT_EQ(hard2.total, 35);
    EXPECT_FALSE(hard2.succeeded);
    EXPECT_EQ(hard2.Difference(), -5);

    // Nothing to roll below: the roll counts as 0 and the check fails, even where 0 <= 0.
    SkillRoll none = EvaluateSkillRoll(0, 0, 3, 17);
    EXPECT_EQ(none.roll, 0);
    EXPECT_EQ(none.total, 0);
    EXPECT_FALSE(none.succeeded);
    EXPECT_FALSE(EvaluateSkillRoll(5, -10, 0, 0).succeeded);

    // Extreme modifiers from a damaged file do not overflow.
    SkillRoll wild = EvaluateSkillRoll(100, INT32_MIN, 9, 0);
    EXPECT_FALSE(wild.succeeded);
}

struct SkillChecks : test::RunnerFixture {
    SkillChecks()
    {
        dlgnode* a = MakeNode(d(), "A", "a");
        MakeCheck(*a, "haggle", 16, -10, "Win", "Lose");
        MakeCheck(*a, "lie", 15, 5, "Win", "Gone");
        MakeOption(*a, "haggle", "haggle")->to_skill_check = 1;
        MakeOption(*a, "lie", "lie")->to_skill_check = 1;
        MakeOption(*a, "missing", "nothing")->to_skill_check = 1;
        MakeOption(*MakeNode(d(), "Win", "won"), "again", "A");
        MakeOption(*MakeNode(d(), "Lose", "lost"), "again", "A");
        app.player().skills[15].name = "Barter";
        app.player().skills[15].value = 40;
        app.player().skills[14].name = "Speech";
        app.player().skills[14].value = 40;
    }
};

TEST_F(SkillChecks, TheRollUsesTheProgramsGeneratorAndLogsEveryStep)
{
    for (uint64_t seed : { 1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u }) {
        app.random().Seed(seed);
        Random replay(seed);
        int32_t t = replay.Below(10);
        int32_t r = replay.Below(30);
        capture.lines.clear();
        int32_t next = PerformSkillCheck(app, "haggle");
        int32_t total = r + 10 + 10 * t;
        bool success = total <= 30;
        EXPECT_EQ(next, success ? 1 : 2);
        EXPECT_EQ(capture.Messages(),
            (std::vector<std::string> { "Performing skill check haggle", "Skill \"Barter\" value = 40",
                "Rolled (10 + " + std::to_string(r) + " + (random_threat=" + std::to_string(10 * t)
                    + ") = " + std::to_string(total) + ") against 30",
                success ? "Skill check succeeded." : "Skill check failed.",
                "Difference: " + std::to_string(30 - total) }));
    }
}

TEST_F(SkillChecks, APositiveModifierAlwaysSucceeds)
{
    for (uint64_t seed = 0; seed < 20; ++seed) {
        app.random().Seed(seed);
        EXPECT_EQ(PerformSkillCheck(app, "lie"), 1);
    }
    EXPECT_EQ(capture.Messages()[2].substr(0, 9), "Rolled (-");
    EXPECT_NE(capture.Messages()[2].find("against 45"), std::string::npos);
}

TEST_F(SkillChecks, NoTargetToRollBelowFails)
{
    app.player().skills[15].value = 5; // 5 - 10 < 0
    app.random().Seed(11);
    Random replay(11);
    int32_t t = replay.Below(10);
    EXPECT_EQ(PerformSkillCheck(app, "haggle"), 2);
    EXPECT_TRUE(Logged("Rolled (10 + 0 + (random_threat=" + std::to_string(10 * t)
        + ") = " + std::to_string(10 + 10 * t) + ") against -5"));
    EXPECT_TRUE(Logged("Skill check failed."));
}

TEST_F(SkillChecks, AChosenCheckMovesTheRunAndAMissingTargetEndsIt)
{
    Start("A");
    app.random().Seed(3);
    Choose(1); // "lie" always succeeds
    EXPECT_EQ(runner.panel().nodeLabel, "Win");
    EXPECT_EQ(runner.history().back().option_index, 1);
    EXPECT_EQ(runner.history().back().from_node_index, 0);

    // A success node renamed without updating the check: the dialogue ends.
    d().nodes[1]->name = "Winner";
    Choose(0); // back to A
    Choose(1);
    EXPECT_FALSE(runner.running());
    EXPECT_EQ(dialogs.Last()->text, "Dialogue ends here.\r\n\r\n(Runtime dialogue editing = OFF)");
}

TEST_F(SkillChecks, ACheckThatIsGoneIsNamedAndLeadsNowhere)
{
    Start("A");
    Choose(2);
    ASSERT_GE(dialogs.History().size(), 2u);
    EXPECT_EQ(dialogs.History()[0].text, MissingSkillCheckText("nothing"));
    EXPECT_NE(dialogs.History()[0].text.find("'nothing'"), std::string::npos);
    EXPECT_EQ(dialogs.History()[0].icon, MsgIcon::Warning);
    EXPECT_FALSE(runner.running());

    // The same through the window.
    app.settings().evaluateSkillChecks = false;
    Start("A");
    Choose(2);
    EXPECT_TRUE(skillView.texts.empty());
    EXPECT_EQ(dialogs.History()[2].text, MissingSkillCheckText("nothing"));
}

TEST_F(SkillChecks, TheWindowAsksWhenChecksAreNotPerformed)
{
    app.settings().evaluateSkillChecks = false;
    Start("A");
    skillView.answer = SkillCheckChoice::Failure;
    Choose(0);
    EXPECT_EQ(runner.panel().nodeLabel, "Lose");
    Choose(0);
    skillView.answer = SkillCheckChoice::Success;
    Choose(0);
    EXPECT_EQ(runner.panel().nodeLabel, "Win");
    Choose(0);
    skillView.answer = SkillCheckChoice::Evaluate;
    Choose(1);
    EXPECT_EQ(runner.panel().nodeLabel, "Win");
    EXPECT_TRUE(Logged("Performing skill check lie"));
    ASSERT_EQ(skillView.texts.size(), 3u);
    EXPECT_EQ(skillView.texts[0],
        "The player option you selected is linked to a skill check named:<br><b>haggle</b><br>with the following "
        "options:<br> <br> Skill = <b>Barter</b><br> Modifier = <b>-10</b><br> OnSuccess => <b>Win</b><br> "
        "OnFailure => <b>Lose</b><br>  You can now choose which node to go to: Success/Failure/Evaluate<br> "
        "<br><b>[HELP]</b><i><br> Success = go to the success node<br> Failure = go to the failure node<br> "
        "Evaluate = perform the skill check normally<br></i>");
    EXPECT_NE(skillView.texts[2].find("<b>lie</b>"), std::string::npos);
    EXPECT_NE(skillView.texts[2].find("Skill = <b>Speech</b><br> Modifier = <b>5</b>"), std::string::npos);
    EXPECT_EQ(session.skillCheckWindow().choice(), SkillCheckChoice::Evaluate);

    // Closed without a button: the run stays and its history is untouched.
    Choose(0);
    skillView.answer.reset();
    std::size_t entries = runner.history().size();
    HistoryEntry before = runner.history().back();
    Choose(0);
    EXPECT_EQ(runner.panel().nodeLabel, "A");
    EXPECT_EQ(runner.history().size(), entries);
    EXPECT_EQ(runner.history().back().option_index, before.option_index);
    EXPECT_EQ(runner.history().back().from_node_index, before.from_node_index);
    EXPECT_FALSE(session.skillCheckWindow().choice());
}

TEST_F(SkillChecks, NamesInTheWindowCannotOpenTags)
{
    skillcheck check;
    check.name = "a<b>c";
    check.on_success = "x&y";
    check.skill = 99;
    SkillCheckWindowModel model;
    model.Fill(check, app.player());
    EXPECT_NE(model.text().find("<b>a&lt;b&gt;c</b>"), std::string::npos);
    EXPECT_NE(model.text().find("x&amp;y"), std::string::npos);
    EXPECT_NE(model.text().find("Skill = <b></b>"), std::string::npos);
}

} // namespace
} // namespace zev
