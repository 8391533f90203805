#ifndef PLYSTRAND_LAYUPLIB_CKPANSYSETSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPANSYSETSTORE_H

#include "layuplib/CKpAnsysEt.h"
#include "layuplib/CVekObjectStore.h"

// CKpAnsysEtStore: the ANSYS element types of the model by element type
// id. The owner (CKpAnsys) deletes the element types with eraseAllObjects.
class CKpAnsysEtStore : public CVekObjectStore<CKpAnsysEt> {
  public:
    // An empty store of capacity 64.
    CKpAnsysEtStore();
    ~CKpAnsysEtStore() override;

    CKpAnsysEtStore(const CKpAnsysEtStore&) = delete;
    CKpAnsysEtStore& operator=(const CKpAnsysEtStore&) = delete;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPANSYSETSTORE_H
