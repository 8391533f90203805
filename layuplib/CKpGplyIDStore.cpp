#include "layuplib/CKpGplyIDStore.h"

CKpGplyIDStore::CKpGplyIDStore() : CVekObjectStore<CKpGplyID>(64) {}

CKpGplyIDStore::~CKpGplyIDStore() {
    eraseAllObjects();
}
