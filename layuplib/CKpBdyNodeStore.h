#ifndef PLYSTRAND_LAYUPLIB_CKPBDYNODESTORE_H
#define PLYSTRAND_LAYUPLIB_CKPBDYNODESTORE_H

#include "layuplib/CKpBdyNode.h"
#include "layuplib/CVekList.h"

class CKpElemStore;
class CKpNodeStore;

// CKpBdyNodeStore: the perimeter loop of one tria3 element whose edges
// carry further nodes, as a list of CKpBdyNode items. The loop owns its
// items (deleted with the loop or by eraseAllObjects). NextLoop / PrevLoop
// (CVekList) walk it as a ring: after the last item comes the first.
//
// Filling: the loop is put in perimeter order (SortEdgeRatio) and cut into
// new tria3 elements (CreateElems, ear cutting; CreateElemsMidpt, a fan
// round a new centre node). New elements and nodes go into the stores
// given; the element the loop came from is left to the caller.
class CKpBdyNodeStore : public CVekList<CKpBdyNode> {
  public:
    CKpBdyNodeStore();
    // Deletes every item.
    ~CKpBdyNodeStore();
    CKpBdyNodeStore(const CKpBdyNodeStore&) = delete;
    CKpBdyNodeStore& operator=(const CKpBdyNodeStore&) = delete;

    // Number of items that are corners (CKpBdyNode::Vertex).
    int NumVertices() const;

    // Re-links every item in ascending EdgeRatio order: for each position i
    // in turn, every later item with a strictly smaller value is swapped
    // into position i. 0; -1 when the temporary array cannot be allocated
    // (the loop is unchanged).
    int SortEdgeRatio();

    // Ear cutting of a sorted loop (defined in CreateElems.cpp). Starting at
    // the first item k: while 4 or more items remain, when k's successor n
    // is a corner k moves on to n; otherwise the triangle (k, n, k's
    // predecessor p) is made, k is deleted from the loop and the item after
    // p becomes k. The last three items give the triangle (k, successor,
    // predecessor). Every triangle is made by CreateTria3Elem, so new
    // element ids follow the store's largest id one by one.
    //   0 done (the loop holds 3 items afterwards);
    //  -1 nothing made: fewer than 3 items, more than 3 corners, a null
    //     element store, or an element that could not be allocated (the
    //     elements made by this call are removed again; the loop may have
    //     lost items).
    // `nodes` is not used by the cutting.
    int CreateElems(CKpNodeStore* nodes, CKpElemStore* elems);

    // Fan filling (defined in CreateElems.cpp): a new node at the mean
    // position of the corner items (the origin when there is none), id =
    // the node store's largest id + 1, incomplete flag 0, inserted into
    // `nodes`; then, when the loop has 4 or more items, for each item k
    // from the first to the last the triangle (k, k's loop successor,
    // centre). A loop of fewer than 4 items gets the centre node only.
    // 0; -1 when the centre node cannot be allocated or a store is null
    // (nothing made), or when an element cannot be allocated (the elements
    // made by this call are removed again; the centre node stays).
    int CreateElemsMidpt(CKpNodeStore* nodes, CKpElemStore* elems);
};

#endif  // PLYSTRAND_LAYUPLIB_CKPBDYNODESTORE_H
