#ifndef PLYSTRAND_LAYUPLIB_DRAPE_INADMISSIBLE_H
#define PLYSTRAND_LAYUPLIB_DRAPE_INADMISSIBLE_H

// Kinematically inadmissible regions of a drape grid: slots (notches) in the
// outline whose two sides cannot both be continued when the drape is
// extended over a further element order. They are removed by deleting the
// drape points behind the notch (mode 0) or cut across by joining the
// outline over the notch (mode 1). Also the deletion of single drape points
// and of the points enclosed by an outline ring.
//
// Grid indices (u, v) are signed warp and weft step counts. Direction codes
// 0..7 run anticlockwise in grid steps (du, dv): 0 (1,0), 1 (1,1), 2 (0,1),
// 3 (-1,1), 4 (-1,0), 5 (-1,-1), 6 (0,-1), 7 (1,-1); codes 0, 2, 4, 6 are
// the drape point's joined directions +u, +v, -u, -v. An outline entry's
// turn is dn_0_7(leaving - arriving): 2 a notch corner, 4 straight, 6 the
// opposite corner. `limits` are the three shear limits (radians), `step`
// and `weftStep` the warp and weft step lengths (model units), `wwAngle`
// the fabric's warp/weft angle (radians), `side` the drape's side flag
// (+1/-1). `msg`, `gui` and `gra` may be null (nothing reported, no abort
// poll, nothing drawn). Progress reports are severity 1.

class CKpDrape;
class CKpDrapeSim;
class CKpFacetStore;
class CKpGra;
class CKpGUI;
class CKpMsg;
class CKpOln;

// Scans the workspace's outline ring (sim->pfOln()) for notches: an entry A
// with turn 2, then zero or more straight entries, then an entry B with
// turn 2. A notch is skipped when one of its straight entries has its end
// fraction set in the outward direction (A's leaving direction - 2: the
// notch lies on the edge of the selected area). Each notch found is
// reported ("Kinematically inadmissable line between %d %d and %d %d") and
// treated by `mode`:
//   0  deletes the points behind the corner whose strip is shorter
//      (CalcInadmissiblePoints at A and at B with A's leaving direction;
//      "Kinematically inadmissable points %d and %d"), behind both corners
//      when the strips are equal (DeleteInadmissiblePoints);
//   1  DrapeInadmissibleCut with `tol`; a notch that cannot be cut stays.
// After each change of the grid the ring is walked again (CalcOutline; the
// workspace gets the new ring) and the scan restarts from its first entry.
// The scan ends when it comes back to its first entry.
// A deletion that removes no point does not restart the scan.
// 0 done (also without a ring, with a ring that has no notch, or when a
// change leaves the grid without outline); -1 with a severity-4 message:
// "Unsupported inadmissible mode %d" (checked when the first notch is met),
// "Error in DeleteInadmissiblePoints." after a failed deletion, a failure
// of the cut (-1 of DrapeInadmissibleCut), "No drape workspace.", "Outline
// ring is not closed.". The grid keeps what was changed so far.
int DrapeInadmissible(CKpMsg* msg, CKpGUI* gui, CKpGra* gra, CKpFacetStore* facets,
                      CKpDrapeSim* sim, double wwAngle, const double limits[3], double step,
                      double weftStep, int side, int mode, double tol);

