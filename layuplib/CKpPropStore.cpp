#include "layuplib/CKpPropStore.h"

CKpPropStore::CKpPropStore() : CVekObjectStore<CKpProp>(64) {}

CKpPropStore::~CKpPropStore() {
    eraseAllObjects();
}

int CKpPropStore::Count() {
    return entries();
}

IVekPropertySet* CKpPropStore::Get(int i) {
    return (*this)[i];
}
