#include "layuplib/CKpLine.h"

void CKpLine::Set2Points(const CKpPoint* a, const CKpPoint* b) {
    if (!a || !b) return;
    P.Set(*a);
    u.set2pts(a, b);
}

int CKpLine::DistPoint(const CKpPoint* p, double* t, CKpPoint* foot, double* dist) const {
    if (t) *t = -1.0;
    if (!p) return -1;
    const double uu = u.DotProduct(&u);
    if (uu <= 0.0) return -1;
    CKpDirn w;
    w.set2pts(&P, p);
    const double tp = w.DotProduct(&u) / uu;
    // Written as a negated range test so that a NaN parameter is refused too.
    if (!(tp >= 0.0 && tp <= 1.0)) return -1;
    CKpPoint f;
    f.SetPointDirnValue(&P, &u, tp);
    CKpDirn pf;
    pf.set2pts(&f, p);
    if (t) *t = tp;
    if (foot) *foot = f;
    if (dist) *dist = pf.mag();
    return 0;
}

int CKpLine::DistLine(CKpLine other, double* t, double* s, CKpPoint* p, CKpPoint* q,
                      double* dist) const {
    const CKpDirn& v = other.u;
    CKpDirn w;
    w.set2pts(&other.P, &P);
    const double a = u.DotProduct(&u);
    const double b = u.DotProduct(&v);
    const double c = v.DotProduct(&v);
    const double d = u.DotProduct(&w);
    const double e = v.DotProduct(&w);

    const double den = b * b - c * a;
    const double sv = (den == 0.0) ? 1.001 : (b * d - e * a) / den;
    const double tv = (a == 0.0) ? 1.001 : (sv * b - d) / a;

    CKpPoint pp, qq;
    pp.SetPointDirnValue(&P, &u, tv);
    qq.SetPointDirnValue(&other.P, &v, sv);
    CKpDirn pq;
    pq.set2pts(&pp, &qq);
    if (t) *t = tv;
    if (s) *s = sv;
    if (p) *p = pp;
    if (q) *q = qq;
    if (dist) *dist = pq.mag();
    return 0;
}
