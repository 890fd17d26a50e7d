#pragma once

// What the rest of the program asks of the plug-ins: change notifications, the listing, starting
// one, the import filters and the close query. The base class is the default of a program without
// a plug-in host: nothing to notify, nothing listed, nothing refuses to close.

#include <optional>
#include <string>
#include <vector>

#include "app/dialogs.h"

namespace zev {

// One row of ListPlugins, as the plug-in table knows it.
struct PluginListing {
    std::string path;
    std::string name;
    std::string version;
    std::string buildDate;
    std::string creationDate;
    std::string description;
    bool loaded = false;
    bool crashed = false; // crashed in this session: not called again
};

class PluginBus {
public:
    virtual ~PluginBus() = default;
    // A plug-in host is attached (the script functions say "not available" otherwise).
    virtual bool Attached() const { return false; }
    virtual void BroadcastPluginUpdate() { }
    virtual std::vector<PluginListing> ListPlugins() const { return {}; }
    virtual void StartPlugin(const std::string&) { }
    // The export names of a library file; nothing when it cannot be read.
    virtual std::optional<std::vector<std::string>> PluginExports(const std::string&) const { return std::nullopt; }
    // The open box's filters of the import plug-ins; entry i is filter i + 2 of the box.
    virtual std::vector<FileFilter> ImportFilters() const { return {}; }
    // Runs ImportData of the plug-in behind the box's filter (2 and up) on the file.
    virtual void ImportWithFilter(int, const std::string&) { }
    // The close query: running plug-ins are asked to close; false keeps the program open.
    virtual bool CanClose() { return true; }
};

} // namespace zev
