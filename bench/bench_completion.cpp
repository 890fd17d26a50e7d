// Rebuilding the completion lists of a full-capacity dialogue with the shipped definitions, and
// narrowing them as a name is typed:
//   bench_completion [PROGRAM_FOLDER] [benchmark flags]
// The definitions are the files def/def_list.dws loads from PROGRAM_FOLDER (by default the program
// folder of this build, ../dist beside the benchmark). Targets: a refresh under 5 ms, a narrowing
// step under 2 ms. Each figure is reported as the median of the repetitions.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "base/log.h"
#include "completion/completion_list.h"
#include "completion/parse_include.h"
#include "model/dialog_ops.h"

namespace {

using namespace zev;
namespace fs = std::filesystem;

constexpr int kRepetitions = 15;
constexpr int kFloatNodes = 100;

DefinitionTable g_definitions;

struct FullDialogue {
    dialog d;
    FullDialogue()
    {
        for (int i = 0; i < kFloatNodes; ++i)
            AddFloatNode(d, "Float_" + std::to_string(i));
        for (int i = 0; i < kMaxNodes; ++i)
            AddNode(d, "Node_" + std::to_string(i))->npc_text
                = "What the NPC says at node " + std::to_string(i) + ", a line of ordinary length.";
        for (int i = 0; i < kMaxVariables; ++i)
            AddVariable(d, "var_" + std::to_string(i))->scope = i % 3 == 0 ? SCOPE_LOCAL : SCOPE_EXPORT;
    }
    ~FullDialogue() { Clear(d); }
};

const dialog& Dialogue()
{
    static FullDialogue full;
    return full.d;
}

fs::path DefaultProgramFolder()
{
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path("dist") : exe.parent_path().parent_path() / "dist";
}

// The definition files def_list.dws names, loaded as the start-up script loads them.
bool LoadShippedDefinitions(const fs::path& folder)
{
    std::ifstream in(folder / "def" / "def_list.dws", std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", (folder / "def" / "def_list.dws").c_str());
        return false;
    }
    std::stringstream script;
    script << in.rdbuf();
    const std::string text = script.str();
    static const std::regex loadDef(R"(LoadDef\s*\(\s*basepath\s*\+\s*'/([^']+)')");
    Logger log;
    TParseInclude parser(g_definitions);
    for (std::sregex_iterator it(text.begin(), text.end(), loadDef), end; it != end; ++it) {
        const DefLoadResult r = LoadDef(parser, (folder / (*it)[1].str()).string(), log);
        if (!r.read) {
            std::fprintf(stderr, "cannot read %s: %s\n", (*it)[1].str().c_str(), r.ioError.c_str());
            return false;
        }
    }
    return !g_definitions.empty();
}

void BM_RefreshCompletionList(benchmark::State& state)
{
    Logger log;
    CompletionLists lists;
    for (auto _ : state) {
        RefreshCompletionList(Dialogue(), g_definitions, log, lists);
        benchmark::DoNotOptimize(lists.shown.data());
    }
    state.counters["entries"] = static_cast<double>(lists.shown.size());
}
BENCHMARK(BM_RefreshCompletionList)->Unit(benchmark::kMicrosecond)->Repetitions(kRepetitions);

// One key of typing "obj_pid" (the word grows by one character per step), and the list of every
// node or every entry.
const std::array<const char*, 10> kPrefixes
    = { "", "N", "Node_5", "o", "ob", "obj", "obj_", "obj_p", "obj_pi", "obj_pid" };

void BM_NarrowCompletion(benchmark::State& state)
{
    Logger log;
    CompletionLists lists;
    RefreshCompletionList(Dialogue(), g_definitions, log, lists);
    const std::string_view prefix = kPrefixes[static_cast<std::size_t>(state.range(0))];
    std::vector<int> out;
    for (auto _ : state) {
        NarrowCompletion(lists, prefix, out);
        benchmark::DoNotOptimize(out.data());
    }
    std::string label(1, '"');
    label.append(prefix).push_back('"');
    state.SetLabel(label);
    state.counters["matches"] = static_cast<double>(out.size());
}
BENCHMARK(BM_NarrowCompletion)
    ->DenseRange(0, static_cast<int>(kPrefixes.size()) - 1)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);

// The hint search on a long line with nested calls, as every caret move while the hint is open.
void BM_ParameterHintOnCaretMove(benchmark::State& state)
{
    Logger log;
    CompletionLists lists;
    RefreshCompletionList(Dialogue(), g_definitions, log, lists);
    std::string line = "    display_msg(message_str(";
    for (int i = 0; i < 20; ++i)
        line += "random(1, get_critter_stat(dude_obj, STAT_iq)), ";
    ParameterHint hint;
    for (auto _ : state)
        benchmark::DoNotOptimize(hint.Execute(line, static_cast<int>(line.size()), lists, g_definitions));
    state.counters["parameter"] = hint.current();
}
BENCHMARK(BM_ParameterHintOnCaretMove)->Unit(benchmark::kMicrosecond)->Repetitions(kRepetitions);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    const fs::path folder = argc > 1 ? fs::path(argv[1]) : DefaultProgramFolder();
    if (!LoadShippedDefinitions(folder)) {
        std::fprintf(stderr, "no definitions under %s (build zev_data, or name the program folder)\n", folder.c_str());
        return 1;
    }
    std::printf("%d definitions from %s\n", g_definitions.count(), folder.c_str());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
