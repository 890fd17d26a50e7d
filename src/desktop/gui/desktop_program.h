#pragma once

// The desktop program: the Qt windows bound to a workbench. The workbench holds the core (built
// and wired once); this class creates the main window and the windows the core may open, binds
// them to their models and runs start-up and shut-down around them. main() only adds the
// QApplication; tests build one over a workbench in a temporary program folder.

#include <functional>
#include <memory>
#include <string>

#include "app/console_window.h"
#include "app/core_windows.h"
#include "app/update_progress.h"
#include "base/codepage.h"
#include "editors/editor_windows.h"
#include "plugins/about_plugins.h"
#include "runner/run_panel_model.h"
#include "session/workbench.h"
#include "update/update_checker.h"

class QWidget;

namespace zev {

class ConsoleDock;
class DialogueEditorWindow;
class NodeDialog;
class OptionDialog;
class ScriptVariablesWindow;
class CustomProcEditorWindow;
class NodeCodeEditorWindow;
class ParameterInputWindow;
class ConditionsEditorWindow;
class StartConditionsWindow;
class SkillCheckEditorWindow;
class FloatNodeEditorWindow;
class TimedEventsWindow;
class TimedEventDataWindow;
class ListPickerWindow;
class NpcPropertiesWindow;
class PreferencesWindow;
class ScriptRunningWindow;
class DebugWindow;
class UpdateProgressWindow;
class MainWindow;
class ParseErrorLog;
class RunPanelWidget;
class QtPlayerSetupView;
class QtSkillCheckView;
class QtTerminationQueryView;
class QtReleaseNotesView;

// The windows of the desktop program that the core opens on its own: the editors, the general
// error display.
class DesktopWindows final : public EditorWindows {
public:
    DesktopWindows(App& app, CodeTables tables, TextEncoding encoding, std::function<QWidget*()> parent)
        : EditorWindows(app, tables)
        , m_encoding(encoding)
        , m_parent(std::move(parent))
    {
    }
    bool ShowErrorReport(const ExceptionReport& report) override;

private:
    TextEncoding m_encoding;
    std::function<QWidget*()> m_parent;
};

class DesktopProgram {
public:
    // parentBoxes is told the main window, for boxes to centre on it.
    DesktopProgram(Workbench& bench, TextEncoding encoding, std::function<void(QWidget*)> parentBoxes = {});
    ~DesktopProgram();
    DesktopProgram(const DesktopProgram&) = delete;
    DesktopProgram& operator=(const DesktopProgram&) = delete;

    // The start-up sequence, the debug window in debug mode, the main window shown, then the
    // dialogue named by the first argument loaded through the console line.
    void Start(const std::string& firstArgument);
    // The program checks for updates when its window is first shown (and the setting is on); a
    // program built for a test leaves the network alone unless the test turns this on.
    void SetUpdateCheckAtStart(bool on) { m_updateCheckAtStart = on; }
    // After the main window's close was granted: the workbench's shut-down, the "Update progress"
    // window going after the host unit.
    void Shutdown();

    Workbench& bench() { return m_bench; }
    App& app() { return m_bench.app(); }
    MainWindow& window() { return *m_window; }
    MainMenuModel& menus() { return m_bench.menus(); }
    RunPanelModel& runner() { return m_panelModel; }
    ScriptHost& scripts() { return m_bench.scripts(); }
    PluginHost& plugins() { return m_bench.plugins(); }
    FuncDescStore& descriptions() { return m_bench.descriptions(); }
    RunPanelWidget& panel() { return *m_panel; }
    ConsoleWindowModel& console() { return m_console; }
    ConsoleDock& consoleDock() { return *m_consoleDock; }
    ScriptRunningWindow& runningWindow() { return *m_runningWindow; }
    EditorWindows& editors() { return m_windows; }
    DialogueEditorWindow& dialogueEditorWindow() { return *m_editorWindow; }
    NodeDialog& nodeDialog() { return *m_nodeDialog; }
    OptionDialog& optionDialog() { return *m_optionDialog; }
    ScriptVariablesWindow& scriptVariablesWindow() { return *m_variablesWindow; }
    CustomProcEditorWindow& customProcWindow() { return *m_procWindow; }
    NodeCodeEditorWindow& nodeCodeWindow() { return *m_nodeCodeWindow; }
    ParameterInputWindow& parameterInputWindow() { return *m_paramWindow; }
    TimedEventDataWindow& timedEventDataWindow() { return *m_timedEventDataWindow; }
    UpdateProgressModel& updateProgress() { return m_updateProgress; }
    UpdateProgressWindow* updateProgressWindow() { return m_updateWindow.get(); }
    UpdateChecker& updateChecker() { return *m_updateChecker; }

private:
    void WireFileCommands();
    void WireRunnerCommands();
    void WireDeveloperCommands();
    void WireConsole();
    void WireEditors();
    void WireDialogs();
    void WireUpdateCheck();
    void ShowPluginMenus();
    void ShowHelperScripts();

    Workbench& m_bench;
    TextEncoding m_encoding;
    // Before the window: the panel and the transcript windows hold on to it until they go.
    RunPanelModel m_panelModel;
    AboutPluginsModel m_aboutPlugins;
    ConsoleWindowModel m_console;
    std::unique_ptr<MainWindow> m_window;
    DesktopWindows m_windows;
    ParseErrorLog* m_errorLog = nullptr;
    RunPanelWidget* m_panel = nullptr; // owned by the window
    ConsoleDock* m_consoleDock = nullptr; // owned by the window
    ScriptRunningWindow* m_runningWindow = nullptr; // owned by the window
    DialogueEditorWindow* m_editorWindow = nullptr; // these three too, made once and reused
    NodeDialog* m_nodeDialog = nullptr;
    OptionDialog* m_optionDialog = nullptr;
    ScriptVariablesWindow* m_variablesWindow = nullptr; // and the code windows
    CustomProcEditorWindow* m_procWindow = nullptr;
    NodeCodeEditorWindow* m_nodeCodeWindow = nullptr;
    ParameterInputWindow* m_paramWindow = nullptr;
    ConditionsEditorWindow* m_conditionsWindow = nullptr; // the other editors and dialogs
    StartConditionsWindow* m_startConditionsWindow = nullptr;
    SkillCheckEditorWindow* m_skillWindow = nullptr;
    FloatNodeEditorWindow* m_floatWindow = nullptr;
    TimedEventsWindow* m_timedEventsWindow = nullptr;
    TimedEventDataWindow* m_timedEventDataWindow = nullptr;
    ListPickerWindow* m_pickerWindow = nullptr;
    NpcPropertiesWindow* m_npcWindow = nullptr;
    PreferencesWindow* m_preferencesWindow = nullptr;
    std::unique_ptr<QtSkillCheckView> m_skillView;
    std::unique_ptr<QtTerminationQueryView> m_queryView;
    std::unique_ptr<QtPlayerSetupView> m_setupView;
    std::unique_ptr<DebugWindow> m_debugWindow;
    UpdateProgressModel m_updateProgress;
    std::unique_ptr<UpdateProgressWindow> m_updateWindow; // from start-up to shut-down
    std::unique_ptr<QtReleaseNotesView> m_notesView;
    std::unique_ptr<UpdateChecker> m_updateChecker; // its transfers end before shut-down goes on
    bool m_updateCheckAtStart = false;
    std::size_t m_pluginsChangedId = 0;
    std::size_t m_helpersChangedId = 0;
};

} // namespace zev
