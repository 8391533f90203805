// CDB reading and writing of an n x n plate of SHELL181 quad4 elements on
// one shell section (about as many nodes as elements), n^2 from 16,384 to
// 1,048,576 in x4 steps. References in the same program: a plain pass that
// splits the same file into lines and strtods every number (reading), and
// snprintf of the same numbers in the same layout into a file (writing).
// bytes_per_second counts the file's bytes.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "bench/bench_exchange.h"
#include "bench/bench_mesh.h"
#include "fileformats/CCDBParser.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/angle_util.h"

namespace {

std::string FilePath(int n) {
    return "/tmp/bench_cdb_" + std::to_string(n) + ".cdb";
}

std::unique_ptr<CKpLayup> MakeModel(int n) {
    std::unique_ptr<CKpLayup> model(new CKpLayup(nullptr, nullptr));
    bench::LoadMesh(*model, bench::MakePlate(n, n, 0.37));
    CKpLam* lam = new CKpLam(1);
    for (int k = 0; k < 4; ++k) {
        CKpLamLyr* lyr = new CKpLamLyr;
        lyr->setMid(1);
        lyr->setT(0.25);
        lyr->setTheta(k * kPi / 4);
        lam->LamLyrs()->InsertLast(lyr);
    }
    model->pLams()->insert(lam);
    CVekObjectStoreIterator<CKpElem> it(*model->pElems());
    while (++it) it.key()->pid(1);
    CKpMat* mat = new CKpMat(1);
    mat->setDir(1);
    mat->setEx(70000);
    mat->setNuxy(0.3);
    model->pMats()->insert(mat);
    return model;
}

int WriteModel(CKpLayup& model, const std::string& path) {
    CCDBParser parser;
    parser.SetStores(&model);
    parser.SetName(path.c_str());
    parser.SetType(1);
    parser.SetFlags(7, 0);
    return parser.Write();
}

// The file of size n, written once.
const std::string& File(int n) {
    static std::map<int, std::string> files;
    auto found = files.find(n);
    if (found != files.end()) return found->second;
    auto model = MakeModel(n);
    WriteModel(*model, FilePath(n));
    return files[n] = FilePath(n);
}

void BM_CdbRead(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::string& path = File(n);
    int elems = 0;
    for (auto _ : state) {
        std::unique_ptr<CKpLayup> model(new CKpLayup(nullptr, nullptr));
        CCDBParser parser;
        parser.SetStores(model.get());
        parser.SetName(path.c_str());
        parser.SetFlags(1, 0);
        if (parser.Read() != 0) state.SkipWithError("read failed");
        elems = model->pElems()->entries();
        state.PauseTiming();  // the model's teardown is not reading
        model.reset();
        state.ResumeTiming();
    }
    state.counters["elements"] = elems;
    state.SetBytesProcessed(state.iterations() * bench::FileSize(path));
}

void BM_CdbPlainPass(benchmark::State& state) {
    const std::string& path = File(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(bench::PlainTextPass(path));
    state.SetBytesProcessed(state.iterations() * bench::FileSize(path));
}

void BM_CdbWrite(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    auto model = MakeModel(n);
    const std::string path = FilePath(n) + ".out";
    WriteModel(*model, path);  // element types and ANSYS data assigned once
    for (auto _ : state)
        if (WriteModel(*model, path) != 0) state.SkipWithError("write failed");
    state.SetBytesProcessed(state.iterations() * bench::FileSize(path));
    std::remove(path.c_str());
}

// The same numbers through snprintf and fwrite: node lines "%8d%8d%8d"
// and "%16.9f" per coordinate, element lines of 15 "%8d".
void BM_CdbSnprintf(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    auto model = MakeModel(n);
    const std::string path = FilePath(n) + ".ref";
    for (auto _ : state) {
        FILE* f = std::fopen(path.c_str(), "wb");
        char buf[256];
        CVekObjectStoreIterator<CKpNode> nit(*model->pNodes());
        while (++nit) {
            CKpNode* node = nit.key();
            int len =
                std::snprintf(buf, sizeof buf, "%8d%8d%8d%16.9f%16.9f%16.9f\n", node->id(), 0, 0,
                              node->getCKpPointX(), node->getCKpPointY(), node->getCKpPointZ());
            std::fwrite(buf, 1, len, f);
        }
        CVekObjectStoreIterator<CKpElem> eit(*model->pElems());
        while (++eit) {
            CKpElem* e = eit.key();
            int len = 0;
            const int fields[11] = {1, 1, 0, 1, 0, 0, 0, 0, 4, 0, e->id()};
            for (int v : fields) len += std::snprintf(buf + len, 16, "%8d", v);
            for (int k = 0; k < 4; ++k) len += std::snprintf(buf + len, 16, "%8d", e->getunid(k));
            buf[len++] = '\n';
            std::fwrite(buf, 1, len, f);
        }
        std::fclose(f);
    }
    state.SetBytesProcessed(state.iterations() * bench::FileSize(path));
    std::remove(path.c_str());
}

void Sizes(benchmark::internal::Benchmark* b) {
    for (int n : {128, 256, 512, 1024}) b->Arg(n);
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_CdbRead)->Apply(Sizes);
BENCHMARK(BM_CdbPlainPass)->Apply(Sizes);
BENCHMARK(BM_CdbWrite)->Apply(Sizes);
BENCHMARK(BM_CdbSnprintf)->Apply(Sizes);

}  // namespace

BENCHMARK_MAIN();
