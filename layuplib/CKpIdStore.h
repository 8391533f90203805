#ifndef PLYSTRAND_LAYUPLIB_CKPIDSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPIDSTORE_H

#include "layuplib/CKpId.h"
#include "layuplib/CVekObjectStore.h"

// CKpIdStore: a sorted set of integers, one CKpId per id, ascending.
// `findOrCreate` gives the entry of an id and creates it when missing. The
// store owns its entries.
class CKpIdStore : public CVekObjectStore<CKpId> {
  public:
    // An empty store of capacity 64.
    CKpIdStore();
    // Deletes every entry.
    ~CKpIdStore() override;

    CKpIdStore(const CKpIdStore&) = delete;
    CKpIdStore& operator=(const CKpIdStore&) = delete;

    // Deletes every id (the store returns to capacity 64). 0.
    int ClearIds();

    // Adds each positive id of `ids` (`n` ints, read) that is not yet
    // present; nothing for a null array or n below 1. 0; -1 when memory runs
    // out (the ids added so far stay).
    int SetIdsAdd(int n, const int* ids);
    // The same with the id of every entry of `other` (any object store; may
    // be this store). 0; -1 when memory runs out.
    int SetIdsAdd(CVekObjectStoreBase& other);

    // Deletes every id that `other` holds. 0.
    int SetIdsRemove(CVekObjectStoreBase& other);

    // Keeps only the ids that `other` also holds. 0.
    int SetIdsBoth(CVekObjectStoreBase& other);
};

#endif  // PLYSTRAND_LAYUPLIB_CKPIDSTORE_H
