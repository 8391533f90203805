// Filing one result's element records with SetElementResults (ascending
// element ids, six floats each: a layered stress tensor) against a
// std::vector copy of the same ids and values, for 10^3 to 10^6 elements.
// Both rounds include freeing what they built.

#include <benchmark/benchmark.h>

#include <numeric>
#include <vector>

#include "layuplib/CKpRes.h"

namespace {

struct Records {
    std::vector<int> ids, counts;
    std::vector<float> values;
    explicit Records(int n) : ids(n), counts(n, 6), values(6 * static_cast<size_t>(n)) {
        std::iota(ids.begin(), ids.end(), 1);
        for (size_t i = 0; i < values.size(); ++i) values[i] = static_cast<float>(i % 997);
    }
};

void BM_SetElementResults(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Records r(n);
    for (auto _ : state) {
        CKpRes result(1);
        const int status = result.SetElementResults(n, r.ids.data(), nullptr, r.counts.data(),
                                                    nullptr, r.values.data());
        benchmark::DoNotOptimize(status);
        benchmark::DoNotOptimize(result.GetNumElements());
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void BM_VectorCopy(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Records r(n);
    for (auto _ : state) {
        std::vector<int> ids(r.ids);
        std::vector<int> counts(r.counts);
        std::vector<float> values(r.values);
        benchmark::DoNotOptimize(ids.data());
        benchmark::DoNotOptimize(counts.data());
        benchmark::DoNotOptimize(values.data());
    }
    state.SetItemsProcessed(state.iterations() * n);
}

}  // namespace

BENCHMARK(BM_SetElementResults)
    ->RangeMultiplier(4)
    ->Range(1 << 10, 1 << 20)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VectorCopy)
    ->RangeMultiplier(4)
    ->Range(1 << 10, 1 << 20)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
