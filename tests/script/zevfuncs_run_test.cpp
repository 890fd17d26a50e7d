#include "zevfuncs_fixture.h"

namespace zev::test {
namespace {

using Run_ = ZevFuncsFixture;

TEST_F(Run_, WithoutARunTheCurrentNodeIsErrorAndNothingMoves)
{
    MakeNodes({ "a", "b" });
    EXPECT_EQ(Run("Print(GetCurrentNode)"), L("CurrentNode: ERROR", "ERROR"));
    EXPECT_EQ(Run("if not IsDialogueRunning then Print('idle')"), L("IsDialogueRunning: FALSE", "idle"));
    EXPECT_TRUE(Run("SetCurrentNode('b'); StopDialogue").empty());
    EXPECT_EQ(runner->stops, 0);
    EXPECT_EQ(runner->current, -1);
}

TEST_F(Run_, RunDialogueStartsAtAKnownNodeAndTheRunCanBeSteered)
{
    MakeNodes({ "a", "b" });
    EXPECT_TRUE(Run("RunDialogue('zz')").empty());
    EXPECT_EQ(Run("RunDialogue('b')"), L("Dialogue started."));
    EXPECT_EQ(runner->started, L("b"));
    runner->current = 1;
    EXPECT_EQ(Run("Print(GetCurrentNode)"), L("CurrentNode: b", "b"));
    EXPECT_EQ(Run("SetCurrentNode('a'); SetCurrentNode('zz')"), L("Current node set to a"));
    EXPECT_EQ(runner->current, 0);
    EXPECT_EQ(Run("StopDialogue"), L("Dialogue stopped."));
    EXPECT_EQ(runner->stops, 1);
}

TEST_F(Run_, NodeHistoryShowsEveryEntryWithTheChosenOption)
{
    EXPECT_EQ(Run("ShowNodeHistory"), L("Nodehistory is empty."));
    MakeNodes({ "a", "b" }, 1);
    app.dlg().nodes[0]->options[0]->link_target = "b";
    runner->entries = { { 0, 0, 0 }, { 1, -1, -1 } };
    EXPECT_EQ(Run("ShowNodeHistory"),
        L("2 entries in history.", "Entry 001 a\r\nNPC: Text of a\r\nPlayer: Option 0 -> b\r\n\r\n",
            "Entry 002 b\r\nNPC: Text of b\r\n"));
}

TEST_F(Run_, TranscriptsAreListedShownAndRangeChecked)
{
    EXPECT_EQ(Run("ListTranscripts"), L("No transcripts recorded."));
    EXPECT_EQ(Run("ShowTranscript(0)"), L("Transcript out of range. (max = -1)"));
    EXPECT_EQ(Run("SaveDialogTranscripts"), L("Saving dialog transcripts...", "No transcripts recorded."));
    runner->recorded = { { "Marta", "m.zev", "01/02/26 10:00:00", { "NPC: (a) hi", "Player: bye" } },
        { "Marta", "m.zev", "01/02/26 10:05:00", { "NPC: (b) yes" } } };
    auto lines = Run("ListTranscripts");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "2 dialogue transcript(s) available:\r\n");
    EXPECT_EQ(lines[3], "#1 Marta [m.zev] 01/02/26 10:05:00 Lines: 1");
    EXPECT_EQ(Run("ShowTranscript(0)"), L("NPC: (a) hi", "Player: bye"));
    EXPECT_EQ(Run("ShowTranscript(2)"), L("Transcript out of range. (max = 1)"));
    EXPECT_EQ(Run("ShowTranscript(-1)"), L("Transcript out of range. (max = 1)"));
    EXPECT_EQ(Run("SaveDialogTranscripts"), L("Saving dialog transcripts...", "Dialog transcript save complete."));
    EXPECT_EQ(runner->saves, 1);
}

} // namespace
} // namespace zev::test
