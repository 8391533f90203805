// Solver bulk data on generated n x n plate decks (CQUAD4 with THETA, MCID
// or no orientation, GRID, one MAT8 and PCOMP; tests/support/BdfDeck),
// small and large field, n from 32 to 1000 (about x4 elements a step, up to
// 1,000,000). bytes_per_second counts the deck's bytes.
//  - FieldParser: CBDFFieldParser card by card over the bytes in memory
//    (fmemopen, 1 MiB window), against PlainTokenise: the same bytes split
//    into lines and fixed-width fields, numbers by std::from_chars.
//  - ReadModel: read_korbdf of the deck file into a new model.
//  - WriteModel: write_korbdf of the read model, against PrintfReference:
//    "%#.14G" formatting of the same reals (coordinates and angles) and
//    "%d" of the same ids.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "F06Parser/CF06FileBuffer.h"
#include "fileformats/CBDFFieldParser.h"
#include "fileformats/read_korbdf.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpNodeStore.h"
#include "tests/support/BdfDeck.h"

namespace {

// A deck's text and its scratch file, removed when the program ends.
struct Deck {
    std::string text;
    std::string path;
    Deck() = default;
    Deck(const Deck&) = delete;
    Deck& operator=(const Deck&) = delete;
    ~Deck() {
        if (!path.empty()) std::remove(path.c_str());
    }
};

// One deck per size and layout, written once to a scratch file.
const Deck& GetDeck(int n, bool large) {
    static std::map<std::pair<int, bool>, Deck> decks;
    auto key = std::make_pair(n, large);
    auto it = decks.find(key);
    if (it != decks.end()) return it->second;
    Deck& d = decks[key];
    d.text = bdfdeck::Plate(n, n, large ? bdfdeck::Layout::Large : bdfdeck::Layout::Small);
    d.path = "/tmp/bench_bdf_" + std::to_string(getpid()) + "_" + std::to_string(n) +
             (large ? "L" : "S") + ".bdf";
    FILE* fp = std::fopen(d.path.c_str(), "wb");
    if (fp) {
        std::fwrite(d.text.data(), 1, d.text.size(), fp);
        std::fclose(fp);
    }
    return d;
}

void Sizes(benchmark::internal::Benchmark* b) {
    for (int large : {0, 1})
        for (int n : {32, 64, 128, 256, 512, 1000}) b->Args({n, large});
    b->Unit(benchmark::kMillisecond);
}

void BM_FieldParser(benchmark::State& state) {
    const Deck& d = GetDeck(static_cast<int>(state.range(0)), state.range(1) != 0);
    long long fields = 0;
    for (auto _ : state) {
        FILE* in = fmemopen(const_cast<char*>(d.text.data()), d.text.size(), "rb");
        CF06FileBuffer buffer;
        buffer.SetBufferSize(1048576, 512);
        buffer.Attach(in);
        CBDFFieldParser parser;
        std::int64_t pos = 0;
        while (buffer[pos] != '\0') {
            pos = parser.Parse(pos, buffer);
            fields += parser.GetFields().GetCols(0);
        }
        buffer.Close();
        std::fclose(in);
    }
    benchmark::DoNotOptimize(fields);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(d.text.size()));
}
BENCHMARK(BM_FieldParser)->Apply(Sizes);

