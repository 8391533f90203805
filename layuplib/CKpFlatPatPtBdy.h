#ifndef PLYSTRAND_LAYUPLIB_CKPFLATPATPTBDY_H
#define PLYSTRAND_LAYUPLIB_CKPFLATPATPTBDY_H

#include "layuplib/CKpFlatPatPt.h"

// CKpFlatPatPtBdy: a flat-pattern point found on a hole boundary, kept in
// the list of the boundary segment it lies on (CKpBdy::pFlatPatPts).
class CKpFlatPatPtBdy : public CKpFlatPatPt {
  public:
    CKpFlatPatPtBdy() = default;
    ~CKpFlatPatPtBdy() override;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPFLATPATPTBDY_H
