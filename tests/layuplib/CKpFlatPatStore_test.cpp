#include "layuplib/CKpFlatPatStore.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "layuplib/CKpBdy.h"
#include "layuplib/CKpBdyStore.h"
#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFlatPatPtBdyStore.h"
#include "layuplib/angle_util.h"
#include "tests/support/FacetLocate.h"
#include "tests/support/FacetSurface.h"
#include "tests/support/MessageCapture.h"
#include "tests/support/Tolerance.h"

namespace {

using meshgen::Kind;

CKpDirn Dn(double x, double y) {
    CKpDirn d;
    d.Set(x, y, 0.0);
    return d;
}

// A plate surface, its boundary store and a drape grid built by hand on a
// lattice: grid point (i, j) at O + i step w + j wstep t (w, t unit warp and
// weft), kept where `keep` says; every pair of kept 4-neighbours is joined
// and every other fibre ends where it meets the boundary, as a drape leaves
// them.
struct Lattice {
    FacetSurface s;
    MessageCapture cap;
    CKpBdyStore bdys{0};
    CKpDrape grid;
    CKpPoint O;
    CKpDirn w = Dn(1, 0), t = Dn(0, 1);
    double step = 1.0, wstep = 1.0, strain = 0.0;

    Lattice(const meshgen::Mesh& mesh, const char* name) : cap(name) {
        s.Build(mesh);
        EXPECT_EQ(bdys.CalculateBoundary(&cap.log, &s.facets, 0, 1), 0);
    }
    CKpPoint at(double p, double q) const {
        CKpPoint x;
        x.Set(O.getx() + p * step * w.getx() + q * wstep * t.getx(),
              O.gety() + p * step * w.gety() + q * wstep * t.gety(), 0.0);
        return x;
    }
    void fill(int imax, int jmax, const std::function<bool(int, int)>& keep = nullptr) {
        for (int j = 0; j <= jmax; ++j)
            for (int i = 0; i <= imax; ++i) {
                if (keep && !keep(i, j)) continue;
                auto* p = new CKpDrapePt;
                p->SetPoint(at(i, j));
                p->SetFacet(FacetAt(s.facets, p->GetPoint()));
                p->SetDnfg(1);
                p->SetWarpAng(s.facets.pFac(p->GetFacet())->GetAngle(&w));
                p->SetWeftAng(s.facets.pFac(p->GetFacet())->GetAngle(&t));
                p->SetStrn(strain);
                grid.pDrapePt(i, j, p);
            }
        for (int j = 0; j <= jmax; ++j)
            for (int i = 0; i <= imax; ++i) {
                grid.Join(i, j, i + 1, j);
                grid.Join(i, j, i, j + 1);
            }
        for (int j = 0; j <= jmax; ++j)
            for (int i = 0; i <= imax; ++i)
                for (int d = 0; d < 4; ++d)
                    if (CKpDrapePt* p = grid.pDrapePt(i, j); p && !p->GetJoined(d)) end(p, d);
    }
    // The fibre from p in direction d to the nearest boundary segment.
    void end(CKpDrapePt* p, int d) {
        CKpDirn D = (d % 2 == 0) ? w : t;
        if (d >= 2) D.Scale(-1.0);
        const double len = (d % 2 == 0) ? step : wstep;
        const CKpPoint& P = p->GetPoint();
        double best = 1e300;
        for (int r = 0; r < bdys.GetNumBdys(); ++r) {
            CKpBdy* g = bdys.GetBdy(r);
            do {
                const CKpFacet* f = s.facets.pFac(g->getFacet());
                const CKpPoint *A = f->getCKpPoint(g->vx0()), *B = f->getCKpPoint(g->vx1());
                const double ex = B->getx() - A->getx(), ey = B->gety() - A->gety();
                const double den = D.getx() * ey - D.gety() * ex;
                const double ax = A->getx() - P.getx(), ay = A->gety() - P.gety();
                const double h = (ax * ey - ay * ex) / den,
                             u = (ax * D.gety() - ay * D.getx()) / den;
                if (den != 0.0 && h > 0.0 && h < best && u >= 0.0 && u <= 1.0) {
                    best = h;
                    CKpPoint E;
                    E.SetPointDirnValue(&P, &D, h);
                    p->SetEnd(d, h / len, E, D, g->getFacet(), g->getEdge());
                }
                g = g->Next();
            } while (g != bdys.GetBdy(r));
        }
    }
    const CKpFlatPatPt* point(int pattern, int k) {
        const CKpFlatPatPt* p = pats.GetIndex(pattern)->GetPoints().First();
        for (; k > 0; --k) p = p->getNext();
        return p;
    }
    // Every point of `pat` lies where its (u, v) puts it on the lattice.
    void expectOnLattice(const CKpFlatPat* pat, double r) {
        int k = 0;
        for (const CKpFlatPatPt* p = pat->GetPoints().First(); p; p = p->getNext(), ++k) {
            const CKpPoint x = at(p->getU(), p->getV() * r);
            EXPECT_LT(dist(x, p->GetPosition()), 1e-9)
                << "point " << k << " u " << p->getU() << " v " << p->getV();
        }
    }
    static double dist(const CKpPoint& a, const CKpPoint& b) {
        return std::hypot(a.getx() - b.getx(), a.gety() - b.gety(), a.getz() - b.getz());
    }
    CKpFlatPatStore pats;
};

void expectBounds(const CKpFlatPat* pat, double u0, double u1, double v0, double v1) {
    double b[4];
    ASSERT_EQ(pat->GetPoints().GetBounds(b[0], b[1], b[2], b[3]), 0);
    const double want[4] = {u0, u1, v0, v1};
    EXPECT_TRUE(NearArray(b, want, 4, tol::length));
}

}  // namespace

