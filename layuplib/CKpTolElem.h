#ifndef PLYSTRAND_LAYUPLIB_CKPTOLELEM_H
#define PLYSTRAND_LAYUPLIB_CKPTOLELEM_H

#include "layuplib/CVekListItem.h"

// CKpTolElem: one element of a tolerance region, by element id, in the
// region's list.
class CKpTolElem : public CVekListItem {
  public:
    explicit CKpTolElem(int elemId) : m_elemId(elemId) {}
    ~CKpTolElem() override;

    int getElemId() const { return m_elemId; }
    void setElemId(int elemId) { m_elemId = elemId; }

  private:
    int m_elemId;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPTOLELEM_H
