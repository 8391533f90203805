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

// Lookups of dense ids index the array by id - first id. Every operation
// that makes the ids dense or breaks them must be seen: each check below
// finds an id one slot off (or a missing id in a slot still held) if the
// store kept an old note.
//
// Every id from lo to hi against the store's contents: null when no entry
// holds it, else one of the objects holding it. The ids held are looked up
// first, from the last down: a miss takes the search path, which may note
// the ids afresh and so hide a stale note from the lookups after it.
void expectFinds(Store& store, int lo, int hi, const char* step) {
    std::multimap<int, Probe*> held;
    for (int k = 0; k < store.entries(); ++k) held.emplace(store[k]->id(), store[k]);
    auto check = [&](int id) {
        auto range = held.equal_range(id);
        Probe* got = store.find(id);
        if (range.first == range.second) {
            EXPECT_EQ(got, nullptr) << step << ": id " << id;
            return;
        }
        bool holder = false;
        for (auto it = range.first; it != range.second; ++it) holder |= it->second == got;
        EXPECT_TRUE(holder) << step << ": id " << id;
    };
    for (auto it = held.rbegin(); it != held.rend(); ++it) check(it->first);
    for (int id = lo; id <= hi; ++id) check(id);
}

// Lookups only read (threads may share them) for dense, distinct, merged
// ids; a hole, a duplicate or a pending insert says no.
TEST_F(ObjectStore, FindOnlyReadsForDenseDistinctIds) {
    EXPECT_FALSE(store.findOnlyReads());  // empty
    for (int id = 1; id <= 5; ++id) add(store, id);
    EXPECT_TRUE(store.findOnlyReads());
    add(store, 7);
    EXPECT_FALSE(store.findOnlyReads());  // hole at 6
    add(store, 6);
    EXPECT_TRUE(store.findOnlyReads());
    add(store, 3);
    EXPECT_FALSE(store.findOnlyReads());  // 3 twice, 8 entries over 7 ids
}

TEST_F(ObjectStore, DenseLookupsFollowEveryChange) {
    for (int id = 10; id <= 29; ++id) add(store, id);
    expectFinds(store, 5, 35, "dense 10..29");
    add(store, 31);  // pending, leaves a hole at 30
    expectFinds(store, 5, 35, "hole at 30");
    add(store, 30);  // fills it
    expectFinds(store, 5, 35, "hole filled");
    EXPECT_EQ(store.find(31)->id(), 31);

    store.eraseObject(store.find(10));  // first: still dense from 11
    expectFinds(store, 5, 35, "first erased");
    store.eraseObject(store.find(31));  // last: still dense
    expectFinds(store, 5, 35, "last erased");
    Probe* mid = store.find(20);
    store.erase(mid);  // a hole: 21.. no longer sit at id - first
    expectFinds(store, 5, 35, "middle erased");
    store.insert(mid);
    expectFinds(store, 5, 35, "middle back");

    // Duplicates: n entries spanning n values, yet a hole.
    Probe* twin = add(store, 12);
    expectFinds(store, 5, 35, "duplicate 12");
    store.erase(mid);  // 11 12 12 13 .. 19 21 .. 30: span = count
    expectFinds(store, 5, 35, "duplicate and a hole");
    EXPECT_EQ(store.find(13)->id(), 13);
    store.eraseObject(twin);
    expectFinds(store, 5, 35, "duplicate erased");
    store.insert(mid);  // dense 11..30 again
    expectFinds(store, 5, 35, "hole filled again");

    EXPECT_EQ(store.updateId(store.find(15), 40), 0);  // hole at 15
    expectFinds(store, 5, 45, "updateId away");
    EXPECT_EQ(store.updateId(store.find(40), 15), 0);
    expectFinds(store, 5, 45, "updateId back");
    EXPECT_EQ(store.updateId(store.find(11), 31), 0);  // 12..31, dense again
    expectFinds(store, 5, 45, "updateId first to after last");

    std::vector<Probe*> cut;  // no longer held after the resize
    for (int id = 22; id <= 31; ++id) cut.push_back(store.find(id));
    store.resize(10);  // keeps 12..21
    expectFinds(store, 5, 45, "cut by resize");
    add(store, 23);  // 12..21, 23: the count grows by one, the span by two
    expectFinds(store, 5, 45, "after cut");

    Store copy(store);
    expectFinds(copy, 5, 45, "copy");
    Store assigned(64);
    cut.push_back(add(assigned, 100));  // let go of by the assignment
    assigned = store;
    expectFinds(assigned, 5, 105, "assigned");
    assigned.eraseAllObjects();  // deletes the store's 11 objects
    EXPECT_EQ(Probe::destroyed, 3 + 11);

    // The store's own objects are gone with `assigned`: let go of them.
    store.resize(0);
    expectFinds(store, 5, 45, "emptied");
    for (int id = -3; id <= 3; ++id) add(store, id);  // dense across 0
    expectFinds(store, -10, 10, "dense across zero");
    // Made before the clear, so it cannot take the place of a deleted object
    // whose pointer the array may still hold beyond the count.
    Probe* late = new Probe(1005);
    store.eraseAllObjects();
    expectFinds(store, -10, 10, "cleared");
    for (int id = 1000; id < 1005; ++id) add(store, id);
    expectFinds(store, 990, 1010, "refilled");
    // A lookup merges, even of an id the dense entries answer.
    ASSERT_EQ(store.insert(late), 0);
    EXPECT_EQ(store.find(1002)->id(), 1002);
    EXPECT_EQ(store.data()[5], late);
    add(store, 1007);
    add(store, 1007);  // two new equal ids: 8 entries spanning 8 values
    expectFinds(store, 990, 1010, "two equal ids merged at once");
    EXPECT_EQ(store.find(1006), nullptr);
    for (Probe* p : cut) delete p;
}

