#include "host/LayupResults.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/LayupApi.h"
#include "host/LayupOut.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpRes.h"
#include "layuplib/CKpResElem.h"
#include "layuplib/CKpResStore.h"
#include "layuplib/IVekAddinFailureLamina.h"
#include "platform/MorvekStub.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/StubDatabase.h"

namespace {

const char* const kBuiltins[7] = {"TsaiWu",    "Maximum", "Hill", "Hoffman",
                                  "Hankinson", "Cowin",   "User"};

// Two quads on one laminate of two layers of "M1", and the layer stresses
// of load case "LC1", subcase "SC1":
//   layer 1: element 1 (500, 50, 0, 25, 0, 0), element 2 t23 30
//   layer 2: element 1 s1 100, element 2 s1 -1500
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

// Tsai-Wu's eight allowables of "M1".
float kAllowables[8] = {1000, 1000, 100, 100, 50, 40, 60, 0};

// Five result names in writable buffers, as a host hands them over.
struct Names {
    char text[5][64] = {};
    char* ptr[5] = {text[0], text[1], text[2], text[3], text[4]};
    Names(const char* a, const char* b, const char* c, const char* d, const char* e = "") {
        const char* in[5] = {a, b, c, d, e};
        for (int k = 0; k < 5; ++k) std::snprintf(text[k], sizeof text[k], "%s", in[k]);
    }
};

// The errors and warnings the host received since `from`, one a line.
std::string hostMessages(size_t from = 0) {
    std::string out;
    const auto& all = morvekstub::Messages();
    for (size_t k = from; k < all.size(); ++k) out += all[k].text + "\n";
    return out;
}

class LayupResultsTest : public ::testing::Test {
  protected:
    StubDatabase db{"results"};

