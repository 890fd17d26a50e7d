#include "runner/player_setup.h"

#include "app/settings.h"
#include "runner_fixture.h"

namespace zev {
namespace {

struct ScriptedSetupView : PlayerSetupView {
    std::function<bool(PlayerSetupModel&)> script;
    bool exec(PlayerSetupModel& model) override { return script(model); }
};

struct PlayerSetup : test::RunnerFixture {
    ScriptedSetupView view;
    struct CountingPlugins : PluginBus {
        int broadcasts = 0;
        void BroadcastPluginUpdate() override { ++broadcasts; }
    } plugins;
    int& broadcasts = plugins.broadcasts;
    PlayerSetup() { app.SetPluginBus(&plugins); }
};

TEST_F(PlayerSetup, AConfigurationWithoutTheSectionsGivesTheDefaults)
{
    PlayerChar pc;
    pc.name = "junk";
    pc.gender = 2;
    ReadPlayerCharacter(app.config(), pc);
    EXPECT_EQ(pc.name, "");
    EXPECT_EQ(pc.gender, 1);
    EXPECT_EQ(pc.age, 16);
    for (int32_t v : { pc.strength, pc.perception, pc.endurance, pc.charisma, pc.intelligence, pc.agility, pc.luck })
        EXPECT_EQ(v, 5);
    EXPECT_EQ(pc.money, 0);
    EXPECT_EQ(pc.skills[0].name, "");
    EXPECT_EQ(pc.skills[0].value, 0);
}

TEST_F(PlayerSetup, TheWindowShowsTheRecordWithItsRangesAndHints)
{
    PlayerChar& pc = app.player();
    pc.gender = 2;
    pc.age = 50; // beyond the field: shown at its end
    pc.strength = 0;
    pc.money = 1234;
    pc.skills[14].value = 77;
    PlayerSetupModel m;
    m.Fill(pc);
    EXPECT_EQ(m.name(), "Vic");
    EXPECT_EQ(m.genderItem(), 1);
    EXPECT_EQ(m.age().value, 36);
    EXPECT_EQ(m.age().minimum, 16);
    EXPECT_EQ(m.age().hint, "This is the age for the character. A minor attribute but still checkable.");
    EXPECT_EQ(m.attribute(0).value, 1);
    EXPECT_EQ(m.attribute(0).caption, "Strength");
    EXPECT_EQ(m.attribute(6).hint, "SPECIAL attributes: Luck");
    EXPECT_EQ(m.attribute(6).maximum, 10);
    EXPECT_EQ(m.money().value, 1234);
    EXPECT_EQ(m.money().maximum, 99999);
    ASSERT_EQ(m.skills().size(), 18u);
    EXPECT_EQ(m.skills()[14].name, "Speech");
    EXPECT_EQ(m.skills()[14].value, "77");
    EXPECT_EQ(m.skills()[17].name, "Outdoorsman");
    m.SetMoney(100000);
    EXPECT_EQ(m.money().value, 99999);
}

TEST_F(PlayerSetup, OkWritesTheRecordAndTheConfiguration)
{
    // A delivered configuration that names skill 2 differently: the window's names win, or the
    // value written would never be read back.
    ASSERT_TRUE(app.config().WriteString("Skills", "Skill2", "Heavy Guns"));
    view.script = [](PlayerSetupModel& m) {
        m.SetName("Jane");
        m.SetGenderItem(1);
        m.SetAge(30);
        m.SetAttribute(4, 9);
        m.SetMoney(500);
        EXPECT_TRUE(m.SetSkillValue(0, "65"));
        EXPECT_TRUE(m.SetSkillValue(1, " -3"));
        return true;
    };
    EXPECT_TRUE(SetupPlayerCharacter(app, view, &session));
    const PlayerChar& pc = app.player();
    EXPECT_EQ(pc.name, "Jane");
    EXPECT_EQ(pc.gender, 2);
    EXPECT_EQ(pc.intelligence, 9);
    EXPECT_EQ(pc.skills[0].name, "Small Guns");
    EXPECT_EQ(pc.skills[0].value, 65);
    EXPECT_EQ(broadcasts, 1);

    IniFile& ini = app.config();
    EXPECT_EQ(ini.ReadString("Player Character", "Name", ""), "Jane");
    EXPECT_EQ(ini.ReadInteger("Player Character", "Gender", 0), 2);
    EXPECT_EQ(ini.ReadInteger("Player Character", "Age", 0), 30);
    EXPECT_EQ(ini.ReadInteger("Player Character", "Intelligence", 0), 9);
    EXPECT_EQ(ini.ReadInteger("Player Character", "Dude_Caps", 0), 500);
    EXPECT_EQ(ini.ReadInteger("Player Character", "Small Guns", 0), 65);
    EXPECT_EQ(ini.ReadString("Skills", "Skill1", ""), "Small Guns");
    EXPECT_EQ(ini.ReadString("Skills", "Skill2", ""), "Big Guns");

    // The next start reads back what was written.
    PlayerChar again;
    ReadPlayerCharacter(ini, again);
    EXPECT_EQ(again.skills[1].name, "Big Guns");
    EXPECT_EQ(again.skills[1].value, -3);
    EXPECT_EQ(again.skills[17].name, "Outdoorsman");
}

TEST_F(PlayerSetup, CancelChangesNothing)
{
    view.script = [](PlayerSetupModel& m) {
        m.SetName("Other");
        return false;
    };
    EXPECT_FALSE(SetupPlayerCharacter(app, view, &session));
    EXPECT_EQ(app.player().name, "Vic");
    EXPECT_FALSE(app.config().SectionExists("Player Character"));
    EXPECT_EQ(broadcasts, 0);
}

TEST_F(PlayerSetup, AGridValueThatIsNoWholeNumberKeepsTheOldValue)
{
    app.player().skills[2].value = 10;
    view.script = [](PlayerSetupModel& m) {
        EXPECT_FALSE(m.SetSkillValue(2, "12.5"));
        EXPECT_EQ(m.gridMessage(), "Row 3 (Energy Weapons): '12.5' is not a whole number; the value stays 10.");
        EXPECT_FALSE(m.SetSkillValue(3, "lots"));
        EXPECT_FALSE(m.SetSkillValue(4, "99999999999"));
        EXPECT_TRUE(m.SetSkillValue(4, "20"));
        EXPECT_EQ(m.gridMessage(), "");
        return true;
    };
    SetupPlayerCharacter(app, view, nullptr);
    EXPECT_EQ(app.player().skills[2].value, 10);
    EXPECT_EQ(app.player().skills[4].value, 20);
}

TEST_F(PlayerSetup, ARunningTestFollowsTheNewCharacterAtOnce)
{
    dlgnode* a = test::MakeNode(d(), "A", "Hello sir", "Hello madam");
    test::MakeOption(*a, "for women", "done")->gender = GENDER_FEMALE;
    test::MakeOption(*a, "anyone", "done");
    Start("A");
    EXPECT_EQ(runner.panel().npcLine, "Hello sir");
    EXPECT_EQ(runner.panel().options.size(), 1u);
    view.script = [](PlayerSetupModel& m) {
        m.SetGenderItem(1);
        return true;
    };
    broadcasts = 0;
    SetupPlayerCharacter(app, view, &session);
    EXPECT_EQ(runner.panel().npcLine, "Hello madam");
    EXPECT_EQ(runner.panel().options.size(), 2u);
    EXPECT_EQ(broadcasts, 2); // the redraw, then the setup itself
}

} // namespace
} // namespace zev
