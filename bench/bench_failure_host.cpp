// A Tsai-Wu failure run of N elements x 8 layers through the exported
// interface: with the stand-in host database open (mesh, laminates,
// materials and the layer stresses read into a temporary model, the new
// results written back) against the same run on a slot model that already
// holds everything (no database). The ratio is the cost of the database
// exchange around the run.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "host/CKpDB.h"
#include "host/LayupApi.h"
#include "host/LayupOut.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpResStore.h"
#include "layuplib/node_reref.h"
#include "platform/MorvekStub.h"

namespace {

constexpr int kLayers = 8;
constexpr int kWidth = 100;
float kAllow[8] = {1500, 1200, 50, 250, 70, 40, 60, 0};

// The fixture of an n-element plate (kWidth elements a row) on one laminate
// of kLayers layers of "M1", with random layer stresses of "LC1" "SC1".
std::string FixturePath(int n) {
    const std::string path =
        "/tmp/bench_failure_host_" + std::to_string(::getpid()) + "_" + std::to_string(n) + ".db";
    std::ofstream out(path);
    const int rows = n / kWidth;
    for (int j = 0; j <= rows; ++j)
        for (int i = 0; i <= kWidth; ++i)
            out << "node " << j * (kWidth + 1) + i + 1 << ' ' << i << ' ' << j << " 0\n";
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < kWidth; ++i) {
            const int a = j * (kWidth + 1) + i + 1;
            out << "elem " << j * kWidth + i + 1 << " 4 " << a << ' ' << a + 1 << ' '
                << a + kWidth + 2 << ' ' << a + kWidth + 1 << '\n';
        }
    out << "mat 1 \"M1\" \"\" 5 4 0\nmat 2 \"Lam\" \"\" 6 5 1\nmatword 2 40 " << kLayers
        << "\nlam 2 0 1\n";
    for (int k = 0; k < kLayers; ++k) out << "lamlayer 2 1 0.1 " << 45 * k << ' ' << k + 1 << '\n';
    out << "region 2 \"Lam\"\nword 2 13 5 2 0 0 0 0 0\nmember 2";
    for (int e = 1; e <= rows * kWidth; ++e) out << ' ' << e;
    out << "\nloadcase 1 \"LC1\" \"\"\nsubcase 1 1 \"SC1\" \"\"\n";
    for (int k = 1; k <= kLayers; ++k) out << "layer " << k << " \"Layer " << k << "\" 0\n";
    out << "result 1 1 \"Stress Tensor\" \"XX\" 3 \"STATIC\"\n";
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> u(-1.0f, 1.0f);
    for (int k = 1; k <= kLayers; ++k)
        for (int e = 1; e <= rows * kWidth; ++e)
            out << "value 1 1 \"Stress Tensor\" \"XX\" " << k << " C " << e << ' ' << 800 * u(rng)
                << ' ' << 40 * u(rng) << " 0 " << 50 * u(rng) << " 0 0\n";
    return path;
}

// A database of n elements; the slot model made after it, with the
// database open or not.
void Setup(int n, bool open) {
    VekApiInit(&MorvekStubGetter);
    LayupDestruct();
    MorvekStubReset();
    const std::string path = FixturePath(n);
    MorvekStubLoadDatabase(path.c_str());
    std::remove(path.c_str());
    if (open) MorvekStubOpenDatabase("bench.db");
    LayupConstruct(0, "", "");
}

int Run(std::vector<int>& ids, int range[2]) {
    char lc[] = "LC1", sc[] = "SC1", st[] = "Stress Tensor", xx[] = "XX", layer[] = "";
    char* names[5] = {lc, sc, st, xx, layer};
    char m1[] = "M1";
    char* mats[1] = {m1};
    int types[2] = {0, 3};
    return LayupCreateResultsFailure3(names, static_cast<int>(ids.size()), ids.data(), "TsaiWu",
                                      0x300, 1, 1, mats, 8, kAllow, 2, types, "", "", range);
}

void BM_FailureRunHostDatabase(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Setup(n, true);
    std::vector<int> ids(n);
    for (int e = 0; e < n; ++e) ids[e] = e + 1;
    int range[2] = {0, 0};
    for (auto _ : state) {
        if (Run(ids, range) != 0) state.SkipWithError("run failed");
        benchmark::DoNotOptimize(range);
    }
    state.SetItemsProcessed(state.iterations() * n * kLayers);
    LayupDestruct();
    MorvekStubReset();
}

void BM_FailureRunNoDatabase(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Setup(n, false);
    // The slot model takes what the temporary model would read.
    CKpLayup* m = static_cast<CKpLayup*>(LayupSlotModel());
    CKpDB* db = m->pDB();
    db->getMesh(m->pMsg(), m->pNodes(), m->pElems());
    node_reref(m->pMsg(), m->pNodes(), m->pElems());
    db->getLam(m->pMsg(), m->pElems(), m->pLams());
    db->getMat(m->pMsg(), m->pLams(), m->pMats());
    std::vector<int> ids(n);
    for (int e = 0; e < n; ++e) ids[e] = e + 1;
    char lc[] = "LC1", sc[] = "SC1", st[] = "Stress Tensor", xx[] = "XX";
    char layer[256] = "";
    char* names[5] = {lc, sc, st, xx, layer};
    int maxLayer = 0;
    db->getRes(m->pMsg(), m->pRess(), names, n, ids.data(), &maxLayer);
    const int inputs = m->pRess()->entries();
    int range[2] = {0, 0};
    for (auto _ : state) {
        if (Run(ids, range) != 0) state.SkipWithError("run failed");
        benchmark::DoNotOptimize(range);
        // Keep only the inputs, as the database run does.
        state.PauseTiming();
        CKpResStore* store = m->pRess();
        while (store->entries() > inputs) store->Delete(store->Get(store->entries() - 1));
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * n * kLayers);
    LayupDestruct();
    MorvekStubReset();
}

BENCHMARK(BM_FailureRunHostDatabase)
    ->Arg(1600)
    ->Arg(6400)
    ->Arg(25600)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FailureRunNoDatabase)
    ->Arg(1600)
    ->Arg(6400)
    ->Arg(25600)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
