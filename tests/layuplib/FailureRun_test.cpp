#include "layuplib/FailureRun.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyr.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatAllowStore.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpRes.h"
#include "layuplib/CKpResElem.h"
#include "layuplib/CKpResElemStore.h"
#include "layuplib/CKpResStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/CVekAddinFailureLaminaMaximum.h"
#include "layuplib/CVekAddinFailureLaminaTsaiwu.h"
#include "layuplib/CVekAddinFailureLaminaUser.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"

namespace {

// Holds one reference to a criterion.
template <class T>
struct Ref {
    Ref() : c(new T) { c->AddRef(); }
    ~Ref() { c->Release(); }
    T* c;
};

// Two quads of one laminate of two layers of "M1" (Xt = Xc = 1000,
// Yt = Yc = 100, S12 = 50, S23 = 40, S31 = 60), and the layer stresses of
// one load case as results 1 and 2.
class FailureRun : public ::testing::Test {
  protected:
    RecordingGUI gui;
    std::unique_ptr<CKpLayup> model{new CKpLayup(nullptr, &gui)};
    CKpLam* lam = nullptr;
    const char* names[5] = {"LC1", "SC1", "Stress Tensor", "", ""};
    // One file per test and process: CTest runs the cases side by side.
    std::string report = ::testing::TempDir() + "failure_report_" +
                         ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
                         std::to_string(::getpid()) + ".txt";

