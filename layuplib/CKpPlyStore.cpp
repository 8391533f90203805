#include "layuplib/CKpPlyStore.h"

CKpPlyStore::CKpPlyStore(CKpLayup* layup) : CVekObjectStore<CKpPly>(64), m_layup(layup) {}

CKpPlyStore::~CKpPlyStore() {
    eraseAllObjects();
}

void CKpPlyStore::insert(CKpPly* ply) {
    if (!ply) return;
    ply->SetPlyStore(this);
    CVekObjectStore<CKpPly>::insert(ply);
}
