#ifndef PLYSTRAND_LAYUPLIB_CKPPATSPLIT_H
#define PLYSTRAND_LAYUPLIB_CKPPATSPLIT_H

#include "layuplib/CVekListItem.h"

// CKpPatSplit: one split edge of a pattern: an element edge along which the
// fabric is cut during draping, with a flag.
class CKpPatSplit : public CVekListItem {
  public:
    // Element id, edge id and flag 0.
    CKpPatSplit() : m_elemId(0), m_edgeId(0), m_flag(0) {}
    ~CKpPatSplit() override;

    int elemId() const { return m_elemId; }
    void setElemId(int id) { m_elemId = id; }
    int edgeId() const { return m_edgeId; }
    void setEdgeId(int id) { m_edgeId = id; }
    int flag() const { return m_flag; }
    void setFlag(int flag) { m_flag = flag; }

  private:
    int m_elemId;
    int m_edgeId;
    int m_flag;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPPATSPLIT_H
