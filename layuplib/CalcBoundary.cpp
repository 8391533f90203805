#include "layuplib/CalcBoundary.h"

#include <cstdlib>
#include <new>
#include <unordered_set>
#include <vector>

#include "layuplib/CKpBdy.h"
#include "layuplib/CKpBdyStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNode.h"
#include "layuplib/bdy_ring.h"
#include "layuplib/geom_util.h"

namespace {

const double kLengthTie = 2.220446049250313e-16;

void record(int facet, int dirn, int* count, int* facetIds, int* facetDirs) {
    if (!count) return;
    if (facetIds) facetIds[*count] = facet;
    if (facetDirs) facetDirs[*count] = dirn;
    ++*count;
}

// The neighbour across `edge` of `facet` when the edge joins the surface
// (neighbour and code both set, not divided): its index and its shared
// edge 0..2 in *neighEdge. -1 otherwise.
int linkedNeighbour(const CKpFacet* facet, int edge, int* neighEdge) {
    const int g = facet->getNeigh(edge);
    const int code = facet->getNedge(edge);
    if (g < 0 || code < 0 || code > 5) return -1;
    if (neighEdge) *neighEdge = code % 3;
    return g;
}

// The walk on the facets themselves: the painted flag is the mark, and each
// facet painted is recorded in the caller's arrays.
class FacetStoreSurface {
  public:
    FacetStoreSurface(CKpFacetStore* facets, int* count, int* facetIds, int* facetDirs)
        : m_facets(facets), m_count(count), m_facetIds(facetIds), m_facetDirs(facetDirs) {}

    int entries() const { return m_facets->entries(); }

    int neighbour(int facet, int edge, int* code) const {
        const CKpFacet* f = m_facets->pFac(facet);
        if (!f) return -1;
        const int g = linkedNeighbour(f, edge, nullptr);
        if (g >= 0) *code = f->getNedge(edge);
        return g;
    }

    bool painted(int facet) const {
        const CKpFacet* f = m_facets->pFac(facet);
        return !f || f->getPntd();
    }

    int paint(int facet, int dirn) {
        CKpFacet* f = m_facets->pFac(facet);
        f->setPntd(1);
        f->setFacetDirection(dirn);
        record(facet, dirn, m_count, m_facetIds, m_facetDirs);
        return 0;
    }

  private:
    CKpFacetStore* m_facets;
    int* m_count;
    int* m_facetIds;
    int* m_facetDirs;
};

const CKpNode* startNode(CKpFacetStore* facets, const CKpBdy* seg) {
    const CKpFacet* f = facets->pFac(seg->getFacet());
    return f ? f->getCKpNode(seg->vx0()) : nullptr;
}

const CKpNode* endNode(CKpFacetStore* facets, const CKpBdy* seg) {
    const CKpFacet* f = facets->pFac(seg->getFacet());
    return f ? f->getCKpNode(seg->vx1()) : nullptr;
}

double edgeLength(CKpFacetStore* facets, const CKpBdy* seg) {
    const CKpFacet* f = facets->pFac(seg->getFacet());
    if (!f) return 0.0;
    const CKpPoint* a = f->getCKpPoint(seg->getEdge());
    const CKpPoint* b = f->getCKpPoint((seg->getEdge() + 1) % 3);
    return (a && b) ? dist_2pt(a, b) : 0.0;
}

}  // namespace

namespace bdy_ring {

void OutOfMemory(CKpMsg* msg) {
    if (msg) msg->Create(4, "Could not allocate memory.");
}

void DeleteReachable(CKpBdy*& ring) {
    std::vector<CKpBdy*> segs;
    try {
        std::unordered_set<CKpBdy*> seen;
        for (CKpBdy* s = ring; s && seen.insert(s).second; s = s->Next()) segs.push_back(s);
    } catch (...) {
        ring = nullptr;  // cannot tell the segments apart safely: leave them
        return;
    }
    for (CKpBdy* s : segs) delete s;
    ring = nullptr;
}

int RingSize(const CKpBdy* ring) {
    if (!ring) return 0;
    int n = 1;
    for (const CKpBdy* s = ring->Next(); s != ring; s = s->Next()) ++n;
    return n;
}

}  // namespace bdy_ring

using bdy_ring::DeleteReachable;
using bdy_ring::NewSegment;
using bdy_ring::OutOfMemory;
using bdy_ring::RingSize;

