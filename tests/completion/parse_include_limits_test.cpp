#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/log.h"
#include "completion/error_list.h"
#include "completion/parse_include.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace zev {
namespace {

using test::ErrorList;
using Errors = std::vector<std::string>;

std::string Definitions(int from, int to)
{
    std::string text;
    for (int i = from; i <= to; ++i)
        text += "AddDefine d" + std::to_string(i) + ";\n";
    return text;
}

// A procedure whose parameters stand one per line, from line 2.
std::string Procedure(int params, bool trailingComma = false)
{
    std::string text = "AddDefine f(\n";
    for (int i = 1; i <= params; ++i)
        text += "integer a" + std::to_string(i) + (i < params || trailingComma ? ",\n" : "\n");
    return text + ");\nAddDefine after;\n";
}

struct IncludeLimits : ::testing::Test {
    DefinitionTable table;
    TParseInclude parser { table };
    Logger log;
    test::LogCapture captured { log };
    test::TempDir dir;

    void Parse(std::string text)
    {
        parser.Scanner().SrcStream() = std::move(text);
        ASSERT_TRUE(parser.Execute());
    }
};

TEST_F(IncludeLimits, The6001stDefinitionIsKeptAndThe6002ndDropped)
{
    Parse(Definitions(1, 6001));
    EXPECT_TRUE(parser.Successful());
    ASSERT_EQ(table.count(), 6001);

    table.Clear();
    Parse(Definitions(1, 6002) + "AddDefine d6003(;\n");
    EXPECT_EQ(ErrorList(parser), (Errors { "6002:1 92", "6003:1 92", "6003:17 13" }));
    ASSERT_EQ(table.count(), 6001);
    EXPECT_EQ(table[6000].name, "d6001");
}

TEST_F(IncludeLimits, The11thParameterIsKeptAndThe12thDropped)
{
    Parse(Procedure(11));
    EXPECT_TRUE(parser.Successful());
    ASSERT_EQ(table[0].param_count, 11);
    EXPECT_EQ(table[0].param_names[10], "a11");

    table.Clear();
    Parse(Procedure(13));
    EXPECT_EQ(ErrorList(parser), (Errors { "13:1 92", "14:1 92" }));
    ASSERT_EQ(table.count(), 2);
    EXPECT_EQ(table[0].param_count, 11);
    EXPECT_EQ(table[0].param_names[10], "a11");
    EXPECT_EQ(table[0].param_types[10], DEF_PARAM_INTEGER);
    EXPECT_EQ(table[1].name, "after");

    // An empty twelfth parameter is one too many as well.
    table.Clear();
    Parse(Procedure(11, true));
    EXPECT_EQ(ErrorList(parser), (Errors { "13:1 92", "13:1 1" }));
    EXPECT_EQ(table[0].param_count, 11);
}

TEST_F(IncludeLimits, LoadDefLogsParsesAndAppends)
{
    std::string first = dir.Write("first.def", "AddDefine one;\r\nAddDefine two(objectptr o);\r\n");
    std::string second = dir.Write("second.def", "AddDefine one = 1;\r\nAddDefine oops\r\n");

    DefLoadResult r1 = LoadDef(parser, first, log);
    EXPECT_TRUE(r1.read);
    EXPECT_EQ(r1.added, 2);
    EXPECT_TRUE(r1.errors.empty());

    DefLoadResult r2 = LoadDef(parser, second, log);
    EXPECT_TRUE(r2.read);
    EXPECT_EQ(r2.added, 2);
    ASSERT_EQ(r2.errors.size(), 1u);
    EXPECT_EQ(parser.ErrorMsg(r2.errors[0].ErrorCode, r2.errors[0].Data), "\";\" expected");
    EXPECT_EQ(r2.errors[0].Line, 3);

    // The same name from two files stands twice, in load order.
    ASSERT_EQ(table.count(), 4);
    EXPECT_EQ(table[0].name, "one");
    EXPECT_EQ(table[2].name, "one");
    EXPECT_EQ(table[2].value, "1");
    EXPECT_EQ(captured.lines,
        (std::vector<std::pair<std::string, std::string>> {
            { "Loading definition " + first, "MainApp" }, { "Loading definition " + second, "MainApp" } }));
}

TEST_F(IncludeLimits, AFileThatCannotBeReadLeavesTheTableAlone)
{
    Parse("AddDefine kept;");
    DefLoadResult r = LoadDef(parser, dir.File("missing.def"), log);
    EXPECT_FALSE(r.read);
    EXPECT_NE(r.ioError.find("missing.def"), std::string::npos);
    EXPECT_EQ(r.added, 0);
    ASSERT_EQ(table.count(), 1);
    EXPECT_EQ(table[0].name, "kept");
    EXPECT_EQ(captured.Messages(), std::vector<std::string> { "Loading definition " + dir.File("missing.def") });

    // A blank name names no file; it does not parse whatever the source buffer holds.
    parser.SourceFileName.clear();
    parser.ClearSourceStream = false;
    Parse("AddDefine stale;");
    r = LoadDef(parser, " ", log);
    EXPECT_FALSE(r.read);
    EXPECT_FALSE(r.ioError.empty());
    EXPECT_EQ(table.count(), 2);
}

TEST_F(IncludeLimits, AFullTableRefusesEveryFurtherDefinition)
{
    Parse(Definitions(1, 6001));
    DefLoadResult r = LoadDef(parser, dir.Write("more.def", "AddDefine x;\nAddDefine y;\n"), log);
    EXPECT_TRUE(r.read);
    EXPECT_EQ(r.added, 0);
    EXPECT_EQ(ErrorList(parser), (Errors { "1:2 92", "2:1 92" }));
    EXPECT_EQ(table.count(), 6001);
}

// ---- Hostile input

void ExpectWithinCapacity(const DefinitionTable& table)
{
    ASSERT_LE(table.count(), kMaxDefinitions);
    for (const IncEntry& e : table) {
        ASSERT_GE(e.param_count, 0);
        ASSERT_LE(e.param_count, kMaxDefParams);
    }
}

TEST_F(IncludeLimits, HugeAndUnfinishedInputs)
{
    const std::string huge(1 << 20, 'n');
    Parse("AddDefine " + huge + "(" + huge + ") = " + std::string(1 << 16, '9') + ";");
    EXPECT_TRUE(parser.Successful());
    EXPECT_EQ(table[0].param_names[0].size(), huge.size());

    for (std::string text : { std::string("\"") + huge, "/*" + huge, "AddDefine f(" + std::string(1 << 16, ','),
             "AddDefine f(a" + std::string(1 << 16, ',') + ")", std::string(1 << 16, '#'), std::string(1 << 16, '\0'),
             "AddDefine f(\x1a" + huge }) {
        table.Clear();
        Parse(text);
        EXPECT_FALSE(parser.Errors().empty());
        ExpectWithinCapacity(table);
    }
}

} // namespace
} // namespace zev