    void SetUp() override {
        ASSERT_EQ(meshgen::LoadModel(*model, meshgen::Plate(meshgen::Kind::Quad4, 2, 1, 2, 1)), 0);
        CKpMat* m = new CKpMat(1);
        m->setMtrlnm("M1");
        m->setFxt(1000), m->setFxc(1000), m->setFyt(100), m->setFyc(100);
        m->setFs12(50), m->setFs23(40), m->setFs31(60);
        model->pMats()->insert(m);
        lam = new CKpLam(1);
        for (int k = 0; k < 2; ++k) {
            CKpLamLyr* lyr = new CKpLamLyr;
            lyr->setMid(1), lyr->setT(0.1), lyr->setGplyid(101 + k);
            lam->LamLyrs()->InsertLast(lyr);
        }
        model->pLams()->insert(lam);
        for (int id : {1, 2}) model->pElems()->find(id)->pid(1);
        Layer(1, {{1, {500, 50, 0, 25, 0, 0}}, {2, {0, 0, 0, 0, 30, 0}}});
        Layer(2, {{1, {100, 0, 0, 0, 0, 0}}, {2, {-1500, 0, 0, 0, 0, 0}}});
    }
    void TearDown() override { std::remove(report.c_str()); }
    CKpRes* Layer(int n, const std::vector<std::pair<int, std::vector<float>>>& records,
                  const char* type = "Stress Tensor") {
        const std::string layer = "Layer " + std::to_string(n);
        const char* nm[5] = {"LC1", "SC1", type, "", layer.c_str()};
        CKpRes* r = new CKpRes(model->pRess()->maxId() + 1, nm, 1, 3, 1);
        for (const auto& rec : records)
            r->FindOrCreateResElem(rec.first, static_cast<int>(rec.second.size()),
                                   rec.second.data(), 0, nullptr);
        model->pRess()->insert(r);
        return r;
    }
    int Run(IVekAddinFailureLamina* c, int ids[2], const char* file = nullptr,
            const char* description = "run1", int perLayer = 1,
            IVekResultStore::EBasis basis = IVekResultStore::eStress, int nMat = 0,
            const char* const* matNames = nullptr, int nValues = 0,
            const double* values = nullptr) {
        const int elems[2] = {1, 2};
        const int wanted[2] = {3, 0};
        return model->GetResultStore()->CreateResultsFailureLamina(
            2, elems, names, c, perLayer, 1, 1, basis, nMat, matNames, nValues, values, 2, wanted,
            description, file, ids);
    }
    CKpRes* Res(int id) { return model->pRess()->find(id); }
    float Value(int id, int elem, int pos = 0) {
        CKpRes* r = Res(id);
        return r && r->ResElems()->find(elem) ? r->ResElems()->find(elem)->GetFloat(pos) : -999.0f;
    }
};

TEST_F(FailureRun, WorstCriticalAndPerLayerResults) {
    Ref<CVekAddinFailureLaminaTsaiwu> tw;
    int ids[2] = {0, 0};
    ASSERT_EQ(Run(tw.c, ids), 0);
    EXPECT_EQ(ids[0], 3);
    EXPECT_EQ(ids[1], 10);
    const char* expected[7][2] = {
        {"Margins of Safety (Worst)*", ""}, {"Failure Indices (Worst)*", ""},
        {"Critical Layers (Worst)*", ""},   {"Margins of Safety*", "Layer 1"},
        {"Margins of Safety*", "Layer 2"},  {"Failure Indices*", "Layer 1"},
        {"Failure Indices*", "Layer 2"}};
    for (int k = 0; k < 7; ++k) {
        CKpRes* r = Res(3 + k);
        ASSERT_TRUE(r);
        EXPECT_STREQ(r->name(0), "LC1");
        EXPECT_STREQ(r->name(1), "SC1");
        EXPECT_STREQ(r->name(2), expected[k][0]) << k;
        EXPECT_STREQ(r->name(3), "TsaiWu Stress (run1)");
        EXPECT_STREQ(r->name(4), expected[k][1]) << k;
        EXPECT_EQ(r->type(), 1);
    }
    EXPECT_FLOAT_EQ(Value(3, 1), 0.15470054f);
    EXPECT_FLOAT_EQ(Value(3, 2), -0.33333334f);
    EXPECT_FLOAT_EQ(Value(4, 2), 2.25f);
    EXPECT_EQ(Value(5, 1), 1.0f);  // critical layers
    EXPECT_EQ(Value(5, 2), 2.0f);
    EXPECT_FLOAT_EQ(Value(7, 1), 9.0f);   // layer 2 of element 1: 100 / 1000
    EXPECT_FLOAT_EQ(Value(8, 2), 0.75f);  // t23 30 against S23 40
}

TEST_F(FailureRun, TiesKeepTheLowerLayerAndBondStrengthCapsShear) {
    // Both layers of element 1 equal: the first keeps the critical layer.
    model->pRess()->find(2)->ResElems()->find(1)->SetRes(
        6, std::vector<float>{500, 50, 0, 25, 0, 0}.data(), 0, nullptr);
    lam->sb(25.0);
    Ref<CVekAddinFailureLaminaTsaiwu> tw;
    int ids[2] = {0, 0};
    ASSERT_EQ(Run(tw.c, ids, nullptr, ""), 0);
    EXPECT_STREQ(Res(3)->name(3), "TsaiWu Stress");
    EXPECT_EQ(Value(5, 1), 1.0f);
    EXPECT_FLOAT_EQ(Value(8, 2), 1.2f);  // 30 against the bond strength 25
}

TEST_F(FailureRun, OverridesByMaterialName) {
    Ref<CVekAddinFailureLaminaTsaiwu> tw;
    int ids[2] = {0, 0};
    const char* mats[2] = {"other", "M1"};
    const double values[16] = {0, 0, 0, 0, 0, 0, 0, 0, 2000, 2000, 100, 100, 50, 40, 60, 0};
    ASSERT_EQ(Run(tw.c, ids, nullptr, "run1", 1, IVekResultStore::eStress, 2, mats, 8, values), 0);
    EXPECT_FLOAT_EQ(Value(4, 2), 0.75f);  // -1500 against Xc 2000
}

TEST_F(FailureRun, RefusedInputsCreateNothing) {
    Ref<CVekAddinFailureLaminaTsaiwu> tw;
    int ids[2] = {-1, -1};
    EXPECT_EQ(model->GetResultStore()->CreateResultsFailureLamina(
                  2, nullptr, names, nullptr, 1, 1, 1, IVekResultStore::eStress, 0, nullptr, 0,
                  nullptr, 0, nullptr, nullptr, nullptr, ids),
              2);
    EXPECT_EQ(gui.texts(2).back(), "Invalid pointer to failure component.");

    // A strain result on the stress basis.
    Layer(1, {{1, {0.001f, 0, 0, 0, 0, 0}}}, "Strain Tensor");
    EXPECT_EQ(Run(tw.c, ids), 5);
    EXPECT_EQ(gui.texts(2).back(), "Could not create references to layer results");
    EXPECT_EQ(model->pRess()->entries(), 3);
    model->pRess()->Delete(Res(3));

    // Two results for one layer.
    Layer(2, {{1, {1, 0, 0, 0, 0, 0}}});
    EXPECT_EQ(Run(tw.c, ids), 5);
    EXPECT_EQ(model->pRess()->entries(), 3);
    model->pRess()->Delete(Res(3));

    // No layer results at all.
    names[0] = "Another load case";
    EXPECT_EQ(Run(tw.c, ids), 5);
    EXPECT_EQ(gui.texts(2).back(), "No layer results exist");
    EXPECT_EQ(model->pRess()->entries(), 2);
    EXPECT_EQ(ids[0], -1);
}

TEST_F(FailureRun, MissingLayerWarnsAndTheRunGoesOn) {
    CKpLamLyr* third = new CKpLamLyr;
    third->setMid(1), third->setT(0.1);
    lam->LamLyrs()->InsertLast(third);
    Ref<CVekAddinFailureLaminaTsaiwu> tw;
    int ids[2] = {0, 0};
    ASSERT_EQ(Run(tw.c, ids), 0);
    const std::vector<std::string> errors = gui.texts(4);
    EXPECT_NE(std::find(errors.begin(), errors.end(),
                        "Could not find layer result for element 1 layer 3."),
              errors.end());
    EXPECT_FLOAT_EQ(Value(3, 2), -0.33333334f);
}

TEST_F(FailureRun, ReportFile) {
    Ref<CVekAddinFailureLaminaTsaiwu> tw;
    int ids[2] = {0, 0};
    ASSERT_EQ(Run(tw.c, ids, report.c_str()), 0);
    std::ifstream in(report);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_GT(lines.size(), 40u);
    lines[3] = lines[3].substr(0, 11);  // the date
    lines[4] = lines[4].substr(0, 11);
    const std::vector<std::string> head = {
        "Composite Failure Results Generated by Plystrand",
        "-------------------------------------------------------",
        " ",
        "Date     : ",
        "Time     : ",
        "Database : ",
        "User     : ",
        " ",
        "Summary of Failure Analysis Results",
        "-----------------------------------",
        " ",
        "Loadcase                 : LC1",
        "Subcase                  : SC1",
        "Result                   : Stress Tensor",
        "Failure Criterion        : TsaiWu",
        "Failure Basis            : Stress",
        "Minimum Margin of safety :  -3.33333343E-01",
        "Element id               : 2",
        "Critical Ply             : 2",
        "Critical Component       : FIBER MODE",
        "Failure Index            :   2.25000000E+00",
        " ",
        "Material Values Used",
        "--------------------",
        " ",
        "Material Name : M1",
        "Material ID   : 1",
        "Xt              Xc              Yt              Yc              S12             S23    "
        "         S31             F12             ",
        "  1.00000000E+03  1.00000000E+03  1.00000000E+02  1.00000000E+02  5.00000000E+01  "
        "4.00000000E+01  6.00000000E+01  0.00000000E+00",
        "",
        "Summary of Element Failure Analysis Results",
        "-------------------------------------------",
        " ",
        "Element   Critical Ply  Margin of Safety  Critical Comp.   Failure Index",
        "       1         1        1.54700533E-01       FIBER MODE   7.50000000E-01",
        "       2         2       -3.33333343E-01       FIBER MODE   2.25000000E+00",
        " ",
        " ",
        " ",
        "Element Failure Analysis Results",
        "--------------------------------",
        " ",
        "Element ID =        1",
        "---------------------",
        "Ply       Material  Margin of Safety  Critical Comp.   Failure Index",
        "       1         1    1.54700533E-01       FIBER MODE   7.50000000E-01",
        "       2         1    9.00000000E+00       FIBER MODE   9.99999978E-03",
    };
    for (size_t i = 0; i < head.size(); ++i) EXPECT_EQ(lines[i], head[i]) << i;

    // No per-layer results: element tables without rows; "Maximum" numbers
    // its modes.
    Ref<CVekAddinFailureLaminaMaximum> mx;
    ASSERT_EQ(Run(mx.c, ids, report.c_str(), "", 0), 0);
    std::ifstream again(report);
    std::string all((std::istreambuf_iterator<char>(again)), std::istreambuf_iterator<char>());
    EXPECT_NE(all.find("Critical Component       : -11\n"), std::string::npos);
    EXPECT_NE(all.find("       2         2       -3.33333343E-01              -11"),
              std::string::npos);
    EXPECT_NE(all.find("Ply       Material  Margin of Safety  Critical Comp.   Failure Index\n"
                       " \nElement ID =        2\n"),
              std::string::npos);

    // An unwritable report is reported; the run still succeeds.
    ASSERT_EQ(Run(tw.c, ids, "/nonexistent-dir/report.txt"), 0);
    EXPECT_EQ(gui.texts(4).back(),
              "Could not open file '/nonexistent-dir/report.txt' for writing.");
}

}  // namespace

