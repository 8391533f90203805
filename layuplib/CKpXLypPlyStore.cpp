#include "layuplib/CKpXLypPlyStore.h"

CKpXLypPlyStore::~CKpXLypPlyStore() {
    eraseAllObjects();
}

CKpXLypPly* CKpXLypPlyStore::FindLypPly(int lypPlyId) const {
    for (CKpXLypPly* p = First(); p; p = Next(p))
        if (p->GetLypPlyId() == lypPlyId) return p;
    return nullptr;
}
