#include "layuplib/CKpDirn.h"

#include <cmath>

#include "layuplib/CKpPoint.h"

void CKpDirn::Set3Points(const CKpPoint* a, const CKpPoint* b, const CKpPoint* c) {
    if (!a || !b || !c) return;
    CKpDirn ab, ac;
    ab.set2pts(a, b);
    ac.set2pts(a, c);
    setCrossProduct(&ab, &ac);
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
