// LayupGetMesh (the exported function: through a temporary array of
// doubles, rounded into the caller's floats) against ILayup::GetMesh (the
// model's own copy into doubles), for an n x n plate of quad4 elements on
// the slot's model, 10,000 to 1,000,000 elements.

#include <benchmark/benchmark.h>

#include <vector>

#include "bench/bench_mesh.h"
#include "host/LayupApi.h"
#include "host/LayupOut.h"
#include "layuplib/CKpLayup.h"
#include "platform/MorvekStub.h"

namespace {

// The slot's model holding the n x n plate.
CKpLayup* Slot(int n) {
    static int loaded = -1;
    if (!LayupSlotModel()) {
        VekApiInit(&MorvekStubGetter);
        LayupConstruct(0, nullptr, nullptr);
    }
    CKpLayup* model = static_cast<CKpLayup*>(LayupSlotModel());
    if (loaded != n) {
        bench::LoadMesh(*model, bench::MakePlate(n, n, 0.01));
        loaded = n;
    }
    return model;
}

struct Arrays {
    explicit Arrays(int nodes, int elems)
        : ids(nodes), eids(elems), vals(elems), tops(elems), rows(4 * static_cast<size_t>(elems)) {}
    std::vector<int> ids, eids, vals, tops, rows;
};

void Report(benchmark::State& state, int elems) {
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * elems);
    state.counters["elements"] = elems;
}

void ExportedGetMesh(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Slot(n);
    int nodes = 0, elems = 0, width = 0;
    LayupGetMeshSizes(&nodes, &elems, &width);
    Arrays a(nodes, elems);
    std::vector<float> xyz(3 * static_cast<size_t>(nodes));
    for (auto _ : state) {
        if (LayupGetMesh(nodes, a.ids.data(), xyz.data(), elems, a.eids.data(), a.vals.data(),
                         a.tops.data(), width, a.rows.data()) != 0)
            state.SkipWithError("LayupGetMesh failed");
        benchmark::DoNotOptimize(xyz.data());
    }
    Report(state, elems);
}

void ModelGetMesh(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    CKpLayup* model = Slot(n);
    int nodes = 0, elems = 0, width = 0;
    model->GetMeshSizes(&nodes, &elems, &width);
    Arrays a(nodes, elems);
    std::vector<double> xyz(3 * static_cast<size_t>(nodes));
    for (auto _ : state) {
        if (model->GetMesh(nodes, a.ids.data(), xyz.data(), elems, a.eids.data(), a.vals.data(),
                           a.tops.data(), width, a.rows.data()) != 0)
            state.SkipWithError("GetMesh failed");
        benchmark::DoNotOptimize(xyz.data());
    }
    Report(state, elems);
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(100)->Arg(316)->Arg(1000)->Unit(benchmark::kMillisecond);
}

// Model first at each size, so both run on a mesh loaded once per size.
BENCHMARK(ModelGetMesh)->Apply(Sizes);
BENCHMARK(ExportedGetMesh)->Apply(Sizes);

}  // namespace

BENCHMARK_MAIN();
