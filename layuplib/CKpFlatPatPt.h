#ifndef PLYSTRAND_LAYUPLIB_CKPFLATPATPT_H
#define PLYSTRAND_LAYUPLIB_CKPFLATPATPT_H

#include "layuplib/CKpDirn.h"
#include "layuplib/CKpPlotPoint.h"
#include "layuplib/CKpPoint.h"

class CKpBdy;

// CKpFlatPatPt: one point of a flat pattern: its place in the fabric plane
// (the plot point's x = u, y = v in fabric steps) and where it lies on the
// draped surface.
class CKpFlatPatPt : public CKpPlotPoint {
  public:
    // Position and direction zero, shear 0.0, facet and edge -1, extension
    // 0, no boundary segment, no next point.
    CKpFlatPatPt()
        : position(),
          shear(0.0),
          direction(),
          facet(-1),
          edge(-1),
          extension(0),
          bdy(nullptr),
          next(nullptr) {}
    ~CKpFlatPatPt() override;

    // The next point of the pattern's chain; null at the end. Not owned by
    // the point (the chain's store owns every point).
    CKpFlatPatPt* getNext() const { return next; }
    void setNext(CKpFlatPatPt* point) { next = point; }

  private:
    CKpPoint position;   // where the point lies on the draped surface
    double shear;        // shear strain of the drape point it came from, radians
    CKpDirn direction;   // fibre direction in which the fabric reached the point
    int facet;           // facet the point lies on
    int edge;            // local edge of that facet (0..2, or edge + 3)
    int extension;       // grid direction: 0 +u, 1 +v, 2 -u, 3 -v
    CKpBdy* bdy;         // ply boundary segment the point lies on; not owned
    CKpFlatPatPt* next;  // next point of the pattern
};

#endif  // PLYSTRAND_LAYUPLIB_CKPFLATPATPT_H
