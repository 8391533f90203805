#ifndef PLYSTRAND_LAYUPLIB_CKPSETSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPSETSTORE_H

#include "layuplib/CKpSet.h"
#include "layuplib/CVekObjectStore.h"
#include "layuplib/IVekSetStore.h"

// CKpSetStore: the model's named sets of ids, by id. It derives from its
// interface first, so the store pointer is the interface pointer. It owns its
// sets.
class CKpSetStore : public IVekSetStore, public CVekObjectStore<CKpSet> {
  public:
    // An empty store of capacity 64.
    CKpSetStore();
    // Deletes every set.
    ~CKpSetStore() override;

    CKpSetStore(const CKpSetStore&) = delete;
    CKpSetStore& operator=(const CKpSetStore&) = delete;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPSETSTORE_H
