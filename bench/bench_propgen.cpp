// Property generation (CKpPropGenSet::Run, angle mode): a strip of quad4
// elements with 40 plies each, in 500 (or 2,000) distinct stacks assigned in
// turn; sizes step by x4 up to 100,000 elements. The first positions of a
// stack hold one of two plies each (bit i of the stack number), the others
// one ply over every element. The reference searches every property set and
// laminate for every element (SaveLaminateElem element by element), the
// cost that grows as elements x property sets.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/bench_mesh.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CKpPropGenSet.h"
#include "layuplib/CKpPropStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/SaveLaminate.h"
#include "layuplib/add_layer.h"

namespace {

constexpr int kWidth = 50;
constexpr int kPlies = 40;
constexpr double kAngTol = 0.01;
constexpr double kThkPct = 5.0;

void LoadStrip(CKpLayup& model, int elements) {
    bench::LoadMesh(model, bench::MakePlate(kWidth, elements / kWidth));
}

// One simulated ply over the elements for which `covers` holds, placed.
template <class Covers>
void LayPly(CKpLayup& model, CKpMat* mat, const std::string& name, int gply, int elements,
            Covers covers) {
    CKpPat* pat = new CKpPat(model.pPats()->maxId() + 1);
    pat->setLyrtp(2);
    pat->SetNameByPlyName(name.c_str());
    pat->setStdn(1);
    pat->setSimResult(0);
    model.pPats()->insert(pat);
    for (int id = 1; id <= elements; ++id) {
        if (!covers(id)) continue;
        CKpPatElem* pe = new CKpPatElem;
        pe->setElemId(id);
        pe->setPelem(model.pElems()->find(id));
        pe->setStdn(1);
        pe->setDnfg(1);
        pat->PatElems()->InsertLast(pe);
    }
    model.pPlys()->insert(new CKpPly(model.pPlys()->maxId() + 1, name.c_str(), 2, mat, pat));
    model.CreateLayupPly("", "", 2, name.c_str(), 1, 0.0, 0.0, gply);
}

void Build(CKpLayup& model, int elements, int stacks) {
    LoadStrip(model, elements);
    CKpMat* mat = new CKpMat(1);
    mat->setMtrlthck(0.25);
    model.pMats()->insert(mat);
    int varied = 0;  // positions holding one of two plies: 2^varied >= stacks
    while ((1 << varied) < stacks) ++varied;
    auto stack = [stacks](int id) { return (id - 1) % stacks; };
    for (int pos = 0; pos < kPlies; ++pos) {
        if (pos < varied) {
            for (int bit = 0; bit < 2; ++bit)
                LayPly(model, mat, "V" + std::to_string(pos) + "_" + std::to_string(bit), pos + 1,
                       elements, [&](int id) { return ((stack(id) >> pos) & 1) == bit; });
        } else {
            LayPly(model, mat, "C" + std::to_string(pos), pos + 1, elements,
                   [](int) { return true; });
        }
    }
    CVekObjectStoreIterator<CKpElem> it(*model.pElems());
    while (++it) it.key()->setSltd(1);
}

void PropGenRun(benchmark::State& state) {
    const int elements = static_cast<int>(state.range(0));
    CKpLayup model(nullptr, nullptr);
    Build(model, elements, static_cast<int>(state.range(1)));
    CKpPropGenSet* set = model.pPropGenSet();
    set->SetName("L");
    set->SetPropertyMode(3);
    set->SetAngleTolerance(kAngTol);
    set->SetThicknessTolerance(kThkPct);
    set->SetFirstLamId(1);
    set->SetFirstPropId(1);
    for (auto _ : state) {
        const int rc = set->Run();
        if (rc != 0) state.SkipWithError("Run failed");
        benchmark::DoNotOptimize(rc);
    }
    state.counters["props"] = model.pProps()->entries();
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(elements));
}

// Reference: every element searches all property sets and laminates.
void FullSearch(benchmark::State& state) {
    const int elements = static_cast<int>(state.range(0));
    CKpLayup model(nullptr, nullptr);
    Build(model, elements, static_cast<int>(state.range(1)));
    const int options[6] = {0, 0, 0, 0, 0, 0};
    for (auto _ : state) {
        state.PauseTiming();
        model.pProps()->eraseAllObjects();
        model.pLams()->Clear();
        state.ResumeTiming();
        int coordCounter = 1, lamCounter = 1, propCounter = 1;
        CVekObjectStoreIterator<CKpElem> it(*model.pElems());
        while (++it) {
            CKpElem* e = it.key();
            SaveLaminateElem(nullptr, "L", options, 3, CKpPoint(), CKpPoint(), CKpDirn(), CKpDirn(),
                             CKpDirn(), nullptr, nullptr, 0.0, kAngTol, kThkPct, 0, 0, 0,
                             coordCounter, nullptr, nullptr, "", lamCounter, propCounter,
                             model.pCoords(), model.pFields(), model.pOrients(), model.pLams(),
                             model.pProps(), e, e->getElemLypPlies(), e->getoff_fg(),
                             e->getoff_val(), e);
        }
    }
    state.counters["props"] = model.pProps()->entries();
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(elements));
}

}  // namespace

void Sizes(benchmark::internal::Benchmark* b) {
    b->ArgNames({"elements", "stacks"});
    for (int stacks : {500, 2000})
        for (int elements : {6250, 25000, 100000}) b->Args({elements, stacks});
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK(PropGenRun)->Apply(Sizes);
BENCHMARK(FullSearch)->Apply(Sizes);

BENCHMARK_MAIN();
