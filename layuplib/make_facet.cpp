#include "layuplib/make_facet.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/calculate_offset.h"
#include "layuplib/find_nei.h"

#if defined(__SSE2__) && defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace {

bool samePosition(const CKpPoint& a, const CKpPoint& b) {
    return a.getx() == b.getx() && a.gety() == b.gety() && a.getz() == b.getz();
}

// Writes the facet `built` (put together elsewhere; no partner arrays) into
// `slot`, a facet's pool slot that holds no object, and returns the facet
// there. A mesh's facets are hundreds of megabytes: written field by field,
// each cache line of a slot would first be read from memory; written whole
// with stores that bypass the cache, it is not read at all. The staged facet
// is relocated rather than copied: its bytes move, it is not destroyed and
// is built over again. That holds because a facet without partner arrays owns
// nothing and holds no pointer into itself.
CKpFacet* placeFacet(void* slot, const CKpFacet* built) {
    static_assert(sizeof(CKpFacet) % 8 == 0, "a facet is a whole number of words");
#if defined(__SSE2__) && defined(__x86_64__)
    const long long* from = reinterpret_cast<const long long*>(built);
    long long* to = static_cast<long long*>(slot);
    for (size_t k = 0; k < sizeof(CKpFacet) / 8; ++k) _mm_stream_si64(to + k, from[k]);
#else
    std::memcpy(slot, static_cast<const void*>(built), sizeof(CKpFacet));
#endif
    return static_cast<CKpFacet*>(slot);
}

// After the last placeFacet: its stores are ordered before any later ones.
void placedFacets() {
#if defined(__SSE2__) && defined(__x86_64__)
    _mm_sfence();
#endif
}

// Links edge e of facet f and edge h of facet g as one ordinary pair.
void linkInner(CKpFacet* f, int e, CKpFacet* g, int h, int codeF, int codeG) {
    f->setNeigh(e, g->id());
    f->setNedge(e, codeF);
    f->setNeighn(e, 1);
    g->setNeigh(h, f->id());
    g->setNedge(h, codeG);
    g->setNeighn(h, 1);
}

// Whether every node pointer of the element is linked.
bool nodesLinked(const CKpElem* elem) {
    for (int i = 0; i < elem->getnnod(); ++i)
        if (!elem->getckpnodes(i)) return false;
    return true;
}

// The vertex nodes (or what stands for them) of facet j of an element of
// geometry type `gmtp` with perimeter nodes `perim` (nnod) and, for the
// quadratic types, centre node `centre`.
template <class T>
void facetNodes(int gmtp, const T* perim, int nnod, T centre, int j, T out[3]) {
    if (gmtp == 1) {
        // A = (c0, c1, c2), B = (c2, c3, c0).
        const int first = 2 * j;
        for (int v = 0; v < 3; ++v) out[v] = perim[(first + v) % 4];
    } else if (gmtp == 11) {
        for (int v = 0; v < 3; ++v) out[v] = perim[v];
    } else {
        out[0] = perim[j];
        out[1] = perim[(j + 1) % nnod];
        out[2] = centre;
    }
}

// Whether make_facet cuts the element (the others get a message or are not
// shells); no centre node is needed for it when *quadratic stays false.
bool cutsElement(const CKpElem* elem, bool* quadratic) {
    if (elem->geteltp() != 1) return false;
    const int gmtp = elem->getgmtp();
    if (gmtp != 1 && gmtp != 2 && gmtp != 11 && gmtp != 12) return false;
    if (!nodesLinked(elem) || elem->getnfac() < 1) return false;
    if (gmtp == 2 || gmtp == 12) *quadratic = true;
    return true;
}

}  // namespace

namespace {

// Takes back what the previous build left in the node store: the vertex
// moves (where the node still sits where it was put) and the centre nodes
// (where the node of that id is still the internal one). Ids are looked up
// in the store; a recorded address is only compared, never followed.
void undoPreviousBuild(CKpNodeStore* nodes, std::vector<CKpFacetStore::VertexMove>& moves,
                       std::vector<CKpFacetStore::CentreNode>& centres) {
    for (const auto& move : moves) {
        CKpNode* node = nodes->find(move.id);
        if (node != move.node || !samePosition(*node->getCKpPoint(), move.moved)) continue;
        node->getCKpPoint()->AddXYZ(-move.delta.getx(), -move.delta.gety(), -move.delta.getz());
    }
    moves.clear();
    // Highest ids first: they sit at the end of the store's sorted array.
    std::sort(centres.begin(), centres.end(),
              [](const CKpFacetStore::CentreNode& a, const CKpFacetStore::CentreNode& b) {
                  return a.id > b.id;
              });
    for (const auto& centre : centres) {
        CKpNode* node = nodes->find(centre.id);
        if (node == centre.node && node->incomplete()) nodes->eraseObject(node);
    }
    centres.clear();
}

}  // namespace

