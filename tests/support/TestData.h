#ifndef PLYSTRAND_TESTS_SUPPORT_TESTDATA_H
#define PLYSTRAND_TESTS_SUPPORT_TESTDATA_H

#include <cstdlib>
#include <string>

// Path of a sample file under tests/data/<format>/: the folder named by
// PLYSTRAND_TEST_DATA (set by CTest), else tests/data beside this header's
// test tree, so a test binary also runs by hand from any directory.
inline std::string TestDataFile(const std::string& format, const std::string& name) {
    const char* dir = std::getenv("PLYSTRAND_TEST_DATA");
    std::string root = dir ? dir : std::string(__FILE__);
    if (!dir) root = root.substr(0, root.find_last_of('/')) + "/../data";
    return root + "/" + format + "/" + name;
}

#endif  // PLYSTRAND_TESTS_SUPPORT_TESTDATA_H
