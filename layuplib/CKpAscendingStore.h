#ifndef PLYSTRAND_LAYUPLIB_CKPASCENDINGSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPASCENDINGSTORE_H

#include <cstddef>

#include "layuplib/CVekObjectStore.h"

// CKpAscendingStore<T>: a CVekObjectStore<T> whose insertion appends an
// object straight to the sorted array when nothing is pending and its id is
// above every stored id. Meshes are built and read in ascending id, so their
// nodes and elements then skip the pending buffer and the sort of every
// merge. Any other insertion goes through the pending buffer as in
// CVekObjectStoreBase.
//
// Observably the store behaves as CVekObjectStore<T>: the same capacities
// (the same growth step, taken when capacity <= sorted + pending), the same
// order, the same statuses, ownership unchanged. The id of an appended
// object is taken at its insertion, which is when it enters the sorted
// array.
template <class T>
class CKpAscendingStore : public CVekObjectStore<T> {
  public:
    explicit CKpAscendingStore(size_t capacity) : CVekObjectStore<T>(capacity) {}
    CKpAscendingStore(const CKpAscendingStore&) = delete;
    CKpAscendingStore& operator=(const CKpAscendingStore&) = delete;

    // As CVekObjectStore<T>::insert: 0 stored; -1 for null or when the
    // store must grow and cannot (the caller still holds the object).
    int insert(T* obj) { return CVekObjectStore<T>::insert(obj); }

  protected:
    int insert(CVekObject* obj) override {
        if (obj && this->m_pendingCount == 0 && this->m_pendingCapacity != 0) {
            // The base's growth step, with nothing pending.
            if (this->m_capacity <= this->m_sortedCount) {
                this->resize(this->m_capacity + 100 * this->pendingCapacityFor(this->m_capacity));
                if (this->m_capacity <= this->m_sortedCount) return -1;  // no room
            }
            const size_t n = this->m_sortedCount;
            const int id = obj->id();
            if (this->m_pendingCapacity != 0 && (n == 0 || id > this->m_ids[n - 1])) {
                this->m_sorted[n] = obj;
                this->m_ids[n] = id;
                this->m_sortedCount = n + 1;
                this->noteDense();
                return 0;
            }
        }
        return CVekObjectStoreBase::insert(obj);
    }
};

#endif  // PLYSTRAND_LAYUPLIB_CKPASCENDINGSTORE_H
