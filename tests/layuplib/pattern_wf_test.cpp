#include "layuplib/pattern_wf.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpDrapeSim.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatGeom.h"
#include "layuplib/CKpOln.h"
#include "layuplib/CKpPlane.h"
#include "layuplib/angle_util.h"
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
const double kDeg = kPi / 180.0;

// Capture files live in the shared temp folder: a name of this process's
// own keeps concurrent runs of the suite apart.
std::string Own(const std::string& name) {
    return name + "_" + std::to_string(getpid());
}

struct Xyz {
    double x, y, z;
};

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
            CKpPoint c = *m.f(i)->getCKpPoint(0);
            m.f(i)->MoveToCentroid(&c, 1.0);
            const double d = std::hypot(c.getx() - near.x, c.gety() - near.y, c.getz() - near.z);
            if (d < best) best = d, facet = i, start = c;
        }
        CKpDirn w, t;
        w.Set(wp.x, wp.y, wp.z), t.Set(wt.x, wt.y, wt.z), w.unitize(), t.unitize();
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

// A tube with the warp around it and no grid bound: the fibres would wrap
// round and round; the growth guard stops the drape with a warning.
TEST(pattern_wf, ClosedTubeStopsGrowing) {
    Rig r("wf_tube", surfmesh::OpenCylinder(Kind::Quad4, 16, 4, 1.0, 2.0));
    r.Axes({0, 1, 1.0}, {-1, 0, 0}, {0, 0, 1});
    r.Run(1, 1, kPi / 2, 1.0, 0.4);
    EXPECT_TRUE(Has(r.log(), "probably wrap around a closed surface")) << r.log();
    EXPECT_FALSE(r.gui.messages.empty());
}

// The growth cap of a surface: its facet areas summed in store order,
// doubled, over the smallest cell, plus 1000.
long CapOf(const CKpFacetStore& facets, double step, double weftStep) {
    double area = 0.0;
    for (int i = 0; i < facets.entries(); ++i)
        if (const CKpFacet* f = facets.pFac(i)) area += f->Area();
    const double cap = 2.0 * area / (step * weftStep * std::sin(5.0 * kDeg)) + 1000.0;
    return cap < 2e9 ? static_cast<long>(cap) : 2000000000L;
}

// The tube stops once it holds more points than the cap of its whole area,
// and says so with both numbers; neither the first unique pass nor the
// first rings end it early.
TEST(pattern_wf, ClosedTubeStopsJustPastItsCap) {
    for (const double step : {0.4, 0.25}) {
        Rig r("wf_tube_cap", surfmesh::OpenCylinder(Kind::Quad4, 32, 8, 1.0, 2.0));
        r.Axes({0, 1, 1.0}, {-1, 0, 0}, {0, 0, 1});
        r.Run(1, 1, kPi / 2, 1.25, step);
        const long cap = CapOf(r.m.s.facets, step, step / 1.25);
        const int points = r.grid().GetCount();
        EXPECT_GT(points, cap) << step;
        char text[200];
        std::snprintf(text, sizeof text,
                      "The drape has made %d points, more than the surface can hold (%ld)", points,
                      cap);
        EXPECT_TRUE(Has(r.log(), text)) << step << "\n" << text << "\n" << r.log();
    }
}

// A large flat plate (3 x 3, steps of 0.075) far from its cap drapes whole: its area is summed
// only as far as needed, yet never so little that a drape of more than
// 1000 points looks over the cap.
TEST(pattern_wf, LargePlateFarFromItsCapDrapesWhole) {
    Rig r("wf_plate_cap", surfmesh::Plate(Kind::Quad4, 30, 30, 3.0, 3.0));
    ASSERT_GT(r.m.s.facets.entries(), 1000);
    for (const int axstp : {0, 1}) {
        SCOPED_TRACE(axstp);
        r.m.cap.reset();
        r.Axes({1.5, 1.5, 0}, {1, 0, 0}, {0, 1, 0}, axstp);
        ASSERT_EQ(r.Run(axstp, 1, kPi / 2, 1.0, 0.075), 0);
        EXPECT_FALSE(Has(r.log(), "more than the surface can hold")) << r.log();
        EXPECT_FALSE(Has(r.log(), "Axes shortened")) << r.log();
        EXPECT_EQ(r.grid().GetCount(), 40 * 40);  // from a facet centre: 40 steps fit each way
    }
}

// Geodesic axes wrapping round a sphere would span an index box larger
// than the cap: all four are shortened by the square root of cap over box,
// the box of whole steps along each (warp steps along axes 0 and 2, weft
// steps along 1 and 3).
TEST(pattern_wf, WrappingAxesAreShortenedToTheCap) {
    Rig r("wf_sphere_cap", surfmesh::Sphere(Kind::Tria3, 8, 4, 1.0));
    r.Axes({0, -1, 0}, {1, 0, 0.3}, {0, 0, 1});
    const double step = 0.2, ratio = 0.8;
    double steps[4];
    for (int k = 0; k < 4; ++k) {
        const CKpAxis& a = *r.sim.pAxis(k);
        ASSERT_GE(a.entries(), 2);
        steps[k] =
            std::floor(a.pAxisPt(a.entries() - 1)->getLength() / (k % 2 ? step / ratio : step));
    }
    const double box = (steps[0] + steps[2] + 1.0) * (steps[1] + steps[3] + 1.0);
    const long cap = CapOf(r.m.s.facets, step, step / ratio);
    ASSERT_GT(box, static_cast<double>(cap));
    r.Run(1, 1, kPi / 2, ratio, step);
    char text[200];
    std::snprintf(text, sizeof text, "Axes shortened to %g of their length",
                  std::sqrt(static_cast<double>(cap) / box));
    EXPECT_TRUE(Has(r.log(), text)) << text << "\n" << r.log().substr(0, 2000);
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
    for (const auto& c :
         {std::make_pair(30.0, Xyz{15, 30, 85}), std::make_pair(90.0, Xyz{45, 90, 90})}) {
        double l[3];
        ShearLimits(c.first * kDeg, l);
        EXPECT_NEAR(l[0] / kDeg, c.second.x, 1e-9) << c.first;
        EXPECT_NEAR(l[1] / kDeg, c.second.y, 1e-9) << c.first;
        EXPECT_NEAR(l[2] / kDeg, c.second.z, 1e-9) << c.first;
    }
    Rig r("wf_checks", surfmesh::Plate(Kind::Tria3, 4, 4, 4.0, 4.0));
    r.Axes({2, 2, 0}, {1, 0, 0}, {0, 1, 0}, 0);
    const std::string tooShort =
        " is smaller than the minimum allowable value of 1e-06. Please "
        "define a longer step length.";
    const struct {
        double ratio, step;  // a zero step shows as 0
        std::string text;
    } bad[] = {{1.0, 0.99e-6, "The step length of 9.9e-07" + tooShort},
               {1.0, -0.0, "The step length of 0" + tooShort},
               {10.01, 1.0,
                "The Warp/Weft Ratio is 10.01, outside the allowable range of 0.1 to "
                "10.0. Please define a valid ratio."}};
    for (const auto& b : bad) {
        EXPECT_EQ(r.Run(0, 1, kPi / 2, b.ratio, b.step), -1) << b.text;
        EXPECT_TRUE(Has(r.log(), b.text)) << b.text;
    }
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
    for (int i = 0; i < n; ++i)
        EXPECT_EQ(ring[i]->getNumber(), (i + 7) % 12 + 1) << i;  // 1 at (0, -2)
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
