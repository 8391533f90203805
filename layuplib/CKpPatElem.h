#ifndef PLYSTRAND_LAYUPLIB_CKPPATELEM_H
#define PLYSTRAND_LAYUPLIB_CKPPATELEM_H

#include <cstddef>
#include <new>

#include "layuplib/CKpBlockPool.h"
#include "layuplib/CVekListItem.h"

class CKpElem;

// CKpPatElem: what the last drape simulation of a ply left on one covered
// element: the fibre angles, the shear, an optional thickness and the order
// in which the element was reached. It lies in its pattern's element list;
// the element itself is held by pointer, not owned.
class CKpPatElem : public CVekListItem {
  public:
    // A pattern holds one per covered element, and a layup file brings
    // hundreds of thousands: they live in blocks (CKpBlockPool). Loops that
    // make or delete many hold CKpPatElem::pool() (CKpBlockPool::Hold).
    CKP_BLOCK_POOLED

    // Largest text `write` produces, terminator included.
    enum { WRITE_MAX = 256 };

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
    // The id of the linked element, else the stored id.
    int GetElemId() const;

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

    // Formats the pattern-element record of the layup file into `buffer`
    // (content replaced), one line ended by '\n':
    //   430 0 <element id> <dnfg> <shear> <warp> <weft> <stdn> <order>
    // with " <thickness>" before the newline when the thickness is greater
    // than 0; the element id as GetElemId, the reals "%.8G". `size` is the
    // capacity of `buffer` in bytes; WRITE_MAX always suffices. Returns the
    // length written (terminator excluded); -1 when `buffer` is null or
    // `size` is too small (then `buffer` holds "" when size > 0).
    int write(char* buffer, size_t size) const;
    // As above with a buffer of at least WRITE_MAX bytes.
    int write(char* buffer) const { return write(buffer, WRITE_MAX); }

  private:
    // The pointer first and the ints together: no padding between them.
    CKpElem* m_elem;  // not owned
    int m_elemId;
    int m_stdn;
    int m_dnfg;
    int m_order;
    double m_warp;
    double m_weft;
    double m_shear;
    double m_thickness;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPPATELEM_H
