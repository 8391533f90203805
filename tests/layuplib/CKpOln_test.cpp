#include "layuplib/CKpOln.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/clear_pattern.h"
#include "tests/support/SurfaceMeshes.h"
#include "tests/support/Tolerance.h"

namespace {

// A grid drawn as rows of text, top row first (highest v): '#' is a point;
// the lowest row is v = 0 and the first column u = 0. Every pair of
// 4-neighbouring points is joined.
void drawGrid(CKpDrape& grid, const std::vector<std::string>& rows) {
    const int n = static_cast<int>(rows.size());
    for (int r = 0; r < n; ++r)
        for (int u = 0; u < static_cast<int>(rows[r].size()); ++u)
            if (rows[r][u] == '#') grid.pDrapePt(u, n - 1 - r, new CKpDrapePt());
    int umin, umax, vmin, vmax;
    grid.GetBounds(umin, umax, vmin, vmax);
    for (int v = vmin; v <= vmax; ++v)
        for (int u = umin; u <= umax; ++u) {
            if (grid.pDrapePt(u, v) && grid.pDrapePt(u + 1, v)) grid.Join(u, v, u + 1, v);
            if (grid.pDrapePt(u, v) && grid.pDrapePt(u, v + 1)) grid.Join(u, v, u, v + 1);
        }
}

// The ring from `head` as "(u,v)arriving>leaving" entries, checking the
// links both ways.
std::string walk(const CKpOln* head) {
    std::string out;
    const CKpOln* e = head;
    for (int n = 0; n < 1000; ++n) {
        out += (n ? " (" : "(") + std::to_string(e->getU()) + "," + std::to_string(e->getV()) +
               ")" + std::to_string(e->getArriving()) + ">" + std::to_string(e->getLeaving());
        EXPECT_EQ(e->Next()->Prev(), e);
        if ((e = e->Next()) == head) break;
    }
    return out;
}

}  // namespace

TEST(CKpOlnWalk, RectangleLShapeAndHoleWalkAnticlockwise) {
    {
        CKpDrape grid;
        drawGrid(grid, {"###", "###"});
        CKpOln* ring = nullptr;
        ASSERT_EQ(CalcOutline(nullptr, &grid, ring), 0);
        EXPECT_EQ(walk(ring), "(0,0)2>0 (1,0)4>0 (2,0)4>2 (2,1)6>4 (1,1)0>4 (0,1)0>6");
        DeleteOutline(ring);
    }
    {
        // The notch corner (1, 1) turns by 2, convex corners by 6.
        CKpDrape grid;
        drawGrid(grid, {"##.", "###", "###"});
        CKpOln* ring = nullptr;
        ASSERT_EQ(CalcOutline(nullptr, &grid, ring), 0);
        EXPECT_EQ(walk(ring),
                  "(0,0)2>0 (1,0)4>0 (2,0)4>2 (2,1)6>4 (1,1)0>2 (1,2)6>4 (0,2)0>6 (0,1)2>6");
        const CKpOln* notch = ring->Next()->Next()->Next()->Next();
        EXPECT_EQ((notch->getLeaving() - notch->getArriving() + 8) % 8, 2);
        EXPECT_EQ((ring->getLeaving() - ring->getArriving() + 8) % 8, 6);
        DeleteOutline(ring);
    }
    {
        // The hole's border is not walked: the ring is the outer one.
        CKpDrape grid;
        drawGrid(grid, {"###", "#.#", "###"});
        CKpOln* ring = nullptr;
        ASSERT_EQ(CalcOutline(nullptr, &grid, ring), 0);
        EXPECT_EQ(walk(ring),
                  "(0,0)2>0 (1,0)4>0 (2,0)4>2 (2,1)6>2 (2,2)6>4 (1,2)0>4 (0,2)0>6 (0,1)2>6");
        DeleteOutline(ring);
    }
    {
        // Diagonal touch: only the block holding the first point is walked.
        CKpDrape grid;
        drawGrid(grid, {"..##", "..##", "##..", "##.."});
        CKpOln* ring = nullptr;
        ASSERT_EQ(CalcOutline(nullptr, &grid, ring), 0);
        EXPECT_EQ(walk(ring), "(0,0)2>0 (1,0)4>2 (1,1)6>4 (0,1)0>6");
        DeleteOutline(ring);
    }
}

