#ifndef PLYSTRAND_LAYUPLIB_CKPDIRN_H
#define PLYSTRAND_LAYUPLIB_CKPDIRN_H

#include "layuplib/CKpTriplet.h"

class CKpPoint;

// CKpDirn: a direction (a free vector) x, y, z. Not kept normalised: every
// operation says whether its result is a unit vector. Adds no data to
// CKpTriplet. A null pointer argument leaves the direction unchanged (and
// gives 0 from the products).
class CKpDirn : public CKpTriplet {
  public:
    // (0, 0, 0).
    CKpDirn() = default;

    // Length.
    double mag() const;
    // Scales to unit length when the length is above 0; a zero direction
    // stays zero.
    void unitize();
    // 1 when all three components are exactly 0, else 0.
    int IsNull() const;
    // Negates all three components.
    void Reverse();

    // b - a.
    void set2pts(const CKpPoint* a, const CKpPoint* b);
    // (b - a) × (c - a), not normalised: the normal of the triangle a, b, c,
    // anticlockwise seen from its tip, with twice the triangle's area as
    // length.
    void Set3Points(const CKpPoint* a, const CKpPoint* b, const CKpPoint* c);
    // u × v, not normalised.
    void setCrossProduct(const CKpDirn* u, const CKpDirn* v);

    double DotProduct(const CKpDirn* d) const;
    // The sign of the dot product: 1, -1 or 0.
    int DotProductInt(const CKpDirn* d) const;

    // The angle between this direction and d in radians, in [0, pi]. 0 when
    // either has length 0; parallel gives 0 and anti-parallel pi even when
    // rounding pushes the cosine outside [-1, 1].
    double Angle(const CKpDirn* d) const;

    // Replaces this direction by its component perpendicular to n,
    // (n × this) × n with n taken at unit length (the caller's n is not
    // changed; a zero n gives the zero direction). The result is not
    // normalised.
    void ProjectNormal(const CKpDirn* n);
};

#endif  // PLYSTRAND_LAYUPLIB_CKPDIRN_H
