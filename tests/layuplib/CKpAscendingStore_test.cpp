#include "layuplib/CKpAscendingStore.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CVekObjectStoreIterator.h"

namespace {

// A plain store of the same objects, for comparison.
class PlainNodes : public CVekObjectStore<CKpNode> {
  public:
    PlainNodes() : CVekObjectStore<CKpNode>(64) {}
};

// Inserts the same nodes into a CKpNodeStore and into a plain store, in
// `ids` order, and checks after every insertion that both stores give the
// same figures, and at the end the same walk and lookups. The stores share
// the nodes; the plain one deletes nothing.
void ExpectAlike(const std::vector<int>& ids) {
    CKpNodeStore fast;
    PlainNodes plain;
    std::vector<CKpNode*> made;
    for (size_t k = 0; k < ids.size(); ++k) {
        CKpNode* node = new CKpNode(ids[k]);
        made.push_back(node);
        ASSERT_EQ(fast.insert(node), 0);
        ASSERT_EQ(plain.insert(node), 0);
        ASSERT_EQ(fast.entries(), plain.entries()) << "after insertion " << k;
        ASSERT_EQ(fast.capacity(), plain.capacity()) << "after insertion " << k;
        ASSERT_EQ(fast.pendingCapacity(), plain.pendingCapacity()) << "after insertion " << k;
        // A lookup in the middle of the filling (it merges the plain store).
        if (k % 997 == 0) {
            ASSERT_EQ(fast.find(ids[k / 2]), plain.find(ids[k / 2]));
        }
    }
    EXPECT_EQ(fast.minId(), plain.minId());
    EXPECT_EQ(fast.maxId(), plain.maxId());
    // The same objects in the same order, equal ids included.
    CVekObjectStoreIterator<CKpNode> a(fast), b(plain);
    int walked = 0;
    while (++a) {
        ASSERT_TRUE(++b);
        ASSERT_EQ(a.key(), b.key()) << "position " << walked;
        ++walked;
    }
    EXPECT_FALSE(++b);
    EXPECT_EQ(walked, static_cast<int>(ids.size()));
    for (int id : ids) ASSERT_EQ(fast.find(id), plain.find(id)) << "id " << id;
    EXPECT_EQ(fast.find(-7), nullptr);
    EXPECT_EQ(fast.find(1 << 30), nullptr);
    // Only the node store deletes.
    while (plain.entries() > 0) plain.erase(plain[0]);
    fast.eraseAllObjects();
}

}  // namespace

// Ascending runs go straight to the sorted array; anything else takes the
// pending buffer: either way the store must look like the plain one.
TEST(CKpAscendingStore, InsertionOrdersMatchThePlainStore) {
    {
        SCOPED_TRACE("ascending, dense, across several growth steps");
        std::vector<int> ids;
        for (int i = 1; i <= 20000; ++i) ids.push_back(i);
        ExpectAlike(ids);
    }
    {
        SCOPED_TRACE("ascending with gaps and negative ids");
        std::vector<int> ids;
        for (int i = -50; i <= 9000; i += 3) ids.push_back(i);
        ExpectAlike(ids);
    }
    {
        SCOPED_TRACE("ascending runs broken by smaller and repeated ids");
        std::vector<int> ids;
        uint32_t r = 12345;
        int top = 0;
        for (int i = 0; i < 12000; ++i) {
            r = r * 1664525u + 1013904223u;
            const int kind = static_cast<int>(r >> 28);
            if (kind == 0 && top > 0)
                ids.push_back(top);  // a repeat of the largest id
            else if (kind == 1)
                ids.push_back(static_cast<int>((r >> 8) % 5000));  // anywhere below
            else
                ids.push_back(++top + 4000);
        }
        ExpectAlike(ids);
    }
}

// An id changed through updateId is re-inserted: above all others it is
// appended, and both its old and new ids answer as in the plain store.
TEST(CKpAscendingStore, UpdateIdAndEraseKeepLookupsRight) {
    CKpElemStore elems;
    for (int id = 1; id <= 100; ++id) ASSERT_EQ(elems.insert(elems.NewElem(id, 1)), 0);
    EXPECT_EQ(elems.find(100)->id(), 100);
    CKpElem* moved = elems.find(40);
    ASSERT_EQ(elems.updateId(moved, 500), 0);
    EXPECT_EQ(elems.find(40), nullptr);
    EXPECT_EQ(elems.find(500), moved);
    EXPECT_EQ(elems.maxId(), 500);
    EXPECT_EQ(elems.entries(), 100);
    // Appending after the gap, then below it.
    ASSERT_EQ(elems.insert(elems.NewElem(501, 1)), 0);
    ASSERT_EQ(elems.insert(elems.NewElem(40, 11)), 0);
    EXPECT_EQ(elems.find(501)->id(), 501);
    EXPECT_EQ(elems.find(40)->getgmtp(), 11);
    elems.eraseObject(elems.find(1));
    EXPECT_EQ(elems.minId(), 2);
    for (int id = 2; id <= 100; ++id) ASSERT_TRUE(elems.find(id)) << id;
    EXPECT_EQ(elems.entries(), 101);
    elems.eraseAllObjects();
    EXPECT_EQ(elems.entries(), 0);
    EXPECT_EQ(elems.capacity(), 64u);
}
