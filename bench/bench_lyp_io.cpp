// SaveLayup and OpenLayup of an n x n plate of quad4 elements with 20
// draped plies (each over a tenth of the plate, so two plies per element on
// average) placed in the layup; plain and gzip level 1. Sizes step by about
// x4 elements up to 1,000,000. bytes_per_second counts the plain text of the
// file (for the gzip cases the text before compression), so the figures
// compare with `cp` and `gzip -1` of the plain file.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
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

const int kPlies = 20;

std::unique_ptr<CKpLayup> MakeModel(int n) {
    std::unique_ptr<CKpLayup> model(new CKpLayup(nullptr, nullptr));
    bench::LoadMesh(*model, bench::MakePlate(n, n, 0.01));

    CKpMat* mat = new CKpMat(1);
    mat->setLyrtp(3);
    mat->setMtrlnm("Woven carbon");
    mat->setExtmtrlnm("Woven carbon");
    mat->setMtrlthck(0.25);
    model->pMats()->insert(mat);
    CKpElemStore* elems = model->pElems();
    // Ply k: a band of rows, warp turning with k, a little shear per element
    // (the values a drape leaves).
    for (int k = 0; k < kPlies; ++k) {
        const std::string name = "Ply " + std::to_string(k + 1);
        CKpPat* pat = new CKpPat(k + 1);
        pat->setLyrtp(3);
        pat->SetNameByPlyName(name.c_str());
        pat->setStdn(1);
        pat->setSimResult(0);
        const int first = (k * n) / kPlies, last = std::min(n, first + (n + 9) / 10);
        int order = 0;
        for (int j = first; j < last; ++j)
            for (int i = 0; i < n; ++i) {
                CKpPatElem* pe = new CKpPatElem;
                pe->setElemId(j * n + i + 1);
                pe->setPelem(elems->find(j * n + i + 1));
                pe->setStdn(1);
                pe->setDnfg(1);
                pe->setShear(1e-4 * ((i * 7 + j * 13) % 100));
                pe->setWarpAngle(0.1 * k + 1e-5 * i);
                pe->setWeftAngle(0.1 * k + 1.5707963 + 1e-5 * j);
                pe->SetOrder(++order);
                pat->PatElems()->InsertLast(pe);
            }
        model->pPats()->insert(pat);
        model->pPlys()->insert(new CKpPly(k + 1, name.c_str(), 3, mat, pat));
        CreateLayupPly(model.get(), nullptr, nullptr, 3, name.c_str(), 1, 0.0, 0.0, 1001 + k);
    }
    return model;
}

CKpLayup* Model(int n) {
    static std::map<int, std::unique_ptr<CKpLayup>> cache;
    std::unique_ptr<CKpLayup>& model = cache[n];
    if (!model) model = MakeModel(n);
    return model.get();
}

std::string PathFor(int n, int compress) {
    return "/tmp/bench_lyp_io_" + std::to_string(n) + (compress ? ".lyp.gz" : ".lyp");
}

long long FileSize(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return 0;
    std::fseek(f, 0, SEEK_END);
    const long long size = std::ftell(f);
    std::fclose(f);
    return size;
}

// Saves the plain file once (the reference text) and, for compress > 0,
// the gzip file; returns the plain size.
long long Prepare(int n, int compress) {
    CKpLayup* model = Model(n);
    model->SaveLayup(PathFor(n, 0).c_str(), 0, 0);
    if (compress) model->SaveLayup(PathFor(n, compress).c_str(), 0, compress);
    return FileSize(PathFor(n, 0));
}

void Report(benchmark::State& state, int n, int compress, long long textBytes) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * textBytes);
    state.counters["elements"] = static_cast<double>(n) * n;
    state.counters["text_MB"] = textBytes / 1e6;
    state.counters["file_MB"] = FileSize(PathFor(n, compress)) / 1e6;
}

void SaveLyp(benchmark::State& state, int compress) {
    const int n = static_cast<int>(state.range(0));
    const long long textBytes = Prepare(n, compress);
    CKpLayup* model = Model(n);
    const std::string path = PathFor(n, compress);
    for (auto _ : state)
        if (model->SaveLayup(path.c_str(), 0, compress) != 0) state.SkipWithError("save failed");
    Report(state, n, compress, textBytes);
}

void OpenLyp(benchmark::State& state, int compress) {
    const int n = static_cast<int>(state.range(0));
    const long long textBytes = Prepare(n, compress);
    const std::string path = PathFor(n, compress);
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<CKpLayup> model(new CKpLayup(nullptr, nullptr));
        state.ResumeTiming();
        if (model->OpenLayup(path.c_str(), compress ? 1 : 0) != 0)
            state.SkipWithError("open failed");
        state.PauseTiming();
        model.reset();  // freeing a large model is not part of the read
        state.ResumeTiming();
    }
    Report(state, n, compress, textBytes);
}

void Sizes(benchmark::internal::Benchmark* b) {
    for (int n : {32, 64, 128, 256, 512, 1000}) b->Arg(n);
    b->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK_CAPTURE(SaveLyp, plain, 0)->Apply(Sizes);
BENCHMARK_CAPTURE(SaveLyp, gzip1, 1)->Apply(Sizes);
BENCHMARK_CAPTURE(OpenLyp, plain, 0)->Apply(Sizes);
BENCHMARK_CAPTURE(OpenLyp, gzip1, 1)->Apply(Sizes);

BENCHMARK_MAIN();
