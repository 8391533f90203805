// XML layup export: four plies over a plate of quad4 elements (two
// triangles each), written through the streaming XML writer. The reference
// prints the same numbers with fprintf alone (the point and triangle
// records, no tags, no node lookup), the floor of any text export.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_mesh.h"
#include "fileformats/CFiberSimAnsysWriter.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacetStore.h"
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

constexpr int kPlies = 4;
const char* kPath = "/tmp/plystrand_bench_export.xml";

void Build(CKpLayup& model, int n) {
    bench::LoadMesh(model, bench::MakePlate(n, n));
    CKpMat* mat = new CKpMat(1);
    mat->setMtrlthck(0.25);
    model.pMats()->insert(mat);
    const int elements = model.pElems()->entries();
    for (int p = 0; p < kPlies; ++p) {
        const std::string name = "P" + std::to_string(p + 1);
        CKpPat* pat = new CKpPat(p + 1);
        pat->setLyrtp(2);
        pat->SetNameByPlyName(name.c_str());
        pat->setStdn(1);
        pat->setSimResult(0);
        model.pPats()->insert(pat);
        for (int i = 0; i < elements; ++i) {
            CKpElem* elem = (*model.pElems())[i];
            CKpPatElem* pe = new CKpPatElem;
            pe->setElemId(elem->id());
            pe->setPelem(elem);
            pe->setStdn(1);
            pe->setDnfg(1);
            pe->setWarpAngle(0.25 * p);
            pe->setWeftAngle(0.25 * p + 1.5);
            pat->PatElems()->InsertLast(pe);
        }
        model.pPlys()->insert(new CKpPly(p + 1, name.c_str(), 2, mat, pat));
        CreateLayupPly(&model, "", "", 2, name.c_str(), 1, 0.0, 0.0, p + 1);
    }
    // The facets exist before the first export in practice.
    if (model.pFacs()->entries() == 0) model.pFacs()->CreateFacets();
}

void XmlExport(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    CKpLayup model(nullptr, nullptr);
    Build(model, n);
    for (auto _ : state) {
        CFiberSimAnsysWriter writer;
        benchmark::DoNotOptimize(writer.Write(kPath, &model));
    }
    state.counters["facets"] = 2.0 * n * n * kPlies;
    std::remove(kPath);
}
BENCHMARK(XmlExport)->Arg(100)->Arg(300)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The same records: (n+1)^2 points and 2 n^2 triangles per ply.
void FprintfNumbers(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        FILE* f = std::fopen(kPath, "w");
        for (int p = 0; p < kPlies; ++p) {
            for (int j = 0; j <= n; ++j)
                for (int i = 0; i <= n; ++i)
                    std::fprintf(f, "%lf %lf %lf\n", 1.0 * i, 1.0 * j, 0.0);
            for (int t = 0; t < 2 * n * n; ++t)
                std::fprintf(f, "%d %d %d, %lf, %lf\n", t + 1, t + 2, t + 3, 0.25 * p,
                             0.25 * p + 1.5);
        }
        std::fclose(f);
    }
    state.counters["facets"] = 2.0 * n * n * kPlies;
    std::remove(kPath);
}
BENCHMARK(FprintfNumbers)->Arg(100)->Arg(300)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

BENCHMARK_MAIN();
