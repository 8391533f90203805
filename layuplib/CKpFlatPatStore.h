#ifndef PLYSTRAND_LAYUPLIB_CKPFLATPATSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPFLATPATSTORE_H

#include "layuplib/CKpFlatPat.h"
#include "layuplib/CKpFlatPatPt.h"
#include "layuplib/CVekList.h"

class CKpBdy;
class CKpBdyStore;
class CKpDrape;
class CKpFacetStore;
class CKpMsg;

// CKpFlatPatStore: the flat patterns of the last drape, the shapes in which
// the fabric must be cut: the outer pattern first, then one per hole of the
// ply boundary in the order of the holes. Owns its patterns.
//
// Reading the patterns: entries() is the ring count; First() / Next(pat)
// walk the rings; each ring's points are pat->GetPoints() (see
// CKpFlatPatPtStore), GetNumPlotPoints() of them in use (plot flag not 0).
// A point's u and v are in warp steps in the fabric plane: the warp along
// u, the weft at the warp-weft angle a from it (a weft step of 1/ratio warp
// steps then spans v = sin(a) / ratio); model units are u and v times the
// step in use. Each point also keeps its draped position (GetPosition), so
// a ring pairs flat and draped points one to one; the grid (CKpDrape) maps
// any other point.
//
// Angles are radians: a is the fabric's warp-weft angle (pi/2 for a square
// weave); a drape point's shear strain m narrows it to b = a - m on the
// tool. ratio is warp step / weft step; step the warp step in model units.
class CKpFlatPatStore : public CVekList<CKpFlatPat> {
  public:
    CKpFlatPatStore() = default;
    // Deletes every pattern.
    ~CKpFlatPatStore() { eraseAllObjects(); }

    // Builds the flat patterns of the drape `grid`, the first failure ending
    // the run:
    //   1. the cutout (make_cutout; the store is emptied first); failure:
    //      error "Could not generate cutout";
    //   2. its refinement along the outer ring of `bdys` (RefineFlatPattern);
    //      failure: error "Could not refine flat pattern.";
    //   3. its thinning (MinimiseFlatPattern, pi/36, 0.001); failure: error
    //      "Could not minimize flat pattern.";
    //   4. with at least one hole in `bdys`, the interior patterns
    //      (CreateInterior); failure: warning "Could not create interior
    //      flat patterns.".
    // wwAngle: a; ratio: warp step / weft step; mid: offset of the grid
    // indices (0.0); step: the warp step used. `bdys` is the ply's boundary
    // store; its segments must outlive the patterns' use of them. 0; -1
    // after a failure (the patterns made so far stay).
    int Create(CKpMsg* msg, CKpFacetStore* facets, CKpBdyStore* bdys, CKpDrape* grid,
               double wwAngle, double ratio, double mid, double step);

    // Appends one pattern per hole ring of `bdys`, in hole order. For each
    // hole: every facet's boundary links are cleared and the hole's segments
    // linked to their facet edges; from every drape point (rows v upwards,
    // u upwards in each) a fibre is traced one step (`step` warp, step /
    // ratio weft) in each direction 0..3 at the point's angle for it
    // (CKpDrapePt::ang); every crossing up to that length of an edge holding
    // a hole segment becomes a CKpFlatPatPtBdy in the segment's list
    // (CKpBdy::pFlatPatPts; the list is emptied first) with u = i + du +
    // cos(a) (j + dv) / ratio, v = sin(a) (j + dv) / ratio (du, dv the
    // reached length in steps along the direction), its draped position,
    // fibre direction, facet, edge, extension and the drape point's shear.
    // Each list is sorted by distance from the segment's start vertex; the
    // pattern takes copies of the points in ring order, closed by a copy of
    // the first; then RefineFlatPattern (failure: warning "Could not refine
    // flat pattern.") and MinimiseFlatPattern (failure: warning "Could not
    // minimize flat pattern."). A hole without crossings gives an empty
    // pattern, whose refinement fails. The facets' boundary links are
    // cleared again on return; the points stay on the segments. 0; -1 on
    // the first failure, or with an error for a missing store or grid, a
    // ratio or step that is not positive ("Invalid ratio %g or step %g for
    // interior flat patterns.") or when memory runs out ("Could not
    // allocate memory.").
    int CreateInterior(CKpMsg* msg, CKpFacetStore* facets, CKpBdyStore* bdys, CKpDrape* grid,
                       double wwAngle, double ratio, double step);
};

