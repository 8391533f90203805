// Materials, laminates and element properties between the model and the
// host database through the stand-in host, on an n x n plate of quad4
// elements with one laminate (four layers of two materials) and one angle
// orientation per 100 elements: putMat + putLam + putProp, then getLam +
// getMat + getProp into a second model, next to the reference putMesh +
// getMesh of the same mesh. Sizes step by about x4 elements up to 100,000
// (1,000 laminates).

#include <benchmark/benchmark.h>

#include "bench/bench_mesh.h"
#include "host/CMorvek.h"
#include "host/LayupOut.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyr.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpOrient.h"
#include "layuplib/CKpOrientStore.h"
#include "platform/MorvekStub.h"

namespace {

constexpr int kElemsPerLam = 100;

// Two materials, a laminate and an angle orientation per 100 elements.
void Compose(CKpLayup& model) {
    for (int id = 1; id <= 2; ++id) {
        CKpMat* m = new CKpMat(id);
        m->setMtrlnm(id == 1 ? "Tape" : "Fabric");
        m->setDir(4);
        m->setE(135000 / id, 9000, 0);
        m->setNu(0.3, 0, 0);
        m->setG(5000, 4000, 4000);
        m->setFt(2000, 50, 0);
        model.pMats()->insert(m);
    }
    CKpElemStore* elems = model.pElems();
    const int nLams = (elems->entries() + kElemsPerLam - 1) / kElemsPerLam;
    for (int l = 1; l <= nLams; ++l) {
        CKpLam* lam = new CKpLam(l);
        lam->name(("Lam" + std::to_string(l)).c_str());
        for (int k = 0; k < 4; ++k) {
            CKpLamLyr* lyr = lam->LamLyrs()->New();
            lyr->setMid(1 + k % 2);
            lyr->setT(0.125);
            lyr->setTheta(0.785398 * k);
        }
        model.pLams()->insert(lam);
        CKpOrient* o = new CKpOrient(l);
        o->setName(("Or" + std::to_string(l)).c_str());
        o->setType(CKpOrient::TypeAngle);
        o->setValues(0.01 * l, 0, 0);
        model.pOrients()->insert(o);
    }
    for (int k = 0; k < elems->entries(); ++k) {
        CKpElem* e = (*elems)[k];
        const int l = k / kElemsPerLam + 1;
        e->pid(l);
        e->pOrient(model.pOrients()->find(l));
        e->orientId(l);
    }
}

void BM_PropsWriteRead(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    VekApiInit(&MorvekStubGetter);
    MorvekStubReset();
    MorvekStubOpenDatabase("bench.db");
    const bench::Mesh mesh = bench::MakePlate(n, n, 1.0, true);
    CMorvek db;
    CKpLayup out(&db, nullptr), in(&db, nullptr);
    if (bench::LoadMesh(out, mesh) != 0 || bench::LoadMesh(in, mesh) != 0)
        state.SkipWithError("NewLayupMesh failed");
    Compose(out);
    for (auto _ : state) {
        state.PauseTiming();
        MorvekStubReset();
        MorvekStubOpenDatabase("bench.db");
        db.putMesh(nullptr, out.pNodes(), out.pElems());
        in.pLams()->Clear();
        in.pOrients()->Clear();
        in.pMats()->eraseAllObjects();
        state.ResumeTiming();
        db.putMat(nullptr, out.pMats());
        db.putLam(nullptr, out.pMats(), out.pLams());
        db.putProp(nullptr, out.pElems(), out.pLams(), out.pOrients(), out.pCoords());
        if (db.getLam(nullptr, in.pElems(), in.pLams()) != 0 ||
            db.getMat(nullptr, in.pLams(), in.pMats()) != 0 ||
            db.getProp(nullptr, in.pElems(), in.pOrients(), in.pCoords()) != 0)
            state.SkipWithError("reading back failed");
    }
    if (in.pLams()->entries() != out.pLams()->entries() ||
        in.pOrients()->entries() != out.pOrients()->entries())
        state.SkipWithError("read back too little");
    state.SetItemsProcessed(state.iterations() * n * n);
    state.counters["elements"] = n * n;
    state.counters["laminates"] = out.pLams()->entries();
}

void BM_MeshWriteRead(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    VekApiInit(&MorvekStubGetter);
    CKpLayup out(nullptr, nullptr);
    if (bench::LoadMesh(out, bench::MakePlate(n, n, 1.0, true)) != 0)
        state.SkipWithError("NewLayupMesh failed");
    CMorvek db;
    for (auto _ : state) {
        state.PauseTiming();
        MorvekStubReset();
        state.ResumeTiming();
        db.putMesh(nullptr, out.pNodes(), out.pElems());
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

void Sizes(benchmark::internal::Benchmark* b) {
    for (int n : {20, 40, 80, 160, 317}) b->Arg(n);
    b->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_PropsWriteRead)->Apply(Sizes);
BENCHMARK(BM_MeshWriteRead)->Apply(Sizes);
BENCHMARK_MAIN();
