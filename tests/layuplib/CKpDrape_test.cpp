#include "layuplib/CKpDrape.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "layuplib/CKpDrapeBound.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpOln.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CalcMaxstrna.h"
#include "layuplib/angle_util.h"
#include "layuplib/calculate_thickness.h"
#include "tests/support/SurfaceMeshes.h"
#include "tests/support/Tolerance.h"

namespace {

double deg(double d) {
    return d * kPi / 180.0;
}

// A point with the given angles on both sides and strain.
CKpDrapePt* makePt(double warp, double weft, double strain = 0.0) {
    auto* p = new CKpDrapePt();
    p->SetWarpAng(warp);
    p->SetWeftAng(weft);
    p->SetStrn(strain);
    return p;
}

}  // namespace

TEST(CKpDrapeGrid, SignedIndicesGrowTheWindowOnEverySide) {
    CKpDrape grid;
    // One point beyond each side of the initial -100..100 window, and the
    // corners, every one still found after each later reallocation.
    const std::pair<int, int> where[] = {{0, 0},    {130, 0},    {-101, 0},  {0, 250},
                                         {0, -333}, {-150, 170}, {140, -90}, {-7, 3}};
    CKpDrapePt* stored[8];
    for (int i = 0; i < 8; ++i) {
        stored[i] = new CKpDrapePt();
        ASSERT_EQ(grid.pDrapePt(where[i].first, where[i].second, stored[i]), 0);
        EXPECT_EQ(stored[i]->GetId(), i + 1);
        for (int j = 0; j <= i; ++j)
            ASSERT_EQ(grid.pDrapePt(where[j].first, where[j].second), stored[j]) << i << " " << j;
    }
    EXPECT_EQ(grid.GetNumSteps(), 333);
    EXPECT_EQ(grid.pDrapePt(141, 0), nullptr);  // beyond the used range
    // Indices beyond the index limit are refused and the point stays the
    // caller's.
    CKpDrapePt far;
    EXPECT_EQ(grid.pDrapePt(2000000, 0, &far), -1);
    EXPECT_EQ(far.GetDrape(), nullptr);
    std::array<int, 4> b;
    grid.GetBounds(b[0], b[1], b[2], b[3]);
    EXPECT_EQ(b, (std::array<int, 4>{-150, 140, -333, 250}));
    int u = 0, v = 0;
    grid.reinit();
    EXPECT_EQ(grid.GetFirstOl(u, v), -1);
    // The widened window stays; ids start again from 1.
    auto* again = new CKpDrapePt();
    grid.pDrapePt(-150, 170, again);
    EXPECT_EQ(again->GetId(), 1);
}

TEST(CKpDrapeGrid, RingsWalkAnticlockwiseFromTheLowerLeftCorner) {
    EXPECT_EQ(CKpDrape::GetStepNumPoints(3), 24);
    int u = 9, v = 9;
    std::vector<std::pair<int, int>> ring1;
    for (int i = 0; i < 8; ++i)
        if (CKpDrape::GetStepPointUV(1, i, u, v) == 0) ring1.emplace_back(u, v);
    EXPECT_EQ(ring1, (std::vector<std::pair<int, int>>{
                         {-1, -1}, {0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}}));
    EXPECT_EQ(CKpDrape::GetStepPointUV(1, 8, u, v), -1);
}

TEST(CKpDrapeGrid, JoinsOnlyFourNeighboursAndBiasCellsCompleteTheSquare) {
    CKpDrape grid;
    for (int u = 0; u <= 1; ++u)
        for (int v = 0; v <= 1; ++v) grid.pDrapePt(u, v, new CKpDrapePt());
    EXPECT_EQ(grid.Join(0, 0, 1, 1), -1);
    EXPECT_EQ(grid.Join(0, 0, 2, 0), -1);  // no point there
    EXPECT_EQ(grid.Join(0, 0, 1, 0), 0);
    EXPECT_EQ(grid.Join(1, 1, 1, 0), 0);
    EXPECT_EQ(grid.pDrapePt(0, 0)->GetJoined(0) + grid.pDrapePt(1, 0)->GetJoined(2), 2);
    EXPECT_EQ(grid.pDrapePt(1, 1)->GetJoined(3) - grid.pDrapePt(0, 0)->GetJoined(1), 1);

    int a[2], b[2], c[2], d[2], e[2], f[2];
    // Every constructed cell has its warp neighbour in its row and its weft
    // neighbour in its column, for all four diagonals.
    const int diag[4][2] = {{1, 1}, {-1, -1}, {1, -1}, {-1, 1}};
    for (const auto& s : diag) {
        ASSERT_EQ(CKpDrape::GetBiasJoinPoints(3, 4, 3 + s[0], 4 + s[1], a, b, c, d, e, f), 0);
        for (int i = 0; i < 2; ++i)
            EXPECT_TRUE(b[i] == f[i] && std::abs(a[i] - e[i]) == 1 && c[i] == e[i] &&
                        std::abs(d[i] - f[i]) == 1)
                << s[0] << " " << s[1] << " " << i;
        EXPECT_NE(e[0], e[1]);
    }
    EXPECT_EQ(CKpDrape::GetBiasJoinPoints(0, 0, 2, 2, a, b, c, d, e, f), -1);
}

