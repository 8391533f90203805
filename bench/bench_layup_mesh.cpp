// NewLayupMesh and GetMesh on an n x n plate of quad4 elements, the records
// given in ascending and in shuffled id order; sizes step by x4 elements.
// The reference, TenPlainPasses, reads the same arrays ten times over: every
// element's connectivity and node coordinates, its area and centroid.
//
// Peak memory of the mesh and facets: run one build of the largest size in
// a process of its own and read the maximum resident set size, e.g.
//   /usr/bin/time -v bench_layup_mesh
//       --benchmark_filter=NewLayupMeshAscending/1000 --benchmark_min_time=0.01
// (one command line)
// and divide by the 1,000,000 elements (the figure includes the benchmark's
// own input arrays, about 56 bytes per element). The same run's time is the
// build on a fresh process.

#include <benchmark/benchmark.h>

#include <cmath>
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

// Ten passes over the plate's arrays: per element its nodes' coordinates
// (through an id-to-row table made once), the area of its two triangles and
// its centroid.
void BM_TenPlainPasses(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const bench::Mesh plate = bench::MakePlate(n, n, 1.0);  // as NewLayupMeshAscending
    std::vector<int> row(plate.nodeIds.size() + 1, -1);
    for (size_t i = 0; i < plate.nodeIds.size(); ++i) row[plate.nodeIds[i]] = static_cast<int>(i);
    for (auto _ : state) {
        double area = 0.0, centre[3] = {0.0, 0.0, 0.0};
        for (int pass = 0; pass < 10; ++pass)
            for (size_t k = 0; k < plate.elemIds.size(); ++k) {
                const int* c = &plate.connectivity[k * plate.width];
                const double* p[4];
                for (int v = 0; v < 4; ++v) p[v] = &plate.xyz[3 * static_cast<size_t>(row[c[v]])];
                for (int t = 0; t < 2; ++t) {
                    const double* a = p[0];
                    const double* b = p[1 + t];
                    const double* d = p[2 + t];
                    const double u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
                    const double w[3] = {d[0] - a[0], d[1] - a[1], d[2] - a[2]};
                    const double x = u[1] * w[2] - u[2] * w[1], y = u[2] * w[0] - u[0] * w[2],
                                 z = u[0] * w[1] - u[1] * w[0];
                    area += 0.5 * std::sqrt(x * x + y * y + z * z);
                }
                for (int i = 0; i < 3; ++i)
                    centre[i] += 0.25 * (p[0][i] + p[1][i] + p[2][i] + p[3][i]);
            }
        benchmark::DoNotOptimize(area);
        benchmark::DoNotOptimize(centre);
    }
    state.SetItemsProcessed(state.iterations() * n * n);
    state.counters["elements"] = n * n;
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
BENCHMARK(BM_TenPlainPasses)->Apply(Sizes);
BENCHMARK(BM_GetMesh)->Apply(Sizes);

BENCHMARK_MAIN();
