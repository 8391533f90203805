#include "layuplib/CVekObjectStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>
#include <numeric>
#include <random>
#include <vector>

#include "layuplib/CVekObjectStoreIterator.h"

namespace {

// A stored object that counts its destructions, to check who deletes what.
struct Probe : CVekObject {
    static int destroyed;
    explicit Probe(int id) : CVekObject(id) {}
    ~Probe() override { ++destroyed; }
};
int Probe::destroyed = 0;

using Store = CVekObjectStore<Probe>;
using Ids = std::vector<int>;

Probe* add(Store& s, int id) {
    Probe* p = new Probe(id);
    EXPECT_EQ(s.insert(p), 0);
    return p;
}

// Ids in iteration order.
Ids walk(Store& s) {
    Ids ids;
    CVekObjectStoreIterator<Probe> it(s);
    while (++it) ids.push_back(it.key()->id());
    return ids;
}

class ObjectStore : public ::testing::Test {
  protected:
    void SetUp() override { Probe::destroyed = 0; }
    void TearDown() override { store.eraseAllObjects(); }
    Store store{64};
};

TEST_F(ObjectStore, GrowsBy100PendingBuffers) {
    EXPECT_EQ(store.pendingCapacity(), 14u);
    EXPECT_EQ(store.insert(static_cast<Probe*>(nullptr)), -1);  // nothing stored
    EXPECT_EQ(store.entries(), 0);
    int id = 0;
    for (; id < 64; ++id) add(store, id);
    EXPECT_EQ(store.capacity(), 64u);  // the 64th fits without growing
    add(store, id++);
    EXPECT_EQ(store.capacity(), 1464u);
    EXPECT_EQ(store.pendingCapacity(), 53u);
    for (; id < 1465; ++id) add(store, id);
    EXPECT_EQ(store.capacity(), 6764u);
    EXPECT_EQ(store.pendingCapacity(), 110u);
    store.eraseAllObjects();
    EXPECT_EQ(Probe::destroyed, 1465);
    EXPECT_EQ(store.entries(), 0);
    EXPECT_EQ(store.capacity(), 64u);
    EXPECT_EQ(store.pendingCapacity(), 14u);
}

TEST_F(ObjectStore, ResizeBelowCountDropsWithoutDeleting) {
    std::vector<Probe*> objs;
    for (int id = 9; id >= 0; --id) objs.push_back(add(store, id));
    store.resize(4);
    EXPECT_EQ(store.pendingCapacity(), 6u);  // 4 + floor(1.3 * 2)
    EXPECT_EQ(walk(store), (Ids{0, 1, 2, 3}));
    EXPECT_EQ(Probe::destroyed, 0);
    add(store, 20);
    EXPECT_EQ(store.capacity(), 604u);
    for (int k = 0; k < 6; ++k) delete objs[k];  // ids 9..4, no longer stored
}

// The ids kept beside the pointers follow every move of the sorted array:
// growth, merges into the middle, removal, shrinking and regrowth.
TEST_F(ObjectStore, LookupsHoldThroughGrowthRemovalAndShrinking) {
    for (int id = 2; id <= 4000; id += 2) add(store, id);  // even ids
    for (int id = 3999; id >= 1; id -= 2) add(store, id);  // odd ids, descending
    EXPECT_EQ(store.capacity(), 6764u);
    for (int id = 1; id <= 4000; ++id) ASSERT_NE(store.find(id), nullptr) << id;
    for (int id = 1; id <= 4000; ++id) ASSERT_EQ(store.find(id)->id(), id) << id;
    for (int id = 1; id <= 4000; id += 3) store.eraseObject(store.find(id));
    for (int id = 1; id <= 4000; ++id)
        ASSERT_EQ(store.find(id) != nullptr, (id - 1) % 3 != 0) << id;
    EXPECT_EQ(store.minId(), 2);
    EXPECT_EQ(store.maxId(), 3999);
    std::vector<Probe*> dropped;  // the store lets go of these below
    for (int id = 151; id <= 4000; ++id)
        if (Probe* p = store.find(id)) dropped.push_back(p);
    store.resize(100);  // drops all but the first 100, deletes none
    int n = 100;
    std::vector<int> ids(100);
    store.GetAllIds(n, ids.data());
    EXPECT_EQ(ids.front(), 2);
    EXPECT_EQ(ids.back(), 150);
    Probe* late = add(store, 7000);  // regrows the arrays
    EXPECT_EQ(store.find(7000), late);
    EXPECT_EQ(store.find(149), store[98]);
    EXPECT_EQ(store.find(151), nullptr);
    for (Probe* p : dropped) delete p;
}

// An id changed behind the store's back is still found under the old id
// (the store keeps the ids it was given); erase and updateId still work.
TEST_F(ObjectStore, IdChangedBehindTheStoresBack) {
    for (int id = 1; id <= 5; ++id) add(store, id);
    Probe* three = store.find(3);
    three->setId(30);
    EXPECT_EQ(store.find(3), three);
    EXPECT_EQ(store.find(30), nullptr);
    EXPECT_EQ(store.updateId(three, 31), 0);
    EXPECT_EQ(store.find(3), nullptr);
    EXPECT_EQ(store.find(31), three);
    EXPECT_EQ(walk(store), (Ids{1, 2, 4, 5, 31}));
}

TEST_F(ObjectStore, IteratesInIdOrderAcrossPartialMerges) {
    for (int id : {5, 3, 9}) add(store, id);
    // Random ids, merged at random moments by lookups.
    std::mt19937 rng(7);
    Ids ids(3000);
    for (int k = 0; k < 3000; ++k) ids[k] = 10 + 3 * k;
    std::shuffle(ids.begin(), ids.end(), rng);
    for (size_t k = 0; k < ids.size(); ++k) {
        add(store, ids[k]);
        if (rng() % 37 == 0) {
            ASSERT_NE(store.find(ids[k / 2]), nullptr);
        }
    }
    ids.insert(ids.end(), {3, 5, 9});
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(walk(store), ids);
    EXPECT_EQ(store[-1], nullptr);
    EXPECT_EQ(store[INT_MIN], nullptr);
    EXPECT_EQ(store[store.entries()], nullptr);
}

TEST_F(ObjectStore, NewestFirstAmongEqualIds) {
    Probe* a = add(store, 5);
    add(store, 9);
    ASSERT_EQ(store.find(5), a);  // merges a
    Probe* b = add(store, 5);
    Probe* c = add(store, 5);
    EXPECT_EQ(walk(store), (Ids{5, 5, 5, 9}));
    EXPECT_EQ(std::vector<Probe*>({store[0], store[1], store[2]}), std::vector<Probe*>({c, b, a}));
}

// Inserts `ids` (unique) in the given order, then checks every id, its
// neighbours and random probes against a std::map.
void checkAgainstMap(Store& store, const Ids& ids, std::mt19937& rng) {
    std::map<int, Probe*> ref;
    for (int id : ids) ref[id] = add(store, id);
    auto expect = [&](int id) {
        auto it = ref.find(id);
        ASSERT_EQ(store.find(id), it == ref.end() ? nullptr : it->second) << "id " << id;
    };
    for (int id : ids) {
        expect(id);
        if (id > INT_MIN) expect(id - 1);
        if (id < INT_MAX) expect(id + 1);
    }
    for (int k = 0; k < 2000; ++k) expect(static_cast<int>(rng()));
    for (int id : {INT_MIN, INT_MIN + 1, -1, 0, 1, INT_MAX - 1, INT_MAX}) expect(id);
    store.eraseAllObjects();
}

TEST_F(ObjectStore, FindDenseSparseAndExtremeIds) {
    std::mt19937 rng(1);
    Ids dense(5000);
    std::iota(dense.begin(), dense.end(), 1);
    std::shuffle(dense.begin(), dense.end(), rng);
    checkAgainstMap(store, dense, rng);

    std::uniform_int_distribution<int> any(INT_MIN, INT_MAX);
    std::map<int, int> seen;
    Ids sparse;
    while (sparse.size() < 5000) {
        int id = rng() % 3 ? any(rng) : static_cast<int>(rng() % 10000);  // with a cluster
        if (seen.emplace(id, 0).second) sparse.push_back(id);
    }
    checkAgainstMap(store, sparse, rng);
    checkAgainstMap(store, {INT_MAX, 0, INT_MIN + 1}, rng);
    checkAgainstMap(store, {INT_MIN, INT_MAX}, rng);
}

TEST_F(ObjectStore, MinMaxAndAllIds) {
    Probe* zero = add(store, 0);
    add(store, -4);
    EXPECT_EQ(store.minId(), -4);
    store.eraseObject(zero);
    EXPECT_EQ(store.maxId(), 0);  // a largest id below 1 reads as 0

    int ids[5] = {-1, -1, -1, -1, -1};
    for (int id : {8, 5, 1}) add(store, id);
    int n = 3;
    store.GetAllIds(n, ids);
    EXPECT_EQ(std::count(ids, ids + 5, -1), 5);
    n = 4;
    store.GetAllIds(n, ids);
    EXPECT_EQ(Ids(ids, ids + 5), (Ids{-4, 1, 5, 8, -1}));
}

TEST_F(ObjectStore, IdsDifferCodes) {
    Store other(64);
    EXPECT_EQ(store.IdsDiffer(other), 0);
    for (int id : {1, 2, 3}) add(store, id);
    Store copy(store);
    EXPECT_EQ(store.IdsDiffer(copy), 0);
    Probe* extra = add(copy, 4);
    EXPECT_EQ(store.IdsDiffer(copy), 1);
    for (int id : {1, 2, 7}) add(other, id);
    EXPECT_EQ(store.IdsDiffer(other), 4);
    Probe* held = other[1];
    other.data()[1] = nullptr;  // an empty slot
    EXPECT_EQ(store.IdsDiffer(other), 3);
    EXPECT_EQ(other.IdsDiffer(store), 2);
    other.data()[1] = held;
    other.eraseAllObjects();
    copy.eraseObject(extra);
}

TEST_F(ObjectStore, UpdateIdCodes) {
    Probe loose(5);
    EXPECT_EQ(store.updateId(nullptr, 3), 1);
    EXPECT_EQ(store.updateId(&loose, 3), 3);  // empty store
    Probe* a = add(store, 5);
    Probe* b = add(store, 8);
    EXPECT_EQ(store.updateId(a, 8), 2);
    EXPECT_EQ(store.find(8), b);
    EXPECT_EQ(store.updateId(&loose, 11), 3);  // shares a's id, not stored
    EXPECT_EQ(store.updateId(a, 20), 0);
    EXPECT_EQ(store.find(5), nullptr);
    EXPECT_EQ(store.find(20), a);
    EXPECT_EQ(walk(store), (Ids{8, 20}));
}

TEST_F(ObjectStore, EraseRemovesOnlyThatObject) {
    Probe* a = add(store, 5);
    Probe* b = add(store, 5);
    Probe* c = add(store, 6);
    store.erase(a);  // duplicate ids: exactly this one goes
    EXPECT_EQ(store.find(5), b);
    Probe outsider(6), absent(42);
    store.erase(&outsider);
    store.erase(&absent);
    EXPECT_EQ(walk(store), (Ids{5, 6}));
    c->setId(-100);  // changed behind the store's back: still removed
    store.eraseObject(c);
    EXPECT_EQ(Probe::destroyed, 1);
    EXPECT_EQ(walk(store), (Ids{5}));
    delete a;
}

TEST_F(ObjectStore, ShallowCopiesShareAndDeleteNothing) {
    for (int id = 1; id <= 20; ++id) add(store, id);
    {
        Store copy(store);
        copy.erase(copy.find(7));
        EXPECT_EQ(store.find(7)->id(), 7);
        Store assigned(1000);
        Probe* orphan = add(assigned, 99);
        assigned = store;
        EXPECT_EQ(assigned.capacity(), 64u);
        EXPECT_EQ(assigned.IdsDiffer(store), 0);
        Store& alias = assigned;
        assigned = alias;
        EXPECT_EQ(assigned.entries(), 20);
        delete orphan;
    }
    EXPECT_EQ(Probe::destroyed, 1);  // the orphan only
    add(store, 50);                  // still pending when everything is deleted
    store.eraseAllObjects();
    EXPECT_EQ(Probe::destroyed, 22);
}

// A T whose interface comes before its CVekObject part.
struct IShape {
    virtual ~IShape() = default;
    virtual int corners() const = 0;
};
struct Shape : IShape, CVekObject {
    explicit Shape(int id) : CVekObject(id) {}
    int corners() const override { return id() * 2; }
};

TEST(ObjectStoreInterfaceFirst, ConvertsPointers) {
    CVekObjectStore<Shape> shapes(64);
    Shape* s = new Shape(4);
    ASSERT_NE(static_cast<void*>(static_cast<CVekObject*>(s)), static_cast<void*>(s));
    shapes.insert(s);
    shapes.insert(static_cast<Shape*>(nullptr));
    EXPECT_EQ(shapes.findOrCreate(4), s);
    EXPECT_EQ(shapes.findOrCreate(2)->corners(), 4);
    EXPECT_EQ(shapes[1], s);
    CVekObjectStoreIterator<Shape> it(shapes);
    ASSERT_TRUE(++it);
    EXPECT_EQ(it.key()->corners(), 4);
    EXPECT_TRUE(++it);
    EXPECT_FALSE(++it);
    EXPECT_EQ(shapes.updateId(s, 6), 0);
    EXPECT_EQ(shapes.find(6)->corners(), 12);
    shapes.eraseAllObjects();  // deletes through CVekObject*: ASan checks the adjustment
}

}  // namespace
