// The model's mesh repairs on free edges of tria3 elements: merging
// coincident nodes (MergeFree) and sewing T-junctions (SewFree).
//
// Both take a tolerance in model length units; a negative one is relative
// (its magnitude times the diagonal of the nodes' bounding box). Both
// return 0 on success and when there is nothing to do (a tolerance of 0
// included), -1 on refusal or failure; both are refused once the model
// holds a material ("Merging only possible if nodes and elements alone
// exist in model." / "Sewing only possible if ..."), and a tolerance that
// is not a finite number is refused with the error "<operation>: the
// tolerance is not a finite number.". The candidate nodes are the end
// nodes of the surface's free edges (CKpFacetStore::GetFreeEdgeNodeIDs).
//
// MergeFree merges candidate nodes closer than the tolerance on each axis
// (CKpNodeStore::Merge), deletes elements that became degenerate and
// rebuilds the faceted surface; -1 also when the surface has no free edge
// of a tria3 element ("No free tria3 edges exist in model.").
//
// SewFree replaces every tria3 element whose free edges pass within the
// tolerance of candidate nodes (strictly between the edge's ends) by
// smaller tria3 elements that use those nodes (CKpBdyNodeStore::
// CreateElems; new ids after the largest element id), then rebuilds the
// faceted surface. A node within reach of two edges of one element (near
// their common corner) is used once, on the nearer edge. An element is
// deleted only when its replacement was made.

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>
#include <vector>

#include "layuplib/CKpBdyNodeStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpLine.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CVekObjectStoreIterator.h"

namespace {

// A store of plain ids that deletes them when it goes.
struct IdStore : CVekObjectStore<CVekObject> {
    IdStore() : CVekObjectStore<CVekObject>(64) {}
    ~IdStore() override { eraseAllObjects(); }
};

// Step 3 of both operations: a negative tolerance made absolute. false when
// the bounding box cannot be formed.
bool ResolveTolerance(CKpMsg* msg, CKpNodeStore* nodes, const char* name, double* tolerance) {
    if (*tolerance >= 0.0) return true;
    double diagonal = 0.0;
    if (nodes->GetBoundsDiagonal(&diagonal) != 0) return false;
    *tolerance = -*tolerance * diagonal;
    msg->Create(1, " Updated    : %s %12g", name, *tolerance);
    return true;
}

// Position of `node` in `sorted` (n nodes ordered by cmpNodePos); -1 when
// it is not there.
int FindSorted(CKpNode* const* sorted, int n, const CKpNode* node) {
    auto before = [](const CKpNode* a, const CKpNode* b) {
        if (a->Pos() != b->Pos()) return a->Pos() < b->Pos();
        return a->id() < b->id();
    };
    CKpNode* const* end = sorted + n;
    CKpNode* const* at = std::lower_bound(sorted, end, node, before);
    return (at != end && *at == node) ? static_cast<int>(at - sorted) : -1;
}

// A node to be sewn into an element edge.
struct SewEntry {
    CKpNode* node;
    int edge;
    double ratio;
    double dist;
};

// Sews one element (see the file comment). `sorted` holds the candidates.
// 1 replaced, 0 left as it was, -1 when its replacement could not be made
// (memory).
int SewElem(CKpMsg* msg, CKpNodeStore* nodes, CKpElemStore* elems, CKpFacetStore* facets,
            CKpNode* const* sorted, int n, double tolerance, CKpElem* elem) {
    const int id = elem->id();
    const CKpFacet* facet = facets->pFac(elem->getfacs(0));
    if (!facet || facet->getElement() != elem) return 0;
    CKpNode* corner[3];
    for (int i = 0; i < 3; ++i) {
        corner[i] = elem->getckpnodes(i);
        if (!corner[i] || facet->getCKpNode(i) != corner[i]) return 0;
    }

    std::vector<SewEntry> entries;
    for (int e = 0; e < 3; ++e) {
        if (facet->getNeighn(e) != 0) continue;  // not a free edge
        CKpNode* a = corner[e];
        CKpNode* b = corner[(e + 1) % 3];
        CKpLine line;
        line.Set2Points(a->getCKpPoint(), b->getCKpPoint());

        int at = FindSorted(sorted, n, a);
        if (at < 0) at = FindSorted(sorted, n, b);
        if (at < 0) {
            msg->Create(2, "Elem: %6d Edge: %1d - Could not find nodes in sorted node list.", id,
                        e);
            continue;
        }
        // A node within the tolerance of the edge has a key x + y + z within
        // sqrt(3) x tolerance of the keys along it.
        const double low = std::min(a->Pos(), b->Pos()) - 3.0 * tolerance;
        const double high = std::max(a->Pos(), b->Pos()) + 3.0 * tolerance;
        int lo = at, hi = at;
        while (lo > 0 && sorted[lo - 1]->Pos() > low) --lo;
        while (hi + 1 < n && sorted[hi + 1]->Pos() < high) ++hi;
        msg->Create(1, "Elem: %d Edge: %d Num candidate nodes: %d", id, e, hi - lo + 1);

        for (int k = lo; k <= hi; ++k) {
            CKpNode* node = sorted[k];
            // The element's own corners never split its edges: a triangle
            // would use the node twice.
            if (node->id() == corner[0]->id() || node->id() == corner[1]->id() ||
                node->id() == corner[2]->id())
                continue;
            double ratio = -1.0, dist = 0.0;
            if (line.DistPoint(node->getCKpPoint(), &ratio, nullptr, &dist) != 0) continue;
            if (!(ratio > 0.0 && ratio < 1.0) || !(dist <= tolerance)) continue;
            // Near a corner a node may reach both edges that meet there: it
            // stays on the nearer one.
            auto taken = std::find_if(entries.begin(), entries.end(),
                                      [node](const SewEntry& s) { return s.node == node; });
            if (taken != entries.end()) {
                if (dist >= taken->dist) continue;
                *taken = SewEntry{node, e, ratio, dist};
            } else {
                entries.push_back(SewEntry{node, e, ratio, dist});
            }
            msg->Create(1, "Elem: %6d Edge: %1d Node: %6d Ratio: %8g Dist: %8g", id, e, node->id(),
                        ratio, dist);
        }
    }
    if (entries.empty()) return 0;

    CKpBdyNodeStore loop;
    for (const SewEntry& s : entries) {
        CKpBdyNode* item = new (std::nothrow) CKpBdyNode(s.node, s.edge, s.ratio);
        if (!item) return -1;
        loop.InsertLast(item);
    }
    for (int i = 0; i < 3; ++i) {
        CKpBdyNode* item = new (std::nothrow) CKpBdyNode(corner[i], i, 0.0);
        if (!item) return -1;
        loop.InsertLast(item);
    }
    if (loop.SortEdgeRatio() != 0) return -1;
    if (loop.CreateElems(nodes, elems) != 0) return -1;
    elems->eraseObject(elem);
    return 1;
}

}  // namespace

