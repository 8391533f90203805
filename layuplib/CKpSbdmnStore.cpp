#include "layuplib/CKpSbdmnStore.h"

#include <exception>
#include <new>
#include <unordered_set>
#include <vector>

#include "layuplib/CKpBdy.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CalcBoundary.h"

namespace {

void outOfMemory(CKpMsg* msg) {
    if (msg) msg->Create(4, "Could not allocate memory.");
}

// The region walk of CalcAllBoundary (marks not cleared, direction +1, the
// ring grown forward), step for step with the same rings, order and
// messages, except where it keeps its marks: the painted mark of facet i is
// painted[i] instead of the facet's own flag, so that asking whether a
// neighbour is painted reads one byte of a compact array rather than a
// facet far away in memory. The facet is read only when the walk grows
// into it. Each facet painted gets, as the subdomain numbering would give
// it afterwards, its drape direction flag, subdomain number and subdomain
// direction flag at once, and its area is summed in the same order.
class RegionWalk {
  public:
    RegionWalk(CKpMsg* msg, CKpFacetStore* facets, unsigned char* painted, const double* areas,
               int* list, int* before)
        : m_msg(msg),
          m_facets(facets),
          m_painted(painted),
          m_areas(areas),
          m_list(list),
          m_before(before) {}

    // Walks subdomain `k` from facet `start` (which exists). 0; -1 on
    // allocation failure or a ring whose links disagree, after the
    // messages the boundary code gives; Undo then restores the facets.
    int Run(int k, int start) {
        m_k = k;
        m_count = 0;
        m_area = 0.0;
        CKpBdy* segs[3] = {nullptr, nullptr, nullptr};
        for (int e = 0; e < 3; ++e) {
            segs[e] = newSegment(start, e, 1);
            if (!segs[e]) {
                for (CKpBdy* seg : segs) delete seg;
                outOfMemory(m_msg);
                return -1;
            }
        }
        for (int e = 0; e < 3; ++e) {
            segs[e]->setSeq(e + 1);
            segs[e]->SetNext(segs[(e + 1) % 3]);
            segs[e]->SetPrev(segs[(e + 2) % 3]);
        }
        paint(start, m_facets->pFac(start), 1);
        CKpBdy* ring = segs[0];
        if (advance(ring) != 0) {
            deleteReachable(ring);
            return -1;
        }
        DeleteBoundary(ring);
        return 0;
    }

    // Facets painted by the last Run, and the sum of their areas in the
    // order they were painted.
    int Count() const { return m_count; }
    double Area() const { return m_area; }

    // Frees the marks of the last Run for the next one.
    void Unpaint() {
        for (int q = 0; q < m_count; ++q) m_painted[m_list[q]] = 0;
    }

    // After a failed Run: the facets as the boundary code leaves them when
    // it fails (painted, walk direction flags), with their subdomain
    // numbers and subdomain direction flags as they were before it.
    void Undo() {
        for (int q = 0; q < m_count; ++q) {
            CKpFacet* f = m_facets->pFac(m_list[q]);
            f->setPntd(1);
            f->setSbdmn(m_before[2 * q]);
            f->setSbdmndnfg(m_before[2 * q + 1]);
        }
    }

  private:
    static CKpBdy* newSegment(int facet, int edge, int dirn) {
        CKpBdy* seg = new (std::nothrow) CKpBdy();
        if (seg) {
            seg->setFacet(facet);
            seg->setEdge(edge);
            seg->setDirn(dirn);
        }
        return seg;
    }

    // The neighbour across `edge` when the edge joins the surface, with
    // its shared edge in *neighEdge; -1 otherwise.
    static int linkedNeighbour(const CKpFacet* facet, int edge, int* neighEdge) {
        const int g = facet->getNeigh(edge);
        const int code = facet->getNedge(edge);
        if (g < 0 || code < 0 || code > 5) return -1;
        if (neighEdge) *neighEdge = code % 3;
        return g;
    }

    // Whether `edge` of facet G is the other side of segment `seg`.
    static bool borders(const CKpFacet* g, int edge, const CKpBdy* seg) {
        int shared = -1;
        return seg && linkedNeighbour(g, edge, &shared) == seg->getFacet() &&
               shared == seg->getEdge();
    }

    // Removes `k` segments from `first` on; the ring vanishes when they are
    // all of it. `current` becomes `stay` when given, else the segment
    // after them.
    static void removeBlock(CKpBdy*& ring, CKpBdy*& current, CKpBdy* first, int k, CKpBdy* stay) {
        CKpBdy* block[3] = {nullptr, nullptr, nullptr};
        int n = 0;
        bool whole = false;
        for (CKpBdy* seg = first; n < k; seg = seg->Next()) {
            if (n > 0 && seg == first) {
                whole = true;
                break;
            }
            block[n++] = seg;
        }
        if (!whole) whole = block[n - 1]->Next() == first;
        if (whole) {
            for (int i = 0; i < n; ++i) delete block[i];
            ring = nullptr;
            current = nullptr;
            return;
        }
        CKpBdy* before = first->Prev();
        CKpBdy* after = block[n - 1]->Next();
        before->SetNext(after);
        after->SetPrev(before);
        for (int i = 0; i < n; ++i) {
            if (block[i] == ring) ring = after;
            delete block[i];
        }
        current = stay ? stay : after;
    }

