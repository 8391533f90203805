// Subdomain numbering (CKpSbdmnStore::Create) of the facets of an n x n
// quad4 plate (2 n^2 facets, one subdomain), beside the reference
// PlainFloodFill: a flood fill over the same facets' neighbour links with
// a mark per facet in an index-ordered array, the facets numbered and
// their areas summed in the order reached. Both first read every facet's
// links and area in index order.

#include <benchmark/benchmark.h>

#include <vector>

#include "bench/bench_mesh.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpSbdmnStore.h"

namespace {

struct Model {
    CKpLayup layup{nullptr, nullptr};
    explicit Model(int n) {
        const bench::Mesh plate = bench::MakePlate(n, n, 1.0);
        bench::LoadMesh(layup, plate);
    }
    // Create numbers only facets without a subdomain number.
    void forget() {
        CKpFacetStore* facets = layup.pFacs();
        for (int i = 0; i < facets->entries(); ++i) facets->pFac(i)->setSbdmn(0);
    }
};

void BM_SubdomainCreate(benchmark::State& state) {
    Model model(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        model.forget();
        state.ResumeTiming();
        CKpSbdmnStore store;
        if (store.Create(nullptr, model.layup.pFacs()) != 0) state.SkipWithError("Create failed");
        benchmark::DoNotOptimize(store.entries());
    }
    state.counters["facets"] = model.layup.pFacs()->entries();
}

void BM_PlainFloodFill(benchmark::State& state) {
    Model model(static_cast<int>(state.range(0)));
    CKpFacetStore* facets = model.layup.pFacs();
    const int n = facets->entries();
    for (auto _ : state) {
        state.PauseTiming();
        model.forget();
        state.ResumeTiming();
        std::vector<int> neigh(3 * static_cast<size_t>(n));
        std::vector<double> areas(static_cast<size_t>(n));
        std::vector<unsigned char> mark(static_cast<size_t>(n), 0);
        std::vector<int> stack;
        stack.reserve(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            const CKpFacet* f = facets->pFac(i);
            for (int e = 0; e < 3; ++e) neigh[3 * static_cast<size_t>(i) + e] = f->getNeigh(e);
            areas[static_cast<size_t>(i)] = f->Area();
        }
        int k = 0;
        double area = 0.0;
        for (int i = 0; i < n; ++i) {
            if (mark[static_cast<size_t>(i)]) continue;
            ++k;
            stack.push_back(i);
            mark[static_cast<size_t>(i)] = 1;
            while (!stack.empty()) {
                const int g = stack.back();
                stack.pop_back();
                CKpFacet* f = facets->pFac(g);
                f->setSbdmn(k);
                f->setSbdmndnfg(1);
                area += areas[static_cast<size_t>(g)];
                for (int e = 0; e < 3; ++e) {
                    const int h = neigh[3 * static_cast<size_t>(g) + e];
                    if (h < 0 || mark[static_cast<size_t>(h)]) continue;
                    mark[static_cast<size_t>(h)] = 1;
                    stack.push_back(h);
                }
            }
        }
        benchmark::DoNotOptimize(area);
        benchmark::DoNotOptimize(k);
    }
    state.counters["facets"] = n;
}

// 32^2 = 1,024 elements up to 1000^2 = 1,000,000, x4 elements per step.
void Sizes(benchmark::internal::Benchmark* b) {
    for (int n : {32, 64, 128, 256, 512, 1000}) b->Arg(n);
    b->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_SubdomainCreate)->Apply(Sizes);
BENCHMARK(BM_PlainFloodFill)->Apply(Sizes);

BENCHMARK_MAIN();
