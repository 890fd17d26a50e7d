#include "session/workbench.h"

#include <filesystem>

#include "app/startup.h"
#include "model/dialog_ops.h"

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

Workbench::Workbench(Dialogs& dialogs, std::string programFolder)
    : Workbench(dialogs, PortableProgramDirs(std::move(programFolder)))
{
}

Workbench::Workbench(Dialogs& dialogs, ProgramDirs dirs)
    : m_app(dialogs, std::move(dirs))
    , m_scripts(m_app)
    , m_run(m_app)
    , m_plugins(m_app)
    , m_descriptions(m_app.dirs().FuncDescFile())
    , m_definitionReader(m_definitions)
{
    m_app.SetScriptLines(&m_scripts);
    m_app.SetRunControl(&m_run);
    m_plugins.SetMainMenu(&m_menus);
    m_plugins.Install();
    // The host unit is attached before any script of start-up runs.
    m_scriptApi = std::make_unique<ZEVFuncs>(m_app, m_scripts, ScriptTables { &m_definitionReader, &m_descriptions });
    m_scriptApi->Register();
    m_completionId = m_app.completionRefreshing.Connect(
        [this] { RefreshCompletionList(m_app.dlg(), m_definitions, m_app.log(), m_completion); });
}

Workbench::~Workbench()
{
    Shutdown();
    m_app.completionRefreshing.Disconnect(m_completionId);
    m_app.SetRunControl(nullptr);
    m_app.SetScriptLines(nullptr);
}

void Workbench::ReadDefinitionsAndPresets()
{
    m_scripts.LoadScript(m_app.ProgramPath("def/def_list.dws"));
    TCodeSnippets presets(m_snippets);
    presets.SourceFileName = m_app.ProgramPath("def/codesnippets.def");
    if (presets.Execute() && presets.Successful())
        m_app.log().Log("CodeSnippets parsed: " + std::to_string(m_snippets.count()));
    m_app.log().Log(std::to_string(m_definitions.count()) + " completion proposal definitions loaded.");
    RefreshCompletionList(m_app.dlg(), m_definitions, m_app.log(), m_completion);
}

void Workbench::Start(const WorkbenchStart& start)
{
    LoadStartupDataFile(m_app);
    StartupOptions options;
    options.firstArgument = start.firstArgument;
    options.extensions.definitionsAndPresets = [this] { ReadDefinitionsAndPresets(); };
    options.extensions.scriptsAndHelpers
        = [this] { m_scripts.LoadScript(m_app.ProgramPath("helperscripts/helpermain.dws")); };
    options.extensions.updateWindowAndPlugins = [this, &start] {
        if (start.beforePluginScans)
            start.beforePluginScans();
        m_plugins.ScanAll();
    };
    RunStartupSequence(m_app, options);
    m_menus.SetDeveloperMode(m_app.devMode());
    // The timed-event data editor's "Insert command" entries: their script runs when that window is
    // created, after the main window's own sequence.
    m_scripts.LoadScript(m_app.ProgramPath("helperscripts/TE_Commands.dws"));
    m_app.RefreshEditorLists();
}

void Workbench::LoadCommandLineDialogue(const std::string& firstArgument)
{
    if (firstArgument.empty() || firstArgument == "/devmode")
        return;
    // The title and the status bar name the file as the load names it: absolute, whatever the
    // current folder was when the program started.
    std::error_code ec;
    std::filesystem::path path = std::filesystem::absolute(firstArgument, ec);
    const std::string file = ec ? firstArgument : path.lexically_normal().string();
    m_scripts.ExecuteScriptConsole("LoadDialogue('" + QuotedForScript(file) + "')");
}

void Workbench::Shutdown(const std::function<void()>& afterScriptUnit)
{
    if (m_shutDown)
        return;
    m_shutDown = true;
    if (m_app.dlg().node_count > 0)
        Release(m_app.dlg(), m_app.log());
    Clear(m_app.dlg());
    m_scriptApi.reset(); // unregisters the host unit
    if (afterScriptUnit)
        afterScriptUnit();
    m_plugins.FreeRecords();
}

} // namespace zev
