#pragma once

// Lookups, additions, removals and whole-dialogue operations on the records.
// Names compare exactly (case-sensitive); indices count from 0; -1 means not found.

#include <cstdint>
#include <string_view>

#include "model/records.h"

namespace zev {

class Logger;

// ---- Lookups: the first match from index 0.
int FindNodeIndex(const dialog& d, std::string_view name);
int FindNodeIndexIn(std::string_view name, const dialog& d);
int FindFloatNodeIndex(const dialog& d, std::string_view name);
int FindTimedEventIndex(const dialog& d, std::string_view fixedParamName);
int FindVariableIndexIn(std::string_view name, const dialog& d);
int FindCustomProcIndex(const dialog& d, std::string_view name);
// The index of the check within its node, or -1; nodeIndex receives the node's index (-1 when
// not found). Nodes are scanned in order, checks within a node in order.
int FindSkillCheck(const dialog& d, std::string_view name, int& nodeIndex);
// Within one node only.
int FindSkillCheckInNode(const dlgnode& node, std::string_view name);

// ---- Capacity: the one check every addition to a table of the records goes through, the
// editors' and the reader's alike. A count outside the table (a corrupt one) counts as full.
template <class T, std::size_t N> bool TableFull(const T (&)[N], int32_t count)
{
    return count < 0 || count >= static_cast<int32_t>(N);
}

// ---- Additions: a zero-filled record stored at index count, then the count incremented.
// Each returns the new record, or nullptr when the table is full (nothing is written then).
template <class T, std::size_t N> T* AppendRecord(T* (&table)[N], int32_t& count)
{
    if (TableFull(table, count))
        return nullptr;
    T* rec = new T();
    table[count] = rec;
    ++count;
    return rec;
}

dlgnode* AddNode(dialog& d, std::string_view name);
option* AddOption(dlgnode& node);
condition* AddCondition(option& opt);
skillcheck* AddSkillCheck(dlgnode& node);
floatnode* AddFloatNode(dialog& d, std::string_view name);
bool AddFloatMessage(floatnode& f, std::string_view message);
time_event_data* AddTimedEvent(dialog& d, std::string_view fixedParamName);
action* AddTimedEventLine(time_event_data& e, std::string_view line);
custom_proc* AddCustomProc(dialog& d, std::string_view name);
TVariable* AddVariable(dialog& d, std::string_view name);

// The start-condition editor's additions. The index forms return false for an index that names no
// start condition or line, or for a full table.
starting_condition* AddStartCondition(dialog& d, std::string_view targetNode, bool makeDefault);
cond_data* AddStartConditionLine(dialog& d, int startCondition, std::string_view ssl, std::string_view varParam,
    int32_t eval, std::string_view valueToCheck, int32_t iniIndex, int32_t link);
bool SetStartConditionLine(dialog& d, int startCondition, int line, std::string_view ssl, std::string_view varParam,
    int32_t eval, std::string_view valueToCheck, int32_t iniIndex, int32_t link);

// ---- Removals: the later entries shift down by one and the count decreases. The removed record
// is returned, not freed (the caller owns it now); nullptr for an index out of range, which
// changes nothing.
dlgnode* RemoveNodeAt(dialog& d, int index);
floatnode* RemoveFloatNodeAt(dialog& d, int index);
time_event_data* RemoveTimedEventAt(dialog& d, int index);
custom_proc* RemoveCustomProcAt(dialog& d, int index);
TVariable* RemoveVariableAt(dialog& d, int index);
// Keeps default_condition naming the same start condition, or -1 when that one is removed.
starting_condition* RemoveStartConditionAt(dialog& d, int index);
option* RemoveOptionAt(dialog& d, int node, int index);
condition* RemoveConditionAt(dialog& d, int node, int opt, int index);
bool RemoveFloatMessageAt(dialog& d, int floatNode, int index);
cond_data* RemoveStartConditionLineAt(dialog& d, int startCondition, int index);
// Removes and frees the first skill check of that name; nothing happens when there is none.
void RemoveSkillCheck(dialog& d, std::string_view name);
// Removes and frees one code line of a timed event.
bool RemoveTimedEventLineAt(time_event_data& e, int index);

// ---- Freeing a record with everything it owns.
void FreeNode(dlgnode* node);
void FreeOption(option* opt);
void FreeTimedEvent(time_event_data* e);
void FreeStartCondition(starting_condition* s);

// ---- Whole dialogue.
// Frees every record the dialogue owns and empties every field (New).
void Clear(dialog& d);
// Frees the records, with the log lines the program has always written. With no nodes it logs
// and frees nothing (Clear or the reader disposes of the rest). The freed tables' counts become 0
// so nothing can reach a freed record.
void Release(dialog& d, Logger& log);

// The copies handed to plug-ins. The shallow copy shares every record; the old-format copy has
// new node records whose option and skill check tables still point at the live records.
dialog* CopyDialogShared(const dialog& d);
dialog_oldformat* CopyDialogOldFormat(const dialog& d);
void FreeDialogShared(dialog* copy);
void FreeDialogOldFormat(dialog_oldformat* copy);

} // namespace zev
