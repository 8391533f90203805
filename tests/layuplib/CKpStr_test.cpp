#include "layuplib/CKpStr.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "layuplib/CKpStrSpaces.h"

namespace {

// Exposes the capacity, which callers observe through the growth rule.
struct ProbeStr : CKpStr {
    using CKpStr::CKpStr;
    using CKpStr::operator=;
    int Capacity() const { return m_capacity; }
};

std::vector<std::string> Pieces(const char* text, const char* separator, int trim,
                                int* status = nullptr) {
    CKpStr s(text);
    CVekTemplateArray<CKpStr> out(10);
    out.Add(new CKpStr("stale"));
    int rc = s.Split(out, separator, trim);
    if (status) *status = rc;
    std::vector<std::string> pieces;
    for (int i = 0; i < out.GetSize(); ++i) pieces.push_back(static_cast<const char*>(*out[i]));
    return pieces;
}

std::string Trimmed(const char* text) {
    CKpStr s(text);
    s.Trim();
    return std::string(s) + (s.Size() == static_cast<int>(std::strlen(s)) ? "" : "<bad length>");
}

// Both forms "with blanks|without"; null: the forms of a fresh object.
std::string Forms(const char* text) {
    CKpStrSpaces name;
    if (text) {
        name.Set("stale");
        name.Set(text);
    }
    return std::string(name.GetSpaces()) + "|" + name.GetNoSpaces();
}

}  // namespace

TEST(CKpStr, GrowthRule) {
    ProbeStr s;
    s = "0123456789";
    EXPECT_EQ(s.Capacity(), 10);
    s += "abcde";
    EXPECT_EQ(s.Capacity(), 105);

    // The empty text asks for one character: a new buffer of 1, then +81.
    ProbeStr e;
    e = "";
    EXPECT_EQ(e.Capacity(), 1);
    e = "";
    EXPECT_EQ(e.Capacity(), 82);

    s = nullptr;
    EXPECT_EQ(s.Buffer(), nullptr);
    EXPECT_EQ(s.Capacity(), 0);
}

TEST(CKpStr, AssignCopyAndSet) {
    CKpStr none;
    CKpStr copy(none);
    ASSERT_NE(copy.Buffer(), nullptr);
    CKpStr s("name");
    s = s.Buffer();
    const CKpStr& self = s;
    s = self;
    EXPECT_STREQ(s, "name");
    s.Set("abcdef", 3);
    EXPECT_STREQ(s, "abc");
    s.Set(nullptr, 4);
    ASSERT_NE(s.Buffer(), nullptr);
}

TEST(CKpStr, AppendFormats) {
    CKpStr s("id");
    s += -12;
    s += ' ';
    s += 2.5;
    s += ' ';
    s += 1e-07;
    EXPECT_STREQ(s, "id-12 2.5 1E-07");
    s += '\0';
    EXPECT_EQ(s.Size(), 15);
    // Appending the string to itself must survive the buffer moving.
    CKpStr t("0123456789");
    t += t;
    t += t.Buffer() + 15;
    EXPECT_STREQ(t, "0123456789012345678956789");
    CKpStr none, other("x");
    other += none;
    none += other;
    EXPECT_STREQ(none, "x");
}

TEST(CKpStr, Equality) {
    CKpStr a, b, empty(""), ply("Ply");
    const char* none = nullptr;
    EXPECT_EQ(std::vector<bool>({a == b, a == none, a == "", empty == a, a == empty, empty == none,
                                 ply == "ply", ply == CKpStr("Ply")}),
              std::vector<bool>({false, true, false, true, false, false, false, true}));
}

TEST(CKpStr, FindAndSubString) {
    CKpStr s("abc");
    EXPECT_EQ(std::vector<int>({s.Find('x', 0), s.Find('c', 2), s.Find('c', 3), s.Find('a', -1),
                                CKpStr("a\xFE").Find('\xFE', 0)}),
              std::vector<int>({-1, 2, -1, -1, 1}));
    // Positions outside the text are clamped to it.
    const std::vector<std::string> subs = {
        std::string(s.SubString(1, -1)),      std::string(s.SubString(0, 2)),
        std::string(s.SubString(2, 10)),      std::string(s.SubString(7, 1)),
        std::string(s.SubString(-3, 1)),      std::string(s.SubString(1, -5)),
        std::string(CKpStr().SubString(0, 3))};
    EXPECT_EQ(subs, (std::vector<std::string>{"bc", "ab", "c", "", "a", "", ""}));
    s.SubString(s, 1, 1);
    EXPECT_STREQ(s, "b");
    s = "Ply A1";
    s.ToLower();
    EXPECT_STREQ(s, "ply a1");
}

TEST(CKpStr, TrimOnlyWhenAnEndIsBlank) {
    EXPECT_EQ(Trimmed("\tabc\t"), "\tabc\t");
    EXPECT_EQ(Trimmed(" abc\t\n"), "abc");
    // Bytes 128..255 count as blanks once trimming starts.
    EXPECT_EQ(Trimmed(" \xE9x\xA0 "), "x");
    EXPECT_EQ(Trimmed("   "), "");
}

TEST(CKpStr, TextWrittenIntoBufferGetsItsLength) {
    CKpStr s("old text");
    ASSERT_EQ(s.Size(6), 0);
    std::memcpy(s.Buffer(), "  ab  ", 6);
    EXPECT_EQ(s.Size(), 6);
    EXPECT_EQ(s.Find('b', 0), 3);
    s.Trim();
    EXPECT_STREQ(s, "ab");
    // Requests the capacity cannot express change nothing.
    EXPECT_EQ(s.Size(-1), -1);
    EXPECT_EQ(s.Size(INT_MAX - 50), -1);
    EXPECT_STREQ(s, "ab");
}

TEST(CKpStr, Split) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Pieces("a,b,", ",", 0), (V{"a", "b", ""}));
    EXPECT_EQ(Pieces("", ",", 0), (V{""}));
    EXPECT_EQ(Pieces("a , b", ",", 1), (V{"a", "b"}));
    EXPECT_EQ(Pieces("x::y::::z", "::", 0), (V{"x", "y", "", "z"}));
    int status[3] = {-7, -7, -7};
    EXPECT_EQ(Pieces("a,b", nullptr, 0, &status[0]), V{});
    EXPECT_EQ(Pieces("a,b", "", 0, &status[1]), V{});
    EXPECT_EQ(Pieces(nullptr, ",", 0, &status[2]), V{});
    EXPECT_EQ(std::vector<int>(status, status + 3), (std::vector<int>{1, 1, 0}));
}

TEST(CKpStrSpaces, BothForms) {
    EXPECT_EQ(Forms(nullptr), "|\xFE");
    EXPECT_EQ(Forms("Ply 1"),
              "Ply 1|Ply\xFE"
              "1");
    // The blank-free form read back from a file gives the blanks again.
    EXPECT_EQ(Forms("Ply\xFE\xFE"
                    "A \xFE\xFE"),
              "Ply  A |Ply\xFE\xFE"
              "A\xFE");
    EXPECT_EQ(Forms("\xFE"), "|\xFE");
}
