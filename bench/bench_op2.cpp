// Whole binary output import: layered stresses (OES1C) and failure indices
// (OEFIT) of 20 plies per element in the layout solvers write (the label of
// a solver-written file, identification records with approach, table and
// format codes, element type 95, num_wide 11 and 9), read by read_op2 into
// a fresh model; beside it one sequential pass over the same bytes. The
// element count comes from PLYSTRAND_BENCH_OP2_ELEMENTS (100,000 when
// unset: about 160 MB).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "layuplib/CKpLayup.h"
#include "layuplib/CKpResStore.h"
#include "op2reader/read_op2.h"
#include "tests/support/Op2Layered.h"

namespace {

long Elements() {
    const char* env = std::getenv("PLYSTRAND_BENCH_OP2_ELEMENTS");
    long n = env ? std::atol(env) : 100000;
    return n > 0 ? n : 100000;
}

struct File {
    std::string path;
    long bytes = 0;
    File() {
        std::string source = __FILE__;
        source = source.substr(0, source.find_last_of('/')) +
                 "/../tests/data/op2/flat_plate_composite.op2";
        path = "/tmp/bench_op2_import_" + std::to_string(getpid()) + ".op2";
        Op2LayeredRecipe recipe;
        recipe.elements = Elements();
        recipe.plies = 20;
        recipe.perPiece = 1000;
        if (!WriteLayeredOp2(path, source, recipe)) {
            std::fprintf(stderr, "bench_op2: cannot write %s\n", path.c_str());
            std::exit(1);
        }
        FILE* f = std::fopen(path.c_str(), "rb");
        std::fseek(f, 0, SEEK_END);
        bytes = std::ftell(f);
        std::fclose(f);
    }
    ~File() { std::remove(path.c_str()); }
};

File& TheFile() {
    static File file;
    return file;
}

void BM_ImportLayeredResults(benchmark::State& state) {
    File& file = TheFile();
    int results = 0;
    for (auto _ : state) {
        CKpLayup model(nullptr, nullptr);
        read_op2(file.path.c_str(), &model, 0, 7);
        results = model.pRess()->entries();
    }
    state.SetBytesProcessed(state.iterations() * file.bytes);
    state.counters["elements"] = static_cast<double>(Elements());
    state.counters["results"] = results;
}

// The floor: the bytes read once in large blocks, every word touched.
void BM_SequentialPass(benchmark::State& state) {
    File& file = TheFile();
    std::vector<unsigned> buf(1 << 19);
    for (auto _ : state) {
        FILE* f = std::fopen(file.path.c_str(), "rb");
        unsigned sum = 0;
        size_t n;
        while ((n = std::fread(buf.data(), 4, buf.size(), f)) > 0)
            for (size_t k = 0; k < n; ++k) sum += buf[k];
        std::fclose(f);
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(state.iterations() * file.bytes);
}

BENCHMARK(BM_ImportLayeredResults)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SequentialPass)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
