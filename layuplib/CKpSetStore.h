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

    // ---- IVekSetStore, in slot order (documented there)
    int Count() override;
    IVekSet* Get(int i) override;

    // The first set in ascending id order whose name equals `name` exactly
    // (case-sensitive); null when none does or `name` is null.
    CKpSet* findByName(const char* name);
};

#endif  // PLYSTRAND_LAYUPLIB_CKPSETSTORE_H
