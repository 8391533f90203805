#include "layuplib/input_file_check.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

std::string input_file_problem(const char* path, std::int64_t* size) {
    if (size) *size = 0;
    if (!path || !path[0]) return "does not exist";
    struct stat st;
    if (::stat(path, &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return "does not exist";
        return std::string("cannot be opened (") + std::strerror(errno) + ")";
    }
    if (S_ISDIR(st.st_mode)) return "is a directory";
    if (!S_ISREG(st.st_mode)) return "is not a regular file";
    // Permissions are the opener's to judge: try it.
    FILE* f = std::fopen(path, "rb");
    if (!f) return std::string("cannot be opened (") + std::strerror(errno) + ")";
    std::fclose(f);
    if (st.st_size == 0) return "is empty";
    if (size) *size = static_cast<std::int64_t>(st.st_size);
    return std::string();
}

int input_file_last_byte(const char* path) {
    if (!path) return -1;
    FILE* f = std::fopen(path, "rb");
    if (!f) return -1;
    int c = -1;
    if (std::fseek(f, -1, SEEK_END) == 0) c = std::fgetc(f);
    std::fclose(f);
    return c == EOF ? -1 : c;
}
