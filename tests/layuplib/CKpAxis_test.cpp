#include "layuplib/CKpAxis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "layuplib/CKpAxisPt.h"
#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpDrapeSim.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpLine.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpPlane.h"
#include "layuplib/angle_util.h"
#include "layuplib/make_axis.h"
#include "tests/support/FacetLocate.h"
#include "tests/support/FacetSurface.h"
#include "tests/support/MessageCapture.h"
#include "tests/support/Tolerance.h"

namespace {

using meshgen::Kind;

CKpPoint Pt(double x, double y, double z) {
    CKpPoint p;
    p.Set(x, y, z);
    return p;
}

CKpDirn Dn(double x, double y, double z) {
    CKpDirn d;
    d.Set(x, y, z);
    d.unitize();
    return d;
}

double Dist(const CKpPoint& a, const CKpPoint& b) {
    return std::hypot(a.getx() - b.getx(), a.gety() - b.gety(), a.getz() - b.getz());
}

// A surface with a captured message log.
struct Surface : FacetSurface {
    MessageCapture cap;
    Surface(const meshgen::Mesh& mesh, const char* name) : cap(name) { Build(mesh); }
    int At(const CKpPoint& p) const { return FacetAt(facets, p); }
    // The facet angle of the global direction d on facet f.
    double Angle(int f, const CKpDirn& d) const { return facets.pFac(f)->GetAngle(&d); }
    bool Has(const std::string& text) const { return cap.body().find(text) != std::string::npos; }
};

// Every point of the axis on the line from its start along d, at the
// distance its length says.
void ExpectStraight(const CKpAxis& axis, const CKpDirn& d) {
    const CKpPoint& s = axis.pAxisPt(0)->getPosition();
    for (int i = 1; i < axis.entries(); ++i) {
        const CKpAxisPt* p = axis.pAxisPt(i);
        const double len = p->getLength();
        EXPECT_LT(Dist(p->getPosition(), Pt(s.getx() + len * d.getx(), s.gety() + len * d.gety(),
                                            s.getz() + len * d.getz())),
                  1e-9)
            << "point " << i;
    }
}

// Whether the axis ends inside the surface on one of its earlier crossings.
bool ClosesOnItself(const CKpAxis& axis) {
    const CKpAxisPt* end = axis.pAxisPt(axis.entries() - 1);
    if (!end || end->getEdgeCode() < 0) return false;
    for (int i = 1; i + 1 < axis.entries(); ++i)
        if (Dist(axis.pAxisPt(i)->getPosition(), end->getPosition()) < 1e-9) return true;
    return false;
}

TEST(CKpAxis, PointsOnHandBuiltAxes) {
    // (0,0) - (1,0) - (1,2) - (4,2): lengths 0, 1, 3, 6; B from (2.5, 0.5) up.
    CKpAxis axis, cross;
    const std::vector<CKpPoint> pts = {Pt(0, 0, 0), Pt(1, 0, 0), Pt(1, 2, 0), Pt(4, 2, 0)};
    const double lengths[] = {0, 1, 3, 6};
    for (int i = 0; i < 4; ++i) {
        auto* p = new CKpAxisPt;
        p->setPosition(pts[i]);
        p->setSense(1);
        p->setLength(lengths[i]);
        ASSERT_EQ(axis.pAxisPt(i, p), 0);
        if (i > 1) continue;
        p = new CKpAxisPt;
        p->setPosition(Pt(2.5, 0.5 + 3.5 * i, 0));
        p->setSense(-1);
        p->setLength(3.5 * i);
        ASSERT_EQ(cross.pAxisPt(i, p), 0);
    }
    // A length inside an earlier segment is found there, not extrapolated
    // from the last segment; beyond the end and at 0 the ends are taken.
    CKpPoint p;
    double steps = 0.0;
    ASSERT_EQ(axis.CalcEdgepoint(3, 0.5, 4.0, &p, &steps), 0);
    EXPECT_LT(Dist(p, Pt(1, 1, 0)), 1e-12);
    EXPECT_EQ(steps, 4.0);
    ASSERT_EQ(axis.CalcEdgepoint(3, 0.5, 20.0, &p, &steps), 0);
    EXPECT_LT(Dist(p, pts[3]), 1e-12);
    EXPECT_EQ(steps, 12.0);
    ASSERT_EQ(axis.CalcEdgepoint(3, 0.5, -1.0, &p, &steps), 0);
    EXPECT_LT(Dist(p, pts[0]), 1e-12);
    EXPECT_EQ(axis.CalcEdgepoint(4, 0.5, 1.0, &p, &steps), -1);

    // B crosses A's last segment at (2.5, 2): lA 4.5, lB 1.5.
    int ia = 3, ib = 1, sense = 0;
    double lA, lB, dist, ang;
    ASSERT_EQ(CKpAxis::CalcIntPtAnylength(axis, cross, ia, ib, 1e-6, &p, nullptr, nullptr, &lA, &lB,
                                          &dist, &ang, &sense),
              0);
    EXPECT_EQ(ia, 3);
    EXPECT_TRUE(Near(lA, 4.5, tol::length));
    EXPECT_TRUE(Near(lB, 1.5, tol::length));
    EXPECT_TRUE(Near(ang, kPi / 2, tol::angle));
    EXPECT_EQ(sense, -1);
}

// A slot takes a point only while empty and in 0..100000000; a slot past
// the capacity (512 at first) grows the array; a refused point stays the
// caller's. Points taken back by reinit come back in their initial state.
TEST(CKpAxis, SlotsTakePointsOnlyWhileEmpty) {
    CKpAxis axis;
    auto* a = new CKpAxisPt;
    auto* b = new CKpAxisPt;
    EXPECT_EQ(axis.pAxisPt(-1, a), -1);
    EXPECT_EQ(axis.pAxisPt(100000001, a), -1);
    ASSERT_EQ(axis.pAxisPt(0, a), 0);
    EXPECT_EQ(axis.pAxisPt(0, b), -1);
    EXPECT_EQ(axis.pAxisPt(0), a);
    for (int i : {511, 512, 700}) {
        auto* p = new CKpAxisPt;
        ASSERT_EQ(axis.pAxisPt(i, p), 0) << i;
        EXPECT_EQ(axis.entries(), i + 1);
        EXPECT_EQ(axis.pAxisPt(i), p);
        EXPECT_EQ(axis.pAxisPt(i, b), -1) << i;
    }
    EXPECT_EQ(axis.pAxisPt(0), a);  // kept through the growth
    EXPECT_EQ(axis.pAxisPt(600), nullptr);
    ASSERT_EQ(axis.pAxisPt(600, b), 0);
    EXPECT_EQ(axis.entries(), 701);

    for (int i = 0; i < axis.entries(); ++i)
        if (CKpAxisPt* p = axis.pAxisPt(i)) {
            p->setSpare(2.0);
            p->setFromFacet(99);
        }
    axis.reinit();
    EXPECT_EQ(axis.entries(), 0);
    EXPECT_EQ(axis.pAxisPt(0), nullptr);
    // Retraced on a plate: every point, reused or not, set afresh.
    Surface s(surfmesh::Plate(Kind::Quad4, 4, 4, 4.0, 4.0), "slots");
    const CKpPoint start = Pt(0.5, 0.5, 0.0);
    const int f = s.At(start);
    ASSERT_GE(axis.make_axis(&s.cap.log, &s.facets, start, f, 1, s.Angle(f, Dn(1, 0, 0)), 3.0), 0);
    ASSERT_GE(axis.entries(), 3);
    EXPECT_EQ(axis.pAxisPt(0)->getLength(), 0.0);
    for (int i = 0; i < axis.entries(); ++i) {
        EXPECT_EQ(axis.pAxisPt(i)->getSpare(), 0.0) << i;
        EXPECT_NE(axis.pAxisPt(i)->getFromFacet(), 99) << i;
    }
    ExpectStraight(axis, Dn(1, 0, 0));
}

// Points given back with empty slots between them (an axis filled by hand
// after a trace, so that kept points are on hand) are all taken again, and
// no empty slot passes for a point: traces on the plate after each reinit
// come out straight, and as long as before.
TEST(CKpAxis, KeptPointsSkipEmptySlots) {
    Surface s(surfmesh::Plate(Kind::Quad4, 8, 8, 8.0, 8.0), "kept");
    const CKpPoint start = Pt(0.5, 0.5, 0.0);
    const int f = s.At(start);
    const double angle = s.Angle(f, Dn(1, 0, 0));
    CKpAxis axis;
    ASSERT_GE(axis.make_axis(&s.cap.log, &s.facets, start, f, 1, angle, 7.0), 0);
    const int traced = axis.entries();
    ASSERT_GE(traced, 8);
    for (int round = 0; round < 3; ++round) {
        axis.reinit();
        for (int i : {0, 3, 4, 9, 40}) ASSERT_EQ(axis.pAxisPt(i, new CKpAxisPt), 0) << i;
        EXPECT_EQ(axis.entries(), 41);
        axis.reinit();
        ASSERT_GE(axis.make_axis(&s.cap.log, &s.facets, start, f, 1, angle, 7.0), 0) << round;
        ASSERT_EQ(axis.entries(), traced) << round;
        for (int i = 0; i < axis.entries(); ++i) ASSERT_NE(axis.pAxisPt(i), nullptr) << i;
        ExpectStraight(axis, Dn(1, 0, 0));
    }
}

// An axis through the given points (lengths along the polyline, sense 1).
void FillAxis(CKpAxis& axis, const std::vector<CKpPoint>& pts) {
    axis.reinit();
    double len = 0.0;
    for (size_t i = 0; i < pts.size(); ++i) {
        if (i > 0) len += Dist(pts[i - 1], pts[i]);
        auto* p = new CKpAxisPt;
        p->setPosition(pts[i]);
        p->setSense(1);
        p->setLength(len);
        ASSERT_EQ(axis.pAxisPt(static_cast<int>(i), p), 0);
    }
}

// The first crossing the slow way: every pair of segments in order, A's
// outer, each at its closest approach (CKpLine::DistLine).
bool FirstCrossingByEveryPair(const CKpAxis& A, const CKpAxis& B, double tol, int* ia, int* ib,
                              double* distance) {
    for (int i = 1; i < A.entries(); ++i)
        for (int j = 1; j < B.entries(); ++j) {
            CKpLine la, lb;
            la.Set2Points(&A.pAxisPt(i - 1)->getPosition(), &A.pAxisPt(i)->getPosition());
            lb.Set2Points(&B.pAxisPt(j - 1)->getPosition(), &B.pAxisPt(j)->getPosition());
            double sA = 0.0, sB = 0.0, d = 1e12;
            CKpPoint p;
            la.DistLine(lb, &sA, &sB, &p, nullptr, &d);
            if (sA < 0.0 || sA > 1.0 || sB < 0.0 || sB > 1.0 || !(d < tol)) continue;
            *ia = i;
            *ib = j;
            *distance = d;
            return true;
        }
    return false;
}

// The pruned search finds the very pair (and distance) the search of every
// pair finds: zigzags that cross many times, in and out of the plane, at
// scales where the boxes' margin is relative, with repeated points (empty
// segments) and a point in common.
TEST(CKpAxis, FirstCrossingIsThatOfEveryPair) {
    std::uint32_t state = 12345u;
    auto next = [&state]() {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) / 16777216.0;
    };
    int found = 0;
    for (const double scale : {1e-6, 1.0, 1e6})
        for (const double tol : {1e-6, 0.02, 0.2})
            for (int trial = 0; trial < 12; ++trial) {
                std::vector<CKpPoint> a, b;
                for (int k = 0; k < 40; ++k) {
                    const double z = trial % 3 == 0 ? 0.0 : 0.05 * (next() - 0.5);
                    a.push_back(Pt(scale * next(), scale * next(), scale * z));
                    b.push_back(Pt(scale * next(), scale * next(), scale * z));
                    if (k % 13 == 5) a.push_back(a.back());
                }
                b[7] = a[9];
                CKpAxis A, B;
                FillAxis(A, a);
                FillAxis(B, b);
                int wantA = 0, wantB = 0;
                double wantD = 0.0;
                const bool want = FirstCrossingByEveryPair(A, B, tol * scale, &wantA, &wantB, &wantD);
                int ia = A.entries() - 1, ib = B.entries() - 1;
                double d = -1.0;
                const int rc = CKpAxis::CalcIntPtAnylength(A, B, ia, ib, tol * scale, nullptr,
                                                           nullptr, nullptr, nullptr, nullptr, &d,
                                                           nullptr, nullptr);
                ASSERT_EQ(rc == 0, want) << scale << " " << tol << " " << trial;
                if (!want) continue;
                ++found;
                EXPECT_EQ(ia, wantA) << scale << " " << tol << " " << trial;
                EXPECT_EQ(ib, wantB) << scale << " " << tol << " " << trial;
                EXPECT_EQ(d, wantD) << scale << " " << tol << " " << trial;
            }
    EXPECT_GT(found, 50);
}

