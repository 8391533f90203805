#ifndef PLYSTRAND_LAYUPLIB_CKPGPLYIDSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPGPLYIDSTORE_H

#include "layuplib/CKpGplyID.h"
#include "layuplib/CVekObjectStore.h"

// CKpGplyIDStore: global plies by id, ascending. The store owns its entries.
class CKpGplyIDStore : public CVekObjectStore<CKpGplyID> {
  public:
    // An empty store of capacity 64.
    CKpGplyIDStore();
    // Deletes every entry.
    ~CKpGplyIDStore() override;

    CKpGplyIDStore(const CKpGplyIDStore&) = delete;
    CKpGplyIDStore& operator=(const CKpGplyIDStore&) = delete;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPGPLYIDSTORE_H
