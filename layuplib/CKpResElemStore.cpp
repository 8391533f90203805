#include "layuplib/CKpResElemStore.h"

CKpResElemStore::CKpResElemStore() : CVekObjectStore<CKpResElem>(64) {}

CKpResElemStore::~CKpResElemStore() {
    eraseAllObjects();
}
