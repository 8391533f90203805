// Query built-ins whose output sizes follow from the model: a host array
// shorter than what the function would write is refused before anything is
// written; one of the right size is filled, texts cut to the host's slots.

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "blt/lamlayup.h"
#include "host/LayupApi.h"
#include "host/LayupOut.h"
#include "layuplib/CKpCoord.h"
#include "layuplib/CKpCoordStore.h"
#include "layuplib/CKpCurve.h"
#include "layuplib/CKpCurveStore.h"
#include "layuplib/CKpField.h"
#include "layuplib/CKpFieldStore.h"
#include "layuplib/CKpFieldVal.h"
#include "layuplib/CKpFieldValStore.h"
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

// The model's generated frames: 5 turned 90 degrees about z at (1, 2, 3),
// 2 at (-1, 0, 0.5) along the basic axes. Its fields: "Theta" over
// elements 3 and 1, "Rot" over element 2 (values in radians).
void FramesAndFields(CKpLayup& m) {
    const double o5[3] = {1, 2, 3}, ax5[9] = {0, 1, 0, -1, 0, 0, 0, 0, 1};
    const double o2[3] = {-1, 0, 0.5}, ax2[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    for (int id : {5, 2}) {
        CKpCoord* c = new CKpCoord(id);
        c->setType(CKpCoordRectangular);
        c->SetCoordsByOriginAxes(id == 5 ? o5 : o2, id == 5 ? ax5 : ax2);
        ASSERT_EQ(m.pCoords()->insert(c), 0);
    }
    const double pi = std::acos(-1.0);
    const struct {
        int id;
        const char* name;
        std::vector<int> elems;
        std::vector<double> values;
    } fields[2] = {{1, "Theta", {3, 1}, {pi / 2, -pi / 4}}, {2, "Rot", {2}, {pi / 6}}};
    for (const auto& f : fields) {
        CKpField* field = new CKpField(f.id);
        field->setName(f.name);
        field->SetType(EVekFieldRotation);
        for (size_t k = 0; k < f.elems.size(); ++k) {
            CKpFieldVal* v = new CKpFieldVal(f.elems[k]);
            v->SetVals(1, &f.values[k]);
            field->GetFieldVals()->insert(v);
        }
        ASSERT_EQ(m.pFields()->insert(field), 0);
    }
}

TEST_F(QueryBuiltinTest, FramesReachTheHostArrays) {
    FramesAndFields(model());
    const std::string log =
        ::testing::TempDir() + "query_builtins_" + std::to_string(getpid()) + "_coords.msg";
    ASSERT_EQ(LayupOpenMessage(log.c_str()), 0);
    Records count(2);
    MorvekStubSymInt(count.at(0), 2);
    MorvekStubSymInt(count.at(1), -1);
    ASSERT_EQ(call("kp_get_num_coords", count), 0);
    ASSERT_EQ(SmSymGetIntAPtr(count.at(1))[0], 2);

    // The origins given one float short: refused, nothing written.
    auto coords = [&](int source, int origins, std::vector<int>& ids, std::vector<int>& types,
                      std::vector<float>& o, std::vector<float>& axes) {
        Records r(6);
        MorvekStubSymInt(r.at(0), source);
        MorvekStubSymInt(r.at(1), 0);
        const std::vector<int> ints(2, -5);
        const std::vector<float> reals(18, -5.0f);
        MorvekStubSymIntArray(r.at(2), ints.data(), 2);
        MorvekStubSymIntArray(r.at(3), ints.data(), 2);
        MorvekStubSymRealArray(r.at(4), reals.data(), origins);
        MorvekStubSymRealArray(r.at(5), reals.data(), 18);
        const int status = call("kp_get_coords", r);
        ids.assign(SmSymGetIntAPtr(r.at(2)), SmSymGetIntAPtr(r.at(2)) + 2);
        types.assign(SmSymGetIntAPtr(r.at(3)), SmSymGetIntAPtr(r.at(3)) + 2);
        o.assign(SmSymGetRealAPtr(r.at(4)), SmSymGetRealAPtr(r.at(4)) + origins);
        axes.assign(SmSymGetRealAPtr(r.at(5)), SmSymGetRealAPtr(r.at(5)) + 18);
        return status;
    };
    std::vector<int> ids, types;
    std::vector<float> origins, axes;
    EXPECT_EQ(coords(2, 5, ids, types, origins, axes), -1);
    EXPECT_EQ(ids, (std::vector<int>{-5, -5}));
    EXPECT_EQ(origins, std::vector<float>(5, -5.0f));

    ASSERT_EQ(coords(2, 6, ids, types, origins, axes), 0);
    EXPECT_EQ(ids, (std::vector<int>{2, 5}));
    EXPECT_EQ(types, (std::vector<int>{1, 1}));
    EXPECT_EQ(origins, (std::vector<float>{-1, 0, 0.5f, 1, 2, 3}));
    const std::vector<float> expectAxes = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 0, -1, 0, 0, 0, 0, 1};
    for (int k = 0; k < 18; ++k) EXPECT_NEAR(axes[k], expectAxes[k], 1e-6) << k;

    // The solid generation made no frames; another source is refused.
    ASSERT_EQ(coords(3, 6, ids, types, origins, axes), 0);
    EXPECT_EQ(ids, (std::vector<int>{-5, -5}));
    EXPECT_EQ(coords(1, 6, ids, types, origins, axes), 1);
    EXPECT_EQ(ids, (std::vector<int>{-5, -5}));

    ASSERT_EQ(LayupCloseMessage(), 0);
    std::ostringstream text;
    text << std::ifstream(log).rdbuf();
    std::remove(log.c_str());
    EXPECT_NE(text.str().find(
                  "LayupGetCoords2: The origin array holds 5 entries, fewer than the 6 needed."),
              std::string::npos)
        << text.str();
}

