#include "layuplib/CKpFacetStore.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/angle_util.h"
#include "layuplib/geom_util.h"
#include "layuplib/make_facet.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/SurfaceMeshes.h"
#include "tests/support/Tolerance.h"

namespace {

using surfmesh::Kind;

using Built = surfmesh::Faceted;

void selectAll(Built& b) {
    for (int i = 0; i < b.s.elems.entries(); ++i) b.s.elems[i]->setSltd(1);
}

template <class T>
T xyz(double x, double y, double z) {
    T t;
    t.Set(x, y, z);
    return t;
}

int centreNodeCount(CKpNodeStore& nodes) {
    int n = 0;
    for (int i = 0; i < nodes.entries(); ++i) n += nodes[i]->incomplete();
    return n;
}

}  // namespace

// Facet counts and the element's facet list for each type; one quad4 in
// detail: A = (c0, c1, c2), B = (c2, c3, c0).
TEST(make_facet, CutsEachElementTypeIntoItsFacets) {
    const struct {
        Kind kind;
        int perElem, elems;
    } cases[] = {
        {Kind::Quad4, 2, 6}, {Kind::Tria3, 1, 12}, {Kind::Quad8, 8, 6}, {Kind::Tria6, 6, 12}};
    for (const auto& c : cases) {
        Built b("cut", surfmesh::Plate(c.kind, 3, 2, 3.0, 2.0));
        ASSERT_EQ(b.status, 1);
        ASSERT_EQ(b.s.elems.entries(), c.elems);
        EXPECT_EQ(b.s.facets.entries(), c.elems * c.perElem);
        int next = 0;  // ascending element ids, consecutive facet indices
        for (int e = 0; e < b.s.elems.entries(); ++e)
            for (int k = 0; k < b.s.elems[e]->getnfac(); ++k, ++next) {
                EXPECT_EQ(b.s.elems[e]->getfacs(k), next);
                EXPECT_EQ(b.f(next)->getElement(), b.s.elems[e]);
            }
        const bool quadratic = c.kind == Kind::Quad8 || c.kind == Kind::Tria6;
        EXPECT_EQ(centreNodeCount(b.s.nodes), quadratic ? c.elems : 0);
    }

    Built b("quad4", surfmesh::Plate(Kind::Quad4, 1, 1, 1.0, 1.0));
    ASSERT_EQ(b.s.facets.entries(), 2);
    for (int v = 0; v < 3; ++v) {
        EXPECT_EQ(b.f(0)->getCKpNode(v), b.s.elems[0]->getckpnodes(v));
        EXPECT_EQ(b.f(1)->getCKpNode(v), b.s.elems[0]->getckpnodes((v + 2) % 4));
    }
}

// Building again removes the previous centre nodes: nothing piles up, the
// ids repeat, mesh nodes stay where they were.
TEST(make_facet, RebuildDoesNotPileUpCentreNodes) {
    Built b("rebuild", surfmesh::Plate(Kind::Quad8, 2, 2, 2.0, 2.0));
    const int nodes = b.s.nodes.entries();
    const int firstCentre = b.f(0)->getCKpNode(2)->id();
    const double x7 = b.s.nodes.find(7)->getCKpPointX();
    // Centre ids follow the largest mesh node id (21 on a 5 x 5 grid without
    // the 4 cell centres); straight-sided elements have them at the centroid.
    const CKpNode* second = b.f(8)->getCKpNode(2);
    EXPECT_TRUE(firstCentre == 22 && second->id() == 23 && b.s.nodes.GetNumNodes() == 21);
    EXPECT_TRUE(Near(second->getCKpPointX(), 1.5, tol::length) &&
                Near(second->getCKpPointY(), 0.5, tol::length));
    for (int round = 0; round < 3; ++round) {
        ASSERT_EQ(b.rebuild(), 1);
        EXPECT_TRUE(b.s.nodes.entries() == nodes && centreNodeCount(b.s.nodes) == 4);
        EXPECT_TRUE(b.f(0)->getCKpNode(2)->id() == firstCentre &&
                    b.s.nodes.find(7)->getCKpPointX() == x7);
    }
    // A node that became a mesh node under a former centre id stays.
    b.s.facets.reinit();
    CKpNode* centre = b.s.nodes.find(firstCentre);
    centre->setIncompleteFlag(0);
    ASSERT_EQ(b.rebuild(), 1);
    EXPECT_EQ(b.s.nodes.find(firstCentre), centre);
    EXPECT_EQ(b.s.nodes.entries(), nodes + 1);
}

