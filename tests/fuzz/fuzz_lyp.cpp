// Layup file reader: any bytes, plain or gzip-compressed, must open or fail
// with a status; never crash, leak or read past a buffer.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "layuplib/CKpLayup.h"
#include "tests/support/MemoryDB.h"
#include "tests/support/RecordingGUI.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/fuzz_lyp_" + std::to_string(getpid()) + ".lyp";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
    MemoryDB db;
    RecordingGUI gui;
    CKpLayup model(&db, &gui);
    // gzopen reads plain files too, so the compressed path sees both kinds.
    bool gz = size >= 2 && data[0] == 0x1f && data[1] == 0x8b;
    model.OpenLayup(path.c_str(), gz ? 1 : 0);
    return 0;
}
