#include "runner/play_session.h"

#include "app/dialogue_files.h"
#include "runner_fixture.h"

namespace zev {
namespace {

struct Play : test::RunnerFixture {
    void LoadSample()
    {
        DialogueReadReport r = ReadDialogueFile(app, std::string(ZEV_SOURCE_DIR) + "/data/dialogue/sample.zev");
        ASSERT_TRUE(r.Ok()) << r.errorText;
    }
};

TEST_F(Play, AScriptedRunOfTheSampleGivesItsTranscript)
{
    LoadSample();
    PlayerChar& pc = app.player();
    pc.intelligence = 7;
    pc.money = 350;
    pc.skills[6].value = 35; // first aid below 40: the stimpak question stays hidden
    PlayResult r = PlayHeadless(app, session, { "Start", { 0, 2 } });
    EXPECT_TRUE(r.started);
    EXPECT_TRUE(r.completed) << r.error;
    EXPECT_TRUE(r.recorded);
    ASSERT_EQ(r.lines.size(), 4u);
    EXPECT_EQ(r.lines[0], "NPC: (Start) Welcome, stranger. Looking to buy or just looking?");
    EXPECT_EQ(r.lines[1], "Player: I'd like to see your wares.");
    EXPECT_EQ(r.lines[2], "NPC: (Wares) Water, ammo, a few stimpaks. Take your pick.");
    EXPECT_EQ(r.lines[3], "Player: Maybe later.");
    // "Maybe later." (index 2) led to "done": the box was answered OK.
    ASSERT_NE(dialogs.Last(), nullptr);
    EXPECT_EQ(dialogs.Last()->text, "Dialogue ends here.\r\n\r\n(Runtime dialogue editing = OFF)");
}

TEST_F(Play, SeededSkillChecksAndHiddenChoicesAreReported)
{
    LoadSample();
    app.player().gender = GENDER_FEMALE;
    app.player().name = "Ann";
    app.player().skills[15].value = 40;
    app.random().Seed(5);
    PlayResult first = PlayHeadless(app, session, { "Start", { 1 } });
    app.random().Seed(5);
    PlayResult second = PlayHeadless(app, session, { "Start", { 1 } });
    EXPECT_EQ(first.lines, second.lines); // the seed fixes the roll
    ASSERT_EQ(first.lines.size(), 3u);
    EXPECT_EQ(first.lines[0], "NPC: (Start) Welcome, miss. Looking to buy or just looking?");
    EXPECT_TRUE(first.lines[2].starts_with("NPC: (Discount)") || first.lines[2].starts_with("NPC: (NoDeal)"));

    PlayResult hidden = PlayHeadless(app, session, { "Start", { 2 } }); // the dumb option needs intelligence <= 3
    EXPECT_TRUE(hidden.started);
    EXPECT_FALSE(hidden.completed);
    EXPECT_EQ(hidden.error, "option 2 is not listed at node 'Start'");
    EXPECT_EQ(
        hidden.lines, (std::vector<std::string> { "NPC: (Start) Welcome, miss. Looking to buy or just looking?" }));

    PlayResult past = PlayHeadless(app, session, { "Start", { 7, 0 } }); // "Goodbye." ends the run
    EXPECT_FALSE(past.completed);
    EXPECT_EQ(past.error, "the run ended before choice 2 (0)");

    PlayResult unknown = PlayHeadless(app, session, { "Nowhere", {} });
    EXPECT_FALSE(unknown.started);
    EXPECT_EQ(dialogs.Last()->text, "Error occured: Node 'Nowhere' not found.");
}

TEST_F(Play, AnOpenLinkWithRuntimeEditingOnEndsWithoutTranscript)
{
    app.settings().runtimeDlgEditing = true;
    dlgnode* a = test::MakeNode(d(), "A", "a");
    test::MakeOption(*a, "lost", "Missing");
    test::MakeOption(*a, "bye", "done");
    PlayResult open = PlayHeadless(app, session, { "A", { 0 } });
    EXPECT_TRUE(open.completed);
    EXPECT_FALSE(open.recorded);
    EXPECT_TRUE(open.lines.empty());
    // A fixed end answered Exit stays at the node; the run is stopped after the last choice, and
    // the transcript keeps the answer that ended it.
    PlayResult fixed = PlayHeadless(app, session, { "A", { 1 } });
    EXPECT_TRUE(fixed.recorded);
    EXPECT_EQ(fixed.lines, (std::vector<std::string> { "NPC: (A) a", "Player: bye" }));
}

} // namespace
} // namespace zev
