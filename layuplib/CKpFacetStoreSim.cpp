// CKpFacetStore: drape results on the facets and the surface queries of the
// simulation.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLine.h"
#include "layuplib/angle_util.h"
#include "layuplib/geom_util.h"

namespace {

bool sameBits(double a, double b) {
    std::uint64_t x, y;
    std::memcpy(&x, &a, sizeof x);
    std::memcpy(&y, &b, sizeof y);
    return x == y;
}

// The drape results of facet f back to "none" (the direction too when
// `direction`). On a large surface the walk through memory is the cost, and
// most facets hold these values already (a drape reaches part of the
// surface): a value is only stored when it differs to the bit, so that the
// facets left alone are not written back to memory.
void resetDrape(CKpFacet* f, bool direction) {
    if (direction && f->getFacetDirection() != 0) f->setFacetDirection(0);
    if (!sameBits(f->getwpang(), -1000.0)) f->setwpang(-1000.0);
    if (!sameBits(f->getwtang(), -1000.0)) f->setwtang(-1000.0);
    if (!sameBits(f->getstrn(), 0.0)) f->setstrn(0.0);
    if (f->getNrpat() != 0) f->setNrpat(0);
}

// Starts fetching facet f, every line of it: resetDrape reads fields near
// its front and at its end.
inline void prefetchFacet(const CKpFacet* f) {
    const char* b = reinterpret_cast<const char*>(f);
    for (std::size_t at = 0; at < sizeof(CKpFacet); at += 64) __builtin_prefetch(b + at);
    __builtin_prefetch(b + sizeof(CKpFacet) - 1);
}

// resetDrape over every facet of a store. The walk streams through memory:
// the facets some way ahead are fetched while these are reset.
void resetAll(CKpFacet* const* all, int count, bool direction) {
    constexpr int kAhead = 16;
    for (int i = 0; i < count; ++i) {
        if (i + kAhead < count && all[i + kAhead]) prefetchFacet(all[i + kAhead]);
        if (CKpFacet* f = all[i]) resetDrape(f, direction);
    }
}

}  // namespace

int CKpFacetStore::SimulationInitialise() {
    resetAll(m_ppFac, m_count, true);
    return 0;
}

int CKpFacetStore::SimulationInitialiseProjection() {
    resetAll(m_ppFac, m_count, false);
    return 0;
}

int CKpFacetStore::CalcAngleNeigh(int f, int e, double a, double* out) const {
    const CKpFacet* facet = pFac(f);
    if (!facet || !out || e < 0 || e > 2) return -1;
    const int code = facet->getNedge(e);
    if (facet->getNeigh(e) == -1 || code < 0) return -1;
    const CKpFacet* g = pFac(facet->getNeigh(e));
    if (!g) return -1;
    const CKpPoint* p = facet->getCKpPoint(e);
    const CKpPoint* q = facet->getCKpPoint(CKpFacet::GetNextVertex(e));
    double r = pi_pi(a - g->GetAngle(p, q));
    if (code < 3) r = -r;
    *out = pi_pi(facet->GetAngle(p, q) + r);
    return 0;
}

int CKpFacetStore::SimulationInterpolate() {
    // Every pass fills at least one facet or ends the loop, so there are at
    // most entries() + 1 passes.
    for (bool filled = true; filled;) {
        filled = false;
        for (int i = 0; i < m_count; ++i) {
            CKpFacet* f = m_ppFac[i];
            if (!f || !f->getPntd() || f->getNrpat() != 0) continue;
            double taken = 0.0;  // W: length of the edges taken so far
            bool first = true;
            for (int e = 0; e < 3; ++e) {
                const int code = f->getNedge(e);
                const CKpFacet* g = pFac(f->getNeigh(e));
                if (code < 0 || !g || g->getFacetDirection() == 0 || g->getNrpat() < 1) continue;
                double wp = 0.0, wt = 0.0;
                CalcAngleNeigh(i, e, g->getwpang(), &wp);
                CalcAngleNeigh(i, e, g->getwtang(), &wt);
                const double len =
                    dist_2pt(f->getCKpPoint(e), f->getCKpPoint(CKpFacet::GetNextVertex(e)));
                if (first) {
                    f->setFacetDirection(code < 3 ? -g->getFacetDirection()
                                                  : g->getFacetDirection());
                    f->setwpang(wp);
                    f->setwtang(wt);
                    f->setstrn(g->getstrn());
                } else {
                    const double w = len + taken > 0.0 ? len / (len + taken) : 0.0;
                    f->setwpang(pi_pi(f->getwpang() + pi_pi(wp - f->getwpang()) * w));
                    f->setwtang(pi_pi(f->getwtang()) + pi_pi(wt - f->getwtang()) * w);
                    f->setstrn(f->getstrn() + (g->getstrn() - f->getstrn()) * w);
                }
                f->setNrpat(1);
                first = false;
                taken += len;
                filled = true;
            }
        }
    }
    return 0;
}

int CKpFacetStore::GetClosestPoint(CKpPoint p, CKpDirn d, int* facet, CKpPoint* point,
                                   int* dnfg) const {
    double best = 1e12;
    int bestFacet = -1;
    int bestDnfg = 0;
    CKpPoint bestPoint;
    CKpLine line;
    line.P = p;
    line.u = d;
    const double quarterPi = std::acos(-1.0) / 4.0;

    for (int i = 0; i < m_count; ++i) {
        const CKpFacet* f = m_ppFac[i];
        if (!f || !f->getElement() || !f->getElement()->getSltd()) continue;
        const CKpPoint* v[3] = {f->getCKpPoint(0), f->getCKpPoint(1), f->getCKpPoint(2)};
        if (!v[0] || !v[1] || !v[2]) continue;
        CKpDirn n;
        f->GetNormal(&n);
        if (std::fabs(piby2_piby2(n.Angle(&d))) > quarterPi) continue;

        CKpPoint candidates[6];
        int count = 0;
        // 1. Feet of the vertices on the segment.
        for (int k = 0; k < 3; ++k) {
            double t = 0.0;
            if (line.DistPoint(v[k], &t, &candidates[count], nullptr) == 0) ++count;
        }
        // 2. Closest points of the edges to the line, inside the edges.
        for (int k = 0; k < 3; ++k) {
            CKpLine edge;
            edge.Set2Points(v[k], v[CKpFacet::GetNextVertex(k)]);
            double t = 0.0, s = 0.0;
            line.DistLine(edge, &t, &s, nullptr, &candidates[count], nullptr);
            if (s > 0.0 && s < 1.0) ++count;
        }
        for (int k = 0; k < count; ++k) {
            const double dist = dist_2pt(&p, &candidates[k]);
            if (dist >= best) continue;
            best = dist;
            bestFacet = i;
            bestPoint = candidates[k];
            const double dot = d.DotProduct(&n);
            bestDnfg = dot > 0.0 ? -1 : (dot < 0.0 ? 1 : 0);
        }
    }
    if (facet) *facet = bestFacet;
    if (point && bestFacet >= 0) *point = bestPoint;
    if (dnfg) *dnfg = bestDnfg;
    return 0;
}
