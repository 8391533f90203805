#include "layuplib/lamina_failure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <limits>
#include <random>
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

namespace {

// The strength-ratio equation written out term by term from the allowables
// on every call, and the transverse-shear checks dividing every time: what
// the prepared terms and the zero-shear shortcut must reproduce bit for bit.
void DirectTerms(LaminaForm form, const double* al, const double* l, double& a, double& b) {
    const double xt = al[0], xc = al[1], yt = al[2], yc = al[3], s12 = al[4];
    const double s1 = l[0], s2 = l[1], t12 = l[3];
    const double f66 = 1.0 / (s12 * s12);
    if (form == LaminaForm::Hill) {
        const double x = s1 >= 0.0 ? xt : xc;
        const double y = s2 >= 0.0 ? yt : yc;
        const double xCross = s1 * s2 >= 0.0 ? xt : xc;
        a = s1 * s1 / (x * x) + s2 * s2 / (y * y) - s1 * s2 / (xCross * xCross) + f66 * t12 * t12;
        b = 0.0;
        return;
    }
    double k = 0.0;
    if (form == LaminaForm::TsaiWu) k = 2.0 * al[7] / std::sqrt(xt * xc * yt * yc);
    if (form == LaminaForm::Hoffman) k = -1.0 / (xt * xc);
    if (form == LaminaForm::Hankinson) k = 1.0 / (xc * yt) + 1.0 / (xt * yc) - f66;
    if (form == LaminaForm::Cowin) k = 2.0 * (1.0 / std::sqrt(xt * xc * yt * yc) - 0.5 * f66);
    a = s1 * s1 / (xt * xc) + s2 * s2 / (yt * yc) + k * s1 * s2 + f66 * t12 * t12;
    b = (1.0 / xt - 1.0 / xc) * s1 + (1.0 / yt - 1.0 / yc) * s2;
}

LaminaOutcome DirectShear(LaminaOutcome o, const double* al, const double* l) {
    const double shear[2][2] = {{al[5], l[4]}, {al[6], l[5]}};
    for (const auto& s : shear) {
        if (!(s[0] > 0.0)) continue;
        const double r = std::fabs(s[1]) / s[0];
        if (r > 1.0 / (o.margin + 1.0)) o = {1.0 / r - 1.0, 2, r};
    }
    return o;
}

bool SameBits(double x, double y) {
    return std::memcmp(&x, &y, sizeof x) == 0;
}

}  // namespace

TEST(LaminaArithmetic, PreparedTermsAndShearChecksMatchTheDirectFormulaBitForBit) {
    std::mt19937 rng(2024);
    std::uniform_real_distribution<double> strength(0.5, 3000.0), unit(-1.0, 1.0);
    const LaminaForm forms[] = {LaminaForm::TsaiWu, LaminaForm::Hill, LaminaForm::Hoffman,
                                LaminaForm::Hankinson, LaminaForm::Cowin};
    int compared = 0, shearGoverned = 0;
    for (int trial = 0; trial < 4000; ++trial) {
        double al[8];
        for (int i = 0; i < 5; ++i) al[i] = strength(rng);
        // Transverse-shear strengths off (0) now and then.
        al[5] = trial % 5 == 0 ? 0.0 : strength(rng) / 10.0;
        al[6] = trial % 7 == 0 ? 0.0 : strength(rng) / 10.0;
        al[7] = 0.99 * unit(rng);
        double l[6];
        for (double& v : l) v = 2000.0 * unit(rng);
        // Zero loads of either sign, which the shortcut skips.
        if (trial % 3 == 0) l[4] = trial % 2 ? 0.0 : -0.0;
        if (trial % 4 == 0) l[5] = 0.0;
        if (trial % 11 == 0) l[0] = l[1] = l[3] = 0.0;
        for (LaminaForm form : forms) {
            LaminaAllowableTerms t;
            lamina_allowable_terms(form, al, t);
            double a = 0.0, b = 0.0, a0 = 0.0, b0 = 0.0;
            lamina_terms(t, l, a, b);
            DirectTerms(form, al, l, a0, b0);
            ASSERT_TRUE(SameBits(a, a0) && SameBits(b, b0)) << "trial " << trial;
            double a1 = 0.0, b1 = 0.0;
            lamina_terms(form, al, l, a1, b1);
            ASSERT_TRUE(SameBits(a1, a0) && SameBits(b1, b0)) << "trial " << trial;
            for (double start : {1000.0, static_cast<double>(1.0e12f)}) {
                LaminaOutcome got{}, quadratic{};
                double reported = 0.0, reported0 = 0.0;
                const int status = lamina_strength_ratio(a, b, al, l, start, got, reported);
                // The quadratic alone (no transverse shear), then the checks
                // done the direct way.
                double noShear[8];
                std::copy(al, al + 8, noShear);
                noShear[5] = noShear[6] = 0.0;
                const int status0 =
                    lamina_strength_ratio(a, b, noShear, l, start, quadratic, reported0);
                ASSERT_EQ(status, status0) << "trial " << trial;
                if (status != 0) {
                    EXPECT_TRUE(SameBits(reported, reported0)) << "trial " << trial;
                    continue;
                }
                const LaminaOutcome want = DirectShear(quadratic, al, l);
                ASSERT_TRUE(SameBits(got.margin, want.margin) &&
                            SameBits(got.failureIndex, want.failureIndex) &&
                            got.mode == want.mode)
                    << "trial " << trial;
                ++compared;
                if (want.mode == 2) ++shearGoverned;
            }
        }
    }
    // Both branches of the shear checks were exercised.
    EXPECT_GT(compared, 10000);
    EXPECT_GT(shearGoverned, 500);
}
