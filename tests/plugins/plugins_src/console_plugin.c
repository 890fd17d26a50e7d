/* A console plug-in: RunPlugin lends an output control that appends every line it gets to the file
 * named by ZEV_TEST_CONSOLE_FILE ("[cls]" for a clear), sends a few console lines (one with an
 * error) and gives the control back. */
#include <stdio.h>
#include <stdlib.h>

#include "zevdlg/plugin.h"

ZEV_PLUGIN_EXPORT void GetPluginName(unsigned char* out)
{
    zev_shortstring_set(out, "Console");
}
ZEV_PLUGIN_EXPORT void GetPluginDescription(unsigned char* out)
{
    zev_shortstring_set(out, "A script console in a file");
}
ZEV_PLUGIN_EXPORT void GetInterfaceVersion(unsigned char* out)
{
    zev_shortstring_set(out, "0.25");
}
ZEV_PLUGIN_EXPORT int CanAddToMenu(void)
{
    return 1;
}

static void Write(const char* text)
{
    const char* path = getenv("ZEV_TEST_CONSOLE_FILE");
    FILE* f = path ? fopen(path, "ab") : NULL;
    if (!f)
        return;
    fputs(text, f);
    fputs("\n", f);
    fclose(f);
}

static void Append(void* context, const char* line)
{
    (void)context;
    Write(line);
}

static void Clear(void* context)
{
    (void)context;
    Write("[cls]");
}

ZEV_PLUGIN_EXPORT void RunPlugin(const unsigned char* folder)
{
    (void)folder;
    static zev_output_control control = { "ConsoleMemo", Append, Clear, NULL };
    SetOutputControl(&control);
    ExecuteScriptLines("Print('hello from the console');");
    ExecuteScriptLines("ListNodes;");
    ExecuteScriptLines("Cls;");
    ExecuteScriptLines("ShowNode('Start'); GetHelp('Print');");
    ExecuteScriptLines("Print(GetCurrentNode);");
    ExecuteScriptLines("this is not script");
    UnsetOutputControl();
    ExecuteScriptLines("Print('after the control went back');");
}
