#include "layuplib/CKpFieldStore.h"

CKpFieldStore::CKpFieldStore(CKpLayup* layup) : CVekObjectStore<CKpField>(64), m_layup(layup) {}

CKpFieldStore::~CKpFieldStore() {
    eraseAllObjects();
}

void CKpFieldStore::insert(CKpField* field) {
    if (!field) return;
    field->SetFieldStore(this);
    CVekObjectStore<CKpField>::insert(field);
}
