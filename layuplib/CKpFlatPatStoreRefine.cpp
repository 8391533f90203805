// Refinement and thinning of a flat pattern (declared in CKpFlatPatStore.h).

#include <cmath>
#include <new>
#include <vector>

#include "layuplib/CKpBdy.h"
#include "layuplib/CKpBdyStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpFlatPatStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpPlotPointStore.h"
#include "layuplib/CalcBoundary.h"
#include "layuplib/angle_util.h"
#include "layuplib/geom_util.h"

namespace {

const double kTinySine = 1e-9;
// How close a point must lie to a segment's edge to be on it.
const double kOnEdge = 1e-6;
// Ring steps from which a pair of points is left unrefined.
const int kMaxSteps = 100;

// The start and end vertex of a segment along its ring; false when its
// facet or a node is missing.
bool segEnds(const CKpFacetStore* facets, const CKpBdy* s, CKpPoint& p0, CKpPoint& p1) {
    const CKpFacet* f = facets->pFac(s->getFacet());
    const CKpPoint* a = f ? f->getCKpPoint(s->vx0()) : nullptr;
    const CKpPoint* b = f ? f->getCKpPoint(s->vx1()) : nullptr;
    if (!a || !b) return false;
    p0 = *a;
    p1 = *b;
    return true;
}

// Whether `p` lies on segment `s`: same facet and edge, and within kOnEdge
// of the edge. The ends get the same allowance along the edge, so that a
// point at a vertex is not lost to rounding on both of its segments.
bool onSegment(const CKpFacetStore* facets, const CKpBdy* s, const CKpFlatPatPt* p) {
    if (p->GetFacet() != s->getFacet()) return false;
    if (p->GetEdge() != s->getEdge() && p->GetEdge() != s->getEdge() + 3) return false;
    CKpPoint a, b;
    if (!segEnds(facets, s, a, b)) return false;
    CKpDirn u, w;
    u.set2pts(&a, &b);
    w.set2pts(&a, &p->GetPosition());
    const double len = u.mag();
    if (!(len > 0.0)) return false;
    const double t = w.DotProduct(&u) / len;  // along the edge, model units
    if (!(t >= -kOnEdge && t <= len + kOnEdge)) return false;
    const double off2 = w.DotProduct(&w) - t * t;
    return off2 <= kOnEdge * kOnEdge;
}

// Heading of segment `s` in the fabric frame of point `p` (warp along x,
// the sheared weft at a - m): the angle from p's fibre to the segment,
// turned by the direction in which the fibre was followed.
double heading(const CKpFacetStore* facets, const CKpBdy* s, const CKpFlatPatPt* p, double a,
               double m) {
    CKpPoint v0, v1;
    segEnds(facets, s, v0, v1);
    CKpDirn along;
    along.set2pts(&v0, &v1);
    const double t = ang_2dirns(&along, &p->GetDirection());
    switch (p->GetExtension()) {
        case 0:
            return pi_pi(t);
        case 1:
            return pi_pi(t + a - m);
        case 2:
            return pi_pi(kPi + t);
        default:
            return pi_pi(kPi + a + t - m);
    }
}

void report(CKpMsg* msg, int severity, const char* text) {
    if (msg) msg->Create(severity, "%s", text);
}

// 2. Inserts the developed boundary vertices between P and Q. False when
// the sheared fabric angle leaves no width to develop into.
bool developPair(CKpMsg* msg, CKpFacetStore* facets, CKpFlatPatPtStore* chain, CKpFlatPatPt* P,
                 CKpFlatPatPt* Q, double a, double step, std::vector<const CKpBdy*>& segs,
                 std::vector<double>& L, std::vector<double>& phi, std::vector<double>& X,
                 std::vector<double>& Y, std::vector<double>& acc) {
    // 2.1 The segments from P's to Q's.
    segs.assign(1, P->GetBdy());
    while (segs.back() != Q->GetBdy() && static_cast<int>(segs.size()) <= kMaxSteps) {
        const CKpBdy* next = segs.back()->Next();
        if (!next) return true;  // an open ring: nothing to develop along
        segs.push_back(next);
    }
    const int n = static_cast<int>(segs.size()) - 1;
    if (n >= kMaxSteps) {
        report(msg, 4, "Too many boundaries between flat pattern points.");
        return true;
    }

    const double m = 0.5 * (P->GetShear() + Q->GetShear());
    const double b = a - m;
    if (std::fabs(std::sin(b)) < kTinySine) {
        if (msg)
            msg->Create(4,
                        "Cannot develop the boundary between flat pattern points: included "
                        "fabric angle %g.",
                        b);
        return false;
    }

    // 2.2 Lengths in steps; V(k) is the end vertex of segs[k].
    std::vector<CKpPoint> V(n);
    L.assign(n + 1, 0.0);
    for (int k = 0; k <= n; ++k) {
        CKpPoint s0, s1;
        if (!segEnds(facets, segs[k], s0, s1)) return true;
        if (k < n) V[k] = s1;
        if (k == 0)
            L[k] = dist_2pt(&P->GetPosition(), &s1);
        else if (k == n)
            L[k] = dist_2pt(&s0, &Q->GetPosition());
        else
            L[k] = dist_2pt(&s0, &s1);
        L[k] /= step;
    }

    // 2.3-2.4 Headings: P's, turned at each vertex, then bent evenly so
    // that the last one meets Q's.
    phi.assign(n + 1, 0.0);
    phi[0] = heading(facets, segs[0], P, a, m);
    for (int k = 1; k <= n; ++k) {
        double interior = kPi;
        CalcBoundaryAngle(facets, segs[k], &interior);
        phi[k] = pi_pi(phi[k - 1] + pi_pi(kPi - interior));
    }
    const double bend = pi_pi(heading(facets, segs[n], Q, a, m) - phi[n]) / n;
    for (int k = 1; k <= n; ++k) phi[k] += bend;

    // 2.5 The developed line in the sheared frame, corrected onto Q in
    // proportion to the length run.
    X.assign(n + 2, 0.0);
    Y.assign(n + 2, 0.0);
    acc.assign(n + 2, 0.0);
    for (int k = 0; k <= n; ++k) {
        X[k + 1] = X[k] + L[k] * std::cos(phi[k]);
        Y[k + 1] = Y[k] + L[k] * std::sin(phi[k]);
        acc[k + 1] = acc[k] + L[k];
    }
    const double sinA = std::sin(a), cotA = std::cos(a) / sinA;
    const double sinB = std::sin(b), cotB = std::cos(b) / sinB;
    const double dU = Q->getU() - P->getU(), dV = Q->getV() - P->getV();
    const double t = dV / sinA, s = dU - dV * cotA;
    const double gx = std::cos(b) * t + s - X[n + 1], gy = std::sin(b) * t - Y[n + 1];
    if (acc[n + 1] > 0.0)
        for (int k = 1; k <= n + 1; ++k) {
            X[k] += gx * acc[k] / acc[n + 1];
            Y[k] += gy * acc[k] / acc[n + 1];
        }

    // 2.6 Each vertex as a flat point: the step split into weft (w) and
    // warp (g) counts of the sheared frame, laid out in the fabric's.
    CKpFlatPatPt* prev = P;
    for (int k = 0; k < n; ++k) {
        const double dx = X[k + 1] - X[k], dy = Y[k + 1] - Y[k];
        const double w = dy / sinB, g = dx - dy * cotB;
        CKpFlatPatPt* f = new (std::nothrow) CKpFlatPatPt;
        if (!f) throw std::bad_alloc();
        f->SetUV(prev->getU() + g + std::cos(a) * w, prev->getV() + sinA * w);
        f->SetPosition(V[k]);
        chain->InsertAfter(prev, f);
        prev = f;
    }
    return true;
}

}  // namespace

