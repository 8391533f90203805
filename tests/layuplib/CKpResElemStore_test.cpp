#include "layuplib/CKpResElemStore.h"

#include <gtest/gtest.h>

#include <new>
#include <vector>

#include "layuplib/CKpRes.h"

namespace {

// Fills two stores side by side: one through insert, one through
// insertRecord with records from its blocks.
struct Pair {
    CKpResElemStore plain, fast;
    void Add(int id, float value) {
        ASSERT_EQ(plain.insert(new CKpResElem(id, 1, &value)), 0);
        CKpResElem* r = new (fast.Blocks(), std::nothrow) CKpResElem(id, 1, &value);
        ASSERT_NE(r, nullptr);
        ASSERT_EQ(fast.insertRecord(r), 0);
    }
    void ExpectSame() {
        ASSERT_EQ(fast.entries(), plain.entries());
        EXPECT_EQ(fast.capacity(), plain.capacity());
        EXPECT_EQ(fast.pendingCapacity(), plain.pendingCapacity());
        for (int i = 0; i < plain.entries(); ++i) {
            EXPECT_EQ(fast[i]->id(), plain[i]->id());
            EXPECT_EQ(fast[i]->GetFloat(0), plain[i]->GetFloat(0));
        }
    }
};

}  // namespace

TEST(CKpResElemStore, RecordsInIdOrderMatchInsertAndGrowTheSameWay) {
    Pair p;
    for (int id = 1; id <= 20000; ++id) p.Add(id * 3, static_cast<float>(id));
    p.ExpectSame();
    EXPECT_EQ(p.fast.findRecord(60000)->GetFloat(0), 20000.0f);
    EXPECT_EQ(p.fast.findRecord(60001), nullptr);
    EXPECT_EQ(p.fast.findRecord(4), nullptr);
    EXPECT_EQ(p.fast.findRecord(3)->GetFloat(0), 1.0f);
}

TEST(CKpResElemStore, LargeResultsGrowByHalfTheirCapacity) {
    CKpResElemStore store;
    size_t grown = 0, last = store.capacity();
    for (int id = 1; id <= 400000; ++id) {
        ASSERT_EQ(store.insertRecord(new (store.Blocks(), std::nothrow) CKpResElem(id)), 0);
        if (store.capacity() != last) {
            ++grown;
            last = store.capacity();
        }
    }
    EXPECT_LE(grown, 10u);  // 100 pending buffers a step take 12
    EXPECT_LT(store.capacity(), 2u * 400000u);
    EXPECT_EQ(store.findRecord(400000)->id(), 400000);
    EXPECT_EQ(store[123456]->id(), 123457);
}

TEST(CKpResElemStore, RecordsOutOfOrderAndRepeatedIdsFallBackToInsert) {
    Pair p;
    const int ids[] = {10, 20, 5, 30, 30, 1, 40, 15, 15, 50};
    for (int k = 0; k < 10; ++k) p.Add(ids[k], static_cast<float>(k));
    p.ExpectSame();
    // A lookup after out-of-order records finds them (pending ones too).
    EXPECT_NE(p.fast.findRecord(5), nullptr);
    EXPECT_NE(p.fast.findRecord(15), nullptr);
    EXPECT_EQ(p.fast.findRecord(16), nullptr);
    EXPECT_EQ(p.fast.insertRecord(nullptr), -1);
}

TEST(CKpResElemStore, BlockRecordsDeletedOneByOneMovedOrKeptOutliveTheirStore) {
    // Records of a store deleted singly, moved to another store, or kept
    // by the caller after the store is gone stay valid until deleted: the
    // block lives as long as any of its records (checked under ASan).
    std::vector<CKpResElem*> kept;
    CKpResElemStore other;
    {
        CKpResElemStore store;
        for (int id = 1; id <= 5000; ++id) {
            const float v[8] = {1, 2, 3, 4, 5, 6, 7, static_cast<float>(id)};
            ASSERT_EQ(store.insertRecord(new (store.Blocks(), std::nothrow) CKpResElem(id, 8, v)),
                      0);
        }
        for (int id = 100; id <= 5000; id += 100) store.eraseObject(store.find(id));
        for (int id = 7, k = 0; id <= 5000; id += 700, ++k) {
            CKpResElem* r = store.find(id);
            store.erase(r);
            if (k % 2)
                other.insertRecord(r);
            else
                kept.push_back(r);
        }
        EXPECT_EQ(store.entries(), 5000 - 50 - 8);
    }
    for (CKpResElem* r : kept) {
        EXPECT_EQ(r->GetFloat(7), static_cast<float>(r->id()));
        delete r;
    }
    ASSERT_EQ(other.entries(), 4);
    EXPECT_EQ(other[0]->GetFloat(7), 707.0f);
    // Loose records (plain new) mix with block ones in one store.
    CKpResElem* loose = new CKpResElem(9000, 0, nullptr, 2, nullptr);
    EXPECT_EQ(other.insertRecord(loose), 0);
    EXPECT_EQ(other.findRecord(9000), loose);
}

TEST(CKpResElemStore, ResultRecordsFromBlocksReadBack) {
    CKpRes res(1);
    for (int id = 1; id <= 3000; ++id) {
        const float f[2] = {static_cast<float>(id), -1.0f};
        const int i[1] = {id * 2};
        ASSERT_NE(res.FindOrCreateResElem(id, 2, f, 1, i), nullptr);
    }
    const float again[2] = {5.0f, 6.0f};
    CKpResElem* r = res.FindOrCreateResElem(1500, 2, again, 0, nullptr);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->GetFloat(0), 5.0f);
    EXPECT_EQ(r->GetInt(0), 3000);
    EXPECT_EQ(res.GetNumElements(), 3000);
}
