#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zev::test {

struct Result {
    int code = -1;
    std::string out;
    std::string err;
};

// Environment changes for a child: a value to set, or nullopt to unset.
using EnvChanges = std::vector<std::pair<std::string, std::optional<std::string>>>;

// Runs a program with the given arguments and environment changes.
Result RunProgram(const std::string& exe, const std::vector<std::string>& args, const EnvChanges& env);

// Runs the built zevdlg-cli with the given arguments; ZEVDLG_HOME is set to home when given.
Result RunTool(const std::vector<std::string>& args, const char* home = nullptr);

} // namespace zev::test
