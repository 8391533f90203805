#include "layuplib/CalcBoundary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "layuplib/CKpBdy.h"
#include "layuplib/CKpBdyStore.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpNode.h"
#include "layuplib/angle_util.h"
#include "tests/support/FacetSurface.h"
#include "tests/support/MessageCapture.h"
#include "tests/support/Tolerance.h"

namespace {

using meshgen::Kind;

struct Model : FacetSurface {
    MessageCapture cap;

    Model(const meshgen::Mesh& mesh, const char* name) : cap(name) { Build(mesh); }
    const CKpNode* node(const CKpBdy* seg, bool end) {
        return facets.pFac(seg->getFacet())->getCKpNode(end ? seg->vx1() : seg->vx0());
    }
    // The start node ids of a ring in order, after checking that it is a
    // closed, doubly linked chain numbered 1..n whose segments join end to
    // start. `area`: the signed xy area enclosed (positive anticlockwise).
    std::vector<int> ring(const CKpBdy* ring, double* area = nullptr) {
        std::vector<int> out;
        double a = 0.0;
        const CKpBdy* s = ring;
        do {
            EXPECT_EQ(s->getSeq(), static_cast<int>(out.size()) + 1);
            EXPECT_EQ(s->Next()->Prev(), s);
            EXPECT_EQ(node(s, true), node(s->Next(), false)) << "gap after " << s->getSeq();
            const CKpPoint* p = node(s, false)->getCKpPoint();
            const CKpPoint* q = node(s, true)->getCKpPoint();
            a += 0.5 * (p->getx() * q->gety() - q->getx() * p->gety());
            out.push_back(node(s, false)->id());
            s = s->Next();
        } while (s != ring && out.size() < 1000);
        if (area) *area = a;
        return out;
    }
};

// a equals b read from some starting point.
bool cyclicEqual(std::vector<int> a, const std::vector<int>& b) {
    for (size_t k = 0; k <= a.size(); ++k, std::rotate(a.begin(), a.begin() + 1, a.end()))
        if (a == b) return true;
    return false;
}

// A 3 x 3 unit quad plate without the cells of the given positions.
meshgen::Mesh plateWithout(std::vector<int> cells) {
    meshgen::Mesh m = surfmesh::Plate(Kind::Quad4, 3, 3, 3.0, 3.0), full = m;
    m.elemIds.clear(), m.topologies.clear(), m.connectivity.clear();
    for (int e = 0; e < full.numElems(); ++e) {
        if (std::find(cells.begin(), cells.end(), e) != cells.end()) continue;
        m.elemIds.push_back(full.elemIds[e]);
        m.topologies.push_back(full.topologies[e]);
        m.connectivity.insert(m.connectivity.end(), full.row(e), full.row(e) + full.width);
    }
    return m;
}

}  // namespace

