// ESAComp results reader: any bytes must load into a result or fail with a
// status; never crash, leak or read past a buffer.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "fileformats/CESAComp.h"
#include "layuplib/CKpLayup.h"
#include "tests/support/RecordingGUI.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/fuzz_esacomp_" + std::to_string(getpid()) + ".xml";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
    RecordingGUI gui;
    CKpLayup model(nullptr, &gui);
    CESAComp reader;
    reader.SetStores(&model);
    reader.SetName(path.c_str());
    reader.SetFlags(0, 0);
    reader.Read();
    return 0;
}
