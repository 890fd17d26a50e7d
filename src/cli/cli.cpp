#include "cli/cli.h"

#include <cstdio>
#include <cstring>

namespace zev {

int RunCli(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("zevdlg %s\n", ZEV_VERSION_TEXT);
        return 0;
    }
    return 2;
}

} // namespace zev
