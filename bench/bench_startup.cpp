// Start-up and a full-capacity load, as the workbench of every front end does them, without windows:
//   bench_startup PROGRAM_FOLDER
// prints the milliseconds from the App's creation to "Init complete." with the shipped scripts,
// presets and plug-ins, then the time and the resident memory of loading a dialogue of 513 nodes
// of 513 options. (Google Benchmark is not used: each figure is one cold run.)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "app/dialogue_files.h"
#include "app/scripted_dialogs.h"
#include "base/paths.h"
#include "model/dialog_ops.h"
#include "model/dialog_writer.h"
#include "session/workbench.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

double FileSizeMb(const std::string& path)
{
    std::error_code ec;
    return static_cast<double>(std::filesystem::file_size(path, ec)) / 1e6;
}

long MaxRssMb()
{
    rusage u {};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024;
}

std::string FullCapacityText()
{
    auto d = std::make_unique<zev::dialog>();
    for (int i = 0; i < zev::kMaxNodes; ++i) {
        zev::dlgnode* n = zev::AddNode(*d, "Node" + std::to_string(i));
        n->npc_text = "What the NPC says at node " + std::to_string(i) + ".";
        for (int o = 0; o < zev::kMaxOptions; ++o) {
            zev::option* opt = zev::AddOption(*n);
            opt->text = "Answer " + std::to_string(o);
            opt->link_target = "Node" + std::to_string((i + o) % zev::kMaxNodes);
            opt->intelligence = 4;
        }
    }
    std::string text = zev::SerializeDialogue(*d);
    zev::Clear(*d);
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_startup PROGRAM_FOLDER\n");
        return 2;
    }
    std::string folder = argv[1];
    auto start = Clock::now();
    zev::ScriptedDialogs dialogs;
    zev::Workbench bench(dialogs, folder);
    zev::App& app = bench.app();
    app.log().SetFilePath("/tmp/zevdlg-bench-debug.log");
    bench.Start();
    std::printf("start-up to \"Init complete.\": %.1f ms (%d definitions, %d presets, %zu plug-ins)\n", Ms(start),
        bench.definitions().count(), bench.snippets().count(), bench.plugins().plugins().size());

    // The file is made in a child process, so its making does not count in this one's memory.
    std::string path = "/tmp/zevdlg-bench-full.zev";
    if (pid_t child = fork(); child == 0) {
        std::string text = FullCapacityText();
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f)
            _exit(1);
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
        _exit(0);
    } else {
        int status = 0;
        waitpid(child, &status, 0);
    }
    std::string text;
    std::string error;
    zev::ReadWholeFile(path, text, error);
    text.clear();
    text.shrink_to_fit();
    long before = MaxRssMb();
    auto load = Clock::now();
    bool ok = zev::LoadDialogueScript(app, path);
    std::printf("loading 513 nodes x 513 options (%.1f MB): %.1f ms, %s, %d nodes; peak resident memory %ld MB "
                "(%ld MB before)\n",
        FileSizeMb(path), Ms(load), ok ? "ok" : "FAILED", app.dlg().node_count, MaxRssMb(), before);
    return ok ? 0 : 1;
}