TEST(CKpAxis, GeodesicOnPlateIsStraight) {
    Surface s(surfmesh::Plate(Kind::Quad4, 10, 10, 10.0, 10.0), "axis_plate");
    const CKpPoint start = Pt(2.3, 3.1, 0.0);
    const int f = s.At(start);
    const CKpDirn d = Dn(3.0, 1.0, 0.0);
    CKpAxis axis;
    int last = -1;
    ASSERT_EQ(axis.make_axis(&s.cap.log, &s.facets, start, f, 1, s.Angle(f, d), 5.0, &last), 1);
    EXPECT_EQ(last, axis.entries() - 1);
    ExpectStraight(axis, d);
    EXPECT_GE(axis.pAxisPt(last)->getLength(), 5.0);
    EXPECT_LT(axis.pAxisPt(last - 1)->getLength(), 5.0);

    // Up to the free edge x = 10, at y = 3.1 + 7.7 / 3.
    ASSERT_EQ(axis.make_axis(&s.cap.log, &s.facets, start, f, 1, s.Angle(f, d), 100.0, &last), 0);
    EXPECT_EQ(axis.pAxisPt(last)->getEdgeCode(), -1);
    EXPECT_LT(Dist(axis.pAxisPt(last)->getPosition(), Pt(10.0, 3.1 + 7.7 / 3.0, 0)), 1e-9);
    ExpectStraight(axis, d);

    // Length 0: the first point only. Pointing out of the surface: the
    // first point lies on the free edge.
    EXPECT_EQ(axis.make_axis(nullptr, &s.facets, start, f, 1, 0.3, 0.0, &last), 1);
    EXPECT_EQ(last, 1);
    const CKpPoint rim = Pt(0.05, 0.5, 0.0);
    const int g = s.At(rim);
    EXPECT_EQ(axis.make_axis(nullptr, &s.facets, rim, g, 1, s.Angle(g, Dn(-1, 0, 0)), 5.0, &last),
              0);
    EXPECT_EQ(last, 1);
    EXPECT_EQ(axis.pAxisPt(1)->getEdgeCode(), -1);

    // Aimed exactly at a vertex: the edge starting there, kept off it.
    const CKpFacet* F = s.facets.pFac(f);
    CKpPoint c = *F->getCKpPoint(0);
    F->MoveToCentroid(&c, 1.0);
    ASSERT_EQ(axis.make_axis(nullptr, &s.facets, c, f, 1, F->GetAngle(&c, F->getCKpPoint(2)), 0.0),
              1);
    EXPECT_EQ(axis.pAxisPt(1)->getEdge(), 2);
    const double off = Dist(axis.pAxisPt(1)->getPosition(), *F->getCKpPoint(2));
    EXPECT_GT(off, 0.0);
    EXPECT_LT(off, 1e-9);

    s.cap.reset();
    EXPECT_EQ(axis.make_axis(&s.cap.log, &s.facets, start, -1, 1, 0.0, 1.0), -1);
    EXPECT_TRUE(s.Has("ERROR: No start facet specified."));
}

