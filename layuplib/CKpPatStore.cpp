#include "layuplib/CKpPatStore.h"

#include <cstring>

#include "layuplib/CVekObjectStoreIterator.h"

CKpPatStore::CKpPatStore() : CVekObjectStore<CKpPat>(64) {}

CKpPatStore::~CKpPatStore() {
    eraseAllObjects();
}

CKpPat* CKpPatStore::findByName(const char* name) {
    if (!name) return nullptr;
    CVekObjectStoreIterator<CKpPat> it(*this);
    while (++it) {
        CKpPat* pat = it.key();
        if (pat && std::strcmp(pat->pttrnnm(), name) == 0) return pat;
    }
    return nullptr;
}
