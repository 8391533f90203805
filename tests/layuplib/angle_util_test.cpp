#include "layuplib/angle_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/support/Tolerance.h"

namespace {
const double kInf = std::numeric_limits<double>::infinity();
}  // namespace

TEST(AngleUtilTest, NormalisersKnownAnswers) {
    EXPECT_EQ(kPi, std::acos(-1.0));  // the double nearest pi, to the last bit
    EXPECT_TRUE(Near(pi_pi(3 * kPi / 2), -kPi / 2, tol::angle));
    EXPECT_TRUE(Near(pi_pi(-7 * kPi / 2), kPi / 2, tol::angle));
    EXPECT_TRUE(Near(piby2_piby2(3 * kPi / 4), -kPi / 4, tol::angle));
    EXPECT_TRUE(Near(piby2_piby2(-3 * kPi / 4), kPi / 4, tol::angle));
    EXPECT_TRUE(Near(ang0_lt2pi(-kPi / 2), 3 * kPi / 2, tol::angle));
    EXPECT_EQ(ang0_lt2pi(2 * kPi), 0.0);
    // A tiny negative angle plus 2pi rounds to 2pi, which is outside [0, 2pi).
    EXPECT_EQ(ang0_lt2pi(-1e-17), 0.0);
    EXPECT_TRUE(Near(angbound(5 * kPi), kPi, Tol{1e-12, 0}));
    EXPECT_EQ(angbound(3 * kPi), 3 * kPi);  // up to two turns are left alone
    EXPECT_TRUE(Near(radians(degrees(1.234)), 1.234, tol::angle));
    EXPECT_TRUE(Near(degrees(kPi / 6), 30.0, tol::angle));
}

// The float conversions of the host interface round the double result
// once; the factors are the conversions of one unit, to the last bit.
TEST(AngleUtilTest, SinglePrecisionConversionsAndFactors) {
    EXPECT_EQ(degrees_as_float(kPi / 6), 30.0f);
    EXPECT_EQ(degrees_as_float(1.0), static_cast<float>(degrees(1.0)));
    EXPECT_EQ(radians_as_float(30.0f), static_cast<double>(static_cast<float>(radians(30.0))));
    // The rounding is kept: a float is not a double.
    EXPECT_NE(radians_as_float(30.0f), radians(30.0));
    EXPECT_LT(std::fabs(radians_as_float(30.0f) - kPi / 6), 1e-7);
    EXPECT_EQ(kRadPerDeg, radians(1.0));
    EXPECT_EQ(kDegPerRad, degrees(1.0));
    EXPECT_EQ(kPi, std::acos(-1.0));
}

TEST(AngleUtilTest, NormalisersStayInRangeForAnyFiniteInput) {
    const double inputs[] = {0.0, 1e-300, -1e-17, 1e3, -1e7, 12345.678, 1e17, -1e300, 1.7e308};
    for (double a : inputs) {
        const double p = pi_pi(a), h = piby2_piby2(a), z = ang0_lt2pi(a);
        EXPECT_TRUE(p >= -kPi && p <= kPi) << a;
        EXPECT_TRUE(h >= -kPi / 2 && h <= kPi / 2) << a;
        EXPECT_TRUE(z >= 0.0 && z < 2 * kPi) << a;
        // The reduction keeps the angle's direction (where doubles still can).
        if (std::fabs(a) < 1e4) {
            EXPECT_TRUE(Near(std::sin(p), std::sin(a), Tol{1e-9, 0})) << a;
        }
    }
    // Non-finite input comes back unchanged (and promptly).
    EXPECT_TRUE(std::isnan(pi_pi(std::nan(""))));
    EXPECT_EQ(ang0_lt2pi(kInf), kInf);
    EXPECT_EQ(piby2_piby2(-kInf), -kInf);
    EXPECT_EQ(angbound(kInf), kInf);
}

TEST(AngleUtilTest, SimplifyDegrees) {
    EXPECT_TRUE(Near(simplify_degrees(370.0009), 10.0, tol::angle));
    EXPECT_TRUE(Near(simplify_degrees(-190.5), 169.5, tol::angle));
    EXPECT_TRUE(Near(simplify_degrees(-45.0007), -45.0, tol::angle));  // cut toward zero
    EXPECT_EQ(simplify_degrees(180.0), 180.0);
    // Degrees that went through radians are not cut below their value.
    EXPECT_TRUE(Near(simplify_degrees(degrees(radians(30.0))), 30.0, tol::angle));
    EXPECT_TRUE(Near(simplify_degrees(-degrees(radians(30.0))), -30.0, tol::angle));
    // Beyond the 32-bit range of thousandths: whole turns go first.
    EXPECT_TRUE(Near(simplify_degrees(360.0 * 1e7 + 90.25), 90.25, Tol{1e-6, 0}));
    EXPECT_TRUE(Near(simplify_degrees(-1e12 - 30.0), 50.0, Tol{1e-3, 0}));  // 1e12 = 280 mod 360
    const double big = simplify_degrees(1e300);
    EXPECT_TRUE(big >= -180.0 && big <= 180.0);
    EXPECT_TRUE(std::isnan(simplify_degrees(std::nan(""))));
    EXPECT_EQ(simplify_degrees(-kInf), -kInf);
}

TEST(AngleUtilTest, IndexHelpersWrapNegatives) {
    EXPECT_EQ(dn_0_3(-5), 3);
    EXPECT_EQ(dn_0_3(-1), 3);
    EXPECT_EQ(dn_0_7(-1), 7);
    EXPECT_EQ(dn_0_7(17), 1);
    EXPECT_EQ(ed_0_2(-1), 2);
    EXPECT_EQ(ed_0_2(4), 1);
    EXPECT_EQ(ed_0_2(std::numeric_limits<int>::min()), 1);  // -2^31 = 3·(-715827883) + 1
}
