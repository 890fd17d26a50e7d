#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

#include "completion/code_snippets.h"
#include "completion/error_list.h"

namespace zev {
namespace {

using test::ErrorList;
using Errors = std::vector<std::string>;

struct SnippetLimits : ::testing::Test {
    CodeSnippetTable table;
    TCodeSnippets parser { table };

    void Parse(std::string text)
    {
        parser.Scanner().SrcStream() = std::move(text);
        ASSERT_TRUE(parser.Execute());
    }
};

// One preset per line, named p1, p2, ...
std::string Presets(int from, int to)
{
    std::string text;
    for (int i = from; i <= to; ++i)
        text += "CodePreset p" + std::to_string(i) + "() desc = \"d\" {};\n";
    return text;
}

TEST_F(SnippetLimits, The257thPresetIsKeptAndThe258thDropped)
{
    Parse(Presets(1, 257));
    EXPECT_TRUE(parser.Successful());
    ASSERT_EQ(table.count(), 257);
    EXPECT_EQ(table[256].name, "p257");

    table.Clear();
    // The dropped preset is still read: its own syntax error is reported after error 92, which
    // stands at its first symbol whatever the error distance; the preset after it is dropped too.
    Parse(Presets(1, 257) + "CodePreset p258( desc = \"d\" {};\n" + Presets(259, 259));
    EXPECT_EQ(ErrorList(parser), (Errors { "258:1 92", "258:18 21", "259:1 92" }));
    ASSERT_EQ(table.count(), 257);
    EXPECT_EQ(table[256].name, "p257");
}

TEST_F(SnippetLimits, ErrorTooManyDoesNotTouchTheErrorDistance)
{
    // A syntax error right before the dropped preset does not hide error 92...
    Parse(Presets(1, 256) + "CodePreset p257() desc = \"d\" {}\nCodePreset p258() desc = \"d\" {};");
    EXPECT_EQ(ErrorList(parser), (Errors { "258:1 25", "258:1 92" }));
    EXPECT_EQ(table.count(), 257);

    // ...and error 92 does not hide a syntax error on the very next symbol.
    table.Clear();
    Parse(Presets(1, 257) + "CodePreset () desc = \"d\" {};");
    EXPECT_EQ(ErrorList(parser), (Errors { "258:1 92", "258:12 1" }));
    EXPECT_EQ(table.count(), 257);
}

TEST_F(SnippetLimits, The33rdParameterIsKeptAndThe34thDropped)
{
    std::string text = "CodePreset many(\n";
    for (int i = 1; i <= 35; ++i)
        text += "int q" + std::to_string(i) + " = \"p\"" + (i < 35 ? ",\n" : "\n");
    text += ") desc = \"d\" { \"%q33%\" };\n" + Presets(2, 2);
    Parse(text);
    EXPECT_EQ(ErrorList(parser), (Errors { "35:1 92", "36:1 92" }));
    ASSERT_EQ(table.count(), 2);
    ASSERT_EQ(table[0].param_count, 33);
    EXPECT_EQ(table[0].params[32].name, "q33");
    // The rest of the preset and the next one are read as usual.
    EXPECT_EQ(table[0].code, "%q33%\r\n");
    EXPECT_EQ(table[1].name, "p2");
}

TEST_F(SnippetLimits, ADroppedParameterStillSetsTheTypeOfTheNextOne)
{
    std::string text = "CodePreset many(";
    for (int i = 1; i <= 33; ++i)
        text += "int q" + std::to_string(i) + " = \"p\", ";
    text += "stat dropped = \"p\") desc = \"d\" {};\nCodePreset next(x = \"p\") desc = \"d\" {};";
    Parse(text);
    ASSERT_EQ(parser.Errors().size(), 1u);
    EXPECT_EQ(parser.Errors()[0].ErrorCode, 92);
    ASSERT_EQ(table.count(), 2);
    EXPECT_EQ(table[1].params[0].param_type, PARAM_STAT);
}

// ---- Hostile input: never a crash, never more than the capacities

void ExpectWithinCapacity(const CodeSnippetTable& table)
{
    ASSERT_LE(table.count(), kMaxCodeSnippets);
    for (const CodeSnippet& s : table) {
        ASSERT_GE(s.param_count, 0);
        ASSERT_LE(s.param_count, kMaxSnippetParams);
    }
}

TEST_F(SnippetLimits, HugeAndUnfinishedInputs)
{
    const std::string huge(1 << 20, 'x');
    Parse("CodePreset " + huge + "() desc = \"" + huge + "\" { \"" + huge + "\" };");
    EXPECT_TRUE(parser.Successful());
    ASSERT_EQ(table.count(), 1);
    EXPECT_EQ(table[0].name.size(), huge.size());
    EXPECT_EQ(table[0].code.size(), huge.size() + 2);

    for (std::string text : { std::string("\"") + huge, "/*" + huge, "#" + huge, std::string(1 << 16, '('),
             std::string(1 << 16, '\\'), std::string(1 << 16, '\0'), std::string(1 << 16, '\x1a'),
             "CodePreset a(" + std::string(1 << 16, ','), "\"" + std::string(1 << 16, '\\') }) {
        table.Clear();
        Parse(text);
        EXPECT_FALSE(parser.Errors().empty());
        ExpectWithinCapacity(table);
    }
}

// ---- The presets the program ships

TEST(ShippedSnippets, LoadWithoutErrorsAndUseEveryParameter)
{
    CodeSnippetTable table;
    TCodeSnippets parser(table);
    parser.SourceFileName = ZEV_SOURCE_DIR "/data/def/codesnippets.def";
    ASSERT_TRUE(parser.Execute()) << parser.IoError();
    EXPECT_EQ(ErrorList(parser), Errors {});
    EXPECT_GE(table.count(), 10);
    EXPECT_LE(table.count(), 20);

    std::set<std::string> names;
    const std::regex placeholder("%([^%\r\n]*)%");
    for (const CodeSnippet& s : table) {
        SCOPED_TRACE(s.name);
        EXPECT_TRUE(names.insert(s.name).second) << "duplicate name";
        EXPECT_FALSE(s.desc.empty());
        ASSERT_FALSE(s.code.empty());
        std::set<std::string> params;
        for (int32_t i = 0; i < s.param_count; ++i) {
            const Param& p = s.params[static_cast<std::size_t>(i)];
            // Every parameter has a type the parameter window can ask for, a prompt, and a place.
            EXPECT_NE(ParamTypeName(p.param_type), "Unknown") << p.name;
            EXPECT_NE(p.param_type, PARAM_MAP_VAR) << p.name;
            EXPECT_FALSE(p.prompt.empty()) << p.name;
            EXPECT_NE(s.code.find("%" + p.name + "%"), std::string::npos) << p.name;
            params.insert(p.name);
        }
        for (auto it = std::sregex_iterator(s.code.begin(), s.code.end(), placeholder); it != std::sregex_iterator();
             ++it)
            EXPECT_TRUE(params.count((*it)[1].str())) << "no parameter for " << (*it)[0].str();
    }
}

} // namespace
} // namespace zev
