#include <benchmark/benchmark.h>

#include <string>

#include "gaf/GafExtraction.h"

namespace {

// The folder names of N entries all named alike, the work a hostile file of 8 MB (2,000,000
// alike names) would ask of an extraction if the budget let it through: linear in N (a name
// goes on from the number it last gave), where trying ~2, ~3, ... afresh for each was quadratic
// (10,000 names took 9.5 s). Measured on the shared 2-core machine under load: 20,000 names
// 0.02 s, 200,000 0.23 s, 2,000,000 3.2 s, about what filling one hash set with 2,000,000 such
// strings took there at the time (3.1 s). The budget refuses such a file before this (0.3 s).
void BM_EntryFolderNames_AlikeNames(benchmark::State& state) {
    gaf::DecodedGaf gaf;
    gaf.Entries.resize(static_cast<std::size_t>(state.range(0)));
    for (gaf::DecodedEntry& entry : gaf.Entries) entry.Name = "DUP";
    for (auto _ : state) benchmark::DoNotOptimize(gaf::EntryFolderNames(gaf));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_EntryFolderNames_AlikeNames)
    ->Arg(20000)
    ->Arg(200000)
    ->Arg(2000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
