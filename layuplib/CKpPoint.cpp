#include "layuplib/CKpPoint.h"

#include "layuplib/CKpDirn.h"

CKpPoint::CKpPoint(const CKpPoint* p) {
    if (p) Set(*p);
}

void CKpPoint::SetMid(const CKpPoint* a, const CKpPoint* b) {
    if (!a || !b) return;
    Set(0.5 * (a->getx() + b->getx()), 0.5 * (a->gety() + b->gety()),
        0.5 * (a->getz() + b->getz()));
}

void CKpPoint::SetPointDirn(const CKpPoint* p, const CKpDirn* d) {
    SetPointDirnValue(p, d, 1.0);
}

void CKpPoint::SetPointDirnValue(const CKpPoint* p, const CKpDirn* d, double t) {
    if (!p || !d) return;
    Set(p->getx() + t * d->getx(), p->gety() + t * d->gety(), p->getz() + t * d->getz());
}
