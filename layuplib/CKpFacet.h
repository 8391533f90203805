#ifndef PLYSTRAND_LAYUPLIB_CKPFACET_H
#define PLYSTRAND_LAYUPLIB_CKPFACET_H

#include <atomic>
#include <new>

#include "layuplib/CKpBlockPool.h"
#include "layuplib/CKpDirn.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpPoint.h"
#include "layuplib/CVekObject.h"

class CKpBdy;
class CKpElem;
class CKpFacetStore;
class CKpMsg;

// CKpFacet: one triangle of the faceted surface, cut from a shell element.
// Its CVekObject id is its index in the model's CKpFacetStore, and the
// facet sits at that position of the store's array.
//
// Edge k runs from vertex k to vertex (k + 1) mod 3; the vertices follow
// the element's perimeter. Per edge the facet keeps its neighbour links:
//   neigh   index of the neighbouring facet, -1 none;
//   nedge   neighbour edge code:
//             -1      no neighbour (a free edge, or a branch edge whose
//                     partners are in neigha/nedgea),
//             0..2    the neighbour's edge, running the same way along the
//                     shared edge (the neighbour's normal is turned over),
//             3..5    the neighbour's edge + 3, running the other way
//                     (normals agree),
//             -7..-2  a divided edge: the code of the link minus 7;
//   neighn  number of other facets sharing the edge;
//   neigha, nedgea  with more than one partner: the partners' facet indices
//             and edge codes, neighn entries each.
//
// Ownership: the neigha/nedgea arrays come from malloc/realloc (the
// neighbour search grows them) and are freed by CKpFacetStore::reinit; a
// copied facet shares them with its original, so only facets kept in the
// store may have them freed. Only branch edges have such arrays, so their
// six pointers live in a small record of the facet's own, made when the
// first array is set and deleted with the facet (the arrays themselves are
// not freed there); a copy gets a record of its own holding the same
// pointers. Element, nodes and boundary items belong to their own stores.
//
// No class derives from it (final): a store deletes its facets without a
// virtual call each.
//
// Indexed accessors take a vertex or edge number 0..2. Outside that range a
// getter returns the "none" value named with it and a setter changes
// nothing.
class CKpFacet final : public CVekObject {
  public:
    // Mesh objects come by the million: they live in blocks (CKpBlockPool).
    CKP_BLOCK_POOLED

    // A facet with index `id`, no element, no nodes, no neighbours (neigh
    // and nedge -1, neighn 0, no partner arrays), subdomain 0, no drape data
    // (FacetDirection 0, wpang and wtang -1000.0, strn 0.0, Nrpat 0), not
    // painted, boundary store 0, not hidden, no boundary items.
    explicit CKpFacet(int id);

    // Copies every field, the partner array pointers included (shared, not
    // duplicated). Throws std::bad_alloc when the copy's record of partner
    // array pointers cannot be made (only facets with such arrays need one).
    CKpFacet(const CKpFacet& other);
    CKpFacet& operator=(const CKpFacet& other);

    // Frees no partner array (see Ownership above).
    ~CKpFacet() override;

    // Number of facets (stored or copies, of any store) that now hold a
    // record of partner array pointers. While it is 0 no facet has partner
    // arrays and destroying a facet changes nothing but its memory, so a
    // store may hand its facets back without reading them.
    static long branchRecords() { return s_branches.load(std::memory_order_relaxed); }

    // ---- Element and vertices ----

    // The element the facet was cut from; null when not set.
    CKpElem* getElement() const { return m_element; }
    void setElement(CKpElem* elem) { m_element = elem; }

    // The node at vertex i; null when not set or i is outside 0..2.
    CKpNode* getCKpNode(int i) const { return validIndex(i) ? m_nodes[i] : nullptr; }
    void setCKpNode(int i, CKpNode* node) {
        if (validIndex(i)) m_nodes[i] = node;
    }

    // The position (CKpNode::getCKpPoint) and the direction
    // (CKpNode::getCKpDirn) of the node at vertex i, pointing into the node
    // (read and written in place); null without a node or for i outside
    // 0..2.
    CKpPoint* getCKpPoint(int i) const {
        CKpNode* node = getCKpNode(i);
        return node ? node->getCKpPoint() : nullptr;
    }
    CKpDirn* getCKpDirn(int i) const {
        CKpNode* node = getCKpNode(i);
        return node ? node->getCKpDirn() : nullptr;
    }

    // The id of the facet's element; -1 without element.
    int GetElemId() const;

    // The vertex 0..2 whose node has id `nodeId`; -1 when none does.
    int GetVertex(int nodeId) const;

    // The vertex after i: i + 1 for i below 2, else 0.
    static int GetNextVertex(int i) { return i < 2 ? i + 1 : 0; }

    // ---- Geometry (vertex positions; model length units, radians) ----