namespace {

std::string SolverRows() {
    const char* dir = std::getenv("PLYSTRAND_TEST_DATA");
    std::string root = dir ? dir : std::string(__FILE__);
    if (!dir) root = root.substr(0, root.find_last_of('/')) + "/../data";
    return root + "/failure/solver_failure_indices.csv";
}

}  // namespace

// Each Tsai-Wu row of the solver's printed output as a one-layer element:
// the run's failure indices equal the printed ones.
TEST(FailureRunSolver, AgreesWithPrintedTsaiWuIndices) {
    std::ifstream in(SolverRows());
    ASSERT_TRUE(in.good()) << SolverRows();
    std::string line;
    std::getline(in, line);
    std::vector<std::vector<std::string>> rows;
    while (std::getline(in, line)) {
        std::vector<std::string> f;
        std::stringstream cells(line);
        for (std::string cell; std::getline(cells, cell, ',');) f.push_back(cell);
        if (f.size() == 20 && f[3] == "TSAI-WU") rows.push_back(f);
    }
    ASSERT_EQ(rows.size(), 20u);
    const int n = static_cast<int>(rows.size());
    RecordingGUI gui;
    CKpLayup model(nullptr, &gui);
    ASSERT_EQ(meshgen::LoadModel(model, meshgen::Plate(meshgen::Kind::Quad4, n, 1, n, 1)), 0);
    const char* nm[5] = {"LC", "SC", "Stress Tensor", "", "Layer 1"};
    CKpRes* layer = new CKpRes(1, nm, 1, 3, 1);
    model.pRess()->insert(layer);
    std::vector<int> elems;
    for (int e = 1; e <= n; ++e) {
        const std::vector<std::string>& f = rows[static_cast<size_t>(e - 1)];
        CKpMat* m = new CKpMat(e);
        m->setMtrlnm(("M" + std::to_string(e)).c_str());
        m->setFxt(std::stod(f[5])), m->setFxc(std::stod(f[6]));
        m->setFyt(std::stod(f[7])), m->setFyc(std::stod(f[8]));
        m->setFs12(std::stod(f[9])), m->setFs23(std::stod(f[10])), m->setFs31(std::stod(f[11]));
        m->setF12(std::stod(f[12]));
        model.pMats()->insert(m);
        CKpLam* lam = new CKpLam(e);
        CKpLamLyr* lyr = new CKpLamLyr;
        lyr->setMid(e), lyr->setT(0.1);
        lam->LamLyrs()->InsertLast(lyr);
        model.pLams()->insert(lam);
        model.pElems()->find(e)->pid(e);
        std::vector<float> loads;
        for (int i = 13; i < 19; ++i) loads.push_back(std::stof(f[i]));
        layer->FindOrCreateResElem(e, 6, loads.data(), 0, nullptr);
        elems.push_back(e);
    }
    Ref<CVekAddinFailureLaminaTsaiwu> tw;
    const int wanted[1] = {3};
    int ids[2] = {0, 0};
    ASSERT_EQ(model.GetResultStore()->CreateResultsFailureLamina(
                  n, elems.data(), nm, tw.c, 1, 0, 0, IVekResultStore::eStress, 0, nullptr, 0,
                  nullptr, 1, wanted, nullptr, nullptr, ids),
              0);
    CKpRes* indices = model.pRess()->find(ids[0]);
    ASSERT_TRUE(indices);
    EXPECT_STREQ(indices->name(2), "Failure Indices*");
    for (int e = 1; e <= n; ++e) {
        const double printed = std::stod(rows[static_cast<size_t>(e - 1)][19]);
        ASSERT_TRUE(indices->ResElems()->find(e));
        const double got = indices->ResElems()->find(e)->GetFloat(0);
        EXPECT_NEAR(got, printed, 2e-6 * std::fabs(printed)) << "row " << e;
    }
}

