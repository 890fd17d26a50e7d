#pragma once

// Starting another program or opening a document, without a shell.

#include <string>

namespace zev {

struct LaunchRequest {
    std::string app;
    std::string params;
    std::string folder;
    int displayCmd = 5;
};

// Starts app (a document through xdg-open, an executable directly); params are split at blanks
// into arguments. True when the process was started.
bool LaunchFile(const LaunchRequest& request);

} // namespace zev
