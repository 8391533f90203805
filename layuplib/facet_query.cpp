#include "layuplib/angle_util.h"
#include "layuplib/facet_query.h"

#include <algorithm>
#include <cmath>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetIntPts.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpPlane.h"
#include "layuplib/CKpSortStore.h"
#include "layuplib/geom_util.h"

namespace {

const int kWobbleSteps = 64;
const double kFar = 1e12;
// A point this close to an edge's line, relative to the edge's length and
// to the magnitudes the hit was computed from, lies on the edge: a hit on a
// shared edge computed in rounded arithmetic may fall a few ulps outside
// both facets otherwise.
const double kOnEdge = 1e-12;
// Rounding allowance of the wobble stop test, relative to the distances.
const double kStopSlack = 1e-9;

// Whether a facet takes part in a search restricted by `all`.
bool inSelection(const CKpFacet* facet, int all) {
    if (all) return true;
    const CKpElem* elem = facet->getElement();
    return elem && elem->getSltd();
}

// Candidate of a whole-store scan: present, visible, in the selection.
bool scanCandidate(const CKpFacet* facet, int all) {
    return facet && !facet->getHidden() && inSelection(facet, all);
}

double dot(const CKpTriplet& a, const CKpTriplet& b) {
    return a.getx() * b.getx() + a.gety() * b.gety() + a.getz() * b.getz();
}

CKpDirn diff(const CKpPoint& a, const CKpPoint& b) {  // a - b
    CKpDirn d;
    d.Set(a.getx() - b.getx(), a.gety() - b.gety(), a.getz() - b.getz());
    return d;
}

// The component of v perpendicular to the unit direction e.
CKpDirn perpendicular(const CKpDirn& v, const CKpDirn& e) {
    CKpDirn p = v;
    CKpDirn along = e;
    along.Scale(dot(v, e));
    p.AddXYZ(-along.getx(), -along.gety(), -along.getz());
    return p;
}

// Distance of x from the line through p along the unit direction e.
double offsetFromLine(const CKpPoint& x, const CKpPoint& p, const CKpDirn& e) {
    return perpendicular(diff(x, p), e).mag();
}

// Whether x lies on the inner side of the edge a-b, the side of c, or on
// the edge (within kOnEdge of the edge's length plus `reach`).
bool insideEdge(const CKpPoint& a, const CKpPoint& b, const CKpPoint& c, const CKpPoint& x,
                double reach) {
    CKpDirn e = diff(b, a);
    const double len = e.mag();
    e.unitize();
    CKpDirn toC = perpendicular(diff(c, a), e);
    CKpDirn toX = perpendicular(diff(x, a), e);
    if (toX.mag() <= kOnEdge * (len + reach)) return true;
    toC.unitize();
    toX.unitize();
    return dot(toC, toX) >= 0.0;
}

// A line prepared for many facets: its unit direction and two unit
// directions across it, spanning with it two planes that contain the line.
struct Probe {
    CKpLine line;  // u of unit length (or zero)
    CKpDirn across[2];
};

Probe makeProbe(CKpLine line) {
    Probe probe;
    line.u.unitize();
    probe.line = line;
    const double ax = std::fabs(line.u.getx()), ay = std::fabs(line.u.gety()),
                 az = std::fabs(line.u.getz());
    CKpDirn axis;
    if (ax <= ay && ax <= az)
        axis.Set(1.0, 0.0, 0.0);
    else if (ay <= az)
        axis.Set(0.0, 1.0, 0.0);
    else
        axis.Set(0.0, 0.0, 1.0);
    probe.across[0].setCrossProduct(&line.u, &axis);
    probe.across[0].unitize();
    probe.across[1].setCrossProduct(&line.u, &probe.across[0]);
    return probe;
}

// Whether all three vertices lie on one side of a plane containing the
// line, by a margin far above rounding and the on-edge allowance, so that
// the full test could not find a hit. Saves the plane and inside tests for
// nearly every facet of a scan.
bool clearlyMisses(const Probe& probe, const CKpPoint* const v[3]) {
    double scale = std::max({std::fabs(probe.line.P.getx()), std::fabs(probe.line.P.gety()),
                             std::fabs(probe.line.P.getz())});
    double s[2][3];
    for (int k = 0; k < 3; ++k) {
        const CKpDirn d = diff(*v[k], probe.line.P);
        scale =
            std::max({scale, std::fabs(d.getx()), std::fabs(d.gety()), std::fabs(d.getz()),
                      std::fabs(v[k]->getx()), std::fabs(v[k]->gety()), std::fabs(v[k]->getz())});
        s[0][k] = dot(d, probe.across[0]);
        s[1][k] = dot(d, probe.across[1]);
    }
    const double margin = 1e-9 * scale;
    for (const double* side : s) {
        if (side[0] > margin && side[1] > margin && side[2] > margin) return true;
        if (side[0] < -margin && side[1] < -margin && side[2] < -margin) return true;
    }
    return false;
}

// CalcPointFacetLine on a prepared line.
int hitFacet(const Probe& probe, const CKpFacet* facet, double tmin, double tmax, CKpPoint& point) {
    if (!facet) return -1;
    const CKpPoint* const v[3] = {facet->getCKpPoint(0), facet->getCKpPoint(1),
                                  facet->getCKpPoint(2)};
    if (!v[0] || !v[1] || !v[2]) return -1;
    const CKpLine& line = probe.line;

    // Quick rejections: the whole facet before tmin or beyond tmax, or
    // plainly beside the line.
    int below = 0, above = 0;
    for (int k = 0; k < 3; ++k) {
        const double t = dot(diff(*v[k], line.P), line.u);
        below += t < tmin;
        above += t > tmax;
    }
    if (below == 3 || above == 3) return -1;
    if (clearlyMisses(probe, v)) return -1;

    // The facet's plane; a degenerate facet or a parallel line misses.
    CKpPlane plane;
    if (plane.Set3Points(v[0], v[1], v[2]) != 0) return -1;
    CKpPoint hit;
    if (line_plane(nullptr, line, plane, &hit) != 0) return -1;

    // Within the parameter range, bounds included.
    const double t = dot(diff(hit, line.P), line.u);
    if (t < tmin || t > tmax) return -1;

    // Inside the triangle, edges included.
    const double reach = std::fabs(t) + std::max({std::fabs(hit.getx()), std::fabs(hit.gety()),
                                                  std::fabs(hit.getz())});
    if (!insideEdge(*v[0], *v[1], *v[2], hit, reach) ||
        !insideEdge(*v[1], *v[2], *v[0], hit, reach) ||
        !insideEdge(*v[2], *v[0], *v[1], hit, reach))
        return -1;

    point = hit;
    return 0;
}

void reportStep(CKpMsg* msg, const CKpFacetStore* facets, int k, const CKpPoint& hit, int facet,
                double dist) {
    if (!msg) return;
    msg->Create(1, " iter %2d point [%G,%G,%G] on elem %d at dist %G chosen", k, hit.getx(),
                hit.gety(), hit.getz(), facets->GetElemId(facet), dist);
}

}  // namespace

