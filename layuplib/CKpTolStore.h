#ifndef PLYSTRAND_LAYUPLIB_CKPTOLSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPTOLSTORE_H

#include "layuplib/CKpTol.h"
#include "layuplib/CVekObjectStore.h"

// CKpTolStore: the model's tolerance regions by id. Owns its regions.
class CKpTolStore : public CVekObjectStore<CKpTol> {
  public:
    // An empty store of capacity 64.
    CKpTolStore();

    // Deletes every region.
    ~CKpTolStore() override;

    CKpTolStore(const CKpTolStore&) = delete;
    CKpTolStore& operator=(const CKpTolStore&) = delete;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPTOLSTORE_H
