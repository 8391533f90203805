#ifndef PLYSTRAND_LAYUPLIB_CKPGPLYELEM_H
#define PLYSTRAND_LAYUPLIB_CKPGPLYELEM_H

#include "layuplib/CVekObject.h"

class CKpElem;

// CKpGplyElem: one element of a global ply while a layup is rebuilt from
// laminates (CreateLayupLaminate). Its id is the element id; the element is
// held by pointer, not owned. The global ply's element store owns the entry.
class CKpGplyElem : public CVekObject {
  public:
    // Element `id` (the element may be null), the thickness of the laminate
    // layer it came from (model length units) and its angle (radians: the
    // element's orientation angle plus the layer angle). stdn, dnfg, the
    // laminate direction and the piece start at 0.
    CKpGplyElem(int id, CKpElem* elem, double t, double angle);
    ~CKpGplyElem() override;

    CKpGplyElem(const CKpGplyElem&) = delete;
    CKpGplyElem& operator=(const CKpGplyElem&) = delete;

    // The element (not owned).
    CKpElem* pelem() const { return m_elem; }

    // Stacking direction of the element's piece: +1 or -1 (0 until set).
    int stdn() const { return m_stdn; }
    void setStdn(int stdn) { m_stdn = stdn; }
    // Direction flag of the element within its piece: +1 or -1; 0 until the
    // piece growth reaches it.
    int dnfg() const { return m_dnfg; }
    void setDnfg(int dnfg) { m_dnfg = dnfg; }
    // Order of the global ply ids through the element's laminate
    // (CheckLamDn): +1 increasing, -1 decreasing, 0 neither.
    int lamdn() const { return m_lamdn; }
    void setLamdn(int dn) { m_lamdn = dn; }
    // Layer thickness.
    double t() const { return m_t; }
    // Element orientation angle + layer angle, radians.
    double angle() const { return m_angle; }
    // Number of the connected piece, from 1; 0 while in none.
    int piece() const { return m_piece; }
    void setPiece(int piece) { m_piece = piece; }

  private:
    CKpElem* m_elem;  // not owned
    int m_stdn;
    int m_dnfg;
    int m_lamdn;
    double m_t;
    double m_angle;
    int m_piece;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPGPLYELEM_H
