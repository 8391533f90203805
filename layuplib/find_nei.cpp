#include "layuplib/find_nei.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <memory>
#include <new>
#include <vector>

#include "host/CKpGra.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacRefStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLargeAllocator.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpSbdmnStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/calculate_offset.h"

namespace {

// One facet meeting at a node: the facet, the node's vertex in it and the
// ids of the nodes at the next vertex and at the one after (CKpFacRef).
struct NodeRef {
    int facet;
    int vertex;
    int other[2];
};

// One end of a candidate edge at a node: the id of the far node, the
// reference (position in the node's list) and its slot (1 or 2).
struct SlotRef {
    int far;
    int ref;
    int slot;
};

int partOf(const CKpFacet* f) {
    return f->getElement() ? f->getElement()->getpart() : 0;
}

// Pairs the candidate edge ends `scratch` at one node, sorted by far node,
// then reference, then slot: within each far-node group every two ends of
// different references whose facets share a part are linked, unless one edge
// is the inner edge of a split element or the link exists. `at(ref, facet,
// vertex)` gives a reference's facet index and the node's vertex in it. Each
// facet that gets a second partner on an edge is added to `branched` (may be
// null). 0; -1 when a link cannot be allocated.
template <class At>
int pairGroups(CKpMsg* msg, CKpFacetStore* facets, const std::vector<SlotRef>& scratch, At at,
               std::vector<int>* branched) {
    const size_t total = scratch.size();
    for (size_t g0 = 0; g0 < total;) {
        size_t g1 = g0 + 1;
        while (g1 < total && scratch[g1].far == scratch[g0].far) ++g1;
        // Runs of one reference inside the group: [a0, a1) and [b0, b1).
        for (size_t a0 = g0; a0 < g1;) {
            size_t a1 = a0 + 1;
            while (a1 < g1 && scratch[a1].ref == scratch[a0].ref) ++a1;
            int fA = 0, vA = 0;
            at(scratch[a0].ref, fA, vA);
            CKpFacet* fa = facets->pFac(fA);
            for (size_t b0 = a1; b0 < g1;) {
                size_t b1 = b0 + 1;
                while (b1 < g1 && scratch[b1].ref == scratch[b0].ref) ++b1;
                int fB = 0, vB = 0;
                at(scratch[b0].ref, fB, vB);
                CKpFacet* fb = facets->pFac(fB);
                if (fa && fb &&
                    (fa->getElement() == fb->getElement() || partOf(fa) == partOf(fb))) {
                    for (size_t sa = a0; sa < a1; ++sa) {
                        const int ea = scratch[sa].slot == 1 ? vA : (vA + 2) % 3;
                        for (size_t sb = b0; sb < b1; ++sb) {
                            const int eb = scratch[sb].slot == 1 ? vB : (vB + 2) % 3;
                            // Edges without partners can be neither the inner
                            // edge of a split element nor linked already.
                            if (fa->getNeighn(ea) != 0 || fb->getNeighn(eb) != 0) {
                                if (neigh_same_elem(facets, fA, ea) ||
                                    neigh_same_elem(facets, fB, eb) ||
                                    neigh_exists(facets, fA, ea, fB) ||
                                    neigh_exists(facets, fB, eb, fA))
                                    continue;
                            } else if (fA != fB || ea != eb) {
                                // Both edges get their first partner: the
                                // link CreateNeigh makes, without its
                                // lookups (no array, no branch).
                                const bool opposite = scratch[sa].slot != scratch[sb].slot;
                                fa->setNeigh(ea, fB);
                                fa->setNedge(ea, opposite ? eb + 3 : eb);
                                fa->setNeighn(ea, 1);
                                fb->setNeigh(eb, fA);
                                fb->setNedge(eb, opposite ? ea + 3 : ea);
                                fb->setNeighn(eb, 1);
                                continue;
                            }
                            if (CreateNeigh(msg, facets, fA, fB, ea, eb, scratch[sa].slot,
                                            scratch[sb].slot) != 0)
                                return -1;
                            if (branched) {
                                if (fa->getNeighn(ea) > 1) branched->push_back(fA);
                                if (fb->getNeighn(eb) > 1) branched->push_back(fB);
                            }
                        }
                    }
                }
                b0 = b1;
            }
            a0 = a1;
        }
        g0 = g1;
    }
    return 0;
}

// Pairs the edges that leave the node of id `nodeId` towards nodes of higher
// id, over the node's references `refs` (n, in list order). `scratch` is
// reused between nodes. 0; -1 when a link cannot be allocated.
int pairAtNode(CKpMsg* msg, CKpFacetStore* facets, int nodeId, const NodeRef* refs, int n,
               std::vector<SlotRef>& scratch) {
    scratch.clear();
    for (int r = 0; r < n; ++r)
        for (int s = 0; s < 2; ++s)
            if (refs[r].other[s] > nodeId) scratch.push_back({refs[r].other[s], r, s + 1});
    if (scratch.size() < 2) return 0;
    // Grouped by far node; within a group in list order, then slot order, so
    // that the pairs come in the order of the reference-list walk.
    std::sort(scratch.begin(), scratch.end(), [](const SlotRef& a, const SlotRef& b) {
        if (a.far != b.far) return a.far < b.far;
        if (a.ref != b.ref) return a.ref < b.ref;
        return a.slot < b.slot;
    });
    return pairGroups(msg, facets, scratch,
                      [refs](int ref, int& facet, int& vertex) {
                          facet = refs[ref].facet;
                          vertex = refs[ref].vertex;
                      },
                      nullptr);
}

// Puts the partners of every branch edge of the facets `candidates` (facet
// indices, any order, repeats allowed; every facet with a branch edge must
// be among them) in ascending order of their angle about the edge.
void orderBranches(CKpFacetStore* facets, std::vector<int>& candidates) {
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    std::vector<double> angles;
    for (int i : candidates) {
        CKpFacet* f = facets->pFac(i);
        if (!f) continue;
        for (int e = 0; e < 3; ++e) {
            const int n = f->getNeighn(e);
            int* partner = f->getNeigha(e);
            int* code = f->getNedgea(e);
            if (n <= 1 || !partner || !code) continue;
            CKpDirn normal, t, b;
            f->GetNormal(&normal);
            t.set2pts(f->getCKpPoint(e), f->getCKpPoint(CKpFacet::GetNextVertex(e)));
            t.unitize();
            b.setCrossProduct(&t, &normal);
            angles.assign(static_cast<size_t>(n), 0.0);
            for (int k = 0; k < n; ++k) {
                const CKpFacet* g = facets->pFac(partner[k]);
                int h = code[k];
                if (h < -1) h += 7;
                if (h >= 3) h -= 3;
                if (!g || h < 0 || h > 2) continue;
                CKpDirn w;
                w.set2pts(g->getCKpPoint(h), g->getCKpPoint((h + 2) % 3));
                angles[k] = std::atan2(w.DotProduct(&normal), w.DotProduct(&b));
            }
            for (int p = 0; p < n; ++p)
                for (int q = p + 1; q < n; ++q)
                    if (angles[q] < angles[p]) {
                        std::swap(angles[p], angles[q]);
                        std::swap(partner[p], partner[q]);
                        std::swap(code[p], code[q]);
                    }
        }
    }
}

// Node ids in ascending order with their nodes (the node store's own
// arrays, not copied), and the lookup of a node's position in that order.
// The store must not change while the index is in use.
class NodeIndex {
  public:
    explicit NodeIndex(CKpNodeStore& nodes) {
        nodes.SortedArrays(&m_nodes, &m_ids);
        m_count = m_nodes ? nodes.entries() : 0;
        if (m_count == 0) return;
        m_minId = m_ids[0];
        const long long range = static_cast<long long>(m_ids[m_count - 1]) - m_minId + 1;
        // Consecutive ids (each one once): the position is the id's offset.
        if (range == m_count) {
            m_consecutive = true;
            for (int r = 1; r < m_count && m_consecutive; ++r)
                m_consecutive = m_ids[r] == m_ids[r - 1] + 1;
            if (m_consecutive) return;
        }
        // A direct table when the ids are dense enough, else bisection.
        if (range <= 4 * static_cast<long long>(m_count) + 1024) {
            m_table.assign(static_cast<size_t>(range), -1);
            for (int r = m_count; r-- > 0;)
                m_table[static_cast<size_t>(m_ids[r] - static_cast<long long>(m_minId))] = r;
        }
    }

