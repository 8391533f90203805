#include "layuplib/CKpFacet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpNode.h"
#include "layuplib/angle_util.h"
#include "tests/support/Tolerance.h"

namespace {

// An element of `gmtp` whose perimeter nodes are `nodes` in order.
std::unique_ptr<CKpElem> makeElem(int id, int gmtp, const std::vector<CKpNode*>& nodes) {
    auto elem = std::make_unique<CKpElem>(id, gmtp);
    for (size_t i = 0; i < nodes.size(); ++i) elem->setckpnodes(static_cast<int>(i), nodes[i]);
    return elem;
}

void setVertices(CKpFacet& f, CKpNode* a, CKpNode* b, CKpNode* c) {
    f.setCKpNode(0, a);
    f.setCKpNode(1, b);
    f.setCKpNode(2, c);
}

}  // namespace

// quad4 c0 c1 c2 c3 cut into A = (c0, c1, c2) and B = (c2, c3, c0):
//   c3 ---- c2
//   |  B  / |
//   |   /  A|
//   c0 ---- c1
TEST(CKpFacet, ElementEdgeOfEachFacetEdge) {
    CKpNode c0(1), c1(2), c2(3), c3(4);
    auto quad = makeElem(10, 1, {&c0, &c1, &c2, &c3});
    CKpFacet a(0), b(1);
    a.setElement(quad.get());
    b.setElement(quad.get());
    setVertices(a, &c0, &c1, &c2);
    setVertices(b, &c2, &c3, &c0);

    const int expectA[3] = {0, 1, -1};  // edge 2 is the cut inside the quad
    const int expectB[3] = {2, 3, -1};
    for (int e = 0; e < 3; ++e) {
        CKpElem* elem = nullptr;
        int edge = 99;
        a.GetElemOnEdge(e, &elem, edge);
        EXPECT_EQ(elem, quad.get());
        EXPECT_EQ(edge, expectA[e]) << "A edge " << e;
        b.GetElemOnEdge(e, &elem, edge);
        EXPECT_EQ(edge, expectB[e]) << "B edge " << e;
    }
    int edge = 99;
    a.GetElemOnEdge(3, nullptr, edge);
    EXPECT_EQ(edge, -1);

    // The same two nodes in the opposite sense are no element edge.
    CKpFacet flipped(2);
    flipped.setElement(quad.get());
    setVertices(flipped, &c1, &c0, &c3);
    flipped.GetElemOnEdge(0, nullptr, edge);
    EXPECT_EQ(edge, -1);

    // quad8: facet j = (p_j, p_j+1, centre) lies on perimeter segment j,
    // the closing segment included.
    std::vector<std::unique_ptr<CKpNode>> owned;
    std::vector<CKpNode*> p;
    for (int i = 0; i < 8; ++i) {
        owned.push_back(std::make_unique<CKpNode>(i + 1));
        p.push_back(owned.back().get());
    }
    CKpNode centre(9);
    auto quad8 = makeElem(11, 2, p);
    for (int j = 0; j < 8; ++j) {
        CKpFacet f(j);
        f.setElement(quad8.get());
        setVertices(f, p[j], p[(j + 1) % 8], &centre);
        int onCentre = 0;
        f.GetElemOnEdge(1, nullptr, onCentre);
        f.GetElemOnEdge(0, nullptr, edge);
        EXPECT_EQ(edge * 10 + onCentre, 10 * j - 1);
    }

    CKpFacet lone(5);  // no element
    CKpElem* elem = quad.get();
    lone.GetElemOnEdge(0, &elem, edge);
    EXPECT_TRUE(elem == nullptr && edge == -1 && lone.GetElemId() == -1);
}

