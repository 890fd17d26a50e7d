// The size cap on one value is checked before the bytes are allocated, so a runaway script stops
// with "Out of memory" having taken no more than the cap. The case files limits_*.dws go through
// each growing operation; these runs end uncaught, as a script that never expected it does.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "script/engine/alloc_probe.h"
#include "script/engine/engine.h"

namespace zev::script {
namespace {

using Texts = std::vector<std::string>;
constexpr size_t kCap = size_t(1) << 20;

struct Outcome {
    bool ok = true;
    Texts messages;
    size_t largest = 0;
};

Outcome RunCapped(const std::string& text)
{
    Engine engine;
    engine.SetMaxObjectBytes(kCap);
    auto p = engine.Compile(text);
    EXPECT_TRUE(p->Compiled()) << p->MessageTexts().front();
    Outcome r;
    {
        test::AllocProbe probe;
        r.ok = engine.Run(*p);
        r.largest = probe.largest();
    }
    r.messages = p->MessageTexts();
    return r;
}

TEST(SizeCap, TheProbeSeesEachRequest)
{
    test::AllocProbe probe;
    auto big = std::make_unique<char[]>(3 * kCap);
    big[0] = 1;
    std::string s(kCap / 2, 'x');
    EXPECT_EQ(probe.largest(), 3 * kCap);
}

TEST(SizeCap, RunawayConcatenationStopsAtTheCap)
{
    struct Case {
        const char* script;
        const char* message;
    };
    const Case cases[] = {
        { "var s := 'ab'; while True do s := s + s;", "Runtime Error: Out of memory [line: 1, column: 30]" },
        { "var s := 'abc'; while True do s += s;", "Runtime Error: Out of memory [line: 1, column: 31]" },
        { "var s := 'ab'; while True do s := (s + s) + '';", "Runtime Error: Out of memory [line: 1, column: 38]" },
        { "var s := 'ab'; while True do s := Copy(s, 1, Length(s)) + s;",
            "Runtime Error: Out of memory [line: 1, column: 57]" },
        { "var s := 'x'; while True do s := s + 'yz';", "Runtime Error: Out of memory [line: 1, column: 29]" },
        { "var v: Variant := 'ab'; while True do v := v + v;", "Runtime Error: Out of memory [line: 1, column: 46]" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        Outcome r = RunCapped(c.script);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.messages, (Texts { c.message }));
        // The text grew as far as the cap allows, and no request went past it.
        EXPECT_GE(r.largest, kCap / 2);
        EXPECT_LE(r.largest, kCap + test::kAllocSlack);
    }
}

TEST(SizeCap, GrowingBuiltInsStopAtTheCap)
{
    const char* scripts[] = {
        "var s := 'ab'; while True do Insert(s, s, 2);",
        "var s := 'ab'; while True do s := DupeString(s, 2);",
        "var s := 'ab'; while True do s := Format('%s%s', [s, s]);",
        "var s := ''''; while True do s := QuotedStr(s);",
        "var s := 'a'; while True do SetLength(s, Length(s) * 3);",
        "var l := TStringList.Create; var s := 'ab'; while True do begin l.Add(s); s := l.Text; end;",
    };
    for (const char* script : scripts) {
        SCOPED_TRACE(script);
        Outcome r = RunCapped(script);
        EXPECT_FALSE(r.ok);
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_EQ(r.messages[0].rfind("Runtime Error: Out of memory [line: 1, column: ", 0), 0u) << r.messages[0];
        EXPECT_GE(r.largest, kCap / 4);
        EXPECT_LE(r.largest, kCap + test::kAllocSlack);
    }
}

} // namespace
} // namespace zev::script
