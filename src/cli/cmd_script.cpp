#include "cli/cmd_script.h"

#include <ostream>

#include "app/app.h"
#include "app/dialogue_files.h"
#include "app/scripted_dialogs.h"
#include "base/paths.h"
#include "cli/command_table.h"
#include "completion/parse_include.h"
#include "model/zev_parser.h"
#include "runner/test_runner.h"
#include "runner/zevfuncs_runner.h"
#include "script/func_desc.h"
#include "script/script_host.h"

namespace zev {

namespace {

std::string WithLf(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            out += text[i];
    return out;
}

// The tool holds the output control: console lines go to stdout.
class StdoutControl final : public OutputControl {
public:
    explicit StdoutControl(std::ostream& out)
        : m_out(out)
    {
    }
    std::string Name() const override { return "stdout"; }
    void AppendLine(std::string_view text) override { m_out << WithLf(text) << '\n'; }
    void Clear() override { }

private:
    std::ostream& m_out;
};

// What run-script and exec share: the host with its output, the boxes, the dialogue.
class ScriptSession {
public:
    ScriptSession(CliContext& ctx, const CliCommandArgs& args, const std::string& command)
        : m_ctx(ctx)
        , m_args(args)
        , m_command(command)
        , m_host(ctx.app)
        , m_control(ctx.out)
        , m_runner(ctx.app)
        , m_descriptions(ctx.app.ProgramPath("func_desc.ini"))
        , m_definitionReader(m_definitions)
    {
        InstallScriptHost(ctx.app, m_host);
        InstallRunner(ctx.app, m_runner);
        ScriptApiServices services;
        services.definitions = &m_definitionReader;
        services.descriptions = &m_descriptions;
        m_funcs = InstallZEVFuncs(ctx.app, m_host, &m_runner, std::move(services));
        m_host.SetOutputControl(&m_control);
        m_host.engine().SetOutputSink([&ctx](std::string_view text) { ctx.out << WithLf(text); });
        m_host.onMessages = [&ctx](const std::vector<std::string>& messages) {
            for (const std::string& m : messages)
                ctx.err << m << '\n';
        };
        for (const std::string& answer : args.Values("--answer"))
            ctx.dialogs.PushAnswer(answer);
        ctx.dialogs.onShown = [&ctx](const ScriptedDialogs::Shown& box) {
            ctx.err << '['
                    << (box.kind == ScriptedDialogs::Kind::Message ? std::string(MsgIconName(box.icon))
                                                                   : std::string("input"))
                    << "] " << WithLf(box.text) << " -> " << box.answer << '\n';
        };
    }

    // Loads --dialogue; 0 or the exit code of the failure.
    int LoadDialogue()
    {
        if (!m_args.Has("--dialogue"))
            return 0;
        std::string file = m_args.Value("--dialogue");
        bool allow = m_args.Has("--allow-scripts");
        m_ctx.app.hooks().confirmExecScript = [this, file, allow](const std::vector<std::string>&) {
            if (!allow)
                m_ctx.err << file << ": exec_script_code skipped (run with --allow-scripts to run it)\n";
            return allow;
        };
        DialogueReadReport report = ReadDialogueFile(m_ctx.app, file);
        if (!report.readable) {
            m_ctx.err << "zevdlg-cli: " << m_command << ": " << report.ioError << '\n';
            return 2;
        }
        for (const TParseError& e : report.errors)
            m_ctx.err << file << ':' << e.Line << ':' << e.Col << ": "
                      << m_ctx.app.reader().ErrorMsg(e.ErrorCode, e.Data) << '\n';
        if (!report.errors.empty())
            return 1;
        m_ctx.app.dlg().file_name = file;
        m_ctx.app.SetCurrentFileName(file);
        OfferExecScript(m_ctx.app, report.execLines);
        return 0;
    }

    // Writes --save after the run; 0 or 2.
    int Save()
    {
        if (!m_args.Has("--save"))
            return 0;
        std::string error;
        if (!WriteDialogue(m_ctx.app, m_args.Value("--save"))) {
            m_ctx.err << "zevdlg-cli: " << m_command << ": the dialogue could not be written to "
                      << m_args.Value("--save") << '\n';
            return 2;
        }
        return 0;
    }

    ScriptHost& host() { return m_host; }

private:
    CliContext& m_ctx;
    const CliCommandArgs& m_args;
    std::string m_command;
    ScriptHost m_host;
    StdoutControl m_control;
    TestRunner m_runner;
    FuncDescStore m_descriptions;
    DefinitionTable m_definitions;
    TParseInclude m_definitionReader;
    std::unique_ptr<ZEVFuncs> m_funcs; // last: it leaves the engine before the rest goes
};

int RunScript(CliContext& ctx, const CliCommandArgs& args)
{
    const std::string& script = args.operands.at(0);
    if (!FileExists(script)) {
        ctx.err << "zevdlg-cli: run-script: cannot read " << script << '\n';
        return 2;
    }
    ScriptSession session(ctx, args, "run-script");
    if (int code = session.LoadDialogue())
        return code;
    bool ok = session.host().LoadScript(script);
    ctx.out.flush();
    if (int code = session.Save())
        return code;
    return ok ? 0 : 1;
}

int Exec(CliContext& ctx, const CliCommandArgs& args)
{
    ScriptSession session(ctx, args, "exec");
    if (int code = session.LoadDialogue())
        return code;
    bool ok = session.host().ExecuteScriptConsole(args.operands.at(0));
    ctx.out.flush();
    if (int code = session.Save())
        return code;
    return ok ? 0 : 1;
}

} // namespace

void RegisterScriptCommands(CliCommandTable& table)
{
    table.SetHandler("run-script", RunScript);
    table.SetHandler("exec", Exec);
}

} // namespace zev
