// Extrusion of N quads with two plies into bricks (one per shell) against
// CKpNodeStore::Merge alone on the same number of solid corner nodes (eight
// per quad, coinciding where solids meet): the ratio is the cost of the
// node stacks and solid creation over the merge that ends the extrusion.

#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_mesh.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElem.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CKpSolidGenSet.h"
#include "layuplib/add_layer.h"

namespace {

constexpr int kWidth = 100;

void Build(CKpLayup& model, int elements) {
    bench::LoadMesh(model, bench::MakePlate(kWidth, elements / kWidth));
    CKpMat* mat = new CKpMat(1);
    mat->setMtrlthck(0.25);
    model.pMats()->insert(mat);
    for (int p = 0; p < 2; ++p) {
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
}

void Extrude(benchmark::State& state) {
    const int elements = static_cast<int>(state.range(0));
    CKpLayup model(nullptr, nullptr);
    Build(model, elements);
    IVekSolidGenSet* gen = model.GetSolidGenSet();
    for (auto _ : state) {
        state.PauseTiming();
        gen->Clear();
        gen->SetElementIds(-1, nullptr);
        gen->SetExtrusionMethod(eExtrudeShell);
        gen->SetNodeIdOffset(1);
        gen->SetElementIdOffset(1);
        state.ResumeTiming();
        gen->Run();
    }
    state.SetItemsProcessed(state.iterations() * elements);
}

void MergeOnly(benchmark::State& state) {
    const int elements = static_cast<int>(state.range(0));
    const int rows = elements / kWidth;
    for (auto _ : state) {
        state.PauseTiming();
        CKpNodeStore nodes;
        int next = 1;
        for (int j = 0; j < rows; ++j)
            for (int i = 0; i < kWidth; ++i)
                for (int c = 0; c < 8; ++c) {
                    CKpPoint p;
                    p.Set(i + ((c == 1 || c == 2 || c == 5 || c == 6) ? 1 : 0),
                          j + ((c == 2 || c == 3 || c == 6 || c == 7) ? 1 : 0),
                          c < 4 ? -0.25 : 0.25);
                    nodes.CreateNode(&p, &next);
                }
        state.ResumeTiming();
        benchmark::DoNotOptimize(nodes.Merge(nullptr, nullptr, nullptr, 1e-6));
    }
    state.SetItemsProcessed(state.iterations() * elements);
}

}  // namespace

BENCHMARK(Extrude)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(MergeOnly)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
