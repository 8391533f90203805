#ifndef PLYSTRAND_LAYUPLIB_CKPAXISPT_H
#define PLYSTRAND_LAYUPLIB_CKPAXISPT_H

#include "layuplib/CKpPoint.h"

// CKpAxisPt: one point of a fibre axis traced over the faceted surface.
// Every point after the first lies on a facet edge.
class CKpAxisPt {
  public:
    // Position (0, 0, 0), from-facet, facet, edge and edge code -1, sense 0,
    // length 0.0, angle -1000.0 (not set), spare 0.0.
    CKpAxisPt()
        : position(),
          fromFacet(-1),
          facet(-1),
          edge(-1),
          edgeCode(-1),
          sense(0),
          length(0.0),
          angle(-1000.0),
          spare(0.0) {}

    const CKpPoint& getPosition() const { return position; }
    int getFacet() const { return facet; }
    double getLength() const { return length; }
    double getAngle() const { return angle; }

  private:
    CKpPoint position;
    int fromFacet;
    int facet;
    int edge;
    int edgeCode;
    int sense;
    double length;
    double angle;
    double spare;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPAXISPT_H
