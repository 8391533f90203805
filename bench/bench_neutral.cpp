// The host neutral file against the layup file for the same shell model: an
// n x n plate of quad4 elements (up to 1,000,000), mesh only. Each case
// writes the model to a file and reads it into a fresh model:
//   NeutralRoundTrip  save_neutral + ImportMorvek25 (nodes and elements);
//   LypRoundTrip      SaveLayup (plain) + OpenLayup (which also rebuilds
//                     the facets), the reference;
// and the four halves on their own. Building and freeing the fresh model is
// not timed.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "bench/bench_mesh.h"
#include "layuplib/CKpFile.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/save_neutral.h"

namespace {

CKpLayup* Model(int n) {
    static std::map<int, std::unique_ptr<CKpLayup>> cache;
    std::unique_ptr<CKpLayup>& model = cache[n];
    if (!model) {
        model.reset(new CKpLayup(nullptr, nullptr));
        bench::LoadMesh(*model, bench::MakePlate(n, n, 0.01));
    }
    return model.get();
}

std::string PathFor(int n, const char* ext) {
    return "/tmp/bench_neutral_" + std::to_string(n) + ext;
}

long long FileSize(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return 0;
    std::fseek(f, 0, SEEK_END);
    const long long size = std::ftell(f);
    std::fclose(f);
    return size;
}

int SaveNeutral(CKpLayup* model, const std::string& path) {
    model->pFile()->SetName(path.c_str());
    return save_neutral(model->pMsg(), model->pFile(), model->pNodes(), model->pElems(),
                        model->pMats());
}

int ImportNeutral(CKpLayup* model, const std::string& path) {
    model->pFile()->SetName(path.c_str());
    return ImportMorvek25(model->pMsg(), model->pFile(), model->pNodes(), model->pElems());
}

void Report(benchmark::State& state, int n, const std::string& path) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * FileSize(path));
    state.counters["elements"] = static_cast<double>(n) * n;
    state.counters["file_MB"] = FileSize(path) / 1e6;
}

// Times `read` into a fresh model; building and freeing it are not timed.
template <class Read>
void IntoFreshModel(benchmark::State& state, Read read) {
    state.PauseTiming();
    std::unique_ptr<CKpLayup> fresh(new CKpLayup(nullptr, nullptr));
    state.ResumeTiming();
    if (read(fresh.get()) != 0) state.SkipWithError("read failed");
    state.PauseTiming();
    fresh.reset();
    state.ResumeTiming();
}

void NeutralRoundTrip(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    CKpLayup* model = Model(n);
    const std::string path = PathFor(n, ".neu");
    for (auto _ : state) {
        if (SaveNeutral(model, path) != 0) state.SkipWithError("save failed");
        IntoFreshModel(state, [&](CKpLayup* m) { return ImportNeutral(m, path); });
    }
    Report(state, n, path);
}

void LypRoundTrip(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    CKpLayup* model = Model(n);
    const std::string path = PathFor(n, ".lyp");
    for (auto _ : state) {
        if (model->SaveLayup(path.c_str(), 0, 0) != 0) state.SkipWithError("save failed");
        IntoFreshModel(state, [&](CKpLayup* m) { return m->OpenLayup(path.c_str(), 0); });
    }
    Report(state, n, path);
}

void SaveNeutralOnly(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::string path = PathFor(n, ".neu");
    for (auto _ : state)
        if (SaveNeutral(Model(n), path) != 0) state.SkipWithError("save failed");
    Report(state, n, path);
}

void ImportNeutralOnly(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::string path = PathFor(n, ".neu");
    SaveNeutral(Model(n), path);
    for (auto _ : state) IntoFreshModel(state, [&](CKpLayup* m) { return ImportNeutral(m, path); });
    Report(state, n, path);
}

void SaveLypOnly(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::string path = PathFor(n, ".lyp");
    for (auto _ : state)
        if (Model(n)->SaveLayup(path.c_str(), 0, 0) != 0) state.SkipWithError("save failed");
    Report(state, n, path);
}

void OpenLypOnly(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::string path = PathFor(n, ".lyp");
    Model(n)->SaveLayup(path.c_str(), 0, 0);
    for (auto _ : state)
        IntoFreshModel(state, [&](CKpLayup* m) { return m->OpenLayup(path.c_str(), 0); });
    Report(state, n, path);
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(100)->Arg(316)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK(NeutralRoundTrip)->Apply(Sizes);
BENCHMARK(LypRoundTrip)->Apply(Sizes);
BENCHMARK(SaveNeutralOnly)->Apply(Sizes);
BENCHMARK(ImportNeutralOnly)->Apply(Sizes);
BENCHMARK(SaveLypOnly)->Apply(Sizes);
BENCHMARK(OpenLypOnly)->Apply(Sizes);

}  // namespace

BENCHMARK_MAIN();