TEST(CKpAxis, GeodesicKeepsItsLineAcrossFlippedElements) {
    // A strip of six quads; elements 3 and 4 turned over.
    meshgen::Mesh m = surfmesh::Plate(Kind::Quad4, 6, 1, 6.0, 1.0);
    surfmesh::Flip(m, 2);
    surfmesh::Flip(m, 3);
    Surface s(m, "axis_flipped");
    const CKpPoint start = Pt(0.5, 0.2, 0.0);
    const int f = s.At(start);
    const CKpDirn d = Dn(1.0, 0.1, 0.0);
    CKpAxis axis;
    ASSERT_EQ(axis.make_axis(nullptr, &s.facets, start, f, 1, s.Angle(f, d), 5.0), 1);
    ExpectStraight(axis, d);
    int flipped = 0;
    for (int i = 1; i < axis.entries(); ++i) {  // the sense follows the facets turned over
        CKpDirn n;
        s.facets.pFac(axis.pAxisPt(i)->getFacet())->GetNormal(&n);
        EXPECT_EQ(axis.pAxisPt(i)->getSense(), n.getz() > 0 ? 1 : -1) << "point " << i;
        flipped += n.getz() < 0;
    }
    EXPECT_GT(flipped, 0);
}

// Twelve flat faces of radius 1; the start lies on the face centred at
// 15 degrees, whose horizontal tangent is `around`.
const int kFaces = 12;
const double kApothem = std::cos(kPi / kFaces);
const CKpDirn kAround = Dn(-std::sin(kPi / kFaces), std::cos(kPi / kFaces), 0);
CKpPoint OnFace(double z) {
    return Pt(kApothem * std::cos(kPi / kFaces), kApothem * std::sin(kPi / kFaces), z);
}

