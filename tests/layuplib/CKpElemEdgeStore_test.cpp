#include "layuplib/CKpElemEdgeStore.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "layuplib/CKpAxis.h"
#include "layuplib/CKpAxisPt.h"
#include "layuplib/CKpDrapeSim.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpMatGeom.h"
#include "layuplib/angle_util.h"
#include "tests/support/FacetSurface.h"
#include "tests/support/MessageCapture.h"
#include "tests/support/Tolerance.h"

namespace {

using meshgen::Kind;
const double kDeg = kPi / 180.0;

CKpPoint Pt(double x, double y) {
    CKpPoint p;
    p.Set(x, y, 0.0);
    return p;
}

CKpDirn Dn(double x, double y, double z) {
    CKpDirn d;
    d.Set(x, y, z);
    return d;
}

// A plate with every element selected, a warp and a weft curve and a drape
// workspace. Quad4 plates of n x n unit cells number nodes 1 + i + (n+1)j
// at (i, j) and elements 1 + ex + n ey; side 1 of an element is its bottom
// (x rising), 2 its right, 3 its top (x falling), 4 its left.
struct Plate : FacetSurface {
    MessageCapture cap;
    CKpElemEdgeStore warpCurve, weftCurve;
    CKpDrapeSim sim;
    // CalcStartAxes outputs.
    double refang = 0.0, curveAngle = -1.0, warp = 0.0, weft = 0.0;
    int facet = -1, side = 0;
    CKpPoint start;

    Plate(const meshgen::Mesh& mesh, const char* name) : cap(name) {
        Build(mesh);
        for (int i = 0; i < elems.entries(); ++i) elems[i]->setSltd(1);
    }
    int Arrange(CKpElemEdgeStore& curve, std::vector<int> ids, std::vector<int> sides) {
        curve.eraseAllObjects();
        curve.Fill(&cap.log, static_cast<int>(ids.size()), ids.data(), sides.data());
        return curve.ArrangeCurve(&cap.log, &elems, &facets);
    }
    int Start(int axstp, const char* word, CKpPoint seed, CKpDirn appl, CKpDirn ref) {
        return warpCurve.CalcStartAxes(&cap.log, axstp, word, &weftCurve, &nodes, &facets, seed,
                                       appl, ref, refang, CKpMatGeom(kPi / 2.0, 1.0), curveAngle,
                                       facet, start, side, warp, weft, &sim);
    }
    // The start facet's angle of a global direction in the xy plane.
    double Local(double degrees) const {
        CKpDirn d = Dn(std::cos(degrees * kDeg), std::sin(degrees * kDeg), 0.0);
        return facets.pFac(facet)->GetAngle(&d);
    }
    // "x,y:length:sense" per point of axis k, positions to 0.01.
    std::string Axis(int k) {
        std::ostringstream out;
        const CKpAxis* a = sim.pAxis(k);
        for (int i = 0; i < a->entries(); ++i) {
            const CKpAxisPt* p = a->pAxisPt(i);
            out << std::round(p->getPosition().getx() * 100) / 100 << ","
                << std::round(p->getPosition().gety() * 100) / 100 << ":" << p->getLength() << ":"
                << p->getSense() << " ";
        }
        return out.str();
    }
    // Warnings and errors since the last reset, one per line.
    std::string Problems() const {
        std::istringstream in(cap.body());
        std::string out;
        for (std::string line; std::getline(in, line);)
            if (line.rfind("$# WARNING: ", 0) == 0 || line.rfind("$# ERROR: ", 0) == 0)
                out += line.substr(line.find(": ") + 2) + "\n";
        return out;
    }
};

// Angles equal up to whole turns.
::testing::AssertionResult SameAngle(double a, double b) {
    return Near(pi_pi(a - b), 0.0, tol::loose);
}

// "element:side:direction" per edge.
std::string Order(const CKpElemEdgeStore& curve) {
    std::string out;
    for (const CKpElemEdge* e = curve.First(); e; e = curve.Next(e))
        out += std::to_string(e->Elem()) + ":" + std::to_string(e->Edge()) + ":" +
               std::to_string(e->Dirn()) + " ";
    return out;
}

}  // namespace

