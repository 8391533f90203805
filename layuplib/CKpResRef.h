#ifndef PLYSTRAND_LAYUPLIB_CKPRESREF_H
#define PLYSTRAND_LAYUPLIB_CKPRESREF_H

#include "layuplib/CVekObject.h"

class CKpRes;

// CKpResRef: the id is a layer number (1 for the first layer); points at the
// result holding that layer's values without owning it.
class CKpResRef : public CVekObject {
  public:
    explicit CKpResRef(int layer, CKpRes* result = nullptr);
    ~CKpResRef() override;

    CKpRes* GetRes() const { return m_res; }

  private:
    CKpRes* m_res;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPRESREF_H
