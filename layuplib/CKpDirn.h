#ifndef PLYSTRAND_LAYUPLIB_CKPDIRN_H
#define PLYSTRAND_LAYUPLIB_CKPDIRN_H

#include <cmath>

#include "layuplib/CKpPoint.h"
#include "layuplib/CKpTriplet.h"

// CKpDirn: a direction (a free vector) x, y, z. Not kept normalised: every
// operation says whether its result is a unit vector. Adds no data to
// CKpTriplet. A null pointer argument leaves the direction unchanged (and
// gives 0 from the products).
class CKpDirn : public CKpTriplet {
  public:
    // (0, 0, 0).
    CKpDirn() = default;

    // Length.
    double mag() const { return std::sqrt(x * x + y * y + z * z); }
    // Scales to unit length when the length is above 0; a zero direction
    // stays zero.
    void unitize() {
        const double len = mag();
        if (len > 0.0) Scale(1.0 / len);
    }
    // 1 when all three components are exactly 0, else 0.
    int IsNull() const { return (x == 0.0 && y == 0.0 && z == 0.0) ? 1 : 0; }
    // Negates all three components.
    void Reverse() { Scale(-1.0); }

    // b - a.
    void set2pts(const CKpPoint* a, const CKpPoint* b) {
        if (!a || !b) return;
        Set(b->getx() - a->getx(), b->gety() - a->gety(), b->getz() - a->getz());
    }
    // (b - a) × (c - a), not normalised: the normal of the triangle a, b, c,
    // anticlockwise seen from its tip, with twice the triangle's area as
    // length.
    void Set3Points(const CKpPoint* a, const CKpPoint* b, const CKpPoint* c);
    // u × v, not normalised.
    void setCrossProduct(const CKpDirn* u, const CKpDirn* v) {
        if (!u || !v) return;
        // Read everything first: u or v may be this direction.
        const double ux = u->x, uy = u->y, uz = u->z;
        const double vx = v->x, vy = v->y, vz = v->z;
        Set(uy * vz - uz * vy, uz * vx - ux * vz, ux * vy - uy * vx);
    }

    double DotProduct(const CKpDirn* d) const {
        if (!d) return 0.0;
        return x * d->x + y * d->y + z * d->z;
    }
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
