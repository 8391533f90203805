#ifndef PLYSTRAND_LAYUPLIB_MAKE_FACET_H
#define PLYSTRAND_LAYUPLIB_MAKE_FACET_H

// Building the faceted surface from the shell elements.

#include <memory>

class CKpElem;
class CKpElemStore;
class CKpFacetStore;
class CKpMsg;
class CKpNodeStore;
class FacetEdgeFiling;

// make_facet's own pass over the elements (the facet count, and the count
// of the facets' edges for the neighbour search), made by a caller that
// visits every element while it builds the mesh anyway, together with the
// node links node_reref would make: a million elements are then read once
// instead of three times. Made right after the nodes are stored; the node
// store must not change from then until make_facet has run.
class FacetPlan {
  public:
    // Throws std::bad_alloc when its arrays cannot be made.
    explicit FacetPlan(CKpNodeStore& nodes);
    ~FacetPlan();
    FacetPlan(const FacetPlan&) = delete;
    FacetPlan& operator=(const FacetPlan&) = delete;

    // Links each node pointer of `elem` to the store's node of the id it
    // holds, as node_reref does (null where there is none), and counts the
    // element's facets as make_facet will cut them. False when a node is
    // missing: the element is then not counted and the plan no longer
    // stands for make_facet's pass (link the elements with node_reref).
    bool add(CKpElem* elem);
    // Whether the plan stands for make_facet's pass over `elems`: every
    // element of the store, and no other, was added once and linked, and
    // none was deleted since.
    bool usable(const CKpElemStore& elems) const;

  private:
    friend int make_facet(CKpMsg* msg, CKpNodeStore* nodes, CKpElemStore* elems,
                          CKpFacetStore* facets, FacetPlan* plan);
    std::unique_ptr<FacetEdgeFiling> m_filing;  // the node look-up, and the edges
    long long m_total = 0;                      // facets of the eltp 1 elements
    int m_nodes = 0;                            // node store entries when made
    int m_added = 0;
    bool m_linked = true;  // every element added so far was linked
    bool m_filed = true;   // and its edges counted in m_filing
};

// Cuts every element with eltp 1 into facets of `facets` (emptied first),
// visiting the elements in ascending id order and numbering the facets
// consecutively from 0; each facet is recorded in its element's facet list
// (CKpElem::setfacs) in the order made. Facet vertices follow the element's
// perimeter:
//   quad4 c0 c1 c2 c3   A = (c0, c1, c2), B = (c2, c3, c0); A's and B's
//                       edge 2 are linked to each other (neighn 1, code 5);
//   tria3 c0 c1 c2      one facet (c0, c1, c2);
//   quad8, tria6        a centre node is added (quad8: 0.5 × the midsides -
//                       0.25 × the corners; tria6: 2/3 × the midsides - 1/3
//                       × the corners) and facet j = (p_j, p_j+1, centre)
//                       for each perimeter segment j; facet j's edge 1 is
//                       linked to facet j+1 (code 5), its edge 2 to facet
//                       j-1 (code 4), wrapping around, neighn 1.
// Centre nodes take the ids after the node store's largest id, one per
// element in order. They are internal to the surface: inserted with the
// incomplete flag 1 (so they are not handed out, saved or compared as mesh
// nodes), and the next make_facet over the same store deletes them before
// it builds, so rebuilding gives the same ids and does not add nodes.
//
// Elements skipped, each with an error and the build going on: "Unsupported
// facet number." for eltp 1 with a geometry type other than the four
// shells; "Element %d has a node that is not linked, no facets made." for a
// shell whose node pointers are not all set (node_reref not run).
//
// Afterwards the neighbours are found (find_neigh; its status is not
// looked at), the node offsets computed (calculate_offset, surface type 0)
// and the vertices moved (calc_facet_vertices).
//
// Results: 1 built; 0 not built, the store left empty: the information
// "Model contains no facets." when no facet could be made, the error "Could
// not allocate memory." when memory ran out, or (no message) for a null
// argument. With the three stores given, the vertex moves and centre nodes
// of the previous build are taken back first in any case.
int make_facet(CKpMsg* msg, CKpNodeStore* nodes, CKpElemStore* elems, CKpFacetStore* facets);
// The same, with the pass over the elements taken from `plan` (may be null)
// where it is usable (FacetPlan::usable) and the node store still has the
// entries it had when the plan was made; else made here. The plan's counts
// are used up.
int make_facet(CKpMsg* msg, CKpNodeStore* nodes, CKpElemStore* elems, CKpFacetStore* facets,
               FacetPlan* plan);

// Moves every facet vertex node from its position before any move by
// direction × fac_off of that node (CKpNode::getCKpDirn, getfac_off), once
// per node however many facets share it. A move made by an earlier call is
// taken back first for a node that is still a vertex and still sits where
// that call put it, so calling again does not add up. With fac_off 0 on
// every node (the state of a fresh mesh) nothing moves. 1 (also for a null
// store).
int calc_facet_vertices(CKpFacetStore* facets);

#endif  // PLYSTRAND_LAYUPLIB_MAKE_FACET_H
