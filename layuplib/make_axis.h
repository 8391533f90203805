#ifndef PLYSTRAND_LAYUPLIB_MAKE_AXIS_H
#define PLYSTRAND_LAYUPLIB_MAKE_AXIS_H

// The four start axes of a drape from the seed point. The tracing itself
// (CKpAxis::make_axis, get_firstaxispt, get_nextaxispt, UpdateAxes) is
// declared in CKpAxis.h and defined in make_axis.cpp with this function.

class CKpDrapeSim;
class CKpFacetStore;
class CKpGra;
class CKpMsg;
class CKpPlane;
class CKpPoint;

// Builds the four axes of the drape workspace `sim` (0 +warp, 1 +weft,
// 2 -warp, 3 -weft): each is emptied and gets point 0 at `startPoint` on
// facet `startFacet` (edge 0, edge code 0, sense +1) with the angles (in
// the start facet's local axes, radians) warpAngle, weftAngle,
// pi_pi(pi + warpAngle) and pi_pi(pi + weftAngle). Then by `axisType` (the
// pattern's method field):
//   0, 3, 4  each axis gets its first point only (CKpAxis::get_firstaxispt);
//   1        geodesics: each axis is traced until it reaches a free or
//            divided edge, without a length limit;
//   2        plane sections: the +warp and +weft axes get their first point
//            as in type 0; `warpPlane` and `weftPlane` (their normals are
//            used, their d is replaced so that each passes through the
//            first point of its forward axis) then carry the warp axes and
//            the weft axes from facet to facet: in the entered facet the
//            two edges other than the entry edge are intersected with the
//            plane, edge e+1 first (int_line_edge), and the first that
//            meets it gives the next point (angle: calc_angle at the new
//            point between the edge's end vertex and the previous point).
//            The -warp and -weft axes leave the start facet by the edge
//            other than the one their forward axis crossed. A facet whose
//            other edges miss the plane ends that axis with the warning
//            "Fibre axis %d does not leave facet %d in its plane; the axis
//            ends there." (axis 0..3, facet index).
// Types 1 and 2 end an axis that would not end on a closed surface as
// CKpAxis does (its two warnings). Each axis is drawn in graphics segment 0
// with pen 7 when `gra` is given.
// 0 on success. -1 with an error (when `msg` is given): "No start facet
// specified." (no store, or no facet `startFacet`), "Could not allocate
// memory.", "Could not find first axis point.", "Could not find next axis
// point." (geodesics), "The axis type of %d is currently unsupported.
// Please select another axis type."; -1 without a message for a null
// `sim`. The points traced stay in the axes.
int CalcAxes(CKpMsg* msg, CKpGra* gra, const CKpFacetStore* facets, int axisType, int startFacet,
             const CKpPoint& startPoint, double warpAngle, double weftAngle,
             const CKpPlane& warpPlane, const CKpPlane& weftPlane, CKpDrapeSim* sim);

// The number of facet edges crossed by CKpAxis::make_axis on the calling
// thread so far (every point after point 0 of every axis it traced), with
// those of the axes CKpAxis::cut_axis gave instead of a trace: the unit of
// work of the drape benchmarks, the same for a drape however its traces
// are made.
long long axis_crossings_traced();

#endif  // PLYSTRAND_LAYUPLIB_MAKE_AXIS_H
