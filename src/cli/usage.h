#pragma once

#include <string>

#include "cli/command_table.h"

namespace zev {

inline constexpr const char* kCliName = "zevdlg-cli";

// The tool's help: synopsis, every command, the common options and the exit codes.
std::string CliHelpText(const CliCommandTable& table);
// One command's help: its synopsis, what it does and its options.
std::string CliCommandHelpText(const CliCommand& command);
// The short reminder printed after a usage error.
std::string CliUsageHint(const CliCommand* command);

} // namespace zev