    int size() const { return m_count; }
    CKpNode* node(int rank) const { return static_cast<CKpNode*>(m_nodes[rank]); }
    int id(int rank) const { return m_ids[rank]; }

    // Position of `node` in id order; -1 when it is not a node of the store.
    int rank(const CKpNode* node) const {
        return node ? rankOf(node, node->id()) : -1;
    }

    // The node of id `id` and its position in id order; null and -1 when
    // the store has no such node.
    CKpNode* nodeOfId(int id, int* rank) const {
        const int r = rankOfId(id);
        *rank = r;
        return r >= 0 ? node(r) : nullptr;
    }

    // The position in id order of the node of id `id` when `node` is that
    // node; -1 otherwise. As rank(node) without reading the node, for a
    // caller that holds the node's id already (the store keeps each node's
    // id beside it).
    int rankOf(const CKpNode* node, int id) const {
        const int r = rankOfId(id);
        return r >= 0 && m_nodes[r] == node ? r : -1;
    }

  private:
    // A position whose id is `id`, or -1.
    int rankOfId(int nodeId) const {
        if (m_count == 0) return -1;
        const long long id = nodeId;
        int r = -1;
        if (m_consecutive) {
            const long long k = id - m_minId;
            if (k >= 0 && k < m_count) r = static_cast<int>(k);
        } else if (!m_table.empty()) {
            const long long k = id - m_minId;
            if (k >= 0 && k < static_cast<long long>(m_table.size()))
                r = m_table[static_cast<size_t>(k)];
        } else {
            const int* it = std::lower_bound(m_ids, m_ids + m_count, nodeId);
            if (it != m_ids + m_count && *it == nodeId) r = static_cast<int>(it - m_ids);
        }
        return r;
    }