    // Writes unit((P1 - P0) × (P2 - P0)) into `normal`: anticlockwise seen
    // from its tip. A degenerate facet (or a missing node) gives (0, 0, 0).
    // A null argument writes nothing.
    void GetNormal(CKpDirn* normal) const;

    // Triangle area; 0.0 when a node is missing.
    double Area() const;

    // Interior angle at vertex i (0..2) between the edges to vertices i+1
    // and i+2, in [0, pi]; 0.0 for i outside 0..2 or a missing node.
    double GetVertexAngle(int i) const;

    // Local axes: x along vertex 0 -> vertex 1, y in the facet plane toward
    // vertex 2, z the unit normal. The angle of d in them is
    // atan2(d·y, d·x), -pi..pi; GetAngle(a, b) is the angle of b - a. A
    // degenerate facet gives zero axes and so angle 0.0. Null arguments
    // give 0.0.
    double GetAngle(const CKpDirn* d) const;
    double GetAngle(const CKpPoint* a, const CKpPoint* b) const;

    // The in-plane unit direction at `angle` from the local x axis:
    // cos(angle)·x + sin(angle)·y (zero for a degenerate facet).
    CKpDirn GetDirn(double angle) const;

    // Moves p toward the facet's centroid: p = (1 - f)·p + f·centroid
    // (f = 0 leaves p, f = 1 puts it on the centroid). Null p, or a missing
    // node, changes nothing.
    void MoveToCentroid(CKpPoint* p, double f) const;

    // The element and the 0-based element edge that runs along facet edge
    // `edge`: the element's perimeter segment k (node k to node k+1, with
    // wrap-around; CKpElem::getckpnodes) whose two nodes are the facet
    // edge's vertices edge and edge+1 in the same order.
    //   *elem     written with the facet's element (null without one) when
    //             `elem` is not null;
    //   elemEdge  written with k, or -1 when no perimeter segment matches
    //             (an inner edge of a split element), when `edge` is outside
    //             0..2 or when the facet has no element.
    void GetElemOnEdge(int edge, CKpElem** elem, int& elemEdge) const;

    // Moves p along d by the offset of a ply face on the facet's element:
    // p += d × CKpElem::GetLypPlyOffset(lypPlyId, top) (top > 0 the ply's
    // top face, else its bottom; 0.0 when the element has no such ply). `d`
    // is used as given (not normalised). 0; -1 without element (p
    // unchanged).
    int OffsetPoint(CKpPoint& p, CKpDirn& d, int lypPlyId, int top) const;

    // ---- Neighbour links (per edge i, 0..2) ----

    // Neighbour facet index; -1 none (also for i outside 0..2).
    int getNeigh(int i) const { return validIndex(i) ? m_neigh[i] : -1; }
    void setNeigh(int i, int facet) {
        if (validIndex(i)) m_neigh[i] = facet;
    }
    // Neighbour edge code (see above); -1 for i outside 0..2.
    int getNedge(int i) const { return validIndex(i) ? m_nedge[i] : -1; }
    void setNedge(int i, int code) {
        if (validIndex(i)) m_nedge[i] = code;
    }
    // Number of other facets sharing the edge; 0 for i outside 0..2.
    int getNeighn(int i) const { return validIndex(i) ? m_neighn[i] : 0; }
    void setNeighn(int i, int n) {
        if (validIndex(i)) m_neighn[i] = n;
    }
    // Partner arrays of a branch edge (getNeighn(i) entries); null when
    // none. The setters take a malloc'ed array, or null; they free nothing.
    // The first non-null array set on a facet makes its pointer record:
    // when that cannot be allocated the setter throws std::bad_alloc and
    // the facet is unchanged.
    int* getNeigha(int i) const {
        return validIndex(i) && m_branch ? m_branch->neigha[i] : nullptr;
    }
    void setNeigha(int i, int* facets) {
        if (validIndex(i) && (m_branch || (facets && makeBranch()))) m_branch->neigha[i] = facets;
    }
    int* getNedgea(int i) const {
        return validIndex(i) && m_branch ? m_branch->nedgea[i] : nullptr;
    }
    void setNedgea(int i, int* codes) {
        if (validIndex(i) && (m_branch || (codes && makeBranch()))) m_branch->nedgea[i] = codes;
    }

    // Decoded neighbour edge code. GetNeighEdge: the neighbour's edge 0..2
    // (a divided code gets 7 added, a value of 3 or more loses 3); -1 for no
    // neighbour or i outside 0..2. GetNeighDnfg: the neighbour's direction
    // relative to this facet: 0 for code -1 (and i outside 0..2), else -1
    // when the (undivided) code is below 3 and +1 otherwise.
    // GetNeighDivided: 1 when the code is below -1. GetNeighConnected: 1
    // when the code lies in 0..5.
    int GetNeighEdge(int i) const;
    int GetNeighDnfg(int i) const;
    int GetNeighDivided(int i) const;
    int GetNeighConnected(int i) const;