// Elements that cannot be cut are reported and skipped; the others are cut.
TEST(make_facet, SkipsUnlinkedAndUnsupportedElements) {
    Built b("skip", surfmesh::Plate(Kind::Quad4, 2, 1, 2.0, 1.0));
    CKpElem* unlinked = b.s.elems.NewElem(99, 1);  // node pointers never set
    CKpElem* solid = b.s.elems.NewElem(100, 101);
    for (CKpElem* e : {unlinked, solid}) {
        e->seteltp(1);
        b.s.elems.insert(e);
    }
    b.cap.reset();
    ASSERT_EQ(b.rebuild(), 1);
    EXPECT_EQ(b.s.facets.entries(), 4);
    EXPECT_EQ(b.cap.body(),
              "$# ERROR: Element 99 has a node that is not linked, no facets made.\n"
              "$# ERROR: Unsupported facet number.\n"
              "$# A total of 1 subdomains were identified.\n"
              "$#  subdomain   1 contains      4 facets of area 2\n");

    // Nothing to cut: no shell (eltp 0).
    for (int i = 0; i < b.s.elems.entries(); ++i) b.s.elems[i]->seteltp(0);
    b.cap.reset();
    EXPECT_EQ(b.rebuild() + b.s.facets.entries(), 0);
    EXPECT_EQ(b.cap.body(), "$# Model contains no facets.\n");
}

TEST(CKpFacetStore, SelectedAreaDefaultStepAndFreeEdges) {
    Built b("area", surfmesh::Plate(Kind::Quad8, 4, 4, 20.0, 20.0));
    EXPECT_EQ(b.s.facets.DefaultStep(), 0.0);  // nothing selected
    selectAll(b);
    EXPECT_TRUE(Near(b.s.facets.SelectedArea(), 400.0, tol::loose));
    EXPECT_TRUE(Near(b.s.facets.DefaultStep(), 0.75, tol::loose));  // 20 x 7.5 / 200

    // 3 x 2 cells of 1 x 0.5: ten free edges on the rim.
    Built plate("free", surfmesh::Plate(Kind::Quad4, 3, 2, 3.0, 1.0));
    EXPECT_EQ(plate.s.facets.GetFreeEdgeNum(1), 10);
    EXPECT_TRUE(Near(plate.s.facets.GetFreeEdgeMinLen(1), 0.5, tol::length));
    EXPECT_EQ(plate.s.facets.GetFreeEdgeMinLen(11), 1e12);

    // 2 x 2 quads: every node but the middle one (5), each once.
    Built small("ids", surfmesh::Plate(Kind::Quad4, 2, 2, 2.0, 2.0));
    CVekObjectStore<CVekObject> ids(64);
    ids.insert(new CVekObject(3));
    ASSERT_EQ(small.s.facets.GetFreeEdgeNodeIDs(0, &ids), 0);
    int n = ids.entries();
    std::vector<int> got(static_cast<size_t>(n));
    ids.GetAllIds(n, got.data());
    EXPECT_EQ(got, (std::vector<int>{1, 2, 3, 4, 6, 7, 8, 9}));
    ids.eraseAllObjects();
}

