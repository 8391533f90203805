#include "layuplib/CKpBdyStoreGroup.h"

#include <climits>
#include <new>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/sel_interior_elem.h"

CKpBdyStoreGroup::CKpBdyStoreGroup() : CVekObjectStore<CKpBdyStore>(64) {}

CKpBdyStoreGroup::~CKpBdyStoreGroup() {
    eraseAllObjects();
}

int CKpBdyStoreGroup::CreateFromSelection(CKpMsg* msg, CKpGra* gra, CKpElemStore* elems,
                                          CKpFacetStore* facets) {
    if (!facets) return 0;
    facets->ReinitBdyStoreId();
    for (int i = 0; i < facets->entries(); ++i) {
        // 1. A facet not yet reached by any group starts a new one.
        const CKpFacet* facet = facets->pFac(i);
        if (!facet || facet->getBdyStoreId() != 0) continue;
        const CKpElem* elem = facet->getElement();
        if (!elem || !elem->getSltd() || elem->getIntr()) continue;

        // 2. Its store, traced from this facet.
        if (maxId() == INT_MAX) return 1;  // no id left above the highest
        CKpBdyStore* store = new (std::nothrow) CKpBdyStore(maxId() + 1);
        if (!store) return 1;
        if (insert(store) != 0) {
            delete store;
            return 1;
        }
        if (store->CalculateBoundary(msg, facets, i, 1) != 0) return 2;

        // 3. The holes of the selection inside it.
        if (store->GetNumInteriorElements() == 0) {
            int leftOut = 0;
            if (sel_interior_elem(msg, gra, elems, facets, i, 1, store, &leftOut) != 0) return 3;
            if (leftOut && msg) msg->Create(2, "Could not select all interior hole elements.");
        }
    }
    return 0;
}
