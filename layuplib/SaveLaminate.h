#ifndef PLYSTRAND_LAYUPLIB_SAVELAMINATE_H
#define PLYSTRAND_LAYUPLIB_SAVELAMINATE_H

// Saving per-element ply stacks as laminate properties: elements whose
// stacks match within tolerances share one laminate (CKpLam) and one
// property set (CKpProp), and the material orientation of each element is
// expressed as the property mode asks (see IVekPropGenSet for the modes).
//
// Conventions throughout:
// - Angles are radians. An arc [a0, a1] is the counter-clockwise arc from
//   a0 to a1, ends included; an arc with a0 == a1 holds nothing. -1000.0
//   is an angle that could not be formed.
// - Thickness tolerances are percentages: of the ply (layer) thickness for
//   plies, of the stack thickness for offsets. Where a frame is matched the
//   same number is compared with a distance in model length units.
// - The ply stack of an element is its layup-ply list, bottom first. Read
//   from each ply: global ply id, layup-ply name (with instance), material
//   id, material state id, material thickness, thickness and angle (rotn).
//   "Ply thickness" is the material thickness when ignore thickness is
//   set, else the thickness.
// - Element geometry: N the unit element normal, R the element reference
//   direction (CKpElem::GetNormal, GetReference).
// - Messages go to `log` when it is not null: 1 information, 2 warning,
//   4 error.
// - Running counters (in/out): each new frame, laminate and property set
//   takes the counter's value as its id, then the counter grows by 1. Ids
//   are not compared with ids already in the stores.
//
// The two mode frames of modes 1 and 6 are process-wide: built on first
// use, shared by every model, overwritten by each run of mode 1 or 6 and
// never entered in a store. Property sets of those modes point at them.

#include "layuplib/CKpDirn.h"
#include "layuplib/CKpPoint.h"

class CKpCoord;
class CKpCoordStore;
class CKpElem;
class CKpElemLypPlyStore;
class CKpElemStore;
class CKpField;
class CKpFieldStore;
class CKpLam;
class CKpLamStore;
class CKpMsg;
class CKpOrient;
class CKpOrientStore;
class CKpProp;
class CKpPropStore;

// The laminate branch of a property generation run.
//  1. Deletes every property set of `props`; unless `mode` is 0 clears
//     `orients` (CKpOrientStore::Clear, which also clears every element's
//     orientation link and theta and deletes the model's coordinate
//     frames); clears `lams` (CKpLamStore::Clear; a store without model is
//     emptied with eraseAllObjects).
//  2. Sets the mode up:
//       0, 2, 3, 7   nothing;
//       1            the first mode frame: id `coordId0`, origin (0,0,0),
//                    z towards primary x secondary, x-z plane through the
//                    primary; the vectors are not checked;
//       4            the orientation "Default" (id highest + 1, type 0);
//       5, 8, 108, 118, 1108   the vector check below;
//       6            the vector check with the coordinate-axis texts, then
//                    the first mode frame as in mode 1 and the second: id
//                    `coordId1`, z as the first, x-z plane through the
//                    secondary;
//       9            a field (id highest + 1, name `name` followed by
//                    `firstFieldId` as "%d", type 1) and an orientation
//                    (id highest + 1, the same name, type 2, referring to
//                    the field);
//       2004         the orientation "Default(ANSYS)" (id highest + 1,
//                    type 10, values 0);
//       any other (107 included): "Unsupported property mode.", -1.
//     Vector check (mode 6 texts say "coordinate axis"/"Coordinate axes"):
//       a. primary of length 0: error "Primary vector <x,y,z> has null
//          length.", -1;
//       b. secondary of length 0: warning "Secondary vector <x,y,z> has
//          null length, setting switch angle to zero."; switch angle 0,
//          c and d skipped;
//       c. switch angle below 0.1 degree: warning "Switch angle %g too
//          small, reset to projection limit %g." (degrees); switch angle
//          := 0.1 degree;
//       d. the angle a between the vectors with switch angle > a or
//          a > pi - switch angle: error "Vectors <..> and <..> separated
//          by less than switch angle %g." (radians), -1.
//  3. Negative tolerances count as 0; the counters start at the first ids.
//  4. Every selected element of `elems`, in ascending id order, goes
//     through SaveLaminateElem (the element is both the shell and the
//     element that joins the property; points A and B (0,0,0); the normal
//     vector primary x secondary in modes 1 and 6). The first failure
//     returns -1; what was created so far stays.
// Returns 0, or -1 (also, with an error, for a null element, property-set,
// laminate, coordinate-frame, field or orientation store).
//
// Candidates are found through an index keyed by what must match exactly
// (the ply count and, per ply, global ply id, layup-ply name, material id
// and, with shear correction 1, material state id), so the cost grows with
// the elements, not with elements x property sets; within a key the first
// fit in ascending id order wins, as in SaveLaminateElem.
int SaveLaminate(CKpMsg* log, const char* name, const int options[6], CKpElemStore* elems, int mode,
                 int coordId0, int coordId1, CKpDirn primary, CKpDirn secondary, double switchAngle,
                 double angTol, double thkTol, int firstCoordId, int firstFieldId, int firstLamId,
                 int firstPropId, int ignoreThickness, int equallySpaced, int shearCorrection,
                 CKpPropStore* props, CKpLamStore* lams, CKpCoordStore* coords,
                 CKpFieldStore* fields, CKpOrientStore* orients);

