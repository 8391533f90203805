#ifndef PLYSTRAND_LAYUPLIB_CKPELEMEDGE_H
#define PLYSTRAND_LAYUPLIB_CKPELEMEDGE_H

#include "layuplib/CVekListItem.h"

class CKpFacetStore;
class CKpMsg;

// CKpElemEdge: one element edge of a seed curve: an element id and one of
// its sides, with the facet edges that run along that side and the node ids
// along it, the direction in which the curve runs through it and the sense
// of the element's normal relative to the curve's first edge.
//
// Data along the edge (set by SetEdges): the last node index n is the
// number of facet edges along the side (1 linear, 2 quadratic); facet i and
// facet edge i (i < n) are the facet index and the facet's local edge 0..2
// of the i-th facet edge; node ids 0..n run corner, [midside,] corner in the
// order of the facet edges. Node positions 0 and 1 lie on facet 0, position
// 2 on facet 1.
//
// Two element edges are equal when element id and edge number are equal.
// The item is owned by the list that holds it (CKpElemEdgeStore); a copy
// copies every field and is linked into no list until inserted.
class CKpElemEdge : public CVekListItem {
  public:
    // Element `element`, 1-based edge `edge` (corner to corner, as
    // CKpElem::GetFacEdges takes it); direction and dnfg 0 (not set), no
    // facet edges (last node index 0), facets, facet edges and nodes 0.
    CKpElemEdge(int element, int edge);
    CKpElemEdge(const CKpElemEdge& other) = default;
    CKpElemEdge& operator=(const CKpElemEdge& other) = default;
    ~CKpElemEdge() override;

    bool operator==(const CKpElemEdge& other) const {
        return m_elem == other.m_elem && m_edge == other.m_edge;
    }
    bool operator!=(const CKpElemEdge& other) const { return !(*this == other); }

    int Elem() const { return m_elem; }
    int Edge() const { return m_edge; }
    // +1 the curve runs along the stored node order, -1 against it, 0 not
    // set.
    int Dirn() const { return m_dirn; }
    // +1/-1 the element normal's sense relative to the curve's first edge;
    // 0 not set.
    int GetDnfg() const { return m_dnfg; }
    // Number of facet edges along the side (0 until SetEdges).
    int LastNode() const { return m_lastNode; }

    // last node index + 1.
    int NumNodes() const { return m_lastNode + 1; }
    // *count = NumNodes() and ids[0..count-1] the node ids in stored order
    // (room for 3 ints). Null pointers are skipped.
    void GetNodes(int* count, int* ids) const;
    // Stored node i (0..last node index) and stored facet i (0..last node
    // index - 1); 0 and -1 outside those ranges.
    int NodeId(int i) const;
    int FacId(int i) const;
    // Facet edge i (0..last node index - 1); -1 outside.
    int FacEdge(int i) const;

    // Node i / facet i counted along the direction: the stored order when
    // the direction is +1, reversed when -1; -1 when the direction is not
    // set or i is out of range.
    int DirnNodeId(int i) const;
    int DirnFacId(int i) const;
    // First / last node along the direction; 0 when it is not set.
    int GetFirstNode() const;
    int GetLastNode() const;
    // The facet at node `nodeId`: facet 0 for node positions 0 and 1, facet
    // 1 for position 2; -1 when the node is not on the edge.
    int GetFacNode(int nodeId) const;

    // Sets the last node index to n (1 or 2; anything else is refused and
    // changes nothing), n facets and facet edges and n + 1 node ids (read
    // from the arrays; null arrays change nothing).
    void SetEdges(int n, const int* facets, const int* facetEdges, const int* nodes);
    // Direction +1 when node b directly follows node a in the stored order,
    // -1 when it directly precedes it; unchanged otherwise.
    void SetEdgeDirn(int a, int b);
    // Negates the direction.
    void Reverse() { m_dirn = -m_dirn; }
    // Sets dnfg to `flag`; `msg` is not used.
    void Dnfg(CKpMsg* msg, int flag);
    // Sets facets, facet edges and node ids to 0; the last node index
    // stays.
    void init();

    // Sets dnfg from the neighbouring curve edge `neigh` (read): the first
    // node of this edge (stored order) that `neigh` also holds is their
    // common node, and this edge's facet there is compared with neigh's
    // facet there (CKpFacet::GetNeighFacRelDnfg over `facets`): a result r
    // of +1/-1 gives dnfg = neigh's dnfg x r. 0 (nothing changed) when
    // `neigh` is null or this very edge. -1 with dnfg unchanged and the
    // error (element and edge of this edge, then of `neigh`):
    //   "Direction flag not set on element %d edge %d as not set on
    //    neighbouring element %d edge %d"   neigh's dnfg is 0;
    //   "No common node for element %d edge %d and neighbouring element %d
    //    edge %d";
    //   "Could not calculate relative direction for element %d edge %d and
    //    neighbouring element %d edge %d"   r is 0, a facet is missing or
    //    `facets` is null.
    int SetDnfg(CKpMsg* msg, CKpFacetStore* facets, const CKpElemEdge* neigh);

  private:
    int m_elem;
    int m_edge;
    int m_dirn;
    int m_dnfg;
    int m_lastNode;
    int m_facs[2];
    int m_facEdges[2];
    int m_nodes[3];
};

#endif  // PLYSTRAND_LAYUPLIB_CKPELEMEDGE_H
