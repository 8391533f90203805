#include "layuplib/CVekObjectStoreBase.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "layuplib/CKpBlockPool.h"

namespace {

// Bytes for `slots` pointers; at least one slot so that realloc never sees a
// size of 0 (which may free the block). 0 on overflow.
size_t slotBytes(size_t slots) {
    if (slots > SIZE_MAX / sizeof(CVekObject*)) return 0;
    return std::max<size_t>(slots, 1) * sizeof(CVekObject*);
}

CVekObject** allocSlots(size_t slots) {
    const size_t bytes = slotBytes(slots);
    return bytes ? static_cast<CVekObject**>(std::malloc(bytes)) : nullptr;
}

// Bytes of a sorted block: `slots` pointers, then `slots` ids. 0 on
// overflow.
size_t sortedBytes(size_t slots) {
    const size_t perSlot = sizeof(CVekObject*) + sizeof(int);
    if (slots > SIZE_MAX / perSlot) return 0;
    return std::max<size_t>(slots, 1) * perSlot;
}

}  // namespace

size_t CVekObjectStoreBase::pendingCapacityFor(size_t capacity) {
    return 4 + static_cast<size_t>(1.3 * std::sqrt(static_cast<float>(capacity)));
}

CVekObjectStoreBase::CVekObjectStoreBase(size_t capacity)
    : m_sorted(nullptr),
      m_ids(nullptr),
      m_sortedCount(0),
      m_capacity(0),
      m_pending(nullptr),
      m_pendingCount(0),
      m_pendingCapacity(0),
      m_duplicates(0),
      m_denseFirst(0),
      m_denseCount(0) {
    reallocArrays(capacity);
}

CVekObjectStoreBase::CVekObjectStoreBase(CVekObjectStoreBase& other)
    : m_sorted(nullptr),
      m_ids(nullptr),
      m_sortedCount(0),
      m_capacity(0),
      m_pending(nullptr),
      m_pendingCount(0),
      m_pendingCapacity(0),
      m_duplicates(0),
      m_denseFirst(0),
      m_denseCount(0) {
    other.download_cache();
    if (!copyArrays(other, m_sorted, m_pending)) return;
    m_ids = idsOf(m_sorted, other.m_capacity);
    m_sortedCount = other.m_sortedCount;
    m_capacity = other.m_capacity;
    m_pendingCapacity = other.m_pendingCapacity;
    m_duplicates = other.m_duplicates;
    noteDense();
}

CVekObjectStoreBase& CVekObjectStoreBase::operator=(CVekObjectStoreBase& other) {
    other.download_cache();
    if (&other == this) return *this;
    CVekObject** sorted = nullptr;
    CVekObject** pending = nullptr;
    if (!copyArrays(other, sorted, pending)) return *this;
    std::free(m_sorted);
    std::free(m_pending);
    m_sorted = sorted;
    m_ids = idsOf(sorted, other.m_capacity);
    m_pending = pending;
    m_sortedCount = other.m_sortedCount;
    m_capacity = other.m_capacity;
    m_pendingCount = 0;
    m_pendingCapacity = other.m_pendingCapacity;
    m_duplicates = other.m_duplicates;
    noteDense();
    return *this;
}

CVekObjectStoreBase::~CVekObjectStoreBase() {
    std::free(m_sorted);
    std::free(m_pending);
}

bool CVekObjectStoreBase::copyArrays(const CVekObjectStoreBase& other, CVekObject**& sorted,
                                     CVekObject**& pending) {
    const size_t bytes = sortedBytes(other.m_capacity);
    sorted = bytes ? static_cast<CVekObject**>(std::malloc(bytes)) : nullptr;
    pending = allocSlots(other.m_pendingCapacity);
    if (!sorted || !pending) {
        std::free(sorted);
        std::free(pending);
        sorted = pending = nullptr;
        return false;
    }
    if (other.m_sortedCount > 0) {
        std::memcpy(sorted, other.m_sorted, other.m_sortedCount * sizeof(CVekObject*));
        std::memcpy(idsOf(sorted, other.m_capacity), other.m_ids,
                    other.m_sortedCount * sizeof(int));
    }
    return true;
}

