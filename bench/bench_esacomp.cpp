// ESAComp results reading: a pretty-printed file of one table with n rows
// read into a result of the model, beside the same file parsed by expat
// with empty handlers (the document wrapper with nothing to do).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "fileformats/CESAComp.h"
#include "fileformats/CXMLParser.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpResStore.h"

namespace {

const char* kPath = "/tmp/plystrand_bench_esacomp.xml";

void WriteFile(int rows) {
    FILE* f = std::fopen(kPath, "w");
    std::fprintf(f,
                 "<?xml version=\"1.0\"?>\n<OBJECT>\n  <EVAR name=\"VRIM_Name\">Bench</EVAR>\n"
                 "  <DTABLE name=\"invRF\">\n");
    for (int i = 1; i <= rows; ++i)
        std::fprintf(f,
                     "    <tr>\n      <td>%d</td>\n      <td>%.6f</td>\n      <td>Fibre "
                     "tension</td>\n      <td>Ply %d</td>\n    </tr>\n",
                     i, 0.5 + 1e-6 * i, i % 40 + 1);
    std::fprintf(f, "  </DTABLE>\n</OBJECT>\n");
    std::fclose(f);
}

class EmptyDocument : public CXMLParser {
  protected:
    void OnStartElement(const char*, const char**) override {}
    void OnEndElement(const char*) override {}
    void OnData(const char*, int) override {}
};

void EsaCompRead(benchmark::State& state) {
    WriteFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CKpLayup model(nullptr, nullptr);
        CESAComp reader;
        reader.SetStores(&model);
        reader.SetName(kPath);
        benchmark::DoNotOptimize(reader.Read());
    }
    state.counters["rows"] = static_cast<double>(state.range(0));
    std::remove(kPath);
}
BENCHMARK(EsaCompRead)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void ExpatEmptyHandlers(benchmark::State& state) {
    WriteFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        EmptyDocument doc;
        benchmark::DoNotOptimize(doc.Create(kPath));
    }
    state.counters["rows"] = static_cast<double>(state.range(0));
    std::remove(kPath);
}
BENCHMARK(ExpatEmptyHandlers)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