    void SetUp() override {
        ASSERT_EQ(VekApiInit(&MorvekStubGetter), 0);
        MorvekStubReset();
        ASSERT_EQ(LayupConstruct(0, "", ""), 0);
    }
    void TearDown() override {
        LayupDestruct();
        MorvekStubReset();
    }
    static CKpLayup* model() { return static_cast<CKpLayup*>(LayupSlotModel()); }
    // Opens the database with the fixture under a new slot model (the
    // database adapter learns the name when it is made).
    void OpenFixture() {
        LayupDestruct();
        MorvekStubOpenDatabase("results.db");
        ASSERT_EQ(db.load(kFixture), 0);
        ASSERT_EQ(LayupConstruct(0, "", ""), 0);
    }
    // The Tsai-Wu run of the fixture: worst values and per layer, margins
    // and failure indices, on stresses.
    int RunTsaiWu(int ids[2], int basis = 1, const char* criterion = "TsaiWu") {
        Names names("LC1", "SC1", "Stress Tensor", "XX");
        int elems[2] = {1, 2};
        char m1[] = "M1";
        char* mats[1] = {m1};
        int types[2] = {0, 3};
        return LayupCreateResultsFailure3(names.ptr, 2, elems, criterion, 0x300, basis, 1, mats, 8,
                                          kAllowables, 2, types, "run", "", ids);
    }
};

// ---- Criteria

TEST_F(LayupResultsTest, BuiltinCriteriaAreListedEncodedFoundAndSplit) {
    int count = -1;
    ASSERT_EQ(LayupGetNumFailureLamina(&count), 0);
    ASSERT_EQ(count, 7);
    char text[7][256];
    char* names[7];
    for (int k = 0; k < 7; ++k) names[k] = text[k];
    ASSERT_EQ(LayupGetFailureLaminaEncodedNames(7, names), 0);
    for (int k = 0; k < 7; ++k) {
        // The user's criterion is provided by the user.
        const std::string by = k == 6 ? "User" : "Plystrand";
        EXPECT_EQ(std::string(names[k]), by + "|" + kBuiltins[k] + "|0|0|0");
        // Found again by the encoded name: the same criterion.
        IVekAddinFailureLamina* byEncoded = nullptr;
        IVekAddinFailureLamina* byName = nullptr;
        ASSERT_EQ(LayupGetFailureLaminaByEncodedName(names[k], &byEncoded), 0) << names[k];
        ASSERT_EQ(LayupGetFailureLaminaByNameOnly(kBuiltins[k], &byName), 0);
        EXPECT_EQ(byEncoded, byName);
        char again[256] = "";
        EXPECT_EQ(LayupGetFailureLaminaEncodedName(byEncoded, again), 0);
        EXPECT_STREQ(again, names[k]);
        byEncoded->Release();
        byName->Release();
        // Split by the details.
        char name[256] = "", provider[256] = "";
        int a = -1, b = -1, c = -1;
        EXPECT_EQ(LayupGetFailureLaminaDetails(names[k], name, provider, &a, &b, &c), 0);
        EXPECT_STREQ(name, kBuiltins[k]);
        EXPECT_STREQ(provider, k == 6 ? "User" : "Plystrand");
        EXPECT_EQ(a + b + c, 0);
        EXPECT_EQ(
            LayupGetFailureLaminaDetails(names[k], nullptr, nullptr, nullptr, nullptr, nullptr), 0);
    }

    // The full lookup compares provider and version too.
    IVekAddinFailureLamina* c = reinterpret_cast<IVekAddinFailureLamina*>(&count);
    EXPECT_EQ(LayupGetFailureLamina("Hill", "Plystrand", 0, 0, 1, &c), 2);
    EXPECT_EQ(c, nullptr);
    EXPECT_EQ(LayupGetFailureLamina("Hill", "Other", 0, 0, 0, &c), 2);
    ASSERT_EQ(LayupGetFailureLamina("Hill", "Plystrand", 0, 0, 0, &c), 0);
    c->Release();
    EXPECT_EQ(LayupGetFailureLaminaByNameOnly("Tsaiwu", &c), 2);  // exact match only
}

TEST_F(LayupResultsTest, EncodedNamePartsAndCapacity) {
    IVekAddinFailureLamina* c = nullptr;
    EXPECT_EQ(LayupGetFailureLaminaByEncodedName("", &c), 2);
    EXPECT_EQ(LayupGetFailureLaminaByEncodedName("Plystrand", &c), 3);
    EXPECT_EQ(LayupGetFailureLaminaByEncodedName("Plystrand|TsaiWu", &c), 4);
    EXPECT_EQ(LayupGetFailureLaminaByEncodedName("Plystrand|TsaiWu|0", &c), 5);
    EXPECT_EQ(LayupGetFailureLaminaByEncodedName("Plystrand|TsaiWu|0|0", &c), 6);
    EXPECT_EQ(LayupGetFailureLaminaByEncodedName("Plystrand|TsaiWu|0|0|x", &c), 6);
    EXPECT_EQ(LayupGetFailureLaminaByEncodedName("Plystrand|TsaiWu|0|0|1", &c), 7);
    EXPECT_EQ(c, nullptr);
    EXPECT_EQ(LayupGetFailureLaminaDetails("Plystrand|TsaiWu|0|0", nullptr, nullptr, nullptr,
                                           nullptr, nullptr),
              1);

    // One entry short: the first six written, then 2.
    char text[7][256] = {};
    char* names[7];
    for (int k = 0; k < 7; ++k) names[k] = text[k];
    EXPECT_EQ(LayupGetFailureLaminaEncodedNames(6, names), 2);
    EXPECT_STREQ(names[5], "Plystrand|Cowin|0|0|0");
    EXPECT_STREQ(names[6], "");
}

TEST_F(LayupResultsTest, PerCriterionQueries) {
    const char* tw = "Plystrand|TsaiWu|0|0|0";
    int n = -1;
    ASSERT_EQ(LayupGetFailureLaminaNumAllowables(tw, &n), 0);
    EXPECT_EQ(n, 8);
    char label[256] = "";
    ASSERT_EQ(LayupGetFailureLaminaAllowableLabel(tw, 7, label), 0);
    EXPECT_STREQ(label, "F12");
    ASSERT_EQ(LayupGetFailureLaminaAllowableLabel(tw, 0, label), 0);
    EXPECT_STREQ(label, "Xt");
    std::strcpy(label, "kept");
    EXPECT_EQ(LayupGetFailureLaminaAllowableLabel(tw, 8, label), 3);
    EXPECT_STREQ(label, "kept");
    ASSERT_EQ(LayupGetFailureLaminaNumAllowables("Plystrand|Maximum|0|0|0", &n), 0);
    EXPECT_EQ(n, 7);

    ASSERT_EQ(LayupGetFailureLaminaNumResults(tw, &n), 0);
    EXPECT_EQ(n, 4);
    ASSERT_EQ(LayupGetFailureLaminaResultLabel(tw, 3, label), 0);
    EXPECT_STREQ(label, "Failure Indices");
    EXPECT_EQ(LayupGetFailureLaminaResultLabel(tw, -1, label), 3);
    int d = -1, i = -1, s = -1;
    ASSERT_EQ(LayupGetFailureLaminaNumResultValues(tw, 0, &d, &i, &s), 0);
    EXPECT_EQ(d, 1);
    EXPECT_EQ(i, 1);
    EXPECT_EQ(s, 0);
    EXPECT_EQ(LayupGetFailureLaminaNumResultValues(tw, 4, nullptr, nullptr, nullptr), 3);
    EXPECT_EQ(LayupGetFailureLaminaNumResults("Plystrand|Bogus|0|0|0", &n), 1);

    LayupDestruct();
    EXPECT_EQ(LayupGetNumFailureLamina(&n), 1);
    EXPECT_EQ(LayupGetFailureLaminaEncodedNames(0, nullptr), 1);
    EXPECT_EQ(LayupGetFailureLaminaNumAllowables(tw, &n), 1);
    IVekAddinFailureLamina* c = nullptr;
    EXPECT_EQ(LayupGetFailureLaminaByNameOnly("TsaiWu", &c), 1);
    ASSERT_EQ(LayupConstruct(0, "", ""), 0);
}

// A criterion whose provider and name are as long as a buffer allows.
class LongNamed : public IVekAddinFailureLamina {
  public:
    int AddRef() override { return 1; }
    int Release() override { return 1; }
    int QueryInterface(const char*, void** out) override {
        if (out) *out = nullptr;
        return 1;
    }
    int GetName(char* b, int len) override { return copy(std::string(120, 'n'), b, len); }
    int GetProviderName(char* b, int len) override {
        return failProvider ? 1 : copy(std::string(130, 'p'), b, len);
    }
    int GetProviderWebsite(char* b, int len) override { return copy("", b, len); }
    int GetVersion(int& a, int& b, int& c) override {
        a = b = c = 0;
        return failVersion ? 1 : 0;
    }
    int GetNumAllowables(int& n) override { return n = 0; }
    int GetAllowableLabel(int, char*, int) override { return 1; }
    int GetNumResults(int& n) override { return n = 0; }
    int GetResultLabel(int, char*, int) override { return 1; }
    int GetNumResultValues(int, int&, int&, int&) override { return 1; }
    int Clear() override { return 0; }
    int SetBasis(EBasis) override { return 0; }
    int SetAllowables(int, const double*) override { return 0; }
    int SetLoadInDirection(ELoadDirection, double) override { return 0; }
    int CheckAllowables() override { return 0; }
    int Run() override { return 1; }
    int GetdResult(int, int, double&) override { return 1; }
    int GetiResult(int, int, int&) override { return 1; }
    int GetszResult(int, int, char*, int) override { return 1; }
    int GetNumMessages(int& n) override { return n = 0; }
    int GetMessageLength(int, int&) override { return 1; }
    int GetMessageString(int, EMessageType&, char*, int) override { return 1; }
    virtual ~LongNamed() = default;

