#include "runner/transcripts.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "runner/transcript_windows.h"
#include "runner_fixture.h"

namespace zev {
namespace {

using test::MakeNode;
using test::MakeOption;

// 2025-03-14 12:00:00 UTC.
constexpr std::time_t kNoon = 1741953600;

TEST(TranscriptNames, NumbersBaseNamesAndDates)
{
    EXPECT_EQ(
        TranscriptFileName("/p/dialogue/history", "/mods/guard.zev", 0, "D"), "/p/dialogue/history/guard_000_D.txt");
    EXPECT_EQ(TranscriptFileName("/h", "C:\\mods\\guard.old.zev", 10, "D"), "/h/guard.old_010_D.txt");
    EXPECT_EQ(TranscriptFileName("/h", "guard", 999, "D"), "/h/guard_999_D.txt");
    EXPECT_EQ(TranscriptFileName("/h", "", 1000, "D"), "/h/_1000_D.txt");
    EXPECT_EQ(FileSafeDateText("14.03.2025 12:00:00"), "14_03_2025 12_00_00");
    EXPECT_EQ(FileSafeDateText("3/14/25 1:02:03 PM"), "3_14_25 1_02_03 PM");

    std::tm t {};
    t.tm_year = 125, t.tm_mon = 2, t.tm_mday = 14, t.tm_hour = 12;
    EXPECT_DOUBLE_EQ(DateTimeValue(t), 45730.5);
    std::tm back = BrokenDownTime(45730.5);
    EXPECT_EQ(back.tm_year, 125);
    EXPECT_EQ(back.tm_mon, 2);
    EXPECT_EQ(back.tm_mday, 14);
    EXPECT_EQ(back.tm_hour, 12);
    EXPECT_EQ(back.tm_wday, 5); // a Friday
    EXPECT_EQ(DateTimeText(45730.5), "03/14/25 12:00:00"); // the C locale's %x %X
    EXPECT_EQ(DateTimeText(0.75), "12/30/99 18:00:00");
}

TEST(TranscriptNames, ReplacingNamesIsOnePass)
{
    EXPECT_EQ(ApplyTranscriptNames("Player: hi NPC", "Vic", "Marta"), "Vic: hi Marta");
    EXPECT_EQ(ApplyTranscriptNames("NPC: (A) Player? NPCs", "Vic", "Marta"), "Marta: (A) Vic? Martas");
    // Names that contain the words are not replaced again.
    EXPECT_EQ(ApplyTranscriptNames("Player: x", "NPC Killer", "Marta"), "NPC Killer: x");
    EXPECT_EQ(ApplyTranscriptNames("NPC: y", "Vic", "Player One"), "Player One: y");
}

struct Transcripts : test::RunnerFixture {
    Transcripts()
    {
        setenv("TZ", "UTC", 1);
        tzset();
        runner.transcripts().SetClock([] { return kNoon; });
        d().npc_name = "Marta";
        d().file_name = "/mods/guard.zev";
        dlgnode* a = MakeNode(d(), "A", "Hello <PC>", "Hello lady <PC>");
        MakeOption(*a, "Hi, I am an NPC fan", "B");
        MakeOption(*MakeNode(d(), "B", "Bye"), "ok", "done");
    }
    void RunAtoB()
    {
        Start("A");
        Choose(0);
        runner.StopTestRun();
    }
    std::string File(int i) { return runner.transcripts().list()[static_cast<std::size_t>(i)].file_name; }
};

TEST_F(Transcripts, ARunBecomesLinesStampAndFileName)
{
    RunAtoB();
    const dlgtranscript& tr = runner.transcripts().list()[0];
    EXPECT_EQ(
        tr.lines, (std::vector<std::string> { "NPC: (A) Hello Vic", "Player: Hi, I am an NPC fan", "NPC: (B) Bye" }));
    EXPECT_EQ(tr.line_count(), 3);
    EXPECT_DOUBLE_EQ(tr.recorded_at, 45730.5);
    EXPECT_EQ(tr.npc_name, "Marta");
    EXPECT_EQ(tr.dialogue_file, "/mods/guard.zev");
    EXPECT_EQ(tr.file_name, dir.path() + "/dialogue/history/guard_000_03_14_25 12_00_00.txt");
    EXPECT_TRUE(Logged("Generating node history."));
    EXPECT_TRUE(Logged("Transcript #0 generated."));

    app.player().gender = GENDER_FEMALE;
    RunAtoB();
    EXPECT_EQ(LastTranscript()[0], "NPC: (A) Hello lady Vic");
    EXPECT_NE(File(1).find("/guard_001_"), std::string::npos);

    d().file_name = HostString();
    for (int i = 2; i <= 1000; ++i)
        runner.transcripts().RecordTranscript({});
    EXPECT_NE(File(10).find("/_010_"), std::string::npos);
    EXPECT_NE(File(999).find("/_999_"), std::string::npos);
    EXPECT_NE(File(1000).find("/_1000_"), std::string::npos);
}

TEST_F(Transcripts, SavingReplacesTheWordsOnceAndWritesTheSameTwice)
{
    RunAtoB();
    ASSERT_FALSE(DirectoryExists(runner.transcripts().HistoryFolder()));
    EXPECT_TRUE(runner.transcriptWindow().Save());
    EXPECT_TRUE(Logged("History folder \"" + dir.path() + "/dialogue/history\" did not exist, creating."));
    EXPECT_TRUE(Logged("Saving history " + File(0)));
    EXPECT_EQ(dialogs.Last()->text, "Dialogue transcript saved to:\r\n" + File(0));
    const std::string expected = "Marta: (A) Hello Vic\r\nVic: Hi, I am an Marta fan\r\nMarta: (B) Bye\r\n";
    EXPECT_EQ(test::ReadFileBytes(File(0)), expected);

    // The names are stored; renaming the character afterwards changes nothing on the next save.
    app.player().name = "Player Two";
    runner.transcripts().SaveAllTranscripts();
    EXPECT_EQ(test::ReadFileBytes(File(0)), expected);
    EXPECT_EQ(runner.transcripts().list()[0].lines[1], "Vic: Hi, I am an Marta fan");

    // Shown again, no line names "NPC" any more: all are player lines.
    runner.transcriptWindow().ShowTranscriptInWindow(0);
    for (const FormattedLine& line : runner.transcriptWindow().lines())
        EXPECT_EQ(line.runs[0].text, "Vic: ");
}

TEST_F(Transcripts, AFolderThatCannotBeMadeIsReportedPerTranscript)
{
    test::TempDir other;
    App lost(dialogs, other.path() + "/no/such/folder");
    TranscriptStore store(lost);
    store.SaveTranscript(0); // nothing recorded: nothing happens
    EXPECT_TRUE(dialogs.History().empty());
    store.RecordTranscript({});
    store.RecordTranscript({});
    store.SaveAllTranscripts();
    ASSERT_EQ(dialogs.History().size(), 2u);
    EXPECT_EQ(dialogs.History()[0].icon, MsgIcon::Warning);
    EXPECT_EQ(dialogs.History()[0].text,
        "Error while saving dialog transcript #1:\r\n\r\nNo such file or directory"
        "\r\n\r\nFilename: "
            + store.list()[0].file_name);
    EXPECT_EQ(dialogs.History()[1].text.substr(0, 40), "Error while saving dialog transcript #2:");
    EXPECT_FALSE(store.list()[0].names_applied);
    EXPECT_FALSE(store.SaveTranscript(1));
}

TEST_F(Transcripts, TheWindowFormatsSpeakersWithTheirFontsAndColours)
{
    FormattedLine npc = FormatTranscriptLine("NPC: (A) Hello", "Marta", "Vic");
    ASSERT_EQ(npc.runs.size(), 2u);
    EXPECT_EQ(npc.runs[0].text, "Marta: ");
    EXPECT_EQ(npc.runs[0].font, "Arial");
    EXPECT_TRUE(npc.runs[0].bold);
    EXPECT_EQ(npc.runs[0].color, (Rgb { 0x11, 0x22, 0x11 }));
    EXPECT_EQ(npc.runs[1].text, "(A) Hello");
    EXPECT_EQ(npc.runs[1].font, "Tahoma");
    EXPECT_TRUE(npc.runs[1].bold);
    EXPECT_EQ(npc.runs[1].color, (Rgb { 0x12, 0x00, 0xA2 }));

    FormattedLine player = FormatTranscriptLine("Player: Sure: why not", "Marta", "Vic");
    EXPECT_EQ(player.runs[0].text, "Vic: ");
    EXPECT_EQ(player.runs[0].color, (Rgb { 0, 0, 0 }));
    EXPECT_EQ(player.runs[1].text, "Sure: why not");
    EXPECT_FALSE(player.runs[1].bold);
    EXPECT_EQ(player.runs[1].color, (Rgb { 0x21, 0x00, 0xCA }));

    // A player line that mentions NPC is shown as the NPC's.
    EXPECT_EQ(FormatTranscriptLine("Player: ask the NPC", "Marta", "Vic").runs[0].text, "Marta: ");
    EXPECT_EQ(FormatTranscriptLine("no colon", "M", "V").runs[1].text, "o colon");
    EXPECT_EQ(FormatTranscriptLine("x:", "M", "V").runs[1].text, "");
}

TEST_F(Transcripts, EmptyingTheListClosesTheWindowAndRefusesAStaleSave)
{
    RunAtoB();
    TranscriptWindowModel& window = runner.transcriptWindow();
    ASSERT_TRUE(window.visible());
    EXPECT_TRUE(Logged("Transcript index == 0"));
    dialogs.ClearHistory();
    app.run().ClearTranscripts(); // New or Load
    EXPECT_FALSE(window.visible());
    EXPECT_EQ(window.shownIndex(), -1);
    EXPECT_FALSE(window.Save());
    EXPECT_TRUE(dialogs.History().empty());
    window.ShowTranscriptInWindow(0); // names nothing now
    EXPECT_FALSE(window.visible());
}

TEST_F(Transcripts, TheListShowsEveryTranscriptAndOpensOne)
{
    TranscriptListModel& list = runner.transcriptList();
    RunAtoB();
    runner.transcriptWindow().Ok();
    d().npc_name = "Someone";
    RunAtoB();
    runner.transcriptWindow().Ok();
    list.ShowTranscriptList();
    ASSERT_EQ(list.rows().size(), 2u);
    EXPECT_EQ(list.rows()[1].number, "2");
    EXPECT_EQ(list.rows()[1].npc, "Someone");
    EXPECT_EQ(list.rows()[0].recordDate, "03/14/25 12:00:00");
    EXPECT_EQ(list.rows()[0].fileName, File(0));
    list.DoubleClick(5);
    EXPECT_FALSE(runner.transcriptWindow().visible());
    list.DoubleClick(0);
    EXPECT_TRUE(runner.transcriptWindow().visible());
    EXPECT_EQ(runner.transcriptWindow().shownIndex(), 0);
    EXPECT_EQ(runner.transcriptWindow().lines()[0].runs[0].text, "Marta: "); // the NPC of that run
    runner.transcripts().Clear();
    EXPECT_TRUE(list.rows().empty());
    list.Ok();
    EXPECT_FALSE(list.visible());
}

TEST_F(Transcripts, ShowLastDialogueOffKeepsTheWindowClosed)
{
    ASSERT_TRUE(app.config().WriteBool("Global Config", "ShowLastDialogue", false));
    RunAtoB();
    EXPECT_FALSE(runner.transcriptWindow().visible());
    EXPECT_EQ(runner.transcripts().count(), 1);
}

} // namespace
} // namespace zev
