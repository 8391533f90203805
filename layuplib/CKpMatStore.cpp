#include "layuplib/CKpMatStore.h"

CKpMatStore::CKpMatStore(CKpLayup* layup) : CVekObjectStore<CKpMat>(64), m_layup(layup) {}

CKpMatStore::~CKpMatStore() {
    eraseAllObjects();
}

void CKpMatStore::insert(CKpMat* mat) {
    if (!mat) return;
    mat->SetMatStore(this);
    CVekObjectStore<CKpMat>::insert(mat);
}