    CVekObject* const* m_nodes = nullptr;
    const int* m_ids = nullptr;
    int m_count = 0;
    int m_minId = 0;
    bool m_consecutive = false;
    std::vector<int> m_table;
};

// Whether all three vertex nodes of the facet are set.
bool complete(const CKpFacet* f) {
    return f && f->getCKpNode(0) && f->getCKpNode(1) && f->getCKpNode(2);
}

// Each facet edge whose two end nodes differ, filed under its end node of
// lower id (where the edge is paired): per node (position in id order) the
// range offsets[r]..offsets[r + 1] of `halves`, each half (facet × 3 +
// vertex) × 2 + slot - 1, with the vertex the one at the lower end and the
// slot 1 when the edge runs to the next vertex, 2 when it comes from the
// vertex after that; beside each half the id of the node at its far end
// (so that the pairing need not look it up through the facet).
struct NodeEdges {
    std::vector<int, CKpLargeAllocator<int>> offsets;
    std::vector<uint32_t, CKpLargeAllocator<uint32_t>> halves;
    std::vector<int, CKpLargeAllocator<int>> far;
};

// The lower end of edge e of a facet with vertex ids `id`: the vertex and
// slot, or -1 when the two ends have the same id.
int lowerEnd(const int* id, int e, int* slot) {
    const int e1 = e < 2 ? e + 1 : 0;
    if (id[e] < id[e1]) {
        *slot = 1;
        return e;
    }
    if (id[e1] < id[e]) {
        *slot = 2;
        return e1;
    }
    return -1;
}

// The vertex node ids of a complete facet and their positions in id order
// (-1 for a node not in the store).
void vertexRanks(const NodeIndex& index, const CKpFacet* f, int id[3], int rank[3]) {
    for (int v = 0; v < 3; ++v) {
        const CKpNode* node = f->getCKpNode(v);
        rank[v] = index.rank(node);
        id[v] = node->id();
    }
}

// Builds `out` for the nodes of `index`, gives every facet subdomain 0 and
// direction flag 0, and adds to `branched` each facet that already has a
// branch edge; false when the surface is too large to be addressed. The
// node positions are looked up again in the second pass rather than kept:
// an array of them would be the largest scratch of the search.
bool collectNodeEdges(const NodeIndex& index, CKpFacetStore& facets, NodeEdges& out,
                      std::vector<int>& branched) {
    const int n = facets.entries();
    if (6ULL * static_cast<unsigned long long>(n) > UINT32_MAX) return false;
    out.offsets.assign(static_cast<size_t>(index.size()) + 2, 0);
    for (int i = 0; i < n; ++i) {
        CKpFacet* f = facets.pFac(i);
        if (!f) continue;
        // The subdomains are numbered afresh later; this pass touches every
        // facet anyway. A fresh facet holds zeros already: left clean, its
        // cache line need not be written back.
        if (f->getSbdmn() != 0) f->setSbdmn(0);
        if (f->getSbdmndnfg() != 0) f->setSbdmndnfg(0);
        if (f->getNeighn(0) > 1 || f->getNeighn(1) > 1 || f->getNeighn(2) > 1) branched.push_back(i);
        if (!complete(f)) continue;
        int id[3], rank[3];
        vertexRanks(index, f, id, rank);
        for (int e = 0; e < 3; ++e) {
            int slot = 0;
            const int v = lowerEnd(id, e, &slot);
            if (v >= 0 && rank[v] >= 0) ++out.offsets[static_cast<size_t>(rank[v]) + 2];
        }
    }
    // Counts at r + 2 become starts at r + 1; the fill below moves them to r.
    for (size_t r = 2; r < out.offsets.size(); ++r) out.offsets[r] += out.offsets[r - 1];
    out.halves.resize(static_cast<size_t>(out.offsets.back()));
    out.far.resize(out.halves.size());
    for (int i = 0; i < n; ++i) {
        const CKpFacet* f = facets.pFac(i);
        if (!complete(f)) continue;
        const size_t base = static_cast<size_t>(i) * 3;
        int id[3], rank[3];
        vertexRanks(index, f, id, rank);
        for (int e = 0; e < 3; ++e) {
            int slot = 0;
            const int v = lowerEnd(id, e, &slot);
            if (v < 0 || rank[v] < 0) continue;
            const size_t at = static_cast<size_t>(out.offsets[static_cast<size_t>(rank[v]) + 1]++);
            out.halves[at] = static_cast<uint32_t>((base + v) * 2 + (slot - 1));
            out.far[at] = id[(v + slot) % 3];
        }
    }
    out.offsets.pop_back();
    return true;
}

}  // namespace

