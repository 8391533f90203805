#ifndef PLYSTRAND_LAYUPLIB_CALCSTART_H
#define PLYSTRAND_LAYUPLIB_CALCSTART_H

// Where a ply starts on the faceted surface: the start facet and point seen
// from an eye point along the application direction (CalcStart), and the
// warp and weft angles there from a reference direction (CalcStartDirn).
// Lengths are model units in the basic frame; angles radians. Facets are
// addressed by their index in the facet store. The message log `msg` may
// be null (nothing is reported then).

#include "layuplib/CKpDirn.h"
#include "layuplib/CKpPoint.h"

class CKpFacet;
class CKpFacetStore;
class CKpMsg;
class CKpPlane;

// The start of a ply on the selected facets, looking from `point` along
// `dirn` (its length does not matter beyond the checks below):
//   1. |dirn| below 1e-6: the error "The application direction vector has
//      a magnitude which is smaller than the minimum allowable value of
//      1e-06. Please define the application direction more clearly.", -1;
//   2. wobble w = 0.002 x CalcDiagonalFacets; -1 without a message when the
//      surface has no size;
//   3. CalcPointFacetsView (facet_query.h) with the line (point, dirn), t
//      within +-1e12, wobble w, selected facets only;
//   4. nothing hit: with `fallback` non-zero the closest point of the
//      selected surface along the segment from `point` to `point` + `dirn`
//      (CKpFacetStore::GetClosestPoint). Still nothing: `facet` = -1, the
//      warning "Starting point not found on or near selected region of
//      surface.", -1;
//   5. the hit is moved 0.001 of the way towards its facet's centroid, so
//      that it lies strictly inside the facet.
// 0 with `facet` (its index), `start` (the point) and `side` (+1 when
// `dirn` runs against the facet's normal, -1 along it, 0 perpendicular).
// On -1 `start` and `side` are not written; `facet` only in step 4.
int CalcStart(CKpMsg* msg, CKpFacetStore* facets, CKpPoint point, CKpDirn dirn, int fallback,
              int& facet, CKpPoint& start, int& side);

// The start warp and weft angles on `facet` (read) at `start` (a point on
// it), in the facet's angle frame (CKpFacet::GetAngle, radians, -pi..pi):
//   appl     application direction E;
//   ref      reference direction R (length at least 1e-6);
//   refang   angle a of the warp from R, radians;
//   axstp    axis type: 0 and 1 rotate about the facet's normal N, 2 about
//            E (N is then taken as zero);
//   wpwtang  angle b between warp and weft, radians.
// The warp point is start + R rotated about the axis through `start` by +a
// when N . E < 0, else by -a, and projected along E onto the facet's plane
// (point Q); warp = GetAngle(start, Q). Axis types 0 and 1: weft =
// pi_pi(warp + b) when N . E < 0, else pi_pi(warp - b), and the weft point
// is Q turned about the same axis by the same signed b. Axis type 2: the
// rotated point turned by -b about E and projected along E onto the plane
// gives the weft point Q'; weft = GetAngle(start, Q').
//   warpPlane, weftPlane  when not null: written with the plane through
//            `start`, start + axis direction, and the warp (weft) point.
// 0 with `warp` and `weft` written. -1 (outputs may be partly written) for
// a null facet; for |R| below 1e-6 with the error "The reference direction
// vector has a magnitude which is smaller than the minimum allowable value
// of 1e-06. Please define the reference direction more clearly."; for any
// other axis type with the error "The axis type of %d is currently
// unsupported. Please select another axis type."; for a degenerate facet, a
// direction E parallel to the facet's plane, or a degenerate weft plane.
int CalcStartDirn(CKpMsg* msg, const CKpFacet* facet, CKpPoint start, CKpDirn appl, CKpDirn ref,
                  double refang, int axstp, double wpwtang, double& warp, double& weft,
                  CKpPlane* warpPlane, CKpPlane* weftPlane);

#endif  // PLYSTRAND_LAYUPLIB_CALCSTART_H
