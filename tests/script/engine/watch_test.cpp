// The watch on long runs and stopping them: how a host keeps its window alive and lets the user
// end a script that never ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "script/engine/engine.h"

namespace zev::script {
namespace {

using namespace std::chrono_literals;
using Texts = std::vector<std::string>;

std::unique_ptr<Program> RunText(Engine& engine, const std::string& text)
{
    auto p = engine.Compile(text);
    EXPECT_TRUE(p->Compiled()) << p->MessageTexts().front();
    engine.Run(*p);
    return p;
}

// Host procedures a script calls: `StopNow` asks for a stop, `RunInner` runs `inner` on the same
// engine and notes what became of it.
struct Host {
    Engine& engine;
    std::string inner;
    std::unique_ptr<Program> innerProgram;
    bool innerResult = true;
    bool runningInHandler = false;

    explicit Host(Engine& e)
        : engine(e)
    {
        HostUnit u("Host");
        u.AddFunction("StopNow", {}, HostType::Void, [this](HostCall&) {
            runningInHandler = engine.running();
            engine.RequestStop();
        });
        u.AddFunction("RunInner", {}, HostType::Void, [this](HostCall&) {
            innerProgram = engine.Compile(inner);
            innerResult = engine.Run(*innerProgram);
        });
        engine.RegisterUnit(std::move(u));
    }
};

TEST(Watch, EndsAnEndlessLoopWhenItAnswersFalse)
{
    Engine engine;
    std::vector<std::chrono::steady_clock::duration> seen;
    engine.SetWatch([&](std::chrono::steady_clock::duration sinceStart) {
        seen.push_back(sinceStart);
        return seen.size() < 3;
    });
    auto p = RunText(engine, "var i := 0;\nwhile True do\n  i := i + 1;");
    EXPECT_EQ(p->MessageTexts(), (Texts { "Runtime Error: Script stopped [line: 2, column: 1]" }));
    // About every 50 ms of work, each time later than the one before.
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_GE(seen[0], 50ms);
    EXPECT_GE(seen[1] - seen[0], 50ms);
    EXPECT_GE(seen[2] - seen[1], 50ms);
    EXPECT_FALSE(engine.running());
}

TEST(Watch, IsNotCalledForAShortScript)
{
    Engine engine;
    int calls = 0;
    engine.SetWatch([&](auto) {
        ++calls;
        return true;
    });
    // Fewer iterations than one count of the instruction counter: no clock read at all.
    auto p = RunText(engine, "var i, s: Integer;\nfor i := 1 to 3000 do\n  s := s + i;\nWriteLn(s);");
    EXPECT_EQ(p->Output(), "4501500\n");
    EXPECT_EQ(calls, 0);
    // Several counts, still well under 50 ms (unless the machine stalled the test that long).
    auto start = std::chrono::steady_clock::now();
    p = RunText(engine, "var i, s: Integer;\nfor i := 1 to 30000 do\n  s := (s + i) mod 1000;\nWriteLn(s);");
    auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(p->Output(), "0\n");
    if (took < 40ms) {
        EXPECT_EQ(calls, 0);
    }
}

TEST(Watch, IsNotCalledAgainFromARunItStarted)
{
    Engine engine;
    int depth = 0, deepest = 0, calls = 0;
    std::unique_ptr<Program> nested;
    engine.SetWatch([&](auto) {
        ++depth;
        deepest = std::max(deepest, depth);
        if (++calls == 1) // about 200 ms of work inside the watch, as an event loop might start
            nested = RunText(engine, "var t := Now + 0.2 / 86400;\nwhile Now < t do ;\nWriteLn('nested done');");
        --depth;
        return calls < 3;
    });
    auto p = RunText(engine, "while True do ;");
    ASSERT_TRUE(nested);
    EXPECT_TRUE(nested->Messages().empty());
    EXPECT_EQ(nested->Output(), "nested done\n");
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(p->MessageTexts(), (Texts { "Runtime Error: Script stopped [line: 1, column: 1]" }));
}

TEST(Watch, AnExceptionFromItEndsTheRun)
{
    Engine engine;
    engine.SetWatch([](auto) -> bool { throw std::runtime_error("host gone"); });
    auto p = RunText(engine, "try\n  repeat until False;\nexcept\n  WriteLn('caught');\nend;");
    EXPECT_EQ(p->Output(), "");
    EXPECT_EQ(p->MessageTexts(), (Texts { "Runtime Error: Watch failed: host gone [line: 2, column: 3]" }));
    EXPECT_FALSE(engine.running());
}

TEST(Stop, FromAHostFunctionEndsTheRunThere)
{
    Engine engine;
    Host host(engine);
    auto p = RunText(engine, "WriteLn('before');\nStopNow;\nWriteLn('after');");
    EXPECT_TRUE(host.runningInHandler);
    EXPECT_EQ(p->Output(), "before\n");
    EXPECT_EQ(p->MessageTexts(), (Texts { "Runtime Error: Script stopped [line: 2, column: 1]" }));
    EXPECT_FALSE(engine.running());
}

TEST(Stop, ExceptAndFinallyCannotCatchIt)
{
    Engine engine;
    Host host(engine);
    auto p = RunText(engine,
        "try\n  try\n    StopNow;\n  finally\n    WriteLn('finally');\n  end;\n"
        "except\n  on E: Exception do WriteLn('caught ', E.Message);\nend;\nWriteLn('after');");
    EXPECT_EQ(p->Output(), "");
    EXPECT_EQ(p->MessageTexts(), (Texts { "Runtime Error: Script stopped [line: 3, column: 5]" }));

    // Asked for by the watch in a loop inside try ... except.
    engine.SetWatch([](auto) { return false; });
    p = RunText(engine, "while True do\n  try\n    while True do ;\n  except\n    WriteLn('caught');\n  end;");
    EXPECT_EQ(p->Output(), "");
    EXPECT_EQ(p->MessageTexts(), (Texts { "Runtime Error: Script stopped [line: 3, column: 5]" }));
}

TEST(Stop, ANestedRunStoppedEndsTheOuterRunToo)
{
    Engine engine;
    Host host(engine);
    int calls = 0;
    engine.SetWatch([&](auto) { return ++calls < 2; });
    host.inner = "var n := 0;\nrepeat\n  n := n + 1;\nuntil False;";
    auto p = RunText(engine, "WriteLn('outer');\nRunInner;\nWriteLn('outer again');\nwhile True do ;");
    EXPECT_FALSE(host.innerResult);
    ASSERT_TRUE(host.innerProgram);
    EXPECT_EQ(host.innerProgram->MessageTexts(), (Texts { "Runtime Error: Script stopped [line: 2, column: 1]" }));
    EXPECT_EQ(p->Output(), "outer\n");
    EXPECT_EQ(p->MessageTexts(), (Texts { "Runtime Error: Script stopped [line: 2, column: 1]" }));

    // Asked for by the inner script through the host: both end as well.
    engine.SetWatch(nullptr);
    host.inner = "WriteLn('inner');\nStopNow;\nWriteLn('inner again');";
    p = RunText(engine, "RunInner;\nWriteLn('outer again');");
    EXPECT_EQ(host.innerProgram->Output(), "inner\n");
    EXPECT_EQ(host.innerProgram->MessageTexts(), (Texts { "Runtime Error: Script stopped [line: 2, column: 1]" }));
    EXPECT_EQ(p->Output(), "");
    EXPECT_EQ(p->MessageTexts(), (Texts { "Runtime Error: Script stopped [line: 1, column: 1]" }));
}

TEST(Stop, ARunStartedWhileAStopIsPendingEndsAtOnce)
{
    // The output sink stands for host code that runs while the script waits.
    Engine engine;
    engine.SetOutputSink([&](std::string_view text) {
        if (text == "first\n") {
            engine.RequestStop();
            auto inner = engine.Compile("WriteLn('inner');");
            EXPECT_FALSE(engine.Run(*inner));
            EXPECT_EQ(inner->Output(), "");
            EXPECT_EQ(inner->MessageTexts(), (Texts { "Runtime Error: Script stopped [line: 0, column: 0]" }));
        }
    });
    auto p = RunText(engine, "WriteLn('first');\nWriteLn('second');");
    EXPECT_EQ(p->Output(), "first\n");
    EXPECT_EQ(p->MessageTexts(), (Texts { "Runtime Error: Script stopped [line: 1, column: 1]" }));
}

TEST(Stop, TheNextRunStartsNormally)
{
    Engine engine;
    Host host(engine);
    // Asked for between runs, it has nothing to end and is forgotten.
    engine.RequestStop();
    EXPECT_FALSE(engine.running());
    auto p = RunText(engine, "WriteLn('first');");
    EXPECT_TRUE(p->Messages().empty());

    p = RunText(engine, "StopNow;");
    EXPECT_EQ(p->MessageTexts().size(), 1u);
    EXPECT_FALSE(engine.running());
    int calls = 0;
    engine.SetWatch([&](auto) {
        ++calls;
        return true;
    });
    p = RunText(engine, "var t := Now + 0.12 / 86400;\nwhile Now < t do ;\nWriteLn('ran to the end');");
    EXPECT_TRUE(p->Messages().empty());
    EXPECT_EQ(p->Output(), "ran to the end\n");
    EXPECT_GE(calls, 1);
}

} // namespace
} // namespace zev::script