struct FacetEdgeFiling::Impl {
    explicit Impl(CKpNodeStore& nodes) : index(nodes) {
        edges.offsets.assign(static_cast<size_t>(index.size()) + 2, 0);
    }
    NodeIndex index;
    NodeEdges edges;
    unsigned long long counted = 0;
    unsigned long long filed = 0;
    bool filing = false;  // counts turned into starts
    bool failed = false;
};

FacetEdgeFiling::FacetEdgeFiling(CKpNodeStore& nodes) : m_impl(new Impl(nodes)) {}

FacetEdgeFiling::~FacetEdgeFiling() = default;

FacetEdgeFiling::Vertex FacetEdgeFiling::vertex(const CKpNode* node) const {
    return {node->id(), m_impl->index.rank(node)};
}

void FacetEdgeFiling::vertices(const CKpElem* elem, Vertex* out) const {
    const NodeIndex& index = m_impl->index;
    const int n = elem->getnnod();
    for (int i = 0; i < n; ++i) {
        const CKpNode* node = elem->getckpnodes(i);
        // The element's node id names the linked node unless the link was
        // changed since (a merge): then the node itself is asked.
        const int id = elem->getunid(i);
        const int r = index.rankOf(node, id);
        out[i] = r >= 0 ? Vertex{id, r} : vertex(node);
    }
}

CKpNode* FacetEdgeFiling::find(int id, Vertex* out) const {
    int r = -1;
    CKpNode* node = m_impl->index.nodeOfId(id, &r);
    *out = Vertex{id, r};
    return node;
}

namespace {

// count and file of one facet, shared by the calls for one facet and for
// the facets of an element (no call per facet).
inline void countFacet(FacetEdgeFiling::Impl& m, const FacetEdgeFiling::Vertex v[3]) {
    if (m.filing) {
        m.failed = true;
        return;
    }
    const int id[3] = {v[0].id, v[1].id, v[2].id};
    const int rank[3] = {v[0].rank, v[1].rank, v[2].rank};
    for (int e = 0; e < 3; ++e) {
        int slot = 0;
        const int k = lowerEnd(id, e, &slot);
        if (k >= 0 && rank[k] >= 0) {
            ++m.edges.offsets[static_cast<size_t>(rank[k]) + 2];
            ++m.counted;
        }
    }
}

inline bool fileFacet(FacetEdgeFiling::Impl& m, int facet, const FacetEdgeFiling::Vertex v[3]) {
    if (m.failed) return false;
    if (!m.filing) {
        // More edges than an int offset counts, or no memory for the filing:
        // the neighbour search collects the edges itself (and reports what
        // fails), so nothing is thrown out of the facet build.
        if (m.counted > INT_MAX) {
            m.failed = true;
            return false;
        }
        // Counts at r + 2 become starts at r + 1 (as collectNodeEdges).
        auto& off = m.edges.offsets;
        for (size_t r = 2; r < off.size(); ++r) off[r] += off[r - 1];
        try {
            m.edges.halves.resize(static_cast<size_t>(off.back()));
            m.edges.far.resize(m.edges.halves.size());
        } catch (const std::exception&) {
            m.failed = true;
            return false;
        }
        m.filing = true;
    }
    if (facet < 0 || 2ULL * (3ULL * static_cast<unsigned long long>(facet) + 3) > UINT32_MAX) {
        m.failed = true;
        return false;
    }
    const int id[3] = {v[0].id, v[1].id, v[2].id};
    const int rank[3] = {v[0].rank, v[1].rank, v[2].rank};
    const size_t base = static_cast<size_t>(facet) * 3;
    for (int e = 0; e < 3; ++e) {
        int slot = 0;
        const int k = lowerEnd(id, e, &slot);
        if (k < 0 || rank[k] < 0) continue;
        int& at = m.edges.offsets[static_cast<size_t>(rank[k]) + 1];
        if (++m.filed > m.counted || static_cast<size_t>(at) >= m.edges.halves.size()) {
            m.failed = true;
            return false;
        }
        m.edges.halves[static_cast<size_t>(at)] = static_cast<uint32_t>((base + k) * 2 + (slot - 1));
        m.edges.far[static_cast<size_t>(at)] = id[(k + slot) % 3];
        ++at;
    }
    return true;
}

}  // namespace

