#include "layuplib/pattern_pts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "layuplib/CKpAxis.h"
#include "layuplib/CKpAxisPt.h"
#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapeBound.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpOln.h"
#include "layuplib/angle_util.h"
#include "tests/support/SurfaceMeshes.h"
#include "tests/support/Tolerance.h"

namespace {

using meshgen::Kind;
const double kLimits[3] = {0.2, 0.4, 0.8};

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

CKpPoint Along(const CKpPoint& p, const CKpDirn& d, double t) {
    CKpPoint q;
    q.SetPointDirnValue(&p, &d, t);
    return q;
}

double Dist(const CKpPoint& a, const CKpPoint& b) {
    return std::hypot(a.getx() - b.getx(), a.gety() - b.gety(), a.getz() - b.getz());
}

// The facet of a plate (z = 0) holding p.
int OnPlate(surfmesh::Faceted& m, const CKpPoint& p) {
    for (int i = 0; i < m.s.facets.entries(); ++i) {
        const CKpFacet* f = m.f(i);
        const CKpPoint *a = f->getCKpPoint(0), *b = f->getCKpPoint(1), *c = f->getCKpPoint(2);
        auto side = [&p](const CKpPoint* u, const CKpPoint* v) {
            return (v->getx() - u->getx()) * (p.gety() - u->gety()) -
                   (v->gety() - u->gety()) * (p.getx() - u->getx());
        };
        if (side(a, b) >= -1e-12 && side(b, c) >= -1e-12 && side(c, a) >= -1e-12) return i;
    }
    return -1;
}

// Puts a point on facet f (by default the plate's facet holding p) with
// warp along `wp` and weft along `wt`.
CKpDrapePt* Put(surfmesh::Faceted& m, CKpDrape& grid, int u, int v, const CKpPoint& p,
                const CKpDirn& wp, const CKpDirn& wt, int f = -1) {
    if (f < 0) f = OnPlate(m, p);
    auto* q = new CKpDrapePt;
    q->SetPoint(p);
    q->SetFacet(f);
    q->SetDnfg(1);
    q->SetWarpAng(m.f(f)->GetAngle(&wp));
    q->SetWeftAng(m.f(f)->GetAngle(&wt));
    q->SetStrn(nullptr, kPi / 2, 1);
    EXPECT_EQ(grid.pDrapePt(u, v, q), 0);
    return q;
}

// One warp (`warp`) or weft step from (u, v) towards (u2, v2).
int Step(surfmesh::Faceted& m, CKpDrape& grid, bool warp, int u, int v, int u2, int v2, double step,
         const CKpDrapeBound* bound = nullptr) {
    return (warp ? pattern_wppt : pattern_wtpt)(&m.cap.log, nullptr, &m.s.facets, &grid, u, v, u2,
                                                v2, step, kLimits, bound, kPi / 2, 1);
}

TEST(pattern_pts, OnePointStepsOnPlate) {
    surfmesh::Faceted m("pts_step", surfmesh::Plate(Kind::Tria3, 10, 10, 10.0, 10.0));
    CKpDrape grid;
    const CKpDirn wp = Dn(std::cos(0.5), std::sin(0.5), 0),
                  wt = Dn(-std::sin(0.5), std::cos(0.5), 0);
    const CKpPoint s = Pt(2.3, 3.1, 0);
    CKpDrapePt* A = Put(m, grid, 0, 0, s, wp, wt);

    // A warp and a weft step land exactly one step along their fibre.
    ASSERT_EQ(Step(m, grid, true, 0, 0, 1, 0, 1.5), 1);
    const CKpDrapePt* B = grid.pDrapePt(1, 0);
    ASSERT_NE(B, nullptr);
    EXPECT_LT(Dist(B->GetPoint(), Along(s, wp, 1.5)), 1e-9);
    EXPECT_EQ(B->GetFacet(), OnPlate(m, B->GetPoint()));
    EXPECT_TRUE(Near(B->GetWarpAngPlus(), m.f(B->GetFacet())->GetAngle(&wp), tol::loose) &&
                Near(B->GetWeftAngMinus(), m.f(B->GetFacet())->GetAngle(&wt), tol::loose) &&
                Near(B->GetStrn(), 0.0, tol::loose));
    EXPECT_EQ(A->GetJoined(0) + B->GetJoined(2), 2);
    ASSERT_EQ(Step(m, grid, false, 0, 0, 0, -1, 0.75), 1);
    EXPECT_LT(Dist(grid.pDrapePt(0, -1)->GetPoint(), Along(s, wt, -0.75)), 1e-9);
    // Joined already: nothing more.
    EXPECT_EQ(Step(m, grid, true, 0, 0, 1, 0, 1.5), 0);

    // Towards a cell that holds a point: the fibre end is recorded instead.
    Put(m, grid, -1, 0, Along(s, wp, -1.5), wp, wt);
    EXPECT_EQ(Step(m, grid, true, 0, 0, -1, 0, 1.5), 0);
    EXPECT_EQ(A->GetJoined(2), 0);
    EXPECT_GE(A->GetEndFrac(2), 1.0);  // the fibre's last point lies past the step

    // The grid bound 0.4 steps away ends the fibre there.
    CKpDrapeBound bound;
    bound.Set(1.0, 1.5, 0.0, 0.0, 0.0, 0.6);
    EXPECT_EQ(Step(m, grid, false, 0, 0, 0, 1, 1.5, &bound), 0);
    EXPECT_EQ(grid.pDrapePt(0, 1), nullptr);
    EXPECT_TRUE(Near(A->GetEndFrac(1), 0.4, tol::loose));
    EXPECT_LT(Dist(A->GetEndPoint(1), Along(s, wt, 0.6)), 1e-9);

    // A free edge 0.5 short of the step: fraction reached, end on the edge.
    const CKpPoint e = Pt(8.5, 5.0, 0);
    CKpDrapePt* E = Put(m, grid, 5, 5, e, Dn(1, 0, 0), Dn(0, 1, 0));
    EXPECT_EQ(Step(m, grid, true, 5, 5, 6, 5, 2.0), 0);
    EXPECT_TRUE(Near(E->GetEndFrac(0), 0.75, tol::loose));
    EXPECT_LT(Dist(E->GetEndPoint(0), Pt(10.0, 5.0, 0)), 1e-9);
}

TEST(pattern_pts, EstimatesCarryIncludedAngle) {
    surfmesh::Faceted m("pts_est", surfmesh::Plate(Kind::Quad4, 2, 2, 2.0, 2.0));
    CKpDrape grid;
    const double inc = 80.0 * kPi / 180.0;
    CKpDrapePt* A = Put(m, grid, 0, 0, Pt(0.5, 0.5, 0), Dn(1, 0, 0), Dn(1, 0, 0), 0);
    A->SetWarpAng(0.1);
    A->SetWeftAng(0.1 + inc);
    CKpDrapePt* B = Put(m, grid, 1, 0, Pt(1.5, 0.5, 0), Dn(1, 0, 0), Dn(1, 0, 0), 0);
    B->SetWarpAng(0.3);
    B->SetWeftAng(CKpDrapePt::kNoAngle);
    double a = 0.0;
    ASSERT_EQ(est_wtang(nullptr, &grid, 0, 0, 1, 0, a), 1);
    EXPECT_TRUE(Near(a, 0.3 + inc, tol::angle));
    B->SetDnfg(-1);
    ASSERT_EQ(est_wtang(nullptr, &grid, 0, 0, 1, 0, a), 1);
    EXPECT_TRUE(Near(a, 0.3 - inc, tol::angle));
    B->SetWarpAngMinus(CKpDrapePt::kNoAngle);
    B->SetWarpAngPlus(CKpDrapePt::kNoAngle);
    B->SetWeftAng(1.0);
    ASSERT_EQ(est_wpang(nullptr, &grid, 0, 0, 1, 0, a), 1);
    EXPECT_TRUE(Near(a, 1.0 + inc, tol::angle));
    EXPECT_EQ(est_wtang(nullptr, &grid, 0, 0, 1, 0, a), 0);  // B's warp unset
    EXPECT_EQ(est_wpang(nullptr, &grid, 0, 0, 3, 0, a), 0);  // no B
    A->SetDnfg(0);
    EXPECT_EQ(est_wpang(nullptr, &grid, 0, 0, 1, 0, a), 0);  // no side flag to divide by
}

// D = (0, 0) with its warp and weft neighbours; the cell corner (du, dv)
// closes at D + a·warp + b·weft (a parallelogram on a plate).
TEST(pattern_pts, ClosesParallelogramOnPlate) {
    surfmesh::Faceted m("pts_plate", surfmesh::Plate(Kind::Tria3, 10, 10, 10.0, 10.0));
    const CKpPoint s = Pt(5.1, 4.9, 0);
    const double a = 1.2, b = 0.9;
    for (double deg : {90.0, 70.0, 110.0, 45.0}) {
        for (const auto& q : {std::make_pair(1, 1), std::make_pair(1, -1), std::make_pair(-1, -1),
                              std::make_pair(-1, 1)}) {
            const int du = q.first, dv = q.second;
            CKpDrape grid;
            const double w = 0.3, x = deg * kPi / 180.0;
            const CKpDirn wp = Dn(std::cos(w), std::sin(w), 0);
            const CKpDirn wt = Dn(std::cos(w + x), std::sin(w + x), 0);
            const CKpPoint p1 = Along(s, wt, dv * b), p2 = Along(s, wp, du * a);
            Put(m, grid, 0, 0, s, wp, wt);
            Put(m, grid, 0, dv, p1, wp, wt);
            Put(m, grid, du, 0, p2, wp, wt);
            grid.Join(0, 0, 0, dv);
            grid.Join(0, 0, du, 0);
            ASSERT_EQ(pattern_2pts(&m.cap.log, nullptr, &m.s.facets, &grid, 0, dv, du, 0, du, dv, a,
                                   b, kLimits, kPi / 2, nullptr, 1),
                      1)
                << deg << " deg, cell " << du << " " << dv;
            const CKpDrapePt* N = grid.pDrapePt(du, dv);
            const CKpPoint want = Along(p1, wp, du * a);
            EXPECT_LT(Dist(N->GetPoint(), want), 2e-3 * a) << deg << " deg, " << du << " " << dv;
            EXPECT_LT(std::fabs(N->GetStrn() - (kPi / 2 - x)), 5e-3) << deg << " deg";
            EXPECT_EQ(N->GetJoined(du > 0 ? 2 : 0), 1);
            EXPECT_EQ(N->GetJoined(dv > 0 ? 3 : 1), 1);
        }
    }
    EXPECT_EQ(m.cap.body().find("Maximum iterations"), std::string::npos);
}

// Fibres at 45 degrees to the axis of a faceted cylinder (developable): the
// cell closes with both sides one step long along the surface.
TEST(pattern_pts, ClosesCellOnCylinder) {
    surfmesh::Faceted m("pts_cyl", surfmesh::OpenCylinder(Kind::Quad4, 48, 20, 5.0, 20.0));
    const int f0 = 300;
    const CKpFacet* F = m.f(f0);
    CKpPoint s = *F->getCKpPoint(0);
    F->MoveToCentroid(&s, 1.0);
    CKpDirn n, axis = Dn(0, 0, 1), around;
    F->GetNormal(&n);
    around.setCrossProduct(&n, &axis);
    around.unitize();
    const CKpDirn wp =
        Dn(axis.getx() + around.getx(), axis.gety() + around.gety(), axis.getz() + around.getz());
    const CKpDirn wt = Dn(-axis.getx() + around.getx(), -axis.gety() + around.gety(),
                          -axis.getz() + around.getz());
    CKpDrape grid;
    Put(m, grid, 0, 0, s, wp, wt, f0);
    const double a = 0.8, b = 0.6;
    ASSERT_EQ(Step(m, grid, true, 0, 0, 1, 0, a), 1);
    ASSERT_EQ(Step(m, grid, false, 0, 0, 0, 1, b), 1);
    ASSERT_EQ(pattern_2pts(&m.cap.log, nullptr, &m.s.facets, &grid, 0, 1, 1, 0, 1, 1, a, b, kLimits,
                           kPi / 2, nullptr, 1),
              1);
    const CKpDrapePt* N = grid.pDrapePt(1, 1);
    EXPECT_LT(std::fabs(N->GetStrn()), 5e-3);
    // Geodesic check: each neighbour's fibre towards N reaches it after one step.
    for (int k = 0; k < 2; ++k) {
        const CKpDrapePt* P = grid.pDrapePt(1 - k, k);
        const double len = k ? a : b;
        CKpAxis A;
        int last = 0;
        CKpPoint end;
        ASSERT_EQ(A.make_axis(nullptr, &m.s.facets, P->GetPoint(), P->GetFacet(), P->GetDnfg(),
                              k ? P->GetWarpAngPlus() : P->GetWeftAngPlus(), len, &last),
                  1);
        ASSERT_EQ(A.GetPointFacet(len, last, &end, nullptr), 0);
        EXPECT_LT(Dist(end, N->GetPoint()), 2e-3 * len) << k;
    }
    // Off the plane of the start facet: the surface curves under the cell.
    EXPECT_TRUE(Near(std::hypot(N->GetPoint().getx(), N->GetPoint().gety()), 5.0, {0.03, 0}));
}

// A cell whose closing angle is 0 (warp and weft of D along one line) has
// no corner: it is reported as not converged, nothing is divided by zero.
TEST(pattern_pts, DegenerateCellIsNotConverged) {
    surfmesh::Faceted m("pts_degen", surfmesh::Plate(Kind::Tria3, 10, 10, 10.0, 10.0));
    CKpDrape grid;
    const CKpPoint s = Pt(5.1, 4.9, 0);
    const CKpDirn wp = Dn(1, 0, 0);
    const CKpPoint p1 = Along(s, wp, 0.9), p2 = Along(s, wp, 1.2);
    Put(m, grid, 0, 0, s, wp, wp);
    CKpDrapePt* P1 = Put(m, grid, 0, 1, p1, wp, wp);
    CKpDrapePt* P2 = Put(m, grid, 1, 0, p2, wp, wp);
    const double wide[3] = {0.2, 0.4, 2.0};  // the sheared neighbours stay in the hard limit
    EXPECT_EQ(pattern_2pts(&m.cap.log, nullptr, &m.s.facets, &grid, 0, 1, 1, 0, 1, 1, 1.2, 0.9,
                           wide, kPi / 2, nullptr, 1),
              0);
    EXPECT_EQ(grid.pDrapePt(1, 1), nullptr);
    EXPECT_NE(m.cap.body().find("No 2pt convergence"), std::string::npos);
    EXPECT_EQ(m.cap.body().find("Iter"), std::string::npos);  // no solver ran
    EXPECT_TRUE(std::isfinite(P1->GetWarpAngPlus()));
    EXPECT_TRUE(std::isfinite(P2->GetWeftAngPlus()));
    EXPECT_EQ(P1->EndFracSet(0), 0);
}

// Every field of the points of a grid, in order, exactly (hex floats).
std::string State(const CKpDrape& grid) {
    std::string out;
    char buf[64];
    auto num = [&](double x) {
        std::snprintf(buf, sizeof buf, " %a", x);
        out += buf;
    };
    auto xyz = [&](const CKpTriplet& t) { num(t.getx()), num(t.gety()), num(t.getz()); };
    int u0, u1, v0, v1;
    grid.GetBounds(u0, u1, v0, v1);
    for (int u = u0; u <= u1; ++u)
        for (int v = v0; v <= v1; ++v) {
            const CKpDrapePt* p = grid.pDrapePt(u, v);
            if (!p) continue;
            out += "\n" + std::to_string(u) + " " + std::to_string(v) + " " +
                   std::to_string(p->GetFacet()) + " " + std::to_string(p->GetDnfg());
            xyz(p->GetPoint());
            num(p->GetStrn());
            for (int d = 0; d < 4; ++d) {
                num(p->GetSideAng(d));
                num(p->GetEndFrac(d));
                xyz(p->GetEndPoint(d));
                xyz(p->GetEndDirn(d));
                out += " " + std::to_string(p->GetJoined(d)) + " " +
                       std::to_string(p->GetEndFacet(d)) + " " + std::to_string(p->GetEndEdge(d));
            }
        }
    return out;
}

// A cell that cannot be closed, called again with nothing changed: the
// second call leaves the state of the first without solving again (no
// progress reports) until the memo is emptied. Neighbours too far apart go
// through every solver and record nothing. A corner beyond the free edge
// x = 10 is solved at once (the lines of the two fibres, one of which
// stopped at the edge, cross exactly there): no point is made, and P1's
// warp fibre records its end on the edge, along the lattice direction.
TEST(pattern_pts, RepeatedOpenCellIsNotSolvedAgain) {
    const double w = 40.0 * kPi / 180.0;
    const struct {
        CKpPoint d;
        CKpDirn wt;
        double step, apart;  // P1 and P2 `apart` steps from D
    } cases[] = {{Pt(3.0, 3.0, 0), Dn(0, 1, 0), 1.0, 2.0},
                 {Pt(8.0, 3.0, 0), Dn(std::sin(w), std::cos(w), 0), 1.5, 1.0}};
    for (const auto& c : cases) {
        const bool tooFar = c.apart > 1.5;
        surfmesh::Faceted m("pts_memo", surfmesh::Plate(Kind::Tria3, 10, 10, 10.0, 10.0));
        m.cap.reset();
        CKpDrape grid;
        const CKpDirn wp = Dn(1, 0, 0);
        const CKpPoint p1 = Along(c.d, c.wt, c.apart * c.step),
                       p2 = Along(c.d, wp, c.apart * c.step);
        Put(m, grid, 0, 0, c.d, wp, c.wt);
        CKpDrapePt* P1 = Put(m, grid, 0, 1, p1, wp, c.wt);
        CKpDrapePt* P2 = Put(m, grid, 1, 0, p2, wp, c.wt);
        auto call = [&](double weftStep) {
            return pattern_2pts(&m.cap.log, nullptr, &m.s.facets, &grid, 0, 1, 1, 0, 1, 1, c.step,
                                weftStep, kLimits, kPi / 2, nullptr, 1);
        };
        EXPECT_EQ(call(c.step), 0);
        EXPECT_EQ(grid.pDrapePt(1, 1), nullptr);
        const std::string after = State(grid), log = m.cap.body();
        if (tooFar) {  // every solver fails in turn
            const size_t g = log.find("Gradient iteration method unacceptable"),
                         bnd = log.find("Bound iteration method unacceptable, using chord method"),
                         ch = log.find("wpchordsegs", bnd);
            EXPECT_TRUE(g < bnd && bnd < ch && ch != std::string::npos) << log;
            EXPECT_NE(log.find("No 2pt convergence"), std::string::npos);
            EXPECT_EQ(P1->EndFracSet(0), 0);
        } else {
            EXPECT_EQ(log, "");
            ASSERT_EQ(P1->EndFracSet(0), 1);
            EXPECT_NEAR(P1->GetEndFrac(0), (10.0 - p1.getx()) / c.step, 1e-9);
            EXPECT_LT(Dist(P1->GetEndPoint(0), Pt(10.0, p1.gety(), 0)), 1e-9);
        }
        EXPECT_EQ(P2->EndFracSet(1), 0);  // so step 1 does not stop a new call
        m.cap.reset();
        EXPECT_EQ(call(c.step), 0);
        EXPECT_EQ(State(grid), after) << c.d.getx();
        EXPECT_EQ(m.cap.body(), "") << c.d.getx();
        grid.ClearOpenCells();
        EXPECT_EQ(call(c.step), 0);
        EXPECT_EQ(State(grid), after) << c.d.getx();
        EXPECT_EQ(m.cap.body(), log) << c.d.getx();
        // Another input, a longer weft step: solved afresh.
        if (tooFar) {
            m.cap.reset();
            EXPECT_EQ(call(1.01 * c.step), 0);
            EXPECT_NE(m.cap.body().find("using chord method"), std::string::npos);
        }
    }
}

// Outline bookkeeping on a square 90-degree net: a notch corner is filled,
// a straight run is not, and a one-point step grows a spike.
TEST(pattern_pts, OutlineHelpers) {
    surfmesh::Faceted m("pts_oln", surfmesh::Plate(Kind::Tria3, 10, 10, 10.0, 10.0));
    CKpDrape grid;
    const CKpDirn wp = Dn(1, 0, 0), wt = Dn(0, 1, 0);
    for (const auto& q : {std::make_pair(0, 0), std::make_pair(1, 0), std::make_pair(0, 1)}) {
        const CKpPoint p = Pt(4.1 + q.first, 4.2 + q.second, 0);
        Put(m, grid, q.first, q.second, p, wp, wt);
    }
    grid.Join(0, 0, 1, 0);
    grid.Join(0, 0, 0, 1);
    // Ring A (1, 0) -> E (0, 0) -> C (0, 1): E arrives from 0 and leaves by 2.
    CKpOln A(1, 1, 0, 4, 4), E(2, 0, 0, 0, 2), C(3, 0, 1, 6, 6);
    auto link = [](CKpOln& a, CKpOln& b) {
        a.SetNext(&b);
        b.SetPrev(&a);
    };
    link(A, E), link(E, C), link(C, A);
    int counter = 0;
    EXPECT_EQ(CalcPatternOutline2pts(nullptr, nullptr, &m.s.facets, &grid, 1.0, 1.0, kLimits,
                                     kPi / 2, nullptr, &C, counter, 1),
              0);  // a spike tip is no notch
    ASSERT_EQ(CalcPatternOutline2pts(nullptr, nullptr, &m.s.facets, &grid, 1.0, 1.0, kLimits,
                                     kPi / 2, nullptr, &E, counter, 1),
              1);
    EXPECT_EQ(counter, 1);
    ASSERT_NE(grid.pDrapePt(1, 1), nullptr);
    EXPECT_LT(Dist(grid.pDrapePt(1, 1)->GetPoint(), Pt(5.1, 5.2, 0)), 2e-3);
    EXPECT_EQ(std::vector<int>({E.getU(), E.getV(), E.getArriving(), E.getLeaving(), A.getLeaving(),
                                C.getArriving()}),
              std::vector<int>({1, 1, 6, 4, 2, 0}));

    // A lone entry grows a spike: (0, 0) -> (-1, 0), then on to (-1, -1).
    CKpDrape g2;
    Put(m, g2, 0, 0, Pt(4.1, 4.2, 0), wp, wt);
    CKpOln* lone = new CKpOln(1, 0, 0, 0, 0);
    lone->SetNext(lone);
    lone->SetPrev(lone);
    CKpOln* at = lone;
    ASSERT_EQ(CalcPatternOutline1pt(nullptr, nullptr, &m.s.facets, &g2, 1.0, 0.5, kLimits, kPi / 2,
                                    1, nullptr, at, 6, 0, counter),
              1);
    EXPECT_EQ(std::vector<int>({counter, at->getU(), at->getArriving(), lone->getLeaving()}),
              std::vector<int>({2, -1, 0, 4}));
    EXPECT_TRUE(at->Next() == lone && lone->Next() == at);
    ASSERT_EQ(CalcPatternOutline1pt(nullptr, nullptr, &m.s.facets, &g2, 1.0, 0.5, kLimits, kPi / 2,
                                    1, nullptr, at, 0, 1, counter),
              1);
    EXPECT_LT(Dist(g2.pDrapePt(-1, -1)->GetPoint(), Pt(3.1, 3.7, 0)), 1e-9);
    // The first tip now turns down and its copy comes back up.
    EXPECT_EQ(std::vector<int>({at->getArriving(), at->Prev()->getLeaving(),
                                at->Next()->getArriving(), at->Next()->getLeaving()}),
              std::vector<int>({2, 6, 6, 0}));
    EXPECT_EQ(at->Next()->Next(), lone);
    for (CKpOln* p = lone->Next(); p != lone;) {
        CKpOln* n = p->Next();
        delete p;
        p = n;
    }
    delete lone;
}

}  // namespace
