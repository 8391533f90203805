#ifndef PLYSTRAND_LAYUPLIB_CKPELEMLYPPLYSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPELEMLYPPLYSTORE_H

#include <new>

#include "layuplib/CKpBlockPool.h"
#include "layuplib/CKpElemLypPly.h"
#include "layuplib/CVekList.h"
#include "layuplib/CVekObjectStore.h"

// CKpElemLypPlyStore: the ply stack of one element, bottom first (count,
// first, last). The stack owns its entries: it deletes every one when it is
// destroyed (the layup plies and ply elements they link stay).
class CKpElemLypPlyStore : public CVekList<CKpElemLypPly> {
  public:
    // Every element has one: they live in blocks (CKpBlockPool).
    CKP_BLOCK_POOLED

    CKpElemLypPlyStore();
    // Deletes every entry.
    ~CKpElemLypPlyStore();

    // Adds to `ids` one CVekObject keyed by the layup ply id of each entry
    // whose id `ids` does not hold yet (entries without a layup ply are
    // skipped), so that calling it for several elements collects the union
    // of their layup ply ids. The objects are new and owned by `ids`.
    // 0; -1 when an object cannot be allocated (the ids added so far stay).
    int AddLypPlyIds(CVekObjectStore<CVekObject>& ids) const;

    // Sum of CKpElemLypPly::thck over the stack; 0.0 when empty.
    double TotThick() const;

    // The first entry (bottom up) whose layup ply has id `lypPlyId`, or null.
    CKpElemLypPly* GetElemLypPly(int lypPlyId) const;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPELEMLYPPLYSTORE_H
