#ifndef PLYSTRAND_LAYUPLIB_CKPPOINT_H
#define PLYSTRAND_LAYUPLIB_CKPPOINT_H

#include "layuplib/CKpTriplet.h"

class CKpDirn;

// CKpPoint: a position x, y, z (model length units, basic frame unless the
// caller says otherwise). Adds no data to CKpTriplet. A null pointer argument
// leaves the point unchanged.
class CKpPoint : public CKpTriplet {
  public:
    // (0, 0, 0).
    CKpPoint() = default;
    // A copy of *p; (0, 0, 0) when p is null.
    explicit CKpPoint(const CKpPoint* p);

    // The midpoint of a and b.
    void SetMid(const CKpPoint* a, const CKpPoint* b) {
        if (!a || !b) return;
        Set(0.5 * (a->x + b->x), 0.5 * (a->y + b->y), 0.5 * (a->z + b->z));
    }
    // p + d.
    void SetPointDirn(const CKpPoint* p, const CKpDirn* d);
    // p + t·d (t in the units of d's length; 1 for a unit step along d).
    void SetPointDirnValue(const CKpPoint* p, const CKpDirn* d, double t);
};

#endif  // PLYSTRAND_LAYUPLIB_CKPPOINT_H
