#include "layuplib/CKpSubLypStore.h"

CKpSubLypStore::CKpSubLypStore() : CVekObjectStore<CKpSubLyp>(64) {}

CKpSubLypStore::~CKpSubLypStore() {
    eraseAllObjects();
}
