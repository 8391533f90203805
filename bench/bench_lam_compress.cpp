// Laminate compression: sorting N laminates of 20 layers by the comparison
// within tolerances (sortLamsId) and grouping equal ones (groupLams), with
// 1,000 distinct stacks each repeated with small perturbations inside the
// tolerances. Sizes sweep by x4 up to 100,000 laminates. The reference is
// std::stable_sort with the same comparator: allowed here only because the
// perturbations keep every group well inside the tolerances and the stacks
// far apart (the comparison is then a consistent order); it is not safe in
// general.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <random>
#include <vector>

#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/cmpLam.h"

namespace {

const int kLayers = 20;
const int kStacks = 1000;
const double kThickPct = 1.0;                         // percent
const double kAngTol = 0.5 * 3.14159265358979 / 180;  // radians

// N laminates: laminate i is a perturbed copy of stack i % kStacks; the
// pointers in shuffled order.
struct Fixture {
    std::vector<std::unique_ptr<CKpLam>> lams;
    std::vector<CKpLam*> shuffled;

    explicit Fixture(int n) {
        std::mt19937 rng(2024);
        const int mids[] = {1, 2, 3};
        const double thicks[] = {0.1, 0.125, 0.15, 0.2};
        const double angles[] = {0.0, 0.785398163397448, -0.785398163397448, 1.5707963267949};
        std::vector<int> stacks(static_cast<size_t>(kStacks) * kLayers * 3);
        for (int& v : stacks) v = static_cast<int>(rng() % 12);
        std::uniform_real_distribution<double> wobble(-1.0, 1.0);
        lams.reserve(n);
        for (int i = 0; i < n; ++i) {
            // One given offset for all: stacks of nearly equal total
            // thickness would otherwise tie on the offset test and make the
            // comparison inconsistent between groups.
            std::unique_ptr<CKpLam> lam(new CKpLam(i + 1, "", 0.0));
            const int* s = &stacks[static_cast<size_t>(i % kStacks) * kLayers * 3];
            for (int k = 0; k < kLayers; ++k) {
                CKpLamLyr* lyr = lam->LamLyrs()->New();
                lyr->setMid(mids[s[3 * k] % 3]);
                lyr->setT(thicks[s[3 * k + 1] % 4] * (1.0 + 0.001 * wobble(rng)));
                lyr->setTheta(angles[s[3 * k + 2] % 4] + 1e-4 * wobble(rng));
            }
            lams.push_back(std::move(lam));
        }
        for (auto& lam : lams) shuffled.push_back(lam.get());
        std::shuffle(shuffled.begin(), shuffled.end(), rng);
    }
};

const Fixture& fixture(int n) {
    static std::map<int, std::unique_ptr<Fixture>> cache;
    std::unique_ptr<Fixture>& f = cache[n];
    if (!f) f.reset(new Fixture(n));
    return *f;
}

void BM_CompressLaminates(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const Fixture& f = fixture(n);
    cmpLamSetTol(kThickPct, kAngTol);
    std::vector<CKpLam*> order;
    std::vector<int> heads(n);
    int groups = 0;
    for (auto _ : state) {
        order = f.shuffled;
        if (sortLamsId(order.data(), n) != 0) state.SkipWithError("sort failed");
        groups = groupLams(order.data(), n, heads.data());
        benchmark::DoNotOptimize(heads.data());
    }
    if (groups != std::min(n, kStacks)) state.SkipWithError("wrong number of groups");
    state.counters["groups"] = groups;
    state.SetItemsProcessed(state.iterations() * n);
}

void BM_StableSortReference(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const Fixture& f = fixture(n);
    cmpLamSetTol(kThickPct, kAngTol);
    std::vector<CKpLam*> order;
    std::vector<int> heads(n);
    for (auto _ : state) {
        order = f.shuffled;
        std::stable_sort(order.begin(), order.end(),
                         [](CKpLam* a, CKpLam* b) { return cmpLamId(&a, &b) < 0; });
        benchmark::DoNotOptimize(groupLams(order.data(), n, heads.data()));
    }
    state.SetItemsProcessed(state.iterations() * n);
}

}  // namespace

BENCHMARK(BM_CompressLaminates)
    ->Arg(1562)
    ->Arg(6250)
    ->Arg(25000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StableSortReference)
    ->Arg(1562)
    ->Arg(6250)
    ->Arg(25000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
