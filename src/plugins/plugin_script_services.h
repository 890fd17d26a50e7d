#pragma once

#include "script/zevfuncs.h"

namespace zev {

class PluginHost;

// The script functions that reach plug-ins (ListPlugins, StartPlugin, DoLink_ShowExports).
void AddPluginServices(ScriptApiServices& services, PluginHost& plugins);

} // namespace zev
