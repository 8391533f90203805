// One built-in call through the command-language wrapper (count and kind
// checks, the call, the result record) against calling its Layup function
// directly: 1,000,000 kp_get_versions calls per iteration, next to as many
// LayupGetVersions calls.

#include <benchmark/benchmark.h>

#include "blt/lamlayup.h"
#include "host/LayupApi.h"
#include "host/LayupOut.h"
#include "platform/MorvekStub.h"

namespace {

constexpr int kCalls = 1000000;

void Setup() {
    static bool done = false;
    if (done) return;
    done = true;
    VekApiInit(&MorvekStubGetter);
    PlystrandBltInit();
    LayupConstruct(0, "", "");
}

void BM_WrapperGetVersions(benchmark::State& state) {
    Setup();
    SmBltFn fn = MorvekStubFindBuiltin("kp_get_versions");
    SmSym args[3] = {};
    for (SmSym& a : args) MorvekStubSymInt(&a, 0);
    SmSym result = {};
    for (auto _ : state) {
        for (int k = 0; k < kCalls; ++k) benchmark::DoNotOptimize(fn(3, args, &result));
        benchmark::ClobberMemory();
    }
    for (SmSym& a : args) MorvekStubSymFree(&a);
    state.SetItemsProcessed(state.iterations() * kCalls);
}
BENCHMARK(BM_WrapperGetVersions)->Unit(benchmark::kMillisecond);

void BM_DirectGetVersions(benchmark::State& state) {
    Setup();
    int v[3] = {0, 0, 0};
    for (auto _ : state) {
        for (int k = 0; k < kCalls; ++k)
            benchmark::DoNotOptimize(LayupGetVersions(&v[0], &v[1], &v[2]));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kCalls);
}
BENCHMARK(BM_DirectGetVersions)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
