#include "script/engine/interpreter.h"

#include <algorithm>
#include <chrono>
#include <exception>

#include "script/engine/classes.h"
#include "script/engine/nodes.h"
#include "script/engine/program.h"
#include "script/engine/run_env.h"
#include "script/engine/stack_guard.h"

namespace zev::script {

namespace {
constexpr uint32_t kTickChunk = 4096;
constexpr auto kWatchPeriod = std::chrono::milliseconds(50);
} // namespace

Value* ValueStack::Push(size_t n, Mark& saved)
{
    saved.chunk = m_chunk;
    saved.used = m_used;
    if (m_chunks.empty() || m_used + n > m_sizes[m_chunk]) {
        size_t next = m_chunks.empty() ? 0 : m_chunk + 1;
        // A frame never straddles two chunks; skip to the next one that fits.
        while (next < m_chunks.size() && m_sizes[next] < n)
            ++next;
        if (next >= m_chunks.size()) {
            size_t size = n > kChunk ? n : kChunk;
            m_chunks.push_back(std::make_unique<Value[]>(size));
            m_sizes.push_back(size);
            next = m_chunks.size() - 1;
        }
        m_chunk = next;
        m_used = 0;
    }
    Value* p = m_chunks[m_chunk].get() + m_used;
    m_used += n;
    return p;
}

Interp::Interp(RunEnv& e, const CompiledProgram& p)
    : env(e)
    , program(p)
{
    m_globals = p.globalInit;
    for (int s : p.freshGlobals)
        m_globals[static_cast<size_t>(s)] = DefaultValue(p.globalTypes[static_cast<size_t>(s)]);
    globals = m_globals.data();
    ticks = kTickChunk;
    maxBytes = e.maxObjectBytes;
    stackLimit = StackLimit();
}

void Interp::InitChars()
{
    m_chars.reserve(256);
    for (int i = 0; i < 256; ++i)
        m_chars.push_back(Value::Str(std::string(1, static_cast<char>(i))));
}

Interp::~Interp() = default;

void Interp::Run()
{
    for (auto& s : program.main)
        if (s->exec(*this) == Flow::Exit)
            return;
}

void Interp::Fail(const Node* at, std::string message)
{
    Fail(at ? at->line : 0, at ? at->col : 0, std::move(message));
}

void Interp::Fail(int line, int col, std::string message)
{
    throw ScriptThrow { MakeException(message), line, col };
}

void Interp::SlowTick(const Node* at)
{
    ticks = kTickChunk;
    if (env.hasBudget) {
        if (env.budget <= kTickChunk) {
            env.budget = 0;
            throw ScriptAbort { "Instruction budget exceeded", at ? at->line : 0, at ? at->col : 0 };
        }
        env.budget -= kTickChunk;
    }
    if (env.hasDeadline && std::chrono::steady_clock::now() > env.deadline)
        throw ScriptAbort { "Script time-out", at ? at->line : 0, at ? at->col : 0 };
    if (env.control && (env.control->watch || env.control->stop)) {
        CallWatch(at);
        CheckStop(at);
    }
}

// The watch may run the host's event loop, and so code that starts another run on this engine:
// that run does not call the watch again while it is busy.
void Interp::CallWatch(const Node* at)
{
    RunControl& rc = *env.control;
    if (!rc.watch || rc.inWatch)
        return;
    auto now = std::chrono::steady_clock::now();
    if (now - rc.lastWatch < kWatchPeriod)
        return;
    struct Busy {
        RunControl& rc;
        explicit Busy(RunControl& r)
            : rc(r)
        {
            rc.inWatch = true;
        }
        ~Busy() { rc.inWatch = false; }
    } busy(rc);
    auto watch = rc.watch; // it may replace itself through SetWatch
    bool go = true;
    try {
        go = watch(now - rc.start);
    } catch (const std::exception& e) {
        throw ScriptAbort { std::string("Watch failed: ") + e.what(), at ? at->line : 0, at ? at->col : 0 };
    }
    rc.lastWatch = std::chrono::steady_clock::now();
    if (!go)
        StopRuns(rc);
}

void Interp::CheckStop(const Node* at)
{
    if (env.control && env.control->stop)
        throw ScriptAbort { "Script stopped", at ? at->line : 0, at ? at->col : 0 };
}

void StopRuns(RunControl& control)
{
    if (control.depth > 0)
        control.stop = true;
}

// Charged also without a budget: long work on big texts then reaches the watch as often as loops do.
void Interp::Charge(const Node* at, size_t bytes)
{
    uint64_t cost = bytes / 16;
    while (cost > ticks) {
        cost -= ticks;
        ticks = 1;
        Tick(at);
    }
    ticks -= static_cast<uint32_t>(cost);
    if (ticks == 0)
        ticks = 1;
}

void Interp::CheckSize(const Node* at, uint64_t count, uint64_t elemBytes)
{
    uint64_t limit = maxBytes;
    if (elemBytes && count > limit / elemBytes)
        Fail(at, "Out of memory");
}

namespace {

// A new buffer of exactly `room` bytes holding s: reserve() on s itself may round up to twice
// the old capacity.
void Regrow(std::string& s, size_t room)
{
    std::string t;
    t.reserve(room);
    t.append(s);
    s.swap(t);
}

} // namespace

void Interp::Reserve(const Node* at, std::string& s, uint64_t size)
{
    CheckBytes(at, size);
    if (size <= s.capacity())
        return;
    uint64_t doubled = std::min<uint64_t>(uint64_t(s.capacity()) * 2, maxBytes);
    Regrow(s, static_cast<size_t>(std::max(size, doubled)));
}

std::string& Interp::GrowStr(const Node* at, Value& slot, uint64_t size)
{
    CheckBytes(at, size);
    auto* so = slot.tag == Tag::Str ? static_cast<StrObj*>(slot.o) : nullptr;
    if (so && so->refs == 1) {
        Reserve(at, so->s, size);
        return so->s;
    }
    // Shared or empty: a copy of its own, as long as it needs to be.
    std::string_view cur = slot.str();
    auto* fresh = new StrObj;
    fresh->refs = 1;
    Value owner;
    owner.tag = Tag::Str;
    owner.o = fresh;
    fresh->s.reserve(static_cast<size_t>(std::max<uint64_t>(size, cur.size())));
    fresh->s.append(cur);
    slot = std::move(owner);
    return fresh->s;
}

void Interp::Out(std::string_view text)
{
    if (env.output)
        env.output->append(text);
    if (env.sink && *env.sink)
        (*env.sink)(text);
}

std::optional<Value> EvalConstant(Expr& e)
{
    static const CompiledProgram empty;
    RunEnv env;
    env.maxObjectBytes = 1 << 20;
    Interp c(env, empty);
    try {
        return e.eval(c);
    } catch (...) {
        return std::nullopt;
    }
}

} // namespace zev::script
