#include "layuplib/CKpElemLypPlyStore.h"

#include <new>

CKP_BLOCK_POOLED_DEFINE(CKpElemLypPlyStore)

CKpElemLypPlyStore::CKpElemLypPlyStore() = default;

CKpElemLypPlyStore::~CKpElemLypPlyStore() {
    eraseAllObjects();
}

int CKpElemLypPlyStore::AddLypPlyIds(CVekObjectStore<CVekObject>& ids) const {
    for (const CKpElemLypPly* entry = First(); entry; entry = Next(entry)) {
        if (!entry->getLypPly()) continue;
        const int id = entry->getLypPlyId();
        if (ids.find(id)) continue;
        CVekObject* obj = new (std::nothrow) CVekObject(id);
        if (!obj) return -1;
        if (ids.insert(obj) != 0) {  // the store could not grow
            delete obj;
            return -1;
        }
    }
    return 0;
}

double CKpElemLypPlyStore::TotThick() const {
    double total = 0.0;
    for (const CKpElemLypPly* entry = First(); entry; entry = Next(entry)) total += entry->thck();
    return total;
}

CKpElemLypPly* CKpElemLypPlyStore::GetElemLypPly(int lypPlyId) const {
    for (CKpElemLypPly* entry = First(); entry; entry = Next(entry))
        if (entry->getLypPly() && entry->getLypPlyId() == lypPlyId) return entry;
    return nullptr;
}
