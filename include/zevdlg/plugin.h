/*
 * zevdlg plug-in SDK. Plain C, C calling convention.
 *
 * A plug-in is a shared library in the program folder's plugins/ directory whose file name starts
 * with one of the prefixes below and ends in ".so". The program finds it at start-up, asks it for
 * its name, description and interface version, and loads it again for each call of RunPlugin,
 * PluginConfig or ImportData, releasing it afterwards. A plug-in that takes a reference to itself
 * (dlopen of its own path) stays loaded after the call and counts as running: it then receives
 * PluginUpdate, DebugIntercept and, when the program closes, PluginClose. The program holds a
 * reference of its own during every call, so a plug-in may drop its self-reference inside
 * PluginClose.
 *
 * The program's own functions (GetDLG, ExecuteScriptLines, ...) are exported by name from the
 * executable. Link the plug-in without them (the default for shared libraries on Linux; do not use
 * -Wl,--no-undefined) and they bind when the program loads the library. The program loads with
 * RTLD_NOW, so a plug-in that imports a name the program does not export is refused at load.
 *
 * The records a plug-in is handed are declared in zevdlg/records.h; check ZEV_SIZEOF_* against
 * sizeof() before reading them. See doc/plugins.md for a minimal plug-in.
 */
#ifndef ZEVDLG_PLUGIN_H
#define ZEVDLG_PLUGIN_H

#include <string.h>

#include "zevdlg/records.h"

