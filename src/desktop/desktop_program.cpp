#include "desktop/desktop_program.h"

#include "app/dialogue_files.h"
#include "app/shell_commands.h"
#include "app/startup.h"
#include "base/paths.h"
#include "model/dialog_ops.h"
#include "plugins/plugin_script_services.h"
#include "runner/player_setup.h"
#include "runner/zevfuncs_runner.h"

#include <QDesktopServices>
#include <QScreen>
#include <QUrl>

#include "app/gui/debug_window.h"
#include "app/gui/parse_error_log.h"
#include "app/gui/qt_text.h"
#include "app/gui/update_progress_window.h"
#include "desktop/main_window.h"
#include "runner/gui/player_setup_window.h"
#include "runner/gui/run_panel.h"
#include "runner/gui/skill_check_window.h"
#include "runner/gui/termination_query_window.h"
#include "runner/gui/transcript_list_window.h"
#include "runner/gui/transcript_window.h"
#include "script/gui/func_desc_editor.h"

namespace zev {

std::string QuotedForScript(const std::string& text)
{
    std::string out;
    for (char c : text) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return out;
}

DesktopProgram::DesktopProgram(App& app, TextEncoding encoding, std::function<void(QWidget*)> parentBoxes)
    : m_app(app)
    , m_encoding(encoding)
    , m_runner(app)
    , m_scripts(app)
    , m_plugins(app)
    , m_descriptions(app.ProgramPath("func_desc.ini"))
    , m_definitionReader(m_definitions)
{
    InstallScriptHost(app, m_scripts);
    m_window = std::make_unique<MainWindow>(app, m_menus, encoding);
    if (parentBoxes)
        parentBoxes(m_window.get());
    m_errorLog = new ParseErrorLog(encoding, m_window.get());
    m_plugins.SetMainMenu(&m_menus);
    m_plugins.SetTestRunner(&m_runner);
    m_plugins.Install();
    m_window->SetCanClosePlugins(&PluginHost::CanClosePlugins);
    m_window->SetAboutPlugins(&m_aboutPlugins);

    // The host unit of script functions, attached before any script of start-up runs.
    ScriptApiServices services;
    services.definitions = &m_definitionReader;
    services.descriptions = &m_descriptions;
    AddPluginServices(services, m_plugins);
    m_scriptApi = InstallZEVFuncs(app, m_scripts, &m_runner, std::move(services));
    m_window->SetAboutCounts([this] {
        const script::HostUnit* unit = m_scripts.engine().FindUnit("ZEVFuncs");
        return std::make_pair(
            unit ? static_cast<int>(unit->functions().size()) : 0, static_cast<int>(m_plugins.plugins().size()));
    });
    WireFileCommands();

    m_panel = new RunPanelWidget(m_runner, encoding);
    m_window->setCentralWidget(m_panel);
    m_skillView = std::make_unique<QtSkillCheckView>(encoding, m_window.get());
    m_queryView = std::make_unique<QtTerminationQueryView>(encoding, m_window.get());
    m_setupView = std::make_unique<QtPlayerSetupView>(encoding, m_window.get());
    m_runner.SetSkillCheckView(m_skillView.get());
    m_runner.SetTerminationQueryView(m_queryView.get());
    new TranscriptWindow(m_runner.transcriptWindow(), encoding, m_window.get());
    new TranscriptListWindow(m_runner.transcriptList(), encoding, m_window.get());
    WireRunnerCommands();
    WireDeveloperCommands();
    m_plugins.changed.Connect([this] { ShowPluginMenus(); });
}

DesktopProgram::~DesktopProgram()
{
    Shutdown();
    m_app.log().SetDebugWindow(nullptr);
    m_debugWindow.reset();
    m_runner.SetSkillCheckView(nullptr);
    m_runner.SetTerminationQueryView(nullptr);
    m_window.reset();
    m_scriptApi.reset();
}

void DesktopProgram::ReadDefinitionsAndPresets()
{
    m_scripts.LoadScript(m_app.ProgramPath("def/def_list.dws"));
    TCodeSnippets presets(m_snippets);
    presets.SourceFileName = m_app.ProgramPath("def/codesnippets.def");
    if (presets.Execute() && presets.Successful())
        m_app.log().Log("CodeSnippets parsed: " + std::to_string(m_snippets.count()));
    m_app.log().Log(std::to_string(m_definitions.count()) + " completion proposal definitions loaded.");
}

void DesktopProgram::Start(const std::string& firstArgument)
{
    StartupOptions options;
    options.firstArgument = firstArgument;
    options.extensions.definitionsAndPresets = [this] { ReadDefinitionsAndPresets(); };
    options.extensions.scriptsAndHelpers = [this] {
        m_scripts.LoadScript(m_app.ProgramPath("helperscripts/helpermain.dws"));
        ShowHelperScripts();
    };
    options.extensions.updateWindowAndPlugins = [this] {
        m_updateWindow = std::make_unique<UpdateProgressWindow>(m_updateProgress, m_encoding, m_window.get());
        m_plugins.ScanAll();
        ShowPluginMenus();
    };
    RunStartupSequence(m_app, options);
    m_menus.SetDeveloperMode(m_app.devMode());
    InstallRunner(m_app, m_runner);
    m_runner.RefreshStartNodeBox();

    if (m_app.settings().debugMode) {
        m_debugWindow = std::make_unique<DebugWindow>(m_app.debugWindow(), m_encoding, m_window.get());
        // Top right of the screen, clear of the main window's menus.
        if (QScreen* screen = m_window->screen()) {
            QRect area = screen->availableGeometry();
            m_debugWindow->move(area.right() - m_debugWindow->width(), area.top());
        }
        m_debugWindow->show();
    }
    m_window->show();

    if (!firstArgument.empty() && firstArgument != "/devmode")
        m_scripts.ExecuteScriptConsole("LoadDialogue('" + QuotedForScript(firstArgument) + "')");
}

void DesktopProgram::Shutdown()
{
    if (m_shutDown)
        return;
    m_shutDown = true;
    if (m_app.dlg().node_count > 0)
        Release(m_app.dlg(), m_app.log());
    Clear(m_app.dlg());
    m_scriptApi.reset(); // unregisters the host unit
    m_updateWindow.reset();
    m_plugins.FreeRecords();
}

// The file commands.
void DesktopProgram::WireFileCommands()
{
    App& app = m_app;
    MainMenuModel& menus = m_menus;
    MainWindow& window = *m_window;
    ParseErrorLog& errorLog = *m_errorLog;
    PluginHost& plugins = m_plugins;
    for (MenuCommand c :
        { MenuCommand::NewDialogue, MenuCommand::LoadDialogue, MenuCommand::SaveDialogue, MenuCommand::SaveDialogueAs })
        menus.SetAvailable(c);
    menus.SetEnabled(MenuCommand::SaveDialogue, app.saveEnabled());
    app.saveEnabledChanged.Connect([&menus](bool on) { menus.SetEnabled(MenuCommand::SaveDialogue, on); });
    app.statusChanged.Connect([&window](const std::string& text) { window.SetStatusText(text); });
    window.SetCommandHandler(MenuCommand::NewDialogue, [&app] { NewDialogueCommand(app); });
    window.SetCommandHandler(MenuCommand::LoadDialogue, [&app, &errorLog, &plugins] {
        LoadDialogueCommand(app, errorLog, plugins.ImportFilters(), [&plugins](int index, const std::string& path) {
            plugins.ImportWithFilter(index + 2, path); // filter 1 is the dialogue file format
        });
    });
    window.SetCommandHandler(MenuCommand::SaveDialogue, [&app] { SaveCommand(app); });
    window.SetCommandHandler(MenuCommand::SaveDialogueAs, [&app] { SaveAsCommand(app); });
    // The manual ships as HTML and opens in the desktop's browser.
    menus.SetAvailable(MenuCommand::DialogueToolHelp);
    window.SetCommandHandler(MenuCommand::DialogueToolHelp,
        [&app] { QDesktopServices::openUrl(QUrl::fromLocalFile(PathToQString(app.ProgramPath("doc/index.html")))); });
}

// The test run's menu commands.
// The "Developer stuff" menu (shown with /devmode).
void DesktopProgram::WireDeveloperCommands()
{
    m_menus.SetAvailable(MenuCommand::DumpScriptCommands);
    m_menus.SetAvailable(MenuCommand::EditFunctionDescriptions);
    m_window->SetCommandHandler(MenuCommand::DumpScriptCommands, [this] {
        if (const script::HostUnit* unit = m_scripts.engine().FindUnit("ZEVFuncs"))
            m_descriptions.Dump(*unit, EngineClasses(), m_app.log());
    });
    m_window->SetCommandHandler(MenuCommand::EditFunctionDescriptions, [this] {
        FuncDescEditorModel model(m_descriptions);
        FuncDescEditorWindow editor(model, m_window.get());
        editor.exec();
    });
}

void DesktopProgram::WireRunnerCommands()
{
    App& app = m_app;
    MainMenuModel& menus = m_menus;
    MainWindow& window = *m_window;
    TestRunner& runner = m_runner;
    PlayerSetupView& setupView = *m_setupView;
    for (MenuCommand c :
        { MenuCommand::SetupPlayerCharacter, MenuCommand::DialogueTranscripts, MenuCommand::SaveAllTranscripts })
        menus.SetAvailable(c);
    window.SetCommandHandler(MenuCommand::SetupPlayerCharacter,
        [&app, &runner, &setupView] { SetupPlayerCharacter(app, setupView, &runner); });
    window.SetCommandHandler(
        MenuCommand::DialogueTranscripts, [&runner] { runner.transcriptList().ShowTranscriptList(); });
    window.SetCommandHandler(MenuCommand::SaveAllTranscripts, [&runner] { runner.transcripts().SaveAllTranscripts(); });
}

// The plug-ins' entries in the Import, Export, Plugins and Help menus.
void DesktopProgram::ShowPluginMenus()
{
    PluginHost& plugins = m_plugins;
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
    ScriptHost& scripts = m_scripts;
    MainMenuModel& menus = m_menus;
    MainWindow& window = *m_window;
    std::vector<MainWindow::DynamicSubmenu> submenus;
    for (const HelperSubmenu& s : scripts.helpers().menu()) {
        MainWindow::DynamicSubmenu sub { s.caption, {} };
        for (const HelperMenuEntry& e : s.entries)
            sub.entries.push_back({ e.caption, "", e.tag });
        submenus.push_back(std::move(sub));
    }
    menus.SetHelperScriptsFound(scripts.helpers().menuVisible());
    window.SetSubmenus(MenuId::HelperScripts, submenus, [&scripts](int tag) { scripts.ScriptClick(tag); });
}

} // namespace zev