TEST(CKpDrapePoint, MeanAnglesAreCircularAndReportWhatIsMissing) {
    MessageCapture cap("drapept_mean");
    CKpDrapePt p;
    EXPECT_EQ(p.GetAveWarpAng(&cap.log), CKpDrapePt::kNoAngle);
    EXPECT_NE(cap.body().find("Could not calculate warp angle."), std::string::npos);
    p.SetWarpAngMinus(3.1);
    p.SetWarpAngPlus(-3.1);
    EXPECT_TRUE(Near(std::fabs(p.GetAveWarpAng(nullptr)), kPi, tol::angle));
    // ang gives each fibre pointing away from the point.
    p.SetWarpAngPlus(0.4);
    double a = 0.0;
    ASSERT_EQ(p.ang(2, a), 0);
    EXPECT_TRUE(Near(a, 0.4 - kPi, tol::angle));
    EXPECT_EQ(p.ang(4, a), -1);
}

// Shear of points whose fibre angles are measured from the positions of
// their neighbours on a flat facet (local x along +x): the strain is the
// reference angle minus the included angle between warp and weft.
TEST(CKpDrapePoint, SetStrnMatchesTheIncludedAngleOfTheNeighbours) {
    surfmesh::Faceted plate("drape_strn", surfmesh::Plate(surfmesh::Kind::Quad4, 1, 1, 1.0, 1.0));
    ASSERT_EQ(plate.status, 1);
    const CKpFacet* f = plate.f(0);
    struct Case {
        double warpDeg, weftDeg;  // directions to the +u and +v neighbours
        int side;
    } cases[] = {{10, 80, 1}, {0, 90, 1}, {-20, 100, 1}, {30, 60, -1}, {170, -100, 1}};
    for (const Case& c : cases) {
        CKpPoint at, warpNb, weftNb;
        at.Set(0.4, 0.3, 0.0);
        warpNb.Set(0.4 + 0.1 * std::cos(deg(c.warpDeg)), 0.3 + 0.1 * std::sin(deg(c.warpDeg)), 0);
        weftNb.Set(0.4 + 0.1 * std::cos(deg(c.weftDeg)), 0.3 + 0.1 * std::sin(deg(c.weftDeg)), 0);
        CKpDrapePt p;
        p.SetDnfg(c.side);
        p.SetWarpAng(f->GetAngle(&at, &warpNb));
        p.SetWeftAng(f->GetAngle(&at, &weftNb));
        ASSERT_EQ(p.SetStrn(nullptr, kPi / 2.0, 1), 0);
        // Hand computation: included angle, signed by the side flag, folded
        // into (-90, 90] degrees.
        double included = c.weftDeg - c.warpDeg;
        while (included > 180) included -= 360;
        while (included < -180) included += 360;
        double x = 90.0 - included * c.side;
        while (x > 90.0) x -= 180.0;
        while (x < -90.0) x += 180.0;
        EXPECT_TRUE(Near(p.GetStrn(), deg(x), tol::loose)) << c.warpDeg << " " << c.weftDeg;
    }
    // No weft angle: reported and the strain is left alone.
    MessageCapture cap("drape_strn_missing");
    CKpDrapePt bare;
    bare.SetWarpAng(0.1);
    bare.SetStrn(0.5);
    EXPECT_EQ(bare.SetStrn(&cap.log, kPi / 2.0, 1), -1);
    EXPECT_EQ(bare.GetStrn(), 0.5);
    EXPECT_NE(cap.body().find("Could not calculate weft angle."), std::string::npos);
}

