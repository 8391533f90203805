#ifndef PLYSTRAND_LAYUPLIB_CKPXLYPSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPXLYPSTORE_H

#include "layuplib/CKpXLyp.h"
#include "layuplib/CVekObjectStore.h"

// CKpXLypStore: the node stacks of one solid extrusion by node id
// (capacity 64); owns them.
class CKpXLypStore : public CVekObjectStore<CKpXLyp> {
  public:
    CKpXLypStore();
    // Deletes every stack.
    ~CKpXLypStore() override;
    CKpXLypStore(const CKpXLypStore&) = delete;
    CKpXLypStore& operator=(const CKpXLypStore&) = delete;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPXLYPSTORE_H
