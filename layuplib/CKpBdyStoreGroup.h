#ifndef PLYSTRAND_LAYUPLIB_CKPBDYSTOREGROUP_H
#define PLYSTRAND_LAYUPLIB_CKPBDYSTOREGROUP_H

#include "layuplib/CKpBdyStore.h"
#include "layuplib/CVekObjectStore.h"

// CKpBdyStoreGroup: the boundary stores of the connected groups of an
// element selection, by id 1, 2, ... in the order of each group's lowest
// facet index. Owns its boundary stores.
class CKpBdyStoreGroup : public CVekObjectStore<CKpBdyStore> {
  public:
    // An empty group of capacity 64.
    CKpBdyStoreGroup();

    // Deletes every boundary store.
    ~CKpBdyStoreGroup() override;

    CKpBdyStoreGroup(const CKpBdyStoreGroup&) = delete;
    CKpBdyStoreGroup& operator=(const CKpBdyStoreGroup&) = delete;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPBDYSTOREGROUP_H
