#include "layuplib/CKpLamStore.h"

#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"

CKpLamStore::CKpLamStore(CKpLayup* layup) : CVekObjectStore<CKpLam>(64), m_layup(layup) {}

CKpLamStore::~CKpLamStore() {
    eraseAllObjects();
}

void CKpLamStore::insert(CKpLam* lam) {
    if (!lam) return;
    lam->SetLamStore(this);
    CVekObjectStore<CKpLam>::insert(lam);
}

int CKpLamStore::Clear() {
    if (!m_layup) return 1;
    CKpElemStore* elems = m_layup->pElems();
    if (!elems) return 2;
    if (elems->lamClear() != 0) return 3;
    eraseAllObjects();
    return 0;
}
