// pattern_wf: a full drape of a hemisphere of radius 1 from its pole, warp
// and weft along two orthogonal great circles (geodesic axes, geodesic
// extension, 90-degree fabric).
//   BM_DrapeFacets: the step fixed at 1/20 of the quarter meridian, the
//     surface from about 10^4 to 10^6 facets (x ~3.2 per step);
//   BM_DrapeStep: about 10^5 facets, the step shrinking from 1/5 to 1/40 of
//     the quarter meridian (x 2 per step, about x 4 grid points).
// The counters give the facets, the grid points made, the facet crossings
// traced per drape (make_axis, the drape's inner loop; a fibre cut from a
// longer trace counts the crossings its own trace would make), those crossings
// per second and the drape's time per crossing. The surface, its
// selection, the start and the four axes are built once per case, outside
// the timing; each iteration runs pattern_wf, which empties the grid first.

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "bench/bench_mesh.h"
#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapeSim.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatGeom.h"
#include "layuplib/CKpPlane.h"
#include "layuplib/CalcStart.h"
#include "layuplib/angle_util.h"
#include "layuplib/find_nei.h"
#include "layuplib/make_axis.h"
#include "layuplib/pattern_wf.h"

namespace {

// The model with the hemisphere selected and the drape's start and axes in
// its workspace; null when any step fails.
struct Setup {
    std::unique_ptr<CKpLayup> model;
    int side = 0;
};

Setup Prepare(int nRings) {
    Setup s;
    s.model.reset(new CKpLayup(nullptr, nullptr));
    CKpLayup& model = *s.model;
    if (bench::LoadMesh(model, bench::MakeHemisphere(nRings, 0.5)) != 0 ||
        model.pFacs()->CreateFacets() == 0 || model.SelectAreaEID(-1, nullptr, 0) != 0 ||
        find_selected_neighbour(nullptr, nullptr, model.pFacs(), model.pElems()) != 0)
        return Setup{};
    CKpPoint eye, start;
    CKpDirn look, ref;
    eye.Set(0.0, 0.0, 5.0);
    look.Set(0.0, 0.0, -1.0);
    ref.Set(1.0, 0.0, 0.0);
    int facet = -1;
    double warp = 0.0, weft = 0.0;
    CKpPlane warpPlane, weftPlane;
    if (CalcStart(nullptr, model.pFacs(), eye, look, 0, facet, start, s.side) != 0 ||
        CalcStartDirn(nullptr, model.pFacs()->pFac(facet), start, look, ref, 0.0, 1, kPi / 2, warp,
                      weft, &warpPlane, &weftPlane) != 0 ||
        CalcAxes(nullptr, nullptr, model.pFacs(), 1, facet, start, warp, weft, warpPlane, weftPlane,
                 model.pDrapeSim()) != 0)
        return Setup{};
    model.pDrapeSim()->pBound()->Set(1.0, 1.0, 0.0, 0.0, 0.0, 0.0);
    return s;
}

void Drape(benchmark::State& state, int nRings, int stepsToRim) {
    Setup s = Prepare(nRings);
    if (!s.model) {
        state.SkipWithError("hemisphere or start not built");
        return;
    }
    CKpLayup& model = *s.model;
    CKpMat mat(1);
    mat.setMtrlthck(0.2);
    const CKpMatGeom geom(kPi / 2, 1.0, 0.0);
    const double step = (kPi / 2) / stepsToRim;
    int status = 0;
    const long long crossed0 = axis_crossings_traced();
    for (auto _ : state) {
        status = pattern_wf(nullptr, nullptr, nullptr, model.pFacs(), &mat, 1, 1, model.pDrapeSim(),
                            geom, 0.0, 80 * kPi / 180, step, s.side);
        benchmark::DoNotOptimize(status);
    }
    const double crossed = static_cast<double>(axis_crossings_traced() - crossed0);
    if (status != 0) state.SkipWithError("pattern_wf failed");
    const CKpDrape* grid = model.pDrapeSim()->pDrape();
    int points = 0, u0, u1, v0, v1;
    grid->GetBounds(u0, u1, v0, v1);
    for (int u = u0; u <= u1; ++u)
        for (int v = v0; v <= v1; ++v) points += grid->pDrapePt(u, v) != nullptr;
    state.counters["facets"] = model.pFacs()->entries();
    state.counters["points"] = points;
    state.counters["crossings"] = crossed / static_cast<double>(state.iterations());
    state.counters["crossings_per_s"] = benchmark::Counter(crossed, benchmark::Counter::kIsRate);
    state.counters["s_per_crossing"] = benchmark::Counter(
        crossed, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetItemsProcessed(state.iterations() * points);
}

void BM_DrapeFacets(benchmark::State& state) {
    Drape(state, static_cast<int>(state.range(0)), 20);
}
void BM_DrapeStep(benchmark::State& state) {
    Drape(state, 158, static_cast<int>(state.range(0)));
}

}  // namespace

BENCHMARK(BM_DrapeFacets)
    ->Arg(50)
    ->Arg(89)
    ->Arg(158)
    ->Arg(281)
    ->Arg(500)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrapeStep)->Arg(5)->Arg(10)->Arg(20)->Arg(40)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