TEST(CKpAxis, GeodesicOnCylinderIsHelixOfPrismPitch) {
    // The unrolled prism is a strip of width P = 24 sin(pi / 12): a helix at
    // alpha from the axis rises P / tan(alpha) per turn, and at length L it
    // has risen L cos(alpha) and gone L sin(alpha) round.
    Surface s(surfmesh::OpenCylinder(Kind::Quad4, kFaces, 20, 1.0, 10.0), "axis_cylinder");
    const double P = 2 * kFaces * std::sin(kPi / kFaces), alpha = kPi / 3;
    const CKpPoint start = OnFace(0.3);
    const int f = s.At(start);
    const CKpDirn d =
        Dn(std::sin(alpha) * kAround.getx(), std::sin(alpha) * kAround.gety(), std::cos(alpha));
    const double turn = P / std::sin(alpha);
    CKpAxis axis;
    int last = -1;
    ASSERT_EQ(axis.make_axis(nullptr, &s.facets, start, f, 1, s.Angle(f, d), 1.5 * turn, &last), 1);
    double across = 0.0;
    for (int i = 1; i <= last; ++i) {
        const CKpPoint &a = axis.pAxisPt(i - 1)->getPosition(), &b = axis.pAxisPt(i)->getPosition();
        const double len = axis.pAxisPt(i)->getLength();
        across += std::hypot(b.getx() - a.getx(), b.gety() - a.gety());
        EXPECT_TRUE(Near(b.getz(), 0.3 + len * std::cos(alpha), tol::loose)) << "point " << i;
        EXPECT_TRUE(Near(across, len * std::sin(alpha), tol::loose)) << "point " << i;
    }
    CKpPoint p;
    double steps;
    ASSERT_EQ(axis.CalcEdgepoint(last, turn, 1.0, &p, &steps), 0);
    EXPECT_LT(Dist(p, OnFace(0.3 + P / std::tan(alpha))), 1e-9);

    // Along the axis: straight up to the free end.
    const CKpDirn up = Dn(0, 0, 1);
    ASSERT_EQ(axis.make_axis(nullptr, &s.facets, start, f, 1, s.Angle(f, up), 50.0, &last), 0);
    ExpectStraight(axis, up);
    EXPECT_TRUE(Near(axis.pAxisPt(last)->getLength(), 9.7, tol::length));
}

