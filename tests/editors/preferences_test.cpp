#include "editors_fixture.h"

#include <filesystem>

#include "editors/preferences.h"

namespace zev {
namespace {

using test::EditorsFixture;

struct ScriptedPrefsView : PreferencesView {
    std::function<bool(PreferencesModel&)> script;
    bool exec(PreferencesModel& model) override { return script ? script(model) : false; }
};

struct Preferences : EditorsFixture {
    PreferencesModel model { app };
    ScriptedPrefsView view;

    Preferences() { model.SetView(&view); }

    std::string ConfigPath() const { return dir.File(kConfigFileName); }
    bool ConfigExists() const { return std::filesystem::exists(ConfigPath()); }
    // The file as the next start reads it.
    IniFile Reread() const { return IniFile(ConfigPath()); }
    // Opens the window, lets the script change the controls and closes with OK or Cancel.
    bool Run(bool ok, std::function<void(PreferencesModel&)> change)
    {
        view.script = [ok, change](PreferencesModel& m) {
            change(m);
            return ok;
        };
        return model.Open();
    }
};

TEST_F(Preferences, WithoutAConfigurationFileTheWindowShowsItsDefaults)
{
    ASSERT_FALSE(ConfigExists());
    model.SetTab(PrefTab::Engine);
    model.Begin();
    EXPECT_EQ(model.tab(), PrefTab::General) << "the window opens on its first tab";
    EXPECT_EQ(model.clonedNodeFormat(), "Copy_of_%s");
    EXPECT_EQ(model.smartInt(), 4);
    EXPECT_EQ(model.dumbInt(), -3);
    EXPECT_TRUE(model.checked(PrefCheck::EvaluateConditions));
    EXPECT_TRUE(model.checked(PrefCheck::ShowLastDialogue));
    EXPECT_TRUE(model.checked(PrefCheck::CheckForUpdates)) << "held in memory, on by default";
    EXPECT_TRUE(model.checked(PrefCheck::SkillChecks)) << "held in memory, on by default";
    // The window's own defaults for two keys whose readers default to true.
    EXPECT_FALSE(model.checked(PrefCheck::SaveNodeHistory));
    EXPECT_FALSE(model.checked(PrefCheck::PluginWarnings));
    EXPECT_FALSE(model.checked(PrefCheck::DebugMode));
    EXPECT_FALSE(model.checked(PrefCheck::RuntimeEditing));
    EXPECT_FALSE(model.checked(PrefCheck::AutoRemapNodes));
    for (const auto& f : PreferencesModel::kFolders)
        EXPECT_EQ(model.folder(f.folder), "") << f.key;
    EXPECT_FALSE(ConfigExists()) << "showing the window writes nothing";
}

TEST_F(Preferences, EachBoxIsFilledFromTheFileOrFromTheValueHeldInMemoryAsItsRowSays)
{
    dir.Write(kConfigFileName,
        "[Global Config]\r\nDebugmode=1\r\nCheck for updates at startup=0\r\nAutoRemapNodes=0\r\n"
        "RuntimeDLGEditing=1\r\nSavenodehistory=1\r\nPluginCompatibilityWarnings=1\r\nShowLastDialogue=0\r\n"
        "DefaultSSLPath=/out/ssl\r\nDefaultMSGPath=/out/msg\r\nHeadersPath=/game/headers\r\n"
        "FO2Basepath=/game\r\nClonedNodeFormatString=%s_2\r\nDefaultIntForSmartPlayer=7\r\n"
        "DefaultIntForDumbPlayer=-5\r\n[Dialogue Engine]\r\nEvaluateConditions=0\r\nEvaluateSkillChecks=0\r\n");
    // Memory disagrees with the file on every key it holds.
    Settings& held = app.settings();
    held.debugMode = false;
    held.checkForUpdates = true;
    held.autoRemapNodes = true;
    held.runtimeDlgEditing = false;
    held.evaluateConditions = true;
    held.evaluateSkillChecks = true;
    held.defaultIntForSmartPlayer = 1;
    held.defaultIntForDumbPlayer = 1;
    model.Begin();
    // From the file.
    EXPECT_TRUE(model.checked(PrefCheck::DebugMode));
    EXPECT_TRUE(model.checked(PrefCheck::RuntimeEditing));
    EXPECT_FALSE(model.checked(PrefCheck::EvaluateConditions));
    EXPECT_TRUE(model.checked(PrefCheck::SaveNodeHistory));
    EXPECT_TRUE(model.checked(PrefCheck::PluginWarnings));
    EXPECT_FALSE(model.checked(PrefCheck::ShowLastDialogue));
    EXPECT_EQ(model.smartInt(), 7);
    EXPECT_EQ(model.dumbInt(), -5);
    EXPECT_EQ(model.clonedNodeFormat(), "%s_2");
    EXPECT_EQ(model.folder(PrefFolder::SslOutput), "/out/ssl");
    EXPECT_EQ(model.folder(PrefFolder::MsgOutput), "/out/msg");
    EXPECT_EQ(model.folder(PrefFolder::Headers), "/game/headers");
    EXPECT_EQ(model.folder(PrefFolder::GameBase), "/game");
    // From memory.
    EXPECT_TRUE(model.checked(PrefCheck::CheckForUpdates));
    EXPECT_TRUE(model.checked(PrefCheck::AutoRemapNodes));
    EXPECT_TRUE(model.checked(PrefCheck::SkillChecks));
}

TEST_F(Preferences, CancelStillSwitchesConditionEvaluationOffWhileTheFileKeepsTheOldValue)
{
    dir.Write(kConfigFileName, "[Dialogue Engine]\r\nEvaluateConditions=1\r\n");
    const std::string before = test::ReadFileBytes(ConfigPath());
    ASSERT_TRUE(app.settings().evaluateConditions);
    EXPECT_FALSE(Run(false, [](PreferencesModel& m) {
        m.SetChecked(PrefCheck::EvaluateConditions, false);
        m.SetChecked(PrefCheck::RuntimeEditing, true);
        m.SetChecked(PrefCheck::SkillChecks, false);
        m.SetChecked(PrefCheck::AutoRemapNodes, true);
        m.SetChecked(PrefCheck::CheckForUpdates, false);
        m.SetSmartInt(9);
    }));
    EXPECT_FALSE(app.settings().evaluateConditions);
    EXPECT_TRUE(app.settings().runtimeDlgEditing);
    EXPECT_FALSE(app.settings().evaluateSkillChecks);
    EXPECT_EQ(test::ReadFileBytes(ConfigPath()), before);
    // The values held since start-up for the others stay as they were.
    EXPECT_FALSE(app.settings().autoRemapNodes);
    EXPECT_TRUE(app.settings().checkForUpdates);
    EXPECT_EQ(app.settings().defaultIntForSmartPlayer, 4);
    // The next opening shows the file's value again.
    model.Begin();
    EXPECT_TRUE(model.checked(PrefCheck::EvaluateConditions));
}

TEST_F(Preferences, OkWritesEveryKeyAndTheRemapCountsOnlyAfterARestart)
{
    EXPECT_TRUE(Run(true, [](PreferencesModel& m) {
        m.SetChecked(PrefCheck::AutoRemapNodes, true);
        m.SetChecked(PrefCheck::DebugMode, true);
        m.SetChecked(PrefCheck::EvaluateConditions, false);
        m.SetChecked(PrefCheck::SaveNodeHistory, true);
        m.SetFolder(PrefFolder::Headers, "/game/scripts/headers");
        m.SetClonedNodeFormat("Clone %s");
        m.SetSmartInt(6);
        m.SetDumbInt(-8);
    }));
    const IniFile ini = Reread();
    for (const auto& c : PreferencesModel::kChecks)
        EXPECT_TRUE(ini.ValueExists(c.section, c.key)) << c.key;
    for (const auto& f : PreferencesModel::kFolders)
        EXPECT_TRUE(ini.ValueExists(kSectionGlobalConfig, f.key)) << f.key;
    EXPECT_EQ(ini.ReadString(kSectionGlobalConfig, kKeyAutoRemapNodes, ""), "1");
    EXPECT_EQ(ini.ReadString(kSectionGlobalConfig, kKeyPluginCompatibilityWarnings, ""), "0");
    EXPECT_EQ(ini.ReadString(kSectionDialogueEngine, kKeyEvaluateConditions, ""), "0");
    EXPECT_EQ(ini.ReadString(kSectionDialogueEngine, kKeyEvaluateSkillChecks, ""), "1");
    EXPECT_EQ(HeadersPath(ini), "/game/scripts/headers");
    EXPECT_EQ(ClonedNodeFormatString(ini), "Clone %s");
    EXPECT_TRUE(SaveNodeHistory(ini));

    // The node dialog still reads the value held since start-up; the next start reads the file.
    EXPECT_FALSE(app.settings().autoRemapNodes);
    EXPECT_FALSE(app.settings().debugMode);
    EXPECT_EQ(app.settings().defaultIntForSmartPlayer, 4);
    EXPECT_FALSE(app.settings().evaluateConditions) << "this one counts at once";
    const Settings next = LoadSettings(ini);
    EXPECT_TRUE(next.autoRemapNodes);
    EXPECT_TRUE(next.debugMode);
    EXPECT_EQ(next.defaultIntForSmartPlayer, 6);
    EXPECT_EQ(next.defaultIntForDumbPlayer, -8);
}

TEST_F(Preferences, OkKeepsTheFilesOtherLinesAndAnOutOfRangeIntegerNobodyTouched)
{
    dir.Write(kConfigFileName,
        "; kept\r\n[Global "
        "Config]\r\nTextEncoding=utf-8\r\nDefaultIntForDumbPlayer=-40\r\n[Skills]\r\nSkill1=Guns\r\n");
    EXPECT_TRUE(Run(true, [](PreferencesModel& m) { EXPECT_EQ(m.dumbInt(), -40) << "shown as the file has it"; }));
    const IniFile ini = Reread();
    EXPECT_EQ(ini.ReadInteger(kSectionGlobalConfig, kKeyDefaultIntForDumbPlayer, 0), -40);
    EXPECT_TRUE(TextEncodingIsUtf8(ini));
    EXPECT_EQ(ini.ReadString(kSectionSkills, "Skill1", ""), "Guns");
    EXPECT_EQ(test::ReadFileBytes(ConfigPath()).rfind("; kept\r\n", 0), 0u);
    // A value set through the spin stays in its range.
    model.SetSmartInt(11);
    model.SetDumbInt(-11);
    EXPECT_EQ(model.smartInt(), 10);
    EXPECT_EQ(model.dumbInt(), -10);
}

TEST_F(Preferences, AKeyTheFileRefusesIsReportedAndTheOthersAreStillWritten)
{
    EXPECT_TRUE(Run(true, [](PreferencesModel& m) {
        m.SetFolder(PrefFolder::SslOutput, "/out\nssl"); // no line break can stand in an ini value
        m.SetFolder(PrefFolder::MsgOutput, "/out/msg");
        m.SetChecked(PrefCheck::EvaluateConditions, false);
    })) << "closed with OK";
    const ScriptedDialogs::Shown* box = dialogs.Last();
    ASSERT_TRUE(box);
    EXPECT_NE(box->text.find(PreferencesModel::kWriteFailed), std::string::npos) << box->text;
    EXPECT_NE(box->text.find(kKeyDefaultSSLPath), std::string::npos) << box->text;
    EXPECT_EQ(box->text.find(kKeyDefaultMSGPath), std::string::npos) << "only the refused key is named";
    const IniFile ini = Reread();
    EXPECT_FALSE(ini.ValueExists(kSectionGlobalConfig, kKeyDefaultSSLPath));
    EXPECT_EQ(DefaultMSGPath(ini), "/out/msg");
    EXPECT_EQ(ini.ReadString(kSectionDialogueEngine, kKeyEvaluateConditions, ""), "0");
    EXPECT_FALSE(app.settings().evaluateConditions);
    EXPECT_FALSE(model.Close(true)) << "the field still holds the refused path";
}

TEST_F(Preferences, TheFolderChooserStartsAtTheFieldsFolderAndCancelKeepsIt)
{
    dir.Write(kConfigFileName, "[Global Config]\r\nFO2Basepath=/games/old\r\n");
    model.Begin();
    int changes = 0;
    const std::size_t id = model.changed.Connect([&] { ++changes; });
    dialogs.PushText("/games/new");
    EXPECT_TRUE(model.ChooseFolder(PrefFolder::GameBase));
    ASSERT_TRUE(dialogs.Last());
    EXPECT_EQ(dialogs.Last()->kind, ScriptedDialogs::Kind::Folder);
    EXPECT_EQ(dialogs.Last()->file.initialFolder, "/games/old");
    EXPECT_EQ(dialogs.Last()->caption, "Game base directory");
    EXPECT_EQ(model.folder(PrefFolder::GameBase), "/games/new");
    EXPECT_EQ(changes, 1);
    dialogs.PushCancel();
    EXPECT_FALSE(model.ChooseFolder(PrefFolder::GameBase));
    EXPECT_EQ(model.folder(PrefFolder::GameBase), "/games/new");
    EXPECT_EQ(changes, 1);
    model.changed.Disconnect(id);
    EXPECT_EQ(FO2Basepath(Reread()), "/games/old") << "nothing written before OK";
}

TEST_F(Preferences, WithoutAViewNothingChangesAndHelpIsLogged)
{
    PreferencesModel bare { app };
    app.settings().evaluateConditions = false;
    EXPECT_FALSE(bare.Open());
    EXPECT_FALSE(app.settings().evaluateConditions) << "no window, no close: the file's value is not taken";
    EXPECT_FALSE(ConfigExists());
    bare.HelpPopup("Debug mode");
    EXPECT_TRUE(Logged("Popup invoked on :Debug mode"));
}

} // namespace
} // namespace zev