// The cutout: empties `pats` and makes the outer flat pattern from the
// outline of `grid` (CalcOutline). At each outline entry (i, j) the
// directions from the arriving d0 to the leaving d1 (d1 - d0, plus 8 when
// below 1, steps on from d0) are swept; each grid direction among them (0
// +u, 2 +v, 4 -u, 6 -v, counted on past 7) in which the drape point is not
// joined gives a point: with e the point's end fraction for it (0 when not
// set) and o = mid, the fabric position (p, q) is (i - o + e, j - o) for
// +u, (i - o, j - o + e) for +v, (i - o - e, j - o) for -u and (i - o,
// j - o - e) for -v, and u = p + cos(a) q / ratio, v = sin(a) q / ratio.
// The point takes the fibre's end point, end direction, end facet and end
// edge as position, direction, facet and edge (without an end fraction: the
// drape point's own position and facet, edge -1, no direction), the drape
// point's shear, and the direction index as extension. The walk stops when
// the first point would be made again; a copy of the first point closes the
// chain, which becomes the store's only pattern. 0; -1 with an error for
// a missing store, an outline that cannot be walked (CalcOutline's
// message), a warp-weft angle whose sine vanishes or a ratio that is not
// positive ("Invalid warp-weft angle %g or ratio %g for the cutout."), an
// outline giving no point ("The drape outline gives no cutout point.") or
// an allocation failure ("Could not allocate memory.").
int make_cutout(CKpMsg* msg, CKpDrape* grid, double wwAngle, double ratio, double mid,
                CKpFlatPatStore* pats);

// Refines `pat` so that it follows the boundary `ring` between its points
// (defined in CKpFlatPatStoreRefine.cpp):
//   1. each point is matched with the segment it lies on: walking the ring
//      from the segment matched last (the head first), the first segment
//      of the point's facet and edge (or edge + 3) whose edge passes within
//      1e-6 of the point's position; an unmatched point gives the
//      information "Cannot find boundary for flat pattern point fu %10g fv
//      %10g." and keeps no segment (CKpFlatPatPt::GetBdy null);
//   2. for each point P and the point Q after it (the first after the
//      last) on another segment, the boundary vertices between them are
//      developed into the fabric plane, keeping each boundary length, the
//      turns of the boundary at its vertices and the fibre headings at P
//      and Q, and spreading the gap to Q along the developed line; each
//      vertex becomes a new point after P, in ring order (position the
//      vertex; shear, direction, extension 0; facet, edge -1). A pair 100
//      or more ring steps apart gives the error "Too many boundaries between
//      flat pattern points." and no points; the run goes on.
// wwAngle: a; step: the warp step (lengths are divided by it). A sheared
// included angle a - m (m the mean shear of P and Q) whose sine vanishes
// gives the error "Cannot develop the boundary between flat pattern points:
// included fabric angle %g." and no points for that pair, and the result
// -1 after the run. 0; -1 with the information "No boundary created." for a
// null ring, "No flat pattern created." for a null or empty pattern, or
// with an error for a null facet store, a step that is not positive or a
// warp-weft angle whose sine vanishes ("Invalid step %g or warp-weft angle
// %g for flat pattern refinement."), "Could not allocate memory.".
int RefineFlatPattern(CKpMsg* msg, CKpFacetStore* facets, CKpBdy* ring, CKpFlatPat* pat,
                      double wwAngle, double step);

// Thins `pat` by plot flags (CKpPlotPointStore::Minimize over its points in
// chain order) with the angle tolerance `angTol` (radians) and the distance
// tolerance distFactor x 0.01 x min(u extent, v extent). No point is
// removed. 0; -1 for a null or empty pattern. (CKpFlatPatStoreRefine.cpp.)
int MinimiseFlatPattern(CKpFlatPat* pat, double angTol, double distFactor);

#endif  // PLYSTRAND_LAYUPLIB_CKPFLATPATSTORE_H
