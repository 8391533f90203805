#ifndef PLYSTRAND_LAYUPLIB_CKPFACREFSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPFACREFSTORE_H

#include "layuplib/CKpFacRef.h"
#include "layuplib/CVekList.h"

// CKpFacRefStore: the facets meeting at one node, in the order they were
// added. The list owns its entries and deletes them when it is destroyed.
class CKpFacRefStore : public CVekList<CKpFacRef> {
  public:
    CKpFacRefStore() = default;
    // Deletes every entry.
    ~CKpFacRefStore() { eraseAllObjects(); }
};

#endif  // PLYSTRAND_LAYUPLIB_CKPFACREFSTORE_H
