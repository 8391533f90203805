#ifndef PLYSTRAND_LAYUPLIB_GEOM_UTIL_H
#define PLYSTRAND_LAYUPLIB_GEOM_UTIL_H

// Distances, angles, intersections, rotations and local axes on points and
// directions. Angles are radians; lengths are model units. Unless a function
// says otherwise, a null pointer argument gives 0 (or 0.0) and writes
// nothing.

#include "layuplib/CKpDirn.h"
#include "layuplib/CKpLine.h"
#include "layuplib/CKpPlane.h"
#include "layuplib/CKpPoint.h"

class CKpMsg;
class CKpCoord;
class CKpFacet;

// ---- Distances and comparisons ----

// |b - a|.
inline double dist_2pt(const CKpPoint* a, const CKpPoint* b) {
    if (!a || !b) return 0.0;
    CKpDirn d;
    d.set2pts(a, b);
    return d.mag();
}

// Writes the midpoint of a and b into `out`. 0; -1 for a null pointer.
int midpt_2pt(const CKpPoint* a, const CKpPoint* b, CKpPoint* out);

// 1 when a and b differ by strictly less than `tol` on each of x, y and z
// (a box test, not a sphere), else 0. The two names are the same test.
int compare_pt(const CKpPoint* a, const CKpPoint* b, double tol);
int nearby(const CKpPoint* a, const CKpPoint* b, double tol);

// Distance from p to the segment a-b (CKpLine::DistPoint): 0 and the
// distance in *dist (when dist is not null); -1 when the foot of the
// perpendicular lies outside the segment, a equals b or a pointer is null
// (*dist not written).
int dist_line_point(const CKpPoint* a, const CKpPoint* b, const CKpPoint* p, double* dist);

// ---- Intersections ----

// Where `line` (P + t·u) meets `plane` within its segment (0 <= t <= 1):
// 1 and the point in *out (when out is not null); 0 when the line is
// parallel to the plane or meets it outside the segment (out not written).
int int_line_edge(CKpLine line, CKpPlane plane, CKpPoint* out);

// Where the infinite `line` meets `plane`: 0 and the point in *out. -1 when
// the line is parallel to the plane (u·normal exactly 0), with the
// information "Could not calculate intersection of line and plane." in `log`
// (when log is not null); -1 without a message when out is null.
int line_plane(CKpMsg* log, CKpLine line, CKpPlane plane, CKpPoint* out);

// ---- Areas and angles ----

// Area of the triangle a, b, c: |(b - a) × (c - a)| / 2.
double calc_area(const CKpPoint* a, const CKpPoint* b, const CKpPoint* c);

// The angle at p0 between p1 - p0 and p2 - p0, in [0, pi]; 0 when either
// side has length 0; parallel sides give 0 and opposite sides pi even when
// rounding pushes the cosine outside [-1, 1]. calc_angle writes it into
// *ang and returns 0 (-1 for a null pointer, *ang not written).
int calc_angle(const CKpPoint* p0, const CKpPoint* p1, const CKpPoint* p2, double* ang);
double ang_3pts(const CKpPoint* p0, const CKpPoint* p1, const CKpPoint* p2);

// The angle between b - a and d - c, with the rules of ang_3pts.
double ang_4pts(const CKpPoint* a, const CKpPoint* b, const CKpPoint* c, const CKpPoint* d);

// The angle between d1 and d2, with the rules of ang_3pts (CKpDirn::Angle).
double ang_2dirns(const CKpDirn* d1, const CKpDirn* d2);

// ---- Local axes ----

// Right-handed unit axes from three points: x along p1 - p0, z along
// x × (p2 - p0), y = z × x. A zero vector stays zero (coincident or
// collinear points give zero axes). Writes x, y, z; a null pointer anywhere
// writes nothing.
inline void SetAxes3Points(const CKpPoint* p0, const CKpPoint* p1, const CKpPoint* p2, CKpDirn* x,
                           CKpDirn* y, CKpDirn* z) {
    if (!p0 || !p1 || !p2 || !x || !y || !z) return;
    CKpDirn ex;
    ex.set2pts(p0, p1);
    ex.unitize();
    CKpDirn toP2;
    toP2.set2pts(p0, p2);
    CKpDirn ez;
    ez.setCrossProduct(&ex, &toP2);
    ez.unitize();
    CKpDirn ey;
    ey.setCrossProduct(&ez, &ex);
    // Already unit when ez and ex are; unitize only removes rounding.
    ey.unitize();
    *x = ex;
    *y = ey;
    *z = ez;
}

// The in-plane angle of p1 - p0 measured from the edge f0-f1 of the triangle
// f0, f1, f2 (axes of SetAxes3Points(f0, f1, f2)): atan2(y·v, x·v) with
// v = p1 - p0, from -pi to pi (atan2).
double ang_fac(const CKpPoint* p0, const CKpPoint* p1, const CKpPoint* f0, const CKpPoint* f1,
               const CKpPoint* f2);

// The angle of d in the frame's local xy plane: atan2 of d's components
// along the frame's local y and x axes (CKpCoord::axes), radians, -pi..pi.
// -1000.0 (angle not set) for a null frame or one without Cartesian axes
// (not rectangular).
double ang_dn_coord(CKpDirn d, CKpCoord* frame);

// The angle of d about `normal`, measured from `xaxis`: with the unit axes
// x = xaxis and y = normal × xaxis, atan2(y·d, x·d), -pi to pi. -1000.0
// (angle not set) when d is zero, with the information "Could not calculate
// angle on element, null dn.", or when normal × xaxis is zero, with "Could
// not calculate angle on element, null local_y." (messages only when log is
// not null).
double ang_dn_elem(CKpMsg* log, CKpDirn d, CKpDirn normal, CKpDirn xaxis);

// ---- Rotations ----

// Writes into *out the point p rotated by `angle` (right-hand rule) about
// the axis running from p0 to p1. Writes nothing when p0 equals p1 or a
// pointer is null. `out` may be `p`.
void rotate_axis(const CKpPoint* p0, const CKpPoint* p1, const CKpPoint* p, CKpPoint* out,
                 double angle);

// Writes into *out the direction d rotated by `angle` (right-hand rule)
// about the direction `axis` through the origin (axis need not be unit).
// Writes nothing when axis is zero or a pointer is null. `out` may be `d`.
void rotate_dirn_dirn(const CKpDirn* axis, const CKpDirn* d, double angle, CKpDirn* out);

// ---- Directions on a facet ----

// The facet's in-plane unit direction at `angle` (radians) from its first
// edge (CKpFacet::GetDirn); (0, 0, 0) for a null or degenerate facet.
CKpDirn dirn_ang(CKpFacet* facet, double angle);

// The angle of d on the facet, from its first edge (CKpFacet::GetAngle),
// radians, -pi..pi; -1000.0 (angle not set) for a null facet.
double ang_dirn(CKpFacet* facet, CKpDirn d);

#endif  // PLYSTRAND_LAYUPLIB_GEOM_UTIL_H
