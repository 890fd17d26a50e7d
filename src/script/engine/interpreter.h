#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "script/engine/values.h"

namespace zev::script {

struct Node;
struct CompiledProgram;
class RunEnv;
struct RunControl;

// A script exception unwinding through the interpreter: runtime errors and `raise` alike.
// `exc` holds the Exception instance.
struct ScriptThrow {
    Value exc;
    int line = 0, col = 0;
};

// Ends the run without giving `except` a chance: the instruction budget or the time-out ran out,
// or the host stopped it.
struct ScriptAbort {
    std::string message;
    int line = 0, col = 0;
};

struct Frame {
    Value* cells = nullptr; // not `slots`: that is a Qt keyword macro
    Frame* outer = nullptr; // the frame of the routine this one is nested in
};

// Frames live in chunks that never move, so a `var` argument may point into its caller's slots.
class ValueStack {
public:
    struct Mark {
        size_t chunk = 0, used = 0;
    };
    Value* Push(size_t n, Mark& saved);
    void Pop(const Mark& saved)
    {
        m_chunk = saved.chunk;
        m_used = saved.used;
    }

private:
    static constexpr size_t kChunk = 16384;
    std::vector<std::unique_ptr<Value[]>> m_chunks;
    std::vector<size_t> m_sizes;
    size_t m_chunk = 0, m_used = 0;
};

// The state of one run of one program.
class Interp {
public:
    Interp(RunEnv& env, const CompiledProgram& program);
    ~Interp();
    Interp(const Interp&) = delete;
    Interp& operator=(const Interp&) = delete;

    // Runs the main code; a script exception escaping it is rethrown to the caller.
    void Run();

    Value* fp = nullptr;
    Frame* frame = nullptr;
    Value* globals = nullptr;
    int depth = 0;
    uintptr_t stackLimit = 0; // see StackLimit()
    uint32_t ticks = 0;
    uint64_t maxBytes = 0; // the size cap of one value, from the run's limits
    ValueStack stack;
    std::vector<Value> handling; // exceptions whose `except` part is running: `raise;` throws the last
    RunEnv& env;
    const CompiledProgram& program;

    static constexpr int kMaxDepth = 1024;

    [[noreturn]] void Fail(const Node* at, std::string message);
    [[noreturn]] void Fail(int line, int col, std::string message);
    // Counts loop iterations and calls whatever the limits; every kTickChunk the slow path checks
    // the budget, the time-out, the watch and a stop request.
    void Tick(const Node* at)
    {
        if (--ticks == 0)
            SlowTick(at);
    }
    // Ends the run at once when a stop is pending: after host code, which may have asked for one.
    void CheckStop(const Node* at);
    // Charges work proportional to the bytes a built-in produced, so the budget also bounds memory.
    void Charge(const Node* at, size_t bytes);
    // The size cap of one string or array: "Out of memory" before anything that large is built.
    void CheckSize(const Node* at, uint64_t count, uint64_t elemBytes);
    void CheckBytes(const Node* at, uint64_t bytes)
    {
        if (bytes > maxBytes)
            Fail(at, "Out of memory");
    }
    // Room for `size` bytes in s, the cap checked first. The buffer grows by doubling but never past
    // the cap, where std::string's own growth (in append, insert, resize, even reserve) could.
    void Reserve(const Node* at, std::string& s, uint64_t size);
    // The string of a slot, unshared and with room for `size` bytes (as Reserve): for edits in place.
    std::string& StrWithRoom(const Node* at, Value& slot, uint64_t size)
    {
        if (slot.tag == Tag::Str && slot.o && slot.o->refs == 1 && size <= maxBytes) {
            std::string& s = static_cast<StrObj*>(slot.o)->s;
            if (size <= s.capacity())
                return s; // the common append: nothing to allocate
        }
        return GrowStr(at, slot, size);
    }
    void Out(std::string_view text);
    Value OneChar(unsigned char ch)
    {
        if (m_chars.empty())
            InitChars();
        return m_chars[ch];
    }

private:
    void SlowTick(const Node* at);
    std::string& GrowStr(const Node* at, Value& slot, uint64_t size);
    void CallWatch(const Node* at);
    void InitChars();

    std::vector<Value> m_globals;
    std::vector<Value> m_chars; // the one-character strings, shared by s[i], Chr and for-in
};

Value MakeException(std::string_view message);

// Asks every run in progress to end at its next instruction check (and when host code it called
// returns); nothing when none is running.
void StopRuns(RunControl& control);

struct Expr;
// Evaluates an expression of constants at compile time; nothing when it fails (a run-time error
// will then report it where it stands).
std::optional<Value> EvalConstant(Expr& e);

} // namespace zev::script
