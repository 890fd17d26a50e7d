#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "completion/completion_list.h"
#include "model/dialog_ops.h"
#include "model/records.h"
#include "support/log_capture.h"

namespace zev {
namespace {

using Texts = std::vector<std::string>;

IncEntry Def(
    std::string name, std::initializer_list<std::pair<int32_t, std::string>> params = {}, std::string value = {})
{
    IncEntry e;
    e.name = std::move(name);
    for (const auto& [type, paramName] : params) {
        e.param_types[static_cast<std::size_t>(e.param_count)] = type;
        e.param_names[static_cast<std::size_t>(e.param_count)] = paramName;
        ++e.param_count;
    }
    e.value = std::move(value);
    return e;
}

struct CompletionFixture : ::testing::Test {
    dialog dlg;
    DefinitionTable defs;
    Logger log;
    CompletionLists lists;

    ~CompletionFixture() override { Clear(dlg); }

    void Node(const char* name, const char* npcText) { AddNode(dlg, name)->npc_text = npcText; }
    void Variable(const char* name, int32_t scope) { AddVariable(dlg, name)->scope = scope; }
    void Refresh() { RefreshCompletionList(dlg, defs, log, lists); }
    Texts Shown(std::string_view prefix)
    {
        Texts out;
        for (int i : NarrowCompletion(lists, prefix))
            out.push_back(lists.shown[static_cast<std::size_t>(i)]);
        return out;
    }
};

// ---- Assembling the lists

TEST_F(CompletionFixture, NodesShowTheirNpcLineAndInsertTheNameAlone)
{
    Node("start", "Hello");
    Node("end", "Bye");
    Refresh();
    EXPECT_EQ(lists.shown, (Texts { "start \"Hello\"", "end \"Bye\"" }));
    EXPECT_EQ(lists.insert, (Texts { "start", "end" }));
}

TEST_F(CompletionFixture, KeepsTheOrderFloatNodesNodesVariablesDefinitions)
{
    defs.Add(Def("gsay"));
    Variable("gv", SCOPE_EXPORT);
    Node("n", "");
    AddFloatNode(dlg, "fl");
    Refresh();
    EXPECT_EQ(lists.insert, (Texts { "fl", "n", "gv", "gsay" }));
    EXPECT_EQ(lists.shown, (Texts { "fl", "n \"\"", "gv", "gsay" }));
    EXPECT_EQ(lists.hintNames, (Texts { "gsay" }));
}

TEST_F(CompletionFixture, OnlyLocalVariablesGetThePrefix)
{
    Variable("count", SCOPE_LOCAL);
    Variable("count", SCOPE_IMPORT);
    Variable("plain", SCOPE_NONE);
    Refresh();
    EXPECT_EQ(lists.insert, (Texts { "LVAR_count", "count", "plain" }));
    EXPECT_EQ(lists.shown, lists.insert);
}

TEST_F(CompletionFixture, DefinitionsShowValueOrParameterList)
{
    defs.Add(Def("seven", {}, "7"));
    defs.Add(Def("bare"));
    defs.Add(Def("f", { { DEF_PARAM_OBJECTPTR, "who" }, { DEF_PARAM_INTEGER, "n" } }));
    // Untyped and procedure parameters show no type word; "()" counts one nameless parameter.
    defs.Add(Def("g", { { DEF_PARAM_NONE, "a" }, { DEF_PARAM_PROCPTR, "p" }, { DEF_PARAM_STRING, "s" } }));
    defs.Add(Def("h", { { DEF_PARAM_NONE, "" } }, "3"));
    Refresh();
    EXPECT_EQ(
        lists.shown, (Texts { "seven = 7", "bare", "f (objectptr who, integer n)", "g (a, p, string s)", "h ()" }));
    EXPECT_EQ(lists.insert, (Texts { "seven", "bare", "f", "g", "h" }));
    EXPECT_EQ(lists.hintNames, lists.insert);
}

TEST_F(CompletionFixture, RefreshLogsAndRebuildsInsteadOfAppending)
{
    test::LogCapture capture(log);
    Node("start", "Hello");
    defs.Add(Def("f"));
    Refresh();
    Refresh();
    EXPECT_EQ(lists.shown.size(), 2u);
    EXPECT_EQ(lists.hintNames, (Texts { "f" }));
    ASSERT_EQ(capture.lines.size(), 2u);
    EXPECT_EQ(capture.lines[0], (std::pair<std::string, std::string> { "Refreshing autocomplete list...", "MainApp" }));
}

TEST_F(CompletionFixture, FollowsRenamedAndDeletedNodesAtTheNextRefresh)
{
    Node("a", "x");
    Node("b", "y");
    Refresh();
    dlg.nodes[0]->name = "renamed";
    FreeNode(RemoveNodeAt(dlg, 1));
    EXPECT_EQ(lists.insert, (Texts { "a", "b" }));
    Refresh();
    EXPECT_EQ(lists.insert, (Texts { "renamed" }));
}

TEST_F(CompletionFixture, SkipsMissingRecordsAndOverlargeCounts)
{
    Node("a", "x");
    Node("b", "y");
    dlgnode* held = dlg.nodes[0];
    dlg.nodes[0] = nullptr;
    Refresh();
    dlg.nodes[0] = held;
    EXPECT_EQ(lists.insert, (Texts { "b" }));

    IncEntry wide = Def("w", { { DEF_PARAM_INTEGER, "i" } });
    wide.param_count = 40; // more than the record holds
    defs.Add(wide);
    Refresh();
    ASSERT_EQ(lists.shown.size(), 3u);
    EXPECT_EQ(lists.shown[2].rfind("w (integer i, ", 0), 0u);
    EXPECT_EQ(ParameterHintText(wide).rfind("\"i: integer, \", \"", 0), 0u);
}

// ---- Hint texts

TEST(ParameterHintText, QuotesEachParameterWithItsTypeAndTheSeparator)
{
    EXPECT_EQ(ParameterHintText(Def("f", { { DEF_PARAM_OBJECTPTR, "who" }, { DEF_PARAM_INTEGER, "n" } })),
        "\"who: object, \", \"n: integer\"");
    EXPECT_EQ(ParameterHintText(Def("g", { { DEF_PARAM_STRING, "s" }, { DEF_PARAM_PROCPTR, "p" }, { 0, "x" } })),
        "\"s: string, \", \"p: procedure, \", \"x\"");
    EXPECT_EQ(ParameterHintText(Def("c", {}, "5")), "\"* No parameters expected *\"");
    IncEntry negative = Def("neg");
    negative.param_count = -3;
    EXPECT_EQ(ParameterHintText(negative), "\"* No parameters expected *\"");
}

TEST(HintParts, SplitsTheQuotedPartsKeepingTheirSeparators)
{
    EXPECT_EQ(HintParts("\"who: object, \", \"n: integer\""), (Texts { "who: object, ", "n: integer" }));
    EXPECT_EQ(HintParts("\"* No parameters expected *\""), (Texts { "* No parameters expected *" }));
    EXPECT_EQ(HintParts(""), Texts {});
    EXPECT_EQ(HintParts("no quotes"), Texts {});
    EXPECT_EQ(HintParts("\"a\", \"open"), (Texts { "a", "open" }));
}

// ---- Finding the call the caret stands in

struct HintFixture : CompletionFixture {
    HintFixture()
    {
        defs.Add(Def("f", { { DEF_PARAM_OBJECTPTR, "who" }, { DEF_PARAM_INTEGER, "n" } }));
        defs.Add(Def("g", { { DEF_PARAM_STRING, "s" } }));
        defs.Add(Def("\xC4rger_\xE9", { { DEF_PARAM_INTEGER, "x" } })); // Ärger_é
        Refresh();
    }
    // The definition's name and the current parameter, or "-" when there is no hint.
    std::string At(std::string_view line, int caret)
    {
        HintSearch s = FindParameterHint(line, caret, lists.hintNames);
        if (!s.found)
            return "-";
        return lists.hintNames[static_cast<std::size_t>(s.definition)] + "/" + std::to_string(s.parameter);
    }
    std::string AtEnd(std::string_view line) { return At(line, static_cast<int>(line.size())); }
};

TEST_F(HintFixture, CountsCommasToTheCall)
{
    EXPECT_EQ(AtEnd("f("), "f/0");
    EXPECT_EQ(AtEnd("  x := f(self, "), "f/1");
    EXPECT_EQ(AtEnd("f(a, g(b"), "g/0");
    EXPECT_EQ(AtEnd("f(a, g(b), "), "f/2");
    // Nested calls are skipped, commas inside them not counted.
    EXPECT_EQ(AtEnd("f(g(a, b), h(c, (d, e)), "), "f/2");
}

TEST_F(HintFixture, FindsTheWordThroughBlanksAndIgnoringCase)
{
    EXPECT_EQ(AtEnd("F ("), "f/0");
    EXPECT_EQ(AtEnd("call G  (x"), "g/0");
    HintSearch s = FindParameterHint("F (", 3, lists.hintNames);
    EXPECT_EQ(s.word, "F");
}

TEST_F(HintFixture, NoHintOutsideAKnownCall)
{
    EXPECT_EQ(AtEnd("unknown("), "-");
    EXPECT_EQ(AtEnd(""), "-");
    EXPECT_EQ(AtEnd("f(a)"), "-");
    EXPECT_EQ(AtEnd("(("), "-");
    EXPECT_EQ(AtEnd("  , , "), "-");
    EXPECT_EQ(At("f(", 0), "-");
    // A call closed before the caret.
    EXPECT_EQ(At("f(a) + x", 8), "-");
}

TEST_F(HintFixture, AnUnknownWordLetsTheSearchGoOnLeftOfIt)
{
    EXPECT_EQ(AtEnd("f(a, unknown(b"), "f/1");
}

TEST_F(HintFixture, CaretPositions)
{
    // Only what stands before the caret counts.
    EXPECT_EQ(At("f(a, g(b", 4), "f/1");
    EXPECT_EQ(At("f(a, g(b", 2), "f/0");
    EXPECT_EQ(At("f(a, g(b", 1), "-");
    // Beyond the end of the line: from its last character.
    EXPECT_EQ(At("g(a, ", 100), "g/1");
    EXPECT_EQ(At("g(", -5), "-");
}

TEST_F(HintFixture, UnbalancedClosingParenthesesRunOutAtTheLineStart)
{
    EXPECT_EQ(AtEnd("))"), "-");
    EXPECT_EQ(AtEnd("f(a))"), "-");
    EXPECT_EQ(AtEnd("a), f(b"), "f/0");
}

TEST_F(HintFixture, WordBytesOfTheWesternCodePage)
{
    EXPECT_EQ(AtEnd("\xC4rger_\xE9("), "\xC4rger_\xE9/0");
    // 215 (multiplication sign) ends a word, so the name before it is not the whole word.
    EXPECT_EQ(AtEnd("x\xD7\xC4rger_\xE9("), "\xC4rger_\xE9/0");
    // 215 and 247 are skipped like blanks between the word and "(".
    EXPECT_EQ(AtEnd("\xC4rger_\xE9\xF7("), "\xC4rger_\xE9/0");
    EXPECT_EQ(AtEnd("\xC4rger_\xE9\xD7("), "\xC4rger_\xE9/0");
    EXPECT_EQ(AtEnd("\xC4rger_\xE9q("), "-");
}

TEST(HintWordChar, ExactlyTheScriptsWordBytes)
{
    std::string words;
    for (int c = 0; c < 256; ++c)
        if (IsHintWordChar(static_cast<unsigned char>(c)))
            words += static_cast<char>(c);
    std::string expected = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz";
    for (int c = 192; c < 256; ++c)
        if (c != 215 && c != 247)
            expected += static_cast<char>(c);
    EXPECT_EQ(words, expected);
}

// ---- The hint between openings

TEST_F(HintFixture, ExecuteSetsTextAndCurrentParameter)
{
    ParameterHint hint;
    ASSERT_TRUE(hint.Execute("f(", 2, lists, defs));
    EXPECT_EQ(hint.text(), "\"who: object, \", \"n: integer\"");
    EXPECT_EQ(hint.current(), 0);
    ASSERT_TRUE(hint.Execute("f(a, ", 5, lists, defs));
    EXPECT_EQ(hint.current(), 1);
    ASSERT_TRUE(hint.Execute("f(a, g(", 7, lists, defs));
    EXPECT_EQ(hint.text(), "\"s: string\"");
    EXPECT_FALSE(hint.Execute("x(", 2, lists, defs));
    EXPECT_EQ(hint.text(), "");
}

TEST_F(HintFixture, TheSameWordKeepsItsTextAndAFailedSearchForgetsIt)
{
    ParameterHint hint;
    ASSERT_TRUE(hint.Execute("f(", 2, lists, defs));
    // Same word: the text is not rebuilt, even from a changed table.
    defs[0].param_names[0] = "changed";
    ASSERT_TRUE(hint.Execute("f(a, ", 5, lists, defs));
    EXPECT_EQ(hint.text(), "\"who: object, \", \"n: integer\"");
    // After a search that found nothing the same word gets its text again.
    EXPECT_FALSE(hint.Execute("", 0, lists, defs));
    ASSERT_TRUE(hint.Execute("f(", 2, lists, defs));
    EXPECT_EQ(hint.text(), "\"changed: object, \", \"n: integer\"");
}

TEST_F(HintFixture, StillRightAfterASecondRefresh)
{
    ParameterHint hint;
    Refresh();
    ASSERT_EQ(lists.hintNames.size(), 3u);
    ASSERT_TRUE(hint.Execute("g(", 2, lists, defs));
    EXPECT_EQ(hint.text(), "\"s: string\"");
}

TEST_F(HintFixture, ANameWithoutItsDefinitionOpensNoHint)
{
    ParameterHint hint;
    DefinitionTable shorter;
    EXPECT_FALSE(hint.Execute("g(", 2, lists, shorter));
    EXPECT_EQ(hint.text(), "");
}

// ---- Narrowing

TEST_F(CompletionFixture, NarrowsByShownPrefixIgnoringAsciiCase)
{
    Node("start", "Hello");
    Node("Stop", "");
    Node("end", "start");
    Variable("count", SCOPE_LOCAL);
    Refresh();
    EXPECT_EQ(Shown("st"), (Texts { "start \"Hello\"", "Stop \"\"" }));
    EXPECT_EQ(Shown("ST"), Shown("st"));
    // The shown text counts, not the inserted one.
    EXPECT_EQ(Shown("start \"h"), (Texts { "start \"Hello\"" }));
    EXPECT_EQ(Shown("lvar_"), (Texts { "LVAR_count" }));
    EXPECT_EQ(Shown("").size(), 4u);
    EXPECT_EQ(Shown("startx"), Texts {});
}

TEST_F(CompletionFixture, NarrowingComparesHighBytesAsTheyAre)
{
    Node("\xC9t\xE9", ""); // Été
    Refresh();
    EXPECT_EQ(Shown("\xC9").size(), 1u);
    EXPECT_EQ(Shown("\xE9").size(), 0u);
}

TEST_F(CompletionFixture, NarrowingReusesItsOutput)
{
    Node("a1", "");
    Node("a2", "");
    Node("b", "");
    Refresh();
    std::vector<int> out { 7, 8, 9, 10 };
    NarrowCompletion(lists, "A", out);
    EXPECT_EQ(out, (std::vector<int> { 0, 1 }));
    NarrowCompletion(lists, "b", out);
    EXPECT_EQ(out, (std::vector<int> { 2 }));
}

TEST(WordBeforeCaret, TakesTheWordCharactersLeftOfTheCaret)
{
    EXPECT_EQ(WordBeforeCaret("x := obj_p", 10), "obj_p");
    EXPECT_EQ(WordBeforeCaret("x := obj_p", 6), "o");
    EXPECT_EQ(WordBeforeCaret("x := obj_p", 5), "");
    EXPECT_EQ(WordBeforeCaret("f(a", 99), "a");
    EXPECT_EQ(WordBeforeCaret("abc", -1), "");
    EXPECT_EQ(WordBeforeCaret("", 0), "");
    EXPECT_EQ(WordBeforeCaret("x.\xC4r", 4), "\xC4r");
}

} // namespace
} // namespace zev
