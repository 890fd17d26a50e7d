// What the script functions ListPlugins and DoLink_ShowExports print.

#include "app/app.h"
#include "plugins/elf_exports.h"
#include "plugins/plugin_host.h"

namespace zev {

std::string PluginHost::ListPluginsText() const
{
    std::string out = "Valid plugins:\n";
    for (std::size_t i = 0; i < m_plugins.size(); ++i) {
        const TPluginRec& p = m_plugins[i];
        out += std::to_string(i + 1) + ": " + p.FileName + " (" + p.Name + ")\nInterface Version: " + p.InterfaceVersion
            + "\nBuild date:    " + DateTimeText(p.BuildDate) + "\nCreation date: " + DateTimeText(p.CreationDate)
            + "\n" + p.Description + "\n";
        if (IsLibraryLoaded(p.FileName))
            out += " >> Plugin is currently loaded into memory\n";
        if (p.Crashed)
            out += " >> Plugin crashed in this session and is not called again\n";
    }
    return out;
}

std::string PluginHost::ShowExportsText(const std::string& path) const
{
    const ElfExports exports = ReadElfExportsFile(path);
    if (!exports.ok)
        return "Cannot read the exports of " + path + ": " + exports.error;
    std::string text = "Plugin exports " + std::to_string(exports.names.size()) + " functions:";
    for (const std::string& name : exports.names)
        text += "\r\n" + name;
    return text;
}

void PluginHost::ShowExports(const std::string& path)
{
    m_app.dialogs().Information(ShowExportsText(path));
}

} // namespace zev
