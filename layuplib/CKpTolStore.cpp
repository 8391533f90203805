#include "layuplib/CKpTolStore.h"

CKpTolStore::CKpTolStore() : CVekObjectStore<CKpTol>(64) {}

CKpTolStore::~CKpTolStore() {
    eraseAllObjects();
}
