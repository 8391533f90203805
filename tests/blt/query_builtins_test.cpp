// Query built-ins whose output sizes follow from the model: a host array
// shorter than what the function would write is refused before anything is
// written; one of the right size is filled, texts cut to the host's slots.

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "blt/lamlayup.h"
#include "host/LayupApi.h"
#include "host/LayupOut.h"
#include "layuplib/CKpCurve.h"
#include "layuplib/CKpCurveStore.h"
#include "layuplib/CKpLayup.h"
#include "platform/MorvekStub.h"
#include "tests/support/LypTestModel.h"

namespace {

// Argument records of one call, freed at the end.
struct Records {
    explicit Records(int n) : recs(static_cast<size_t>(n)) {}
    ~Records() {
        for (SmSym& r : recs) MorvekStubSymFree(&r);
    }
    SmSym* at(int k) { return &recs[static_cast<size_t>(k)]; }
    std::vector<SmSym> recs;
};

class QueryBuiltinTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(VekApiInit(&MorvekStubGetter), 0);
        if (MorvekStubNumBuiltins() == 0) PlystrandBltInit();
        MorvekStubReset();
        ASSERT_EQ(LayupConstruct(0, nullptr, nullptr), 0);
        lyptest::Build(model(), "Ply one");
    }
    void TearDown() override {
        LayupDestruct();
        MorvekStubReset();
    }
    CKpLayup& model() { return *static_cast<CKpLayup*>(LayupSlotModel()); }
    // The status the built-in returned; -99 when it stopped on an argument.
    int call(const char* name, Records& r) {
        SmBltFn fn = MorvekStubFindBuiltin(name);
        EXPECT_NE(fn, nullptr) << name;
        SmSym result{};
        result.intValue = -99;
        if (!fn || !fn(static_cast<int>(r.recs.size()), r.recs.data(), &result)) return -99;
        return result.intValue;
    }
    static std::string slot(SmSym* rec, int k) {
        const int max = SmSymGetStringMax(rec);
        return std::string(SmSymGetDataPtr(rec) + k * (max + 1));
    }
};

TEST_F(QueryBuiltinTest, OrientationNamesNeedOneSlotEach) {
    Records r(2);
    MorvekStubSymInt(r.at(0), 0);
    MorvekStubSymStringArray(r.at(1), 1, 15);
    std::strcpy(SmSymGetDataPtr(r.at(1)), "kept");
    EXPECT_EQ(call("kp_get_orients", r), -1);
    EXPECT_EQ(slot(r.at(1), 0), "kept");

    Records ok(2);
    MorvekStubSymInt(ok.at(0), 0);
    MorvekStubSymStringArray(ok.at(1), 2, 5);  // "By frame x" is cut to 5
    EXPECT_EQ(call("kp_get_orients", ok), 0);
    EXPECT_EQ(slot(ok.at(1), 0), "By fr");
    EXPECT_EQ(slot(ok.at(1), 1), "Fixed");
}

TEST_F(QueryBuiltinTest, CurveCoordinatesNeedThreeFloatsAPoint) {
    CKpCurve* c = new CKpCurve(1, "Edge", 1, 2);
    for (int k = 0; k < 6; ++k) c->coord(k, k + 1.0);
    model().pCurves()->insert(c);
    auto curves = [&](int values, float* out) {
        Records r(6);
        MorvekStubSymInt(r.at(0), 1);
        MorvekStubSymInt(r.at(1), 2);
        MorvekStubSymStringArray(r.at(2), 1, 15);
        const int one = 0;
        MorvekStubSymIntArray(r.at(3), &one, 1);
        MorvekStubSymIntArray(r.at(4), &one, 1);
        std::vector<float> start(static_cast<size_t>(values), -1.0f);
        MorvekStubSymRealArray(r.at(5), start.data(), values);
        const int status = call("kp_get_curves", r);
        std::memcpy(out, SmSymGetRealAPtr(r.at(5)), sizeof(float) * static_cast<size_t>(values));
        return status;
    };
    float shortOut[5];
    EXPECT_EQ(curves(5, shortOut), -1);
    for (float v : shortOut) EXPECT_EQ(v, -1.0f);
    float out[6];
    EXPECT_EQ(curves(6, out), 0);
    EXPECT_EQ(std::vector<float>(out, out + 6), (std::vector<float>{1, 2, 3, 4, 5, 6}));
}

TEST_F(QueryBuiltinTest, IndexAndMeshArraysFollowTheirCounts) {
    // Entries hold 3 x stride x layup plies (4 plies, stride 8: 96).
    Records r(5);
    MorvekStubSymInt(r.at(0), 4);
    MorvekStubSymInt(r.at(1), 8);
    std::vector<int> four(4, 0), entries(95, -1);
    MorvekStubSymIntArray(r.at(2), four.data(), 4);
    MorvekStubSymIntArray(r.at(3), four.data(), 4);
    MorvekStubSymIntArray(r.at(4), entries.data(), 95);
    EXPECT_EQ(call("kp_get_index", r), -99);
    int cls = 0, code = 0, a = 0, b = 0;
    ASSERT_EQ(MorvekStubErrorCount(), 1);
    MorvekStubGetError(0, &cls, &code, &a, &b);
    EXPECT_EQ(code, 7000019);
    EXPECT_EQ(a, 5);
    EXPECT_EQ(SmSymGetIntAPtr(r.at(4))[0], -1);

    // Two negative counts of the full range need more entries than 64 bits
    // count: still refused, not wrapped round into a need the arrays meet.
    MorvekStubReset();
    Records huge(5);
    MorvekStubSymInt(huge.at(0), INT_MIN);
    MorvekStubSymInt(huge.at(1), INT_MIN);
    MorvekStubSymIntArray(huge.at(2), four.data(), 4);
    MorvekStubSymIntArray(huge.at(3), four.data(), 4);
    MorvekStubSymIntArray(huge.at(4), entries.data(), 95);
    EXPECT_EQ(call("kp_get_index", huge), -99);
    ASSERT_EQ(MorvekStubErrorCount(), 1);
    MorvekStubGetError(0, &cls, &code, &a, &b);
    EXPECT_EQ(code, 7000019);
    EXPECT_EQ(a, 5);
    EXPECT_EQ(SmSymGetIntAPtr(huge.at(4))[0], -1);
}

}  // namespace