namespace {

// make_facet's count of one element: its facets into *total when it has
// eltp 1 and, with `filing` given, their edges into the filing (with the
// vertices `perim`, or the filing's own look-up of them when null). False
// when the filing must be given up: a quadratic element's centre node will
// change the node store.
bool countElement(const CKpElem* elem, const FacetEdgeFiling::Vertex* perim,
                  FacetEdgeFiling* filing, long long* total) {
    if (elem->geteltp() != 1) return true;
    *total += elem->getnfac();
    if (!filing) return true;
    bool quadratic = false;
    if (!cutsElement(elem, &quadratic)) return true;
    if (quadratic) return false;
    const int nnod = elem->getnnod();
    FacetEdgeFiling::Vertex own[8];
    if (!perim) {
        filing->vertices(elem, own);
        perim = own;
    }
    FacetEdgeFiling::Vertex v[3 * 8];
    const int nfac = elem->getnfac();
    for (int j = 0; j < nfac; ++j)
        facetNodes(elem->getgmtp(), perim, nnod, FacetEdgeFiling::Vertex{0, -1}, j, v + 3 * j);
    filing->count(v, nfac);
    return true;
}

}  // namespace

FacetPlan::FacetPlan(CKpNodeStore& nodes)
    : m_filing(new FacetEdgeFiling(nodes)), m_nodes(nodes.entries()) {}

FacetPlan::~FacetPlan() = default;

bool FacetPlan::add(CKpElem* elem) {
    const int nnod = elem->getnnod();
    FacetEdgeFiling::Vertex perim[8];
    bool linked = m_linked && nnod <= 8;
    for (int i = 0; linked && i < nnod; ++i) {
        CKpNode* node = m_filing->find(elem->getunid(i), &perim[i]);
        elem->setckpnodes(i, node);
        if (!node) linked = false;
    }
    if (!linked) {
        m_linked = false;
        m_filing.reset();
        return false;
    }
    // After a quadratic element the filing only looks nodes up.
    if (!countElement(elem, perim, m_filed ? m_filing.get() : nullptr, &m_total)) m_filed = false;
    ++m_added;
    return true;
}

bool FacetPlan::usable(const CKpElemStore& elems) const {
    return m_linked && m_added == elems.entries();
}

namespace {

// Pass 2 of make_facet: the facet count and, in `filing` (may be reset),
// the count of their edges.
long long countFacets(CKpElemStore* elems, std::unique_ptr<FacetEdgeFiling>& filing) {
    long long total = 0;
    CVekObjectStoreIterator<CKpElem> it(*elems);
    while (++it)
        if (!countElement(it.key(), nullptr, filing.get(), &total)) filing.reset();
    return total;
}

}  // namespace

int make_facet(CKpMsg* msg, CKpNodeStore* nodes, CKpElemStore* elems, CKpFacetStore* facets) {
    return make_facet(msg, nodes, elems, facets, nullptr);
}

