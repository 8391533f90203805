#include "layuplib/CKpAnsysKeyoptStore.h"

#include <new>

CKpAnsysKeyoptStore::CKpAnsysKeyoptStore() : CVekObjectStore<CKpAnsysKeyopt>(64) {}

CKpAnsysKeyoptStore::CKpAnsysKeyoptStore(const CKpAnsysKeyoptStore& other)
    : CVekObjectStore<CKpAnsysKeyopt>(64) {
    // Read the source's arrays directly: its lookups would merge them,
    // which a const source does not allow. The copy sorts itself by number.
    for (size_t i = 0; i < other.m_sortedCount; ++i) copyFrom(other.m_sorted[i]);
    for (size_t i = 0; i < other.m_pendingCount; ++i) copyFrom(other.m_pending[i]);
}

void CKpAnsysKeyoptStore::copyFrom(const CVekObject* obj) {
    const CKpAnsysKeyopt* keyopt = static_cast<const CKpAnsysKeyopt*>(obj);
    if (keyopt) Put(keyopt->id(), keyopt->Val());
}

CKpAnsysKeyoptStore::~CKpAnsysKeyoptStore() {
    eraseAllObjects();
}

int CKpAnsysKeyoptStore::GetKeyoptVal(int number) {
    const CKpAnsysKeyopt* keyopt = find(number);
    return keyopt ? keyopt->Val() : -1;
}

void CKpAnsysKeyoptStore::SetKeyoptVal(int number, int value) {
    if (number < 1) return;
    Put(number, value);
}

void CKpAnsysKeyoptStore::Put(int number, int value) {
    CKpAnsysKeyopt* keyopt = find(number);
    if (keyopt) {
        keyopt->SetVal(value);
        return;
    }
    keyopt = new (std::nothrow) CKpAnsysKeyopt(number, value);
    if (!keyopt) return;
    if (insert(keyopt) != 0) delete keyopt;  // the store could not grow
}
