#ifndef PLYSTRAND_LAYUPLIB_CKPLYPPLYSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPLYPPLYSTORE_H

#include "layuplib/CKpLypPly.h"
#include "layuplib/CVekObjectStore.h"
#include "layuplib/IVekLayupPlyStore.h"

// CKpLypPlyStore: the layup plies of the layup, by id (placement order). It
// derives from its interface first, so the store pointer is the interface
// pointer. It owns its layup plies.
class CKpLypPlyStore : public IVekLayupPlyStore, public CVekObjectStore<CKpLypPly> {
  public:
    // An empty store of capacity 64.
    CKpLypPlyStore();
    // Deletes every layup ply.
    ~CKpLypPlyStore() override;

    CKpLypPlyStore(const CKpLypPlyStore&) = delete;
    CKpLypPlyStore& operator=(const CKpLypPlyStore&) = delete;

    // ---- IVekLayupPlyStore
    int Count() override;
    IVekLayupPly* Get(int index) override;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPLYPPLYSTORE_H
