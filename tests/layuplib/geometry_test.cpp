#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "layuplib/CKpMsg.h"
#include "layuplib/angle_util.h"
#include "layuplib/geom_util.h"
#include "tests/support/Tolerance.h"

namespace {

template <typename T = CKpPoint>
T v3(double x, double y, double z) {
    T t;
    t.Set(x, y, z);
    return t;
}
CKpDirn dn(double x, double y, double z) {
    return v3<CKpDirn>(x, y, z);
}

::testing::AssertionResult SameXYZ(const CKpTriplet& a, const CKpTriplet& b, Tol t = tol::length) {
    const double got[3] = {a.getx(), a.gety(), a.getz()};
    const double want[3] = {b.getx(), b.gety(), b.getz()};
    return NearArray(got, want, 3, t);
}

// Rodrigues' formula, independent of the two-rotation method under test.
CKpPoint rodrigues(const CKpPoint& p0, const CKpPoint& p1, const CKpPoint& p, double ang) {
    double k[3], v[3];
    for (int i = 0; i < 3; ++i) k[i] = p1.Get(i) - p0.Get(i), v[i] = p.Get(i) - p0.Get(i);
    const double len = std::sqrt(k[0] * k[0] + k[1] * k[1] + k[2] * k[2]);
    for (double& c : k) c /= len;
    const double kxv[3] = {k[1] * v[2] - k[2] * v[1], k[2] * v[0] - k[0] * v[2],
                           k[0] * v[1] - k[1] * v[0]};
    const double kv = k[0] * v[0] + k[1] * v[1] + k[2] * v[2];
    CKpPoint r;
    for (int i = 0; i < 3; ++i)
        r.Set(i, p0.Get(i) + v[i] * std::cos(ang) + kxv[i] * std::sin(ang) +
                     k[i] * kv * (1.0 - std::cos(ang)));
    return r;
}

}  // namespace

TEST(CKpTripletTest, IndexedAccessAndAxisRotations) {
    CKpTriplet t = v3<CKpTriplet>(1, 2, 3), r = t;
    t.Set(3, 9.0);  // out of range: no change
    EXPECT_TRUE(SameXYZ(t, r));
    // A quarter turn about each axis by the right-hand rule; axis 3 refused.
    const CKpTriplet want[3] = {v3(1, -3, 2), v3(3, 2, -1), v3(-2, 1, 3)};
    for (int axis = 0; axis < 3; ++axis) {
        r = t;
        ASSERT_EQ(r.Rotate(axis, kPi / 2), 0);
        EXPECT_TRUE(SameXYZ(r, want[axis])) << "axis " << axis;
    }
    EXPECT_EQ(r.Rotate(3, 1.0), -1);
    EXPECT_TRUE(SameXYZ(r, want[2]));
}

TEST(CKpDirnTest, AnglesAndProjection) {
    const CKpDirn ex = dn(1, 0, 0), zero;
    EXPECT_EQ(ex.Angle(&zero), 0.0);
    EXPECT_EQ(ex.DotProductInt(&zero), 0);
    // Opposite vectors: several of these have a cosine that rounds below -1
    // and must still give pi, not NaN; the same for the point-based angles.
    const CKpPoint o;
    for (int i = 1; i < 100; ++i) {
        const CKpDirn a = dn(0.1 * i, 0.2, 0.3), b = dn(-0.3 * i, -0.6, -0.9);
        const CKpPoint pa = v3(0.1 * i, 0.2, 0.3), pb = v3(-0.3 * i, -0.6, -0.9);
        ASSERT_TRUE(Near(a.Angle(&b), kPi, Tol{1e-7, 0})) << "case " << i;
        ASSERT_TRUE(Near(ang_2dirns(&a, &b), kPi, Tol{1e-7, 0})) << "case " << i;
        ASSERT_TRUE(Near(ang_3pts(&o, &pa, &pb), kPi, Tol{1e-7, 0})) << "case " << i;
        ASSERT_TRUE(Near(ang_4pts(&o, &pa, &o, &pb), kPi, Tol{1e-7, 0})) << "case " << i;
    }
    // Projection with a non-unit normal keeps the in-plane part at its size.
    CKpDirn d = dn(3, 4, 5);
    const CKpDirn n = dn(0, 0, 7);
    d.ProjectNormal(&n);
    EXPECT_TRUE(SameXYZ(d, dn(3, 4, 0)));
    EXPECT_TRUE(SameXYZ(n, dn(0, 0, 7)));  // the caller's normal is untouched
}