bool CVekObjectStoreBase::reallocArrays(size_t capacity) {
    // Each block is replaced only when its realloc succeeds, and each figure
    // follows its own block, so a failure leaves a consistent store. The ids
    // sit after the pointers: when shrinking they move down before the
    // realloc, when growing up after it.
    const size_t bytes = sortedBytes(capacity);
    if (!bytes) return false;
    const size_t keep = std::min(m_sortedCount, capacity);
    if (capacity < m_capacity && m_sorted) {
        std::memmove(idsOf(m_sorted, capacity), m_ids, keep * sizeof(int));
        m_ids = idsOf(m_sorted, capacity);
        m_capacity = capacity;  // the block is at least as large as it needs
    }
    void* sorted = std::realloc(m_sorted, bytes);
    if (!sorted) return false;
    // A mesh's store holds millions of entries: few page faults for them.
    CKpBlockPool::adviseLarge(sorted, bytes);
    const size_t oldCapacity = m_capacity;
    m_sorted = static_cast<CVekObject**>(sorted);
    m_ids = idsOf(m_sorted, capacity);
    if (oldCapacity != capacity && keep > 0)
        std::memmove(m_ids, idsOf(m_sorted, oldCapacity), keep * sizeof(int));
    m_capacity = capacity;

    const size_t pendingCapacity = pendingCapacityFor(capacity);
    void* pending = std::realloc(m_pending, slotBytes(pendingCapacity));
    if (!pending) return false;
    m_pending = static_cast<CVekObject**>(pending);
    m_pendingCapacity = pendingCapacity;
    return true;
}

int CVekObjectStoreBase::insert(CVekObject* obj) {
    if (!obj) return -1;
    if (m_capacity <= m_sortedCount + m_pendingCount) {
        resize(m_capacity + 100 * pendingCapacityFor(m_capacity));
        if (m_capacity <= m_sortedCount + m_pendingCount) return -1;  // no room
    }
    if (m_pendingCount >= m_pendingCapacity && m_pendingCount != 0) download_cache();
    if (m_pendingCapacity == 0) return -1;  // pending buffer never allocated
    m_pending[m_pendingCount++] = obj;
    m_denseCount = 0;  // find must merge first
    return 0;
}

CVekObject* CVekObjectStoreBase::findSearch(int id) {
    if (m_sortedCount + m_pendingCount < 1) return nullptr;
    download_cache();
    if (m_denseCount != m_sortedCount) {
        // A derived store changed the sorted array itself.
        noteDense();
        const size_t slot = static_cast<size_t>(static_cast<long long>(id) - m_denseFirst);
        if (slot < m_denseCount) return m_sorted[slot];
    }
    const int* pos = nullptr;
    if (search(m_ids, m_ids + m_sortedCount - 1, id, pos)) return m_sorted[pos - m_ids];
    return nullptr;
}

int CVekObjectStoreBase::minId() {
    download_cache();
    return m_sortedCount == 0 ? 0 : m_ids[0];
}

int CVekObjectStoreBase::maxId() {
    download_cache();
    if (m_sortedCount == 0) return 0;
    const int id = m_ids[m_sortedCount - 1];
    return id < 1 ? 0 : id;
}

void CVekObjectStoreBase::resize(size_t capacity) {
    download_cache();
    if (capacity < m_sortedCount) {
        m_sortedCount = capacity;
        m_duplicates = countDuplicates();
    }
    reallocArrays(capacity);
    noteDense();
}

size_t CVekObjectStoreBase::countDuplicates() const {
    size_t duplicates = 0;
    for (size_t i = 1; i < m_sortedCount; ++i) duplicates += m_ids[i] == m_ids[i - 1];
    return duplicates;
}

