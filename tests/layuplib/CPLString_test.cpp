#include "layuplib/CPLString.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "layuplib/CPLPath.h"
#include "layuplib/CPLStringUtils.h"
#include "layuplib/CTemplateArray.h"

namespace {

// Mirror of the string's members behind its virtual table pointer, so that a
// test can see the capacity that the growth rule gives.
struct StringLayout {
    void* vtable;
    char* buffer;
    int length;
    int capacity;
    int growStep;
};
static_assert(sizeof(StringLayout) == sizeof(CPLString), "member layout changed");

StringLayout layoutOf(const CPLString& s) {
    StringLayout l;
    std::memcpy(&l, static_cast<const void*>(&s), sizeof l);
    return l;
}

}  // namespace

TEST(CPLString, GrowthRuleGivesStepPlusNeeded) {
    CPLString s;
    s = "0123456789";
    StringLayout l = layoutOf(s);
    EXPECT_EQ(std::vector<int>({l.length, l.capacity, l.growStep}), std::vector<int>({10, 90, 80}));
    s += "x";  // fits: capacity stays
    EXPECT_EQ(layoutOf(s).capacity, 90);
    s.Size(95);  // 95 >= 90: capacity 80 + 95
    EXPECT_EQ(layoutOf(s).capacity, 175);

    CPLString e;
    e = nullptr;  // the empty text still gets a buffer
    EXPECT_STREQ(e.GetBuffer(), "");
    EXPECT_EQ(layoutOf(e).capacity, 80);
}

TEST(CPLString, AssignAppendAndSelfReference) {
    CPLString s("abc");
    s = s.GetBuffer();  // own buffer: nothing happens
    EXPECT_STREQ(s, "abc");
    s = s.GetBuffer() + 1;  // a tail of the own buffer
    EXPECT_STREQ(s, "bc");
    s += s;
    EXPECT_STREQ(s, "bcbc");
    s += 'x';
    s += -42;
    s << "!";
    EXPECT_EQ(s.Size(), 9);
    CPLString t = s + "?" + CPLString("#");
    EXPECT_STREQ(t, "bcbcx-42!?#");

    // Text written straight into the buffer is counted when asked.
    CPLString w;
    ASSERT_EQ(w.Size(5), 0);
    std::strcpy(w.GetBuffer(), "hi");
    EXPECT_EQ(w.UpdateSize(), 2);
    EXPECT_EQ(w.Size(-1), 1);
}

TEST(CPLString, EqualityAndCompareRules) {
    CPLString none, empty(""), a("abc"), b("abd"), high("\xE9");
    // No buffer equals nothing, but as the other side it counts as "".
    EXPECT_EQ(std::vector<int>({none == "x", none == none, a == static_cast<const char*>(nullptr),
                                a == "abc", a == "ABC", empty == none}),
              std::vector<int>({0, 0, 0, 1, 0, 1}));
    // Bytes compare unsigned.
    EXPECT_EQ(std::vector<int>({a.Compare(&b), b.Compare(&a), a.Compare(&a), a.Compare(&high),
                                a.Compare(nullptr), a.Compare(&none)}),
              std::vector<int>({-1, 1, 0, -1, 1, 1}));
}

TEST(CPLString, FindCountTrimCaseAndSubString) {
    CPLString s("a;b;;c");
    EXPECT_EQ(std::vector<int>({s.Find(';'), s.Find('z'), s.Find(";;"),
                                s.Find(static_cast<const char*>(nullptr)), s.CountTokens(';')}),
              std::vector<int>({1, -1, 3, -1, 3}));

    CPLString t(" \t\x01 mid dle \xA0\r\n");
    t.Trim();
    EXPECT_STREQ(t, "mid dle");
    CPLString r("  x \t ");
    r.RTrim();
    EXPECT_STREQ(r, "  x");
    r.ToUpper();
    EXPECT_STREQ(r, "  X");

    CPLString src("abcdef");
    EXPECT_STREQ(src.SubString(2, 3), "cde");
    EXPECT_STREQ(src.SubString(4, 10), "ef");  // clipped at the end
    EXPECT_STREQ(src.SubString(7, 1), "");     // start beyond the text
}

