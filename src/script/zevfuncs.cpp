#include "script/zevfuncs.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "app/app.h"
#include "model/dialog_edits.h"
#include "model/dialog_ops.h"
#include "script/script_host.h"
#include "script/zevfuncs_handlers.h"

namespace zev {

namespace {

using script::HostParam;
using script::HostType;
using script::HostValue;
using enum script::HostType;

HostParam S(std::string name)
{
    return { std::move(name), HostType::String, std::nullopt };
}
HostParam S(std::string name, std::string def)
{
    return { std::move(name), HostType::String, HostValue::String(std::move(def)) };
}
HostParam I(std::string name)
{
    return { std::move(name), HostType::Integer, std::nullopt };
}
HostParam B(std::string name, bool def)
{
    return { std::move(name), HostType::Boolean, HostValue::Boolean(def) };
}

struct FunctionDef {
    const char* name;
    std::vector<HostParam> params;
    HostType result;
    handlers::Handler handler;
};

// The functions in declaration order: "Dump script commands" numbers them in this order, the help
// listing follows it, and the shipped func_desc.ini is written in it.
const FunctionDef kFunctions[] = {
    { "AddNode", { S("nodename"), S("npctext"), S("notes"), S("npctext_female", "") }, Void, handlers::AddNode },
    { "AddPlayerOption", { S("destnodename"), S("opttext"), S("nodelink"), S("notes") }, Void,
        handlers::AddPlayerOption },
    { "SetNodeName", { S("Oldname"), S("NewName") }, Void, handlers::SetNodeName },
    { "RefreshAll", {}, Void, handlers::RefreshAll },
    { "SetPlayerOptionLink", { I("Nodeindex"), I("OptionIndex"), S("Newdata") }, Void, handlers::SetPlayerOptionLink },
    { "MoveNodelinkToNotes", { I("Nodeindex"), I("Optionindex"), S("Replacedata") }, Void,
        handlers::MoveNodelinkToNotes },
    { "GetCurrentNode", {}, String, handlers::GetCurrentNode },
    { "SetCurrentNode", { S("name") }, Void, handlers::SetCurrentNode },
    { "GetSSLPath", {}, String, handlers::GetSSLPath },
    { "GetMSGPath", {}, String, handlers::GetMSGPath },
    { "DebugMsg", { S("message") }, Void, handlers::DebugMsg },
    { "EditNode", { S("node") }, Void, handlers::EditNode },
    { "SaveConfirm", {}, Boolean, handlers::SaveConfirm },
    { "Help", {}, Void, handlers::Help },
    { "Print", { S("text") }, Void, handlers::Print },
    { "GetHelp", { S("cmd") }, Void, handlers::GetHelp },
    { "ListNodes", {}, Void, handlers::ListNodes },
    { "ShowNode", { S("name") }, Void, handlers::ShowNode },
    { "ShowDialogGlobals", {}, Void, handlers::ShowDialogGlobals },
    { "SetDialogGlobals", { I("Field"), S("data") }, Void, handlers::SetDialogGlobals },
    { "ShowConstants", {}, Void, handlers::ShowConstants },
    { "ListPlugins", {}, Void, handlers::ListPlugins },
    { "StartPlugin", { S("name") }, Void, handlers::StartPlugin },
    { "GetProgramVersion", {}, Void, handlers::GetProgramVersion },
    { "LoadDialogue", { S("filename") }, Void, handlers::LoadDialogue },
    { "SaveDialogue", { S("filename") }, Void, handlers::SaveDialogue },
    { "RunDialogue", { S("node") }, Void, handlers::RunDialogue },
    { "StopDialogue", {}, Void, handlers::StopDialogue },
    { "ShowNodeHistory", {}, Void, handlers::ShowNodeHistory },
    { "ShowCurrentDir", {}, Void, handlers::ShowCurrentDir },
    { "IsDialogueRunning", {}, Boolean, handlers::IsDialogueRunning },
    { "ListTranscripts", {}, Void, handlers::ListTranscripts },
    { "ShowTranscript", { I("num") }, Void, handlers::ShowTranscript },
    { "Cls", {}, Void, handlers::Cls },
    { "FlushDialogue", {}, Void, handlers::FlushDialogue },
    { "Dir", {}, Void, handlers::Dir },
    { "cd", { S("path") }, Void, handlers::cd },
    { "SaveDialogTranscripts", {}, Void, handlers::SaveDialogTranscripts },
    { "DoNodeSort", {}, Void, handlers::DoNodeSort },
    { "DumpHelpToHTML", {}, Void, handlers::DumpHelpToHTML },
    { "SetNodeData", { I("Node"), I("Field"), S("Newdata") }, Void, handlers::SetNodeData },
    { "GetNodeData", { I("Node"), I("Field") }, String, handlers::GetNodeData },
    { "GetPlayerOptionStringData", { S("Node"), I("Option"), I("Field") }, String,
        handlers::GetPlayerOptionStringData },
    { "GetPlayerOptionIntegerData", { S("Node"), I("Option"), I("Field") }, Integer,
        handlers::GetPlayerOptionIntegerData },
    { "SetPlayerOptionStringData", { S("Node"), I("Option"), I("Field"), S("newdata") }, Void,
        handlers::SetPlayerOptionStringData },
    { "SetPlayerOptionIntegerData", { S("Node"), I("Option"), I("Field"), I("newdata") }, Void,
        handlers::SetPlayerOptionIntegerData },
    { "AddHelperScript", { S("Filename"), S("Description"), S("Category") }, Void, handlers::AddHelperScript },
    { "GetNodeName", { I("nodeIndex") }, String, handlers::GetNodeName },
    { "EditPlayerOption", { S("Node"), I("OptionNum") }, Void, handlers::EditPlayerOption },
    { "GetNodeCount", {}, Integer, handlers::GetNodeCount },
    { "DeleteNode", { S("Name") }, Void, handlers::DeleteNode },
    { "DeletePlayerOption", { S("Node"), I("OptionIndex") }, Void, handlers::DeletePlayerOption },
    { "Confirm", { S("Message") }, Boolean, handlers::Confirm },
    { "StringReplace", { S("srcString"), S("oldString"), S("newString"), B("ReplaceAll", true) }, String,
        handlers::StringReplace },
    { "AddTimeEventCode", { S("line") }, Void, handlers::AddTimeEventCode },
    { "AddTimeEventCommand", { S("Name"), S("script"), S("Shortcut") }, Void, handlers::AddTimeEventCommand },
    { "SelectFloatNode", {}, String, handlers::SelectFloatNode },
    { "SelectTimedEvent", {}, String, handlers::SelectTimedEvent },
    { "AddNodeNoRefresh", { S("nodename"), S("npctext"), S("notes"), S("npctext_female", "") }, Void,
        handlers::AddNodeNoRefresh },
    { "AddTimedEvent", { S("name"), I("interval1"), I("interval2") }, Void, handlers::AddTimedEvent },
    { "AddCodeToEvent", { S("eventname"), S("codeline") }, Void, handlers::AddCodeToEvent },
    { "AddFloatNode", { S("nodename"), S("desc") }, Void, handlers::AddFloatNode },
    { "AddMSGToFloatNode", { S("node"), S("msg") }, Void, handlers::AddMSGToFloatNode },
    { "EditFloatNode", { S("node") }, Void, handlers::EditFloatNode },
    { "Dialoguechangenotify", {}, Void, handlers::Dialoguechangenotify },
    { "GetTimedEventData", { S("event") }, String, handlers::GetTimedEventData },
    { "DoLink_ShowExports", { S("plugin") }, Void, handlers::DoLink_ShowExports },
    { "ExecuteFile", { S("app"), S("params"), S("defaultdir"), I("displaycmd") }, Void, handlers::ExecuteFile },
    { "LoadDef", { S("fname") }, Void, handlers::LoadDef },
    { "AddSkillCheck", { S("node"), S("name"), I("skill"), I("modifier"), S("onsuccess"), S("onfailure") }, Void,
        handlers::AddSkillCheck },
    { "SetOptionToSkillCheck", { S("node"), I("opt_ind"), S("skillcheck") }, Void, handlers::SetOptionToSkillCheck },
    { "RequestPluginRefresh", {}, Void, handlers::RequestPluginRefresh },
    { "SetNodeCustomCode", { S("Node"), S("code") }, Void, handlers::SetNodeCustomCode },
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

    for (const FunctionDef& f : kFunctions)
        unit.AddFunction(
            f.name, f.params, f.result, [this, handler = f.handler](script::HostCall& c) { handler(*this, c); });
    return unit;
}

void ZEVFuncs::Register()
{
    m_host.engine().RegisterUnit(BuildUnit());
    m_registered = true;
}

dialog& ZEVFuncs::dlg()
{
    return m_app.dlg();
}

dlgnode* ZEVFuncs::NodeAt(int64_t index)
{
    dialog& d = m_app.dlg();
    if (index < 0 || index >= d.node_count || index >= kMaxNodes)
        return nullptr;
    return d.nodes[index];
}

option* ZEVFuncs::OptionAt(int64_t node, int64_t index)
{
    dlgnode* n = NodeAt(node);
    if (!n || index < 0 || index >= n->option_count || index >= kMaxOptions)
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

ConsoleFn ZEVFuncs::ConsoleLines()
{
    return [this](std::string_view text) { Print(text); };
}

void ZEVFuncs::Refuse(const EditResult& refusal)
{
    Print(RefusalText(refusal));
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
