#include <gtest/gtest.h>

#include <string>

#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace zev {
namespace {

using test::Result;
using test::RunTool;

constexpr std::string_view kGood
    = "NPCName \"Npc\" Location \"\" Description \"\" Unknown_Desc \"\" Known_Desc \"\" Detailed_Desc \"\"\r\n"
      "Node \"a\" notes \"\" { NPCText \"hi\" options { playertext \"go\" linkto \"b\" notes \"\" } }\r\n"
      "Node \"b\" notes \"\" { NPCText \"bye\" options { playertext \"x\" linkto \"done\" notes \"\" } }\r\n";

struct CliFiles : ::testing::Test {
    test::TempDir dir;
};

TEST_F(CliFiles, CheckPrintsOneLinePerErrorAndExitsOne)
{
    std::string bad = dir.Write("bad.zev", "NPCName \"x\"\r\nLocation 5\r\n");
    Result r = RunTool({ "check", bad });
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, bad + ":2:11: string constant expected\n");
    Result good = RunTool({ "check", dir.Write("good.zev", kGood) });
    EXPECT_EQ(good.code, 0);
    EXPECT_EQ(good.out, "");
}

TEST_F(CliFiles, CheckListingIsTheRuntimeListingErrorsOrNot)
{
    Result r = RunTool({ "check", "--listing", dir.Write("bad.zev", "Node \"a\"\r\n") });
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "    1  Node \"a\"\r\n*****  ^ \"notes\" expected\r\n\r\n    1 error");
    Result clean = RunTool({ "check", "--listing", dir.Write("good.zev", kGood) });
    EXPECT_EQ(clean.code, 0);
    EXPECT_EQ(clean.out.substr(0, 9), "    1  NP");
    EXPECT_EQ(clean.out.substr(clean.out.size() - 16), "\r\n    0 errors\r\n");
}

TEST_F(CliFiles, AnUnreadableFileIsExitTwoWithNothingOnStdout)
{
    for (const char* cmd : { "check", "format", "lint" }) {
        Result r = RunTool({ cmd, dir.File("missing.zev") });
        EXPECT_EQ(r.code, 2) << cmd;
        EXPECT_EQ(r.out, "") << cmd;
        EXPECT_NE(r.err.find("missing.zev"), std::string::npos) << cmd;
    }
}

TEST_F(CliFiles, FormatWritesTheWriterTextAlsoAfterErrors)
{
    Result r = RunTool({ "format", dir.Write("good.zev", kGood) });
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out.substr(0, 4), "/*\r\n");
    EXPECT_NE(r.out.find("Node \"b\"\r\nnotes \"\"\r\n{\r\nNPCText \"bye\"\r\n"), std::string::npos);
    // The written text formats to itself.
    Result again = RunTool({ "format", dir.Write("again.zev", r.out) });
    EXPECT_EQ(again.out, r.out);

    std::string partial = dir.Write("partial.zev", std::string(kGood) + "Node 7");
    Result p = RunTool({ "format", partial });
    EXPECT_EQ(p.code, 1);
    EXPECT_NE(p.err.find(partial + ":4:7: string constant expected"), std::string::npos);
    EXPECT_NE(p.out.find("Node \"b\""), std::string::npos);
}

TEST_F(CliFiles, ScriptSectionsAreSkippedWithANote)
{
    std::string f = dir.Write("exec.zev", std::string(kGood) + "exec_script_code { \"Print('x');\" };\r\n");
    Result r = RunTool({ "format", f });
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.err.find("exec_script_code skipped"), std::string::npos);
    EXPECT_EQ(r.out.find("exec_script_code"), std::string::npos);
}

TEST_F(CliFiles, LintReportsFindingsOnePerLine)
{
    std::string f = dir.Write("lint.zev",
        std::string(kGood)
            + "Node \"lonely\" notes \"\" { NPCText \"\" options { playertext \"?\" "
              "linkto \"nowhere\" notes \"\" } }\r\n");
    Result r = RunTool({ "lint", f });
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out,
        f + ": node \"lonely\", option 1 links to missing node \"nowhere\"\n" + f
            + ": node \"lonely\" is never reached\n");
    EXPECT_EQ(RunTool({ "lint", dir.Write("good.zev", kGood) }).code, 0);
}

TEST(CliSample, TheShippedSampleChecksLintsAndFormatsToItself)
{
    std::string sample = std::string(ZEV_SOURCE_DIR) + "/data/dialogue/sample.zev";
    EXPECT_EQ(RunTool({ "check", sample }).code, 0);
    Result lint = RunTool({ "lint", sample });
    EXPECT_EQ(lint.code, 0) << lint.out;
    Result format = RunTool({ "format", sample });
    EXPECT_EQ(format.out, test::ReadFileBytes(sample));
}

} // namespace
} // namespace zev
