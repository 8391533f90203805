#include "layuplib/CKpSetStore.h"

#include <cstring>

CKpSetStore::CKpSetStore() : CVekObjectStore<CKpSet>(64) {}

CKpSetStore::~CKpSetStore() {
    eraseAllObjects();
}

int CKpSetStore::Count() {
    return entries();
}

IVekSet* CKpSetStore::Get(int i) {
    return (*this)[i];
}

CKpSet* CKpSetStore::findByName(const char* name) {
    if (!name) return nullptr;
    const int n = entries();
    for (int i = 0; i < n; ++i) {
        CKpSet* set = (*this)[i];
        if (set && std::strcmp(set->name(), name) == 0) return set;
    }
    return nullptr;
}
