// Printed output reader: any text parsed with every result switch must end
// in a status, never a crash or a read past a buffer.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "F06Parser/CF06Parser.h"
#include "layuplib/CKpLayup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int fd = memfd_create("f06", 0);
    if (fd < 0) return 0;
    if (size && write(fd, data, size) != static_cast<ssize_t>(size)) {
        close(fd);
        return 0;
    }
    std::string path = "/proc/self/fd/" + std::to_string(fd);
    CKpLayup model(nullptr, nullptr);
    CF06Parser parser;
    parser.SetLayup(&model);
    parser.SetFlags(7);
    parser.SetEcho(1, "");  // the echo pages too, without an echo file
    parser.Parse(path.c_str(), model.pRess());
    close(fd);
    return 0;
}