// Finds or makes the property set of one element. `shell` gives the ply
// geometry and the angle read in modes 0 and 3; `elem` (may equal `shell`;
// solid generation passes its solid) joins the property set and receives
// the orientation, theta and field record. `plies`, `offFlag` and
// `offValue` are the shell's ply stack, offset flag and offset value.
//  1. No plies (null or empty list): 0, nothing made.
//  2. The tolerances are cut to the shell's own (getangtol, getthktol).
//  3. n, T and z0 as SaveLaminateCalcData.
//  4. The element orientation theta, by mode (theta starts as the shell's):
//       0, 3    unchanged;
//       1, 2    N and R only;
//       4       elem orientation `orient`, theta 0;
//       5       projecting the primary gives theta and direction primary;
//               when refused theta = ang_dn_elem of the secondary and
//               direction secondary; elem theta := theta;
//       6       as 5, frame `frame0` with the primary, `frame1` with the
//               secondary;
//       7       as 5 with primary (1,0,0), secondary (0,0,1) and switch
//               angle 0.1 degree;
//       8, 108, 118, 1108   theta from the primary (point A) or, refused,
//               from the secondary (point B); the first frame of `coords`
//               with SaveLaminateMatchCoord (point, N, R, theta, theta)
//               is taken, else one is made (SaveLaminateCreateCoord);
//               direction := its unit x axis, theta := ang_dn_elem of it;
//               elem theta := theta;
//       107     as 8 with the vectors and switch angle of 7;
//       9       elem orientation `orient`, theta = the first ply's angle,
//               elem theta := theta and a record of that one value for
//               elem in `field`;
//       2004    elem orientation `orient`, elem theta := the shell's ANSYS
//               angle (CKpElem::GetThetaAnsys);
//       other   error "Unsupported property mode.", -1.
//  5. The first property set of `props` (ascending id) whose laminate fits
//     (SaveLaminateMatchLam, arc [a0, a1]) and, by mode,
//       0, 4, 5, 6, 7, 9, 2004   theta lies in [a0, a1];
//       1       its direction projects and the angle lies in [a0, a1];
//       2       SaveLaminateMatchCoord ((0,0,0), N, R, a0, a1, its frame,
//               pi/36) gives [c0, c1] holding its angle;
//       3       its angle lies in [a0, a1];
//       8, 107, 108, 118, 1108  SaveLaminateMatchCoord (point, N, R, a0,
//               a1, its frame) succeeds and its direction projects to an
//               angle in [a0, a1];
//     takes elem (SaveLaminateAddElem) and ends the call.
//  6. Otherwise a laminate (the first fitting one of `lams` in ascending id
//     order, else a new one by SaveLaminateCreateLam), by mode:
//       0, 4, 5, 6, 7, 9, 2004   always new, reference angle theta;
//       1       the primary projected gives theta, axis number 3 and
//               direction primary; refused, the normal vector `normal`
//               projected gives theta, axis number 2 and direction
//               secondary; a projection refused or failed (-1000) too is
//               an error ("Could not project the primary or the normal
//               vector onto element %d."), -1; a fitting laminate must hold
//               theta in its arc; frame `frame0`;
//       2       theta = the first ply's angle; a fitting laminate gives its
//               arc, a new one (reference theta) the arc theta -+ angle
//               tolerance; then the first frame with SaveLaminateMatchCoord
//               ((0,0,0), N, R, a0, a1, frame, pi/36) giving an arc that
//               holds 0, else a new frame over [a0, a1];
//       3       theta = the first ply's angle, held by a fitting
//               laminate's arc, else new with reference theta; property
//               angle theta;
//       8, 107, 108, 118, 1108  a fitting laminate holding theta, else new
//               with reference theta; direction and frame from step 4.
//  7. A new property set (SaveLaminateCreateProp) with the run's name,
//     options, mode, the property angle (0 unless mode 3), direction, axis
//     number (0 unless mode 1), laminate, frame and the field name
//     (`fieldName`, "" for null) takes elem.
// Returns 0, or -1 after an error. An angle of -1000.0 is never stored: a
// theta that cannot be formed fails the element ("Could not calculate the
// material angle of element %d."), and so does element geometry that
// cannot be formed ("Could not calculate the geometry of element %d.") and
// a missing store, field or orientation that the mode needs.
int SaveLaminateElem(CKpMsg* log, const char* name, const int options[6], int mode,
                     const CKpPoint& pointA, const CKpPoint& pointB, CKpDirn primary,
                     CKpDirn secondary, CKpDirn normal, CKpCoord* frame0, CKpCoord* frame1,
                     double switchAngle, double angTol, double thkTol, int ignoreThickness,
                     int equallySpaced, int shearCorrection, int& coordCounter, CKpField* field,
                     CKpOrient* orient, const char* fieldName, int& lamCounter, int& propCounter,
                     CKpCoordStore* coords, CKpFieldStore* fields, CKpOrientStore* orients,
                     CKpLamStore* lams, CKpPropStore* props, CKpElem* shell,
                     CKpElemLypPlyStore* plies, int offFlag, double offValue, CKpElem* elem);

