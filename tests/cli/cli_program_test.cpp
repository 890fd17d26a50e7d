#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "cli/command_table.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace zev {
namespace {
using test::Result;
using test::RunTool;

const CliCommandTable& Table()
{
    static const CliCommandTable table = BuiltinCommands();
    return table;
}

TEST(CliProgram, VersionAndHelp)
{
    Result v = RunTool({ "--version" });
    EXPECT_EQ(v.code, 0);
    EXPECT_EQ(v.out, "zevdlg 0.25.4-stable\n");
    EXPECT_EQ(v.err, "");

    Result h = RunTool({ "--help" });
    EXPECT_EQ(h.code, 0);
    EXPECT_EQ(h.err, "");
    for (const CliCommand& c : Table().Commands())
        EXPECT_NE(h.out.find(c.synopsis), std::string::npos) << c.name;
    EXPECT_NE(h.out.find("--home DIR"), std::string::npos);
    EXPECT_NE(h.out.find("Exit codes:"), std::string::npos);

    // Nothing at all: the same help, but as a usage error on stderr.
    Result none = RunTool({});
    EXPECT_EQ(none.code, 2);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.err, h.out);
}

TEST(CliProgram, EachCommandPrintsItsOwnUsage)
{
    for (const CliCommand& c : Table().Commands()) {
        Result r = RunTool({ c.name, "--help" });
        EXPECT_EQ(r.code, 0) << c.name;
        EXPECT_EQ(r.out.rfind("usage: zevdlg-cli [COMMON OPTIONS] " + c.synopsis + "\n", 0), 0u) << r.out;
        EXPECT_EQ(r.err, "");
    }
}

TEST(CliProgram, UsageErrorsGoToStderrWithExitCode2)
{
    Result unknown = RunTool({ "frobnicate" });
    EXPECT_EQ(unknown.code, 2);
    EXPECT_EQ(unknown.out, "");
    EXPECT_EQ(unknown.err, "zevdlg-cli: unknown command 'frobnicate'\nTry 'zevdlg-cli --help' for more information.\n");

    Result option = RunTool({ "check", "--bogus", "f.zev" });
    EXPECT_EQ(option.code, 2);
    EXPECT_EQ(option.out, "");
    EXPECT_EQ(option.err,
        "zevdlg-cli: check: unknown option '--bogus'\n"
        "usage: zevdlg-cli check [--listing] FILE\n"
        "Try 'zevdlg-cli check --help' for more information.\n");

    Result missing = RunTool({ "play", "f.zev" });
    EXPECT_EQ(missing.code, 2);
    EXPECT_NE(missing.err.find("zevdlg-cli: play: missing option --start NODE\n"), std::string::npos);
}

TEST(CliProgram, CommandsNotBuiltYetSaySoAndFailWithExitCode2)
{
    test::TempDir home;
    const std::vector<std::vector<std::string>> calls {
        { "check", "f.zev" },
        { "format", "--allow-scripts", "f.zev" },
        { "lint", "f.zev" },
        { "run-script", "--answer", "yes", "s.dws" },
        { "exec", "DebugMsg('x');" },
        { "play", "f.zev", "--start", "A", "--choose", "1,2" },
        { "plugins" },
        { "run-plugin", "p.so" },
    };
    for (const auto& call : calls) {
        if (Table().Find(call[0])->handler)
            continue; // built since; its own tests cover it
        Result r = RunTool(call, home.path().c_str());
        EXPECT_EQ(r.code, 2) << call[0];
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "zevdlg-cli: " + call[0] + ": not available in this build yet\n");
    }
}

} // namespace
} // namespace zev