// An angle taken across any linked edge names the same direction on both
// facets, whichever way the neighbour is turned.
TEST(CKpFacetStore, CalcAngleNeighKeepsTheDirection) {
    surfmesh::Mesh mesh = surfmesh::Plate(Kind::Quad4, 3, 3, 3.0, 3.0);
    surfmesh::Flip(mesh, 4);
    surfmesh::Flip(mesh, 5);
    Built b("angle", mesh);
    const CKpDirn d = xyz<CKpDirn>(std::cos(0.7), std::sin(0.7), 0.0);
    int turned = 0;
    double out = 0.0;
    for (int i = 0; i < b.s.facets.entries(); ++i)
        for (int e = 0; e < 3; ++e) {
            const CKpFacet* g = b.s.facets.pFac(b.f(i)->getNeigh(e));
            if (!g) {
                EXPECT_EQ(b.s.facets.CalcAngleNeigh(i, e, 0.3, &out), -1);
                continue;
            }
            ASSERT_EQ(b.s.facets.CalcAngleNeigh(i, e, g->GetAngle(&d), &out), 0);
            EXPECT_TRUE(Near(pi_pi(out - b.f(i)->GetAngle(&d)), 0.0, tol::loose)) << i << " " << e;
            turned += b.f(i)->getNedge(e) < 3;
        }
    EXPECT_GT(turned, 0);
    EXPECT_EQ(
        b.s.facets.CalcAngleNeigh(0, 3, 0.0, &out) + b.s.facets.CalcAngleNeigh(0, 2, 0.0, nullptr),
        -2);
}

// A strip of 4 quads (facets 0..7), the third turned over: drape data on
// facet 0 spreads to the painted facets a chain of data reaches.
TEST(CKpFacetStore, SimulationInterpolateSpreadsAlongPaintedFacets) {
    surfmesh::Mesh mesh = surfmesh::Plate(Kind::Quad4, 4, 1, 4.0, 1.0);
    surfmesh::Flip(mesh, 2);
    Built b("interp", mesh);
    CKpFacetStore& fs = b.s.facets;
    ASSERT_EQ(fs.SimulationInitialise(), 0);
    const CKpDirn warp = xyz<CKpDirn>(std::cos(0.4), std::sin(0.4), 0.0);
    const CKpDirn weft = xyz<CKpDirn>(-std::sin(0.4), std::cos(0.4), 0.0);
    CKpFacet* seed = b.f(0);
    seed->setNrpat(1);
    seed->setFacetDirection(1);
    seed->setwpang(seed->GetAngle(&warp));
    seed->setwtang(seed->GetAngle(&weft));
    seed->setstrn(0.05);
    // Facet 6 = (3,0) (4,0) (4,1) touches only facet 7: not reached.
    for (int i = 0; i < 7; ++i) b.f(i)->setPntd(1);
    ASSERT_EQ(fs.SimulationInterpolate(), 0);
    for (int i = 1; i < 6; ++i) {
        const CKpFacet* f = b.f(i);
        EXPECT_TRUE(f->getNrpat() == 1 && f->getFacetDirection() == ((i == 4 || i == 5) ? -1 : 1))
            << i;
        EXPECT_TRUE(Near(pi_pi(f->getwpang() - f->GetAngle(&warp)), 0.0, tol::loose) &&
                    Near(pi_pi(f->getwtang() - f->GetAngle(&weft)), 0.0, tol::loose) &&
                    Near(f->getstrn(), 0.05, tol::length))
            << i;
    }
    for (int i : {6, 7}) EXPECT_TRUE(b.f(i)->getNrpat() == 0 && b.f(i)->getwpang() == -1000.0) << i;
    fs.SimulationInitialiseProjection();  // keeps the direction flags
    EXPECT_TRUE(b.f(4)->getFacetDirection() == -1 && b.f(4)->getwtang() == -1000.0);

    // Tria3 plate 2 x 1: facet 0 (0,0)(1,0)(1,1) meets facet 3 across its
    // edge 1 (length 1, taken first) and facet 1 across its edge 2 (length
    // sqrt 2, weight sqrt2 / (sqrt2 + 1)); their strains 0 and 1.
    Built t("blend", surfmesh::Plate(Kind::Tria3, 2, 1, 2.0, 1.0));
    for (int i : {1, 3}) {
        t.f(i)->setNrpat(1);
        t.f(i)->setFacetDirection(1);
        t.f(i)->setwpang(0.0);
        t.f(i)->setwtang(0.0);
        t.f(i)->setstrn(i == 1 ? 1.0 : 0.0);
    }
    t.f(0)->setPntd(1);
    ASSERT_EQ(t.s.facets.SimulationInterpolate(), 0);
    EXPECT_TRUE(Near(t.f(0)->getstrn(), std::sqrt(2.0) / (std::sqrt(2.0) + 1.0), tol::length));
}

