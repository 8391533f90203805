#include "layuplib/CKpLypPlyStore.h"

CKpLypPlyStore::CKpLypPlyStore() : CVekObjectStore<CKpLypPly>(64) {}

CKpLypPlyStore::~CKpLypPlyStore() {
    eraseAllObjects();
}
