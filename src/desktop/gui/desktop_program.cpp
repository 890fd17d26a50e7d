#include "desktop/gui/desktop_program.h"

#include "app/dialogue_files.h"
#include "app/shell_commands.h"
#include "base/paths.h"
#include "runner/player_setup.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QLineEdit>
#include <QScreen>
#include <QUrl>

#include "app/gui/console_dock.h"
#include "app/gui/debug_window.h"
#include "app/gui/exception_report_window.h"
#include "app/gui/parse_error_log.h"
#include "app/gui/qt_text.h"
#include "app/gui/update_progress_window.h"
#include "desktop/gui/main_window.h"
#include "editors/gui/conditions_editor_window.h"
#include "editors/gui/custom_proc_editor_window.h"
#include "editors/gui/dialogue_editor_window.h"
#include "editors/gui/float_node_editor_window.h"
#include "editors/gui/list_picker_window.h"
#include "editors/gui/node_code_editor_window.h"
#include "editors/gui/node_dialog_window.h"
#include "editors/gui/npc_properties_window.h"
#include "editors/gui/option_dialog_window.h"
#include "editors/gui/parameter_input_window.h"
#include "editors/gui/preferences_window.h"
#include "editors/gui/script_variables_window.h"
#include "editors/gui/skill_check_editor_window.h"
#include "editors/gui/start_conditions_window.h"
#include "editors/gui/timed_event_data_window.h"
#include "editors/gui/timed_events_window.h"
#include "runner/gui/player_setup_window.h"
#include "runner/gui/run_panel.h"
#include "runner/gui/skill_check_window.h"
#include "runner/gui/termination_query_window.h"
#include "runner/gui/transcript_list_window.h"
#include "runner/gui/transcript_window.h"
#include "script/gui/func_desc_editor.h"
#include "script/gui/script_running_window.h"
#include "update/gui/release_notes_window.h"

