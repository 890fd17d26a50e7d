// ZEVFuncs: dialogue files, starting programs, plug-ins and definitions.

#include <optional>
#include <utility>
#include <vector>

#include "app/app.h"
#include "app/dialogue_files.h"
#include "app/shell_commands.h"
#include "completion/parse_include.h"
#include "script/script_host.h"
#include "script/zevfuncs.h"
#include "script/zevfuncs_handlers.h"

namespace zev {

namespace handlers {

void LoadDialogue(ZEVFuncs& f, Call& c)
{
    LoadDialogueScript(f.app(), c.GetString("filename"));
}

// Only a written file is reported as saved; the writer shows its own error box otherwise.
void SaveDialogue(ZEVFuncs& f, Call& c)
{
    std::string file = c.GetString("filename");
    if (!WriteDialogueCopy(f.app(), file)) {
        f.Print("Dialogue could not be saved to " + file);
        return;
    }
    f.Print("Dialogue saved to " + file);
    f.app().SetTitle(App::TitleFor(f.app().currentFileName()));
}

void FlushDialogue(ZEVFuncs& f, Call&)
{
    zev::FlushDialogue(f.app());
}

void ExecuteFile(ZEVFuncs& f, Call& c)
{
    LaunchRequest r { c.GetString("app"), c.GetString("params"), c.GetString("defaultdir"),
        static_cast<int>(c.GetInteger("displaycmd")) };
    for (auto [label, text] : { std::pair<const char*, const std::string*> { "app", &r.app }, { "params", &r.params },
             { "defaultdir", &r.folder } })
        if (text->size() > kMaxExecuteText) {
            f.Print(std::string("ExecuteFile: ") + label + " is longer than " + std::to_string(kMaxExecuteText)
                + " characters; nothing was started.");
            return;
        }
    if (!f.app().windows().Launch(r))
        f.Print("ExecuteFile: " + r.app + " could not be started.");
}

void ListPlugins(ZEVFuncs& f, Call&)
{
    if (!f.app().plugins().Attached()) {
        f.NotAvailable("ListPlugins");
        return;
    }
    f.Print("Valid plugins:");
    int number = 1;
    for (const PluginListing& p : f.app().plugins().ListPlugins()) {
        std::string text = std::to_string(number++) + ": " + p.path + " (" + p.name
            + ")\\nInterface Version: " + p.version + "\\nBuild date:    " + p.buildDate
            + "\\nCreation date: " + p.creationDate + "\\n" + p.description + "\\n";
        if (p.loaded)
            text += " >> Plugin is currently loaded into memory\\n";
        if (p.crashed)
            text += " >> Plugin crashed in this session and is not called again\\n";
        f.Print(text);
    }
}

void StartPlugin(ZEVFuncs& f, Call& c)
{
    if (!f.app().plugins().Attached()) {
        f.NotAvailable("StartPlugin");
        return;
    }
    f.app().plugins().StartPlugin(c.GetString("name"));
}

void RequestPluginRefresh(ZEVFuncs& f, Call&)
{
    f.Notify();
}

void DoLink_ShowExports(ZEVFuncs& f, Call& c)
{
    App& app = f.app();
    if (!app.plugins().Attached()) {
        f.NotAvailable("DoLink_ShowExports");
        return;
    }
    std::string path = c.GetString("plugin");
    std::optional<std::vector<std::string>> names = app.plugins().PluginExports(path);
    if (!names) {
        app.dialogs().Error("Cannot read the export table of " + path);
        return;
    }
    std::string text = "Plugin exports " + std::to_string(names->size()) + " functions:";
    for (const std::string& n : *names)
        text += "\r\n" + n;
    app.dialogs().MessageBox(text, MsgIcon::None, MsgButtons::Ok);
}

void AddHelperScript(ZEVFuncs& f, Call& c)
{
    f.host().AddHelperScript(c.GetString("Filename"), c.GetString("Description"), c.GetString("Category"));
}

void LoadDef(ZEVFuncs& f, Call& c)
{
    std::string file = c.GetString("fname");
    if (!f.tables().definitions) {
        f.app().log().Log("Loading definition " + file);
        f.NotAvailable("LoadDef");
        return;
    }
    DefLoadResult r = zev::LoadDef(*f.tables().definitions, file, f.app().log());
    if (!r.read)
        c.Raise(r.ioError.empty() ? "Cannot read " + file : r.ioError);
}

} // namespace handlers

} // namespace zev
