// The duplicate-element check (LayupPlotElemDuplicates) on the slot's
// model: an n x n plate of quad4 elements with 100 duplicated node lists
// drawn through the stand-in host. Sizes step by x4 elements up to
// 1,000,000. The reference is std::sort of the same elements' node rows
// (four node ids and the element id per row) followed by one pass for equal
// neighbours.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <vector>

#include "bench/bench_mesh.h"
#include "host/LayupApi.h"
#include "host/LayupOut.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "platform/MorvekStub.h"

namespace {

constexpr int kDuplicates = 100;

// The plate with elements n^2 + 1 .. n^2 + 100 repeating the node lists of
// elements spread over it.
bench::Mesh Plate(int n) {
    bench::Mesh m = bench::MakePlate(n, n);
    const int count = n * n;
    for (int k = 0; k < kDuplicates; ++k) {
        const int src = static_cast<int>(static_cast<long long>(k) * count / kDuplicates);
        m.elemIds.push_back(count + k + 1);
        m.patchIds.push_back(0);
        m.topologies.push_back(m.topologies[src]);
        for (int i = 0; i < m.width; ++i)
            m.connectivity.push_back(m.connectivity[static_cast<size_t>(src) * m.width + i]);
    }
    return m;
}

CKpLayup* Compose(int n) {
    LayupDestruct();
    VekApiInit(&MorvekStubGetter);
    MorvekStubReset();
    if (LayupConstruct(0, "", "") != 0) return nullptr;
    CKpLayup* model = static_cast<CKpLayup*>(LayupSlotModel());
    return bench::LoadMesh(*model, Plate(n)) == 0 ? model : nullptr;
}

void BM_LayupPlotElemDuplicates(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    if (!Compose(n)) {
        state.SkipWithError("model not built");
        return;
    }
    for (auto _ : state) {
        if (LayupPlotElemDuplicates() != 0) state.SkipWithError("check failed");
        state.PauseTiming();
        LayupEraseElemDuplicates();
        MorvekStubReset();  // the stand-in's drawing records
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * n * n);
    state.counters["elements"] = static_cast<double>(n) * n;
    LayupDestruct();
}

void BM_SortNodeRowsReference(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    CKpLayup* model = Compose(n);
    if (!model) {
        state.SkipWithError("model not built");
        return;
    }
    using Row = std::array<int, 5>;
    std::vector<Row> rows;
    for (auto _ : state) {
        rows.clear();
        CVekObjectStoreIterator<CKpElem> it(*model->pElems());
        while (++it) {
            const CKpElem* e = it.key();
            rows.push_back({e->getunid(0), e->getunid(1), e->getunid(2), e->getunid(3), e->id()});
        }
        std::sort(rows.begin(), rows.end());
        int equal = 0;
        for (size_t i = 0; i + 1 < rows.size(); ++i)
            equal += std::equal(rows[i].begin(), rows[i].begin() + 4, rows[i + 1].begin());
        if (equal != kDuplicates) state.SkipWithError("duplicates missed");
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

BENCHMARK(BM_LayupPlotElemDuplicates)->Apply(Sizes);
BENCHMARK(BM_SortNodeRowsReference)->Apply(Sizes);
BENCHMARK_MAIN();
