// LayupRecreate: 200 simulated plies placed in the layup, each over a tenth
// of a strip of quad4 elements (about 20 entries per element stack), placed
// again from scratch; sizes step by x4 up to 100,000 elements. The
// reference is the first placement of the same plies into an empty layup.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/bench_mesh.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/add_layer.h"

namespace {

constexpr int kPlies = 200;
constexpr int kWidth = 50;  // elements across the strip

// A kWidth x (elements / kWidth) strip of unit quads, ids 1..elements.
void LoadStrip(CKpLayup& model, int elements) {
    bench::LoadMesh(model, bench::MakePlate(kWidth, elements / kWidth));
}

// Ply p covers a tenth of the elements starting at p x elements / 200,
// with a pattern filled as a finished simulation leaves it.
void MakePlies(CKpLayup& model, int elements) {
    CKpMat* mat = new CKpMat(1);
    mat->setMtrlthck(0.25);
    model.pMats()->insert(mat);
    const int span = elements / 10;
    for (int p = 0; p < kPlies; ++p) {
        const std::string name = "P" + std::to_string(p + 1);
        CKpPat* pat = new CKpPat(p + 1);
        pat->setLyrtp(2);
        pat->SetNameByPlyName(name.c_str());
        pat->setStdn(1);
        pat->setSimResult(0);
        model.pPats()->insert(pat);
        const int start = static_cast<int>(static_cast<long long>(p) * elements / kPlies);
        for (int k = 0; k < span; ++k) {
            const int id = (start + k) % elements + 1;
            CKpPatElem* pe = new CKpPatElem;
            pe->setElemId(id);
            pe->setPelem(model.pElems()->find(id));
            pe->setStdn(1);
            pe->setDnfg(1);
            pat->PatElems()->InsertLast(pe);
        }
        model.pPlys()->insert(new CKpPly(p + 1, name.c_str(), 2, mat, pat));
    }
}

void PlaceAll(CKpLayup& model) {
    for (int p = 0; p < kPlies; ++p) {
        const std::string name = "P" + std::to_string(p + 1);
        model.CreateLayupPly("", "", 2, name.c_str(), (p % 2) ? -1 : 1, 0.0, 0.0, p + 1);
    }
}

void LayupRecreate(benchmark::State& state) {
    const int elements = static_cast<int>(state.range(0));
    CKpLayup model(nullptr, nullptr);
    LoadStrip(model, elements);
    MakePlies(model, elements);
    PlaceAll(model);
    for (auto _ : state) {
        const int rc =
            model.LayupRecreate(model.pMsg(), model.pElems(), model.pPlys(), model.pLyp());
        benchmark::DoNotOptimize(rc);
    }
    state.counters["entries"] = static_cast<double>(kPlies) * (elements / 10);
    state.SetItemsProcessed(state.iterations() * kPlies * static_cast<int64_t>(elements / 10));
}

// Reference: the same placements into an empty layup.
void FirstPlacement(benchmark::State& state) {
    const int elements = static_cast<int>(state.range(0));
    CKpLayup model(nullptr, nullptr);
    LoadStrip(model, elements);
    MakePlies(model, elements);
    for (auto _ : state) {
        state.PauseTiming();
        model.pLyp()->Clear();
        state.ResumeTiming();
        PlaceAll(model);
    }
    state.SetItemsProcessed(state.iterations() * kPlies * static_cast<int64_t>(elements / 10));
}

}  // namespace

BENCHMARK(LayupRecreate)->Arg(6250)->Arg(25000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(FirstPlacement)->Arg(6250)->Arg(25000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
