#include "layuplib/CKpPropElemStore.h"

CKpPropElemStore::CKpPropElemStore() : CVekObjectStore<CKpPropElem>(64) {}

CKpPropElemStore::~CKpPropElemStore() {
    eraseAllObjects();
}
