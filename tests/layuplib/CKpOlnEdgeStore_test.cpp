#include "layuplib/CKpOlnEdgeStore.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpOln.h"
#include "layuplib/clear_pattern.h"

// The outline of
//     ##.
//     ###      (v = 0 the lower row, every 4-neighbour joined)
// has a spike to (2, 0), a notch corner at (1, 0) and four convex corners.
TEST(CKpOlnEdgeStore, CornersSplitTheRingAndSpikeTipsGetASpikeEdge) {
    CKpDrape grid;
    const int pts[5][2] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}};
    for (const auto& p : pts) grid.pDrapePt(p[0], p[1], new CKpDrapePt());
    grid.Join(0, 0, 1, 0);
    grid.Join(1, 0, 2, 0);
    grid.Join(0, 1, 1, 1);
    grid.Join(0, 0, 0, 1);
    grid.Join(1, 0, 1, 1);
    grid.pDrapePt(1, 0)->SetStrn(-0.4);
    grid.pDrapePt(1, 1)->SetStrn(0.3);
    CKpOln* ring = nullptr;
    ASSERT_EQ(CalcOutline(nullptr, &grid, ring), 0);

    CKpOlnEdgeStore store;
    // Started from the straight entry (1, 0), the walk first goes back to
    // the corner (0, 0).
    ASSERT_EQ(store.Create(&grid, ring->Next()), 0);
    // start u, v, end u, v, direction, maximum strain x 10
    const std::vector<std::array<int, 6>> want = {{0, 0, 2, 0, 0, 4}, {2, 0, 2, 0, 2, 0},
                                                  {2, 0, 1, 0, 4, 4}, {1, 0, 1, 1, 2, 4},
                                                  {1, 1, 0, 1, 4, 3}, {0, 1, 0, 0, 6, 0}};
    ASSERT_EQ(store.entries(), static_cast<int>(want.size()));
    const CKpOlnEdge* e = store.First();
    for (size_t i = 0; i < want.size(); ++i, e = store.Next(e)) {
        const std::array<int, 6> got = {
            e->GetStart()->getU(), e->GetStart()->getV(),
            e->GetEnd()->getU(),   e->GetEnd()->getV(),
            e->GetDirection(),     static_cast<int>(e->GetAbsMaxStrain() * 10 + 0.5)};
        EXPECT_EQ(got, want[i]) << "edge " << i;
        EXPECT_EQ(e->IsSpike(), i == 1 ? 1 : 0);
    }
    // Turned by a right angle the bottom edge runs along the weft.
    EXPECT_EQ(store.First()->WeftExtend(0), 0);
    EXPECT_EQ(store.First()->WeftExtend(1), 1);
    EXPECT_EQ(store.GetIndex(3)->WeftExtend(-2), 1);

    EXPECT_EQ(store.Create(&grid, nullptr), -1);
    EXPECT_EQ(store.entries(), 0);
    DeleteOutline(ring);

    // A single point: one edge round itself and its spike.
    CKpDrape one;
    one.pDrapePt(0, 0, new CKpDrapePt());
    ASSERT_EQ(CalcOutline(nullptr, &one, ring), 0);
    ASSERT_EQ(store.Create(nullptr, ring), 0);
    ASSERT_EQ(store.entries(), 2);
    EXPECT_EQ(store.First()->GetDirection(), 4);
    EXPECT_EQ(store.Last()->GetDirection(), 2);
    DeleteOutline(ring);
}
