// The writer against its reference files: the model of awkward numbers
// (tests/support/LypGoldenModel.h) saves to exactly the bytes of
// tests/data/lyp/golden.lyp, plain and as gzip level 1, and what it reads
// back saves again unchanged.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/LypGoldenModel.h"

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string DataFile(const char* name) {
    const char* dir = std::getenv("PLYSTRAND_TEST_DATA");
    // An absolute folder: the tests change their working folder.
    std::string root = dir ? dir : std::string(__FILE__);
    if (!dir) root = root.substr(0, root.find_last_of('/')) + "/../data";
    return root + "/lyp/" + name;
}

// Record 001 holds the path saved to, so the file goes by the reference's
// own name into a working folder of the test's own (tests run side by side).
class LypGolden : public ::testing::Test {
  protected:
    CKpLayup model{nullptr, nullptr};
    std::string home, scratch;
    void SetUp() override {
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        home = cwd;
        scratch = ::testing::TempDir() + "lypgolden_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
                  std::to_string(getpid());
        ASSERT_EQ(mkdir(scratch.c_str(), 0755) == 0 || errno == EEXIST, true);
        ASSERT_EQ(chdir(scratch.c_str()), 0);
        lyptest::BuildGolden(model);
    }
    void TearDown() override {
        std::remove("golden.lyp");
        std::remove("golden.lyp.gz");
        if (chdir(home.c_str()) == 0) rmdir(scratch.c_str());
    }
};

TEST_F(LypGolden, SavedBytesEqualTheReferencePlainAndGzip) {
    const std::string plain = Slurp(DataFile("golden.lyp"));
    ASSERT_GT(plain.size(), 1000u) << DataFile("golden.lyp");
    ASSERT_EQ(model.SaveLayup("golden.lyp", 1, 0), 0);
    EXPECT_TRUE(Slurp("golden.lyp") == plain) << "the plain file differs from the reference";
    ASSERT_EQ(model.SaveLayup("golden.lyp.gz", 1, 1), 0);
    EXPECT_TRUE(Slurp("golden.lyp.gz") == Slurp(DataFile("golden.lyp.gz")))
        << "the gzip stream differs from the reference";
}

TEST_F(LypGolden, ReadBackNumbersSaveUnchanged) {
    ASSERT_EQ(model.SaveLayup("golden.lyp", 0, 0), 0);
    const std::string first = Slurp("golden.lyp");
    CKpLayup reopened(nullptr, nullptr);
    ASSERT_EQ(reopened.OpenLayup("golden.lyp", 0), 0);
    ASSERT_EQ(reopened.SaveLayup("golden.lyp", 0, 0), 0);
    EXPECT_TRUE(Slurp("golden.lyp") == first);
}

}  // namespace
