#pragma once

namespace zev {

// zevdlg-cli: returns the process exit code.
int RunCli(int argc, char** argv);

} // namespace zev
