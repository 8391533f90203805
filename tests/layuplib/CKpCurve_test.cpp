#include "layuplib/CKpCurve.h"

#include <gtest/gtest.h>

#include "layuplib/CKpCurveStore.h"

TEST(CKpCurve, CountAndCoordinates) {
    for (int n : {0, -1}) {
        CKpCurve empty(1, "none", 2, n);
        EXPECT_EQ(empty.count(), 0);
        EXPECT_EQ(empty.coords(), nullptr);
        empty.coord(0, 1.0);  // nothing to set
        EXPECT_EQ(empty.coord(0), 0.0);
    }
    CKpCurve curve(7, "outline", 3, 4);
    EXPECT_STREQ(curve.name(), "outline");
    EXPECT_EQ(curve.type(), 3);
    ASSERT_EQ(curve.count(), 4);
    curve.coord(5, 2.5);  // z of the second point
    EXPECT_EQ(curve.coords()[5], 2.5);
    EXPECT_EQ(curve.coord(5), 2.5);
    curve.coord(12, 1.0);
    curve.coord(-1, 1.0);
    EXPECT_EQ(curve.coord(12), 0.0);
    CKpCurve unnamed(8, nullptr, 0, 1);
    EXPECT_STREQ(unnamed.name(), "");
}

TEST(CKpCurveStore, OwnsCurves) {
    CKpCurveStore store;
    store.insert(new CKpCurve(2, "a", 0, 2));
    store.insert(new CKpCurve(1, "b", 0, 3));
    EXPECT_EQ(store.entries(), 2);
    EXPECT_STREQ(store[0]->name(), "b");
    store.eraseAllObjects();
    EXPECT_EQ(store.entries(), 0);
    store.insert(new CKpCurve(3, "c", 0, 1));  // deleted by the destructor
}