TEST_F(FailureRun, LongDescriptionIsCut) {
    Ref<CVekAddinFailureLaminaTsaiwu> tw;
    int ids[2] = {0, 0};
    const std::string description(400, 'd');
    ASSERT_EQ(Run(tw.c, ids, nullptr, description.c_str()), 0);
    const std::string theory = Res(3)->name(3);
    EXPECT_EQ(theory.size(), 255u);
    EXPECT_EQ(theory.substr(0, 16), "TsaiWu Stress (d");
}

TEST_F(FailureRun, ShortRecordsGiveZeroLoads) {
    // Element 2, layer 2 holds only s1: the other loads are 0.
    CKpRes* layer2 = Res(2);
    CKpResElem* full = layer2->ResElems()->find(2);
    layer2->ResElems()->erase(full);
    delete full;
    const float s1 = -1500.0f;
    layer2->FindOrCreateResElem(2, 1, &s1, 0, nullptr);
    Ref<CVekAddinFailureLaminaTsaiwu> tw;
    int ids[2] = {0, 0};
    ASSERT_EQ(Run(tw.c, ids), 0);
    EXPECT_FLOAT_EQ(Value(3, 2), -0.33333334f);
}

TEST_F(FailureRun, UserCriterionTakesItsAllowablesFromTheOverrides) {
    Ref<CVekAddinFailureLaminaUser> user;
    gui.failUserResults[0] = -0.5f;  // margin
    gui.failUserResults[1] = 2.0f;   // mode
    gui.failUserResults[2] = 3.0f;   // index
    const char* mats[1] = {"M1"};
    const double values[2] = {5.0, 6.0};
    int ids[2] = {0, 0};
    ASSERT_EQ(Run(user.c, ids, report.c_str(), "", 1, IVekResultStore::eStress, 1, mats, 2, values),
              0);
    EXPECT_STREQ(Res(3)->name(3), "User Stress");
    EXPECT_FLOAT_EQ(Value(3, 1), -0.5f);
    EXPECT_FLOAT_EQ(Value(4, 1), 3.0f);
    std::ifstream in(report);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(all.find("Critical Component       : 2\n"), std::string::npos);
    EXPECT_NE(all.find("  5.00000000E+00  6.00000000E+00\n"), std::string::npos);
}