TEST_F(QueryBuiltinTest, FieldsReachTheHostArraysInDegrees) {
    FramesAndFields(model());
    Records count(2);
    MorvekStubSymInt(count.at(0), -1);
    MorvekStubSymInt(count.at(1), -1);
    ASSERT_EQ(call("kp_get_num_fields", count), 0);
    EXPECT_EQ(SmSymGetIntAPtr(count.at(0))[0], 2);
    ASSERT_EQ(SmSymGetIntAPtr(count.at(1))[0], 3);

    auto fields = [&](int values, Records& r) {
        MorvekStubSymInt(r.at(0), 2);
        MorvekStubSymInt(r.at(1), 3);
        MorvekStubSymStringArray(r.at(2), 2, 4);  // "Theta" is cut to 4
        const std::vector<int> ints(3, -5);
        const std::vector<float> reals(3, -5.0f);
        MorvekStubSymIntArray(r.at(3), ints.data(), 2);
        MorvekStubSymIntArray(r.at(4), ints.data(), 3);
        MorvekStubSymRealArray(r.at(5), reals.data(), values);
        return call("kp_get_fields", r);
    };
    Records shortRecs(6);
    EXPECT_EQ(fields(2, shortRecs), -1);
    EXPECT_EQ(SmSymGetIntAPtr(shortRecs.at(3))[0], -5);
    EXPECT_EQ(SmSymGetIntAPtr(shortRecs.at(4))[0], -5);
    EXPECT_EQ(slot(shortRecs.at(2), 0), "");

    Records r(6);
    ASSERT_EQ(fields(3, r), 0);
    EXPECT_EQ(slot(r.at(2), 0), "Thet");
    EXPECT_EQ(slot(r.at(2), 1), "Rot");
    const int* counts = SmSymGetIntAPtr(r.at(3));
    EXPECT_EQ(std::vector<int>(counts, counts + 2), (std::vector<int>{2, 1}));
    // Each field's elements in ascending id, the values beside them.
    const int* ids = SmSymGetIntAPtr(r.at(4));
    EXPECT_EQ(std::vector<int>(ids, ids + 3), (std::vector<int>{1, 3, 2}));
    const float* values = SmSymGetRealAPtr(r.at(5));
    EXPECT_FLOAT_EQ(values[0], -45.0f);
    EXPECT_FLOAT_EQ(values[1], 90.0f);
    EXPECT_FLOAT_EQ(values[2], 30.0f);
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
