// The manufacturing file writers against the plain layup file writer
// (CKpLayup::SaveLayup, no compression) on the same model; bytes_per_second
// counts the bytes each writes, so the ratio of the two rates compares them:
//   BM_MouldIges / BM_MouldLayup: a plate of quad4 elements (two facets
//     each), 15,625 to 1,000,000 facets (x 4 per step);
//   BM_DrapedDxf / BM_DrapedLayup: the draped pattern (boundary and every
//     fibre, options 31) of one ply draped over a 200 x 200 plate with a
//     step giving about 6,000 to 100,000 grid points (x 4 per step); the
//     drape is made once outside the timing.
// Files go to the temp folder and are removed.

#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "bench/bench_mesh.h"
#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapeSim.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpFile.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/angle_util.h"
#include "layuplib/gen_flat_pat_dxf.h"
#include "layuplib/gen_flat_pat_igs.h"

namespace {

std::string Temp(const std::string& name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/plystrand_bench_" + name;
}

long long FileSize(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? static_cast<long long>(st.st_size) : 0;
}

// ---- mould surface

std::unique_ptr<CKpLayup>& MouldModel(int nx) {
    static std::map<int, std::unique_ptr<CKpLayup>> models;
    std::unique_ptr<CKpLayup>& m = models[nx];
    if (!m) {
        m.reset(new CKpLayup(nullptr, nullptr));
        bench::LoadMesh(*m, bench::MakePlate(nx, nx / 2, 0.01));
        if (m->pFacs()->entries() == 0) m->pFacs()->CreateFacets();
    }
    return m;
}

void BM_MouldIges(benchmark::State& state) {
    CKpLayup& model = *MouldModel(static_cast<int>(state.range(0)));
    CKpFile file;
    const std::string path = Temp("mould.igs");
    file.SetName(path.c_str());
    for (auto _ : state)
        if (gen_mould_surf_igs(model.pMsg(), model.pNodes(), model.pFacs(), &file) != 0)
            state.SkipWithError("write failed");
    state.SetBytesProcessed(state.iterations() * FileSize(path));
    state.counters["facets"] = model.pFacs()->entries();
    std::remove(path.c_str());
}

void BM_MouldLayup(benchmark::State& state) {
    CKpLayup& model = *MouldModel(static_cast<int>(state.range(0)));
    const std::string path = Temp("mould.lyp");
    for (auto _ : state)
        if (model.SaveLayup(path.c_str(), 0, 0) != 0) state.SkipWithError("save failed");
    state.SetBytesProcessed(state.iterations() * FileSize(path));
    state.counters["facets"] = model.pFacs()->entries();
    std::remove(path.c_str());
}

// ---- draped pattern

struct Drape {
    std::unique_ptr<CKpLayup> model;
    CKpPly* ply = nullptr;
    int points = 0;
};

// A 200 x 200 plate of unit quads with one ply draped from its centre at
// `step`: about (200 / step)^2 grid points.
Drape& DrapeModel(double step) {
    static std::map<double, Drape> drapes;
    Drape& d = drapes[step];
    if (d.model) return d;
    d.model.reset(new CKpLayup(nullptr, nullptr));
    CKpLayup& model = *d.model;
    bench::LoadMesh(model, bench::MakePlate(200, 200, 1.0));
    CKpMat* mat = new CKpMat(1);
    mat->setMtrlnm("CF");
    mat->setMtrlthck(0.2);
    mat->setWpwtang(kPi / 2);
    mat->setMaxstrn(80 * kPi / 180);
    model.pMats()->insert(mat);
    CKpPly* ply = static_cast<CKpPly*>(model.pPlys()->New());
    ply->SetName("Ply");
    ply->SetType(EVekMaterialScissor);
    ply->SetMaterialName("CF");
    const double eye[3] = {100.3, 100.7, 10.0}, look[3] = {0.0, 0.0, -1.0},
                 ref[3] = {1.0, 0.0, 0.0};
    ply->SetSeedPoint(eye);
    ply->SetApplicationDirection(look);
    ply->SetReferenceDirection(ref);
    ply->SetProjectionMethod(0);
    ply->SetExtensionType(1);
    ply->SetStepLength(step);
    if (ply->Simulate() != 0) return d;
    d.ply = ply;
    CKpDrape* grid = model.pDrapeSim()->pDrape();
    int u0, u1, v0, v1;
    grid->GetBounds(u0, u1, v0, v1);
    for (int u = u0; u <= u1; ++u)
        for (int v = v0; v <= v1; ++v) d.points += grid->pDrapePt(u, v) != nullptr;
    return d;
}

double StepOf(benchmark::State& state) {
    return 0.6 * std::pow(2.0, static_cast<double>(state.range(0)));
}

void BM_DrapedDxf(benchmark::State& state) {
    Drape& d = DrapeModel(StepOf(state));
    if (!d.ply) {
        state.SkipWithError("drape failed");
        return;
    }
    CKpLayup& model = *d.model;
    CKpFile file;
    const std::string path = Temp("draped.dxf");
    file.SetName(path.c_str());
    for (auto _ : state)
        if (gen_draped_pat_dxf(model.pMsg(), &file, model.pFacs(), model.pBdys(),
                               model.pDrapeSim()->pDrape(), "Ply", 31) != 0)
            state.SkipWithError("write failed");
    state.SetBytesProcessed(state.iterations() * FileSize(path));
    state.counters["points"] = d.points;
    std::remove(path.c_str());
}

void BM_DrapedLayup(benchmark::State& state) {
    Drape& d = DrapeModel(StepOf(state));
    if (!d.ply) {
        state.SkipWithError("drape failed");
        return;
    }
    const std::string path = Temp("draped.lyp");
    for (auto _ : state)
        if (d.model->SaveLayup(path.c_str(), 0, 0) != 0) state.SkipWithError("save failed");
    state.SetBytesProcessed(state.iterations() * FileSize(path));
    state.counters["points"] = d.points;
    std::remove(path.c_str());
}

}  // namespace

BENCHMARK(BM_MouldIges)->Arg(125)->Arg(250)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MouldLayup)->Arg(125)->Arg(250)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);
// Steps 2.4, 1.2, 0.6: x 4 grid points per step.
BENCHMARK(BM_DrapedDxf)->Arg(2)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrapedLayup)->Arg(2)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
