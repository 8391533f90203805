#include "layuplib/CKpEventStore.h"

CKpEventStore::CKpEventStore() : CVekObjectStore<CKpEvent>(64) {}

CKpEventStore::~CKpEventStore() {
    eraseAllObjects();
}