TEST(CKpAxis, ClosedTraceEndsWithWarning) {
    Surface s(surfmesh::OpenCylinder(Kind::Quad4, kFaces, 10, 1.0, 10.0), "axis_tube");
    const CKpPoint start = OnFace(4.3);
    const int f = s.At(start);
    const double warp = s.Angle(f, kAround), weft = s.Angle(f, Dn(0, 0, 1));
    const char* closes = "WARNING: Fibre axis closes on itself";

    // A geodesic round the tube comes back to its first crossing after P.
    CKpAxis axis;
    int last = -1;
    ASSERT_EQ(axis.make_axis(&s.cap.log, &s.facets, start, f, 1, warp, 1e6, &last), 0);
    EXPECT_TRUE(s.Has(closes));
    EXPECT_TRUE(ClosesOnItself(axis));
    EXPECT_TRUE(Near(axis.pAxisPt(last)->getLength() - axis.pAxisPt(1)->getLength(),
                     2 * kFaces * std::sin(kPi / kFaces), tol::loose));

    // A helix of tiny pitch never repeats within the tolerance: it ends at
    // the crossing bound, 16 per facet (240 facets) + 1024.
    s.cap.reset();
    const double steep = kPi / 2 - 1e-6;
    const CKpDirn d =
        Dn(std::sin(steep) * kAround.getx(), std::sin(steep) * kAround.gety(), std::cos(steep));
    ASSERT_EQ(axis.make_axis(&s.cap.log, &s.facets, start, f, 1, s.Angle(f, d), 1e6, &last), 0);
    EXPECT_EQ(last, 4864);
    EXPECT_TRUE(
        s.Has("WARNING: Fibre axis crossed 4864 facet edges without ending; the axis ends "
              "there."));

    // Start axes, geodesics (type 1) and plane sections (type 2): the warp
    // pair closes round the tube, the weft pair runs to the free ends.
    CKpDrapeSim sim;
    CKpPlane horizontal, vertical;
    horizontal.c = 1.0;
    vertical.a = kAround.getx();
    vertical.b = kAround.gety();
    for (const int type : {1, 2}) {
        s.cap.reset();
        ASSERT_EQ(CalcAxes(&s.cap.log, nullptr, &s.facets, type, f, start, warp, weft, horizontal,
                           vertical, &sim),
                  0);
        EXPECT_TRUE(s.Has(closes));
        for (int k = 0; k < 4; ++k) {
            const CKpAxis& a = *sim.pAxis(k);
            const CKpAxisPt* end = a.pAxisPt(a.entries() - 1);
            if (k % 2 == 0) {
                EXPECT_TRUE(ClosesOnItself(a)) << "type " << type << " axis " << k;
                for (int i = 1; i < a.entries(); ++i)
                    EXPECT_TRUE(Near(a.pAxisPt(i)->getPosition().getz(), 4.3, tol::loose));
                continue;
            }
            ExpectStraight(a, Dn(0, 0, k == 1 ? 1 : -1));
            EXPECT_EQ(end->getEdgeCode(), -1);
            EXPECT_TRUE(Near(end->getLength(), k == 1 ? 5.7 : 4.3, tol::loose));
        }
    }

    // A plane through a ring of mesh vertices (z = 4 exactly, where the
    // upward axis first crosses) runs from vertex to vertex and ends too.
    const CKpPoint low = OnFace(3.7);
    const int g = s.At(low);
    ASSERT_EQ(CalcAxes(&s.cap.log, nullptr, &s.facets, 2, g, low, s.Angle(g, Dn(0, 0, 1)),
                       s.Angle(g, kAround), horizontal, horizontal, &sim),
              0);
    EXPECT_TRUE(ClosesOnItself(*sim.pAxis(0)));
    for (int i = 1; i < sim.pAxis(0)->entries(); ++i)
        EXPECT_EQ(sim.pAxis(0)->pAxisPt(i)->getPosition().getz(), 4.0) << "point " << i;
}

