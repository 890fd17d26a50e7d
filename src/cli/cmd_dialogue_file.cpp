#include "cli/cmd_dialogue_file.h"

#include <memory>
#include <ostream>

#include "app/app.h"
#include "app/dialogue_files.h"
#include "cli/cli_session.h"
#include "cli/command_table.h"
#include "model/dialog_writer.h"
#include "model/lint.h"
#include "model/zev_parser.h"

namespace zev {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFindings = 1;
constexpr int kExitFileError = 2;

// Reads FILE into the App's dialogue. Its script section runs only with --allow-scripts; then the
// workbench is started first, as the program runs such scripts.
DialogueReadReport Read(CliContext& ctx, const CliCommandArgs& args, const std::string& command)
{
    const std::string& file = args.operands.at(0);
    std::unique_ptr<CliSession> session;
    if (args.Has("--allow-scripts")) {
        // Standard output is the dialogue: what the script prints goes to stderr.
        session = std::make_unique<CliSession>(ctx, args, command, BoxStyle::Plain, ctx.err);
        session->Start();
    } else {
        ctx.app.SetFileScriptPolicy(FileScriptPolicy::Skip);
    }
    const std::size_t skipped = ctx.app.fileScriptSkipped.Connect([&ctx, &file](const std::string&) {
        ctx.err << file << ": exec_script_code skipped (run with --allow-scripts to run it)\n";
    });
    DialogueReadReport report = ReadDialogueFile(ctx.app, file);
    if (report.readable)
        OfferExecScript(ctx.app, file, report.execLines);
    ctx.app.fileScriptSkipped.Disconnect(skipped);
    return report;
}

void PrintErrors(CliContext& ctx, std::ostream& to, const std::string& file, const DialogueReadReport& report)
{
    for (const TParseError& e : report.errors)
        to << file << ':' << e.Line << ':' << e.Col << ": " << ctx.app.reader().ErrorMsg(e.ErrorCode, e.Data) << '\n';
    if (report.unstoredErrors > 0)
        to << file << ": " << report.unstoredErrors << " more errors not listed\n";
}

int Unreadable(CliContext& ctx, const std::string& command, const DialogueReadReport& report)
{
    ctx.err << "zevdlg-cli: " << command << ": " << report.ioError << '\n';
    return kExitFileError;
}

int Check(CliContext& ctx, const CliCommandArgs& args)
{
    const std::string& file = args.operands.at(0);
    bool listing = args.Has("--listing");
    ctx.app.reader().GenListWhen = listing ? glAlways : glNever;
    DialogueReadReport report = Read(ctx, args, "check");
    if (!report.readable)
        return Unreadable(ctx, "check", report);
    if (listing)
        ctx.out << ctx.app.reader().ListStream();
    else
        PrintErrors(ctx, ctx.out, file, report);
    return report.errors.empty() ? kExitOk : kExitFindings;
}

int Format(CliContext& ctx, const CliCommandArgs& args)
{
    const std::string& file = args.operands.at(0);
    DialogueReadReport report = Read(ctx, args, "format");
    if (!report.readable)
        return Unreadable(ctx, "format", report);
    PrintErrors(ctx, ctx.err, file, report);
    ctx.out << SerializeDialogue(ctx.app.dlg());
    return report.errors.empty() ? kExitOk : kExitFindings;
}

int Lint(CliContext& ctx, const CliCommandArgs& args)
{
    const std::string& file = args.operands.at(0);
    DialogueReadReport report = Read(ctx, args, "lint");
    if (!report.readable)
        return Unreadable(ctx, "lint", report);
    PrintErrors(ctx, ctx.out, file, report);
    std::vector<std::string> findings = LintDialogue(ctx.app.dlg());
    for (const std::string& f : findings)
        ctx.out << file << ": " << f << '\n';
    return report.errors.empty() && findings.empty() ? kExitOk : kExitFindings;
}

} // namespace

void RegisterDialogueFileCommands(CliCommandTable& table)
{
    table.SetHandler("check", Check);
    table.SetHandler("format", Format);
    table.SetHandler("lint", Lint);
}

} // namespace zev
