#include "model/dialog_ops.h"

#include <string>

#include "base/log.h"

namespace zev {

namespace {

template <class T, std::size_t N, class Pred> int FindFirst(T* const (&table)[N], int32_t count, Pred pred)
{
    int n = count < 0 ? 0 : (count > static_cast<int32_t>(N) ? static_cast<int>(N) : count);
    for (int i = 0; i < n; ++i)
        if (table[i] && pred(*table[i]))
            return i;
    return -1;
}

// Takes entry index out of the table: later entries move down, the vacated slot is cleared.
template <class T, std::size_t N> T* TakeAt(T* (&table)[N], int32_t& count, int index)
{
    if (index < 0 || index >= count || count > static_cast<int32_t>(N))
        return nullptr;
    T* removed = table[index];
    for (int i = index; i < count - 1; ++i)
        table[i] = table[i + 1];
    table[count - 1] = nullptr;
    --count;
    return removed;
}

template <class T, std::size_t N, class Free> void FreeAll(T* (&table)[N], int32_t& count, Free freeOne)
{
    int n = count < 0 ? 0 : (count > static_cast<int32_t>(N) ? static_cast<int>(N) : count);
    for (int i = 0; i < n; ++i) {
        freeOne(table[i]);
        table[i] = nullptr;
    }
    count = 0;
}

template <class T> void DeleteRecord(T* p)
{
    delete p;
}

dlgnode* NodeAt(dialog& d, int node)
{
    if (node < 0 || node >= d.node_count || node >= kMaxNodes)
        return nullptr;
    return d.nodes[node];
}

starting_condition* StartConditionAt(dialog& d, int index)
{
    if (index < 0 || index >= d.start_condition_count || index >= kMaxStartConditions)
        return nullptr;
    return d.start_conditions[index];
}

void FillLine(cond_data& c, std::string_view ssl, std::string_view varParam, int32_t eval,
    std::string_view valueToCheck, int32_t iniIndex, int32_t link)
{
    c.ssl = ssl;
    c.var_param = varParam;
    c.eval = eval;
    c.value_to_check = valueToCheck;
    c.ini_index = iniIndex;
    c.link = link;
}

} // namespace

// ---- Lookups

int FindNodeIndex(const dialog& d, std::string_view name)
{
    return FindFirst(d.nodes, d.node_count, [&](const dlgnode& n) { return n.name == name; });
}

int FindNodeIndexIn(std::string_view name, const dialog& d)
{
    return FindNodeIndex(d, name);
}

int FindFloatNodeIndex(const dialog& d, std::string_view name)
{
    return FindFirst(d.float_nodes, d.float_node_count, [&](const floatnode& f) { return f.name == name; });
}

int FindTimedEventIndex(const dialog& d, std::string_view fixedParamName)
{
    return FindFirst(d.timed_events, d.timed_event_count,
        [&](const time_event_data& e) { return e.fixed_param_name == fixedParamName; });
}

int FindVariableIndexIn(std::string_view name, const dialog& d)
{
    return FindFirst(d.variables, d.variable_count, [&](const TVariable& v) { return v.name == name; });
}

int FindCustomProcIndex(const dialog& d, std::string_view name)
{
    return FindFirst(d.custom_procs, d.custom_proc_count, [&](const custom_proc& p) { return p.name == name; });
}

int FindSkillCheckInNode(const dlgnode& node, std::string_view name)
{
    return FindFirst(node.skill_checks, node.skill_check_count, [&](const skillcheck& s) { return s.name == name; });
}

int FindSkillCheck(const dialog& d, std::string_view name, int& nodeIndex)
{
    int n = d.node_count > kMaxNodes ? kMaxNodes : d.node_count;
    for (int i = 0; i < n; ++i) {
        if (!d.nodes[i])
            continue;
        int s = FindSkillCheckInNode(*d.nodes[i], name);
        if (s >= 0) {
            nodeIndex = i;
            return s;
        }
    }
    nodeIndex = -1;
    return -1;
}

// ---- Additions

dlgnode* AddNode(dialog& d, std::string_view name)
{
    dlgnode* n = AppendRecord(d.nodes, d.node_count);
    if (n)
        n->name = name;
    return n;
}

option* AddOption(dlgnode& node)
{
    return AppendRecord(node.options, node.option_count);
}

condition* AddCondition(option& opt)
{
    return AppendRecord(opt.conditions, opt.condition_count);
}

skillcheck* AddSkillCheck(dlgnode& node)
{
    return AppendRecord(node.skill_checks, node.skill_check_count);
}

floatnode* AddFloatNode(dialog& d, std::string_view name)
{
    floatnode* f = AppendRecord(d.float_nodes, d.float_node_count);
    if (f)
        f->name = name;
    return f;
}

bool AddFloatMessage(floatnode& f, std::string_view message)
{
    if (TableFull(f.messages, f.message_count))
        return false;
    f.messages[f.message_count] = message;
    ++f.message_count;
    return true;
}

time_event_data* AddTimedEvent(dialog& d, std::string_view fixedParamName)
{
    time_event_data* e = AppendRecord(d.timed_events, d.timed_event_count);
    if (e)
        e->fixed_param_name = fixedParamName;
    return e;
}

action* AddTimedEventLine(time_event_data& e, std::string_view line)
{
    action* a = AppendRecord(e.code, e.code_line_count);
    if (a)
        a->line = line;
    return a;
}

custom_proc* AddCustomProc(dialog& d, std::string_view name)
{
    custom_proc* p = AppendRecord(d.custom_procs, d.custom_proc_count);
    if (p)
        p->name = name;
    return p;
}

TVariable* AddVariable(dialog& d, std::string_view name)
{
    TVariable* v = AppendRecord(d.variables, d.variable_count);
    if (v)
        v->name = name;
    return v;
}

starting_condition* AddStartCondition(dialog& d, std::string_view targetNode, bool makeDefault)
{
    starting_condition* s = AppendRecord(d.start_conditions, d.start_condition_count);
    if (!s)
        return nullptr;
    s->target_node = targetNode;
    if (makeDefault)
        d.default_condition = d.start_condition_count - 1;
    return s;
}

cond_data* AddStartConditionLine(dialog& d, int startCondition, std::string_view ssl, std::string_view varParam,
    int32_t eval, std::string_view valueToCheck, int32_t iniIndex, int32_t link)
{
    starting_condition* s = StartConditionAt(d, startCondition);
    if (!s)
        return nullptr;
    cond_data* c = AppendRecord(s->lines, s->line_count);
    if (c)
        FillLine(*c, ssl, varParam, eval, valueToCheck, iniIndex, link);
    return c;
}

bool SetStartConditionLine(dialog& d, int startCondition, int line, std::string_view ssl, std::string_view varParam,
    int32_t eval, std::string_view valueToCheck, int32_t iniIndex, int32_t link)
{
    starting_condition* s = StartConditionAt(d, startCondition);
    if (!s || line < 0 || line >= s->line_count || line >= kMaxStartConditionLines || !s->lines[line])
        return false;
    FillLine(*s->lines[line], ssl, varParam, eval, valueToCheck, iniIndex, link);
    return true;
}

// ---- Removals

dlgnode* RemoveNodeAt(dialog& d, int index)
{
    return TakeAt(d.nodes, d.node_count, index);
}

floatnode* RemoveFloatNodeAt(dialog& d, int index)
{
    return TakeAt(d.float_nodes, d.float_node_count, index);
}

time_event_data* RemoveTimedEventAt(dialog& d, int index)
{
    return TakeAt(d.timed_events, d.timed_event_count, index);
}

custom_proc* RemoveCustomProcAt(dialog& d, int index)
{
    return TakeAt(d.custom_procs, d.custom_proc_count, index);
}

TVariable* RemoveVariableAt(dialog& d, int index)
{
    return TakeAt(d.variables, d.variable_count, index);
}

starting_condition* RemoveStartConditionAt(dialog& d, int index)
{
    starting_condition* s = TakeAt(d.start_conditions, d.start_condition_count, index);
    if (!s)
        return nullptr;
    if (index == d.default_condition)
        d.default_condition = -1;
    else if (index < d.default_condition)
        --d.default_condition;
    return s;
}

option* RemoveOptionAt(dialog& d, int node, int index)
{
    dlgnode* n = NodeAt(d, node);
    return n ? TakeAt(n->options, n->option_count, index) : nullptr;
}

condition* RemoveConditionAt(dialog& d, int node, int opt, int index)
{
    dlgnode* n = NodeAt(d, node);
    if (!n || opt < 0 || opt >= n->option_count || opt >= kMaxOptions || !n->options[opt])
        return nullptr;
    option* o = n->options[opt];
    return TakeAt(o->conditions, o->condition_count, index);
}

bool RemoveFloatMessageAt(dialog& d, int floatNode, int index)
{
    if (floatNode < 0 || floatNode >= d.float_node_count || floatNode >= kMaxFloatNodes || !d.float_nodes[floatNode])
        return false;
    floatnode& f = *d.float_nodes[floatNode];
    if (index < 0 || index >= f.message_count || f.message_count > kMaxFloatMessages)
        return false;
    for (int i = index; i < f.message_count - 1; ++i)
        f.messages[i] = std::move(f.messages[i + 1]);
    f.messages[f.message_count - 1] = HostString();
    --f.message_count;
    return true;
}

cond_data* RemoveStartConditionLineAt(dialog& d, int startCondition, int index)
{
    starting_condition* s = StartConditionAt(d, startCondition);
    return s ? TakeAt(s->lines, s->line_count, index) : nullptr;
}

void RemoveSkillCheck(dialog& d, std::string_view name)
{
    int node = -1;
    int index = FindSkillCheck(d, name, node);
    if (index < 0)
        return;
    dlgnode& n = *d.nodes[node];
    delete TakeAt(n.skill_checks, n.skill_check_count, index);
}

bool RemoveTimedEventLineAt(time_event_data& e, int index)
{
    action* a = TakeAt(e.code, e.code_line_count, index);
    delete a;
    return a != nullptr;
}

// ---- Freeing

void FreeOption(option* opt)
{
    if (!opt)
        return;
    FreeAll(opt->conditions, opt->condition_count, DeleteRecord<condition>);
    delete opt;
}

void FreeNode(dlgnode* node)
{
    if (!node)
        return;
    FreeAll(node->skill_checks, node->skill_check_count, DeleteRecord<skillcheck>);
    FreeAll(node->options, node->option_count, FreeOption);
    delete node;
}

void FreeTimedEvent(time_event_data* e)
{
    if (!e)
        return;
    FreeAll(e->code, e->code_line_count, DeleteRecord<action>);
    delete e;
}

void FreeStartCondition(starting_condition* s)
{
    if (!s)
        return;
    FreeAll(s->lines, s->line_count, DeleteRecord<cond_data>);
    delete s;
}

// ---- Whole dialogue

void Clear(dialog& d)
{
    FreeAll(d.start_conditions, d.start_condition_count, FreeStartCondition);
    FreeAll(d.custom_procs, d.custom_proc_count, DeleteRecord<custom_proc>);
    FreeAll(d.timed_events, d.timed_event_count, FreeTimedEvent);
    FreeAll(d.float_nodes, d.float_node_count, DeleteRecord<floatnode>);
    FreeAll(d.nodes, d.node_count, FreeNode);
    FreeAll(d.variables, d.variable_count, DeleteRecord<TVariable>);
    d.file_name = HostString();
    d.npc_name = HostString();
    d.description = HostString();
    d.location = HostString();
    d.unknown_desc = HostString();
    d.known_desc = HostString();
    d.detailed_desc = HostString();
    d.default_event = 0;
    d.default_condition = 0;
}

void Release(dialog& d, Logger& log)
{
    log.Log("Deallocating dialog node pointers");
    if (d.node_count <= 0) {
        log.Log("No nodes to deallocate, exiting procedure for safety.");
        return;
    }
    FreeAll(d.float_nodes, d.float_node_count, DeleteRecord<floatnode>);
    FreeAll(d.timed_events, d.timed_event_count, FreeTimedEvent);
    int nodes = d.node_count > kMaxNodes ? kMaxNodes : d.node_count;
    for (int n = 0; n < nodes; ++n) {
        dlgnode* node = d.nodes[n];
        if (!node)
            continue;
        int opts = node->option_count > kMaxOptions ? kMaxOptions : node->option_count;
        for (int o = 0; o < opts; ++o) {
            option* opt = node->options[o];
            if (!opt) {
                log.Log("NODE:" + std::to_string(n) + ":OPT:" + std::to_string(o)
                    + ": Already null pointer, not going to do anything!");
                continue;
            }
            int conds = opt->condition_count > kMaxConditions ? kMaxConditions : opt->condition_count;
            for (int c = 0; c < conds; ++c) {
                if (!opt->conditions[c])
                    log.Log("Not deallocating null condition pointer " + std::to_string(c));
                delete opt->conditions[c];
                opt->conditions[c] = nullptr;
            }
            opt->condition_count = 0;
            delete opt;
            node->options[o] = nullptr;
        }
        node->option_count = 0;
        FreeNode(node);
        d.nodes[n] = nullptr;
    }
    int disposed = d.node_count;
    d.node_count = 0;
    FreeAll(d.start_conditions, d.start_condition_count, FreeStartCondition);
    FreeAll(d.custom_procs, d.custom_proc_count, DeleteRecord<custom_proc>);
    FreeAll(d.variables, d.variable_count, DeleteRecord<TVariable>);
    log.Log("disposed " + std::to_string(disposed) + " nodes.");
}

// ---- Copies for plug-ins

dialog* CopyDialogShared(const dialog& d)
{
    return new dialog(d);
}

dialog_oldformat* CopyDialogOldFormat(const dialog& d)
{
    auto* out = new dialog_oldformat();
    out->file_name = d.file_name;
    out->npc_name = d.npc_name;
    out->description = d.description;
    out->location = d.location;
    out->unknown_desc = d.unknown_desc;
    out->known_desc = d.known_desc;
    out->detailed_desc = d.detailed_desc;
    int n = d.node_count < 0 ? 0 : (d.node_count > kMaxNodes ? kMaxNodes : d.node_count);
    for (int i = 0; i < n; ++i)
        out->nodes[i] = d.nodes[i] ? new dlgnode(*d.nodes[i]) : nullptr;
    out->node_count = n;
    return out;
}

void FreeDialogShared(dialog* copy)
{
    delete copy;
}

void FreeDialogOldFormat(dialog_oldformat* copy)
{
    if (!copy)
        return;
    int n = copy->node_count < 0 ? 0 : (copy->node_count > kMaxNodes ? kMaxNodes : copy->node_count);
    for (int i = 0; i < n; ++i)
        delete copy->nodes[i];
    delete copy;
}

} // namespace zev
