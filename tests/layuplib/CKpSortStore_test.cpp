#include "layuplib/CKpSortStore.h"

#include <gtest/gtest.h>

#include "layuplib/CKpFacetIntPts.h"

TEST(CKpSortStore, SortsByValueThenIndexWithinTheRange) {
    CKpSortStore s;
    EXPECT_EQ(s.Create(0), 1);
    EXPECT_EQ(s.GetSize(), 0);
    EXPECT_EQ(s.GetMinValue(), 0.0);

    ASSERT_EQ(s.Create(4), 0);
    EXPECT_EQ(s.GetIndex(3), -1);  // unset
    EXPECT_EQ(s.GetValue(3), 0.0);
    EXPECT_EQ(s.SetIndexValue(0, 2, 1.0), 0);
    EXPECT_EQ(s.SetIndexValue(1, 1, 1.0), 0);
    EXPECT_EQ(s.SetIndex(2, 0), 0);
    EXPECT_EQ(s.SetValue(2, 0.5), 0);
    EXPECT_EQ(s.SetIndexValue(3, 9, -4.0), 0);
    EXPECT_EQ(s.SetIndexValue(4, 1, 1.0), 1);
    EXPECT_EQ(s.GetValue(-1), -1.0);

    // Only the first three: the entry of value -4 stays last.
    EXPECT_EQ(s.Sort(0, 3), 0);
    EXPECT_EQ(s.GetIndex(0), 0);
    EXPECT_EQ(s.GetIndex(1), 1);
    EXPECT_EQ(s.GetIndex(2), 2);
    EXPECT_EQ(s.GetIndex(3), 9);

    EXPECT_EQ(s.Sort(3, 0), 1);  // the whole size from 3 runs past the end
    EXPECT_EQ(s.Sort(2, 3), 1);
    EXPECT_EQ(s.Sort(-1, 0), 0);
    EXPECT_EQ(s.GetIndex(0), 9);
    EXPECT_EQ(s.GetMinValue(), -4.0);
    EXPECT_EQ(s.GetMaxValue(), 1.0);
}

TEST(CKpFacetIntPts, OrdersHitsByDistanceFromTheReference) {
    CKpFacetIntPts hits;
    const double xs[4] = {5.0, -1.0, 3.0, 0.5};
    for (int i = 0; i < 4; ++i) {
        CKpPoint p;
        p.Set(xs[i], 0.0, 0.0);
        ASSERT_EQ(hits.AddPt(10 + i, p), 0);
    }
    EXPECT_EQ(hits.GetDist(0), 1e12);  // not measured yet
    CKpPoint ref;
    ref.Set(1.0, 0.0, 0.0);
    hits.SortPointsDistance(&ref);
    const int facets[4] = {13, 11, 12, 10};
    const double dists[4] = {0.5, 2.0, 2.0, 4.0};
    for (int i = 0; i < 4; ++i) {
        int f = -1;
        CKpPoint p;
        ASSERT_EQ(hits.GetPt(i, &f, &p), 0);
        EXPECT_DOUBLE_EQ(hits.GetDist(i), dists[i]) << i;
        ASSERT_TRUE(f >= 10 && f < 14);
        EXPECT_EQ(p.getx(), xs[f - 10]) << i;  // facet and point moved together
        if (i != 1 && i != 2) {                // 1 and 2 tie
            EXPECT_EQ(f, facets[i]) << i;
        }
    }
    EXPECT_EQ(hits.GetOrigin().getx(), 1.0);
    EXPECT_EQ(hits.GetPt(4, nullptr, nullptr), 1);
    EXPECT_EQ(hits.GetDist(5), 1e12);

    CKpFacetIntPts copy;
    ASSERT_EQ(copy.Set(hits), 0);
    EXPECT_EQ(copy.GetNumPts(), 4);
    EXPECT_EQ(copy.GetDist(3), 4.0);
    EXPECT_EQ(copy.GetOrigin().getx(), 1.0);
    hits.Clear();
    EXPECT_EQ(hits.GetNumPts(), 0);
    EXPECT_EQ(hits.GetOrigin().getx(), 0.0);
    EXPECT_EQ(copy.GetNumPts(), 4);
}
