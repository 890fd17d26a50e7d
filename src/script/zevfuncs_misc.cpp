// ZEVFuncs: dialogue files, plug-ins, definitions and starting programs.

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>

#include "app/app.h"
#include "app/dialogue_files.h"
#include "app/shell_commands.h"
#include "completion/parse_include.h"
#include "script/script_host.h"
#include "script/zevfuncs.h"
#include "script/zevfuncs_defs.h"

extern char** environ;

namespace zev {

using namespace zevdefs;

namespace {

bool IsExecutableFile(const std::string& path)
{
    struct stat st { };
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// Started programs are reaped on the next start, so none lingers as a zombie for long.
void ReapChildren(std::vector<pid_t>& children)
{
    std::erase_if(children, [](pid_t pid) { return waitpid(pid, nullptr, WNOHANG) != 0; });
}

} // namespace

bool LaunchFile(const LaunchRequest& request)
{
    static std::vector<pid_t> children;
    ReapChildren(children);
    std::vector<std::string> args;
    if (IsExecutableFile(request.app)) {
        args.push_back(request.app);
        std::istringstream words(request.params);
        for (std::string w; words >> w;)
            args.push_back(w);
    } else {
        args = { "xdg-open", request.app };
    }
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!request.folder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, request.folder.c_str());
    pid_t pid = 0;
    int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return false;
    children.push_back(pid);
    return true;
}

void ZEVFuncs::AddFileFunctions(Defs& d)
{
    Def(d, "LoadDialogue", { S("filename") }, HostType::Void,
        [this](Call& c) { LoadDialogueScript(m_app, c.GetString("filename")); });

    // Only a written file is reported as saved; the writer shows its own error box otherwise.
    Def(d, "SaveDialogue", { S("filename") }, HostType::Void, [this](Call& c) {
        std::string file = c.GetString("filename");
        if (!WriteDialogue(m_app, file)) {
            Print("Dialogue could not be saved to " + file);
            return;
        }
        Print("Dialogue saved to " + file);
        m_app.SetTitle(App::TitleFor(m_app.currentFileName()));
    });

    Def(d, "FlushDialogue", {}, HostType::Void, [this](Call&) { FlushDialogue(m_app); });

    Def(d, "ExecuteFile", { S("app"), S("params"), S("defaultdir"), I("displaycmd") }, HostType::Void, [this](Call& c) {
        LaunchRequest r { c.GetString("app"), c.GetString("params"), c.GetString("defaultdir"),
            static_cast<int>(c.GetInteger("displaycmd")) };
        for (auto [label, text] : { std::pair<const char*, const std::string*> { "app", &r.app },
                 { "params", &r.params }, { "defaultdir", &r.folder } })
            if (text->size() > kMaxExecuteText) {
                Print(std::string("ExecuteFile: ") + label + " is longer than " + std::to_string(kMaxExecuteText)
                    + " characters; nothing was started.");
                return;
            }
        bool started = m_services.launch ? m_services.launch(r) : LaunchFile(r);
        if (!started)
            Print("ExecuteFile: " + r.app + " could not be started.");
    });
}

void ZEVFuncs::AddPluginFunctions(Defs& d)
{
    Def(d, "ListPlugins", {}, HostType::Void, [this](Call&) {
        if (!m_services.listPlugins) {
            NotAvailable("ListPlugins");
            return;
        }
        Print("Valid plugins:");
        int number = 1;
        for (const PluginListing& p : m_services.listPlugins()) {
            std::string text = std::to_string(number++) + ": " + p.path + " (" + p.name
                + ")\\nInterface Version: " + p.version + "\\nBuild date:    " + p.buildDate
                + "\\nCreation date: " + p.creationDate + "\\n" + p.description + "\\n";
            if (p.loaded)
                text += " >> Plugin is currently loaded into memory\\n";
            Print(text);
        }
    });

    Def(d, "StartPlugin", { S("name") }, HostType::Void, [this](Call& c) {
        if (!m_services.startPlugin) {
            NotAvailable("StartPlugin");
            return;
        }
        m_services.startPlugin(c.GetString("name"));
    });

    Def(d, "RequestPluginRefresh", {}, HostType::Void, [this](Call&) { Notify(); });

    Def(d, "DoLink_ShowExports", { S("plugin") }, HostType::Void, [this](Call& c) {
        if (!m_services.pluginExports) {
            NotAvailable("DoLink_ShowExports");
            return;
        }
        std::string path = c.GetString("plugin");
        std::optional<std::vector<std::string>> names = m_services.pluginExports(path);
        if (!names) {
            m_app.dialogs().Error("Cannot read the export table of " + path);
            return;
        }
        std::string text = "Plugin exports " + std::to_string(names->size()) + " functions:";
        for (const std::string& n : *names)
            text += "\r\n" + n;
        m_app.dialogs().MessageBox(text, MsgIcon::None, MsgButtons::Ok);
    });

    Def(d, "AddHelperScript", { S("Filename"), S("Description"), S("Category") }, HostType::Void, [this](Call& c) {
        m_host.AddHelperScript(c.GetString("Filename"), c.GetString("Description"), c.GetString("Category"));
    });

    Def(d, "LoadDef", { S("fname") }, HostType::Void, [this](Call& c) {
        std::string file = c.GetString("fname");
        if (!m_services.definitions) {
            m_app.log().Log("Loading definition " + file);
            NotAvailable("LoadDef");
            return;
        }
        DefLoadResult r = LoadDef(*m_services.definitions, file, m_app.log());
        if (!r.read)
            c.Raise(r.ioError.empty() ? "Cannot read " + file : r.ioError);
    });
}

} // namespace zev
