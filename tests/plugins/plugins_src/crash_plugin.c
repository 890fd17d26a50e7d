/* A plug-in that crashes on purpose: CRASH_IN names the call ("RunPlugin", "append_line", ...),
 * CRASH_HOW the way (one of the kinds below). Each call first reports "NAME CALL" through
 * SendDebugMSG, so the tests see what reached it. RunPlugin keeps the library loaded, as one with
 * open windows would, so the notifications reach it; WITH_CONTROL lends an output control there,
 * NESTED has the host run another plug-in first ("nested" to the script console), HOST_FAULT
 * hands the host a bad pointer. Built without sanitizers: it stands for foreign code. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <sys/mman.h>

#include "zevdlg/plugin.h"

#define NULL_WRITE 1
#define BUS_ERROR 2
#define DIVIDE_BY_ZERO 3
#define ILLEGAL 4
#define OVERFLOW 5

#ifndef CRASH_IN
#define CRASH_IN ""
#endif
#ifndef CRASH_HOW
#define CRASH_HOW NULL_WRITE
#endif

static void* self;
static volatile int stop;

static int Deep(int n)
{
    volatile char pad[512];
    pad[0] = (char)n;
    if (stop)
        return pad[0];
    return Deep(n + 1) + pad[0];
}

/* Reading past the end of a file that is mapped: a real bus error, not a sent one. */
static void BusError(void)
{
    FILE* f = tmpfile();
    char* p = f ? mmap(NULL, 4096, PROT_READ, MAP_SHARED, fileno(f), 0) : MAP_FAILED;
    if (p != MAP_FAILED) {
        volatile char c = *(volatile char*)p;
        (void)c;
    }
    raise(SIGBUS);
}

static void Crash(void)
{
    int* volatile nowhere = NULL;
    volatile int one = 1, zero = 0;
    switch (CRASH_HOW) {
    case NULL_WRITE:
        *nowhere = 1;
        break;
    case BUS_ERROR:
        BusError();
        break;
    case DIVIDE_BY_ZERO:
        zero = one / zero; /* 1 / x is folded into a comparison, even unoptimised */
        break;
    case ILLEGAL:
#if defined(__x86_64__) || defined(__i386__)
        __builtin_trap();
#else
        raise(SIGILL);
#endif
        break;
    case OVERFLOW:
        Deep(0);
        break;
    }
}

static void Enter(const char* call)
{
    char line[128];
    snprintf(line, sizeof line, "%s %s", PLUGIN_NAME, call);
    SendDebugMSG(line);
    if (strcmp(CRASH_IN, call) == 0)
        Crash();
}

ZEV_PLUGIN_EXPORT void GetPluginName(unsigned char* out)
{
    Enter("GetPluginName");
    zev_shortstring_set(out, PLUGIN_NAME);
}
ZEV_PLUGIN_EXPORT void GetPluginDescription(unsigned char* out)
{
    zev_shortstring_set(out, "Crashes on purpose");
}
ZEV_PLUGIN_EXPORT void GetInterfaceVersion(unsigned char* out)
{
    zev_shortstring_set(out, ZEVDLG_INTERFACE_VERSION);
}
ZEV_PLUGIN_EXPORT zev_flag CanAddToMenu(void)
{
    Enter("CanAddToMenu");
    return 1;
}
#ifdef WITH_FILTER
ZEV_PLUGIN_EXPORT void GetFilter(unsigned char* out)
{
    Enter("GetFilter");
    zev_shortstring_set(out, "Crash files (*.crash)|*.crash");
}
#endif

#ifdef WITH_CONTROL
static void Append(void* context, const char* line)
{
    (void)context;
    (void)line;
    Enter("append_line");
}
static void Clear(void* context)
{
    (void)context;
    Enter("clear");
}
static zev_output_control control = { PLUGIN_NAME " console", Append, Clear, NULL };
#endif

ZEV_PLUGIN_EXPORT void RunPlugin(const unsigned char* folder)
{
    (void)folder;
    Dl_info info;
    if (!self && dladdr((void*)&self, &info) && info.dli_fname)
        self = dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
#ifdef WITH_CONTROL
    SetOutputControl(&control);
#endif
#ifdef NESTED
    ExecuteScriptLines("nested");
    SendDebugMSG(PLUGIN_NAME " back from nested");
#endif
#ifdef HOST_FAULT
    SendDebugMSG((const char*)16);
#endif
    Enter("RunPlugin");
}

ZEV_PLUGIN_EXPORT void PluginConfig(const unsigned char* folder)
{
    (void)folder;
    Enter("PluginConfig");
}
ZEV_PLUGIN_EXPORT void ImportData(const unsigned char* path)
{
    (void)path;
    Enter("ImportData");
}
ZEV_PLUGIN_EXPORT void PluginUpdate(void)
{
    Enter("PluginUpdate");
}
/* Only once started: the scan's own log lines reach a library while it is loaded. */
ZEV_PLUGIN_EXPORT void DebugIntercept(const char* line)
{
    (void)line;
    if (self)
        Enter("DebugIntercept");
}
ZEV_PLUGIN_EXPORT void PluginClose(void)
{
    Enter("PluginClose");
    if (self) {
        void* h = self;
        self = NULL;
        dlclose(h);
    }
}
