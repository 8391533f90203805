#ifndef PLYSTRAND_LAYUPLIB_CKPSUBLYPPLYSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPSUBLYPPLYSTORE_H

#include "layuplib/CKpSubLypPly.h"
#include "layuplib/CVekObjectStore.h"
#include "layuplib/IVekSubLayupPlyStore.h"

// CKpSubLypPlyStore: the plies of one sub-layup, by id (bottom first). It
// derives from its interface first, so the store pointer is the interface
// pointer. It owns its sub-layup plies.
class CKpSubLypPlyStore : public IVekSubLayupPlyStore, public CVekObjectStore<CKpSubLypPly> {
  public:
    // An empty store of capacity 64.
    CKpSubLypPlyStore();
    // Deletes every sub-layup ply.
    ~CKpSubLypPlyStore() override;

    CKpSubLypPlyStore(const CKpSubLypPlyStore&) = delete;
    CKpSubLypPlyStore& operator=(const CKpSubLypPlyStore&) = delete;

    // ---- IVekSubLayupPlyStore (see there) ----
    int Count() override { return entries(); }
    CKpSubLypPly* Get(int index) override { return (*this)[index]; }
};

#endif  // PLYSTRAND_LAYUPLIB_CKPSUBLYPPLYSTORE_H
