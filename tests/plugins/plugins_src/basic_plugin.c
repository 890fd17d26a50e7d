/* A configurable test plug-in: each build answers the scan's questions as its defines say, and
 * reports the calls it receives through SendDebugMSG. */
#include <stdio.h>

#include "zevdlg/plugin.h"

#ifndef PLUGIN_NAME
#define PLUGIN_NAME "Basic"
#endif

#ifndef NO_NAME
ZEV_PLUGIN_EXPORT void GetPluginName(unsigned char* out)
{
    zev_shortstring_set(out, PLUGIN_NAME);
}
#endif

#ifndef NO_DESCRIPTION
ZEV_PLUGIN_EXPORT void GetPluginDescription(unsigned char* out)
{
    zev_shortstring_set(out, "A plug-in the tests build to see how the host treats it");
}
#endif

#ifdef PLUGIN_VERSION
ZEV_PLUGIN_EXPORT void GetInterfaceVersion(unsigned char* out)
{
    zev_shortstring_set(out, PLUGIN_VERSION);
}
#endif

#ifdef PLUGIN_FILTER
ZEV_PLUGIN_EXPORT void GetFilter(unsigned char* out)
{
    static const char* const pairs[] = { "", "A files (*.a)|*.a", "B files (*.b)|*.b", "Old (*.o)|*.o" };
    zev_shortstring_set(out, pairs[PLUGIN_FILTER]);
}
#endif

#ifdef PLUGIN_SHORTCUT
ZEV_PLUGIN_EXPORT void GetKeyShortCut(unsigned char* out)
{
    zev_shortstring_set(out, PLUGIN_SHORTCUT);
}
#endif

#ifndef NO_MENU
ZEV_PLUGIN_EXPORT zev_flag CanAddToMenu(void)
{
#ifdef MENU_FALSE
    return 0;
#else
    return 1;
#endif
}
#endif

static void Report(const char* what, const unsigned char* text)
{
    char buf[256], line[300];
    snprintf(line, sizeof line, "%s %s: %s", PLUGIN_NAME, what, zev_shortstring_get(text, buf));
    SendDebugMSG(line);
}

ZEV_PLUGIN_EXPORT void RunPlugin(const unsigned char* folder)
{
    Report("run", folder);
}

ZEV_PLUGIN_EXPORT void ImportData(const unsigned char* path)
{
    Report("import", path);
}

#ifdef WITH_CONFIG
ZEV_PLUGIN_EXPORT void PluginConfig(const unsigned char* folder)
{
    Report("config", folder);
}
#endif
