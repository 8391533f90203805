#ifndef PLYSTRAND_LAYUPLIB_CVEKOBJECTSTOREITERATOR_H
#define PLYSTRAND_LAYUPLIB_CVEKOBJECTSTOREITERATOR_H

#include <cstddef>

#include "layuplib/CVekObjectStore.h"

// CVekObjectStoreIterator<T>: walks a store in ascending id order.
//
//   CVekObjectStoreIterator<CKpNode> it(store);
//   while (++it) { CKpNode* node = it.key(); ... }
//
// Binding merges the store's pending buffer; the store must not be changed
// (insert, erase, resize, ...) during the walk.
template <class T>
class CVekObjectStoreIterator {
  public:
    // Binds to `store` with the cursor before the first entry; merges.
    explicit CVekObjectStoreIterator(CVekObjectStore<T>& store) { reset(store); }

    // Rebinds to `store` (the same or another) and restarts; merges.
    void reset(CVekObjectStore<T>& store) {
        m_store = &store;
        m_cursor = nullptr;
        store.download_cache();
    }

    // Steps: the first call moves to the first entry, each later call to the
    // next. Returns nonzero while the cursor lies on an entry, 0 once the
    // walk has passed the last one (further calls keep returning 0).
    int operator++() {
        CVekObject** first = m_store->m_sorted;
        const size_t count = m_store->m_sortedCount;
        const size_t next = m_cursor ? static_cast<size_t>(m_cursor - first) + 1 : 0;
        if (next >= count) {
            m_cursor = first ? first + count : nullptr;  // parked one past the end
            return 0;
        }
        m_cursor = first + next;
        return 1;
    }

    // The object at the cursor; null before the first step, after the last
    // one and for an empty slot.
    T* key() const {
        if (!m_cursor) return nullptr;
        CVekObject** first = m_store->m_sorted;
        if (static_cast<size_t>(m_cursor - first) >= m_store->m_sortedCount) return nullptr;
        return CVekObjectStore<T>::toT(*m_cursor);
    }

  private:
    CVekObjectStore<T>* m_store;  // the store walked
    CVekObject** m_cursor;        // current slot; null before the first step
};

#endif  // PLYSTRAND_LAYUPLIB_CVEKOBJECTSTOREITERATOR_H
