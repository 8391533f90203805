#ifndef PLYSTRAND_LAYUPLIB_CKPPATELEMSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPPATELEMSTORE_H

#include "layuplib/CKpPatElem.h"
#include "layuplib/CVekList.h"

class CKpDrape;
class CKpElemStore;
class CKpFacetStore;
class CKpMsg;

// CKpPatElemStore: the covered elements of one pattern, in the order the
// simulation or the caller gave them (count, first, last). The list owns its
// entries and deletes them when it is destroyed.
//
// An entry's element id is that of its linked element, else its stored id
// (CKpPatElem::GetElemId). Angles are radians.
class CKpPatElemStore : public CVekList<CKpPatElem> {
  public:
    CKpPatElemStore() = default;
    // Deletes every entry (holding the entries' pool for the loop).
    ~CKpPatElemStore() {
        CKpBlockPool::Hold hold(CKpPatElem::pool());
        eraseAllObjects();
    }

    // Appends n entries (existing ones stay) with the element ids `ids`
    // (n ints, read) and the orders `orders` (n ints, read; null: order 0);
    // the entries are not linked to elements. 1 for a null `ids`; 0 for n
    // below 1 (nothing appended); -1 when an entry cannot be allocated (the
    // entries appended so far stay); else 0.
    int SetElemIdsOrders(int n, const int* ids, const int* orders);

    // The largest order; 0 for an empty list.
    int GetMaxOrder() const;

    // The ids of the entries of extension order `order`, in list order:
    // `count` receives how many there are; `ids` (room for `size` ints,
    // written) receives the first min(count, size) of them. A null `ids` or
    // size below 1 only counts. 0.
    int GetElemIdsOrder(int order, int& count, int* ids, int size) const;

    // The ids of all entries in list order into `ids` (room for `size`
    // ints, written). Returns the number written: min(entries(), size), 0
    // for a null `ids` or size below 1.
    int GetElemIds(int* ids, int size) const;

    // Re-links the list in ascending element id; entries of equal id keep
    // their order. 0; -1 when memory runs out (the list is unchanged).
    int SortById();

    // Appends one entry per element that the last simulation reached,
    // from the drape results on the facets (CKpFacet: Nrpat the hit count c,
    // FacetDirection, wpang, wtang, strn):
    //   - elements in ascending id; for each of its facets, in the element's
    //     facet order, with c > 0: the total T grows by c, the facet's
    //     direction becomes the element's dnfg (the last such facet wins),
    //     its warp and weft angles are carried as directions onto the
    //     element's first facet and measured there, its shear is taken as
    //     is; the first such facet sets the means m, each further one moves
    //     them: m = wrap(m + c wrap(a - m) / T) for the angles and
    //     m + c (s - m) / T for the shear (wrap into (-pi, pi]);
    //   - when T is at least 1 and the element is not interior (getIntr 0)
    //     an entry is appended: element id and pointer, `stdn`, the dnfg,
    //     the mean warp, weft and shear, thickness 0, order = the element's
    //     extension order (getOrdr).
    // Existing entries stay (callers empty the list first). 0; -1 for a null
    // store, or when an entry cannot be allocated (those appended so far
    // stay).
    int SimulationTransfer(CKpElemStore* elements, CKpFacetStore* facets, int stdn);

    // After a projection: fills the painted facets without results from
    // their neighbours (CKpFacetStore::SimulationInterpolate), deletes every
    // entry and rebuilds the list (SimulationTransfer). 0; -1 for a null
    // store or when interpolating or rebuilding fails.
    int UpdateFromProjection(CKpElemStore* elements, CKpFacetStore* facets, int stdn);

    // After a drape: resets the facets' simulation fields
    // (CKpFacetStore::SimulationInitialise), averages the drape grid's points
    // onto their facets (SimulationTransfer, `log` for its messages), fills
    // the painted facets without results (SimulationInterpolate), deletes
    // every entry and rebuilds the list (SimulationTransfer). 0; -1 for a
    // null grid or store, or when a step fails.
    int UpdateFromDraping(CKpMsg* log, CKpDrape* drape, CKpElemStore* elements,
                          CKpFacetStore* facets, int stdn);
};

#endif  // PLYSTRAND_LAYUPLIB_CKPPATELEMSTORE_H