TEST(CKpFacet, NeighbourCodesDecode) {
    CKpFacet f(0);
    struct Case {
        int code, edge, dnfg, divided, connected;
    };
    const Case cases[] = {{-1, -1, 0, 0, 0},    {0, 0, -1, 0, 1},    {2, 2, -1, 0, 1},
                          {3, 0, 1, 0, 1},      {5, 2, 1, 0, 1},     {0 - 7, 0, -1, 1, 0},
                          {2 - 7, 2, -1, 1, 0}, {4 - 7, 1, 1, 1, 0}, {5 - 7, 2, 1, 1, 0}};
    for (const Case& c : cases) {
        f.setNedge(1, c.code);
        EXPECT_EQ((std::vector<int>{f.GetNeighEdge(1), f.GetNeighDnfg(1), f.GetNeighDivided(1),
                                    f.GetNeighConnected(1)}),
                  (std::vector<int>{c.edge, c.dnfg, c.divided, c.connected}))
            << c.code;
    }
    f.setNedge(3, 4);  // outside the edges: ignored, and read as "none"
    EXPECT_EQ(f.GetNeighDnfg(3) + f.GetNeighEdge(-1) + f.getNeigh(3), -2);
    EXPECT_EQ(f.getNeigha(3), nullptr);
}

TEST(CKpFacet, GeometryOfARightTriangle) {
    CKpNode n0(1), n1(2), n2(3);
    n0.setCKpPoint(0, 0, 0);
    n1.setCKpPoint(2, 0, 0);
    n2.setCKpPoint(0, 2, 0);
    CKpFacet f(0);
    setVertices(f, &n0, &n1, &n2);

    CKpDirn n;
    f.GetNormal(&n);
    EXPECT_TRUE(Near(n.getz(), 1.0, tol::length) && Near(f.Area(), 2.0, tol::length));
    EXPECT_TRUE(Near(f.GetVertexAngle(0), kPi / 2, tol::angle));
    EXPECT_TRUE(Near(f.GetVertexAngle(1), kPi / 4, tol::angle));
    EXPECT_EQ(f.GetVertex(3) * 10 + f.GetVertex(7), 19);
    CKpDirn up;
    up.Set(0, 1, 0);
    EXPECT_TRUE(Near(f.GetAngle(&up), kPi / 2, tol::angle));
    const CKpDirn d = f.GetDirn(kPi / 2);
    EXPECT_TRUE(Near(d.gety(), 1.0, tol::length) && Near(d.getx(), 0.0, tol::length));
    CKpPoint p;
    f.MoveToCentroid(&p, 0.5);
    EXPECT_TRUE(Near(p.getx(), 1.0 / 3, tol::length) && Near(p.gety(), 1.0 / 3, tol::length));

    CKpFacet bare(1);  // no nodes: everything degenerate, nothing crashes
    bare.GetNormal(&n);
    EXPECT_TRUE(n.IsNull() && bare.Area() == 0.0 && bare.GetAngle(&up) == 0.0);
}

TEST(CKpFacet, CopiesShareThePartnerArraysButNotTheirSlots) {
    CKpFacet f(7);
    EXPECT_TRUE(!f.getNeigha(0) && !f.getNedgea(2));
    f.setNeigha(1, nullptr);  // nothing to keep: still none
    EXPECT_EQ(f.getNeigha(1), nullptr);
    int facets[2] = {3, 4}, codes[2] = {0, 5}, other[1] = {9};
    f.setNeighn(1, 2);
    f.setNeigha(1, facets);
    f.setNedgea(1, codes);
    f.setNeigh(2, 11);
    EXPECT_TRUE(f.getNeigha(1) == facets && f.getNedgea(1) == codes && !f.getNeigha(0) &&
                !f.getNedgea(2) && !f.getNeigha(3));

    // A copy holds the same arrays; setting its own slots leaves the
    // original's alone, and the other way round.
    CKpFacet copy(f);
    EXPECT_TRUE(copy.id() == 7 && copy.getNeigh(2) == 11 && copy.getNeighn(1) == 2 &&
                copy.getNeigha(1) == facets && copy.getNedgea(1) == codes);
    copy.setNeigha(1, other);
    copy.setNedgea(0, other);
    EXPECT_TRUE(f.getNeigha(1) == facets && !f.getNedgea(0));
    f.setNeigha(1, nullptr);
    EXPECT_EQ(copy.getNeigha(1), other);

    // Assignment replaces every slot, also with none.
    CKpFacet plain(1);
    copy = plain;
    EXPECT_TRUE(copy.id() == 1 && !copy.getNeigha(1) && !copy.getNedgea(0) &&
                copy.getNeigh(2) == -1);
    plain = f;
    EXPECT_TRUE(plain.id() == 7 && !plain.getNeigha(1) && plain.getNedgea(1) == codes);
    const CKpFacet& self = plain;  // assignment to itself keeps the record
    plain = self;
    EXPECT_EQ(plain.getNedgea(1), codes);
}

