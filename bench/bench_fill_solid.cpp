// The fill-solid filler on boxes and cylinder segments of 8-node bricks:
//   - face pairing as Create does it (one sort, one pass) beside pairing the
//     same faces through a std::unordered_map keyed by their sorted node ids,
//     10^4 to 10^6 bricks, with the whole Create for scale;
//   - CreateStackingTubes (columns and mid-surface);
//   - CreateSections with a stacking of 40 layers;
//   - CreateCSys with every column's system distinct, so that the merge
//     compares every pair: 10^3 and 10^4 columns.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "layuplib/FillSolidElements.h"

using namespace SolidElements;

namespace {

struct Bricks {
    std::vector<int> nodeIds, elemIds, types, conn;
    std::vector<double> xyz;
    int nx = 0, ny = 0, nz = 0;
    int Node(int i, int j, int k) const { return 1 + i + (nx + 1) * (j + (ny + 1) * k); }
};

// nx x ny x nz unit bricks; with `radius` > 0 the box is bent into a
// cylinder segment (x around, z outward from `radius`).
Bricks MakeBricks(int nx, int ny, int nz, double radius = 0.0) {
    Bricks b;
    b.nx = nx;
    b.ny = ny;
    b.nz = nz;
    for (int k = 0; k <= nz; ++k)
        for (int j = 0; j <= ny; ++j)
            for (int i = 0; i <= nx; ++i) {
                b.nodeIds.push_back(b.Node(i, j, k));
                if (radius > 0) {
                    const double a = 0.001 * i, r = radius + 0.1 * k;
                    b.xyz.insert(b.xyz.end(), {r * std::cos(a), r * std::sin(a), double(j)});
                } else {
                    b.xyz.insert(b.xyz.end(), {double(i), double(j), 0.25 * k});
                }
            }
    for (int k = 0; k < nz; ++k)
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i) {
                b.elemIds.push_back(static_cast<int>(b.elemIds.size()) + 1);
                b.types.push_back(28);
                const int c[8] = {b.Node(i, j, k),
                                  b.Node(i + 1, j, k),
                                  b.Node(i + 1, j + 1, k),
                                  b.Node(i, j + 1, k),
                                  b.Node(i, j, k + 1),
                                  b.Node(i + 1, j, k + 1),
                                  b.Node(i + 1, j + 1, k + 1),
                                  b.Node(i, j + 1, k + 1)};
                b.conn.insert(b.conn.end(), c, c + 8);
            }
    return b;
}

struct Release {
    void operator()(FillSolidElements* f) const { f->Release(); }
};
using Filler = std::unique_ptr<FillSolidElements, Release>;

Filler Load(const Bricks& b) {
    Filler f(new FillSolidElements);
    if (f->Create(static_cast<int>(b.nodeIds.size()), b.nodeIds.data(), b.xyz.data(),
                  static_cast<int>(b.elemIds.size()), b.elemIds.data(), b.types.data(), 8,
                  b.conn.data()) != 0)
        return Filler();
    return f;
}

int Tubes(FillSolidElements& f, const Bricks& b) {
    const int face[4] = {b.Node(0, 0, 0), b.Node(1, 0, 0), b.Node(1, 1, 0), b.Node(0, 1, 0)};
    return f.CreateStackingTubes(1, face, 4);
}

// Bricks per side for 10^4, 4 x 10^4, 1.6 x 10^5, 6.4 x 10^5 and 10^6
// bricks in 4 layers.
void Sizes(benchmark::internal::Benchmark* b) {
    for (int n : {50, 100, 200, 400, 500}) b->Arg(n);
    b->Unit(benchmark::kMillisecond);
}

void BM_Create(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const Bricks b = MakeBricks(n, n, 4);
    for (auto _ : state) {
        Filler f = Load(b);
        if (!f) state.SkipWithError("Create failed");
        benchmark::DoNotOptimize(f.get());
    }
    state.counters["bricks"] = 4.0 * n * n;
}

// The faces of a loaded mesh, and a pairing by hashing the same keys.
struct KeyHash {
    size_t operator()(const SolidElementFace* f) const {
        size_t h = 1469598103934665603ull;
        for (int k = 0; k < f->NumNodes(); ++k)
            h = (h ^ static_cast<size_t>(f->Key()[k])) * 1099511628211ull;
        return h;
    }
};
struct KeyEqual {
    bool operator()(const SolidElementFace* a, const SolidElementFace* b) const {
        return a->HasKey(b->Key(), b->NumNodes());
    }
};

