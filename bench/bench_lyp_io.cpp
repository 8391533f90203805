// SaveLayup and OpenLayup of an n x n plate of quad4 elements with 20
// draped plies (each over a tenth of the plate, so two plies per element on
// average) placed in the layup; plain and gzip level 1. Sizes step by about
// x4 elements up to 1,000,000. bytes_per_second counts the plain text of the
// file (for the gzip cases the text before compression), so the figures
// compare with the references beside them, run on the same bytes:
//   Deflate1  `gzip -1`: zlib at level 1 with the writer's stream settings,
//             the plain text from memory to a file;
//   Inflate   `gunzip`: the saved gzip file inflated, the text dropped;
//   ReadPlain `cat > /dev/null`: the plain file read in 64 KiB blocks.
// OpenLyp reads the file and rebuilds the facets (OpenLayup); OpenLypRead
// is the reading alone, the same reader without the facet rebuild. OpenLyp
// runs on two threads: the facets are rebuilt on a second one while the
// patterns are read. The gzip cases inflate on a third.

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_mesh.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/add_layer.h"
#include "layuplib/read_lyp.h"

namespace {

const int kPlies = 20;

std::unique_ptr<CKpLayup> MakeModel(int n) {
    std::unique_ptr<CKpLayup> model(new CKpLayup(nullptr, nullptr));
    bench::LoadMesh(*model, bench::MakePlate(n, n, 0.01));

    CKpMat* mat = new CKpMat(1);
    mat->setLyrtp(3);
    mat->setMtrlnm("Woven carbon");
    mat->setExtmtrlnm("Woven carbon");
    mat->setMtrlthck(0.25);
    model->pMats()->insert(mat);
    CKpElemStore* elems = model->pElems();
    // Ply k: a band of rows, warp turning with k, a little shear per element
    // (the values a drape leaves).
    for (int k = 0; k < kPlies; ++k) {
        const std::string name = "Ply " + std::to_string(k + 1);
        CKpPat* pat = new CKpPat(k + 1);
        pat->setLyrtp(3);
        pat->SetNameByPlyName(name.c_str());
        pat->setStdn(1);
        pat->setSimResult(0);
        const int first = (k * n) / kPlies, last = std::min(n, first + (n + 9) / 10);
        int order = 0;
        for (int j = first; j < last; ++j)
            for (int i = 0; i < n; ++i) {
                CKpPatElem* pe = new CKpPatElem;
                pe->setElemId(j * n + i + 1);
                pe->setPelem(elems->find(j * n + i + 1));
                pe->setStdn(1);
                pe->setDnfg(1);
                pe->setShear(1e-4 * ((i * 7 + j * 13) % 100));
                pe->setWarpAngle(0.1 * k + 1e-5 * i);
                pe->setWeftAngle(0.1 * k + 1.5707963 + 1e-5 * j);
                pe->SetOrder(++order);
                pat->PatElems()->InsertLast(pe);
            }
        model->pPats()->insert(pat);
        model->pPlys()->insert(new CKpPly(k + 1, name.c_str(), 3, mat, pat));
        model->CreateLayupPly(nullptr, nullptr, 3, name.c_str(), 1, 0.0, 0.0, 1001 + k);
    }
    return model;
}

CKpLayup* Model(int n) {
    static std::map<int, std::unique_ptr<CKpLayup>> cache;
    std::unique_ptr<CKpLayup>& model = cache[n];
    if (!model) model = MakeModel(n);
    return model.get();
}

std::string PathFor(int n, int compress) {
    return "/tmp/bench_lyp_io_" + std::to_string(n) + (compress ? ".lyp.gz" : ".lyp");
}

long long FileSize(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return 0;
    std::fseek(f, 0, SEEK_END);
    const long long size = std::ftell(f);
    std::fclose(f);
    return size;
}

// Saves the plain file once (the reference text) and, for compress > 0,
// the gzip file; returns the plain size.
long long Prepare(int n, int compress) {
    CKpLayup* model = Model(n);
    model->SaveLayup(PathFor(n, 0).c_str(), 0, 0);
    if (compress) model->SaveLayup(PathFor(n, compress).c_str(), 0, compress);
    return FileSize(PathFor(n, 0));
}

void Report(benchmark::State& state, int n, int compress, long long textBytes) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * textBytes);
    state.counters["elements"] = static_cast<double>(n) * n;
    state.counters["text_MB"] = textBytes / 1e6;
    state.counters["file_MB"] = FileSize(PathFor(n, compress)) / 1e6;
}

void SaveLyp(benchmark::State& state, int compress) {
    const int n = static_cast<int>(state.range(0));
    const long long textBytes = Prepare(n, compress);
    CKpLayup* model = Model(n);
    const std::string path = PathFor(n, compress);
    for (auto _ : state)
        if (model->SaveLayup(path.c_str(), 0, compress) != 0) state.SkipWithError("save failed");
    Report(state, n, compress, textBytes);
}

