#include "layuplib/CKpResElemStore.h"

CKpResElemStore::CKpResElemStore() : CVekObjectStore<CKpResElem>(64) {}

CKpResElemStore::~CKpResElemStore() {
    // What eraseAllObjects does, in the same order, with the room of
    // neighbouring records given back together.
    CKpResElemBlocks::Giver giver;
    while (m_sortedCount > 0) {
        CKpResElem* record = static_cast<CKpResElem*>(m_sorted[--m_sortedCount]);
        record->~CKpResElem();
        giver.Give(record);
    }
    while (m_pendingCount > 0) {
        CKpResElem* record = static_cast<CKpResElem*>(m_pending[--m_pendingCount]);
        record->~CKpResElem();
        giver.Give(record);
    }
    giver.Flush();
    eraseAllObjects();
}

int CKpResElemStore::insertRecord(CKpResElem* record) {
    if (!record || m_pendingCount != 0 ||
        (m_sortedCount > 0 && m_ids[m_sortedCount - 1] >= record->id()))
        return insert(record);
    if (m_capacity <= m_sortedCount) {
        // insert's step (100 pending buffers), but at least half the
        // capacity: a result of millions of records is then copied a few
        // times while it grows, not once per step.
        size_t step = 100 * pendingCapacityFor(m_capacity);
        if (step < m_capacity / 2) step = m_capacity / 2;
        resize(m_capacity + step);
        if (m_capacity <= m_sortedCount) return -1;  // no room
    }
    // In id order: the place a merge would give it, its id beside it.
    m_sorted[m_sortedCount] = record;
    m_ids[m_sortedCount] = record->id();
    ++m_sortedCount;
    return 0;
}
