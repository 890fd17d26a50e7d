// The scanner base over a language of its own, with rules none of the program's languages uses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/base_scanner.h"
#include "model/scanned_tokens.h"
#include "support/temp_dir.h"

namespace zev {
namespace {

using Tokens = std::vector<std::string>;
using test::ScannedTokens;

// 6 begin, 7 end, 8 ":=", 9 ":", 10 "->", 11 "-", 12 "(", 13 ")", 14 "<", 15 "<>", 16 "<="; 17 is
// the unknown symbol and 18 the pragma.
constexpr std::string_view kTerminals[] = { "begin", "end", ":=", ":", "->", "-", "(", ")", "<", "<>", "<=" };
constexpr TCommentRule kComments[] = { { "{", "}" }, { "(*", "*)" }, { "#", {} } };
constexpr TStringRule kStrings[] = { { .delimiter = '\'' }, { .delimiter = '"', .escape = '\\' } };
constexpr TPragmaRule kPragmas[] = { { '%', 18 } };

const TScannerTable& TestLanguage()
{
    static const TScannerTable table(TScannerRules {
        .terminals = kTerminals,
        .noSym = 17,
        .letters = "abcdefghijklmnopqrstuvwxyz_",
        .identifierTail = "0123456789?",
        .lineEnds = "\n",
        .comments = kComments,
        .strings = kStrings,
        .pragmas = kPragmas,
        .numbers = { .enabled = true, .plusTakesFraction = true },
    });
    return table;
}

struct BaseScanner : ::testing::Test {
    TBaseScanner scanner { TestLanguage() };
    Tokens Scan(std::string text, bool positions = false) { return ScannedTokens(scanner, std::move(text), positions); }
};

TEST_F(BaseScanner, KeywordsAreWholeIdentifiersOfTheLetterClass)
{
    EXPECT_EQ(Scan("begin beginning end2 x? e_nd"), (Tokens { "6 begin", "1 beginning", "1 end2", "1 x?", "1 e_nd" }));
    // Upper case is no letter here, and "?" only continues an identifier.
    EXPECT_EQ(Scan("Begin ?x"), (Tokens { "17 B", "1 egin", "17 ?", "1 x" }));
    EXPECT_EQ(TestLanguage().Keyword("end"), 7);
    EXPECT_EQ(TestLanguage().Keyword("END"), -1);
    EXPECT_EQ(TestLanguage().Keyword(":="), -1); // an operator is no keyword
}

TEST_F(BaseScanner, OperatorsMatchTheLongestText)
{
    EXPECT_EQ(Scan("a:=b:c <> <= < <<="),
        (Tokens { "1 a", "8 :=", "1 b", "9 :", "1 c", "15 <>", "16 <=", "14 <", "14 <", "16 <=" }));
    EXPECT_EQ(Scan("=!"), (Tokens { "17 =", "17 !" }));
}

TEST_F(BaseScanner, SignsBelongToNumbersOnlyBeforeADigit)
{
    // "-" is also an operator; "+" takes a fraction here and "-" does not.
    EXPECT_EQ(Scan("-5 - 5 -> -x +x"), (Tokens { "2 -5", "11 -", "2 5", "10 ->", "11 -", "1 x", "17 +", "1 x" }));
    EXPECT_EQ(
        Scan("+1.5 -1.5 1.5 .5 5. $1"), (Tokens { "3 +1.5", "2 -1", "3 .5", "3 1.5", "3 .5", "17 5.", "17 $", "2 1" }));
    // No suffix in this language.
    EXPECT_EQ(Scan("1.5f"), (Tokens { "3 1.5", "1 f" }));
}

TEST_F(BaseScanner, CommentsOfEveryStyleAndTheirEnds)
{
    EXPECT_EQ(Scan("a { b } c (* d *) e # f\ng"), (Tokens { "1 a", "1 c", "1 e", "1 g" }));
    // "(" alone is an operator; a comment opening wins over it.
    EXPECT_EQ(Scan("( a )(**)b"), (Tokens { "12 (", "1 a", "13 )", "1 b" }));
    // The line comment ends at LF only here.
    EXPECT_EQ(Scan("# f\r g\nh"), (Tokens { "1 h" }));
    // Open at the end: the input ends there.
    EXPECT_EQ(Scan("a (* b *"), (Tokens { "1 a" }));
    EXPECT_EQ(Scan("a { b"), (Tokens { "1 a" }));
}

TEST_F(BaseScanner, EachStringStyleKeepsItsOwnEscapes)
{
    EXPECT_EQ(Scan(R"('a\' "b\"c" 'x"y')"), (Tokens { R"(4 'a\')", R"(4 "b\"c")", R"(4 'x"y')" }));
    // Cut off by the line end: an unknown symbol without it; by the end of the input: end of file.
    EXPECT_EQ(Scan("'ab\ncd'"), (Tokens { "17 'ab", "1 cd" }));
    EXPECT_EQ(Scan("'a\rb'"), (Tokens { "4 'a\rb'" })); // CR is no line end here
    EXPECT_EQ(Scan("x \"ab\\"), (Tokens { "1 x" }));
    EXPECT_EQ(Scan("\"a\\\nb"), (Tokens { "17 \"a\\", "1 b" }));
}

TEST_F(BaseScanner, PragmasRunToTheirLineEnd)
{
    EXPECT_EQ(Scan("%p q\nx"), (Tokens { "18 %p q", "1 x" }));
    EXPECT_EQ(Scan("x %p q"), (Tokens { "1 x" })); // the input ends inside it
}

TEST_F(BaseScanner, PositionsAndTheEndOfTheInput)
{
    EXPECT_EQ(Scan("a\n  bb\r\nc\rd", true), (Tokens { "1:2 1 a", "2:3 1 bb", "3:2 1 c", "4:1 1 d" }));
    EXPECT_EQ(Scan(std::string("a\0b", 3)), (Tokens { "1 a" }));
    EXPECT_EQ(Scan("a\x1a b"), (Tokens { "1 a" }));
    EXPECT_EQ(Scan("'a\x1a'"), (Tokens {}));
    EXPECT_EQ(Scan("{\x1a}b"), (Tokens {}));
}

TEST_F(BaseScanner, TerminalTextsAndNumbers)
{
    const TScannerTable& t = TestLanguage();
    EXPECT_EQ(t.MaxT(), 16);
    EXPECT_EQ(t.NoSym(), 17);
    EXPECT_EQ(t.TerminalText(6), "begin");
    EXPECT_EQ(t.TerminalText(16), "<=");
    EXPECT_EQ(t.TerminalText(5), "");
    EXPECT_EQ(t.TerminalText(17), "");
    EXPECT_EQ(t.TerminalText(-1), "");
}

// Runs over plain bytes read the window directly: wherever its edges fall, and however little it
// keeps, a file gives the symbols the same text in memory gives.
TEST_F(BaseScanner, AFileThroughAnyWindowGivesTheSameSymbols)
{
    std::string text;
    for (int i = 0; i < 40; ++i) {
        text += "begin  'a long string " + std::to_string(i) + "' identifier_"
            + std::string(static_cast<std::size_t>(i), 'x');
        text += i % 3 ? "\r\n" : "\n";
        text += "   { comment } (* a (* b *) %pragma " + std::to_string(i) + "\n  -12.5 +3 <> := end # c\n";
    }
    const Tokens expected = Scan(text, true);
    ASSERT_EQ(expected.size(), 400u); // ten a round: "-12.5" is "-12" and ".5"
    test::TempDir dir;
    std::string path = dir.Write("tokens.txt", text);
    for (int64_t chunk : { 1, 2, 3, 7, 64 }) {
        for (int64_t keep : { int64_t { 0 }, chunk, 4 * chunk }) {
            TBaseScanner fromFile(TestLanguage());
            std::string error;
            ASSERT_TRUE(fromFile.OpenFileSource(path, error)) << error;
            fromFile.SetWindowSizes(chunk, keep);
            EXPECT_EQ(test::ReadTokens(fromFile, true), expected) << "window " << chunk << ", keeping " << keep;
        }
    }
}

} // namespace
} // namespace zev
