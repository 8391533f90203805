#ifndef PLYSTRAND_LAYUPLIB_VERIFYLAMINATE_H
#define PLYSTRAND_LAYUPLIB_VERIFYLAMINATE_H

// Checking the laminates assigned to shell elements against composite
// design rules.

class CKpLayup;

// Checks the laminate of each listed element (the laminate whose id is the
// element's property id) against the rules switched on in `tests`, draws
// the edges of every element failing a rule and optionally returns a
// per-element summary.
//
// Arguments:
//   model       the model: elements, faceted surface, laminates, message
//               log and graphics context (read; the selection is written).
//   n, ids      element ids (n ints, read); n = -1 means every element of
//               the model (ids is then not read). Ids below 1 and repeats
//               are dropped; elements are handled in ascending id order.
//   direction   reference direction, 3 floats x, y, z (basic frame, read).
//               Projected onto each element it gives theta_ref, the
//               0-degree direction of the rules in laminate coordinates:
//               pi_pi(projected angle from the element's reference edge -
//               element orientation angle).
//   angTol      radians: angle tolerance of the symmetry rule.
//   tolB        thickness tolerance of the symmetry rule in percent, and
//               the balance limit of the balance rule as a plain ratio.
//   tests       10 ints (read): rule k runs when tests[k] is nonzero.
//   colours     10 ints (read): colour of the edges drawn for rule k.
//   limits      20 floats (read): parameters of rule k at limits[2k] and
//               limits[2k + 1] (percent where the rule says so).
//   widths      10 floats (read): line width of the edges drawn for rule k.
//   summarySize in: capacity of `summary` in ints (0, a negative value or a
//               null pointer: no summary); out: the number of ints written
//               (0 on every failure and when no id is given).
//   summary     written: 11 ints per element with at least one failed rule,
//               in element order, while a whole record fits: the element
//               id, then the result of rules 0 to 9, each 0 not run,
//               1 passed, 2 failed.
//
// Per element, t0, t+45, t-45 and t90 are the summed thicknesses of the
// layers whose angle lies within (-22.5, +22.5] degrees (the difference
// wrapped into -90..90 degrees) of theta_ref, theta_ref + 45, theta_ref - 45
// and theta_ref + 90 degrees; a layer that rounding puts into no band or
// into two counts once, in the band whose centre is nearest. T is their sum,
// the laminate thickness.
//
// Rules (a failure of any but rule 4 draws the element's outline as one
// polygon in graphics segment 705, colour colours[k], width widths[k]):
//   0 symmetry: CKpLam::TestSymmetry(angTol, tolB) fails.
//   1 balance: |2 (t+45 - t-45) / (t+45 + t-45)| > tolB; passes without
//     thickness in either 45-degree band.
//   2 any of the four band thicknesses < limits[4] % of T.
//   3 t0 < limits[6] % of T.
//   4 slope: for a neighbour, |T - T_neighbour| / midpoint distance
//     exceeds 1 / limits[8] when the midpoint-to-midpoint vector lies
//     within 45 degrees of the reference direction or its reverse, else
//     1 / limits[9] (a limit of 0 never fails).
//   5 T > limits[10] and any band thickness < limits[11] % of T.
//   6 drop-off: for a neighbour (edge order, the first failure ends the
//     rule), after matching the two laminates' global plies with the
//     neighbour's direction flag (CKpPlyCtyStore), more dropped plies than
//     limits[12] (truncated) or more dropped thickness than limits[13] % of
//     T.
//   7 outer plies: for a neighbour, this laminate's first or last global
//     ply id is below 1 (a laminate without layers counts as 0), or they
//     differ from the neighbour's first and last (its last and first for a
//     direction flag below 1).
//   8 t0 > 0.
//   9 CKpLam::GetMaxAdjacent(theta_ref, 4) gives a run of more than
//     limits[18] (truncated) layers whose thickness exceeds limits[19].
// Neighbours are the selected elements across the element's edges
// (CKpElem::GetSelectedNeigh); rules 4, 6 and 7 need each of them to have
// a laminate.
//
// The listed elements are added to the selection of the faceted surface
// and its neighbour relations narrowed to it (find_selected_neighbour).
// Elements that do not exist or are not selected are passed over. Warnings
// (severity 2) skip an element: "Direction <%g,%g,%g> cannot be projected
// onto element %d. Skipping tests on this element.", "Element %d does not
// reference a laminate. Skipping tests on this element.", "The neighbours
// of element %d cannot be determined correctly. Skipping tests on this
// element." (only when rule 4, 6 or 7 is on); and "Centroids of elements %d
// and %d are coincident. Skipping Slope Ratio test." skips one neighbour of
// rule 4; "Failure summary for element %d cannot be returned as the array
// size is too small." drops a record.
//
// 0; -1 when the selection or the neighbour relations cannot be built, and
// after an error message for a null array that is needed (direction,
// tests, colours, limits, widths; ids with n > 0; summary with a positive
// capacity), n below -1, or when memory runs out. -1 without message for a
// null model.
int VerifyLaminate(CKpLayup* model, int n, const int* ids, const float* direction, double angTol,
                   double tolB, const int* tests, const int* colours, const float* limits,
                   const float* widths, int* summarySize, int* summary);

#endif  // PLYSTRAND_LAYUPLIB_VERIFYLAMINATE_H
