#include "layuplib/CKpAxis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "layuplib/CKpAxisPt.h"
#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpDrapeSim.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpMatGeom.h"
#include "layuplib/CKpPlane.h"
#include "layuplib/make_axis.h"
#include "tests/support/FacetSurface.h"
#include "tests/support/MessageCapture.h"
#include "tests/support/Tolerance.h"

namespace {

using meshgen::Kind;
const double kPi = std::acos(-1.0);

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

// Distance of p from the line through a along the unit direction d.
double OffLine(const CKpPoint& p, const CKpPoint& a, const CKpDirn& d) {
    const double v[3] = {p.getx() - a.getx(), p.gety() - a.gety(), p.getz() - a.getz()};
    const double t = v[0] * d.getx() + v[1] * d.gety() + v[2] * d.getz();
    return std::hypot(v[0] - t * d.getx(), v[1] - t * d.gety(), v[2] - t * d.getz());
}

// A surface with a captured message log; At finds the facet holding a point
// (barycentric test in the facet's plane).
struct Surface : FacetSurface {
    MessageCapture cap;
    explicit Surface(const meshgen::Mesh& mesh, const char* name) : cap(name) { Build(mesh); }

    int At(const CKpPoint& p) const {
        for (int i = 0; i < facets.entries(); ++i) {
            const CKpFacet* f = facets.pFac(i);
            const CKpPoint *a = f->getCKpPoint(0), *b = f->getCKpPoint(1), *c = f->getCKpPoint(2);
            CKpDirn n;
            f->GetNormal(&n);
            auto area = [&n](const CKpPoint* u, const CKpPoint* v, const CKpPoint& w) {
                CKpDirn x;
                x.Set3Points(u, v, &w);
                return x.DotProduct(&n);
            };
            const double d = (p.getx() - a->getx()) * n.getx() +
                             (p.gety() - a->gety()) * n.gety() + (p.getz() - a->getz()) * n.getz();
            if (std::fabs(d) < 1e-9 && area(a, b, p) >= -1e-12 && area(b, c, p) >= -1e-12 &&
                area(c, a, p) >= -1e-12)
                return i;
        }
        return -1;
    }
    // The facet angle of the global direction d at facet f.
    double Angle(int f, const CKpDirn& d) const { return facets.pFac(f)->GetAngle(&d); }
    int Count(const std::string& text) const {
        int n = 0;
        const std::string body = cap.body();
        for (size_t at = body.find(text); at != std::string::npos; at = body.find(text, at + 1))
            ++n;
        return n;
    }
};

// Checks that the axis is the straight line from its start along d: every
// point on the line at the distance its length says.
void ExpectStraight(const CKpAxis& axis, const CKpDirn& d) {
    const CKpPoint& s = axis.pAxisPt(0)->getPosition();
    for (int i = 1; i < axis.entries(); ++i) {
        const CKpAxisPt* p = axis.pAxisPt(i);
        EXPECT_LT(OffLine(p->getPosition(), s, d), 1e-9) << "point " << i;
        EXPECT_TRUE(Near(p->getLength(), Dist(p->getPosition(), s), tol::length)) << "point " << i;
    }
}

// An axis of points at the given positions along the polyline, sense +1.
void Polyline(CKpAxis& axis, const std::vector<CKpPoint>& pts) {
    double len = 0.0;
    for (size_t i = 0; i < pts.size(); ++i) {
        if (i > 0) len += Dist(pts[i - 1], pts[i]);
        auto* p = new CKpAxisPt;
        p->setPosition(pts[i]);
        p->setFacet(static_cast<int>(i) + 10);
        p->setSense(1);
        p->setLength(len);
        ASSERT_EQ(axis.pAxisPt(static_cast<int>(i), p), 0);
    }
}

TEST(CKpAxis, PointsOnHandBuiltAxes) {
    // (0,0) - (1,0) - (1,2) - (4,2): lengths 0, 1, 3, 6.
    CKpAxis axis;
    Polyline(axis, {Pt(0, 0, 0), Pt(1, 0, 0), Pt(1, 2, 0), Pt(4, 2, 0)});
    CKpPoint p;
    double steps = 0.0;
    // A length inside an earlier segment is found there, not extrapolated
    // from the last one.
    ASSERT_EQ(axis.CalcEdgepoint(3, 0.5, 4.0, &p, &steps), 0);
    EXPECT_LT(Dist(p, Pt(1, 1, 0)), 1e-12);
    EXPECT_EQ(steps, 4.0);
    ASSERT_EQ(axis.CalcEdgepoint(3, 0.5, 20.0, &p, &steps), 0);
    EXPECT_LT(Dist(p, Pt(4, 2, 0)), 1e-12);
    EXPECT_EQ(steps, 12.0);
    ASSERT_EQ(axis.CalcEdgepoint(3, 0.5, -1.0, &p, &steps), 0);
    EXPECT_LT(Dist(p, Pt(0, 0, 0)), 1e-12);
    EXPECT_EQ(axis.CalcEdgepoint(4, 0.5, 1.0, &p, &steps), -1);

    int facet = -1;
    ASSERT_EQ(axis.GetPointFacet(2.0, 2, &p, &facet), 0);
    EXPECT_LT(Dist(p, Pt(1, 1, 0)), 1e-12);
    EXPECT_EQ(facet, 11);
    EXPECT_EQ(axis.GetPointFacet(0.5, 2, &p, &facet), -1);
    EXPECT_EQ(axis.GetPointFacet(0.0, 0, &p, &facet), -1);

    // B crosses A's second segment at (2.5, 2): lA 4.5, lB 1.5.
    CKpAxis cross;
    Polyline(cross, {Pt(2.5, 0.5, 0), Pt(2.5, 4, 0)});
    int ia = 3, ib = 1, sense = 0;
    double sA, sB, lA, lB, dist, ang;
    ASSERT_EQ(CKpAxis::CalcIntPtAnylength(axis, cross, ia, ib, 1e-6, &p, &sA, &sB, &lA, &lB, &dist,
                                          &ang, &sense),
              0);
    EXPECT_EQ(ia, 3);
    EXPECT_EQ(ib, 1);
    EXPECT_TRUE(Near(lA, 4.5, tol::length));
    EXPECT_TRUE(Near(lB, 1.5, tol::length));
    EXPECT_TRUE(Near(ang, kPi / 2, tol::angle));
    EXPECT_EQ(sense, 1);
    ia = 0;
    EXPECT_EQ(CKpAxis::CalcIntPtAnylength(axis, cross, ia, ib, 1e-6, nullptr, nullptr, nullptr,
                                          nullptr, nullptr, nullptr, nullptr, nullptr),
              -1);

    // No crossing within A's first two segments: the fallback pairs the
    // segment holding length 2 with B's only one.
    ia = 2, ib = 1;
    ASSERT_EQ(CKpAxis::CalcIntPt(axis, cross, ia, ib, 2.0, 1.0, 1e-6, &p, &sA, &sB, &lA, &lB,
                                 &dist, &ang, &sense),
              -1);
    EXPECT_EQ(ia, 2);
    EXPECT_TRUE(Near(dist, 1.5, tol::length));  // x = 1 against x = 2.5
    EXPECT_EQ(sense, 0);
}

TEST(CKpAxis, StepTables) {
    const CKpMatGeom square(kPi / 2, 1.0, 2.0);
    double a, len;
    int du, dv;
    ASSERT_EQ(CKpAxis::GetStepSingle(square, 2.0, 1, 0, &a, &du, &dv, &len), 0);
    EXPECT_TRUE(Near(a, kPi / 4, tol::angle));
    EXPECT_EQ(du, 1);
    EXPECT_EQ(dv, 1);
    EXPECT_TRUE(Near(len, 2.0 * std::sqrt(2.0), tol::length));
    ASSERT_EQ(CKpAxis::GetStepSingle(square, 2.0, 1, 1, &a, &du, &dv, &len), 0);
    EXPECT_TRUE(Near(a, 3 * kPi / 4, tol::angle));
    EXPECT_EQ(du, -1);
    EXPECT_EQ(dv, 1);
    ASSERT_EQ(CKpAxis::GetStepDouble(CKpMatGeom(kPi / 3, 2.0, 1.0), 3.0, 3, &a, &du, &dv, &len),
              0);
    EXPECT_TRUE(Near(a, -2 * kPi / 3, tol::angle));
    EXPECT_EQ(du, 0);
    EXPECT_EQ(dv, -1);
    EXPECT_TRUE(Near(len, 1.5, tol::length));
    EXPECT_EQ(CKpAxis::GetStepSingle(square, 2.0, 2, 0, &a, &du, &dv, &len), -1);
    EXPECT_EQ(CKpAxis::GetStepDouble(square, 2.0, 4, &a, &du, &dv, &len), -1);
}

TEST(CKpAxis, GeodesicOnPlateIsStraight) {
    Surface s(surfmesh::Plate(Kind::Quad4, 10, 10, 10.0, 10.0), "axis_plate");
    const CKpPoint start = Pt(2.3, 3.1, 0.0);
    const int f = s.At(start);
    ASSERT_GE(f, 0);
    const CKpDirn d = Dn(3.0, 1.0, 0.0);
    CKpAxis axis;
    int last = -1;
    ASSERT_EQ(axis.make_axis(&s.cap.log, &s.facets, start, f, 1, s.Angle(f, d), 5.0, &last), 1);
    EXPECT_EQ(last, axis.entries() - 1);
    ExpectStraight(axis, d);
    EXPECT_GE(axis.pAxisPt(last)->getLength(), 5.0);
    EXPECT_LT(axis.pAxisPt(last - 1)->getLength(), 5.0);
    CKpPoint p;
    double steps;
    ASSERT_EQ(axis.CalcEdgepoint(last, 2.5, 2.0, &p, &steps), 0);
    EXPECT_LT(Dist(p, Pt(2.3 + 5.0 * d.getx(), 3.1 + 5.0 * d.gety(), 0)), 1e-9);
    for (int i = 1; i < axis.entries(); ++i) {  // every later point on its from-facet's edge
        const CKpAxisPt* q = axis.pAxisPt(i);
        const CKpFacet* g = s.facets.pFac(q->getFromFacet());
        const int e = q->getEdge();
        EXPECT_LT(OffLine(q->getPosition(), *g->getCKpPoint(e),
                          Dn(g->getCKpPoint((e + 1) % 3)->getx() - g->getCKpPoint(e)->getx(),
                             g->getCKpPoint((e + 1) % 3)->gety() - g->getCKpPoint(e)->gety(), 0)),
                  1e-12);
        EXPECT_EQ(q->getSense(), 1);
    }

    // Up to the free edge x = 10: y = 3.1 + 7.7 / 3.
    ASSERT_EQ(axis.make_axis(&s.cap.log, &s.facets, start, f, 1, s.Angle(f, d), 100.0, &last), 0);
    EXPECT_EQ(axis.pAxisPt(last)->getEdgeCode(), -1);
    EXPECT_LT(Dist(axis.pAxisPt(last)->getPosition(), Pt(10.0, 3.1 + 7.7 / 3.0, 0)), 1e-9);
    ExpectStraight(axis, d);

    // Length 0: the first point only, reached.
    EXPECT_EQ(axis.make_axis(nullptr, &s.facets, start, f, 1, 0.3, 0.0, &last), 1);
    EXPECT_EQ(last, 1);

    // Out of the surface at once: the first point is on the free edge.
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
    EXPECT_EQ(s.Count("ERROR: No start facet specified."), 1);
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
    for (int i = 1; i < axis.entries(); ++i) {  // sense follows the facet turned over
        const CKpAxisPt* q = axis.pAxisPt(i);
        CKpDirn n;
        s.facets.pFac(q->getFacet())->GetNormal(&n);
        EXPECT_EQ(q->getSense(), n.getz() > 0 ? 1 : -1) << "point " << i;
        flipped += q->getSense() < 0;
    }
    EXPECT_GT(flipped, 0);
}

TEST(CKpAxis, GeodesicOnCylinderIsHelixOfPrismPitch) {
    // Twelve flat faces of radius 1: the unrolled prism is a strip of width
    // P = 24 sin(pi / 12); a helix at alpha from the axis rises P / tan(alpha)
    // per turn and reaches z0 + L cos(alpha) at length L.
    const int n = 12;
    Surface s(surfmesh::OpenCylinder(Kind::Quad4, n, 20, 1.0, 10.0), "axis_cylinder");
    const double P = 2 * n * std::sin(kPi / n);
    const double x = std::cos(kPi / n);  // face centre at angle pi / 12
    const CKpPoint start = Pt(x * std::cos(kPi / n), x * std::sin(kPi / n), 0.3);
    const int f = s.At(start);
    ASSERT_GE(f, 0);
    CKpDirn tangent;
    tangent.Set(-std::sin(kPi / n), std::cos(kPi / n), 0.0);
    const double alpha = kPi / 3;
    const CKpDirn d = Dn(std::sin(alpha) * tangent.getx(), std::sin(alpha) * tangent.gety(),
                         std::cos(alpha));
    CKpAxis axis;
    int last = -1;
    const double turn = P / std::sin(alpha);
    ASSERT_EQ(axis.make_axis(nullptr, &s.facets, start, f, 1, s.Angle(f, d), 1.5 * turn, &last), 1);
    double across = 0.0;  // horizontal length, measured on the faces
    for (int i = 1; i <= last; ++i) {
        const CKpPoint& a = axis.pAxisPt(i - 1)->getPosition();
        const CKpPoint& b = axis.pAxisPt(i)->getPosition();
        across += std::hypot(b.getx() - a.getx(), b.gety() - a.gety());
        const double len = axis.pAxisPt(i)->getLength();
        EXPECT_TRUE(Near(b.getz(), 0.3 + len * std::cos(alpha), tol::loose)) << "point " << i;
        EXPECT_TRUE(Near(across, len * std::sin(alpha), tol::loose)) << "point " << i;
        EXPECT_LT(std::hypot(b.getx(), b.gety()), 1.0 + 1e-12);
    }
    CKpPoint p;
    double steps;
    ASSERT_EQ(axis.CalcEdgepoint(last, turn, 1.0, &p, &steps), 0);
    EXPECT_LT(Dist(p, Pt(start.getx(), start.gety(), 0.3 + P / std::tan(alpha))), 1e-9);

    // Along the axis: straight up to the free end.
    const CKpDirn up = Dn(0, 0, 1);
    ASSERT_EQ(axis.make_axis(nullptr, &s.facets, start, f, 1, s.Angle(f, up), 50.0, &last), 0);
    ExpectStraight(axis, up);
    EXPECT_TRUE(Near(axis.pAxisPt(last)->getLength(), 9.7, tol::length));
}

TEST(CKpAxis, ClosedTraceEndsWithWarning) {
    const int n = 12;
    Surface s(surfmesh::OpenCylinder(Kind::Quad4, n, 10, 1.0, 10.0), "axis_tube");
    const double x = std::cos(kPi / n);
    const CKpPoint start = Pt(x * std::cos(kPi / n), x * std::sin(kPi / n), 4.3);
    const int f = s.At(start);
    CKpDirn around;
    around.Set(-std::sin(kPi / n), std::cos(kPi / n), 0.0);
    const double warp = s.Angle(f, around), weft = s.Angle(f, Dn(0, 0, 1));
    const char* closes = "WARNING: Fibre axis closes on itself";

    // A geodesic around the tube comes back to its first crossing.
    CKpAxis axis;
    int last = -1;
    ASSERT_EQ(axis.make_axis(&s.cap.log, &s.facets, start, f, 1, warp, 1e6, &last), 0);
    EXPECT_EQ(s.Count(closes), 1);
    EXPECT_EQ(last, axis.entries() - 1);
    EXPECT_LT(Dist(axis.pAxisPt(last)->getPosition(), axis.pAxisPt(1)->getPosition()), 1e-9);
    EXPECT_TRUE(Near(axis.pAxisPt(last)->getLength() - axis.pAxisPt(1)->getLength(),
                     2 * n * std::sin(kPi / n), tol::loose));

    // Start axes: geodesics (type 1) and plane sections (type 2); the warp
    // pair closes, the weft pair runs to the two free ends.
    CKpDrapeSim sim;
    CKpPlane horizontal, vertical;
    horizontal.c = 1.0;
    vertical.a = around.getx();
    vertical.b = around.gety();
    for (const int type : {1, 2}) {
        s.cap.reset();
        ASSERT_EQ(CalcAxes(&s.cap.log, nullptr, &s.facets, type, f, start, warp, weft, horizontal,
                           vertical, &sim),
                  0);
        EXPECT_EQ(s.Count(closes), 2) << "type " << type;
        for (int k = 0; k < 4; ++k) {
            const CKpAxis& a = *sim.pAxis(k);
            const CKpAxisPt* end = a.pAxisPt(a.entries() - 1);
            for (int i = 1; i < a.entries(); ++i)
                EXPECT_TRUE(Near(a.pAxisPt(i)->getPosition().getz(), k % 2 ? 0.0 : 4.3, tol::loose))
                    << "type " << type << " axis " << k << " point " << i;
            if (k % 2 == 0) continue;
            EXPECT_EQ(end->getEdgeCode(), -1);
            EXPECT_TRUE(Near(end->getPosition().getz(), k == 1 ? 10.0 : 0.0, tol::loose));
            EXPECT_TRUE(Near(end->getLength(), k == 1 ? 5.7 : 4.3, tol::loose));
        }
    }

    // A plane through a ring of mesh vertices (z = 4 exactly, where the
    // first crossing lies) runs from vertex to vertex and ends as well.
    const CKpPoint low = Pt(x * std::cos(kPi / n), x * std::sin(kPi / n), 3.7);
    const int g = s.At(low);
    s.cap.reset();
    ASSERT_EQ(CalcAxes(&s.cap.log, nullptr, &s.facets, 2, g, low, s.Angle(g, Dn(0, 0, 1)),
                       s.Angle(g, around), horizontal, vertical, &sim),
              0);
    EXPECT_GE(s.Count(closes), 1);
    EXPECT_TRUE(Near(sim.pAxis(0)->pAxisPt(1)->getPosition().getz(), 4.0, tol::length));
}

TEST(CKpAxis, FirstPointsAndUnsupportedType) {
    Surface s(surfmesh::Plate(Kind::Quad4, 4, 4, 4.0, 4.0), "axis_types");
    const CKpPoint start = Pt(1.4, 1.7, 0.0);
    const int f = s.At(start);
    CKpDrapeSim sim;
    CKpPlane none;
    ASSERT_EQ(CalcAxes(&s.cap.log, nullptr, &s.facets, 0, f, start, s.Angle(f, Dn(1, 0, 0)),
                       s.Angle(f, Dn(0, 1, 0)), none, none, &sim),
              0);
    const CKpDirn dirs[4] = {Dn(1, 0, 0), Dn(0, 1, 0), Dn(-1, 0, 0), Dn(0, -1, 0)};
    for (int k = 0; k < 4; ++k) {
        ASSERT_EQ(sim.pAxis(k)->entries(), 2);
        ExpectStraight(*sim.pAxis(k), dirs[k]);
    }
    EXPECT_EQ(CalcAxes(&s.cap.log, nullptr, &s.facets, 5, f, start, 0.0, 1.0, none, none, &sim),
              -1);
    EXPECT_EQ(s.Count("ERROR: The axis type of 5 is currently unsupported. Please select another "
                      "axis type."),
              1);
}

TEST(CKpAxis, UpdateAxesFindsCellCorner) {
    // Warp neighbour (1, 0) at (2, 1), weft neighbour (0, 1) at (1, 2): the
    // fibres +y from the first and +x from the second meet at (2, 2).
    Surface s(surfmesh::Plate(Kind::Tria3, 4, 4, 4.0, 4.0), "axis_update");
    CKpDrape drape;
    const CKpPoint p1 = Pt(2.0, 1.0, 0.0), p2 = Pt(1.0, 2.0, 0.0);
    for (const auto& [u, v, p] : {std::make_tuple(1, 0, p1), std::make_tuple(0, 1, p2)}) {
        auto* q = new CKpDrapePt;
        q->SetPoint(p);
        q->SetFacet(s.At(p));
        q->SetDnfg(1);
        ASSERT_EQ(drape.pDrapePt(u, v, q), 0);
    }
    CKpAxis A, B;
    double r1, r2, g;
    int found, flagA, flagB;
    const double up = s.Angle(s.At(p1), Dn(0, 1, 0)), right = s.Angle(s.At(p2), Dn(1, 0, 0));
    ASSERT_EQ(CKpAxis::UpdateAxes(nullptr, &s.facets, &drape, A, B, 1, 0, up, 1.0, 0.0, 0.8, 0, 1,
                                  right, 1.0, 0.0, 0.5, r1, r2, found, flagA, flagB, g),
              0);
    EXPECT_EQ(found, 1);
    EXPECT_TRUE(Near(r1, 1.0 / 0.8, tol::loose));
    EXPECT_TRUE(Near(r2, 1.0 / 0.5, tol::loose));
    EXPECT_TRUE(Near(g, kPi / 2, tol::loose));
    EXPECT_EQ(flagA, 1);

    // Too short to meet: not found, the weft fibre ends before the corner.
    ASSERT_EQ(CKpAxis::UpdateAxes(nullptr, &s.facets, &drape, A, B, 1, 0, up, 1.0, 0.0, 0.8, 0, 1,
                                  right, 1.0, 0.0, 0.2, r1, r2, found, flagA, flagB, g),
              0);
    EXPECT_EQ(found, 0);
    EXPECT_EQ(flagB, 0);
    EXPECT_EQ(CKpAxis::UpdateAxes(nullptr, &s.facets, &drape, A, B, 1, 0, up, 1.0, 0.0, 0.8, 3, 3,
                                  right, 1.0, 0.0, 0.5, r1, r2, found, flagA, flagB, g),
              -1);
}

}  // namespace
