#ifndef PLYSTRAND_TESTS_FUZZ_FUZZFILE_H
#define PLYSTRAND_TESTS_FUZZ_FUZZFILE_H

// The fuzzer's bytes as a file the readers open by name: an anonymous
// in-memory file, named through /proc/self/fd, closed with the object.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

class FuzzFile {
  public:
    FuzzFile(const uint8_t* data, size_t size) : m_fd(memfd_create("fuzz", 0)) {
        if (m_fd < 0) return;
        if (size && write(m_fd, data, size) != static_cast<ssize_t>(size)) {
            close(m_fd);
            m_fd = -1;
            return;
        }
        m_path = "/proc/self/fd/" + std::to_string(m_fd);
    }
    ~FuzzFile() {
        if (m_fd >= 0) close(m_fd);
    }
    FuzzFile(const FuzzFile&) = delete;
    FuzzFile& operator=(const FuzzFile&) = delete;

    // False when the file could not be made: the input is then skipped.
    bool ok() const { return m_fd >= 0; }
    const char* path() const { return m_path.c_str(); }

  private:
    int m_fd;
    std::string m_path;
};

#endif  // PLYSTRAND_TESTS_FUZZ_FUZZFILE_H
