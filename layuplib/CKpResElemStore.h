#ifndef PLYSTRAND_LAYUPLIB_CKPRESELEMSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPRESELEMSTORE_H

#include "layuplib/CKpResElem.h"
#include "layuplib/CVekObjectStore.h"

// CKpResElemStore: the element records of one result by element id,
// capacity 64; owns and deletes its records.
class CKpResElemStore : public CVekObjectStore<CKpResElem> {
  public:
    CKpResElemStore();
    ~CKpResElemStore() override;
    CKpResElemStore(const CKpResElemStore&) = delete;
    CKpResElemStore& operator=(const CKpResElemStore&) = delete;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPRESELEMSTORE_H
