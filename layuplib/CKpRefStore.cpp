#include "layuplib/CKpRefStore.h"

CKpRefStore::CKpRefStore() : CVekObjectStore<CKpRef>(64) {}

CKpRefStore::~CKpRefStore() {
    eraseAllObjects();
}
