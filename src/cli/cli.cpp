#include "cli/cli.h"

#include <exception>
#include <iostream>

#include "app/app.h"
#include "app/scripted_dialogs.h"
#include "base/paths.h"
#include "base/program_dirs.h"
#include "cli/arg_parser.h"
#include "cli/usage.h"
#include "session/workbench.h"

namespace zev {

namespace {

constexpr int kExitUsage = 2;

std::string Prefix(const CliCommand* command)
{
    std::string p = std::string(kCliName) + ": ";
    if (command)
        p += command->name + ": ";
    return p;
}

int RunCommand(const CliInvocation& inv, std::ostream& out, std::ostream& err)
{
    const CliCommand& command = *inv.command;
    if (!command.handler) {
        err << Prefix(&command) << "not available in this build yet\n";
        return kExitUsage;
    }
    ProgramDirs dirs = ResolveProgramDirs(inv.common.home);
    const std::string folder = dirs.dataFolder;
    if (!DirectoryExists(folder)) {
        err << Prefix(&command) << "program folder not found: " << folder << "\n";
        return kExitUsage;
    }
    if (std::string error; !PrepareProgramDirs(dirs, error)) {
        err << Prefix(&command) << error << "\n";
        return kExitUsage;
    }
    if (!dirs.warning.empty())
        err << Prefix(&command) << "warning: " << dirs.warning << "\n";

    ScriptedDialogs dialogs;
    Workbench bench(dialogs, std::move(dirs));
    App& app = bench.app();
    Logger& log = app.log();
    log.SetFilePath(inv.common.logFile);
    log.SetErrorHandler([&err, &command](const std::string& what) { err << Prefix(&command) << what << "\n"; });
    if (!log.ResetLog())
        return kExitUsage;
    if (inv.common.verbose)
        log.SetMirror([&err](std::string_view message, std::string_view) { err << message << "\n"; });
    log.Log("zevdlg-cli " ZEV_VERSION_TEXT " " + command.name + ", program folder " + folder);

    CliContext context { bench, app, dialogs, &command, inv.common, out, err };
    try {
        int code = command.handler(context, inv.args);
        out.flush();
        return code;
    } catch (const std::exception& e) {
        // A handler's fault must not end in an abort without a word.
        out.flush();
        err << Prefix(&command) << "internal error: " << e.what() << "\n";
        return kExitUsage;
    }
}

} // namespace

int RunCli(const CliCommandTable& table, const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    CliInvocation inv = ParseCliArguments(table, args);
    switch (inv.action) {
    case CliInvocation::Action::Version:
        out << "zevdlg " ZEV_VERSION_TEXT "\n";
        return 0;
    case CliInvocation::Action::Help:
        out << (inv.command ? CliCommandHelpText(*inv.command) : CliHelpText(table));
        return 0;
    case CliInvocation::Action::NoArguments:
        err << CliHelpText(table);
        return kExitUsage;
    case CliInvocation::Action::UsageError:
        err << Prefix(inv.command) << inv.error << "\n" << CliUsageHint(inv.command);
        return kExitUsage;
    case CliInvocation::Action::Run:
        break;
    }
    return RunCommand(inv, out, err);
}

int RunCli(int argc, char** argv)
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    return RunCli(BuiltinCommands(), args, std::cout, std::cerr);
}

} // namespace zev
