#include "layuplib/CKpSbdmnStore.h"

#include <climits>
#include <exception>
#include <new>
#include <vector>

#include "layuplib/CKpBdy.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLargeAllocator.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CalcBoundary.h"
#include "layuplib/bdy_ring.h"

namespace {

// A facet's links as the region walk reads them, one word per edge: the
// neighbour's index in the low 29 bits and the edge's code (0..5) above
// them when the edge joins the surface, else kUnlinked. Facet counts from
// kMaxFacets on are numbered the plain way.
const unsigned kUnlinked = 0xFFFFFFFFu;
const int kCodeShift = 29;
const int kMaxFacets = 1 << kCodeShift;
struct FacetLinks {
    unsigned edge[3];
};

// A facet's subdomain state during the numbering: 0 not yet reached, k or
// -k reached by walk k with direction flag +1 or -1, or one of these.
const int kMissing = INT_MIN;     // no facet: never entered, opens nothing
const int kBefore = INT_MIN + 1;  // numbered before: opens nothing, may be entered

// The region walk of CalcAllBoundary (marks not cleared, direction +1; the
// same code, bdy_ring.h) over compact index-ordered copies of what it reads
// (links, areas, and the painted mark as "region[i] is this walk's"), so
// that a step reads a few bytes near the last ones instead of a facet far
// away in memory. The facets are written in index order once the walks are done
// (Write); the areas are summed in the order the walk painted the facets,
// as the numbering in walk order summed them.
class RegionWalk {
  public:
    // `links`, `areas` and `region` per facet.
    RegionWalk(CKpMsg* msg, CKpFacetStore* facets, const FacetLinks* links, const double* areas,
               int* region)
        : m_msg(msg),
          m_facets(facets),
          m_entries(facets->entries()),
          m_links(links),
          m_areas(areas),
          m_region(region) {}

    // Walk `k` from facet `start` (which exists and is not yet reached).
    // 0; -1 on allocation failure or a ring whose links disagree, after
    // the messages the boundary code gives (then Fail).
    int Run(int k, int start) {
        m_k = k;
        m_count = 0;
        m_area = 0.0;
        m_reentered.clear();
        CKpBdy* ring = nullptr;
        if (bdy_ring::GrowRegion(m_msg, *this, start, 1, ring) != 0) return -1;
        DeleteBoundary(ring);
        return 0;
    }

    // Facets painted by the last Run, and the sum of their areas in the
    // order they were painted.
    int Count() const { return m_count; }
    double Area() const { return m_area; }

    // Every facet reached by a successful walk, in index order: its drape
    // direction flag, subdomain number and subdomain direction flag (of
    // the last walk that reached it).
    void Write() {
        const int n = m_facets->entries();
        for (int i = 0; i < n; ++i) {
            const int r = m_region[i];
            if (r == 0 || r == kMissing || r == kBefore) continue;
            CKpFacet* f = m_facets->pFac(i);
            const int dirn = r > 0 ? 1 : -1;
            f->setFacetDirection(dirn);
            f->setSbdmn(r > 0 ? r : -r);
            f->setSbdmndnfg(dirn);
        }
    }

    // After a failed Run: the facets as the numbering leaves them when the
    // boundary code fails. Those of the failed walk are painted with its
    // direction flags and keep their subdomain numbers and subdomain
    // direction flags from before it; the earlier walks' facets are
    // written.
    void Fail() {
        const int n = m_facets->entries();
        for (int i = 0; i < n; ++i) {
            const int r = m_region[i];
            if (r != m_k && r != -m_k) continue;
            CKpFacet* f = m_facets->pFac(i);
            f->setPntd(1);
            f->setFacetDirection(r > 0 ? 1 : -1);
            m_region[i] = 0;
        }
        for (const Reentry& e : m_reentered) m_region[e.facet] = e.before;
        Write();
        // Reached again by the failed walk: its direction flag came last.
        for (const Reentry& e : m_reentered) m_facets->pFac(e.facet)->setFacetDirection(e.dirn);
    }

    // The surface the walk reads (bdy_ring.h).
    int entries() const { return m_entries; }

    int neighbour(int facet, int edge, int* code) const {
        if (facet < 0 || facet >= m_entries || edge < 0 || edge > 2) return -1;
        const unsigned v = m_links[facet].edge[edge];
        if (v == kUnlinked) return -1;
        *code = static_cast<int>(v >> kCodeShift);
        return static_cast<int>(v & (kMaxFacets - 1));
    }

    // Whether walk k has reached facet g (or g is missing).
    bool painted(int g) const {
        const int r = m_region[g];
        return r == m_k || r == -m_k || r == kMissing;
    }

    // 0; -1 when the record of a facet reached again cannot be kept.
    int paint(int g, int dirn) {
        if (m_region[g] != 0) {
            try {
                m_reentered.push_back(Reentry{g, m_region[g], dirn});
            } catch (const std::exception&) {
                bdy_ring::OutOfMemory(m_msg);
                return -1;
            }
        }
        m_region[g] = dirn >= 1 ? m_k : -m_k;
        m_area += m_areas[g];
        ++m_count;
        return 0;
    }

