#ifndef PLYSTRAND_LAYUPLIB_CKPPROPSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPPROPSTORE_H

#include "layuplib/CKpProp.h"
#include "layuplib/CVekObjectStore.h"
#include "layuplib/IVekPropertySetStore.h"

// CKpPropStore: the property sets made by property generation, by id. It
// derives from its interface first, so the store pointer is the interface
// pointer. It owns its property sets.
class CKpPropStore : public IVekPropertySetStore, public CVekObjectStore<CKpProp> {
  public:
    // An empty store of capacity 64.
    CKpPropStore();
    // Deletes every property set.
    ~CKpPropStore() override;

    CKpPropStore(const CKpPropStore&) = delete;
    CKpPropStore& operator=(const CKpPropStore&) = delete;

    // ---- IVekPropertySetStore, in slot order (documented there)
    int Count() override;
    IVekPropertySet* Get(int i) override;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPPROPSTORE_H