// The line y = 1 of a 4 x 4 quad4 plate given shuffled, partly against the
// curve, with a side given twice (2:3 and 6:1) and an edge of a missing
// element; and the line y = 1 of a 2 x 2 quad8 plate.
TEST(CKpElemEdgeStore, ArrangeOrdersAndDirectsTheChain) {
    Plate p(surfmesh::Plate(Kind::Quad4, 4, 4, 4.0, 4.0), "ees_arrange");
    ASSERT_EQ(p.Arrange(p.warpCurve, {7, 6, 2, 99, 8, 1}, {1, 1, 3, 2, 1, 3}), 0);
    EXPECT_EQ(p.Problems(),
              "Element 99 edge 2 definition ignored as the element does not exist.\n");
    EXPECT_EQ(Order(p.warpCurve), "1:3:-1 2:3:-1 7:1:1 8:1:1 ");
    int ids[4], sides[4];
    double xyz[24];
    ASSERT_EQ(p.warpCurve.GetEdges(4, ids, sides, xyz, &p.nodes), 4);
    for (int k = 0; k < 24; ++k)  // edge k runs from (k, 1) to (k + 1, 1)
        EXPECT_TRUE(Near(xyz[k], k % 3 == 2 ? 0 : k % 3 ? 1 : k / 6 + k % 6 / 3, tol::length)) << k;
}

TEST(CKpElemEdgeStore, BrokenOrBranchingCurvesAreRefused) {
    Plate p(surfmesh::Plate(Kind::Quad4, 4, 4, 4.0, 4.0), "ees_refuse");
    EXPECT_EQ(p.Arrange(p.warpCurve, {6, 7, 6}, {1, 1, 2}), -1);  // 8 also goes up to 13
    EXPECT_EQ(p.Problems(),
              "Node 8 has 3 neighbours, only 2 are allowed.\n 7\n 9\n 13\n"
              "There are 3 end nodes, only 2 are allowed.\n");
    EXPECT_EQ(p.warpCurve.entries(), 3);
    p.cap.reset();
    EXPECT_EQ(p.Arrange(p.warpCurve, {5, 7}, {1, 1}), -1);  // a gap between 7 and 8
    EXPECT_EQ(p.Problems(), "There are 4 end nodes, only 2 are allowed.\n");
    p.cap.reset();
    EXPECT_EQ(p.Arrange(p.warpCurve, {5, 1}, {1, 5}), -1);
    EXPECT_EQ(p.Problems(), "Element 1 edge 5 undefined.\n");
    EXPECT_EQ(p.warpCurve.Fill(&p.cap.log, 1, nullptr, nullptr), -1);
}

