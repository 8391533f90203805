#include "layuplib/CKpElemEdgeStore.h"

CKpElemEdgeStore::CKpElemEdgeStore() = default;

CKpElemEdgeStore::~CKpElemEdgeStore() {
    eraseAllObjects();
}