// The layers of the laminates against the layer results: each mismatch is
// named, the run goes on; a matching pair gives no warning.
TEST_F(FailureRun, LayerComparisonWarnings) {
    const std::string mismatch =
        "Laminate layers do not match result layers exactly. This can happen if ply results are "
        "not requested for all elements, or multiple layups are used.";
    auto has = [&](const std::string& text) {
        const std::vector<std::string> w = gui.texts(2);
        return std::find(w.begin(), w.end(), text) != w.end();
    };
    Ref<CVekAddinFailureLaminaTsaiwu> tw;
    int ids[2] = {0, 0};
    ASSERT_EQ(Run(tw.c, ids), 0);
    EXPECT_FALSE(has(mismatch));

    // Layer 2 has no record for element 2.
    gui.clear();
    Res(2)->ResElems()->eraseObject(Res(2)->ResElems()->find(2));
    ASSERT_EQ(Run(tw.c, ids), 0);
    EXPECT_TRUE(has("Element ids differ for Laminate and Result layer 2."));
    EXPECT_TRUE(has(mismatch));

    // A third laminate layer without a result.
    gui.clear();
    CKpLamLyr* third = new CKpLamLyr;
    third->setMid(1), third->setT(0.1);
    lam->LamLyrs()->InsertLast(third);
    ASSERT_EQ(Run(tw.c, ids), 0);
    EXPECT_TRUE(has("There are 3 laminate layers and 2 result layers."));
    EXPECT_TRUE(has(mismatch));
}

