// ZEVFuncs: nodes, dialogue globals and skill checks.

#include "app/app.h"
#include "model/dialog_edits.h"
#include "model/dialog_ops.h"
#include "model/node_resolution.h"
#include "script/zevfuncs.h"
#include "script/zevfuncs_handlers.h"

namespace zev {

namespace {

HostString* NodeField(dlgnode& n, int64_t field)
{
    switch (field) {
    case FIELD_NODE_NPCTEXT:
        return &n.npc_text;
    case FIELD_NODE_NPCFEMALETEXT:
        return &n.npc_female_text;
    case FIELD_NODE_NOTES:
        return &n.notes;
    case FIELD_NODE_NAME:
        return &n.name;
    default:
        return nullptr;
    }
}

struct GlobalField {
    HostString dialog::*member;
    const char* label;
};

GlobalField DialogGlobal(int64_t field)
{
    switch (field) {
    case FIELD_NPC_NAME:
        return { &dialog::npc_name, "npc name" };
    case FIELD_NPC_LOCATION:
        return { &dialog::location, "npc location" };
    case FIELD_NPC_DESCRIPTION:
        return { &dialog::description, "npc description" };
    case FIELD_NPC_UNKNOWN_LOOK:
        return { &dialog::unknown_desc, "npc unknown_look_desc" };
    case FIELD_NPC_KNOWN_LOOK:
        return { &dialog::known_desc, "npc known_look_desc" };
    case FIELD_NPC_DETAILED_LOOK:
        return { &dialog::detailed_desc, "npc description_p_proc message" };
    default:
        return { nullptr, nullptr };
    }
}

} // namespace

namespace handlers {

namespace {

// AddNode and AddNodeNoRefresh: the name and capacity rules decide, the arguments fill the node.
void AddNodeWith(ZEVFuncs& f, Call& c, bool refresh)
{
    std::string name = c.GetString("nodename");
    Added<dlgnode> added = TryAddNode(f.dlg(), name);
    if (!added) {
        f.Refuse(added.result);
        return;
    }
    dlgnode& n = *added.record;
    n.npc_text = c.GetString("npctext");
    n.npc_female_text = c.GetString("npctext_female");
    n.notes = c.GetString("notes");
    f.Print("Added node " + Quoted(name));
    if (refresh) {
        f.Refresh();
        f.Notify();
    }
}

} // namespace

void AddNode(ZEVFuncs& f, Call& c)
{
    AddNodeWith(f, c, true);
}

void AddNodeNoRefresh(ZEVFuncs& f, Call& c)
{
    AddNodeWith(f, c, false);
}

void SetNodeName(ZEVFuncs& f, Call& c)
{
    dialog& d = f.dlg();
    std::string oldName = c.GetString("Oldname"), newName = c.GetString("NewName");
    int i = FindNodeIndex(d, oldName);
    if (i < 0)
        return;
    // Checked before the report: "Renamed" comes first, then the remap's own lines.
    EditResult check = newName == oldName ? EditResult {} : CheckNodeName(d, newName, i);
    if (!check.ok()) {
        f.Refuse(check);
        return;
    }
    f.Print("Renamed " + oldName + " to " + newName);
    if (RenameNode(d, i, newName, RemapMode::InPlace, f.ConsoleLines()).status == EditStatus::Done)
        f.Notify();
}

void RefreshAll(ZEVFuncs& f, Call&)
{
    f.Refresh();
    ResolveLinks(f.dlg());
}

void DoNodeSort(ZEVFuncs& f, Call&)
{
    // SortNodes reports "Node sorting complete." and resolves the links itself.
    SortNodes(f.dlg(), f.ConsoleLines());
    f.Refresh();
    f.Notify();
}

void GetNodeCount(ZEVFuncs& f, Call& c)
{
    c.SetInteger("result", f.dlg().node_count);
}

void GetNodeName(ZEVFuncs& f, Call& c)
{
    if (dlgnode* n = f.NodeAt(c.GetInteger("nodeIndex")))
        c.SetString("result", n->name.str());
}

void GetNodeData(ZEVFuncs& f, Call& c)
{
    dlgnode* n = f.NodeAt(c.GetInteger("Node"));
    if (!n)
        return;
    int64_t field = c.GetInteger("Field");
    if (field == FIELD_NODE_OPTIONCOUNT)
        c.SetString("result", std::to_string(n->option_count));
    else if (HostString* s = NodeField(*n, field))
        c.SetString("result", s->str());
}

// A new name goes through the rename rules, so the links that named the node follow it.
void SetNodeData(ZEVFuncs& f, Call& c)
{
    int64_t index = c.GetInteger("Node");
    dlgnode* n = f.NodeAt(index);
    if (!n)
        return;
    int64_t field = c.GetInteger("Field");
    std::string data = c.GetString("Newdata");
    if (field == FIELD_NODE_NAME) {
        EditResult r = RenameNode(f.dlg(), static_cast<int>(index), data, RemapMode::InPlace, f.ConsoleLines());
        if (!r.ok()) {
            f.Refuse(r);
            return;
        }
    } else if (HostString* s = NodeField(*n, field)) {
        *s = data;
    }
    f.Refresh();
    f.Notify();
}

void DeleteNode(ZEVFuncs& f, Call& c)
{
    int i = FindNodeIndex(f.dlg(), c.GetString("Name"));
    if (i < 0)
        return;
    FreeNode(RemoveNodeAt(f.dlg(), i));
    f.Notify();
}

void ListNodes(ZEVFuncs& f, Call&)
{
    const dialog& d = f.dlg();
    if (d.node_count == 0) {
        f.Print("No nodes in dialogue.");
        return;
    }
    f.Print("Dialogue has " + std::to_string(d.node_count) + " nodes:");
    f.Print("");
    for (int i = 0; i < d.node_count; ++i)
        f.Print(d.nodes[i]->name.str() + ": " + std::to_string(d.nodes[i]->option_count) + " player options.");
}

void ShowNode(ZEVFuncs& f, Call& c)
{
    std::string name = c.GetString("name");
    int i = FindNodeIndex(f.dlg(), name);
    if (i < 0) {
        f.Print("Node " + Quoted(name) + " not found!");
        return;
    }
    const dlgnode& n = *f.dlg().nodes[i];
    f.Print("Node info for " + name + ":\\nNPC Default:" + n.npc_text.str());
    if (!n.npc_female_text.empty())
        f.Print("NPC (pc=female): " + n.npc_female_text.str());
    if (!n.notes.empty())
        f.Print("Notes for the node:\\n" + n.notes.str());
    if (n.option_count > 0) {
        f.Print("Player options (" + std::to_string(n.option_count) + "):\\n");
        for (int k = 0; k < n.option_count; ++k)
            f.Print(std::to_string(k + 1) + ": " + n.options[k]->text.str() + " -> " + n.options[k]->link_target.str());
    }
}

void EditNode(ZEVFuncs& f, Call& c)
{
    App& app = f.app();
    std::string name = c.GetString("node");
    f.Print("Launching editnode on " + name);
    int i = FindNodeIndex(app.dlg(), name);
    if (i < 0) {
        app.dialogs().Warning("Node " + name + " not found!");
        return;
    }
    if (!app.windows().Has(CoreWindow::NodeEditor)) {
        f.NotAvailable("EditNode");
        return;
    }
    app.windows().EditNodeAt(i);
    ResolveLinks(app.dlg());
    f.Refresh();
    f.Notify();
}

void SetNodeCustomCode(ZEVFuncs& f, Call& c)
{
    int i = FindNodeIndex(f.dlg(), c.GetString("Node"));
    if (i >= 0)
        f.dlg().nodes[i]->custom_code = c.GetString("code");
}

void ShowDialogGlobals(ZEVFuncs& f, Call&)
{
    const dialog& d = f.dlg();
    f.Print("Dialogue globals for " + Quoted(d.file_name.view()) + "\\n");
    f.Print("NPC Name:               " + d.npc_name.str());
    f.Print("Location:               " + d.location.str());
    f.Print("Description:            " + d.description.str() + "\\n");
    f.Print("look_p_proc(unknown):   " + d.unknown_desc.str());
    f.Print("look_p_proc(known):     " + d.known_desc.str());
    f.Print("description_p_proc:     " + d.detailed_desc.str());
    f.Print("\\nNumber of nodes:      " + std::to_string(d.node_count));
}

void SetDialogGlobals(ZEVFuncs& f, Call& c)
{
    int64_t field = c.GetInteger("Field");
    std::string data = c.GetString("data");
    GlobalField g = DialogGlobal(field);
    if (g.member) {
        f.Print(std::string("SetDialogGlobals: Changed ") + g.label + " to " + data);
        f.dlg().*g.member = data;
    } else {
        f.Print("Unknown field: " + std::to_string(field));
    }
    f.Print("Requesting plugins to refresh data.");
    f.Notify();
}

void Dialoguechangenotify(ZEVFuncs& f, Call&)
{
    f.app().DialogueChanged();
}

void AddSkillCheck(ZEVFuncs& f, Call& c)
{
    int i = FindNodeIndex(f.dlg(), c.GetString("node"));
    if (i < 0)
        return;
    Added<skillcheck> added = TryAddSkillCheck(*f.dlg().nodes[i]);
    if (!added) {
        f.Refuse(added.result);
        return;
    }
    skillcheck& s = *added.record;
    s.name = c.GetString("name");
    s.skill = static_cast<int32_t>(c.GetInteger("skill"));
    s.difficulty_modifier = static_cast<int32_t>(c.GetInteger("modifier"));
    s.on_success = c.GetString("onsuccess");
    s.on_failure = c.GetString("onfailure");
}

} // namespace handlers

} // namespace zev
