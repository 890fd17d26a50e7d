#pragma once

#include <string>
#include <vector>

namespace zev::test {

struct Result {
    int code = -1;
    std::string out;
    std::string err;
};

// Runs the built zevdlg-cli with the given arguments; ZEVDLG_HOME is set to home when given.
Result RunTool(const std::vector<std::string>& args, const char* home = nullptr);

} // namespace zev::test