// Plate of 4 x 3 unit quads, node id 5j + i + 1 at (i, j); the selected
// block of cells i 1..2, j 0..1 is divided off from the rest:
//   12 13 14
//    7  .  9     ring, anticlockwise: 2 3 4 9 14 13 12 7
//    2  3  4
TEST(CalcBoundary, SelectedRectangleOnPlate) {
    Model m(surfmesh::Plate(Kind::Quad4, 4, 3, 4.0, 3.0), "bdy_rect");
    for (int id : {2, 3, 6, 7}) m.elems.find(id)->setSltd(1);
    m.facets.NeighDivide();
    CKpBdyStore store(4);
    ASSERT_EQ(CalcBoundary(&m.cap.log, &m.facets, 2, 1, &store), 0);
    ASSERT_EQ(store.GetNumBdys(), 1);
    double area = 0.0;
    const std::vector<int> ccw = {2, 3, 4, 9, 14, 13, 12, 7};
    EXPECT_TRUE(cyclicEqual(m.ring(store.GetBdy(0), &area), ccw));
    EXPECT_TRUE(Near(area, 4.0, tol::length));
    EXPECT_EQ(store.GetNumElements(), 4);
    for (int f = 0; f < m.facets.entries(); ++f) {
        const bool inside = m.facets.pFac(f)->getElement()->getSltd() != 0;
        EXPECT_EQ(m.facets.pFac(f)->getBdyStoreId(), inside ? 4 : 0) << f;
        EXPECT_EQ(m.facets.pFac(f)->getFacetDirection(), inside ? 1 : 0) << f;
    }

    // With direction -1 the ring runs the other way; every region facet is
    // recorded with that flag, the start facet first.
    CKpBdy* ring = nullptr;
    int count = 0, facetIds[24], dirs[24];
    ASSERT_EQ(CalcAllBoundary(nullptr, &m.facets, 1, 2, -1, ring, &count, facetIds, dirs), 0);
    EXPECT_TRUE(cyclicEqual(m.ring(ring, &area), std::vector<int>(ccw.rbegin(), ccw.rend())));
    EXPECT_TRUE(Near(area, -4.0, tol::length) && count == 8 && facetIds[0] == 2);
    EXPECT_TRUE(std::all_of(dirs, dirs + count, [](int d) { return d == -1; }));
    DeleteBoundary(ring);

    // Start facets outside the store.
    Model t(surfmesh::Plate(Kind::Tria3, 1, 1, 1.0, 1.0), "bdy_one");
    EXPECT_EQ(CalcAllBoundary(nullptr, &t.facets, 1, -1, 1, ring, nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(CalcBoundary(&t.cap.log, &t.facets, 2, 1, &store), 1);
    EXPECT_EQ(t.cap.body(), "$# ERROR: Invalid start facet 2.\n");
    EXPECT_EQ(store.GetNumBdys(), 0);
}

// Whole surfaces traced from facet 0, checked against a count by brute
// force: every region facet marked, every ring closed, and the rings hold
// exactly the region's free edges. The holed plate keeps its outer square
// (area 9) apart from the hole (clockwise, area -1); the open cylinder's
// two rims are equally long; a sphere leaves no boundary; a turned-over
// element gets direction -1.
TEST(CalcBoundary, WholeSurfacesAgainstBruteForce) {
    meshgen::Mesh flipped = surfmesh::Plate(Kind::Quad4, 3, 1, 3.0, 1.0);
    surfmesh::Flip(flipped, 1);
    const struct {
        meshgen::Mesh mesh;
        std::vector<int> ringSizes;
        std::vector<double> areas;
    } cases[] = {
        {surfmesh::PlateWithHole(Kind::Tria3, 6, 6.0, 2), {24, 8}, {36.0, -4.0}},
        {surfmesh::OpenCylinder(Kind::Quad4, 8, 3, 1.0, 2.0), {8, 8}, {}},
        {surfmesh::Hemisphere(Kind::Tria3, 8, 3, 1.0), {8}, {}},
        {surfmesh::Sphere(Kind::Quad4, 6, 4, 1.0), {}, {}},
        {flipped, {8}, {3.0}},
    };
    for (const auto& c : cases) {
        Model m(c.mesh, "bdy_whole");
        CKpBdyStore store(3);
        ASSERT_EQ(CalcBoundary(&m.cap.log, &m.facets, 0, 1, &store), 0);
        int freeEdges = 0;
        for (int f = 0; f < m.facets.entries(); ++f) {
            const CKpFacet* fac = m.facets.pFac(f);
            EXPECT_TRUE(fac->getPntd() && fac->getBdyStoreId() == 3) << f;
            for (int e = 0; e < 3; ++e) freeEdges += fac->getNeigh(e) < 0 || fac->getNedge(e) < 0;
            if (&c == &cases[4]) {  // the flipped element
                EXPECT_EQ(fac->getFacetDirection(), f == 2 || f == 3 ? -1 : 1);
            }
        }
        ASSERT_EQ(store.GetNumBdys(), static_cast<int>(c.ringSizes.size()));
        for (int r = 0; r < store.GetNumBdys(); ++r) {
            double area = 0.0;
            EXPECT_EQ(m.ring(store.GetBdy(r), &area).size(), static_cast<size_t>(c.ringSizes[r]));
            if (!c.areas.empty()) {
                EXPECT_TRUE(Near(area, c.areas[r], tol::length));
            }
            freeEdges -= c.ringSizes[r];
        }
        EXPECT_EQ(freeEdges, 0);
        EXPECT_EQ(m.cap.body(), "");
    }
}

// Cells (1, 1) and (2, 2) left out: the region is a C whose tips touch at
// the point (2, 2), a vertex the single ring passes twice:
//   +--+--+  .
//   |  |  |  .          x: missing cells; the region's angle at (2, 2) is
//   +--+--o--+          pi/2 on each visit, 3pi/2 at the other hole corners
//   |  | x|  |
//   +--+--+--+
TEST(CalcBoundary, RegionTouchingItselfAtVertex) {
    Model m(plateWithout({4, 8}), "bdy_touch");
    CKpBdyStore store(1);
    ASSERT_EQ(CalcBoundary(&m.cap.log, &m.facets, 0, 1, &store), 0);
    ASSERT_EQ(store.GetNumBdys(), 1);
    double area = 0.0, turning = 0.0, angle = 0.0;
    ASSERT_EQ(m.ring(store.GetBdy(0), &area).size(), 16u);
    EXPECT_TRUE(Near(area, 7.0, tol::length));
    std::vector<CKpBdy*> atTouch;
    CKpBdy* seg = store.GetBdy(0);
    do {
        ASSERT_EQ(CalcBoundaryAngle(&m.facets, seg, &angle), 0);
        turning += kPi - angle;
        const long x = std::lround(m.node(seg, false)->getCKpPointX());
        const long y = std::lround(m.node(seg, false)->getCKpPointY());
        double expected = kPi;
        if (x == 2 && y == 2) {
            expected = kPi / 2;
            atTouch.push_back(seg);
        } else if ((x == 1 || x == 2) && (y == 1 || y == 2)) {
            expected = 1.5 * kPi;
        } else if ((x % 3 == 0 && y % 3 == 0) || x + y == 5) {
            expected = kPi / 2;
        }
        EXPECT_TRUE(Near(angle, expected, tol::angle)) << "at (" << x << ", " << y << ")";
        seg = seg->Next();
    } while (seg != store.GetBdy(0));
    EXPECT_TRUE(Near(turning, 2 * kPi, tol::angle));

    // Paired with the other visit's predecessor the walk cannot find its
    // end: it stops at the free edge instead of stepping off the surface.
    ASSERT_EQ(atTouch.size(), 2u);
    CKpBdy* keep = atTouch[0]->Prev();
    atTouch[0]->SetPrev(atTouch[1]->Prev());
    EXPECT_EQ(CalcBoundaryAngle(&m.facets, atTouch[0], &angle), 0);
    EXPECT_TRUE(Near(angle, kPi / 2, tol::angle));
    atTouch[0]->SetPrev(keep);

    // Round an interior node of a plate no predecessor is ever met: the walk
    // ends after one full turn.
    Model p(surfmesh::Plate(Kind::Quad4, 2, 2, 2.0, 2.0), "bdy_turn");
    CKpBdy lone;
    lone.setFacet(1);  // (c2, c3, c0) of cell (0, 0): vertex 0 is the centre
    lone.setDirn(1);
    lone.SetPrev(&lone);
    EXPECT_EQ(CalcBoundaryAngle(&p.facets, &lone, &angle), 0);
    EXPECT_TRUE(Near(angle, 2 * kPi, tol::angle));
    EXPECT_EQ(CalcBoundaryAngle(&p.facets, nullptr, &angle), -1);
}

// Rings whose links disagree are reported and stop the tracing; a pair of
// segments on the two sides of one edge vanishes.
TEST(CalcBoundary, BrokenAndPhantomRings) {
    Model m(surfmesh::Plate(Kind::Quad4, 1, 1, 1.0, 1.0), "bdy_links");
    CKpBdy z, a, b, c;  // a -> b -> c -> b: c's successor does not know it
    z.SetNext(&a);
    a.SetPrev(&z), a.SetNext(&b);
    b.SetPrev(&a), b.SetNext(&c);
    c.SetPrev(&b), c.SetNext(&b);
    EXPECT_EQ(UpdateBoundary(&m.cap.log, &a), -1);
    CKpBdy* ring = &a;
    int changes = 7;
    EXPECT_EQ(CalcBoundaryAdvance(&m.cap.log, &m.facets, ring, &changes, nullptr, nullptr, nullptr),
              -1);
    EXPECT_EQ(changes, 0);  // nothing done on a broken ring
    EXPECT_EQ(m.cap.body(), "$# ERROR: Incorrect boundary pointers for byid 3\n");

    // Facets 0 and 1 of the quad share their edge 2.
    m.cap.reset();
    CKpBdy* s = new CKpBdy();
    CKpBdy* n = new CKpBdy();
    s->setFacet(0), s->setEdge(2), s->setDirn(1), s->SetNext(n), s->SetPrev(n);
    n->setFacet(1), n->setEdge(2), n->setDirn(1), n->SetNext(s), n->SetPrev(s);
    ring = s;
    CKpBdy* current = s;
    EXPECT_EQ(CalcBoundaryEdge(&m.cap.log, &m.facets, ring, current, 1, nullptr, nullptr, nullptr),
              1);
    EXPECT_TRUE(ring == nullptr && current == nullptr);
    // (The notice closes the two reports of the broken ring above.)
    EXPECT_EQ(
        m.cap.body(),
        "$# WARNING: (...repeated 2 times...)\n$# WARNING: Phantom interior boundary deleted.\n");

    EXPECT_EQ(newCKpBdyPtrA(0), nullptr);
}
