#ifndef PLYSTRAND_LAYUPLIB_CKPAXISPT_H
#define PLYSTRAND_LAYUPLIB_CKPAXISPT_H

#include "layuplib/CKpPoint.h"

// CKpAxisPt: one point of a fibre axis (CKpAxis) traced over the faceted
// surface. Every point after the first lies on a facet edge.
//
// Fields (all plain values; the point owns nothing):
//   position    the point on the surface (model units);
//   from-facet  index of the facet on which the segment ending here lies;
//               for the first point the start facet;
//   facet       index of the facet the axis enters here (the neighbour
//               across the crossed edge; -1 at a free edge); for the first
//               point the start facet;
//   edge        local edge 0..2 of the from-facet the point lies on (edge k
//               runs from vertex k to vertex k+1 mod 3);
//   edge code   the from-facet's neighbour edge code of that edge: 0..2 the
//               neighbour's edge running the same way, 3..5 that edge + 3
//               running the other way, -1 a free edge, below -1 a divided
//               edge (both below 0 end an axis);
//   sense       +1 or -1: orientation of the entered facet relative to the
//               start facet (0 not set);
//   length      length along the axis from its first point;
//   angle       first point: direction of the axis in the start facet's
//               local axes (radians); later points: angle between the axis
//               and the crossed edge (radians); -1000.0 not set;
//   spare       cleared with the length when an axis starts; unused here.
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
    void setPosition(const CKpPoint& p) { position = p; }
    int getFromFacet() const { return fromFacet; }
    void setFromFacet(int f) { fromFacet = f; }
    int getFacet() const { return facet; }
    void setFacet(int f) { facet = f; }
    int getEdge() const { return edge; }
    void setEdge(int e) { edge = e; }
    int getEdgeCode() const { return edgeCode; }
    void setEdgeCode(int c) { edgeCode = c; }
    int getSense() const { return sense; }
    void setSense(int s) { sense = s; }
    double getLength() const { return length; }
    void setLength(double l) { length = l; }
    double getAngle() const { return angle; }
    void setAngle(double a) { angle = a; }
    double getSpare() const { return spare; }
    void setSpare(double s) { spare = s; }

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
