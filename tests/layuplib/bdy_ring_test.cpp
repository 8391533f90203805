#include "layuplib/bdy_ring.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "layuplib/CKpBdy.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CalcBoundary.h"
#include "tests/support/FacetSurface.h"

namespace {

using meshgen::Kind;

// A ring of n segments whose facet numbers are 0..n-1 in ring order.
std::vector<CKpBdy*> makeRing(int n) {
    std::vector<CKpBdy*> segs;
    for (int i = 0; i < n; ++i) segs.push_back(bdy_ring::NewSegment(i, 0, 1));
    for (int i = 0; i < n; ++i) {
        segs[i]->SetNext(segs[(i + 1) % n]);
        segs[i]->SetPrev(segs[(i + n - 1) % n]);
    }
    return segs;
}

// The facet numbers of a ring from its head, after checking its links.
std::vector<int> facetsOf(CKpBdy* ring) {
    std::vector<int> out;
    if (!ring) return out;
    EXPECT_EQ(UpdateBoundary(nullptr, ring), 0);
    const CKpBdy* s = ring;
    do {
        out.push_back(s->getFacet());
        s = s->Next();
    } while (s != ring);
    EXPECT_EQ(bdy_ring::RingSize(ring), static_cast<int>(out.size()));
    return out;
}

// (facet, edge) pairs of a ring from `from` on.
std::vector<std::pair<int, int>> segmentsFrom(const CKpBdy* from) {
    std::vector<std::pair<int, int>> out;
    const CKpBdy* s = from;
    do {
        out.emplace_back(s->getFacet(), s->getEdge());
        s = s->Next();
    } while (s != from && out.size() < 100);
    return out;
}

// Two facets sharing their edge 2, the second running the other way along
// it (code 5): a quad cut along its diagonal. `failOn` is a facet the walk
// cannot paint (as when the record of a facet reached again cannot be
// kept).
struct TwoFacets {
    int marks[2] = {0, 0};
    int failOn = -1;
    int painted_count = 0;

    int entries() const { return 2; }
    int neighbour(int facet, int edge, int* code) const {
        if ((facet != 0 && facet != 1) || edge != 2) return -1;
        *code = 5;
        return 1 - facet;
    }
    bool painted(int facet) const { return marks[facet] != 0; }
    int paint(int facet, int dirn) {
        if (facet == failOn) return -1;
        marks[facet] = dirn;
        ++painted_count;
        return 0;
    }
};

}  // namespace

