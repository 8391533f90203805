#ifndef PLYSTRAND_LAYUPLIB_CKPDRAPEPT_H
#define PLYSTRAND_LAYUPLIB_CKPDRAPEPT_H

#include "layuplib/CKpDirn.h"
#include "layuplib/CKpPoint.h"

class CKpDrape;

// CKpDrapePt: one fibre crossing of a draped ply, a point of the drape grid
// (CKpDrape) at integer position (u, v). Per-direction fields are indexed
// 0 +u (warp), 1 +v (weft), 2 -u, 3 -v. Angles are radians in the facet's
// angle frame; -1000.0 marks an angle that is not set, -0.123456789 an end
// fraction that is not set.
class CKpDrapePt {
  public:
    // Every field at its unset value: no facet (-1), side flag 0, the four
    // angles -1000.0, strain and thickness 0.0, position (0, 0, 0), nothing
    // joined, end fractions -0.123456789, end points and directions zero,
    // end facets and edges -1, id 0, no grid.
    CKpDrapePt();

    // Order in which the point entered the grid, from 1.
    int GetId() const { return id; }
    void SetId(int newId) { id = newId; }

    // The grid holding the point; null when none.
    CKpDrape* GetDrape() const { return grid; }
    void SetDrape(CKpDrape* drape) { grid = drape; }

  private:
    int facet;
    int sideFlag;
    double warpAngMinus;
    double warpAngPlus;
    double weftAngMinus;
    double weftAngPlus;
    double strain;
    double thickness;
    CKpPoint position;
    int joined[4];
    double endFraction[4];
    CKpPoint endPoint[4];
    CKpDirn endDirn[4];
    int endFacet[4];
    int endEdge[4];
    int reserved;
    int id;
    CKpDrape* grid;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPDRAPEPT_H
