#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "model/dialog_ops.h"
#include "model/source_quotes.h"
#include "model/zev_parser.h"
#include "support/temp_dir.h"

namespace zev {
namespace {

using Lines = std::map<int64_t, std::string>;

Lines Texts(const SourceQuotes& q)
{
    Lines out;
    for (const auto& [number, line] : q.lines)
        out[number] = line.text;
    return out;
}

struct ErrorLog : ::testing::Test {
    test::TempDir dir;
    SourceQuotes Quote(std::string_view bytes, std::vector<int64_t> wanted, std::size_t cap = 512)
    {
        return QuoteSourceLines(dir.Write("f.txt", bytes), wanted, cap);
    }
};

TEST_F(ErrorLog, LinesEndAtCrLfLfOrCrAndAFinalBreakOpensNoLine)
{
    SourceQuotes q = Quote("a\r\nb\nc\rd\n\re", { 1, 2, 3, 4, 5, 6, 7 });
    EXPECT_EQ(q.lineCount, 6);
    EXPECT_EQ(Texts(q), (Lines { { 1, "a" }, { 2, "b" }, { 3, "c" }, { 4, "d" }, { 5, "" }, { 6, "e" } }));
    EXPECT_EQ(Quote("a\r\n", { 1, 2 }).lineCount, 1);
    EXPECT_EQ(Texts(Quote("a\r\n", { 1, 2 })), (Lines { { 1, "a" } }));
    EXPECT_EQ(Quote("\r\n\r\n", {}).lineCount, 2);
    EXPECT_EQ(Quote("", { 1 }).lineCount, 0);
    EXPECT_TRUE(Quote("", { 1 }).lines.empty());
    // Only the lines asked for, in any order and more than once; bytes 0 and 26 are text here.
    q = Quote(std::string("x\ny\0z\nw\x1a", 8), { 3, 0, -1, 2, 3 });
    EXPECT_EQ(q.lineCount, 3);
    EXPECT_EQ(Texts(q), (Lines { { 2, std::string("y\0z", 3) }, { 3, "w\x1a" } }));
}

TEST_F(ErrorLog, ACrLfSplitBetweenTwoReadsIsOneLineBreak)
{
    std::string text(65535, 'x');
    text += "\r\nb";
    SourceQuotes q = Quote(text, { 1, 2 });
    EXPECT_EQ(q.lineCount, 2);
    EXPECT_EQ(q.lines[1].length, 65535);
    EXPECT_EQ(q.lines[2].text, "b");
}

TEST_F(ErrorLog, EntriesQuoteTheirLinesCutAtTheCap)
{
    std::string longLine(700, 'q');
    SourceQuotes q = Quote("first\r\n" + longLine + "\r\nthird", { 1, 2, 3 });
    EXPECT_EQ(q.lines[2].text, std::string(512, 'q'));
    EXPECT_EQ(q.lines[2].length, 700);
    std::string text = ParseErrorLogText(q, { { 3, 2, "late" }, { 2, 5, "long" }, { 4, 1, "at the end" } });
    EXPECT_EQ(text,
        "Error on line 3 column 2:\r\nlate\r\nthird\r\n"
        "Error on line 2 column 5:\r\nlong\r\n"
            + std::string(512, 'q')
            + " [...]\r\n"
              "Error on line 4 column 1:\r\nat the end\r\nNull line. (Probably end of file?)\r\n");
    // A line of exactly the cap is whole.
    q = Quote(std::string(512, 'w'), { 1 });
    EXPECT_EQ(
        ParseErrorLogText(q, { { 1, 0, "m" } }), "Error on line 1 column 0:\r\nm\r\n" + std::string(512, 'w') + "\r\n");
}

TEST_F(ErrorLog, AFileThatCannotBeReadQuotesNothing)
{
    SourceQuotes q = QuoteSourceLines(dir.File("missing.zev"), { 1 }, 512);
    EXPECT_EQ(q.lineCount, 0);
    EXPECT_EQ(ParseErrorLogText(q, { { 1, 2, "m" } }),
        "Error on line 1 column 2:\r\nm\r\nNull line. (Probably end of file?)\r\n");
    EXPECT_EQ(QuoteSourceLines(dir.path(), { 1 }, 512).lineCount, 0); // a folder
}

// The reader's errors as the program logs them: one on a late line, one at the end of the file.
TEST_F(ErrorLog, TheLogOfAReadWithErrorsLateAndAtTheEnd)
{
    std::string text = "NPCName \"n\" Location \"\" Description \"\" Unknown_Desc \"\" Known_Desc \"\" "
                       "Detailed_Desc \"\"\r\n";
    for (int i = 0; i < 3000; ++i)
        text += "// line " + std::to_string(i + 2) + "\r\n";
    text += "Node \"a\" notes \"\" { NPCText \"x\" options { } } @\r\n";
    text += "Node \"b\" notes \"\"\r\n";
    auto d = std::make_unique<dialog>();
    TZEV reader;
    reader.SetTarget(d.get());
    reader.SourceFileName = dir.Write("late.zev", text);
    ASSERT_TRUE(reader.Execute());
    std::vector<ParseErrorLogEntry> entries;
    std::vector<int64_t> wanted;
    for (const TParseError& e : reader.Errors()) {
        entries.push_back({ e.Line, e.Col, reader.ErrorMsg(e.ErrorCode, "") });
        wanted.push_back(e.Line);
    }
    SourceQuotes q = QuoteSourceLines(reader.SourceFileName, wanted, kMaxQuotedSourceText);
    EXPECT_EQ(q.lineCount, 3003);
    EXPECT_EQ(ParseErrorLogText(q, entries),
        "Error on line 3002 column 48:\r\nnot expected\r\n"
        "Node \"a\" notes \"\" { NPCText \"x\" options { } } @\r\n"
        "Error on line 3004 column 2:\r\n\"{\" expected\r\nNull line. (Probably end of file?)\r\n");
    Clear(*d);
}

int64_t PeakResidentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stoll(line.substr(6));
    return -1;
}

// Quoting never holds the file: in a process of its own, the peak memory hardly moves while a
// file of 48 MB of unquoted lines is read (holding it would add at least that).
TEST_F(ErrorLog, TheUnquotedLinesAreNeverHeld)
{
    std::string path = dir.File("huge.txt");
    {
        std::ofstream out(path, std::ios::binary);
        std::string huge(16u << 20, 'h');
        for (int i = 0; i < 3; ++i)
            out << "quoted " << i << "\r\n" << huge << "\r\n";
    }
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int64_t before = PeakResidentKb();
        SourceQuotes q = QuoteSourceLines(path, { 1, 3, 5, 6 }, kMaxQuotedSourceText);
        int64_t grown = PeakResidentKb() - before;
        bool right = q.lineCount == 6 && q.lines.at(3).text == "quoted 1" && q.lines.at(6).length == (16 << 20);
        _exit(before < 0 ? 2 : !right ? 3 : grown > 8 * 1024 ? 4 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "2: no peak figure, 3: wrong quotes, 4: grew by more than 8 MB";
}

} // namespace
} // namespace zev
