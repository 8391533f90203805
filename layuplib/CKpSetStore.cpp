#include "layuplib/CKpSetStore.h"

CKpSetStore::CKpSetStore() : CVekObjectStore<CKpSet>(64) {}

CKpSetStore::~CKpSetStore() {
    eraseAllObjects();
}
