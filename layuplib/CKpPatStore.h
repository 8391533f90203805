#ifndef PLYSTRAND_LAYUPLIB_CKPPATSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPPATSTORE_H

#include "layuplib/CKpPat.h"
#include "layuplib/CVekObjectStore.h"

// CKpPatStore: the model's patterns by id, one per ply. The store owns its
// patterns.
class CKpPatStore : public CVekObjectStore<CKpPat> {
  public:
    // An empty store of capacity 64.
    CKpPatStore();
    // Deletes every pattern.
    ~CKpPatStore() override;

    CKpPatStore(const CKpPatStore&) = delete;
    CKpPatStore& operator=(const CKpPatStore&) = delete;

    // The first pattern in ascending id whose name equals `name` exactly
    // (case-sensitive); null when none or for a null name.
    CKpPat* findByName(const char* name);
};

#endif  // PLYSTRAND_LAYUPLIB_CKPPATSTORE_H
