#ifndef PLYSTRAND_LAYUPLIB_CKPGPLYSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPGPLYSTORE_H

#include "layuplib/CKpGply.h"
#include "layuplib/CVekObjectStore.h"

// CKpGplyStore: global plies by id, ascending; findOrCreate (id) gives the
// global ply of that id, creating an empty one when it is missing. The store
// owns its entries.
class CKpGplyStore : public CVekObjectStore<CKpGply> {
  public:
    // An empty store of capacity 64.
    CKpGplyStore();
    // Deletes every global ply.
    ~CKpGplyStore() override;

    CKpGplyStore(const CKpGplyStore&) = delete;
    CKpGplyStore& operator=(const CKpGplyStore&) = delete;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPGPLYSTORE_H
