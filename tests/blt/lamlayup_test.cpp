#include "blt/lamlayup.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "host/LayupApi.h"
#include "host/LayupOut.h"
#include "layuplib/ILayup.h"
#include "platform/MorvekStub.h"

namespace {

// The host tables: the stand-in's, except a message table of our own whose
// message entry also notes the text pointers of the running built-in's
// fourth argument (the import's file names), to see what the function got.
std::vector<std::string> g_messages;
std::vector<long> g_textOffsets;

int poll0() {
    return 0;
}
int poll1() {
    return 1;  // no interrupt
}
int sendText(int, int, int, int, void*, int one, ...) {
    va_list args;
    va_start(args, one);
    const char* text = va_arg(args, const char*);
    va_end(args);
    g_messages.push_back(text ? text : "");
    int n = 0;
    const BltArg* a = BltCurrentArgs(&n);
    if (a && n == 14 && a[3].p) {
        char** names = static_cast<char**>(a[3].p);
        g_textOffsets.clear();
        for (int k = 0; k < a[3].count; ++k) g_textOffsets.push_back(names[k] - names[0]);
    }
    return 0;
}

int getter(int version, int tableId, MorvekHostTable* slot) {
    static MorvekHostEntry message[3] = {reinterpret_cast<MorvekHostEntry>(&poll0),
                                         reinterpret_cast<MorvekHostEntry>(&poll1),
                                         reinterpret_cast<MorvekHostEntry>(&sendText)};
    if (tableId == 12 && slot) {
        *slot = message;
        return 0;
    }
    return MorvekStubGetter(version, tableId, slot);
}

// Records for one call, freed at the end of the test.
class Args {
  public:
    explicit Args(int n) : m_recs(static_cast<size_t>(n)) {}
    ~Args() {
        for (SmSym& r : m_recs) MorvekStubSymFree(&r);
    }
    SmSym* at(int k) { return &m_recs[static_cast<size_t>(k)]; }
    SmSym* data() { return m_recs.data(); }
    int size() const { return static_cast<int>(m_recs.size()); }

  private:
    std::vector<SmSym> m_recs;
};

struct Error {
    int cls, code, a, b;
    bool operator==(const Error& o) const {
        return cls == o.cls && code == o.code && a == o.a && b == o.b;
    }
};
std::ostream& operator<<(std::ostream& out, const Error& e) {
    return out << e.cls << " " << e.code << " " << e.a << " " << e.b;
}

std::vector<Error> errors() {
    std::vector<Error> out;
    for (int i = 0; i < MorvekStubErrorCount(); ++i) {
        Error e{};
        MorvekStubGetError(i, &e.cls, &e.code, &e.a, &e.b);
        out.push_back(e);
    }
    return out;
}

class BuiltinTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(VekApiInit(&getter), 0);
        if (MorvekStubNumBuiltins() == 0) PlystrandBltInit();
    }
    void SetUp() override {
        MorvekStubReset();
        g_messages.clear();
        g_textOffsets.clear();
        std::memset(&result, 0xAB, sizeof result);
    }
    void TearDown() override {
        LayupDestruct();
        MorvekStubReset();
        std::remove(msgPath.c_str());
    }

    SmSym* call(const char* name, Args& args) {
        SmBltFn fn = MorvekStubFindBuiltin(name);
        EXPECT_NE(fn, nullptr) << name;
        return fn ? fn(args.size(), args.data(), &result) : nullptr;
    }
    // The record's first 40 bytes untouched since SetUp.
    bool resultUntouched() const {
        const unsigned char* b = reinterpret_cast<const unsigned char*>(&result);
        for (size_t i = 0; i < sizeof result; ++i)
            if (b[i] != 0xAB) return false;
        return true;
    }
    void construct() {
        Args a(3);
        MorvekStubSymInt(a.at(0), 0);
        MorvekStubSymString(a.at(1), "", 8);
        MorvekStubSymString(a.at(2), "", 8);
        ASSERT_EQ(call("kp_construct", a), &result);
        ASSERT_EQ(result.intValue, 0);
    }
    std::string messageFile() const {
        std::ostringstream s;
        s << std::ifstream(msgPath).rdbuf();
        return s.str();
    }

    SmSym result;
    std::string msgPath = ::testing::TempDir() + "blt_" + std::to_string(::getpid()) + ".msg";
};

}  // namespace

