#ifndef PLYSTRAND_LAYUPLIB_CKPFLATPATSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPFLATPATSTORE_H

#include "layuplib/CKpFlatPat.h"
#include "layuplib/CVekList.h"

// CKpFlatPatStore: the flat patterns of the last drape: the outer pattern
// first, then one per hole of the ply boundary in the order of the holes.
// Owns its patterns.
class CKpFlatPatStore : public CVekList<CKpFlatPat> {
  public:
    CKpFlatPatStore() = default;
    // Deletes every pattern.
    ~CKpFlatPatStore() { eraseAllObjects(); }
};

#endif  // PLYSTRAND_LAYUPLIB_CKPFLATPATSTORE_H
