#include "layuplib/CKpBdyStore.h"

#include <gtest/gtest.h>

#include "layuplib/CKpFlatPatPtBdyStore.h"

TEST(CKpBdyStore, ReinitEmptiesRingsAndIdSets) {
    CKpBdyStore bdys(0);
    EXPECT_EQ(bdys.GetStartFacet(), -1);
    EXPECT_EQ(bdys.GetNumBdys(), 0);
    EXPECT_EQ(bdys.GetBdy(0), nullptr);
    bdys.AddElementId(4);
    bdys.AddElementId(4);
    bdys.AddElementId(2);
    bdys.AddInteriorElementId(9);
    EXPECT_EQ(bdys.GetNumElements(), 2);
    EXPECT_EQ(bdys.GetNumInteriorElements(), 1);
    bdys.reinit();
    EXPECT_EQ(bdys.GetNumElements(), 0);
    EXPECT_EQ(bdys.GetNumInteriorElements(), 0);
    EXPECT_EQ(bdys.GetStartFacet(), -1);

    // A ring of three segments with a point list, deleted as a whole.
    CKpBdy* ring = new CKpBdy();
    CKpBdy* s2 = new CKpBdy();
    CKpBdy* s3 = new CKpBdy();
    ring->SetNext(s2);
    s2->SetNext(s3);
    s3->SetNext(ring);
    ASSERT_NE(s2->pFlatPatPts(), nullptr);
    s2->pFlatPatPts()->InsertLast(new CKpFlatPatPtBdy());
    EXPECT_EQ(DeleteBoundary(ring), 0);
    EXPECT_EQ(ring, nullptr);
    EXPECT_EQ(DeleteBoundary(ring), 0);

    CKpBdy seg;
    seg.setEdge(2);
    seg.setDirn(1);
    EXPECT_EQ(seg.vx0(), 2);
    EXPECT_EQ(seg.vx1(), 0);
    seg.setDirn(-1);
    EXPECT_EQ(seg.vx0(), 0);
    EXPECT_EQ(seg.vx1(), 2);
}
