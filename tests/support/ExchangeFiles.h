#ifndef PLYSTRAND_TESTS_SUPPORT_EXCHANGEFILES_H
#define PLYSTRAND_TESTS_SUPPORT_EXCHANGEFILES_H

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

// Helpers for the exchange-file tests: the shared sample files (kept beside
// the project, never copied into it), scratch files and their contents.
namespace xfiles {

// Path of `rel` under the shared sample folder ("cdb/HexBeam.cdb"): taken
// from PLYSTRAND_SHARED_DATA when set, else the first "shared/data" found
// walking up from the test data folder. "" when none exists.
inline std::string SharedData(const std::string& rel) {
    if (const char* env = std::getenv("PLYSTRAND_SHARED_DATA")) return std::string(env) + "/" + rel;
    std::string dir = std::getenv("PLYSTRAND_TEST_DATA") ? std::getenv("PLYSTRAND_TEST_DATA") : ".";
    for (int up = 0; up < 6; ++up) {
        std::string candidate = dir + "/shared/data";
        struct stat st;
        if (::stat(candidate.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            return candidate + "/" + rel;
        dir += "/..";
    }
    return "";
}

// A scratch path in the test temp folder, unique per process.
inline std::string TempPath(const std::string& name) {
    return ::testing::TempDir() + "xf_" + std::to_string(::getpid()) + "_" + name;
}

inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline bool Exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

}  // namespace xfiles

#endif  // PLYSTRAND_TESTS_SUPPORT_EXCHANGEFILES_H
