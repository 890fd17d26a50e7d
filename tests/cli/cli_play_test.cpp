#include <gtest/gtest.h>

#include <string>

#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace zev {
namespace {

using test::Result;
using test::RunTool;

constexpr std::string_view kDialogue
    = "NPCName \"Guard\" Location \"\" Description \"\" Unknown_Desc \"\" Known_Desc \"\" Detailed_Desc \"\"\r\n"
      "Node \"Gate\" notes \"\" { NPCText \"Halt, <PC>!\" NPCFemaleText \"Halt, ma'am!\" options {\r\n"
      "  playertext \"Let me in.\" linkto \"Inside\" notes \"\"\r\n"
      "  playertext \"Bye.\" linkto \"done\" notes \"\" } }\r\n"
      "Node \"Inside\" notes \"\" { NPCText \"Go on, ${dude_name}.\" options { playertext \"Thanks.\" linkto \"done\" "
      "notes \"\" } }\r\n";

TEST(CliPlay, PrintsTheTranscriptOfTheChosenPath)
{
    test::TempDir dir;
    std::string file = dir.Write("guard.zev", kDialogue);
    Result r
        = RunTool({ "play", file, "--start", "Gate", "--choose", "0,0", "--name", "Vic", "--seed", "7" }, ZEV_DIST_DIR);
    EXPECT_EQ(r.code, 0) << r.err;
    // The answer that ends the dialogue is the transcript's last line.
    EXPECT_EQ(r.out, "NPC: (Gate) Halt, Vic!\nPlayer: Let me in.\nNPC: (Inside) Go on, Vic.\nPlayer: Thanks.\n");

    Result female = RunTool({ "play", file, "--start", "Gate", "--female", "--name", "Ann" }, ZEV_DIST_DIR);
    EXPECT_EQ(female.code, 0);
    EXPECT_EQ(female.out, "NPC: (Gate) Halt, ma'am!\n");
}

TEST(CliPlay, AnUnknownStartOrChoiceIsExitOneWithTheBoxOnStderr)
{
    test::TempDir dir;
    std::string file = dir.Write("guard.zev", kDialogue);
    Result missing = RunTool({ "play", file, "--start", "Nowhere" }, ZEV_DIST_DIR);
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("[warning] Error occured: Node 'Nowhere' not found."), std::string::npos) << missing.err;
    Result badChoice = RunTool({ "play", file, "--start", "Gate", "--choose", "5" }, ZEV_DIST_DIR);
    EXPECT_EQ(badChoice.code, 1);
    EXPECT_EQ(badChoice.out, "NPC: (Gate) Halt, Wanderer!\n"); // the shipped configuration's character
    EXPECT_NE(badChoice.err.find("option 5 is not listed at node 'Gate'"), std::string::npos);
    EXPECT_EQ(RunTool({ "play", file }, ZEV_DIST_DIR).code, 2); // --start is required
}

} // namespace
} // namespace zev

namespace zev {
namespace {

TEST(CliPlay, NumbersOutOfRangeAreRefusedOnceWithAClearError)
{
    test::Result big = test::RunTool({ "play", "f.zev", "--start", "A", "--choose", "99999999999" });
    EXPECT_EQ(big.code, 2);
    EXPECT_NE(
        big.err.find("zevdlg-cli: play: option --choose: '99999999999' is out of range (0 to 512)"), std::string::npos)
        << big.err;
    test::Result huge = test::RunTool({ "play", "f.zev", "--start", "A", "--seed", "99999999999999999999" });
    EXPECT_EQ(huge.code, 2);
    EXPECT_NE(huge.err.find("'99999999999999999999' is out of range"), std::string::npos) << huge.err;
    test::Result negative = test::RunTool({ "play", "f.zev", "--start", "A", "--choose", "1,-1" });
    EXPECT_EQ(negative.code, 2);
    EXPECT_NE(negative.err.find("'-1' is out of range"), std::string::npos) << negative.err;
}

} // namespace
} // namespace zev
