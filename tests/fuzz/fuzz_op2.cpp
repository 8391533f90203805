// Binary output import: any bytes read by read_op2 with every model and
// result flag must end in a status, never a crash or a read past a buffer.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "layuplib/CKpLayup.h"
#include "op2reader/read_op2.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int fd = memfd_create("op2", 0);
    if (fd < 0) return 0;
    if (size && write(fd, data, size) != static_cast<ssize_t>(size)) {
        close(fd);
        return 0;
    }
    std::string path = "/proc/self/fd/" + std::to_string(fd);
    CKpLayup model(nullptr, nullptr);
    read_op2(path.c_str(), &model, 7, 7);
    close(fd);
    return 0;
}