    // The direction of `other` relative to this facet, both meeting at the
    // node of id `nodeId`, found by walking the fan of facets around the
    // node through the links of `facets` (read):
    //   1   `other` is this facet, or it is reached with the same sense;
    //   -1  it is reached with the opposite sense (an odd number of crossed
    //       edges with codes 0..2, divided codes counted undivided);
    //   0   the node is not a vertex of this facet, the walk comes back to
    //       this facet or ends at a free or branch edge (neighn 0, or
    //       neigh/nedge -1) in both turning senses without meeting `other`,
    //       or a link disagrees with the facet it leads to.
    // The walk leaves this facet first by edge v+2 (the edge ending at the
    // node's vertex v), then by edge v, and crosses at most
    // facets->entries() edges in each sense. A link that disagrees (a
    // neighbour index outside the store, or a neighbour whose shared edge
    // does not hold the node) stops the walk with the error "Facet %d edge
    // %d: the neighbour link to facet %d does not match around node %d."
    // in the message log of the store's model (when it has one). A null
    // store gives 0 (unless `other` is this facet), a null `other` 0.
    // Facets are matched by pointer or by index (id), so copies of stored
    // facets may be passed.
    int GetNeighFacRelDnfg(CKpFacetStore* facets, int nodeId, CKpFacet* other) const;

    // ---- Subdomain ----

    // Subdomain number (0 none) and the facet's direction flag within it
    // (+1 or -1; 0 not set).
    int getSbdmn() const { return m_sbdmn; }
    void setSbdmn(int sbdmn) { m_sbdmn = sbdmn; }
    int getSbdmndnfg() const { return m_sbdmndnfg; }
    void setSbdmndnfg(int dnfg) { m_sbdmndnfg = dnfg; }

    // ---- Drape result ----

    // Direction flag of the drape result on the facet: +1, -1; 0 none.
    int getFacetDirection() const { return m_FacetDirection; }
    void setFacetDirection(int dnfg) { m_FacetDirection = dnfg; }
    // Warp and weft angles in the facet's local axes, radians; -1000.0 when
    // not set.
    double getwpang() const { return m_wpang; }
    void setwpang(double angle) { m_wpang = angle; }
    double getwtang() const { return m_wtang; }
    void setwtang(double angle) { m_wtang = angle; }
    // Shear strain carried from the drape.
    double getstrn() const { return m_strn; }
    void setstrn(double strn) { m_strn = strn; }
    // Number of drape points averaged into the facet.
    int getNrpat() const { return m_Nrpat; }
    void setNrpat(int n) { m_Nrpat = n; }
    // Painted flag: non-zero when the facet lies in the ply's area.
    int getPntd() const { return m_Pntd; }
    void setPntd(int pntd) { m_Pntd = pntd; }

    // ---- Boundaries and display ----

    // Id of the boundary store the facet belongs to; 0 none.
    int getBdyStoreId() const { return m_BdyStoreId; }
    void setBdyStoreId(int id) { m_BdyStoreId = id; }
    // Hidden flag; non-zero = hidden.
    int getHidden() const { return m_Hidden; }
    void setHidden(int hidden) { m_Hidden = hidden; }
    // The boundary item on edge k (0..2); null when none or k is outside
    // 0..2. Not owned.
    CKpBdy* GetBdy(int k) const;
    void SetBdy(int k, CKpBdy* bdy);

  private:
    // The partner array pointers of the three edges.
    struct Branch {
        int* neigha[3];
        int* nedgea[3];
    };

    static bool validIndex(int i) { return i >= 0 && i < 3; }
    // Makes the (empty) branch record; true, or throws std::bad_alloc.
    bool makeBranch();
    // Whether the branch record exists or could be made; false when memory
    // runs out (nothing changes).
    bool reserveBranch() noexcept;
    friend int CreateNeigh(CKpMsg* msg, CKpFacetStore* facets, int f, int g, int e, int h,
                           int kf, int kg);

    // What the region walks read of a neighbour (links, painted mark,
    // direction, subdomain) lies together at the front, in the base's tail
    // padding and the cache line after it; no padding between the groups.
    int m_neigh[3];
    int m_nedge[3];
    int m_Pntd;
    int m_FacetDirection;
    int m_sbdmn;
    int m_sbdmndnfg;
    int m_neighn[3];
    int m_Nrpat;
    int m_BdyStoreId;
    int m_Hidden;
    CKpElem* m_element;
    CKpNode* m_nodes[3];
    Branch* m_branch;  // null until a partner array is set

    // Made and deleted only through these, so that branchRecords() counts.
    // A copy of `from` (an empty record for null); null when out of memory.
    static Branch* newBranch(const Branch* from) noexcept;
    // A copy of `from`, or null for null; throws std::bad_alloc.
    static Branch* copyBranch(const Branch* from);
    static void deleteBranch(Branch* branch) noexcept;
    static std::atomic<long> s_branches;
    CKpBdy* m_Bdy[3];
    double m_wpang;
    double m_wtang;
    double m_strn;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPFACET_H
