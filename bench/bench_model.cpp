// The model's lookups and whole-dialogue operations at full capacity.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>

#include "model/dialog_ops.h"
#include "model/node_resolution.h"

namespace {

using namespace zev;

std::unique_ptr<dialog> FullDialog(bool withChecks)
{
    auto d = std::make_unique<dialog>();
    for (int i = 0; i < kMaxNodes; ++i) {
        dlgnode* n = AddNode(*d, "node_with_a_long_name_" + std::to_string(i));
        if (withChecks)
            for (int s = 0; s < kMaxSkillChecks; ++s)
                AddSkillCheck(*n)->name = "check_" + std::to_string(i) + "_" + std::to_string(s);
    }
    for (int i = 0; i < kMaxFloatNodes; ++i)
        AddFloatNode(*d, "float_" + std::to_string(i));
    for (int i = 0; i < kMaxVariables; ++i)
        AddVariable(*d, "variable_" + std::to_string(i));
    return d;
}

void BM_FindNodeIndexLast(benchmark::State& state)
{
    auto d = FullDialog(false);
    for (auto _ : state)
        benchmark::DoNotOptimize(FindNodeIndex(*d, "node_with_a_long_name_512"));
    Clear(*d);
}
BENCHMARK(BM_FindNodeIndexLast);

void BM_FindNodeIndexMissing(benchmark::State& state)
{
    auto d = FullDialog(false);
    for (auto _ : state)
        benchmark::DoNotOptimize(FindNodeIndex(*d, "node_with_a_long_name_999"));
    Clear(*d);
}
BENCHMARK(BM_FindNodeIndexMissing);

void BM_FindVariableLast(benchmark::State& state)
{
    auto d = FullDialog(false);
    for (auto _ : state)
        benchmark::DoNotOptimize(FindVariableIndexIn("variable_1000", *d));
    Clear(*d);
}
BENCHMARK(BM_FindVariableLast);

void BM_FindSkillCheckLast(benchmark::State& state)
{
    auto d = FullDialog(true);
    int node = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(FindSkillCheck(*d, "check_512_20", node));
    Clear(*d);
}
BENCHMARK(BM_FindSkillCheckLast);

// Filling and freeing 513 nodes of 513 options: the largest dialogue the layout holds.
void BM_BuildAndClearFullDialogue(benchmark::State& state)
{
    for (auto _ : state) {
        auto d = std::make_unique<dialog>();
        for (int i = 0; i < kMaxNodes; ++i) {
            dlgnode* n = AddNode(*d, "n" + std::to_string(i));
            for (int o = 0; o < kMaxOptions; ++o)
                AddOption(*n)->text = "option text";
        }
        Clear(*d);
    }
}
BENCHMARK(BM_BuildAndClearFullDialogue)->Unit(benchmark::kMillisecond);

void BM_CopyOldFormat(benchmark::State& state)
{
    auto d = FullDialog(true);
    for (auto _ : state) {
        dialog_oldformat* copy = CopyDialogOldFormat(*d);
        benchmark::DoNotOptimize(copy);
        FreeDialogOldFormat(copy);
    }
    Clear(*d);
}
BENCHMARK(BM_CopyOldFormat)->Unit(benchmark::kMicrosecond);

// 513 nodes of 513 options, every option linking to some node or to "done".
std::unique_ptr<dialog> FullLinkedDialog()
{
    auto d = std::make_unique<dialog>();
    for (int i = 0; i < kMaxNodes; ++i)
        AddNode(*d, "node_with_a_long_name_" + std::to_string((i * 7919) % kMaxNodes));
    for (int i = 0; i < kMaxNodes; ++i)
        for (int o = 0; o < kMaxOptions; ++o)
            AddOption(*d->nodes[i])->link_target
                = o % 10 == 0 ? std::string("done") : "node_with_a_long_name_" + std::to_string((i + o) % kMaxNodes);
    return d;
}

void BM_ResolveLinksFull(benchmark::State& state)
{
    auto d = FullLinkedDialog();
    for (auto _ : state)
        ResolveLinks(*d);
    Clear(*d);
}
BENCHMARK(BM_ResolveLinksFull)->Unit(benchmark::kMillisecond);

void BM_SortNodesFull(benchmark::State& state)
{
    auto d = FullLinkedDialog();
    for (auto _ : state) {
        state.PauseTiming();
        std::reverse(d->nodes, d->nodes + d->node_count);
        state.ResumeTiming();
        SortNodes(*d, nullptr);
    }
    Clear(*d);
}
BENCHMARK(BM_SortNodesFull)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
