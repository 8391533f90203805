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
#include <vector>

// Helpers for the exchange-file tests: the sample files of tests/data,
// scratch files and their contents.
namespace xfiles {

// Path of `rel` under the test data folder ("cdb/HexBeam.cdb"): the folder
// PLYSTRAND_TEST_DATA names when set, else tests/data of this source tree.
inline std::string SampleFile(const std::string& rel) {
    if (const char* env = std::getenv("PLYSTRAND_TEST_DATA")) return std::string(env) + "/" + rel;
    std::string here = __FILE__;  // tests/support/ExchangeFiles.h
    here = here.substr(0, here.find_last_of('/'));
    return here + "/../data/" + rel;
}

// Removes `path` when the test program ends (files a test leaves for a
// later look are gone after the run).
inline void RemoveAtExit(const std::string& path) {
    struct Registry {
        std::vector<std::string> paths;
        ~Registry() {
            for (const std::string& p : paths) std::remove(p.c_str());
        }
    };
    static Registry registry;
    registry.paths.push_back(path);
}

// A scratch path in the test temp folder, unique per process; the file is
// removed when the program ends.
inline std::string TempPath(const std::string& name) {
    std::string path = ::testing::TempDir() + "xf_" + std::to_string(::getpid()) + "_" + name;
    RemoveAtExit(path);
    return path;
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
