#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editors/script_highlight.h"

namespace zev {
namespace {

using State = ScriptLexState;

// One letter per byte: . default, K keyword, C comment, S string, N number.
std::string Styles(std::string_view line, State start = State::Code, State* end = nullptr)
{
    std::vector<ScriptStyle> styles;
    const State after = HighlightScriptLine(line, start, styles);
    if (end)
        *end = after;
    std::string out;
    for (ScriptStyle s : styles)
        out += ".KCSN"[static_cast<int>(s)];
    return out;
}

TEST(ScriptHighlight, KeywordsAreWholeWordsInAnyCase)
{
    EXPECT_EQ(Styles("if x then begin"), "KK...KKKK.KKKKK");
    EXPECT_EQ(Styles("Procedure End wHiLe"), "KKKKKKKKK.KKK.KKKKK");
    // Inside longer words, or next to a digit or a letter of another script, they are names.
    EXPECT_EQ(Styles("endif ifx _do do1"), ".................");
    EXPECT_EQ(Styles("\xC3\xA9"
                     "do"),
        "....");
    EXPECT_EQ(Styles("x:=do;"), "...KK.");
    for (const char* k : { "BEGIN", "CALL", "CRITICAL", "DO", "ELSE", "END", "EXPORT", "FOR", "IF", "IMPORT",
             "PROCEDURE", "THEN", "VARIABLE", "WHILE" })
        EXPECT_TRUE(IsScriptKeyword(k)) << k;
    EXPECT_FALSE(IsScriptKeyword("REPEAT"));
    EXPECT_FALSE(IsScriptKeyword(""));
}

TEST(ScriptHighlight, StringsAndNumbers)
{
    EXPECT_EQ(Styles("say(\"if // {\", 12)"), "....SSSSSSSSS..NN.");
    // An unclosed string ends with its line and opens nothing.
    State end;
    EXPECT_EQ(Styles("x \"abc", State::Code, &end), "..SSSS");
    EXPECT_EQ(end, State::Code);
    EXPECT_EQ(Styles("1.5 x2"), "NNN...");
}

TEST(ScriptHighlight, LineComments)
{
    EXPECT_EQ(Styles("x // if \"y"), "..CCCCCCCC");
    EXPECT_EQ(Styles("a / b"), ".....");
}

TEST(ScriptHighlight, BlockCommentsOnOneLine)
{
    EXPECT_EQ(Styles("{ if } do"), "CCCCCC.KK");
    EXPECT_EQ(Styles("(* if *)do"), "CCCCCCCCKK");
    EXPECT_EQ(Styles("/* if */do"), "CCCCCCCCKK");
    // Each kind ends only with its own closer; "(*)" does not close itself.
    EXPECT_EQ(Styles("{ *) */ } if"), "CCCCCCCCC.KK");
    EXPECT_EQ(Styles("(*) if *) if"), "CCCCCCCCC.KK");
    // A parenthesis without a star is code.
    EXPECT_EQ(Styles("f(if)"), "..KK.");
}

TEST(ScriptHighlight, BlockCommentsCarryOverLines)
{
    State s;
    EXPECT_EQ(Styles("do { if", State::Code, &s), "KK.CCCC");
    EXPECT_EQ(s, State::BraceComment);
    EXPECT_EQ(Styles("if", s, &s), "CC");
    EXPECT_EQ(s, State::BraceComment);
    EXPECT_EQ(Styles("", s, &s), "");
    EXPECT_EQ(s, State::BraceComment);
    EXPECT_EQ(Styles("*/ } if", s, &s), "CCCC.KK");
    EXPECT_EQ(s, State::Code);

    EXPECT_EQ(Styles("x (* a", State::Code, &s), "..CCCC");
    EXPECT_EQ(s, State::ParenStarComment);
    EXPECT_EQ(Styles("} */ *) then", s, &s), "CCCCCCC.KKKK");
    EXPECT_EQ(s, State::Code);

    EXPECT_EQ(Styles("/*", State::Code, &s), "CC");
    EXPECT_EQ(s, State::SlashStarComment);
    EXPECT_EQ(Styles("// */ // x", s, &s), "CCCCC.CCCC");
    EXPECT_EQ(s, State::Code);
}

TEST(ScriptHighlight, CommentOpenersInsideStringsAndCommentsDoNothing)
{
    State s;
    EXPECT_EQ(Styles("\"{\" if", State::Code, &s), "SSS.KK");
    EXPECT_EQ(s, State::Code);
    EXPECT_EQ(Styles("// {", State::Code, &s), "CCCC");
    EXPECT_EQ(s, State::Code);
    EXPECT_EQ(Styles("{ /* }", State::Code, &s), "CCCCCC");
    EXPECT_EQ(s, State::Code);
}

} // namespace
} // namespace zev