void CVekObjectStoreBase::noteDense() {
    const size_t n = m_sortedCount;
    if (n == 0) m_duplicates = 0;
    // n distinct ids spanning n values are exactly first..first + n - 1.
    const bool dense = m_pendingCount == 0 && n > 0 && m_duplicates == 0 &&
                       static_cast<long long>(m_ids[n - 1]) - m_ids[0] ==
                           static_cast<long long>(n) - 1;
    m_denseFirst = dense ? m_ids[0] : 0;
    m_denseCount = dense ? n : 0;
}

void CVekObjectStoreBase::GetAllIds(int& n, int* ids) {
    if (!ids || entries() == 0 || n != entries()) return;
    download_cache();
    for (size_t i = 0; i < m_sortedCount; ++i) ids[i] = m_sorted[i] ? m_ids[i] : 0;
}

int CVekObjectStoreBase::IdsDiffer(CVekObjectStoreBase& other) {
    download_cache();
    other.download_cache();
    if (m_sortedCount != other.m_sortedCount) return 1;
    for (size_t i = 0; i < m_sortedCount; ++i) {
        if (!m_sorted[i]) return 2;
        if (!other.m_sorted[i]) return 3;
        if (m_ids[i] != other.m_ids[i]) return 4;
    }
    return 0;
}

CVekObject** CVekObjectStoreBase::locate(CVekObject* obj) {
    if (!obj || m_sortedCount == 0) return nullptr;
    CVekObject** first = m_sorted;
    CVekObject** last = m_sorted + m_sortedCount - 1;
    const int* at = nullptr;
    const int id = obj->id();
    if (search(m_ids, m_ids + m_sortedCount - 1, id, at)) {
        // Duplicate ids form a run; the object may sit anywhere in it.
        const size_t k = static_cast<size_t>(at - m_ids);
        for (size_t p = k + 1; p-- > 0 && m_ids[p] == id;)
            if (m_sorted[p] == obj) return m_sorted + p;
        for (size_t p = k + 1; p < m_sortedCount && m_ids[p] == id; ++p)
            if (m_sorted[p] == obj) return m_sorted + p;
    }
    // Not under its id: its id may have been changed behind the store's back.
    // Leaving such an entry behind would leave a dangling pointer once the
    // caller deletes the object.
    for (CVekObject** p = first; p <= last; ++p)
        if (*p == obj) return p;
    return nullptr;
}

void CVekObjectStoreBase::erase(CVekObject* obj) {
    if (!obj) return;
    download_cache();
    CVekObject** slot = locate(obj);
    if (!slot) return;
    removeSlot(static_cast<size_t>(slot - m_sorted));
}

void CVekObjectStoreBase::removeSlot(size_t at) {
    const size_t above = m_sortedCount - at - 1;
    // One duplicate fewer when the id stays held by a neighbour.
    const int id = m_ids[at];
    if ((at > 0 && m_ids[at - 1] == id) || (above > 0 && m_ids[at + 1] == id)) --m_duplicates;
    std::memmove(m_sorted + at, m_sorted + at + 1, above * sizeof(CVekObject*));
    std::memmove(m_ids + at, m_ids + at + 1, above * sizeof(int));
    --m_sortedCount;
    noteDense();
}

int CVekObjectStoreBase::updateId(CVekObject* obj, int newId) {
    if (!obj) return 1;
    if (entries() > 0 && find(newId)) return 2;
    if (entries() == 0) return 3;
    download_cache();
    CVekObject** slot = locate(obj);
    if (!slot) return 3;
    erase(obj);
    obj->setId(newId);
    insert(obj);  // cannot fail: erase has just freed a slot
    return 0;
}

void CVekObjectStoreBase::download_cache() {
    if (m_pendingCount == 0) return;
    download_sub(m_sortedCount ? m_sorted + m_sortedCount - 1 : nullptr);
}

