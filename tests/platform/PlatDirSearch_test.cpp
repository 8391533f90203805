#include "platform/PlatDirSearch.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Names chosen so that byte order differs from case-blind order and
// creation order; "[x].so" checks that '[' stands for itself.
class PlatDirSearchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string tmpl = ::testing::TempDir() + "platdir_XXXXXX";
        ASSERT_NE(mkdtemp(&tmpl[0]), nullptr);
        dir = tmpl;
        for (const char* name : {"b.so", "B.so", "a.so", "[x].so", "ab.txt"}) {
            FILE* f = std::fopen((dir + "/" + name).c_str(), "wb");
            std::fputs(name, f);
            std::fclose(f);
        }
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::vector<std::string> All(const std::string& pattern) {
        std::vector<std::string> names;
        PlatFindRecord rec;
        PlatDirSearch* s = PlatFindFirst(pattern.c_str(), &rec);
        if (!s) return names;
        do names.push_back(rec.name);
        while (PlatFindNext(s, &rec) == 0);
        PlatFindClose(s);
        return names;
    }

    std::string dir;
};

}  // namespace

TEST_F(PlatDirSearchTest, WildcardsAndOrder) {
    using V = std::vector<std::string>;
    EXPECT_EQ(All(dir + "/*.so"), (V{"B.so", "[x].so", "a.so", "b.so"}));
    EXPECT_EQ(All(dir + "/?.so"), (V{"B.so", "a.so", "b.so"}));
    EXPECT_EQ(All(dir + "/[x]*"), (V{"[x].so"}));
    EXPECT_EQ(All(dir + "/*"), (V{"B.so", "[x].so", "a.so", "ab.txt", "b.so"}));
    EXPECT_EQ(All(dir + "/ab.txt"), (V{"ab.txt"}));
    EXPECT_EQ(All(dir + "/*.none"), V{});
    EXPECT_EQ(All(dir + "/"), V{});
}

TEST_F(PlatDirSearchTest, RecordFields) {
    PlatFindRecord rec;
    PlatDirSearch* s = PlatFindFirst((dir + "/ab.*").c_str(), &rec);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(rec.name, "ab.txt");
    EXPECT_EQ(rec.sizeLow, 6u);
    EXPECT_EQ(rec.attributes, 0u);
    EXPECT_EQ(PlatFindNext(s, &rec), 1);
    EXPECT_EQ(rec.name, "ab.txt");  // left alone
    PlatFindClose(s);

    EXPECT_EQ(PlatFindFirst(nullptr, &rec), nullptr);
    EXPECT_EQ(PlatFindNext(nullptr, &rec), 1);
    PlatFindClose(nullptr);
}