  private:
    CKpMsg* m_msg;
    CKpFacetStore* m_facets;
    int m_entries;
    const FacetLinks* m_links;  // per facet index
    const double* m_areas;      // per facet index
    int* m_region;              // per facet index, see kMissing
    // A facet the walk under way reached again, its state before, and the
    // walk's direction flag for it.
    struct Reentry {
        int facet;
        int before;
        int dirn;
    };
    std::vector<Reentry> m_reentered;
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
    return create(msg, facets, nullptr);
}

int CKpSbdmnStore::Create(CKpMsg* msg, CKpFacetStore* facets,
                          std::vector<int, CKpLargeAllocator<int>>* numbers) {
    numbers->clear();
    return create(msg, facets, numbers);
}

int CKpSbdmnStore::create(CKpMsg* msg, CKpFacetStore* facets,
                          std::vector<int, CKpLargeAllocator<int>>* numbers) {
    if (!facets) return -1;
    const int n = facets->entries();
    if (n >= kMaxFacets) return createPlain(msg, facets);

    // 1. One pass in index order: each facet's walk marks cleared (as
    // CKpFacetStore::ReinitPntd), its links, area and state read.
    std::vector<FacetLinks, CKpLargeAllocator<FacetLinks>> links;
    std::vector<double, CKpLargeAllocator<double>> areas;
    std::vector<int, CKpLargeAllocator<int>> region;
    try {
        links.resize(static_cast<size_t>(n));
        areas.resize(static_cast<size_t>(n));
        region.resize(static_cast<size_t>(n));
    } catch (const std::exception&) {
        bdy_ring::OutOfMemory(msg);
        return -1;
    }
    for (int i = 0; i < n; ++i) {
        FacetLinks& l = links[static_cast<size_t>(i)];
        CKpFacet* f = facets->pFac(i);
        if (!f) {
            l = FacetLinks{{kUnlinked, kUnlinked, kUnlinked}};
            areas[static_cast<size_t>(i)] = 0.0;
            region[static_cast<size_t>(i)] = kMissing;
            continue;
        }
        f->setPntd(0);
        f->setFacetDirection(0);
        areas[static_cast<size_t>(i)] = f->Area();
        for (int e = 0; e < 3; ++e) {
            const int g = f->getNeigh(e);
            const int code = f->getNedge(e);
            const bool linked = g >= 0 && g < n && code >= 0 && code <= 5;
            l.edge[e] = linked ? static_cast<unsigned>(g) | static_cast<unsigned>(code) << kCodeShift
                               : kUnlinked;
        }
        region[static_cast<size_t>(i)] = f->getSbdmn() != 0 ? kBefore : 0;
    }

    // 2. Each facet not yet numbered opens the next subdomain. The facets'
    // painted flags stay clear throughout.
    RegionWalk walk(msg, facets, links.data(), areas.data(), region.data());
    int k = 0;
    for (int i = 0; i < n; ++i) {
        if (region[static_cast<size_t>(i)] != 0) continue;
        ++k;
        facets->pFac(i)->setSbdmndnfg(1);
        if (walk.Run(k, i) != 0) {
            walk.Fail();
            return -1;
        }
        CKpSbdmn* sbdmn = new (std::nothrow) CKpSbdmn(k, walk.Count(), walk.Area());
        if (!sbdmn || insert(sbdmn) != 0) {
            delete sbdmn;
            walk.Write();
            bdy_ring::OutOfMemory(msg);
            return -1;
        }
    }
    if (numbers) {
        // The facets Write would leave alone read 0.
        for (int& r : region)
            if (r == kMissing || r == kBefore) r = 0;
        numbers->swap(region);
    } else {
        walk.Write();
    }

    // 3.
    WriteMsg(msg);
    return 0;
}

int CKpSbdmnStore::createPlain(CKpMsg* msg, CKpFacetStore* facets) {
    const int n = facets->entries();
    std::vector<int> list;
    std::vector<int> dnfg;
    std::vector<double> areas;  // per facet, formed in index order
    try {
        list.resize(static_cast<size_t>(n));
        dnfg.resize(static_cast<size_t>(n));
        areas.resize(static_cast<size_t>(n));
    } catch (const std::exception&) {
        bdy_ring::OutOfMemory(msg);
        return -1;
    }
    facets->ReinitPntd();
    for (int i = 0; i < n; ++i)
        if (const CKpFacet* f = facets->pFac(i)) areas[static_cast<size_t>(i)] = f->Area();
    int k = 0;
    for (int i = 0; i < n; ++i) {
        CKpFacet* start = facets->pFac(i);
        if (!start || start->getSbdmn() != 0) continue;
        ++k;
        start->setSbdmndnfg(1);
        int count = 0;
        CKpBdy* ring = nullptr;
        if (CalcAllBoundary(msg, facets, 0, i, 1, ring, &count, list.data(), dnfg.data()) != 0)
            return -1;
        double area = 0.0;
        for (int q = 0; q < count; ++q) {
            CKpFacet* f = facets->pFac(list[q]);
            f->setSbdmn(k);
            f->setSbdmndnfg(dnfg[q]);
            f->setPntd(0);
            area += areas[static_cast<size_t>(list[q])];  // summed in walk order
        }
        DeleteBoundary(ring);
        CKpSbdmn* sbdmn = new (std::nothrow) CKpSbdmn(k, count, area);
        if (!sbdmn || insert(sbdmn) != 0) {
            delete sbdmn;
            bdy_ring::OutOfMemory(msg);
            return -1;
        }
    }
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
