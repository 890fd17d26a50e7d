#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/dialog_ops.h"
#include "model/zev_parser.h"
#include "support/temp_dir.h"

namespace zev {
namespace {

// The runtime's contract, seen through the dialogue reader.
struct RuntimeFixture : ::testing::Test {
    std::unique_ptr<dialog> d = std::make_unique<dialog>();
    TZEV parser;
    RuntimeFixture() { parser.SetTarget(d.get()); }
    ~RuntimeFixture() override { Clear(*d); }
    void Parse(std::string text)
    {
        parser.Scanner().SrcStream() = std::move(text);
        ASSERT_TRUE(parser.Execute());
    }
};

constexpr std::string_view kHeader = "NPCName \"n\" Location \"l\" Description \"d\" Unknown_Desc \"u\" "
                                     "Known_Desc \"k\" Detailed_Desc \"dd\"";

TEST_F(RuntimeFixture, MessagesOfUnknownCodesFallBackToTheNumber)
{
    EXPECT_EQ(parser.ErrorMsg(60, ""), "\"Node\" expected");
    EXPECT_EQ(parser.ErrorMsg(3, ""), "_float expected");
    EXPECT_EQ(parser.ErrorMsg(99, ""), "Error: 99");
    EXPECT_EQ(parser.ErrorMsg(99, " \t"), "Error: 99");
    EXPECT_EQ(parser.ErrorMsg(99, "extra"), "Error: 99 (extra)");
    parser.OnCustomError
        = [](int code, std::string_view data) { return "custom " + std::to_string(code) + std::string(data); };
    EXPECT_EQ(parser.ErrorMsg(99, "!"), "custom 99!");
    EXPECT_EQ(parser.ErrorMsg(90, ""), "invalid Main");
}

TEST_F(RuntimeFixture, Byte26EndsTheInputAndTheLastLineNeedsNoLineEnd)
{
    Parse(std::string(kHeader) + "\x1a" + "garbage that is never read");
    EXPECT_TRUE(parser.Successful());
    EXPECT_EQ(d->detailed_desc, "dd");

    Parse(std::string(kHeader)); // no line end at all
    EXPECT_TRUE(parser.Successful());
}

TEST_F(RuntimeFixture, ColumnsFollowTheLineEndStyle)
{
    // LF-only: column 1 on later lines; line 1 starts at column 2.
    Parse("x\ny");
    ASSERT_EQ(parser.Errors().size(), 1u);
    EXPECT_EQ(parser.Errors()[0].Line, 1);
    EXPECT_EQ(parser.Errors()[0].Col, 2);
    Parse("\n  x");
    EXPECT_EQ(parser.Errors()[0].Line, 2);
    EXPECT_EQ(parser.Errors()[0].Col, 3);
    Parse("\r\n\r\nx");
    EXPECT_EQ(parser.Errors()[0].Line, 3);
    EXPECT_EQ(parser.Errors()[0].Col, 2);
    // A lone CR ends a line too.
    Parse("\rx");
    EXPECT_EQ(parser.Errors()[0].Line, 2);
    EXPECT_EQ(parser.Errors()[0].Col, 1);
}

TEST_F(RuntimeFixture, EventsFireInOrderAndTheSourceIsClearedAfterwards)
{
    std::vector<std::string> events;
    parser.BeforeParse = [&] { events.push_back("before"); };
    parser.AfterParse = [&] { events.push_back("after"); };
    parser.OnError = [&](const TParseError& e) { events.push_back("error " + std::to_string(e.ErrorCode)); };
    parser.OnSuccess = [&] { events.push_back("success"); };
    parser.OnFailure = [&](int n) { events.push_back("failure " + std::to_string(n)); };
    parser.SetOnStatusUpdate([&](TParseStatusType t, std::string_view, int32_t line) {
        events.push_back("status " + std::to_string(t) + " " + std::to_string(line));
    });
    Parse("\nNode");
    EXPECT_EQ(events,
        (std::vector<std::string> {
            "before", "status 1 -1", "status 3 2", "error 4", "status 2 -1", "after", "failure 1" }));
    EXPECT_TRUE(parser.Scanner().SrcStream().empty());
    events.clear();
    parser.ClearSourceStream = false;
    Parse(std::string(kHeader));
    EXPECT_EQ(events.back(), "success");
    EXPECT_FALSE(parser.Scanner().SrcStream().empty());
}

TEST_F(RuntimeFixture, PragmasLeaveNoTraceAndAfterGetSeesEverySymbol)
{
    int symbols = 0;
    parser.AfterGet = [&](int&) { ++symbols; };
    Parse("#directive\r\nNPCName #x\r\n\"n\" Location \"l\" Description \"d\" Unknown_Desc \"u\" Known_Desc \"k\" "
          "Detailed_Desc \"dd\"");
    EXPECT_TRUE(parser.Successful());
    EXPECT_EQ(d->npc_name, "n");
    EXPECT_EQ(symbols, 13); // 12 tokens and the end of file
}

TEST_F(RuntimeFixture, AnUnreadableFileIsNotASuccess)
{
    test::TempDir dir;
    parser.SourceFileName = dir.File("missing.zev");
    EXPECT_FALSE(parser.Execute());
    EXPECT_FALSE(parser.Successful());
    EXPECT_NE(parser.IoError().find("missing.zev"), std::string::npos);

    parser.SourceFileName = dir.Write("ok.zev", std::string(kHeader));
    EXPECT_TRUE(parser.Execute());
    EXPECT_TRUE(parser.Successful());
    EXPECT_EQ(d->location, "l");
}

TEST_F(RuntimeFixture, ListingsOfLinesWithThousandsOfErrorsStaySmall)
{
    // One line of a damaged file: an error every few symbols, far to the right.
    std::string junk;
    for (int i = 0; i < 20000; ++i)
        junk += "int=1 ";
    parser.GenListWhen = glAlways;
    Parse(std::string(kHeader) + "\r\nNode \"a\" notes \"\" { NPCText \"x\" options { " + junk + "} }\r\n");
    ASSERT_GT(parser.Errors().size(), 10000u);
    const std::string& list = parser.ListStream();
    EXPECT_LT(list.size(), 4u << 20) << "the caret lines must not be padded to the error's column";
    EXPECT_NE(list.find("*****  (column "), std::string::npos);
    // Errors near the start of the line keep their caret under the symbol.
    std::size_t first = list.find("\r\n*****  ") + 2;
    std::size_t caret = list.find('^', first);
    EXPECT_GT(caret - first, 40u);
    EXPECT_EQ(list.find_first_not_of(' ', first + 7), caret);
    std::string count = std::to_string(parser.Errors().size()) + " errors";
    EXPECT_EQ(list.substr(list.size() - count.size() - 2), count + "\r\n");
}

TEST_F(RuntimeFixture, ErrorsBeyondAHundredThousandAreCountedNotStored)
{
    std::string junk;
    for (int i = 0; i < 400000; ++i)
        junk += "int=1\n";
    int events = 0;
    parser.OnError = [&](const TParseError&) { ++events; };
    Parse(std::string(kHeader) + "\r\nNode \"a\" notes \"\" { NPCText \"x\" options { " + junk + "} }\r\n");
    EXPECT_EQ(parser.Errors().size(), 100000u);
    EXPECT_EQ(events, 100000);
    EXPECT_GT(parser.UnstoredErrors(), 100000);
    EXPECT_FALSE(parser.Successful());
    Parse(std::string(kHeader));
    EXPECT_EQ(parser.UnstoredErrors(), 0);
    EXPECT_TRUE(parser.Successful());
}

} // namespace
} // namespace zev
