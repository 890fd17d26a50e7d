#include "cli/cmd_play.h"

#include <ostream>

#include "app/app.h"
#include "app/dialogue_files.h"
#include "cli/cli_session.h"
#include "cli/command_table.h"
#include "model/zev_parser.h"
#include "runner/play_session.h"
#include "session/workbench.h"

namespace zev {

namespace {

int Play(CliContext& ctx, const CliCommandArgs& args)
{
    App& app = ctx.app;
    const std::string& file = args.operands.at(0);
    CliSession session(ctx, args, "play", BoxStyle::Plain);
    // The settings and the player character are the program's, as its start-up reads them.
    session.Start();
    DialogueReadReport report = ReadDialogueFile(app, file);
    if (!report.readable) {
        ctx.err << "zevdlg-cli: play: " << report.ioError << '\n';
        return 2;
    }
    for (const TParseError& e : report.errors)
        ctx.err << file << ':' << e.Line << ':' << e.Col << ": " << app.reader().ErrorMsg(e.ErrorCode, e.Data) << '\n';
    if (!report.errors.empty())
        return 1;
    OfferExecScript(app, file, report.execLines);

    if (args.Has("--female"))
        app.player().gender = GENDER_FEMALE;
    if (args.Has("--name"))
        app.player().name = args.Value("--name");
    if (std::vector<int64_t> seed = args.Numbers("--seed"); !seed.empty())
        app.random().Seed(static_cast<uint64_t>(seed.back()));

    PlayRequest request;
    request.startNode = args.Value("--start");
    for (int64_t choice : args.Numbers("--choose"))
        request.choices.push_back(static_cast<int32_t>(choice)); // range-checked by the parser
    PlayResult result = PlayHeadless(app, ctx.bench.run(), request);
    for (const std::string& line : result.lines)
        ctx.out << WithLf(line) << '\n';
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
