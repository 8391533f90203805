#ifndef PLYSTRAND_LAYUPLIB_CKPPROPELEM_H
#define PLYSTRAND_LAYUPLIB_CKPPROPELEM_H

#include "layuplib/CVekObject.h"

// CKpPropElem: one element of a property set; it carries only the element
// id.
class CKpPropElem : public CVekObject {
  public:
    explicit CKpPropElem(int elemId) : CVekObject(elemId) {}
    ~CKpPropElem() override;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPPROPELEM_H
