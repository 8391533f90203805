// One Tsai-Wu evaluation through the criterion interface, in the order a
// failure run calls it (Clear, allowables, check, basis, six loads, Run, four
// results read back), against a plain loop computing the same formula inline
// on contiguous arrays (which the compiler vectorises). Both produce the
// margin and the failure index of every point.

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "layuplib/CVekAddinFailureLaminaTsaiwu.h"

namespace {

constexpr int kPoints = 4096;
const double kAllowables[8] = {1500, 1200, 50, 250, 70, 0, 0, 0};

struct Loads {
    std::vector<double> s1, s2, t12;
    Loads() : s1(kPoints), s2(kPoints), t12(kPoints) {
        std::mt19937 rng(7);
        std::uniform_real_distribution<double> u(-1.0, 1.0);
        for (int i = 0; i < kPoints; ++i) {
            s1[i] = 800.0 * u(rng);
            s2[i] = 40.0 * u(rng);
            t12[i] = 50.0 * u(rng);
        }
    }
};

void BM_CriterionInterface(benchmark::State& state) {
    Loads loads;
    auto* criterion = new CVekAddinFailureLaminaTsaiwu;
    IVekAddinFailureLamina* c = criterion;
    c->AddRef();
    std::vector<double> margin(kPoints), index(kPoints);
    for (auto _ : state) {
        for (int i = 0; i < kPoints; ++i) {
            c->Clear();
            int n = 0;
            c->GetNumAllowables(n);
            c->SetAllowables(n, kAllowables);
            c->CheckAllowables();
            c->SetBasis(IVekAddinFailureLamina::eStress);
            const double l[6] = {loads.s1[i], loads.s2[i], 0.0, loads.t12[i], 0.0, 0.0};
            for (int d = 0; d < 6; ++d)
                c->SetLoadInDirection(static_cast<IVekAddinFailureLamina::ELoadDirection>(d), l[d]);
            c->Run();
            int results = 0;
            c->GetNumResults(results);
            double reserve = 0.0;
            int mode = 0;
            c->GetdResult(0, 0, margin[i]);
            c->GetdResult(1, 0, reserve);
            c->GetiResult(2, 0, mode);
            c->GetdResult(3, 0, index[i]);
        }
        benchmark::DoNotOptimize(margin.data());
        benchmark::DoNotOptimize(index.data());
    }
    c->Release();
    state.SetItemsProcessed(state.iterations() * kPoints);
}

void BM_InlineTsaiWu(benchmark::State& state) {
    Loads loads;
    const double xt = kAllowables[0], xc = kAllowables[1], yt = kAllowables[2];
    const double yc = kAllowables[3], s12 = kAllowables[4], f12 = kAllowables[7];
    const double f1 = 1.0 / xt - 1.0 / xc, f2 = 1.0 / yt - 1.0 / yc;
    const double f11 = 1.0 / (xt * xc), f22 = 1.0 / (yt * yc), f66 = 1.0 / (s12 * s12);
    const double k = 2.0 * f12 / std::sqrt(xt * xc * yt * yc);
    std::vector<double> margin(kPoints), index(kPoints);
    for (auto _ : state) {
        const double* s1 = loads.s1.data();
        const double* s2 = loads.s2.data();
        const double* t12 = loads.t12.data();
        for (int i = 0; i < kPoints; ++i) {
            const double a = f11 * s1[i] * s1[i] + f22 * s2[i] * s2[i] + k * s1[i] * s2[i] +
                             f66 * t12[i] * t12[i];
            const double b = f1 * s1[i] + f2 * s2[i];
            margin[i] = (std::sqrt(b * b + 4.0 * a) - b) / (2.0 * a) - 1.0;
            index[i] = a + b;
        }
        benchmark::DoNotOptimize(margin.data());
        benchmark::DoNotOptimize(index.data());
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}

}  // namespace

BENCHMARK(BM_CriterionInterface);
BENCHMARK(BM_InlineTsaiWu);
BENCHMARK_MAIN();
