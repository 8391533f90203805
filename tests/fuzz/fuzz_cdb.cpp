// CDB reader (and its command parser): any bytes must read or fail with a
// status; never crash, leak or read past a buffer.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "fileformats/CCDBParser.h"
#include "layuplib/CKpLayup.h"
#include "tests/fuzz/FuzzFile.h"
#include "tests/support/RecordingGUI.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzFile file(data, size);
    if (!file.ok()) return 0;
    const std::string path = file.path();
    RecordingGUI gui;
    CKpLayup model(nullptr, &gui);
    CCDBParser parser;
    parser.SetStores(&model);
    parser.SetName(path.c_str());
    parser.SetFlags(1, 0);
    parser.Read();
    return 0;
}
