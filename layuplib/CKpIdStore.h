#ifndef PLYSTRAND_LAYUPLIB_CKPIDSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPIDSTORE_H

#include "layuplib/CKpId.h"
#include "layuplib/CVekObjectStore.h"

// CKpIdStore: a sorted set of integers, one CKpId per id, ascending.
// `findOrCreate` gives the entry of an id and creates it when missing. The
// store owns its entries.
class CKpIdStore : public CVekObjectStore<CKpId> {
  public:
    // An empty store of capacity 64.
    CKpIdStore();
    // Deletes every entry.
    ~CKpIdStore() override;

    CKpIdStore(const CKpIdStore&) = delete;
    CKpIdStore& operator=(const CKpIdStore&) = delete;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPIDSTORE_H
