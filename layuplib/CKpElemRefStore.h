#ifndef PLYSTRAND_LAYUPLIB_CKPELEMREFSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPELEMREFSTORE_H

#include "layuplib/CKpElemRef.h"
#include "layuplib/CVekObjectStore.h"

// CKpElemRefStore: the references of one element to the elements of another
// mesh, by referenced element id. Constructed with capacity 64. The owner
// (CKpElem) deletes the references with eraseAllObjects before deleting the
// store.
class CKpElemRefStore : public CVekObjectStore<CKpElemRef> {
  public:
    CKpElemRefStore();
    ~CKpElemRefStore() override;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPELEMREFSTORE_H