double CalcDiagonalFacets(const CKpFacetStore* facets) {
    if (!facets) return 0.0;
    double lo[3] = {0.0, 0.0, 0.0};
    double hi[3] = {0.0, 0.0, 0.0};
    bool any = false;
    for (int i = 0; i < facets->entries(); ++i) {
        const CKpFacet* facet = facets->pFac(i);
        if (!facet) continue;
        for (int v = 0; v < 3; ++v) {
            const CKpPoint* p = facet->getCKpPoint(v);
            if (!p) continue;
            for (int k = 0; k < 3; ++k) {
                const double c = p->Get(k);
                lo[k] = any ? std::min(lo[k], c) : c;
                hi[k] = any ? std::max(hi[k], c) : c;
            }
            any = true;
        }
    }
    if (!any) return 0.0;
    return std::sqrt((hi[0] - lo[0]) * (hi[0] - lo[0]) + (hi[1] - lo[1]) * (hi[1] - lo[1]) +
                     (hi[2] - lo[2]) * (hi[2] - lo[2]));
}

void SetClosestPoint(const CKpPoint& ref, CKpPoint& bestPoint, int& bestFacet,
                     const CKpPoint& candPoint, int candFacet) {
    if (candFacet == -1) return;
    if (bestFacet == -1 || dist_2pt(&ref, &candPoint) < dist_2pt(&ref, &bestPoint)) {
        bestPoint = candPoint;
        bestFacet = candFacet;
    }
}

