#include "layuplib/CKpDirn.h"

#include <cmath>

#include "layuplib/CKpPoint.h"

double CKpDirn::mag() const {
    return std::sqrt(x * x + y * y + z * z);
}

void CKpDirn::unitize() {
    const double len = mag();
    if (len > 0.0) Scale(1.0 / len);
}

int CKpDirn::IsNull() const {
    return (x == 0.0 && y == 0.0 && z == 0.0) ? 1 : 0;
}

void CKpDirn::Reverse() {
    Scale(-1.0);
}

void CKpDirn::set2pts(const CKpPoint* a, const CKpPoint* b) {
    if (!a || !b) return;
    Set(b->getx() - a->getx(), b->gety() - a->gety(), b->getz() - a->getz());
}

void CKpDirn::Set3Points(const CKpPoint* a, const CKpPoint* b, const CKpPoint* c) {
    if (!a || !b || !c) return;
    CKpDirn ab, ac;
    ab.set2pts(a, b);
    ac.set2pts(a, c);
    setCrossProduct(&ab, &ac);
}

void CKpDirn::setCrossProduct(const CKpDirn* u, const CKpDirn* v) {
    if (!u || !v) return;
    // Read everything first: u or v may be this direction.
    const double ux = u->x, uy = u->y, uz = u->z;
    const double vx = v->x, vy = v->y, vz = v->z;
    Set(uy * vz - uz * vy, uz * vx - ux * vz, ux * vy - uy * vx);
}

double CKpDirn::DotProduct(const CKpDirn* d) const {
    if (!d) return 0.0;
    return x * d->x + y * d->y + z * d->z;
}

int CKpDirn::DotProductInt(const CKpDirn* d) const {
    const double dot = DotProduct(d);
    if (dot > 0.0) return 1;
    if (dot < 0.0) return -1;
    return 0;
}

double CKpDirn::Angle(const CKpDirn* d) const {
    if (!d) return 0.0;
    const double la = mag();
    const double lb = d->mag();
    if (la <= 0.0 || lb <= 0.0) return 0.0;
    double c = DotProduct(d) / (la * lb);
    // Rounding can push the cosine just outside [-1, 1]: parallel gives 0,
    // and opposite is clamped so that it gives pi rather than NaN.
    if (c > 1.0) return 0.0;
    if (c < -1.0) c = -1.0;
    return std::acos(c);
}

void CKpDirn::ProjectNormal(const CKpDirn* n) {
    if (!n) return;
    CKpDirn un = *n;
    un.unitize();
    CKpDirn t;
    t.setCrossProduct(&un, this);
    setCrossProduct(&t, &un);
}
