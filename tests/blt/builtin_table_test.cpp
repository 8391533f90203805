// Every built-in against the registration table of the command bindings:
// position, name, argument count and the kind of each argument. The calls
// here never reach a Layup function: each one is refused by the argument
// check, so the table is checked without a model.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "blt/lamlayup.h"
#include "platform/MorvekStub.h"
#include "tests/support/BuiltinTable.h"

namespace {

const auto& kTable = kBuiltinTable;

std::vector<std::string> kindsOf(const Builtin& b) {
    return BuiltinKinds(b.kinds);
}

bool isArray(const std::string& k) {
    return k.size() > 2 && k.compare(k.size() - 2, 2, "[]") == 0;
}
char valueType(const std::string& k) {
    return k[0] == '>' ? k[1] : k[0];
}

// A record of the right kind: scalars 0, arrays of 64 entries, texts of 31.
void makeGood(SmSym* rec, const std::string& kind) {
    static const int ints[64] = {};
    static const float reals[64] = {};
    const char t = valueType(kind);
    if (isArray(kind)) {
        if (t == 'i') MorvekStubSymIntArray(rec, ints, 64);
        if (t == 'r') MorvekStubSymRealArray(rec, reals, 64);
        if (t == 's') MorvekStubSymStringArray(rec, 64, 31);
        return;
    }
    if (t == 'i') MorvekStubSymInt(rec, 0);
    if (t == 'r') MorvekStubSymReal(rec, 0.0f);
    if (t == 's') MorvekStubSymString(rec, "", 31);
}

// A record of a kind the position never takes: a text for a number, a
// number for a text, an array of another type for an array.
void makeBad(SmSym* rec, const std::string& kind) {
    static const int ints[2] = {1, 2};
    const char t = valueType(kind);
    if (isArray(kind)) {
        if (t == 'i') MorvekStubSymStringArray(rec, 2, 8);
        else MorvekStubSymIntArray(rec, ints, 2);
        return;
    }
    if (t == 's') MorvekStubSymInt(rec, 1);
    else MorvekStubSymString(rec, "x", 8);
}

class Records {
  public:
    explicit Records(size_t n) : m_recs(n) {}
    ~Records() {
        for (SmSym& r : m_recs) MorvekStubSymFree(&r);
    }
    SmSym* at(size_t k) { return &m_recs[k]; }
    SmSym* data() { return m_recs.data(); }
    int size() const { return static_cast<int>(m_recs.size()); }

  private:
    std::vector<SmSym> m_recs;
};

struct Error {
    int cls, code, a, b;
};

std::vector<Error> errors() {
    std::vector<Error> out;
    for (int i = 0; i < MorvekStubErrorCount(); ++i) {
        Error e{};
        MorvekStubGetError(i, &e.cls, &e.code, &e.a, &e.b);
        out.push_back(e);
    }
    return out;
}

class BuiltinTable : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        // No host tables: no call here gets past its argument check.
        if (MorvekStubNumBuiltins() == 0) PlystrandBltInit();
    }
    void SetUp() override { MorvekStubReset(); }
    void TearDown() override { MorvekStubReset(); }
};

}  // namespace

TEST_F(BuiltinTable, RegisteredInTableOrder) {
    constexpr int n = static_cast<int>(sizeof(kTable) / sizeof(kTable[0]));
    ASSERT_EQ(n, 178);
    ASSERT_EQ(MorvekStubNumBuiltins(), n);
    for (int k = 1; k <= n; ++k) {
        const Builtin& b = kTable[k - 1];
        ASSERT_EQ(b.position, k);
        EXPECT_STREQ(MorvekStubBuiltinName(k), b.name) << "position " << k;
        EXPECT_EQ(static_cast<int>(kindsOf(b).size()), b.count) << b.name;
    }
    EXPECT_EQ(MorvekStubBuiltinName(n + 1), nullptr);
}

