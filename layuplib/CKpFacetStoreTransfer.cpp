// CKpFacetStore: the drape grid's results averaged onto the facets.

#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/angle_util.h"

int CKpFacetStore::SimulationTransfer(CKpMsg* msg, CKpDrape* drape) {
    if (!drape) return 0;
    int umin, umax, vmin, vmax;
    drape->GetBounds(umin, umax, vmin, vmax);
    for (int u = umin; u <= umax; ++u) {
        for (int v = vmin; v <= vmax; ++v) {
            const CKpDrapePt* p = drape->pDrapePt(u, v);
            CKpFacet* f = p ? pFac(p->GetFacet()) : nullptr;
            if (!f) continue;
            const double warp = p->GetAveWarpAng(msg);
            const double weft = p->GetAveWeftAng(msg);
            // A point without both fibre angles carries no direction: it
            // would put the "not set" value into the facet's mean.
            if (warp == CKpDrapePt::kNoAngle || weft == CKpDrapePt::kNoAngle) continue;
            const int k = f->getNrpat();
            f->setNrpat(k + 1);
            f->setFacetDirection(p->GetDnfg());
            if (k == 0) {
                f->setwpang(warp);
                f->setwtang(weft);
                f->setstrn(p->GetStrn());
            } else {
                // Running mean over the n points seen so far; the angles
                // move along the shorter arc.
                const double n = k + 1;
                f->setwpang(pi_pi(pi_pi(warp - f->getwpang()) / n + f->getwpang()));
                f->setwtang(pi_pi(pi_pi(weft - f->getwtang()) / n + f->getwtang()));
                f->setstrn(f->getstrn() + (p->GetStrn() - f->getstrn()) / n);
            }
        }
    }
    return 0;
}
