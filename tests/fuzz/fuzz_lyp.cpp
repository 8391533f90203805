// Layup file reader: any bytes, plain or gzip-compressed, must open or fail
// with a status; never crash, leak or read past a buffer. The bytes live in
// an in-memory file, so runs leave nothing in the temporary folder.
#include <cstddef>
#include <cstdint>

#include "layuplib/CKpLayup.h"
#include "tests/fuzz/FuzzFile.h"
#include "tests/support/MemoryDB.h"
#include "tests/support/RecordingGUI.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzFile file(data, size);
    if (!file.ok()) return 0;
    MemoryDB db;
    RecordingGUI gui;
    CKpLayup model(&db, &gui);
    // gzopen reads plain files too, so the compressed path sees both kinds.
    bool gz = size >= 2 && data[0] == 0x1f && data[1] == 0x8b;
    model.OpenLayup(file.path(), gz ? 1 : 0);
    return 0;
}
