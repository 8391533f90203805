#include "layuplib/CKpMatGeom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "layuplib/angle_util.h"
#include "tests/support/Tolerance.h"

namespace {
double deg(double d) {
    return d * kPi / 180.0;
}
}  // namespace

TEST(CKpMatGeom, StepsAndBiasDirections) {
    CKpMatGeom plain;  // no angle: no bias
    EXPECT_EQ((std::vector<double>{plain.GetWarpBiasAngle(), plain.GetWarpBias2Ratio()}),
              (std::vector<double>{0.0, 0.0}));

    CKpMatGeom square(deg(90), 1.0, 2.0);
    EXPECT_DOUBLE_EQ(square.GetWeftStepLength(), 2.0);
    EXPECT_TRUE(Near(square.GetWarpBiasAngle(), deg(45), tol::angle));
    EXPECT_TRUE(Near(square.GetWarpBias2Angle(), deg(-45), tol::angle));
    EXPECT_TRUE(Near(square.GetWarpBiasRatio(), std::sqrt(0.5), tol::loose));

    // 60 degrees, weft step half the warp step: the short diagonal of the
    // cell runs from the warp step to the weft step.
    CKpMatGeom skew(deg(60), 2.0, 1.0);
    EXPECT_DOUBLE_EQ(skew.GetWeftStepLength(), 0.5);
    const double bx = 2.0 + 0.5, by = std::sqrt(0.75);
    EXPECT_TRUE(Near(skew.GetWarpBiasAngle(), std::atan2(by, bx), tol::angle));
    EXPECT_TRUE(Near(skew.GetWarpBiasRatio(), 2.0 / std::hypot(bx, by), tol::loose));
    skew.SetWarpWeftRatio(0.0);
    EXPECT_DOUBLE_EQ(skew.GetWeftStepLength(), 0.0);
}

TEST(CKpMatGeom, LatticeCoordinates) {
    // Point = fu s (1, 0) + fv (s / r) (cos a, sin a).
    CKpMatGeom g(deg(60), 2.0, 1.0);
    const double fu = 1.5, fv = -2.0, w = 0.5;
    const double u = fu * 1.0 + fv * w * 0.5, v = fv * w * std::sqrt(0.75);
    double gu = 0, gv = 0;
    ASSERT_EQ(g.GetFuFv(u, v, &gu, &gv), 0);
    EXPECT_TRUE(Near(gu, fu, tol::length));
    EXPECT_TRUE(Near(gv, fv, tol::length));

    // No lattice: parallel warp and weft, no step, no ratio, no output.
    gu = gv = 7.0;
    const double bad[5][3] = {
        {0, 1, 1}, {kPi, 1, 1}, {deg(60), 1, 0}, {deg(60), 0, 1}, {deg(60), -1, 1}};
    for (const auto& b : bad)
        EXPECT_EQ(CKpMatGeom(b[0], b[1], b[2]).GetFuFv(u, v, &gu, &gv), -1) << b[0] << " " << b[1];
    EXPECT_EQ(g.GetFuFv(u, v, nullptr, &gv), -1);
    EXPECT_EQ((std::vector<double>{gu, gv}), (std::vector<double>{7.0, 7.0}));
}

TEST(CKpMatGeom, SnapToAxis) {
    // Square fabric: axes every 45 degrees, from the warp anticlockwise.
    CKpMatGeom square(deg(90), 1.0, 1.0);
    const struct {
        double in, axis;
        int index;
    } cases[] = {{10, 0, 0},     {30, 45, 1},     {100, 90, 2},   {150, 135, 3}, {170, 180, 4},
                 {-170, 180, 4}, {-120, -135, 5}, {-100, -90, 6}, {-30, -45, 7}, {370, 0, 0}};
    for (const auto& c : cases) {
        double a = deg(c.in);
        EXPECT_EQ(square.SnapToAxis(a, 1.0), c.index) << c.in;
        EXPECT_TRUE(Near(std::remainder(a - deg(c.axis), 2 * kPi), 0.0, tol::angle)) << c.in;
    }
    // Half the band: 11.25 degrees either side.
    double a = deg(375);
    EXPECT_EQ(square.SnapToAxis(a, 0.5), -1);
    EXPECT_TRUE(Near(a, deg(15), tol::angle));  // wrapped, not snapped

    // Any fabric: fraction 0 never snaps, fraction 1 (or more) always does.
    CKpMatGeom skew(deg(70), 1.5, 1.0);
    for (int i = -179; i < 180; i += 7) {
        double x = deg(i);
        EXPECT_EQ(skew.SnapToAxis(x, 0.0), -1) << i;
        double y = deg(i);
        EXPECT_GE(skew.SnapToAxis(y, 2.0), 0) << i;
    }
}
