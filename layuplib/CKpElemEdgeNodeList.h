#ifndef PLYSTRAND_LAYUPLIB_CKPELEMEDGENODELIST_H
#define PLYSTRAND_LAYUPLIB_CKPELEMEDGENODELIST_H

#include "layuplib/CKpElemEdgeNode.h"
#include "layuplib/CVekList.h"

class CKpElemEdgeStore;

// CKpElemEdgeNodeList: element-edge nodes of one CKpElemEdgeNodeStore in
// walking order (CKpElemEdgeNodeStore::CreateEdgeLine). It links the nodes
// without owning them: the store deletes them, and the list must not be
// used after that.
class CKpElemEdgeNodeList : public CVekList<CKpElemEdgeNode> {
  public:
    CKpElemEdgeNodeList();
    ~CKpElemEdgeNodeList();
    CKpElemEdgeNodeList(const CKpElemEdgeNodeList&) = delete;
    CKpElemEdgeNodeList& operator=(const CKpElemEdgeNodeList&) = delete;

    // Appends to `out` the element edges of the walk, each directed along
    // it. For each consecutive pair (a, b) of the list with b among a's
    // neighbours, the edge of a that holds a and b as consecutive nodes
    // (CKpElemEdgeNode::GetElemEdge: lowest element id) is copied, given the
    // direction CKpElemEdge::SetEdgeDirn(a, b) and appended. A pair whose
    // edge is the edge just appended (the second half of a quadratic edge)
    // and pairs without such an edge add nothing. A closed chain (the last
    // node a neighbour of the first, both with exactly two neighbours, at
    // least three nodes) also gets the edge from the last node back to the
    // first, unless that is the first or the last edge appended already.
    // 0; -1 for a null `out` or when memory runs out (the edges appended so
    // far stay).
    int CreateOrderedElemEdges(CKpElemEdgeStore* out);
};

#endif  // PLYSTRAND_LAYUPLIB_CKPELEMEDGENODELIST_H
