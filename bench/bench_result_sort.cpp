// Sorting 20 plies of layer results over N elements by layup ply against
// one pass over the element stacks collecting the same (ply, element,
// layer) triples: the ratio is the cost of the sort's lookups and record
// copies over the bare walk.

#include <benchmark/benchmark.h>

#include <string>
#include <tuple>
#include <vector>

#include "bench/bench_mesh.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemLypPly.h"
#include "layuplib/CKpElemLypPlyStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElem.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CKpRes.h"
#include "layuplib/CKpResStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/add_layer.h"

namespace {

constexpr int kPlies = 20;
constexpr int kWidth = 100;

void Build(CKpLayup& model, int elements) {
    bench::LoadMesh(model, bench::MakePlate(kWidth, elements / kWidth));
    CKpMat* mat = new CKpMat(1);
    mat->setMtrlthck(0.25);
    model.pMats()->insert(mat);
    for (int p = 0; p < kPlies; ++p) {
        const std::string name = "P" + std::to_string(p + 1);
        CKpPat* pat = new CKpPat(p + 1);
        pat->setLyrtp(2), pat->SetNameByPlyName(name.c_str()), pat->setStdn(1),
            pat->setSimResult(0);
        model.pPats()->insert(pat);
        for (int id = 1; id <= elements; ++id) {
            CKpPatElem* pe = new CKpPatElem;
            pe->setElemId(id), pe->setPelem(model.pElems()->find(id)), pe->setStdn(1),
                pe->setDnfg(1);
            pat->PatElems()->InsertLast(pe);
        }
        model.pPlys()->insert(new CKpPly(p + 1, name.c_str(), 2, mat, pat));
        CreateLayupPly(&model, "", "", 2, name.c_str(), 1, 0.0, 0.0, p + 1);
    }
    for (int k = 0; k < kPlies; ++k) {
        const std::string layer = "Layer " + std::to_string(k + 1);
        const char* nm[5] = {"LC", "SC", "Stress Tensor", "", layer.c_str()};
        CKpRes* r = new CKpRes(k + 1, nm, 1, 3, 1);
        for (int e = 1; e <= elements; ++e) {
            const float v[6] = {static_cast<float>(e), static_cast<float>(k), 0, 1, 2, 3};
            r->FindOrCreateResElem(e, 6, v, 0, nullptr);
        }
        model.pRess()->insert(r);
    }
}

void SortLayup(benchmark::State& state) {
    const int elements = static_cast<int>(state.range(0));
    CKpLayup model(nullptr, nullptr);
    Build(model, elements);
    const char* names[5] = {"LC", "SC", "Stress Tensor", "", ""};
    const int flags[8] = {0, 1, 0, 0, 0, 0, 0, 0};
    const char* seps[8] = {"", "", "", "", "", "", "", ""};
    for (auto _ : state) {
        int ids[2] = {0, 0};
        model.GetResultStore()->CreateResultsSortLayup(names, flags, seps, 0, ids);
        state.PauseTiming();
        for (int id = ids[0]; id < ids[1]; ++id)
            model.GetResultStore()->Delete(model.GetResultStore()->GetId(id));
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * elements * kPlies);
}

void StackPass(benchmark::State& state) {
    const int elements = static_cast<int>(state.range(0));
    CKpLayup model(nullptr, nullptr);
    Build(model, elements);
    std::vector<std::tuple<int, int, int>> triples;
    for (auto _ : state) {
        triples.clear();
        CVekObjectStoreIterator<CKpElem> it(*model.pElems());
        while (++it) {
            const CKpElemLypPlyStore* plies = it.key()->getElemLypPlies();
            int layer = 0;
            for (const CKpElemLypPly* p = plies->First(); p; p = plies->Next(p))
                triples.emplace_back(p->getLypPlyId(), it.key()->id(), ++layer);
        }
        benchmark::DoNotOptimize(triples.data());
    }
    state.SetItemsProcessed(state.iterations() * elements * kPlies);
}

}  // namespace

BENCHMARK(SortLayup)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(StackPass)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
