#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "completion/code_snippets.h"
#include "completion/error_list.h"

namespace zev {
namespace {

using test::ErrorList;
using Errors = std::vector<std::string>;

struct SnippetFixture : ::testing::Test {
    CodeSnippetTable table;
    TCodeSnippets parser { table };

    void Parse(std::string text)
    {
        parser.Scanner().SrcStream() = std::move(text);
        ASSERT_TRUE(parser.Execute());
    }
};

// ---- Errors: where they stand and which ones the error distance keeps

struct ErrorCase {
    const char* name;
    std::string input;
    Errors errors;
    int32_t presets;
};

void PrintTo(const ErrorCase& c, std::ostream* os)
{
    *os << c.name;
}

class SnippetErrors : public SnippetFixture, public ::testing::WithParamInterface<ErrorCase> { };

TEST_P(SnippetErrors, ReportsExactlyTheseErrors)
{
    const ErrorCase& c = GetParam();
    Parse(c.input);
    EXPECT_EQ(ErrorList(parser), c.errors);
    EXPECT_EQ(table.count(), c.presets);
    EXPECT_EQ(parser.Successful(), c.errors.empty());
}

const std::string kA = "CodePreset a() desc = \"x\" {};\n";

INSTANTIATE_TEST_SUITE_P(Cases, SnippetErrors,
    ::testing::Values(ErrorCase { "Clean", kA + "CodePreset b(int n = \"N\") desc = \"y\" { \"l\" };", {}, 2 },
        // The file needs one preset.
        ErrorCase { "Empty", "", { "1:2 18" }, 0 },
        ErrorCase { "OnlyComments", "// none\n/* none */\n", { "3:1 18" }, 0 },
        // Keywords are case-sensitive: a lower-case codepreset is an identifier.
        ErrorCase { "LowerCaseKeyword", "codepreset a() desc = \"x\" {};", { "1:2 18" }, 0 },
        ErrorCase { "LowerCaseDesc", "CodePreset a()\nDesc = \"x\" {};", { "2:1 22" }, 1 },
        // A missing ";" is reported where the next preset starts; both presets count.
        ErrorCase {
            "MissingSemicolon", "CodePreset a() desc = \"x\" {}\nCodePreset b() desc = \"y\" {};", { "2:1 25" }, 2 },
        // Symbols between presets are reported once and skipped; the presets after them are read.
        ErrorCase { "JunkBetweenPresets", kA + "junk ( ; 5\n" + kA, { "2:1 18" }, 2 },
        ErrorCase { "UnknownSymbolIsSkipped", kA + "@\n" + kA, { "2:1 26" }, 2 },
        ErrorCase { "SlashIsUnknown", kA + "/ " + kA, { "2:1 26" }, 2 },
        ErrorCase { "FiveDotIsOneUnknownSymbol", "CodePreset a(5.) desc = \"x\" {};", { "1:15 26" }, 1 },
        // A parameter must start with a type keyword or an identifier.
        ErrorCase { "InvalidParameter", "CodePreset a(int x = \"p\",\n) desc = \"d\" {};", { "2:1 27" }, 1 },
        // Adjacent errors give one entry; errors two symbols apart give two.
        ErrorCase { "AdjacentErrorsGiveOne", "CodePreset a( desc \"x\" {};", { "1:16 21" }, 1 },
        ErrorCase { "DistantErrorsGiveTwo", "CodePreset a( desc = \"x\"\n\"y\" };", { "1:16 21", "2:1 23" }, 1 },
        // A string cut off by its line end is an unknown symbol.
        ErrorCase { "UnterminatedStringAtLineEnd", "CodePreset a() desc = \"abc\n{};", { "1:24 26" }, 1 },
        ErrorCase { "UnterminatedStringAtEnd", "CodePreset a() desc = \"abc", { "1:24 4" }, 1 },
        ErrorCase { "UnterminatedComment", kA + "/* open", {}, 1 },
        ErrorCase { "PragmaAtTheEnd", kA + "# last line", {}, 1 },
        ErrorCase { "NumbersAreNotExpected", "CodePreset a() desc = 5 {};", { "1:24 4" }, 1 }),
    [](const ::testing::TestParamInfo<ErrorCase>& info) { return std::string(info.param.name); });

// ---- What the presets hold

TEST_F(SnippetFixture, APresetHoldsItsParametersDescriptionAndCode)
{
    Parse("CodePreset Greet(node target = \"Where to\", int n = \"How many\")\n"
          "desc = \"Say hello\"\n"
          "{ \"line one\", \"  line two;\" };\n");
    ASSERT_TRUE(parser.Successful());
    ASSERT_EQ(table.count(), 1);
    const CodeSnippet& s = table[0];
    EXPECT_EQ(s.name, "Greet");
    EXPECT_EQ(s.desc, "Say hello");
    EXPECT_EQ(s.code, "line one\r\n  line two;\r\n");
    ASSERT_EQ(s.param_count, 2);
    EXPECT_EQ(s.params[0].param_type, PARAM_NODE);
    EXPECT_EQ(s.params[0].name, "target");
    EXPECT_EQ(s.params[0].prompt, "Where to");
    EXPECT_EQ(s.params[1].param_type, PARAM_INTEGER);
    EXPECT_EQ(s.params[1].name, "n");
    EXPECT_EQ(s.params[1].prompt, "How many");
}

TEST_F(SnippetFixture, EmptyParameterListAndCodeBlock)
{
    Parse("CodePreset Nothing() desc = \"d\" {};");
    ASSERT_TRUE(parser.Successful());
    ASSERT_EQ(table.count(), 1);
    EXPECT_EQ(table[0].param_count, 0);
    EXPECT_EQ(table[0].code, "");
}

TEST_F(SnippetFixture, EveryKeywordGivesItsTypeAndAnUntypedParameterKeepsThePreviousOne)
{
    Parse("CodePreset a(first = \"\", int i = \"\", j = \"\", node n = \"\", bool b = \"\", floatnode f = \"\",\n"
          "  string s = \"\", skill sk = \"\", stat st = \"\", local_var lv = \"\", script_var sv = \"\",\n"
          "  pid_id p = \"\", map_var m = \"\") desc = \"\" {};\n"
          "CodePreset b(carried = \"\") desc = \"\" {};");
    ASSERT_TRUE(parser.Successful());
    ASSERT_EQ(table.count(), 2);
    std::vector<int32_t> types;
    for (int32_t i = 0; i < table[0].param_count; ++i)
        types.push_back(table[0].params[static_cast<std::size_t>(i)].param_type);
    EXPECT_EQ(types, (std::vector<int32_t> { 0, 1, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12 }));
    // Across presets too.
    EXPECT_EQ(table[1].params[0].param_type, PARAM_MAP_VAR);

    // Each parse starts again without a type.
    Parse("CodePreset c(x = \"\") desc = \"\" {};");
    EXPECT_EQ(table[2].params[0].param_type, PARAM_NONE);
}

TEST_F(SnippetFixture, StringsDecodeTheirEscapes)
{
    Parse(R"(CodePreset a(string s = "say \"hi\"") desc = "a\\nb\tc\nd\qe\\" { "x\\", "\"\"" };)");
    ASSERT_TRUE(parser.Successful());
    ASSERT_EQ(table.count(), 1);
    EXPECT_EQ(table[0].params[0].prompt, "say \"hi\"");
    // \\n is a backslash and n; \t a tab; \n CR LF; \q stays; \\ before the quote does not escape it.
    EXPECT_EQ(table[0].desc, "a\\nb\tc\r\nd\\qe\\");
    EXPECT_EQ(table[0].code, "x\\\r\n\"\"\r\n");

