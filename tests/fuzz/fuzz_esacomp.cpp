// ESAComp results reader: any bytes must load into a result or fail with a
// status; never crash, leak or read past a buffer.
#include <cstddef>
#include <cstdint>

#include "fileformats/CESAComp.h"
#include "layuplib/CKpLayup.h"
#include "tests/fuzz/FuzzFile.h"
#include "tests/support/RecordingGUI.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzFile file(data, size);
    if (!file.ok()) return 0;
    RecordingGUI gui;
    CKpLayup model(nullptr, &gui);
    CESAComp reader;
    reader.SetStores(&model);
    reader.SetName(file.path());
    reader.SetFlags(0, 0);
    reader.Read();
    return 0;
}
