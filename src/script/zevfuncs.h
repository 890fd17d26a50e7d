#pragma once

// The host unit ZEVFuncs: the constants, the `basepath` variable and the functions through which
// scripts read and change the open dialogue, drive the test run, reach plug-ins and print to the
// console. Windows and plug-ins are reached through ScriptApiServices, the test run through
// RunControl, so the unit works (and is tested) before those subsystems are attached.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/run_control.h"
#include "model/records.h"
#include "script/engine/host_unit.h"

namespace zev {

class App;
class ScriptHost;
class TParseInclude;
class FuncDescStore;

// Constants of the unit, in declaration order.
inline constexpr int FIELD_NPC_NAME = 0;
inline constexpr int FIELD_NPC_LOCATION = 1;
inline constexpr int FIELD_NPC_DESCRIPTION = 2;
inline constexpr int FIELD_NPC_UNKNOWN_LOOK = 3;
inline constexpr int FIELD_NPC_KNOWN_LOOK = 4;
inline constexpr int FIELD_NPC_DETAILED_LOOK = 5;
inline constexpr int FIELD_NODE_NPCTEXT = 6;
inline constexpr int FIELD_NODE_NPCFEMALETEXT = 7;
inline constexpr int FIELD_NODE_NOTES = 8;
inline constexpr int FIELD_NODE_OPTIONCOUNT = 9;
inline constexpr int FIELD_NODE_NAME = 16;
inline constexpr int FIELD_PLAYEROPTION_OPTIONTEXT = 10;
inline constexpr int FIELD_PLAYEROPTION_REACTION = 11;
inline constexpr int FIELD_PLAYEROPTION_GENDERFLAGS = 12;
inline constexpr int FIELD_PLAYEROPTION_NODELINK = 13;
inline constexpr int FIELD_PLAYEROPTION_INTCHECK = 14;
inline constexpr int FIELD_PLAYEROPTION_NOTES = 15;

// ExecuteFile's texts are limited to this many characters; longer ones are refused, not cut.
inline constexpr std::size_t kMaxExecuteText = 79;

// One row of ListPlugins, as the plug-in table knows it.
struct PluginListing {
    std::string path;
    std::string name;
    std::string version;
    std::string buildDate;
    std::string creationDate;
    std::string description;
    bool loaded = false;
};

// What ExecuteFile asks the platform to do.
struct LaunchRequest {
    std::string app;
    std::string params;
    std::string folder;
    int displayCmd = 5;
};

// The windows and plug-in operations the unit reaches. An empty member means the subsystem is not
// attached: the function says on the console that the feature is not available.
struct ScriptApiServices {
    // The node dialog on that node (modal); true when it was shown.
    std::function<void(int nodeIndex)> editNode;
    // The player-option editor; it reports an unknown node itself.
    std::function<void(const std::string& node, int optionNum)> editPlayerOption;
    // The float node strings editor on that float node; true when closed with OK.
    std::function<bool(int floatNodeIndex)> editFloatNode;
    // The selection window: the chosen item's index, or nothing when cancelled.
    std::function<std::optional<int>(
        const std::string& title, const std::string& label, const std::vector<std::string>& items)>
        selectItem;
    // Inserts at the caret of the timed-event data editor's code box.
    std::function<void(const std::string& line)> insertTimeEventCode;
    // Adds an item under "Insert command" of the timed-event data editor; tag = table index.
    std::function<void(const std::string& caption, const std::string& shortcut, int tag)> addTimeEventMenuItem;
    std::function<std::vector<PluginListing>()> listPlugins;
    std::function<void(const std::string& path)> startPlugin;
    // The export names of a library file; nothing when it cannot be read.
    std::function<std::optional<std::vector<std::string>>(const std::string& path)> pluginExports;
    // Starts a program or opens a document; empty = posix_spawn (LaunchFile).
    std::function<bool(const LaunchRequest&)> launch;
    // The definition reader LoadDef feeds (the completion tables); not owned.
    TParseInclude* definitions = nullptr;
    // The description store of Help, GetHelp and DumpHelpToHTML; not owned.
    FuncDescStore* descriptions = nullptr;
};

// Starts app (a document through xdg-open, an executable directly) without a shell; params are
// split at blanks into arguments. True when the process was started.
bool LaunchFile(const LaunchRequest& request);

class ZEVFuncs {
public:
    // runner may be null (no test run attached: the run functions act as if nothing runs).
    ZEVFuncs(App& app, ScriptHost& host, std::unique_ptr<RunControl> runner, ScriptApiServices services);
    ~ZEVFuncs();
    ZEVFuncs(const ZEVFuncs&) = delete;
    ZEVFuncs& operator=(const ZEVFuncs&) = delete;

    // The unit's table; handlers point at this object, which must outlive the registration.
    script::HostUnit BuildUnit();
    // Registers the unit on the host's engine (replacing an earlier ZEVFuncs); the destructor
    // removes it again.
    void Register();

    ScriptApiServices& services() { return m_services; }
    static std::string VersionText(); // "0.25.4-stable"

private:
    using Call = script::HostCall;
    using Defs = std::vector<script::HostFunction>;
    // Each group appends its functions; BuildUnit puts them in declaration order.
    void AddNodeFunctions(Defs& d);
    void AddOptionFunctions(Defs& d);
    void AddRunFunctions(Defs& d);
    void AddConsoleFunctions(Defs& d);
    void AddFileFunctions(Defs& d);
    void AddEventFunctions(Defs& d);
    void AddPluginFunctions(Defs& d);

    // The node at a 0-based index, or null.
    dlgnode* NodeAt(int64_t index);
    option* OptionAt(int64_t node, int64_t index);
    option* OptionOf(const std::string& node, int64_t index);
    void Print(std::string_view text);
    void NotAvailable(std::string_view function);
    bool console() const;
    void Refresh();
    void Notify();
    void AddNodeCommon(Call& c, bool refresh);

    App& m_app;
    ScriptHost& m_host;
    std::unique_ptr<RunControl> m_runner;
    ScriptApiServices m_services;
    bool m_registered = false;
};

} // namespace zev
