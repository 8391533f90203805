#ifndef PLYSTRAND_LAYUPLIB_CKPTOL_H
#define PLYSTRAND_LAYUPLIB_CKPTOL_H

#include <memory>

#include "layuplib/CKpTolElem.h"
#include "layuplib/CVekList.h"
#include "layuplib/CVekObject.h"

// CKpTol: a tolerance region: a group of elements with their own angle and
// thickness tolerances, which the drape and thickness checks read from each
// element. The model's global tolerance (id 0) is a CKpTol too and applies
// to every element outside the regions.
class CKpTol : public CVekObject {
  public:
    // A region `id` with the angle tolerance `angtol` (radians) and the
    // thickness tolerance `thktol`, and an empty element list.
    CKpTol(int id, double angtol, double thktol);

    // Deletes the element list with its entries.
    ~CKpTol() override;

    CKpTol(const CKpTol&) = delete;
    CKpTol& operator=(const CKpTol&) = delete;

    // Angle tolerance, radians.
    double getangtol() const { return m_angtol; }
    void setangtol(double angtol) { m_angtol = angtol; }

    // Thickness tolerance.
    double getthktol() const { return m_thktol; }
    void setthktol(double thktol) { m_thktol = thktol; }

    // The region's elements in the order they were added (an id may appear
    // more than once); owned by the region.
    CVekList<CKpTolElem>* pElems() { return m_elems.get(); }

  private:
    double m_angtol;
    double m_thktol;
    std::unique_ptr<CVekList<CKpTolElem>> m_elems;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPTOL_H
