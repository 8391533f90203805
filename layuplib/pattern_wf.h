#ifndef PLYSTRAND_LAYUPLIB_PATTERN_WF_H
#define PLYSTRAND_LAYUPLIB_PATTERN_WF_H

// Growth of the drape grid over the selected facets: the first element
// order (pattern_wf) and every later one (ExtendPlyL), with the passes that
// fill cells between known points (DrapeUnique) and step outward from the
// straight edges of the outline (DrapeExtend and below).
//
// Conventions (as pattern_pts.h): grid indices (u, v) are signed warp and
// weft step counts; angles are radians; `limits` are the three shear limits
// (ShearLimits); `side` is the drape's side flag (+1/-1); `step` is the warp
// step, `weftStep` the weft step (step / warp-weft ratio), model units.
// `gra` may be null (nothing drawn), `gui` may be null (no abort poll).
// Statuses are 0 on success and -1 on failure (with a severity-4 message)
// unless stated.

class CKpDrape;
class CKpDrapeSim;
class CKpFacetStore;
class CKpGra;
class CKpGUI;
class CKpMat;
class CKpMatGeom;
class CKpMsg;
class CKpOln;

// The three shear limits (radians) from the maximum strain angle `maxstrn`
// (radians): a / 2, a, max(a, 85 degrees). `limits` holds 3 doubles.
void ShearLimits(double maxstrn, double limits[3]);

// Drapes the first element order into the workspace `sim`: the facets'
// drape fields are reset, the grid emptied, the seed put at (0, 0) on the
// first point of axis 0, points laid along the axes (`axstp` 0: one step
// each way; otherwise CreatePatternAxes), then unique and edge passes
// alternate (at most 100 iterations) until no fibre end is open. The bound
// and the four axes of `sim` must be set (axis types other than 3 and 4
// need two points on axes 0 and 1). `exttp` is the extension type (1
// geodesic, 2 energy, 3 maximum, 4 tape); `geom` gives the warp/weft angle
// and ratio (0.1..10); `seedAngle` the seed-curve angle (radians, axis type
// 4); `maxstrn` the maximum strain angle (radians); `step` the warp step
// (>= 1e-6); `side` the start side flag. At the end the outline ring is
// rebuilt into `sim`, every point's thickness is set from `mat` and its
// final strain. A drape whose point count exceeds what the facets can hold
// without overlapping (fibres wrapping round a closed surface) is stopped
// with a warning. Messages: progress at severity 1; the iteration limit and
// a shear beyond limit 1 at severity 2.
// 0 (also at the iteration limit, the growth stop or the shear warning);
// -1 for a bad step or ratio, missing axes, a failing outline or pass
// ("Error in DrapeUnique.", "Error in DrapeExtend."), or a shear beyond
// limit 2 (the grid is complete then).
int pattern_wf(CKpMsg* msg, CKpGUI* gui, CKpGra* gra, CKpFacetStore* facets, const CKpMat* mat,
               int axstp, int exttp, CKpDrapeSim* sim, const CKpMatGeom& geom, double seedAngle,
               double maxstrn, double step, int side);

// Lays grid points along the workspace's fibre axes from the seed (0, 0):
// for axis type 4 the seed curve (axes 0 and 2) along the grid axis that
// `seedAngle` snaps to, otherwise the four axes +warp, +weft, -warp, -weft
// (steps `step` and `step` / ratio of `geom`). A point at every whole step
// within the bound, joined to the one before (bias steps close their two
// cells by pattern_2pts); when the box of grid indices the axes would span
// exceeds the growth cap of pattern_wf (axes wrapping round a closed
// surface), every axis is laid over the same fraction of its steps that
// brings the box within it. With n the whole steps that fit on an axis,
// the point of step n (the seed for n = 0), when it exists and lies within
// the bound, records the fibre end past it: the fraction (axis length - n x
// step length) / step length, below 1, and the axis' last point, segment,
// facet and edge. 0; -1 on failure ("The seed curve must currently lie close to a
// material axis.", "Could not allocate memory.", a point off its axis).
int CreatePatternAxes(CKpMsg* msg, CKpGra* gra, CKpFacetStore* facets, int axstp, CKpDrapeSim* sim,
                      const CKpMatGeom& geom, const double limits[3], double seedAngle, double step,
                      int side);

// Continues an existing drape after the next element order was selected:
// rebuilds the outline, reopens fibre ends stopped at a facet edge (0..2)
// that now borders a connected facet, removes or cuts inadmissible regions
// (DrapeInadmissible with `inadmMode`, `inadmTol`), runs one DrapeUnique
// and one DrapeExtend, and sets every point's thickness from `mat`. The
// step and ratio are checked as by pattern_wf. 0; -1 with "Error in
// DrapeInadmissible.", "Error in DrapeUnique." or "Error in DrapeExtend."
// after the failing step's own message.
int ExtendPlyL(CKpMsg* msg, CKpGUI* gui, CKpGra* gra, CKpFacetStore* facets, const CKpMat* mat,
               int exttp, CKpDrapeSim* sim, double wwAngle, double ratio, double maxstrn,
               double step, int side, int inadmMode, double inadmTol);

// DrapeUnique, DrapeExtend and ExtendInDirection rely on the grid's memo
// of open cells, which pattern_wf and ExtendPlyL empty when they start: a
// caller that changes the surface selection and calls them directly calls
// CKpDrape::ClearOpenCells first.
//
// Passes of notch-corner filling (CalcPatternOutline2pts) around the
// outline, forward then backward from the workspace's pfOln, until a pass
// adds nothing, the abort request is set or the growth guard stops it.
// -1 with "Error in CalcPatternOutline2pts." or, without an outline,
// "Pattern does not exist.".
int DrapeUnique(CKpMsg* msg, CKpGUI* gui, CKpGra* gra, CKpFacetStore* facets, CKpDrapeSim* sim,
                double wwAngle, const double limits[3], double step, double weftStep, int side);

