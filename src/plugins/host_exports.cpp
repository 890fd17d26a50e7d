// The functions the program exports to plug-ins, by name, with C linkage. They reach the program
// through the one global: the installed plug-in host. Nothing may escape into the plug-in's C
// frames, so every body is guarded; without a host they do nothing and hand out nothing. Each
// marks itself as the program's code, so the crash guard never unwinds through it.

#include <exception>

#include "app/app.h"
#include "app/settings.h"
#include "model/dialog_ops.h"
#include "plugins/crash_guard.h"
#include "plugins/plugin_host.h"
#include "zevdlg/plugin.h"

namespace zev {

namespace {

PluginHost* g_host = nullptr;

template <class Fn> void Guard(const char* name, Fn&& fn)
{
    const HostCodeScope host;
    if (!g_host)
        return;
    try {
        fn(*g_host);
    } catch (const std::exception& e) {
        try {
            g_host->app().log().Log(std::string(name) + " failed: " + e.what());
        } catch (...) {
        }
    } catch (...) {
        try {
            g_host->app().log().Log(std::string(name) + " failed.");
        } catch (...) {
        }
    }
}

void Empty(unsigned char* out)
{
    if (out)
        out[0] = 0;
}

} // namespace

PluginHost* ExportTarget()
{
    return g_host;
}
void SetExportTarget(PluginHost* host)
{
    g_host = host;
}

} // namespace zev

using zev::Guard;
using zev::HostCodeScope;
using zev::PluginHost;

extern "C" {

zev_player_char* GetPlayer(void)
{
    zev_player_char* copy = nullptr;
    Guard("GetPlayer",
        [&](PluginHost& h) { copy = reinterpret_cast<zev_player_char*>(new zev::PlayerChar(h.app().player())); });
    return copy;
}

void FreePlayer(zev_player_char* copy)
{
    const HostCodeScope host;
    delete reinterpret_cast<zev::PlayerChar*>(copy);
}

void GetProgramVer(unsigned char* out)
{
    const HostCodeScope host;
    zev::Empty(out);
    Guard("GetProgramVer", [&](PluginHost&) {
        if (out)
            zev::WriteShortString(out, ZEVDLG_VERSION_TEXT);
    });
}

void SetOutputControl(const zev_output_control* control)
{
    Guard("SetOutputControl", [&](PluginHost& h) { h.SetOutputControl(control); });
}

void UnsetOutputControl(void)
{
    Guard("UnsetOutputControl", [&](PluginHost& h) { h.UnsetOutputControl(); });
}

void GetCurrentNode(unsigned char* out)
{
    const HostCodeScope host;
    zev::Empty(out);
    Guard("GetCurrentNode", [&](PluginHost& h) {
        zev::RunControl& run = h.app().run();
        if (!out || !run.running())
            return;
        const zev::dialog& d = h.app().dlg();
        const int32_t i = run.currentNode();
        if (i >= 0 && i < d.node_count && d.nodes[i])
            zev::WriteShortString(out, d.nodes[i]->name.view());
    });
}

void SetCurrentNode(const unsigned char* name)
{
    Guard("SetCurrentNode", [&](PluginHost& h) {
        zev::RunControl& run = h.app().run();
        if (!name || !run.running())
            return;
        const int index = zev::FindNodeIndex(h.app().dlg(), zev::FromShortString(name));
        if (index >= 0)
            run.SetCurrentQuietly(index);
    });
}

void DoExternalRegister(const char* path, const char* name, const char* description, const unsigned char* version)
{
    Guard("DoExternalRegister", [&](PluginHost& h) {
        h.DoExternalRegister(path ? path : "", name ? name : "", description ? description : "",
            version ? zev::FromShortString(version) : std::string());
    });
}

void SendDebugMSG(const char* text)
{
    Guard("SendDebugMSG", [&](PluginHost& h) { h.app().log().Log(text ? text : "", zev::kPluginCategory); });
}

void GetSSLPath(unsigned char* out)
{
    const HostCodeScope host;
    zev::Empty(out);
    Guard("GetSSLPath", [&](PluginHost& h) {
        if (out)
            zev::WriteShortString(out, zev::DefaultSSLPath(h.app().config()));
    });
}

void GetMSGPath(unsigned char* out)
{
    const HostCodeScope host;
    zev::Empty(out);
    Guard("GetMSGPath", [&](PluginHost& h) {
        if (out)
            zev::WriteShortString(out, zev::DefaultMSGPath(h.app().config()));
    });
}

void GetCurrentDLGName(const char** name)
{
    Guard("GetCurrentDLGName", [&](PluginHost& h) {
        if (name)
            *name = h.app().currentFileName().c_str();
    });
}

zev_dialog_oldformat* GetDLG(void)
{
    zev_dialog_oldformat* copy = nullptr;
    Guard("GetDLG", [&](PluginHost& h) {
        h.app().log().Log("Sending dialogue to plugin...");
        copy = reinterpret_cast<zev_dialog_oldformat*>(zev::CopyDialogOldFormat(h.app().dlg()));
        h.app().log().Log("Done..");
    });
    return copy;
}

zev_dialog* GetDLGNew(void)
{
    zev_dialog* copy = nullptr;
    Guard("GetDLGNew",
        [&](PluginHost& h) { copy = reinterpret_cast<zev_dialog*>(zev::CopyDialogShared(h.app().dlg())); });
    return copy;
}

void FreeDLG(zev_dialog_oldformat* copy)
{
    const HostCodeScope host;
    zev::FreeDialogOldFormat(reinterpret_cast<zev::dialog_oldformat*>(copy));
}

void FreeDLGNew(zev_dialog* copy)
{
    const HostCodeScope host;
    zev::FreeDialogShared(reinterpret_cast<zev::dialog*>(copy));
}

void ExecuteScriptLines(const char* text)
{
    Guard("ExecuteScriptLines", [&](PluginHost& h) { h.app().scripts().ExecuteScriptConsole(text ? text : ""); });
}

} // extern "C"
