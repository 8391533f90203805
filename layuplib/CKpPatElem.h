#ifndef PLYSTRAND_LAYUPLIB_CKPPATELEM_H
#define PLYSTRAND_LAYUPLIB_CKPPATELEM_H

#include "layuplib/CVekListItem.h"

class CKpElem;

// CKpPatElem: what the last drape simulation of a ply left on one covered
// element: the fibre angles, the shear, an optional thickness and the order
// in which the element was reached. It lies in its pattern's element list;
// the element itself is held by pointer, not owned.
class CKpPatElem : public CVekListItem {
  public:
    // Element id 0, no element, flags 0, angles, shear and thickness 0,
    // order 0.
    CKpPatElem();
    ~CKpPatElem() override;

    // The element id as stored (the id the pattern was given, or read from
    // a file).
    int elemId() const { return m_elemId; }
    void setElemId(int id) { m_elemId = id; }

    // The element; null until ids are linked to the mesh.
    CKpElem* pelem() const { return m_elem; }
    void setPelem(CKpElem* elem) { m_elem = elem; }

    // Start-direction flag of the ply (+1 or -1).
    int stdn() const { return m_stdn; }
    void setStdn(int stdn) { m_stdn = stdn; }

    // Direction flag of the element relative to the draped surface (+1 or -1).
    int dnfg() const { return m_dnfg; }
    void setDnfg(int dnfg) { m_dnfg = dnfg; }

    // Warp and weft angles in the element's frame, radians.
    double warpAngle() const { return m_warp; }
    void setWarpAngle(double a) { m_warp = a; }
    double weftAngle() const { return m_weft; }
    void setWeftAngle(double a) { m_weft = a; }

    // Shear angle, radians.
    double shear() const { return m_shear; }
    void setShear(double s) { m_shear = s; }

    // Thickness; 0 (or less) means it is taken from the material.
    double thickness() const { return m_thickness; }
    void setThickness(double t) { m_thickness = t; }

    // Extension order in which the element was reached.
    int order() const { return m_order; }
    void SetOrder(int order) { m_order = order; }

  private:
    int m_elemId;
    CKpElem* m_elem;  // not owned
    int m_stdn;
    int m_dnfg;
    double m_warp;
    double m_weft;
    double m_shear;
    double m_thickness;
    int m_order;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPPATELEM_H
