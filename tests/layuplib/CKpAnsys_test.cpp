#include "layuplib/CKpAnsys.h"

#include <gtest/gtest.h>

#include "layuplib/CKpAnsysEt.h"
#include "layuplib/CKpAnsysKeyoptStore.h"
#include "layuplib/CKpElemAnsys.h"

TEST(CKpAnsysEt, KeyOptionsSetReadAndOverwrite) {
    CKpAnsysEt et(3, 181);
    EXPECT_EQ(et.id(), 3);
    EXPECT_EQ(et.Val(), 181);
    EXPECT_EQ(et.GetKeyopt(11), -1);
    et.SetKeyopt(11, 2);
    EXPECT_EQ(et.GetKeyopt(11), 2);
    et.SetKeyopt(11, 0);
    EXPECT_EQ(et.GetKeyopt(11), 0);
    EXPECT_EQ(et.pKeyopts()->entries(), 1);
    // The element type takes any number; the store's own setter does not.
    et.SetKeyopt(0, 7);
    EXPECT_EQ(et.GetKeyopt(0), 7);
    et.pKeyopts()->SetKeyoptVal(-3, 1);
    EXPECT_EQ(et.GetKeyopt(-3), -1);
    EXPECT_EQ(et.pKeyopts()->entries(), 2);
}

TEST(CKpAnsysKeyoptStore, RefusesNumbersBelowOneAndCopiesDeeply) {
    CKpAnsysKeyoptStore store;
    store.SetKeyoptVal(0, 5);
    EXPECT_EQ(store.entries(), 0);
    EXPECT_EQ(store.GetKeyoptVal(0), -1);
    for (int k = 40; k >= 1; --k) store.SetKeyoptVal(k, 100 + k);  // some still pending

    CKpAnsysKeyoptStore copy(store);
    ASSERT_EQ(copy.entries(), 40);
    for (int i = 0; i < 40; ++i) {
        ASSERT_NE(copy[i], nullptr);
        EXPECT_EQ(copy[i]->id(), i + 1);
        EXPECT_EQ(copy[i]->Val(), 101 + i);
        EXPECT_NE(copy[i], store.find(i + 1));  // its own objects
    }
    copy.SetKeyoptVal(5, -9);
    EXPECT_EQ(store.GetKeyoptVal(5), 105);
}

TEST(CKpAnsysEt, CopyIsIndependent) {
    CKpAnsysEt et(1, 281);
    et.SetKeyopt(3, 1);
    et.SetKeyopt(8, 2);
    CKpAnsysEt copy(et);
    EXPECT_EQ(copy.id(), 1);
    EXPECT_EQ(copy.Val(), 281);
    EXPECT_EQ(copy.GetKeyopt(8), 2);
    copy.SetKeyopt(8, 5);
    copy.SetKeyopt(9, 1);
    EXPECT_EQ(et.GetKeyopt(8), 2);
    EXPECT_EQ(et.GetKeyopt(9), -1);
    EXPECT_EQ(copy.GetKeyopt(8), 5);
}

TEST(CKpAnsys, OwnsElementTypesWithTheirKeyOptions) {
    // Destroying the holder deletes every element type and its key options;
    // the sanitizer run reports anything left behind.
    CKpAnsys ansys;
    ASSERT_NE(ansys.pEts(), nullptr);
    EXPECT_EQ(ansys.pEts()->entries(), 0);
    EXPECT_EQ(ansys.pEts()->capacity(), 64u);
    for (int id = 1; id <= 3; ++id) {
        auto* et = new CKpAnsysEt(id, 180 + id);
        et->SetKeyopt(1, id);
        et->SetKeyopt(3, 2 * id);
        ansys.pEts()->insert(et);
    }
    EXPECT_EQ(ansys.pEts()->entries(), 3);
    ASSERT_NE(ansys.pEts()->find(2), nullptr);
    EXPECT_EQ(ansys.pEts()->find(2)->GetKeyopt(3), 4);
}

TEST(CKpElemAnsys, EightValuesZeroedByInit) {
    CKpElemAnsys data;
    for (int i = 0; i < 8; ++i) EXPECT_EQ(data.Get(i), 0);
    for (int i = 0; i < 8; ++i) data.Set(i, 10 * i + 1);
    data.Set(8, 99);
    data.Set(-1, 99);
    EXPECT_EQ(data.Get(7), 71);
    EXPECT_EQ(data.Get(8), 0);
    data.init();
    for (int i = 0; i < 8; ++i) EXPECT_EQ(data.Get(i), 0);
}
