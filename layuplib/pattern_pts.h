#ifndef PLYSTRAND_LAYUPLIB_PATTERN_PTS_H
#define PLYSTRAND_LAYUPLIB_PATTERN_PTS_H

// Construction of new drape grid points: a one-point step along a fibre
// (pattern_wppt, pattern_wtpt) and the closing of a fabric cell from its
// warp and its weft neighbour (pattern_2pts).
//
// Grid indices (u, v) are signed warp and weft step counts; direction
// indices 0 +u, 1 +v, 2 -u, 3 -v. Angles are radians in the angle frame of
// the facet they belong to (CKpFacet::GetAngle); a stored warp (weft) angle
// points towards +u (+v), so a step towards -u (-v) uses it + pi.
// CKpDrapePt::kNoAngle (-1000.0) marks an unset angle. Lengths are model
// units. `limits` are the three shear limits (radians; limit 1 the warning
// limit, limit 2 the hard limit). `side` is the drape's side flag (+1/-1).
// Graphics (`gra`) and messages (`msg`) are optional (null: nothing drawn,
// nothing reported).

class CKpDirn;
class CKpDrape;
class CKpDrapeBound;
class CKpFacetStore;
class CKpGra;
class CKpMsg;
class CKpOln;
class CKpPoint;

// Follows a fibre from `from` on facet `facet` (side flag `dnfg`) in the
// facet angle `angle` for `step`. `bound` is the distance (in steps) to the
// grid bound; a value in [0, 1) cuts the fibre there.
// Outputs:
//   newPt, newFacet, newDnfg, arrival  the point one step away, its facet,
//       side flag and the facet angle of the fibre's last segment there;
//       (0, 0, 0), -1, 0, -1000.0 when no point is made;
//   ratio    length reached / step (the bound fraction when cut there);
//   endPt, endDirn, endFacet, endEdge  the fibre's last axis point, the
//       direction of its last segment, and that point's facet and edge.
// 1 full step made; 0 the fibre ended first (free edge or bound); -1 with
// "Could not create axis." (severity 4) when tracing fails.
int next_point(CKpMsg* msg, const CKpFacetStore* facets, const CKpPoint& from, int facet, int dnfg,
               double angle, double step, double bound, CKpPoint& newPt, int& newFacet,
               int& newDnfg, double& arrival, double& ratio, CKpPoint& endPt, CKpDirn& endDirn,
               int& endFacet, int& endEdge);

// Estimates the warp (weft) angle at B = (ub, vb) by carrying over the
// included angle of A = (ua, va): warp = pi_pi(mean weft of B - (dnfg B /
// dnfg A) × (mean weft A - mean warp A)); weft = pi_pi(mean warp of B +
// (dnfg B / dnfg A) × (mean weft A - mean warp A)). 1 estimated (*angle
// written); 0 when A or B is missing, a needed mean angle is unset or a
// side flag is 0.
int est_wpang(CKpMsg* msg, const CKpDrape* grid, int ua, int va, int ub, int vb, double& angle);
int est_wtang(CKpMsg* msg, const CKpDrape* grid, int ua, int va, int ub, int vb, double& angle);

// One warp step from A = (ua, va) to B = (ub, vb), ub = ua +- 1, vb = va,
// with the step length A->GetUpdatedHwt(step). When the step is made and B
// is empty, B is created (position, facet, side flag, warp angles from the
// arrival angle, weft angles estimated from A, strain from `wwAngle` and
// `side`) and joined to A. Otherwise the fibre end (fraction, point,
// direction, facet, edge) is recorded on A for the direction of travel.
// `bound` may be null (no limits). 1 point made; 0 not made (also when A
// is missing, already joined or ended that way, outside the bound, or the
// indices are not warp neighbours); -1 on failure with a severity-4
// message: "Could not estimate new warp angle.", "Could not create next
// warp point.", "Could not allocate memory.".
// pattern_wtpt is the same for a weft step (vb = va +- 1, ub = ua) with
// the weft step length, the weft angles and "weft" in the messages.
int pattern_wppt(CKpMsg* msg, CKpGra* gra, const CKpFacetStore* facets, CKpDrape* grid, int ua,
                 int va, int ub, int vb, double step, const double limits[3],
                 const CKpDrapeBound* bound, double wwAngle, int side);
int pattern_wtpt(CKpMsg* msg, CKpGra* gra, const CKpFacetStore* facets, CKpDrape* grid, int ua,
                 int va, int ub, int vb, double step, const double limits[3],
                 const CKpDrapeBound* bound, double wwAngle, int side);

