#ifndef PLYSTRAND_LAYUPLIB_FIND_NEI_H
#define PLYSTRAND_LAYUPLIB_FIND_NEI_H

// Neighbour relations of the faceted surface (CKpFacet links, see
// CKpFacet.h for the edge codes).
//
// A link of edge e of facet f with edge h of facet g: f's neigh[e] = g and
// nedge[e] = h, plus 3 when the two edges run in opposite senses (the facet
// normals agree); symmetric on g's side. neighn[e] counts the partners.
// From the second partner on (an edge shared by three or more facets, a
// shell branch) neigh[e] and nedge[e] are -1 and all partners stand in
// neigha[e]/nedgea[e] (malloc/realloc, freed by CKpFacetStore::reinit).
// Facets of elements of different parts (CKpElem::getpart) never become
// partners.

#include <memory>

class CKpElem;
class CKpElemStore;
class CKpFacetStore;
class CKpGra;
class CKpMsg;
class CKpNode;
class CKpNodeStore;

// The edges of facets about to be cut, filed at their end node of lower id
// as find_neigh_offsets files them, so that the search need not read every
// facet twice more for it. First each facet to be made is counted, in the
// order the facets will get their indices (count); then each is filed as it
// is made (file), with its index. A facet with a node outside the store, or
// an edge whose two end nodes have the same id, gets those edges left out,
// as the search leaves them out. The node store must not change from the
// construction until find_neigh_offsets has run, and the facets must be
// fresh ones (neighbours only within their element, no subdomain, no
// direction flag): the search then skips its own pass to clear them.
// Construction throws std::bad_alloc when the arrays cannot be made.
class FacetEdgeFiling {
  public:
    explicit FacetEdgeFiling(CKpNodeStore& nodes);
    ~FacetEdgeFiling();
    FacetEdgeFiling(const FacetEdgeFiling&) = delete;
    FacetEdgeFiling& operator=(const FacetEdgeFiling&) = delete;

    // A vertex node as the filing sees it: its id and its position in the
    // store's id order (-1 when it is not a node of the store).
    struct Vertex {
        int id;
        int rank;
    };
    // `node` (not null) as a Vertex; looked up once per node of an element
    // and used for all its facets.
    Vertex vertex(const CKpNode* node) const;
    // vertex(node) of each of the getnnod() nodes of `elem` (all linked),
    // into out[0..getnnod()-1].
    void vertices(const CKpElem* elem, Vertex* out) const;
    // The store's node of id `id` (null when it has none) and its Vertex
    // into *out ({id, -1} when there is no such node): one lookup gives
    // both, for a caller that links an element's nodes by their ids.
    CKpNode* find(int id, Vertex* out) const;

    // Counts the edges of a facet to be made with vertex nodes v[0..2].
    // Only before the first `file`.
    void count(const Vertex v[3]);
    // Files the edges of facet `facet` (its index) with vertex nodes v, the
    // facets in the order they were counted, with the same nodes. Returns
    // false (and files nothing more) when more edges come than were
    // counted, or the facet index is too large to be filed.
    bool file(int facet, const Vertex v[3]);
    // count, and file, for the `n` facets of one element at once: facet k
    // (index first + k when filed) with vertex nodes v[3k..3k+2].
    void count(const Vertex* v, int n);
    bool file(int first, const Vertex* v, int n);
    // Whether all counted edges have been filed and nothing went wrong;
    // false again once find_neigh_offsets has taken the edges over.
    bool complete() const;

    // The filed edges, for find_neigh_offsets to take over.
    struct Impl;
    Impl* impl() { return m_impl.get(); }

  private:
    std::unique_ptr<Impl> m_impl;
};

// Links every facet edge of `facets` to the facets sharing it (edges are
// matched by the ids of their two end nodes, node objects of `nodes`),
// orders the partners of branch edges by angle about the edge, numbers the
// subdomains (CKpSbdmnStore::Create: every facet's sbdmn and sbdmndnfg,
// renumbered from scratch), sets every element's etdnfg to the sbdmndnfg
// of its first facet, and gives each node whose facets all lie in one
// subdomain the direction unit(sum of sbdmndnfg × vertex angle × unit facet
// normal) over its facets (nodes spanning two subdomains, and nodes without
// facets, keep their direction).
// Branch order: with n the facet's unit normal, t = unit(vertex e+1 -
// vertex e) and b = t × n (in the facet's plane, away from it), partner g
// on its edge h gets the angle atan2(w·n, w·b) of w = g's vertex h+2 - g's
// vertex h; partners are put in ascending angle order (for each position i
// in turn, every later position j of strictly smaller angle is swapped into
// i).
// Cost: O(n log n) in the facets; no per-facet allocation.
// Results: 1 done; 0 with the error "Could not allocate memory." (or, with
// no message, for a null argument); -1 when the subdomains cannot be built.
int find_neigh(CKpMsg* msg, CKpNodeStore* nodes, CKpElemStore* elems, CKpFacetStore* facets);

