#include "layuplib/CKpLypPlyStore.h"

CKpLypPlyStore::CKpLypPlyStore() : CVekObjectStore<CKpLypPly>(64) {}

CKpLypPlyStore::~CKpLypPlyStore() {
    eraseAllObjects();
}

int CKpLypPlyStore::Count() {
    return entries();
}

IVekLayupPly* CKpLypPlyStore::Get(int index) {
    return (*this)[index];
}
