#include "layuplib/CKpEventStore.h"

CKpEventStore::CKpEventStore() : CVekObjectStore<CKpEvent>(64) {}

CKpEventStore::~CKpEventStore() {
    eraseAllObjects();
}

int CKpEventStore::Count() {
    return entries();
}

IVekEvent* CKpEventStore::Get(int index) {
    return (*this)[index];
}
