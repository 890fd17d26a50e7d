/* Calls the program's exports from inside RunPlugin and reports what it got through SendDebugMSG,
 * one "key: value" line each. The tests' script-console hook answers "rename" and "Print('x')". */
#include <stdio.h>
#include <string.h>

#include "zevdlg/plugin.h"

ZEV_PLUGIN_EXPORT void GetPluginName(unsigned char* out)
{
    zev_shortstring_set(out, "Exports");
}
ZEV_PLUGIN_EXPORT void GetPluginDescription(unsigned char* out)
{
    zev_shortstring_set(out, "Calls the host");
}
ZEV_PLUGIN_EXPORT void GetInterfaceVersion(unsigned char* out)
{
    zev_shortstring_set(out, "0.25");
}

static char received[256];
static int clears;

static void Append(void* context, const char* line)
{
    strncat((char*)context, line, sizeof received - strlen((char*)context) - 2);
    strcat((char*)context, ";");
}

static void Clear(void* context)
{
    ((char*)context)[0] = '\0';
    ++clears;
}

static void Say(const char* key, const char* value)
{
    char line[600];
    snprintf(line, sizeof line, "%s: %s", key, value);
    SendDebugMSG(line);
}

ZEV_PLUGIN_EXPORT void RunPlugin(const unsigned char* folder)
{
    (void)folder;
    char buf[256], text[300];
    zev_shortstring ss;

    memset(ss, 0xAA, sizeof ss);
    GetProgramVer(ss);
    snprintf(text, sizeof text, "%d %s", ss[0], zev_shortstring_get(ss, buf));
    Say("version", text);

    memset(ss, 0xAA, sizeof ss);
    GetCurrentNode(ss);
    snprintf(text, sizeof text, "%d", ss[0]);
    Say("current node length", text);

    GetSSLPath(ss);
    Say("ssl", zev_shortstring_get(ss, buf));

    const char* name = NULL;
    GetCurrentDLGName(&name);
    Say("dialogue", name ? name : "(null)");

    zev_player_char* pc = GetPlayer();
    Say("player", pc ? zev_hstr_cstr(pc->name) : "(null)");
    FreePlayer(pc);

    zev_dialog_oldformat* old = GetDLG();
    zev_dialog* now = GetDLGNew();
    ExecuteScriptLines("rename");
    snprintf(
        text, sizeof text, "%d %s", old->node_count, old->node_count > 0 ? zev_hstr_cstr(old->nodes[0]->name) : "");
    Say("copy", text);
    snprintf(
        text, sizeof text, "%d %s", now->node_count, now->node_count > 0 ? zev_hstr_cstr(now->nodes[0]->name) : "");
    Say("shared", text);
    FreeDLG(old);
    FreeDLGNew(now);

    zev_output_control control = { "Memo1", Append, Clear, received };
    received[0] = '\0';
    SetOutputControl(&control);
    ExecuteScriptLines("Print('x')");
    UnsetOutputControl();
    ExecuteScriptLines("Print('y')");
    Say("control", received);
}
