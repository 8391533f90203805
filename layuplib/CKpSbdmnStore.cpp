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

// A facet as the region walk reads it: its area, and per edge the
// neighbour when the edge joins the surface (code 0..5), else -1 and code -1.
struct FacetLinks {
    double area;
    int neigh[3];
    signed char code[3];
};

// A facet's state during the numbering, one byte per facet.
enum : unsigned char {
    kPainted = 1,  // reached by the walk under way (always set for a missing facet)
    kNumbered = 2  // subdomain number not 0: given before, or by an earlier walk
};

// The region walk of CalcAllBoundary (marks not cleared, direction +1, the
// ring grown forward), step for step with the same rings, order and
// messages, but on compact index-ordered copies of what it reads (links
// and areas, and the painted mark as a bit of marks[i]), so that a step
// reads a few bytes near the last ones instead of a facet far away in
// memory. The facets are written in one pass in index order once the
// walks are done (Write); the areas are summed in the order the walk
// painted the facets, as the numbering in walk order summed them.
class RegionWalk {
  public:
    // `marks` per facet as above; `links` per facet; `list` and `dirs`
    // room for one entry per facet; `region` per facet, 0 for each.
    RegionWalk(CKpMsg* msg, CKpFacetStore* facets, unsigned char* marks,
               const FacetLinks* links, int* list, signed char* dirs, int* region)
        : m_msg(msg),
          m_facets(facets),
          m_marks(marks),
          m_links(links),
          m_list(list),
          m_dirs(dirs),
          m_region(region) {}

