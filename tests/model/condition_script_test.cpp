#include <gtest/gtest.h>

#include <map>
#include <string>

#include "model/condition_script.h"

namespace zev {
namespace {

struct FakeIni {
    std::map<std::pair<std::string, std::string>, std::string> values;
    IniLookup Lookup()
    {
        return [this](std::string_view s, std::string_view k) {
            auto it = values.find({ std::string(s), std::string(k) });
            return it == values.end() ? std::string() : it->second;
        };
    }
};

TEST(ConditionScript, ExpandsTheTypeTemplateWithItemOperatorAndValue)
{
    FakeIni ini;
    ini.values[{ "Main", "CheckType1" }] = "Stat";
    ini.values[{ "Stat", "SSLCommand" }] = "get_critter_stat(dude_obj, %s) %eval% %value%";
    ini.values[{ "Stat", "Item5SSLEnum" }] = "STAT_INTELLIGENCE";
    ini.values[{ "Main", "CheckType5" }] = "Local variable";
    ini.values[{ "Local variable", "SSLCommand" }] = "local_var(%s) %eval% %value% /* %value% %% */";
    condition c;
    c.check_type = CHECK_STAT;
    c.subject = 5;
    c.eval = 5;
    c.value = "6";
    EXPECT_EQ(BuildConditionScript(c, ini.Lookup()), "get_critter_stat(dude_obj, STAT_INTELLIGENCE) >= 6");

    // The variable name wins over the subject; only the first %value% is replaced.
    c.check_type = LOCAL_VARIABLE;
    c.variable_name = "LVAR_Met";
    c.eval = 2;
    c.value = "0";
    EXPECT_EQ(BuildConditionScript(c, ini.Lookup()), "local_var(LVAR_Met) != 0 /* %value% % */");
}

TEST(ConditionScript, UndescribedTypesGiveEmptyOrPartialTexts)
{
    FakeIni ini;
    condition c;
    c.check_type = 9;
    EXPECT_EQ(BuildConditionScript(c, ini.Lookup()), "");
    EXPECT_EQ(BuildConditionScript(c, nullptr), "");
    EXPECT_EQ(ExpandConditionTemplate("f(%s) %eval% %value%", "X1", ">=", "6"), "f(X1) >= 6");
    EXPECT_EQ(ExpandConditionTemplate("%s and %s %d", "x", "", ""), "x and x %d");
    EXPECT_EQ(ExpandConditionTemplate("%eval%%value%", "", "", "%s"), "");
}

} // namespace
} // namespace zev
