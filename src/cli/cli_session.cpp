#include "cli/cli_session.h"

#include <ostream>

#include "app/dialogue_files.h"
#include "app/scripted_dialogs.h"
#include "cli/command_table.h"
#include "model/zev_parser.h"
#include "session/workbench.h"

namespace zev {

std::string WithLf(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            out += text[i];
    return out;
}

std::string OneLine(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c == '\r' || c == '\n')
            c = ' ';
    return out;
}

void StdoutSink::AppendLine(std::string_view text)
{
    m_out << WithLf(text) << '\n';
}

bool CliWindows::ShowErrorReport(const ExceptionReport& report)
{
    m_err << "zevdlg-cli: " << m_command << ": " << OneLine(report.errorText) << '\n';
    m_reported = true;
    return true;
}

CliSession::CliSession(CliContext& ctx, const CliCommandArgs& args, std::string command, BoxStyle boxes)
    : CliSession(ctx, args, std::move(command), boxes, ctx.out)
{
}

CliSession::CliSession(
    CliContext& ctx, const CliCommandArgs& args, std::string command, BoxStyle boxes, std::ostream& consoleOut)
    : m_ctx(ctx)
    , m_args(args)
    , m_command(std::move(command))
    , m_stdout(consoleOut)
    , m_windows(ctx.err, ctx.dialogs, m_command)
{
    App& app = ctx.app;
    app.SetWindows(&m_windows);
    ctx.bench.scripts().onMessages = [&ctx](const std::vector<std::string>& messages) {
        for (const std::string& m : messages)
            ctx.err << m << '\n';
    };
    ctx.dialogs.onShown = [&ctx, boxes](const ScriptedDialogs::Shown& box) {
        const std::string kind = box.kind == ScriptedDialogs::Kind::Message ? std::string(MsgIconName(box.icon))
            : box.kind == ScriptedDialogs::Kind::List                       ? std::string("list")
                                                                            : std::string("input");
        if (boxes == BoxStyle::WithAnswer)
            ctx.err << '[' << kind << "] " << WithLf(box.text) << " -> " << box.answer << '\n';
        else
            ctx.err << '[' << kind << "] " << OneLine(box.text) << '\n';
    };
    const bool canAllow = ctx.command && ctx.command->FindOption("--allow-scripts");
    app.SetFileScriptPolicy(args.Has("--allow-scripts") ? FileScriptPolicy::Run : FileScriptPolicy::Skip);
    m_skippedId = app.fileScriptSkipped.Connect([&ctx, canAllow](const std::string& file) {
        ctx.err << file << ": exec_script_code skipped" << (canAllow ? " (run with --allow-scripts to run it)" : "")
                << '\n';
    });
}

CliSession::~CliSession()
{
    App& app = m_ctx.app;
    app.console().SetFrontEndHolder(nullptr);
    app.fileScriptSkipped.Disconnect(m_skippedId);
    app.SetWindows(nullptr);
    m_ctx.bench.scripts().onMessages = nullptr;
    m_ctx.dialogs.onShown = nullptr;
}

Workbench& CliSession::bench()
{
    return m_ctx.bench;
}

void CliSession::Start()
{
    m_ctx.bench.Start();
    m_ctx.app.console().SetFrontEndHolder(&m_stdout);
}

int CliSession::LoadDialogue()
{
    if (!m_args.Has("--dialogue"))
        return 0;
    App& app = m_ctx.app;
    const std::string file = m_args.Value("--dialogue");
    DialogueReadReport report = ReadDialogueFile(app, file);
    if (!report.readable) {
        m_ctx.err << "zevdlg-cli: " << m_command << ": " << report.ioError << '\n';
        return 2;
    }
    for (const TParseError& e : report.errors)
        m_ctx.err << file << ':' << e.Line << ':' << e.Col << ": " << app.reader().ErrorMsg(e.ErrorCode, e.Data)
                  << '\n';
    if (!report.errors.empty())
        return 1;
    app.dlg().file_name = file;
    app.SetCurrentFileName(file);
    OfferExecScript(app, file, report.execLines);
    return 0;
}

int CliSession::Save()
{
    if (!m_args.Has("--save"))
        return 0;
    if (!WriteDialogue(m_ctx.app, m_args.Value("--save"))) {
        m_ctx.err << "zevdlg-cli: " << m_command << ": the dialogue could not be written to " << m_args.Value("--save")
                  << '\n';
        return 2;
    }
    return 0;
}

} // namespace zev