// 8 x 6 plate of unit cells; lattice step 1 by weft step 0.5 (ratio 2) from
// (0.5, 0.25), so every edge fibre ends half a step short of the plate edge.
TEST(CKpFlatPatStore, RectangleFlattensToItsSize) {
    Lattice L(surfmesh::Plate(Kind::Tria3, 8, 6, 8.0, 6.0), "flat_rect");
    L.O.Set(0.5, 0.25, 0.0);
    L.wstep = 0.5;
    L.fill(7, 11);
    ASSERT_EQ(L.pats.Create(&L.cap.log, &L.s.facets, &L.bdys, &L.grid, kPi / 2, 2.0, 0.0, 1.0), 0);
    ASSERT_EQ(L.pats.entries(), 1);
    const CKpFlatPat* pat = L.pats.First();
    // W x H in model units: 8 x 6 warp steps (v counts warp steps too).
    expectBounds(pat, -0.5, 7.5, -0.25, 5.75);
    L.expectOnLattice(pat, 2.0);
    // 40 cutout points and the closing copy, 28 boundary vertices between
    // them: 7 along the long sides, 5 along the short, 4 corners.
    EXPECT_EQ(pat->GetPoints().GetNumPoints(), 69);
    const CKpFlatPatPt* first = pat->GetPoints().First();
    const CKpFlatPatPt* last = L.point(0, 68);
    EXPECT_EQ(first->getU(), last->getU());
    EXPECT_EQ(first->getV(), last->getV());
    EXPECT_EQ(first->GetExtension(), 2);  // walked from the lowest-left point, -u first
    // Thinning keeps the first and last points and the four corners.
    EXPECT_EQ(pat->GetPoints().GetNumPlotPoints(), 6);
    for (const CKpFlatPatPt* p = first->getNext(); p != last; p = p->getNext()) {
        const bool corner = std::fabs(std::fabs(p->getU() - 3.5) - 4.0) < 1e-9 &&
                            std::fabs(std::fabs(p->getV() - 2.75) - 3.0) < 1e-9;
        EXPECT_EQ(p->getPlot(), corner ? 2 : 0) << p->getU() << " " << p->getV();
    }
    EXPECT_EQ(L.cap.body().find("Cannot find boundary"), std::string::npos);
}

