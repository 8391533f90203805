#include "layuplib/drape_inadmissible.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpDrapeSim.h"
#include "layuplib/CKpOln.h"
#include "layuplib/angle_util.h"
#include "tests/support/FacetLocate.h"
#include "tests/support/SurfaceMeshes.h"

namespace {

const double kLimits[3] = {0.4, 0.8, 1.4};

// A drape workspace on a flat 8 x 6 plate, grid point (u, v) at (u + 0.3,
// v + 0.4, 0), warp along x, weft along y, unit steps.
struct Drape {
    surfmesh::Faceted m;
    CKpDrapeSim sim;
    CKpDrape& grid = *sim.pDrape();

    // Four rows of points ('#'), top row (v = 3) first, separated by '/';
    // all 4-neighbours joined; the workspace gets the outline.
    Drape(const std::string& name, const std::string& rows)
        : m(name, surfmesh::Plate(surfmesh::Kind::Quad4, 8, 6, 8.0, 6.0)) {
        sim.pBound()->Set(1.0, 1.0, 0.0, 0.0, 0.0, 0.0);  // no bound
        CKpDirn wp, wt;
        wp.Set(1, 0, 0);
        wt.Set(0, 1, 0);
        const int width = static_cast<int>(rows.find('/'));
        for (int v = 0; v < 4; ++v)
            for (int u = 0; u < width; ++u) {
                if (rows[(3 - v) * (width + 1) + u] != '#') continue;
                auto* p = new CKpDrapePt;
                move(p, u + 0.3, v + 0.4);
                p->SetDnfg(1);
                p->SetWarpAng(m.f(p->GetFacet())->GetAngle(&wp));
                p->SetWeftAng(m.f(p->GetFacet())->GetAngle(&wt));
                p->SetStrn(nullptr, kPi / 2, 1);
                grid.pDrapePt(u, v, p);
                if (grid.pDrapePt(u - 1, v)) grid.Join(u - 1, v, u, v);
                if (grid.pDrapePt(u, v - 1)) grid.Join(u, v - 1, u, v);
            }
        outline();
        m.cap.reset();
    }
    void move(CKpDrapePt* p, double x, double y) {
        CKpPoint at;
        at.Set(x, y, 0.0);
        p->SetPoint(at);
        p->SetFacet(FacetAt(m.s.facets, at));
    }
    void outline() {
        CKpOln* ring = sim.pfOln();
        CalcOutline(nullptr, &grid, ring);
        sim.pfOln(ring);
    }
    // Unjoins columns u and u + 1 in the top two rows: a slot of no width
    // with notch corners A = (u + 1, 1) and B = (u, 1).
    void slot(int u) {
        for (int v = 2; v < 4; ++v) {
            grid.pDrapePt(u, v)->SetJoined(0, 0);
            grid.pDrapePt(u + 1, v)->SetJoined(2, 0);
        }
        outline();
    }
    int run(int mode, double tol) {
        m.cap.reset();
        return DrapeInadmissible(&m.cap.log, nullptr, nullptr, &m.s.facets, &sim, kPi / 2, kLimits,
                                 1.0, 1.0, 1, mode, tol);
    }
    // The points as drawn, `width` columns.
    std::string picture(int width) const {
        std::string out;
        for (int v = 3; v >= 0; --v)
            for (int u = 0; u <= width; ++u)
                out += u == width ? (v ? "/" : "") : (grid.pDrapePt(u, v) ? "#" : ".");
        return out;
    }
    int joined(int u, int v, int d) const { return grid.pDrapePt(u, v)->GetJoined(d); }
    bool said(const std::string& text) const {
        return m.cap.body().find(text) != std::string::npos;
    }
};

const char* const kBlock = "######/######/######/######";
const char* const kOneWide = "##.##/##.##/#####/#####";

TEST(DrapeInadmissible, Mode0DeletesBehindTheShorterStrip) {
    Drape d("inadm_mode0", kBlock);
    d.slot(3);  // strips of 4 (left) and 2 (right)
    int ua, va, ub, vb;
    EXPECT_EQ(CalcInadmissiblePoints(&d.grid, 4, 1, 4, ua, va, ub, vb), 2);
    EXPECT_EQ(std::to_string(ua) + std::to_string(va) + std::to_string(ub) + std::to_string(vb),
              "5242");

    ASSERT_EQ(d.run(0, 0.0), 0);
    EXPECT_EQ(d.picture(6), "####../####../######/######");
    EXPECT_TRUE(d.said("Kinematically inadmissable line between 4 1 and 3 1"));
    EXPECT_TRUE(d.said("Kinematically inadmissable points 2 and 4"));
    EXPECT_TRUE(d.said("Deleting kinematically inadmissable points between 5 2 and 4 2"));
    EXPECT_EQ(d.joined(4, 1, 1) + d.joined(5, 1, 1), 0);  // nothing left to join above

    // Strips of equal length: both sides go.
    Drape e("inadm_mode0_equal", kBlock);
    e.slot(2);
    ASSERT_EQ(e.run(0, 0.0), 0);
    EXPECT_TRUE(e.said("Kinematically inadmissable points 3 and 3"));
    EXPECT_EQ(e.picture(6), "....../....../######/######");
}

TEST(DrapeInadmissible, NotchesThatAreLeftAlone) {
    // The bottom fibre into the slot ended at the edge of the selection.
    Drape d("inadm_edge", kOneWide);
    d.grid.pDrapePt(2, 1)->SetEndFrac(1, 0.4);
    EXPECT_EQ(d.run(0, 0.0), 0);
    EXPECT_FALSE(d.said("Kinematically"));
    // Without that end the notch is treated, and mode 2 refused there.
    d.grid.pDrapePt(2, 1)->SetEndFrac(1, CKpDrapePt::kNoEndFrac);
    EXPECT_EQ(d.run(2, 0.0), -1);
    EXPECT_TRUE(d.said("Unsupported inadmissible mode 2"));
    EXPECT_EQ(d.picture(5), kOneWide);

    // An L-shaped outline has a notch corner but no notch.
    Drape l("inadm_none", "##.../##.../#####/#####");
    EXPECT_EQ(l.run(0, 0.0), 0);
    EXPECT_EQ(l.picture(5), "##.../##.../#####/#####");
    EXPECT_EQ(l.m.cap.body(), "");

    // A broken ring or no workspace: refused.
    CKpOln open(1, 0, 0, 6, 0);
    CKpOln* ring = l.sim.pfOln();
    l.sim.pfOln(&open);
    EXPECT_EQ(l.run(0, 0.0), -1);
    l.sim.pfOln(ring);
    EXPECT_EQ(DrapeInadmissible(nullptr, nullptr, nullptr, nullptr, nullptr, kPi / 2, kLimits, 1.0,
                                1.0, 1, 0, 0.0),
              -1);
}

TEST(DrapeInadmissible, Mode1JoinsAcrossTheSlot) {
    // No width: the slot is zipped from its bottom up.
    Drape d("inadm_cut", kBlock);
    d.slot(2);
    ASSERT_EQ(d.run(1, 0.0), 0);
    EXPECT_TRUE(d.said("Joined points [3,2] and [2,2]."));
    EXPECT_TRUE(d.said("Joined points [3,3] and [2,3]."));
    EXPECT_EQ(d.joined(2, 2, 0) + d.joined(3, 2, 2) + d.joined(2, 3, 0) + d.joined(3, 3, 2), 4);

    // One column wide: the slot's cells are made from its sides first.
    Drape w("inadm_cut_fill", kOneWide);
    ASSERT_EQ(w.run(1, 5.0), 0);
    EXPECT_TRUE(w.said("Number of new unique points: 1"));
    EXPECT_EQ(w.picture(5), "#####/#####/#####/#####");
    EXPECT_EQ(w.joined(1, 3, 0) + w.joined(2, 3, 2) + w.joined(2, 3, 0), 3);
    EXPECT_LT(std::fabs(w.grid.pDrapePt(2, 3)->GetPoint().getx() - 2.3), 1e-3);

    // The right side 0.02 too far out: a tolerance of 0 allows no
    // deviation, 5 % of the step allows 0.05.
    for (double tol : {0.0, 5.0}) {
        Drape t("inadm_tol", kBlock);
        t.slot(2);
        t.move(t.grid.pDrapePt(3, 2), 3.32, 2.4);
        ASSERT_EQ(t.run(1, tol), 0);
        EXPECT_EQ(t.joined(2, 2, 0), tol > 0.0 ? 1 : 0) << tol;
        EXPECT_EQ(t.said("Unable to join points [3,2] and [2,2]."), tol == 0.0) << tol;
    }

    // Corners in different rows and columns cannot be cut.
    Drape s("inadm_diag", "##/##/../..");
    CKpOln* A = s.sim.pfOln();
    EXPECT_EQ(DrapeInadmissibleCut(nullptr, nullptr, nullptr, &s.m.s.facets, &s.sim, kPi / 2,
                                   kLimits, 1.0, 1.0, 1, 5.0, A, A->Next()->Next()),
              1);
}

TEST(DrapeInadmissible, DeletingPointsAndOutlines) {
    Drape d("inadm_delete", "#####/#####/#####/#####");
    EXPECT_EQ(DeletePatternPoint(&d.m.cap.log, &d.grid, 7, 7), -1);
    EXPECT_EQ(d.m.cap.body(), "");  // an empty cell is no message
    ASSERT_EQ(DeletePatternPoint(&d.m.cap.log, &d.grid, 1, 1), 0);
    EXPECT_TRUE(d.said("Deleting pattern point 1 1"));
    EXPECT_EQ(d.joined(0, 1, 0) + d.joined(2, 1, 2) + d.joined(1, 0, 1) + d.joined(1, 2, 3), 0);
    EXPECT_EQ(DeleteInadmissiblePoints(&d.m.cap.log, &d.grid, 1, 0, 0), -1);
    EXPECT_TRUE(d.said("No drape points to delete beside 1 0."));

    // The whole ring and everything inside it.
    CKpOln* ring = d.sim.pfOln();
    d.sim.pfOln(nullptr);
    ASSERT_EQ(DeletePatternOutline(nullptr, &d.grid, ring), 0);
    EXPECT_EQ(ring, nullptr);
    EXPECT_EQ(d.picture(5), "...../...../...../.....");
}

}  // namespace
