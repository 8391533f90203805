#include "layuplib/CKpPatStore.h"

CKpPatStore::CKpPatStore() : CVekObjectStore<CKpPat>(64) {}

CKpPatStore::~CKpPatStore() {
    eraseAllObjects();
}