void BM_PairFacesSort(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Filler f = Load(MakeBricks(n, n, 4));
    std::vector<SolidElementFace*> faces;
    for (const auto& face : f->Faces()) faces.push_back(face.get());
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<SolidElementFace*> work = faces;
        state.ResumeTiming();
        SolidElementFace* third = nullptr;
        if (SolidElementFace::PairFaces(work, third) != 0) state.SkipWithError("pairing failed");
    }
    state.counters["bricks"] = 4.0 * n * n;
}

void BM_PairFacesUnorderedMap(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Filler f = Load(MakeBricks(n, n, 4));
    std::vector<SolidElementFace*> faces;
    for (const auto& face : f->Faces()) faces.push_back(face.get());
    for (auto _ : state) {
        std::unordered_map<const SolidElementFace*, SolidElementFace*, KeyHash, KeyEqual> seen;
        seen.reserve(faces.size());
        for (SolidElementFace* face : faces) {
            face->SetTwin(nullptr);
            auto it = seen.emplace(face, face);
            if (!it.second) {
                it.first->second->SetTwin(face);
                face->SetTwin(it.first->second);
            }
        }
        benchmark::DoNotOptimize(seen.size());
    }
    state.counters["bricks"] = 4.0 * n * n;
}

void BM_CreateStackingTubes(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const Bricks b = MakeBricks(n, n, 4);
    for (auto _ : state) {
        state.PauseTiming();
        Filler f = Load(b);
        state.ResumeTiming();
        if (Tubes(*f, b) != 0) state.SkipWithError("CreateStackingTubes failed");
        state.PauseTiming();
        f.reset();
        state.ResumeTiming();
    }
    state.counters["bricks"] = 4.0 * n * n;
}

void BM_CreateSections40(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const Bricks b = MakeBricks(n, n, 4);
    Filler f = Load(b);
    if (Tubes(*f, b) != 0) state.SkipWithError("CreateStackingTubes failed");
    // 40 layers of 0.02 with four materials and angles: 0.8 of the 1.0
    // column, cut at the brick boundaries every 0.25.
    const std::string path = "/tmp/bench_fill_solid_" + std::to_string(getpid()) + ".csv";
    if (FILE* file = std::fopen(path.c_str(), "w")) {
        for (int i = 0; i < 40; ++i)
            std::fprintf(file, "Ply%d,M%d,0.02,%d\n", i, i % 4, (i % 4) * 45);
        std::fclose(file);
    }
    if (f->ReadStacking(IFillSolid::eFromBottom, path.c_str(), nullptr) != 0)
        state.SkipWithError("ReadStacking failed");
    std::remove(path.c_str());
    for (auto _ : state)
        if (f->CreateSections("Resin", 1.0, 0.01) != 0)
            state.SkipWithError("CreateSections failed");
    state.counters["bricks"] = 4.0 * n * n;
}

void BM_CreateCSysQuadratic(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const Bricks b = MakeBricks(n, 1, 2, 10.0);  // n columns, each turned 0.001 rad
    Filler f = Load(b);
    if (Tubes(*f, b) != 0) state.SkipWithError("CreateStackingTubes failed");
    const double x[3] = {0, 0, 1}, y[3] = {0, 1, 0}, z[3] = {1, 0, 0};
    for (auto _ : state)
        if (f->CreateCSys(x, y, z, 1e-6) != 0) state.SkipWithError("CreateCSys failed");
    int systems = 0;
    f->GetNumCSys(systems);
    state.counters["columns"] = n;
    state.counters["systems"] = systems;
}

}  // namespace

BENCHMARK(BM_Create)->Apply(Sizes);
BENCHMARK(BM_PairFacesSort)->Apply(Sizes);
BENCHMARK(BM_PairFacesUnorderedMap)->Apply(Sizes);
BENCHMARK(BM_CreateStackingTubes)->Apply(Sizes);
BENCHMARK(BM_CreateSections40)->Apply(Sizes);
BENCHMARK(BM_CreateCSysQuadratic)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
