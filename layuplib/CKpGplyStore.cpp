#include "layuplib/CKpGplyStore.h"

CKpGplyStore::CKpGplyStore() : CVekObjectStore<CKpGply>(64) {}

CKpGplyStore::~CKpGplyStore() {
    eraseAllObjects();
}