    bool failProvider = false;
    bool failVersion = false;

  private:
    static int copy(const std::string& s, char* b, int len) {
        std::snprintf(b, static_cast<size_t>(len), "%s", s.c_str());
        return 0;
    }
};

TEST_F(LayupResultsTest, AnEncodedNameThatDoesNotFitIsNotWritten) {
    LongNamed c;
    // 130 + 1 + 120 + 6 = 257 characters: one too many.
    char out[300];
    std::memset(out, 'x', sizeof out);
    out[299] = '\0';
    EXPECT_EQ(LayupGetFailureLaminaEncodedName(&c, out), 3);
    EXPECT_EQ(out[0], 'x');
    EXPECT_EQ(LayupGetFailureLaminaEncodedName(nullptr, out), 1);
    c.failVersion = true;
    EXPECT_EQ(LayupGetFailureLaminaEncodedName(&c, out), 4);
    c.failProvider = true;
    EXPECT_EQ(LayupGetFailureLaminaEncodedName(&c, out), 2);
}

TEST_F(LayupResultsTest, TheTestAddinsCriterionIsListedAndRun) {
    LayupDestruct();
    MorvekStubOpenDatabase("results.db");
    ASSERT_EQ(db.load(kFixture), 0);
    std::string dir = PLYSTRAND_TEST_ADDIN_A;
    dir = dir.substr(0, dir.rfind('/'));
    ::setenv("VEKAddinPath", dir.c_str(), 1);
    const int constructed = LayupConstruct(0, "", "");
    ::unsetenv("VEKAddinPath");
    ASSERT_EQ(constructed, 0);

    // The built-ins first, then the two modules' criteria (their
    // enumerators are not criteria).
    int count = 0;
    ASSERT_EQ(LayupGetNumFailureLamina(&count), 0);
    ASSERT_EQ(count, 9);
    char text[9][256] = {};
    char* names[9];
    for (int k = 0; k < 9; ++k) names[k] = text[k];
    ASSERT_EQ(LayupGetFailureLaminaEncodedNames(9, names), 0);
    EXPECT_STREQ(names[0], "Plystrand|TsaiWu|0|0|0");
    EXPECT_STREQ(names[6], "User|User|0|0|0");
    EXPECT_STREQ(names[7], "Test module|FibreRatio|1|0|0");
    EXPECT_STREQ(names[8], "Test module|FibreRatio|1|0|0");
    char label[256] = "";
    ASSERT_EQ(LayupGetFailureLaminaAllowableLabel(names[7], 0, label), 0);
    EXPECT_STREQ(label, "Xt");

    // Run on the fixture: the failure index of the fibre stress, s1 / Xt.
    Names in("LC1", "SC1", "Stress Tensor", "XX");
    int elems[2] = {1, 2};
    char m1[] = "M1";
    char* mats[1] = {m1};
    float xt[1] = {1000};
    int types[1] = {3};
    int range[2] = {-1, -1};
    ASSERT_EQ(LayupCreateResultsFailure3(in.ptr, 2, elems, names[7], 0x100, 1, 1, mats, 1, xt, 1,
                                         types, "", "", range),
              0);
    EXPECT_GT(range[0], 0);
    const std::string values = db.lines("value");
    EXPECT_NE(values.find("\"Failure Indices (Worst)*\" \"FibreRatio Stress\" 3 C 1 0.5\n"),
              std::string::npos)
        << values;
}

// ---- Runs on the stand-in database

TEST_F(LayupResultsTest, TsaiWuRunWritesItsResultsBackAndLeavesTheSlotModelAlone) {
    OpenFixture();
    ASSERT_EQ(LayupNewLayup(0.0f, 0.0f), 0);
    int nElems = 0;
    model()->GetNumElems(&nElems);
    ASSERT_EQ(nElems, 2);
    const std::string log = ::testing::TempDir() + "results_" + std::to_string(::getpid()) + ".msg";
    ASSERT_EQ(LayupOpenMessage(log.c_str()), 0);

    int range[2] = {-1, -1};
    ASSERT_EQ(RunTsaiWu(range), 0);
    // Worst margin and index, then margins and indices of both layers.
    EXPECT_EQ(range[0], 3);
    EXPECT_GE(range[1], 8);
    // Written back: worst values at layer 0, per layer at the layer
    // numbers.
    const std::string values = db.lines("value");
    const std::string worst = "\"Margins of Safety (Worst)*\" \"TsaiWu Stress (run)\" 3 C 1 ";
    const size_t at = values.find(worst);
    ASSERT_NE(at, std::string::npos) << values;
    EXPECT_NEAR(std::atof(values.c_str() + at + worst.size()), 0.15470054, 1e-7);
    EXPECT_NE(values.find("\"Margins of Safety (Worst)*\" \"TsaiWu Stress (run)\" 3 C 2 "
                          "-0.333333343\n"),
              std::string::npos)
        << values;
    EXPECT_NE(values.find("\"Failure Indices*\" \"TsaiWu Stress (run)\" 5 C 2 2.25\n"),
              std::string::npos)
        << values;
    EXPECT_NE(db.lines("layer").find("layer 5 \"\" 2\n"), std::string::npos);
    // The slot model: no results, its elements as they were.
    EXPECT_EQ(model()->pRess()->entries(), 0);
    model()->GetNumElems(&nElems);
    EXPECT_EQ(nElems, 2);
    LayupCloseMessage();
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    std::remove(log.c_str());
    EXPECT_NE(text.str().find("Using addin failure criterion: 'TsaiWu' from 'Plystrand'"),
              std::string::npos);
}

TEST_F(LayupResultsTest, ResultTypesFromTheFlagBits) {
    OpenFixture();
    Names in("LC1", "SC1", "Stress Tensor", "XX");
    int elems[2] = {1, 2};
    char m1[] = "M1";
    char* mats[1] = {m1};
    int range[2] = {-1, -1};
    // Bits 1, 2 and 8: types 0, 2, 3 (margins, critical components,
    // indices), worst values only.
    ASSERT_EQ(LayupCreateResultsFailure(in.ptr, 2, elems, 1, 0x100 | 0x1 | 0x2 | 0x8, 1, 1, mats,
                                        kAllowables, "", "", range),
              0);
    const std::string results = db.lines("result");
    for (const char* label :
         {"Margins of Safety (Worst)*", "Critical Components (Worst)*", "Failure Indices (Worst)*"})
        EXPECT_NE(results.find(label), std::string::npos) << label << "\n" << results;
    EXPECT_EQ(results.find("Reserve Factors"), std::string::npos) << results;
    EXPECT_EQ(results.find("Layer"), std::string::npos) << results;
}

TEST_F(LayupResultsTest, UnsupportedCriteriaAndEmptyRuns) {
    OpenFixture();
    Names in("LC1", "SC1", "Stress Tensor", "XX");
    int elems[2] = {1, 2};
    int range[2] = {-1, -1};
    const size_t before = morvekstub::Messages().size();
    EXPECT_EQ(
        LayupCreateResultsFailure(in.ptr, 2, elems, 8, 0, 1, 0, nullptr, nullptr, "", "", range),
        1);
    EXPECT_EQ(LayupCreateResultsFailure2(in.ptr, 2, elems, "Bogus", 0, 1, 0, nullptr, nullptr, "",
                                         "", range),
              1);
    EXPECT_EQ(hostMessages(before),
              "Unsupported failure criterion id: 8\nUnsupported failure criterion: 'Bogus'\n");
    EXPECT_EQ(range[0], -1);

    // Basis 0: no run, an empty range.
    ASSERT_EQ(RunTsaiWu(range, 0), 0);
    EXPECT_EQ(range[0], 32768);
    EXPECT_EQ(range[1], 0);

    // Results the database does not hold.
    Names missing("LC1", "SC1", "Strain Tensor", "XX");
    range[0] = range[1] = -1;
    const size_t mark = morvekstub::Messages().size();
    EXPECT_EQ(LayupCreateResultsFailure2(missing.ptr, 2, elems, "TsaiWu", 0x100, 1, 0, nullptr,
                                         nullptr, "", "", range),
              -1);
    EXPECT_NE(hostMessages(mark).find("No layered results found for: 'LC1' 'SC1' 'Strain Tensor' "
                                      "'XX'\n"),
              std::string::npos)
        << hostMessages(mark);
    EXPECT_EQ(range[0], -1);
    // Nothing was written back.
    EXPECT_EQ(db.lines("result").find("TsaiWu"), std::string::npos);
}

TEST_F(LayupResultsTest, AFailedRunReleasesTheCriterionAndLeavesTheRangeUnwritten) {
    OpenFixture();
    IVekAddinFailureLamina* tw = nullptr;
    ASSERT_EQ(LayupGetFailureLaminaByNameOnly("TsaiWu", &tw), 0);
    const int refs = tw->AddRef() - 1;
    tw->Release();
    // F12 outside -1..1: the allowables are refused.
    float bad[8] = {1000, 1000, 100, 100, 50, 40, 60, 5};
    Names in("LC1", "SC1", "Stress Tensor", "XX");
    int elems[2] = {1, 2};
    char m1[] = "M1";
    char* mats[1] = {m1};
    int types[1] = {0};
    int range[2] = {-1, -1};
    EXPECT_EQ(LayupCreateResultsFailure3(in.ptr, 2, elems, "TsaiWu", 0x100, 1, 1, mats, 8, bad, 1,
                                         types, "", "", range),
              3);
    EXPECT_EQ(range[0], -1);
    EXPECT_EQ(range[1], -1);
    // The run's reference is back.
    EXPECT_EQ(tw->AddRef() - 1, refs);
    tw->Release();
    tw->Release();
}

TEST_F(LayupResultsTest, BothSortsAreWrittenBack) {
    OpenFixture();
    ASSERT_EQ(LayupNewLayup(0.0f, 0.0f), 0);
    ASSERT_EQ(LayupCreateLayupLaminate(), 0);

    // By laminate: one result per global ply id.
    Names in("LC1", "SC1", "Stress Tensor", "XX");
    ASSERT_EQ(LayupCreateResultsSortLaminate(in.ptr), 0);
    EXPECT_STREQ(in.text[4], "");  // the caller's names are only read
    std::string values = db.lines("value");
    EXPECT_NE(values.find("\"XX (Sort-GPlyID)\" 3 C 1 500 50 0 25 0 0\n"), std::string::npos)
        << values;
    EXPECT_NE(values.find("\"XX (Sort-GPlyID)\" 4 C 2 -1500 0 0 0 0 0\n"), std::string::npos)
        << values;

    // By layup ply, on the slot model: the fifth name becomes "Layer " in
    // the copy only.
    int flags[8] = {1, 1, 0, 0, 0, 0, 0, 0};
    char dash[] = "-", e[] = "";
    char* separators[8] = {dash, e, e, e, e, e, e, e};
    ASSERT_EQ(LayupCreateResultsSort2(in.ptr, flags, separators, 0), 0);
    EXPECT_STREQ(in.text[4], "");
    EXPECT_GT(model()->pRess()->entries(), 0);
    values = db.lines("value");
    EXPECT_NE(values.find("\"XX (Sort-Layup)\""), std::string::npos) << values;

    // Names the database does not hold.
    Names missing("LC1", "SC1", "Nothing", "XX");
    const size_t mark = morvekstub::Messages().size();
    EXPECT_EQ(LayupCreateResultsSort2(missing.ptr, flags, separators, 0), 0);
    EXPECT_NE(hostMessages(mark).find("No valid result layers.\n"), std::string::npos);
    EXPECT_EQ(LayupCreateResultsSortLaminate(missing.ptr), 1);
    EXPECT_NE(hostMessages(mark).find("No layered results found for: 'LC1' 'SC1' 'Nothing' 'XX'"),
              std::string::npos)
        << hostMessages(mark);
}

TEST_F(LayupResultsTest, SortsOnAModelWithoutElements) {
    OpenFixture();
    Names in("LC1", "SC1", "Stress Tensor", "XX");
    const size_t mark = morvekstub::Messages().size();
    EXPECT_EQ(LayupCreateResultsSort2(in.ptr, nullptr, nullptr, 0), 0);
    EXPECT_EQ(hostMessages(mark), "No elements in model.\n");
    // The repeated warning is folded into a count by the log.
    EXPECT_EQ(LayupCreateResultsSortLaminate(in.ptr), 0);
    EXPECT_EQ(db.lines("result"), "result 1 1 \"Stress Tensor\" \"XX\" 3 \"STATIC\"\n");
}

// ---- The results store

TEST_F(LayupResultsTest, ResultQueries) {
    CKpResStore* store = model()->pRess();
    const char* nm[5] = {"LC", "SC", "Stress", "XX", "Layer 2"};
    CKpRes* r = new CKpRes(5, nm, 4, 3, 1);
    const float v1[2] = {1.5f, 2.5f};
    const float v2[1] = {-3.0f};
    const int i2[1] = {7};
    r->FindOrCreateResElem(20, 1, v2, 1, i2);
    r->FindOrCreateResElem(10, 2, v1, 0, nullptr);
    store->insert(r);
    const char* other[5] = {"LC", "SC", "Stress", "XX", ""};
    store->insert(new CKpRes(2, other, 0, 1, 2));

    int n = -1;
    ASSERT_EQ(LayupGetNumRess(&n), 0);
    EXPECT_EQ(n, 2);
    int ids[3] = {-1, -1, -1};
    ASSERT_EQ(LayupGetResIds(1, ids), 0);
    EXPECT_EQ(ids[0], 2);
    EXPECT_EQ(ids[1], -1);
    ASSERT_EQ(LayupGetResIds(3, ids), 0);
    EXPECT_EQ(ids[1], 5);
    EXPECT_EQ(ids[2], -1);

    char text[5][256];
    char* names[5];
    for (int k = 0; k < 5; ++k) names[k] = text[k];
    int orient = 0, type = 0, loc = 0, count = 0, values = 0;
    ASSERT_EQ(LayupGetRes(5, names, &orient, &type, &loc, &count, &values), 0);
    EXPECT_STREQ(names[2], "Stress");
    EXPECT_STREQ(names[4], "Layer 2");
    EXPECT_EQ(orient, 4);
    EXPECT_EQ(type, 3);
    EXPECT_EQ(loc, 1);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(values, 3);
    int elems[2] = {0, 0}, ints[2] = {-1, -1}, counts[2] = {0, 0};
    float vals[3] = {0, 0, 0};
    ASSERT_EQ(LayupGetResElems(5, elems, ints, counts, vals), 0);
    EXPECT_EQ(std::vector<int>(elems, elems + 2), (std::vector<int>{10, 20}));
    EXPECT_EQ(std::vector<int>(ints, ints + 2), (std::vector<int>{0, 7}));
    EXPECT_EQ(std::vector<int>(counts, counts + 2), (std::vector<int>{2, 1}));
    EXPECT_EQ(std::vector<float>(vals, vals + 3), (std::vector<float>{1.5f, 2.5f, -3.0f}));
    ASSERT_EQ(LayupGetRes(2, names, nullptr, nullptr, nullptr, &count, nullptr), 0);
    EXPECT_STREQ(names[4], "");
    EXPECT_EQ(count, 0);

    // An unknown id: -1 and one error.
    const size_t mark = morvekstub::Messages().size();
    EXPECT_EQ(LayupGetRes(99, names, &orient, &type, &loc, &count, &values), -1);
    EXPECT_EQ(hostMessages(mark), "Could not find specified result\n");
    EXPECT_EQ(morvekstub::Messages().back().severity, 4);
    EXPECT_EQ(LayupGetResElems(99, elems, ints, counts, vals), -1);

    // Deleting by names, then everything.
    Names del("LC", "SC", "Stress", "XX", "");
    ASSERT_EQ(LayupDeleteResults(del.ptr), 0);
    ASSERT_EQ(LayupGetNumRess(&n), 0);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(LayupDeleteResults(del.ptr), 0);
    ASSERT_EQ(LayupDeleteResultsAll(), 0);
    ASSERT_EQ(LayupGetNumRess(&n), 0);
    EXPECT_EQ(n, 0);
}

TEST_F(LayupResultsTest, FailureIndexDrawing) {
    RecordingGUI gui;
    model()->pGra()->SetGUI(&gui);
    EXPECT_EQ(LayupPlotResFI(), 0);
    EXPECT_TRUE(gui.draws.empty());
    EXPECT_EQ(LayupEraseResFI(), 0);
    ASSERT_EQ(gui.draws.size(), 1u);
    EXPECT_EQ(gui.draws[0].kind, "deleteSegment");
    EXPECT_EQ(gui.draws[0].segment, 801);
    LayupDestruct();
    EXPECT_EQ(LayupEraseResFI(), 1);
    int n = 0;
    EXPECT_EQ(LayupGetNumRess(&n), 1);
    EXPECT_EQ(LayupDeleteResultsAll(), 1);
    ASSERT_EQ(LayupConstruct(0, "", ""), 0);
}

}  // namespace
