// Ply import: a 20-ply layup on a coarse plate carried onto a plate of the
// same size with 16 times as many elements (4 x 4 per coarse element),
// beside the brute-force lookup (each destination line tested against every
// source facet, timed on a sample and reported per element). Targets of
// 10^4 and 10^5 elements by default; PLYSTRAND_BENCH_LARGE=1 adds 10^6.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "bench/bench_mesh.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacetIntPts.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpLine.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElem.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/PlyImport.h"
#include "layuplib/facet_query.h"
#include "layuplib/surface_div.h"

namespace {

const int kPlies = 20;

// A coarse n x n plate of side 1 carrying kPlies draped plies over all of it
// (patterns filled directly, fibres at 0, 45, 90, -45 degrees in turn).
void FillSource(CKpLayup& src, int n) {
    bench::LoadMesh(src, bench::MakePlate(n, n, 1.0 / n));
    CKpMat* mat = new CKpMat(1);
    mat->setMtrlnm("CF");
    mat->setLyrtp(3);
    mat->setMtrlthck(0.25);
    mat->setWpwtang(1.5707963267948966);
    mat->setMaxstrn(1.0);
    src.pMats()->insert(mat);
    for (int p = 1; p <= kPlies; ++p) {
        CKpPat* pat = new CKpPat(p);
        pat->setLyrtp(3);
        pat->setEye(0.5, 0.5, 1.0);
        pat->setEyed(0.0, 0.0, -1.0);
        pat->setRefd(1.0, 0.0, 0.0);
        pat->setStdn(1);
        pat->setStep(-1.0);
        pat->setExttp(1);
        const double warp = (p % 4) * 0.7853981633974483;
        for (int i = 0; i < src.pElems()->entries(); ++i) {
            CKpElem* e = (*src.pElems())[i];
            CKpPatElem* pe = new CKpPatElem;
            pe->setElemId(e->id());
            pe->setPelem(e);
            pe->setStdn(1);
            pe->setDnfg(1);
            pe->setWarpAngle(warp);
            pe->setWeftAngle(warp + 1.5707963267948966);
            pat->PatElems()->InsertLast(pe);
        }
        src.pPats()->insert(pat);
        std::string name = "ply" + std::to_string(p);
        pat->SetNameByPlyName(name.c_str());
        src.pPlys()->insert(new CKpPly(p, name.c_str(), 3, mat, pat));
    }
}

// Target of (4n)^2 elements, ids shifted so that no element maps.
bench::Mesh Fine(int n) {
    bench::Mesh m = bench::MakePlate(4 * n, 4 * n, 1.0 / (4 * n));
    for (int& id : m.elemIds) id += 10000000;
    return m;
}

void BM_PlyImport(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    CKpLayup src(nullptr, nullptr);
    FillSource(src, n);
    const bench::Mesh fine = Fine(n);
    for (auto _ : state) {
        state.PauseTiming();
        CKpLayup dst(nullptr, nullptr);
        bench::LoadMesh(dst, fine);
        std::vector<int> area(fine.elemIds);
        for (int p = 1; p <= kPlies; ++p)
            src.pPlys()->find(p)->setname(("ply" + std::to_string(p)).c_str());
        state.ResumeTiming();
        ImportLayup(&dst, &src, static_cast<int>(area.size()), area.data(), 0.5, -0.01, 0, 0.0, 0,
                    kPlies, nullptr, nullptr, nullptr);
        state.PauseTiming();
        if (dst.pPlys()->entries() != kPlies) state.SkipWithError("plies missing");
        state.ResumeTiming();
    }
    const double elems = 16.0 * n * n;
    state.counters["target_elements"] = elems;
    state.counters["per_element_us"] = benchmark::Counter(
        elems, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Reference lookup: every source facet against each destination line, for
// a sample of 2,000 destination elements; per element, to set beside the
// whole import's per-element cost.
void BM_PlyImportBruteForceLookup(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    CKpLayup src(nullptr, nullptr);
    bench::LoadMesh(src, bench::MakePlate(n, n, 1.0 / n));
    surface_select_all(src.pElems(), src.pFacs());
    const int samples = 2000, m = 4 * n;
    for (auto _ : state) {
        CKpFacetIntPts hits;
        for (int k = 0; k < samples; ++k) {
            const int e = (k * 7919) % (m * m);
            CKpLine line;
            line.P.Set((e % m + 0.5) / m, (e / m + 0.5) / m, 0.0);
            line.u.Set(0, 0, 1);
            CalcAllPointsFacetsRay(nullptr, src.pFacs(), line, -0.01, 0.01, 1, nullptr, 0, 0, hits);
        }
        benchmark::DoNotOptimize(hits.GetNumPts());
    }
    state.counters["target_elements"] = 16.0 * n * n;
    state.counters["per_element_us"] = benchmark::Counter(
        samples, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

}  // namespace

int main(int argc, char** argv) {
    // Coarse sides 25, 79 and 250 give targets of 10^4, about 10^5 and 10^6.
    auto* run = benchmark::RegisterBenchmark("BM_PlyImport", BM_PlyImport);
    run->Arg(25)->Arg(79)->Unit(benchmark::kMillisecond)->Iterations(1);
    if (const char* large = std::getenv("PLYSTRAND_BENCH_LARGE"); large && *large == '1')
        run->Arg(250);
    benchmark::RegisterBenchmark("BM_PlyImportBruteForceLookup", BM_PlyImportBruteForceLookup)
        ->Arg(25)
        ->Arg(79)
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