// One argument too many and one too few: 7000018 with the expected count,
// the result record untouched, nothing allocated.
TEST_F(BuiltinTable, EveryBuiltinChecksItsCount) {
    const long long blocks = MorvekStubBlocksInUse(16);
    for (const Builtin& b : kTable) {
        SmBltFn fn = MorvekStubFindBuiltin(b.name);
        ASSERT_NE(fn, nullptr) << b.name;
        for (int given : {b.count + 1, b.count - 1}) {
            if (given < 0) continue;
            MorvekStubReset();
            Records recs(static_cast<size_t>(given) + 1);
            for (int k = 0; k < given; ++k) MorvekStubSymInt(recs.at(static_cast<size_t>(k)), 0);
            SmSym result{};
            result.intValue = 12345;
            EXPECT_EQ(fn(given, recs.data(), &result), nullptr) << b.name;
            EXPECT_EQ(result.intValue, 12345) << b.name;
            const std::vector<Error> e = errors();
            ASSERT_EQ(e.size(), 1u) << b.name;
            EXPECT_EQ(e[0].code, 7000018) << b.name;
            EXPECT_EQ(e[0].a, b.count) << b.name;
            EXPECT_EQ(e[0].b, given) << b.name;
        }
    }
    EXPECT_EQ(MorvekStubBlocksInUse(16), blocks);
}

// Every argument of every built-in: a record of a wrong kind at position k
// is reported at k and nowhere else, before the call; the arguments before
// it (of the table's kinds) pass; no text-pointer array is left behind.
TEST_F(BuiltinTable, WrongKindIsReportedAtItsPositionOnly) {
    const long long blocks = MorvekStubBlocksInUse(16);
    for (const Builtin& b : kTable) {
        SmBltFn fn = MorvekStubFindBuiltin(b.name);
        ASSERT_NE(fn, nullptr) << b.name;
        const std::vector<std::string> kinds = kindsOf(b);
        for (size_t bad = 0; bad < kinds.size(); ++bad) {
            MorvekStubReset();
            Records recs(kinds.size());
            for (size_t k = 0; k < kinds.size(); ++k) {
                if (k == bad) makeBad(recs.at(k), kinds[k]);
                else makeGood(recs.at(k), kinds[k]);
            }
            SmSym result{};
            EXPECT_EQ(fn(recs.size(), recs.data(), &result), nullptr)
                << b.name << " argument " << bad + 1 << " (" << kinds[bad] << ")";
            const std::vector<Error> e = errors();
            ASSERT_EQ(e.size(), 1u) << b.name << " argument " << bad + 1;
            EXPECT_EQ(e[0].code, 7000019) << b.name << " argument " << bad + 1;
            EXPECT_EQ(e[0].a, static_cast<int>(bad) + 1) << b.name;
            EXPECT_EQ(MorvekStubBlocksInUse(16), blocks) << b.name << " argument " << bad + 1;
        }
    }
}

// A negative element count of any array argument: 7000075 at its position,
// no call, nothing left allocated.
TEST_F(BuiltinTable, NegativeArrayCountsAreRefused) {
    const long long blocks = MorvekStubBlocksInUse(16);
    int arrays = 0;
    for (const Builtin& b : kTable) {
        SmBltFn fn = MorvekStubFindBuiltin(b.name);
        ASSERT_NE(fn, nullptr) << b.name;
        const std::vector<std::string> kinds = kindsOf(b);
        for (size_t bad = 0; bad < kinds.size(); ++bad) {
            if (!isArray(kinds[bad])) continue;
            ++arrays;
            MorvekStubReset();
            Records recs(kinds.size());
            for (size_t k = 0; k < kinds.size(); ++k) makeGood(recs.at(k), kinds[k]);
            MorvekStubSymSetCount(recs.at(bad), -1);
            SmSym result{};
            EXPECT_EQ(fn(recs.size(), recs.data(), &result), nullptr) << b.name;
            const std::vector<Error> e = errors();
            ASSERT_EQ(e.size(), 1u) << b.name << " argument " << bad + 1;
            EXPECT_EQ(e[0].code, 7000075) << b.name;
            EXPECT_EQ(e[0].a, static_cast<int>(bad) + 1) << b.name;
            MorvekStubSymSetCount(recs.at(bad), 64);
        }
    }
    EXPECT_GT(arrays, 100);
    EXPECT_EQ(MorvekStubBlocksInUse(16), blocks);
}