// find_neigh, then calculate_offset(msg, nodes, facets, 0, nullptr), with
// the same results and messages in the same order, for a surface whose
// facets' elements are those of `elems` (as make_facet builds it): the pass
// over the nodes that sets their directions also gives them the offsets'
// start values, and the pass over the facets before it sets the element
// direction flags.
// *vertexFactor (when given) is set false when no facet vertex node has a
// non-zero offset factor (CKpNode::getfac_off), true otherwise or when that
// is not known. `filed` (may be null): the facets' edges filed while they
// were made; used when complete (FacetEdgeFiling::complete), else the
// edges are collected from the facets. Returns find_neigh's result.
int find_neigh_offsets(CKpMsg* msg, CKpNodeStore* nodes, CKpElemStore* elems,
                       CKpFacetStore* facets, bool* vertexFactor,
                       FacetEdgeFiling* filed = nullptr);

// Appends to each facet vertex node's facet-reference list
// (CKpNode::FacRefs) a CKpFacRef(facet, vertex v, id of the node at v+1,
// id of the node at v+2), for every facet in index order and v = 0..2.
// The lists are emptied by CKpNodeStore::DelFacRefs. 0; -1 for a null
// facet store, a facet with a missing vertex node (that facet gets no
// references), or when memory runs out. The node store is not read.
int find_neigh_init(CKpNodeStore* nodes, CKpFacetStore* facets);

// Pairs facet edges through the nodes' facet-reference lists (built by
// find_neigh_init): each edge is found at its end node of lower id. Nodes
// are visited in ascending id order; at node N, for each reference A (list
// order) and each later reference B of the same part, for each of A's other
// node ids X above N's id (slot 1, then 2) and each of B's slots (1, then
// 2) holding X: A's edge is its vertex for slot 1 and vertex + 2 for slot
// 2, B's likewise. The pair is skipped when either edge already has a
// partner in its own element (the inner edges made by make_facet) or
// already lists the other facet; otherwise CreateNeigh(A's facet, B's facet,
// A's edge, B's edge, A's slot, B's slot). 0; -1 for a null store or when
// memory runs out ("Could not allocate memory."). `elems` is not read.
int find_neigh_neigh(CKpMsg* msg, CKpNodeStore* nodes, CKpElemStore* elems, CKpFacetStore* facets);

// Links edge e of facet f with edge h of facet g. kf and kg (1 or 2) say
// through which of their other vertices (1 the next, 2 the one after) the
// two facets reached the shared edge; the senses are opposite when they
// differ: f gets code h + 3 and g code e + 3, else h and e. Each side's
// neighn grows by 1; a side with two or more partners keeps them all in its
// neigha/nedgea (the first being its former single neighbour) and gets
// neigh = nedge = -1. 0; -1 for a bad index or edge (nothing changes), or
// with the error "Could not allocate memory." (nothing changes).
int CreateNeigh(CKpMsg* msg, CKpFacetStore* facets, int f, int g, int e, int h, int kf, int kg);

// 1 when edge e of facet f has a partner (its single neighbour, or any
// entry of neigha[e]) whose element is f's element; 0 otherwise, also when
// neighn[e] is below 1 or for a bad index.
int neigh_same_elem(CKpFacetStore* facets, int f, int e);

// 1 when g already is a partner on edge e of facet f; 0 otherwise.
int neigh_exists(CKpFacetStore* facets, int f, int e, int g);

// Narrows the links to the element selection before a ply is draped or a
// region is selected:
//   1. NeighClear, then NeighSet (CKpFacetStore).
//   2. When branches were found inside the selection: the warning
//      "Automatically deselecting %d elements to remove shell branch:"
//      (number of ids NeighSet listed), then for each listed id in
//      ascending order whose element exists: its Sltd becomes 0 and the
//      warning "   %6d" (id) follows; then NeighClear and NeighSet again.
//   3. No branch left: NeighDivide (the selection's border is divided),
//      result 0.
//   4. Otherwise: the error "The selected area contains one or more shell
//      branches where element edges are shared by three or more elements.
//      Please select an area without branches.", graphics segment 6 is
//      deleted (when `gra` is given), result -1.
// -1 also when NeighSet fails or for a null store.
int find_selected_neighbour(CKpMsg* msg, CKpGra* gra, CKpFacetStore* facets, CKpElemStore* elems);

#endif  // PLYSTRAND_LAYUPLIB_FIND_NEI_H
