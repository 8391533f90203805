// An exception raised inside an exported function or a built-in ends that
// call with its failure status and an error message; it never reaches the
// host. The stand-in host throws on request from inside one of its
// routines: the std::length_error of a container asked for more than it can
// hold, which needs no memory and so also runs under the sanitizers.

#include "host/guard_export.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "blt/lamlayup.h"
#include "host/LayupApi.h"
#include "host/LayupOut.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpResStore.h"
#include "platform/MorvekStub.h"
#include "tests/support/StubDatabase.h"

namespace {

// Two quads on one laminate of two layers, with the layer stresses of "LC1"
// "SC1" (the database of the results tests, trimmed):
//   4 --- 5 --- 6
//   |  1  |  2  |
//   1 --- 2 --- 3
const char* const kFixture =
    "node 1 0 0 0\nnode 2 1 0 0\nnode 3 2 0 0\nnode 4 0 1 0\nnode 5 1 1 0\nnode 6 2 1 0\n"
    "elem 1 4 1 2 5 4\nelem 2 4 2 3 6 5\n"
    "mat 1 \"M1\" \"\" 5 4 0\n"
    "mat 3 \"Lam\" \"\" 6 5 1\n"
    "matword 3 40 2\n"
    "lam 3 0 1\n"
    "lamlayer 3 1 0.1 0 101\n"
    "lamlayer 3 1 0.1 0 102\n"
    "region 3 \"Lam\"\n"
    "word 3 13 5 3 0 0 0 0 0\n"
    "member 3 1 2\n"
    "loadcase 1 \"LC1\" \"\"\n"
    "subcase 1 1 \"SC1\" \"\"\n"
    "layer 1 \"Layer 1\" 0\n"
    "layer 2 \"Layer 2\" 0\n"
    "result 1 1 \"Stress Tensor\" \"XX\" 3 \"STATIC\"\n"
    "value 1 1 \"Stress Tensor\" \"XX\" 1 C 1 500 50 0 25 0 0\n"
    "value 1 1 \"Stress Tensor\" \"XX\" 1 C 2 0 0 0 0 30 0\n"
    "value 1 1 \"Stress Tensor\" \"XX\" 2 C 1 100 0 0 0 0 0\n"
    "value 1 1 \"Stress Tensor\" \"XX\" 2 C 2 -1500 0 0 0 0 0\n";

// The message the guard leaves for `function`, without its reason.
std::string guardText(const char* function) {
    return std::string(function) + " could not complete: ";
}

// The host's messages since `from` that start with `text`, each as
// "severity text".
std::vector<std::string> hostMessagesStarting(const std::string& text, size_t from) {
    std::vector<std::string> out;
    const auto& all = morvekstub::Messages();
    for (size_t k = from; k < all.size(); ++k)
        if (all[k].text.compare(0, text.size(), text) == 0)
            out.push_back(std::to_string(all[k].severity) + " " + all[k].text);
    return out;
}

// What the slot model holds, in counts.
struct ModelCounts {
    int nodes, elems, layup, results;
    bool operator==(const ModelCounts& o) const {
        return nodes == o.nodes && elems == o.elems && layup == o.layup && results == o.results;
    }
};

class GuardExportTest : public ::testing::Test {
  protected:
    StubDatabase db{"guard"};

