// A Tsai-Wu failure run over N elements x 20 layers (worst and critical
// layer results, margins and indices) against a plain loop computing the
// same results inline over the same stresses (checked bit for bit against
// the run's on its first iteration). The ratio is the cost of the run's
// bookkeeping (layer maps, records, the criterion interface) per
// element-layer.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
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
#include "layuplib/CKpResElem.h"
#include "layuplib/CKpResElemStore.h"
#include "layuplib/CKpResStore.h"
#include "layuplib/CVekAddinFailureLaminaTsaiwu.h"

namespace {

constexpr int kLayers = 20;
constexpr int kWidth = 100;
const double kAllow[7] = {1500, 1200, 50, 250, 70, 40, 60};

// Stresses of element e (0-based), layer k at e * kLayers + k: s1, s2,
// t12 in float; t23 and t31 are 0.
struct Stresses {
    std::vector<float> s1, s2, t12, t23, t31;
    explicit Stresses(size_t n) : s1(n), s2(n), t12(n), t23(n), t31(n) {
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
            const float v[6] = {st.s1[i], st.s2[i], 0, st.t12[i], st.t23[i], st.t31[i]};
            r->FindOrCreateResElem(e + 1, 6, v, 0, nullptr);
        }
        model.pRess()->insert(r);
    }
}

// The worst layer of every element computed inline from the same stresses
// by the same arithmetic as the criterion and the run (the allowable terms
// derived once, the strength ratio, the transverse-shear checks, the clamp,
// single-precision results, the smallest margin wins): margin, failure index
// and critical layer per element.
struct Worst {
    std::vector<float> margin, index, layer;
    explicit Worst(size_t n) : margin(n), index(n), layer(n) {}
};

void InlineWorst(const Stresses& st, size_t elements, Worst& w) {
    const double xt = kAllow[0], xc = kAllow[1], yt = kAllow[2], yc = kAllow[3], s = kAllow[4];
    const double s23 = kAllow[5], s31 = kAllow[6], f12 = 0.0;
    const double xx = xt * xc, yy = yt * yc, f66 = 1.0 / (s * s);
    const double k = 2.0 * f12 / std::sqrt(xt * xc * yt * yc);
    const double f1 = 1.0 / xt - 1.0 / xc, f2 = 1.0 / yt - 1.0 / yc;
    for (size_t e = 0; e < elements; ++e) {
        float worst = 1.0e12f, worstIndex = 0.0f, layer = 0.0f;
        for (int l = 0; l < kLayers; ++l) {
            const size_t i = e * kLayers + static_cast<size_t>(l);
            const double s1 = st.s1[i], s2 = st.s2[i], t12 = st.t12[i];
            const double t23 = st.t23[i], t31 = st.t31[i];
            const double a = s1 * s1 / xx + s2 * s2 / yy + k * s1 * s2 + f66 * t12 * t12;
            const double b = f1 * s1 + f2 * s2;
            double margin = 1000.0, index = 0.0;
            if (a != 0.0 || b != 0.0) {
                const double ratio = a != 0.0 ? (std::sqrt(b * b + 4.0 * a) - b) / (2.0 * a)
                                              : 1.0 / b;
                margin = ratio - 1.0, index = a + b;
            }
            // A zero shear (ratio 0) never governs a margin of -1 or more.
            if (s23 > 0.0 && !(t23 == 0.0 && margin >= -1.0)) {
                const double r = std::fabs(t23) / s23;
                if (r > 1.0 / (margin + 1.0)) margin = 1.0 / r - 1.0, index = r;
            }
            if (s31 > 0.0 && !(t31 == 0.0 && margin >= -1.0)) {
                const double r = std::fabs(t31) / s31;
                if (r > 1.0 / (margin + 1.0)) margin = 1.0 / r - 1.0, index = r;
            }
            if (margin > 999999.0) margin = 999999.0;
            const float m = static_cast<float>(margin);
            if (m < worst) {
                worst = m, worstIndex = static_cast<float>(index);
                layer = static_cast<float>(l + 1);
            }
        }
        w.margin[e] = worst, w.index[e] = worstIndex, w.layer[e] = layer;
    }
}

// Whether the run's worst results (margins, indices, critical layers, the
// results from id `first` on) hold exactly what the inline loop computes.
bool SameAsInline(CKpLayup& model, int first, int elements, const Worst& w) {
    CKpRes* res[3] = {model.pRess()->find(first), model.pRess()->find(first + 1),
                      model.pRess()->find(first + 2)};
    const std::vector<float>* expect[3] = {&w.margin, &w.index, &w.layer};
    for (int r = 0; r < 3; ++r) {
        if (!res[r] || res[r]->ResElems()->entries() != elements) return false;
        for (int e = 0; e < elements; ++e) {
            const CKpResElem* rec = res[r]->ResElems()->find(e + 1);
            const float v = (*expect[r])[static_cast<size_t>(e)];
            if (!rec || std::memcmp(rec->Floats(), &v, sizeof v) != 0) return false;
        }
    }
    return true;
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
    bool checked = false;
    for (auto _ : state) {
        int out[2] = {0, 0};
        model.GetResultStore()->CreateResultsFailureLamina(
            elements, ids.data(), names, tw, 0, 1, 1, IVekResultStore::eStress, 0, nullptr, 0,
            nullptr, 2, wanted, nullptr, nullptr, out);
        state.PauseTiming();
        if (!checked) {
            // The reference must compute the very results of the run.
            Worst w(static_cast<size_t>(elements));
            InlineWorst(st, static_cast<size_t>(elements), w);
            if (!SameAsInline(model, out[0], elements, w)) {
                state.SkipWithError("the run and the inline loop differ");
                break;
            }
            checked = true;
        }
        for (int id = out[0]; id < out[1]; ++id)
            model.GetResultStore()->Delete(model.GetResultStore()->GetId(id));
        state.ResumeTiming();
    }
    tw->Release();
    state.SetItemsProcessed(state.iterations() * elements * kLayers);
}

void InlineTsaiWu(benchmark::State& state) {
    const size_t elements = static_cast<size_t>(state.range(0));
    Stresses st(elements * kLayers);
    Worst w(elements);
    for (auto _ : state) {
        InlineWorst(st, elements, w);
        benchmark::DoNotOptimize(w.margin.data());
        benchmark::DoNotOptimize(w.index.data());
        benchmark::DoNotOptimize(w.layer.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(elements) * kLayers);
}

}  // namespace

BENCHMARK(FailureRun)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(InlineTsaiWu)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
