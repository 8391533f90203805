#ifndef PLYSTRAND_LAYUPLIB_CKPELEMEDGESTORE_H
#define PLYSTRAND_LAYUPLIB_CKPELEMEDGESTORE_H

#include "layuplib/CKpElemEdge.h"
#include "layuplib/CVekList.h"

// CKpElemEdgeStore: the element edges of one seed curve, in curve order once
// the curve has been arranged. The list owns its items: they are deleted
// with the list or by eraseAllObjects; an item unlinked with Delete or
// DeleteFirst goes back to the caller.
class CKpElemEdgeStore : public CVekList<CKpElemEdge> {
  public:
    CKpElemEdgeStore();
    // Deletes every edge.
    ~CKpElemEdgeStore();
    CKpElemEdgeStore(const CKpElemEdgeStore&) = delete;
    CKpElemEdgeStore& operator=(const CKpElemEdgeStore&) = delete;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPELEMEDGESTORE_H
