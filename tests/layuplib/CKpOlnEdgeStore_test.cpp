#include "layuplib/CKpOlnEdgeStore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpOln.h"
#include "layuplib/clear_pattern.h"

namespace {

// Rows of text, top row first: '#' a point; all 4-neighbours joined.
void drawJoined(CKpDrape& grid, const std::vector<std::string>& rows) {
    const int n = static_cast<int>(rows.size());
    for (int r = 0; r < n; ++r)
        for (int u = 0; u < static_cast<int>(rows[r].size()); ++u)
            if (rows[r][u] == '#') grid.pDrapePt(u, n - 1 - r, new CKpDrapePt());
    for (int v = 0; v < n; ++v)
        for (int u = 0; u < 8; ++u) {
            grid.Join(u, v, u + 1, v);
            grid.Join(u, v, u, v + 1);
        }
}

struct Edge {
    int u0, v0, u1, v1, dir;
};

std::vector<Edge> edges(const CKpOlnEdgeStore& store) {
    std::vector<Edge> out;
    for (const CKpOlnEdge* e = store.First(); e; e = store.Next(e))
        out.push_back({e->GetStart()->getU(), e->GetStart()->getV(), e->GetEnd()->getU(),
                       e->GetEnd()->getV(), e->GetDirection()});
    return out;
}

void expectEdges(const CKpOlnEdgeStore& store, const std::vector<Edge>& want) {
    const std::vector<Edge> got = edges(store);
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].u0, want[i].u0) << i;
        EXPECT_EQ(got[i].v0, want[i].v0) << i;
        EXPECT_EQ(got[i].u1, want[i].u1) << i;
        EXPECT_EQ(got[i].v1, want[i].v1) << i;
        EXPECT_EQ(got[i].dir, want[i].dir) << i;
    }
}

}  // namespace

TEST(CKpOlnEdgeStore, CornersSplitTheRingIntoStraightEdges) {
    CKpDrape grid;
    drawJoined(grid, {"###", "###"});
    grid.pDrapePt(1, 0)->SetStrn(-0.4);
    grid.pDrapePt(2, 1)->SetStrn(0.3);
    CKpOln* ring = nullptr;
    ASSERT_EQ(CalcOutline(nullptr, &grid, ring), 0);
    CKpOlnEdgeStore store;
    // Started from a straight entry, the walk first goes back to (0, 0).
    ASSERT_EQ(store.Create(&grid, ring->Next()), 0);
    expectEdges(store, {{0, 0, 2, 0, 0}, {2, 0, 2, 1, 2}, {2, 1, 0, 1, 4}, {0, 1, 0, 0, 6}});
    const CKpOlnEdge* bottom = store.First();
    EXPECT_DOUBLE_EQ(bottom->GetAbsMaxStrain(), 0.4);
    EXPECT_DOUBLE_EQ(store.Next(bottom)->GetAbsMaxStrain(), 0.3);
    EXPECT_DOUBLE_EQ(store.Last()->GetAbsMaxStrain(), 0.0);
    EXPECT_EQ(bottom->IsSpike(), 0);
    // Turned by a right angle the bottom edge runs along the weft.
    EXPECT_EQ(bottom->WeftExtend(0), 0);
    EXPECT_EQ(bottom->WeftExtend(1), 1);
    EXPECT_EQ(store.Next(bottom)->WeftExtend(0), 1);
    EXPECT_EQ(store.Next(bottom)->WeftExtend(-1), 0);

    // Without a grid the strains stay 0; rebuilding empties the store first.
    ASSERT_EQ(store.Create(nullptr, ring), 0);
    EXPECT_EQ(store.entries(), 4);
    EXPECT_EQ(store.First()->GetAbsMaxStrain(), 0.0);
    EXPECT_EQ(store.Create(&grid, nullptr), -1);
    EXPECT_EQ(store.entries(), 0);
    DeleteOutline(ring);
}

TEST(CKpOlnEdgeStore, SpikeTipsGiveASpikeEdge) {
    CKpDrape grid;
    drawJoined(grid, {"##.", "###"});
    CKpOln* ring = nullptr;
    ASSERT_EQ(CalcOutline(nullptr, &grid, ring), 0);
    CKpOlnEdgeStore store;
    ASSERT_EQ(store.Create(&grid, ring), 0);
    expectEdges(store, {{0, 0, 2, 0, 0},
                        {2, 0, 2, 0, 2},
                        {2, 0, 1, 0, 4},
                        {1, 0, 1, 1, 2},
                        {1, 1, 0, 1, 4},
                        {0, 1, 0, 0, 6}});
    EXPECT_EQ(store.GetIndex(1)->IsSpike(), 1);
    DeleteOutline(ring);

    // A single point: one edge round itself and its spike.
    CKpDrape one;
    one.pDrapePt(0, 0, new CKpDrapePt());
    ASSERT_EQ(CalcOutline(nullptr, &one, ring), 0);
    ASSERT_EQ(store.Create(&one, ring), 0);
    expectEdges(store, {{0, 0, 0, 0, 4}, {0, 0, 0, 0, 2}});
    DeleteOutline(ring);

    // A hand-made ring of straight entries only has no corner.
    CKpOln* a = new CKpOln(1, 0, 0, 4, 0);
    CKpOln* b = new CKpOln(2, 1, 0, 4, 0);
    a->SetNext(b);
    b->SetNext(a);
    a->SetPrev(b);
    b->SetPrev(a);
    EXPECT_EQ(store.Create(nullptr, a), -1);
    EXPECT_EQ(store.entries(), 0);
    DeleteOutline(a);
}
