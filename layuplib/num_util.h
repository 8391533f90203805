#ifndef PLYSTRAND_LAYUPLIB_NUM_UTIL_H
#define PLYSTRAND_LAYUPLIB_NUM_UTIL_H

// Small numeric and text helpers used across the model.

// Ratio to percent: r·100.
double PctRat(double r);
// Percent to ratio: p/100.
double RatPct(double p);

// x·x.
double square(double x);

// 0.0 when |x| is below tol, else x.
double SetZero(double tol, double x);

// qsort comparison of two ints (a and b point at int): 1 when *a > *b, -1
// when *a < *b, else 0.
int cmp_int(const void* a, const void* b);

// Sorts the *n ids ascending and keeps, in place and in order, each positive
// id once; *n becomes their number (ids past the new count are left as the
// sort put them). 0. -1 when ids is null and *n >= 1, or when n is null.
// Nothing happens for *n below 1 (0).
int cleanIntArray(int* n, int* ids);

// inv = a^-1 for a 3×3 matrix (row-major, a[row][col]), by cofactors over
// the determinant. 0; -1 with inv unchanged when the determinant is exactly
// 0, or when the determinant or an entry of the inverse is not finite.
// inv may be a.
int matrix_invert(const double a[3][3], double inv[3][3]);

// c = a·b for 3×3 matrices. c may be a or b.
void matrix_multiply(const double a[3][3], const double b[3][3], double c[3][3]);

// Removes trailing, then leading blanks (the blank character only, not tabs)
// in place; a text of blanks becomes empty. Returns s (null stays null).
char* StringStripLeadTrail(char* s);

// Shortens every run of more than two blanks to two blanks, in place.
// Returns s (null stays null).
char* StringStripSpaces(char* s);

#endif  // PLYSTRAND_LAYUPLIB_NUM_UTIL_H
