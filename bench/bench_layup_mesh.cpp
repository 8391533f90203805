// NewLayupMesh and GetMesh on an n x n plate of quad4 elements, the records
// given in ascending and in shuffled id order; sizes step by x4 elements.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

#include "layuplib/CKpLayup.h"

namespace {

struct Plate {
    std::vector<int> nodeIds;
    std::vector<double> xyz;
    std::vector<int> elemIds, patchIds, topologies, connectivity;
};

// n x n unit quads; with `shuffle` the node and element records come in a
// random order (the ids and the mesh stay the same).
Plate MakePlate(int n, bool shuffle) {
    Plate p;
    const int nn = (n + 1) * (n + 1);
    std::vector<int> nodeOrder(nn), elemOrder(n * n);
    std::iota(nodeOrder.begin(), nodeOrder.end(), 0);
    std::iota(elemOrder.begin(), elemOrder.end(), 0);
    if (shuffle) {
        std::mt19937 rng(42);
        std::shuffle(nodeOrder.begin(), nodeOrder.end(), rng);
        std::shuffle(elemOrder.begin(), elemOrder.end(), rng);
    }
    for (int k : nodeOrder) {
        p.nodeIds.push_back(k + 1);
        p.xyz.insert(p.xyz.end(),
                     {static_cast<double>(k % (n + 1)), static_cast<double>(k / (n + 1)), 0.0});
    }
    for (int e : elemOrder) {
        const int i = e % n, j = e / n;
        const int c = j * (n + 1) + i + 1;
        p.elemIds.push_back(e + 1);
        p.patchIds.push_back(0);
        p.topologies.push_back(4);
        p.connectivity.insert(p.connectivity.end(), {c, c + 1, c + n + 2, c + n + 1});
    }
    return p;
}

int Load(CKpLayup& model, const Plate& p) {
    return model.NewLayupMesh(static_cast<int>(p.nodeIds.size()), p.nodeIds.data(), p.xyz.data(),
                              static_cast<int>(p.elemIds.size()), p.elemIds.data(),
                              p.patchIds.data(), p.topologies.data(), 4, p.connectivity.data(), 0.0,
                              0.0);
}

void NewLayupMesh(benchmark::State& state, bool shuffle) {
    const int n = static_cast<int>(state.range(0));
    const Plate plate = MakePlate(n, shuffle);
    CKpLayup model(nullptr, nullptr);
    for (auto _ : state) {
        if (Load(model, plate) != 0) state.SkipWithError("NewLayupMesh failed");
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
    if (Load(model, MakePlate(n, true)) != 0) state.SkipWithError("NewLayupMesh failed");
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
