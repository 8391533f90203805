#include "layuplib/CKpGplyElemStore.h"

CKpGplyElemStore::CKpGplyElemStore() : CVekObjectStore<CKpGplyElem>(64) {}

CKpGplyElemStore::~CKpGplyElemStore() {
    eraseAllObjects();
}
