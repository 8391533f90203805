#ifndef PLYSTRAND_LAYUPLIB_CKPSUBLYPSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPSUBLYPSTORE_H

#include "layuplib/CKpSubLyp.h"
#include "layuplib/CVekObjectStore.h"
#include "layuplib/IVekSubLayupStore.h"

// CKpSubLypStore: the sub-layups made by property generation, by id. It
// derives from its interface first, so the store pointer is the interface
// pointer. It owns its sub-layups.
class CKpSubLypStore : public IVekSubLayupStore, public CVekObjectStore<CKpSubLyp> {
  public:
    // An empty store of capacity 64.
    CKpSubLypStore();
    // Deletes every sub-layup.
    ~CKpSubLypStore() override;

    CKpSubLypStore(const CKpSubLypStore&) = delete;
    CKpSubLypStore& operator=(const CKpSubLypStore&) = delete;

    // ---- IVekSubLayupStore (see there) ----
    int Count() override { return entries(); }
    CKpSubLyp* Get(int index) override { return (*this)[index]; }
};

#endif  // PLYSTRAND_LAYUPLIB_CKPSUBLYPSTORE_H
