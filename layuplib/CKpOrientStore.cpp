#include "layuplib/CKpOrientStore.h"

#include "layuplib/CKpCoordStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"

CKpOrientStore::CKpOrientStore(CKpLayup* layup) : CVekObjectStore<CKpOrient>(64), m_layup(layup) {}

CKpOrientStore::~CKpOrientStore() {
    eraseAllObjects();
}

void CKpOrientStore::insert(CKpOrient* orient) {
    if (!orient) return;
    orient->SetOrientStore(this);
    CVekObjectStore<CKpOrient>::insert(orient);
}

int CKpOrientStore::Clear() {
    if (!m_layup) return 1;
    CKpElemStore* elems = m_layup->pElems();
    if (!elems) return 2;
    CKpCoordStore* coords = m_layup->pCoords();
    if (!coords) return 3;
    if (elems->orientClear() != 0) return 4;
    eraseAllObjects();
    coords->eraseAllObjects();
    return 0;
}
