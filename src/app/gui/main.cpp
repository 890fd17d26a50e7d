// The core headers come first: they must not see Qt's keyword macros.
#include "app/app.h"
#include "app/dialogue_files.h"
#include "app/main_menu.h"
#include "app/paths.h"
#include "app/shell_commands.h"
#include "app/startup.h"
#include "runner/player_setup.h"
#include "runner/test_runner.h"
#include "plugins/plugin_host.h"
#include "plugins/plugin_script_services.h"
#include "completion/code_snippets.h"
#include "completion/parse_include.h"
#include "script/func_desc.h"
#include "script/zevfuncs.h"
#include "script/zevfuncs_runner.h"
#include "script/script_host.h"

#include <QApplication>
#include <QDesktopServices>
#include <QScreen>
#include <QUrl>

#include <clocale>
#include <memory>

#include "app/gui/debug_window.h"
#include "app/gui/exception_report_window.h"
#include "app/gui/main_window.h"
#include "app/gui/parse_error_log.h"
#include "app/gui/qt_dialogs.h"
#include "app/gui/qt_text.h"
#include "runner/gui/player_setup_window.h"
#include "runner/gui/run_panel.h"
#include "runner/gui/skill_check_window.h"
#include "runner/gui/termination_query_window.h"
#include "runner/gui/transcript_list_window.h"
#include "runner/gui/transcript_window.h"

namespace {

// The file commands that exist so far.
void WireFileCommands(zev::App& app, zev::MainMenuModel& menus, zev::MainWindow& window, zev::ParseErrorLog& errorLog,
                      zev::PluginHost& plugins)
{
    using zev::MenuCommand;
    for (MenuCommand c : {MenuCommand::NewDialogue, MenuCommand::LoadDialogue, MenuCommand::SaveDialogue,
                          MenuCommand::SaveDialogueAs})
        menus.SetAvailable(c);
    menus.SetEnabled(MenuCommand::SaveDialogue, app.saveEnabled());
    app.saveEnabledChanged.Connect([&menus](bool on) { menus.SetEnabled(MenuCommand::SaveDialogue, on); });
    app.statusChanged.Connect([&window](const std::string& text) { window.SetStatusText(text); });
    window.SetCommandHandler(MenuCommand::NewDialogue, [&app] { zev::NewDialogueCommand(app); });
    window.SetCommandHandler(MenuCommand::LoadDialogue, [&app, &errorLog, &plugins] {
        zev::LoadDialogueCommand(app, errorLog, plugins.ImportFilters(), [&plugins](int index, const std::string& path) {
            plugins.ImportWithFilter(index + 2, path); // filter 1 is the dialogue file format
        });
    });
    window.SetCommandHandler(MenuCommand::SaveDialogue, [&app] { zev::SaveCommand(app); });
    window.SetCommandHandler(MenuCommand::SaveDialogueAs, [&app] { zev::SaveAsCommand(app); });
    // The manual ships as HTML and opens in the desktop's browser.
    menus.SetAvailable(MenuCommand::DialogueToolHelp);
    window.SetCommandHandler(MenuCommand::DialogueToolHelp, [&app] {
        QDesktopServices::openUrl(QUrl::fromLocalFile(zev::PathToQString(app.ProgramPath("doc/index.html"))));
    });
}

// The test run's menu commands.
void WireRunnerCommands(zev::App& app, zev::MainMenuModel& menus, zev::MainWindow& window, zev::TestRunner& runner,
                        zev::PlayerSetupView& setupView)
{
    using zev::MenuCommand;
    for (MenuCommand c : {MenuCommand::SetupPlayerCharacter, MenuCommand::DialogueTranscripts,
                          MenuCommand::SaveAllTranscripts})
        menus.SetAvailable(c);
    window.SetCommandHandler(MenuCommand::SetupPlayerCharacter,
                             [&app, &runner, &setupView] { zev::SetupPlayerCharacter(app, setupView, &runner); });
    window.SetCommandHandler(MenuCommand::DialogueTranscripts, [&runner] { runner.transcriptList().ShowTranscriptList(); });
    window.SetCommandHandler(MenuCommand::SaveAllTranscripts, [&runner] { runner.transcripts().SaveAllTranscripts(); });
}

// The plug-ins' entries in the Import, Export, Plugins and Help menus.
void ShowPluginMenus(zev::PluginHost& plugins, zev::MainWindow& window)
{
    auto entries = [&plugins](zev::PluginMenu menu) {
        std::vector<zev::MainWindow::DynamicEntry> out;
        for (const zev::PluginMenuEntry& e : plugins.MenuEntries(menu))
            out.push_back({e.caption, e.shortcut, e.tag});
        return out;
    };
    auto run = [&plugins](int tag) { plugins.PluginExec(tag); };
    window.SetSubmenuEntries(zev::MenuCommand::Import, entries(zev::PluginMenu::Import), run);
    window.SetSubmenuEntries(zev::MenuCommand::Export, entries(zev::PluginMenu::Export), run);
    window.SetMenuEntries(zev::MenuId::Plugins, entries(zev::PluginMenu::Plugins), run);
    window.SetEntriesAfter(zev::MenuCommand::CheckForUpdates, entries(zev::PluginMenu::Help), run);
}

// The "Helper Scripts" menu as the helper scripts registered it.
void ShowHelperScripts(zev::ScriptHost& scripts, zev::MainMenuModel& menus, zev::MainWindow& window)
{
    std::vector<zev::MainWindow::DynamicSubmenu> submenus;
    for (const zev::HelperSubmenu& s : scripts.helpers().menu()) {
        zev::MainWindow::DynamicSubmenu sub{s.caption, {}};
        for (const zev::HelperMenuEntry& e : s.entries)
            sub.entries.push_back({e.caption, "", e.tag});
        submenus.push_back(std::move(sub));
    }
    menus.SetHelperScriptsFound(scripts.helpers().menuVisible());
    window.SetSubmenus(zev::MenuId::HelperScripts, submenus, [&scripts](int tag) { scripts.ScriptClick(tag); });
}

// A text inside a script's single-quoted literal.
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

} // namespace

