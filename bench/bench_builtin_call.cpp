// One built-in call through the command-language wrapper (count and kind
// checks, the call, the result record) against calling its Layup function
// directly: 1,000,000 calls per iteration of kp_get_versions,
// kp_get_mesh_sizes and kp_get_layup_element (an element of a two-quad
// model under a stack of four plies), next to as many direct calls.

#include <benchmark/benchmark.h>

#include <vector>

#include "blt/lamlayup.h"
#include "host/LayupApi.h"
#include "host/LayupOut.h"
#include "layuplib/CKpLayup.h"
#include "platform/MorvekStub.h"
#include "tests/support/LaidPlies.h"

namespace {

constexpr int kCalls = 1000000;

void Setup() {
    static bool done = false;
    if (done) return;
    done = true;
    VekApiInit(&MorvekStubGetter);
    PlystrandBltInit();
    LayupConstruct(0, "", "");
    // Two unit quads, four plies over both.
    int nodeIds[6] = {1, 2, 3, 4, 5, 6};
    float xyz[18] = {0, 0, 0, 1, 0, 0, 2, 0, 0, 0, 1, 0, 1, 1, 0, 2, 1, 0};
    int elemIds[2] = {10, 20}, values[2] = {1, 1}, tops[2] = {4, 4};
    int rows[8] = {1, 2, 5, 4, 2, 3, 6, 5};
    LayupNewLayupMesh(6, nodeIds, xyz, 2, elemIds, values, tops, 4, rows, 0.0f, 0.0f);
    CKpLayup& model = *static_cast<CKpLayup*>(LayupSlotModel());
    CKpMat* mat = laidplies::Material(model, "Tape", 0.125);
    for (const char* name : {"P1", "P2", "P3", "P4"}) laidplies::Lay(model, name, mat, {10, 20});
}

constexpr int kPlies = 4;

// `kCalls` calls of the built-in `name` with `args` per iteration.
void RunWrapper(benchmark::State& state, const char* name, SmSym* args, int nargs) {
    SmBltFn fn = MorvekStubFindBuiltin(name);
    SmSym result = {};
    for (auto _ : state) {
        for (int k = 0; k < kCalls; ++k) benchmark::DoNotOptimize(fn(nargs, args, &result));
        benchmark::ClobberMemory();
    }
    if (result.intValue != 0) state.SkipWithError("the built-in failed");
    state.SetItemsProcessed(state.iterations() * kCalls);
}

// kp_get_versions and kp_get_mesh_sizes: three int outputs.
void BM_WrapperThreeInts(benchmark::State& state, const char* name) {
    Setup();
    SmSym args[3] = {};
    for (SmSym& a : args) MorvekStubSymInt(&a, 0);
    RunWrapper(state, name, args, 3);
    for (SmSym& a : args) MorvekStubSymFree(&a);
}
BENCHMARK_CAPTURE(BM_WrapperThreeInts, GetVersions, "kp_get_versions")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WrapperThreeInts, GetMeshSizes, "kp_get_mesh_sizes")
    ->Unit(benchmark::kMillisecond);

void BM_DirectThreeInts(benchmark::State& state, int (*function)(int*, int*, int*)) {
    Setup();
    int v[3] = {0, 0, 0};
    for (auto _ : state) {
        for (int k = 0; k < kCalls; ++k) benchmark::DoNotOptimize(function(&v[0], &v[1], &v[2]));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kCalls);
}
BENCHMARK_CAPTURE(BM_DirectThreeInts, GetVersions, &LayupGetVersions)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DirectThreeInts, GetMeshSizes, &LayupGetMeshSizes)
    ->Unit(benchmark::kMillisecond);

// kp_get_layup_element: i >r[] i >s[] >i[]*3 >s[] >s[] >r[]*3 >i[].
void BM_WrapperGetLayupElement(benchmark::State& state) {
    Setup();
    SmSym args[13] = {};
    const std::vector<int> ints(kPlies, 0);
    const std::vector<float> reals(kPlies, 0.0f);
    const float normal[3] = {0, 0, 0};
    MorvekStubSymInt(&args[0], 10);
    MorvekStubSymRealArray(&args[1], normal, 3);
    MorvekStubSymInt(&args[2], kPlies);
    for (int k : {3, 7, 8}) MorvekStubSymStringArray(&args[k], kPlies, 31);
    for (int k : {4, 5, 6, 12}) MorvekStubSymIntArray(&args[k], ints.data(), kPlies);
    for (int k : {9, 10, 11}) MorvekStubSymRealArray(&args[k], reals.data(), kPlies);
    RunWrapper(state, "kp_get_layup_element", args, 13);
    for (SmSym& a : args) MorvekStubSymFree(&a);
}
BENCHMARK(BM_WrapperGetLayupElement)->Unit(benchmark::kMillisecond);

void BM_DirectGetLayupElement(benchmark::State& state) {
    Setup();
    float normal[3];
    char names[3][kPlies][32];
    char* plyNames[kPlies];
    char* matNames[kPlies];
    char* lamNames[kPlies];
    for (int k = 0; k < kPlies; ++k) {
        plyNames[k] = names[0][k];
        matNames[k] = names[1][k];
        lamNames[k] = names[2][k];
    }
    int types[kPlies], instances[kPlies], directions[kPlies], gply[kPlies];
    float thick[kPlies], angle[kPlies], rotation[kPlies];
    int status = 0;
    for (auto _ : state) {
        for (int k = 0; k < kCalls; ++k) {
            status = LayupGetLayupElement(10, normal, kPlies, plyNames, types, instances, directions, matNames,
                                          lamNames, thick, angle, rotation, gply);
            benchmark::DoNotOptimize(status);
        }
        benchmark::ClobberMemory();
    }
    if (status != 0) state.SkipWithError("LayupGetLayupElement failed");
    state.SetItemsProcessed(state.iterations() * kCalls);
}
BENCHMARK(BM_DirectGetLayupElement)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
