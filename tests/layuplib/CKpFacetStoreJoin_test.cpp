#include <gtest/gtest.h>

#include <cmath>

#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/angle_util.h"
#include "tests/support/FacetLocate.h"
#include "tests/support/FacetSurface.h"
#include "tests/support/Tolerance.h"

namespace {

// A tube of twelve flat faces of radius 1; face k spans the angles 30k to
// 30(k + 1) degrees. OnFace is the point a fraction t across face k at
// height z, Helix the direction at alpha from the axis on face k: unrolled,
// a helix is a straight line.
CKpPoint OnFace(int k, double t, double z) {
    const double a = k * kPi / 6, b = (k + 1) * kPi / 6;
    CKpPoint p;
    p.Set(std::cos(a) + t * (std::cos(b) - std::cos(a)),
          std::sin(a) + t * (std::sin(b) - std::sin(a)), z);
    return p;
}
CKpDirn Helix(int k, double alpha) {
    const double m = (k + 0.5) * kPi / 6;
    CKpDirn d;
    d.Set(-std::sin(m) * std::sin(alpha), std::cos(m) * std::sin(alpha), std::cos(alpha));
    return d;
}

TEST(JoinPoints, FindsTheHelixThroughTwoPoints) {
    FacetSurface s;
    s.Build(surfmesh::OpenCylinder(meshgen::Kind::Quad4, 12, 10, 1.0, 10.0));
    // From the middle of face 0 to 0.3 across face 2: 1.8 face widths round.
    const double alpha = 50.0 * kPi / 180.0;
    const double span = 1.8 * 2.0 * std::sin(kPi / 12) / std::sin(alpha);
    CKpPoint p1 = OnFace(0, 0.5, 2.3), p2 = OnFace(2, 0.3, 2.3 + span * std::cos(alpha));
    const int f1 = FacetAt(s.facets, p1), f2 = FacetAt(s.facets, p2);
    const CKpDirn d1 = Helix(0, alpha), d2 = Helix(2, alpha);
    const double want1 = s.facets.pFac(f1)->GetAngle(&d1);
    const double want2 = s.facets.pFac(f2)->GetAngle(&d2);

    double length = 1.2 * span, angle1 = want1 + 0.15, angle2 = want2 - 0.1;
    ASSERT_EQ(s.facets.JoinPoints(nullptr, length, p1, f1, 1, angle1, p2, f2, 1, angle2), 0);
    EXPECT_TRUE(Near(length, span, tol::loose));
    EXPECT_TRUE(Near(angle1, want1, tol::loose));
    EXPECT_TRUE(Near(angle2, want2, tol::loose));

    // The step that failed: no first facet, no second, axes that never meet.
    const CKpDirn up = Helix(0, 0.0);
    p2 = OnFace(0, 0.5, 6.4);
    double a1 = s.facets.pFac(f1)->GetAngle(&up), a2 = a1;
    length = 4.1;
    EXPECT_EQ(s.facets.JoinPoints(nullptr, length, p1, -1, 1, a1, p2, f2, 1, a2), 1);
    EXPECT_EQ(s.facets.JoinPoints(nullptr, length, p1, f1, 1, a1, p2, -1, 1, a2), 2);
    length = 0.5;
    EXPECT_EQ(s.facets.JoinPoints(nullptr, length, p1, f1, 1, a1, p2, FacetAt(s.facets, p2), 1, a2),
              4);
    EXPECT_EQ(length, 0.5);
}

}  // namespace