int make_facet(CKpMsg* msg, CKpNodeStore* nodes, CKpElemStore* elems, CKpFacetStore* facets,
               FacetPlan* plan) {
    if (!nodes || !elems || !facets) return 0;

    // 1. Clear the previous surface and what it added to the nodes.
    undoPreviousBuild(nodes, facets->m_vertexMoves, facets->m_centreNodes);
    facets->reinit();
    // 0 when no id is left above the highest: a centre node then cannot be made.
    int nextId = nodes->maxId() < INT_MAX ? nodes->maxId() + 1 : 0;

    // 2. Facet count and array. Unless a quadratic element adds centre
    //    nodes (which changes the node store), the facets' edges are
    //    counted here and filed for the neighbour search as the facets are
    //    made: it then need not read every facet twice more.
    std::unique_ptr<FacetEdgeFiling> filing;
    long long total = 0;
    if (plan && plan->usable(*elems) && plan->m_nodes == nodes->entries()) {
        // Counted while the mesh was built.
        if (plan->m_filed) filing.swap(plan->m_filing);
        plan->m_filing.reset();
        total = plan->m_total;
        plan->m_linked = false;  // used up
    } else {
        try {
            filing.reset(new FacetEdgeFiling(*nodes));
        } catch (const std::exception&) {
            // The search collects the edges itself (and reports what fails).
        }
        total = countFacets(elems, filing);
    }
    CVekObjectStoreIterator<CKpElem> it(*elems);
    if (total < 1) {
        if (msg) msg->Create(1, "Model contains no facets.");
        return 0;
    }
    CKpFacet** array = total <= INT_MAX ? alloc_pfacet(static_cast<int>(total)) : nullptr;
    if (!array) {
        if (msg) msg->Create(4, "Could not allocate memory.");
        return 0;
    }

    // 3. Cut the elements in ascending id order.
    CKpBlockPool::Hold hold(CKpFacet::pool());
    alignas(CKpFacet) unsigned char staged[8][sizeof(CKpFacet)];
    int built = 0;
    bool failed = false;
    it.reset(*elems);
    while (!failed && ++it) {
        CKpElem* elem = it.key();
        if (elem->geteltp() != 1) continue;
        const int gmtp = elem->getgmtp();
        if (gmtp != 1 && gmtp != 2 && gmtp != 11 && gmtp != 12) {
            if (msg) msg->Create(4, "Unsupported facet number.");
            continue;
        }
        if (!nodesLinked(elem) || elem->getnfac() < 1) {
            if (msg)
                msg->Create(4, "Element %d has a node that is not linked, no facets made.",
                            elem->id());
            continue;
        }

        // Perimeter nodes; quadratic elements fan around a new centre node.
        const int nnod = elem->getnnod();
        CKpNode* perim[8];
        for (int i = 0; i < nnod; ++i) perim[i] = elem->getckpnodes(i);
        FacetEdgeFiling::Vertex filed[8];
        if (filing) filing->vertices(elem, filed);
        CKpNode* centre = nullptr;
        if (gmtp == 2 || gmtp == 12) {
            const double wMid = gmtp == 2 ? 0.5 : 2.0 / 3.0;
            const double wCorner = gmtp == 2 ? -0.25 : -1.0 / 3.0;
            double c[3] = {0.0, 0.0, 0.0};
            for (int i = 0; i < nnod; ++i) {
                const double w = (i % 2 == 1) ? wMid : wCorner;
                for (int k = 0; k < 3; ++k) c[k] += w * perim[i]->getCKpPoint()->Get(k);
            }
            CKpPoint point;
            point.Set(c);
            centre = nodes->CreateNode(&point, &nextId);
            if (!centre) {
                failed = true;
                break;
            }
            centre->setIncompleteFlag(1);
            try {
                facets->m_centreNodes.push_back({centre->id(), centre});
            } catch (const std::exception&) {
                nodes->eraseObject(centre);
                failed = true;
                break;
            }
        }

        // The element's facets are put together in `staged`, inner links
        // included, and then written to their pool slots whole (placeFacet).
        const int nfac = elem->getnfac();
        void* slots[8] = {};
        for (int j = 0; j < nfac && !failed; ++j) {
            slots[j] = CKpFacet::operator new(sizeof(CKpFacet), std::nothrow);
            if (slots[j]) continue;
            for (int i = 0; i < j; ++i) CKpFacet::operator delete(slots[i], sizeof(CKpFacet));
            failed = true;
        }
        if (failed) break;
        CKpFacet* made[8] = {};
        for (int j = 0; j < nfac; ++j) {
            CKpFacet* facet = ::new (static_cast<void*>(staged[j])) CKpFacet(built + j);
            facet->setElement(elem);
            CKpNode* v[3];
            facetNodes(gmtp, perim, nnod, centre, j, v);
            for (int k = 0; k < 3; ++k) facet->setCKpNode(k, v[k]);
            elem->setfacs(j, built + j);
            made[j] = facet;
        }

        // Inner links of the split element.
        if (gmtp == 1) {
            linkInner(made[0], 2, made[1], 2, 5, 5);
        } else if (gmtp == 2 || gmtp == 12) {
            for (int j = 0; j < nfac; ++j) linkInner(made[j], 1, made[(j + 1) % nfac], 2, 5, 4);
        }
        for (int j = 0; j < nfac; ++j) array[built + j] = placeFacet(slots[j], made[j]);
        built += nfac;

        if (filing) {
            FacetEdgeFiling::Vertex fv[3 * 8];
            for (int j = 0; j < nfac; ++j)
                facetNodes(gmtp, filed, nnod, FacetEdgeFiling::Vertex{0, -1}, j, fv + 3 * j);
            if (!filing->file(built - nfac, fv, nfac)) filing.reset();
        }
    }
    placedFacets();

    facets->setFacets(array, built);  // frees the array when nothing was built
    if (failed) {
        if (msg) msg->Create(4, "Could not allocate memory.");
        facets->reinit();
        undoPreviousBuild(nodes, facets->m_vertexMoves, facets->m_centreNodes);
        return 0;
    }
    if (built < 1) {
        if (msg) msg->Create(1, "Model contains no facets.");
        undoPreviousBuild(nodes, facets->m_vertexMoves, facets->m_centreNodes);
        return 0;
    }

    // 4. Neighbours, node offsets, vertex moves.
    //    The offsets share the node pass of the neighbour search, which
    //    also tells whether any vertex node has an offset factor: without
    //    one (and with no earlier move, taken back in step 1) no vertex
    //    moves.
    bool vertexFactor = true;
    find_neigh_offsets(msg, nodes, elems, facets, &vertexFactor, filing.get());
    filing.reset();
    if (vertexFactor || !facets->m_vertexMoves.empty()) calc_facet_vertices(facets);
    return 1;
}

