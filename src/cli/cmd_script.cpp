#include "cli/cmd_script.h"

#include <chrono>
#include <ostream>

#include "app/app.h"
#include "app/scripted_dialogs.h"
#include "base/paths.h"
#include "cli/cli_session.h"
#include "cli/command_table.h"
#include "session/workbench.h"

namespace zev {

namespace {

// Output printed by the script (WriteLn, PrintLn) goes to stdout as it is printed; --timeout and the
// boxes' answers are set. The run's exit code: 0, 1 for script errors or a reported failure.
class ScriptCommand {
public:
    ScriptCommand(CliContext& ctx, const CliCommandArgs& args, std::string command)
        : m_ctx(ctx)
        , m_session(ctx, args, std::move(command), BoxStyle::WithAnswer)
    {
        for (const std::string& answer : args.Values("--answer"))
            ctx.dialogs.PushAnswer(answer);
        m_session.Start();
        script::Engine& engine = ctx.bench.scripts().engine();
        engine.SetOutputSink([&ctx](std::string_view text) { ctx.out << WithLf(text); });
        if (std::vector<int64_t> t = args.Numbers("--timeout"); !t.empty())
            engine.SetTimeout(std::chrono::seconds(t.back()));
    }
    ~ScriptCommand() { m_ctx.bench.scripts().engine().SetOutputSink(nullptr); }

    CliSession& session() { return m_session; }

    int Finish(bool ok)
    {
        m_ctx.out.flush();
        if (int code = m_session.Save())
            return code;
        return ok && !m_session.errorReported() ? 0 : 1;
    }

private:
    CliContext& m_ctx;
    CliSession m_session;
};

int RunScript(CliContext& ctx, const CliCommandArgs& args)
{
    const std::string& script = args.operands.at(0);
    if (!FileExists(script)) {
        ctx.err << "zevdlg-cli: run-script: cannot read " << script << '\n';
        return 2;
    }
    ScriptCommand run(ctx, args, "run-script");
    if (int code = run.session().LoadDialogue())
        return code;
    return run.Finish(ctx.bench.scripts().LoadScript(script));
}

int Exec(CliContext& ctx, const CliCommandArgs& args)
{
    ScriptCommand run(ctx, args, "exec");
    if (int code = run.session().LoadDialogue())
        return code;
    return run.Finish(ctx.bench.scripts().ExecuteScriptConsole(args.operands.at(0)));
}

} // namespace

void RegisterScriptCommands(CliCommandTable& table)
{
    table.SetHandler("run-script", RunScript);
    table.SetHandler("exec", Exec);
}

} // namespace zev