TEST(CKpFacetStore, SlotsOwnershipAndReinit) {
    CKpFacetStore store;
    EXPECT_EQ(store.pFac(0), nullptr);
    CKpNode c0(1), c1(2), c2(3);
    auto tria = makeElem(40, 11, {&c0, &c1, &c2});
    store.setFacets(alloc_pfacet(3), 3);
    ASSERT_EQ(store.entries(), 3);
    for (int i = 0; i < 3; ++i) {
        auto* f = new CKpFacet(i);
        if (i == 1) f->setElement(tria.get());
        EXPECT_EQ(store.pFac(i, f), 0);
    }
    auto* extra = new CKpFacet(3);
    EXPECT_EQ(store.pFac(3, extra), -1);
    delete extra;

    // A branch edge with two partners: arrays from malloc, freed by reinit.
    CKpFacet* f0 = store.pFac(0);
    f0->setNeighn(0, 2);
    f0->setNeigha(0, static_cast<int*>(std::malloc(2 * sizeof(int))));
    f0->setNedgea(0, static_cast<int*>(std::malloc(2 * sizeof(int))));

    EXPECT_TRUE(store.iOK(2) && !store.iOK(3));
    EXPECT_EQ((std::vector<int>{store.GetElemId(1), store.GetElemId(0), store.GetElemId(-1)}),
              (std::vector<int>{40, -1, -1}));

    store.reinit();
    EXPECT_TRUE(store.entries() == 0 && !store.ppFac() && !store.pFac(0));
    store.setFacets(alloc_pfacet(2), 0);  // count below 1: array freed
    EXPECT_EQ(store.entries(), 0);
    store.setFacets(alloc_pfacet(1), 1);
    EXPECT_EQ(store.pFac(0, new CKpFacet(0)), 0);  // released by the destructor
}

// Stores skip reading their facets at teardown while no facet anywhere has
// partner arrays, so the count of pointer records must follow every copy,
// assignment and destruction.
TEST(CKpFacet, PointerRecordsAreCountedWhileTheyLive) {
    const long before = CKpFacet::branchRecords();
    int facets[2] = {3, 4};
    {
        CKpFacet f(1);
        f.setNeigha(1, nullptr);  // no array: no record
        EXPECT_EQ(CKpFacet::branchRecords(), before);
        f.setNeigha(1, facets);
        f.setNedgea(2, facets);  // the same record
        EXPECT_EQ(CKpFacet::branchRecords(), before + 1);
        CKpFacet copy(f);
        EXPECT_EQ(CKpFacet::branchRecords(), before + 2);
        copy = CKpFacet(5);
        EXPECT_EQ(CKpFacet::branchRecords(), before + 1);
        copy = f;
        const CKpFacet& self = f;  // assignment to itself keeps one record
        f = self;
        EXPECT_EQ(CKpFacet::branchRecords(), before + 2);
    }
    EXPECT_EQ(CKpFacet::branchRecords(), before);

    // A store's teardown destroys its facets' records and frees their
    // arrays (leaks show under AddressSanitizer, where nothing is pooled).
    CKpFacetStore store;
    store.setFacets(alloc_pfacet(3), 3);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(store.pFac(i, new CKpFacet(i)), 0);
    store.pFac(2)->setNeighn(0, 2);
    store.pFac(2)->setNeigha(0, static_cast<int*>(std::malloc(2 * sizeof(int))));
    EXPECT_EQ(CKpFacet::branchRecords(), before + 1);
    store.reinit();
    EXPECT_TRUE(CKpFacet::branchRecords() == before && store.entries() == 0);
    store.setFacets(alloc_pfacet(2), 2);
    for (int i = 0; i < 2; ++i) ASSERT_EQ(store.pFac(i, new CKpFacet(i)), 0);
    store.reinit();
    EXPECT_TRUE(CKpFacet::branchRecords() == before && store.entries() == 0);
}
