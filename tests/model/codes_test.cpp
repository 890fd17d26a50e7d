#include <gtest/gtest.h>

#include "model/codes.h"

namespace zev {
namespace {

TEST(Codes, NameAndCodeTablesAreInverseOverTheirWholeRange)
{
    for (int32_t k = 1; k <= 18; ++k)
        EXPECT_EQ(SkillCode(SkillName(k)), k) << k;
    for (int32_t k = 1; k <= 14; ++k)
        EXPECT_EQ(StatCode(StatName(k)), k) << k;
    for (int32_t k = 1; k <= 6; ++k) {
        EXPECT_EQ(CheckTypeCode(CheckTypeName(k)), k) << k;
        EXPECT_EQ(EvalCode(EvalName(k)), k) << k;
    }
    for (int32_t k = 0; k <= 2; ++k)
        EXPECT_EQ(LinkNextCode(LinkNextName(k)), k);
    EXPECT_EQ(MoneyCode("dude_caps"), 1);
}

TEST(Codes, KnownNamesSitAtTheirCodes)
{
    EXPECT_EQ(SkillName(5), "melee_combat");
    EXPECT_EQ(SkillName(15), "speech");
    EXPECT_EQ(StatName(14), "cur_poison_lev");
    EXPECT_EQ(EvalName(5), ">=");
    EXPECT_EQ(ReactionName(2), "REACTION_BAD");
    EXPECT_EQ(GenderName(2), "FEMALE");
    EXPECT_EQ(ScopeName(3), "local");
}

TEST(Codes, UnknownCodesGiveEmptyAndUnknownNamesGiveZero)
{
    for (int32_t bad : { -1, 0, 19, 1000, INT32_MIN, INT32_MAX })
        EXPECT_EQ(SkillName(bad), "") << bad;
    EXPECT_EQ(StatName(15), "");
    EXPECT_EQ(MoneyName(2), "");
    EXPECT_EQ(EvalName(7), "");
    EXPECT_EQ(SkillCode("Melee_Combat"), 0); // exact case
    EXPECT_EQ(StatCode(""), 0);
    EXPECT_EQ(EvalCode("=<"), -1);
}

TEST(ConditionText, WritesEachTypeWithItsSubject)
{
    condition c;
    c.check_type = CHECK_SKILL;
    c.subject = 5;
    c.eval = 5;
    c.value = "40";
    c.link_next = LINK_AND;
    EXPECT_EQ(ConditionText(c), "CHECK_SKILL melee_combat >= 40 link_next AND");

    c.check_type = CHECK_MONEY;
    c.subject = 1;
    c.eval = 4;
    c.value = "100";
    c.link_next = LINK_NONE;
    EXPECT_EQ(ConditionText(c), "CHECK_MONEY dude_caps < 100 link_next NONE");

    c.check_type = GLOBAL_VARIABLE;
    c.subject = 0;
    c.variable_name = "GVAR_QUEST";
    c.eval = 1;
    c.value = "\"done\"";
    c.link_next = LINK_OR;
    EXPECT_EQ(ConditionText(c), "GLOBAL_VARIABLE GVAR_QUEST == \"done\" link_next OR");
}

TEST(ConditionText, UnknownTypeKeepsOnlyTheLinkPart)
{
    condition c;
    c.check_type = 9;
    c.value = "3";
    EXPECT_EQ(ConditionText(c), " link_next NONE");
}

} // namespace
} // namespace zev
