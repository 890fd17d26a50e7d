#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace zev {
namespace {

using test::Result;
using test::RunTool;

constexpr std::string_view kThreeNodes
    = "NPCName \"n\" Location \"\" Description \"\" Unknown_Desc \"\" Known_Desc \"\" Detailed_Desc \"\"\r\n"
      "Node \"start\" notes \"\" { NPCText \"s\" options { playertext \"p\" linkto \"a\" notes \"\" } }\r\n"
      "Node \"a\" notes \"\" { NPCText \"a\" options { playertext \"p\" linkto \"b\" notes \"\" } }\r\n"
      "Node \"b\" notes \"\" { NPCText \"b\" options { playertext \"p\" linkto \"done\" notes \"\" } }\r\n";

TEST(CliPlugins, ThePluginsOfTheProgramFolderAreListed)
{
    Result r = RunTool({ "plugins" }, ZEV_DIST_DIR);
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("Utility_relabelplug.so"), std::string::npos) << r.out;
}

TEST(CliPlugins, RelabelplugRenamesEveryNodeAndRemapsTheLinks)
{
    test::TempDir dir;
    std::string in = dir.Write("three.zev", kThreeNodes);
    std::string out = dir.File("renamed.zev");
    Result r = RunTool({ "run-plugin", "--dialogue", in, "--save", out,
                           std::string(ZEV_DIST_DIR) + "/plugins/Utility_relabelplug.so" },
        ZEV_DIST_DIR);
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("Renamed start to Node001"), std::string::npos) << r.out;
    std::string saved = test::ReadFileBytes(out);
    for (const char* expected : { "Node \"Node001\"", "Node \"Node002\"", "Node \"Node003\"", "linkto \"Node002\"",
             "linkto \"Node003\"", "linkto \"done\"" })
        EXPECT_NE(saved.find(expected), std::string::npos) << expected << "\n" << saved;
    EXPECT_EQ(saved.find("Node \"start\""), std::string::npos);
}

#ifdef ZEV_TEST_PLUGIN_DIR
TEST(CliPlugins, APluginThatCrashesEndsTheCommandWithAnErrorAndNothingSaved)
{
    test::TempDir dir;
    std::string in = dir.Write("three.zev", kThreeNodes);
    std::string out = dir.File("saved.zev");
    Result r = RunTool(
        { "run-plugin", "--dialogue", in, "--save", out, std::string(ZEV_TEST_PLUGIN_DIR) + "/Utility_crashrun.so" },
        ZEV_DIST_DIR);
    EXPECT_EQ(r.code, 1) << r.err; // not killed by the signal
    EXPECT_NE(r.err.find("[error] Plug-in crashrun crashed in RunPlugin.    Save your work now"), std::string::npos)
        << r.err;
    EXPECT_FALSE(std::filesystem::exists(out));
}
#endif

} // namespace
} // namespace zev
