#ifndef PLYSTRAND_LAYUPLIB_CKPREFSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPREFSTORE_H

#include "layuplib/CKpRef.h"
#include "layuplib/CVekObjectStore.h"

// CKpRefStore: node-to-element references by node id (capacity 64), filled
// by CKpNodeStore::CreateSelNodeElemRef for an element selection. Owns its
// records: the destructor deletes them.
class CKpRefStore : public CVekObjectStore<CKpRef> {
  public:
    CKpRefStore();
    // Deletes every record.
    ~CKpRefStore() override;
    CKpRefStore(const CKpRefStore&) = delete;
    CKpRefStore& operator=(const CKpRefStore&) = delete;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPREFSTORE_H
