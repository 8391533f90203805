// ANSYS results reading: one set of shell forces for n elements (double
// precision values, element records where the solver puts them: index,
// then per element its index record and its values) read onto a model of
// those n elements, beside one sequential pass over the same bytes (fread
// in 64 KiB blocks), the floor any reader of the file stands on.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_mesh.h"
#include "fileformats/CRSTParser.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpResStore.h"
#include "tests/support/RstWriter.h"

namespace {

const char* kPath = "/tmp/plystrand_bench_rst.rst";

int Side(int64_t n) {
    return static_cast<int>(std::lround(std::sqrt(static_cast<double>(n))));
}

size_t WriteFile(int nElems) {
    rstfile::Recipe recipe;
    recipe.modelPart = false;
    rstfile::Set set;
    for (int k = 0; k < nElems; ++k) {
        recipe.ids.push_back(k + 1);
        set.elements.push_back(rstfile::Pattern(1, k));
    }
    recipe.sets.push_back(set);
    const std::string bytes = rstfile::Write(recipe).bytes;
    FILE* f = std::fopen(kPath, "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return bytes.size();
}

void RstRead(benchmark::State& state) {
    const int side = Side(state.range(0));
    const int n = side * side;
    const size_t bytes = WriteFile(n);
    CKpLayup model(nullptr, nullptr);
    bench::LoadMesh(model, bench::MakePlate(side, side));
    for (auto _ : state) {
        CRSTParser reader;
        reader.SetStores(&model);
        reader.SetName(kPath);
        reader.SetFlags(0, 1);
        if (reader.Read() != 0 || model.pRess()->entries() != 2) state.SkipWithError("read failed");
        state.PauseTiming();
        model.pRess()->DeleteAll();
        state.ResumeTiming();
    }
    state.counters["elements"] = n;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    std::remove(kPath);
}
BENCHMARK(RstRead)->RangeMultiplier(4)->Range(1 << 10, 1 << 18)->Unit(benchmark::kMillisecond);

void SequentialPass(benchmark::State& state) {
    const int side = Side(state.range(0));
    const size_t bytes = WriteFile(side * side);
    std::vector<unsigned char> block(1 << 16);
    for (auto _ : state) {
        FILE* f = std::fopen(kPath, "rb");
        unsigned sum = 0;
        size_t got;
        while ((got = std::fread(block.data(), 1, block.size(), f)) > 0)
            for (size_t i = 0; i < got; i += 64) sum += block[i];
        std::fclose(f);
        benchmark::DoNotOptimize(sum);
    }
    state.counters["elements"] = side * side;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    std::remove(kPath);
}
BENCHMARK(SequentialPass)
    ->RangeMultiplier(4)
    ->Range(1 << 10, 1 << 18)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
