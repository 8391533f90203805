// The elements of each laminate (LayupGetLamsElems) on the slot's model:
// an n x n plate of quad4 elements spread pseudo-randomly over 1,000
// laminates, all 1,000 asked for by name. Sizes step by x4 elements up to
// 1,000,000. The reference is one linear scan of the element store that
// buckets every element id by its laminate (counts, then offsets, then ids),
// the least any answer to the same question must do.

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "bench/bench_mesh.h"
#include "host/LayupApi.h"
#include "host/LayupOut.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "platform/MorvekStub.h"

namespace {

constexpr int kLams = 1000;

// The slot's model on an n x n plate, laminates "L1".."L1000" (ids 1-1000),
// each element on a random one of them.
CKpLayup* Compose(int n, std::vector<std::string>& names) {
    LayupDestruct();
    VekApiInit(&MorvekStubGetter);
    MorvekStubReset();
    if (LayupConstruct(0, "", "") != 0) return nullptr;
    CKpLayup* model = static_cast<CKpLayup*>(LayupSlotModel());
    if (bench::LoadMesh(*model, bench::MakePlate(n, n)) != 0) return nullptr;
    names.clear();
    for (int l = 1; l <= kLams; ++l) {
        CKpLam* lam = model->pLams()->New(l);
        names.push_back("L" + std::to_string(l));
        lam->name(names.back().c_str());
    }
    std::mt19937 rng(7);
    CVekObjectStoreIterator<CKpElem> it(*model->pElems());
    while (++it) it.key()->pid(1 + static_cast<int>(rng() % kLams));
    return model;
}

void BM_LayupGetLamsElems(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::vector<std::string> names;
    if (!Compose(n, names)) {
        state.SkipWithError("model not built");
        return;
    }
    std::vector<char*> p;
    for (std::string& s : names) p.push_back(&s[0]);
    std::vector<int> counts(kLams), ids(static_cast<size_t>(n) * n);
    for (auto _ : state) {
        if (LayupGetLamsElems(kLams, p.data(), counts.data(), ids.data()) != 0)
            state.SkipWithError("LayupGetLamsElems failed");
        benchmark::DoNotOptimize(ids.data());
    }
    state.SetItemsProcessed(state.iterations() * n * n);
    state.counters["elements"] = static_cast<double>(n) * n;
    LayupDestruct();
}

void BM_LinearScanReference(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::vector<std::string> names;
    CKpLayup* model = Compose(n, names);
    if (!model) {
        state.SkipWithError("model not built");
        return;
    }
    const int elems = model->pElems()->entries();
    std::vector<int> counts(kLams + 1), offsets(kLams + 2), ids(static_cast<size_t>(elems));
    for (auto _ : state) {
        std::fill(counts.begin(), counts.end(), 0);
        CVekObjectStoreIterator<CKpElem> it(*model->pElems());
        while (++it) ++counts[static_cast<size_t>(it.key()->pid())];
        offsets[0] = 0;
        for (int l = 0; l <= kLams; ++l) offsets[l + 1] = offsets[l] + counts[l];
        CVekObjectStoreIterator<CKpElem> again(*model->pElems());
        while (++again) ids[static_cast<size_t>(offsets[again.key()->pid()]++)] = again.key()->id();
        benchmark::DoNotOptimize(ids.data());
    }
    state.SetItemsProcessed(state.iterations() * n * n);
    state.counters["elements"] = static_cast<double>(n) * n;
    LayupDestruct();
}

void Sizes(benchmark::internal::Benchmark* b) {
    for (int n : {125, 250, 500, 1000}) b->Arg(n);
    b->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_LayupGetLamsElems)->Apply(Sizes);
BENCHMARK(BM_LinearScanReference)->Apply(Sizes);
BENCHMARK_MAIN();
