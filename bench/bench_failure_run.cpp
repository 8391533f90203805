// A Tsai-Wu failure run over N elements x 20 layers (worst and critical
// layer results, margins and indices) against a plain loop computing the
// same formula inline over the same stresses. The ratio is the cost of the
// run's bookkeeping (layer maps, records, the criterion interface) per
// element-layer.

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_mesh.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyr.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpRes.h"
#include "layuplib/CKpResStore.h"
#include "layuplib/CVekAddinFailureLaminaTsaiwu.h"

namespace {

constexpr int kLayers = 20;
constexpr int kWidth = 100;
const double kAllow[7] = {1500, 1200, 50, 250, 70, 40, 60};

// Stresses of element e (0-based), layer k: s1, s2, t12 in float.
struct Stresses {
    std::vector<float> s1, s2, t12;
    explicit Stresses(size_t n) : s1(n), s2(n), t12(n) {
        std::mt19937 rng(7);
        std::uniform_real_distribution<float> u(-1.0f, 1.0f);
        for (size_t i = 0; i < n; ++i)
            s1[i] = 800 * u(rng), s2[i] = 40 * u(rng), t12[i] = 50 * u(rng);
    }
};

void Build(CKpLayup& model, int elements, const Stresses& st) {
    bench::LoadMesh(model, bench::MakePlate(kWidth, elements / kWidth));
    CKpMat* m = new CKpMat(1);
    m->setMtrlnm("M1");
    m->setFxt(kAllow[0]), m->setFxc(kAllow[1]), m->setFyt(kAllow[2]), m->setFyc(kAllow[3]);
    m->setFs12(kAllow[4]), m->setFs23(kAllow[5]), m->setFs31(kAllow[6]);
    model.pMats()->insert(m);
    CKpLam* lam = new CKpLam(1);
    for (int k = 0; k < kLayers; ++k) {
        CKpLamLyr* lyr = new CKpLamLyr;
        lyr->setMid(1), lyr->setT(0.1);
        lam->LamLyrs()->InsertLast(lyr);
    }
    model.pLams()->insert(lam);
    for (int e = 1; e <= elements; ++e) model.pElems()->find(e)->pid(1);
    for (int k = 0; k < kLayers; ++k) {
        const std::string layer = "Layer " + std::to_string(k + 1);
        const char* nm[5] = {"LC", "SC", "Stress Tensor", "", layer.c_str()};
        CKpRes* r = new CKpRes(k + 1, nm, 1, 3, 1);
        for (int e = 0; e < elements; ++e) {
            const size_t i = static_cast<size_t>(e) * kLayers + k;
            const float v[6] = {st.s1[i], st.s2[i], 0, st.t12[i], 0, 0};
            r->FindOrCreateResElem(e + 1, 6, v, 0, nullptr);
        }
        model.pRess()->insert(r);
    }
}

void FailureRun(benchmark::State& state) {
    const int elements = static_cast<int>(state.range(0));
    Stresses st(static_cast<size_t>(elements) * kLayers);
    CKpLayup model(nullptr, nullptr);
    Build(model, elements, st);
    std::vector<int> ids(static_cast<size_t>(elements));
    for (int e = 0; e < elements; ++e) ids[static_cast<size_t>(e)] = e + 1;
    auto* tw = new CVekAddinFailureLaminaTsaiwu;
    tw->AddRef();
    const char* names[5] = {"LC", "SC", "", "", ""};
    const int wanted[2] = {0, 3};
    for (auto _ : state) {
        int out[2] = {0, 0};
        model.GetResultStore()->CreateResultsFailureLamina(
            elements, ids.data(), names, tw, 0, 1, 1, IVekResultStore::eStress, 0, nullptr, 0,
            nullptr, 2, wanted, nullptr, nullptr, out);
        state.PauseTiming();
        for (int id = out[0]; id < out[1]; ++id)
            model.GetResultStore()->Delete(model.GetResultStore()->GetId(id));
        state.ResumeTiming();
    }
    tw->Release();
    state.SetItemsProcessed(state.iterations() * elements * kLayers);
}

void InlineTsaiWu(benchmark::State& state) {
    const size_t n = static_cast<size_t>(state.range(0)) * kLayers;
    Stresses st(n);
    const double xt = kAllow[0], xc = kAllow[1], yt = kAllow[2], yc = kAllow[3], s = kAllow[4];
    const double f1 = 1 / xt - 1 / xc, f2 = 1 / yt - 1 / yc;
    const double f11 = 1 / (xt * xc), f22 = 1 / (yt * yc), f66 = 1 / (s * s);
    std::vector<float> margin(n), index(n);
    for (auto _ : state) {
        for (size_t i = 0; i < n; ++i) {
            const double s1 = st.s1[i], s2 = st.s2[i], t = st.t12[i];
            const double a = f11 * s1 * s1 + f22 * s2 * s2 + f66 * t * t;
            const double b = f1 * s1 + f2 * s2;
            const double r = (-b + std::sqrt(b * b + 4 * a)) / (2 * a);
            margin[i] = static_cast<float>(1 / r - 1);
            index[i] = static_cast<float>(a + b);
        }
        benchmark::DoNotOptimize(margin.data());
        benchmark::DoNotOptimize(index.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(n));
}

}  // namespace

BENCHMARK(FailureRun)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(InlineTsaiWu)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
