#ifndef PLYSTRAND_LAYUPLIB_CKPELEMSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPELEMSTORE_H

#include "layuplib/CKpAscendingStore.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CVekObjectStore.h"

class CKpField;
class CKpMsg;

// CKpElemStore: the elements of the layup mesh by id (capacity 64). It
// creates elements, hands the mesh to the host and to clients in the
// solver's node order, answers selection queries and checks shapes. The
// owner deletes the elements with eraseAllObjects. Elements inserted in
// ascending id go straight to the sorted array (CKpAscendingStore).
//
// Connectivity exchange (GetElements, GetSelectedElements): one row of
// `width` ints per element, the node ids in solver order (corners first,
// then midsides) in its first getnnod() entries; the rest of a row is left
// as it was. Host topology codes: 3 tria3, 4 quad4, 6 tria6, 8 quad8 (solids
// 28, 20, 26, 25; 0 unknown).
class CKpElemStore : public CKpAscendingStore<CKpElem> {
  public:
    CKpElemStore();
    ~CKpElemStore() override;
    CKpElemStore(const CKpElemStore&) = delete;
    CKpElemStore& operator=(const CKpElemStore&) = delete;

    // Deletes every element (as CVekObjectStore::eraseAllObjects), holding
    // the element pools (CKpElem::PoolHold) for the whole loop.
    void eraseAllObjects();

    // A new element of `id` and `gmtp`, not inserted (the caller inserts or
    // deletes it). Null when memory runs out.
    CKpElem* NewElem(int id, int gmtp);

    // Sum of the element areas (square model units) into *area. 0 (0.0 for
    // an empty store); the status of the first element whose area fails (1),
    // which stops the sum; -1 for a null area.
    int GetArea(CKpMsg* msg, double* area);
    // Total area / element count; 0.0 for an empty store or when an element
    // fails.
    double GetAverageArea(CKpMsg* msg);

    // Largest getnnod() in the store; 0 when empty.
    int GetMaxNumNodes();

    // Every element in ascending id order, at position k: ids[k] its id,
    // patchIds[k] its PatchID, topologies[k] its host topology, and the
    // row nodes[k x width ...] its node ids in solver order (arrays of n,
    // n, n and n x width ints, written). 0; 1 with nothing written when n
    // differs from the element count, `width` is below the node count of
    // some element, or an array is null (n > 0).
    int GetElements(int n, int* ids, int* patchIds, int* topologies, int width, int* nodes);
    // The number of selected elements and the largest node count among them
    // (0 and 0 when none is selected). 0; -1 for a null pointer.
    int GetSelectedElementSizes(int* n, int* width);
    // As GetElements over the selected elements only. 1 with nothing written
    // unless n and width equal the two values of GetSelectedElementSizes
    // (or an array is null).
    int GetSelectedElements(int n, int* ids, int* patchIds, int* topologies, int width, int* nodes);

    // Empties `ids` (deleting its objects), then adds a new CVekObject keyed
    // by the id of every selected element (owned by `ids`). 0; -1 when
    // memory runs out (the ids added so far stay).
    int GetSelectedIds(CVekObjectStore<CVekObject>& ids);
    // Empties `ids`, then adds the layup ply ids present on the selected
    // elements, each once. 0; -1 when memory runs out.
    int GetSelectedLypPlyIds(CVekObjectStore<CVekObject>& ids);

    // For every selected element: theta = 0; when its first ply has a ply
    // element, with a = the ply element's warp angle and b = its weft angle
    // as exchanged with clients (radians), a field value keyed by the
    // element id with the six values warp x, y, z, weft x, y, z
    // (GetDirection(a), GetDirection(b)) is put into the field's value store
    // (an existing value of that id is overwritten) and theta = a. Elements
    // whose directions cannot be formed keep theta 0 and get no value.
    // 0; -1 for a null field or when a field value cannot be allocated.
    int GetOrientationFromFirstLayer(CKpField* field);

    // Walks the elements from the highest id down; each one whose
    // CKpElem::CheckShape fails draws the warning "Shape check failed for
    // element <id>, deleting from the element store." (when `msg` is given)
    // and is removed and deleted. Returns the number deleted.
    int CheckShape(CKpMsg* msg);

    // CKpElem::DeleteElemRefs on every element.
    void DeleteElemRefs();

    // Every element: no orientation, orientId 0, theta 0.0. 0.
    int orientClear();
    // Every element: pid 0. 0.
    int lamClear();

  private:
    // The shared body of GetElements and GetSelectedElements.
    int exportElements(bool selectedOnly, int n, int* ids, int* patchIds, int* topologies,
                       int width, int* nodes);
};

#endif  // PLYSTRAND_LAYUPLIB_CKPELEMSTORE_H
