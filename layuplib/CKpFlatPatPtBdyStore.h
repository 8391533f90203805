#ifndef PLYSTRAND_LAYUPLIB_CKPFLATPATPTBDYSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPFLATPATPTBDYSTORE_H

#include "layuplib/CKpFlatPatPtBdy.h"
#include "layuplib/CVekList.h"

// CKpFlatPatPtBdyStore: the flat-pattern points of one boundary segment, in
// the order they were found. Owns its points.
class CKpFlatPatPtBdyStore : public CVekList<CKpFlatPatPtBdy> {
  public:
    CKpFlatPatPtBdyStore() = default;
    // Deletes every point.
    ~CKpFlatPatPtBdyStore() { eraseAllObjects(); }
};

#endif  // PLYSTRAND_LAYUPLIB_CKPFLATPATPTBDYSTORE_H
