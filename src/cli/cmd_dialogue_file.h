#pragma once

namespace zev {

class CliCommandTable;

// check, format and lint.
void RegisterDialogueFileCommands(CliCommandTable& table);

} // namespace zev
