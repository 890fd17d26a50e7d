// A C++ plug-in whose exports throw: the host must catch each call's exception and go on.
#include <dlfcn.h>

#include <stdexcept>

#include "zevdlg/plugin.h"

namespace {
void* self = nullptr;
}

extern "C" {

ZEV_PLUGIN_EXPORT void GetPluginName(unsigned char* out)
{
    zev_shortstring_set(out, "Thrower");
}
ZEV_PLUGIN_EXPORT void GetPluginDescription(unsigned char* out)
{
    zev_shortstring_set(out, "Throws");
}
ZEV_PLUGIN_EXPORT void GetInterfaceVersion(unsigned char* out)
{
    zev_shortstring_set(out, "0.25");
}
ZEV_PLUGIN_EXPORT zev_flag CanAddToMenu(void)
{
    return 1;
}

ZEV_PLUGIN_EXPORT void RunPlugin(const unsigned char*)
{
    Dl_info info;
    if (!self && dladdr(static_cast<void*>(&self), &info) && info.dli_fname)
        self = dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
#ifdef THROW_RUN
    throw std::runtime_error("run went wrong");
#endif
}

ZEV_PLUGIN_EXPORT void PluginUpdate(void)
{
    throw std::runtime_error("update went wrong");
}

ZEV_PLUGIN_EXPORT void PluginClose(void)
{
    if (void* h = self) {
        self = nullptr;
        dlclose(h);
    }
}

} // extern "C"
