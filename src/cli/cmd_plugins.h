#pragma once

namespace zev {

class CliCommandTable;

// zevdlg-cli plugins and run-plugin.
void RegisterPluginCommands(CliCommandTable& table);

} // namespace zev
