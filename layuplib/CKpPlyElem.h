#ifndef PLYSTRAND_LAYUPLIB_CKPPLYELEM_H
#define PLYSTRAND_LAYUPLIB_CKPPLYELEM_H

#include "layuplib/CVekListItem.h"

class CKpElem;
class CKpMat;
class CKpPatElem;

// CKpPlyElem: a ply on one element. It pairs the ply's material with one
// element of the ply's pattern and reads everything else through them: the
// element, the direction flags, the fibre angles, the thickness and the
// material state that applies at the element's shear. Neither pointer is
// owned. Angles are radians in the element's frame.
//
// Without a pattern element every value read from it is 0 (pelem null);
// without a material the material values are 0.
class CKpPlyElem : public CVekListItem {
  public:
    CKpPlyElem(CKpMat* mat, CKpPatElem* patElem);
    // Deletes neither the material nor the pattern element.
    ~CKpPlyElem() override;

    CKpPlyElem(const CKpPlyElem&) = delete;
    CKpPlyElem& operator=(const CKpPlyElem&) = delete;

    // The two links.
    CKpMat* pmat() const { return m_mat; }
    CKpPatElem* ppatelem() const { return m_patElem; }

    // The element of the pattern element (null when not linked).
    CKpElem* pelem() const;
    // Start-direction flag (+1 or -1) and direction flag (+1 or -1) of the
    // pattern element.
    int stdn() const;
    int dnfg() const;
    // stdn times dnfg: the side of the element on which the ply lies.
    int GetSide() const;

    // Warp angle of the pattern element.
    double rotn() const;
    // Weft angle minus warp angle, wrapped into (-pi, pi].
    double wpwtang() const;
    // The weft angle as exchanged with clients: the pattern element's weft
    // angle; when weft and warp coincide (wrapped difference within 1e-12),
    // the warp angle plus pi/2 times GetSide, wrapped into (-pi, pi].
    double GetXMLWeftAngle() const;

    // Extension order of the pattern element.
    int order() const;

    // Thickness of the ply on this element: the pattern element's thickness
    // when greater than 0, else the material's nominal thickness t0 draped at
    // the element's shear angle x: t0 when x is 0, t0 / cos x when the
    // material's six thickness coefficients are 0, else
    // t0 / (cos x (1 + a1 x + a2 x^2 + a3 x^3)(1 + b1 x + b2 x^2 + b3 x^3)).
    double thck() const;
    // The material's nominal thickness, id and density.
    double mtrlthck() const;
    int mtrl() const;
    double dens() const;

    // Id of the material state that applies on this element: with
    // s = shear x stdn x dnfg, the state (the base state first, then the
    // added states in list order) whose shear key is nearest to s, the
    // first found winning ties. 0 for the base state and without material.
    int sttid() const;

  private:
    CKpMat* m_mat;          // not owned
    CKpPatElem* m_patElem;  // not owned
};

#endif  // PLYSTRAND_LAYUPLIB_CKPPLYELEM_H