namespace zev {

bool DesktopWindows::ShowErrorReport(const ExceptionReport& report)
{
    ExceptionReportWindow window(report, m_encoding, m_parent ? m_parent() : nullptr);
    window.exec();
    return true;
}

DesktopProgram::DesktopProgram(Workbench& bench, TextEncoding encoding, std::function<void(QWidget*)> parentBoxes)
    : m_bench(bench)
    , m_encoding(encoding)
    , m_panelModel(bench.app(), bench.run())
    , m_aboutPlugins(bench.plugins())
    , m_console(bench.app())
    , m_windows(bench.app(), CodeTables { &bench.snippets(), &bench.definitions(), &bench.completion() }, encoding,
          [this]() -> QWidget* { return m_window.get(); })
{
    App& app = bench.app();
    app.SetWindows(&m_windows);
    m_window = std::make_unique<MainWindow>(app, bench.menus(), encoding);
    if (parentBoxes)
        parentBoxes(m_window.get());
    m_errorLog = new ParseErrorLog(encoding, m_window.get());
    m_window->SetAboutPlugins(&m_aboutPlugins);
    m_window->SetAboutCounts([this] {
        const script::HostUnit* unit = m_bench.scripts().engine().FindUnit("ZEVFuncs");
        return std::make_pair(unit ? static_cast<int>(unit->functions().size()) : 0,
            static_cast<int>(m_bench.plugins().plugins().size()));
    });
    WireFileCommands();

    m_panel = new RunPanelWidget(m_panelModel, encoding);
    m_window->setCentralWidget(m_panel);
    m_skillView = std::make_unique<QtSkillCheckView>(encoding, m_window.get());
    m_queryView = std::make_unique<QtTerminationQueryView>(encoding, m_window.get());
    m_setupView = std::make_unique<QtPlayerSetupView>(encoding, m_window.get());
    bench.run().SetSkillCheckView(m_skillView.get());
    bench.run().SetTerminationQueryView(m_queryView.get());
    new TranscriptWindow(m_panelModel.transcriptWindow(), encoding, m_window.get());
    new TranscriptListWindow(m_panelModel.transcriptList(), encoding, m_window.get());
    WireRunnerCommands();
    WireDeveloperCommands();
    WireConsole();
    WireEditors();
    WireUpdateCheck();
    m_pluginsChangedId = bench.plugins().changed.Connect([this] { ShowPluginMenus(); });
    // Helper scripts registered later (by the console or a plug-in) get their entries too.
    m_helpersChangedId = bench.scripts().helpers().changed.Connect([this] { ShowHelperScripts(); });
}

DesktopProgram::~DesktopProgram()
{
    Shutdown();
    App& app = m_bench.app();
    m_bench.plugins().changed.Disconnect(m_pluginsChangedId);
    m_bench.scripts().helpers().changed.Disconnect(m_helpersChangedId);
    app.log().SetDebugWindow(nullptr);
    m_debugWindow.reset();
    m_bench.run().SetSkillCheckView(nullptr);
    m_bench.run().SetTerminationQueryView(nullptr);
    m_bench.scripts().engine().SetOutputSink(nullptr);
    m_window.reset();
    app.SetWindows(nullptr);
}

void DesktopProgram::Start(const std::string& firstArgument)
{
    WorkbenchStart start;
    start.firstArgument = firstArgument;
    start.beforePluginScans = [this] {
        m_updateWindow = std::make_unique<UpdateProgressWindow>(m_updateProgress, m_encoding, m_window.get());
    };
    m_bench.Start(start);
    ShowHelperScripts();
    ShowPluginMenus();

    App& app = m_bench.app();
    if (app.settings().debugMode) {
        m_debugWindow = std::make_unique<DebugWindow>(app.debugWindow(), m_encoding, m_window.get());
        // Top right of the screen, clear of the main window's menus.
        if (QScreen* screen = m_window->screen()) {
            QRect area = screen->availableGeometry();
            m_debugWindow->move(area.right() - m_debugWindow->width(), area.top());
        }
        m_debugWindow->show();
    }
    m_window->show();
    m_bench.LoadCommandLineDialogue(firstArgument);
    // The console shows what is printed from here on: what start-up and the command line's load
    // print goes nowhere, as in every front end, and does not open the console.
    m_console.Attach();
    if (m_updateCheckAtStart)
        m_updateChecker->CheckAtStartup();
}

void DesktopProgram::Shutdown()
{
    m_updateChecker.reset();
    m_bench.Shutdown([this] { m_updateWindow.reset(); });
}

// The file commands.
void DesktopProgram::WireFileCommands()
{
    App& app = m_bench.app();
    MainMenuModel& menus = m_bench.menus();
    MainWindow& window = *m_window;
    ParseErrorLog& errorLog = *m_errorLog;
    for (MenuCommand c :
        { MenuCommand::NewDialogue, MenuCommand::LoadDialogue, MenuCommand::SaveDialogue, MenuCommand::SaveDialogueAs })
        menus.SetAvailable(c);
    menus.SetEnabled(MenuCommand::SaveDialogue, app.saveEnabled());
    app.saveEnabledChanged.Connect([&menus](bool on) { menus.SetEnabled(MenuCommand::SaveDialogue, on); });
    app.statusChanged.Connect([&window](const std::string& text) { window.SetStatusText(text); });
    window.SetCommandHandler(MenuCommand::NewDialogue, [&app] { NewDialogueCommand(app); });
    window.SetCommandHandler(MenuCommand::LoadDialogue, [&app, &errorLog] { LoadDialogueCommand(app, errorLog); });
    window.SetCommandHandler(MenuCommand::SaveDialogue, [&app] { SaveCommand(app); });
    window.SetCommandHandler(MenuCommand::SaveDialogueAs, [&app] { SaveAsCommand(app); });
    // The manual ships as HTML and opens in the desktop's browser.
    menus.SetAvailable(MenuCommand::DialogueToolHelp);
    window.SetCommandHandler(MenuCommand::DialogueToolHelp, [&app] {
        const std::string manual = app.ProgramPath("doc/index.html");
        if (!FileExists(manual)) {
            app.dialogs().Warning("The manual is missing: " + manual);
            return;
        }
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(PathToQString(manual))))
            app.dialogs().Warning("The manual could not be opened: no program to show web pages was found.\r\n\r\n"
                                  "You can open it yourself: "
                + manual);
    });
}

// Help > "Check for updates...": the checker's transfers run on a worker thread and come back
// through the event loop.
void DesktopProgram::WireUpdateCheck()
{
    m_notesView = std::make_unique<QtReleaseNotesView>(m_window.get());
    auto post = [](std::function<void()> fn) {
        QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(fn), Qt::QueuedConnection);
    };
    m_updateChecker = std::make_unique<UpdateChecker>(m_bench.app(), m_updateProgress, post);
    m_updateChecker->SetNotesView(m_notesView.get());
    m_bench.menus().SetAvailable(MenuCommand::CheckForUpdates);
    m_window->SetCommandHandler(MenuCommand::CheckForUpdates, [this] {
        if (m_updateChecker)
            m_updateChecker->CheckFromMenu();
    });
}

