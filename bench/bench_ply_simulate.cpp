// The ply simulation end to end, through CKpPly::Simulate, on a hemisphere
// of radius 1 seen from above its pole (draped, 90-degree fabric, geodesic
// axes and extension, the step 1/20 of the quarter meridian):
//   BM_PlySimulate: selection, start, axes, drape, transfer into the
//     pattern and ply elements and flat pattern, the surface from about
//     6 x 10^3 to 10^5 facets (x 4 per step);
//   BM_FlatPattern: the flat pattern alone (CKpFlatPatStore::Create) on the
//     drape of the 10^5-facet hemisphere, made once outside the timing.
// The counters give the facets, the grid points and the flat-pattern points.

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "bench/bench_mesh.h"
#include "layuplib/CKpBdyStore.h"
#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapeSim.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpFlatPat.h"
#include "layuplib/CKpFlatPatPtStore.h"
#include "layuplib/CKpFlatPatStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/angle_util.h"

namespace {

// A model holding the hemisphere, one material and one draped ply over all
// its elements; the ply is null when anything fails.
struct Setup {
    std::unique_ptr<CKpLayup> model;
    CKpPly* ply = nullptr;
};

Setup Prepare(int nRings) {
    Setup s;
    s.model.reset(new CKpLayup(nullptr, nullptr));
    CKpLayup& model = *s.model;
    if (bench::LoadMesh(model, bench::MakeHemisphere(nRings, 0.5)) != 0) return s;
    CKpMat* mat = new CKpMat(1);
    mat->setMtrlnm("CF");
    mat->setMtrlthck(0.2);
    mat->setWpwtang(kPi / 2);
    mat->setMaxstrn(80 * kPi / 180);
    model.pMats()->insert(mat);
    CKpPly* ply = static_cast<CKpPly*>(model.pPlys()->New());
    if (!ply || ply->SetName("Cap") != 0 || ply->SetType(EVekMaterialScissor) != 0 ||
        ply->SetMaterialName("CF") != 0)
        return s;
    const double eye[3] = {0.0, 0.0, 5.0}, look[3] = {0.0, 0.0, -1.0}, ref[3] = {1.0, 0.0, 0.0};
    ply->SetSeedPoint(eye);
    ply->SetApplicationDirection(look);
    ply->SetReferenceDirection(ref);
    ply->SetProjectionMethod(1);
    ply->SetExtensionType(1);
    ply->SetStepLength((kPi / 2) / 20);
    s.ply = ply;
    return s;
}

int GridPoints(const CKpDrape* grid) {
    int points = 0, u0, u1, v0, v1;
    grid->GetBounds(u0, u1, v0, v1);
    for (int u = u0; u <= u1; ++u)
        for (int v = v0; v <= v1; ++v) points += grid->pDrapePt(u, v) != nullptr;
    return points;
}

int FlatPoints(const CKpFlatPatStore* flats) {
    const CKpFlatPat* outer = flats->First();
    return outer ? outer->GetPoints().GetNumPoints() : 0;
}

void BM_PlySimulate(benchmark::State& state) {
    Setup s = Prepare(static_cast<int>(state.range(0)));
    if (!s.ply) {
        state.SkipWithError("hemisphere or ply not built");
        return;
    }
    int status = 0;
    for (auto _ : state) {
        status = s.ply->Simulate(1);
        benchmark::DoNotOptimize(status);
    }
    if (status != 0) state.SkipWithError("Simulate failed");
    CKpDrapeSim* sim = s.model->pDrapeSim();
    state.counters["facets"] = s.model->pFacs()->entries();
    state.counters["points"] = GridPoints(sim->pDrape());
    state.counters["flat"] = FlatPoints(sim->pFlatPats());
}

void BM_FlatPattern(benchmark::State& state) {
    Setup s = Prepare(static_cast<int>(state.range(0)));
    if (!s.ply || s.ply->Simulate(1) != 0) {
        state.SkipWithError("drape not made");
        return;
    }
    CKpLayup& model = *s.model;
    CKpDrapeSim* sim = model.pDrapeSim();
    CKpPat* pat = s.ply->pPat();
    int status = 0;
    for (auto _ : state) {
        sim->pFlatPats()->eraseAllObjects();
        status =
            sim->pFlatPats()->Create(nullptr, model.pFacs(), model.pBdys(), sim->pDrape(),
                                     pat->stwpwtang(), pat->WarpWeftRatio(), 0.0, pat->stepUsed());
        benchmark::DoNotOptimize(status);
    }
    if (status != 0) state.SkipWithError("Create failed");
    state.counters["facets"] = model.pFacs()->entries();
    state.counters["points"] = GridPoints(sim->pDrape());
    state.counters["flat"] = FlatPoints(sim->pFlatPats());
}

}  // namespace

BENCHMARK(BM_PlySimulate)->Arg(40)->Arg(79)->Arg(158)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FlatPattern)->Arg(158)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
