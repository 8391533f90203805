#include "layuplib/CKpSubLypPlyStore.h"

CKpSubLypPlyStore::CKpSubLypPlyStore() : CVekObjectStore<CKpSubLypPly>(64) {}

CKpSubLypPlyStore::~CKpSubLypPlyStore() {
    eraseAllObjects();
}
