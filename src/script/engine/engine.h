#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "script/engine/host_unit.h"
#include "script/engine/messages.h"
#include "script/engine/script_dialogs.h"

namespace zev::script {

struct CompiledProgram;
struct RunControl;

// One compiled text. It keeps its own messages (compile messages, then those of its runs) and the
// output of its last run. A program that failed to compile never runs.
class Program {
public:
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Compiled() const { return m_compiled; }
    const std::vector<Message>& Messages() const { return m_messages; }
    // The formatted texts of Messages(), in order.
    std::vector<std::string> MessageTexts() const;
    const std::string& Output() const { return m_output; }
    const std::string& FileName() const { return m_file; }

private:
    friend class Engine;
    Program() = default;
    std::unique_ptr<CompiledProgram> m_code;
    std::vector<Message> m_messages;
    size_t m_compileMessages = 0;
    std::string m_output;
    std::string m_file;
    bool m_compiled = false;
};

// The script engine: host units, compile, run. One per program that embeds scripts; runs are
// synchronous and may nest (a host handler may compile and run another text on the same engine).
class Engine {
public:
    Engine();
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Registering a unit of a name already registered replaces it in its place of the lookup order.
    void RegisterUnit(HostUnit unit);
    bool UnregisterUnit(std::string_view name);
    const HostUnit* FindUnit(std::string_view name) const;
    // The declaration text of a host function: "Unit.Func" or "Func" (first unit that has it).
    std::string Declaration(std::string_view functionName) const;

    // fileName, when given, is added to every message of the program.
    std::unique_ptr<Program> Compile(std::string_view text, std::string_view fileName = {});
    // Runs a compiled program. False when it failed to compile (a message says so) or stopped at a
    // run-time error. Output and run-time messages of an earlier run are replaced.
    bool Run(Program& program);
    // Compile and run in one step.
    std::unique_ptr<Program> Execute(std::string_view text, std::string_view fileName = {});

    // Printed text (Write, WriteLn, PrintLn) is collected in the program and handed to the sink as it
    // is printed.
    void SetOutputSink(std::function<void(std::string_view)> sink) { m_sink = std::move(sink); }
    // Null restores the default answers. The engine does not own the dialogs.
    void SetDialogs(ScriptDialogs* dialogs) { m_dialogs = dialogs ? dialogs : &m_defaultDialogs; }
    ScriptDialogs& dialogs() const { return *m_dialogs; }

    // Limits of a run, off (0) by default. The budget counts loop iterations, calls and bytes built;
    // running out ends the run with "Instruction budget exceeded" or "Script time-out", which
    // `except` cannot catch.
    void SetInstructionBudget(uint64_t instructions) { m_budget = instructions; }
    void SetTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }
    // The largest string or array one script value may reach, in bytes (0: 1 GiB). It is checked
    // before anything that large is allocated; going past it is the run-time error "Out of memory".
    void SetMaxObjectBytes(uint64_t bytes) { m_maxObjectBytes = bytes; }
    void SetRandomSeed(uint64_t seed) { m_random.seed(seed); }
    // TStringList.LoadFromFile and SaveToFile; off, they raise a run-time error (for untrusted text).
    void SetFileAccess(bool allowed) { m_fileAccess = allowed; }

    // Called about every 50 ms of script work, with the time since the outermost run started, also
    // when no budget or time-out is set; a host keeps its window alive here. Returning false stops
    // the runs as RequestStop does. Not called again while it is running; an exception it throws
    // ends the run. Null removes it.
    using Watch = std::function<bool(std::chrono::steady_clock::duration sinceStart)>;
    void SetWatch(Watch watch);
    // Ends every run in progress, nested ones too, at its next instruction check (or when host code
    // it called returns) with "Script stopped", which `except` and `finally` cannot catch. Callable
    // from the watch or from code the watch calls; does nothing when no run is in progress. The
    // request is cleared when the outermost run returns.
    void RequestStop();
    // A run is in progress, at any depth.
    bool running() const;

    const std::vector<std::shared_ptr<const HostUnit>>& units() const { return m_units; }

private:
    std::vector<std::shared_ptr<const HostUnit>> m_units;
    std::function<void(std::string_view)> m_sink;
    DefaultScriptDialogs m_defaultDialogs;
    ScriptDialogs* m_dialogs = &m_defaultDialogs;
    uint64_t m_budget = 0;
    std::chrono::milliseconds m_timeout { 0 };
    uint64_t m_maxObjectBytes = 0;
    bool m_fileAccess = true;
    std::mt19937_64 m_random;
    std::unique_ptr<RunControl> m_control;
};

} // namespace zev::script
