#include "cli/cmd_plugins.h"

#include <ostream>

#include "app/app.h"
#include "app/dialogue_files.h"
#include "app/scripted_dialogs.h"
#include "cli/command_table.h"
#include "completion/parse_include.h"
#include "model/zev_parser.h"
#include "plugins/plugin_host.h"
#include "plugins/plugin_script_services.h"
#include "runner/test_runner.h"
#include "runner/zevfuncs_runner.h"
#include "script/func_desc.h"
#include "script/script_host.h"
#include "script/zevfuncs.h"

namespace zev {

namespace {

std::string OneLine(const std::string& text)
{
    std::string out;
    for (char c : text)
        out += (c == '\r' || c == '\n') ? ' ' : c;
    return out;
}

// Boxes go to stderr as "[kind] text" and take their defaults; console lines go to stdout.
void Attach(CliContext& ctx, PluginHost& host)
{
    ctx.dialogs.onShown = [&ctx](const ScriptedDialogs::Shown& box) {
        ctx.err << '[' << MsgIconName(box.icon) << "] " << OneLine(box.text) << '\n';
    };
    if (!ctx.app.hooks().writeConsoleLine)
        ctx.app.hooks().writeConsoleLine = [&ctx](std::string_view line) { ctx.out << line << '\n'; };
    host.Install();
}

int Plugins(CliContext& ctx, const CliCommandArgs&)
{
    PluginHost host(ctx.app);
    Attach(ctx, host);
    host.ScanAll();
    ctx.out << host.ListPluginsText();
    return 0;
}

// Console lines the plug-in's script lines print, while it holds no control of its own.
class StdoutControl final : public OutputControl {
public:
    explicit StdoutControl(std::ostream& out)
        : m_out(out)
    {
    }
    std::string Name() const override { return "stdout"; }
    void AppendLine(std::string_view text) override { m_out << text << '\n'; }
    void Clear() override { }

private:
    std::ostream& m_out;
};

int RunPluginCommand(CliContext& ctx, const CliCommandArgs& args)
{
    App& app = ctx.app;
    // The script side first: a plug-in changes the dialogue through ExecuteScriptLines.
    ScriptHost scripts(app);
    InstallScriptHost(app, scripts);
    StdoutControl console(ctx.out);
    scripts.SetOutputControl(&console);
    scripts.onMessages = [&ctx](const std::vector<std::string>& messages) {
        for (const std::string& m : messages)
            ctx.err << m << '\n';
    };
    TestRunner runner(app);
    InstallRunner(app, runner);
    PluginHost host(app);
    Attach(ctx, host);
    FuncDescStore descriptions(app.ProgramPath("func_desc.ini"));
    DefinitionTable definitions;
    TParseInclude definitionReader(definitions);
    ScriptApiServices services;
    services.definitions = &definitionReader;
    services.descriptions = &descriptions;
    AddPluginServices(services, host);
    std::unique_ptr<ZEVFuncs> api = InstallZEVFuncs(app, scripts, &runner, std::move(services));
    if (args.Has("--dialogue")) {
        const std::string file = args.Value("--dialogue");
        app.hooks().confirmExecScript = [&ctx, file](const std::vector<std::string>&) {
            ctx.err << file << ": exec_script_code skipped\n";
            return false;
        };
        DialogueReadReport report = ReadDialogueFile(app, file);
        if (!report.readable) {
            ctx.err << "zevdlg-cli: run-plugin: " << report.ioError << '\n';
            return 2;
        }
        for (const TParseError& e : report.errors)
            ctx.err << file << ':' << e.Line << ':' << e.Col << ": " << app.reader().ErrorMsg(e.ErrorCode, e.Data)
                    << '\n';
        if (!report.errors.empty())
            return 1;
        app.SetCurrentFileName(file);
    }

    const std::string path = args.operands.at(0);
    const std::string loadPath = path.find('/') == std::string::npos ? "./" + path : path;
    const int index = host.ScanLibrary(loadPath, nullptr);
    if (index < 0) {
        std::string why = LastLoaderError();
        ctx.err << "zevdlg-cli: run-plugin: cannot load " << path << (why.empty() ? "" : ": " + why) << '\n';
        return 2;
    }
    if (!host.plugins()[static_cast<std::size_t>(index)].Accepted) {
        ctx.err << "zevdlg-cli: run-plugin: " << path << " was not accepted\n";
        return 1;
    }
    const PluginCallResult result = host.RunPlugin(loadPath);
    int code = 0;
    switch (result) {
    case PluginCallResult::Done:
        break;
    case PluginCallResult::NoSuchExport:
        ctx.err << "zevdlg-cli: run-plugin: " << path << " has no RunPlugin\n";
        code = 1;
        break;
    case PluginCallResult::LoadFailed:
    case PluginCallResult::UnknownPlugin:
        code = 2;
        break;
    case PluginCallResult::AlreadyRunning:
    case PluginCallResult::Crashed: // the box has told why on stderr
    case PluginCallResult::Disabled:
        code = 1;
        break;
    }
    if (code == 0 && args.Has("--save") && !WriteDialogue(app, args.Value("--save")))
        code = 2;
    return code;
}

} // namespace

void RegisterPluginCommands(CliCommandTable& table)
{
    table.SetHandler("plugins", Plugins);
    table.SetHandler("run-plugin", RunPluginCommand);
}

} // namespace zev
