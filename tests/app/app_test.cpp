#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/scripted_dialogs.h"
#include "app/startup.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace zev {
namespace {

struct AppFixture : ::testing::Test {
    test::TempDir dir;
    ScriptedDialogs dialogs;
    App app { dialogs, dir.path() };
    test::LogCapture capture { app.log() };
    AppFixture() { app.log().SetFilePath(dir.File("debug.log")); }
};

TEST_F(AppFixture, TitleFollowsChangesAndSaveFollowsTheChange)
{
    std::vector<std::string> titles;
    app.titleChanged.Connect([&](const std::string& t) { titles.push_back(t); });
    EXPECT_EQ(app.title(), "ZEV Dialogue Tool - [untitled]");
    EXPECT_FALSE(app.modified());
    EXPECT_FALSE(app.saveEnabled());
    app.DialogueChanged();
    EXPECT_TRUE(app.modified());
    EXPECT_TRUE(app.saveEnabled());
    app.SetCurrentFileName("/x/a.zev");
    app.DialogueChanged();
    EXPECT_EQ(
        titles, (std::vector<std::string> { "ZEV Dialogue Tool - [untitled*]", "ZEV Dialogue Tool - [/x/a.zev*]" }));
}

TEST_F(AppFixture, StartingWithoutIniFilesGivesEveryDefaultAndTheLogLinesInOrder)
{
    dir.Write("debug.log", "old run\r\n");
    RunStartupSequence(app, {});
    EXPECT_FALSE(app.startingUp());
    EXPECT_FALSE(app.settings().debugMode);
    EXPECT_FALSE(app.debugWindow().Visible());
    EXPECT_TRUE(app.settings().evaluateConditions);
    EXPECT_TRUE(app.settings().evaluateSkillChecks);
    EXPECT_EQ(app.settings().defaultIntForSmartPlayer, 4);
    EXPECT_EQ(app.settings().defaultIntForDumbPlayer, -3);
    EXPECT_TRUE(app.settings().checkForUpdates);
    EXPECT_EQ(app.player().name, "");
    EXPECT_EQ(app.player().gender, 1);
    EXPECT_EQ(app.player().age, 16);
    EXPECT_EQ(app.player().luck, 5);
    EXPECT_EQ(app.player().money, 0);
    EXPECT_EQ(app.player().skills[0].name, "");
    EXPECT_EQ(app.title(), "ZEV Dialogue Tool - [untitled]");
    EXPECT_EQ(capture.Messages(),
        (std::vector<std::string> {
            "Starting up ZEV Dialogue tool...",
            "Reading config",
            "Runtime DLG Editing OFF",
            "Default Smart INT is 4",
            "Default Dumb INT is -3",
            "Autoupdate checking ON",
            "Init complete.",
        }));
    std::string file = test::ReadFileBytes(dir.File("debug.log"));
    EXPECT_EQ(file.find("old run"), std::string::npos);
    EXPECT_NE(file.find(": Init complete.\r\n"), std::string::npos);
}

TEST_F(AppFixture, DebugModeShowsTheWindowAndDevModeIsLogged)
{
    dir.Write("ZEVDlg.ini", "[Global Config]\r\nDebugmode=1\r\nRuntimeDLGEditing=1\r\n");
    std::vector<std::string> steps;
    StartupOptions options;
    options.firstArgument = "/devmode";
    options.extensions.definitionsAndPresets = [&] { steps.push_back("definitions"); };
    options.extensions.updateWindowAndPlugins = [&] { steps.push_back("plugins"); };
    RunStartupSequence(app, options);
    EXPECT_TRUE(app.debugWindow().Visible());
    EXPECT_TRUE(app.devMode());
    EXPECT_EQ(steps, (std::vector<std::string> { "definitions", "plugins" }));
    const auto& lines = app.debugWindow().Lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "Starting up ZEV Dialogue tool...");
    EXPECT_EQ(lines.back(), "Init complete.");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Developer mode enabled."), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Runtime DLG Editing ON"), lines.end());
}

TEST(AppShippedData, PlayerCharacterAndConditionTemplatesComeFromTheProgramFolder)
{
    test::TempDir dir;
    for (const char* f : { "ZEVDlg.ini", "conditions.ini" })
        std::filesystem::copy_file(std::string(ZEV_SOURCE_DIR) + "/data/" + f, dir.File(f));
    ScriptedDialogs dialogs;
    App app(dialogs, dir.path());
    RunStartupSequence(app, {});
    EXPECT_FALSE(app.player().name.empty());
    EXPECT_EQ(app.player().skills[0].name, "Small Guns");
    EXPECT_EQ(app.player().skills[17].name, "Outdoorsman");

    condition c;
    c.check_type = CHECK_SKILL;
    c.subject = 15;
    c.eval = 5;
    c.value = "60";
    std::string expr = app.BuildConditionScript(c);
    EXPECT_NE(expr.find(">= 60"), std::string::npos) << expr;
    EXPECT_NE(expr.find("SPEECH"), std::string::npos) << expr;
}

TEST(AppStartupData, TheExceptionLinesOfTheShippedFileAreRead)
{
    ScriptedDialogs dialogs;
    App app(dialogs, ZEV_DIST_DIR);
    LoadStartupDataFile(app);
    std::string line = app.startupData().RandomGroupText("Except_MSG", app.log(), app.random());
    EXPECT_NE(line, "Error");
    EXPECT_FALSE(line.empty());
}

} // namespace
} // namespace zev