TEST(CKpOlnWalk, SinglePointEmptyGridAndJoinsThatDisagree) {
    MessageCapture cap("oln_walk");
    CKpDrape grid;
    CKpOln* ring = nullptr;
    EXPECT_EQ(CalcOutline(&cap.log, &grid, ring), -1);
    EXPECT_EQ(ring, nullptr);
    EXPECT_NE(cap.body().find("Pattern does not exist."), std::string::npos);

    grid.pDrapePt(-4, 7, new CKpDrapePt());
    cap.reset();
    ASSERT_EQ(CalcOutline(&cap.log, &grid, ring), 0);
    ASSERT_NE(ring, nullptr);
    EXPECT_EQ(ring->Next(), ring);
    EXPECT_EQ(ring->Prev(), ring);
    EXPECT_EQ(ring->getArriving(), 4);
    EXPECT_EQ(ring->getLeaving(), 4);
    EXPECT_EQ(ring->getU(), -4);
    EXPECT_NE(cap.body().find("Single outline point. This is probably due to the use of an "
                              "overlong steplength, and results in an inaccurate flat pattern."),
              std::string::npos);

    // (-4, 7) says it is joined to (-3, 7), which does not say so back: the
    // walk cannot return and is refused instead of running on.
    grid.pDrapePt(-3, 7, new CKpDrapePt());
    grid.pDrapePt(-4, 7)->SetJoined(0, 1);
    cap.reset();
    EXPECT_EQ(CalcOutline(&cap.log, &grid, ring), -1);
    EXPECT_EQ(ring, nullptr);
    EXPECT_NE(cap.body().find("Outline walk does not close."), std::string::npos);
}

TEST(CKpOlnLonely, SpikeTipsAreRemovedAndMarked) {
    MessageCapture cap("oln_lonely");
    CKpDrape grid;
    drawGrid(grid, {"##.", "###"});
    CKpOln* ring = nullptr;
    ASSERT_EQ(CalcOutline(nullptr, &grid, ring), 0);
    EXPECT_EQ(walk(ring), "(0,0)2>0 (1,0)4>0 (2,0)4>4 (1,0)0>2 (1,1)6>4 (0,1)0>6");
    ASSERT_EQ(RemoveLonelyPoints(&cap.log, &grid, ring), 0);
    EXPECT_EQ(walk(ring), "(0,0)2>0 (1,0)4>2 (1,1)6>4 (0,1)0>6");
    EXPECT_NE(cap.body().find("Removing lonely point (2,0)."), std::string::npos);
    EXPECT_EQ(grid.pDrapePt(2, 0)->GetIx(), -1);
    EXPECT_EQ(grid.pDrapePt(1, 0)->GetIx(), 0);
    DeleteOutline(ring);

    // The spike at the head: the head moves to the entry before.
    CKpDrape low;
    drawGrid(low, {".##", ".##", "##."});  // (0, 0) joined to (1, 0) only
    ASSERT_EQ(CalcOutline(nullptr, &low, ring), 0);
    EXPECT_EQ(ring->getU(), 0);
    EXPECT_EQ(ring->IsSpikeTip(), 1);
    // Removing (0, 0) leaves (1, 0) as the next tip: the whole stem goes,
    // the 2 x 2 block stays, and the head ends on the block.
    ASSERT_EQ(RemoveLonelyPoints(nullptr, &low, ring), 0);
    EXPECT_EQ(walk(ring), "(1,1)2>0 (2,1)4>2 (2,2)6>4 (1,2)0>6");
    EXPECT_EQ(low.pDrapePt(0, 0)->GetIx(), -1);
    EXPECT_EQ(low.pDrapePt(1, 0)->GetIx(), -1);
    EXPECT_EQ(low.pDrapePt(1, 1)->GetIx(), 0);
    DeleteOutline(ring);
}

