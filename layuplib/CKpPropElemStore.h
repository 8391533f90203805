#ifndef PLYSTRAND_LAYUPLIB_CKPPROPELEMSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPPROPELEMSTORE_H

#include "layuplib/CKpPropElem.h"
#include "layuplib/CVekObjectStore.h"

// CKpPropElemStore: the elements of one property set, sorted by element id.
// The store owns its entries.
class CKpPropElemStore : public CVekObjectStore<CKpPropElem> {
  public:
    // An empty store of capacity 64.
    CKpPropElemStore();
    // Deletes every entry.
    ~CKpPropElemStore() override;

    CKpPropElemStore(const CKpPropElemStore&) = delete;
    CKpPropElemStore& operator=(const CKpPropElemStore&) = delete;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPPROPELEMSTORE_H
