#ifndef PLYSTRAND_LAYUPLIB_CKPXLYPPLYY_H
#define PLYSTRAND_LAYUPLIB_CKPXLYPPLYY_H

#include "layuplib/CVekListItem.h"

// CKpXLypPlyY: one thickness contribution to a ply of a through-thickness
// stack. In a node stack the id is an element id; in the per-element stack
// of the solid extrusion it is the position of a node in its shell.
class CKpXLypPlyY : public CVekListItem {
  public:
    CKpXLypPlyY(int id, double thickness) : m_id(id), m_thick(thickness) {}

    int id() const { return m_id; }
    double thick() const { return m_thick; }

  private:
    int m_id;
    double m_thick;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPXLYPPLYY_H
