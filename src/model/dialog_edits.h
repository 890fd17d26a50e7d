#pragma once

// Editing operations that keep the dialogue's rules: node names are non-empty and unique (compared
// exactly, case-sensitive), a rename carries the links that named the node along, and an addition
// to a full table is refused with a result rather than a null. The script functions, the editor
// windows and the functions exported to plug-ins all edit through these, so the rules live once.

#include <string>
#include <string_view>

#include "model/node_resolution.h"
#include "model/records.h"

namespace zev {

class Logger;

enum class EditStatus {
    Done,
    Unchanged, // nothing to do: a rename to the node's own name
    NoSuchRecord, // the index names no record
    EmptyName,
    NameTaken, // another record has the name; EditResult::index says which
    TableFull,
};

// The table an edit was about.
enum class EditTable { Nodes, Options, SkillChecks, FloatNodes, FloatMessages, TimedEvents, TimedEventLines };

struct EditResult {
    EditStatus status = EditStatus::Done;
    EditTable table = EditTable::Nodes;
    // The name refused, or for a full table the new record's name (nodes, float nodes, timed
    // events) or the owner's name (options, skill checks, messages, code lines).
    std::string name;
    // NameTaken: the index of the record that holds the name. Otherwise -1.
    int index = -1;

    bool ok() const { return status == EditStatus::Done || status == EditStatus::Unchanged; }
};

// An addition: the new record, or null with the refusal in result.
template <class T> struct Added {
    T* record = nullptr;
    EditResult result;

    explicit operator bool() const { return record != nullptr; }
};

// The script console's text for a refusal ("Error! Node X already exists!", "Error! The node table
// is full (513 nodes); "X" was not added.", ...). Empty for a result that is ok.
std::string RefusalText(const EditResult& r);

// Whether name may be given to node ownIndex (-1: to a new node): not empty, and no other node has
// it. A node keeping its own name is fine.
EditResult CheckNodeName(const dialog& d, std::string_view name, int ownIndex = -1);

// How a rename rewrites the references to the old name.
enum class RemapMode {
    // RemapPlayerOptions: links and every mention in notes, reported on the console. Scripts and
    // the node list's in-place rename.
    InPlace,
    // RemapForNodeDialog, logged: links only (AutoRemapNodes off) or links and notes (on).
    NodeDialog,
    NodeDialogWithNotes,
};

inline RemapMode NodeDialogRemap(bool autoRemapNodes)
{
    return autoRemapNodes ? RemapMode::NodeDialogWithNotes : RemapMode::NodeDialog;
}

// Renames node nodeIndex after CheckNodeName, remaps the references to its old name as mode says,
// and resolves links again (an option that named the new name before now reaches the node). A
// rename to the node's own name is Unchanged and touches nothing. A node without a name has no
// references: links that are empty stay empty. console receives the in-place remap's report; log
// the node dialog's (null: not logged).
EditResult RenameNode(dialog& d, int nodeIndex, std::string_view newName, RemapMode mode, const ConsoleFn& console,
    Logger* log = nullptr);

// ---- Additions with the rules and capacity refusals; each changes nothing when refused.
// A node of a name CheckNodeName accepts, appended at the end.
Added<dlgnode> TryAddNode(dialog& d, std::string_view name);
Added<option> TryAddOption(dlgnode& node);
Added<skillcheck> TryAddSkillCheck(dlgnode& node);
// Float node names are unique among float nodes (NameTaken with the holder's index).
Added<floatnode> TryAddFloatNode(dialog& d, std::string_view name);
EditResult TryAddFloatMessage(floatnode& f, std::string_view message);
Added<time_event_data> TryAddTimedEvent(dialog& d, std::string_view fixedParamName);
Added<action> TryAddTimedEventLine(time_event_data& e, std::string_view line);

// ---- Node list operations of the editor.
// The name of a clone of sourceName: format with every "%s" replaced by the name (an empty result
// falls back to "Copy_of_%s"); when a node has that name already, the first free "_2", "_3", ...
// is appended, so a clone never duplicates a name.
std::string CloneName(const dialog& d, std::string_view format, std::string_view sourceName);
// Appends a copy of node sourceIndex under CloneName: its texts and notes, and every option with
// all its fields and conditions as new records; not its custom code nor its skill checks; visible.
// NoSuchRecord for a bad index, TableFull at capacity (nothing changes then).
Added<dlgnode> CloneNode(dialog& d, int sourceIndex, std::string_view format);
// The records at a and b trade places, each keeping all its data; false for an index out of range.
bool SwapNodes(dialog& d, int a, int b);
bool SwapOptions(dlgnode& node, int a, int b);
// How many options of the dialogue link to name, whatever the link's kind (a link is a name).
int IncomingLinks(const dialog& d, std::string_view name);

} // namespace zev
