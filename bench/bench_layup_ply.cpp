// Plies through the exported interface on the slot's model, a hemisphere of
// radius 1 seen from above its pole (draped, 90-degree fabric at 30
// degrees, step 1/20 of the quarter meridian), 6 x 10^3 to 10^5 elements:
//   BM_CreatePly4: LayupCreatePly4 of a draped ply over every element,
//     next to BM_SettersSimulate, the same ply made through the IVekPly
//     setters and Simulate on the same model; the exported layer should
//     add nothing measurable;
//   BM_GetPly4: every setting of that ply read back (element ids and
//     orders included), next to BM_GetElementIdsOrders, the ply's element
//     list alone.
// The ply is deleted outside the timing after each creation.

#include <benchmark/benchmark.h>

#include <vector>

#include "bench/bench_mesh.h"
#include "host/LayupApi.h"
#include "host/LayupOut.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/IVekMaterialStore.h"
#include "layuplib/IVekPlyStore.h"
#include "layuplib/angle_util.h"
#include "platform/MorvekStub.h"

namespace {

const float kStep = static_cast<float>((kPi / 2) / 20);

// The slot's model holding the hemisphere of `nRings` (2 nRings^2
// elements) and the material "CF"; false when it cannot be built.
bool Prepare(int nRings, std::vector<int>& ids) {
    static int loaded = -1;
    static std::vector<int> loadedIds;
    if (loaded != nRings) {
        static bool started = false;
        if (!started) {
            started = true;
            VekApiInit(&MorvekStubGetter);
            if (LayupConstruct(0, "", "") != 0) return false;
        }
        const bench::Mesh m = bench::MakeHemisphere(nRings, 0.5);
        CKpLayup* model = static_cast<CKpLayup*>(LayupSlotModel());
        if (!model || bench::LoadMesh(*model, m) != 0) return false;
        IVekMaterial* mat = model->GetMaterialStore()->New(0);
        if (!mat || mat->SetName("CF") != 0) return false;
        mat->SetType(EVekMaterialScissor);
        mat->SetThickness(0.2);
        loaded = nRings;
        loadedIds = m.elemIds;
    }
    ids = loadedIds;
    return true;
}

int CreateThroughLayer(const std::vector<int>& ids, const std::vector<int>& orders) {
    return LayupCreatePly4(3, "Cap", "CF", 0.0f, 0.0f, 5.0f, 0.0f, 0.0f, -1.0f, 1.0f, 0.0f, 0.0f,
                           30.0f, 0, nullptr, nullptr, 90.0f, 1.0f, 80.0f, kStep, 1, "Calc",
                           nullptr, nullptr, nullptr, 1, 0, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                           static_cast<int>(ids.size()), ids.data(), orders.data(), 0, nullptr,
                           nullptr, nullptr);
}

// The same ply as CreateThroughLayer, setter by setter.
int CreateThroughSetters(const std::vector<int>& ids, const std::vector<int>& orders) {
    IVekPly* ply = LayupSlotModel()->GetPlyStore()->New();
    if (!ply) return -1;
    const double seed[3] = {0, 0, 5}, app[3] = {0, 0, -1}, ref[3] = {1, 0, 0}, zero[2] = {0, 0};
    ply->SetName("Cap");
    ply->SetType(EVekMaterialScissor);
    ply->SetMaterialName("CF");
    ply->SetElementIdsOrders(static_cast<int>(ids.size()), ids.data(), orders.data());
    ply->SetSeedPoint(seed);
    ply->SetApplicationDirection(app);
    ply->SetReferenceDirection(ref);
    ply->SetReferenceAngle(30.0 * kPi / 180);
    ply->SetWarpWeftAngle(90.0 * kPi / 180);
    ply->SetWarpWeftRatio(1.0);
    ply->SetMaximumStrain(80.0 * kPi / 180);
    ply->SetStepLength(kStep);
    ply->SetSeedCurveType(1);
    ply->SetSeedCurveDirectionAngle("Calc");
    ply->SetSeedCurveEdges(0, 0, nullptr, nullptr);
    ply->SetSeedCurveEdges(1, 0, nullptr, nullptr);
    ply->SetExtensionType(1);
    ply->SetInadmissibleOptions(0, 0.0);
    ply->SetSplitEdges(0, nullptr, nullptr, nullptr);
    ply->SetBounds(zero, zero);
    return ply->Simulate();
}

void DeleteCap() {
    IVekPlyStore* store = LayupSlotModel()->GetPlyStore();
    if (IVekPly* ply = store->Get("Cap")) store->Delete(ply);
}

template <int (*Create)(const std::vector<int>&, const std::vector<int>&)>
void RunCreate(benchmark::State& state) {
    std::vector<int> ids;
    if (!Prepare(static_cast<int>(state.range(0)), ids)) {
        state.SkipWithError("model not built");
        return;
    }
    const std::vector<int> orders(ids.size(), 0);
    DeleteCap();
    for (auto _ : state) {
        benchmark::DoNotOptimize(Create(ids, orders));
        state.PauseTiming();
        IVekPly* ply = LayupSlotModel()->GetPlyStore()->Get("Cap");
        if (!ply || ply->GetSimulationResult() != 0) {
            state.ResumeTiming();
            state.SkipWithError("ply not draped");
            break;
        }
        DeleteCap();
        state.ResumeTiming();
    }
    state.counters["elements"] = static_cast<double>(ids.size());
}

void BM_CreatePly4(benchmark::State& state) {
    RunCreate<CreateThroughLayer>(state);
}

void BM_SettersSimulate(benchmark::State& state) {
    RunCreate<CreateThroughSetters>(state);
}

// A draped ply over the whole hemisphere, made once per size.
IVekPly* PreparePly(benchmark::State& state, std::vector<int>& ids) {
    if (!Prepare(static_cast<int>(state.range(0)), ids)) return nullptr;
    IVekPly* ply = LayupSlotModel()->GetPlyStore()->Get("Cap");
    if (!ply || ply->GetNumElements() != static_cast<int>(ids.size())) {
        DeleteCap();
        if (CreateThroughLayer(ids, std::vector<int>(ids.size(), 0)) != 0) return nullptr;
        ply = LayupSlotModel()->GetPlyStore()->Get("Cap");
    }
    return ply;
}

void BM_GetPly4(benchmark::State& state) {
    std::vector<int> ids;
    if (!PreparePly(state, ids)) {
        state.SkipWithError("ply not built");
        return;
    }
    const int n = static_cast<int>(ids.size());
    std::vector<int> elems(ids.size()), orders(ids.size());
    int type = 0, flag = 0, curveType = 0, counts[2] = {0, 0}, ext = 0, mode = 0, sim = 0;
    int none = 0;
    float seed[3], app[3], ref[3], angle, origin[3], tol, step, strain, ww, ratio, bounds[4],
        strains[4];
    char name[] = "Cap", mat[64], frame[64], dir[64];
    for (auto _ : state) {
        const int rc = LayupGetPly4(&type, name, mat, n, elems.data(), orders.data(), seed, app,
                                    ref, &angle, &flag, origin, frame, 64, &curveType, dir, counts,
                                    &none, &none, &ext, &mode, &tol, &step, &strain, &ww, &ratio,
                                    bounds, 0, nullptr, nullptr, nullptr, strains, &sim);
        benchmark::DoNotOptimize(rc);
        benchmark::ClobberMemory();
    }
    if (elems != ids) state.SkipWithError("elements not read back");
    state.SetItemsProcessed(state.iterations() * n);
}

void BM_GetElementIdsOrders(benchmark::State& state) {
    std::vector<int> ids;
    IVekPly* ply = PreparePly(state, ids);
    if (!ply) {
        state.SkipWithError("ply not built");
        return;
    }
    const int n = static_cast<int>(ids.size());
    std::vector<int> elems(ids.size()), orders(ids.size());
    for (auto _ : state) {
        benchmark::DoNotOptimize(ply->GetElementIdsOrders(n, elems.data(), orders.data()));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * n);
}

}  // namespace

// Size by size, so that each mesh is built once and the pairs run back to
// back.
#define PLY_BENCHMARKS(rings)                                                 \
    BENCHMARK(BM_CreatePly4)->Arg(rings)->Unit(benchmark::kMillisecond);      \
    BENCHMARK(BM_SettersSimulate)->Arg(rings)->Unit(benchmark::kMillisecond); \
    BENCHMARK(BM_GetPly4)->Arg(rings)->Unit(benchmark::kMicrosecond);         \
    BENCHMARK(BM_GetElementIdsOrders)->Arg(rings)->Unit(benchmark::kMicrosecond)
PLY_BENCHMARKS(56);
PLY_BENCHMARKS(112);
PLY_BENCHMARKS(224);

BENCHMARK_MAIN();
