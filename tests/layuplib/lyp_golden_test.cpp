// The writer against its reference files: the model of awkward numbers
// (tests/support/LypGoldenModel.h) saves to exactly the bytes of
// tests/data/lyp/golden.lyp, plain and as gzip level 1, and what it reads
// back saves again unchanged.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

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
    return std::string(dir ? dir : "tests/data") + "/lyp/" + name;
}

// Record 001 holds the path saved to, so the file goes by the reference's
// own name into the working directory.
class LypGolden : public ::testing::Test {
  protected:
    CKpLayup model{nullptr, nullptr};
    void SetUp() override { lyptest::BuildGolden(model); }
    void TearDown() override {
        std::remove("golden.lyp");
        std::remove("golden.lyp.gz");
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
