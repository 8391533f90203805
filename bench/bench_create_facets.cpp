// CreateFacets (facets, neighbour links, subdomains, node directions and
// offsets) on an n x n plate of quad4 elements; sizes step by x4 elements
// up to 1,048,576. The counter VmHWM_MB is the process's peak resident
// memory so far: run one size alone (--benchmark_filter=.../1024) to read
// the peak of that size.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/bench_mesh.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLayup.h"

namespace {

// Peak resident set size of this process in MiB; 0 when unknown.
double PeakMiB() {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return 0.0;
    char line[256];
    double kib = 0.0;
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, "VmHWM:", 6) == 0) kib = std::atof(line + 6);
    std::fclose(f);
    return kib / 1024.0;
}

void BM_CreateFacetsQuad4Plate(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    CKpLayup model(nullptr, nullptr);
    if (bench::LoadMesh(model, bench::MakePlate(n, n)) != 0)
        state.SkipWithError("NewLayupMesh failed");
    CKpFacetStore* facets = model.pFacs();
    for (auto _ : state) {
        if (facets->CreateFacets() != 2) state.SkipWithError("CreateFacets failed");
    }
    state.SetItemsProcessed(state.iterations() * n * n);
    state.counters["elements"] = static_cast<double>(n) * n;
    state.counters["facets"] = facets->entries();
    state.counters["VmHWM_MB"] = PeakMiB();
}

BENCHMARK(BM_CreateFacetsQuad4Plate)
    ->RangeMultiplier(2)
    ->Range(32, 1024)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
