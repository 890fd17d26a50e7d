/*
 * zevdlg plug-in SDK. Plain C.
 *
 * A plug-in is a shared library in the program folder's plugins/ directory. The records it is
 * handed are declared in zevdlg/records.h; check ZEV_SIZEOF_* against sizeof() before reading
 * them. The program's version text is ZEVDLG_VERSION_TEXT.
 */
#ifndef ZEVDLG_PLUGIN_H
#define ZEVDLG_PLUGIN_H

#include "zevdlg/records.h"

#define ZEVDLG_VERSION_MAJOR 0
#define ZEVDLG_VERSION_MINOR 25
#define ZEVDLG_VERSION_PATCH 4
#define ZEVDLG_VERSION_TEXT "0.25.4-stable"

/* A length-prefixed text of at most 255 characters in a 256-byte buffer: byte 0 is the length. */
typedef unsigned char zev_shortstring[256];

#endif /* ZEVDLG_PLUGIN_H */
