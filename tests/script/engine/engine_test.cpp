// The engine's limits and its behaviour on hostile text.
#include <gtest/gtest.h>

#include <pthread.h>

#include <chrono>
#include <string>

#include "script/engine/engine.h"

namespace zev::script {
namespace {

std::vector<std::string> Texts(Engine& engine, const std::string& text)
{
    auto p = engine.Compile(text);
    engine.Run(*p);
    return p->MessageTexts();
}

TEST(Engine, MessagesNameTheFileWhenOneIsGiven)
{
    Engine engine;
    auto p = engine.Compile("WriteLn(1);\nWriteLn(x);", "helpers/a.dws");
    ASSERT_EQ(p->Messages().size(), 1u);
    const Message& m = p->Messages()[0];
    EXPECT_EQ(m.kind, MessageKind::Error);
    EXPECT_EQ(m.text, "Unknown name \"x\"");
    EXPECT_EQ(m.line, 2);
    EXPECT_EQ(m.column, 9);
    EXPECT_EQ(m.formatted, "Error: Unknown name \"x\" [line: 2, column: 9, file: helpers/a.dws]");
    engine.Run(*p);
    EXPECT_EQ(p->MessageTexts().back(),
        "Error: The program was not run because it failed to compile [line: 2, column: 9, file: helpers/a.dws]");
}

TEST(Engine, HostileNestingGivesACleanError)
{
    Engine engine;
    std::string parens(100000, '(');
    auto msgs = Texts(engine, "x := " + parens + "1");
    ASSERT_FALSE(msgs.empty());
    EXPECT_EQ(msgs.front().rfind("Syntax Error: Nesting too deep", 0), 0u) << msgs.front();

    std::string chain = "var x := 1";
    for (int i = 0; i < 100000; ++i)
        chain += "+1";
    msgs = Texts(engine, chain + ";");
    ASSERT_FALSE(msgs.empty());
    EXPECT_EQ(msgs.front().rfind("Syntax Error: Expression too complex", 0), 0u) << msgs.front();

    std::string blocks;
    for (int i = 0; i < 50000; ++i)
        blocks += "begin ";
    msgs = Texts(engine, blocks);
    ASSERT_FALSE(msgs.empty());
    EXPECT_EQ(msgs.front().rfind("Syntax Error: Nesting too deep", 0), 0u) << msgs.front();

    std::string members = "var s := TStringList.Create; s";
    for (int i = 0; i < 100000; ++i)
        members += ".Text";
    EXPECT_FALSE(Texts(engine, members).empty());
}

TEST(Engine, ErrorsAreCappedForGarbage)
{
    Engine engine;
    std::string junk;
    for (int i = 0; i < 5000; ++i)
        junk += ") := ; ] ";
    auto p = engine.Compile(junk);
    EXPECT_FALSE(p->Compiled());
    EXPECT_LE(p->Messages().size(), 101u);
}

TEST(Engine, BudgetEndsEndlessLoopsAndExceptCannotCatchIt)
{
    Engine engine;
    engine.SetInstructionBudget(100000);
    auto msgs = Texts(engine, "while True do\n  try\n    WriteLn;\n  except\n  end;");
    ASSERT_EQ(msgs.size(), 1u);
    EXPECT_EQ(msgs[0].rfind("Runtime Error: Instruction budget exceeded [line: ", 0), 0u) << msgs[0];
    // Building huge strings spends the budget too.
    msgs = Texts(engine, "var s := 'x'; while True do s := s + s;");
    ASSERT_EQ(msgs.size(), 1u);
    EXPECT_NE(msgs[0].find("Instruction budget exceeded"), std::string::npos) << msgs[0];
    // Unlimited again: a normal script runs to the end.
    engine.SetInstructionBudget(0);
    EXPECT_TRUE(Texts(engine, "var i: Integer; for i := 1 to 200000 do ;").empty());
}

TEST(Engine, TimeOutEndsARun)
{
    Engine engine;
    engine.SetTimeout(std::chrono::milliseconds(50));
    auto start = std::chrono::steady_clock::now();
    auto msgs = Texts(engine, "repeat until False;");
    auto took = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(msgs.size(), 1u);
    EXPECT_EQ(msgs[0].rfind("Runtime Error: Script time-out", 0), 0u) << msgs[0];
    EXPECT_LT(took, std::chrono::seconds(5));
}

TEST(Engine, OversizedValuesAreRunTimeErrors)
{
    Engine engine;
    engine.SetMaxObjectBytes(1 << 20);
    auto msgs = Texts(engine, "var a: array of Integer; SetLength(a, 1000000000000);");
    ASSERT_EQ(msgs.size(), 1u);
    EXPECT_EQ(msgs[0], "Runtime Error: Out of memory [line: 1, column: 26]");
    msgs = Texts(engine, "var s := StringOfChar('x', 2000000);");
    ASSERT_EQ(msgs.size(), 1u);
    EXPECT_EQ(msgs[0], "Runtime Error: Out of memory [line: 1, column: 10]");
}

struct ThreadResult {
    std::vector<std::string> messages;
};

void* RecurseOnSmallStack(void* arg)
{
    Engine engine;
    auto* r = static_cast<ThreadResult*>(arg);
    r->messages = Texts(engine, "function F(n: Integer): Integer; begin Result := F(n + 1) + 1; end; WriteLn(F(0));");
    return nullptr;
}

// A thread with a small stack still gets the script error, not a crash.
TEST(Engine, RecursionIsBoundedWhateverTheThreadStack)
{
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, 2 * 1024 * 1024);
    pthread_t t;
    ThreadResult r;
    ASSERT_EQ(pthread_create(&t, &attr, RecurseOnSmallStack, &r), 0);
    pthread_join(t, nullptr);
    pthread_attr_destroy(&attr);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0], "Runtime Error: Maximum recursion depth exceeded [line: 1, column: 50]");
}

