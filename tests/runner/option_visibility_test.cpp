#include "runner/option_visibility.h"

#include "runner_fixture.h"

namespace zev {
namespace {

struct Visibility : test::RunnerFixture {
    dlgnode* node = test::MakeNode(d(), "N", "n");
    option* opt = test::MakeOption(*node, "o", "done");

    condition* Cond(int32_t type, int32_t subject, int32_t eval, std::string_view value, std::string_view expr = "expr")
    {
        condition* c = AddCondition(*opt);
        c->check_type = type;
        c->subject = subject;
        c->eval = eval;
        c->value = value;
        c->script_expr = expr;
        return c;
    }
};

TEST_F(Visibility, EvaluateConditionsOffShowsEverything)
{
    app.settings().evaluateConditions = false;
    app.player().intelligence = 3;
    opt->gender = GENDER_FEMALE;
    opt->intelligence = 8;
    Cond(CHECK_STAT, 1, 1, "99");
    EXPECT_TRUE(OptionVisible(app, *opt));
    EXPECT_TRUE(capture.lines.empty()); // nothing was even tested
    app.settings().evaluateConditions = true; // changed during a run: counts at once
    EXPECT_FALSE(OptionVisible(app, *opt));
}

TEST_F(Visibility, IntelligenceChecks)
{
    struct Case {
        int32_t check, intelligence;
        bool visible;
    };
    for (Case c : { Case { 4, 4, true }, Case { 4, 3, false }, Case { -3, 3, true }, Case { -3, 4, false },
             Case { 0, 1, true }, Case { 0, 10, true } }) {
        opt->intelligence = c.check;
        app.player().intelligence = c.intelligence;
        EXPECT_EQ(OptionVisible(app, *opt), c.visible) << c.check << " vs " << c.intelligence;
    }
}

TEST_F(Visibility, GenderFlagIsLoggedAndAllPartsAreComputed)
{
    opt->gender = GENDER_FEMALE;
    opt->intelligence = 10; // fails too, the gender line is still written
    Cond(CHECK_MONEY, 1, 4, "100");
    app.player().money = 99;
    EXPECT_FALSE(OptionVisible(app, *opt));
    EXPECT_EQ(capture.Messages(),
        (std::vector<std::string> {
            "THEOPT: CONDITIONCNT: 1", "CheckCondition: expr == True", "OPT Genderflags: 2 Player genderflags: 1" }));
    opt->intelligence = 0;
    app.player().gender = GENDER_FEMALE;
    EXPECT_TRUE(OptionVisible(app, *opt));
}

TEST_F(Visibility, EveryConditionMustPassWhateverLinksThem)
{
    Cond(CHECK_STAT, 5, 5, "8", "int")->link_next = LINK_OR; // fails: intelligence 5
    Cond(CHECK_SKILL, 15, 1, "60", "speech"); // passes
    app.player().skills[14].value = 60;
    EXPECT_FALSE(OptionConditionsHold(app, *opt));
    EXPECT_TRUE(Logged("CheckCondition: int == False"));
    EXPECT_TRUE(Logged("CheckCondition: speech == True"));
    app.player().intelligence = 8;
    EXPECT_TRUE(OptionConditionsHold(app, *opt));
}

TEST_F(Visibility, OperatorsAndPlayerValues)
{
    PlayerChar& pc = app.player();
    pc.strength = 1, pc.perception = 2, pc.endurance = 3, pc.charisma = 4, pc.intelligence = 5, pc.agility = 6,
    pc.luck = 7, pc.money = 250;
    for (int32_t stat = 1; stat <= 7; ++stat) {
        condition c;
        c.check_type = CHECK_STAT;
        c.subject = stat;
        EXPECT_EQ(PlayerValue(c, pc), stat);
    }
    condition money;
    money.check_type = CHECK_MONEY;
    money.subject = 1;
    EXPECT_EQ(PlayerValue(money, pc), 250);

    struct Case {
        int32_t eval;
        const char* value;
        bool passes;
    };
    // Player value 250 on the left.
    condition* c = Cond(CHECK_MONEY, 1, 0, "");
    for (Case k : { Case { 1, "250", true }, Case { 1, "251", false }, Case { 2, "1", true }, Case { 3, "249", true },
             Case { 3, "250", false }, Case { 4, "251", true }, Case { 5, "250", true }, Case { 6, "249", false },
             Case { 0, "", true }, Case { 5, " -7 ", true }, Case { 1, "+250", true } }) {
        c->eval = k.eval;
        c->value = k.value;
        EXPECT_EQ(OptionConditionsHold(app, *opt), k.passes) << k.eval << " " << k.value;
    }
    // "Check for true" on a zero value.
    pc.money = 0;
    c->eval = 0;
    EXPECT_FALSE(OptionConditionsHold(app, *opt));
}

TEST_F(Visibility, ConditionsTheTestCannotKnowPassAndSaySo)
{
    Cond(CHECK_STAT, 9, 1, "3", "stat9");
    Cond(GLOBAL_VARIABLE, 0, 1, "\"str\"", "gvar");
    Cond(LOCAL_VARIABLE, 0, 3, "1", "lvar");
    Cond(SCRIPT_VARIABLE, 0, 0, "", "svar");
    Cond(CHECK_SKILL, 19, 1, "1", "skill19");
    EXPECT_TRUE(OptionConditionsHold(app, *opt));
    EXPECT_TRUE(Logged("CheckCondition: gvar == True (not evaluated, no player value)"));
    EXPECT_TRUE(Logged("CheckCondition: skill19 == True (not evaluated, no player value)"));
}

TEST_F(Visibility, AValueThatIsNoWholeNumberFailsAndTheListIsStillFilled)
{
    Cond(CHECK_STAT, 1, 1, "\"five\"", "bad");
    test::MakeOption(*node, "plain", "done");
    option* also = test::MakeOption(*node, "also bad", "done");
    condition* c = AddCondition(*also);
    c->check_type = CHECK_SKILL;
    c->subject = 1;
    c->eval = 5;
    c->value = "12abc";
    EXPECT_FALSE(OptionConditionsHold(app, *opt));
    EXPECT_TRUE(Logged("CheckCondition: bad == False (value '\"five\"' is not a whole number)"));
    Start("N");
    ASSERT_EQ(runner.panel().options.size(), 1u);
    EXPECT_EQ(runner.panel().options[0].index, 1);
    EXPECT_EQ(runner.panel().hiddenOptions, "There are 2 hidden player options.");
}

TEST_F(Visibility, AnOperatorOutsideTheTableCarriesThePreviousOutcome)
{
    Cond(CHECK_STAT, 1, 9, "5"); // first: carries false
    EXPECT_FALSE(OptionConditionsHold(app, *opt));
    opt->conditions[0]->eval = 1; // strength 5 == 5
    Cond(CHECK_STAT, 1, 9, "5");
    EXPECT_TRUE(OptionConditionsHold(app, *opt));
}

} // namespace
} // namespace zev
