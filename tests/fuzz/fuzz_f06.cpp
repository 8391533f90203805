// Printed output reader: any text parsed with every result switch must end
// in a status, never a crash or a read past a buffer.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "F06Parser/CF06Parser.h"
#include "layuplib/CKpLayup.h"
#include "tests/fuzz/FuzzFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzFile file(data, size);
    if (!file.ok()) return 0;
    const std::string path = file.path();
    CKpLayup model(nullptr, nullptr);
    CF06Parser parser;
    parser.SetLayup(&model);
    parser.SetFlags(7);
    parser.SetEcho(1, "");  // the echo pages too, without an echo file
    parser.Parse(path.c_str(), model.pRess());
    return 0;
}
