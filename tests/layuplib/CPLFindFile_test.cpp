#include "layuplib/CPLFindFile.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// A temporary directory holding:
//   b.so (5 bytes), a.so (0 bytes), c.txt (3 bytes), sub.so/ (a directory)
class CPLFindFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string tmpl = ::testing::TempDir() + "cplfind_XXXXXX";
        ASSERT_NE(mkdtemp(&tmpl[0]), nullptr);
        dir = tmpl;
        Make("b.so", "12345");
        Make("a.so", "");
        Make("c.txt", "abc");
        std::filesystem::create_directory(dir + "/sub.so");
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    void Make(const char* name, const char* bytes) {
        FILE* f = std::fopen((dir + "/" + name).c_str(), "wb");
        std::fputs(bytes, f);
        std::fclose(f);
    }

    std::string dir;
};

}  // namespace

TEST_F(CPLFindFileTest, MatchesComeSortedWithAttributes) {
    CPLFindFile find;
    EXPECT_EQ(find.FindNext(), 1);  // before FindFirst
    ASSERT_EQ(find.SetPath(dir.c_str()), 0);
    ASSERT_EQ(find.SetMask("*.so"), 0);

    std::vector<std::string> names, full;
    std::vector<int> dirs;
    std::vector<unsigned> sizes;
    for (int r = find.FindFirst(); r == 0; r = find.FindNext()) {
        names.push_back(find.GetFilename());
        full.push_back(find.GetFullFilePath());
        dirs.push_back(find.IsDirectory());
        sizes.push_back(find.GetFileSize());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"a.so", "b.so", "sub.so"}));
    EXPECT_EQ(full[1], dir + "/b.so");
    EXPECT_EQ(dirs, (std::vector<int>{0, 0, 1}));
    EXPECT_EQ(sizes[0], 0u);
    EXPECT_EQ(sizes[1], 5u);
    EXPECT_EQ(find.IsValid(), 1);
    EXPECT_EQ(find.FindNext(), 1);
    find.Close();
    EXPECT_EQ(find.IsValid(), 0);
    EXPECT_STREQ(find.GetFullFilePath(), "");
}

TEST_F(CPLFindFileTest, PathEndingWithSeparatorAndSingleEntry) {
    CPLFindFile find;
    find.SetPath((dir + "/").c_str());
    find.SetMask("c.???");
    ASSERT_EQ(find.FindFirst(), 0);
    EXPECT_EQ(std::string(find.GetFullFilePath()), dir + "/c.txt");
    EXPECT_EQ(find.GetFileSize(), 3u);
    EXPECT_EQ(find.FindNext(), 1);

    // Without a mask the path names the one entry searched for.
    CPLFindFile one;
    one.SetPath((dir + "/sub.so").c_str());
    ASSERT_EQ(one.FindFirst(), 0);
    EXPECT_STREQ(one.GetFilename(), "sub.so");
    EXPECT_EQ(one.IsDirectory(), 1);

    // SetPath ends the running search.
    find.SetPath(dir.c_str());
    EXPECT_EQ(find.IsValid(), 0);
    EXPECT_EQ(find.SetPath(nullptr), 1);
    EXPECT_EQ(find.SetMask(nullptr), 1);
}

TEST_F(CPLFindFileTest, FailuresAreClean) {
    CPLFindFile find;
    find.SetPath(dir.c_str());
    find.SetMask("*.dll");
    EXPECT_EQ(find.FindFirst(), 1);
    EXPECT_EQ(find.IsValid(), 0);

    find.SetPath((dir + "/missing").c_str());
    find.SetMask("*");
    EXPECT_EQ(find.FindFirst(), 1);

    // A path far beyond what the platform accepts.
    std::string deep = dir;
    for (int i = 0; i < 800; ++i) deep += "/abcdefgh";
    find.SetPath(deep.c_str());
    EXPECT_EQ(find.FindFirst(), 1);
    EXPECT_EQ(find.FindNext(), 1);
    EXPECT_STREQ(find.GetFilename(), "");
}
