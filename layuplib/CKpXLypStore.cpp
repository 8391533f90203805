#include "layuplib/CKpXLypStore.h"

CKpXLypStore::CKpXLypStore() : CVekObjectStore<CKpXLyp>(64) {}

CKpXLypStore::~CKpXLypStore() {
    eraseAllObjects();
}
