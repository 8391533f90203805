#include "layuplib/CKpPlane.h"

#include "layuplib/CKpDirn.h"
#include "layuplib/CKpPoint.h"

int CKpPlane::Set3Points(const CKpPoint* p0, const CKpPoint* p1, const CKpPoint* p2) {
    if (!p0 || !p1 || !p2) return -1;
    CKpDirn n;
    n.Set3Points(p0, p1, p2);
    a = n.getx();
    b = n.gety();
    c = n.getz();
    d = -(a * p0->getx() + b * p0->gety() + c * p0->getz());
    return n.IsNull() ? -1 : 0;
}