void FacetEdgeFiling::count(const Vertex v[3]) {
    countFacet(*m_impl, v);
}

void FacetEdgeFiling::count(const Vertex* v, int n) {
    for (int k = 0; k < n; ++k) countFacet(*m_impl, v + 3 * k);
}

bool FacetEdgeFiling::file(int facet, const Vertex v[3]) {
    return fileFacet(*m_impl, facet, v);
}

bool FacetEdgeFiling::file(int first, const Vertex* v, int n) {
    for (int k = 0; k < n; ++k)
        if (!fileFacet(*m_impl, first + k, v + 3 * k)) return false;
    return true;
}

bool FacetEdgeFiling::complete() const {
    const Impl& m = *m_impl;
    return !m.failed && m.filed == m.counted && (m.filing || m.counted == 0);
}

namespace {

// Pairs the edges filed at one node (`halves` and `far`, n of them; see
// NodeEdges)
// as pairAtNode does over the node's reference list: grouped by far node,
// then in reference and slot order. Edges without partners yet skip the
// partner checks. Each facet that gets a second partner on an edge is added
// to `branched`. 0; -1 when a link cannot be allocated.
int pairNodeEdges(CKpMsg* msg, CKpFacetStore* facets, const uint32_t* halves, const int* far,
                  int n, std::vector<SlotRef>& scratch, std::vector<int>& branched) {
    if (n < 2) return 0;
    scratch.clear();
    for (int k = 0; k < n; ++k) {
        const uint32_t h = halves[k];
        const int slot = static_cast<int>(h & 1) + 1;
        const uint32_t item = h >> 1;
        scratch.push_back({far[k], static_cast<int>(item), slot});
    }
    // A handful of edges per node: insertion sort by (far, reference, slot).
    for (size_t i = 1; i < scratch.size(); ++i) {
        const SlotRef x = scratch[i];
        size_t j = i;
        for (; j > 0; --j) {
            const SlotRef& y = scratch[j - 1];
            if (y.far < x.far || (y.far == x.far && (y.ref < x.ref || (y.ref == x.ref && y.slot < x.slot))))
                break;
            scratch[j] = y;
        }
        scratch[j] = x;
    }
    return pairGroups(msg, facets, scratch,
                      [](int ref, int& facet, int& vertex) {
                          facet = ref / 3;
                          vertex = ref % 3;
                      },
                      &branched);
}

// The unit normal (CKpFacet::GetNormal) and the three vertex angles
// (CKpFacet::GetVertexAngle) of a complete facet, from its three edge
// differences formed once. The difference of two points is the exact
// negation of the reverse difference and negation commutes with every
// product and sum, so each value comes out bit for bit as those functions
// give it.
void normalAndAngles(const CKpFacet* f, CKpDirn& normal, double angle[3]) {
    const CKpPoint* p[3] = {f->getCKpPoint(0), f->getCKpPoint(1), f->getCKpPoint(2)};
    CKpDirn d[3];  // d[k] = p[k+1] - p[k]
    double len[3];
    for (int k = 0; k < 3; ++k) {
        d[k].set2pts(p[k], p[k < 2 ? k + 1 : 0]);
        len[k] = d[k].mag();
    }
    // GetNormal: (p1 - p0) × (p2 - p0), unit length.
    CKpDirn ac;
    ac.Set(-d[2].getx(), -d[2].gety(), -d[2].getz());
    normal.setCrossProduct(&d[0], &ac);
    normal.unitize();
    // GetVertexAngle(v): the angle between p[v+1] - p[v] = d[v] and
    // p[v+2] - p[v] = -d[v+2] (CKpDirn::Angle).
    for (int v = 0; v < 3; ++v) {
        const CKpDirn& u = d[v];
        const CKpDirn& back = d[(v + 2) % 3];
        CKpDirn w;
        w.Set(-back.getx(), -back.gety(), -back.getz());
        const double la = len[v];
        const double lb = len[(v + 2) % 3];
        if (la <= 0.0 || lb <= 0.0) {
            angle[v] = 0.0;
            continue;
        }
        double c = u.DotProduct(&w) / (la * lb);
        if (c > 1.0) {
            angle[v] = 0.0;
            continue;
        }
        if (c < -1.0) c = -1.0;
        angle[v] = std::acos(c);
    }
}

// Every node whose facets all lie in one subdomain gets the angle-weighted
// mean of their normals, each turned by its subdomain direction flag. The
// sums run over the facets in index order, so each node adds its facets in
// the order of its reference list while every normal is formed once. With
// `fused` the same pass over the nodes gives every node of the store the
// start values of calculate_offset, and the pass over the facets gives each
// element whose first facet it meets that facet's direction flag (the
// elements of the facets must then be those of the element store). With
// `numbers` (per facet index, see CKpSbdmnStore::Create) the pass first
// writes each facet's deferred subdomain numbering.
void setNodeDirections(const NodeIndex& index, CKpFacetStore& facets, bool fused,
                       const int* numbers) {
    const size_t n = static_cast<size_t>(index.size());
    std::vector<double, CKpLargeAllocator<double>> sum(3 * n, 0.0);
    std::vector<int, CKpLargeAllocator<int>> sbdmn(n, 0);  // 0 no facet yet, -1 two subdomains
    for (int i = 0; i < facets.entries(); ++i) {
        CKpFacet* f = facets.pFac(i);
        if (numbers && f) CKpSbdmnStore::WriteNumber(f, numbers[i]);
        if (fused && f) {
            CKpElem* elem = f->getElement();
            if (elem && elem->getnfac() >= 1 && elem->getfacs(0) == i)
                elem->setetdnfg(f->getSbdmndnfg());
        }
        if (!complete(f)) continue;
        CKpDirn normal;
        double angle[3];
        normalAndAngles(f, normal, angle);
        for (int v = 0; v < 3; ++v) {
            const int r = index.rank(f->getCKpNode(v));
            if (r < 0) continue;
            int& s = sbdmn[static_cast<size_t>(r)];
            if (s == 0) s = f->getSbdmn();
            if (s != f->getSbdmn()) s = -1;
            const double w = f->getSbdmndnfg() * angle[v];
            for (int k = 0; k < 3; ++k) sum[3 * static_cast<size_t>(r) + k] += w * normal.Get(k);
        }
    }
    for (size_t r = 0; r < n; ++r) {
        CKpNode* node = index.node(static_cast<int>(r));
        if (fused) CalcOffsetResetNode(node);
        if (sbdmn[r] <= 0) continue;
        CKpDirn d;
        d.Set(&sum[3 * r]);
        d.unitize();
        node->setCKpDirn(d);
    }
}

// find_neigh; with `fused` (for a surface just built from `elems`) the
// node directions' passes also reset the offsets and set the element
// direction flags (see setNodeDirections), and *reset tells whether they
// ran. With `filed` (complete) the edges filed while the fresh facets were
// made stand for step 1.
int findNeigh(CKpMsg* msg, CKpNodeStore* nodes, CKpElemStore* elems, CKpFacetStore* facets,
              bool fused, bool* reset, FacetEdgeFiling::Impl* filed) {
    if (!nodes || !elems || !facets) return 0;
    try {
        // 1. The facet edges at their end node of lower id.
        std::unique_ptr<NodeIndex> ownIndex;
        if (!filed) ownIndex.reset(new NodeIndex(*nodes));
        const NodeIndex& index = filed ? filed->index : *ownIndex;
        std::vector<int> branched;
        {
            NodeEdges ne;
            if (filed) {
                // Fresh facets: no subdomain or direction flag to clear, no
                // branch edge yet.
                ne.offsets.swap(filed->edges.offsets);
                ne.halves.swap(filed->edges.halves);
                ne.far.swap(filed->edges.far);
                ne.offsets.pop_back();
                filed->failed = true;  // spent: a filing serves one search
            } else if (!collectNodeEdges(index, *facets, ne, branched)) {
                throw std::bad_alloc();
            }

            // 2. Pair them node by node.
            std::vector<SlotRef> scratch;
            for (int r = 0; r < index.size(); ++r) {
                const int k0 = ne.offsets[static_cast<size_t>(r)];
                const int k1 = ne.offsets[static_cast<size_t>(r) + 1];
                if (pairNodeEdges(msg, facets, ne.halves.data() + k0, ne.far.data() + k0, k1 - k0,
                                  scratch, branched) != 0)
                    return 0;
            }
        }

        // 3. Branch partners by angle.
        orderBranches(facets, branched);
        std::vector<int>().swap(branched);

        // 4. Subdomains, numbered afresh (step 1 cleared the old numbers).
        //    Fused, the facets get their numbers in the pass of step 6.
        std::vector<int, CKpLargeAllocator<int>> numbers;
        {
            CKpSbdmnStore sbdmns;
            if ((fused ? sbdmns.Create(msg, facets, &numbers) : sbdmns.Create(msg, facets)) != 0)
                return -1;
        }

        // 5. Element direction flags from their first facet (fused: in the
        //    facet pass of step 6).
        if (!fused) {
            CVekObjectStoreIterator<CKpElem> eit(*elems);
            while (++eit) {
                CKpElem* elem = eit.key();
                if (elem->getnfac() < 1) continue;
                const CKpFacet* first = facets->pFac(elem->getfacs(0));
                if (first && first->getElement() == elem) elem->setetdnfg(first->getSbdmndnfg());
            }
        }

        // 6. Node directions. Should their arrays not be had, the facets
        //    still get their subdomain numbers.
        try {
            setNodeDirections(index, *facets, fused, numbers.empty() ? nullptr : numbers.data());
        } catch (const std::exception&) {
            for (size_t i = 0; i < numbers.size(); ++i)
                if (CKpFacet* f = facets->pFac(static_cast<int>(i)))
                    CKpSbdmnStore::WriteNumber(f, numbers[i]);
            throw;
        }
        if (reset) *reset = fused;
    } catch (const std::exception&) {
        if (msg) msg->Create(4, "Could not allocate memory.");
        return 0;
    }
    return 1;
}

}  // namespace