    // Deletes whatever is reachable from `ring`, each segment once.
    static void deleteReachable(CKpBdy*& ring) {
        std::vector<CKpBdy*> segs;
        try {
            std::unordered_set<CKpBdy*> seen;
            for (CKpBdy* s = ring; s && seen.insert(s).second; s = s->Next()) segs.push_back(s);
        } catch (...) {
            ring = nullptr;
            return;
        }
        for (CKpBdy* s : segs) delete s;
        ring = nullptr;
    }

    static int ringSize(const CKpBdy* ring) {
        if (!ring) return 0;
        int n = 1;
        for (const CKpBdy* s = ring->Next(); s != ring; s = s->Next()) ++n;
        return n;
    }

    void paint(int g, CKpFacet* gf, int dirn) {
        m_painted[g] = 1;
        gf->setFacetDirection(dirn);
        m_list[m_count] = g;
        m_before[2 * m_count] = gf->getSbdmn();
        m_before[2 * m_count + 1] = gf->getSbdmndnfg();
        gf->setSbdmn(m_k);
        gf->setSbdmndnfg(dirn);
        m_area += m_areas[g];
        ++m_count;
    }

    // One growth step at `current` (CalcBoundaryEdge, sense +1).
    int edge(CKpBdy*& ring, CKpBdy*& current) {
        if (!ring || !current) return 0;
        CKpBdy* s = current;
        CKpBdy* p = s->Prev();
        CKpBdy* n = s->Next();
        const CKpFacet* f = m_facets->pFac(s->getFacet());
        if (!p || !n || !f) return 0;

        int shared = -1;
        const int g = linkedNeighbour(f, s->getEdge(), &shared);

        // 1. Phantom splits.
        const bool splitNext = g >= 0 && n != s && n->getFacet() == g && n->getEdge() == shared;
        const bool splitPrev =
            !splitNext && g >= 0 && p != s && p->getFacet() == g && p->getEdge() == shared;
        if (splitNext || splitPrev) {
            CKpBdy* first = splitNext ? s : p;
            if (first->Next()->Next() == first) {
                if (m_msg) m_msg->Create(2, "Phantom interior boundary deleted.");
            } else if (m_msg) {
                m_msg->Create(1, splitNext ? "Phantom split exists next."
                                           : "Phantom split exists prev.");
            }
            removeBlock(ring, current, first, 2, nullptr);
            return 1;
        }

        // 2. Growth into an unpainted neighbour G: the mark first, the
        // facet only when it is to be painted.
        if (g < 0 || g >= m_facets->entries() || m_painted[g]) return 0;
        CKpFacet* gf = m_facets->pFac(g);
        if (!gf) return 0;
        const int d = s->getDirn() >= 1 ? 1 : -1;
        const int code = f->getNedge(s->getEdge());
        const int dg = code >= 3 ? d : -d;
        const int a = dg >= 1 ? (shared + 1) % 3 : (shared + 2) % 3;
        const int b = dg >= 1 ? (shared + 2) % 3 : (shared + 1) % 3;

        const bool bN = borders(gf, b, n);
        const bool aP = borders(gf, a, p);
        CKpBdy* added = nullptr;
        if (!bN && !aP) {
            added = newSegment(g, a, dg);
            if (!added) {
                outOfMemory(m_msg);
                return -1;
            }
        }
        paint(g, gf, dg);

        // 3. Mend the ring around G.
        if (bN && aP) {
            removeBlock(ring, current, p, 3, nullptr);
        } else if (bN) {
            if (borders(gf, a, n->Next())) {
                removeBlock(ring, current, s, 3, nullptr);
            } else {
                s->setFacet(g);
                s->setEdge(a);
                s->setDirn(dg);
                removeBlock(ring, current, n, 1, s);
            }
        } else if (aP) {
            if (borders(gf, b, p->Prev())) {
                removeBlock(ring, current, p->Prev(), 3, nullptr);
            } else {
                s->setFacet(g);
                s->setEdge(b);
                s->setDirn(dg);
                removeBlock(ring, current, p, 1, s);
            }
        } else {
            s->setFacet(g);
            s->setEdge(b);
            s->setDirn(dg);
            added->SetPrev(p);
            added->SetNext(s);
            p->SetNext(added);
            s->SetPrev(added);
        }
        return 1;
    }