TEST(CPLString, SplitDropsInnerEmptiesKeepsLastPiece) {
    CTemplateArray<CPLString> out(4);
    struct Case {
        const char* text;
        const char* sep;
        std::vector<const char*> pieces;
    } cases[] = {
        {"a;;b", ";", {"a", "b"}},
        {"", ";", {""}},
        {"a;", ";", {"a", ""}},
        {";x", ";", {"x"}},
        {"dir1::dir2", "::", {"dir1", "dir2"}},
        {"whole", "", {"whole"}},
    };
    for (const Case& c : cases) {
        CPLString s(c.text);
        ASSERT_EQ(s.Split(out, c.sep), 0) << c.text;
        ASSERT_EQ(out.GetSize(), static_cast<int>(c.pieces.size())) << c.text;
        for (int i = 0; i < out.GetSize(); ++i) EXPECT_STREQ(*out[i], c.pieces[i]) << c.text;
    }
    CPLString("a;b").Split(out, ";");
    EXPECT_EQ(CPLString("a").Split(out, nullptr), 1);
    EXPECT_EQ(out.GetSize(), 0);
    EXPECT_EQ(CPLString().Split(out, ";"), 0);
    EXPECT_EQ(out.GetSize(), 0);
}

TEST(CPLStringUtils, TextHelpers) {
    using U = CPLStringUtils;
    EXPECT_EQ(std::vector<int>({U::IsNumber("1.5E+03"), U::IsNumber(" -2 "), U::IsNumber(""),
                                U::IsNumber("12a"), U::IsNumber(nullptr)}),
              std::vector<int>({1, 1, 1, 0, 0}));
    EXPECT_EQ(std::vector<int>({U::StrICmp("Hello", "hELLO"), U::StrICmp("abc", "abD"),
                                U::StrICmp("ab", "abc"), U::StrICmp(nullptr, "a")}),
              std::vector<int>({0, 'c' - 'D', -'c', 1}));

    char text[] = "xaby";
    EXPECT_EQ(CPLStringUtils::RemoveString(text, "ab"), 0);
    EXPECT_STREQ(text, "xy");
    EXPECT_EQ(CPLStringUtils::RemoveString(text, "q"), 1);

    char path[] = "a\\b/c";
    CPLStringUtils::MakePathPlatformSafe(path, 1);
    EXPECT_STREQ(path, "a/b/c");
    CPLStringUtils::MakePathPlatformSafe(path, 0);
    EXPECT_STREQ(path, "a\\b\\c");
}

TEST(CPLPath, PathPartsAndExtension) {
    EXPECT_EQ(CPLPath::GetFilenamePos("a/b\\c.txt"), 3);
    EXPECT_EQ(CPLPath::GetFilenamePos("plain"), -1);

    const char* path = "dir/sub\\file.tar.gz";
    char out[32];
    CPLPath::GetPath(path, out);
    EXPECT_STREQ(out, "dir/sub");
    CPLPath::GetPath("/root", out);
    EXPECT_STREQ(out, "");  // separator at the start
    CPLPath::GetFilename(path, out);
    EXPECT_STREQ(out, "file.tar.gz");
    CPLString name;
    CPLPath::GetFilename("noslash", name);
    EXPECT_STREQ(name, "noslash");

    CPLString ext;
    CPLPath::GetExtension("name", ext);
    EXPECT_STREQ(ext, "name");
    CPLPath::GetExtension("a.b.c", ext);
    EXPECT_STREQ(ext, "c");
    EXPECT_EQ(CPLPath::GetExtension(nullptr, ext), 1);
}