// A plate sheared into a parallelogram with 60 degree corners, draped by a
// square-woven fabric (a = 90 degrees) sheared by 30 degrees along its
// edges: the cut shape is the fabric's rectangle, and each point's (u, v)
// are the oblique lattice coordinates of its draped position.
TEST(CKpFlatPatStore, ShearedGridFollowsTheLattice) {
    meshgen::Mesh mesh = surfmesh::Plate(Kind::Tria3, 6, 4, 6.0, 4.0);
    const double c = kPi / 3;
    for (int n = 0; n < mesh.numNodes(); ++n) mesh.xyz[3 * n] += mesh.xyz[3 * n + 1] / std::tan(c);
    Lattice L(mesh, "flat_shear");
    L.t = Dn(std::cos(c), std::sin(c));
    L.wstep = 0.5 / std::sin(c);
    L.O = L.at(0.5, 0.5);
    L.strain = kPi / 2 - c;
    L.fill(5, 7);
    const double r = 1.0 / L.wstep;
    ASSERT_EQ(L.pats.Create(&L.cap.log, &L.s.facets, &L.bdys, &L.grid, kPi / 2, r, 0.0, 1.0), 0);
    const CKpFlatPat* pat = L.pats.First();
    expectBounds(pat, -0.5, 5.5, -0.5 / r, 7.5 / r);
    L.expectOnLattice(pat, r);
    EXPECT_EQ(pat->GetPoints().GetNumPlotPoints(), 6);
}

// A 6 x 6 plate with a 2 x 2 hole: the outer pattern and one interior
// pattern around the hole, which runs the other way round.
TEST(CKpFlatPatStore, HoleGivesInteriorPattern) {
    Lattice L(surfmesh::PlateWithHole(Kind::Tria3, 6, 6.0, 2), "flat_hole");
    L.O.Set(0.5, 0.5, 0.0);
    L.fill(5, 5, [](int i, int j) { return !(i >= 2 && i <= 3 && j >= 2 && j <= 3); });
    ASSERT_EQ(L.bdys.GetNumBdys(), 2);
    for (int run = 0; run < 2; ++run) {  // a second run finds each point once
        ASSERT_EQ(L.pats.Create(&L.cap.log, &L.s.facets, &L.bdys, &L.grid, kPi / 2, 1, 0, 1), 0);
        ASSERT_EQ(L.pats.entries(), 2);
        expectBounds(L.pats.First(), -0.5, 5.5, -0.5, 5.5);
        const CKpFlatPat* hole = L.pats.Last();
        expectBounds(hole, 1.5, 3.5, 1.5, 3.5);
        L.expectOnLattice(hole, 1.0);
        // 8 crossings (one per segment), 4 corners, 4 side midpoints, the
        // closing copy; in use the corners and both ends.
        EXPECT_EQ(hole->GetPoints().GetNumPoints(), 17);
        EXPECT_EQ(hole->GetPoints().GetNumPlotPoints(), 6);
        const CKpBdy* g = L.bdys.GetBdy(1);
        do {
            EXPECT_EQ(const_cast<CKpBdy*>(g)->pFlatPatPts()->entries(), 1);
            g = g->Next();
        } while (g != L.bdys.GetBdy(1));
    }
    // Clockwise: the shoelace area of the hole pattern is negative.
    double area = 0.0;
    for (const CKpFlatPatPt* p = L.pats.Last()->GetPoints().First(); p->getNext(); p = p->getNext())
        area += p->getU() * p->getNext()->getV() - p->getNext()->getU() * p->getV();
    EXPECT_NEAR(area / 2, -4.0, 1e-9);
    EXPECT_EQ(L.s.facets.pFac(0)->GetBdy(0), nullptr);  // no links left to the segments
}

