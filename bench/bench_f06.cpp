// Printed output reader over the result pages of the sample run repeated
// with element ids offset per copy, beside a plain tokenising pass (split
// at blanks, numbers by from_chars) over the same bytes. The size in MB
// comes from PLYSTRAND_BENCH_F06_MB (100 when unset).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "F06Parser/read_f06.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpResStore.h"

namespace {

std::string SampleFile() {
    std::string root = std::string(__FILE__);
    root = root.substr(0, root.find_last_of('/')) + "/../tests/data/f06/flat_plate_composite.f06";
    std::ifstream in(root, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Copy k of the result pages: element ids of the rows that start an element
// ("0" in the carriage-control column, then the id) raised by k * 100000.
std::string Copy(const std::string& pages, long k) {
    std::string out;
    out.reserve(pages.size() + 64);
    size_t pos = 0;
    while (pos < pages.size()) {
        size_t end = pages.find('\n', pos);
        if (end == std::string::npos) end = pages.size();
        std::string line = pages.substr(pos, end - pos);
        if (!line.empty() && line[0] == '0') {
            size_t a = line.find_first_not_of(' ', 1);
            size_t b = a == std::string::npos ? a : line.find(' ', a);
            if (a != std::string::npos && b != std::string::npos &&
                line.find_first_not_of("0123456789", a) == b) {
                long id = std::atol(line.c_str() + a) + k * 100000;
                std::string text = std::to_string(id);
                if (text.size() <= b - 1) line.replace(b - text.size(), text.size(), text);
            }
        }
        out += line;
        out += '\n';
        pos = end + 1;
    }
    return out;
}

struct File {
    std::string path;
    long bytes = 0;
    File() {
        const char* env = std::getenv("PLYSTRAND_BENCH_F06_MB");
        long mb = env ? std::atol(env) : 100;
        if (mb <= 0) mb = 100;
        const std::string sample = SampleFile();
        if (sample.find("F O R C E S") == std::string::npos) {
            // Relative source paths (a compiler cache's) resolve from the
            // build folder: without the sample there would be nothing to copy.
            std::fprintf(stderr, "bench_f06: sample result pages not found; run from the build "
                                 "folder\n");
            std::exit(1);
        }
        const size_t first = sample.rfind("\n1", sample.find("F O R C E S"));
        const std::string head = sample.substr(0, first + 1);
        const std::string pages = sample.substr(first + 1);
        path = "/tmp/bench_f06_" + std::to_string(getpid()) + ".f06";
        std::ofstream out(path, std::ios::binary);
        out << head;
        bytes = static_cast<long>(head.size());
        for (long k = 0; bytes < mb * 1000000L; ++k) {
            const std::string copy = Copy(pages, k);
            out << copy;
            bytes += static_cast<long>(copy.size());
        }
    }
    ~File() { std::remove(path.c_str()); }
};

File& TheFile() {
    static File file;
    return file;
}

void BM_ReadF06(benchmark::State& state) {
    File& file = TheFile();
    long results = 0;
    for (auto _ : state) {
        CKpLayup model(nullptr, nullptr);
        read_f06(file.path.c_str(), &model, 0, nullptr, 7);
        results = model.pRess()->entries();
    }
    state.SetBytesProcessed(state.iterations() * file.bytes);
    state.counters["results"] = static_cast<double>(results);
}

void BM_TokenisePass(benchmark::State& state) {
    File& file = TheFile();
    std::vector<char> buf(1 << 21);
    for (auto _ : state) {
        FILE* f = std::fopen(file.path.c_str(), "rb");
        double sum = 0.0;
        long tokens = 0;
        size_t n;
        std::string carry;
        while ((n = std::fread(buf.data(), 1, buf.size(), f)) > 0) {
            const char* p = buf.data();
            const char* end = p + n;
            while (p < end) {
                while (p < end && (*p == ' ' || *p == '\n' || *p == '\t')) ++p;
                const char* q = p;
                while (q < end && *q != ' ' && *q != '\n' && *q != '\t') ++q;
                double v;
                if (std::from_chars(p, q, v).ec == std::errc()) sum += v;
                ++tokens;
                p = q;
            }
        }
        std::fclose(f);
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(tokens);
    }
    state.SetBytesProcessed(state.iterations() * file.bytes);
}

BENCHMARK(BM_ReadF06)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_TokenisePass)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
