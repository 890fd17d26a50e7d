// The dialogue file's lexical rules, symbol by symbol.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/scanned_tokens.h"
#include "model/zev_scanner.h"

namespace zev {
namespace {

using Tokens = std::vector<std::string>;

Tokens Scan(std::string text)
{
    TZEVScanner scanner;
    return test::ScannedTokens(scanner, std::move(text));
}

TEST(ZevScanner, StringsEndAtACrOnlyAndTheirEscapesChain)
{
    EXPECT_EQ(Scan("\"a\\\"b\" \"a\nb\""), (Tokens { "4 \"a\\\"b\"", "4 \"a\nb\"" }));
    EXPECT_EQ(Scan("\"ab\r\nx"), (Tokens { "82 \"ab", "1 x" }));
    // An escaped quote right before the line end closes the string.
    EXPECT_EQ(Scan("\"ab\\\"\r\nx"), (Tokens { "4 \"ab\\\"", "1 x" }));
    // A run of backslashes stays one escape, so the quote after "\\" is escaped too.
    EXPECT_EQ(Scan("\"a\\\\\" x\r\n"), (Tokens { "82 \"a\\\\\" x" }));
    EXPECT_EQ(Scan("\"a\\\\\"\r\n"), (Tokens { "4 \"a\\\\\"" }));
    // The end of the input inside a string is the end of file.
    EXPECT_EQ(Scan("x \"ab"), (Tokens { "1 x" }));
}

TEST(ZevScanner, CommentsAndDirectivesRunOnOverLf)
{
    EXPECT_EQ(Scan("// c\nx\r\ny /* z\r\n */ w"), (Tokens { "1 y", "1 w" }));
    EXPECT_EQ(Scan("#dir\nx\r\ny"), (Tokens { "83 #dir\nx", "1 y" }));
    EXPECT_EQ(Scan("y #dir"), (Tokens { "1 y" }));
    EXPECT_EQ(Scan("a / b /* open"), (Tokens { "1 a", "82 /", "1 b" }));
}

TEST(ZevScanner, NumbersSignsAndHexLiterals)
{
    EXPECT_EQ(Scan("12 -3 +4 -1.5f 2.25 .5 +1.5"),
        (Tokens { "2 12", "2 -3", "2 +4", "3 -1.5f", "3 2.25", "3 .5", "2 +1", "3 .5" }));
    EXPECT_EQ(
        Scan("5. 1.5F $a_9\xc4 $ - +"), (Tokens { "82 5.", "3 1.5", "1 F", "5 $a_9\xc4", "5 $", "82 -", "82 +" }));
}

TEST(ZevScanner, OperatorsKeywordsAndLetters)
{
    EXPECT_EQ(Scan("== != ! => = <= < >= > { } , ;"),
        (Tokens {
            "6 ==", "7 !=", "82 !", "58 =>", "17 =", "11 <=", "8 <", "10 >=", "9 >", "31 {", "33 }", "32 ,", "46 ;" }));
    EXPECT_EQ(Scan("Node node Nodes NPCText \xc4r \xe9"),
        (Tokens { "60 Node", "1 node", "1 Nodes", "62 NPCText", "1 \xc4r", "82 \xe9" }));
    EXPECT_EQ(ZevKeyword("Detailed_Desc"), zevsym::Detailed_Desc);
    EXPECT_EQ(ZevKeyword("=="), -1);
}

} // namespace
} // namespace zev
