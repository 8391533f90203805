#include "layuplib/pattern_wf.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <string>

#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpDrapeSim.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatGeom.h"
#include "layuplib/CKpOln.h"
#include "layuplib/CKpPlane.h"
#include "layuplib/calculate_thickness.h"
#include "layuplib/clear_pattern.h"
#include "layuplib/find_nei.h"
#include "layuplib/make_axis.h"
#include "layuplib/surface_div.h"
#include "tests/support/MessageCapture.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/SurfaceMeshes.h"

namespace {

using meshgen::Kind;
const double kPi = std::acos(-1.0);
const double kDeg = kPi / 180.0;

// Capture files live in the shared temp folder: a name of this process's
// own keeps concurrent runs of the suite apart.
std::string Own(const std::string& name) {
    return name + "_" + std::to_string(getpid());
}

struct Xyz {
    double x, y, z;
};

CKpDirn Dn(Xyz d) {
    CKpDirn n;
    n.Set(d.x, d.y, d.z);
    n.unitize();
    return n;
}

// A surface with every element selected and a drape workspace whose axes
// start at the centroid of the facet nearest `near`.
struct Rig {
    surfmesh::Faceted m;
    CKpDrapeSim sim;
    CKpMat mat{1};
    RecordingGUI gui;
    CKpPoint start;
    int facet = -1;

    Rig(const std::string& name, const meshgen::Mesh& mesh, double xmax = 1e300)
        : m(Own(name), mesh) {
        mat.setMtrlthck(0.2);
        m.cap.log.SetGUI(&gui);
        sim.pBound()->Set(1.0, 1.0, 0.0, 0.0, 0.0, 0.0);  // no grid limits
        Select(xmax, 0);
    }
    // Adds the elements whose nodes all lie at x <= xmax with `order`.
    void Select(double xmax, int order) {
        for (int i = 0; i < m.s.facets.entries(); ++i) {
            bool keep = true;
            for (int k = 0; k < 3; ++k) keep = keep && m.f(i)->getCKpPoint(k)->getx() <= xmax;
            if (keep) surface_select_elem(m.f(i)->getElement(), &m.s.facets, order);
        }
        EXPECT_EQ(find_selected_neighbour(&m.cap.log, nullptr, &m.s.facets, &m.s.elems), 0);
    }
    CKpDrape& grid() { return *sim.pDrape(); }
    std::string log() const { return m.cap.body(); }