namespace {

// Tsai-Wu under another class: logs every call of an evaluation, then
// does what Tsai-Wu does.
struct LoggingTsaiWu : CVekAddinFailureLaminaTsaiwu {
    std::vector<std::string> log;
    int Clear() override { return Log("Clear", CVekAddinFailureLaminaTsaiwu::Clear()); }
    int GetNumAllowables(int& n) override {
        return Log("GetNumAllowables", CVekAddinFailureLaminaTsaiwu::GetNumAllowables(n));
    }
    int SetAllowables(int count, const double* values) override {
        return Log("SetAllowables", CVekAddinFailureLaminaTsaiwu::SetAllowables(count, values));
    }
    int CheckAllowables() override {
        return Log("CheckAllowables", CVekAddinFailureLaminaTsaiwu::CheckAllowables());
    }
    int SetBasis(EBasis basis) override {
        return Log("SetBasis", CVekAddinFailureLaminaTsaiwu::SetBasis(basis));
    }
    int SetLoadInDirection(ELoadDirection d, double value) override {
        return Log("SetLoad" + std::to_string(d),
                   CVekAddinFailureLaminaTsaiwu::SetLoadInDirection(d, value));
    }
    int Run() override { return Log("Run", CVekAddinFailureLaminaTsaiwu::Run()); }
    int GetNumResults(int& n) override {
        return Log("GetNumResults", CVekAddinFailureLaminaTsaiwu::GetNumResults(n));
    }
    int GetdResult(int r, int v, double& value) override {
        return Log("d" + std::to_string(r),
                   CVekAddinFailureLaminaTsaiwu::GetdResult(r, v, value));
    }
    int GetiResult(int r, int v, int& value) override {
        return Log("i" + std::to_string(r), CVekAddinFailureLaminaTsaiwu::GetiResult(r, v, value));
    }
    int Log(const std::string& call, int status) {
        log.push_back(call);
        return status;
    }
};

}  // namespace

TEST_F(FailureRun, CriterionUnderAnotherClassGetsEveryCallAndTheSameResults) {
    // The built-in Tsai-Wu object and one of a class derived from it must
    // give the same results; the derived one sees each call of every
    // evaluation through the interface, in the fixed order.
    Ref<CVekAddinFailureLaminaTsaiwu> plain;
    Ref<LoggingTsaiWu> logging;
    int a[2] = {0, 0}, b[2] = {0, 0};
    ASSERT_EQ(Run(plain.c, a), 0);
    ASSERT_EQ(Run(logging.c, b), 0);
    ASSERT_EQ(a[1] - a[0], b[1] - b[0]);
    ASSERT_GT(a[1] - a[0], 0);
    for (int k = 0; k < a[1] - a[0]; ++k) {
        CVekObjectStoreIterator<CKpResElem> ra(*Res(a[0] + k)->ResElems());
        CVekObjectStoreIterator<CKpResElem> rb(*Res(b[0] + k)->ResElems());
        int records = 0;
        while (++ra) {
            ASSERT_TRUE(++rb) << "result " << k;
            const CKpResElem* x = ra.key();
            const CKpResElem* y = rb.key();
            ASSERT_EQ(x->id(), y->id());
            ASSERT_EQ(x->GetNumFloats(), y->GetNumFloats());
            ASSERT_EQ(x->GetNumInts(), y->GetNumInts());
            for (int i = 0; i < x->GetNumFloats(); ++i)
                EXPECT_EQ(std::memcmp(x->Floats() + i, y->Floats() + i, sizeof(float)), 0);
            for (int i = 0; i < x->GetNumInts(); ++i) EXPECT_EQ(x->GetInt(i), y->GetInt(i));
            ++records;
        }
        EXPECT_FALSE(++rb);
        EXPECT_EQ(records, 2) << "result " << k;
    }
    const std::vector<std::string> one = {
        "Clear", "GetNumAllowables", "SetAllowables", "CheckAllowables", "SetBasis",
        "SetLoad0", "SetLoad1", "SetLoad2", "SetLoad3", "SetLoad4", "SetLoad5",
        "CheckAllowables", "Run", "GetNumResults", "d0", "i0", "d1", "i1", "d2", "i2", "d3",
        "i3"};  // Run is logged when it returns, after its own check
    // Two elements of two layers: four evaluations end the log.
    std::vector<std::string> expected;
    for (int e = 0; e < 4; ++e) expected.insert(expected.end(), one.begin(), one.end());
    const std::vector<std::string>& log = logging.c->log;
    ASSERT_GE(log.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(log.end() - static_cast<long>(expected.size()), log.end()),
              expected);
    EXPECT_EQ(std::count(log.begin(), log.end(), "Run"), 4);
}

