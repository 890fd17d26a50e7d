// ZEVFuncs: nodes, dialogue globals and skill checks.

#include "app/app.h"
#include "model/dialog_ops.h"
#include "model/node_resolution.h"
#include "script/script_host.h"
#include "script/zevfuncs.h"
#include "script/zevfuncs_defs.h"

namespace zev {

using namespace zevdefs;

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

void ZEVFuncs::AddNodeCommon(Call& c, bool refresh)
{
    dialog& d = m_app.dlg();
    std::string name = c.GetString("nodename");
    if (FindNodeIndex(d, name) >= 0) {
        Print("Error! Node " + name + " already exists!");
        return;
    }
    dlgnode* n = AddNode(d, name);
    if (!n) {
        Print("Error! The node table is full (" + std::to_string(kMaxNodes) + " nodes); " + Quoted(name)
            + " was not added.");
        return;
    }
    n->npc_text = c.GetString("npctext");
    n->npc_female_text = c.GetString("npctext_female");
    n->notes = c.GetString("notes");
    Print("Added node " + Quoted(name));
    if (refresh) {
        Refresh();
        Notify();
    }
}

void ZEVFuncs::AddNodeFunctions(Defs& d)
{
    const auto addParams = std::vector<HostParam> { S("nodename"), S("npctext"), S("notes"), S("npctext_female", "") };
    Def(d, "AddNode", addParams, HostType::Void, [this](Call& c) { AddNodeCommon(c, true); });
    Def(d, "AddNodeNoRefresh", addParams, HostType::Void, [this](Call& c) { AddNodeCommon(c, false); });

    Def(d, "SetNodeName", { S("Oldname"), S("NewName") }, HostType::Void, [this](Call& c) {
        dialog& dl = m_app.dlg();
        std::string oldName = c.GetString("Oldname"), newName = c.GetString("NewName");
        int i = FindNodeIndex(dl, oldName);
        if (i < 0)
            return;
        // Names are unique: a second node of the same name would take the first one's links.
        if (newName != oldName && FindNodeIndex(dl, newName) >= 0) {
            Print("Error! Node " + newName + " already exists!");
            return;
        }
        dl.nodes[i]->name = newName;
        Print("Renamed " + oldName + " to " + newName);
        RemapPlayerOptions(dl, oldName, newName, [this](std::string_view t) { Print(t); });
        Notify();
    });

    Def(d, "RefreshAll", {}, HostType::Void, [this](Call&) {
        Refresh();
        ResolveLinks(m_app.dlg());
    });

    Def(d, "DoNodeSort", {}, HostType::Void, [this](Call&) {
        SortNodes(m_app.dlg(), [this](std::string_view t) { Print(t); });
        Print("Node sorting complete.");
        ResolveLinks(m_app.dlg());
        Refresh();
        Notify();
    });

    Def(d, "GetNodeCount", {}, HostType::Integer, [this](Call& c) { c.SetInteger("result", m_app.dlg().node_count); });

    Def(d, "GetNodeName", { I("nodeIndex") }, HostType::String, [this](Call& c) {
        if (dlgnode* n = NodeAt(c.GetInteger("nodeIndex")))
            c.SetString("result", n->name.str());
    });

    Def(d, "GetNodeData", { I("Node"), I("Field") }, HostType::String, [this](Call& c) {
        dlgnode* n = NodeAt(c.GetInteger("Node"));
        if (!n)
            return;
        int64_t field = c.GetInteger("Field");
        if (field == FIELD_NODE_OPTIONCOUNT)
            c.SetString("result", std::to_string(n->option_count));
        else if (HostString* s = NodeField(*n, field))
            c.SetString("result", s->str());
    });

    Def(d, "SetNodeData", { I("Node"), I("Field"), S("Newdata") }, HostType::Void, [this](Call& c) {
        dlgnode* n = NodeAt(c.GetInteger("Node"));
        if (!n)
            return;
        int64_t field = c.GetInteger("Field");
        std::string data = c.GetString("Newdata");
        if (field == FIELD_NODE_NAME && data != n->name.view() && FindNodeIndex(m_app.dlg(), data) >= 0) {
            Print("Error! Node " + data + " already exists!");
            return;
        }
        if (HostString* s = NodeField(*n, field))
            *s = data;
        Refresh();
        Notify();
    });

    Def(d, "DeleteNode", { S("Name") }, HostType::Void, [this](Call& c) {
        int i = FindNodeIndex(m_app.dlg(), c.GetString("Name"));
        if (i < 0)
            return;
        FreeNode(RemoveNodeAt(m_app.dlg(), i));
        Notify();
    });

    Def(d, "ListNodes", {}, HostType::Void, [this](Call&) {
        const dialog& dl = m_app.dlg();
        if (dl.node_count == 0) {
            Print("No nodes in dialogue.");
            return;
        }
        Print("Dialogue has " + std::to_string(dl.node_count) + " nodes:");
        Print("");
        for (int i = 0; i < dl.node_count; ++i)
            Print(dl.nodes[i]->name.str() + ": " + std::to_string(dl.nodes[i]->option_count) + " player options.");
    });

    Def(d, "ShowNode", { S("name") }, HostType::Void, [this](Call& c) {
        std::string name = c.GetString("name");
        int i = FindNodeIndex(m_app.dlg(), name);
        if (i < 0) {
            Print("Node " + Quoted(name) + " not found!");
            return;
        }
        const dlgnode& n = *m_app.dlg().nodes[i];
        Print("Node info for " + name + ":\\nNPC Default:" + n.npc_text.str());
        if (!n.npc_female_text.empty())
            Print("NPC (pc=female): " + n.npc_female_text.str());
        if (!n.notes.empty())
            Print("Notes for the node:\\n" + n.notes.str());
        if (n.option_count > 0) {
            Print("Player options (" + std::to_string(n.option_count) + "):\\n");
            for (int k = 0; k < n.option_count; ++k)
                Print(
                    std::to_string(k + 1) + ": " + n.options[k]->text.str() + " -> " + n.options[k]->link_target.str());
        }
    });

    Def(d, "EditNode", { S("node") }, HostType::Void, [this](Call& c) {
        std::string name = c.GetString("node");
        Print("Launching editnode on " + name);
        int i = FindNodeIndex(m_app.dlg(), name);
        if (i < 0) {
            m_app.dialogs().Warning("Node " + name + " not found!");
            return;
        }
        if (!m_app.windows().Has(CoreWindow::NodeEditor)) {
            NotAvailable("EditNode");
            return;
        }
        m_app.windows().EditNodeAt(i);
        ResolveLinks(m_app.dlg());
        Refresh();
        Notify();
    });

    Def(d, "SetNodeCustomCode", { S("Node"), S("code") }, HostType::Void, [this](Call& c) {
        int i = FindNodeIndex(m_app.dlg(), c.GetString("Node"));
        if (i >= 0)
            m_app.dlg().nodes[i]->custom_code = c.GetString("code");
    });

    Def(d, "ShowDialogGlobals", {}, HostType::Void, [this](Call&) {
        const dialog& dl = m_app.dlg();
        Print("Dialogue globals for " + Quoted(dl.file_name.view()) + "\\n");
        Print("NPC Name:               " + dl.npc_name.str());
        Print("Location:               " + dl.location.str());
        Print("Description:            " + dl.description.str() + "\\n");
        Print("look_p_proc(unknown):   " + dl.unknown_desc.str());
        Print("look_p_proc(known):     " + dl.known_desc.str());
        Print("description_p_proc:     " + dl.detailed_desc.str());
        Print("\\nNumber of nodes:      " + std::to_string(dl.node_count));
    });

    Def(d, "SetDialogGlobals", { I("Field"), S("data") }, HostType::Void, [this](Call& c) {
        int64_t field = c.GetInteger("Field");
        std::string data = c.GetString("data");
        GlobalField g = DialogGlobal(field);
        if (g.member) {
            Print(std::string("SetDialogGlobals: Changed ") + g.label + " to " + data);
            m_app.dlg().*g.member = data;
        } else {
            Print("Unknown field: " + std::to_string(field));
        }
        Print("Requesting plugins to refresh data.");
        Notify();
    });

    Def(d, "Dialoguechangenotify", {}, HostType::Void, [this](Call&) { m_app.DialogueChanged(); });

    Def(d, "AddSkillCheck", { S("node"), S("name"), I("skill"), I("modifier"), S("onsuccess"), S("onfailure") },
        HostType::Void, [this](Call& c) {
            std::string node = c.GetString("node");
            int i = FindNodeIndex(m_app.dlg(), node);
            if (i < 0)
                return;
            skillcheck* s = AddSkillCheck(*m_app.dlg().nodes[i]);
            if (!s) {
                Print("Error! Node " + node + " already holds " + std::to_string(kMaxSkillChecks)
                    + " skill checks; nothing was added.");
                return;
            }
            s->name = c.GetString("name");
            s->skill = static_cast<int32_t>(c.GetInteger("skill"));
            s->difficulty_modifier = static_cast<int32_t>(c.GetInteger("modifier"));
            s->on_success = c.GetString("onsuccess");
            s->on_failure = c.GetString("onfailure");
        });
}

} // namespace zev