void CVekObjectStoreBase::download_sub(CVekObject** last) {
    const size_t pendingCount = m_pendingCount;
    if (pendingCount == 0) return;
    const size_t sortedCount = last ? static_cast<size_t>(last - m_sorted) + 1 : 0;

    // 1. Sort the pending entries; reversing first puts the most recent
    //    insertion first among equal ids, matching the rule against the
    //    sorted run below.
    std::reverse(m_pending, m_pending + pendingCount);
    sortArray(m_pending, static_cast<int>(pendingCount));

    // 2. Slot of the smallest pending id: the insertion slot, or the first
    //    slot of its run when that id is already stored.
    size_t gap = 0;
    if (sortedCount > 0) {
        const int smallest = m_pending[0]->id();
        const int* pos = nullptr;
        if (search(m_ids, m_ids + sortedCount - 1, smallest, pos))
            while (pos > m_ids && *(pos - 1) == smallest) --pos;
        gap = static_cast<size_t>(pos - m_ids);
    }

    // 3. Move the tail up by the pending count.
    size_t moved = gap + pendingCount;
    const size_t tail = sortedCount - gap;
    if (tail > 0) {
        std::memmove(m_sorted + moved, m_sorted + gap, tail * sizeof(CVekObject*));
        std::memmove(m_ids + moved, m_ids + gap, tail * sizeof(int));
    }
    const size_t movedEnd = moved + tail;

    // 4. Merge both runs into the gap; pending entries win ties. Once the
    //    pending run is used up the moved entries are already in place. A
    //    pending id is new to the store unless the entry written before it
    //    or the stored entry it was compared with holds the same id.
    size_t out = gap;
    size_t fresh = 0;
    CVekObject** in = m_pending;
    CVekObject** inEnd = m_pending + pendingCount;
    while (in < inEnd) {
        const int inId = (*in)->id();
        if (moved == movedEnd || inId <= m_ids[moved]) {
            fresh += (out == 0 || m_ids[out - 1] != inId) && (moved == movedEnd || m_ids[moved] != inId);
            m_sorted[out] = *in++;
            m_ids[out++] = inId;
        } else {
            m_sorted[out] = m_sorted[moved];
            m_ids[out++] = m_ids[moved++];
        }
    }

    // 5. Nothing pending any more.
    m_sortedCount = sortedCount + pendingCount;
    m_pendingCount = 0;
    m_duplicates += pendingCount - fresh;
    noteDense();
}

int CVekObjectStoreBase::search(const int* lo, const int* hi, int id, const int*& pos) {
    // Work on slot offsets in 64 bits: the interpolating guess for ids far
    // apart overflows 32 bits and may point far outside the range, so it is
    // checked against the bounds before any pointer is formed.
    if (hi < lo) {
        pos = lo;
        return 0;
    }
    std::int64_t low = 0;
    std::int64_t high = hi - lo;
    // Ids beyond either end (the next id of an ascending build, above all)
    // need no search.
    if (id > lo[high]) {
        pos = hi + 1;
        return 0;
    }
    if (id < lo[0]) {
        pos = lo;
        return 0;
    }
    std::int64_t slot = 0;
    while (low <= high) {
        slot = low + (static_cast<std::int64_t>(id) - lo[low]);
        if (slot > high)
            slot = low + (high - low) / 2;
        else if (slot < low)
            slot = low;
        const int slotId = lo[slot];
        if (slotId == id) {
            pos = lo + slot;
            return 1;
        }
        if (id < slotId)
            high = slot - 1;
        else
            low = slot + 1;
    }
    pos = lo + low;  // the last slot looked at, or the one after it
    return 0;
}

void CVekObjectStoreBase::sortArray(CVekObject** array, int n) {
    if (n < 2) return;
    std::stable_sort(array, array + n, [](CVekObject* const& a, CVekObject* const& b) {
        return Compare(&a, &b) < 0;
    });
}

int CVekObjectStoreBase::Compare(const void* a, const void* b) {
    const int ia = (*static_cast<CVekObject* const*>(a))->id();
    const int ib = (*static_cast<CVekObject* const*>(b))->id();
    return (ia > ib) - (ia < ib);
}
