#include "cli/cmd_play.h"

#include <ostream>

#include "app/app.h"
#include "app/dialogue_files.h"
#include "app/scripted_dialogs.h"
#include "cli/command_table.h"
#include "model/zev_parser.h"
#include "runner/play_session.h"

namespace zev {

namespace {

std::string OneLine(std::string text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i];
    }
    return out;
}

std::vector<int32_t> ParseChoices(const std::string& list)
{
    std::vector<int32_t> out;
    std::size_t start = 0;
    while (start <= list.size() && !list.empty()) {
        auto comma = list.find(',', start);
        std::string item = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        out.push_back(static_cast<int32_t>(std::stol(item)));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return out;
}

int Play(CliContext& ctx, const CliCommandArgs& args)
{
    App& app = ctx.app;
    const std::string& file = args.operands.at(0);
    ctx.dialogs.onShown = [&ctx](const ScriptedDialogs::Shown& box) {
        ctx.err << '[' << MsgIconName(box.icon) << "] " << OneLine(box.text) << '\n';
    };
    app.hooks().confirmExecScript = [&ctx, &file](const std::vector<std::string>&) {
        ctx.err << file << ": exec_script_code skipped\n";
        return false;
    };
    DialogueReadReport report = ReadDialogueFile(app, file);
    if (!report.readable) {
        ctx.err << "zevdlg-cli: play: " << report.ioError << '\n';
        return 2;
    }
    for (const TParseError& e : report.errors)
        ctx.err << file << ':' << e.Line << ':' << e.Col << ": " << app.reader().ErrorMsg(e.ErrorCode, e.Data) << '\n';
    if (!report.errors.empty())
        return 1;

    app.settings() = LoadSettings(app.config());
    ReadPlayerCharacter(app.config(), app.player());
    if (args.Has("--female"))
        app.player().gender = GENDER_FEMALE;
    if (args.Has("--name"))
        app.player().name = args.Value("--name");
    if (args.Has("--seed"))
        app.random().Seed(static_cast<uint64_t>(std::stoll(args.Value("--seed"))));

    PlayRequest request;
    request.startNode = args.Value("--start");
    if (args.Has("--choose"))
        request.choices = ParseChoices(args.Value("--choose"));
    PlayResult result = PlayHeadless(app, request);
    for (const std::string& line : result.lines)
        ctx.out << OneLine(line) << '\n';
    if (!result.error.empty())
        ctx.err << "zevdlg-cli: play: " << result.error << '\n';
    return result.started && result.completed ? 0 : 1;
}

} // namespace

void RegisterPlayCommand(CliCommandTable& table)
{
    table.SetHandler("play", Play);
}

} // namespace zev
