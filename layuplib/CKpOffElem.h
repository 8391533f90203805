#ifndef PLYSTRAND_LAYUPLIB_CKPOFFELEM_H
#define PLYSTRAND_LAYUPLIB_CKPOFFELEM_H

#include "layuplib/CVekListItem.h"

// CKpOffElem: one element id in the element list of an offset definition.
class CKpOffElem : public CVekListItem {
  public:
    explicit CKpOffElem(int elemId) : m_elemId(elemId) {}
    ~CKpOffElem() override;

    int elemId() const { return m_elemId; }
    void setElemId(int id) { m_elemId = id; }

  private:
    int m_elemId;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPOFFELEM_H
