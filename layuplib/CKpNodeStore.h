#ifndef PLYSTRAND_LAYUPLIB_CKPNODESTORE_H
#define PLYSTRAND_LAYUPLIB_CKPNODESTORE_H

#include "layuplib/CKpAscendingStore.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CVekObjectStore.h"

class CKpCoordStore;
class CKpElemStore;
class CKpFacetStore;
class CKpMsg;
class CKpRefStore;

// CKpNodeStore: the nodes of the layup mesh by id (capacity 64). It creates
// nodes, hands them to clients, computes the bounding box, resolves
// positions to the basic frame, merges coincident nodes and re-points the
// elements at the survivors, and builds the node-to-element references and
// node directions of an element selection. The owner deletes the nodes with
// eraseAllObjects. Nodes inserted in ascending id go straight to the sorted
// array (CKpAscendingStore).
//
// Nodes that count for clients ("live" nodes) are those that are neither
// incomplete (not yet placed) nor merged into another node.
class CKpNodeStore : public CKpAscendingStore<CKpNode> {
  public:
    CKpNodeStore();
    ~CKpNodeStore() override;
    CKpNodeStore(const CKpNodeStore&) = delete;
    CKpNodeStore& operator=(const CKpNodeStore&) = delete;

    // Deletes every node (as CVekObjectStore::eraseAllObjects), holding the
    // node pool for the whole loop.
    void eraseAllObjects();

    // A new node of `id` with the incomplete flag 1, not inserted (the
    // caller inserts or deletes it). Null when memory runs out.
    CKpNode* NewNode(int id);

    // A new node of id *nextId at *point (basic frame), incomplete flag 0,
    // inserted; *nextId is increased by 1, or becomes 0 after INT_MAX. Null
    // (and *nextId unchanged) for a null argument, *nextId below 1 or when
    // memory runs out.
    CKpNode* CreateNode(const CKpPoint* point, int* nextId);

    // Number of live nodes.
    int GetNumNodes();
    // The live nodes in ascending id order: ids[k] the id, xyz[3k..3k+2] the
    // position (arrays of n and 3n, written). 0; 1 with nothing written when
    // n differs from GetNumNodes() or an array is null (n > 0).
    int GetNodes(int n, int* ids, double* xyz);

    // The extremes of the positions of every node in the store (live or
    // not). 0; -1 for an empty store or a null pointer (nothing written).
    int GetBounds(double* xmin, double* xmax, double* ymin, double* ymax, double* zmin,
                  double* zmax);
    // *d = 0.0 first; then the length of the bounding box's diagonal. 0; -1
    // for an empty store or a null d.
    int GetBoundsDiagonal(double* d);

    // Replaces the position of every node whose frame (Cp) is not 0 by its
    // position in the basic frame (CKpCoordStore::GetBasicCoords); Cp stays.
    // A node whose frame cannot be resolved keeps its position. 0; -1 for a
    // null frame store.
    int SetBasicCoords(CKpCoordStore* frames);

    // The nodes to merge, sorted by cmpNodePos: every node, or, with a
    // `subset`, those whose ids stand in it and exist in this store. *n is
    // the count, *array a new array of *n pointers (allocated with new[];
    // the caller releases it with delete[]; null when *n is 0). 0; -1 with
    // the error "Could not allocate memory." when the array cannot be
    // allocated, or for a null n or array (*n 0, *array null).
    int CreateSortPos(CKpMsg* msg, CVekObjectStore<CVekObject>* subset, int* n, CKpNode*** array);

    // Merges coincident nodes: every node within `tolerance` of a surviving
    // node on each axis (|dx|, |dy|, |dz| strictly below it) is merged into
    // it; the survivor of a group is the node of the smallest x + y + z, and
    // among equal sums the smallest id. The elements of `elems` (may be
    // null) are re-pointed, by id and pointer, at the survivors; the merged
    // nodes are deleted. Only the nodes of `subset` take part when it is
    // given. A negative tolerance is relative: its magnitude times the
    // bounding-box diagonal. Returns the number of nodes merged away; 0 when
    // the tolerance is 0 or the sorted array cannot be allocated; -1 when a
    // relative tolerance is asked of an empty store.
    int Merge(CKpMsg* msg, CKpElemStore* elems, CVekObjectStore<CVekObject>* subset,
              double tolerance);

    // For every selected element and each of its node ids: finds or creates
    // the CKpRef of that node id in `refs` and adds the element id to it
    // once. Then the information " The selected <n> elements reference <m>
    // nodes." (selected elements, references in `refs`) and " The selected
    // nodes reference at most <k> elements." 0; -1 for a null store or when
    // memory runs out.
    int CreateSelNodeElemRef(CKpMsg* msg, CKpElemStore* elems, CKpRefStore* refs);

    // Gives every node of `refs` whose direction is still (0, 0, 0) the
    // unit, angle-weighted mean of the normals of the facets meeting at it
    // within the referenced elements (each facet normal turned to agree
    // with its element's normal). Nodes whose direction is set keep it; a
    // zero sum stays zero. Then the information " Directions calculated for
    // <n> selected nodes." (the nodes computed now). 0; -1 for a null store.
    int CreateSelNodeNormals(CKpMsg* msg, CKpRefStore* refs, CKpElemStore* elems,
                             CKpFacetStore* facets);

    // CKpNode::delFacRefs on every node. 0.
    int DelFacRefs();

    // The merged store as two parallel arrays of entries() slots, ascending
    // by id: *nodes the nodes (each a CKpNode) and *ids their ids (read
    // only). Merges pending insertions first. Valid until the next operation
    // that inserts, erases, merges or resizes; both null for an empty store.
    void SortedArrays(CVekObject* const** nodes, const int** ids);
};

// qsort comparison over CKpNode* slots: ascending x + y + z (CKpNode::Pos),
// ties by ascending id, null slots last.
int cmpNodePos(const void* a, const void* b);

#endif  // PLYSTRAND_LAYUPLIB_CKPNODESTORE_H
