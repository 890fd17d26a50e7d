// The definition languages' lexical rules, symbol by symbol: lines end at CR or LF, and the two
// languages differ in their strings and pragmas.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "completion/code_snippets_scanner.h"
#include "completion/parse_include_scanner.h"
#include "model/scanned_tokens.h"

namespace zev {
namespace {

using Tokens = std::vector<std::string>;

Tokens Snippets(std::string text)
{
    TCodeSnippetsScanner scanner;
    return test::ScannedTokens(scanner, std::move(text));
}

Tokens Definitions(std::string text)
{
    TParseIncludeScanner scanner;
    return test::ScannedTokens(scanner, std::move(text));
}

TEST(DefScanners, ABackslashInAPresetStringTakesTheNextCharacter)
{
    EXPECT_EQ(Snippets(R"("a\"b" "c\\" d)"), (Tokens { R"(4 "a\"b")", R"(4 "c\\")", "1 d" }));
    EXPECT_EQ(Snippets("\"ab\nx"), (Tokens { "26 \"ab", "1 x" }));
    EXPECT_EQ(Snippets("\"ab\\\nx"), (Tokens { "26 \"ab\\", "1 x" }));
    EXPECT_EQ(Snippets("x \"ab\\"), (Tokens { "1 x" }));
}

TEST(DefScanners, DefinitionStringsHaveNoEscapesAndNoPragmas)
{
    EXPECT_EQ(Definitions(R"("a\" b)"), (Tokens { R"(4 "a\")", "1 b" }));
    EXPECT_EQ(Definitions("\"ab\rx"), (Tokens { "16 \"ab", "1 x" }));
    EXPECT_EQ(Definitions("#x"), (Tokens { "16 #", "1 x" }));
    EXPECT_EQ(Snippets("#x y\nz"), (Tokens { "27 #x y", "1 z" }));
}

TEST(DefScanners, CommentsEndAtLf)
{
    EXPECT_EQ(Snippets("// c\nx /* y\n */ z"), (Tokens { "1 x", "1 z" }));
    EXPECT_EQ(Definitions("// c\rx / y"), (Tokens { "1 x", "16 /", "1 y" }));
}

TEST(DefScanners, KeywordsAndOperatorsOfEachLanguage)
{
    EXPECT_EQ(Snippets("CodePreset string int integer ( ) { } = , ;"),
        (Tokens { "18 CodePreset", "16 string", "7 int", "1 integer", "19 (", "21 )", "23 {", "24 }", "17 =", "20 ,",
            "25 ;" }));
    EXPECT_EQ(Definitions("AddDefine integer string int ( ) = , ; { -2 $ff"),
        (Tokens { "6 AddDefine", "8 integer", "10 string", "1 int", "7 (", "13 )", "14 =", "12 ,", "15 ;", "16 {",
            "2 -2", "5 $ff" }));
}

} // namespace
} // namespace zev