// The order and names are checked against the whole table in
// builtin_table_test.cpp.
TEST_F(BuiltinTest, RegistrationCreatesNoModelAndNamesAreUnique) {
    ASSERT_GT(MorvekStubNumBuiltins(), 0);
    std::set<std::string> seen;
    for (int k = 1; k <= MorvekStubNumBuiltins(); ++k)
        EXPECT_TRUE(seen.insert(MorvekStubBuiltinName(k)).second) << MorvekStubBuiltinName(k);
    EXPECT_EQ(MorvekStubBuiltinName(0), nullptr);
    EXPECT_EQ(LayupSlotModel(), nullptr);
}

TEST_F(BuiltinTest, ResultRecordAndCountErrors) {
    Args none(0);
    ASSERT_EQ(call("kp_destruct", none), &result);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&result);
    EXPECT_EQ(bytes[3], 1);
    EXPECT_EQ(bytes[2], 10);
    EXPECT_EQ(result.intValue, 1);  // no model

    // The count is checked before the kinds: a wrong first argument is not
    // looked at.
    std::memset(&result, 0xAB, sizeof result);
    Args four(4);
    for (int k = 0; k < 4; ++k) MorvekStubSymReal(four.at(k), 1.0f);
    EXPECT_EQ(call("kp_open_layup", four), nullptr);
    Args one(1);
    MorvekStubSymInt(one.at(0), 1);
    EXPECT_EQ(call("kp_destruct", one), nullptr);
    EXPECT_EQ(errors(), (std::vector<Error>{{103, 7000018, 3, 4}, {103, 7000018, 0, 1}}));
    EXPECT_TRUE(resultUntouched());
}

TEST_F(BuiltinTest, ScalarKindsAndConversions) {
    construct();
    Args open(1);
    MorvekStubSymString(open.at(0), msgPath.c_str(), static_cast<int>(msgPath.size()));
    ASSERT_EQ(call("kp_open_message", open), &result);
    ASSERT_EQ(result.intValue, 0);

    // Reals for integers are truncated toward zero.
    const std::string lyp = ::testing::TempDir() + "blt_" + std::to_string(::getpid()) + ".lyp";
    for (float detail : {2.9f, -2.9f}) {
        Args save(3);
        MorvekStubSymString(save.at(0), lyp.c_str(), 200);
        MorvekStubSymReal(save.at(1), detail);
        MorvekStubSymInt(save.at(2), 0);
        ASSERT_EQ(call("kp_save_layup", save), &result);
    }
    std::remove(lyp.c_str());
    const std::string log = messageFile();
    EXPECT_NE(log.find("detail=2 compress=0"), std::string::npos) << log;
    EXPECT_NE(log.find("detail=-2 compress=0"), std::string::npos) << log;

    // A real outside 32 bits, a NaN, an int array for i, a string array for s.
    std::memset(&result, 0xAB, sizeof result);
    const int ids[2] = {1, 2};
    for (int bad = 0; bad < 4; ++bad) {
        Args save(3);
        MorvekStubSymString(save.at(0), "x.lyp", 8);
        MorvekStubSymInt(save.at(1), 0);
        MorvekStubSymInt(save.at(2), 0);
        if (bad == 0) MorvekStubSymReal(save.at(1), 3.0e9f);
        if (bad == 1) MorvekStubSymReal(save.at(1), std::nanf(""));
        if (bad == 2) MorvekStubSymIntArray(save.at(2), ids, 2);
        if (bad == 3) MorvekStubSymStringArray(save.at(0), 2, 8);
        if (bad == 3) MorvekStubSymReal(save.at(2), 1.0f);  // not reported: the first is
        EXPECT_EQ(call("kp_save_layup", save), nullptr);
    }
    EXPECT_EQ(errors(), (std::vector<Error>{{103, 7000019, 2, -1},
                                            {103, 7000019, 2, -1},
                                            {103, 7000019, 3, -1},
                                            {103, 7000019, 1, -1}}));
    EXPECT_TRUE(resultUntouched());

    // A real array is taken for an i like a real; output kinds want their
    // own type.
    MorvekStubReset();
    const float reals[1] = {1.0f};
    Args versions(3);
    MorvekStubSymInt(versions.at(0), 0);
    MorvekStubSymInt(versions.at(1), 0);
    MorvekStubSymReal(versions.at(2), 0.0f);
    EXPECT_EQ(call("kp_get_versions", versions), nullptr);
    EXPECT_EQ(errors(), (std::vector<Error>{{103, 7000019, 3, -1}}));
    MorvekStubSymInt(versions.at(2), 0);
    ASSERT_EQ(call("kp_get_versions", versions), &result);
    EXPECT_EQ(SmSymGetIntVal(versions.at(0)), 20081003);
    EXPECT_EQ(SmSymGetIntVal(versions.at(2)), 20081110);
    Args save(3);
    MorvekStubSymString(save.at(0), "/nonexistent/x.lyp", 30);
    MorvekStubSymRealArray(save.at(1), reals, 1);
    MorvekStubSymInt(save.at(2), 0);
    ASSERT_EQ(call("kp_save_layup", save), &result);
    EXPECT_EQ(result.intValue, -1);  // the model's refusal, not an argument error
}

