#include "layuplib/CKpIdStore.h"

CKpIdStore::CKpIdStore() : CVekObjectStore<CKpId>(64) {}

CKpIdStore::~CKpIdStore() {
    eraseAllObjects();
}