// The script console: console output while no plug-in holds the console, and what scripts write.
void DesktopProgram::WireConsole()
{
    m_consoleDock = new ConsoleDock(m_console, m_encoding, m_window.get());
    m_window->addDockWidget(Qt::BottomDockWidgetArea, m_consoleDock);
    // A strip under the run panel, not half the window: the options of a run stay in view.
    m_window->resizeDocks({ m_consoleDock }, { 170 }, Qt::Vertical);
    m_bench.scripts().engine().SetOutputSink([this](std::string_view text) { m_console.AppendPrinted(text); });
    m_runningWindow = new ScriptRunningWindow(m_bench.runWatch(), m_window.get());
    m_bench.menus().SetAvailable(MenuCommand::ScriptConsole);
    m_window->SetCommandHandler(MenuCommand::ScriptConsole, [this] {
        m_console.SetVisible(true);
        m_consoleDock->raise();
        m_consoleDock->input()->setFocus();
    });
}

// The Dialogue Editor with its node and option dialogs: the main window's "Edit dialogue" and
// "Dialogue editor...", and the node dialog a run, a script or a plug-in opens.
void DesktopProgram::WireEditors()
{
    m_optionDialog = new OptionDialog(m_windows.optionDialog(), m_encoding, m_window.get());
    m_nodeDialog = new NodeDialog(m_windows.nodeDialog(), m_encoding, m_window.get());
    m_editorWindow = new DialogueEditorWindow(m_windows.dialogueEditor(), m_encoding, m_window.get());
    m_windows.SetViews(m_editorWindow, m_nodeDialog, m_optionDialog);
    const CodeTables& tables = m_windows.tables();
    m_variablesWindow = new ScriptVariablesWindow(m_windows.scriptVariables(), m_encoding, m_window.get());
    m_procWindow = new CustomProcEditorWindow(
        m_windows.customProcedures(), m_encoding, tables.completion, tables.definitions, m_window.get());
    m_nodeCodeWindow = new NodeCodeEditorWindow(
        m_windows.nodeCode(), m_encoding, tables.completion, tables.definitions, m_window.get());
    m_paramWindow = new ParameterInputWindow(m_windows.parameterInput(), m_encoding, m_window.get());
    m_windows.SetCodeViews({ m_variablesWindow, m_procWindow, m_nodeCodeWindow, m_paramWindow });
    WireDialogs();
    m_bench.menus().SetAvailable(MenuCommand::CustomProcedures);
    m_window->SetCommandHandler(MenuCommand::CustomProcedures, [this] { m_windows.OpenCustomProcedures(); });
    auto open = [this] { m_windows.OpenDialogueEditor(); };
    m_bench.menus().SetAvailable(MenuCommand::DialogueEditor);
    m_window->SetCommandHandler(MenuCommand::DialogueEditor, open);
    m_panel->SetEditDialogueHandler(open);
    m_panel->SetNodeEditorAvailable(true);
}

// The condition editors, the skill check, float node and timed event editors, the list picker,
// "NPC properties" and "Preferences...".
void DesktopProgram::WireDialogs()
{
    QWidget* parent = m_window.get();
    const CodeTables& tables = m_windows.tables();
    m_conditionsWindow = new ConditionsEditorWindow(m_windows.conditions(), m_encoding, parent);
    m_startConditionsWindow = new StartConditionsWindow(m_windows.startConditions(), m_encoding, parent);
    m_skillWindow = new SkillCheckEditorWindow(m_windows.skillChecks(), m_encoding, parent);
    m_floatWindow = new FloatNodeEditorWindow(m_windows.floatNodes(), m_encoding, parent);
    m_timedEventsWindow = new TimedEventsWindow(m_windows.timedEvents(), m_encoding, parent);
    m_timedEventDataWindow = new TimedEventDataWindow(
        m_windows.timedEvents().data(), m_encoding, tables.completion, tables.definitions, parent);
    m_pickerWindow = new ListPickerWindow(m_windows.picker(), m_encoding, parent);
    m_npcWindow = new NpcPropertiesWindow(m_windows.npcProperties(), m_encoding, parent);
    m_preferencesWindow = new PreferencesWindow(m_windows.preferences(), m_encoding, parent);
    m_windows.SetDialogViews({ m_conditionsWindow, m_startConditionsWindow, m_skillWindow, m_floatWindow,
        m_timedEventsWindow, m_timedEventDataWindow, m_pickerWindow, m_npcWindow, m_preferencesWindow });

    // "Insert command": the entries TE_Commands.dws registers; each runs its script, which puts code
    // at the caret with AddTimeEventCode.
    TimedEventDataWindow* data = m_timedEventDataWindow;
    ScriptHost& scripts = m_bench.scripts();
    data->SetInsertCommandHandler([&scripts](int tag) { scripts.TE_ScriptClick(tag); });
    m_windows.SetTimeEventCodeBox({ [data](const std::string& code) { data->InsertAtCaret(code); },
        [data, this](const std::string& caption, const std::string& shortcut, int tag) {
            data->AddInsertCommand(ToQString(caption, m_encoding), ToQString(shortcut, m_encoding), tag);
        } });

    MainMenuModel& menus = m_bench.menus();
    menus.SetAvailable(MenuCommand::NpcProperties);
    menus.SetAvailable(MenuCommand::Preferences);
    m_window->SetCommandHandler(MenuCommand::NpcProperties, [this] { m_windows.OpenNpcProperties(); });
    m_window->SetCommandHandler(MenuCommand::Preferences, [this] { m_windows.OpenPreferences(); });
}

