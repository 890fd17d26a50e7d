#include "script/zevfuncs.h"

#include <algorithm>
#include <stdexcept>

#include "app/app.h"
#include "model/dialog_ops.h"
#include "model/node_resolution.h"
#include "script/script_host.h"

namespace zev {

namespace {

// The declaration order: "Dump script commands" numbers the functions in this order, and the help
// listing follows it.
constexpr std::string_view kOrder[] = {
    "AddNode",
    "AddPlayerOption",
    "SetNodeName",
    "RefreshAll",
    "SetPlayerOptionLink",
    "MoveNodelinkToNotes",
    "GetCurrentNode",
    "SetCurrentNode",
    "GetSSLPath",
    "GetMSGPath",
    "DebugMsg",
    "EditNode",
    "SaveConfirm",
    "Help",
    "Print",
    "GetHelp",
    "ListNodes",
    "ShowNode",
    "ShowDialogGlobals",
    "SetDialogGlobals",
    "ShowConstants",
    "ListPlugins",
    "StartPlugin",
    "GetProgramVersion",
    "LoadDialogue",
    "SaveDialogue",
    "RunDialogue",
    "StopDialogue",
    "ShowNodeHistory",
    "ShowCurrentDir",
    "IsDialogueRunning",
    "ListTranscripts",
    "ShowTranscript",
    "Cls",
    "FlushDialogue",
    "Dir",
    "cd",
    "SaveDialogTranscripts",
    "DoNodeSort",
    "DumpHelpToHTML",
    "SetNodeData",
    "GetNodeData",
    "GetPlayerOptionStringData",
    "GetPlayerOptionIntegerData",
    "SetPlayerOptionStringData",
    "SetPlayerOptionIntegerData",
    "AddHelperScript",
    "GetNodeName",
    "EditPlayerOption",
    "GetNodeCount",
    "DeleteNode",
    "DeletePlayerOption",
    "Confirm",
    "StringReplace",
    "AddTimeEventCode",
    "AddTimeEventCommand",
    "SelectFloatNode",
    "SelectTimedEvent",
    "AddNodeNoRefresh",
    "AddTimedEvent",
    "AddCodeToEvent",
    "AddFloatNode",
    "AddMSGToFloatNode",
    "EditFloatNode",
    "Dialoguechangenotify",
    "GetTimedEventData",
    "DoLink_ShowExports",
    "ExecuteFile",
    "LoadDef",
    "AddSkillCheck",
    "SetOptionToSkillCheck",
    "RequestPluginRefresh",
    "SetNodeCustomCode",
};

struct ConstantDef {
    const char* name;
    int value;
};

constexpr ConstantDef kConstants[] = {
    { "FIELD_NPC_NAME", FIELD_NPC_NAME },
    { "FIELD_NPC_LOCATION", FIELD_NPC_LOCATION },
    { "FIELD_NPC_DESCRIPTION", FIELD_NPC_DESCRIPTION },
    { "FIELD_NPC_UNKNOWN_LOOK", FIELD_NPC_UNKNOWN_LOOK },
    { "FIELD_NPC_KNOWN_LOOK", FIELD_NPC_KNOWN_LOOK },
    { "FIELD_NPC_DETAILED_LOOK", FIELD_NPC_DETAILED_LOOK },
    { "FIELD_NODE_NPCTEXT", FIELD_NODE_NPCTEXT },
    { "FIELD_NODE_NPCFEMALETEXT", FIELD_NODE_NPCFEMALETEXT },
    { "FIELD_NODE_NOTES", FIELD_NODE_NOTES },
    { "FIELD_NODE_OPTIONCOUNT", FIELD_NODE_OPTIONCOUNT },
    { "FIELD_NODE_NAME", FIELD_NODE_NAME },
    { "FIELD_PLAYEROPTION_OPTIONTEXT", FIELD_PLAYEROPTION_OPTIONTEXT },
    { "FIELD_PLAYEROPTION_REACTION", FIELD_PLAYEROPTION_REACTION },
    { "FIELD_PLAYEROPTION_GENDERFLAGS", FIELD_PLAYEROPTION_GENDERFLAGS },
    { "FIELD_PLAYEROPTION_NODELINK", FIELD_PLAYEROPTION_NODELINK },
    { "FIELD_PLAYEROPTION_INTCHECK", FIELD_PLAYEROPTION_INTCHECK },
    { "FIELD_PLAYEROPTION_NOTES", FIELD_PLAYEROPTION_NOTES },
    { "REACTION_NEUTRAL", REACTION_NEUTRAL },
    { "REACTION_GOOD", REACTION_GOOD },
    { "REACTION_BAD", REACTION_BAD },
    { "GENDER_NONE", GENDER_ANY },
    { "GENDER_MALE", GENDER_MALE },
    { "GENDER_FEMALE", GENDER_FEMALE },
    { "SW_SHOW", 5 },
};

} // namespace

ZEVFuncs::ZEVFuncs(App& app, ScriptHost& host, ScriptTables tables)
    : m_app(app)
    , m_host(host)
    , m_tables(tables)
{
}

ZEVFuncs::~ZEVFuncs()
{
    if (m_registered)
        m_host.engine().UnregisterUnit("ZEVFuncs");
}

std::string ZEVFuncs::VersionText()
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d.%d.%d-%s", 0, 25, 4, "stable");
    return buf;
}