TEST(Engine, RunningAgainStartsFresh)
{
    Engine engine;
    auto p = engine.Compile("var n: Integer; n := n + 1; WriteLn(n); if n > 0 then raise Exception.Create('stop');");
    EXPECT_FALSE(engine.Run(*p));
    EXPECT_FALSE(engine.Run(*p));
    EXPECT_EQ(p->Output(), "1\n");
    EXPECT_EQ(p->MessageTexts(), (std::vector<std::string> { "Runtime Error: stop [line: 1, column: 55]" }));
}

TEST(Engine, EmptyAndOddTextsCompile)
{
    Engine engine;
    EXPECT_TRUE(engine.Compile("")->Compiled());
    EXPECT_TRUE(engine.Compile("  // only a comment\n")->Compiled());
    EXPECT_TRUE(engine.Compile("begin end.")->Compiled());
    EXPECT_TRUE(engine.Compile("DoNothing")->Messages().size() == 1);
    auto p = engine.Compile(std::string("WriteLn('a\0b');", 15));
    EXPECT_TRUE(p->Compiled());
    engine.Run(*p);
    EXPECT_EQ(p->Output(), std::string("a\0b\n", 4));
    EXPECT_EQ(Texts(engine, "{ never closed"),
        (std::vector<std::string> { "Syntax Error: Unterminated comment [line: 1, column: 1]",
            "Error: The program was not run because it failed to compile [line: 1, column: 1]" }));
    EXPECT_EQ(Texts(engine, "WriteLn('open);")[0], "Syntax Error: Unterminated string [line: 1, column: 9]");
    EXPECT_EQ(Texts(engine, "x := 'a' 'b';")[0],
        "Syntax Error: Expected \";\" but found \"string constant\" [line: 1, column: 10]");
    EXPECT_EQ(Texts(engine, "x := 99999999999999999999;")[0],
        "Syntax Error: Integer constant too large: 99999999999999999999 [line: 1, column: 6]");
    EXPECT_EQ(Texts(engine, "x := 1 @ 2;")[0], "Syntax Error: Unexpected character \"@\" [line: 1, column: 8]");
}

TEST(Engine, FileAccessCanBeDenied)
{
    Engine engine;
    engine.SetFileAccess(false);
    auto msgs = Texts(engine, "var l := TStringList.Create;\nl.SaveToFile('/tmp/zev_denied.txt');");
    EXPECT_EQ(msgs, (std::vector<std::string> { "Runtime Error: File access is disabled [line: 2, column: 3]" }));
}

// Appending in place must not change another variable that shares the text.
TEST(Engine, AppendingInPlaceKeepsSharedTextsApart)
{
    Engine engine;
    auto p = engine.Compile("var s := 'ab'; s += 'c'; var t := s; s += 'd'; s := s + 'e'; t[1] := 'X';\n"
                            "var list := TStringList.Create; list.Add(s); s += 'f';\n"
                            "var a: array of String := [s]; s := s + 'g';\n"
                            "WriteLn(s, ' ', t, ' ', list[0], ' ', a[0]);");
    engine.Run(*p);
    EXPECT_TRUE(p->Messages().empty());
    EXPECT_EQ(p->Output(), "abcdefg Xbc abcde abcdef\n");
}

} // namespace
} // namespace zev::script
