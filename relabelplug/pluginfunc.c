/*
 * pluginfunc: renames every node of the open dialogue to Node001, Node002, ... in table order.
 * It reads the dialogue through GetDLG and changes it only through script lines.
 */
#include <stdio.h>

#include "zevdlg/plugin.h"

ZEV_PLUGIN_EXPORT void GetPluginName(unsigned char* out)
{
    zev_shortstring_set(out, "Rename dialogue nodes to NodeXXX");
}

ZEV_PLUGIN_EXPORT void GetPluginDescription(unsigned char* out)
{
    zev_shortstring_set(out, "Node renaming tool");
}

ZEV_PLUGIN_EXPORT void GetInterfaceVersion(unsigned char* out)
{
    zev_shortstring_set(out, "0.25");
}

ZEV_PLUGIN_EXPORT zev_flag CanAddToMenu(void)
{
    return 1;
}

ZEV_PLUGIN_EXPORT void RunPlugin(const unsigned char* programFolder)
{
    (void)programFolder;
    zev_dialog_oldformat* dlg = GetDLG();
    if (dlg) {
        int count = dlg->node_count;
        if (count < 0)
            count = 0;
        if (count > ZEV_MAX_NODES)
            count = ZEV_MAX_NODES;
        /* The names come from the snapshot, so each line names a node as it was when the run began. */
        for (int i = 0; i < count; ++i) {
            const zev_dlgnode* node = dlg->nodes[i];
            char line[320];
            const char* name = node ? zev_hstr_cstr(node->name) : "";
            snprintf(line, sizeof line, "SetNodeName('%.255s','Node%03d');", name, i + 1);
            ExecuteScriptLines(line);
        }
        /* The copy is ours; the nodes' tables it points at stay the program's. */
        FreeDLG(dlg);
    }
    ExecuteScriptLines("RefreshAll;");
    ExecuteScriptLines("DialogueChangeNotify;");
}
