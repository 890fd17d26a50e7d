// Host units: what the application registers and how scripts reach it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/engine/engine.h"

namespace zev::script {
namespace {

HostParam Str(std::string name)
{
    return { std::move(name), HostType::String, std::nullopt };
}
HostParam Int(std::string name)
{
    return { std::move(name), HostType::Integer, std::nullopt };
}

// A small stand-in for the application's unit: a node table the script fills.
struct NodeUnit {
    std::vector<std::string> nodes;
    std::vector<std::string> notes;
    int basepathReads = 0;

    HostUnit Build()
    {
        HostUnit u("ZEVFuncs");
        u.AddConstant("FIELD_NODE_NAME", 16).AddConstant("REACTION_GOOD", 1);
        u.AddVariable("basepath", HostType::String, [this] {
            ++basepathReads;
            return HostValue::String("/opt/zev");
        });
        u.AddFunction("AddNode",
            { Str("nodename"), Str("npctext"), Str("notes"),
                { "npctext_female", HostType::String, HostValue::String("") } },
            HostType::Void, [this](HostCall& call) {
                // The script wrote the names in other cases; the handler asks in its own.
                nodes.push_back(call.GetString("NodeName"));
                notes.push_back(call.GetString("NOTES") + "/" + call.GetString("npctext_female"));
            });
        u.AddFunction("GetNodeCount", {}, HostType::Integer,
            [this](HostCall& call) { call.SetInteger("result", static_cast<int64_t>(nodes.size())); });
        u.AddFunction("GetNodeName", { Int("nodeIndex") }, HostType::String, [this](HostCall& call) {
            int64_t i = call.GetInteger("nodeindex");
            if (i >= 0 && i < static_cast<int64_t>(nodes.size()))
                call.SetString("Result", nodes[static_cast<size_t>(i)]);
        });
        u.AddFunction("StringReplace",
            { Str("srcString"), Str("oldString"), Str("newString"),
                { "ReplaceAll", HostType::Boolean, HostValue::Boolean(true) } },
            HostType::String, [](HostCall& call) {
                std::string s = call.GetString("srcstring"), o = call.GetString("oldstring"),
                            n = call.GetString("newstring");
                bool all = call.GetBoolean("replaceall");
                for (size_t p = 0; !o.empty() && (p = s.find(o, p)) != std::string::npos; p += n.size()) {
                    s.replace(p, o.size(), n);
                    if (!all)
                        break;
                }
                call.SetString("result", s);
            });
        u.AddFunction("Scale",
            { { "value", HostType::Float, std::nullopt }, { "factor", HostType::Integer, HostValue::Integer(2) } },
            HostType::Float, [](HostCall& call) {
                call.SetFloat("result", call.GetFloat("value") * static_cast<double>(call.GetInteger("factor")));
            });
        u.AddFunction("Print", { Str("text") }, HostType::Void,
            [this](HostCall& call) { notes.push_back("print:" + call.GetString("text")); });
        u.AddFunction("AskWrong", {}, HostType::Void, [](HostCall& call) { call.GetString("missing"); });
        u.AddFunction("SetWrong", {}, HostType::Void, [](HostCall& call) { call.SetInteger("result", 1); });
        u.AddFunction("Refuse", { Str("why") }, HostType::Void,
            [](HostCall& call) { call.Raise("refused: " + call.GetString("why")); });
        return u;
    }
};

std::unique_ptr<Program> RunText(Engine& engine, const std::string& text)
{
    auto p = engine.Compile(text);
    engine.Run(*p);
    return p;
}

TEST(HostUnit, HandlersReadArgumentsByNameWithoutRegardToCaseAndTakeDefaults)
{
    Engine engine;
    NodeUnit unit;
    engine.RegisterUnit(unit.Build());
    auto p = RunText(engine,
        "AddNode('start', 'Hello', 'n1'); AddNode('end', 'Bye', 'n2', 'Adieu');\n"
        "WriteLn(GetNodeCount, ' ', GetNodeName(GetNodeCount - 1), '[', GetNodeName(5), ']');\n"
        "WriteLn(StringReplace('aXbX', 'X', '-', False), ' ', StringReplace('aXbX', 'X', '-'));\n"
        "WriteLn(Scale(1.5), ' ', Scale(2, 3));");
    EXPECT_TRUE(p->Messages().empty()) << p->MessageTexts().front();
    EXPECT_EQ(unit.nodes, (std::vector<std::string> { "start", "end" }));
    EXPECT_EQ(unit.notes, (std::vector<std::string> { "n1/", "n2/Adieu" }));
    EXPECT_EQ(p->Output(), "2 end[]\na-bX a-b-\n3 6\n");
}

TEST(HostUnit, AskingForAnUndeclaredNameIsARuntimeError)
{
    Engine engine;
    NodeUnit unit;
    engine.RegisterUnit(unit.Build());
    auto p = RunText(engine, "WriteLn('a');\n  AskWrong;\nWriteLn('b');");
    EXPECT_EQ(p->Output(), "a\n");
    EXPECT_EQ(p->MessageTexts(),
        (std::vector<std::string> { "Runtime Error: Variable \"missing\" not found [line: 2, column: 3]" }));
    // A procedure has no result to set.
    p = RunText(engine, "SetWrong;");
    EXPECT_EQ(p->MessageTexts(),
        (std::vector<std::string> { "Runtime Error: Variable \"result\" not found [line: 1, column: 1]" }));
}

TEST(HostUnit, HandlersRaiseErrorsThatScriptsMayCatch)
{
    Engine engine;
    NodeUnit unit;
    engine.RegisterUnit(unit.Build());
    auto p = RunText(engine, "try Refuse('busy'); except on E: Exception do WriteLn(E.Message); end;\nRefuse('now');");
    EXPECT_EQ(p->Output(), "refused: busy\n");
    EXPECT_EQ(p->MessageTexts(), (std::vector<std::string> { "Runtime Error: refused: now [line: 2, column: 1]" }));
}

TEST(HostUnit, DeclarationsArePrintedInPascalForm)
{
    NodeUnit unit;
    HostUnit u = unit.Build();
    EXPECT_EQ(u.FindFunction("addnode")->Declaration(),
        "procedure AddNode(nodename : String; npctext : String; notes : String; npctext_female : String = '');");
    EXPECT_EQ(u.FindFunction("GetNodeCount")->Declaration(), "function GetNodeCount : Integer;");
    EXPECT_EQ(u.FindFunction("StringReplace")->Declaration(),
        "function StringReplace(srcString : String; oldString : String; newString : String; ReplaceAll : Boolean = "
        "True) : String;");
    EXPECT_EQ(u.FindFunction("Scale")->Declaration(), "function Scale(value : Float; factor : Integer = 2) : Float;");
    Engine engine;
    engine.RegisterUnit(std::move(u));
    EXPECT_EQ(engine.Declaration("ZEVFuncs.GetNodeName"), "function GetNodeName(nodeIndex : Integer) : String;");
    EXPECT_EQ(engine.Declaration("nosuch"), "");
}

TEST(HostUnit, ADefaultBeforeARequiredParameterIsRefused)
{
    HostUnit u("U");
    EXPECT_THROW(
        u.AddFunction("F", { { "a", HostType::Integer, HostValue::Integer(1) }, Int("b") }, HostType::Void, nullptr),
        std::invalid_argument);
}

TEST(HostUnit, ConstantsAndReadOnlyVariables)
{
    Engine engine;
    NodeUnit unit;
    engine.RegisterUnit(unit.Build());
    auto p = RunText(engine,
        "WriteLn(FIELD_NODE_NAME + REACTION_GOOD, ' ', basepath, ' ', ZEVFuncs.basepath, ' ', "
        "ZEVFuncs.REACTION_GOOD);");
    EXPECT_EQ(p->Output(), "17 /opt/zev /opt/zev 1\n");
    EXPECT_EQ(unit.basepathReads, 2); // read fresh on every access
    p = engine.Compile("basepath := 'x';");
    EXPECT_EQ(p->MessageTexts().front(), "Error: Variable expected [line: 1, column: 1]");
}

TEST(HostUnit, NamesResolveLocalsGlobalsUnitsInOrderThenBuiltIns)
{
    Engine engine;
    NodeUnit unit;
    engine.RegisterUnit(unit.Build());
    HostUnit second("Other");
    second.AddFunction("Print", { Str("text") }, HostType::Void,
        [&](HostCall& call) { unit.notes.push_back("other:" + call.GetString("text")); });
    second.AddFunction(
        "Length", { Str("s") }, HostType::Integer, [](HostCall& call) { call.SetInteger("result", 99); });
    engine.RegisterUnit(std::move(second));
    auto p = RunText(engine,
        "Print('a'); Other.Print('b'); ZEVFuncs.Print('c'); WriteLn(Length('xyz'));\n"
        "procedure Local; var GetNodeCount: Integer; begin GetNodeCount := 7; WriteLn(GetNodeCount); end;\n"
        "Local; var Print := 'shadowed'; WriteLn(Print);");
    EXPECT_TRUE(p->Messages().empty()) << p->MessageTexts().front();
    EXPECT_EQ(unit.notes, (std::vector<std::string> { "print:a", "other:b", "print:c" }));
    EXPECT_EQ(p->Output(), "99\n7\nshadowed\n");
}

TEST(HostUnit, RegisteringAgainReplacesAndUnregisteringRemoves)
{
    Engine engine;
    HostUnit a("Tools");
    a.AddFunction("Version", {}, HostType::Integer, [](HostCall& c) { c.SetInteger("result", 1); });
    engine.RegisterUnit(std::move(a));
    auto old = engine.Compile("WriteLn(Version);");
    HostUnit b("TOOLS");
    b.AddFunction("Version", {}, HostType::Integer, [](HostCall& c) { c.SetInteger("result", 2); });
    engine.RegisterUnit(std::move(b));
    EXPECT_EQ(engine.units().size(), 1u);
    EXPECT_EQ(RunText(engine, "WriteLn(Version);")->Output(), "2\n");
    engine.Run(*old); // compiled against the first registration, which it keeps alive
    EXPECT_EQ(old->Output(), "1\n");
    EXPECT_TRUE(engine.UnregisterUnit("tools"));
    EXPECT_FALSE(engine.UnregisterUnit("tools"));
    auto p = engine.Compile("WriteLn(Version);");
    EXPECT_EQ(p->MessageTexts().front(), "Error: Unknown name \"Version\" [line: 1, column: 9]");
}

TEST(HostUnit, HandlersMayRunNestedProgramsWithTheirOwnMessages)
{
    Engine engine;
    std::vector<std::string> innerMessages;
    std::string innerOutput;
    HostUnit u("Console");
    u.AddFunction("Exec", { Str("line") }, HostType::Boolean, [&](HostCall& call) {
        auto inner = call.engine().Compile(call.GetString("line"));
        bool ok = call.engine().Run(*inner);
        for (auto& m : inner->MessageTexts())
            innerMessages.push_back(m);
        innerOutput += inner->Output();
        call.SetBoolean("result", ok);
    });
    engine.RegisterUnit(std::move(u));
    std::string sunk;
    engine.SetOutputSink([&](std::string_view s) { sunk.append(s); });
    auto p = RunText(engine,
        "WriteLn('outer 1');\nWriteLn(Exec('WriteLn(''inner''); Exec(''x := ;'')'));\n"
        "WriteLn(Exec('WriteLn(1 div 0)'));\nWriteLn('outer 2');");
    EXPECT_TRUE(p->Messages().empty());
    EXPECT_EQ(p->Output(), "outer 1\nTrue\nFalse\nouter 2\n");
    EXPECT_EQ(innerOutput, "inner\n");
    EXPECT_EQ(innerMessages,
        (std::vector<std::string> { "Syntax Error: Expected expression but found \";\" [line: 1, column: 6]",
            "Error: The program was not run because it failed to compile [line: 1, column: 6]",
            "Runtime Error: Division by zero [line: 1, column: 11]" }));
    EXPECT_EQ(sunk, "outer 1\ninner\nTrue\nFalse\nouter 2\n");
}

TEST(HostUnit, AFailedCompileNeverCallsTheHost)
{
    Engine engine;
    NodeUnit unit;
    engine.RegisterUnit(unit.Build());
    auto p = engine.Compile("AddNode('a', 'b', 'c');\nAddNode(1);");
    EXPECT_FALSE(p->Compiled());
    EXPECT_FALSE(engine.Run(*p));
    EXPECT_FALSE(engine.Run(*p)); // asking again adds the refusal once more, not twice
    EXPECT_TRUE(unit.nodes.empty());
    EXPECT_EQ(p->MessageTexts(),
        (std::vector<std::string> { "Error: Not enough arguments [line: 2, column: 1]",
            "Error: The program was not run because it failed to compile [line: 2, column: 1]" }));
}

} // namespace
} // namespace zev::script