TEST(CKpOlnLonely, OneAndTwoEntryRingsLeaveAnEmptyOutline) {
    MessageCapture cap("oln_lonely_small");
    CKpDrape one;
    one.pDrapePt(3, 3, new CKpDrapePt());
    CKpOln* ring = nullptr;
    ASSERT_EQ(CalcOutline(nullptr, &one, ring), 0);
    ASSERT_EQ(RemoveLonelyPoints(&cap.log, &one, ring), 0);
    EXPECT_EQ(ring, nullptr);
    EXPECT_EQ(one.pDrapePt(3, 3)->GetIx(), -1);
    EXPECT_NE(cap.body().find("Removing lonely point (3,3)."), std::string::npos);
    EXPECT_EQ(RemoveLonelyPoints(&cap.log, &one, ring), -1);

    // Two joined points, and a one-wide notched strip that is lonely all
    // through: every point is marked and nothing is left.
    CKpDrape two;
    drawGrid(two, {"##"});
    ASSERT_EQ(CalcOutline(nullptr, &two, ring), 0);
    EXPECT_EQ(walk(ring), "(0,0)0>0 (1,0)4>4");
    ASSERT_EQ(RemoveLonelyPoints(nullptr, &two, ring), 0);
    EXPECT_EQ(ring, nullptr);
    EXPECT_EQ(two.pDrapePt(1, 0)->GetIx(), -1);

    CKpDrape strip;
    drawGrid(strip, {"###", "#.#"});
    ASSERT_EQ(CalcOutline(nullptr, &strip, ring), 0);
    ASSERT_EQ(RemoveLonelyPoints(nullptr, &strip, ring), 0);
    EXPECT_EQ(ring, nullptr);
    for (int i = 0; i < 6; ++i) {
        if (CKpDrapePt* p = strip.pDrapePt(i % 3, i / 3)) {
            EXPECT_EQ(p->GetIx(), -1) << i;
        }
    }
}

TEST(CKpOlnJoin, DeleteLoopShortCutsToAGridNeighbour) {
    CKpDrape grid;
    drawGrid(grid, {"###", "###"});
    CKpOln* ring = nullptr;
    ASSERT_EQ(CalcOutline(nullptr, &grid, ring), 0);
    CKpOln* last = ring->Prev();                      // (0, 1)
    CKpOln* opposite = ring->Next()->Next()->Next();  // (2, 1)
    EXPECT_EQ(ring->DeleteLoop(opposite), -1);
    EXPECT_EQ(ring->DeleteLoop(nullptr), -1);
    ASSERT_EQ(ring->DeleteLoop(last), 0);
    EXPECT_EQ(walk(ring), "(0,0)2>2 (0,1)6>6");
    // A neighbour that is not on the ring is refused.
    CKpOln stray(1, 1, 0, 4, 0);
    EXPECT_EQ(ring->DeleteLoop(&stray), -1);
    DeleteOutline(ring);
}

