// CreateFacets (facets, neighbour links, subdomains, node directions and
// offsets) on an n x n plate of quad4 elements; sizes step by x4 elements
// up to 1,048,576. The counter VmHWM_MB is the process's peak resident
// memory so far: run one size alone (--benchmark_filter=.../1024) to read
// the peak of that size.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

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

// Loads an n x n plate of unit quads, ids in ascending order.
int LoadPlate(CKpLayup& model, int n) {
    std::vector<int> nodeIds, elemIds, patchIds, topologies, connectivity;
    std::vector<double> xyz;
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i) {
            nodeIds.push_back(j * (n + 1) + i + 1);
            xyz.insert(xyz.end(), {static_cast<double>(i), static_cast<double>(j), 0.0});
        }
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const int c = j * (n + 1) + i + 1;
            elemIds.push_back(j * n + i + 1);
            patchIds.push_back(0);
            topologies.push_back(4);
            connectivity.insert(connectivity.end(), {c, c + 1, c + n + 2, c + n + 1});
        }
    return model.NewLayupMesh(static_cast<int>(nodeIds.size()), nodeIds.data(), xyz.data(),
                              static_cast<int>(elemIds.size()), elemIds.data(), patchIds.data(),
                              topologies.data(), 4, connectivity.data(), 0.0, 0.0);
}

void BM_CreateFacetsQuad4Plate(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    CKpLayup model(nullptr, nullptr);
    if (LoadPlate(model, n) != 0) state.SkipWithError("NewLayupMesh failed");
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