int calc_facet_vertices(CKpFacetStore* facets) {
    if (!facets) return 1;
    const int n = facets->entries();

    // Nothing to do (and nothing to look up) unless a node carries an offset
    // factor or an earlier call moved nodes.
    bool any = !facets->m_vertexMoves.empty();
    for (int i = 0; i < n && !any; ++i) {
        const CKpFacet* f = facets->pFac(i);
        for (int v = 0; f && v < 3 && !any; ++v) {
            const CKpNode* node = f->getCKpNode(v);
            if (node && node->getfac_off() != 0.0) any = true;
        }
    }
    if (!any) return 1;

    try {
        // 1. Each vertex node once.
        std::vector<CKpNode*> vertexNodes;
        vertexNodes.reserve(static_cast<size_t>(n) * 3);
        for (int i = 0; i < n; ++i) {
            const CKpFacet* f = facets->pFac(i);
            for (int v = 0; f && v < 3; ++v)
                if (CKpNode* node = f->getCKpNode(v)) vertexNodes.push_back(node);
        }
        std::sort(vertexNodes.begin(), vertexNodes.end());
        vertexNodes.erase(std::unique(vertexNodes.begin(), vertexNodes.end()), vertexNodes.end());

        // 2. Back to the unmoved position, then one move per node.
        std::vector<CKpFacetStore::VertexMove>& old = facets->m_vertexMoves;
        std::sort(old.begin(), old.end(),
                  [](const CKpFacetStore::VertexMove& a, const CKpFacetStore::VertexMove& b) {
                      return a.node < b.node;
                  });
        std::vector<CKpFacetStore::VertexMove> moves;
        moves.reserve(vertexNodes.size());  // no throw once nodes start moving
        for (CKpNode* node : vertexNodes) {
            CKpPoint* pos = node->getCKpPoint();
            auto prev = std::lower_bound(
                old.begin(), old.end(), node,
                [](const CKpFacetStore::VertexMove& m, const CKpNode* p) { return m.node < p; });
            if (prev != old.end() && prev->node == node && prev->id == node->id() &&
                samePosition(*pos, prev->moved))
                pos->AddXYZ(-prev->delta.getx(), -prev->delta.gety(), -prev->delta.getz());
            CKpDirn delta = *node->getCKpDirn();
            delta.Scale(node->getfac_off());
            if (delta.IsNull()) continue;
            pos->Add(delta);
            moves.push_back({node->id(), node, *pos, delta});
        }
        old.swap(moves);
    } catch (const std::exception&) {
        // Out of memory before anything moved: the vertices stay as they are.
    }
    return 1;
}
