#ifndef PLYSTRAND_LAYUPLIB_CKPGPLYELEMSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPGPLYELEMSTORE_H

#include "layuplib/CKpGplyElem.h"
#include "layuplib/CVekObjectStore.h"

// CKpGplyElemStore: the elements of one global ply by element id,
// ascending. The store owns its entries.
class CKpGplyElemStore : public CVekObjectStore<CKpGplyElem> {
  public:
    // An empty store of capacity 64.
    CKpGplyElemStore();
    // Deletes every entry.
    ~CKpGplyElemStore() override;

    CKpGplyElemStore(const CKpGplyElemStore&) = delete;
    CKpGplyElemStore& operator=(const CKpGplyElemStore&) = delete;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPGPLYELEMSTORE_H
