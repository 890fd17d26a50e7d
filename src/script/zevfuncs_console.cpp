// ZEVFuncs: console, help and small utilities.

#include <sys/stat.h>

#include <algorithm>
#include <ctime>
#include <filesystem>

#include "app/app.h"
#include "app/settings.h"
#include "app/shell_commands.h"
#include "base/paths.h"
#include "script/func_desc.h"
#include "script/script_host.h"
#include "script/zevfuncs.h"
#include "script/zevfuncs_handlers.h"

namespace zev {

namespace fs = std::filesystem;

namespace {

std::string ProgramFileTime()
{
    struct stat st { };
    if (stat("/proc/self/exe", &st) != 0)
        return {};
    std::tm local {};
    localtime_r(&st.st_mtime, &local);
    char buf[64];
    std::strftime(buf, sizeof buf, "%x %X", &local);
    return buf;
}

std::string Replace(std::string_view src, std::string_view from, std::string_view to, bool all)
{
    std::string out(src);
    if (from.empty())
        return out;
    std::size_t pos = 0;
    while ((pos = out.find(from, pos)) != std::string::npos) {
        out.replace(pos, from.size(), to);
        pos += to.size();
        if (!all)
            break;
    }
    return out;
}

} // namespace

namespace handlers {

void Help(ZEVFuncs& f, Call&)
{
    if (!f.console())
        return;
    f.Print("Valid script commands are:");
    f.Print("");
    if (FuncDescStore* store = f.tables().descriptions)
        for (const std::string& row : FormatHelpRows(store->Names()))
            f.Print(row);
    f.Print("Type \"help <command>\" to get more help on a specific command.");
}

void GetHelp(ZEVFuncs& f, Call& c)
{
    if (!f.console())
        return;
    std::string cmd = c.GetString("cmd");
    FuncDescStore* store = f.tables().descriptions;
    std::string desc = store ? store->Description(cmd) : std::string();
    if (desc.empty()) {
        f.Print("Unknown command " + cmd);
        return;
    }
    f.Print("Syntax: " + store->Declaration(cmd));
    f.Print("");
    f.Print(desc);
}

void Print(ZEVFuncs& f, Call& c)
{
    // Nobody holds the console: the log keeps it; the program's own console shows it too.
    if (!f.app().console().held())
        f.app().log().Log("Print: " + c.GetString("text"));
    f.Print(c.GetString("text"));
}

void DebugMsg(ZEVFuncs& f, Call& c)
{
    f.app().log().Log(c.GetString("message"));
}

void Cls(ZEVFuncs& f, Call&)
{
    f.host().Cls();
}

void ShowConstants(ZEVFuncs& f, Call& c)
{
    f.Print("Valid constants to use in scripts/console commands:\\n");
    if (const script::HostUnit* unit = c.engine().FindUnit("ZEVFuncs"))
        for (const script::HostConstant& k : unit->constants())
            f.Print("const " + k.name + ": " + std::string(script::HostTypeName(script::HostType::Integer)) + " = "
                + std::to_string(k.value));
}

void GetProgramVersion(ZEVFuncs& f, Call&)
{
    const std::string& date = f.app().buildDateText();
    f.Print("ZEV Dialogue tool " + ZEVFuncs::VersionText() + ", Compiled on ["
        + (date.empty() ? ProgramFileTime() : date) + "]");
}

void ShowCurrentDir(ZEVFuncs& f, Call&)
{
    std::error_code ec;
    f.Print("Current directory is " + Quoted(fs::current_path(ec).string()));
}

void Dir(ZEVFuncs& f, Call&)
{
    std::error_code ec;
    std::vector<std::string> names = { ".", ".." };
    for (fs::directory_iterator it(fs::current_path(ec), ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    std::sort(names.begin() + 2, names.end());
    for (const std::string& n : names)
        f.Print(n);
}

void cd(ZEVFuncs& f, Call& c)
{
    std::string path = c.GetString("path");
    std::error_code ec;
    if (!path.empty() && DirectoryExists(path)) {
        fs::current_path(path, ec);
        if (!ec) {
            f.Print("Path is now: " + fs::current_path(ec).string());
            return;
        }
    }
    f.Print(path + ": no such directory.");
}

void Confirm(ZEVFuncs& f, Call& c)
{
    MsgResult r = f.app().dialogs().MessageBox(c.GetString("Message"), MsgIcon::Confirmation, MsgButtons::YesNo);
    c.SetBoolean("result", r == MsgResult::Yes);
}

// Yes whose save fails or is cancelled does not let the script go on as if it had saved.
void SaveConfirm(ZEVFuncs& f, Call& c)
{
    App& app = f.app();
    if (!app.modified()) {
        c.SetBoolean("result", true);
        return;
    }
    MsgResult r
        = app.dialogs().MessageBox("Save changes to dialogue '" + app.currentFileName() + "'\r\nbefore proceeding?",
            MsgIcon::Confirmation, MsgButtons::YesNoCancel);
    if (r == MsgResult::Yes)
        c.SetBoolean("result", SaveCommand(app));
    else
        c.SetBoolean("result", r == MsgResult::No);
}

void StringReplace(ZEVFuncs&, Call& c)
{
    c.SetString("result",
        Replace(
            c.GetString("srcString"), c.GetString("oldString"), c.GetString("newString"), c.GetBoolean("ReplaceAll")));
}

void GetSSLPath(ZEVFuncs& f, Call& c)
{
    std::string path = DefaultSSLPath(f.app().config());
    c.SetString("result", path);
    f.Print("SSL Path = " + path);
}

void GetMSGPath(ZEVFuncs& f, Call& c)
{
    std::string path = DefaultMSGPath(f.app().config());
    c.SetString("result", path);
    f.Print("MSG Path = " + path);
}

void DumpHelpToHTML(ZEVFuncs& f, Call& c)
{
    f.Print("Dumping ScriptCommands.html");
    FuncDescStore* store = f.tables().descriptions;
    if (!store) {
        f.NotAvailable("DumpHelpToHTML");
        return;
    }
    std::error_code ec;
    HtmlDumpResult r
        = DumpHelpToHtml(*store, f.app().ProgramPath("\\html\\funchelptemplate.htm"), fs::current_path(ec).string());
    if (!r.ok)
        c.Raise(r.error);
    f.Print("All done. " + std::to_string(r.functionCount)
        + " command(s) in list. Lines dumped: " + std::to_string(r.pageLines));
}

} // namespace handlers

} // namespace zev
