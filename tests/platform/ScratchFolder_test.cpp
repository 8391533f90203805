// The test programs' main (tests/support/ScratchFolderMain.cpp): each test
// starts in an empty folder of its own, which is also where TempDir() and
// TMPDIR point, so tests run side by side never meet each other's files.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// Each case writes the same name and must not find it already there.
void CheckOwnEmptyFolder() {
    const fs::path here = fs::current_path();
    EXPECT_TRUE(fs::equivalent(::testing::TempDir(), here)) << ::testing::TempDir() << " " << here;
    const char* tmp = std::getenv("TMPDIR");
    ASSERT_NE(tmp, nullptr);
    EXPECT_TRUE(fs::equivalent(tmp, here)) << tmp << " " << here;
    EXPECT_FALSE(fs::equivalent("/tmp", here));
    EXPECT_TRUE(fs::is_empty(here)) << here;
    EXPECT_FALSE(fs::exists("shared.txt"));
    std::ofstream("shared.txt") << "x";
    EXPECT_TRUE(fs::exists(here / "shared.txt"));
}

}  // namespace

TEST(ScratchFolder, FirstCaseStartsInAnEmptyFolderOfItsOwn) {
    CheckOwnEmptyFolder();
}

TEST(ScratchFolder, SecondCaseFindsNothingTheFirstWrote) {
    CheckOwnEmptyFolder();
}
