// Element lookup between meshes: piercing a fine destination mesh onto a
// source mesh beside testing every source facet for 100 sampled elements,
// and graph searches of bounded count on growing meshes beside resetting
// the whole graph once per search.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/bench_mesh.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacetIntPts.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CalcElementData2.h"
#include "layuplib/CreateElementLookupTable.h"
#include "layuplib/EntityGraphSearch.h"
#include "layuplib/facet_query.h"
#include "layuplib/surface_div.h"

namespace {

struct Model {
    CKpLayup layup{nullptr, nullptr};
    explicit Model(const bench::Mesh& m) {
        bench::LoadMesh(layup, m);
        surface_select_all(layup.pElems(), layup.pFacs());
    }
};

// Source: n x n quads over 1 x 1 (2 n^2 facets); destination: m x m quads
// over the same square, offset so that ids never map.
void BM_Piercing(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0)), m = static_cast<int>(state.range(1));
    bench::Mesh src = bench::MakePlate(n, n, 1.0 / n);
    bench::Mesh dst = bench::MakePlate(m, m, 1.0 / m);
    for (int& id : dst.elemIds) id += 10000000;
    for (size_t i = 2; i < dst.xyz.size(); i += 3) dst.xyz[i] = 0.001;
    Model s(src);
    for (auto _ : state) {
        state.PauseTiming();
        Model d(dst);
        s.layup.pElems()->DeleteElemRefs();
        state.ResumeTiming();
        int unmatched = 0;
        CreateElementLookupTable(nullptr, d.layup.pNodes(), d.layup.pElems(), d.layup.pFacs(),
                                 s.layup.pNodes(), s.layup.pElems(), s.layup.pFacs(), -0.01, 0.2, 0,
                                 0.0, &unmatched);
    }
    state.counters["per_element_us"] = benchmark::Counter(
        static_cast<double>(m) * m,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Reference: every source facet tested for each of 100 destination
// elements.
void BM_PiercingBruteForce(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    bench::Mesh src = bench::MakePlate(n, n, 1.0 / n);
    Model s(src);
    const int samples = 100;
    for (auto _ : state) {
        CKpFacetIntPts hits;
        for (int k = 0; k < samples; ++k) {
            CKpLine line;
            line.P.Set((k % 31 + 0.5) / 31.0, (k / 31 % 31 + 0.5) / 31.0, 0.001);
            line.u.Set(0, 0, 1);
            CalcAllPointsFacetsRay(nullptr, s.layup.pFacs(), line, -0.01, 0.01, 1, nullptr, 0, 0,
                                   hits);
        }
        benchmark::DoNotOptimize(hits.GetNumPts());
    }
    state.counters["per_element_us"] = benchmark::Counter(
        samples, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// 10^4 searches of at most 100 element centres on an n x n plate.
void BM_GraphSearches(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    bench::Mesh mesh = bench::MakePlate(n, n);
    std::vector<int> counts(mesh.elemIds.size(), 4);
    Layup::EntityGraphSearch search;
    search.SetMesh(static_cast<int>(mesh.nodeIds.size()), mesh.nodeIds.data(), mesh.xyz.data(),
                   static_cast<int>(mesh.elemIds.size()), mesh.elemIds.data(), counts.data(), 4,
                   mesh.connectivity.data());
    std::vector<int> ids;
    std::vector<double> d;
    for (auto _ : state) {
        for (int k = 0; k < 10000; ++k) {
            ids.clear(), d.clear();
            search.GetElemCentroidsFromElemCentroid(1 + (k * 7919) % (n * n), 1e9, 100, ids, d);
        }
        benchmark::DoNotOptimize(ids.data());
    }
}

// Reference: the same searches if each reset the whole graph.
void BM_GraphSearchesFullReset(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    bench::Mesh mesh = bench::MakePlate(n, n);
    std::vector<double> marks(mesh.nodeIds.size() + mesh.elemIds.size(), 1e30);
    for (auto _ : state) {
        for (int k = 0; k < 10000; ++k) {
            std::fill(marks.begin(), marks.end(), 1e30);
            benchmark::DoNotOptimize(marks.data());
        }
    }
}

}  // namespace

BENCHMARK(BM_Piercing)
    ->Args({100, 100})
    ->Args({300, 300})
    ->Args({700, 320})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PiercingBruteForce)->Arg(100)->Arg(300)->Arg(700)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GraphSearches)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GraphSearchesFullReset)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
