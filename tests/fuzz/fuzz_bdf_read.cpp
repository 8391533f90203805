// Bulk data reader: any bytes as a deck file must be read or refused with a
// status, and what was read must be writable; never crash, leak or read
// past a buffer.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "fileformats/read_korbdf.h"
#include "layuplib/CKpLayup.h"
#include "tests/support/RecordingGUI.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int fd = memfd_create("fuzz_bdf", 0);
    if (fd < 0) return 0;
    size_t done = 0;
    while (done < size) {
        ssize_t n = write(fd, data + done, size - done);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    std::string path = "/proc/self/fd/" + std::to_string(fd);
    {
        RecordingGUI gui;
        CKpLayup model(nullptr, &gui);
        read_korbdf(&path[0], &model);
        std::string out = "/dev/null";
        write_korbdf(&out[0], &model, 1);
    }
    close(fd);
    return 0;
}
