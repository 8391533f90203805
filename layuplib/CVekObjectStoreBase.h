#ifndef PLYSTRAND_LAYUPLIB_CVEKOBJECTSTOREBASE_H
#define PLYSTRAND_LAYUPLIB_CVEKOBJECTSTOREBASE_H

#include <cstddef>

#include "layuplib/CVekObject.h"

// CVekObjectStoreBase: the untyped core of every id-keyed object store.
//
// Layout: a sorted array of object pointers, ascending by id, with the id of
// each entry kept beside it, and a small unsorted pending buffer that takes
// new insertions. Any operation that needs
// the order (lookups, positional access, min/max, id lists, comparisons,
// removal, id changes, resizing, copying, iteration) first merges the pending
// buffer into the sorted array. Bulk loading therefore costs one sort per
// pending buffer instead of one shift per insertion.
//
// Capacities (observable through `capacity()` and `pendingCapacity()`):
//   - the sorted array has `capacity` slots; sorted + pending entries never
//     exceed it once an insertion has run its growth step;
//   - pending capacity = 4 + floor(1.3 * sqrtf(capacity)): 64 -> 14,
//     1,464 -> 53, 6,764 -> 110;
//   - an insertion that finds capacity <= sorted + pending grows the capacity
//     by 100 pending buffers (64 -> 1,464 -> 6,764 -> ...).
// The sorted array and its ids share one block; both blocks come from
// malloc/realloc and go back with free. When an
// allocation fails the store keeps its old arrays and stays consistent; an
// insertion that finds no room then leaves the object with the caller (it is
// not stored; `entries()` does not change).
//
// Dense ids: the store keeps count of the entries whose id equals the one
// before (duplicates) and, while nothing is pending, notes when the ids run
// first, first + 1, ..., first + n - 1; `find` then indexes the array
// directly. Every operation of the base keeps that note current. A derived
// store that writes the sorted array itself keeps the ids ascending, adds
// no duplicate and changes the sorted count (it may drop entries or append
// larger ids): the note holds only while the count it was taken at is the
// sorted count.
//
// The ids are taken when an object enters the sorted array. An id changed
// behind the store's back (not through `updateId`) is therefore still found
// under its old value; `erase` finds such an object all the same.
//
// Ids need not be unique: a second object with an id already present is
// accepted and lands before the stored one(s) at the next merge (among equal
// ids the most recently inserted object comes first). Callers keep ids
// unique by looking an id up before creating it, and through `updateId`.
//
// Ownership: the base never deletes an object. The typed store
// CVekObjectStore<T> adds `eraseObject` and `eraseAllObjects`, which do.
//
// Not thread-safe: even a lookup may reorganise the arrays.
class CVekObjectStoreBase {
  public:
    // An empty store with a sorted array of `capacity` slots and a pending
    // buffer of the matching pending capacity.
    explicit CVekObjectStoreBase(size_t capacity);

    // Shallow copy: merges `other` first, then takes its capacity and
    // pending capacity, fresh arrays holding the same object pointers in the
    // same order, and an empty pending buffer. The objects are shared, not
    // copied: only one of the two stores may delete them. If the arrays
    // cannot be allocated the copy is an empty store of capacity 0 (it grows
    // on the next insertion).
    CVekObjectStoreBase(CVekObjectStoreBase& other);

    // Shallow assignment as for the copy constructor. Releases this store's
    // arrays (without deleting its objects) and takes copies of `other`'s.
    // Assigning a store to itself only merges it. If the new arrays cannot be
    // allocated this store stays as it was.
    CVekObjectStoreBase& operator=(CVekObjectStoreBase& other);

    // Frees both arrays; deletes no object.
    virtual ~CVekObjectStoreBase();

  protected:
    // Appends `obj` to the pending buffer. First grows the store when
    // capacity <= sorted + pending, then merges when the pending buffer is
    // full. The store takes the pointer but ownership stays a matter of the
    // typed store's operations. Returns 0 when `obj` is stored; -1 when it
    // is not: `obj` is null, or growth was needed and the allocation failed
    // (the caller then still holds the object; the store is unchanged).
    virtual int insert(CVekObject* obj);

  public:
    // Sorted + pending entries; no merge.
    int entries() const { return static_cast<int>(m_sortedCount + m_pendingCount); }

    // Slots of the sorted array, and of the pending buffer.
    size_t capacity() const { return m_capacity; }
    size_t pendingCapacity() const { return m_pendingCapacity; }

    // The object with `id`, or null. Merges. With duplicate ids one of the
    // holders is returned. Inline for a merged store of dense ids (each id
    // from the first to the last held exactly once, as nodes and elements
    // numbered 1..n): the slot is id - first id, one load of the pointer
    // array; anything else goes to the out-of-line search.
    CVekObject* find(int id) {
        // An id below the first wraps to a huge slot.
        const size_t slot = static_cast<size_t>(static_cast<long long>(id) - m_denseFirst);
        if (__builtin_expect(slot < m_denseCount && m_denseCount == m_sortedCount, 1))
            return m_sorted[slot];
        return findSearch(id);
    }

    // Whether find now only reads the store, so that threads may look up
    // side by side: a store of dense ids, merged and noted as such. Merges
    // and takes the note when it is not taken.
    bool findOnlyReads() {
        download_cache();
        if (m_denseCount != m_sortedCount) noteDense();
        return m_sortedCount > 0 && m_denseCount == m_sortedCount;
    }

