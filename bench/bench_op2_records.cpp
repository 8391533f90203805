// Record layer of the binary output library: every entry of a large table
// read through op2_ReadRecord, beside a plain read() of the same bytes.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "op2reader/op2_file.h"

namespace {

// Layered stress entries of 11 words, 20 per element, packed into records of
// 1,000 elements; `elements` in all.
std::string WriteTable(long elements) {
    std::string path =
        "/tmp/bench_op2_" + std::to_string(getpid()) + "_" + std::to_string(elements) + ".op2";
    op2_Init(stderr);
    int id = op2_OpenFile(path.c_str(), 'W');
    int label[2] = {0x54534554, 0x20202020};
    op2_WriteLabel(id, label);
    char name[9] = "OES1C";
    int trailer[6] = {0, 0, 0, 0, 0, 0}, eof;
    op2_OpenDatablk(id, 1, name, trailer, &eof);
    const int perRecord = 1000, entry = 11, plies = 20;
    std::vector<int> words(static_cast<size_t>(perRecord) * plies * entry);
    for (size_t k = 0; k < words.size(); ++k) words[k] = static_cast<int>(k * 2654435761u);
    for (long done = 0; done < elements; done += perRecord) {
        int ident[4] = {1, 5, 95, 1};
        op2_WriteRecord(id, 4, 1, ident);
        long n = std::min<long>(perRecord, elements - done);
        op2_WriteRecord(id, static_cast<int>(n * plies * entry), 1, words.data());
    }
    op2_CloseDatablk(id);
    op2_CloseFile(id);
    return path;
}

long FileBytes(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    std::fseek(f, 0, SEEK_END);
    long n = std::ftell(f);
    std::fclose(f);
    return n;
}

void BM_ReadRecordPerEntry(benchmark::State& state) {
    std::string path = WriteTable(state.range(0));
    long bytes = FileBytes(path);
    for (auto _ : state) {
        int id = op2_OpenFile(path.c_str(), 'R');
        int date[3];
        char label[9], version[13], name[9];
        op2_ReadLabel2(id, date, label, version);
        int trailer[6], eof = 0;
        long entries = 0;
        int entry[11];
        while (op2_OpenDatablk(id, 1, name, trailer, &eof) == 0 && !eof) {
            int status = 0, got = 0;
            while (status != 2) {
                // The identification record, then the data record an entry
                // at a time.
                op2_ReadRecord(id, 4, 1, &got, &status, entry);
                if (status == 2) break;
                status = 0;
                while (status == 0) {
                    if (op2_ReadRecord(id, 11, 0, &got, &status, entry)) break;
                    entries += got == 11;
                }
            }
            op2_CloseDatablk(id);
        }
        op2_CloseFile(id);
        benchmark::DoNotOptimize(entries);
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    std::remove(path.c_str());
}

void BM_PlainRead(benchmark::State& state) {
    std::string path = WriteTable(state.range(0));
    long bytes = FileBytes(path);
    std::vector<char> buf(1 << 20);
    for (auto _ : state) {
        int fd = open(path.c_str(), O_RDONLY);
        long total = 0;
        ssize_t r;
        while ((r = read(fd, buf.data(), buf.size())) > 0) total += r;
        close(fd);
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    std::remove(path.c_str());
}

// 100,000 and 1,000,000 elements of 20 plies: about 0.09 and 0.9 GB.
BENCHMARK(BM_ReadRecordPerEntry)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainRead)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