// The corner N = (u, v) of a fabric cell from its warp neighbour
// P1 = (ua, va) (va = v, ua = u +- 1) and its weft neighbour P2 = (ub, vb)
// (ub = u, vb = v +- 1): the point one warp step (`step`) from P1 and one
// weft step (`weftStep`) from P2. The two fibre directions are solved by a
// gradient iteration (at most 41 trials), then a bracket search (at most
// 10 passes of 11 x 11 trials), then a chord intersection (segments of
// 0.005 radians, at most 1023 per direction); the first accepted solution
// wins (tolerances 0.02, 0.04, 0.06 on the length multipliers). Every trial
// competes, also one whose fibres do not meet because one stopped short (its
// multipliers then come from the straight continuations of the two fibres'
// last segments). A cell whose closing angle has a near-zero sine (a
// degenerate cell) counts as not converged for that method. N is made only
// when the solution is accepted and both final fibres reach their full
// length and meet: N is created, its angles and strain set, P1's warp and
// P2's weft angle towards N updated, and N joined to both. A fibre that
// stops short (free edge, bound) records its end on its neighbour. Progress reports are severity 1.
// A call whose inputs are exactly as an earlier unsuccessful call left them returns 0 at once,
// without messages or drawing (the grid's memo of open cells, which holds
// for one selection of the surface: see CKpDrape::ClearOpenCells).
// 1 made; 0 not made; -1 with a severity-4 message on failure ("Could not
// estimate new warp angle.", "Could not estimate new weft angle.", "Could
// not create axis.", "Could not allocate memory.").
int pattern_2pts(CKpMsg* msg, CKpGra* gra, const CKpFacetStore* facets, CKpDrape* grid, int ua,
                 int va, int ub, int vb, int u, int v, double step, double weftStep,
                 const double limits[3], double wwAngle, const CKpDrapeBound* bound, int side);

// When max(|bestR1 - 1|, |bestR2 - 1|) > max(|r1 - 1|, |r2 - 1|): copies
// (a, b, c, r1, r2, flag) into the six holders and returns 1; else 0 (an
// equal deviation keeps the old best).
int UpdateBest(double a, double b, double c, double r1, double r2, int flag, double& bestA,
               double& bestB, double& bestC, double& bestR1, double& bestR2, int& bestFlag);

// Narrows the brackets from one trial: flag 0 nothing; r1 and r2 both
// >= 1.05 with a > amin and b > bmin: amax = min(amax, a), bmax = min(bmax,
// b); both in (0, 0.95] with a < amax and b < bmax: amin = max(amin, a),
// bmin = max(bmin, b). 0.
int UpdateBounds(int flag, double r1, double a, double r2, double b, double& amin, double& amax,
                 double& bmin, double& bmax);

// Fills the notch corner at outline entry `entry` (turn dn_0_7(leaving -
// arriving) of 2): the diagonal cell (u + 1, v - 1) for leaving 0 or 8,
// (u + 1, v + 1) for 2, (u - 1, v + 1) for 4, (u - 1, v - 1) for 6, made
// by pattern_2pts from (u, v + dv) and (u + du, v). When made: ++counter,
// the entry moves to the new point (arriving = old leaving + 4, leaving =
// old arriving + 4), the entry before it leaves by the old leaving and the
// entry after it arrives by the old arriving. 1 filled; 0 not (other turn,
// cell taken, not made); -1 with "Could not create next 2 point pattern."
// (severity 4).
int CalcPatternOutline2pts(CKpMsg* msg, CKpGra* gra, const CKpFacetStore* facets, CKpDrape* grid,
                           double step, double weftStep, const double limits[3], double wwAngle,
                           const CKpDrapeBound* bound, CKpOln* entry, int& counter, int side);

// One step out of the outline at `entry` across its edge direction `dir`:
// 0 a weft step to (u, v - 1), 2 a warp step to (u + 1, v), 4 a weft step
// to (u, v + 1), 6 a warp step to (u - 1, v). When a point is made:
// ++counter and the ring gets a spike out and back: the new entry (arriving
// and leaving dir + 2) and a copy of `entry`, inserted before it (`after`
// 0: the copy takes the arriving, entry keeps the leaving) or after it
// (`after` 1); a ring of `entry` alone becomes the two-entry ring. The
// side of `entry` (and of its copy) facing the new entry gets dir - 2.
// `entry` then points to the new entry; the ring owns the new entries.
// 1 made; 0 not (notch corner, other `dir`, not made); -1 with "Could not
// create next warp/weft pattern." or "Could not allocate memory."
// (severity 4).
int CalcPatternOutline1pt(CKpMsg* msg, CKpGra* gra, const CKpFacetStore* facets, CKpDrape* grid,
                          double step, double weftStep, const double limits[3], double wwAngle,
                          int side, const CKpDrapeBound* bound, CKpOln*& entry, int dir, int after,
                          int& counter);

#endif  // PLYSTRAND_LAYUPLIB_PATTERN_PTS_H
