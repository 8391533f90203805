// MergeFree on a "triangle soup": an n x n plate of unit cells, two tria3
// elements per cell, every element with three nodes of its own, so that
// every edge is free (6 n^2 free edges) and each interior position holds up
// to six coincident nodes. MergeFree (tolerance 0.01) joins them back into
// one plate. Sizes step by about x4 free edges up to 101,400 (n = 130).
// The reference: sorting the nodes' position keys x + y + z with std::sort,
// the core any merge of coincident nodes has to pay.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "bench/bench_mesh.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLayup.h"

namespace {

// Tria3 elements of three nodes each (width 3).
bench::Mesh MakeSoup(int n) {
    bench::Mesh s;
    s.width = 3;
    int nextNode = 1, nextElem = 1;
    auto corner = [&](int i, int j) {
        s.nodeIds.push_back(nextNode);
        s.xyz.insert(s.xyz.end(), {static_cast<double>(i), static_cast<double>(j), 0.0});
        return nextNode++;
    };
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const int tri[2][3][2] = {{{i, j}, {i + 1, j}, {i + 1, j + 1}},
                                      {{i, j}, {i + 1, j + 1}, {i, j + 1}}};
            for (const auto& t : tri) {
                for (const auto& c : t) s.connectivity.push_back(corner(c[0], c[1]));
                s.elemIds.push_back(nextElem++);
                s.patchIds.push_back(0);
                s.topologies.push_back(3);
            }
        }
    return s;
}

void BM_MergeFree(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const bench::Mesh soup = MakeSoup(n);
    CKpLayup model(nullptr, nullptr);
    for (auto _ : state) {
        state.PauseTiming();
        if (bench::LoadMesh(model, soup) != 0) state.SkipWithError("NewLayupMesh failed");
        state.ResumeTiming();
        benchmark::DoNotOptimize(model.MergeFree(0.01));
        // One plate again: only the rim's 4 n edges stay free.
        state.PauseTiming();
        if (model.pFacs()->GetFreeEdgeNum(11) != 4 * n) state.SkipWithError("merge incomplete");
        state.ResumeTiming();
    }
    state.counters["free_edges"] = 6.0 * n * n;
    state.counters["nodes"] = static_cast<double>(soup.nodeIds.size());
}
BENCHMARK(BM_MergeFree)->Arg(16)->Arg(32)->Arg(65)->Arg(130)->Unit(benchmark::kMillisecond);

void BM_SortNodeKeys(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const bench::Mesh soup = MakeSoup(n);
    std::vector<double> keys(soup.nodeIds.size());
    for (auto _ : state) {
        for (size_t k = 0; k < keys.size(); ++k)
            keys[k] = soup.xyz[3 * k] + soup.xyz[3 * k + 1] + soup.xyz[3 * k + 2];
        std::sort(keys.begin(), keys.end());
        benchmark::DoNotOptimize(keys.data());
    }
    state.counters["free_edges"] = 6.0 * n * n;
}
BENCHMARK(BM_SortNodeKeys)->Arg(16)->Arg(32)->Arg(65)->Arg(130)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