// One curve along y = 1 of a 4 x 4 plate (tolerance 0.001 x 4), the start
// at node (2, 1): the axes run node by node along the curve both ways.
TEST(CKpElemEdgeStore, SingleCurveStartsOnTheCurve) {
    Plate p(surfmesh::Plate(Kind::Quad4, 4, 4, 4.0, 4.0), "ees_single");
    ASSERT_EQ(p.Arrange(p.warpCurve, {8, 2, 7, 1}, {1, 3, 1, 3}), 0);
    const CKpDirn down = Dn(0, 0, -1), ref10 = Dn(std::cos(10 * kDeg), std::sin(10 * kDeg), 0);
    p.cap.reset();
    ASSERT_EQ(p.Start(4, "Warp", Pt(2.001, 1.002), down, ref10), 0);
    EXPECT_TRUE(p.start.getx() == 2.0 && p.start.gety() == 1.0 && p.side == 1);
    EXPECT_EQ(p.facets.GetElemId(p.facet), 2);  // the lower of the facets at the node
    EXPECT_TRUE(Near(p.curveAngle, 0.0, tol::angle));
    EXPECT_TRUE(SameAngle(p.warp, p.Local(0)) && SameAngle(p.weft, p.Local(90)));
    EXPECT_TRUE(Near(p.refang, -10 * kDeg, tol::loose));
    EXPECT_EQ(p.Problems(),
              "The seed curve has changed the warp angle at the start point by -10 degrees. The "
              "reference angle will be updated to reflect this.\n");
    EXPECT_EQ(p.Axis(0), "2,1:0:1 2,1:0:1 3,1:1:1 3,1:1:1 4,1:2:1 ");
    EXPECT_EQ(p.Axis(2), "2,1:0:1 2,1:0:1 1,1:1:1 1,1:1:1 0,1:2:1 ");
    const CKpAxisPt* p0 = p.sim.pAxis(2)->pAxisPt(0);
    EXPECT_TRUE(SameAngle(p0->getAngle(), p.warp + kPi));
    EXPECT_TRUE(p0->getFacet() == p.facet && p0->getPosition().getx() != 2.0);  // pulled inside
    // The pull keeps each segment as long as the curve says: the drape
    // places its points by these lengths, and a shorter polyline would
    // read as fabric strain.
    for (int k : {0, 2}) {
        const CKpAxis* axis = p.sim.pAxis(k);
        for (int i = 1; i < axis->entries(); ++i) {
            const CKpAxisPt* a = axis->pAxisPt(i - 1);
            const CKpAxisPt* b = axis->pAxisPt(i);
            if (a->getFacet() != b->getFacet()) continue;
            CKpDirn d;
            d.set2pts(&a->getPosition(), &b->getPosition());
            EXPECT_TRUE(Near(d.mag(), b->getLength() - a->getLength(), Tol{1e-5, 0.0}))
                << "axis " << k << " segment " << i;
        }
    }

    // Inside an edge: the start edge adds only the part after the start.
    p.refang = 0.0;
    ASSERT_EQ(p.Start(4, "Calc", Pt(2.5, 1.003), down, Dn(1, 0, 0)), 0);
    EXPECT_TRUE(p.start.getx() == 2.5 && p.start.gety() == 1.0);
    EXPECT_EQ(p.Axis(0), "2.5,1:0:1 3,1:0.5:1 3,1:0.5:1 4,1:1.5:1 ");
    EXPECT_EQ(p.Axis(2), "2.5,1:0:1 2,1:0.5:1 2,1:0.5:1 1,1:1.5:1 1,1:1.5:1 0,1:2.5:1 ");

    p.cap.reset();
    EXPECT_EQ(p.Start(4, "Sideways", Pt(2, 1.005), down, Dn(1, 0, 0)), -1);
    EXPECT_EQ(p.Problems(),
              "For single seed curves, the 'Sideways' orientation option is not supported. "
              "Converting to the default 'Calc' option.\n"
              "The start point must be within 0.004 units of the selected single manual axis. "
              "Please select a start point on the axis.\n");
}

// An element turned over along the curve turns the axis point senses; a
// start at a quadratic edge's midside node splits the curve inside it.
TEST(CKpElemEdgeStore, SensesAndMidsideStarts) {
    meshgen::Mesh mesh = surfmesh::Plate(Kind::Quad4, 4, 4, 4.0, 4.0);
    surfmesh::Flip(mesh, 7);  // element 8: its bottom is now side 4
    Plate p(mesh, "ees_flip");
    ASSERT_EQ(p.Arrange(p.warpCurve, {8, 2, 7, 1}, {4, 3, 1, 3}), 0);
    ASSERT_EQ(p.Start(4, "Warp", Pt(2, 1), Dn(0, 0, -1), Dn(1, 0, 0)), 0);
    EXPECT_EQ(p.Axis(0), "2,1:0:1 2,1:0:1 3,1:1:1 3,1:1:-1 4,1:2:-1 ");

    Plate q(surfmesh::Plate(Kind::Quad8, 2, 2, 2.0, 2.0), "ees_midside");
    ASSERT_EQ(q.Arrange(q.warpCurve, {4, 1}, {1, 3}), 0);
    EXPECT_EQ(Order(q.warpCurve), "1:3:-1 4:1:1 ");
    ASSERT_EQ(q.Start(4, "Warp", Pt(1.5, 1), Dn(0, 0, -1), Dn(1, 0, 0)), 0);
    EXPECT_EQ(q.Axis(0), "1.5,1:0:1 1.5,1:0:1 1.5,1:0:1 2,1:0.5:1 ");
    EXPECT_EQ(q.Axis(2), "1.5,1:0:1 1,1:0.5:1 1,1:0.5:1 0.5,1:1:1 0.5,1:1:1 0,1:1.5:1 ");
}

