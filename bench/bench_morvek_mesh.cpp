// The shell mesh between the host database and the model, through the
// stand-in host, on an n x n plate of quad4 elements: CMorvek::getMesh into
// empty stores, CMorvek::putMesh into an empty database, and NewLayup from
// the host database next to its reference, NewLayupMesh from arrays.
// Sizes step by x4 elements up to 1,000,000.

#include <benchmark/benchmark.h>

#include "bench/bench_mesh.h"
#include "host/CMorvek.h"
#include "host/LayupOut.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpNodeStore.h"
#include "platform/MorvekStub.h"

namespace {

// The plate as the host database's content.
void OfferPlate(const bench::Mesh& m) {
    MorvekStubReset();
    for (size_t k = 0; k < m.nodeIds.size(); ++k)
        MorvekStubAddNode(m.nodeIds[k], static_cast<float>(m.xyz[3 * k]),
                          static_cast<float>(m.xyz[3 * k + 1]),
                          static_cast<float>(m.xyz[3 * k + 2]));
    for (size_t e = 0; e < m.elemIds.size(); ++e)
        MorvekStubAddElem(m.elemIds[e], 4, 4, m.connectivity.data() + 4 * e);
}

void BM_GetMesh(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    VekApiInit(&MorvekStubGetter);
    OfferPlate(bench::MakePlate(n, n, 1.0, true));
    CMorvek db;
    for (auto _ : state) {
        CKpNodeStore nodes;
        CKpElemStore elems;
        if (db.getMesh(nullptr, &nodes, &elems) != 0) state.SkipWithError("getMesh failed");
        state.PauseTiming();
        nodes.eraseAllObjects();
        elems.eraseAllObjects();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * n * n);
    state.counters["elements"] = n * n;
}

void BM_PutMesh(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    VekApiInit(&MorvekStubGetter);
    CKpLayup model(nullptr, nullptr);
    if (bench::LoadMesh(model, bench::MakePlate(n, n, 1.0, true)) != 0)
        state.SkipWithError("NewLayupMesh failed");
    CMorvek db;
    for (auto _ : state) {
        state.PauseTiming();
        MorvekStubReset();
        state.ResumeTiming();
        db.putMesh(nullptr, model.pNodes(), model.pElems());
    }
    if (morvekstub::ElemCount() != n * n) state.SkipWithError("putMesh wrote too little");
    state.SetItemsProcessed(state.iterations() * n * n);
    state.counters["elements"] = n * n;
}

void BM_NewLayupFromHost(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    VekApiInit(&MorvekStubGetter);
    OfferPlate(bench::MakePlate(n, n, 1.0, true));
    CMorvek db;
    CKpLayup model(&db, nullptr);
    for (auto _ : state) {
        if (model.NewLayup(0.0, 0.0) != 0) state.SkipWithError("NewLayup failed");
    }
    state.SetItemsProcessed(state.iterations() * n * n);
    state.counters["elements"] = n * n;
}

void BM_NewLayupMeshFromArrays(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const bench::Mesh plate = bench::MakePlate(n, n, 1.0, true);
    CKpLayup model(nullptr, nullptr);
    for (auto _ : state) {
        if (bench::LoadMesh(model, plate) != 0) state.SkipWithError("NewLayupMesh failed");
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

BENCHMARK(BM_GetMesh)->Apply(Sizes);
BENCHMARK(BM_PutMesh)->Apply(Sizes);
BENCHMARK(BM_NewLayupFromHost)->Apply(Sizes);
BENCHMARK(BM_NewLayupMeshFromArrays)->Apply(Sizes);
BENCHMARK_MAIN();
