#include "layuplib/CKpResStore.h"

CKpResStore::CKpResStore(CKpLayup* layup) : CVekObjectStore<CKpRes>(64), m_layup(layup) {}

CKpResStore::~CKpResStore() {
    eraseAllObjects();
}