    // Smallest id; 0 when the store is empty. Merges.
    int minId();

    // Largest id; 0 when the store is empty and also 0 when the largest id is
    // below 1. Merges.
    int maxId();

    // Merges, then sets the capacity (and the pending capacity by the rule
    // above) and reallocates both arrays. A capacity below the sorted count
    // cuts the count to it: the entries beyond are dropped from the store,
    // not deleted. If the reallocation fails the old arrays and capacity are
    // kept.
    void resize(size_t capacity);

    // Writes the ids of all entries in ascending order into `ids`
    // (`n` ints, written; 0 for an empty slot). Does nothing when `ids` is
    // null, when the store is empty or when `n` differs from `entries()`.
    // Merges. `n` is read only.
    void GetAllIds(int& n, int* ids);

    // Compares the ids of this store and `other` slot by slot. Merges both.
    // Returns 1 when the entry counts differ, 0 when both are empty, else
    // 2 at the first empty slot of this store, 3 at the first empty slot of
    // `other`, 4 at the first position whose ids differ, 0 when all match.
    int IdsDiffer(CVekObjectStoreBase& other);

  protected:
    // Removes the entry that holds `obj` (pointer equality; with duplicate
    // ids the right one of the run is taken) without deleting the object.
    // Does nothing when `obj` is null or not in the store. Merges.
    void erase(CVekObject* obj);

    // Changes the id of the stored object `obj` to `newId` and re-inserts it
    // through the virtual `insert`. Returns
    //   0 done (the object is found under `newId` only),
    //   1 `obj` is null,
    //   2 `newId` is already held by an object of this store (including
    //     `obj` itself when `newId` equals its id); nothing changes,
    //   3 the store is empty or `obj` is not in it; nothing changes.
    // Merges.
    int updateId(CVekObject* obj, int newId);

    // Merges the pending buffer now when anything is pending.
    void download_cache();

    // The merge. `last` is the last slot of the sorted run (m_sorted +
    // m_sortedCount - 1), or null when the sorted array is empty. Sorts the
    // pending buffer by id, opens a gap at the slot of the smallest pending
    // id and merges both runs into it; on equal ids pending entries go
    // first. Afterwards the pending buffer is empty.
    void download_sub(CVekObject** last);

    // Searches the ids lo..hi (both inclusive, ascending) for `id`:
    // interpolating first guess lo + (id - id at lo), which is exact for
    // consecutive ids, with a fall-back to bisection. Returns 1 and sets
    // `pos` to a position holding `id`, or 0 and sets `pos` to the insertion
    // position (the first whose id is larger; hi + 1 when there is none).
    // When hi is below lo the range is empty: 0, pos = lo.
    static int search(const int* lo, const int* hi, int id, const int*& pos);

    // Removes slot `at` of the sorted array (pointer and id), moving the
    // ones above it down.
    void removeSlot(size_t at);

    // Takes the dense note again from the count of duplicates and the first
    // and last ids (constant time). Called after every change of the sorted
    // array by the base.
    void noteDense();

    CVekObject** m_sorted;     // merged entries, ascending by id
    int* m_ids;                // id of each merged entry (same block, after m_capacity pointers)
    size_t m_sortedCount;      // entries in m_sorted
    size_t m_capacity;         // slots of m_sorted
    CVekObject** m_pending;    // entries since the last merge, insertion order
    size_t m_pendingCount;     // entries in m_pending
    size_t m_pendingCapacity;  // slots of m_pending
    size_t m_duplicates;       // merged entries whose id equals the previous entry's
    int m_denseFirst;          // first id while m_denseCount > 0
    size_t m_denseCount;       // m_sortedCount when the merged ids are dense and
                               // nothing is pending, else 0

    // Pending capacity belonging to a capacity: 4 + floor(1.3 * sqrtf(c)).
    static size_t pendingCapacityFor(size_t capacity);

    // Reallocates both blocks to `capacity` and its pending capacity (the
    // ids move with their block). Only called with nothing pending. Returns false when an
    // allocation failed; the arrays and figures kept then are the ones still allocated, so the
    // store stays consistent. Never cuts the sorted count.
    bool reallocArrays(size_t capacity);

  private:
    // find beyond its inline dense case: merge, note density again when a
    // derived store changed the count, then search.
    CVekObject* findSearch(int id);

    // Entries whose id equals the previous entry's, counted over the whole
    // sorted array.
    size_t countDuplicates() const;

    // Sorts `n` pointers by ascending id; equal ids keep their order.
    void sortArray(CVekObject** array, int n);

    // qsort-style comparison of two CVekObject* slots by id: negative, 0 or
    // positive. Compares, never subtracts, so extreme ids cannot overflow.
    static int Compare(const void* a, const void* b);

    // Slot of m_sorted holding exactly `obj`, or null. Looks in the run of
    // `obj`'s id first, then (for an object whose id was changed behind the
    // store's back) in the whole array. Needs a merged store.
    CVekObject** locate(CVekObject* obj);

    // Fresh copies of `other`'s blocks for the copy operations; false when
    // an allocation failed (nothing allocated then).
    static bool copyArrays(const CVekObjectStoreBase& other, CVekObject**& sorted,
                           CVekObject**& pending);

    // The ids of a block of `capacity` slots.
    static int* idsOf(CVekObject** sorted, size_t capacity) {
        return reinterpret_cast<int*>(sorted + capacity);
    }
};

#endif  // PLYSTRAND_LAYUPLIB_CVEKOBJECTSTOREBASE_H
