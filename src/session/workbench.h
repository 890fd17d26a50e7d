#pragma once

// The program's core, built and wired in one place: the App and every subsystem (settings, log,
// script host with the host unit, run session and transcripts, plug-in host, definitions, code
// presets, function descriptions, helper scripts, menus). The desktop program binds its windows to
// one; each command of zevdlg-cli and the tests build the same one from a program folder, so a
// script or a plug-in behaves the same through every front end.

#include <functional>
#include <memory>
#include <string>

#include "app/app.h"
#include "app/main_menu.h"
#include "completion/code_snippets.h"
#include "completion/completion_list.h"
#include "completion/parse_include.h"
#include "plugins/plugin_host.h"
#include "runner/run_session.h"
#include "script/func_desc.h"
#include "script/script_host.h"
#include "script/script_run_watch.h"
#include "script/zevfuncs.h"

namespace zev {

struct WorkbenchStart {
    std::string firstArgument; // "/devmode", a dialogue file, or empty
    // Run by start-up right before the plug-in scans (the desktop's "Update progress" window).
    std::function<void()> beforePluginScans;
};

class Workbench {
public:
    // A portable program folder.
    Workbench(Dialogs& dialogs, std::string programFolder);
    // The folders as the front end decided and prepared them.
    Workbench(Dialogs& dialogs, ProgramDirs dirs);
    ~Workbench();
    Workbench(const Workbench&) = delete;
    Workbench& operator=(const Workbench&) = delete;

    App& app() { return m_app; }
    ScriptHost& scripts() { return m_scripts; }
    ZEVFuncs& scriptApi() { return *m_scriptApi; }
    RunSession& run() { return m_run; }
    PluginHost& plugins() { return m_plugins; }
    FuncDescStore& descriptions() { return m_descriptions; }
    DefinitionTable& definitions() { return m_definitions; }
    CodeSnippetTable& snippets() { return m_snippets; }
    // What the code editors propose; rebuilt by every refresh of the editor lists.
    const CompletionLists& completion() const { return m_completion; }
    MainMenuModel& menus() { return m_menus; }
    // The "Script running..." indicator's model of long runs.
    ScriptRunWatch& runWatch() { return m_runWatch; }

    // The program's start-up: "messages.dat", the log reset, the configuration, the definition
    // files and code presets, the player character, the helper scripts, the function
    // descriptions, the plug-in scans and "Init complete."; then the time-event commands script.
    // The log's file (or none) is set before.
    void Start(const WorkbenchStart& start = {});
    // Loads the dialogue named on the command line through the console line, as the program does
    // once its windows exist. Nothing for "/devmode" or an empty argument.
    void LoadCommandLineDialogue(const std::string& firstArgument);

    // After the close was granted: the dialogue's records, the host unit of script functions,
    // whatever the front end added (the "Update progress" window), the plug-ins' records, in that
    // order. Once only; the destructor runs it when nobody did.
    void Shutdown(const std::function<void()>& afterScriptUnit = {});
    bool isShutDown() const { return m_shutDown; }

private:
    void ReadDefinitionsAndPresets();

    App m_app;
    MainMenuModel m_menus;
    ScriptHost m_scripts;
    ScriptRunWatch m_runWatch { m_scripts };
    RunSession m_run;
    PluginHost m_plugins;
    FuncDescStore m_descriptions;
    DefinitionTable m_definitions;
    TParseInclude m_definitionReader;
    CodeSnippetTable m_snippets;
    CompletionLists m_completion;
    std::size_t m_completionId = 0;
    std::unique_ptr<ZEVFuncs> m_scriptApi; // unregistered before the script host goes
    bool m_shutDown = false;
};

// A text inside a script's single-quoted literal.
std::string QuotedForScript(const std::string& text);

} // namespace zev