    EXPECT_EQ(TCodeSnippets::DecodeString("\"\""), "");
    EXPECT_EQ(TCodeSnippets::DecodeString("\"\\t\\\\t\""), "\t\\t");
}

TEST_F(SnippetFixture, CommentsAndPragmasMayStandBetweenAnySymbols)
{
    Parse("# leading pragma\r\n"
          "CodePreset /* here */ a( // there\r\n"
          "# a pragma inside the preset\r\n"
          "int n = \"p\") desc = \"d\" { \"c\" };\r\n"
          "/**/ # trailing");
    EXPECT_EQ(ErrorList(parser), Errors {});
    ASSERT_EQ(table.count(), 1);
    EXPECT_EQ(table[0].params[0].name, "n");
    EXPECT_EQ(table[0].code, "c\r\n");
}

TEST_F(SnippetFixture, LineCommentsAndPragmasEndAtAnLfToo)
{
    Parse("// comment\n# pragma\nCodePreset a() desc = \"x\" {};\n// end\nCodePreset b() desc = \"y\" {};");
    EXPECT_TRUE(parser.Successful());
    EXPECT_EQ(table.count(), 2);
}

TEST_F(SnippetFixture, APresetWithErrorsKeepsWhatWasRead)
{
    Parse("CodePreset a(int n = \"p\" desc = \"d\" { \"c\" };\nCodePreset b() desc = \"e\" {};");
    EXPECT_EQ(ErrorList(parser), Errors { "1:27 21" });
    ASSERT_EQ(table.count(), 2);
    EXPECT_EQ(table[0].name, "a");
    EXPECT_EQ(table[0].param_count, 1);
    EXPECT_EQ(table[0].desc, "d");
    EXPECT_EQ(table[0].code, "c\r\n");
    EXPECT_EQ(table[1].name, "b");
}

TEST_F(SnippetFixture, AMissingTokenLeavesItsFieldEmpty)
{
    // Nothing else is read into the name, the prompt or the description.
    Parse("CodePreset (int = ) desc = {};");
    ASSERT_EQ(table.count(), 1);
    EXPECT_EQ(table[0].name, "");
    ASSERT_EQ(table[0].param_count, 1);
    EXPECT_EQ(table[0].params[0].name, "");
    EXPECT_EQ(table[0].params[0].prompt, "");
    EXPECT_EQ(table[0].desc, "");
}

TEST_F(SnippetFixture, TheInputEndsAtNulAndByte26)
{
    Parse(kA + std::string(1, '\0') + kA);
    EXPECT_TRUE(parser.Successful());
    EXPECT_EQ(table.count(), 1);
    Parse(kA + "\x1a" + "garbage");
    EXPECT_TRUE(parser.Successful());
    EXPECT_EQ(table.count(), 2);
    // Inside a string the end of the input is the end of file, at the string's start.
    Parse("CodePreset a() desc = \"ab\x1a\" {};");
    EXPECT_EQ(ErrorList(parser), Errors { "1:24 4" });
}

TEST_F(SnippetFixture, IdentifiersTakeTheLatin1Letters)
{
    Parse("CodePreset \xc4pfel_2\xf6() desc = \"x\" {};");
    ASSERT_TRUE(parser.Successful());
    EXPECT_EQ(table[0].name, "\xc4pfel_2\xf6");
}

TEST_F(SnippetFixture, MessagesOfTheGrammar)
{
    EXPECT_EQ(parser.ErrorMsg(0, ""), "EOF expected");
    EXPECT_EQ(parser.ErrorMsg(3, ""), "_float expected");
    EXPECT_EQ(parser.ErrorMsg(6, ""), "\"bool\" expected");
    EXPECT_EQ(parser.ErrorMsg(13, ""), "\"local_var\" expected");
    EXPECT_EQ(parser.ErrorMsg(16, ""), "\"string\" expected");
    EXPECT_EQ(parser.ErrorMsg(18, ""), "\"CodePreset\" expected");
    EXPECT_EQ(parser.ErrorMsg(25, ""), "\";\" expected");
    EXPECT_EQ(parser.ErrorMsg(26, ""), "not expected");
    EXPECT_EQ(parser.ErrorMsg(27, ""), "invalid Parameter definition");
    EXPECT_EQ(parser.ErrorMsg(92, ""), "too many entries, entry dropped");
    EXPECT_EQ(parser.ErrorMsg(28, "x"), "Error: 28 (x)");
}

TEST(ParamTypeNames, NameEveryCode)
{
    const char* names[] = { "Unknown", "Integer", "NodePTR", "Boolean", "FloatNodePTR", "String", "Player Skill",
        "Player Stat", "Global Var", "Local Var", "Script Var", "Item/Critter PID", "Map Var", "Unknown" };
    for (int32_t code = 0; code <= 13; ++code)
        EXPECT_EQ(ParamTypeName(code), names[code]) << code;
    EXPECT_EQ(ParamTypeName(-1), "Unknown");
}

} // namespace
} // namespace zev
