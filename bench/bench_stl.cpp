// STL reading of a plate of tria3 facets, 2 n^2 facets for n^2 from 16,384
// to 524,288 (1,048,576 facets at the top), ASCII and binary. References in
// the same program: for ASCII a plain pass that splits the same file into
// lines and strtods every number; for binary a copy of the same file's
// vertices into an array (fread, nine floats per 50-byte record). Also the
// node merge the format dispatch runs after a read (tolerance 1e-12).
// facets_per_second counts facets.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_exchange.h"
#include "bench/bench_mesh.h"
#include "fileformats/CSTLParser.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpNodeStore.h"

namespace {

// An n x n plate cut into 2 n^2 triangles (tria3 topology 3).
bench::Mesh TriaPlate(int n) {
    bench::Mesh quads = bench::MakePlate(n, n, 0.37);
    bench::Mesh m = quads;
    m.elemIds.clear();
    m.patchIds.clear();
    m.topologies.clear();
    m.connectivity.clear();
    m.width = 3;
    int id = 1;
    for (size_t e = 0; e < quads.elemIds.size(); ++e) {
        const int* q = &quads.connectivity[e * quads.width];
        const int tris[2][3] = {{q[0], q[1], q[2]}, {q[0], q[2], q[3]}};
        for (const auto& t : tris) {
            m.elemIds.push_back(id++);
            m.patchIds.push_back(0);
            m.topologies.push_back(3);
            m.connectivity.insert(m.connectivity.end(), t, t + 3);
        }
    }
    return m;
}

const std::string& File(int n, int type) {
    static std::map<std::pair<int, int>, std::string> files;
    auto key = std::make_pair(n, type);
    auto found = files.find(key);
    if (found != files.end()) return found->second;
    const std::string path =
        "/tmp/bench_stl_" + std::to_string(n) + (type == 1 ? "_ascii.stl" : "_binary.stl");
    CKpLayup model(nullptr, nullptr);
    bench::LoadMesh(model, TriaPlate(n));
    CSTLParser parser;
    parser.SetStores(&model);
    parser.SetName(path.c_str());
    parser.SetType(type);
    parser.SetFlags(1, 0);
    parser.Write();
    return files[key] = path;
}

int ReadInto(CKpLayup& model, const std::string& path) {
    CSTLParser parser;
    parser.SetStores(&model);
    parser.SetName(path.c_str());
    parser.SetFlags(0, 0);
    return parser.Read();
}

void Read(benchmark::State& state, int type) {
    const int n = static_cast<int>(state.range(0));
    const std::string& path = File(n, type);
    for (auto _ : state) {
        std::unique_ptr<CKpLayup> model(new CKpLayup(nullptr, nullptr));
        if (ReadInto(*model, path) != 0) state.SkipWithError("read failed");
        state.PauseTiming();
        model.reset();
        state.ResumeTiming();
    }
    state.counters["facets_per_second"] =
        benchmark::Counter(2.0 * n * n * state.iterations(), benchmark::Counter::kIsRate);
    state.SetBytesProcessed(state.iterations() * bench::FileSize(path));
}

void BM_StlAsciiRead(benchmark::State& state) {
    Read(state, 1);
}
void BM_StlBinaryRead(benchmark::State& state) {
    Read(state, 2);
}

void BM_StlAsciiPlainPass(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::string& path = File(n, 1);
    for (auto _ : state) benchmark::DoNotOptimize(bench::PlainTextPass(path));
    state.counters["facets_per_second"] =
        benchmark::Counter(2.0 * n * n * state.iterations(), benchmark::Counter::kIsRate);
    state.SetBytesProcessed(state.iterations() * bench::FileSize(path));
}

void BM_StlBinaryCopy(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::string& path = File(n, 2);
    std::vector<float> vertices;
    for (auto _ : state) {
        FILE* f = std::fopen(path.c_str(), "rb");
        unsigned char head[84];
        if (std::fread(head, 1, 84, f) != 84) state.SkipWithError("short file");
        uint32_t count;
        std::memcpy(&count, head + 80, 4);
        vertices.resize(static_cast<size_t>(count) * 9);
        std::vector<unsigned char> block(50 * 4096);
        size_t done = 0;
        while (done < count) {
            const size_t want = std::min<size_t>(4096, count - done);
            if (std::fread(block.data(), 50, want, f) != want) break;
            for (size_t k = 0; k < want; ++k)
                std::memcpy(&vertices[(done + k) * 9], &block[k * 50 + 12], 36);
            done += want;
        }
        std::fclose(f);
        benchmark::DoNotOptimize(vertices.data());
    }
    state.counters["facets_per_second"] =
        benchmark::Counter(2.0 * n * n * state.iterations(), benchmark::Counter::kIsRate);
}

void BM_StlMerge(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::string& path = File(n, 2);
    int after = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<CKpLayup> model(new CKpLayup(nullptr, nullptr));
        ReadInto(*model, path);
        state.ResumeTiming();
        model->pNodes()->Merge(model->pMsg(), model->pElems(), nullptr, 1e-12);
        state.PauseTiming();
        after = model->pNodes()->entries();
        model.reset();
        state.ResumeTiming();
    }
    state.counters["nodes_after"] = after;
    state.counters["facets_per_second"] =
        benchmark::Counter(2.0 * n * n * state.iterations(), benchmark::Counter::kIsRate);
}

void Sizes(benchmark::internal::Benchmark* b) {
    for (int n : {128, 256, 512, 724}) b->Arg(n);
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_StlAsciiRead)->Apply(Sizes);
BENCHMARK(BM_StlAsciiPlainPass)->Apply(Sizes);
BENCHMARK(BM_StlBinaryRead)->Apply(Sizes);
BENCHMARK(BM_StlBinaryCopy)->Apply(Sizes);
BENCHMARK(BM_StlMerge)->Apply(Sizes);

}  // namespace

BENCHMARK_MAIN();
