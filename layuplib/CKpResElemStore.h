#ifndef PLYSTRAND_LAYUPLIB_CKPRESELEMSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPRESELEMSTORE_H

#include "layuplib/CKpResElem.h"
#include "layuplib/CVekObjectStore.h"

// CKpResElemStore: the element records of one result by element id,
// capacity 64; owns and deletes its records.
//
// Readers file the records of a result mostly in ascending element id:
// findRecord and insertRecord answer that case from the last id held,
// without merging or searching, and otherwise do what find and insert do.
// Their memory comes in blocks per result (see CKpResElemBlocks).
class CKpResElemStore : public CVekObjectStore<CKpResElem> {
  public:
    CKpResElemStore();
    ~CKpResElemStore() override;
    CKpResElemStore(const CKpResElemStore&) = delete;
    CKpResElemStore& operator=(const CKpResElemStore&) = delete;

    // The record of element `id`, or null (as find).
    CKpResElem* findRecord(int id) {
        if (m_pendingCount == 0 && (m_sortedCount == 0 || m_ids[m_sortedCount - 1] < id))
            return nullptr;
        return find(id);
    }
    // Stores `record` (as insert: 0 stored; -1 for null or when the store
    // cannot grow, the caller keeps the record). A record whose id is above
    // every id held goes straight to the end of the sorted entries; the
    // store grows by the steps insert takes, or by half its capacity when
    // that is more (from about 67,000 records on).
    int insertRecord(CKpResElem* record);

    // The blocks new records of this result come from:
    // `new (store.Blocks(), std::nothrow) CKpResElem(...)`.
    CKpResElemBlocks& Blocks() { return m_blocks; }

  private:
    // Destroyed after the records (the destructor deletes them first).
    CKpResElemBlocks m_blocks;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPRESELEMSTORE_H