// The reference: lines, fixed-width fields (16 wide after a "*" name),
// blanks trimmed, numbers by from_chars.
void BM_PlainTokenise(benchmark::State& state) {
    const Deck& d = GetDeck(static_cast<int>(state.range(0)), state.range(1) != 0);
    double sum = 0.0;
    for (auto _ : state) {
        const char* p = d.text.data();
        const char* end = p + d.text.size();
        int width = 8;
        while (p < end) {
            const char* eol = static_cast<const char*>(std::memchr(p, '\n', end - p));
            if (!eol) eol = end;
            if (p[0] != ' ' && p[0] != '*')
                width = std::memchr(p, '*', eol - p < 8 ? eol - p : 8) ? 16 : 8;
            for (const char* f = p + 8; f < eol && f < p + 72; f += width) {
                const char* a = f;
                const char* b = f + width < eol ? f + width : eol;
                while (a < b && *a == ' ') ++a;
                while (b > a && b[-1] == ' ') --b;
                if (a == b) continue;
                if (std::memchr(a, '.', b - a)) {
                    double v = 0.0;
                    std::from_chars(a, b, v);
                    sum += v;
                } else {
                    int v = 0;
                    std::from_chars(a, b, v);
                    sum += v;
                }
            }
            p = eol + 1;
        }
    }
    benchmark::DoNotOptimize(sum);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(d.text.size()));
}
BENCHMARK(BM_PlainTokenise)->Apply(Sizes);

void BM_ReadModel(benchmark::State& state) {
    const Deck& d = GetDeck(static_cast<int>(state.range(0)), state.range(1) != 0);
    std::string path = d.path;
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<CKpLayup> model(new CKpLayup(nullptr, nullptr));
        model->init();
        state.ResumeTiming();
        if (read_korbdf(&path[0], model.get()) != 0) state.SkipWithError("read failed");
        state.PauseTiming();
        model.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(d.text.size()));
}
BENCHMARK(BM_ReadModel)->Apply(Sizes);

// The model of a deck, read once.
CKpLayup* GetModel(int n) {
    static std::map<int, std::unique_ptr<CKpLayup>> models;
    auto& m = models[n];
    if (!m) {
        m.reset(new CKpLayup(nullptr, nullptr));
        std::string path = GetDeck(n, false).path;
        read_korbdf(&path[0], m.get());
    }
    return m.get();
}

void BM_WriteModel(benchmark::State& state) {
    CKpLayup* model = GetModel(static_cast<int>(state.range(0)));
    std::string path = "/tmp/bench_bdf_out_" + std::to_string(getpid()) + ".bdf";
    long long bytes = 0;
    for (auto _ : state) {
        if (write_korbdf(&path[0], model, 0) != 0) state.SkipWithError("write failed");
        state.PauseTiming();
        FILE* fp = std::fopen(path.c_str(), "rb");
        std::fseek(fp, 0, SEEK_END);
        bytes += std::ftell(fp);
        std::fclose(fp);
        state.ResumeTiming();
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_WriteModel)
    ->ArgsProduct({{32, 64, 128, 256, 512, 1000}})
    ->Unit(benchmark::kMillisecond);

void BM_PrintfReference(benchmark::State& state) {
    CKpLayup* model = GetModel(static_cast<int>(state.range(0)));
    CKpNodeStore* nodes = model->pNodes();
    CKpElemStore* elems = model->pElems();
    char text[64];
    long long chars = 0;
    for (auto _ : state) {
        for (int i = 0; i < nodes->entries(); ++i) {
            CKpNode* node = (*nodes)[i];
            chars += std::snprintf(text, sizeof text, "%d", node->id());
            chars += std::snprintf(text, sizeof text, "%#.14G", node->getCKpPointX());
            chars += std::snprintf(text, sizeof text, "%#.14G", node->getCKpPointY());
            chars += std::snprintf(text, sizeof text, "%#.14G", node->getCKpPointZ());
        }
        for (int i = 0; i < elems->entries(); ++i) {
            CKpElem* elem = (*elems)[i];
            for (int k = 0; k < 6; ++k)
                chars += std::snprintf(text, sizeof text, "%d", elem->getunid(k % 4));
            chars += std::snprintf(text, sizeof text, "%#.14G", elem->theta());
        }
    }
    benchmark::DoNotOptimize(chars);
}
BENCHMARK(BM_PrintfReference)
    ->ArgsProduct({{32, 64, 128, 256, 512, 1000}})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
