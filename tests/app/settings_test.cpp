#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/settings.h"
#include "base/ini_file.h"
#include "support/temp_dir.h"

namespace zev {
namespace {

const std::vector<std::string> kSkillNames = {
    "Small Guns",
    "Big Guns",
    "Energy Weapons",
    "Unarmed Combat",
    "Melee",
    "Throwing",
    "First Aid",
    "Doctor",
    "Sneak",
    "Lockpick",
    "Steal",
    "Traps",
    "Science",
    "Repair",
    "Speech",
    "Barter",
    "Gambling",
    "Outdoorsman",
};

std::string Shipped(std::string_view name)
{
    return std::string(ZEV_SOURCE_DIR "/data/") + std::string(name);
}

struct SettingsFixture : ::testing::Test {
    test::TempDir dir;
    std::string path = dir.File("ZEVDlg.ini");

    // A player character different from the defaults in every field.
    static PlayerChar Sample()
    {
        PlayerChar pc;
        pc.name = "Tess";
        pc.gender = 2;
        pc.age = 31;
        pc.strength = 3;
        pc.perception = 9;
        pc.endurance = 2;
        pc.charisma = 10;
        pc.intelligence = 1;
        pc.agility = 8;
        pc.luck = 7;
        pc.money = 99999;
        for (int k = 0; k < kSkillCount; ++k) {
            pc.skills[k].name = kSkillNames[k];
            pc.skills[k].value = 100 + k;
        }
        return pc;
    }
};

void ExpectSameCharacter(const PlayerChar& a, const PlayerChar& b)
{
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.gender, b.gender);
    EXPECT_EQ(a.age, b.age);
    EXPECT_EQ(a.strength, b.strength);
    EXPECT_EQ(a.perception, b.perception);
    EXPECT_EQ(a.endurance, b.endurance);
    EXPECT_EQ(a.charisma, b.charisma);
    EXPECT_EQ(a.intelligence, b.intelligence);
    EXPECT_EQ(a.agility, b.agility);
    EXPECT_EQ(a.luck, b.luck);
    EXPECT_EQ(a.money, b.money);
    for (int k = 0; k < kSkillCount; ++k) {
        EXPECT_EQ(a.skills[k].name, b.skills[k].name) << k;
        EXPECT_EQ(a.skills[k].value, b.skills[k].value) << k;
    }
}

TEST_F(SettingsFixture, WithoutAConfigurationEverythingTakesItsDefault)
{
    IniFile ini(path);
    Settings s = LoadSettings(ini);
    EXPECT_FALSE(s.debugMode);
    EXPECT_TRUE(s.evaluateConditions);
    EXPECT_TRUE(s.evaluateSkillChecks);
    EXPECT_FALSE(s.autoRemapNodes);
    EXPECT_FALSE(s.runtimeDlgEditing);
    EXPECT_EQ(s.defaultIntForSmartPlayer, 4);
    EXPECT_EQ(s.defaultIntForDumbPlayer, -3);
    EXPECT_TRUE(s.checkForUpdates);
    EXPECT_TRUE(SaveNodeHistory(ini));
    EXPECT_TRUE(ShowLastDialogue(ini));
    EXPECT_TRUE(PluginCompatibilityWarnings(ini));
    EXPECT_EQ(DefaultSSLPath(ini), "");
    EXPECT_EQ(DefaultMSGPath(ini), "");
    EXPECT_EQ(HeadersPath(ini), "");
    EXPECT_EQ(FO2Basepath(ini), "");
    EXPECT_EQ(ClonedNodeFormatString(ini), "Copy_of_%s");

    PlayerChar pc = Sample(); // whatever it held before
    ReadPlayerCharacter(ini, pc);
    EXPECT_TRUE(pc.name.empty());
    EXPECT_EQ(pc.gender, 1);
    EXPECT_EQ(pc.age, 16);
    for (int32_t v : { pc.strength, pc.perception, pc.endurance, pc.charisma, pc.intelligence, pc.agility, pc.luck })
        EXPECT_EQ(v, 5);
    EXPECT_EQ(pc.money, 0);
    for (const _skill& sk : pc.skills) {
        EXPECT_TRUE(sk.name.empty());
        EXPECT_EQ(sk.value, 0);
    }
}

TEST_F(SettingsFixture, StoredValuesWinAndUnreadableOnesFallBack)
{
    dir.Write("ZEVDlg.ini",
        "[global config]\r\n"
        "debugmode=1\r\n"
        "AUTOREMAPNODES=7\r\n"
        "RuntimeDLGEditing=yes\r\n"
        "Check for updates at startup=0\r\n"
        "DefaultIntForSmartPlayer=6\r\n"
        "DefaultIntForDumbPlayer=banana\r\n"
        "Savenodehistory=0\r\n"
        "ClonedNodeFormatString=%s_2\r\n"
        "DefaultSSLPath=/games/scripts\r\n"
        "[Dialogue Engine]\r\n"
        "EvaluateConditions=0\r\n"
        "EvaluateSkillChecks=\r\n");
    IniFile ini(path);
    Settings s = LoadSettings(ini);
    EXPECT_TRUE(s.debugMode);
    EXPECT_TRUE(s.autoRemapNodes); // any non-zero
    EXPECT_FALSE(s.runtimeDlgEditing); // not an integer: the default
    EXPECT_FALSE(s.checkForUpdates);
    EXPECT_EQ(s.defaultIntForSmartPlayer, 6);
    EXPECT_EQ(s.defaultIntForDumbPlayer, -3);
    EXPECT_FALSE(s.evaluateConditions);
    EXPECT_TRUE(s.evaluateSkillChecks); // empty: the default
    EXPECT_FALSE(SaveNodeHistory(ini));
    EXPECT_EQ(ClonedNodeFormatString(ini), "%s_2");
    EXPECT_EQ(DefaultSSLPath(ini), "/games/scripts");
    // Keys read at the moment of use follow the file.
    ASSERT_TRUE(ini.WriteBool(kSectionGlobalConfig, kKeySavenodehistory, true));
    EXPECT_TRUE(SaveNodeHistory(ini));
}

TEST_F(SettingsFixture, SkillValuesAreFoundUnderTheNamesOfTheSkillsSection)
{
    dir.Write("ZEVDlg.ini",
        "[Player Character]\r\n"
        "Name=Ace\r\n"
        "Gender=2\r\n"
        "Lockpicking=80\r\n"
        "SMALL GUNS=33\r\n"
        "=9\r\n"
        "[Skills]\r\n"
        "Skill1=Small Guns\r\n"
        "Skill2=Lockpicking\r\n"
        "Skill4=Unknown\r\n");
    IniFile ini(path);
    PlayerChar pc;
    ReadPlayerCharacter(ini, pc);
    EXPECT_EQ(pc.name, "Ace");
    EXPECT_EQ(pc.gender, 2);
    EXPECT_EQ(pc.skills[0].name, "Small Guns");
    EXPECT_EQ(pc.skills[0].value, 33);
    EXPECT_EQ(pc.skills[1].name, "Lockpicking");
    EXPECT_EQ(pc.skills[1].value, 80);
    EXPECT_TRUE(pc.skills[2].name.empty());
    EXPECT_EQ(pc.skills[2].value, 0); // a nameless skill does not pick up "=9"
    EXPECT_EQ(pc.skills[3].name, "Unknown");
    EXPECT_EQ(pc.skills[3].value, 0);
}

TEST_F(SettingsFixture, AConfirmedCharacterReadsBackAndLeavesTheRestOfTheFile)
{
    std::string shipped = test::ReadFileBytes(Shipped("ZEVDlg.ini"));
    ASSERT_FALSE(shipped.empty());
    dir.Write("ZEVDlg.ini", shipped);
    IniFile ini(path);
    const PlayerChar pc = Sample();
    ASSERT_TRUE(WritePlayerCharacter(ini, pc)) << ini.LastError();
    EXPECT_EQ(ini.ReadInteger(kSectionPlayerCharacter, "Small Guns", -1), 100);
    PlayerChar back;
    ReadPlayerCharacter(IniFile(path), back);
    ExpectSameCharacter(back, pc);
    // Only values of "Player Character" changed: same sections, same keys, same line count.
    std::string now = test::ReadFileBytes(path);
    auto lines = [](const std::string& s) { return std::count(s.begin(), s.end(), '\n'); };
    EXPECT_EQ(lines(now), lines(shipped));
    EXPECT_EQ(now.substr(now.find("[Skills]")), shipped.substr(shipped.find("[Skills]")));
    EXPECT_EQ(now.substr(0, now.find("[Player Character]")), shipped.substr(0, shipped.find("[Player Character]")));
}

TEST_F(SettingsFixture, MissingSkillNamesAreWrittenSoTheValuesComeBack)
{
    dir.Write("ZEVDlg.ini", "[Global Config]\r\nDebugmode=0\r\n[Skills]\r\nSkill1=Guns\r\n");
    IniFile ini(path);
    PlayerChar pc = Sample();
    pc.skills[17].name = HostString(); // a nameless skill has nowhere to go
    ASSERT_TRUE(WritePlayerCharacter(ini, pc)) << ini.LastError();
    EXPECT_EQ(ini.ReadString(kSectionSkills, "Skill1", ""), "Guns"); // the file's own names stay
    EXPECT_EQ(ini.ReadString(kSectionSkills, "Skill2", ""), "Big Guns");
    EXPECT_FALSE(ini.ValueExists(kSectionSkills, "Skill18"));
    PlayerChar back;
    ReadPlayerCharacter(ini, back);
    EXPECT_EQ(back.skills[0].name, "Guns");
    EXPECT_EQ(back.skills[0].value, 0); // the value went under "Small Guns", the file names it "Guns"
    for (int k = 1; k < 17; ++k)
        EXPECT_EQ(back.skills[k].value, pc.skills[k].value) << k;
}

TEST_F(SettingsFixture, AFailedWriteIsReported)
{
    std::string blocker = dir.Write("file", "x");
    IniFile ini(blocker + "/ZEVDlg.ini");
    EXPECT_FALSE(WritePlayerCharacter(ini, Sample()));
    EXPECT_FALSE(ini.LastError().empty());
    IniFile ok(path);
    PlayerChar pc = Sample();
    pc.skills[4].name = "Bad=Name";
    EXPECT_FALSE(WritePlayerCharacter(ok, pc));
    EXPECT_EQ(ok.ReadInteger(kSectionPlayerCharacter, "Melee", -1), -1);
    EXPECT_EQ(ok.ReadInteger(kSectionPlayerCharacter, "Unarmed Combat", -1), 103); // written before the failure
}

// --- The files shipped beside the program ---

TEST(ShippedData, TheConfigurationNamesTheEighteenSkillsAndGivesACharacter)
{
    IniFile ini(Shipped("ZEVDlg.ini"));
    EXPECT_EQ(ini.ReadSection(kSectionSkills).size(), 18u);
    PlayerChar pc;
    ReadPlayerCharacter(ini, pc);
    for (int k = 0; k < kSkillCount; ++k) {
        EXPECT_EQ(pc.skills[k].name, kSkillNames[k]) << k;
        EXPECT_TRUE(ini.ValueExists(kSectionPlayerCharacter, kSkillNames[k])) << k;
    }
    EXPECT_FALSE(pc.name.empty());
    for (std::string_view key : { kKeyDebugmode, kKeySavenodehistory, kKeyShowLastDialogue, kKeyRuntimeDLGEditing,
             kKeyCheckForUpdates, kKeyAutoRemapNodes, kKeyPluginCompatibilityWarnings, kKeyDefaultIntForSmartPlayer,
             kKeyDefaultIntForDumbPlayer, kKeyDefaultSSLPath, kKeyDefaultMSGPath, kKeyHeadersPath, kKeyFO2Basepath,
             kKeyClonedNodeFormatString })
        EXPECT_TRUE(ini.ValueExists(kSectionGlobalConfig, key)) << key;
    Settings s = LoadSettings(ini);
    EXPECT_EQ(s.defaultIntForSmartPlayer, 4);
    EXPECT_EQ(s.defaultIntForDumbPlayer, -3);
    EXPECT_EQ(ClonedNodeFormatString(ini), "Copy_of_%s");
}

TEST(ShippedData, ConditionsDescribeSixTypesWithStatAndSkillByName)
{
    IniFile ini(Shipped("conditions.ini"));
    ASSERT_EQ(ini.ReadInteger("Main", "CheckTypeCount", 0), 6);
    EXPECT_EQ(ini.ReadString("Main", "CheckType1", ""), "Stat");
    EXPECT_EQ(ini.ReadString("Main", "CheckType2", ""), "Skill");
    for (int n = 1; n <= 6; ++n) {
        std::string type = ini.ReadString("Main", "CheckType" + std::to_string(n), "");
        ASSERT_TRUE(ini.SectionExists(type)) << n;
        EXPECT_NE(ini.ReadString(type, "SSLCommand", "").find("%eval% %value%"), std::string::npos) << type;
    }
    EXPECT_EQ(ini.ReadString("Local variable", "source", ""), "local_vars");
    EXPECT_EQ(ini.ReadString("Script variable", "source", ""), "script_vars");
    struct Expect {
        const char* section;
        int count;
    };
    for (auto [section, count] : { Expect { "Stat", 14 }, Expect { "Skill", 18 }, Expect { "Money", 1 } }) {
        ASSERT_EQ(ini.ReadInteger(section, "ItemCount", 0), count) << section;
        for (int k = 1; k <= count; ++k) {
            std::string item = "Item" + std::to_string(k);
            EXPECT_EQ(ini.ReadInteger(section, item + "Enum", 0), k) << section << k;
            EXPECT_FALSE(ini.ReadString(section, item, "").empty()) << section << k;
            EXPECT_FALSE(ini.ReadString(section, item + "SSLEnum", "").empty()) << section << k;
        }
    }
    for (int k = 1; k <= 18; ++k)
        EXPECT_EQ(ini.ReadString("Skill", "Item" + std::to_string(k), ""), kSkillNames[k - 1]);
}

TEST(ShippedData, EveryStartConditionTypeHasATemplateAndItsChoices)
{
    IniFile ini(Shipped("start_conditions.ini"));
    int count = ini.ReadInteger("Condition Types", "count", 0);
    ASSERT_GE(count, 5);
    std::vector<std::string> selectors;
    bool makesDefault = false, bare = false;
    for (int k = 1; k <= count; ++k) {
        std::string type = ini.ReadString("Condition Types", "cond" + std::to_string(k), "");
        ASSERT_TRUE(ini.ValueExists(type, "data")) << type;
        std::string selector = ini.ReadString(type, "selector", "");
        selectors.push_back(selector);
        bare |= selector.empty();
        makesDefault |= ini.ReadBool(type, "do_setdefault", false);
        if (selector == "inisect") {
            std::string choices = ini.ReadString(type, "inisect", "");
            int m = ini.ReadInteger(choices, "count", 0);
            ASSERT_GT(m, 0) << type;
            for (int j = 1; j <= m; ++j) {
                EXPECT_FALSE(ini.ReadString(choices, "itemdisplay" + std::to_string(j), "").empty()) << choices << j;
                EXPECT_FALSE(ini.ReadString(choices, "item" + std::to_string(j), "").empty()) << choices << j;
            }
        }
    }
    for (const char* kind : { "inisect", "scriptvars", "localvars" })
        EXPECT_NE(std::find(selectors.begin(), selectors.end(), kind), selectors.end()) << kind;
    EXPECT_TRUE(bare);
    EXPECT_TRUE(makesDefault);
}

TEST(ShippedData, FilesUseCrLfLineEnds)
{
    for (const char* name : { "ZEVDlg.ini", "conditions.ini", "start_conditions.ini" }) {
        std::string bytes = test::ReadFileBytes(Shipped(name));
        ASSERT_FALSE(bytes.empty()) << name;
        for (std::size_t i = bytes.find('\n'); i != std::string::npos; i = bytes.find('\n', i + 1))
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << name << " at " << i;
    }
}

} // namespace
} // namespace zev

namespace zev {
namespace {

TEST(TextEncodingSetting, Cp1252UnlessTheConfigurationSaysUtf8)
{
    test::TempDir dir;
    IniFile missing(dir.File("none.ini"));
    EXPECT_FALSE(TextEncodingIsUtf8(missing));
    IniFile ini(dir.Write("ZEVDlg.ini", "[Global Config]\r\nTextEncoding=UTF-8\r\n"));
    EXPECT_TRUE(TextEncodingIsUtf8(ini));
    ASSERT_TRUE(ini.WriteString("Global Config", "TextEncoding", "cp1252"));
    EXPECT_FALSE(TextEncodingIsUtf8(ini));
}

} // namespace
} // namespace zev
