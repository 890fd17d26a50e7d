/* A plug-in that keeps itself loaded after RunPlugin, as one with open windows would, and reports
 * what the host sends it. Built with NO_CLOSE it cannot be asked to close. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>

#include "zevdlg/plugin.h"

static void* self;

ZEV_PLUGIN_EXPORT void GetPluginName(unsigned char* out)
{
    zev_shortstring_set(out, PLUGIN_NAME);
}
ZEV_PLUGIN_EXPORT void GetPluginDescription(unsigned char* out)
{
    zev_shortstring_set(out, "Stays loaded");
}
ZEV_PLUGIN_EXPORT void GetInterfaceVersion(unsigned char* out)
{
    zev_shortstring_set(out, ZEVDLG_INTERFACE_VERSION);
}
ZEV_PLUGIN_EXPORT zev_flag CanAddToMenu(void)
{
    return 1;
}

ZEV_PLUGIN_EXPORT void RunPlugin(const unsigned char* folder)
{
    (void)folder;
    Dl_info info;
    if (!self && dladdr((void*)&self, &info) && info.dli_fname)
        self = dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
    SendDebugMSG(PLUGIN_NAME " started");
}

ZEV_PLUGIN_EXPORT void PluginUpdate(void)
{
    SendDebugMSG(PLUGIN_NAME " update");
}

ZEV_PLUGIN_EXPORT void DebugIntercept(const char* line)
{
    char buf[300];
    snprintf(buf, sizeof buf, PLUGIN_NAME " intercepted: %s", line);
    SendDebugMSG(buf);
}

#ifndef NO_CLOSE
/* The host holds a reference of its own during the call, so dropping ours here is safe. */
ZEV_PLUGIN_EXPORT void PluginClose(void)
{
    SendDebugMSG(PLUGIN_NAME " closing");
    if (self) {
        void* h = self;
        self = NULL;
        dlclose(h);
    }
}
#endif
