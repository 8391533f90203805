#include "layuplib/lamina_failure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "layuplib/CVekAddinFailureLaminaCowin.h"
#include "layuplib/CVekAddinFailureLaminaHankinson.h"
#include "layuplib/CVekAddinFailureLaminaHill.h"
#include "layuplib/CVekAddinFailureLaminaHoffman.h"
#include "layuplib/CVekAddinFailureLaminaMaximum.h"
#include "layuplib/CVekAddinFailureLaminaTsaiwu.h"
#include "layuplib/CVekAddinFailureLaminaUser.h"
#include "tests/support/Tolerance.h"

// The built-in criteria driven through IVekAddinFailureLamina in the order a
// failure run uses, on hand-checked figures, on failure indices a
// structural solver printed, and on the inputs they must refuse.

namespace {

using Lamina = IVekAddinFailureLamina;
constexpr Tol kFigure{0.0, 1e-12};
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// One criterion with one reference held for the test.
struct Criterion {
    explicit Criterion(CVekAddinFailureLaminaTemplate* p) : c(p) { c->AddRef(); }
    ~Criterion() { c->Release(); }
    Criterion(const Criterion&) = delete;
    CVekAddinFailureLaminaTemplate* c;

    // Clear, allowables, check, basis, six loads, Run: the run's status.
    int Run(const std::vector<double>& allowables, const std::vector<double>& loads) {
        c->Clear();
        int n = 0;
        c->GetNumAllowables(n);
        c->SetAllowables(static_cast<int>(allowables.size()), allowables.data());
        c->CheckAllowables();
        c->Clear();  // the check's messages are not the run's
        c->SetBasis(Lamina::eStress);
        for (int d = 0; d < 6; ++d)
            c->SetLoadInDirection(static_cast<Lamina::ELoadDirection>(d), loads[d]);
        return c->Run();
    }
    double D(int result) {
        double v = -1.0;
        EXPECT_EQ(c->GetdResult(result, 0, v), 0);
        return v;
    }
    std::vector<int> Ints() {
        std::vector<int> v(4, -1);
        for (int r = 0; r < 4; ++r) c->GetiResult(r, 0, v[r]);
        return v;
    }
    std::string Messages() {
        int n = 0;
        c->GetNumMessages(n);
        std::string all;
        for (int i = 0; i < n; ++i) {
            char text[512];
            Lamina::EMessageType type;
            c->GetMessageString(i, type, text, sizeof(text));
            all += (i ? "|" : "") + std::string(text);
        }
        return all;
    }
};

using Make = std::function<CVekAddinFailureLaminaTemplate*()>;
const Make kTsaiWu = [] { return new CVekAddinFailureLaminaTsaiwu; };
const Make kMaximum = [] { return new CVekAddinFailureLaminaMaximum; };
const Make kHill = [] { return new CVekAddinFailureLaminaHill; };
const Make kHoffman = [] { return new CVekAddinFailureLaminaHoffman; };
const Make kHankinson = [] { return new CVekAddinFailureLaminaHankinson; };
const Make kCowin = [] { return new CVekAddinFailureLaminaCowin; };

// Xt Xc Yt Yc S12 S23 S31 F12*.
const std::vector<double> kSquare = {1000, 1000, 100, 100, 50, 40, 60, 0};
const std::vector<double> kSquareF12 = {1000, 1000, 100, 100, 50, 40, 60, -0.5};
const std::vector<double> kCarbon = {1500, 1200, 50, 250, 70, 0, 0, 0};

}  // namespace

