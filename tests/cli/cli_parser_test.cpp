#include <gtest/gtest.h>

#include <sstream>

#include "app/app.h"
#include "base/paths.h"
#include "cli/arg_parser.h"
#include "cli/cli.h"
#include "cli/usage.h"
#include "support/temp_dir.h"

namespace zev {
namespace {

const CliCommandTable& Table()
{
    static const CliCommandTable table = BuiltinCommands();
    return table;
}

using Action = CliInvocation::Action;
using Args = std::vector<std::string>;

CliInvocation Parse(const Args& args)
{
    return ParseCliArguments(Table(), args);
}

TEST(CliParser, ReadsEachCommandsOptionsAndOperands)
{
    auto play = Parse({ "play", "d.zev", "--start", "Node1", "--choose=1,2,3", "--seed", "-7", "--female" });
    ASSERT_EQ(play.action, Action::Run) << play.error;
    EXPECT_EQ(play.command->name, "play");
    EXPECT_EQ(play.args.operands, Args { "d.zev" });
    EXPECT_EQ(play.args.Value("--start"), "Node1");
    EXPECT_EQ(play.args.Value("--choose"), "1,2,3");
    EXPECT_EQ(play.args.Value("--seed"), "-7");
    EXPECT_TRUE(play.args.Has("--female"));
    EXPECT_FALSE(play.args.Has("--name"));
    EXPECT_EQ(play.args.Value("--name", "fallback"), "fallback");

    auto script = Parse({ "run-script", "--answer", "yes", "--answer", "", "--answer=my text", "s.dws" });
    ASSERT_EQ(script.action, Action::Run) << script.error;
    EXPECT_EQ(script.args.Values("--answer"), (Args { "yes", "", "my text" }));
    EXPECT_EQ(script.args.operands, Args { "s.dws" });

    auto plugins = Parse({ "plugins" });
    ASSERT_EQ(plugins.action, Action::Run);
    EXPECT_TRUE(plugins.args.operands.empty());
}

TEST(CliParser, CommonOptionsStandBeforeOrAfterTheCommand)
{
    auto a = Parse({ "--home", "/h", "--verbose", "check", "f.zev", "--log=/tmp/l.log" });
    ASSERT_EQ(a.action, Action::Run) << a.error;
    EXPECT_EQ(a.common.home, "/h");
    EXPECT_TRUE(a.common.verbose);
    EXPECT_EQ(a.common.logFile, "/tmp/l.log");
    auto b = Parse({ "check", "f.zev" });
    EXPECT_EQ(b.common.home, "");
    EXPECT_FALSE(b.common.verbose);
    EXPECT_EQ(b.common.logFile, "");
}

TEST(CliParser, DoubleDashLetsOperandsStartWithADash)
{
    auto a = Parse({ "exec", "--", "--not-an-option" });
    ASSERT_EQ(a.action, Action::Run) << a.error;
    EXPECT_EQ(a.args.operands, Args { "--not-an-option" });
    auto b = Parse({ "check", "-" });
    ASSERT_EQ(b.action, Action::Run) << b.error;
    EXPECT_EQ(b.args.operands, Args { "-" });
}

TEST(CliParser, HelpVersionAndNothing)
{
    EXPECT_EQ(Parse({}).action, Action::NoArguments);
    EXPECT_EQ(Parse({ "--version" }).action, Action::Version);
    auto help = Parse({ "--help" });
    EXPECT_EQ(help.action, Action::Help);
    EXPECT_EQ(help.command, nullptr);
    auto commandHelp = Parse({ "play", "--help" });
    EXPECT_EQ(commandHelp.action, Action::Help);
    ASSERT_NE(commandHelp.command, nullptr);
    EXPECT_EQ(commandHelp.command->name, "play");
}

struct BadCase {
    Args args;
    std::string error;
};

TEST(CliParser, UsageErrorsSayWhatIsWrong)
{
    const std::vector<BadCase> cases {
        { { "frobnicate" }, "unknown command 'frobnicate'" },
        { { "check", "--bogus", "f" }, "unknown option '--bogus'" },
        { { "check", "-x", "f" }, "unknown option '-x'" },
        { { "--bogus" }, "unknown option '--bogus'" },
        { { "check" }, "missing FILE" },
        { { "check", "a", "b" }, "unexpected argument 'b'" },
        { { "plugins", "extra" }, "unexpected argument 'extra'" },
        { { "play", "d.zev" }, "missing option --start NODE" },
        { { "play", "d.zev", "--start" }, "option --start needs a value (NODE)" },
        { { "play", "d.zev", "--start", "n", "--seed", "x1" }, "option --seed: not an integer: 'x1'" },
        { { "play", "d.zev", "--start", "n", "--choose", "1,,2" },
            "option --choose: not a comma-separated list of integers: '1,,2'" },
        { { "play", "d.zev", "--start", "n", "--start", "m" }, "option --start given more than once" },
        { { "check", "--listing=yes", "f" }, "option --listing takes no value" },
        { { "--home=", "plugins" }, "option --home: empty DIR" },
        { { "--verbose", "plugins", "--verbose" }, "option --verbose given more than once" },
        { { "--verbose" }, "no command given" },
        { { "check", "f", "--version" }, "unknown option '--version'" },
    };
    for (const BadCase& c : cases) {
        auto r = Parse(c.args);
        EXPECT_EQ(r.action, Action::UsageError) << c.error;
        EXPECT_EQ(r.error, c.error);
    }
}

TEST(CliHelp, ListsEveryCommandTheCommonOptionsAndTheExitCodes)
{
    CliCommandTable table = BuiltinCommands();
    std::string help = CliHelpText(table);
    for (const CliCommand& c : table.Commands())
        EXPECT_NE(help.find("  " + c.synopsis + "\n"), std::string::npos) << c.name;
    for (std::string s : { "--home DIR", "--verbose", "--log FILE", "--version", "Exit codes:", "  0  success",
             "  1  the input had errors", "  2  usage error" })
        EXPECT_NE(help.find(s), std::string::npos) << s;
}

TEST(CliHelp, EachSynopsisNamesEveryOptionAndOperandOfItsCommand)
{
    // The synopsis is written by hand; this keeps it in step with what the parser accepts.
    for (const CliCommand& c : Table().Commands()) {
        EXPECT_EQ(c.synopsis.rfind(c.name, 0), 0u) << c.name;
        for (const CliOption& o : c.options) {
            EXPECT_NE(c.synopsis.find(o.name), std::string::npos) << c.name << " " << o.name;
            EXPECT_NE(CliCommandHelpText(c).find(o.help), std::string::npos) << c.name << " " << o.name;
        }
        for (const std::string& operand : c.operands)
            EXPECT_NE(c.synopsis.find(operand), std::string::npos) << c.name << " " << operand;
    }
}

TEST(CliRun, ARegisteredHandlerRunsWithTheParsedArgumentsAndGivesTheExitCode)
{
    test::TempDir home;
    CliCommandTable table = BuiltinCommands();
    CliCommandArgs seen;
    std::string seenFolder;
    ASSERT_TRUE(table.SetHandler("check", [&](CliContext& ctx, const CliCommandArgs& args) {
        seen = args;
        seenFolder = ctx.app.programFolder();
        ctx.app.log().Log("checking");
        ctx.out << "out\n";
        ctx.err << "err\n";
        return 1;
    }));
    EXPECT_FALSE(table.SetHandler("no-such-command", {}));
    std::ostringstream out, err;
    std::string logFile = home.File("cli.log");
    int code = RunCli(
        table, { "--home", home.path(), "--verbose", "--log", logFile, "check", "--listing", "x.zev" }, out, err);
    EXPECT_EQ(code, 1);
    EXPECT_EQ(seen.operands, Args { "x.zev" });
    EXPECT_TRUE(seen.Has("--listing"));
    EXPECT_EQ(seenFolder, home.path());
    EXPECT_EQ(out.str(), "out\n");
    // --verbose copies the log lines to stderr; --log writes them to the file.
    EXPECT_NE(err.str().find("checking\n"), std::string::npos);
    EXPECT_NE(err.str().find("err\n"), std::string::npos);
    EXPECT_NE(test::ReadFileBytes(logFile).find(": checking\r\n"), std::string::npos);
}

TEST(CliRun, WithoutLogOrVerboseNothingIsLoggedAnywhere)
{
    test::TempDir home;
    CliCommandTable table = BuiltinCommands();
    table.SetHandler("plugins", [](CliContext& ctx, const CliCommandArgs&) {
        ctx.app.log().Log("quiet");
        return 0;
    });
    std::ostringstream out, err;
    EXPECT_EQ(RunCli(table, { "--home", home.path(), "plugins" }, out, err), 0);
    EXPECT_EQ(err.str(), "");
    EXPECT_FALSE(FileExists(home.File("debug.log")));
}

TEST(CliRun, FailuresAroundTheHandlerAreReportedWithExitCode2)
{
    test::TempDir home;
    CliCommandTable table = BuiltinCommands();
    table.SetHandler("lint", [](CliContext&, const CliCommandArgs&) -> int { throw std::runtime_error("boom"); });
    std::ostringstream out, err;
    EXPECT_EQ(RunCli(table, { "--home", home.path(), "lint", "f" }, out, err), 2);
    EXPECT_EQ(err.str(), "zevdlg-cli: lint: internal error: boom\n");

    std::ostringstream out2, err2;
    EXPECT_EQ(RunCli(table, { "--home", home.File("missing"), "lint", "f" }, out2, err2), 2);
    EXPECT_EQ(err2.str(), "zevdlg-cli: lint: program folder not found: " + home.File("missing") + "\n");

    std::ostringstream out3, err3;
    EXPECT_EQ(
        RunCli(table, { "--home", home.path(), "--log", home.File("no/such/dir/x.log"), "lint", "f" }, out3, err3), 2);
    EXPECT_NE(err3.str().find("zevdlg-cli: lint: Cannot create the log file"), std::string::npos) << err3.str();
}

} // namespace
} // namespace zev