    // Axes of type `axstp` from the facet nearest `near`, warp along `wp`
    // and weft along `wt` (projected into that facet).
    void Axes(Xyz near, Xyz wp, Xyz wt, int axstp = 1) {
        double best = 1e300;
        for (int i = 0; i < m.s.facets.entries(); ++i) {
            CKpPoint c;
            c.Set(0, 0, 0);
            for (int k = 0; k < 3; ++k) c.Add(*m.f(i)->getCKpPoint(k));
            c.Scale(1.0 / 3.0);
            const double d = std::hypot(c.getx() - near.x, c.gety() - near.y, c.getz() - near.z);
            if (d < best) best = d, facet = i, start = c;
        }
        const CKpDirn w = Dn(wp), t = Dn(wt);
        CKpPlane none;
        ASSERT_EQ(CalcAxes(&m.cap.log, nullptr, &m.s.facets, axstp, facet, start,
                           m.f(facet)->GetAngle(&w), m.f(facet)->GetAngle(&t), none, none, &sim),
                  0);
    }
    int Run(int axstp, int exttp, double ww, double ratio, double step,
            double maxstrn = 30 * kDeg) {
        return pattern_wf(&m.cap.log, &gui, nullptr, &m.s.facets, &mat, axstp, exttp, &sim,
                          CKpMatGeom(ww, ratio, 0.0), 0.0, maxstrn, step, 1);
    }
    void Each(const std::function<void(int, int, const CKpDrapePt&)>& f) {
        int u0, u1, v0, v1;
        grid().GetBounds(u0, u1, v0, v1);
        for (int u = u0; u <= u1; ++u)
            for (int v = v0; v <= v1; ++v)
                if (const CKpDrapePt* p = grid().pDrapePt(u, v)) f(u, v, *p);
    }
};

bool Has(const std::string& log, const std::string& text) {
    return log.find(text) != std::string::npos;
}

// On a plate every cell closes as a parallelogram: the points form the
// fabric lattice exactly, unsheared, and each point's thickness belongs to
// its final strain. (A cell cut short by a free edge is accepted within the
// construction's length tolerance and turns its neighbours' fibres a
// little, which the energy, maximum and tape strategies carry outward along
// the edge; so the exact check holds a cell away from the edges.)
struct PlateCase {
    int exttp;
    double angle, ww, ratio;
};

void CheckPlate(const PlateCase c) {
    const double step = 0.6, size = 3.0;
    Rig r("wf_plate", surfmesh::Plate(Kind::Tria3, 6, 6, size, size));
    const double a = c.angle * kDeg, b = a + c.ww * kDeg, weftStep = step / c.ratio;
    r.Axes({1.5, 1.6, 0}, {std::cos(a), std::sin(a), 0}, {std::cos(b), std::sin(b), 0});
    const std::string tag = "extension " + std::to_string(c.exttp) + " angle " +
                            std::to_string(c.angle) + " ratio " + std::to_string(c.ratio);
    ASSERT_EQ(r.Run(1, c.exttp, c.ww * kDeg, c.ratio, step), 0) << tag << r.log();
    int inside = 0, found = 0;
    const double margin = 0.05 * weftStep, away = step + weftStep;
    for (int u = -20; u <= 20; ++u)
        for (int v = -20; v <= 20; ++v) {
            const double x = r.start.getx() + u * step * std::cos(a) + v * weftStep * std::cos(b);
            const double y = r.start.gety() + u * step * std::sin(a) + v * weftStep * std::sin(b);
            if (x < margin || y < margin || x > size - margin || y > size - margin) continue;
            ++inside;
            const CKpDrapePt* p = r.grid().pDrapePt(u, v);
            if (!p) continue;
            ++found;
            const bool deep = x > away && y > away && x < size - away && y < size - away;
            const double tol = deep ? 1e-6 : 0.1 * step;
            EXPECT_NEAR(p->GetPoint().getx(), x, tol) << tag << " at " << u << " " << v;
            EXPECT_NEAR(p->GetPoint().gety(), y, tol) << tag << " at " << u << " " << v;
            if (deep) {
                EXPECT_NEAR(p->GetStrn(), 0.0, 1e-6) << tag << " at " << u << " " << v;
            }
        }
    EXPECT_EQ(found, inside) << tag;
    r.Each([&](int u, int v, const CKpDrapePt& p) {
        EXPECT_DOUBLE_EQ(p.GetThck(), calculate_thickness(&r.mat, p.GetStrn()))
            << tag << " at " << u << " " << v;
    });
    EXPECT_TRUE(Has(r.log(), "Number of unjoined points: 0")) << tag;
}

TEST(pattern_wf, PlateGivesLatticeForEveryExtension) {
    for (const PlateCase c : {PlateCase{1, 0.0, 90.0, 1.0}, PlateCase{2, 30.0, 90.0, 2.0},
                              PlateCase{3, -50.0, 70.0, 0.8}, PlateCase{4, 30.0, 90.0, 2.0}})
        CheckPlate(c);
}

TEST(pattern_wf, PlateGivesLatticeForMoreAnglesSlow) {
    for (const PlateCase c : {PlateCase{1, -50.0, 70.0, 0.8}, PlateCase{2, 0.0, 90.0, 1.0},
                              PlateCase{3, 30.0, 90.0, 2.0}, PlateCase{4, -50.0, 70.0, 0.8}})
        CheckPlate(c);
}

// A half cylinder unrolls onto the plane: fibres along, around or at 45
// degrees drape without shear (up to the faceting).
TEST(pattern_wf, HalfCylinderDrapesWithoutShearSlow) {
    const double r0 = 3.0, h = 45 * kDeg;
    // At the crown (0, r, z) the weft lies a right angle anticlockwise about
    // the outward normal +y: weft = y x warp.
    const Xyz along = {0, 0, 1}, around = {-1, 0, 0}, diag = {-std::sin(h), 0, std::cos(h)};
    for (const Xyz w : {along, around, diag}) {
        const Xyz t = {w.z, 0, -w.x};
        Rig r("wf_cyl", meshgen::Cylinder(Kind::Quad4, 36, 12, r0, kPi, 6.0));
        r.Axes({0, r0, 3.0}, w, t);
        ASSERT_EQ(r.Run(1, 1, kPi / 2, 1.0, 0.5), 0) << r.log();
        // Cells cut short at the free edges are accepted within a length
        // tolerance; a point two cells from the edge is exact again.
        auto inner = [&r](int u, int v) {
            for (int i = -2; i <= 2; ++i)
                for (int j = -2; j <= 2; ++j)
                    if (!r.grid().pDrapePt(u + i, v + j)) return false;
            return true;
        };
        int n = 0, deep = 0;
        r.Each([&](int u, int v, const CKpDrapePt& p) {
            ++n;
            EXPECT_LT(std::fabs(p.GetStrn()), 5.0 * kDeg) << u << " " << v;
            if (!inner(u, v)) return;
            ++deep;
            EXPECT_LT(std::fabs(p.GetStrn()), 0.5 * kDeg) << u << " " << v;
        });
        EXPECT_GT(deep, n / 3);
        EXPECT_GT(n, 0.8 * (kPi * r0 * 6.0) / 0.25);  // the area over the cell area
    }
}

// A tube with the warp around it and no grid bound: the fibres would wrap
// round and round; the growth guard stops the drape with a warning.
TEST(pattern_wf, ClosedTubeStopsGrowing) {
    Rig r("wf_tube", surfmesh::OpenCylinder(Kind::Quad4, 16, 4, 1.0, 2.0));
    r.Axes({0, 1, 1.0}, {-1, 0, 0}, {0, 0, 1});
    const auto t0 = std::chrono::steady_clock::now();
    r.Run(1, 1, kPi / 2, 1.0, 0.4);
    const double secs =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_TRUE(Has(r.log(), "probably wrap around a closed surface")) << r.log();
    EXPECT_LT(secs, 60.0);
    EXPECT_FALSE(r.gui.messages.empty());
}

// The left half drapes first; its warp fibres stop at x = 2. With the right
// half added they are reopened and the drape covers the whole plate; an end
// that names no facet edge to look across is left as it was.
TEST(pattern_wf, NextOrderReopensStoppedFibres) {
    Rig r("wf_next", surfmesh::Plate(Kind::Quad4, 4, 4, 4.0, 4.0), 2.0 + 1e-9);
    r.Axes({0.9, 1.9, 0}, {1, 0, 0}, {0, 1, 0});
    ASSERT_EQ(r.Run(1, 1, kPi / 2, 1.0, 0.5), 0) << r.log();
    double xmax = 0.0;
    CKpDrapePt* stopped[2] = {nullptr, nullptr};
    r.Each([&](int, int, const CKpDrapePt& p) { xmax = std::fmax(xmax, p.GetPoint().getx()); });
    r.Each([&](int u, int v, const CKpDrapePt& p) {
        if (p.GetPoint().getx() < xmax - 1e-9 || !p.EndFracSet(0)) return;
        EXPECT_GE(p.GetEndEdge(0), 0) << u << " " << v;
        stopped[v & 1] = r.grid().pDrapePt(u, v);
    });
    EXPECT_LT(xmax, 2.0 + 1e-9);
    ASSERT_TRUE(stopped[0] && stopped[1]);
    stopped[1]->SetEndEdge(0, -1);  // an end without a facet edge
    const double keep = stopped[1]->GetEndFrac(0);

    r.Select(4.0 + 1e-9, 1);
    ASSERT_EQ(ExtendPlyL(&r.m.cap.log, &r.gui, nullptr, &r.m.s.facets, &r.mat, 1, &r.sim, kPi / 2,
                         1.0, 30 * kDeg, 0.5, 1, 0, 0.0),
              0)
        << r.log();
    EXPECT_EQ(stopped[0]->GetJoined(0), 1);
    EXPECT_EQ(stopped[1]->GetEndFrac(0), keep);
    double reach = 0.0;
    r.Each([&](int u, int v, const CKpDrapePt& p) {
        reach = std::fmax(reach, p.GetPoint().getx());
        EXPECT_DOUBLE_EQ(p.GetThck(), calculate_thickness(&r.mat, p.GetStrn())) << u << " " << v;
    });
    EXPECT_GT(reach, 3.5);
}

TEST(pattern_wf, ChecksStepRatioAndLimits) {
    double l[3];
    ShearLimits(30 * kDeg, l);
    EXPECT_NEAR(l[0] / kDeg, 15.0, 1e-9);
    EXPECT_NEAR(l[1] / kDeg, 30.0, 1e-9);
    EXPECT_NEAR(l[2] / kDeg, 85.0, 1e-9);
    ShearLimits(90 * kDeg, l);
    EXPECT_NEAR(l[0] / kDeg, 45.0, 1e-9);
    EXPECT_NEAR(l[1] / kDeg, 90.0, 1e-9);
    EXPECT_NEAR(l[2] / kDeg, 90.0, 1e-9);

    Rig r("wf_checks", surfmesh::Plate(Kind::Tria3, 4, 4, 4.0, 4.0));
    r.Axes({2, 2, 0}, {1, 0, 0}, {0, 1, 0}, 0);
    EXPECT_EQ(r.Run(0, 1, kPi / 2, 1.0, 0.99e-6), -1);
    EXPECT_TRUE(Has(r.log(),
                    "The step length of 9.9e-07 is smaller than the minimum allowable "
                    "value of 1e-06. Please define a longer step length."));
    EXPECT_EQ(r.Run(0, 1, kPi / 2, 1.0, -0.0), -1);  // a zero step shows as 0
    EXPECT_TRUE(Has(r.log(),
                    "The step length of 0 is smaller than the minimum allowable "
                    "value of 1e-06. Please define a longer step length."));
    EXPECT_EQ(r.Run(0, 1, kPi / 2, 10.01, 1.0), -1);
    EXPECT_TRUE(Has(r.log(),
                    "The Warp/Weft Ratio is 10.01, outside the allowable range of 0.1 "
                    "to 10.0. Please define a valid ratio."));
    // The smallest step and the largest ratio pass (a bound keeps the grid
    // small).
    r.m.cap.reset();
    r.sim.pBound()->Set(10.0, 1e-6, 2e-6, 2e-6, 2e-7, 2e-7);
    EXPECT_EQ(r.Run(0, 1, kPi / 2, 10.0, 1e-6), 0) << r.log();
    EXPECT_FALSE(Has(r.log(), "Please define"));
    EXPECT_TRUE(Has(r.log(), "Pattern bounds:  -2   2  -2   2   0")) << r.log();

    // A strategy the drape does not know fails at the first edge to extend.
    r.sim.pBound()->Set(1.0, 1.0, 0, 0, 0, 0);
    for (int exttp : {0, 5}) {
        r.m.cap.reset();
        EXPECT_EQ(r.Run(0, exttp, kPi / 2, 1.0, 1.0), -1);
        EXPECT_TRUE(Has(r.log(), "The extension type of " + std::to_string(exttp) +
                                     " is currently unsupported. Please select another "
                                     "extension type."));
        EXPECT_TRUE(Has(r.log(), "Error in DrapeExtend."));
    }
}

// Axes at a right angle for a fabric of 178 degrees: the seed is sheared
// beyond the hard limit, so no edge through it is extended and the open
// fibre ends of the arms stay open: the loop runs out, the drape fails.
TEST(pattern_wf, IterationLimitAndHardShear) {
    Rig r("wf_limit", surfmesh::Plate(Kind::Quad4, 2, 2, 2.0, 2.0));
    r.Axes({0.6, 0.6, 0}, {1, 0, 0}, {0, 1, 0});
    EXPECT_EQ(r.Run(1, 1, 178 * kDeg, 1.0, 0.5, 60 * kDeg), -1);
    const std::string log = r.log();
    EXPECT_TRUE(Has(log, "Extension iteration limit of 100 steps reached.")) << log;
    EXPECT_TRUE(Has(log, "The calculated maximum shear strain of 88.0"));
    EXPECT_TRUE(Has(log,
                    "degrees exceeds the allowable limit shear strain of 85 degrees. Further "
                    "draping has been stopped on all edges where this limit has been "
                    "exceeded."));
    EXPECT_GE(r.grid().GetCount(), 5);
}

// A ring of two columns: (0,3) down the left to (0,-2)... walked from (0,3).
TEST(pattern_wf, UpdateOutlineRenumbersFromLowestPoint) {
    MessageCapture cap(Own("wf_oln"));
    EXPECT_EQ(UpdateOutline(&cap.log, nullptr), -1);
    // Anticlockwise: down u = 0 from v = 3 to -2, up u = 1 from -2 to 3.
    CKpOln* ring[12];
    int n = 0;
    for (int v = 3; v >= -2; --v) ring[n++] = new CKpOln(0, 0, v, v == 3 ? 0 : 2, v == -2 ? 0 : 6);
    for (int v = -2; v <= 3; ++v) ring[n++] = new CKpOln(0, 1, v, v == -2 ? 4 : 6, v == 3 ? 4 : 2);
    for (int i = 0; i < n; ++i) {
        ring[i]->SetNext(ring[(i + 1) % n]);
        ring[(i + 1) % n]->SetPrev(ring[i]);
    }
    ASSERT_EQ(UpdateOutline(&cap.log, ring[0]), 0);
    EXPECT_EQ(ring[5]->getNumber(), 1);  // (0, -2)
    EXPECT_EQ(ring[11]->getNumber(), 7);
    EXPECT_EQ(ring[0]->getNumber(), 8);
    EXPECT_EQ(ring[4]->getNumber(), 12);
    std::string log = cap.body();
    EXPECT_TRUE(Has(log, "Updating Outline"));
    EXPECT_TRUE(Has(log, "First outline point moved from [0][3] to [0][-2]"));
    EXPECT_FALSE(Has(log, "incompatible"));
    ring[7]->SetArriving(5);
    cap.reset();
    ASSERT_EQ(UpdateOutline(&cap.log, ring[5]), 0);
    log = cap.body();
    EXPECT_FALSE(Has(log, "First outline point moved"));
    EXPECT_TRUE(Has(log, "Outline points [1][-2] 2 and 5 [1][-1] have incompatible directions"));
    CKpOln* head = ring[0];
    DeleteOutline(head);
}

}  // namespace