// Blocks in the middle, across the head, the whole ring and more than it:
// the ring stays closed and the walk goes on after (or before) the block.
TEST(BdyRing, RemoveBlockKeepsTheRingClosed) {
    for (int sense : {1, -1}) {
        std::vector<CKpBdy*> segs = makeRing(6);
        CKpBdy* ring = segs[0];
        CKpBdy* current = segs[2];
        bdy_ring::RemoveBlock(ring, current, segs[2], 2, sense, nullptr);
        EXPECT_EQ(facetsOf(ring), (std::vector<int>{0, 1, 4, 5})) << sense;
        EXPECT_EQ(current, sense > 0 ? segs[4] : segs[1]) << sense;

        // Across the head (5, 0, 1): the head moves past the block.
        bdy_ring::RemoveBlock(ring, current, segs[5], 3, sense, nullptr);
        EXPECT_EQ(ring, segs[4]) << sense;
        EXPECT_EQ(facetsOf(ring), (std::vector<int>{4})) << sense;
        EXPECT_EQ(current, segs[4]) << sense;
        bdy_ring::DeleteReachable(ring);
        EXPECT_EQ(ring, nullptr);
    }

    // A segment to stay on is kept whichever way the walk goes.
    std::vector<CKpBdy*> segs = makeRing(4);
    CKpBdy* ring = segs[0];
    CKpBdy* current = segs[0];
    bdy_ring::RemoveBlock(ring, current, segs[1], 1, -1, segs[3]);
    EXPECT_EQ(facetsOf(ring), (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(current, segs[3]);

    // Three from a ring of three, then three from a ring of two: it vanishes.
    bdy_ring::RemoveBlock(ring, current, segs[2], 3, 1, nullptr);
    EXPECT_EQ(ring, nullptr);
    EXPECT_EQ(current, nullptr);
    segs = makeRing(2);
    ring = segs[1];
    current = segs[1];
    bdy_ring::RemoveBlock(ring, current, segs[0], 3, 1, nullptr);
    EXPECT_TRUE(ring == nullptr && current == nullptr);
    EXPECT_EQ(bdy_ring::RingSize(nullptr), 0);
}

// Growing backward builds the same ring as growing forward; only the
// position the walk is left at differs: forward on the later of the
// neighbour's two edges, backward on the earlier.
TEST(BdyRing, GrowthStepSameRingEitherWay) {
    std::vector<std::pair<int, int>> rings[2];
    for (int way = 0; way < 2; ++way) {
        const int sense = way == 0 ? 1 : -1;
        FacetSurface m;
        ASSERT_EQ(m.Build(surfmesh::Plate(Kind::Quad4, 1, 1, 1.0, 1.0)), 2);
        m.facets.ReinitPntd();
        int shared = -1;
        for (int e = 0; e < 3; ++e)
            if (m.facets.pFac(0)->getNeigh(e) == 1) shared = e;
        ASSERT_GE(shared, 0);

        std::vector<CKpBdy*> segs = makeRing(3);
        for (int e = 0; e < 3; ++e) segs[e]->setFacet(0), segs[e]->setEdge(e);
        CKpBdy* ring = segs[0];
        m.facets.pFac(0)->setPntd(1);
        CKpBdy* current = segs[shared];
        int count = 0, ids[2] = {-1, -1}, dirs[2] = {0, 0};
        ASSERT_EQ(CalcBoundaryEdge(nullptr, &m.facets, ring, current, sense, &count, ids, dirs), 1);
        ASSERT_NE(current, nullptr);
        EXPECT_EQ(current->getFacet(), 1);
        EXPECT_EQ(count, 1);
        EXPECT_EQ(ids[0], 1);
        EXPECT_EQ(m.facets.pFac(1)->getPntd(), 1);
        EXPECT_EQ(m.facets.pFac(1)->getFacetDirection(), dirs[0]);
        EXPECT_EQ(dirs[0], 1);  // a consistently oriented plate

        // Four segments joining end to start round the quad.
        ASSERT_EQ(UpdateBoundary(nullptr, ring), 0);
        ASSERT_EQ(bdy_ring::RingSize(ring), 4);
        const CKpBdy* s = ring;
        do {
            const CKpNode* end = m.facets.pFac(s->getFacet())->getCKpNode(s->vx1());
            const CKpBdy* t = s->Next();
            EXPECT_EQ(end, m.facets.pFac(t->getFacet())->getCKpNode(t->vx0()));
            s = t;
        } while (s != ring);

        // Read from the neighbour's first edge on, to compare the two.
        CKpBdy* first = sense > 0 ? current->Prev() : current;
        rings[way] = segmentsFrom(first);
        EXPECT_EQ((sense > 0 ? current->Prev() : current->Next())->getFacet(), 1);
        bdy_ring::DeleteReachable(ring);
    }
    EXPECT_EQ(rings[0], rings[1]);
}

// The walk over another surface: the same ring, and a facet that cannot be
// painted fails the step with the ring and the marks as they were.
TEST(BdyRing, GrowthOnAnySurfaceAndFailedPaint) {
    TwoFacets quad;
    CKpBdy* ring = nullptr;
    ASSERT_EQ(bdy_ring::GrowRegion(nullptr, quad, 0, 1, ring), 0);
    EXPECT_EQ(quad.marks[0], 1);
    EXPECT_EQ(quad.marks[1], 1);
    ASSERT_NE(ring, nullptr);
    const std::vector<std::pair<int, int>> grown = segmentsFrom(ring);
    EXPECT_EQ(grown, (std::vector<std::pair<int, int>>{{0, 0}, {0, 1}, {1, 0}, {1, 1}}));
    bdy_ring::DeleteReachable(ring);

    TwoFacets stuck;
    stuck.failOn = 1;
    std::vector<CKpBdy*> segs = makeRing(3);
    for (int e = 0; e < 3; ++e) segs[e]->setFacet(0), segs[e]->setEdge(e);
    ring = segs[0];
    stuck.marks[0] = 1;
    CKpBdy* current = segs[2];
    EXPECT_EQ(bdy_ring::GrowRingEdge(nullptr, stuck, ring, current, 1), -1);
    EXPECT_EQ(ring, segs[0]);
    EXPECT_EQ(current, segs[2]);
    EXPECT_EQ(segmentsFrom(ring), (std::vector<std::pair<int, int>>{{0, 0}, {0, 1}, {0, 2}}));
    EXPECT_EQ(stuck.marks[1], 0);
    bdy_ring::DeleteReachable(ring);

    // The whole walk fails with nothing left over; the start could not be
    // painted either.
    EXPECT_EQ(bdy_ring::GrowRegion(nullptr, stuck, 0, 1, ring), -1);
    EXPECT_EQ(ring, nullptr);
    TwoFacets none;
    none.failOn = 0;
    EXPECT_EQ(bdy_ring::GrowRegion(nullptr, none, 0, -1, ring), -1);
    EXPECT_EQ(ring, nullptr);
    EXPECT_EQ(none.painted_count, 0);
}
