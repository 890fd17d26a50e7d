#pragma once

// The desktop program put together: every subsystem, the main window and its windows, wired as
// start-up wires them. main() only adds the QApplication; tests build one over a temporary
// program folder with scripted boxes.

#include "app/app.h"
#include "app/main_menu.h"
#include "app/update_progress.h"
#include "completion/code_snippets.h"
#include "completion/parse_include.h"
#include "plugins/about_plugins.h"
#include "plugins/plugin_host.h"
#include "runner/test_runner.h"
#include "script/func_desc.h"
#include "script/script_host.h"
#include "script/zevfuncs.h"

#include <functional>
#include <memory>
#include <string>

#include "base/codepage.h"

class QWidget;

namespace zev {

class DebugWindow;
class UpdateProgressWindow;
class MainWindow;
class ParseErrorLog;
class RunPanelWidget;
class QtPlayerSetupView;
class QtSkillCheckView;
class QtTerminationQueryView;

class DesktopProgram {
public:
    // parentBoxes is told the main window, for boxes to centre on it.
    DesktopProgram(App& app, TextEncoding encoding, std::function<void(QWidget*)> parentBoxes = {});
    ~DesktopProgram();
    DesktopProgram(const DesktopProgram&) = delete;
    DesktopProgram& operator=(const DesktopProgram&) = delete;

    // The start-up sequence, the debug window in debug mode, the main window shown, then the
    // dialogue named by the first argument loaded through the console line.
    void Start(const std::string& firstArgument);
    // After the main window's close was granted: the dialogue's records, the host unit of script
    // functions, the "Update progress" window, the plug-ins' records, in that order. Once only;
    // the destructor runs it when nobody did.
    void Shutdown();

    MainWindow& window() { return *m_window; }
    MainMenuModel& menus() { return m_menus; }
    TestRunner& runner() { return m_runner; }
    ScriptHost& scripts() { return m_scripts; }
    PluginHost& plugins() { return m_plugins; }
    FuncDescStore& descriptions() { return m_descriptions; }
    RunPanelWidget& panel() { return *m_panel; }
    UpdateProgressModel& updateProgress() { return m_updateProgress; }
    UpdateProgressWindow* updateProgressWindow() { return m_updateWindow.get(); }

private:
    void WireFileCommands();
    void WireRunnerCommands();
    void WireDeveloperCommands();
    void ShowPluginMenus();
    void ShowHelperScripts();
    void ReadDefinitionsAndPresets();

    App& m_app;
    TextEncoding m_encoding;
    MainMenuModel m_menus;
    // Before the window: the panel and the transcript windows hold on to it until they go.
    TestRunner m_runner;
    ScriptHost m_scripts;
    PluginHost m_plugins;
    AboutPluginsModel m_aboutPlugins { m_plugins };
    FuncDescStore m_descriptions;
    DefinitionTable m_definitions;
    TParseInclude m_definitionReader;
    CodeSnippetTable m_snippets;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<ZEVFuncs> m_scriptApi; // unregistered before the script host goes
    ParseErrorLog* m_errorLog = nullptr;
    RunPanelWidget* m_panel = nullptr; // owned by the window
    std::unique_ptr<QtSkillCheckView> m_skillView;
    std::unique_ptr<QtTerminationQueryView> m_queryView;
    std::unique_ptr<QtPlayerSetupView> m_setupView;
    std::unique_ptr<DebugWindow> m_debugWindow;
    UpdateProgressModel m_updateProgress;
    std::unique_ptr<UpdateProgressWindow> m_updateWindow; // from start-up to shut-down
    bool m_shutDown = false;
};

// A text inside a script's single-quoted literal.
std::string QuotedForScript(const std::string& text);

} // namespace zev