TEST(CKpFacetStore, GetClosestPointAlongALine) {
    Built b("closest", surfmesh::Plate(Kind::Quad4, 2, 2, 2.0, 2.0));
    CKpFacetStore& fs = b.s.facets;
    int facet = 7, dnfg = 7;
    CKpPoint got = xyz<CKpPoint>(9.0, 9.0, 9.0);
    const CKpPoint above = xyz<CKpPoint>(0.3, 0.4, 1.0);
    EXPECT_EQ(fs.GetClosestPoint(above, xyz<CKpDirn>(0, 0, -2), &facet, &got, &dnfg), 0);
    EXPECT_TRUE(facet == -1 && dnfg == 0 && got.getx() == 9.0);  // nothing selected

    selectAll(b);
    fs.GetClosestPoint(above, xyz<CKpDirn>(0, 0, -2), &facet, &got, &dnfg);
    EXPECT_EQ(facet * 10 + dnfg, 1);  // the first of equally near; against the normal
    EXPECT_TRUE(Near(got.getx(), 0.3, tol::length) && Near(got.gety(), 0.4, tol::length));

    // A segment too short for vertex feet: the edge nearest to the line, the
    // first quad's diagonal, gives (0.35, 0.35, 0).
    fs.GetClosestPoint(above, xyz<CKpDirn>(0, 0, -0.5), &facet, &got, &dnfg);
    EXPECT_EQ(facet, 0);
    EXPECT_TRUE(Near(got.getx(), 0.35, tol::length) && Near(got.gety(), 0.35, tol::length));
}

// The relative direction of facets around the middle node of a 2 x 2
// plate whose fourth element is turned over.
TEST(CKpFacet, GetNeighFacRelDnfgAroundANode) {
    surfmesh::Mesh mesh = surfmesh::Plate(Kind::Quad4, 2, 2, 2.0, 2.0);
    surfmesh::Flip(mesh, 3);
    RecordingGUI gui;
    CKpLayup model(nullptr, &gui);
    surfmesh::Load(mesh, *model.pNodes(), *model.pElems());
    CKpFacetStore& fs = *model.pFacs();
    ASSERT_EQ(fs.CreateFacets(), 2);
    const int middle = 5;
    std::vector<int> around;
    int away = -1;
    for (int i = 0; i < fs.entries(); ++i)
        if (fs.pFac(i)->GetVertex(middle) >= 0)
            around.push_back(i);
        else if (away < 0)
            away = i;
    ASSERT_EQ(around.size(), 6u);
    CKpFacet* from = fs.pFac(around[0]);
    for (int i : around)
        EXPECT_EQ(from->GetNeighFacRelDnfg(&fs, middle, fs.pFac(i)),
                  fs.pFac(i)->GetElemId() == 4 ? -1 : 1)
            << i;
    EXPECT_EQ(from->GetNeighFacRelDnfg(&fs, middle, fs.pFac(away)), 0);
    EXPECT_TRUE(gui.texts(4).empty());

    // A link to a facet off the node stops the walk with a message.
    const int e = (from->GetVertex(middle) + 2) % 3;
    ASSERT_GE(from->getNeigh(e), 0);
    from->setNeigh(e, away);
    EXPECT_EQ(from->GetNeighFacRelDnfg(&fs, middle, fs.pFac(around.back())), 0);
    EXPECT_EQ(gui.texts(4),
              std::vector<std::string>{"Facet " + std::to_string(around[0]) + " edge " +
                                       std::to_string(e) + ": the neighbour link to facet " +
                                       std::to_string(away) + " does not match around node 5."});
}
