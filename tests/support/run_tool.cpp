#include "support/run_tool.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "support/temp_dir.h"

namespace zev::test {

// stdout and stderr go to files so neither pipe can fill up and block the child.
Result RunProgram(const std::string& exe, const std::vector<std::string>& args, const EnvChanges& env)
{
    TempDir dir;
    std::string outPath = dir.File("out"), errPath = dir.File("err");
    std::string path = exe;
    std::vector<char*> argv { path.data() };
    std::vector<std::string> copy = args;
    for (auto& a : copy)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0)
            _exit(127);
        for (const auto& [name, value] : env)
            value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
        execv(path.c_str(), argv.data());
        _exit(127);
    }
    Result r;
    int status = 0;
    if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        r.code = WEXITSTATUS(status);
    r.out = ReadFileBytes(outPath);
    r.err = ReadFileBytes(errPath);
    return r;
}

// The built zevdlg-cli.
Result RunTool(const std::vector<std::string>& args, const char* home)
{
    return RunProgram(ZEV_DIST_DIR "/zevdlg-cli", args,
        { { "ZEVDLG_HOME", home ? std::optional<std::string>(home) : std::nullopt } });
}

} // namespace zev::test