TEST(CKpDrapePoint, FacetVectorsAndWarpWeftComponents) {
    surfmesh::Faceted plate("drape_vec", surfmesh::Plate(surfmesh::Kind::Quad4, 1, 1, 2.0, 2.0));
    ASSERT_EQ(plate.status, 1);
    const CKpFacet* f = plate.f(0);
    CKpDrapePt p;
    p.SetWarpAng(0.0), p.SetWeftAngMinus(deg(90)), p.SetWeftAngPlus(deg(100));
    double angle = 0.0, length = 0.0;
    // a, b >= 0 use the -u and -v sides: (3, 0) + (0, 4).
    ASSERT_EQ(p.GetAxisAngleLength(f, 3.0, 4.0, angle, length), 0);
    EXPECT_TRUE(Near(length, 5.0, tol::loose) && Near(angle, std::atan2(4.0, 3.0), tol::loose));

    // A 60-degree fabric: the unit vector along the bisector splits into
    // equal components 1 / (2 cos 30).
    CKpDrapePt q;
    q.SetWarpAng(0.0), q.SetWeftAng(deg(60));
    double cw = 0.0, ct = 0.0;
    ASSERT_EQ(q.GetWarpWeftComponents(nullptr, deg(30), cw, ct), 0);
    EXPECT_TRUE(Near(cw, 1.0 / (2.0 * std::cos(deg(30))), tol::loose) && Near(ct, cw, tol::loose));
    // Without a weft angle nothing is made up from the unset value.
    CKpDrapePt r;
    r.SetWarpAng(0.0);
    EXPECT_EQ(r.GetWarpWeftComponents(nullptr, 0.5, cw, ct), -1);
    EXPECT_EQ(cw + ct, 0.0);
}

TEST(CKpDrapeGrid, StatisticsThicknessAndOutlineStrain) {
    CKpDrape grid;
    grid.pDrapePt(0, 0, makePt(0, 1.5, 0.0));
    grid.pDrapePt(-3, 2, makePt(0, 1.5, deg(-40)));
    grid.pDrapePt(5, -1, makePt(0, 1.5, deg(25)));
    auto* preset = makePt(0, 1.5, deg(10));
    preset->SetThck(9.0);  // already computed: kept
    grid.pDrapePt(1, 1, preset);
    EXPECT_TRUE(Near(grid.GetMinimumStrain(), deg(-40), tol::angle));
    EXPECT_TRUE(Near(grid.GetMaximumStrain(), deg(25), tol::angle));
    EXPECT_TRUE(Near(grid.GetMaximumAbsoluteStrain(), deg(40), tol::angle));

    CKpMat mat(1);
    mat.SetThickness(0.5);
    grid.CalculateThickness(&mat);
    EXPECT_TRUE(Near(grid.pDrapePt(0, 0)->GetThck(), 0.5, tol::length));
    EXPECT_TRUE(Near(grid.pDrapePt(-3, 2)->GetThck(), 0.5 / std::cos(deg(40)), tol::loose));
    EXPECT_EQ(grid.pDrapePt(1, 1)->GetThck(), 9.0);
    EXPECT_TRUE(Near(grid.GetMinimumThickness(), 0.5, tol::length));
    EXPECT_EQ(grid.GetMaximumThickness(), 9.0);
    CKpOln at(1, -3, 2, 4, 0), outside(1, 50, 50, 4, 0);
    EXPECT_TRUE(Near(grid.GetStrnOln(&at), deg(-40), tol::angle));
    EXPECT_EQ(grid.GetStrnOln(&outside), 0.0);
}

TEST(CKpDrapeLimits, ShearLimitsAndGridBound) {
    double lim[3];
    ASSERT_EQ(CalcMaxstrna(deg(30), lim), 0);
    EXPECT_TRUE(Near(lim[0], deg(15), tol::angle) && Near(lim[1], deg(30), tol::angle) &&
                Near(lim[2], deg(85), tol::loose));
    ASSERT_EQ(CalcMaxstrna(deg(90), lim), 0);
    EXPECT_TRUE(Near(lim[2], deg(90), tol::angle));

    CKpDrapeBound bound;
    // Step 2, ratio 2 (weft step 1): lengths 4 and 6 along the warp are 2
    // and 3 warp steps; 3 along the weft is 3 weft steps; maxwt open.
    bound.Set(2.0, 2.0, 4.0, 6.0, 3.0, 0.0);
    EXPECT_EQ((std::array<double, 3>{bound.getumin(), bound.getumax(), bound.getvmin()}),
              (std::array<double, 3>{-2.0, 3.0, -3.0}));
    EXPECT_EQ(bound.InBound(3.0, -3.0), 1);
    EXPECT_EQ(bound.InBound(3.01, 0.0), 0);
    double d = 0.0;
    EXPECT_EQ(bound.DstBound(2.6, 0.0, 0, d), 1);
    EXPECT_TRUE(Near(d, 0.4, tol::length));
    EXPECT_EQ(bound.DstBound(1.0, 5.0, 2, d), 1);
    EXPECT_EQ(d, 1e12 - 5.0);
    EXPECT_EQ(bound.DstBound(4.0, 0.0, 0, d), 0);  // outside
    EXPECT_EQ(d, CKpDrapeBound::kNoDist);
    // A step that is not positive leaves the grid unbounded.
    bound.Set(1.0, 0.0, 4.0, 6.0, 3.0, 1.0);
    EXPECT_EQ(bound.getumin() * bound.getvmax(), -1e24);
}

