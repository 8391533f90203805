#ifndef PLYSTRAND_LAYUPLIB_CKPELEMEDGENODE_H
#define PLYSTRAND_LAYUPLIB_CKPELEMEDGENODE_H

#include "layuplib/CKpElemEdge.h"
#include "layuplib/CVekList.h"
#include "layuplib/CVekListItem.h"
#include "layuplib/CVekObject.h"
#include "layuplib/CVekObjectStore.h"

// CKpElemEdgeNode: one node of the graph made of the element edges of a
// seed curve (CKpElemEdgeNodeStore): the node id (the CVekObject id), copies
// of the element edges that meet at the node, in the order added, and the
// ids of the nodes next to it along those edges, each once. As a list item
// it can be linked into one CKpElemEdgeNodeList, which puts the graph in
// walking order.
//
// Ownership: the node owns its edge copies and its neighbour id objects;
// the node itself belongs to its store.
class CKpElemEdgeNode : public CVekListItem, public CVekObject {
  public:
    explicit CKpElemEdgeNode(int nodeId);
    // Deletes the edge copies and the neighbour ids.
    ~CKpElemEdgeNode() override;
    CKpElemEdgeNode(const CKpElemEdgeNode&) = delete;
    CKpElemEdgeNode& operator=(const CKpElemEdgeNode&) = delete;

    // Appends a copy of `edge` (null is ignored) and adds neighbour ids
    // from its node ids (CKpElemEdge::GetNodes), each id once and never the
    // node's own id: of an edge (a, b) the other end; of an edge (a, m, b)
    // m when this node is a, a and b when it is m, m otherwise. 0; -1 when
    // memory runs out (the edge copy and the ids added so far stay).
    int AddElemEdge(const CKpElemEdge* edge);

    // The edge copies, in the order added.
    const CVekList<CKpElemEdge>& ElemEdges() const { return m_elemEdges; }

    // Number of neighbour ids.
    int GetNumNeighNodes() const { return m_neighNodes.entries(); }
    // The i-th neighbour id in ascending id order; 0 outside
    // 0..GetNumNeighNodes()-1.
    int GetNeighNode(int i);
    // Whether `nodeId` is a neighbour.
    bool IsNeighNode(int nodeId);
    // For a node with exactly two neighbours, the one that is not `prevId`:
    // the first when `prevId` differs from the first, else the second. 0
    // for any other neighbour count.
    int GetNextNode(int prevId);

    // Among the node's edges, the one in which this node and `nodeId` are
    // consecutive in the edge's node order (either way round), of lowest
    // element id (the first such edge on equal ids). Null when there is
    // none. The edge stays the node's.
    const CKpElemEdge* GetElemEdge(int nodeId) const;

  private:
    // Adds `id` to the neighbour ids unless present or the node's own id.
    // false when memory runs out.
    bool addNeigh(int id);

    CVekList<CKpElemEdge> m_elemEdges;
    CVekObjectStore<CVekObject> m_neighNodes;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPELEMEDGENODE_H
