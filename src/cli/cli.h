#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/command_table.h"

namespace zev {

// zevdlg-cli: returns the process exit code.
int RunCli(int argc, char** argv);
// The same over a given table and streams; args without the program name.
int RunCli(const CliCommandTable& table, const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace zev
