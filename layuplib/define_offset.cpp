#include "layuplib/define_offset.h"

#include "layuplib/CKpBdy.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/CalcBoundary.h"

int define_offset(CKpMsg* msg, CKpElemStore* elems, CKpFacetStore* facets, double value, int flag,
                  int startFacet, int dirn) {
    // 1. Trace the region from the start facet; only its marks are needed.
    CKpBdy* ring = nullptr;
    const int traced = (elems && facets) ? CalcAllBoundary(msg, facets, 1, startFacet, dirn, ring,
                                                           nullptr, nullptr, nullptr)
                                         : -1;
    DeleteBoundary(ring);
    if (traced != 0) {
        if (msg) msg->Create(4, "Cannot create boundary.");
        return -1;
    }

    // 2. Each element reached takes the offset with the sense of its last
    // marked facet relative to the start facet.
    CVekObjectStoreIterator<CKpElem> it(*elems);
    while (++it) {
        CKpElem* elem = it.key();
        if (!elem) continue;
        const CKpFacet* last = nullptr;
        for (int i = 0; i < elem->getnfac(); ++i) {
            const CKpFacet* facet = facets->pFac(elem->getfacs(i));
            if (facet && facet->getPntd() > 0) last = facet;
        }
        if (!last) continue;
        const bool flipped = last->getFacetDirection() < 1;
        elem->setoff_fg(flipped ? MirroredOffsetFlag(flag) : flag);
        elem->setoff_val(flipped ? -value : value);
    }
    return 0;
}