script::HostUnit ZEVFuncs::BuildUnit()
{
    script::HostUnit unit("ZEVFuncs");
    for (const ConstantDef& c : kConstants)
        unit.AddConstant(c.name, c.value);
    unit.AddVariable(
        "basepath", script::HostType::String, [this] { return script::HostValue::String(m_app.programFolder()); });

    Defs defs;
    AddNodeFunctions(defs);
    AddOptionFunctions(defs);
    AddRunFunctions(defs);
    AddConsoleFunctions(defs);
    AddFileFunctions(defs);
    AddEventFunctions(defs);
    AddPluginFunctions(defs);
    for (std::string_view name : kOrder) {
        auto it = std::find_if(defs.begin(), defs.end(), [&](const script::HostFunction& f) { return f.name == name; });
        if (it == defs.end())
            throw std::logic_error("ZEVFuncs: no handler for " + std::string(name));
        unit.AddFunction(it->name, it->params, it->result, it->handler);
    }
    if (defs.size() != std::size(kOrder))
        throw std::logic_error("ZEVFuncs: a handler is missing from the declaration order");
    return unit;
}

void ZEVFuncs::Register()
{
    m_host.engine().RegisterUnit(BuildUnit());
    m_registered = true;
}

dlgnode* ZEVFuncs::NodeAt(int64_t index)
{
    dialog& d = m_app.dlg();
    if (index < 0 || index >= d.node_count)
        return nullptr;
    return d.nodes[index];
}

option* ZEVFuncs::OptionAt(int64_t node, int64_t index)
{
    dlgnode* n = NodeAt(node);
    if (!n || index < 0 || index >= n->option_count)
        return nullptr;
    return n->options[index];
}

option* ZEVFuncs::OptionOf(const std::string& node, int64_t index)
{
    return OptionAt(FindNodeIndex(m_app.dlg(), node), index);
}

void ZEVFuncs::Print(std::string_view text)
{
    m_host.WriteConsoleLine(text);
}

bool ZEVFuncs::console() const
{
    return m_app.console().shown();
}

void ZEVFuncs::NotAvailable(std::string_view function)
{
    Print(std::string(function) + ": this feature is not available here.");
}

void ZEVFuncs::Refresh()
{
    m_app.RefreshEditorLists();
}

void ZEVFuncs::Notify()
{
    m_app.BroadcastPluginUpdate();
}

} // namespace zev
