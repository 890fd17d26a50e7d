#pragma once

// Keeping the references between records usable: links are by node name, so names are resolved
// to indices, rewritten after a rename, and the node table can be sorted by name.

#include <functional>
#include <string_view>

#include "model/records.h"

namespace zev {

class Logger;
using ConsoleFn = std::function<void(std::string_view)>;

// Every option's link_index becomes the index of the first node named exactly link_target, or -1.
void ResolveLinks(dialog& d);

// After a rename (in place in the editor's list, or by a script): every occurrence of oldName in
// node notes, and in the notes of options linking to it, becomes newName; those options link to
// newName. Skill check and start condition targets keep the old name; link_index is not recomputed.
void RemapPlayerOptions(dialog& d, std::string_view oldName, std::string_view newName, const ConsoleFn& console);

// The node dialog's rename: links always follow, notes only with autoRemapNodes.
void RemapForNodeDialog(
    dialog& d, std::string_view oldName, std::string_view newName, bool autoRemapNodes, Logger& log);

// Reorders the node table by name, ignoring case; nodes keep their content. Resolves links after.
void SortNodes(dialog& d, const ConsoleFn& console);
// Reorders the variable table by name in the same order; true when the order changed.
bool SortVariables(dialog& d);

} // namespace zev