int CKpLayup::MergeFree(double tolerance) {
    m_msg.Create(1, "MergeFree: mergeTolerance %12g", tolerance);
    if (pMats()->entries() >= 1) {
        m_msg.Create(4, "Merging only possible if nodes and elements alone exist in model.");
        return -1;
    }
    if (!std::isfinite(tolerance)) {
        m_msg.Create(4, "MergeFree: the tolerance is not a finite number.");
        return -1;
    }
    CKpNodeStore* nodes = pNodes();
    CKpElemStore* elems = pElems();
    CKpFacetStore* facets = pFacs();
    if (!ResolveTolerance(&m_msg, nodes, "mergeTolerance", &tolerance)) return -1;
    if (!(tolerance > 0.0)) return 0;

    if (facets->GetFreeEdgeNum(11) == 0) {
        m_msg.Create(4, "No free tria3 edges exist in model.");
        return -1;
    }
    const double shortest = facets->GetFreeEdgeMinLen(11);
    m_msg.Create(1, "Minimum free edge length: %g", shortest);
    if (tolerance > shortest)
        m_msg.Create(2,
                     "Merge tolerance %g is greater than the minimum free edge length. Elements "
                     "may be deleted.",
                     tolerance);

    int merged = 0;
    {
        IdStore ids;
        if (facets->GetFreeEdgeNodeIDs(11, &ids) != 0) {
            m_msg.Create(4, "Could not allocate memory.");
            return -1;
        }
        merged = nodes->Merge(&m_msg, elems, &ids, tolerance);
    }
    if (merged < 0) return -1;
    m_msg.Create(1, "Num merged nodes: %d", merged);

    if (merged > 0) {
        const int deleted = elems->CheckShape(&m_msg);
        if (deleted > 0) m_msg.Create(2, "A total of %d elements have been deleted.", deleted);
        if (facets->CreateFacets() == 0) m_msg.Create(1, "Could not generate facets");
    }
    return 0;
}

int CKpLayup::SewFree(double tolerance) {
    m_msg.Create(1, "SewFree: sewTolerance %12g", tolerance);
    if (pMats()->entries() >= 1) {
        m_msg.Create(4, "Sewing only possible if nodes and elements alone exist in model.");
        return -1;
    }
    if (!std::isfinite(tolerance)) {
        m_msg.Create(4, "SewFree: the tolerance is not a finite number.");
        return -1;
    }
    CKpNodeStore* nodes = pNodes();
    CKpElemStore* elems = pElems();
    CKpFacetStore* facets = pFacs();
    if (!ResolveTolerance(&m_msg, nodes, "sewTolerance", &tolerance)) return -1;
    if (!(tolerance > 0.0)) return 0;

    const int freeEdges = facets->GetFreeEdgeNum(11);
    m_msg.Create(1, "Free TRIA3 edges: %d", freeEdges);
    if (freeEdges == 0) return 0;

    // The candidates, sorted by their key x + y + z.
    std::unique_ptr<CKpNode*[]> sorted;
    int n = 0;
    {
        IdStore ids;
        if (facets->GetFreeEdgeNodeIDs(11, &ids) != 0) {
            m_msg.Create(4, "Could not allocate memory.");
            return -1;
        }
        m_msg.Create(1, "Free nodes: %d", ids.entries());
        if (ids.entries() == 0) return 0;
        CKpNode** array = nullptr;
        if (nodes->CreateSortPos(&m_msg, &ids, &n, &array) != 0) return -1;
        sorted.reset(array);
    }

    // Elements made here get ids above every id present at the start and
    // are not visited.
    bool changed = false;
    int status = 0;
    try {
        std::vector<int> ids;
        CVekObjectStoreIterator<CKpElem> it(*elems);
        while (++it)
            if (it.key()->getgmtp() == 11) ids.push_back(it.key()->id());
        for (int id : ids) {
            CKpElem* elem = elems->find(id);
            if (!elem) continue;
            const int sewn =
                SewElem(&m_msg, nodes, elems, facets, sorted.get(), n, tolerance, elem);
            if (sewn < 0) {
                status = -1;
                break;
            }
            if (sewn > 0) changed = true;
        }
    } catch (const std::bad_alloc&) {
        status = -1;
    }
    sorted.reset();
    if (status != 0) m_msg.Create(4, "Could not allocate memory.");

    // The surface still refers to the replaced elements: it is rebuilt on
    // every path that may have changed the mesh.
    if (status == 0 || changed) {
        if (facets->CreateFacets() == 0) m_msg.Create(1, "Could not generate facets");
    }
    return status;
}
