// Shared pieces of the exchange-file benchmarks: the plain reference pass
// over a text file. Header only.
#ifndef PLYSTRAND_BENCH_BENCH_EXCHANGE_H
#define PLYSTRAND_BENCH_BENCH_EXCHANGE_H

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace bench {

// The reference a text reader is measured against: reads the file in 1 MiB
// blocks, splits the bytes into lines and converts every number of every
// line with strtod (numbers are separated by blanks or commas; words that
// are not numbers are passed over). Returns the sum of
// the numbers (so that nothing is optimised away), NAN when the file cannot
// be opened.
inline double PlainTextPass(const std::string& path, long long* bytes = nullptr) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return NAN;
    std::vector<char> block(1 << 20);
    std::string line;
    double sum = 0.0;
    long long total = 0;
    auto scan = [&sum](const char* p) {
        for (;;) {
            while (*p == ' ' || *p == ',' || *p == '\t') ++p;
            if (!*p) return;
            char* end = nullptr;
            const double v = std::strtod(p, &end);
            if (end == p) {  // a word: passed over
                while (*p && *p != ' ' && *p != ',' && *p != '\t') ++p;
                continue;
            }
            sum += v;
            p = end;
        }
    };
    size_t n;
    while ((n = std::fread(block.data(), 1, block.size(), f)) > 0) {
        total += static_cast<long long>(n);
        const char* p = block.data();
        const char* end = p + n;
        while (p < end) {
            const char* nl = static_cast<const char*>(std::memchr(p, '\n', end - p));
            if (!nl) {
                line.append(p, end);
                break;
            }
            line.append(p, nl);
            scan(line.c_str());
            line.clear();
            p = nl + 1;
        }
    }
    if (!line.empty()) scan(line.c_str());
    std::fclose(f);
    if (bytes) *bytes = total;
    return sum;
}

inline long long FileSize(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return 0;
    std::fseek(f, 0, SEEK_END);
    const long long size = std::ftell(f);
    std::fclose(f);
    return size;
}

}  // namespace bench

#endif  // PLYSTRAND_BENCH_BENCH_EXCHANGE_H
