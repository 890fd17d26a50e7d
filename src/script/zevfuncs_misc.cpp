// ZEVFuncs: dialogue files, plug-ins, definitions and starting programs.

#include "app/app.h"
#include "app/dialogue_files.h"
#include "app/shell_commands.h"
#include "completion/parse_include.h"
#include "script/script_host.h"
#include "script/zevfuncs.h"
#include "script/zevfuncs_defs.h"

namespace zev {

using namespace zevdefs;

void ZEVFuncs::AddFileFunctions(Defs& d)
{
    Def(d, "LoadDialogue", { S("filename") }, HostType::Void,
        [this](Call& c) { LoadDialogueScript(m_app, c.GetString("filename")); });

    // Only a written file is reported as saved; the writer shows its own error box otherwise.
    Def(d, "SaveDialogue", { S("filename") }, HostType::Void, [this](Call& c) {
        std::string file = c.GetString("filename");
        if (!WriteDialogueCopy(m_app, file)) {
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
        bool started = m_app.windows().Launch(r);
        if (!started)
            Print("ExecuteFile: " + r.app + " could not be started.");
    });
}

void ZEVFuncs::AddPluginFunctions(Defs& d)
{
    Def(d, "ListPlugins", {}, HostType::Void, [this](Call&) {
        if (!m_app.plugins().Attached()) {
            NotAvailable("ListPlugins");
            return;
        }
        Print("Valid plugins:");
        int number = 1;
        for (const PluginListing& p : m_app.plugins().ListPlugins()) {
            std::string text = std::to_string(number++) + ": " + p.path + " (" + p.name
                + ")\\nInterface Version: " + p.version + "\\nBuild date:    " + p.buildDate
                + "\\nCreation date: " + p.creationDate + "\\n" + p.description + "\\n";
            if (p.loaded)
                text += " >> Plugin is currently loaded into memory\\n";
            Print(text);
        }
    });

    Def(d, "StartPlugin", { S("name") }, HostType::Void, [this](Call& c) {
        if (!m_app.plugins().Attached()) {
            NotAvailable("StartPlugin");
            return;
        }
        m_app.plugins().StartPlugin(c.GetString("name"));
    });

    Def(d, "RequestPluginRefresh", {}, HostType::Void, [this](Call&) { Notify(); });

    Def(d, "DoLink_ShowExports", { S("plugin") }, HostType::Void, [this](Call& c) {
        if (!m_app.plugins().Attached()) {
            NotAvailable("DoLink_ShowExports");
            return;
        }
        std::string path = c.GetString("plugin");
        std::optional<std::vector<std::string>> names = m_app.plugins().PluginExports(path);
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
        if (!m_tables.definitions) {
            m_app.log().Log("Loading definition " + file);
            NotAvailable("LoadDef");
            return;
        }
        DefLoadResult r = LoadDef(*m_tables.definitions, file, m_app.log());
        if (!r.read)
            c.Raise(r.ioError.empty() ? "Cannot read " + file : r.ioError);
    });
}

} // namespace zev