// The "Developer stuff" menu (shown with /devmode).
void DesktopProgram::WireDeveloperCommands()
{
    MainMenuModel& menus = m_bench.menus();
    menus.SetAvailable(MenuCommand::DumpScriptCommands);
    menus.SetAvailable(MenuCommand::EditFunctionDescriptions);
    m_window->SetCommandHandler(MenuCommand::DumpScriptCommands, [this] {
        if (const script::HostUnit* unit = m_bench.scripts().engine().FindUnit("ZEVFuncs"))
            m_bench.descriptions().Dump(*unit, EngineClasses(), m_bench.app().log());
    });
    m_window->SetCommandHandler(MenuCommand::EditFunctionDescriptions, [this] {
        FuncDescEditorModel model(m_bench.descriptions());
        FuncDescEditorWindow editor(model, m_window.get());
        editor.exec();
    });
}

// The test run's menu commands.
void DesktopProgram::WireRunnerCommands()
{
    App& app = m_bench.app();
    MainMenuModel& menus = m_bench.menus();
    MainWindow& window = *m_window;
    RunPanelModel& runner = m_panelModel;
    RunSession& session = m_bench.run();
    PlayerSetupView& setupView = *m_setupView;
    for (MenuCommand c :
        { MenuCommand::SetupPlayerCharacter, MenuCommand::DialogueTranscripts, MenuCommand::SaveAllTranscripts })
        menus.SetAvailable(c);
    window.SetCommandHandler(MenuCommand::SetupPlayerCharacter,
        [&app, &session, &setupView] { SetupPlayerCharacter(app, setupView, &session); });
    window.SetCommandHandler(
        MenuCommand::DialogueTranscripts, [&runner] { runner.transcriptList().ShowTranscriptList(); });
    window.SetCommandHandler(MenuCommand::SaveAllTranscripts, [&session] { session.SaveAllTranscripts(); });
}

// The plug-ins' entries in the Import, Export, Plugins and Help menus.
void DesktopProgram::ShowPluginMenus()
{
    PluginHost& plugins = m_bench.plugins();
    MainWindow& window = *m_window;
    auto entries = [&plugins](PluginMenu menu) {
        std::vector<MainWindow::DynamicEntry> out;
        for (const PluginMenuEntry& e : plugins.MenuEntries(menu))
            out.push_back({ e.caption, e.shortcut, e.tag });
        return out;
    };
    auto run = [&plugins](int tag) { plugins.PluginExec(tag); };
    window.SetSubmenuEntries(MenuCommand::Import, entries(PluginMenu::Import), run);
    window.SetSubmenuEntries(MenuCommand::Export, entries(PluginMenu::Export), run);
    window.SetMenuEntries(MenuId::Plugins, entries(PluginMenu::Plugins), run);
    window.SetEntriesAfter(MenuCommand::CheckForUpdates, entries(PluginMenu::Help), run);
}

// The "Helper Scripts" menu as the helper scripts registered it.
void DesktopProgram::ShowHelperScripts()
{
    ScriptHost& scripts = m_bench.scripts();
    std::vector<MainWindow::DynamicSubmenu> submenus;
    for (const HelperSubmenu& s : scripts.helpers().menu()) {
        MainWindow::DynamicSubmenu sub { s.caption, {} };
        for (const HelperMenuEntry& e : s.entries)
            sub.entries.push_back({ e.caption, "", e.tag });
        submenus.push_back(std::move(sub));
    }
    m_bench.menus().SetHelperScriptsFound(scripts.helpers().menuVisible());
    m_window->SetSubmenus(MenuId::HelperScripts, submenus, [&scripts](int tag) { scripts.ScriptClick(tag); });
}

} // namespace zev