// Passes of edge extension (ExtendInDirection, direction 0 then 1; for the
// tape type direction 0 as long as it adds points, then 1) until a pass
// adds nothing, the abort request is set or the growth guard stops it.
// pfOln is updated. -1 when a call fails.
int DrapeExtend(CKpMsg* msg, CKpGUI* gui, CKpGra* gra, CKpFacetStore* facets, int exttp,
                CKpDrapeSim* sim, double wwAngle, const double limits[3], double step,
                double weftStep, int side);

// One outward step from every outline edge that extends in direction
// `dirn` (0: warp steps, 1: weft steps; CKpOlnEdge::WeftExtend) and whose
// largest shear is below limit 2: a spike edge by ExtendEdgeSpike, any other
// edge by ExtendEdge from the middle entry chosen by `exttp` (after the
// strategy's fibre-angle change). The ring is first renumbered
// (UpdateOutline). `outline` (in/out) is the ring's designated first entry;
// `counter` (in/out) counts the points made. -1 for an empty ring, an
// unsupported `exttp` ("The extension type of %d is currently unsupported.
// Please select another extension type."), a failing tape change or edge.
int ExtendInDirection(CKpMsg* msg, CKpGra* gra, CKpFacetStore* facets, int exttp, CKpDrapeSim* sim,
                      double wwAngle, const double limits[3], double step, double weftStep,
                      int side, CKpOln*& outline, int dirn, int& counter);

// Extends one edge in its base direction `dir` (the CalcPatternOutline1pt
// code): from `middle` forward to `end`, then from the entry left at the
// middle back to `start`; at each entry a notch corner is filled, else one
// point is stepped out (inserted before the entry going forward, after it
// going back). When an entry is split by a step, `outline` and `first`
// move to the copy that takes its earlier part of the walk, `last` to the
// copy that takes the later part. -1 with "Error in
// CalcPatternOutline2pts." or "Error in CalcPatternOutline1pt.".
int ExtendEdge(CKpMsg* msg, CKpGra* gra, CKpFacetStore* facets, CKpDrape* grid, double wwAngle,
               const double limits[3], double step, double weftStep, int side, int dir,
               CKpOln* start, CKpOln* middle, CKpOln* end, CKpOln*& outline, CKpOln*& first,
               CKpOln*& last, int& counter);

// One outward step after `entry` in direction `dir` (a spike edge); moves
// `outline` to the new entry when it designated the entry just before it.
// 1 made; 0 not; -1 as CalcPatternOutline1pt.
int ExtendEdgeSpike(CKpMsg* msg, CKpGra* gra, CKpFacetStore* facets, CKpDrape* grid, double wwAngle,
                    const double limits[3], double step, double weftStep, int side, int dir,
                    CKpOln* entry, CKpOln*& outline, int& counter);

// Makes the entry with the smallest u (then v; the earlier entry from
// `ring` on a full tie) the first of the ring and numbers the entries 1, 2,
// ... from it ("Updating Outline", "First outline point moved from [%d][%d]
// to [%d][%d]", severity 1). Each entry whose next entry's arriving is not
// its leaving + 4 is reported ("Outline points [%d][%d] %d and %d [%d][%d]
// have incompatible directions", severity 1). `ring` is any entry of the
// ring. 0; -1 for an empty (null) ring.
int UpdateOutline(CKpMsg* msg, CKpOln* ring);

// The middle entry of an edge from `start` to `end` (along v when start's
// leaving is 2 or 6, else along u). Geodesic: walking forward while the
// next entry's |v| (|u|) is smaller, the entry nearest the axis through the
// seed (`middle` untouched for a leaving code other than 0, 2, 4, 6, 8).
// Energy: the entry halfway along the edge. Tape: along v as geodesic,
// along u walking forward while u decreases.
void CalcMidGeodesic(CKpOln* start, CKpOln*& middle);
void CalcMidEnergy(CKpOln* start, CKpOln* end, CKpOln*& middle);
void CalcMidTape(CKpOln* start, CKpOln* end, CKpOln*& middle);

// Turn the outward fibre angle of the entries strictly between `start` and
// `end` (the +u warp for start leaving 2, the +v weft for 4, the -u warp
// for 6, the -v weft for 0 or 8, each from the opposite side's angle) by
// side flag x m x `side`, with m the mean of |strain| x strain (energy) or
// the mid-range of the strains with 0 included (maximum) from start to end.
// Edges with |dv + du| < 2 and unset source angles are left as they are.
void ModifyDirnEnergy(CKpDrape* grid, CKpOln* start, CKpOln* end, int side);
void ModifyDirnMaximum(CKpDrape* grid, CKpOln* start, CKpOln* end, int side);

// For an edge along u (start leaving 0, 4 or 8) not wrapping round the
// ring: lays the outward weft (+v side for 4, -v side for 0 and 8) of the
// entries from `start` to `end` without shear: mean warp + side flag x
// `side` x `wwAngle`. 0 (also when nothing applies); -1 when a point is
// missing or its mean warp is unset.
int ModifyDirnTape(CKpMsg* msg, CKpDrape* grid, CKpOln* start, CKpOln* end, int side,
                   double wwAngle);

#endif  // PLYSTRAND_LAYUPLIB_PATTERN_WF_H