// Warp along y = 1, weft along x = 2: the start is their crossing (2, 1).
TEST(CKpElemEdgeStore, TwoCurvesStartAtTheirCrossing) {
    Plate p(surfmesh::Plate(Kind::Quad4, 4, 4, 4.0, 4.0), "ees_cross");
    ASSERT_EQ(p.Arrange(p.warpCurve, {8, 2, 7, 1}, {1, 3, 1, 3}), 0);
    ASSERT_EQ(p.Arrange(p.weftCurve, {11, 2, 14, 6}, {4, 2, 2, 2}), 0);
    ASSERT_EQ(p.Start(3, "", Pt(2.001, 1), Dn(0, 0, -1), Dn(1, 0.1, 0)), 0);
    EXPECT_TRUE(p.start.getx() == 2.0 && p.start.gety() == 1.0);
    EXPECT_TRUE(Near(p.refang, -std::atan(0.1), tol::loose));
    EXPECT_EQ(p.Axis(1), "2,1:0:1 2,1:0:1 2,2:1:1 2,2:1:1 2,3:2:1 2,3:2:1 2,4:3:1 ");
    EXPECT_EQ(p.Axis(3), "2,1:0:1 2,1:0:1 2,0:1:1 ");

    p.cap.reset();
    EXPECT_EQ(p.Start(3, "", Pt(2.1, 1), Dn(0, 0, -1), Dn(1, 0, 0)), -1);
    ASSERT_EQ(p.Arrange(p.weftCurve, {6}, {1}), 0);  // nodes 7 and 8 of the warp
    EXPECT_EQ(p.Start(3, "", Pt(2, 1), Dn(0, 0, -1), Dn(1, 0, 0)), -1);
    ASSERT_EQ(p.Arrange(p.weftCurve, {13}, {3}), 0);
    EXPECT_EQ(p.Start(3, "", Pt(2, 1), Dn(0, 0, -1), Dn(1, 0, 0)), -1);
    EXPECT_EQ(p.Problems(),
              "The distance between the start point at [2.1,1,0] and the point of intersection "
              "of warp and weft curves at [2,1,0] is 0.1. This must be less than 0.004. Please "
              "set the start point near to the intersection point.\n"
              "The selected seed curves intersect at multiple nodes:\n 7\n 8\n"
              "The selected seed curves do not intersect.\n");
}

TEST(CKpElemEdgeStore, NormalSensesNeedANeighbourWithASense) {
    Plate p(surfmesh::Plate(Kind::Quad4, 4, 4, 4.0, 4.0), "ees_dnfg");
    const int ids[2] = {7, 13}, sides[2] = {1, 3};
    ASSERT_EQ(p.warpCurve.Fill(&p.cap.log, 2, ids, sides), 0);
    ASSERT_EQ(p.warpCurve.SetNodeIds(&p.cap.log, &p.elems, &p.facets), 0);
    CKpElemEdge* first = p.warpCurve.First();
    EXPECT_EQ(p.warpCurve.Last()->SetDnfg(&p.cap.log, &p.facets, first), -1);
    EXPECT_EQ(p.warpCurve.SetDnfg(&p.cap.log, &p.facets), -1);
    EXPECT_EQ(first->GetDnfg(), 1);
    EXPECT_EQ(p.Problems(),
              "Direction flag not set on element 13 edge 3 as not set on neighbouring element 7 "
              "edge 1\n"
              "No common node for element 13 edge 3 and neighbouring element 7 edge 1\n");
}