TEST(CKpAxis, UpdateAxesFindsCellCorner) {
    // Warp neighbour (1, 0) at (2.1, 1.2), weft neighbour (0, 1) at
    // (1.3, 2.05): fibres +y and +x meet at (2.1, 2.05), 0.85 and 0.8 along.
    Surface s(surfmesh::Plate(Kind::Tria3, 4, 4, 4.0, 4.0), "axis_update");
    CKpDrape drape;
    const CKpPoint p1 = Pt(2.1, 1.2, 0.0), p2 = Pt(1.3, 2.05, 0.0);
    for (int k = 0; k < 2; ++k) {
        auto* q = new CKpDrapePt;
        q->SetPoint(k ? p2 : p1);
        q->SetFacet(s.At(k ? p2 : p1));
        q->SetDnfg(1);
        ASSERT_EQ(drape.pDrapePt(1 - k, k, q), 0);
    }
    CKpAxis A, B;
    double r1, r2, g;
    int found, flagA, flagB;
    const double up = s.Angle(s.At(p1), Dn(0, 1, 0)), right = s.Angle(s.At(p2), Dn(1, 0, 0));
    ASSERT_EQ(CKpAxis::UpdateAxes(nullptr, &s.facets, &drape, A, B, 1, 0, up, 1.0, 0.0, 0.8, 0, 1,
                                  right, 1.0, 0.0, 0.5, r1, r2, found, flagA, flagB, g),
              0);
    EXPECT_EQ(found, 1);
    EXPECT_TRUE(Near(r1, 0.85 / 0.8, tol::loose));
    EXPECT_TRUE(Near(r2, 0.8 / 0.5, tol::loose));
    EXPECT_TRUE(Near(g, kPi / 2, tol::loose));
}

}  // namespace

