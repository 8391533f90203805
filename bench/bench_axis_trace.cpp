// CKpAxis::make_axis: 10,000 geodesics of about 100 points each over a
// hemisphere of quad4 cells with a fan of tria3 at the pole, from about 10^3
// to 10^6 facets (x4 per step). Each geodesic starts at the centroid of a
// pseudo-random facet in a pseudo-random direction and runs for 40 mean
// cell sizes; the counter "points" is the mean number of axis points. The
// surface is built once per size, outside the timing.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "bench/bench_mesh.h"
#include "layuplib/CKpAxis.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/angle_util.h"

namespace {

constexpr int kAxes = 10000;

// The unit hemisphere of bench::MakeHemisphere with its facets.
bool LoadHemisphere(CKpLayup& model, int nRings) {
    if (bench::LoadMesh(model, bench::MakeHemisphere(nRings)) != 0) return false;
    return model.pFacs()->CreateFacets() != 0;
}

void BM_AxisTraceHemisphere(benchmark::State& state) {
    const int nRings = static_cast<int>(state.range(0));
    CKpLayup model(nullptr, nullptr);
    if (!LoadHemisphere(model, nRings)) {
        state.SkipWithError("hemisphere not built");
        return;
    }
    const CKpFacetStore* facets = model.pFacs();
    const int count = facets->entries();

    // Start facets, points and angles; a fixed linear congruential sequence.
    struct Start {
        int facet;
        CKpPoint point;
        double angle;
    };
    std::vector<Start> starts(kAxes);
    uint64_t seed = 12345;
    auto next = [&seed]() {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(seed >> 11) / 9007199254740992.0;
    };
    for (Start& s : starts) {
        s.facet = static_cast<int>(next() * count) % count;
        const CKpFacet* f = facets->pFac(s.facet);
        s.point = *f->getCKpPoint(0);
        f->MoveToCentroid(&s.point, 1.0);
        s.angle = (2.0 * next() - 1.0) * kPi;
    }
    const double cell = (kPi / 2) / nRings;  // mean cell size along a meridian
    const double length = 40.0 * cell;

    CKpAxis axis;
    long long points = 0;
    for (auto _ : state) {
        points = 0;
        for (const Start& s : starts) {
            axis.make_axis(nullptr, facets, s.point, s.facet, 1, s.angle, length);
            points += axis.entries();
        }
        benchmark::DoNotOptimize(points);
    }
    state.counters["facets"] = count;
    state.counters["points"] = static_cast<double>(points) / kAxes;
    state.SetItemsProcessed(state.iterations() * points);
}

}  // namespace

BENCHMARK(BM_AxisTraceHemisphere)
    ->Arg(16)
    ->Arg(32)
    ->Arg(64)
    ->Arg(128)
    ->Arg(256)
    ->Arg(500)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