// Joining across a gap on a flat plate: the two points lie 1 apart along
// x; their fibre path is the straight segment between them.
TEST(CKpOlnJoin, JoinPointsAcrossAGap) {
    surfmesh::Faceted plate("oln_join", surfmesh::Plate(surfmesh::Kind::Quad4, 4, 1, 4.0, 1.0));
    ASSERT_EQ(plate.status, 1);
    CKpFacetStore* facets = &plate.s.facets;
    auto build = [&](CKpDrape& grid, CKpOln* ring[3]) {
        // A at (0, 0) on facet 0, B at (1, 0) on facet 2, both slightly off
        // the straight line in angle; the ring A -> M -> B -> A.
        const double xs[2] = {0.5, 1.5};
        for (int i = 0; i < 2; ++i) {
            auto* p = new CKpDrapePt();
            CKpPoint at;
            at.Set(xs[i], 0.25, 0.0);
            p->SetPoint(at);
            p->SetFacet(2 * i);
            p->SetDnfg(1);
            p->SetWarpAng(0.05);
            p->SetWeftAng(std::acos(0.0));
            grid.pDrapePt(i, 0, p);
        }
        ring[0] = new CKpOln(1, 0, 0, 0, 2);
        ring[1] = new CKpOln(2, 5, 5, 6, 2);
        ring[2] = new CKpOln(3, 1, 0, 4, 4);
        for (int i = 0; i < 3; ++i) {
            ring[i]->SetNext(ring[(i + 1) % 3]);
            ring[(i + 1) % 3]->SetPrev(ring[i]);
        }
    };
    CKpDrape grid;
    CKpOln* ring[3];
    build(grid, ring);
    CKpOln* head = ring[0];
    EXPECT_EQ(CKpOln::JoinPoints(nullptr, nullptr, &grid, 1.0, 1.0, 0.01, ring[0], ring[2]), 1);
    EXPECT_EQ(CKpOln::JoinPoints(nullptr, facets, &grid, 1.0, 1.0, 0.01, ring[0], ring[1]), 2);
    EXPECT_EQ(CKpOln::JoinPoints(nullptr, facets, &grid, 3.0, 1.0, 0.01, ring[0], ring[2]), 7);
    EXPECT_EQ(CKpOln::JoinPoints(nullptr, facets, &grid, 1.05, 1.0, 0.01, ring[0], ring[2]), 8);
    EXPECT_EQ(walk(head), "(0,0)0>2 (5,5)6>2 (1,0)4>4");  // nothing changed so far
    ASSERT_EQ(CKpOln::JoinPoints(nullptr, facets, &grid, 1.0, 1.0, 0.01, ring[0], ring[2]), 0);
    EXPECT_EQ(walk(head), "(0,0)0>0 (1,0)4>4");
    CKpDrapePt* a = grid.pDrapePt(0, 0);
    CKpDrapePt* b = grid.pDrapePt(1, 0);
    EXPECT_EQ(a->GetJoined(0) + b->GetJoined(2), 2);
    // The facing sides carry the straight path; the far sides keep theirs.
    EXPECT_TRUE(Near(a->GetWarpAngPlus(), 0.0, tol::loose));
    EXPECT_TRUE(Near(b->GetWarpAngMinus(), 0.0, tol::loose));
    EXPECT_EQ(a->GetWarpAngMinus(), 0.05);
    EXPECT_EQ(b->GetWarpAngPlus(), 0.05);
    DeleteOutline(head);

    // From B back to A (A on B's -u side): the same sides face each other.
    CKpDrape back;
    build(back, ring);
    head = ring[0];
    ASSERT_EQ(CKpOln::JoinPoints(nullptr, facets, &back, 1.0, 1.0, 0.01, ring[2], ring[0]), 0);
    EXPECT_TRUE(Near(back.pDrapePt(1, 0)->GetWarpAngMinus(), 0.0, tol::loose));
    EXPECT_TRUE(Near(back.pDrapePt(0, 0)->GetWarpAngPlus(), 0.0, tol::loose));
    DeleteOutline(head);

    // Rows and columns that are not neighbours.
    CKpDrape spread;
    drawGrid(spread, {"#.#", "...", "#.#"});
    CKpOln o(1, 0, 0, 0, 0), row(2, 2, 0, 0, 0), col(3, 0, 2, 0, 0), diag(4, 2, 2, 0, 0);
    EXPECT_EQ(CKpOln::JoinPoints(nullptr, facets, &spread, 1, 1, 0.01, &o, &row), 3);
    EXPECT_EQ(CKpOln::JoinPoints(nullptr, facets, &spread, 1, 1, 0.01, &o, &col), 4);
    EXPECT_EQ(CKpOln::JoinPoints(nullptr, facets, &spread, 1, 1, 0.01, &o, &diag), 5);
}
