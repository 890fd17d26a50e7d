#include "plugins/plugin_script_services.h"

#include "plugins/elf_exports.h"
#include "plugins/plugin_host.h"
#include "plugins/plugin_library.h"

namespace zev {

void AddPluginServices(ScriptApiServices& services, PluginHost& plugins)
{
    services.listPlugins = [&plugins] {
        std::vector<PluginListing> out;
        const auto& table = plugins.plugins();
        for (std::size_t i = 0; i < table.size(); ++i) {
            const TPluginRec& rec = table[i];
            PluginListing l;
            l.path = rec.FileName;
            l.name = rec.Name;
            l.version = rec.InterfaceVersion;
            l.buildDate = DateTimeText(rec.BuildDate);
            l.creationDate = DateTimeText(rec.CreationDate);
            l.description = rec.Description;
            l.loaded = plugins.IsRunning(static_cast<int>(i));
            out.push_back(std::move(l));
        }
        return out;
    };
    services.startPlugin = [&plugins](const std::string& path) { plugins.RunPlugin(path); };
    services.pluginExports = [](const std::string& path) -> std::optional<std::vector<std::string>> {
        ElfExports e = ReadElfExportsFile(path);
        if (!e.ok)
            return std::nullopt;
        return e.names;
    };
}

} // namespace zev
