#pragma once

namespace zev {

class CliCommandTable;

// run-script and exec.
void RegisterScriptCommands(CliCommandTable& table);

} // namespace zev