// Random inserts (with duplicates), erasures and id changes over a small
// range, so that the ids keep turning dense and sparse.
TEST_F(ObjectStore, DenseLookupsUnderRandomChanges) {
    std::mt19937 rng(5);
    for (int id = 1; id <= 40; ++id) add(store, id);
    for (int step = 0; step < 3000; ++step) {
        const int id = 1 + static_cast<int>(rng() % 44);
        switch (rng() % 5) {
            case 0:
            case 1:
                add(store, id);
                break;
            case 2:
            case 3:
                if (Probe* p = store.find(id)) store.eraseObject(p);
                break;
            default:
                if (Probe* p = store.find(id)) store.updateId(p, 1 + static_cast<int>(rng() % 44));
        }
        if (rng() % 3 == 0) expectFinds(store, -1, 46, "random");
    }
    expectFinds(store, -1, 46, "random end");
}

// A derived store that writes the sorted array itself, as stores do that
// compact in one pass or append ids above the last.
struct Compacting : Store {
    Compacting() : Store(64) {}
    // Drops (without deleting) every entry whose id `drop` accepts.
    template <class Pred>
    void dropIf(Pred drop) {
        download_cache();
        size_t kept = 0;
        for (size_t k = 0; k < m_sortedCount; ++k) {
            if (drop(m_ids[k])) continue;
            m_ids[kept] = m_ids[k];
            m_sorted[kept++] = m_sorted[k];
        }
        m_sortedCount = kept;
    }
    // Appends `obj`, whose id is above every id held; needs a free slot.
    void append(Probe* obj) {
        download_cache();
        ASSERT_LT(m_sortedCount, m_capacity);
        m_sorted[m_sortedCount] = obj;
        m_ids[m_sortedCount++] = obj->id();
    }
};

TEST_F(ObjectStore, DenseLookupsAfterADerivedStoreWritesTheArray) {
    Compacting derived;
    std::vector<Probe*> owned;
    for (int id = 1; id <= 30; ++id) {
        owned.push_back(new Probe(id));
        derived.insert(owned.back());
    }
    expectFinds(derived, -2, 40, "dense 1..30");
    derived.dropIf([](int id) { return id == 7 || id == 8; });
    expectFinds(derived, -2, 40, "two dropped");
    derived.dropIf([](int id) { return id < 9; });  // 9..30: dense again
    expectFinds(derived, -2, 40, "front dropped");
    owned.push_back(new Probe(31));
    derived.append(owned.back());  // still dense
    expectFinds(derived, -2, 40, "appended 31");
    owned.push_back(new Probe(35));
    derived.append(owned.back());  // a gap before it
    expectFinds(derived, -2, 40, "appended 35");
    for (Probe* p : owned) delete p;
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
