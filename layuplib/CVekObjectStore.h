#ifndef PLYSTRAND_LAYUPLIB_CVEKOBJECTSTORE_H
#define PLYSTRAND_LAYUPLIB_CVEKOBJECTSTORE_H

#include <cstddef>
#include <new>
#include <type_traits>

#include "layuplib/CVekObject.h"
#include "layuplib/CVekObjectStoreBase.h"

template <class T>
class CVekObjectStoreIterator;

// CVekObjectStore<T>: the typed front of CVekObjectStoreBase for objects of
// type T (T derives from CVekObject and is constructible as T(int id)).
//
// It adds no data. It converts between the stored CVekObject pointer and T*:
// where T places an interface before its CVekObject part the two pointers
// differ; a null pointer stays null either way.
//
// Ownership: the store owns its objects in the sense that `eraseObject` and
// `eraseAllObjects` delete them; `erase` and the destructor delete nothing.
// An owner calls `eraseAllObjects` before destroying a store whose objects it
// owns. Every concrete store of the model is constructed with capacity 64.
template <class T>
class CVekObjectStore : public CVekObjectStoreBase {
  public:
    // An empty store of `capacity` slots (see CVekObjectStoreBase).
    explicit CVekObjectStore(size_t capacity) : CVekObjectStoreBase(capacity) {}

    // Shallow copy and assignment: the objects are shared, not copied.
    CVekObjectStore(CVekObjectStore& other) : CVekObjectStoreBase(other) {}
    CVekObjectStore& operator=(CVekObjectStore& other) {
        CVekObjectStoreBase::operator=(other);
        return *this;
    }

    // Frees the arrays only; deletes no object.
    ~CVekObjectStore() override = default;

    // The object with `id`, or null. Merges.
    T* find(int id) { return toT(CVekObjectStoreBase::find(id)); }

    // The object with `id`; when there is none, a new T(id) is inserted and
    // returned (owned by the store). Null only when memory runs out.
    T* findOrCreate(int id) {
        T* obj = find(id);
        if (obj) return obj;
        obj = new (std::nothrow) T(id);
        if (!obj) return nullptr;
        if (insert(obj) != 0) {  // the store could not grow
            delete obj;
            return nullptr;
        }
        return obj;
    }

    // The entry at `position` (0-based) of the sorted array; null when the
    // position is negative or not below the sorted count. Merges.
    T* operator[](int position) {
        download_cache();
        if (position < 0 || static_cast<size_t>(position) >= m_sortedCount) return nullptr;
        return toT(m_sorted[position]);
    }

#if defined(__clang__)
#pragma clang diagnostic push
// For T = CVekObject this function is itself the override of the virtual insert.
#pragma clang diagnostic ignored "-Winconsistent-missing-override"
#endif
    // Inserts `obj` through the virtual insert. 0 when it is stored; -1
    // when `obj` is null or the store must grow and cannot (see
    // CVekObjectStoreBase); the caller then still holds the object.
    int insert(T* obj) {
        if (!obj) return -1;
        if constexpr (std::is_same<T, CVekObject>::value)
            return CVekObjectStoreBase::insert(obj);  // this very function is the virtual one then
        else
            return insert(toObject(obj));
    }
#if defined(__clang__)
#pragma clang diagnostic pop
#endif

    // Removes `obj` from the store without deleting it. Does nothing when
    // `obj` is null or not in the store; never removes another object that
    // happens to share its id.
    void erase(T* obj) {
        CVekObjectStoreBase::erase(toObject(obj));
    }

    // Removes `obj` as `erase` does, then deletes it (nothing for null).
    void eraseObject(T* obj) {
        if (!obj) return;
        erase(obj);
        delete obj;
    }

    // Changes the id of the stored `obj`; results 0 done, 1 null object,
    // 2 `newId` in use, 3 empty store or `obj` not stored (see
    // CVekObjectStoreBase::updateId).
    int updateId(T* obj, int newId) {
        return CVekObjectStoreBase::updateId(toObject(obj), newId);
    }

    // Deletes every object (sorted entries from the last to the first, then
    // the pending ones) and resets the store to capacity 64, pending
    // capacity 14.
    void eraseAllObjects() {
        while (m_sortedCount > 0) {
            CVekObject* obj = m_sorted[--m_sortedCount];
            delete obj;
        }
        while (m_pendingCount > 0) {
            CVekObject* obj = m_pending[--m_pendingCount];
            delete obj;
        }
        forgetAllObjects();
    }

    // The sorted array as it stands (no merge): `entries()` may exceed the
    // sorted entries while insertions are pending. Valid until the next
    // operation that inserts, merges or resizes.
    CVekObject** data() {
        return m_sorted;
    }

  protected:
    // Lets `insert(T*)` reach the virtual base insert (and so any override).
    using CVekObjectStoreBase::insert;

    static CVekObject* toObject(T* obj) {
        return obj ? static_cast<CVekObject*>(obj) : nullptr;
    }
    static T* toT(CVekObject* obj) {
        return obj ? static_cast<T*>(obj) : nullptr;
    }

    // Empties the arrays as eraseAllObjects leaves them, deleting nothing:
    // for a derived store that has ended its objects' lifetimes itself.
    void forgetAllObjects() {
        m_sortedCount = 0;
        m_pendingCount = 0;
        reallocArrays(64);
        noteDense();
    }

    friend class CVekObjectStoreIterator<T>;
};

#endif  // PLYSTRAND_LAYUPLIB_CVEKOBJECTSTORE_H
