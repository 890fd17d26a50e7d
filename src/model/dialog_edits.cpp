#include "model/dialog_edits.h"

#include "base/log.h"
#include "model/dialog_ops.h"

#include <utility>

namespace zev {

namespace {

EditResult Refused(EditStatus status, EditTable table, std::string_view name, int index = -1)
{
    return { status, table, std::string(name), index };
}

std::string Quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

template <class T> Added<T> Full(EditTable table, std::string_view name)
{
    return { nullptr, Refused(EditStatus::TableFull, table, name) };
}

template <class T> Added<T> Made(T* record, EditTable table)
{
    return { record, { EditStatus::Done, table, {}, -1 } };
}

std::string FullText(EditTable table, const std::string& name)
{
    auto n = [](int32_t capacity) { return std::to_string(capacity); };
    switch (table) {
    case EditTable::Nodes:
        return "Error! The node table is full (" + n(kMaxNodes) + " nodes); " + Quoted(name) + " was not added.";
    case EditTable::Options:
        return "Error: node " + Quoted(name) + " already holds " + n(kMaxOptions)
            + " player options; nothing was added.";
    case EditTable::SkillChecks:
        return "Error! Node " + name + " already holds " + n(kMaxSkillChecks) + " skill checks; nothing was added.";
    case EditTable::FloatNodes:
        return "Error! The float node table is full (" + n(kMaxFloatNodes) + " float nodes); " + Quoted(name)
            + " was not added.";
    case EditTable::FloatMessages:
        return "Error! Float node " + Quoted(name) + " already holds " + n(kMaxFloatMessages)
            + " messages; nothing was added.";
    case EditTable::TimedEvents:
        return "Error! The timed event table is full (" + n(kMaxTimedEvents) + " events); " + Quoted(name)
            + " was not added.";
    case EditTable::TimedEventLines:
        return "Error! Timed event " + Quoted(name) + " already holds " + n(kMaxTimedEventLines)
            + " code lines; nothing was added.";
    }
    return "Error! The table is full.";
}

} // namespace

std::string RefusalText(const EditResult& r)
{
    bool floatNode = r.table == EditTable::FloatNodes;
    switch (r.status) {
    case EditStatus::Done:
    case EditStatus::Unchanged:
        return {};
    case EditStatus::NoSuchRecord:
        return floatNode ? "Error! No such float node." : "Error! No such node.";
    case EditStatus::EmptyName:
        return "Error! A node needs a name; empty node names are not allowed.";
    case EditStatus::NameTaken:
        if (floatNode)
            return "The specified float node already exists at index " + std::to_string(r.index);
        return "Error! Node " + r.name + " already exists!";
    case EditStatus::TableFull:
        return FullText(r.table, r.name);
    }
    return "Error! The edit was refused.";
}

EditResult CheckNodeName(const dialog& d, std::string_view name, int ownIndex)
{
    if (name.empty())
        return Refused(EditStatus::EmptyName, EditTable::Nodes, name);
    // Every holder counts, not only the first: a dialogue read from a file may repeat a name.
    int count = d.node_count < 0 ? 0 : (d.node_count > kMaxNodes ? kMaxNodes : d.node_count);
    for (int i = 0; i < count; ++i)
        if (i != ownIndex && d.nodes[i] && d.nodes[i]->name == name)
            return Refused(EditStatus::NameTaken, EditTable::Nodes, name, i);
    return { EditStatus::Done, EditTable::Nodes, std::string(name), -1 };
}

EditResult RenameNode(
    dialog& d, int nodeIndex, std::string_view newName, RemapMode mode, const ConsoleFn& console, Logger* log)
{
    if (nodeIndex < 0 || nodeIndex >= d.node_count || nodeIndex >= kMaxNodes || !d.nodes[nodeIndex])
        return Refused(EditStatus::NoSuchRecord, EditTable::Nodes, newName);
    dlgnode& node = *d.nodes[nodeIndex];
    if (node.name == newName)
        return { EditStatus::Unchanged, EditTable::Nodes, std::string(newName), -1 };
    EditResult check = CheckNodeName(d, newName, nodeIndex);
    if (!check.ok())
        return check;
    // The new name may point into a record the remap rewrites.
    std::string oldName = node.name.str(), name(newName);
    node.name = name;
    // An empty link names no node; remapping "" would tie every such option to this node.
    if (!oldName.empty()) {
        if (mode == RemapMode::InPlace) {
            RemapPlayerOptions(d, oldName, name, console);
        } else {
            Logger quiet;
            RemapForNodeDialog(d, oldName, name, mode == RemapMode::NodeDialogWithNotes, log ? *log : quiet);
        }
    }
    ResolveLinks(d);
    return check;
}

Added<dlgnode> TryAddNode(dialog& d, std::string_view name)
{
    EditResult check = CheckNodeName(d, name);
    if (!check.ok())
        return { nullptr, check };
    dlgnode* n = AddNode(d, name);
    return n ? Made(n, EditTable::Nodes) : Full<dlgnode>(EditTable::Nodes, name);
}

Added<option> TryAddOption(dlgnode& node)
{
    option* o = AddOption(node);
    return o ? Made(o, EditTable::Options) : Full<option>(EditTable::Options, node.name.view());
}

Added<skillcheck> TryAddSkillCheck(dlgnode& node)
{
    skillcheck* s = AddSkillCheck(node);
    return s ? Made(s, EditTable::SkillChecks) : Full<skillcheck>(EditTable::SkillChecks, node.name.view());
}

Added<floatnode> TryAddFloatNode(dialog& d, std::string_view name)
{
    int taken = FindFloatNodeIndex(d, name);
    if (taken >= 0)
        return { nullptr, Refused(EditStatus::NameTaken, EditTable::FloatNodes, name, taken) };
    floatnode* f = AddFloatNode(d, name);
    return f ? Made(f, EditTable::FloatNodes) : Full<floatnode>(EditTable::FloatNodes, name);
}

EditResult TryAddFloatMessage(floatnode& f, std::string_view message)
{
    if (!AddFloatMessage(f, message))
        return Refused(EditStatus::TableFull, EditTable::FloatMessages, f.name.view());
    return { EditStatus::Done, EditTable::FloatMessages, {}, -1 };
}

Added<time_event_data> TryAddTimedEvent(dialog& d, std::string_view fixedParamName)
{
    time_event_data* e = AddTimedEvent(d, fixedParamName);
    return e ? Made(e, EditTable::TimedEvents) : Full<time_event_data>(EditTable::TimedEvents, fixedParamName);
}

Added<action> TryAddTimedEventLine(time_event_data& e, std::string_view line)
{
    action* a = AddTimedEventLine(e, line);
    return a ? Made(a, EditTable::TimedEventLines)
             : Full<action>(EditTable::TimedEventLines, e.fixed_param_name.view());
}

std::string CloneName(const dialog& d, std::string_view format, std::string_view sourceName)
{
    std::string base;
    const std::string_view pattern = format.empty() ? std::string_view("Copy_of_%s") : format;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern.compare(i, 2, "%s") == 0) {
            base += sourceName;
            ++i;
        } else {
            base += pattern[i];
        }
    }
    if (base.empty())
        return CloneName(d, "Copy_of_%s", sourceName);
    if (FindNodeIndex(d, base) < 0)
        return base;
    for (int n = 2;; ++n) {
        std::string candidate = base + "_" + std::to_string(n);
        if (FindNodeIndex(d, candidate) < 0)
            return candidate;
    }
}

