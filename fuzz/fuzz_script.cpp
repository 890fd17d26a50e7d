// Any bytes as a script: compiling and running never crash, hang or exhaust memory. Runs are bounded by
// an instruction budget and a size cap; dialog boxes are answered by a fake; a small host unit lets
// scripts call back into C++ and start nested runs.
#include <cstdint>
#include <string>
#include <string_view>

#include "script/engine/engine.h"

namespace {

using namespace zev::script;

class Answers : public ScriptDialogs {
public:
    void ShowMessage(std::string_view) override { }
    std::string InputBox(std::string_view, std::string_view, std::string_view d) override
    {
        return std::string(d) + "!";
    }
    void ErrorDlg(std::string_view) override { }
    void InformationDlg(std::string_view) override { }
    bool QuestionDlg(std::string_view) override { return (++m_n & 1) != 0; }
    bool OkCancelDlg(std::string_view) override { return (++m_n & 2) != 0; }

private:
    unsigned m_n = 0;
};

HostUnit FuzzUnit(int& nestedRuns)
{
    HostUnit u("ZEVFuncs");
    u.AddConstant("FIELD_NODE_NAME", 16);
    u.AddVariable("basepath", HostType::String, [] { return HostValue::String("/fuzz"); });
    u.AddFunction("AddNode",
        { { "nodename", HostType::String, std::nullopt },
            { "npctext_female", HostType::String, HostValue::String("") } },
        HostType::Void, [](HostCall& c) {
            c.GetString("NODENAME");
            c.GetString("npctext_female");
        });
    u.AddFunction("GetNodeCount", {}, HostType::Integer, [](HostCall& c) { c.SetInteger("result", 3); });
    u.AddFunction("Confirm", { { "Message", HostType::String, std::nullopt } }, HostType::Boolean,
        [](HostCall& c) { c.SetBoolean("result", c.GetString("message").size() % 2 == 0); });
    u.AddFunction("Ask", { { "name", HostType::String, std::nullopt } }, HostType::String,
        [](HostCall& c) { c.SetString("result", c.GetString(c.GetString("name"))); }); // may name an unknown argument
    // A nested run of the argument, as a console line that starts a plug-in would cause.
    u.AddFunction(
        "Exec", { { "line", HostType::String, std::nullopt } }, HostType::Boolean, [&nestedRuns](HostCall& c) {
            if (++nestedRuns > 8)
                c.Raise("too many nested runs");
            auto p = c.engine().Compile(c.GetString("line"));
            c.SetBoolean("result", c.engine().Run(*p));
        });
    return u;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 64 * 1024)
        return 0;
    int nestedRuns = 0;
    Answers answers;
    Engine engine;
    engine.SetDialogs(&answers);
    engine.SetInstructionBudget(200000);
    engine.SetMaxObjectBytes(1 << 20);
    engine.SetFileAccess(false); // fuzzed text must not write files
    engine.RegisterUnit(FuzzUnit(nestedRuns));
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto program = engine.Compile(text, "fuzz.dws");
    engine.Run(*program);
    for (auto& m : program->Messages())
        if (m.formatted.empty() || m.formatted.back() != ']')
            __builtin_trap(); // every message ends with its position
    return 0;
}
