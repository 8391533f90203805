#ifndef PLYSTRAND_LAYUPLIB_CKPFLATPATPTBDY_H
#define PLYSTRAND_LAYUPLIB_CKPFLATPATPTBDY_H

#include "layuplib/CKpFlatPatPt.h"

// CKpFlatPatPtBdy: a flat-pattern point found on a hole boundary, kept with
// the boundary segment it lies on.
class CKpFlatPatPtBdy : public CKpFlatPatPt {
  public:
    CKpFlatPatPtBdy() = default;
    ~CKpFlatPatPtBdy() override;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPFLATPATPTBDY_H