TEST(CKpLineTest, DistPointAndDistLine) {
    const CKpPoint a, b = v3(10, 0, 0), p = v3(4, 3, 0), beyond = v3(11, 1, 0);
    CKpLine line;
    line.Set2Points(&a, &b);
    double t = 5.0, dist = 0.0;
    CKpPoint foot;
    ASSERT_EQ(line.DistPoint(&p, &t, &foot, &dist), 0);
    EXPECT_TRUE(Near(t, 0.4, tol::length));
    EXPECT_TRUE(Near(dist, 3.0, tol::length));
    EXPECT_TRUE(SameXYZ(foot, v3(4, 0, 0)));
    dist = 42.0;
    EXPECT_EQ(line.DistPoint(&beyond, &t, nullptr, &dist), -1);
    EXPECT_EQ(t, -1.0);
    EXPECT_EQ(dist, 42.0);
    EXPECT_EQ(dist_line_point(&a, &a, &p, &dist), -1);  // zero-length segment

    // Skew lines: this along x at z = 0, the other along y at x = 3, z = 2.
    CKpLine other;
    const CKpPoint c = v3(3, -1, 2), d = v3(3, 1, 2);
    other.Set2Points(&c, &d);
    double s = 0.0;
    CKpPoint q;
    ASSERT_EQ(line.DistLine(other, &t, &s, nullptr, &q, &dist), 0);
    const double got[3] = {t, s, dist}, want[3] = {0.3, 0.5, 2.0};
    EXPECT_TRUE(NearArray(got, want, 3, tol::length));
    EXPECT_TRUE(SameXYZ(q, v3(3, 0, 2)));
    const CKpPoint e = v3(0, 1, 0), f = v3(10, 1, 0);
    other.Set2Points(&e, &f);
    line.DistLine(other, &t, &s, nullptr, nullptr, nullptr);
    EXPECT_EQ(s, 1.001);  // parallel
}

TEST(GeomUtilTest, PlanesAndIntersections) {
    const CKpPoint a = v3(0, 0, 1), b = v3(1, 0, 1), c = v3(0, 1, 1);
    CKpPlane plane, flat;
    ASSERT_EQ(plane.Set3Points(&a, &b, &c), 0);
    EXPECT_TRUE(Near(plane.c * plane.d, -1.0, tol::length));
    EXPECT_EQ(flat.Set3Points(&a, &b, &b), -1);

    CKpLine line;
    const CKpPoint p = v3(2, 3, 0), q = v3(2, 3, 4), shy = v3(2, 3, 0.5);
    CKpPoint hit;
    line.Set2Points(&p, &q);
    EXPECT_EQ(int_line_edge(line, plane, &hit), 1);
    EXPECT_TRUE(SameXYZ(hit, v3(2, 3, 1)));
    line.Set2Points(&p, &shy);  // the segment stops short of the plane
    hit.SetNull();
    EXPECT_EQ(int_line_edge(line, plane, &hit), 0);
    EXPECT_EQ(line_plane(nullptr, line, plane, &hit), 0);  // the infinite line does not
    EXPECT_TRUE(SameXYZ(hit, v3(2, 3, 1)));
}

