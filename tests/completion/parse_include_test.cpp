#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "completion/error_list.h"
#include "completion/parse_include.h"

namespace zev {
namespace {

using test::ErrorList;
using Errors = std::vector<std::string>;

struct IncludeFixture : ::testing::Test {
    DefinitionTable table;
    TParseInclude parser { table };

    void Parse(std::string text)
    {
        parser.Scanner().SrcStream() = std::move(text);
        ASSERT_TRUE(parser.Execute());
    }
    const IncEntry& Only()
    {
        EXPECT_EQ(table.count(), 1);
        return table[0];
    }
};

// ---- Errors

struct ErrorCase {
    const char* name;
    std::string input;
    Errors errors;
    int32_t definitions;
};

void PrintTo(const ErrorCase& c, std::ostream* os)
{
    *os << c.name;
}

class IncludeErrors : public IncludeFixture, public ::testing::WithParamInterface<ErrorCase> { };

TEST_P(IncludeErrors, ReportsExactlyTheseErrors)
{
    const ErrorCase& c = GetParam();
    Parse(c.input);
    EXPECT_EQ(ErrorList(parser), c.errors);
    EXPECT_EQ(table.count(), c.definitions);
}

INSTANTIATE_TEST_SUITE_P(Cases, IncludeErrors,
    ::testing::Values(
        ErrorCase { "Clean", "AddDefine a;\nAddDefine f(objectptr who, integer n) = 3;\nAddDefine PID_X = 12;", {}, 3 },
        ErrorCase { "Empty", "", { "1:2 6" }, 0 },
        // Keywords are case-sensitive.
        ErrorCase { "LowerCaseKeyword", "adddefine x;", { "1:2 6" }, 0 },
        ErrorCase { "MissingSemicolon", "AddDefine a\nAddDefine b;", { "2:1 15" }, 2 },
        // The language has no preprocessor lines: "#" is an unknown symbol, the rest of the line junk.
        ErrorCase { "PreprocessorLine", "#include \"x.h\"\nAddDefine a;", { "1:2 16" }, 1 },
        ErrorCase { "JunkBetweenStatements", "AddDefine a;\njunk ( ;\nAddDefine b;", { "2:1 6" }, 2 },
        // The value is an integer, nothing else.
        ErrorCase { "FloatValue", "AddDefine a = 5.0;", { "1:16 2" }, 1 },
        ErrorCase { "StringValue", "AddDefine a = \"5\";", { "1:16 2" }, 1 },
        ErrorCase { "HexValue", "AddDefine a = $FF;", { "1:16 2" }, 1 },
        ErrorCase { "LoneMinus", "AddDefine a = - 5;", { "1:16 16" }, 1 },
        ErrorCase { "MissingCloseParen", "AddDefine f(a b);\nAddDefine g;", { "1:16 13" }, 2 },
        ErrorCase { "TypeWithoutNameAfterComma", "AddDefine f(a, integer);", { "1:24 1" }, 1 },
        ErrorCase { "MissingName", "AddDefine = 5;", { "1:12 1" }, 1 },
        ErrorCase { "UnterminatedString", "AddDefine a \"x\nAddDefine b;", { "1:14 16" }, 2 },
        ErrorCase { "UnterminatedComment", "AddDefine a; /* open", {}, 1 },
        ErrorCase { "CommentsEndAtLf", "// c\nAddDefine a; // d\n/* e\n */ AddDefine b;", {}, 2 },
        ErrorCase { "CommentsEndAtCrLf", "// c\r\nAddDefine a;\r\n", {}, 1 },
        ErrorCase { "Byte26EndsTheInput", "AddDefine a;\x1a junk", {}, 1 }),
    [](const ::testing::TestParamInfo<ErrorCase>& info) { return std::string(info.param.name); });

// ---- What the definitions hold

TEST_F(IncludeFixture, AMacroHasNoParametersAndNoValue)
{
    Parse("AddDefine abc;");
    EXPECT_EQ(Only().name, "abc");
    EXPECT_EQ(Only().param_count, 0);
    EXPECT_EQ(Only().value, "");
}

TEST_F(IncludeFixture, AProcedureHasItsTypedParameters)
{
    Parse("AddDefine f(objectptr who, integer n);");
    const IncEntry& e = Only();
    EXPECT_EQ(e.name, "f");
    ASSERT_EQ(e.param_count, 2);
    EXPECT_EQ(e.param_types[0], DEF_PARAM_OBJECTPTR);
    EXPECT_EQ(e.param_types[1], DEF_PARAM_INTEGER);
    EXPECT_EQ(e.param_names[0], "who");
    EXPECT_EQ(e.param_names[1], "n");
    EXPECT_EQ(e.value, "");
}

TEST_F(IncludeFixture, ParameterTypesAreOptional)
{
    Parse("AddDefine f(string s, procptr p, plain);");
    const IncEntry& e = Only();
    ASSERT_EQ(e.param_count, 3);
    EXPECT_EQ(e.param_types[0], DEF_PARAM_STRING);
    EXPECT_EQ(e.param_types[1], DEF_PARAM_PROCPTR);
    EXPECT_EQ(e.param_types[2], DEF_PARAM_NONE);
    EXPECT_EQ(e.param_names[2], "plain");
}

TEST_F(IncludeFixture, AnEmptyListOrALoneTypeCountsOneNamelessParameter)
{
    Parse("AddDefine p();\nAddDefine q(integer);\nAddDefine r(integer) = 4;");
    EXPECT_TRUE(parser.Successful());
    ASSERT_EQ(table.count(), 3);
    EXPECT_EQ(table[0].param_count, 1);
    EXPECT_EQ(table[0].param_names[0], "");
    EXPECT_EQ(table[0].param_types[0], DEF_PARAM_NONE);
    EXPECT_EQ(table[1].param_count, 1);
    EXPECT_EQ(table[1].param_types[0], DEF_PARAM_INTEGER);
    EXPECT_EQ(table[2].value, "4");
}

TEST_F(IncludeFixture, TheValueKeepsItsSignAsWritten)
{
    Parse("AddDefine g = -5;\nAddDefine h = +7;\nAddDefine z = 007;\nAddDefine big = 99999999999999999999;");
    EXPECT_TRUE(parser.Successful());
    ASSERT_EQ(table.count(), 4);
    EXPECT_EQ(table[0].value, "-5");
    EXPECT_EQ(table[1].value, "+7");
    EXPECT_EQ(table[2].value, "007");
    EXPECT_EQ(table[3].value, "99999999999999999999");
}

TEST_F(IncludeFixture, AStatementWithErrorsKeepsWhatWasRead)
{
    Parse("AddDefine f(objectptr who n) = 3;\nAddDefine = 5;\nAddDefine after;");
    ASSERT_EQ(table.count(), 3);
    EXPECT_EQ(table[0].name, "f");
    EXPECT_EQ(table[0].param_count, 1);
    EXPECT_EQ(table[0].param_names[0], "who");
    // Nothing but an identifier becomes a name, nothing but an integer a value.
    EXPECT_EQ(table[1].name, "");
    EXPECT_EQ(table[1].value, "5");
    EXPECT_EQ(table[2].name, "after");
}

TEST_F(IncludeFixture, EachParseAppends)
{
    Parse("AddDefine same;");
    Parse("AddDefine same = 1;");
    ASSERT_EQ(table.count(), 2);
    EXPECT_EQ(table[0].value, "");
    EXPECT_EQ(table[1].value, "1");
}

TEST_F(IncludeFixture, MessagesOfTheGrammar)
{
    EXPECT_EQ(parser.ErrorMsg(0, ""), "EOF expected");
    EXPECT_EQ(parser.ErrorMsg(5, ""), "HexLiteral expected");
    EXPECT_EQ(parser.ErrorMsg(6, ""), "\"AddDefine\" expected");
    EXPECT_EQ(parser.ErrorMsg(8, ""), "\"integer\" expected");
    EXPECT_EQ(parser.ErrorMsg(11, ""), "\"objectptr\" expected");
    EXPECT_EQ(parser.ErrorMsg(13, ""), "\")\" expected");
    EXPECT_EQ(parser.ErrorMsg(15, ""), "\";\" expected");
    EXPECT_EQ(parser.ErrorMsg(16, ""), "not expected");
    EXPECT_EQ(parser.ErrorMsg(92, ""), "too many entries, entry dropped");
    EXPECT_EQ(parser.ErrorMsg(17, ""), "Error: 17");
}

} // namespace
} // namespace zev
