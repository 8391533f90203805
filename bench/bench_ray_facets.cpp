// CalcAllPointsFacetsRay: every hit of one ray with an n x n plate of quad4
// elements (2 n^2 facets, about x4 per step up to 1,002,528 facets),
//   - Scan: every facet of the store is a candidate;
//   - SortStore: the candidates come from a table of the facets sorted by
//     their smallest x, narrowed by bisection to those whose x range can
//     hold the ray's x (the caller's usual use of the table).
// The ray runs straight down through a point inside the plate, so each run
// finds exactly one hit. The table is built once, outside the timing.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "bench/bench_mesh.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetIntPts.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpSortStore.h"
#include "layuplib/facet_query.h"

namespace {

// Loads an n x n plate of unit quads and builds its faceted surface.
bool LoadPlate(CKpLayup& model, int n) {
    if (bench::LoadMesh(model, bench::MakePlate(n, n)) != 0) return false;
    return model.pFacs()->CreateFacets() != 0;
}

// The ray straight down through a point of the plate away from its nodes
// and edges.
CKpLine DownRay(int n) {
    CKpLine line;
    line.P.Set(0.37 * n + 0.21, 0.61 * n + 0.43, 10.0);
    line.u.Set(0.0, 0.0, -1.0);
    return line;
}

void BM_RayFacetsScan(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    CKpLayup model(nullptr, nullptr);
    if (!LoadPlate(model, n)) state.SkipWithError("plate not built");
    const CKpFacetStore* facets = model.pFacs();
    const CKpLine line = DownRay(n);
    CKpFacetIntPts hits;
    for (auto _ : state) {
        if (CalcAllPointsFacetsRay(nullptr, facets, line, -1e12, 1e12, 1, nullptr, 0, 0, hits) != 0)
            state.SkipWithError("no hit");
        benchmark::DoNotOptimize(hits.GetNumPts());
    }
    state.counters["facets"] = facets->entries();
    state.counters["candidates"] = facets->entries();
    state.SetItemsProcessed(state.iterations() * facets->entries());
}

void BM_RayFacetsSortStore(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    CKpLayup model(nullptr, nullptr);
    if (!LoadPlate(model, n)) state.SkipWithError("plate not built");
    const CKpFacetStore* facets = model.pFacs();
    const int count = facets->entries();

    // The table: facets by their smallest x; the widest facet in x.
    CKpSortStore sort;
    sort.Create(count);
    double width = 0.0;
    for (int i = 0; i < count; ++i) {
        const CKpFacet* f = facets->pFac(i);
        double lo = f->getCKpPoint(0)->getx(), hi = lo;
        for (int v = 1; v < 3; ++v) {
            lo = std::min(lo, f->getCKpPoint(v)->getx());
            hi = std::max(hi, f->getCKpPoint(v)->getx());
        }
        sort.SetIndexValue(i, i, lo);
        width = std::max(width, hi - lo);
    }
    sort.Sort(0, 0);

    const CKpLine line = DownRay(n);
    const double x = line.P.getx();
    CKpFacetIntPts hits;
    int first = 0, last = 0;
    for (auto _ : state) {
        // Positions whose smallest x lies in [x - width, x].
        int lo = 0, hi = count;
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            if (sort.GetValue(mid) < x - width)
                lo = mid + 1;
            else
                hi = mid;
        }
        first = lo;
        hi = count;
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            if (sort.GetValue(mid) <= x)
                lo = mid + 1;
            else
                hi = mid;
        }
        last = lo;
        if (CalcAllPointsFacetsRay(nullptr, facets, line, -1e12, 1e12, 1, &sort, first,
                                   last - first, hits) != 0)
            state.SkipWithError("no hit");
        benchmark::DoNotOptimize(hits.GetNumPts());
    }
    state.counters["facets"] = count;
    state.counters["candidates"] = last - first;
    state.SetItemsProcessed(state.iterations() * count);
}

}  // namespace

BENCHMARK(BM_RayFacetsScan)
    ->Arg(22)
    ->Arg(45)
    ->Arg(90)
    ->Arg(180)
    ->Arg(360)
    ->Arg(708)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RayFacetsSortStore)
    ->Arg(22)
    ->Arg(45)
    ->Arg(90)
    ->Arg(180)
    ->Arg(360)
    ->Arg(708)
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