void OpenLyp(benchmark::State& state, int compress) {
    const int n = static_cast<int>(state.range(0));
    const long long textBytes = Prepare(n, compress);
    const std::string path = PathFor(n, compress);
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<CKpLayup> model(new CKpLayup(nullptr, nullptr));
        state.ResumeTiming();
        if (model->OpenLayup(path.c_str(), compress ? 1 : 0) != 0)
            state.SkipWithError("open failed");
        state.PauseTiming();
        model.reset();  // freeing a large model is not part of the read
        state.ResumeTiming();
    }
    Report(state, n, compress, textBytes);
}

// OpenLayup without its facet rebuild: the file's records into the model.
void OpenLypRead(benchmark::State& state, int compress) {
    const int n = static_cast<int>(state.range(0));
    const long long textBytes = Prepare(n, compress);
    const std::string path = PathFor(n, compress);
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<CKpLayup> model(new CKpLayup(nullptr, nullptr));
        model->pFile()->SetName(path.c_str());
        state.ResumeTiming();
        if (read_lyp(model.get(), compress ? 1 : 0) != 1) state.SkipWithError("read failed");
        state.PauseTiming();
        model.reset();
        state.ResumeTiming();
    }
    Report(state, n, compress, textBytes);
}

std::vector<char> Slurp(const std::string& path) {
    std::vector<char> bytes(static_cast<size_t>(FileSize(path)));
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f && !bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size())
        bytes.clear();
    if (f) std::fclose(f);
    return bytes;
}

// `gzip -1` of the plain text: deflate as gzopen("wb1") sets it up (gzip
// wrapper, window 2^15, memory level 8, default strategy), 128 KiB output
// blocks written to a file.
void Deflate1(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Prepare(n, 0);
    const std::vector<char> text = Slurp(PathFor(n, 0));
    const std::string out = "/tmp/bench_lyp_io_ref.gz";
    std::vector<unsigned char> block(128 * 1024);
    for (auto _ : state) {
        FILE* f = std::fopen(out.c_str(), "wb");
        z_stream z{};
        if (!f || deflateInit2(&z, 1, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
            state.SkipWithError("deflate setup failed");
            if (f) std::fclose(f);
            break;
        }
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
        z.avail_in = static_cast<uInt>(text.size());
        int status = Z_OK;
        do {
            z.next_out = block.data();
            z.avail_out = static_cast<uInt>(block.size());
            status = deflate(&z, Z_FINISH);
            std::fwrite(block.data(), 1, block.size() - z.avail_out, f);
        } while (status == Z_OK);
        deflateEnd(&z);
        std::fclose(f);
    }
    std::remove(out.c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * text.size());
}

// `gunzip > /dev/null` of the saved gzip file.
void Inflate(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const long long textBytes = Prepare(n, 1);
    std::vector<unsigned char> in(128 * 1024), out(128 * 1024);
    for (auto _ : state) {
        FILE* f = std::fopen(PathFor(n, 1).c_str(), "rb");
        z_stream z{};
        if (!f || inflateInit2(&z, 15 + 16) != Z_OK) {
            state.SkipWithError("inflate setup failed");
            if (f) std::fclose(f);
            break;
        }
        int status = Z_OK;
        while (status == Z_OK) {
            if (z.avail_in == 0) {
                z.next_in = in.data();
                z.avail_in = static_cast<uInt>(std::fread(in.data(), 1, in.size(), f));
                if (z.avail_in == 0) break;
            }
            z.next_out = out.data();
            z.avail_out = static_cast<uInt>(out.size());
            status = inflate(&z, Z_NO_FLUSH);
        }
        inflateEnd(&z);
        std::fclose(f);
        if (status != Z_STREAM_END) state.SkipWithError("inflate failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * textBytes);
}

// `cat > /dev/null` of the plain file.
void ReadPlain(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const long long textBytes = Prepare(n, 0);
    std::vector<char> block(64 * 1024);
    for (auto _ : state) {
        FILE* f = std::fopen(PathFor(n, 0).c_str(), "rb");
        if (!f) {
            state.SkipWithError("open failed");
            break;
        }
        while (std::fread(block.data(), 1, block.size(), f) == block.size()) {
        }
        std::fclose(f);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * textBytes);
}

void Sizes(benchmark::internal::Benchmark* b) {
    for (int n : {32, 64, 128, 256, 512, 1000}) b->Arg(n);
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}

}  // namespace

// Each case beside its reference.
BENCHMARK_CAPTURE(SaveLyp, plain, 0)->Apply(Sizes);
BENCHMARK_CAPTURE(SaveLyp, gzip1, 1)->Apply(Sizes);
BENCHMARK(Deflate1)->Apply(Sizes);
BENCHMARK_CAPTURE(OpenLyp, plain, 0)->Apply(Sizes);
BENCHMARK_CAPTURE(OpenLypRead, plain, 0)->Apply(Sizes);
BENCHMARK(ReadPlain)->Apply(Sizes);
BENCHMARK_CAPTURE(OpenLyp, gzip1, 1)->Apply(Sizes);
BENCHMARK_CAPTURE(OpenLypRead, gzip1, 1)->Apply(Sizes);
BENCHMARK(Inflate)->Apply(Sizes);

BENCHMARK_MAIN();