TEST(GeomUtilTest, DistancesAnglesAndAxes) {
    const CKpPoint o = v3(1, 1, 1), px = v3(3, 1, 1), py = v3(1, 4, 1), f2 = v3(2, 5, 1);
    EXPECT_TRUE(Near(dist_2pt(&px, &py), std::sqrt(13.0), tol::length));
    EXPECT_TRUE(Near(calc_area(&o, &px, &py), 3.0, tol::length));
    EXPECT_EQ(nearby(&o, &px, 2.0), 0);  // |dx| = 2 is not strictly below 2
    EXPECT_EQ(compare_pt(&o, &px, 2.0 + 1e-12), 1);
    double ang = -1.0;
    ASSERT_EQ(calc_angle(&o, &px, &py, &ang), 0);
    EXPECT_TRUE(Near(ang, kPi / 2, tol::angle));

    CKpDirn x, y, z;
    SetAxes3Points(&o, &px, &f2, &x, &y, &z);
    EXPECT_TRUE(SameXYZ(x, dn(1, 0, 0)) && SameXYZ(y, dn(0, 1, 0)) && SameXYZ(z, dn(0, 0, 1)));
    const CKpPoint back = v3(0, 0, 1);
    EXPECT_TRUE(Near(ang_fac(&o, &back, &o, &px, &f2), -3 * kPi / 4, tol::angle));
    // Non-unit axes still give the true angle.
    EXPECT_TRUE(
        Near(ang_dn_elem(nullptr, dn(1, 1, 0), dn(0, 0, 3), dn(5, 0, 0)), kPi / 4, tol::angle));
}

TEST(GeomUtilTest, RotateAxisKnownAnswers) {
    const CKpPoint p0 = v3(1, 1, 0), p = v3(2, 1, 5);
    CKpPoint out;
    // An axis along -x turns the other way from one along +x.
    const CKpPoint o, mx = v3(-1, 0, 0), q = v3(0, 1, 0);
    rotate_axis(&o, &mx, &q, &out, kPi / 2);
    EXPECT_TRUE(SameXYZ(out, v3(0, 0, -1)));
    rotate_axis(&p0, &p0, &p, &out, 1.0);  // no axis: out untouched
    EXPECT_TRUE(SameXYZ(out, v3(0, 0, -1)));
}

TEST(GeomUtilTest, RotationsMatchRodriguesAndKeepLength) {
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> u(-10.0, 10.0);
    const CKpPoint origin;
    for (int i = 0; i < 500; ++i) {
        const CKpPoint p0 = v3(u(rng), u(rng), u(rng)), p1 = v3(u(rng), u(rng), u(rng));
        const CKpPoint p = v3(u(rng), u(rng), u(rng));
        const double ang = u(rng);
        CKpPoint out;
        rotate_axis(&p0, &p1, &p, &out, ang);
        ASSERT_TRUE(SameXYZ(out, rodrigues(p0, p1, p, ang), Tol{1e-9, 0})) << "case " << i;
        ASSERT_TRUE(Near(dist_2pt(&out, &p0), dist_2pt(&p, &p0), Tol{1e-9, 0}));

        const CKpDirn axis = dn(p1.getx(), p1.gety(), p1.getz()),
                      d = dn(p.getx(), p.gety(), p.getz());
        CKpDirn rd;
        rotate_dirn_dirn(&axis, &d, ang, &rd);
        ASSERT_TRUE(SameXYZ(rd, rodrigues(origin, p1, p, ang), Tol{1e-9, 0})) << "case " << i;
    }
}

TEST(GeomUtilTest, FailuresAreLoggedAsInformation) {
    const std::string path = ::testing::TempDir() + "geom_util_messages.txt";
    {
        CKpMsg log;
        ASSERT_EQ(log.FileOpen(path.c_str()), 0);
        CKpLine line;  // along x, parallel to the plane z = 0
        const CKpPoint a, b = v3(1, 0, 0);
        line.Set2Points(&a, &b);
        CKpPlane plane;
        plane.c = 1.0;
        CKpPoint out = v3(7, 7, 7);
        EXPECT_EQ(line_plane(&log, line, plane, &out), -1);
        EXPECT_TRUE(SameXYZ(out, v3(7, 7, 7)));
        EXPECT_EQ(ang_dn_elem(&log, CKpDirn(), dn(0, 0, 1), dn(1, 0, 0)), -1000.0);
        EXPECT_EQ(ang_dn_elem(&log, dn(1, 0, 0), dn(0, 0, 1), dn(0, 0, 2)), -1000.0);
    }
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    for (const char* msg : {"$# Could not calculate intersection of line and plane.\n",
                            "$# Could not calculate angle on element, null dn.\n",
                            "$# Could not calculate angle on element, null local_y.\n"})
        EXPECT_NE(text.str().find(msg), std::string::npos) << msg << " in\n" << text.str();
    std::remove(path.c_str());
}
