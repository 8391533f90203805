#include "layuplib/CKpOffStore.h"

CKpOffStore::CKpOffStore(CKpLayup* layup) : CVekObjectStore<CKpOff>(64), m_layup(layup) {}

CKpOffStore::~CKpOffStore() {
    eraseAllObjects();
}

void CKpOffStore::insert(CKpOff* off) {
    if (!off) return;
    off->SetOffStore(this);
    CVekObjectStore<CKpOff>::insert(off);
}