    // Growth passes until one changes nothing (CalcBoundaryAdvance).
    int advance(CKpBdy*& ring) {
        if (!ring) return 0;
        if (UpdateBoundary(m_msg, ring) != 0) return -1;
        for (;;) {
            const long cap = 2L * ringSize(ring) + 4L * m_facets->entries() + 16;
            long steps = 0;
            int passChanges = 0;
            CKpBdy* current = ring;
            while (ring && current) {
                if (++steps > cap) {
                    if (m_msg)
                        m_msg->Create(4, "Incorrect boundary pointers for byid %d",
                                      current->getSeq());
                    return -1;
                }
                const int r = edge(ring, current);
                if (r < 0) return -1;
                if (r > 0) {
                    passChanges += r;
                    continue;
                }
                current = current->Next();
                if (current == ring) break;
            }
            if (!ring) return 0;
            if (UpdateBoundary(m_msg, ring) != 0) return -1;
            if (passChanges == 0) return 0;
        }
    }

    CKpMsg* m_msg;
    CKpFacetStore* m_facets;
    unsigned char* m_painted;  // per facet index
    const double* m_areas;     // per facet index
    int* m_list;               // facets painted, in order
    int* m_before;             // per painted facet: subdomain number and its direction flag before
    int m_k = 0;
    int m_count = 0;
    double m_area = 0.0;
};

}  // namespace

CKpSbdmnStore::CKpSbdmnStore() : CVekObjectStore<CKpSbdmn>(64) {}

CKpSbdmnStore::~CKpSbdmnStore() {
    eraseAllObjects();
}

int CKpSbdmnStore::Create(CKpMsg* msg, CKpFacetStore* facets) {
    if (!facets) return -1;
    const int n = facets->entries();

    // 1. Per facet: its painted mark, its area (formed in index order), and
    // room for the walk's facet list and the values it replaces.
    std::vector<unsigned char> painted;
    std::vector<double> areas;
    std::vector<int> list;
    std::vector<int> before;
    try {
        painted.assign(static_cast<size_t>(n), 0);
        areas.resize(static_cast<size_t>(n));
        list.resize(static_cast<size_t>(n));
        before.resize(2 * static_cast<size_t>(n));
    } catch (const std::exception&) {
        outOfMemory(msg);
        return -1;
    }
    facets->ReinitPntd();
    for (int i = 0; i < n; ++i)
        if (const CKpFacet* f = facets->pFac(i)) areas[static_cast<size_t>(i)] = f->Area();

    // 2. Each facet not yet numbered opens the next subdomain. The facets
    // keep their painted flags clear throughout; the marks of each walk are
    // freed for the next one.
    RegionWalk walk(msg, facets, painted.data(), areas.data(), list.data(), before.data());
    int k = 0;
    for (int i = 0; i < n; ++i) {
        CKpFacet* start = facets->pFac(i);
        if (!start || start->getSbdmn() != 0) continue;
        ++k;
        start->setSbdmndnfg(1);
        if (walk.Run(k, i) != 0) {
            walk.Undo();
            return -1;
        }
        walk.Unpaint();
        CKpSbdmn* sbdmn = new (std::nothrow) CKpSbdmn(k, walk.Count(), walk.Area());
        if (!sbdmn || insert(sbdmn) != 0) {
            delete sbdmn;
            outOfMemory(msg);
            return -1;
        }
    }

    // 3.
    WriteMsg(msg);
    return 0;
}

int CKpSbdmnStore::GetSelected(CKpMsg* msg, CKpFacetStore* facets) {
    eraseAllObjects();
    if (!facets) return -1;
    for (int i = 0; i < facets->entries(); ++i) {
        const CKpFacet* f = facets->pFac(i);
        if (!f || !f->getElement() || !f->getElement()->getSltd()) continue;
        CKpSbdmn* sbdmn = findOrCreate(f->getSbdmn());
        if (!sbdmn) {
            if (msg) msg->Create(4, "Could not allocate memory.");
            return -1;
        }
        sbdmn->AddNumFacs(1);
        sbdmn->AddArea(f->Area());
    }
    WriteMsg(msg);
    return 0;
}

double CKpSbdmnStore::GetArea(int id) {
    const CKpSbdmn* sbdmn = find(id);
    return sbdmn ? sbdmn->Area() : 0.0;
}

void CKpSbdmnStore::WriteMsg(CKpMsg* msg) {
    if (!msg || entries() == 0) return;
    msg->Create(1, "A total of %d subdomains were identified.", entries());
    for (int i = 0; i < entries(); ++i) {
        const CKpSbdmn* s = (*this)[i];
        if (s)
            msg->Create(1, " subdomain %3d contains %6d facets of area %g", s->id(), s->NumFacs(),
                        s->Area());
    }
}
