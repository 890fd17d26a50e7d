#include "gui_support.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QTreeWidget>

#include <filesystem>

#include "desktop/gui/about_dialog.h"
#include "desktop/gui/desktop_program.h"
#include "script/gui/func_desc_editor.h"

#include "app/dialogue_files.h"
#include "app/gui/update_progress_window.h"
#include "desktop/gui/main_window.h"
#include "model/dialog_ops.h"
#include "runner/gui/player_setup_window.h"
#include "runner/gui/run_panel.h"
#include "runner/gui/transcript_window.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace zev {
namespace {

// The whole program over a copy of the built program folder.
class DesktopProgramTest : public test::GuiTest {
protected:
    test::TempDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<Workbench> bench;
    App* app = nullptr;
    std::unique_ptr<test::LogCapture> capture;

    DesktopProgramTest()
    {
        std::filesystem::copy(ZEV_DIST_DIR, dir.path(), std::filesystem::copy_options::recursive);
        bench = std::make_unique<Workbench>(dialogs, dir.path());
        app = &bench->app();
        app->log().SetFilePath(dir.File("debug.log"));
        capture = std::make_unique<test::LogCapture>(app->log());
    }
    std::vector<std::string> Log() const { return capture->Messages(); }
};

TEST_F(DesktopProgramTest, StartsUpInOrderAndLoadsTheArgumentAfterTheWindows)
{
    DesktopProgram program(*bench, TextEncoding::Cp1252);
    program.Start(dir.File("dialogue/sample.zev"));
    std::vector<std::string> log = Log();
    auto init = std::find(log.begin(), log.end(), "Init complete.");
    ASSERT_NE(init, log.end());
    std::vector<std::string> startUp(log.begin(), init + 1);
    EXPECT_EQ(startUp,
        (std::vector<std::string> {
            "Starting up ZEV Dialogue tool...",
            "ExecuteScript: " + dir.File("def/def_list.dws"),
            "Loading definition " + dir.File("def/script_functions.h"),
            "Loading definition " + dir.File("def/script_constants.h"),
            "CodeSnippets parsed: 15",
            "93 completion proposal definitions loaded.",
            "Refreshing autocomplete list...",
            "Reading config",
            "ExecuteScript: " + dir.File("helperscripts/helpermain.dws"),
            "Runtime DLG Editing OFF",
            "Default Smart INT is 4",
            "Default Dumb INT is -3",
            "Autoupdate checking OFF",
            "Loading update plugins...",
            "Loading generic plugins...",
            " --> Rename dialogue nodes to NodeXXX",
            "Loading development tool plugins...",
            "Loading export plugins...",
            "Loading import plugins...",
            "Init complete.",
        }));
    // The timed-event data editor's commands are read as that window is made, after the main
    // window's sequence; the argument is loaded after every window exists.
    EXPECT_EQ(std::vector<std::string>(init + 1, log.end()),
        (std::vector<std::string> { "ExecuteScript: " + dir.File("helperscripts/TE_Commands.dws"),
            "Refreshing autocomplete list...", "Attempting to load " + dir.File("dialogue/sample.zev"),
            "Successful load of " + dir.File("dialogue/sample.zev"), "Node count = 12",
            "Refreshing autocomplete list..." }));
    EXPECT_NE(program.updateProgressWindow(), nullptr);
    EXPECT_TRUE(program.window().isVisible());
    EXPECT_EQ(
        program.window().windowTitle().toStdString(), "ZEV Dialogue Tool - [" + dir.File("dialogue/sample.zev") + "]");
    EXPECT_EQ(app->dlg().node_count, 12);
    EXPECT_EQ(program.scripts().helpers().timeEventCommands().size(), 3u);
    EXPECT_TRUE(program.scripts().helpers().menuVisible());
    EXPECT_FALSE(program.window().MenuFor(MenuId::HelperScripts)->actions().isEmpty());
    EXPECT_FALSE(program.window().MenuFor(MenuId::DeveloperStuff)->menuAction()->isVisible());
    EXPECT_FALSE(app->startingUp());
}

TEST_F(DesktopProgramTest, DevModeShowsTheDeveloperMenuAndLoadsNothing)
{
    DesktopProgram program(*bench, TextEncoding::Cp1252);
    program.Start("/devmode");
    EXPECT_TRUE(program.window().MenuFor(MenuId::DeveloperStuff)->menuAction()->isVisible());
    EXPECT_EQ(app->dlg().node_count, 0);
    EXPECT_EQ(program.window().windowTitle().toStdString(), "ZEV Dialogue Tool - [untitled]");
}

TEST_F(DesktopProgramTest, TitleFollowsNewChangeSaveAsAndLoad)
{
    DesktopProgram program(*bench, TextEncoding::Cp1252);
    program.Start({});
    MainWindow& w = program.window();
    AddNode(app->dlg(), "n");
    app->DialogueChanged();
    EXPECT_EQ(w.windowTitle().toStdString(), "ZEV Dialogue Tool - [untitled*]");
    std::string path = dir.File("mine.zev");
    dialogs.PushText(path);
    EXPECT_TRUE(w.Trigger(MenuCommand::SaveDialogueAs));
    EXPECT_EQ(w.windowTitle().toStdString(), "ZEV Dialogue Tool - [" + path + "]");
    dialogs.PushButton(MsgResult::No); // the save query of New: Save as leaves the flag set
    EXPECT_TRUE(w.Trigger(MenuCommand::NewDialogue));
    EXPECT_EQ(w.windowTitle().toStdString(), "ZEV Dialogue Tool - [untitled]");
    dialogs.PushText(path);
    EXPECT_TRUE(w.Trigger(MenuCommand::LoadDialogue));
    EXPECT_EQ(w.windowTitle().toStdString(), "ZEV Dialogue Tool - [" + path + "]");
    EXPECT_EQ(app->dlg().node_count, 1);
}

TEST_F(DesktopProgramTest, ARunThroughTheSampleByClicksOnTheOptionList)
{
    DesktopProgram program(*bench, TextEncoding::Cp1252);
    program.Start(dir.File("dialogue/sample.zev"));
    RunPanelWidget& panel = program.panel();
    auto click = [&](const char* button) { panel.findChild<QPushButton*>(QString::fromLatin1(button))->click(); };
    auto current = [&] { return std::string(app->dlg().nodes[program.runner().currentNodeIndex()]->name); };
    click("runButton");
    ASSERT_TRUE(program.runner().running());
    QTreeWidget* options = panel.optionList();
    ASSERT_GT(options->topLevelItemCount(), 0);
    EXPECT_EQ(options->topLevelItem(0)->text(1).toStdString(), "I'd like to see your wares.");
    emit options->itemDoubleClicked(options->topLevelItem(0), 0);
    EXPECT_EQ(current(), "Wares");
    click("backButton");
    EXPECT_EQ(current(), "Start");
    EXPECT_EQ(options->topLevelItem(0)->text(1).toStdString(), "I'd like to see your wares.");
    click("forwardButton");
    EXPECT_EQ(current(), "Wares");
    click("stopButton");
    EXPECT_FALSE(program.runner().running());
    EXPECT_EQ(program.runner().transcripts().count(), 1);
    TranscriptWindow* transcript = nullptr;
    for (QDialog* d : program.window().findChildren<QDialog*>())
        if (auto* t = dynamic_cast<TranscriptWindow*>(d))
            transcript = t;
    ASSERT_NE(transcript, nullptr);
    EXPECT_TRUE(program.runner().transcriptWindow().visible());
    EXPECT_TRUE(transcript->isVisible());
    EXPECT_TRUE(transcript->textBox()->toPlainText().contains(QStringLiteral("I'd like to see your wares.")));
}

TEST_F(DesktopProgramTest, ChangingTheGenderMidRunRedrawsTheCurrentNode)
{
    DesktopProgram program(*bench, TextEncoding::Cp1252);
    program.Start(dir.File("dialogue/sample.zev"));
    program.runner().StartTestRun();
    auto* npcLine = program.panel().findChild<QPlainTextEdit*>(QStringLiteral("npcLine"));
    ASSERT_NE(npcLine, nullptr);
    EXPECT_EQ(npcLine->toPlainText(), "Welcome, stranger. Looking to buy or just looking?");

    auto setGender = [&](int item, bool ok) {
        test::WhenModal<PlayerSetupWindow>([item, ok](PlayerSetupWindow* w) {
            w->genderBox()->setCurrentIndex(item);
            ok ? w->accept() : w->reject();
        });
        EXPECT_TRUE(program.window().Trigger(MenuCommand::SetupPlayerCharacter));
    };
    setGender(1, false); // cancelled: nothing changes
    EXPECT_EQ(npcLine->toPlainText(), "Welcome, stranger. Looking to buy or just looking?");
    setGender(1, true);
    EXPECT_EQ(npcLine->toPlainText(), "Welcome, miss. Looking to buy or just looking?");
    EXPECT_TRUE(program.runner().running());
    EXPECT_EQ(app->config().ReadString("Player Character", "Gender", ""), "2");
    setGender(0, true);
    EXPECT_EQ(npcLine->toPlainText(), "Welcome, stranger. Looking to buy or just looking?");
}

TEST_F(DesktopProgramTest, NewAsksAboutUnsavedChanges)
{
    DesktopProgram program(*bench, TextEncoding::Cp1252);
    std::string path = dir.File("dialogue/sample.zev");
    program.Start(path);
    MainWindow& w = program.window();
    auto change = [&] {
        std::string name = "Extra" + std::to_string(app->dlg().node_count);
        AddNode(app->dlg(), name);
        app->DialogueChanged();
    };

    change();
    dialogs.PushButton(MsgResult::Cancel);
    EXPECT_TRUE(w.Trigger(MenuCommand::NewDialogue));
    EXPECT_EQ(app->dlg().node_count, 13);
    EXPECT_EQ(w.windowTitle().toStdString(), "ZEV Dialogue Tool - [" + path + "*]");
    EXPECT_TRUE(dialogs.Last()->text.find("Save changes to dialogue '" + path + "'") != std::string::npos);

    dialogs.PushButton(MsgResult::Yes);
    EXPECT_TRUE(w.Trigger(MenuCommand::NewDialogue));
    EXPECT_EQ(app->dlg().node_count, 0);
    EXPECT_EQ(w.windowTitle().toStdString(), "ZEV Dialogue Tool - [untitled]");
    App reread(dialogs, dir.path());
    ASSERT_TRUE(ReadDialogueFile(reread, path).Ok());
    EXPECT_EQ(reread.dlg().node_count, 13) << "Yes saved before emptying";

    change();
    std::size_t asked = dialogs.History().size();
    dialogs.PushButton(MsgResult::No);
    EXPECT_TRUE(w.Trigger(MenuCommand::NewDialogue));
    EXPECT_EQ(dialogs.History().size(), asked + 1);
    EXPECT_EQ(app->dlg().node_count, 0);
    EXPECT_FALSE(app->modified());
}

TEST_F(DesktopProgramTest, ShutDownAfterTheCloseWasGranted)
{
    auto program = std::make_unique<DesktopProgram>(*bench, TextEncoding::Cp1252);
    program->Start(dir.File("dialogue/sample.zev"));
    ASSERT_NE(program->updateProgressWindow(), nullptr);
    EXPECT_FALSE(program->updateProgressWindow()->isVisible());
    EXPECT_TRUE(program->window().close());
    capture->lines.clear();
    program->Shutdown();
    EXPECT_EQ(Log(), (std::vector<std::string> { "Deallocating dialog node pointers", "disposed 12 nodes." }));
    EXPECT_EQ(app->dlg().node_count, 0);
    EXPECT_EQ(program->scripts().engine().FindUnit("ZEVFuncs"), nullptr);
    EXPECT_EQ(program->updateProgressWindow(), nullptr);
    EXPECT_TRUE(program->plugins().plugins().empty());
    program->Shutdown(); // once only
    program.reset();
    EXPECT_EQ(Log().size(), 2u);
}

TEST_F(DesktopProgramTest, ThePluginMenuEntryRunsRelabelplug)
{
    DesktopProgram program(*bench, TextEncoding::Cp1252);
    program.Start(dir.File("dialogue/sample.zev"));
    QList<QAction*> entries = program.window().MenuFor(MenuId::Plugins)->actions();
    ASSERT_EQ(entries.size(), 1);
    entries[0]->trigger();
    EXPECT_EQ(app->dlg().nodes[0]->name, "Node001");
    EXPECT_EQ(app->dlg().nodes[11]->name, "Node012");
    EXPECT_EQ(app->dlg().nodes[0]->options[0]->link_target, app->dlg().nodes[2]->name);
}

TEST_F(DesktopProgramTest, DeveloperCommandsDumpAndEditTheFunctionDescriptions)
{
    DesktopProgram program(*bench, TextEncoding::Cp1252);
    program.Start("/devmode");
    capture->lines.clear();
    ASSERT_TRUE(program.window().Trigger(MenuCommand::DumpScriptCommands));
    std::vector<std::string> log = Log();
    EXPECT_NE(std::find(log.begin(), log.end(), "FUNC: AddNode already exists."), log.end());

    QString before;
    test::WhenModal<QDialog>([&](QDialog* w) {
        auto* editor = static_cast<FuncDescEditorWindow*>(w);
        ASSERT_GT(editor->list()->count(), 70);
        editor->list()->setCurrentRow(0);
        before = editor->memo()->toPlainText();
        editor->memo()->setPlainText(QStringLiteral("New text\nsecond line"));
        w->reject();
    });
    EXPECT_TRUE(program.window().Trigger(MenuCommand::EditFunctionDescriptions));
    EXPECT_FALSE(before.isEmpty());
    std::string first = program.descriptions().Names().at(0);
    EXPECT_EQ(program.descriptions().Description(first), "New text\\nsecond line");
}

TEST_F(DesktopProgramTest, AboutCountsTheFunctionsAndListsThePlugins)
{
    DesktopProgram program(*bench, TextEncoding::Cp1252);
    program.Start({});
    QString details;
    int rows = 0;
    bool configure = true;
    QString counts;
    test::WhenModal<AboutDialog>([&](AboutDialog* about) {
        rows = about->pluginList()->count();
        about->pluginList()->setCurrentRow(0);
        details = about->pluginDetails()->text();
        configure = about->configureButton()->isVisible();
        counts = about->findChild<QLabel*>(QStringLiteral("scriptFunctions"))->text();
        about->accept();
    });
    EXPECT_TRUE(program.window().Trigger(MenuCommand::About));
    EXPECT_EQ(rows, 1);
    EXPECT_TRUE(details.contains(QStringLiteral("Utility_relabelplug.so"))) << details.toStdString();
    EXPECT_TRUE(details.contains(QStringLiteral(">Show</a>")));
    EXPECT_FALSE(configure);
    EXPECT_EQ(counts, QStringLiteral("Script functions: 73"));
}

TEST_F(DesktopProgramTest, TheCompletionListsFollowTheDialogueAndTheDefinitions)
{
    DesktopProgram program(*bench, TextEncoding::Cp1252);
    program.Start(dir.File("dialogue/sample.zev"));
    const CompletionLists& lists = bench->completion();
    auto has = [&](const std::string& shown) {
        return std::find(lists.shown.begin(), lists.shown.end(), shown) != lists.shown.end();
    };
    const dialog& d = app->dlg();
    ASSERT_GT(d.node_count, 0);
    EXPECT_TRUE(has(d.nodes[0]->name.str() + " \"" + d.nodes[0]->npc_text.str() + "\""));
    EXPECT_EQ(lists.hintNames.size(), static_cast<std::size_t>(bench->definitions().count()));
    const std::size_t before = lists.shown.size();

    // A variable appears at the next refresh, a local one with its prefix; nothing is appended twice.
    AddVariable(app->dlg(), "count")->scope = 3;
    EXPECT_FALSE(has("LVAR_count"));
    app->RefreshEditorLists();
    EXPECT_TRUE(has("LVAR_count"));
    EXPECT_EQ(lists.shown.size(), before + 1);
    app->RefreshEditorLists();
    EXPECT_EQ(lists.shown.size(), before + 1);
    EXPECT_EQ(lists.insert.size(), lists.shown.size());
}

} // namespace
} // namespace zev
