#include "cli/cmd_plugins.h"

#include <ostream>

#include "app/app.h"
#include "cli/cli_session.h"
#include "cli/command_table.h"
#include "plugins/plugin_host.h"
#include "session/workbench.h"

namespace zev {

namespace {

// The plug-ins as the program's start-up finds them, listed as the script function ListPlugins
// prints them.
int Plugins(CliContext& ctx, const CliCommandArgs& args)
{
    CliSession session(ctx, args, "plugins", BoxStyle::Plain);
    session.Start();
    const bool ok = ctx.bench.scripts().ExecuteScriptConsole("ListPlugins;");
    ctx.out.flush();
    return ok ? 0 : 1;
}

int RunPluginCommand(CliContext& ctx, const CliCommandArgs& args)
{
    CliSession session(ctx, args, "run-plugin", BoxStyle::Plain);
    session.Start();
    if (int code = session.LoadDialogue())
        return code;

    PluginHost& host = ctx.bench.plugins();
    const std::string path = args.operands.at(0);
    const std::string loadPath = path.find('/') == std::string::npos ? "./" + path : path;
    int index = host.FindPlugin(loadPath);
    if (index < 0)
        index = host.ScanLibrary(loadPath, nullptr);
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
    ctx.out.flush();
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
    if (code == 0 && session.errorReported())
        code = 1;
    if (code == 0)
        code = session.Save();
    return code;
}

} // namespace

void RegisterPluginCommands(CliCommandTable& table)
{
    table.SetHandler("plugins", Plugins);
    table.SetHandler("run-plugin", RunPluginCommand);
}

} // namespace zev