namespace {

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Every field of every point, to the bit; the first difference as text.
std::string Difference(const CKpAxis& a, const CKpAxis& b) {
    if (a.entries() != b.entries())
        return "entries " + std::to_string(a.entries()) + " vs " + std::to_string(b.entries());
    for (int i = 0; i < a.entries(); ++i) {
        const CKpAxisPt &p = *a.pAxisPt(i), &q = *b.pAxisPt(i);
        const CKpPoint &x = p.getPosition(), &y = q.getPosition();
        if (!SameBits(x.getx(), y.getx()) || !SameBits(x.gety(), y.gety()) ||
            !SameBits(x.getz(), y.getz()) || p.getFromFacet() != q.getFromFacet() ||
            p.getFacet() != q.getFacet() || p.getEdge() != q.getEdge() ||
            p.getEdgeCode() != q.getEdgeCode() || p.getSense() != q.getSense() ||
            !SameBits(p.getLength(), q.getLength()) || !SameBits(p.getAngle(), q.getAngle()) ||
            !SameBits(p.getSpare(), q.getSpare()))
            return "point " + std::to_string(i);
    }
    return "";
}

// A trace of `longLen` cut to each length, against a new trace of that
// length: answer, last point, crossings counted and every point. Lengths
// that the long trace does not settle must answer -2 and leave it whole.
// The number of cuts made.
int ExpectCutsAreFreshTraces(Surface& s, const CKpPoint& start, int f, int sense, double angle,
                             double longLen, const std::vector<double>& lengths) {
    int made = 0;
    CKpAxis whole;
    if (whole.make_axis(nullptr, &s.facets, start, f, sense, angle, longLen) < 0) {
        ADD_FAILURE() << "long trace failed";
        return 0;
    }
    for (const double len : lengths) {
        CKpAxis cut, fresh;
        cut.make_axis(nullptr, &s.facets, start, f, sense, angle, longLen);
        int lastCut = -7, lastFresh = -7;
        const long long before = axis_crossings_traced();
        const int rc = cut.cut_axis(len, &lastCut);
        const long long counted = axis_crossings_traced() - before;
        if (rc == -2) {
            EXPECT_EQ(lastCut, -7) << "length " << len;
            EXPECT_EQ(counted, 0) << "length " << len;
            EXPECT_EQ(Difference(cut, whole), "") << "length " << len;
            continue;
        }
        ++made;
        s.cap.reset();
        const long long before2 = axis_crossings_traced();
        EXPECT_EQ(rc,
                  fresh.make_axis(&s.cap.log, &s.facets, start, f, sense, angle, len, &lastFresh))
            << "length " << len;
        EXPECT_EQ(counted, axis_crossings_traced() - before2) << "length " << len;
        EXPECT_EQ(s.cap.body(), "") << "length " << len;
        EXPECT_EQ(lastCut, lastFresh) << "length " << len;
        EXPECT_EQ(Difference(cut, fresh), "") << "length " << len;
    }
    return made;
}

}  // namespace

TEST(CKpAxis, CutTraceIsTheShorterTraceBitForBit) {
    // On a hemisphere every crossing turns the fibre: fibres from off the
    // pole in several directions, cut at lengths between, on and beyond
    // the lengths of their points, and beyond their free end at the rim.
    Surface s(surfmesh::Hemisphere(Kind::Quad4, 24, 12, 1.0), "axis_cut_dome");
    // The centre of a facet about 0.45 from the pole: 0.8 along any
    // direction stays clear of the rim.
    auto centre = [&](int k) {
        const CKpFacet* F = s.facets.pFac(k);
        const CKpPoint *v0 = F->getCKpPoint(0), *v1 = F->getCKpPoint(1), *v2 = F->getCKpPoint(2);
        return Pt((v0->getx() + v1->getx() + v2->getx()) / 3,
                  (v0->gety() + v1->gety() + v2->gety()) / 3,
                  (v0->getz() + v1->getz() + v2->getz()) / 3);
    };
    int f = 0;
    for (int k = 1; k < s.facets.entries(); ++k)
        if (std::fabs(centre(k).getz() - 0.9) < std::fabs(centre(f).getz() - 0.9)) f = k;
    const CKpPoint start = centre(f);
    int cuts = 0, ends = 0;
    for (const double turn : {0.3, 1.9, -2.6}) {
        const double angle = pi_pi(s.Angle(f, Dn(1, 0, 0)) + turn);
        CKpAxis probe;
        ASSERT_EQ(probe.make_axis(nullptr, &s.facets, start, f, 1, angle, 0.8), 1);
        std::vector<double> lengths = {0.0, 1e-12, 0.05, 0.4, 0.77, 0.8, 0.8000001, 5.0};
        for (int i = 1; i < probe.entries(); i += 3) {
            const double at = probe.pAxisPt(i)->getLength();
            lengths.push_back(at);
            lengths.push_back(std::nextafter(at, 0.0));
            lengths.push_back(std::nextafter(at, 10.0));
        }
        cuts += ExpectCutsAreFreshTraces(s, start, f, 1, angle, 0.8, lengths);
        // Traced to the rim: any longer length ends there too.
        for (const int sense : {1, -1})
            ends +=
                ExpectCutsAreFreshTraces(s, start, f, sense, angle, 100.0, {0.9, 3.0, 100.0, 1e9});
    }
    EXPECT_GT(cuts, 40);
    EXPECT_EQ(ends, 3 * 2 * 4);

    // Round a tube the long trace closes on itself (a warning, not cut):
    // shorter lengths are settled by its points, a length it never reached
    // is not.
    Surface t(surfmesh::OpenCylinder(Kind::Quad4, kFaces, 10, 1.0, 10.0), "axis_cut_tube");
    const CKpPoint low = OnFace(4.3);
    const int g = t.At(low);
    const double round = 2 * kFaces * std::sin(kPi / kFaces);
    EXPECT_EQ(ExpectCutsAreFreshTraces(t, low, g, 1, t.Angle(g, kAround), 1e6,
                                       {0.2, 0.5 * round, round, 1e6}),
              3);
}

