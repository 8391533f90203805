#ifndef PLYSTRAND_LAYUPLIB_CKPELEMEDGENODESTORE_H
#define PLYSTRAND_LAYUPLIB_CKPELEMEDGENODESTORE_H

#include "layuplib/CKpElemEdgeNode.h"
#include "layuplib/CVekObjectStore.h"

class CKpElemEdgeNodeList;
class CKpElemEdgeStore;
class CKpMsg;

// CKpElemEdgeNodeStore: the graph of the nodes of a set of element edges,
// one CKpElemEdgeNode per node id (capacity 64), which puts an unordered
// seed curve in order. The store owns its nodes.
//
// Calling order: AddElemEdges, CheckNeighNodes (stop on -1), CreateEdgeLine
// (stop on -1), then CKpElemEdgeNodeList::CreateOrderedElemEdges.
class CKpElemEdgeNodeStore : public CVekObjectStore<CKpElemEdgeNode> {
  public:
    CKpElemEdgeNodeStore();
    // Deletes every node.
    ~CKpElemEdgeNodeStore() override;
    CKpElemEdgeNodeStore(const CKpElemEdgeNodeStore&) = delete;
    CKpElemEdgeNodeStore& operator=(const CKpElemEdgeNodeStore&) = delete;

    // For every edge of `edges` in list order and each of its node ids in
    // order: the node of that id (created when missing) gets the edge
    // (CKpElemEdgeNode::AddElemEdge). 0 (also for a null list); -1 when
    // memory runs out (the nodes made so far stay).
    int AddElemEdges(const CKpElemEdgeStore* edges);

    // Checks that the nodes form one chain, visiting them in ascending id
    // order; messages go to `msg` when it is given:
    //   - a node with fewer than two neighbours is an end: the information
    //     "Node %d has %d neighbours" (id, count);
    //   - a node with more than two: the error "Node %d has %d neighbours,
    //     only 2 are allowed." and one error " %d" per neighbour id in
    //     ascending order.
    // Then: three or more ends give the error "There are %d end nodes, only
    // 2 are allowed." and -1; a node with more than two neighbours gives -1;
    // otherwise 0. A closed chain (no end) passes.
    int CheckNeighNodes(CKpMsg* msg);

    // Links the nodes into `list` (appended; it should start empty) in
    // walking order from an end of the chain:
    //   1. The start: the node of lowest id when it has one neighbour or
    //      none; otherwise the walk from it towards its first neighbour,
    //      through nodes of exactly two neighbours (each time to the one not
    //      just left), ends at the first node of another count. A walk that
    //      comes back to the node of lowest id (a closed chain) starts
    //      there.
    //   2. From the start towards its first neighbour each node reached is
    //      appended, and the walk goes on while the node reached has exactly
    //      two neighbours. It stops before it comes back to the start.
    // An empty store leaves the list empty. 0; -1 for a null list, or when
    // the walk meets a neighbour id that has no node (the list may then
    // hold the nodes met so far).
    int CreateEdgeLine(CKpElemEdgeNodeList* list);
};

#endif  // PLYSTRAND_LAYUPLIB_CKPELEMEDGENODESTORE_H
