// The desktop program's start-up and a full-capacity load with its windows (offscreen):
//   bench_gui_startup PROGRAM_FOLDER
// prints the milliseconds from main() to "Init complete." (process creation itself not included;
// time the whole process with `time` for that), then the time and peak resident memory of
// loading a dialogue of 513 nodes of 513 options into the running program.
#include "app/app.h"
#include "app/scripted_dialogs.h"
#include "app/startup.h"
#include "model/dialog_ops.h"
#include "model/dialog_writer.h"

#include <QApplication>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>

#include "desktop/gui/desktop_program.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Milliseconds since the process was created (the kernel counts in clock ticks: 10 ms steps), so
// dynamic linking and static initialisation before main() count too.
double MsSinceProcessStart()
{
    std::FILE* f = std::fopen("/proc/self/stat", "r");
    if (!f)
        return -1;
    char buf[1024];
    std::size_t n = std::fread(buf, 1, sizeof buf - 1, f);
    std::fclose(f);
    buf[n] = 0;
    const char* p = std::strrchr(buf, ')'); // the command name may hold spaces
    if (!p)
        return -1;
    unsigned long long start = 0;
    // Field 22 (starttime); fields 3.. follow the name.
    if (std::sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %*u %*u %*d %*d %*d %*d %*d %*d %llu", &start)
        != 1)
        return -1;
    timespec now {};
    clock_gettime(CLOCK_BOOTTIME, &now);
    double ticks = static_cast<double>(sysconf(_SC_CLK_TCK));
    return (static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9 - static_cast<double>(start) / ticks) * 1000.0;
}

long MaxRssMb()
{
    rusage u {};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024;
}

void WriteFullCapacityFile(const std::string& path)
{
    auto d = std::make_unique<zev::dialog>();
    for (int i = 0; i < zev::kMaxNodes; ++i) {
        zev::dlgnode* n = zev::AddNode(*d, "Node" + std::to_string(i));
        n->npc_text = "What the NPC says at node " + std::to_string(i) + ".";
        for (int o = 0; o < zev::kMaxOptions; ++o) {
            zev::option* opt = zev::AddOption(*n);
            opt->text = "Answer " + std::to_string(o);
            opt->link_target = "Node" + std::to_string((i + o) % zev::kMaxNodes);
        }
    }
    std::string error;
    zev::WriteDialogueFile(*d, path, error);
    zev::Clear(*d);
}

} // namespace

int main(int argc, char** argv)
{
    auto start = Clock::now();
    const double beforeMain = MsSinceProcessStart();
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_gui_startup PROGRAM_FOLDER\n");
        return 2;
    }
    // The big file is made by a child process, so its making does not count in this one's memory.
    const std::string path = "/tmp/zevdlg-bench-gui-full.zev";
    if (pid_t child = fork(); child == 0) {
        WriteFullCapacityFile(path);
        _exit(0);
    } else {
        int status = 0;
        waitpid(child, &status, 0);
    }
    start = Clock::now();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    zev::ScriptedDialogs dialogs;
    zev::Workbench bench(dialogs, argv[1]);
    zev::App& app = bench.app();
    app.log().SetFilePath("/tmp/zevdlg-bench-gui-debug.log");
    Clock::time_point initComplete {};
    app.log().SetMirror([&](std::string_view message, std::string_view) {
        if (message == "Init complete.")
            initComplete = Clock::now();
    });
    zev::DesktopProgram program(bench, zev::TextEncoding::Cp1252);
    program.Start({});
    QCoreApplication::processEvents();
    std::printf("process start to main(): %.0f ms (10 ms steps)\n", beforeMain);
    std::printf("main() to \"Init complete.\": %.1f ms; window shown after %.1f ms; peak resident memory %ld MB\n",
        Ms(start, initComplete), Ms(start, Clock::now()), MaxRssMb());

    auto load = Clock::now();
    program.scripts().ExecuteScriptConsole("LoadDialogue('" + path + "')");
    QCoreApplication::processEvents();
    std::printf("loading 513 nodes x 513 options in the program: %.1f ms, %d nodes; peak resident memory %ld MB\n",
        Ms(load, Clock::now()), app.dlg().node_count, MaxRssMb());
    return app.dlg().node_count == zev::kMaxNodes ? 0 : 1;
}