int CreateNeigh(CKpMsg* msg, CKpFacetStore* facets, int f, int g, int e, int h, int kf, int kg) {
    if (!facets || e < 0 || e > 2 || h < 0 || h > 2 || (f == g && e == h)) return -1;
    CKpFacet* side[2] = {facets->pFac(f), facets->pFac(g)};
    if (!side[0] || !side[1]) return -1;
    const int edge[2] = {e, h};
    const int partner[2] = {g, f};
    const int code[2] = {kf != kg ? h + 3 : h, kf != kg ? e + 3 : e};

    // 1.-2. Grow the partner arrays of each side that reaches two partners;
    //       all allocations come first so that a failure changes no count.
    for (int s = 0; s < 2; ++s) {
        const int n = side[s]->getNeighn(edge[s]) + 1;
        if (n < 2) continue;
        if (!side[s]->reserveBranch()) {
            if (msg) msg->Create(4, "Could not allocate memory.");
            return -1;
        }
        const size_t bytes = static_cast<size_t>(n) * sizeof(int);
        int* facetsArr = static_cast<int*>(std::realloc(side[s]->getNeigha(edge[s]), bytes));
        if (facetsArr) side[s]->setNeigha(edge[s], facetsArr);
        int* codesArr = static_cast<int*>(std::realloc(side[s]->getNedgea(edge[s]), bytes));
        if (codesArr) side[s]->setNedgea(edge[s], codesArr);
        if (!facetsArr || !codesArr) {
            if (msg) msg->Create(4, "Could not allocate memory.");
            return -1;
        }
    }
    // 3.-4. Count, then write the link; a side with several partners keeps
    //       its former single neighbour first and the new one last.
    for (int s = 0; s < 2; ++s) {
        CKpFacet* facet = side[s];
        const int k = edge[s];
        const int n = facet->getNeighn(k) + 1;
        facet->setNeighn(k, n);
        if (n == 2) {
            facet->getNeigha(k)[0] = facet->getNeigh(k);
            facet->getNedgea(k)[0] = facet->getNedge(k);
        }
        if (n >= 2) {
            facet->getNeigha(k)[n - 1] = partner[s];
            facet->getNedgea(k)[n - 1] = code[s];
            facet->setNeigh(k, -1);
            facet->setNedge(k, -1);
        } else {
            facet->setNeigh(k, partner[s]);
            facet->setNedge(k, code[s]);
        }
    }
    return 0;
}