// Cuts across the notch between the outline entries A and B of the
// workspace's ring (both turn 2, A before B):
//   1. With tol > 0 a join distance: A and B in different rows must share a
//      column (else 1) and the distance is |A.v - B.v| x tol / 100 x
//      weftStep; in the same row |A.u - B.u| x tol / 100 x step. With tol
//      <= 0 no distance is allowed (0).
//   2. When B is not A's next entry, notch corners are filled from both
//      sides with CalcPatternOutline2pts (the grid bound of the workspace),
//      the A side moving forward and the B side backward after each fill,
//      each side stopping at its first miss; "Number of new unique points:
//      %d" after each pass; the passes end when one makes nothing or the
//      abort request is set (user_break).
//   3. When the two sides have met (the B-side entry follows the A-side
//      entry), the entry before the A side and the entry after the B side
//      are joined (CKpOln::JoinPoints): "Joined points [%d,%d] and
//      [%d,%d]." or "Unable to join points [%d,%d] and [%d,%d].".
// 0 joined (the short-cut frees the ring entries inside the notch; when
// the workspace's first entry was one of them it moves to the entry before
// the cut; the ring is stale and the caller walks it again); 1 rows and
// columns both differ; 2 (3) a fill from A's (B's) side failed, after
// "Error in CalcPatternOutline2pts." (severity 4); 4 not joined (sides not
// met, or the join failed); -1 after "Cannot cut the inadmissible region:
// no outline." for a missing workspace or entry.
int DrapeInadmissibleCut(CKpMsg* msg, CKpGUI* gui, CKpGra* gra, CKpFacetStore* facets,
                         CKpDrapeSim* sim, double wwAngle, const double limits[3], double step,
                         double weftStep, int side, double tol, CKpOln* A, CKpOln* B);

// The strip behind the notch corner (u, v) for direction code `dn` (0, 2, 4
// or 6; (du, dv) its step): S = the point beside (u, v) in direction dn - 2.
// From S the strip runs backwards (dn + 4) while the current point is
// joined backwards and forwards (dn) while it is joined forwards; its
// length, 1 + both step counts, is returned. (ua, va) is where the backward
// walk first meets a point not joined to the left (dn + 2) or the backward
// end, (ub, vb) the same forwards. 0 (outputs not written) for a null
// grid, a code other than 0, 2, 4, 6, or no point at S.
int CalcInadmissiblePoints(const CKpDrape* grid, int u, int v, int dn, int& ua, int& va, int& ub,
                           int& vb);

// Deletes the drape points cut off behind the strip of the notch corner
// (u, v) for direction code `dn` (CalcInadmissiblePoints): reports
// "Deleting kinematically inadmissable points between %d %d and %d %d",
// walks a separate outline ring of the grid, finds its entries at the two
// strip ends ("StartOl: ..." and "EndOl: ..."), closes that ring along the
// strip so that it encloses the region behind it, and deletes the points in
// and on it (DeletePatternOutline). Where both strip ends are one grid
// point the walk's two visits there are told apart by the side facing the
// strip (dn + 2). The workspace ring is not touched (it is stale
// afterwards). 0 deleted; -1 after a severity-4 message: "No drape points
// to delete beside %d %d." (no point at S), the errors of CalcOutline,
// "Cannot find the outline points of the inadmissible region.", "Could not
// allocate memory.".
int DeleteInadmissiblePoints(CKpMsg* msg, CKpDrape* grid, int u, int v, int dn);

// Deletes every drape point enclosed by the closed outline ring `ring` and
// on it: in passes until one deletes nothing, each entry with turn 6 (a
// convex corner) has its point deleted and is moved one cell diagonally
// inwards (by its arriving direction 0, 2, 4, 6: (+1, -1), (+1, +1),
// (-1, +1), (-1, -1)), its neighbours taking over its directions; then the
// points of all remaining entries are deleted and the ring is freed (ring
// null). 0; -1 for a null grid, or after "Outline ring is not closed."
// (severity 4) for a ring whose links do not close or disagree (the ring
// is kept). A null ring is 0.
int DeletePatternOutline(CKpMsg* msg, CKpDrape* grid, CKpOln*& ring);

// Deletes the drape point (u, v): reports "Deleting pattern point %d %d",
// clears the joined flag facing it on each neighbour it was joined to,
// frees it and empties the cell. 0; -1 without a message for a null grid or
// an empty cell.
int DeletePatternPoint(CKpMsg* msg, CKpDrape* grid, int u, int v);

#endif  // PLYSTRAND_LAYUPLIB_DRAPE_INADMISSIBLE_H
