// NewLayupMesh and GetMesh on an n x n plate of quad4 elements, the records
// given in ascending and in shuffled id order; sizes step by x4 elements.

#include <benchmark/benchmark.h>

#include <vector>

#include "bench/bench_mesh.h"
#include "layuplib/CKpLayup.h"

namespace {

void NewLayupMesh(benchmark::State& state, bool shuffle) {
    const int n = static_cast<int>(state.range(0));
    const bench::Mesh plate = bench::MakePlate(n, n, 1.0, shuffle);
    CKpLayup model(nullptr, nullptr);
    for (auto _ : state) {
        if (bench::LoadMesh(model, plate) != 0) state.SkipWithError("NewLayupMesh failed");
    }
    state.SetItemsProcessed(state.iterations() * n * n);
    state.counters["elements"] = n * n;
}

void BM_NewLayupMeshAscending(benchmark::State& state) {
    NewLayupMesh(state, false);
}
void BM_NewLayupMeshShuffled(benchmark::State& state) {
    NewLayupMesh(state, true);
}

void BM_GetMesh(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    CKpLayup model(nullptr, nullptr);
    if (bench::LoadMesh(model, bench::MakePlate(n, n, 1.0, true)) != 0)
        state.SkipWithError("NewLayupMesh failed");
    int nn = 0, ne = 0, width = 0;
    model.GetMeshSizes(&nn, &ne, &width);
    std::vector<int> nodeIds(nn), elemIds(ne), patchIds(ne), topologies(ne), rows(ne * width);
    std::vector<double> xyz(3 * static_cast<size_t>(nn));
    for (auto _ : state) {
        const int status = model.GetMesh(nn, nodeIds.data(), xyz.data(), ne, elemIds.data(),
                                         patchIds.data(), topologies.data(), width, rows.data());
        benchmark::DoNotOptimize(status);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * n * n);
    state.counters["elements"] = n * n;
}

// 32² = 1,024 elements up to 1000² = 1,000,000, x4 elements per step.
void Sizes(benchmark::internal::Benchmark* b) {
    for (int n : {32, 64, 128, 256, 512, 1000}) b->Arg(n);
    b->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_NewLayupMeshAscending)->Apply(Sizes);
BENCHMARK(BM_NewLayupMeshShuffled)->Apply(Sizes);
BENCHMARK(BM_GetMesh)->Apply(Sizes);

BENCHMARK_MAIN();