    void SetUp() override {
        ASSERT_EQ(VekApiInit(&MorvekStubGetter), 0);
        if (MorvekStubNumBuiltins() == 0) PlystrandBltInit();
        MorvekStubReset();
        MorvekStubOpenDatabase("guard.db");
        ASSERT_EQ(db.load(kFixture), 0);
        ASSERT_EQ(LayupConstruct(0, "", ""), 0);
        // The slot model holds the database's mesh and a layup from its
        // laminate.
        ASSERT_EQ(LayupNewLayup(0.0f, 0.0f), 0);
        ASSERT_EQ(LayupCreateLayupLaminate(), 0);
    }
    void TearDown() override {
        LayupDestruct();
        MorvekStubReset();
    }
    static CKpLayup* model() { return static_cast<CKpLayup*>(LayupSlotModel()); }
    static ModelCounts counts() {
        CKpLayup* m = model();
        int layup = -1;
        EXPECT_EQ(LayupGetLayupSizes(&layup), 0);
        return {m->pNodes()->entries(), m->pElems()->entries(), layup, m->pRess()->entries()};
    }
};

// Five result names in writable buffers, as a host hands them over.
struct Names {
    char text[5][64] = {};
    char* ptr[5] = {text[0], text[1], text[2], text[3], text[4]};
    Names() {
        const char* in[5] = {"LC1", "SC1", "Stress Tensor", "XX", ""};
        for (int k = 0; k < 5; ++k) std::snprintf(text[k], sizeof text[k], "%s", in[k]);
    }
};

TEST_F(GuardExportTest, AnExportedFunctionFailsAndLeavesModelAndDatabaseAsTheyWere) {
    const ModelCounts before = counts();
    ASSERT_EQ(before.elems, 2);
    ASSERT_GT(before.layup, 0);
    const std::string stored = db.dump();
    const size_t mark = morvekstub::Messages().size();
    const int regionCalls = MorvekStubCallCount("DbFGetRegionForElements");

    // The sort reads the database into a model of its own; the throw comes
    // from the database while it reads the elements' regions.
    MorvekStubThrow("DbFGetRegionForElements");
    Names names;
    EXPECT_EQ(LayupCreateResultsSortLaminate(names.ptr), -1);
    EXPECT_EQ(MorvekStubCallCount("DbFGetRegionForElements"), regionCalls + 1);
    // One error, naming the function and the container's reason.
    const std::vector<std::string> errors =
        hostMessagesStarting(guardText("LayupCreateResultsSortLaminate"), mark);
    ASSERT_EQ(errors.size(), 1u) << morvekstub::Messages().back().text;
    EXPECT_EQ(errors[0].compare(0, 2, "4 "), 0) << errors[0];
    EXPECT_GT(errors[0].size(), guardText("LayupCreateResultsSortLaminate").size() + 3);
    EXPECT_EQ(errors[0].back(), '.');
    // Nothing changed: the slot model, the database, the caller's names.
    EXPECT_TRUE(counts() == before);
    EXPECT_EQ(db.dump(), stored);
    EXPECT_STREQ(names.text[2], "Stress Tensor");

    // The same call runs to its end afterwards and writes its results.
    EXPECT_EQ(LayupCreateResultsSortLaminate(names.ptr), 0);
    const std::string values = db.lines("value");
    EXPECT_NE(values.find("\"XX (Sort-GPlyID)\" 3 C 1 500 50 0 25 0 0\n"), std::string::npos)
        << values;
    EXPECT_TRUE(counts() == before);
}

TEST_F(GuardExportTest, ABuiltinGivesMinusOneAndFreesItsArguments) {
    const ModelCounts before = counts();
    const std::string stored = db.dump();
    const size_t mark = morvekstub::Messages().size();

    SmSym names{};
    MorvekStubSymStringArray(&names, 5, 31);
    const char* in[5] = {"LC1", "SC1", "Stress Tensor", "XX", ""};
    for (int k = 0; k < 5; ++k) std::strcpy(SmSymGetDataPtr(&names) + k * 32, in[k]);
    SmBltFn fn = MorvekStubFindBuiltin("kp_create_results_sort_laminate");
    ASSERT_NE(fn, nullptr);

    MorvekStubThrow("DbFGetRegionForElements");
    SmSym result{};
    result.intValue = -99;
    ASSERT_NE(fn(1, &names, &result), nullptr);
    EXPECT_EQ(result.intValue, -1);
    EXPECT_EQ(hostMessagesStarting(guardText("LayupCreateResultsSortLaminate"), mark).size(), 1u);
    EXPECT_EQ(MorvekStubErrorCount(), 0);  // not an argument error
    EXPECT_EQ(MorvekStubBlocksInUse(16), 0);
    EXPECT_TRUE(counts() == before);
    EXPECT_EQ(db.dump(), stored);

    // And again, without the throw.
    result.intValue = -99;
    ASSERT_NE(fn(1, &names, &result), nullptr);
    EXPECT_EQ(result.intValue, 0);
    EXPECT_NE(db.lines("value").find("(Sort-GPlyID)"), std::string::npos);
    MorvekStubSymFree(&names);
}

TEST_F(GuardExportTest, ACallbackFailsWithMinusOneAndWritesNothing) {
    const size_t mark = morvekstub::Messages().size();
    MorvekStubThrow("mesh.0");
    int count = 7;
    EXPECT_EQ(LayupOutCountElems(&count), -1);
    EXPECT_EQ(count, 7);
    EXPECT_EQ(hostMessagesStarting(guardText("LayupOutCountElems"), mark).size(), 1u);
    EXPECT_EQ(LayupOutCountElems(&count), 0);
    EXPECT_EQ(count, 2);
}

TEST_F(GuardExportTest, WithoutAModelTheMessageGoesToStandardError) {
    ASSERT_EQ(LayupDestruct(), 0);
    // The database adapter asks the host for the database's name first.
    MorvekStubThrow("DbNameGet");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(LayupConstruct(0, "", ""), -1);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.compare(0, guardText("LayupConstruct").size(), guardText("LayupConstruct")), 0)
        << err;
    EXPECT_EQ(err.substr(err.size() - 2), ".\n");
    EXPECT_EQ(LayupSlotModel(), nullptr);
    // The slot takes a model again.
    EXPECT_EQ(LayupConstruct(0, "", ""), 0);
    EXPECT_NE(LayupSlotModel(), nullptr);
}

TEST(GuardExport, PassesTheStatusThroughAndTurnsAnExceptionIntoTheFailure) {
    EXPECT_EQ(guard_export("f", -1, [] { return 3; }), 3);
    ::testing::internal::CaptureStderr();
    LayupDestruct();
    EXPECT_EQ(guard_export("f", 0, []() -> int { throw 5; }), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "f could not complete: unknown exception.\n");
}

}  // namespace
