#include "layuplib/CKpBdyStoreGroup.h"

CKpBdyStoreGroup::CKpBdyStoreGroup() : CVekObjectStore<CKpBdyStore>(64) {}

CKpBdyStoreGroup::~CKpBdyStoreGroup() {
    eraseAllObjects();
}
