#include "layuplib/CKpLamLyrStore.h"

#include <new>

#include "layuplib/CKpLam.h"

CKpLamLyrStore::CKpLamLyrStore(CKpLam* lam) : m_lam(lam) {}

CKpLamLyrStore::~CKpLamLyrStore() {
    eraseAllObjects();
}

CKpLamLyr* CKpLamLyrStore::New() {
    CKpLamLyr* lyr = new (std::nothrow) CKpLamLyr();
    if (lyr) InsertLast(lyr);
    return lyr;
}

CKpLayup* CKpLamLyrStore::GetLayup() const {
    return m_lam ? m_lam->GetLayup() : nullptr;
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

int CKpLamLyrStore::GetReferencesOfMaterial(int mid) const {
    int n = 0;
    for (const CKpLamLyr* lyr = First(); lyr; lyr = Next(lyr))
        if (lyr->mid() == mid) ++n;
    return n;
}