int neigh_same_elem(CKpFacetStore* facets, int f, int e) {
    const CKpFacet* facet = facets ? facets->pFac(f) : nullptr;
    if (!facet || !facet->getElement() || e < 0 || e > 2) return 0;
    const int n = facet->getNeighn(e);
    if (n < 1) return 0;
    auto same = [&](int g) {
        const CKpFacet* other = facets->pFac(g);
        return other && other->getElement() == facet->getElement();
    };
    if (same(facet->getNeigh(e))) return 1;
    const int* partners = facet->getNeigha(e);
    for (int k = 0; partners && k < n; ++k)
        if (same(partners[k])) return 1;
    return 0;
}

int neigh_exists(CKpFacetStore* facets, int f, int e, int g) {
    const CKpFacet* facet = facets ? facets->pFac(f) : nullptr;
    if (!facet || e < 0 || e > 2) return 0;
    if (facet->getNeighn(e) >= 1 && facet->getNeigh(e) == g) return 1;
    const int* partners = facet->getNeigha(e);
    for (int k = 0; partners && k < facet->getNeighn(e); ++k)
        if (partners[k] == g) return 1;
    return 0;
}

int find_neigh_init(CKpNodeStore* /*nodes*/, CKpFacetStore* facets) {
    if (!facets) return -1;
    int status = 0;
    for (int i = 0; i < facets->entries(); ++i) {
        const CKpFacet* f = facets->pFac(i);
        if (!complete(f)) {
            status = -1;
            continue;
        }
        for (int v = 0; v < 3; ++v) {
            CKpFacRefStore* list = f->getCKpNode(v)->FacRefs();
            CKpFacRef* ref = new (std::nothrow)
                CKpFacRef(i, v, f->getCKpNode((v + 1) % 3)->id(), f->getCKpNode((v + 2) % 3)->id());
            if (!list || !ref) {
                delete ref;
                return -1;
            }
            list->InsertLast(ref);
        }
    }
    return status;
}

