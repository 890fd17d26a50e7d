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
#include "script/helper_scripts.h"
#include "script/script_host.h"
#include "script/zevfuncs.h"
#include "script/zevfuncs_defs.h"

namespace zev {

using namespace zevdefs;
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

void ZEVFuncs::AddConsoleFunctions(Defs& d)
{
    Def(d, "Help", {}, HostType::Void, [this](Call&) {
        if (!console())
            return;
        Print("Valid script commands are:");
        Print("");
        if (m_tables.descriptions)
            for (const std::string& row : FormatHelpRows(m_tables.descriptions->Names()))
                Print(row);
        Print("Type \"help <command>\" to get more help on a specific command.");
    });

    Def(d, "GetHelp", { S("cmd") }, HostType::Void, [this](Call& c) {
        if (!console())
            return;
        std::string cmd = c.GetString("cmd");
        std::string desc = m_tables.descriptions ? m_tables.descriptions->Description(cmd) : std::string();
        if (desc.empty()) {
            Print("Unknown command " + cmd);
            return;
        }
        Print("Syntax: " + m_tables.descriptions->Declaration(cmd));
        Print("");
        Print(desc);
    });

    Def(d, "Print", { S("text") }, HostType::Void, [this](Call& c) {
        // Nobody holds the console: the log keeps it; the program's own console shows it too.
        if (!m_app.console().held())
            m_app.log().Log("Print: " + c.GetString("text"));
        Print(c.GetString("text"));
    });

    Def(d, "DebugMsg", { S("message") }, HostType::Void, [this](Call& c) { m_app.log().Log(c.GetString("message")); });

    Def(d, "Cls", {}, HostType::Void, [this](Call&) { m_host.Cls(); });

    Def(d, "ShowConstants", {}, HostType::Void, [this](Call& c) {
        Print("Valid constants to use in scripts/console commands:\\n");
        if (const script::HostUnit* unit = c.engine().FindUnit("ZEVFuncs"))
            for (const script::HostConstant& k : unit->constants())
                Print("const " + k.name + ": " + std::string(script::HostTypeName(HostType::Integer)) + " = "
                    + std::to_string(k.value));
    });

    Def(d, "GetProgramVersion", {}, HostType::Void, [this](Call&) {
        std::string built = m_app.buildDateText().empty() ? ProgramFileTime() : m_app.buildDateText();
        Print("ZEV Dialogue tool " + VersionText() + ", Compiled on [" + built + "]");
    });

    Def(d, "ShowCurrentDir", {}, HostType::Void, [this](Call&) {
        std::error_code ec;
        Print("Current directory is " + Quoted(fs::current_path(ec).string()));
    });

    Def(d, "Dir", {}, HostType::Void, [this](Call&) {
        std::error_code ec;
        std::vector<std::string> names = { ".", ".." };
        for (fs::directory_iterator it(fs::current_path(ec), ec), end; !ec && it != end; it.increment(ec))
            names.push_back(it->path().filename().string());
        std::sort(names.begin() + 2, names.end());
        for (const std::string& n : names)
            Print(n);
    });

    Def(d, "cd", { S("path") }, HostType::Void, [this](Call& c) {
        std::string path = c.GetString("path");
        std::error_code ec;
        if (!path.empty() && DirectoryExists(path)) {
            fs::current_path(path, ec);
            if (!ec) {
                Print("Path is now: " + fs::current_path(ec).string());
                return;
            }
        }
        Print(path + ": no such directory.");
    });

    Def(d, "Confirm", { S("Message") }, HostType::Boolean, [this](Call& c) {
        MsgResult r = m_app.dialogs().MessageBox(c.GetString("Message"), MsgIcon::Confirmation, MsgButtons::YesNo);
        c.SetBoolean("result", r == MsgResult::Yes);
    });

    // Yes whose save fails or is cancelled does not let the script go on as if it had saved.
    Def(d, "SaveConfirm", {}, HostType::Boolean, [this](Call& c) {
        if (!m_app.modified()) {
            c.SetBoolean("result", true);
            return;
        }
        MsgResult r = m_app.dialogs().MessageBox(
            "Save changes to dialogue '" + m_app.currentFileName() + "'\r\nbefore proceeding?", MsgIcon::Confirmation,
            MsgButtons::YesNoCancel);
        if (r == MsgResult::Yes)
            c.SetBoolean("result", SaveCommand(m_app));
        else
            c.SetBoolean("result", r == MsgResult::No);
    });

    Def(d, "StringReplace", { S("srcString"), S("oldString"), S("newString"), B("ReplaceAll", true) }, HostType::String,
        [](Call& c) {
            c.SetString("result",
                Replace(c.GetString("srcString"), c.GetString("oldString"), c.GetString("newString"),
                    c.GetBoolean("ReplaceAll")));
        });

    Def(d, "GetSSLPath", {}, HostType::String, [this](Call& c) {
        std::string path = DefaultSSLPath(m_app.config());
        c.SetString("result", path);
        Print("SSL Path = " + path);
    });

    Def(d, "GetMSGPath", {}, HostType::String, [this](Call& c) {
        std::string path = DefaultMSGPath(m_app.config());
        c.SetString("result", path);
        Print("MSG Path = " + path);
    });

    Def(d, "DumpHelpToHTML", {}, HostType::Void, [this](Call& c) {
        Print("Dumping ScriptCommands.html");
        if (!m_tables.descriptions) {
            NotAvailable("DumpHelpToHTML");
            return;
        }
        std::error_code ec;
        HtmlDumpResult r = DumpHelpToHtml(
            *m_tables.descriptions, m_app.ProgramPath("\\html\\funchelptemplate.htm"), fs::current_path(ec).string());
        if (!r.ok)
            c.Raise(r.error);
        Print("All done. " + std::to_string(r.functionCount)
            + " command(s) in list. Lines dumped: " + std::to_string(r.pageLines));
    });
}

} // namespace zev
