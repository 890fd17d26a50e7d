#include "script/engine/engine.h"

#include "script/engine/checker.h"
#include "script/engine/classes.h"
#include "script/engine/interpreter.h"
#include "script/engine/lexer.h"
#include "script/engine/parser.h"
#include "script/engine/program.h"
#include "script/engine/run_env.h"
#include "script/engine/text_util.h"

namespace zev::script {

namespace {
constexpr uint64_t kDefaultMaxObjectBytes = uint64_t(1) << 30;

// Registers a run with the engine while it is in progress; the outermost one clears a stop
// request when it ends, so the next run starts normally.
class ActiveRun {
public:
    explicit ActiveRun(RunControl& control)
        : m_control(control)
    {
        ++m_control.depth;
    }
    ~ActiveRun()
    {
        if (--m_control.depth == 0)
            m_control.stop = false;
    }
    ActiveRun(const ActiveRun&) = delete;
    ActiveRun& operator=(const ActiveRun&) = delete;

private:
    RunControl& m_control;
};

} // namespace

Program::~Program() = default;

std::vector<std::string> Program::MessageTexts() const
{
    std::vector<std::string> out;
    for (auto& m : m_messages)
        out.push_back(m.formatted);
    return out;
}

Engine::Engine()
    : m_control(std::make_unique<RunControl>())
{
}

Engine::~Engine() = default;

void Engine::SetWatch(Watch watch)
{
    m_control->watch = std::move(watch);
}

void Engine::RequestStop()
{
    StopRuns(*m_control);
}

bool Engine::running() const
{
    return m_control->depth > 0;
}

void Engine::RegisterUnit(HostUnit unit)
{
    auto shared = std::make_shared<const HostUnit>(std::move(unit));
    for (auto& u : m_units)
        if (EqualsNoCase(u->name(), shared->name())) {
            u = std::move(shared); // programs compiled earlier keep the old one alive
            return;
        }
    m_units.push_back(std::move(shared));
}

bool Engine::UnregisterUnit(std::string_view name)
{
    for (auto it = m_units.begin(); it != m_units.end(); ++it)
        if (EqualsNoCase((*it)->name(), name)) {
            m_units.erase(it);
            return true;
        }
    return false;
}

const HostUnit* Engine::FindUnit(std::string_view name) const
{
    for (auto& u : m_units)
        if (EqualsNoCase(u->name(), name))
            return u.get();
    return nullptr;
}

std::string Engine::Declaration(std::string_view functionName) const
{
    auto dot = functionName.find('.');
    for (auto& u : m_units) {
        std::string_view fn = functionName;
        if (dot != std::string_view::npos) {
            if (!EqualsNoCase(u->name(), functionName.substr(0, dot)))
                continue;
            fn = functionName.substr(dot + 1);
        }
        if (const HostFunction* f = u->FindFunction(fn))
            return f->Declaration();
    }
    return "";
}

std::unique_ptr<Program> Engine::Compile(std::string_view text, std::string_view fileName)
{
    std::unique_ptr<Program> p(new Program);
    p->m_file = std::string(fileName);
    p->m_code = std::make_unique<CompiledProgram>();
    Diagnostics diag(p->m_file);
    Parser parser(Tokenize(text), diag);
    AstProgram ast = parser.ParseProgram();
    // Names and types are checked even after syntax errors: the parser dropped what it could not
    // read, the rest still deserves its messages.
    if (!diag.Full()) {
        Checker checker(*p->m_code, diag, m_units);
        checker.CheckProgram(ast);
    }
    p->m_messages = std::move(diag.messages());
    p->m_compileMessages = p->m_messages.size();
    p->m_compiled = p->m_messages.empty();
    if (!p->m_compiled)
        p->m_code.reset();
    return p;
}

bool Engine::Run(Program& program)
{
    program.m_messages.resize(program.m_compileMessages);
    program.m_output.clear();
    if (!program.m_compiled) {
        const Message& first = program.m_messages.front();
        program.m_messages.push_back(MakeMessage(MessageKind::Error,
            "The program was not run because it failed to compile", first.line, first.column, program.m_file));
        return false;
    }
    auto fail = [&](const std::string& text, int line, int col) {
        program.m_messages.push_back(MakeMessage(MessageKind::RuntimeError, text, line, col, program.m_file));
        return false;
    };
    // Started by host code after a stop was asked for: the stop covers this run too.
    if (running() && m_control->stop)
        return fail("Script stopped", 0, 0);
    auto now = std::chrono::steady_clock::now();
    if (!running())
        m_control->start = m_control->lastWatch = now;
    RunEnv env;
    env.engine = this;
    env.control = m_control.get();
    env.dialogs = m_dialogs;
    env.sink = &m_sink;
    env.output = &program.m_output;
    env.random = &m_random;
    env.hasBudget = m_budget != 0;
    env.budget = m_budget;
    env.hasDeadline = m_timeout.count() > 0;
    env.deadline = now + m_timeout;
    env.maxObjectBytes = m_maxObjectBytes ? m_maxObjectBytes : kDefaultMaxObjectBytes;
    env.fileAccess = m_fileAccess;
    try {
        Interp interp(env, *program.m_code);
        ActiveRun active(*m_control);
        interp.Run();
    } catch (const ScriptThrow& t) {
        std::string text = "Exception";
        if (auto* e = dynamic_cast<ExceptionObj*>(t.exc.inst()))
            text = e->message;
        return fail(text, t.line, t.col);
    } catch (const ScriptAbort& a) {
        return fail(a.message, a.line, a.col);
    } catch (const std::bad_alloc&) {
        return fail("Out of memory", 0, 0);
    }
    return true;
}

std::unique_ptr<Program> Engine::Execute(std::string_view text, std::string_view fileName)
{
    auto p = Compile(text, fileName);
    Run(*p);
    return p;
}

} // namespace zev::script
