#ifndef PLYSTRAND_LAYUPLIB_CKPBDYSTOREGROUP_H
#define PLYSTRAND_LAYUPLIB_CKPBDYSTOREGROUP_H

#include "layuplib/CKpBdyStore.h"
#include "layuplib/CVekObjectStore.h"

class CKpElemStore;
class CKpFacetStore;
class CKpGra;
class CKpMsg;

// CKpBdyStoreGroup: the boundary stores of the connected groups of an
// element selection, by id 1, 2, ... in the order of each group's lowest
// facet index. Owns its boundary stores.
class CKpBdyStoreGroup : public CVekObjectStore<CKpBdyStore> {
  public:
    // An empty group of capacity 64.
    CKpBdyStoreGroup();

    // Deletes every boundary store.
    ~CKpBdyStoreGroup() override;

    CKpBdyStoreGroup(const CKpBdyStoreGroup&) = delete;
    CKpBdyStoreGroup& operator=(const CKpBdyStoreGroup&) = delete;

    // One boundary store per connected group of the selected elements
    // (their neighbour links built for the selection, find_selected_
    // neighbour), added after the stores already held:
    //   1. every facet's boundary store id becomes 0;
    //   2. each facet in index order whose element exists, is selected and
    //      is not interior, and whose boundary store id is still 0, starts
    //      a group: a store with id maxId() + 1 is inserted and traced from
    //      it with option 1 (CKpBdyStore::CalculateBoundary, which marks the
    //      region's facets with the store's id);
    //   3. when that store has no interior element, the holes of its
    //      selection are filled (sel_interior_elem); when elements of a hole
    //      were left unselected, the warning "Could not select all interior
    //      hole elements.".
    // 0 (also for a null facet store, which makes no group); 1 when memory
    // for a store runs out or no id is left above the highest; 2 when tracing fails; 3 when filling
    // the holes fails. The groups made before a failure stay.
    int CreateFromSelection(CKpMsg* msg, CKpGra* gra, CKpElemStore* elems, CKpFacetStore* facets);
};

#endif  // PLYSTRAND_LAYUPLIB_CKPBDYSTOREGROUP_H