#ifdef __cplusplus
extern "C" {
#endif

#define ZEVDLG_VERSION_MAJOR 0
#define ZEVDLG_VERSION_MINOR 25
#define ZEVDLG_VERSION_PATCH 4
#define ZEVDLG_VERSION_TEXT "0.25.4-stable"
/* What GetInterfaceVersion should answer; the program accepts any minor version >= 25. */
#define ZEVDLG_INTERFACE_VERSION "0.25"

/* File-name prefixes of the five kinds of plug-in, scanned in this order. */
#define ZEV_PLUGIN_PREFIX_UPDATE "Update_" /* Help menu */
#define ZEV_PLUGIN_PREFIX_UTILITY "Utility_" /* Plugins menu */
#define ZEV_PLUGIN_PREFIX_DEV "DEV_" /* Plugins menu */
#define ZEV_PLUGIN_PREFIX_EXPORT "Export_" /* File > Export */
#define ZEV_PLUGIN_PREFIX_IMPORT "Import_" /* File > Import */

/* A length-prefixed text of at most 255 characters in a 256-byte buffer: byte 0 is the length,
 * the characters follow, no terminator. Every text a plug-in returns is written in this form into
 * a buffer the program passes; texts the program passes are in this form unless said otherwise. */
typedef unsigned char zev_shortstring[256];

/* Writes text into a short string, cut to 255 characters. */
static inline void zev_shortstring_set(unsigned char* out, const char* text)
{
    size_t n = text ? strlen(text) : 0;
    if (n > 255)
        n = 255;
    out[0] = (unsigned char)n;
    if (n)
        memcpy(out + 1, text, n);
}

/* Copies a short string into a C text; buf must hold 256 bytes. Returns buf. */
static inline char* zev_shortstring_get(const unsigned char* in, char* buf)
{
    size_t n = in[0];
    memcpy(buf, in + 1, n);
    buf[n] = '\0';
    return buf;
}

/* Marks a function the plug-in exports. */
#if defined(__GNUC__)
#define ZEV_PLUGIN_EXPORT __attribute__((visibility("default")))
#else
#define ZEV_PLUGIN_EXPORT
#endif

/* ---- What a plug-in may export, looked up by these names. Only the first two are required. ---- */
typedef void (*zev_GetPluginName_fn)(unsigned char* out); /* "GetPluginName" */
typedef void (*zev_GetPluginDescription_fn)(unsigned char* out); /* "GetPluginDescription" */
/* "GetInterfaceVersion": "major.minor"; empty counts as ZEVDLG_INTERFACE_VERSION. */
typedef void (*zev_GetInterfaceVersion_fn)(unsigned char* out);
/* "GetFilter": an open-box filter pair, "Description (*.ext)|*.ext". */
typedef void (*zev_GetFilter_fn)(unsigned char* out);
/* "CanAddToMenu": non-zero for a menu entry. Without this export there is none. */
typedef zev_flag (*zev_CanAddToMenu_fn)(void);
/* "GetKeyShortCut": the entry's shortcut as a menu shows it, e.g. "Ctrl+R". */
typedef void (*zev_GetKeyShortCut_fn)(unsigned char* out);
typedef void (*zev_RunPlugin_fn)(const unsigned char* programFolder); /* "RunPlugin" */
typedef void (*zev_PluginConfig_fn)(const unsigned char* programFolder); /* "PluginConfig" */
typedef void (*zev_ImportData_fn)(const unsigned char* path); /* "ImportData" */
typedef void (*zev_PluginUpdate_fn)(void); /* "PluginUpdate" */
typedef void (*zev_DebugIntercept_fn)(const char* line); /* "DebugIntercept" */
typedef void (*zev_PluginClose_fn)(void); /* "PluginClose" */

/* ---- The output control a plug-in lends for console output (SetOutputControl). ----
 * The program copies the structure and the name when it is handed over, and calls append_line
 * (one line, zero-terminated) and clear with context until UnsetOutputControl. */
typedef struct zev_output_control {
    const char* name;
    void (*append_line)(void* context, const char* line);
    void (*clear)(void* context);
    void* context;
} zev_output_control;

/* ---- The functions the program exports. Call them only from inside a call of the program
 * (RunPlugin, PluginUpdate, ...) or from the plug-in's own event handlers on the same thread. ---- */

/* A new copy of the test player character. Release it with FreePlayer. */
zev_player_char* GetPlayer(void);
/* The program's version text, "0.25.4-stable". */
void GetProgramVer(unsigned char* out);
/* From now on console output goes to the control. Replaces any earlier control. */
void SetOutputControl(const zev_output_control* control);
/* Console output is no longer sent to the control. Call it before the control goes away. */
void UnsetOutputControl(void);
/* The test run's current node; empty when no test runs. */
void GetCurrentNode(unsigned char* out);
/* Makes the named node the test run's current node; nothing when no test runs or no such node. */
void SetCurrentNode(const unsigned char* name);
/* Registers a plug-in without a menu entry. */
void DoExternalRegister(const char* path, const char* name, const char* description, const unsigned char* version);
/* Writes the text to the program's log (category "Plugin", never handed to DebugIntercept). */
void SendDebugMSG(const char* text);
/* "DefaultSSLPath" and "DefaultMSGPath" of the configuration; empty when not set. */
void GetSSLPath(unsigned char* out);
void GetMSGPath(unsigned char* out);
/* Stores the program's current dialogue name ("untitled" for a new dialogue) in *name. The text is
 * the program's and valid until the name changes. */
void GetCurrentDLGName(const char** name);
/* A new old-format copy of the dialogue: the texts and node records are copies, the nodes' option
 * and skill check tables point at the program's live records. Release it with FreeDLG. */
zev_dialog_oldformat* GetDLG(void);
/* A new copy of the dialogue record whose tables point at the program's live records. Release it
 * with FreeDLGNew. */
zev_dialog* GetDLGNew(void);
/* Release what GetDLG, GetDLGNew and GetPlayer returned (never the live records they point at).
 * NULL is allowed. A plug-in that never calls them only leaks the copies. */
void FreeDLG(zev_dialog_oldformat* copy);
void FreeDLGNew(zev_dialog* copy);
void FreePlayer(zev_player_char* copy);
/* Runs the text as a script console line and returns when it has finished. End a run that changed
 * the dialogue with "RefreshAll;" and "DialogueChangeNotify;". */
void ExecuteScriptLines(const char* text);

#ifdef __cplusplus
}
#endif

#endif /* ZEVDLG_PLUGIN_H */
