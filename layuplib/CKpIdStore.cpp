#include "layuplib/CKpIdStore.h"

#include <vector>

CKpIdStore::CKpIdStore() : CVekObjectStore<CKpId>(64) {}

CKpIdStore::~CKpIdStore() {
    eraseAllObjects();
}

int CKpIdStore::ClearIds() {
    eraseAllObjects();
    return 0;
}

int CKpIdStore::SetIdsAdd(int n, const int* ids) {
    if (!ids || n < 1) return 0;
    for (int i = 0; i < n; ++i)
        if (ids[i] > 0 && !findOrCreate(ids[i])) return -1;
    return 0;
}

int CKpIdStore::SetIdsAdd(CVekObjectStoreBase& other) {
    if (&other == this) return 0;  // every id is already present
    int n = other.entries();
    if (n < 1) return 0;
    try {
        // Copied first: `other` may reorganise its arrays on every lookup.
        std::vector<int> ids(static_cast<size_t>(n));
        other.GetAllIds(n, ids.data());
        return SetIdsAdd(n, ids.data());
    } catch (...) {
        return -1;
    }
}

int CKpIdStore::SetIdsRemove(CVekObjectStoreBase& other) {
    // From the highest position down, so that the positions still to visit
    // stay where they are.
    download_cache();
    for (int pos = entries() - 1; pos >= 0; --pos) {
        CKpId* entry = (*this)[pos];
        if (entry && other.find(entry->id())) eraseObject(entry);
    }
    return 0;
}

int CKpIdStore::SetIdsBoth(CVekObjectStoreBase& other) {
    if (&other == this) return 0;
    download_cache();
    for (int pos = entries() - 1; pos >= 0; --pos) {
        CKpId* entry = (*this)[pos];
        if (entry && !other.find(entry->id())) eraseObject(entry);
    }
    return 0;
}
