// Whole binary output import: layered stresses (OES1C) and failure indices
// (OEFIT) of 20 plies per element, written by the record library and read by
// read_op2 into a fresh model. The element count comes from
// PLYSTRAND_BENCH_OP2_ELEMENTS (100,000 when unset: about 160 MB).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "layuplib/CKpLayup.h"
#include "layuplib/CKpResStore.h"
#include "op2reader/read_op2.h"

namespace {

constexpr int kPlies = 20;
constexpr int kPerRecord = 1000;

long Elements() {
    const char* env = std::getenv("PLYSTRAND_BENCH_OP2_ELEMENTS");
    long n = env ? std::atol(env) : 100000;
    return n > 0 ? n : 100000;
}

void Ident(int* w, int tableCode) {
    std::memset(w, 0, 146 * sizeof(int));
    w[0] = 10;  // static
    w[1] = tableCode;
    w[2] = 95;  // QUAD4 layered
    w[3] = 1;
    std::memset(w + 50, ' ', 96 * sizeof(int));
    std::memcpy(w + 82, "BENCH LOAD", 10);
    std::memcpy(w + 114, "SUBCASE 1", 9);
}

void WriteBlock(int id, const char* blockName, int entryWords, long elements) {
    char name[9] = {0};
    std::snprintf(name, sizeof name, "%s", blockName);
    int trailer[6] = {0, 0, 0, 0, 0, 0}, eof;
    op2_OpenDatablk(id, 1, name, trailer, &eof);
    int ident[146];
    std::vector<int> words(static_cast<size_t>(kPerRecord) * kPlies * entryWords);
    for (long done = 0; done < elements; done += kPerRecord) {
        const long n = std::min<long>(kPerRecord, elements - done);
        for (long e = 0; e < n; ++e)
            for (int p = 0; p < kPlies; ++p) {
                int* w = &words[static_cast<size_t>((e * kPlies + p) * entryWords)];
                const float value = 0.001f * static_cast<float>(e + p);
                for (int k = 0; k < entryWords; ++k) std::memcpy(&w[k], &value, 4);
                if (entryWords == 11) {
                    w[0] = static_cast<int>((done + e + 1) * 10);
                    w[1] = p + 1;
                } else {
                    w[0] = p == 0 ? static_cast<int>(done + e + 1) : 0;
                    std::memcpy(&w[1], p == 0 ? "HILL    " : "        ", 8);
                    w[3] = p + 1;
                    w[7] = -1;
                }
            }
        Ident(ident, 5);
        op2_WriteRecord(id, 146, 1, ident);
        op2_WriteRecord(id, static_cast<int>(n * kPlies * entryWords), 1, words.data());
    }
    op2_CloseDatablk(id);
}

std::string WriteFile(long elements) {
    std::string path = "/tmp/bench_op2_import_" + std::to_string(getpid()) + ".op2";
    op2_Init(stderr);
    int id = op2_OpenFile(path.c_str(), 'W');
    int label[2] = {0x434e4542, 0x20202048};
    op2_WriteLabel(id, label);
    WriteBlock(id, "OES1C", 11, elements);
    WriteBlock(id, "OEFIT", 9, elements);
    op2_CloseFile(id);
    op2_End();
    return path;
}

void BM_ImportLayeredResults(benchmark::State& state) {
    const long elements = Elements();
    const std::string path = WriteFile(elements);
    FILE* f = std::fopen(path.c_str(), "rb");
    std::fseek(f, 0, SEEK_END);
    const long bytes = std::ftell(f);
    std::fclose(f);
    int results = 0;
    for (auto _ : state) {
        CKpLayup model(nullptr, nullptr);
        read_op2(path.c_str(), &model, 0, 7);
        results = model.pRess()->entries();
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["elements"] = static_cast<double>(elements);
    state.counters["results"] = results;
}

BENCHMARK(BM_ImportLayeredResults)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