// Transfer onto facets: a running circular mean per facet, points without
// angles leave the facet alone.
TEST(CKpDrapeGrid, SimulationTransferAveragesPointsPerFacet) {
    surfmesh::Faceted plate("drape_transfer",
                            surfmesh::Plate(surfmesh::Kind::Quad4, 2, 1, 2.0, 1.0));
    ASSERT_EQ(plate.status, 1);
    CKpFacetStore& facets = plate.s.facets;
    ASSERT_EQ(facets.SimulationInitialise(), 0);
    CKpDrape grid;
    auto put = [&](int u, int v, int facet, double warp, double weft, double strain, int side) {
        CKpDrapePt* p = makePt(warp, weft, strain);
        p->SetFacet(facet), p->SetDnfg(side);
        grid.pDrapePt(u, v, p);
        return p;
    };
    // Facet 0 gets three points, visited u-major: (0,0), (0,1), (1,0).
    put(0, 0, 0, 3.0, 1.0, 0.3, 1);
    put(0, 1, 0, -3.0, 1.2, 0.0, 1);
    put(1, 0, 0, 3.1, 1.4, 0.6, -1);
    put(2, 0, 1, 0.5, 2.0, -0.2, 1);
    CKpDrapePt* bare = put(3, 0, 2, 0.0, 0.0, 0.9, 1);
    bare->SetWarpAngMinus(CKpDrapePt::kNoAngle), bare->SetWarpAngPlus(CKpDrapePt::kNoAngle);
    put(4, 0, 99, 0.0, 0.0, 0.0, 1);  // no such facet

    ASSERT_EQ(facets.SimulationTransfer(nullptr, &grid), 0);
    const CKpFacet* f0 = facets.pFac(0);
    EXPECT_EQ(f0->getNrpat(), 3);
    EXPECT_EQ(f0->getFacetDirection(), -1);  // the last point's side
    // Running mean by hand: 3.0, then halfway to -3.0 across pi, then a
    // third of the way to 3.1.
    double m = 3.0;
    m = pi_pi(pi_pi(-3.0 - m) / 2.0 + m);
    m = pi_pi(pi_pi(3.1 - m) / 3.0 + m);
    EXPECT_TRUE(Near(f0->getwpang(), m, tol::angle));
    EXPECT_GT(std::fabs(f0->getwpang()), 3.0);  // stays near pi, not near 0
    EXPECT_TRUE(Near(f0->getwtang(), 1.2, tol::loose));
    EXPECT_TRUE(Near(f0->getstrn(), 0.3, tol::loose));
    EXPECT_EQ(facets.pFac(1)->getwpang(), 0.5);
    // The point without a warp angle gives its facet nothing.
    EXPECT_EQ(facets.pFac(2)->getNrpat(), 0);
    EXPECT_EQ(facets.pFac(2)->getwpang(), CKpDrapePt::kNoAngle);
}

// After a drape the pattern's element list is rebuilt from the grid: the
// one draped facet feeds the painted rest of the plate.
TEST(CKpDrapeGrid, PatternElementsFromDraping) {
    surfmesh::Faceted plate("drape_update", surfmesh::Plate(surfmesh::Kind::Quad4, 2, 1, 2.0, 1.0));
    ASSERT_EQ(plate.status, 1);
    CKpFacetStore& facets = plate.s.facets;
    for (int i = 0; i < facets.entries(); ++i) facets.pFac(i)->setPntd(1);
    CKpDrape grid;
    CKpDrapePt* p = makePt(0.1, 1.6, 0.05);
    p->SetFacet(0), p->SetDnfg(1);
    grid.pDrapePt(0, 0, p);
    CKpPatElemStore list;
    const int stale[] = {99};
    list.SetElemIdsOrders(1, stale, nullptr);
    ASSERT_EQ(list.UpdateFromDraping(nullptr, &grid, &plate.s.elems, &facets, 1), 0);
    ASSERT_EQ(list.entries(), 2);
    int id = 1;
    for (const CKpPatElem* pe = list.First(); pe; pe = list.Next(pe), ++id) {
        EXPECT_EQ(pe->GetElemId(), id);
        EXPECT_TRUE(Near(pe->warpAngle(), 0.1, tol::loose) &&
                    Near(pe->weftAngle(), 1.6, tol::loose))
            << id;
        EXPECT_EQ(pe->dnfg(), 1);
    }
    EXPECT_EQ(list.UpdateFromDraping(nullptr, nullptr, &plate.s.elems, &facets, 1), -1);
    EXPECT_EQ(list.entries(), 2);
}
