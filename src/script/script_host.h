#pragma once

// The host side of script execution: running script files and console lines on the one engine,
// console output through the App's console, the helper-script menu that scripts fill.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/console.h"
#include "app/script_lines.h"
#include "base/signal.h"
#include "script/engine/engine.h"
#include "script/helper_scripts.h"

namespace zev {

class App;

class ScriptHost final : public ScriptLines {
public:
    explicit ScriptHost(App& app);
    ~ScriptHost() override;
    ScriptHost(const ScriptHost&) = delete;
    ScriptHost& operator=(const ScriptHost&) = delete;

    script::Engine& engine() { return m_engine; }
    HelperScripts& helpers() { return m_helpers; }

    // Runs the script file at path. False when it is missing or reported messages.
    bool LoadScript(const std::string& path);
    // Runs one console line. False when it reported messages.
    bool ExecuteScriptConsole(std::string_view line) override;
    // The App's console: "\n" written as two characters is a line break; dropped while nothing
    // shows the console.
    void WriteConsoleLine(std::string_view text);
    void Cls();

    // A console plug-in's control takes the console, and gives it back.
    void SetOutputControl(ConsoleSink* control);
    void UnsetOutputControl();
    // Somebody holds the console: Print and the error reports go to it.
    bool consoleHeld() const;

    // Registers a helper script (a missing file is warned about, not refused); false when the
    // table is full.
    bool AddHelperScript(const std::string& fileName, const std::string& description, const std::string& category);
    // Menu actions: run the helper script or time-event command of that table index.
    void ScriptClick(int tag);
    void TE_ScriptClick(int tag);

    // The messages of the last run, formatted with their positions (the command-line tool).
    const std::vector<std::string>& LastMessages() const { return m_lastMessages; }
    // Every run's messages as they are reported.
    std::function<void(const std::vector<std::string>&)> onMessages;
    // The outermost run of a script file or console line ended; true when it was stopped on request
    // (its "Script stopped" message is then not shown as an error).
    Signal<bool> runEnded;

private:
    // The messages of a finished run; false (and nothing reported) when the user stopped it.
    bool Report(const script::Program& program);
    void EndRun(bool stopped);

    App& m_app;
    script::Engine m_engine;
    std::unique_ptr<script::ScriptDialogs> m_dialogs;
    HelperScripts m_helpers;
    std::vector<std::string> m_lastMessages;
};

// The host runs the App's script lines (a dialogue file's section, the command-line start).
void InstallScriptHost(App& app, ScriptHost& host);

} // namespace zev
