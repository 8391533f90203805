#include "layuplib/CKpPropStore.h"

CKpPropStore::CKpPropStore() : CVekObjectStore<CKpProp>(64) {}

CKpPropStore::~CKpPropStore() {
    eraseAllObjects();
}