int find_neigh_neigh(CKpMsg* msg, CKpNodeStore* nodes, CKpElemStore* /*elems*/,
                     CKpFacetStore* facets) {
    if (!nodes || !facets) return -1;
    try {
        std::vector<NodeRef> refs;
        std::vector<SlotRef> scratch;
        CVekObjectStoreIterator<CKpNode> it(*nodes);
        while (++it) {
            CKpNode* node = it.key();
            CKpFacRefStore* list = node->FacRefs();
            if (!list) continue;
            refs.clear();
            for (CKpFacRef* ref = list->First(); ref; ref = list->Next(ref))
                refs.push_back({ref->ft(), ref->nd(0), {ref->nd(1), ref->nd(2)}});
            if (pairAtNode(msg, facets, node->id(), refs.data(), static_cast<int>(refs.size()),
                           scratch) != 0)
                return -1;
        }
    } catch (const std::exception&) {
        if (msg) msg->Create(4, "Could not allocate memory.");
        return -1;
    }
    return 0;
}

int find_neigh(CKpMsg* msg, CKpNodeStore* nodes, CKpElemStore* elems, CKpFacetStore* facets) {
    return findNeigh(msg, nodes, elems, facets, false, nullptr, nullptr);
}

int find_neigh_offsets(CKpMsg* msg, CKpNodeStore* nodes, CKpElemStore* elems,
                       CKpFacetStore* facets, bool* vertexFactor, FacetEdgeFiling* filed) {
    bool reset = false;
    FacetEdgeFiling::Impl* edges = filed && filed->complete() ? filed->impl() : nullptr;
    const int status = findNeigh(msg, nodes, elems, facets, true, &reset, edges);
    bool factor = true;
    if (reset)
        CalcOffsetFacets(msg, facets, 0, nullptr, &factor);
    else
        calculate_offset(msg, nodes, facets, 0, nullptr);
    if (vertexFactor) *vertexFactor = factor;
    return status;
}

int find_selected_neighbour(CKpMsg* msg, CKpGra* gra, CKpFacetStore* facets, CKpElemStore* elems) {
    if (!facets) return -1;
    int count = 0;
    CVekObjectStore<CVekObject> deselect(64);
    facets->NeighClear();
    int status = facets->NeighSet(msg, gra, &count, &deselect);
    if (status == 0 && count > 0) {
        if (msg)
            msg->Create(2, "Automatically deselecting %d elements to remove shell branch:",
                        deselect.entries());
        for (int k = 0; k < deselect.entries(); ++k) {
            const int id = deselect[k]->id();
            CKpElem* elem = elems ? elems->find(id) : nullptr;
            if (!elem) continue;
            elem->setSltd(0);
            if (msg) msg->Create(2, "   %6d", id);
        }
        facets->NeighClear();
        status = facets->NeighSet(msg, gra, &count, &deselect);
    }
    deselect.eraseAllObjects();
    if (status != 0) return -1;
    if (count == 0) {
        facets->NeighDivide();
        return 0;
    }
    if (msg)
        msg->Create(4,
                    "The selected area contains one or more shell branches where element edges "
                    "are shared by three or more elements. Please select an area without "
                    "branches.");
    if (gra) gra->delete_segment(6);
    return -1;
}