// Whether the stack (`plies`, of `n` plies, total ply thickness `T`, bottom
// offset `z0`) fits laminate `lam`, and by which rotations:
//  1. n equals the layer count;
//  2. |z0 - lam's z0| <= thkTol / 100 x T;
//  3. ply k and layer k have equal global ply ids, layup-ply names, material
//     ids (and material state ids with shear correction 1), and
//     |ply thickness - layer thickness| <= thkTol / 100 x layer thickness;
//  4. the differences d = pi_pi(ply angle - layer angle) lie in an arc
//     [lo, hi] no wider than 2 x angTol (the smallest arc holding them,
//     grown one d at a time).
// On a fit: a0 = pi_pi(hi - angTol), a1 = pi_pi(lo + angTol) (written),
// the rotations by which the stack may differ from the laminate; when angTol
// exceeds pi and also ang0_lt2pi(a1 - a0), a1 := a0. Returns 1 on a fit,
// else 0 (a0 and a1 not written; also for a null stack or laminate, or
// n below 1).
int SaveLaminateMatchLam(CKpElemLypPlyStore* plies, int n, double T, double z0, CKpLam* lam,
                         double angTol, double thkTol, int ignoreThickness, int shearCorrection,
                         double& a0, double& a1);

// 1 when `a` lies on the counter-clockwise arc from a0 to a1 (ends
// included); 0 when it does not, and always when a1 equals a0.
int SaveLaminateMatchAng(double a0, double a1, double a);

// The angle of vector `v` projected onto the element plane (normal N,
// reference R): v is normalised when its length is positive; a nonzero v
// within `switchAngle` of N or of -N is refused (0, angle not written).
// Otherwise `angle` := ang_dn_elem (log, v, N, R) and 1; that angle is
// -1000.0 for a zero v or an N parallel to R (information message).
int SaveLaminateMatchProjVector(CKpMsg* log, CKpDirn N, CKpDirn R, CKpDirn v, double switchAngle,
                                double& angle);