TEST_F(BuiltinTest, ArrayCountsAndLeastSizes) {
    construct();
    // Two unit quads 10 and 20 whose shared corners come twice, 0.5 apart:
    // an integer merge tolerance 1 becomes 1.0 and joins them.
    const int nodeIds[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    const float xyz[24] = {0,    0, 0, 1,    0, 0, 1,    1, 0, 0,    1, 0,
                           1.5f, 0, 0, 2.5f, 0, 0, 2.5f, 1, 0, 1.5f, 1, 0};
    const int elemIds[2] = {10, 20}, values[2] = {1, 1}, tops[2] = {4, 4};
    const int rows[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    auto mesh = [&](Args& a, int nNodes, int xyzCount) {
        MorvekStubSymInt(a.at(0), nNodes);
        MorvekStubSymIntArray(a.at(1), nodeIds, 8);
        MorvekStubSymRealArray(a.at(2), xyz, xyzCount);
        MorvekStubSymInt(a.at(3), 2);
        MorvekStubSymIntArray(a.at(4), elemIds, 2);
        MorvekStubSymIntArray(a.at(5), values, 2);
        MorvekStubSymIntArray(a.at(6), tops, 2);
        MorvekStubSymInt(a.at(7), 4);
        MorvekStubSymIntArray(a.at(8), rows, 8);
        MorvekStubSymInt(a.at(9), 1);
        MorvekStubSymReal(a.at(10), 0.0f);
    };
    Args a(11);
    mesh(a, 8, 24);
    ASSERT_EQ(call("kp_new_layup_mesh", a), &result);
    EXPECT_EQ(result.intValue, 0);
    int sizes[3] = {0, 0, 0};
    LayupSlotModel()->GetMeshSizes(&sizes[0], &sizes[1], &sizes[2]);
    EXPECT_EQ(sizes[0], 6);  // merged
    EXPECT_TRUE(errors().empty());

    // Fewer coordinates than 3 per node, fewer ids than nodes, a row array
    // shorter than width x elements: refused at that position, no call.
    Args b(11);
    mesh(b, 8, 23);
    EXPECT_EQ(call("kp_new_layup_mesh", b), nullptr);
    mesh(b, 9, 24);  // ids are checked before coordinates
    EXPECT_EQ(call("kp_new_layup_mesh", b), nullptr);
    mesh(b, 8, 24);
    MorvekStubSymInt(b.at(7), 5);
    EXPECT_EQ(call("kp_new_layup_mesh", b), nullptr);
    // An int array for r[], a negative count.
    mesh(b, 8, 24);
    MorvekStubSymIntArray(b.at(2), nodeIds, 8);
    EXPECT_EQ(call("kp_new_layup_mesh", b), nullptr);
    mesh(b, 8, 24);
    MorvekStubSymSetCount(b.at(4), -1);
    EXPECT_EQ(call("kp_new_layup_mesh", b), nullptr);
    EXPECT_EQ(errors(), (std::vector<Error>{{103, 7000019, 3, -1},
                                            {103, 7000019, 2, -1},
                                            {103, 7000019, 9, -1},
                                            {103, 7000019, 3, -1},
                                            {103, 7000075, 5, -1}}));
    LayupSlotModel()->GetMeshSizes(&sizes[0], &sizes[1], &sizes[2]);
    EXPECT_EQ(sizes[1], 2);  // no call reached the model

    // Empty arrays: warned, passed as null; the model refuses 1 node
    // without coordinates with its own message.
    MorvekStubReset();
    Args c(11);
    mesh(c, 0, 0);
    MorvekStubSymIntArray(c.at(1), nullptr, 0);
    MorvekStubSymInt(c.at(3), 0);
    for (int k : {4, 5, 6, 8}) MorvekStubSymIntArray(c.at(k), nullptr, 0);
    ASSERT_EQ(call("kp_new_layup_mesh", c), &result);
    EXPECT_EQ(result.intValue, 0);
    EXPECT_EQ(errors(), (std::vector<Error>{{101, 7000008, 2, -1},
                                            {101, 7000008, 3, -1},
                                            {101, 7000008, 5, -1},
                                            {101, 7000008, 6, -1},
                                            {101, 7000008, 7, -1},
                                            {101, 7000008, 9, -1}}));
}

TEST_F(BuiltinTest, TextPointerArraysAreMadeAndGivenBack) {
    construct();
    auto import = [&](Args& a) {
        const int ids[1] = {1};
        MorvekStubSymInt(a.at(0), 1);
        MorvekStubSymIntArray(a.at(1), ids, 1);
        MorvekStubSymInt(a.at(2), 3);
        MorvekStubSymStringArray(a.at(3), 3, 31);
        MorvekStubSymReal(a.at(4), 30.0f);
        MorvekStubSymReal(a.at(5), 0.1f);
        for (int k = 6; k <= 10; ++k) MorvekStubSymInt(a.at(k), 0);
        MorvekStubSymReal(a.at(11), 0.0f);
        MorvekStubSymInt(a.at(12), 0);
        MorvekStubSymIntArray(a.at(13), ids, 1);
    };
    const long long before = MorvekStubBlocksInUse(16);
    Args a(14);
    import(a);
    ASSERT_EQ(call("kp_import_ply", a), &result);
    EXPECT_EQ(result.intValue, 0);  // the empty file names are reported and skipped
    EXPECT_EQ(g_textOffsets, (std::vector<long>{0, 32, 64}));
    EXPECT_EQ(MorvekStubBlocksInUse(16), before);

    // An error after the string array leaves no block behind; so does a
    // refused allocation, which stops the call at the array.
    std::memset(&result, 0xAB, sizeof result);
    g_messages.clear();
    MorvekStubSymString(a.at(4), "thirty", 8);
    EXPECT_EQ(call("kp_import_ply", a), nullptr);
    EXPECT_EQ(MorvekStubBlocksInUse(16), before);
    import(a);
    MorvekStubFail("MemAllocX", 1);
    EXPECT_EQ(call("kp_import_ply", a), nullptr);
    EXPECT_EQ(MorvekStubBlocksInUse(16), before);
    // File names fewer than the file count.
    MorvekStubSymInt(a.at(2), 4);
    EXPECT_EQ(call("kp_import_ply", a), nullptr);
    EXPECT_EQ(MorvekStubBlocksInUse(16), before);
    EXPECT_EQ(errors(), (std::vector<Error>{
                            {103, 7000019, 5, -1}, {103, 7000019, 4, -1}, {103, 7000019, 4, -1}}));
    EXPECT_TRUE(g_messages.empty());  // no function ran
    EXPECT_TRUE(resultUntouched());
}

// The uncovered ids of a ply import go into a host array that must hold
// every element of the area: all of a 3-element strip for area count -1.
TEST_F(BuiltinTest, ImportPlyRefusesAnUncoveredIdArrayShorterThanTheArea) {
    construct();
    const int nodeIds[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    const float xyz[24] = {0, 0, 0, 1, 0, 0, 2, 0, 0, 3, 0, 0, 0, 1, 0, 1, 1, 0, 2, 1, 0, 3, 1, 0};
    const int elemIds[3] = {1, 2, 3};
    const int quads[3] = {4, 4, 4};
    const int rows[12] = {1, 2, 6, 5, 2, 3, 7, 6, 3, 4, 8, 7};
    ASSERT_EQ(LayupNewLayupMesh(8, const_cast<int*>(nodeIds), const_cast<float*>(xyz), 3,
                                const_cast<int*>(elemIds), const_cast<int*>(quads),
                                const_cast<int*>(quads), 4, const_cast<int*>(rows), 0.0f, 0.0f),
              0);
    const int guard = 0x5A5A5A5A;
    for (int capacity : {2, 3}) {
        Args a(14);
        MorvekStubSymInt(a.at(0), -1);
        MorvekStubSymIntArray(a.at(1), nullptr, 0);
        MorvekStubSymInt(a.at(2), 0);
        MorvekStubSymStringArray(a.at(3), 0, 8);
        MorvekStubSymReal(a.at(4), 30.0f);
        MorvekStubSymReal(a.at(5), 0.1f);
        for (int k = 6; k <= 10; ++k) MorvekStubSymInt(a.at(k), 0);
        MorvekStubSymReal(a.at(11), 0.0f);
        MorvekStubSymInt(a.at(12), -1);
        // One entry more than reported, to see that nothing lands there.
        const std::vector<int> init(static_cast<size_t>(capacity) + 1, guard);
        MorvekStubSymIntArray(a.at(13), init.data(), capacity + 1);
        MorvekStubSymSetCount(a.at(13), capacity);
        g_messages.clear();
        ASSERT_EQ(call("kp_import_ply", a), &result);
        const int* out = SmSymGetIntPtr(a.at(13));
        EXPECT_EQ(out[capacity], guard);
        if (capacity == 2) {
            EXPECT_EQ(result.intValue, -1);
            EXPECT_EQ(SmSymGetIntVal(a.at(12)), -1);
            EXPECT_EQ(out[0], guard);
            ASSERT_FALSE(g_messages.empty());
            EXPECT_EQ(g_messages.back(),
                      "LayupImportPly: the uncovered id array holds fewer than the 3 area "
                      "elements.");
        } else {
            EXPECT_EQ(result.intValue, 0);  // no file: every element stays uncovered
            EXPECT_EQ(SmSymGetIntVal(a.at(12)), 3);
            EXPECT_EQ(std::vector<int>(out, out + 3), (std::vector<int>{1, 2, 3}));
        }
    }
}

TEST_F(BuiltinTest, PlotBuiltinsRefuseShortArrays) {
    construct();
    const float three[3] = {1, 0, 0};
    const int ids[2] = {3, 1};
    // Point and direction take 3 reals each; the offsets likewise.
    for (int shortArg : {0, 1, 2}) {
        Args a(5);
        MorvekStubSymRealArray(a.at(0), three, shortArg == 1 ? 2 : 3);
        MorvekStubSymRealArray(a.at(1), three, shortArg == 2 ? 2 : 3);
        for (int k = 2; k < 5; ++k) MorvekStubSymReal(a.at(k), 0.5f);
        EXPECT_EQ(call("kp_plot_layup_cross_section", a), shortArg ? nullptr : &result);
    }
    EXPECT_EQ(result.intValue, 0);
    Args exploded(4);
    MorvekStubSymInt(exploded.at(0), 1);
    MorvekStubSymRealArray(exploded.at(1), three, 2);
    MorvekStubSymInt(exploded.at(2), 7);
    MorvekStubSymInt(exploded.at(3), 1);
    EXPECT_EQ(call("kp_plot_layup_exploded", exploded), nullptr);
    // Element ids as many as counted (-1: every element, none needed).
    for (int count : {3, -1}) {
        Args elems(6);
        MorvekStubSymInt(elems.at(0), count);
        MorvekStubSymIntArray(elems.at(1), ids, 2);
        MorvekStubSymRealArray(elems.at(2), three, 3);
        for (int k = 3; k < 6; ++k) MorvekStubSymInt(elems.at(k), 7);
        EXPECT_EQ(call("kp_plot_elems", elems), count < 0 ? &result : nullptr);
    }
    EXPECT_EQ(result.intValue, 0);
    // Laminate names and layer numbers as many as counted; a negative layer
    // count needs none.
    for (int variant : {0, 1, 2}) {
        Args lams(6);
        MorvekStubSymInt(lams.at(0), variant == 0 ? 2 : 1);
        MorvekStubSymStringArray(lams.at(1), 1, 15);
        MorvekStubSymInt(lams.at(2), variant == 2 ? -1 : 3);
        MorvekStubSymIntArray(lams.at(3), ids, 2);
        MorvekStubSymReal(lams.at(4), 1.0f);
        MorvekStubSymReal(lams.at(5), 0.2f);
        EXPECT_EQ(call("kp_plot_lam_thicks", lams), variant == 2 ? &result : nullptr);
    }
    Args orients(2);
    MorvekStubSymInt(orients.at(0), 2);
    MorvekStubSymStringArray(orients.at(1), 1, 15);
    EXPECT_EQ(call("kp_plot_orients", orients), nullptr);
    EXPECT_EQ(errors(), (std::vector<Error>{{103, 7000019, 1, -1},
                                            {103, 7000019, 2, -1},
                                            {103, 7000019, 2, -1},
                                            {103, 7000019, 2, -1},
                                            {103, 7000019, 2, -1},
                                            {103, 7000019, 4, -1},
                                            {103, 7000019, 2, -1}}));
    EXPECT_EQ(MorvekStubBlocksInUse(16), 0);

    // Erasing any segment number.
    Args erase(1);
    MorvekStubSymInt(erase.at(0), 4242);
    ASSERT_EQ(call("kp_erase_elems", erase), &result);
    EXPECT_EQ(result.intValue, 0);
}

TEST_F(BuiltinTest, SeedCurveArraysCoverEachCurveCount) {
    construct();
    const float three[3] = {0, 0, 1};
    const int five[5] = {1, 2, 3, 4, 5};
    const int one[1] = {0};
    // kp_create_ply, or kp_modify_ply with its extra name (`shift` 1): seed
    // curve counts, then element ids and edge numbers as many as given.
    auto ply = [&](Args& a, int shift, int count0, int count1, int given) {
        int k = 0;
        MorvekStubSymInt(a.at(k++), 3);
        MorvekStubSymString(a.at(k++), "P1", 8);
        if (shift) MorvekStubSymString(a.at(k++), "P1", 8);
        MorvekStubSymString(a.at(k++), "M1", 8);
        for (int r = 0; r < 10; ++r) MorvekStubSymReal(a.at(k++), 1.0f);
        MorvekStubSymInt(a.at(k++), 0);
        MorvekStubSymRealArray(a.at(k++), three, 3);
        MorvekStubSymString(a.at(k++), "", 8);
        for (int r = 0; r < 4; ++r) MorvekStubSymReal(a.at(k++), 1.0f);
        MorvekStubSymInt(a.at(k++), 0);
        MorvekStubSymString(a.at(k++), "Calc", 8);
        const int counts[2] = {count0, count1};
        MorvekStubSymIntArray(a.at(k++), counts, 2);
        MorvekStubSymIntArray(a.at(k++), five, given);
        MorvekStubSymIntArray(a.at(k++), five, given);
        MorvekStubSymInt(a.at(k++), 0);
        MorvekStubSymInt(a.at(k++), 0);
        for (int r = 0; r < 5; ++r) MorvekStubSymReal(a.at(k++), 0.0f);
        MorvekStubSymInt(a.at(k++), 0);
        MorvekStubSymIntArray(a.at(k++), one, 1);
        MorvekStubSymIntArray(a.at(k++), one, 1);
        MorvekStubSymInt(a.at(k++), 0);
        for (int r = 0; r < 3; ++r) MorvekStubSymIntArray(a.at(k++), one, 1);
        ASSERT_EQ(k, a.size());
    };
    // A negative first count reads nothing: the second alone must be
    // covered, whatever the sum of the two.
    for (int shift : {0, 1}) {
        const char* name = shift ? "kp_modify_ply" : "kp_create_ply";
        Args a(39 + shift);
        ply(a, shift, -5, 10, 5);
        EXPECT_EQ(call(name, a), nullptr) << name;
        ply(a, shift, 10, -5, 5);
        EXPECT_EQ(call(name, a), nullptr) << name;
    }
    EXPECT_EQ(errors(), (std::vector<Error>{{103, 7000019, 24, -1},
                                            {103, 7000019, 24, -1},
                                            {103, 7000019, 25, -1},
                                            {103, 7000019, 25, -1}}));
    // Counts the arrays cover reach the model.
    MorvekStubReset();
    Args ok(39);
    ply(ok, 0, -1, 5, 5);
    EXPECT_EQ(call("kp_create_ply", ok), &result);
    EXPECT_TRUE(errors().empty());
    EXPECT_EQ(MorvekStubBlocksInUse(16), 0);
}
