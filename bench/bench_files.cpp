// Reading and writing a large generated dialogue, in MB/s. The yardstick for raw scanning is
// `wc -l` on the same file: run with --write-file PATH to keep the generated text.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "model/dialog_ops.h"
#include "model/dialog_writer.h"
#include "model/zev_parser.h"
#include "model/zev_scanner.h"

namespace {

using namespace zev;

// 513 nodes of 60 options with conditions, skill checks and code: about 20 MB of text.
std::unique_ptr<dialog> LargeDialogue()
{
    auto d = std::make_unique<dialog>();
    d->npc_name = "Benchmark NPC";
    d->description = "A long description with \"quotes\"\r\nand a second line.";
    for (int i = 0; i < kMaxNodes; ++i) {
        dlgnode* n = AddNode(*d, "Node_" + std::to_string(i));
        n->notes = "Notes of node " + std::to_string(i) + " with some words to make the line longer.";
        n->npc_text = "The NPC says something fairly long here, as NPCs do, about the weather and the caravans.";
        n->custom_code = "display_msg(\"node " + std::to_string(i) + "\");\r\nset_local_var(1, 2);\r\n";
        for (int s = 0; s < 3; ++s) {
            skillcheck* sc = AddSkillCheck(*n);
            sc->name = "Check_" + std::to_string(i) + "_" + std::to_string(s);
            sc->skill = s + 1;
            sc->difficulty_modifier = -10 * s;
            sc->on_success = "Node_" + std::to_string((i + 1) % kMaxNodes);
            sc->on_failure = "Node_" + std::to_string((i + 2) % kMaxNodes);
        }
        for (int o = 0; o < 60; ++o) {
            option* opt = AddOption(*n);
            opt->text = "Player answer number " + std::to_string(o) + ", which is a sentence of ordinary length.";
            opt->link_target = "Node_" + std::to_string((i + o) % kMaxNodes);
            opt->intelligence = 4;
            opt->notes = "option notes";
            if (o % 3 == 0) {
                condition* c = AddCondition(*opt);
                c->check_type = CHECK_SKILL;
                c->subject = 1 + o % 18;
                c->eval = 5;
                c->value = "50";
            }
        }
    }
    return d;
}

const std::string& LargeText()
{
    static const std::string text = [] {
        auto d = LargeDialogue();
        std::string t = SerializeDialogue(*d);
        Clear(*d);
        return t;
    }();
    return text;
}

void BM_WriteLargeDialogue(benchmark::State& state)
{
    auto d = LargeDialogue();
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string text = SerializeDialogue(*d);
        bytes += text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
    Clear(*d);
}
BENCHMARK(BM_WriteLargeDialogue)->Unit(benchmark::kMillisecond);

void BM_ReadLargeDialogue(benchmark::State& state)
{
    const std::string& text = LargeText();
    auto d = std::make_unique<dialog>();
    TZEV parser;
    parser.SetTarget(d.get());
    for (auto _ : state) {
        parser.Scanner().SrcStream() = text;
        parser.Execute();
        if (!parser.Successful())
            state.SkipWithError("the generated text did not read");
    }
    state.SetBytesProcessed(static_cast<int64_t>(text.size()) * state.iterations());
    Clear(*d);
}
BENCHMARK(BM_ReadLargeDialogue)->Unit(benchmark::kMillisecond);

// The scanner alone over the same text: the symbols without the reader's records.
void BM_ScanLargeDialogue(benchmark::State& state)
{
    const std::string& text = LargeText();
    TZEVScanner scanner;
    int64_t symbols = 0;
    for (auto _ : state) {
        scanner.SrcStream() = text;
        scanner.Reset();
        while (scanner.Get() != zevsym::EOF_)
            ++symbols;
    }
    benchmark::DoNotOptimize(symbols);
    state.SetBytesProcessed(static_cast<int64_t>(text.size()) * state.iterations());
}
BENCHMARK(BM_ScanLargeDialogue)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--write-file") == 0) {
            std::FILE* f = std::fopen(argv[i + 1], "wb");
            if (!f)
                return 1;
            std::fwrite(LargeText().data(), 1, LargeText().size(), f);
            std::fclose(f);
            std::printf("wrote %zu bytes to %s\n", LargeText().size(), argv[i + 1]);
            return 0;
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