int main(int argc, char** argv)
{
    zev::ZevApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZEV Dialogue Tool"));
    QApplication::setApplicationVersion(QStringLiteral(ZEV_VERSION_TEXT));
    // Qt adopts the user's locale; every float the program writes or reads uses ".".
    std::setlocale(LC_NUMERIC, "C");
    QStringList args = QApplication::arguments(); // Qt's own options already taken out
    std::string firstArg = args.size() > 1 ? zev::PathFromQString(args[1]) : std::string();

    zev::QtDialogs dialogs;
    zev::App app(dialogs, zev::ResolveProgramFolder());
    dialogs.SetEncoding(zev::TextEncodingIsUtf8(app.config()) ? zev::TextEncoding::Utf8 : zev::TextEncoding::Cp1252);
    qapp.SetReportContext(&app, dialogs.encoding());
    zev::LoadStartupDataFile(app);
    app.SetStartingUp(true);
    zev::Logger& log = app.log();
    log.SetFilePath(app.ProgramPath("debug.log"));
    log.SetErrorHandler([&dialogs](const std::string& what) { dialogs.Error(what); });

    zev::MainMenuModel menus;
    // Declared before the window: the panel and the transcript windows hold on to it until they go.
    zev::TestRunner runner(app);
    // Scripts: console lines of plug-ins, script lines of dialogue files.
    zev::ScriptHost scripts(app);
    zev::InstallScriptHost(app, scripts);
    zev::MainWindow window(app, menus, dialogs.encoding());
    dialogs.SetParent(&window);
    zev::ParseErrorLog errorLog(dialogs.encoding(), &window);
    zev::PluginHost plugins(app);
    plugins.SetMainMenu(&menus);
    plugins.SetTestRunner(&runner);
    plugins.Install();
    window.SetCanClosePlugins(&zev::PluginHost::CanClosePlugins);

    // The host unit of script functions, attached before any script of start-up runs.
    zev::FuncDescStore descriptions(app.ProgramPath("func_desc.ini"));
    zev::DefinitionTable definitions;
    zev::TParseInclude definitionReader(definitions);
    zev::CodeSnippetTable snippets;
    zev::ScriptApiServices services;
    services.definitions = &definitionReader;
    services.descriptions = &descriptions;
    zev::AddPluginServices(services, plugins);
    std::unique_ptr<zev::ZEVFuncs> scriptApi = zev::InstallZEVFuncs(app, scripts, &runner, std::move(services));
    window.SetAboutCounts([&scripts, &plugins] {
        const zev::script::HostUnit* unit = scripts.engine().FindUnit("ZEVFuncs");
        return std::make_pair(unit ? static_cast<int>(unit->functions().size()) : 0,
                              static_cast<int>(plugins.plugins().size()));
    });
    WireFileCommands(app, menus, window, errorLog, plugins);

    auto* panel = new zev::RunPanelWidget(runner, dialogs.encoding());
    window.setCentralWidget(panel);
    zev::QtSkillCheckView skillView(dialogs.encoding(), &window);
    zev::QtTerminationQueryView queryView(dialogs.encoding(), &window);
    zev::QtPlayerSetupView setupView(dialogs.encoding(), &window);
    runner.SetSkillCheckView(&skillView);
    runner.SetTerminationQueryView(&queryView);
    new zev::TranscriptWindow(runner.transcriptWindow(), dialogs.encoding(), &window);
    new zev::TranscriptListWindow(runner.transcriptList(), dialogs.encoding(), &window);
    WireRunnerCommands(app, menus, window, runner, setupView);

    zev::StartupOptions options;
    options.firstArgument = firstArg;
    options.extensions.definitionsAndPresets = [&] {
        scripts.LoadScript(app.ProgramPath("def/def_list.dws"));
        zev::TCodeSnippets presets(snippets);
        presets.SourceFileName = app.ProgramPath("def/codesnippets.def");
        if (presets.Execute() && presets.Successful())
            log.Log("CodeSnippets parsed: " + std::to_string(snippets.count()));
        log.Log(std::to_string(definitions.count()) + " completion proposal definitions loaded.");
    };
    options.extensions.scriptsAndHelpers = [&] {
        scripts.LoadScript(app.ProgramPath("helperscripts/helpermain.dws"));
        ShowHelperScripts(scripts, menus, window);
    };
    options.extensions.updateWindowAndPlugins = [&] {
        plugins.ScanAll();
        ShowPluginMenus(plugins, window);
    };
    plugins.changed.Connect([&] { ShowPluginMenus(plugins, window); });
    zev::RunStartupSequence(app, options);
    menus.SetDeveloperMode(app.devMode());
    zev::InstallRunner(app, runner);
    runner.RefreshStartNodeBox();

    std::unique_ptr<zev::DebugWindow> debugWindow;
    if (app.settings().debugMode) {
        debugWindow = std::make_unique<zev::DebugWindow>(app.debugWindow(), dialogs.encoding(), &window);
        // Top right of the screen, clear of the main window's menus.
        QRect area = window.screen()->availableGeometry();
        debugWindow->move(area.right() - debugWindow->width(), area.top());
        debugWindow->show();
    }
    window.show();

    if (!firstArg.empty() && firstArg != "/devmode")
        scripts.ExecuteScriptConsole("LoadDialogue('" + QuotedForScript(firstArg) + "')");

    int code = QApplication::exec();
    log.SetDebugWindow(nullptr);
    return code;
}