int CalcPointFacetLine(CKpMsg* /*msg*/, const CKpFacet* facet, CKpLine line, double tmin,
                       double tmax, CKpPoint& point) {
    return hitFacet(makeProbe(line), facet, tmin, tmax, point);
}

int CalcAllPointsFacetsRay(CKpMsg* /*msg*/, const CKpFacetStore* facets, CKpLine line, double tmin,
                           double tmax, int all, const CKpSortStore* sort, int first, int count,
                           CKpFacetIntPts& hits) {
    hits.Clear();
    if (!facets) return -1;
    const Probe probe = makeProbe(line);
    CKpPoint hit;
    if (sort) {
        const int lo = std::max(first, 0);
        const long long end = std::min(static_cast<long long>(first) + std::max(count, 0),
                                       static_cast<long long>(sort->GetSize()));
        for (long long pos = lo; pos < end; ++pos) {
            const int index = sort->GetIndex(static_cast<int>(pos));
            const CKpFacet* facet = facets->pFac(index);
            if (!facet || !inSelection(facet, all)) continue;
            if (hitFacet(probe, facet, tmin, tmax, hit) == 0) hits.AddPt(index, hit);
        }
    } else {
        for (int i = 0; i < facets->entries(); ++i) {
            const CKpFacet* facet = facets->pFac(i);
            if (!scanCandidate(facet, all)) continue;
            if (hitFacet(probe, facet, tmin, tmax, hit) == 0) hits.AddPt(i, hit);
        }
    }
    if (hits.GetNumPts() == 0) return -1;
    hits.SortPointsDistance(&line.P);
    return 0;
}

int CalcClosestPointFacetsRay(CKpMsg* msg, const CKpFacetStore* facets, CKpLine line, double tmin,
                              double tmax, int all, const CKpSortStore* sort, int first, int count,
                              int& facet, CKpPoint& point) {
    CKpFacetIntPts hits;
    if (CalcAllPointsFacetsRay(msg, facets, line, tmin, tmax, all, sort, first, count, hits) != 0)
        return 1;
    if (hits.GetNumPts() < 1) return 2;
    int f = -1;
    CKpPoint p;
    if (hits.GetPt(0, &f, &p) != 0) return 3;
    facet = f;
    point = p;
    return 0;
}

