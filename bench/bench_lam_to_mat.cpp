// Homogenisation of one laminate into an equivalent three-dimensional
// material (LamToMat9), for stacks of 2 to 64 layers of two orthotropic
// materials at mixed angles. The cost should grow linearly with the layer
// count plus a constant for the 9 x 9 inversion.

#include <benchmark/benchmark.h>

#include <vector>

#include "layuplib/LamToMat9.h"

namespace {

// The stiffness (textbook order) of an orthotropic material, by inverting
// its compliance.
std::vector<double> orthoStiffness(double E1, double E2, double G12, double G23, double nu12,
                                   double nu23) {
    std::vector<double> S(36, 0.0), D(36, 0.0);
    S[0] = 1 / E1, S[7] = 1 / E2, S[14] = 1 / E2;
    S[1] = S[6] = S[2] = S[12] = -nu12 / E1;
    S[8] = S[13] = -nu23 / E2;
    S[21] = 1 / G23, S[28] = 1 / G12, S[35] = 1 / G12;
    MhMatInv(S.data(), 6, 6, D.data());
    return D;
}

void BM_LamToMat9(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::vector<double> D = orthoStiffness(140e3, 10e3, 5e3, 3.5e3, 0.3, 0.45);
    const std::vector<double> glass = orthoStiffness(40e3, 12e3, 4.5e3, 4e3, 0.28, 0.4);
    D.insert(D.end(), glass.begin(), glass.end());
    const double alpha[12] = {-0.5e-6, 30e-6, 30e-6, 0, 0, 0, 7e-6, 22e-6, 22e-6, 0, 0, 0};
    const double dens[2] = {1.6e-9, 2.0e-9};
    const double angles[4] = {0, 45, -45, 90};
    std::vector<int> mat(n);
    std::vector<double> ang(n), thick(n);
    for (int k = 0; k < n; ++k) {
        mat[k] = k % 3 == 2;
        ang[k] = angles[k % 4] + 5.0 * (k / 4);
        thick[k] = 0.125;
    }
    double outD[36], eng[19];
    for (auto _ : state) {
        const int status = LamToMat9(2, D.data(), alpha, dens, n, mat.data(), ang.data(),
                                     thick.data(), -0.0625 * n, 1.0, outD, eng);
        benchmark::DoNotOptimize(status);
        benchmark::DoNotOptimize(eng[0]);
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["layers"] = n;
}

}  // namespace

BENCHMARK(BM_LamToMat9)->RangeMultiplier(2)->Range(2, 64);

BENCHMARK_MAIN();
