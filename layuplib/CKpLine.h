#ifndef PLYSTRAND_LAYUPLIB_CKPLINE_H
#define PLYSTRAND_LAYUPLIB_CKPLINE_H

#include "layuplib/CKpDirn.h"
#include "layuplib/CKpPoint.h"

// CKpLine: the line P + t·u through the point P along the direction u (not
// normalised). t in [0, 1] is the segment from P to P + u, which is how the
// line of two points is read. P and u are public: callers build lines from
// their own data.
class CKpLine {
  public:
    CKpPoint P;
    CKpDirn u;

    // P = a, u = b - a. Null pointers change nothing.
    void Set2Points(const CKpPoint* a, const CKpPoint* b);

    // The foot of the perpendicular from p onto the segment.
    //   t    (out) the line parameter of the foot; set to -1.0 first.
    //   foot (out) P + t·u.
    //   dist (out) |p - foot|.
    // Each output is written only when its pointer is not null. Returns 0;
    // -1 when p is null, when u has length 0, or when the foot lies outside
    // the segment (t below 0 or above 1); t is then -1.0 and foot and dist
    // are not written.
    int DistPoint(const CKpPoint* p, double* t, CKpPoint* foot, double* dist) const;

    // The closest points of this infinite line and `other` (Q + s·v):
    //   t, s (out) the parameters on this line and on `other`;
    //   p, q (out) P + t·u and Q + s·v;
    //   dist (out) |p - q|.
    // Parallel lines (no unique pair) give s = 1.001; a zero u gives
    // t = 1.001; the points and distance follow from those values. Each
    // output is written only when its pointer is not null. Returns 0.
    int DistLine(CKpLine other, double* t, double* s, CKpPoint* p, CKpPoint* q, double* dist) const;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPLINE_H