int UpdateBoundary(CKpMsg* msg, CKpBdy* ring) {
    if (!ring) return 0;
    CKpBdy* seg = ring;
    for (int i = 1;; ++i) {
        seg->setSeq(i);
        CKpBdy* prev = seg->Prev();
        CKpBdy* next = seg->Next();
        // Checking both links at every segment catches a next chain that
        // runs into a loop not passing the head, so the walk always ends.
        if (!prev || prev->Next() != seg || !next || next->Prev() != seg) {
            if (msg) msg->Create(4, "Incorrect boundary pointers for byid %d", i);
            return -1;
        }
        if (next == ring) return 0;
        seg = next;
    }
}

CKpBdy** newCKpBdyPtrA(int n) {
    if (n < 1) return nullptr;
    return static_cast<CKpBdy**>(std::calloc(static_cast<size_t>(n), sizeof(CKpBdy*)));
}

int CalcBoundaryEdge(CKpMsg* msg, CKpFacetStore* facets, CKpBdy*& ring, CKpBdy*& current, int sense,
                     int* count, int* facetIds, int* facetDirs) {
    if (!facets) return 0;
    FacetStoreSurface surface(facets, count, facetIds, facetDirs);
    return bdy_ring::GrowRingEdge(msg, surface, ring, current, sense);
}

int CalcBoundaryAdvance(CKpMsg* msg, CKpFacetStore* facets, CKpBdy*& ring, int* changes, int* count,
                        int* facetIds, int* facetDirs) {
    if (changes) *changes = 0;
    if (!facets) return -1;
    FacetStoreSurface surface(facets, count, facetIds, facetDirs);
    return bdy_ring::GrowRing(msg, surface, ring, changes);
}

int CalcAllBoundary(CKpMsg* msg, CKpFacetStore* facets, int clearMarks, int startFacet,
                    int direction, CKpBdy*& ring, int* count, int* facetIds, int* facetDirs) {
    ring = nullptr;
    if (!facets) return 1;
    if (clearMarks) facets->ReinitPntd();
    if (!facets->pFac(startFacet)) return 1;
    FacetStoreSurface surface(facets, count, facetIds, facetDirs);
    return bdy_ring::GrowRegion(msg, surface, startFacet, direction, ring) == 0 ? 0 : -1;
}

int CalcInteriorBoundary(CKpMsg* msg, CKpFacetStore* facets, CKpBdyStore* store) {
    if (!facets || !store) return -1;
    CKpBdy* ring = store->GetBdy(0);
    if (!ring) return 0;
    if (UpdateBoundary(msg, ring) != 0) return -1;

    std::vector<CKpBdy*> segs;
    std::vector<char> used;
    try {
        for (CKpBdy* s = ring;;) {
            segs.push_back(s);
            s = s->Next();
            if (s == ring) break;
        }
        used.assign(segs.size(), 0);
    } catch (...) {
        OutOfMemory(msg);
        return -1;
    }
    const int n = static_cast<int>(segs.size());

    std::vector<double> lengths;
    try {
        lengths.reserve(segs.size());  // one per loop at most: no throw below
    } catch (...) {
        OutOfMemory(msg);
        return -1;
    }
    CKpBdy** loops = newCKpBdyPtrA(n);
    if (!loops) {
        OutOfMemory(msg);
        return -1;
    }
    int numLoops = 0;
    auto fail = [&]() {
        for (int k = 0; k < numLoops; ++k) DeleteBoundary(loops[k]);
        std::free(loops);
        OutOfMemory(msg);
        return -1;
    };

    // 1.-2. Cut the ring into loops.
    for (int i = 0; i < n; ++i) {
        if (used[i]) continue;
        used[i] = 1;
        CKpBdy* head = NewSegment(segs[i]->getFacet(), segs[i]->getEdge(), segs[i]->getDirn());
        if (!head) return fail();
        head->SetNext(head);
        head->SetPrev(head);
        head->setSeq(1);
        loops[numLoops++] = head;
        double length = edgeLength(facets, segs[i]);
        const CKpNode* firstNode = startNode(facets, segs[i]);
        const CKpBdy* last = segs[i];
        for (int j = i + 1; j < n; ++j) {
            const CKpNode* lastEnd = endNode(facets, last);
            if (lastEnd && lastEnd == firstNode) break;  // the loop is closed
            if (used[j]) continue;
            if (segs[j]->getFacet() == last->getFacet() && segs[j]->getEdge() == last->getEdge())
                break;
            if (!lastEnd || startNode(facets, segs[j]) != lastEnd) continue;
            CKpBdy* copy = NewSegment(segs[j]->getFacet(), segs[j]->getEdge(), segs[j]->getDirn());
            if (!copy) return fail();
            CKpBdy* tail = head->Prev();
            copy->setSeq(tail->getSeq() + 1);
            copy->SetPrev(tail);
            copy->SetNext(head);
            tail->SetNext(copy);
            head->SetPrev(copy);
            used[j] = 1;
            length += edgeLength(facets, segs[j]);
            last = segs[j];
        }
        lengths.push_back(length);  // capacity reserved above
    }

    // 3. The longest loop is the outer ring, the others are holes.
    int outer = 0;
    for (int k = 1; k < numLoops; ++k)
        if (lengths[k] > lengths[outer] + kLengthTie) outer = k;
    for (int k = 0; k < numLoops; ++k) {
        if (k == outer) continue;
        if (store->AddIntrBdy(loops[k]) != 0) {
            // Holes appended so far belong to the store now; drop the rest.
            for (int r = k; r < numLoops; ++r)
                if (r != outer) DeleteBoundary(loops[r]);
            DeleteBoundary(loops[outer]);
            std::free(loops);
            OutOfMemory(msg);
            return -1;
        }
    }
    store->SetBdy(loops[outer]);  // deletes the old ring
    std::free(loops);
    return 0;
}