// Whether frame F serves an element at point P (normal N, reference R)
// whose material direction may lie at angles a0..a1 from R:
//  1. F's origin lies within `distTol` (model length units) of P;
//  2. F's z axis lies within `angTol` of N;
//  3. for a = a0 and a1: x = R rotated about N by a, w = (N x x) x F's z
//     axis, c(a) = ang_dn_coord (w, F);
//  4. [c0, c1] = [c(a0), c(a1)] when pi_pi(c(a1) - c(a0)) >= 0, else
//     [c(a1), c(a0)] (written).
// 1 on success; 0 for a refusal, a null or non-rectangular frame, or an
// angle that cannot be formed (c0, c1 not written).
int SaveLaminateMatchCoord(const CKpPoint& P, CKpDirn N, CKpDirn R, double a0, double a1,
                           CKpCoord* F, double angTol, double distTol, double& c0, double& c1);

// Makes laminate `lamCounter` named "%s%d" (`name`, id) with offset `z0`
// in `lams`, one layer per ply of `plies` (count `n`) in stack order:
// global ply id, layup-ply name, material id, material state id (shear
// correction 1 only, else 0), thickness (material thickness with ignore
// thickness; else eql_spcd_vars_thck (thkTol, material thickness,
// thickness) when equally spaced; else the thickness) and angle d =
// pi_pi(ply angle - theta) (eql_spcd_vars_ang (angTol, d) when equally
// spaced). `lam` receives it; the counter grows. 0; -1 after the error
// "Could not allocate memory." (nothing left in the store), and for a null
// stack or store.
int SaveLaminateCreateLam(CKpMsg* log, const char* name, CKpElemLypPlyStore* plies, double theta,
                          int n, double z0, int ignoreThickness, int equallySpaced,
                          int shearCorrection, double angTol, double thkTol, CKpLam*& lam,
                          int& lamCounter, CKpLamStore* lams);

// Makes rectangular frame `coordCounter` in `coords`: origin P, point B = P
// + N on its z axis, point C = P + R rotated about N by pi_pi(pi_pi(a1 -
// a0) / 2 + a0) (the middle of the arc) in its x-z plane. `frame` receives
// it; the counter grows. 0; -1 after the error "Could not allocate
// memory.", and for a null store.
int SaveLaminateCreateCoord(CKpMsg* log, const CKpPoint& P, CKpDirn N, CKpDirn R, double a0,
                            double a1, CKpCoord*& frame, int& coordCounter, CKpCoordStore* coords);

// Makes property set `propCounter` (CKpProp: name, mode, laminate `lam`,
// frame `frame` (may be null), angle, direction, axis number, options) with
// orientation-field name `fieldName` (null taken as ""), adds `elem` to it
// (SaveLaminateAddElem) and inserts it in `props`. `prop` receives it; the
// counter grows. 0; -1 after the error "Could not allocate memory." (no
// property set left in the store), and for a null store or element.
int SaveLaminateCreateProp(CKpMsg* log, const char* name, const int options[6], int mode,
                           double angle, const CKpDirn& direction, int axis, CKpLam* lam,
                           CKpCoord* frame, const char* fieldName, CKpElem* elem, CKpProp*& prop,
                           int& propCounter, CKpPropStore* props);

// Appends an entry with the id of `elem` to the element list of `prop`; when
// the property set has a laminate, the element's property id becomes that
// laminate's id. 0; -1 after the error "Could not allocate memory.", and for
// a null property set or element.
int SaveLaminateAddElem(CKpMsg* log, CKpProp* prop, CKpElem* elem);

// For the stack `plies` (null: no plies): n the ply count, T the sum of the
// ply thicknesses and z0 the offset of the stack's bottom: offFlag -1 gives
// offValue - T, 0 gives offValue - T/2, any other offValue. 0.
int SaveLaminateCalcData(CKpElemLypPlyStore* plies, int offFlag, double offValue,
                         int ignoreThickness, int& n, double& T, double& z0);

// Angle a snapped to the nearest of equally spaced angles: step = pi /
// ceil(pi / (max(pi/1800, |tol|) x 1.001)), so that pi is a whole number
// of steps no smaller than the tolerance; k = pi_pi(a) / step rounded
// (fractions >= 0.5 up, < -0.5 down); k x step, with -pi given as pi.
double eql_spcd_vars_ang(double tol, double a);

// Thickness t snapped to t0 + k x step with step = max(0.001, |tol|) /
// 100 x t0 and k = (t - t0) / step rounded as in eql_spcd_vars_ang. A t0 of
// 0 (no step) gives t unchanged.
double eql_spcd_vars_thck(double tol, double t0, double t);

#endif  // PLYSTRAND_LAYUPLIB_SAVELAMINATE_H
