#ifndef PLYSTRAND_LAYUPLIB_FACET_QUERY_H
#define PLYSTRAND_LAYUPLIB_FACET_QUERY_H

// Lines and points against the faceted surface: where a line pierces one
// facet, every facet pierced by a ray (sorted by distance), the nearest hit
// of a ray found by "wobbling" its origin on a growing spiral, the nearest
// facet point straight below a point, and the size of the surface.
//
// Conventions shared by every function here:
//   - lengths are model units, positions in the basic frame;
//   - a line is CKpLine (point P, direction u); its parameter t is the
//     distance from P along the UNIT direction (the direction is normalised
//     inside, so its length does not scale t);
//   - facets are addressed by their index in the facet store;
//   - `all` = 0 restricts a search to facets whose element exists and is
//     selected (CKpElem::getSltd); any other value takes every facet. A
//     scan of the whole store always skips hidden facets
//     (CKpFacet::getHidden non-zero);
//   - the message log `msg` may be null; only the wobble searches write to
//     it (information, severity 1). A plain miss reports nothing.

#include "layuplib/CKpLine.h"
#include "layuplib/CKpPoint.h"

class CKpFacet;
class CKpFacetIntPts;
class CKpFacetStore;
class CKpMsg;
class CKpSortStore;

// Length of the diagonal of the axis-aligned box around every vertex of
// every facet of `facets` (read); 0.0 for a null store, a store without
// facets or facets without nodes.
double CalcDiagonalFacets(const CKpFacetStore* facets);

// Keeps the nearest of two candidates. When `candFacet` is not -1, the
// candidate (`candPoint`, `candFacet`) replaces the best (`bestPoint`,
// `bestFacet`, both read and written) when there is no best yet
// (`bestFacet` -1) or when it is strictly closer to `ref` than the best.
void SetClosestPoint(const CKpPoint& ref, CKpPoint& bestPoint, int& bestFacet,
                     const CKpPoint& candPoint, int candFacet);

// Where `line` pierces `facet` (read) with tmin <= t <= tmax (bounds
// included). A hit on an edge or a vertex counts: a hit within 1e-12 x
// (edge length + |t| + largest |coordinate| of the hit) of an edge's line
// lies on it, so that a ray through a shared edge is not lost to rounding
// on both facets. A line parallel
// to the facet's plane, a degenerate facet, a facet without its three
// nodes and a null facet miss.
// 0 and the hit in `point`; -1 on a miss (`point` not written). `msg` is
// not written.
int CalcPointFacetLine(CKpMsg* msg, const CKpFacet* facet, CKpLine line, double tmin, double tmax,
                       CKpPoint& point);

// Every facet pierced by `line` within [tmin, tmax], into `hits` (emptied
// first), sorted by ascending distance from the line's point (the list's
// origin becomes that point).
//   sort         null: every facet of the store that is not hidden is a
//                candidate. Otherwise the candidates are the facets whose
//                indices stand at positions first .. first + count - 1 of
//                the sort store (CKpSortStore::GetIndex; positions outside
//                the table and indices without a facet are skipped; hidden
//                facets are not skipped here, the caller chose them).
//   first, count read only with a sort store.
//   all          see above.
// 0 when there is at least one hit; -1 when there is none (also for a null
// store). A hit that cannot be stored for lack of memory is dropped.
int CalcAllPointsFacetsRay(CKpMsg* msg, const CKpFacetStore* facets, CKpLine line, double tmin,
                           double tmax, int all, const CKpSortStore* sort, int first, int count,
                           CKpFacetIntPts& hits);

// The hit of CalcAllPointsFacetsRay (same arguments) nearest to the line's
// point: 0 with its facet index in `facet` and its position in `point`;
// 1 when there is no hit; 2 when the hit list came back empty; 3 when its
// first hit cannot be read. On a non-zero result nothing is written.
int CalcClosestPointFacetsRay(CKpMsg* msg, const CKpFacetStore* facets, CKpLine line, double tmin,
                              double tmax, int all, const CKpSortStore* sort, int first, int count,
                              int& facet, CKpPoint& point);

// The point where the line of sight (P, d) = `line` meets the surface,
// searched with a wobble of radius `wobble` (model units) around P:
//   1. information "Start point [%G,%G,%G] direction <%G,%G,%G> wobble %G"
//      (P, d as given, wobble);
//   2. offsets p = e x d and q = d x p (not normalised) with e the x axis,
//      or the y axis when d lies within 0.1 degree of the x axis (either
//      sense);
//   3. for k = 0 .. 64: origin O = P + r (cos a q + sin a p), r = k/64
//      wobble, a = k pi/8 + 0.2; the nearest hit of the line (O, d) with
//      the facets in [tmin, tmax] (all non-hidden facets, selected ones
//      unless `all`) becomes the best when there is none yet or it is
//      strictly closer to P, reported as the information " iter %2d point
//      [%G,%G,%G] on elem %d at dist %G chosen" (k, hit, element id,
//      distance from P). The search stops after step k when the best hit
//      lies within r of the line (P, d) (its offset from that line, with a
//      relative allowance of 1e-9 for rounding), so a direct hit stops at
//      k = 0.
// 0 with the best hit's facet index, the hit, and `side` = -1 when d runs
// along the facet's normal (d . n > 0), +1 when against it, 0 when
// perpendicular; -1 when nothing was hit (outputs not written, also for a
// null store).
int CalcPointFacetsView(CKpMsg* msg, const CKpFacetStore* facets, CKpLine line, double tmin,
                        double tmax, double wobble, int all, int& facet, CKpPoint& point,
                        int& side);

// The point of the surface nearest to `point` straight below it: for each
// non-hidden facet (selected ones unless `all`), the line from `point`
// along the facet's unit normal is intersected with the facet (t within
// +-1e12); the hit closest to `point` wins (a later one only when strictly
// closer). 0 with its facet index in `facet` and the hit in `hit`; -1 when
// there is none (also for a null or empty store; outputs not written).
int CalcPointFacetsPoint(CKpMsg* msg, const CKpFacetStore* facets, CKpPoint point, int& facet,
                         CKpPoint& hit, int all);

// CalcPointFacetsPoint on the selected facets, searched with a wobble
// around `point`:
//   1. w = 0.002 x CalcDiagonalFacets; -1 at once (no message) when w is 0;
//   2. information "Start point [%G,%G,%G] wobble %G" (point, w);
//   3. for k = 0 .. 64: Q = point + r (cos a, cos(a + pi/2), cos(a + pi)),
//      r = k/64 w, a = k pi/8 + 0.2; the hit of CalcPointFacetsPoint (Q,
//      selected facets) becomes the best when there is none yet or it is
//      strictly closer to `point`, reported as the information " iter %2d
//      point [%G,%G,%G] on elem %d at dist %G chosen". The search stops
//      after step k when the best hit lies within r of the line through
//      `point` along its facet's normal (allowance as above), so a point
//      straight above a selected facet stops at k = 0.
// 0 with the facet index and the hit; -1 with the information "View point
// cannot be projected onto selected region of surface." when nothing was
// found (outputs not written).
int CalcPointFacetsPointWobble(CKpMsg* msg, const CKpFacetStore* facets, CKpPoint point, int& facet,
                               CKpPoint& hit);

#endif  // PLYSTRAND_LAYUPLIB_FACET_QUERY_H
