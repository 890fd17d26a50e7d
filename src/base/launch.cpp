#include "base/launch.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>
#include <vector>

extern char** environ;

namespace zev {

namespace {

bool IsExecutableFile(const std::string& path)
{
    struct stat st { };
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// Started programs are reaped on the next start, so none lingers as a zombie for long.
void ReapChildren(std::vector<pid_t>& children)
{
    std::erase_if(children, [](pid_t pid) { return waitpid(pid, nullptr, WNOHANG) != 0; });
}

} // namespace

bool LaunchFile(const LaunchRequest& request)
{
    static std::vector<pid_t> children;
    ReapChildren(children);
    std::vector<std::string> args;
    if (IsExecutableFile(request.app)) {
        args.push_back(request.app);
        std::istringstream words(request.params);
        for (std::string w; words >> w;)
            args.push_back(w);
    } else {
        args = { "xdg-open", request.app };
    }
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!request.folder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, request.folder.c_str());
    pid_t pid = 0;
    int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return false;
    children.push_back(pid);
    return true;
}

} // namespace zev
