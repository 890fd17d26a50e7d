#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/dialogs.h"
#include "app/settings.h"
#include "app/startup_data.h"
#include "base/debug_window_model.h"
#include "base/ini_file.h"
#include "base/log.h"
#include "base/random.h"
#include "base/signal.h"
#include "model/condition_script.h"
#include "model/records.h"

namespace zev {

class TZEV;

inline constexpr std::string_view kAppTitle = "ZEV Dialogue Tool";
inline constexpr std::string_view kUntitled = "untitled";

// What later subsystems plug into the shell: each defaults to doing nothing, so the shell's
// commands run (and are tested) before the subsystem exists.
struct AppHooks {
    std::function<void()> stopTestRun;
    std::function<void()> saveAllTranscripts;
    std::function<void()> clearTranscripts;
    std::function<void()> refreshEditorLists;
    std::function<void()> broadcastPluginUpdate;
    std::function<void(std::string_view)> writeConsoleLine;
    // Runs one console line of script (plug-ins' ExecuteScriptLines, the command-line start).
    std::function<void(std::string_view)> executeScriptConsole;
    // Script lines found in a dialogue file: asked about, then run (the script engine).
    std::function<bool(const std::vector<std::string>&)> confirmExecScript;
    std::function<void(const std::vector<std::string>&)> runExecScript;
};

// The process-wide context: the dialogue, the configuration, the log, the boxes, the shell state.
// One instance, passed by reference to every subsystem.
class App {
public:
    App(Dialogs& dialogs, std::string programFolder);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    Dialogs& dialogs() { return m_dialogs; }
    Logger& log() { return m_log; }
    DebugWindowModel& debugWindow() { return m_debugWindow; }
    Random& random() { return m_random; }
    dialog& dlg() { return *m_dialog; }
    const dialog& dlg() const { return *m_dialog; }
    AppHooks& hooks() { return m_hooks; }

    // "ZEVDlg.ini" and "conditions.ini" of the program folder; missing files read as defaults.
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

    const std::string& programFolder() const { return m_programFolder; }
    // A program-relative path such as "\def\def_list.dws" inside the program folder.
    std::string ProgramPath(std::string_view relative) const;

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

    // After any change to the dialogue: modified, "*" in the title, "Save dialogue" enabled.
    void DialogueChanged();
    // The notifications of the hooks, safe to call before their subsystem exists.
    void RefreshEditorLists();
    void BroadcastPluginUpdate();
    void WriteConsoleLine(std::string_view text);

    Signal<const std::string&> titleChanged;
    Signal<bool> modifiedChanged;
    Signal<bool> saveEnabledChanged;
    Signal<const std::string&> statusChanged;

private:
    Dialogs& m_dialogs;
    std::string m_programFolder;
    Logger m_log;
    DebugWindowModel m_debugWindow;
    Random m_random;
    std::unique_ptr<dialog> m_dialog;
    AppHooks m_hooks;
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