TEST(CKpAxis, TracesFromOneStartAreThoseOfANewThread) {
    // Fibres leaving one point in many directions share what their first
    // crossing needs of the start facet. A new thread has nothing kept:
    // its traces are the reference, also after a vertex of the start facet
    // moved and for a start point one unit in the last place away.
    Surface s(surfmesh::Hemisphere(Kind::Quad4, 24, 12, 1.0), "axis_one_start");
    int f = 0;
    for (int k = 1; k < s.facets.entries(); ++k)
        if (std::fabs(s.facets.pFac(k)->getCKpPoint(0)->getz() - 0.9) <
            std::fabs(s.facets.pFac(f)->getCKpPoint(0)->getz() - 0.9))
            f = k;
    const CKpFacet* F = s.facets.pFac(f);
    CKpPoint start = *F->getCKpPoint(0);
    F->MoveToCentroid(&start, 0.5);
    std::vector<double> angles;
    for (int k = 0; k < 16; ++k) angles.push_back(pi_pi(0.1 + k * kPi / 8));

    auto traceAll = [&](const CKpPoint& from, std::vector<CKpAxis>& out) {
        for (size_t k = 0; k < angles.size(); ++k)
            out[k].make_axis(nullptr, &s.facets, from, f, 1, angles[k], 0.6);
    };
    auto expectAsNewThread = [&](const CKpPoint& from, const char* what) {
        std::vector<CKpAxis> here(angles.size()), there(angles.size());
        traceAll(from, here);
        traceAll(from, here);  // a second round, all from what was kept
        std::thread([&] { traceAll(from, there); }).join();
        std::vector<int> edges(3, 0);
        for (size_t k = 0; k < angles.size(); ++k) {
            EXPECT_GT(here[k].entries(), 3) << what << " direction " << k;
            EXPECT_EQ(Difference(here[k], there[k]), "") << what << " direction " << k;
            if (here[k].entries() > 1) ++edges[here[k].pAxisPt(1)->getEdge()];
        }
        // The directions leave the start facet by each of its edges.
        EXPECT_GT(edges[0] * edges[1] * edges[2], 0) << what;
    };

    expectAsNewThread(start, "as built");
    std::vector<CKpAxis> before(angles.size());
    traceAll(start, before);

    // Vertex 1 of the start facet moves a little within the surface.
    CKpNode* node = F->getCKpNode(1);
    const CKpPoint was = *node->getCKpPoint();
    node->setCKpPoint(was.getx() * 1.01, was.gety() * 1.01, was.getz());
    expectAsNewThread(start, "vertex moved");
    std::vector<CKpAxis> after(angles.size());
    traceAll(start, after);
    int changed = 0;
    for (size_t k = 0; k < angles.size(); ++k) changed += Difference(before[k], after[k]) != "";
    EXPECT_GT(changed, 0);

    CKpPoint nudged = start;
    nudged.Set(std::nextafter(start.getx(), 1.0), start.gety(), start.getz());
    expectAsNewThread(nudged, "start nudged");
    node->setCKpPoint(was);
}
