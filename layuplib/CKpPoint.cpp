#include "layuplib/CKpPoint.h"

#include "layuplib/CKpDirn.h"

CKpPoint::CKpPoint(const CKpPoint* p) {
    if (p) Set(*p);
}

void CKpPoint::SetPointDirn(const CKpPoint* p, const CKpDirn* d) {
    SetPointDirnValue(p, d, 1.0);
}

void CKpPoint::SetPointDirnValue(const CKpPoint* p, const CKpDirn* d, double t) {
    if (!p || !d) return;
    Set(p->getx() + t * d->getx(), p->gety() + t * d->gety(), p->getz() + t * d->getz());
}
