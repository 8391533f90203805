#ifndef PLYSTRAND_LAYUPLIB_CKPPLOTPOINTLASER_H
#define PLYSTRAND_LAYUPLIB_CKPPLOTPOINTLASER_H

#include "layuplib/CKpDirn.h"
#include "layuplib/CKpPlotPoint.h"
#include "layuplib/CKpPoint.h"

class CKpFacet;

// CKpPlotPointLaser: one point of a laser projector outline: a plot point
// (position, plot flag) with the unit normal of the facet it lies on, that
// facet (held, not owned; may be null) and the side flag of the boundary
// segment it came from (1 or more: the segment runs along its facet's edge
// direction, the normal is written as it is; below 1: written negated).
class CKpPlotPointLaser : public CKpPlotPoint {
  public:
    // Position `p`, normal `n`, facet and side flag; plot flag 0.
    CKpPlotPointLaser(const CKpPoint& p, const CKpDirn& n, const CKpFacet* facet, int side);
    // Copies every field but the list links (a copy is in no list).
    CKpPlotPointLaser(const CKpPlotPointLaser& other);
    CKpPlotPointLaser& operator=(const CKpPlotPointLaser&) = delete;
    ~CKpPlotPointLaser() override;

    CKpPoint GetPoint() const {
        CKpPoint p;
        p.Set(getx(), gety(), getz());
        return p;
    }
    const CKpDirn& GetNormal() const { return m_normal; }
    const CKpFacet* GetFacet() const { return m_facet; }
    int GetSide() const { return m_side; }

  private:
    CKpDirn m_normal;
    const CKpFacet* m_facet;
    int m_side;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPPLOTPOINTLASER_H