Added<dlgnode> CloneNode(dialog& d, int sourceIndex, std::string_view format)
{
    if (sourceIndex < 0 || sourceIndex >= d.node_count || !d.nodes[sourceIndex])
        return { nullptr, Refused(EditStatus::NoSuchRecord, EditTable::Nodes, {}) };
    const dlgnode& source = *d.nodes[sourceIndex];
    Added<dlgnode> added = TryAddNode(d, CloneName(d, format, source.name.view()));
    if (!added)
        return added;
    dlgnode& clone = *added.record;
    clone.npc_text = source.npc_text;
    clone.npc_female_text = source.npc_female_text;
    clone.notes = source.notes;
    for (int32_t i = 0; i < source.option_count && i < kMaxOptions; ++i) {
        const option& from = *source.options[i];
        option* to = AddOption(clone);
        if (!to)
            break;
        to->text = from.text;
        to->link_target = from.link_target;
        to->link_index = from.link_index;
        to->to_custom_proc = from.to_custom_proc;
        to->to_skill_check = from.to_skill_check;
        to->reaction = from.reaction;
        to->gender = from.gender;
        to->intelligence = from.intelligence;
        to->notes = from.notes;
        for (int32_t k = 0; k < from.condition_count && k < kMaxConditions; ++k)
            if (condition* c = AddCondition(*to))
                *c = *from.conditions[k];
    }
    return added;
}

bool SwapNodes(dialog& d, int a, int b)
{
    if (a < 0 || b < 0 || a >= d.node_count || b >= d.node_count)
        return false;
    std::swap(d.nodes[a], d.nodes[b]);
    return true;
}

bool SwapOptions(dlgnode& node, int a, int b)
{
    if (a < 0 || b < 0 || a >= node.option_count || b >= node.option_count)
        return false;
    std::swap(node.options[a], node.options[b]);
    return true;
}

int IncomingLinks(const dialog& d, std::string_view name)
{
    int count = 0;
    for (int32_t i = 0; i < d.node_count && i < kMaxNodes; ++i) {
        const dlgnode* n = d.nodes[i];
        for (int32_t k = 0; n && k < n->option_count && k < kMaxOptions; ++k)
            if (n->options[k] && n->options[k]->link_target.view() == name)
                ++count;
    }
    return count;
}

} // namespace zev
