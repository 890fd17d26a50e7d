#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/console.h"
#include "app/core_windows.h"
#include "app/dialogs.h"
#include "app/plugin_bus.h"
#include "app/run_control.h"
#include "app/script_lines.h"
#include "app/settings.h"
#include "app/startup_data.h"
#include "base/debug_window_model.h"
#include "base/ini_file.h"
#include "base/log.h"
#include "base/program_dirs.h"
#include "base/random.h"
#include "base/signal.h"
#include "model/condition_script.h"
#include "model/records.h"

namespace zev {

class TZEV;

inline constexpr std::string_view kAppTitle = "ZEV Dialogue Tool";
inline constexpr std::string_view kUntitled = "untitled";

// The process-wide context: the dialogue, the configuration, the log, the boxes, the shell state.
// One instance, passed by reference to every subsystem.
class App {
public:
    // A portable program folder: everything read and written in it.
    App(Dialogs& dialogs, std::string programFolder);
    App(Dialogs& dialogs, ProgramDirs dirs);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    Dialogs& dialogs() { return m_dialogs; }
    Logger& log() { return m_log; }
    DebugWindowModel& debugWindow() { return m_debugWindow; }
    Random& random() { return m_random; }
    dialog& dlg() { return *m_dialog; }
    const dialog& dlg() const { return *m_dialog; }

    // The subsystems above the shell, attached by the workbench; each defaults to doing nothing, so
    // the shell's commands run (and are tested) without them.
    RunControl& run() { return m_run ? *m_run : m_noRun; }
    void SetRunControl(RunControl* run) { m_run = run; }
    PluginBus& plugins() { return m_plugins ? *m_plugins : m_noPlugins; }
    void SetPluginBus(PluginBus* plugins) { m_plugins = plugins; }
    CoreWindows& windows() { return m_windows ? *m_windows : m_noWindows; }
    void SetWindows(CoreWindows* windows) { m_windows = windows; }
    ScriptLines& scripts() { return m_scripts ? *m_scripts : m_noScripts; }
    void SetScriptLines(ScriptLines* scripts) { m_scripts = scripts; }
    Console& console() { return m_console; }

    // The script section of a loaded dialogue file.
    FileScriptPolicy fileScriptPolicy() const { return m_fileScripts; }
    void SetFileScriptPolicy(FileScriptPolicy policy) { m_fileScripts = policy; }

    // "ZEVDlg.ini" of the configuration folder and "conditions.ini" of the program folder; missing
    // files read as defaults.
    IniFile& config() { return m_config; }
    IniFile& conditions() { return m_conditions; }
    // The values the program keeps in memory after reading the configuration.
    Settings& settings() { return m_settings; }
    PlayerChar& player() { return m_player; }
    StartupData& startupData() { return m_startupData; }
    // The one dialogue reader: its condition state carries over from load to load.
    TZEV& reader() { return *m_reader; }
    // A condition's script expression from conditions.ini.
    std::string BuildConditionScript(const condition& c);

    // Where the shipped data is read and the user's files are written.
    const ProgramDirs& dirs() const { return m_dirs; }
    // The folder of the shipped data (the whole program folder when portable).
    const std::string& programFolder() const { return m_dirs.dataFolder; }
    // A program-relative path such as "\def\def_list.dws" inside the shipped data.
    std::string ProgramPath(std::string_view relative) const;
    // The folder the update check downloads into.
    std::string DownloadsFolder() const { return m_dirs.DownloadsFolder(); }

    // Shell state.
    bool modified() const { return m_modified; }
    void SetModified(bool modified);
    const std::string& currentFileName() const { return m_currentFileName; }
    void SetCurrentFileName(std::string name) { m_currentFileName = std::move(name); }
    bool startingUp() const { return m_startingUp; }
    void SetStartingUp(bool on) { m_startingUp = on; }
    bool devMode() const { return m_devMode; }
    void SetDevMode(bool on) { m_devMode = on; }
    const std::string& buildDateText() const { return m_buildDateText; }
    void SetBuildDateText(std::string text) { m_buildDateText = std::move(text); }
    // "Save dialogue" is enabled after a change and disabled by Save.
    bool saveEnabled() const { return m_saveEnabled; }
    void SetSaveEnabled(bool on);

    // The main window's title.
    const std::string& title() const { return m_title; }
    void SetTitle(std::string title);
    // "ZEV Dialogue Tool - [" + name + "]"
    static std::string TitleFor(std::string_view name);
    const std::string& statusText() const { return m_statusText; }
    void SetStatusText(std::string text);

    // A failure that no command handles: the general error display of the front end (an error box
    // without one).
    void ReportError(std::string_view kind, std::string_view text);

    // After any change to the dialogue: modified, "*" in the title, "Save dialogue" enabled.
    void DialogueChanged();
    // The editor lists follow the dialogue (the windows listen to editorListsRefreshed), and the
    // status bar names the dialogue and counts its nodes.
    void RefreshEditorLists();
    // The code editors' completion lists alone (after the script variables changed).
    void RefreshCompletionList() { completionRefreshing.Emit(); }
    void BroadcastPluginUpdate() { plugins().BroadcastPluginUpdate(); }
    void WriteConsoleLine(std::string_view text) { m_console.WriteLine(text); }

    Signal<const std::string&> titleChanged;
    Signal<bool> modifiedChanged;
    Signal<bool> saveEnabledChanged;
    Signal<const std::string&> statusChanged;
    // RefreshEditorLists: the completion lists first (the code editors), then every other list.
    Signal<> completionRefreshing;
    Signal<> editorListsRefreshed;
    // A loaded file's script section was skipped by the policy (the file's path).
    Signal<const std::string&> fileScriptSkipped;

private:
    Dialogs& m_dialogs;
    ProgramDirs m_dirs;
    Logger m_log;
    DebugWindowModel m_debugWindow;
    Random m_random;
    std::unique_ptr<dialog> m_dialog;
    Console m_console { m_log };
    RunControl m_noRun;
    PluginBus m_noPlugins;
    CoreWindows m_noWindows;
    ScriptLines m_noScripts;
    RunControl* m_run = nullptr;
    PluginBus* m_plugins = nullptr;
    CoreWindows* m_windows = nullptr;
    ScriptLines* m_scripts = nullptr;
    FileScriptPolicy m_fileScripts = FileScriptPolicy::Ask;
    IniFile m_config;
    IniFile m_conditions;
    Settings m_settings;
    PlayerChar m_player;
    StartupData m_startupData;
    std::unique_ptr<TZEV> m_reader;

    bool m_modified = false;
    bool m_startingUp = false;
    bool m_devMode = false;
    bool m_saveEnabled = false;
    std::string m_currentFileName { kUntitled };
    std::string m_buildDateText;
    std::string m_title;
    std::string m_statusText;
};

} // namespace zev