// Fibres not traced on (no end fraction) end the fabric at the drape point
// itself, and the corner's two such directions do not close the loop early.
TEST(CKpFlatPatStore, UnsetEndFractionCutsAtThePoint) {
    Lattice L(surfmesh::Plate(Kind::Tria3, 4, 4, 4.0, 4.0), "flat_unset");
    L.O.Set(1.0, 1.0, 0.0);
    L.fill(2, 1);
    for (int j = 0; j <= 1; ++j)
        for (int i = 0; i <= 2; ++i)
            for (int d = 0; d < 4; ++d)
                L.grid.pDrapePt(i, j)->SetEndFrac(d, CKpDrapePt::kNoEndFrac);
    ASSERT_EQ(make_cutout(&L.cap.log, &L.grid, kPi / 2, 1.0, 0.0, &L.pats), 0);
    const CKpFlatPat* pat = L.pats.First();
    EXPECT_EQ(pat->GetPoints().GetNumPoints(), 11);  // 10 open directions + the copy
    for (const CKpFlatPatPt* p = pat->GetPoints().First(); p; p = p->getNext()) {
        EXPECT_TRUE(Near(p->getU(), std::round(p->getU()), tol::length));
        EXPECT_GE(p->GetPosition().getx(), 1.0);  // never at the origin
        EXPECT_EQ(p->GetEdge(), -1);
    }
    L.expectOnLattice(pat, 1.0);
}

// One drape point: the sweep goes all round it and stops at -u again. A
// pair 100 or more ring steps apart stays unrefined with an error; on the
// narrower plate every boundary vertex is developed.
TEST(CKpFlatPatStore, RingStepLimitLeavesPairUnrefined) {
    for (int nx : {110, 220}) {
        const double W = nx / 10.0;
        Lattice L(surfmesh::Plate(Kind::Quad4, nx, 1, W, 1.0), "flat_far");
        L.O.Set(W / 2, 0.5, 0.0);
        L.step = L.wstep = W;
        L.fill(0, 0);
        ASSERT_EQ(L.pats.Create(&L.cap.log, &L.s.facets, &L.bdys, &L.grid, kPi / 2, 1, 0, W), 0);
        const CKpFlatPat* pat = L.pats.First();
        const bool far = nx == 220;
        const int vertices = CKpBdyStore::GetNumSegs(L.bdys.GetBdy(0));
        EXPECT_EQ(pat->GetPoints().GetNumPoints(), far ? 5 : 5 + vertices);
        EXPECT_EQ(L.cap.body().find("Too many boundaries") != std::string::npos, far);
        expectBounds(pat, -0.5, 0.5, -0.5 / W, 0.5 / W);
        if (!far) L.expectOnLattice(pat, 1.0);
    }
}

// A fabric sheared shut (included angle 0) or a fabric angle without sine
// fails cleanly: messages and -1, no NaN anywhere.
TEST(CKpFlatPatStore, DegenerateAnglesFailWithoutNaN) {
    Lattice L(surfmesh::Plate(Kind::Tria3, 4, 4, 4.0, 4.0), "flat_nan");
    L.O.Set(0.5, 0.5, 0.0);
    L.strain = kPi / 2;
    L.fill(3, 3);
    EXPECT_EQ(L.pats.Create(&L.cap.log, &L.s.facets, &L.bdys, &L.grid, kPi / 2, 1, 0, 1), -1);
    const std::string body = L.cap.body();
    EXPECT_NE(body.find("Cannot develop the boundary"), std::string::npos);
    EXPECT_NE(body.find("Could not refine flat pattern."), std::string::npos);
    for (const CKpFlatPatPt* p = L.pats.First()->GetPoints().First(); p; p = p->getNext())
        EXPECT_TRUE(std::isfinite(p->getU()) && std::isfinite(p->getV()));
    EXPECT_EQ(L.pats.Create(&L.cap.log, &L.s.facets, &L.bdys, &L.grid, 0.0, 1, 0, 1), -1);
    EXPECT_EQ(L.pats.entries(), 0);
    EXPECT_NE(L.cap.body().find("Could not generate cutout"), std::string::npos);
    // Missing inputs of the refinement are reported as information.
    CKpFlatPat empty;
    L.cap.reset();
    EXPECT_EQ(RefineFlatPattern(&L.cap.log, &L.s.facets, nullptr, &empty, kPi / 2, 1), -1);
    EXPECT_EQ(RefineFlatPattern(&L.cap.log, &L.s.facets, L.bdys.GetBdy(0), &empty, kPi / 2, 1), -1);
    EXPECT_EQ(L.cap.body(), "$# No boundary created.\n$# No flat pattern created.\n");
    EXPECT_EQ(MinimiseFlatPattern(&empty, 0.1, 0.001), -1);
}
