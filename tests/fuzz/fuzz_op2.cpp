// Binary output import: any bytes read by read_op2 with every model and
// result flag must end in a status, never a crash or a read past a buffer.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "layuplib/CKpLayup.h"
#include "op2reader/read_op2.h"
#include "tests/fuzz/FuzzFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzFile file(data, size);
    if (!file.ok()) return 0;
    const std::string path = file.path();
    CKpLayup model(nullptr, nullptr);
    read_op2(path.c_str(), &model, 7, 7);
    return 0;
}
