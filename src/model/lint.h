#pragma once

#include <string>
#include <vector>

#include "model/records.h"

namespace zev {

// What will break in the game or in a test run, one message per finding, in table order:
// links to missing nodes, skill checks or procedures; skill-check and start-condition targets that
// name no node; duplicate node and skill-check names; names that are not identifiers; nodes nothing
// reaches; empty tables that older readers reject.
std::vector<std::string> LintDialogue(const dialog& d);

// Letters (A-Z, a-z, "_" and the six Latin-1 letters the file format allows) and digits, not
// starting with a digit, and not a keyword of the file format.
bool IsIdentifier(std::string_view name);

} // namespace zev