int RefineFlatPattern(CKpMsg* msg, CKpFacetStore* facets, CKpBdy* ring, CKpFlatPat* pat, double a,
                      double step) {
    if (!ring) {
        report(msg, 1, "No boundary created.");
        return -1;
    }
    if (!pat || !pat->GetPoints().First()) {
        report(msg, 1, "No flat pattern created.");
        return -1;
    }
    if (!facets || !(step > 0.0) || !std::isfinite(step) || !std::isfinite(a) ||
        std::fabs(std::sin(a)) < kTinySine) {
        if (msg)
            msg->Create(4, "Invalid step %g or warp-weft angle %g for flat pattern refinement.",
                        step, a);
        return -1;
    }
    CKpFlatPatPtStore* chain = pat->pPoints();
    int result = 0;
    try {
        // 1. Match each point with its segment.
        std::vector<CKpFlatPatPt*> pts;
        const int nSeg = CKpBdyStore::GetNumSegs(ring);
        CKpBdy* last = ring;
        for (CKpFlatPatPt* p = chain->First(); p; p = p->getNext()) {
            pts.push_back(p);
            p->SetBdy(nullptr);
            CKpBdy* s = last;
            for (int k = 0; k < nSeg && s; ++k, s = s->Next())
                if (onSegment(facets, s, p)) {
                    p->SetBdy(s);
                    last = s;
                    break;
                }
            if (!p->GetBdy() && msg)
                msg->Create(1, "Cannot find boundary for flat pattern point fu %10g fv %10g.",
                            p->getU(), p->getV());
        }

        // 2. Develop the boundary between neighbours on different segments.
        std::vector<const CKpBdy*> segs;
        std::vector<double> L, phi, X, Y, acc;
        const size_t n = pts.size();
        for (size_t k = 0; k < n; ++k) {
            CKpFlatPatPt* P = pts[k];
            CKpFlatPatPt* Q = pts[(k + 1) % n];
            if (!P->GetBdy() || !Q->GetBdy() || P->GetBdy() == Q->GetBdy()) continue;
            if (!developPair(msg, facets, chain, P, Q, a, step, segs, L, phi, X, Y, acc))
                result = -1;
        }
    } catch (const std::bad_alloc&) {
        report(msg, 4, "Could not allocate memory.");
        return -1;
    }
    return result;
}

int MinimiseFlatPattern(CKpFlatPat* pat, double angTol, double distFactor) {
    if (!pat) return -1;
    double umin, umax, vmin, vmax;
    if (pat->GetPoints().GetBounds(umin, umax, vmin, vmax) != 0) return -1;
    const double tol = distFactor * 0.01 * std::fmin(umax - umin, vmax - vmin);
    // The points are linked into a plot list only for the thinning; the
    // chain keeps owning them.
    CKpPlotPointStore list;
    for (CKpFlatPatPt* p = pat->pPoints()->First(); p; p = p->getNext()) list.InsertLast(p);
    list.Minimize(angTol, tol);
    while (list.DeleteFirst()) {
    }
    return 0;
}