int CalcBoundary(CKpMsg* msg, CKpFacetStore* facets, int startFacet, int direction,
                 CKpBdyStore* store) {
    if (!store) return 2;
    // 1. A fresh store and a valid start.
    store->reinit();
    if (!facets || !facets->iOK(startFacet)) {
        if (msg) msg->Create(4, "Invalid start facet %d.", startFacet);
        return 1;
    }

    // 2. Trace the region, collecting its facets.
    std::vector<int> ids;
    std::vector<int> dirs;
    try {
        ids.resize(static_cast<size_t>(facets->entries()));
        dirs.resize(static_cast<size_t>(facets->entries()));
    } catch (...) {
        OutOfMemory(msg);
        return -1;
    }
    int count = 0;
    CKpBdy* ring = nullptr;
    if (CalcAllBoundary(msg, facets, 1, startFacet, direction, ring, &count, ids.data(),
                        dirs.data()) != 0)
        return 2;

    // 3. The region's facets and elements belong to this store.
    for (int i = 0; i < count; ++i) {
        CKpFacet* f = facets->pFac(ids[i]);
        if (!f) continue;
        f->setBdyStoreId(store->id());
        const int elemId = f->GetElemId();
        if (elemId >= 0) store->AddElementId(elemId);
    }

    // 4. Segments between two region facets are where the front met itself.
    bool removed = false;
    if (ring) {
        const int n = RingSize(ring);
        CKpBdy* seg = ring;
        for (int i = 0; i < n && ring; ++i) {
            CKpBdy* next = seg->Next();
            const CKpFacet* f = facets->pFac(seg->getFacet());
            if (f && linkedNeighbour(f, seg->getEdge(), nullptr) >= 0) {
                removed = true;
                if (next == seg) {
                    delete seg;
                    ring = nullptr;
                    break;
                }
                seg->Prev()->SetNext(next);
                next->SetPrev(seg->Prev());
                if (seg == ring) ring = next;
                delete seg;
            }
            seg = next;
        }
    }
    if (!removed) {
        store->SetBdy(ring);
        return 0;
    }

    // 5. Otherwise separate the outer ring from the holes.
    if (ring && UpdateBoundary(msg, ring) != 0) {
        DeleteReachable(ring);
        return 2;
    }
    store->SetBdy(ring);
    return CalcInteriorBoundary(msg, facets, store) == 0 ? 0 : 3;
}

int CalcBoundaryAngle(CKpFacetStore* facets, const CKpBdy* segment, double* angle) {
    if (!facets || !segment || !angle) return -1;
    const CKpBdy* before = segment->Prev();
    const int limit = facets->entries();

    int current = segment->getFacet();
    int vertex = segment->vx0();
    int entered = segment->getEdge();
    double sum = 0.0;
    for (int steps = 0;; ++steps) {
        const CKpFacet* f = facets->pFac(current);
        if (!f) break;
        sum += f->GetVertexAngle(vertex);
        // The facet's other edge at V (edges `vertex` and `vertex` + 2 meet there).
        const int other = entered == vertex ? (vertex + 2) % 3 : vertex;
        if (before && current == before->getFacet() && other == before->getEdge()) break;
        int shared = -1;
        const int next = linkedNeighbour(f, other, &shared);
        // A free or divided edge, a full turn or a runaway walk ends it.
        if (next < 0 || next == segment->getFacet() || steps + 1 >= limit) break;
        // V is the first or the second end of the crossed edge; a neighbour
        // running the same way (code 0..2) keeps that, one running the
        // other way swaps it.
        const bool firstEnd = vertex == other;
        const bool opposite = f->getNedge(other) >= 3;
        vertex = (firstEnd == opposite) ? (shared + 1) % 3 : shared;
        entered = shared;
        current = next;
    }
    *angle = sum;
    return 0;
}