TEST(LaminaFigures, QuadraticCriteria) {
    struct Row {
        const char* what;
        Make make;
        std::vector<double> allowables, loads;
        double margin, index;
        int mode;
    } rows[] = {
        {"Tsai-Wu", kTsaiWu, kSquare, {500, 50, 0, 25, 0, 0}, 0.15470053837925146, 0.75, 1},
        {"Tsai-Wu F12*", kTsaiWu, kSquareF12, {500, 50, 0, 25, 0, 0}, 0.41421356237309515, 0.5, 1},
        {"Tsai-Wu t23", kTsaiWu, kSquare, {500, 50, 0, 25, 40, 0}, 0.0, 1.0, 2},
        {"Hill", kHill, kSquare, {500, 50, 0, 25, 0, 0}, 0.17444043902940698, 0.725, 1},
        {"Hill s2<0", kHill, kSquare, {500, -50, 0, 25, 0, 0}, 0.13592366849412962, 0.775, 1},
        {"Hoffman", kHoffman, kSquare, {500, 50, 0, 25, 0, 0}, 0.17444043902940698, 0.725, 1},
        {"Hoffman s2<0", kHoffman, kSquare, {500, -50, 0, 25, 0, 0}, 0.13592366849412962, 0.775, 1},
        {"Hankinson s2<0",
         kHankinson,
         kSquare,
         {500, -50, 0, 25, 0, 0},
         -0.6876524762227878,
         10.25,
         1},
        {"Cowin s2<0", kCowin, kSquare, {500, -50, 0, 25, 0, 0}, -0.6876524762227878, 10.25, 1},
        {"Tsai-Wu carbon",
         kTsaiWu,
         kCarbon,
         {300, 10, 0, 20, 0, 0},
         1.3110674584071718,
         0.24963265306122448,
         1},
        {"Hoffman carbon",
         kHoffman,
         kCarbon,
         {300, 10, 0, 20, 0, 0},
         1.322946931670797,
         0.2479659863945578,
         1},
        {"Hill carbon",
         kHill,
         kCarbon,
         {300, 10, 0, 20, 0, 0},
         1.497664840487321,
         0.16029931972789113,
         1},
        {"Hoffman tiny", kHoffman, kSquare, {1e-9, 0, 0, 0, 0, 0}, 999999.0, 0.0, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Criterion c(r.make());
        ASSERT_EQ(c.Run(r.allowables, r.loads), 0) << c.Messages();
        EXPECT_TRUE(Near(c.D(0), r.margin, kFigure));
        EXPECT_EQ(c.D(1), c.D(0) + 1.0);
        if (r.index != 0.0) {
            EXPECT_TRUE(Near(c.D(3), r.index, kFigure));
        }
        EXPECT_EQ(c.D(2), r.mode);
        EXPECT_EQ(c.Ints(), std::vector<int>(4, r.mode));
    }
}

TEST(LaminaFigures, MaximumCriterion) {
    Criterion c(kMaximum());
    ASSERT_EQ(c.Run(kSquare, {500, 50, 0, 25, 0, 0}), 0);  // three ratios tie at 0.5
    EXPECT_EQ(std::vector<double>({c.D(0), c.D(1), c.D(2), c.D(3)}),
              std::vector<double>({1.0, 2.0, 11.0, 0.5}));
    EXPECT_EQ(c.Ints(), std::vector<int>(4, 11));

    ASSERT_EQ(c.Run(kCarbon, {300, 10, 0, 20, 0, 0}), 0);
    const double index = static_cast<float>(20.0 / 70.0);
    EXPECT_EQ(c.D(3), index);
    EXPECT_EQ(c.D(0), 1.0 / index - 1.0);
    EXPECT_TRUE(Near(c.D(0), 2.49999984, {1e-8, 0.0}));
    EXPECT_EQ(c.Ints(), std::vector<int>(4, 12));
}

TEST(LaminaFigures, RefusedEvaluationsKeepTheClearedResults) {
    const std::string nonFinite = "Failure calculation gave a non-finite value.";
    struct Row {
        const char* what;
        Make make;
        std::vector<double> allowables, loads;
        std::string messages;
    } rows[] = {
        {"Hankinson",
         kHankinson,
         kSquare,
         {500, 50, 0, 25, 0, 0},
         "Imaginary root for failure calculation:\n b*b - 4*a*c = -35"},
        {"Cowin",
         kCowin,
         kSquare,
         {500, 50, 0, 25, 0, 0},
         "Imaginary root for failure calculation:\n b*b - 4*a*c = -35"},
        {"no positive root",
         kHankinson,
         kCarbon,
         {-30, -60, 0, 0, 0, 0},
         "No positive root for failure calculation:\n R = -20.5782"},
        {"Xt 0",
         kTsaiWu,
         {0, 1000, 100, 100, 50, 40, 60, 0},
         {1, 0, 0, 0, 0, 0},
         "One or more in-plane failure values are less than or equal to zero:\n Xt 0 Xc 1000 Yt "
         "100 Yc 100 S12 50"},
        {"NaN Xt",
         kHill,
         {kNaN, 1, 1, 1, 1, 0, 0},
         {1, 0, 0, 0, 0, 0},
         "One or more in-plane failure values are less than or equal to zero:\n Xt nan Xc 1 Yt 1 "
         "Yc 1 S12 1"},
        {"NaN S31",
         kMaximum,
         {1, 1, 1, 1, 1, 0, kNaN},
         {1, 0, 0, 0, 0, 0},
         "One or more out-of-plane failure values are less than zero:\n S23 0 S31 nan"},
        {"infinite s1", kTsaiWu, kSquare, {kInf, 0, 0, 0, 0, 0}, nonFinite},
        {"NaN s3", kMaximum, kSquare, {1, 0, kNaN, 0, 0, 0}, nonFinite},
        {"overflowing ratio",
         kMaximum,
         {1e-300, 1, 1, 1, 1, 0, 0},
         {1e300, 0, 0, 0, 0, 0},
         nonFinite},
        {"overflowing form", kHoffman, kSquare, {1e200, 0, 0, 0, 0, 0}, nonFinite},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Criterion c(r.make());
        ASSERT_EQ(c.Run(kSquare, {100, 0, 0, 0, 0, 0}), 0);  // results to overwrite
        EXPECT_EQ(c.Run(r.allowables, r.loads), 1);
        EXPECT_EQ(c.Messages(), r.messages);
        EXPECT_EQ(std::vector<double>({c.D(0), c.D(1), c.D(3)}), std::vector<double>(3, 0.0));
        EXPECT_EQ(c.Ints()[2], 0);
    }
}

TEST(LaminaFigures, ChecksCoverOnlyTheAllowablesHeld) {
    auto* user = new CVekAddinFailureLaminaUser;
    Criterion c(user);
    user->SetNumAllowables(3);
    const double three[3] = {1, 2, 3};
    c.c->SetAllowables(3, three);
    EXPECT_EQ(c.c->CheckAllowables(), 0);
    EXPECT_EQ(c.Messages(), "");
    const double bad[3] = {1, -2, 3};
    c.c->SetAllowables(3, bad);
    EXPECT_EQ(c.c->CheckAllowables(), 1);
    EXPECT_EQ(c.Messages(),
              "One or more in-plane failure values are less than or equal to zero:\n Xt 1 Xc -2 "
              "Yt 3 Yc 0 S12 0");
    user->SetNumAllowables(0);
    EXPECT_EQ(c.c->CheckAllowables(), 0);
    user->SetNumAllowables(9);
    const double nine[9] = {1, 1, 1, 1, 1, 0, -1, -5, -5};
    c.c->SetAllowables(9, nine);
    EXPECT_EQ(c.c->CheckAllowables(), 2);

    Criterion tsaiWu(kTsaiWu());
    std::vector<double> f12 = kSquare;
    f12[7] = -0.999;
    EXPECT_EQ(tsaiWu.Run(f12, {0, 0, 0, 0, 0, 0}), 0);
    f12[7] = kNaN;
    tsaiWu.c->SetAllowables(8, f12.data());
    EXPECT_EQ(tsaiWu.c->CheckAllowables(), 3);
}

namespace {

std::string FailureData() {
    const char* dir = std::getenv("PLYSTRAND_TEST_DATA");
    std::string root = dir ? dir : std::string(__FILE__);
    if (!dir) root = root.substr(0, root.find_last_of('/')) + "/../data";
    return root + "/failure/solver_failure_indices.csv";
}

}  // namespace

TEST(LaminaFigures, AgreeWithSolverFailureIndices) {
    std::ifstream in(FailureData());
    ASSERT_TRUE(in.good()) << FailureData();
    std::string line;
    std::getline(in, line);  // header
    int rows = 0, tsaiWuRows = 0;
    while (std::getline(in, line)) {
        std::vector<std::string> f;
        std::stringstream cells(line);
        for (std::string cell; std::getline(cells, cell, ',');) f.push_back(cell);
        ASSERT_EQ(f.size(), 20u) << line;
        std::vector<double> allowables, loads;
        for (int i = 5; i < 13; ++i) allowables.push_back(std::stod(f[i]));
        for (int i = 13; i < 19; ++i) loads.push_back(std::stod(f[i]));
        const double printed = std::stod(f[19]);
        const bool tsaiWu = f[3] == "TSAI-WU";
        Criterion c(tsaiWu ? kTsaiWu() : kMaximum());
        ASSERT_EQ(c.Run(allowables, loads), 0) << line;
        const Tol t = tsaiWu ? Tol{0.0, 2e-6} : Tol{5e-5, 0.0};
        EXPECT_TRUE(Near(c.D(3), printed, t)) << "element " << f[1] << " ply " << f[2];
        ++rows;
        tsaiWuRows += tsaiWu;
    }
    EXPECT_EQ(rows, 21);
    EXPECT_EQ(tsaiWuRows, 20);
}
