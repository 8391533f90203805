#ifndef PLYSTRAND_LAYUPLIB_CMPLAM_H
#define PLYSTRAND_LAYUPLIB_CMPLAM_H

class CKpLam;

// Comparison, sorting and grouping of laminates for their compression: two
// laminates that compare equal within the tolerances are the same property.
//
// The tolerances are process-wide, shared by every model and kept until the
// next cmpLamSetTol; both are 0 until it is first called. A sort must not
// run while another thread changes them.
//
// A comparison within tolerances is not transitive (a ~ b and b ~ c do not
// give a ~ c), so cmpLam and cmpLamId must not be handed to qsort or
// std::sort, whose behaviour is then undefined: sortLamsId sorts with them
// safely.

// Sets the thickness tolerance `thickPct` (percent of the mean thickness)
// and the angle tolerance `angTol` (radians) of the comparisons below. 0;
// -1 when either is negative or not finite (nothing changes).
int cmpLamSetTol(double thickPct, double angTol);

// Compares the laminates *a and *b (`a` and `b` point at CKpLam pointers,
// the comparator form): 1 when *a sorts after *b, -1 when before, 0 when
// they are equal within the tolerances. With p the thickness and t the angle
// tolerance, the first of these tests that decides:
//   1. a null laminate sorts after one that is not (two nulls: 0);
//   2. no offset given (z0_blank 1) sorts after an offset given;
//   3. offsets z differing by more than (p / 100) x the mean of the two
//      total thicknesses: the larger after;
//   4. more layers after;
//   5. layer by layer from the bottom, the first differing material id: the
//      larger after;
//   6. layer by layer, the first thickness beyond (1 +- p / 200) x the mean
//      of the pair: the thicker after;
//   7. layer by layer, the first angle difference a - b (wrapped into
//      [-pi, pi]) beyond t in magnitude: the larger after.
// Each of steps 5 to 7 runs over all layers before the next one starts.
int cmpLam(const void* a, const void* b);

// cmpLam, ties ordered by ascending laminate id (null laminates: 0 then).
int cmpLamId(const void* a, const void* b);

// Sorts the `n` laminate pointers of `lams` (read and written; null entries
// allowed, they go last) by cmpLamId with a stable merge sort: every
// comparator answer leads to a permutation of the input, and where the
// tolerances separate the laminates cleanly the order is the one any correct
// sort gives. 0; -1 for a null array with n above 0 or when memory runs out
// (the array is left as it was).
int sortLamsId(CKpLam** lams, int n);

// Groups the `n` laminates of `sorted` (sorted by sortLamsId): the first one
// heads a group; walking on, each laminate for which cmpLam(head, laminate)
// is 0 joins the head's group, the first one that differs heads the next.
// Each laminate is compared with the head of its group, never with its
// predecessor. `heads` (n ints, written) receives for each laminate the id
// of its group's head (0 for a null entry, which also heads a group of
// nulls). Returns the number of groups; -1 for a null array with n above 0
// or when memory runs out.
int groupLams(CKpLam* const* sorted, int n, int* heads);

#endif  // PLYSTRAND_LAYUPLIB_CMPLAM_H
