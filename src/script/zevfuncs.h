#pragma once

// The host unit ZEVFuncs: the constants, the `basepath` variable and the functions through which
// scripts read and change the open dialogue, drive the test run, reach plug-ins and print to the
// console. Windows, plug-ins and the test run are reached through the App's interfaces, so the unit
// works (and is tested) before those subsystems are attached.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/node_resolution.h"
#include "model/records.h"
#include "script/engine/host_unit.h"

namespace zev {

class App;
class ScriptHost;
class TParseInclude;
class FuncDescStore;
struct EditResult;

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

// The tables of the script layer that some functions use: the definition reader LoadDef feeds
// (the completion tables) and the description store of Help, GetHelp and DumpHelpToHTML. Not
// owned; null means the function says it is not available.
struct ScriptTables {
    TParseInclude* definitions = nullptr;
    FuncDescStore* descriptions = nullptr;
};

class ZEVFuncs {
public:
    ZEVFuncs(App& app, ScriptHost& host, ScriptTables tables = {});
    ~ZEVFuncs();
    ZEVFuncs(const ZEVFuncs&) = delete;
    ZEVFuncs& operator=(const ZEVFuncs&) = delete;

    // The unit's table; handlers point at this object, which must outlive the registration.
    script::HostUnit BuildUnit();
    // Registers the unit on the host's engine (replacing an earlier ZEVFuncs); the destructor
    // removes it again.
    void Register();

    static std::string VersionText(); // "0.25.4-stable"

    // ---- What the handlers (zevfuncs_*.cpp) work with.
    App& app() { return m_app; }
    ScriptHost& host() { return m_host; }
    const ScriptTables& tables() const { return m_tables; }
    dialog& dlg();
    // The node at a 0-based index, or null.
    dlgnode* NodeAt(int64_t index);
    option* OptionAt(int64_t node, int64_t index);
    option* OptionOf(const std::string& node, int64_t index);
    void Print(std::string_view text);
    // Print as a function: the console that model operations report to.
    ConsoleFn ConsoleLines();
    // Prints the console text of a refused edit.
    void Refuse(const EditResult& refusal);
    void NotAvailable(std::string_view function);
    // Console output is shown somewhere (Help and GetHelp print nothing otherwise).
    bool console() const;
    void Refresh();
    void Notify();

private:
    App& m_app;
    ScriptHost& m_host;
    ScriptTables m_tables;
    bool m_registered = false;
};

} // namespace zev