int CalcPointFacetsView(CKpMsg* msg, const CKpFacetStore* facets, CKpLine line, double tmin,
                        double tmax, double wobble, int all, int& facet, CKpPoint& point,
                        int& side) {
    const CKpPoint P = line.P;
    const CKpDirn d = line.u;
    if (msg)
        msg->Create(1, "Start point [%G,%G,%G] direction <%G,%G,%G> wobble %G", P.getx(), P.gety(),
                    P.getz(), d.getx(), d.gety(), d.getz(), wobble);
    if (!facets) return -1;

    // 2. Offsets across the line; near the x axis the y axis builds them.
    CKpDirn e;
    e.Set(1.0, 0.0, 0.0);
    if (std::fabs(std::cos(d.Angle(&e))) >= std::cos(kPi * 0.0005555555555555556))
        e.Set(0.0, 1.0, 0.0);
    CKpDirn p, q;
    p.setCrossProduct(&e, &d);
    q.setCrossProduct(&d, &p);
    CKpDirn unitD = d;
    unitD.unitize();

    // 3. Spiral out until the best hit lies within the current radius.
    CKpFacetIntPts hits;
    int best = -1;
    CKpPoint bestPoint;
    for (int k = 0; k <= kWobbleSteps; ++k) {
        const double r = static_cast<double>(k) / kWobbleSteps * wobble;
        const double a = k * kPi / 8.0 + 0.2;
        CKpLine ray;
        ray.u = d;
        ray.P = P;
        ray.P.AddXYZ(r * (std::cos(a) * q.getx() + std::sin(a) * p.getx()),
                     r * (std::cos(a) * q.gety() + std::sin(a) * p.gety()),
                     r * (std::cos(a) * q.getz() + std::sin(a) * p.getz()));
        int f = -1;
        CKpPoint hit;
        if (CalcAllPointsFacetsRay(msg, facets, ray, tmin, tmax, all, nullptr, 0, 0, hits) == 0 &&
            hits.GetPt(0, &f, &hit) == 0) {
            if (best == -1 || dist_2pt(&P, &hit) < dist_2pt(&P, &bestPoint)) {
                SetClosestPoint(P, bestPoint, best, hit, f);
                reportStep(msg, facets, k, bestPoint, best, dist_2pt(&P, &bestPoint));
            }
        }
        if (best != -1) {
            const double off = offsetFromLine(bestPoint, P, unitD);
            if (off <= r + kStopSlack * (r + dist_2pt(&P, &bestPoint))) break;
        }
    }

    // 4. The side from the best facet's normal.
    if (best == -1) return -1;
    CKpDirn n;
    facets->pFac(best)->GetNormal(&n);
    const double dn = dot(d, n);
    facet = best;
    point = bestPoint;
    side = dn > 0.0 ? -1 : (dn < 0.0 ? 1 : 0);
    return 0;
}

int CalcPointFacetsPoint(CKpMsg* msg, const CKpFacetStore* facets, CKpPoint point, int& facet,
                         CKpPoint& hit, int all) {
    if (!facets) return -1;
    int best = -1;
    CKpPoint bestPoint;
    for (int i = 0; i < facets->entries(); ++i) {
        const CKpFacet* f = facets->pFac(i);
        if (!scanCandidate(f, all)) continue;
        CKpLine line;
        line.P = point;
        f->GetNormal(&line.u);
        CKpPoint h;
        if (CalcPointFacetLine(msg, f, line, -kFar, kFar, h) == 0)
            SetClosestPoint(point, bestPoint, best, h, i);
    }
    if (best == -1) return -1;
    facet = best;
    hit = bestPoint;
    return 0;
}

int CalcPointFacetsPointWobble(CKpMsg* msg, const CKpFacetStore* facets, CKpPoint point, int& facet,
                               CKpPoint& hit) {
    const double w = 0.002 * CalcDiagonalFacets(facets);
    if (w == 0.0) return -1;
    if (msg)
        msg->Create(1, "Start point [%G,%G,%G] wobble %G", point.getx(), point.gety(), point.getz(),
                    w);

    int best = -1;
    CKpPoint bestPoint;
    for (int k = 0; k <= kWobbleSteps; ++k) {
        const double r = static_cast<double>(k) / kWobbleSteps * w;
        const double a = k * kPi / 8.0 + 0.2;
        CKpPoint Q = point;
        Q.AddXYZ(r * std::cos(a), r * std::cos(a + kPi / 2.0), r * std::cos(a + kPi));
        int f = -1;
        CKpPoint h;
        if (CalcPointFacetsPoint(msg, facets, Q, f, h, 0) == 0) {
            if (best == -1 || dist_2pt(&point, &h) < dist_2pt(&point, &bestPoint)) {
                SetClosestPoint(point, bestPoint, best, h, f);
                reportStep(msg, facets, k, bestPoint, best, dist_2pt(&point, &bestPoint));
            }
        }
        if (best != -1) {
            // The line the point was projected along: through it along the
            // best facet's normal.
            CKpDirn n;
            facets->pFac(best)->GetNormal(&n);
            const double off = offsetFromLine(bestPoint, point, n);
            if (off <= r + kStopSlack * (r + dist_2pt(&point, &bestPoint))) break;
        }
    }
    if (best == -1) {
        if (msg) msg->Create(1, "View point cannot be projected onto selected region of surface.");
        return -1;
    }
    facet = best;
    hit = bestPoint;
    return 0;
}
