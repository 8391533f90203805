#include "layuplib/sel_interior_elem.h"

#include <new>

#include "layuplib/CKpBdy.h"
#include "layuplib/CKpBdyStore.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CalcBoundary.h"
#include "layuplib/find_nei.h"
#include "layuplib/surface_div.h"

namespace {

// A copy of `ring` (facet, edge and direction of each segment, linked the
// same way); null when memory runs out.
CKpBdy* copyRing(const CKpBdy* ring) {
    CKpBdy* head = nullptr;
    CKpBdy* last = nullptr;
    const CKpBdy* seg = ring;
    do {
        CKpBdy* copy = new (std::nothrow) CKpBdy();
        if (!copy) {
            if (last) last->SetNext(nullptr);
            DeleteBoundary(head);
            return nullptr;
        }
        copy->setFacet(seg->getFacet());
        copy->setEdge(seg->getEdge());
        copy->setDirn(seg->getDirn());
        if (last) {
            last->SetNext(copy);
            copy->SetPrev(last);
        } else {
            head = copy;
        }
        last = copy;
        seg = seg->Next();
    } while (seg && seg != ring);
    last->SetNext(head);
    head->SetPrev(last);
    return head;
}

}  // namespace

int sel_interior_elem(CKpMsg* msg, CKpGra* gra, CKpElemStore* elems, CKpFacetStore* facets,
                      int /*startFacet*/, int /*option*/, CKpBdyStore* boundaries, int* result) {
    if (result) *result = 0;
    if (!boundaries || !facets) return -1;
    if (msg)
        msg->Create(1, "Automatically selecting elements to fill interior hole to enable draping.");

    // 1. Grow each hole ring into the hole, painting what it passes.
    const int n = boundaries->GetNumBdys() > 0 ? boundaries->GetNumBdys() - 1 : 0;
    int changes = 0;
    for (int k = 0; k < n; ++k) {
        const CKpBdy* hole = boundaries->pIntrBdy(k);
        if (!hole) continue;
        CKpBdy* ring = copyRing(hole);
        if (!ring) {
            if (msg) msg->Create(4, "Could not allocate memory.");
            return -1;
        }
        const CKpBdy* seg = ring;
        do {
            SurfaceDeleteDivision(facets, seg->getFacet(), seg->getEdge());
            seg = seg->Next();
        } while (seg != ring);
        int ringChanges = 0;
        const int status =
            CalcBoundaryAdvance(msg, facets, ring, &ringChanges, nullptr, nullptr, nullptr);
        DeleteBoundary(ring);
        if (status != 0) return -1;
        if (msg)
            msg->Create(1, "Interior boundary %3d of %3d resulted in %6d boundary changes.", k + 1,
                        n, ringChanges);
        changes += ringChanges;
    }

    // 2. The painted facets' unselected elements fill the holes.
    if (changes > 0) {
        if (msg) msg->Create(1, " selecting interior element:");
        for (int i = 0; i < facets->entries(); ++i) {
            const CKpFacet* facet = facets->pFac(i);
            CKpElem* elem = facet ? facet->getElement() : nullptr;
            if (!elem || !facet->getPntd() || elem->getSltd()) continue;
            const int before = boundaries->GetNumInteriorElements();
            boundaries->AddInteriorElementId(elem->id());
            if (boundaries->GetNumInteriorElements() == before) {
                if (msg) msg->Create(4, "Could not allocate memory.");
                return -1;
            }
            elem->setSltd(1);
            elem->setIntr(1);
            if (msg) msg->Create(1, "  %6d", elem->id());
        }
    }

    // 3. What was filled must close the region.
    if (boundaries->GetNumInteriorElements() == 0) return 0;
    if (find_selected_neighbour(msg, gra, facets, elems) != 0) return -1;
    int found = 0;
    if (boundaries->CheckForInteriorHoles(msg, gra, facets, found) != 0) return -1;
    if (result) *result = found;
    return found ? -1 : 0;
}
