#include "layuplib/CKpLamLyrStore.h"

CKpLamLyrStore::CKpLamLyrStore(CKpLam* lam) : m_lam(lam) {}

CKpLamLyrStore::~CKpLamLyrStore() {
    eraseAllObjects();
}

void CKpLamLyrStore::InsertLast(CKpLamLyr* lyr) {
    if (!lyr) return;
    CVekList<CKpLamLyr>::InsertLast(lyr);
    lyr->SetLamLyrStore(this);
}

void CKpLamLyrStore::InsertFirst(CKpLamLyr* lyr) {
    if (!lyr) return;
    CVekList<CKpLamLyr>::InsertFirst(lyr);
    lyr->SetLamLyrStore(this);
}

void CKpLamLyrStore::Insert(CKpLamLyr* before, CKpLamLyr* lyr) {
    if (!lyr) return;
    const int count = entries();
    CVekList<CKpLamLyr>::Insert(before, lyr);
    if (entries() != count) lyr->SetLamLyrStore(this);  // only when it was linked
}