    // Walks the region of facet `start` (which exists). 0; -1 on
    // allocation failure or a ring whose links disagree, after the
    // messages the boundary code gives.
    int Run(int start) {
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
        paint(start, 1);
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

    // After a successful Run: its facets belong to subdomain `k` with the
    // walk's direction flags (a later walk reaching one again overrides
    // it), and their painted marks are freed for the next walk.
    void Number(int k) {
        for (int q = 0; q < m_count; ++q) {
            const int g = m_list[q];
            m_region[g] = m_dirs[q] > 0 ? k : -k;
            m_marks[g] = kNumbered;
        }
    }

    // Every numbered facet, in index order: its drape direction flag,
    // subdomain number and subdomain direction flag.
    void Write() {
        const int n = m_facets->entries();
        for (int i = 0; i < n; ++i) {
            const int r = m_region[i];
            if (r == 0) continue;
            CKpFacet* f = m_facets->pFac(i);
            const int dirn = r > 0 ? 1 : -1;
            f->setFacetDirection(dirn);
            f->setSbdmn(r > 0 ? r : -r);
            f->setSbdmndnfg(dirn);
        }
    }

    // After a failed Run (and Write): its facets as the boundary code
    // leaves them when it fails, painted with the walk's direction flags.
    void MarkPainted() {
        for (int q = 0; q < m_count; ++q) {
            CKpFacet* f = m_facets->pFac(m_list[q]);
            f->setPntd(1);
            f->setFacetDirection(m_dirs[q]);
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

    // The neighbour across `edge` of facet `facet` when the edge joins the
    // surface, with its shared edge in *neighEdge; -1 otherwise.
    int linkedNeighbour(int facet, int edge, int* neighEdge) const {
        const FacetLinks& l = m_links[facet];
        if (l.neigh[edge] < 0) return -1;
        if (neighEdge) *neighEdge = l.code[edge] % 3;
        return l.neigh[edge];
    }

    // Whether `edge` of facet G is the other side of segment `seg`.
    bool borders(int g, int edge, const CKpBdy* seg) const {
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

    void paint(int g, int dirn) {
        m_marks[g] |= kPainted;
        m_list[m_count] = g;
        m_dirs[m_count] = static_cast<signed char>(dirn);
        m_area += m_links[g].area;
        ++m_count;
    }

    // One growth step at `current` (CalcBoundaryEdge, sense +1).
    int edge(CKpBdy*& ring, CKpBdy*& current) {
        if (!ring || !current) return 0;
        CKpBdy* s = current;
        CKpBdy* p = s->Prev();
        CKpBdy* n = s->Next();
        // A segment's facet exists (its mark tells a missing one).
        const int fi = s->getFacet();
        if (!p || !n || fi < 0 || fi >= m_facets->entries()) return 0;
        const int edgeS = s->getEdge();
        if (edgeS < 0 || edgeS > 2) return 0;

        int shared = -1;
        const int g = linkedNeighbour(fi, edgeS, &shared);

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

        // 2. Growth into an unpainted neighbour G.
        if (g < 0 || g >= m_facets->entries() || (m_marks[g] & kPainted)) return 0;
        const int d = s->getDirn() >= 1 ? 1 : -1;
        const int code = m_links[fi].code[edgeS];
        const int dg = code >= 3 ? d : -d;
        const int a = dg >= 1 ? (shared + 1) % 3 : (shared + 2) % 3;
        const int b = dg >= 1 ? (shared + 2) % 3 : (shared + 1) % 3;

        const bool bN = borders(g, b, n);
        const bool aP = borders(g, a, p);
        CKpBdy* added = nullptr;
        if (!bN && !aP) {
            added = newSegment(g, a, dg);
            if (!added) {
                outOfMemory(m_msg);
                return -1;
            }
        }
        paint(g, dg);

        // 3. Mend the ring around G.
        if (bN && aP) {
            removeBlock(ring, current, p, 3, nullptr);
        } else if (bN) {
            if (borders(g, a, n->Next())) {
                removeBlock(ring, current, s, 3, nullptr);
            } else {
                s->setFacet(g);
                s->setEdge(a);
                s->setDirn(dg);
                removeBlock(ring, current, n, 1, s);
            }
        } else if (aP) {
            if (borders(g, b, p->Prev())) {
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
    unsigned char* m_marks;     // per facet index
    const FacetLinks* m_links;  // per facet index
    int* m_list;                // facets painted by the last Run, in order
    signed char* m_dirs;        // their direction flags
    int* m_region;              // per facet index: subdomain number times its direction flag
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

    // 1. One pass in index order: each facet's walk marks cleared (as
    // CKpFacetStore::ReinitPntd), its links, area and state read; room for
    // the walks' facet lists.
    std::vector<unsigned char> marks;
    std::vector<FacetLinks> links;
    std::vector<int> list;
    std::vector<signed char> dirs;
    std::vector<int> region;
    try {
        marks.resize(static_cast<size_t>(n));
        links.resize(static_cast<size_t>(n));
        list.resize(static_cast<size_t>(n));
        dirs.resize(static_cast<size_t>(n));
        region.assign(static_cast<size_t>(n), 0);
    } catch (const std::exception&) {
        outOfMemory(msg);
        return -1;
    }
    for (int i = 0; i < n; ++i) {
        FacetLinks& l = links[static_cast<size_t>(i)];
        CKpFacet* f = facets->pFac(i);
        if (!f) {
            l = FacetLinks{0.0, {-1, -1, -1}, {-1, -1, -1}};
            marks[static_cast<size_t>(i)] = kPainted;  // never entered, never opens
            continue;
        }
        f->setPntd(0);
        f->setFacetDirection(0);
        l.area = f->Area();
        for (int e = 0; e < 3; ++e) {
            const int g = f->getNeigh(e);
            const int code = f->getNedge(e);
            const bool linked = g >= 0 && code >= 0 && code <= 5;
            l.neigh[e] = linked ? g : -1;
            l.code[e] = static_cast<signed char>(linked ? code : -1);
        }
        marks[static_cast<size_t>(i)] = f->getSbdmn() != 0 ? kNumbered : 0;
    }

    // 2. Each facet not yet numbered opens the next subdomain. The facets'
    // painted flags stay clear throughout.
    RegionWalk walk(msg, facets, marks.data(), links.data(), list.data(), dirs.data(),
                    region.data());
    int k = 0;
    for (int i = 0; i < n; ++i) {
        if (marks[static_cast<size_t>(i)] != 0) continue;
        ++k;
        facets->pFac(i)->setSbdmndnfg(1);
        if (walk.Run(i) != 0) {
            walk.Write();
            walk.MarkPainted();
            return -1;
        }
        walk.Number(k);
        CKpSbdmn* sbdmn = new (std::nothrow) CKpSbdmn(k, walk.Count(), walk.Area());
        if (!sbdmn || insert(sbdmn) != 0) {
            delete sbdmn;
            walk.Write();
            outOfMemory(msg);
            return -1;
        }
    }
    walk.Write();

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