TEST(FailureRunRecords, EachElementMeetsItsOwnLayerRecords) {
    // Eight quads, three local layers: layer 1 has every element, layer 2
    // has gaps (2 of 3 elements), layer 3 only elements 4 and 5; elements 1
    // and 6 are not selected. Every created value must be the criterion's
    // for that element's own loads.
    RecordingGUI gui;
    CKpLayup model(nullptr, &gui);
    ASSERT_EQ(meshgen::LoadModel(model, meshgen::Plate(meshgen::Kind::Quad4, 8, 1, 8, 1)), 0);
    CKpMat* m = new CKpMat(1);
    m->setMtrlnm("M1");
    m->setFxt(1000), m->setFxc(800), m->setFyt(60), m->setFyc(150);
    m->setFs12(50), m->setFs23(40), m->setFs31(60);
    model.pMats()->insert(m);
    CKpLam* lam = new CKpLam(1);
    for (int k = 0; k < 3; ++k) {
        CKpLamLyr* lyr = new CKpLamLyr;
        lyr->setMid(1), lyr->setT(0.1);
        lam->LamLyrs()->InsertLast(lyr);
    }
    model.pLams()->insert(lam);
    const std::vector<std::vector<int>> covered = {
        {1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 4, 5, 7, 8}, {4, 5}};
    auto loadsOf = [](int e, int k) {
        return std::vector<float>{100.0f * e + 10.0f * k, 5.0f * k - e, 0.0f, 3.0f * e, 0, 0};
    };
    for (int e = 1; e <= 8; ++e) model.pElems()->find(e)->pid(1);
    for (int k = 1; k <= 3; ++k) {
        const std::string layer = "Layer " + std::to_string(k);
        const char* nm[5] = {"LC", "SC", "Stress Tensor", "", layer.c_str()};
        CKpRes* r = new CKpRes(k, nm, 1, 3, 1);
        for (int e : covered[static_cast<size_t>(k - 1)])
            r->FindOrCreateResElem(e, 6, loadsOf(e, k).data(), 0, nullptr);
        model.pRess()->insert(r);
    }
    Ref<CVekAddinFailureLaminaTsaiwu> tw;
    const std::vector<int> selected = {2, 3, 4, 5, 7, 8};
    const char* names[5] = {"LC", "SC", "", "", ""};
    const int wanted[1] = {3};
    int ids[2] = {0, 0};
    ASSERT_EQ(model.GetResultStore()->CreateResultsFailureLamina(
                  static_cast<int>(selected.size()), selected.data(), names, tw.c, 1, 1, 0,
                  IVekResultStore::eStress, 0, nullptr, 0, nullptr, 1, wanted, nullptr, nullptr,
                  ids),
              0);
    // Results: the worst index, then one per layer.
    ASSERT_EQ(ids[1] - ids[0], 4);
    CKpResStore* store = model.pRess();
    const std::vector<double> allow = {1000, 800, 60, 150, 50, 40, 60};
    std::vector<CKpResElem*> out;
    for (int j = 0; j < 4; ++j) out.push_back(new CKpResElem(0, 1, nullptr, 1, nullptr));
    for (int e : selected) {
        float worstMargin = 1.0e12f, worstIndex = 0.0f;
        for (int k = 1; k <= 3; ++k) {
            CKpRes* layer = store->find(ids[0] + k);
            ASSERT_TRUE(layer);
            const std::vector<int>& ks = covered[static_cast<size_t>(k - 1)];
            const bool has = std::find(ks.begin(), ks.end(), e) != ks.end();
            const CKpResElem* r = layer->ResElems()->find(e);
            ASSERT_EQ(r != nullptr, has) << "element " << e << " layer " << k;
            if (!has) continue;
            const std::vector<float> loads = loadsOf(e, k);
            ASSERT_EQ(RunFailureLamina(nullptr, nullptr, loads.data(), allow, out, tw.c, 1), 0);
            EXPECT_EQ(r->GetFloat(0), out[3]->GetFloat(0)) << "element " << e << " layer " << k;
            if (out[0]->GetFloat(0) < worstMargin)
                worstMargin = out[0]->GetFloat(0), worstIndex = out[3]->GetFloat(0);
        }
        const CKpResElem* w = store->find(ids[0])->ResElems()->find(e);
        ASSERT_TRUE(w) << "element " << e;
        EXPECT_EQ(w->GetFloat(0), worstIndex) << "element " << e;
    }
    for (int e : {1, 6})
        for (int id = ids[0]; id < ids[1]; ++id)
            EXPECT_FALSE(store->find(id)->ResElems()->find(e)) << "element " << e;
    for (CKpResElem* r : out) delete r;
}
